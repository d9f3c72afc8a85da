// Barcode lines of the transfer's entry page: what a scanned code finds in the out warehouse,
// the unit it stands for, the stock test, the repeats, the number moved on with the operator's
// lines when another operator holds it.

#include "inventory_fixture.h"

#include "inventory/transferentry.h"

#include <functional>

namespace {

class TransferEntryTest : public InventoryTest
{
protected:
    InventoryResult scan(const QString &code, bool refuseRepeats = false)
    {
        DocumentContext c = ctx;
        const InventoryResult r = TransferEntry(db(), state, clock, notices).scan(c, code, refuseRepeats);
        ctx.number = r.number;
        return r;
    }
    QString lines()
    {
        return rows("select gl_djh, g_sn, db_sl, db_zsl, dw_name, db_dj, db_zje, db_sj, g_sptm, gl_djh2, idck, a_name "
                    "from jxc_dbsp order by id");
    }
    DocumentContext ctx = entry();
};

TEST_F(TransferEntryTest, ScannedCodesBecomeLinesOfTheirUnit)
{
    const QString notFound = QStringLiteral("当前仓库中没有找到与该条码匹配的商品，请检查！");
    struct Case
    {
        const char *name;
        std::function<void()> setup;
        QStringList codes;
        InventoryStatus status;  // of the last scan
        QString lines;
        QString notice;
    };
    const Case cases[] = {
        {"a box", {}, {"6900012"}, InventoryStatus::Done,
         "DB24030810001|20000001|1|12|箱|30|30|40|6900012||0|admin", {}},
        {"a box again adds to the line", {}, {"6900012", "6900012"}, InventoryStatus::Done,
         "DB24030810001|20000001|2|24|箱|30|60|40|6900012||0|admin", {}},
        {"without ScanAddsQty two lines", [&] { state.ScanAddsQty = "0"; }, {"6900012", "6900012"}, InventoryStatus::Done,
         "DB24030810001|20000001|1|12|箱|30|30|40|6900012||0|admin; DB24030810001|20000001|1|12|箱|30|30|40|6900012||0|admin",
         {}},
        {"the part before the full-width comma", {}, {"6900001，5"}, InventoryStatus::Done,
         "DB24030810001|20000001|1|1|瓶|2.5|2.5|3.5|6900001||0|admin", {}},
        {"at the sale price", [&] { state.TransferPriceBasis = "1"; }, {"6900012"}, InventoryStatus::Done,
         "DB24030810001|20000001|1|12|箱|30|40|40|6900012||0|admin", {}},
        {"unknown", {}, {"6900099"}, InventoryStatus::Refused, "", notFound},
        {"quoted", {}, {"69'01"}, InventoryStatus::Refused, "", notFound},
        {"not stocked in the warehouse", [&] { ctx.warehouse = kBranchWarehouse; }, {"6900001"}, InventoryStatus::Refused,
         "", notFound},
        {"none on hand", {}, {"6900003"}, InventoryStatus::Refused, "", notFound},
        {"a unit's barcode without units", [&] { state.UseAuxUnits = "0"; }, {"6900012"}, InventoryStatus::Refused, "",
         notFound},
        {"less on hand than the unit", [] {}, {"6900012"}, InventoryStatus::Refused, "",
         QStringLiteral("库存数量小于出库数量，不能出库！")},
        {"none on hand, negative stock asked", [&] {
             state.AllowNegativeStock = "1";
             notices.script({Notices::Answer::No});
         },
         {"6900003"}, InventoryStatus::Declined, "", QStringLiteral("库存数量小于出库数量，调拨后将产生负库存，继续调拨??")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Transaction scratch(db());
        SetInventoryDefaults(state);
        notices.shown.clear();
        ctx = entry();
        if (QString::fromUtf8(c.name) == QLatin1String("less on hand than the unit"))
            RunSql(db(), "update jxc_kcsp set kc_sl = 5 where g_sn = '20000001' and ck_sn = '100001'");
        if (c.setup)
            c.setup();
        InventoryResult r;
        for (const QString &code : c.codes)
            r = scan(code);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(lines(), c.lines);
        EXPECT_EQ(notices.last(), c.notice);
    }
    EXPECT_EQ(TransferEntry::ScannedCode(QStringLiteral(" 6900001，5 ")), QStringLiteral("6900001"));
}

TEST_F(TransferEntryTest, RepeatsAreRefusedWhenTheOperatorAsksSo)
{
    ASSERT_TRUE(scan("6900001").done());
    // A line of that goods under the number, li's, counts too.
    AddTransferLines(db(), ctx.number, {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    for (const char *code : {"6900012", "6900002"}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(scan(code, true).status, InventoryStatus::Refused);
        EXPECT_EQ(notices.last(), QStringLiteral("该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！"));
    }
    EXPECT_EQ(count("select count(*) from jxc_dbsp where a_name = 'admin'"), 1);
}

TEST_F(TransferEntryTest, AnotherOperatorsNumberMovesAllTheOperatorsLines)
{
    ASSERT_TRUE(scan("6900001").done());
    ASSERT_TRUE(scan("6900002").done());
    AddTransferLines(db(), ctx.number, {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    const InventoryResult r = scan("6900012");
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, QStringLiteral("DB24030810002"));
    EXPECT_EQ(renumbered, QStringList{"DB24030810002"});
    EXPECT_EQ(rows("select a_name, count(*) from jxc_dbsp group by gl_djh, a_name order by gl_djh"),
              QStringLiteral("li|1; admin|3"));
    EXPECT_EQ(scalar("select gl_djh from jxc_dbsp where a_name = 'li'"), QStringLiteral("DB24030810001"));
    EXPECT_GT(linesChanged, 0);
}

} // namespace
