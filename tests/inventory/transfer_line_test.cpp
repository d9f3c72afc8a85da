// The transfer line dialog's rules: what it opens with, the prices of a unit, and what 确定
// writes by mode, with its refusals and the pending document's re-read.

#include "inventory_fixture.h"

#include "engine/audit.h"
#include "foundation/basket.h"
#include "foundation/db/connection.h"
#include "inventory/transferlinewriter.h"

namespace {

class TransferLineTest : public InventoryTest
{
protected:
    TransferLineWriter writer() { return TransferLineWriter(db(), state, clock, notices); }
    TransferLineInput input(double quantity, const QString &unit, double price, double sale)
    {
        TransferLineInput in;
        in.quantity = quantity;
        in.unit = unit;
        in.price = price;
        in.salePrice = sale;
        in.stockText = QStringLiteral("48");
        return in;
    }
    QString basket()
    {
        return rows("select g_sn, ts_sl, ts_zsl, ts_dj, ts_zje, ts_dzl, dw_name, g_sptm, gl_djh2, idck from jxc_tempspxf2 "
                    "order by id");
    }
    DocumentContext ctx = entry();
};

TEST_F(TransferLineTest, OpensWithTheStockTheCostAndTheUnits)
{
    const TransferLineOpening o = writer().open(ctx, InventoryLineMode::BasketAdd, kInvG1, 0);
    EXPECT_EQ(o.goods.stock, QStringLiteral("48"));
    EXPECT_EQ(o.goods.name, QStringLiteral("可乐"));
    EXPECT_NEAR(o.price, 2.5, kEps);
    EXPECT_NEAR(o.salePrice, 3.5, kEps);
    EXPECT_NEAR(o.quantity, 1, kEps);
    EXPECT_EQ(o.units, (QStringList{"瓶", "箱"}));
    EXPECT_EQ(o.unitIndex, 0);

    const TransferUnitPrices box = writer().unitPrices(ctx, kInvG1, QStringLiteral("箱"), false);
    EXPECT_NEAR(box.price, 30, kEps);
    EXPECT_NEAR(box.salePrice, 40, kEps);
    EXPECT_NEAR(box.factor, 12, kEps);
    state.TransferPriceBasis = QStringLiteral("2");
    EXPECT_NEAR(writer().unitPrices(ctx, kInvG1, QStringLiteral("箱"), false).price, 28, kEps);
    state.TransferPriceBasis = QStringLiteral("0");
    EXPECT_NEAR(writer().unitPrices(ctx, kInvG1, QStringLiteral("瓶"), true).price, 2.5, kEps);

    state.UseAuxUnits = QStringLiteral("0");
    EXPECT_EQ(writer().open(ctx, InventoryLineMode::BasketAdd, kInvG1, 0).units, QStringList{"瓶"});
}

TEST_F(TransferLineTest, ConfirmRoundsRefusesAndAsks)
{
    struct Case
    {
        const char *name;
        TransferLineInput in;
        bool negative;
        QList<Notices::Answer> answers;
        InventoryStatus status;
        QString notice;
        QString basket;
    };
    const Case cases[] = {
        {"5 boxes refused", input(5, "箱", 30, 40), false, {}, InventoryStatus::Refused,
         QStringLiteral("调拨数量不能大于库存数量，重新输入！"), ""},
        {"5 boxes, No stays", input(5, "箱", 30, 40), true, {Notices::Answer::No}, InventoryStatus::Declined,
         QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?"), ""},
        {"5 boxes, Yes", input(5, "箱", 30, 40), true, {Notices::Answer::Yes}, InventoryStatus::Done,
         QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?"), "20000001|5|60|30|150|40|箱|6900012||0"},
        {"4 boxes pass", input(4, "箱", 30, 40), false, {}, InventoryStatus::Done, "", "20000001|4|48|30|120|40|箱|6900012||0"},
        {"price rounded down", input(1, "瓶", 10.004, 3.5), false, {}, InventoryStatus::Done, "",
         "20000001|1|1|10|10|3.5|瓶|6900001||0"},
        {"price rounded up", input(3, "瓶", 10.005, 3.5), false, {}, InventoryStatus::Done, "",
         "20000001|3|3|10.01|30.03|3.5|瓶|6900001||0"},
        {"zero", input(0, "瓶", 2.5, 3.5), false, {}, InventoryStatus::Refused,
         QStringLiteral("数量不能为0或负数，重新输入！"), ""},
        {"negative", input(-1, "瓶", 2.5, 3.5), false, {}, InventoryStatus::Refused,
         QStringLiteral("数量不能为0或负数，重新输入！"), ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Transaction scratch(db());
        notices.shown.clear();
        state.AllowNegativeStock = c.negative ? QStringLiteral("1") : QStringLiteral("0");
        for (Notices::Answer a : c.answers)
            notices.script({a});
        const InventoryResult r = writer().write(ctx, InventoryLineMode::BasketAdd, kInvG1, 0, c.in);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(notices.last(), c.notice);
        EXPECT_EQ(basket(), c.basket);
    }

    // At the sale price the amount follows it; without units the factor is 1 and the barcode
    // the goods' own.
    state.AllowNegativeStock = QStringLiteral("0");
    state.TransferPriceBasis = QStringLiteral("1");
    ASSERT_TRUE(writer().write(ctx, InventoryLineMode::BasketAdd, kInvG1, 0, input(2, "瓶", 2.5, 3.5)).done());
    state.TransferPriceBasis = QStringLiteral("0");
    state.UseAuxUnits = QStringLiteral("0");
    ASSERT_TRUE(writer().write(ctx, InventoryLineMode::BasketAdd, kInvG1, 0, input(2, "箱", 30, 40)).done());
    EXPECT_EQ(basket(), QStringLiteral("20000001|2|2|2.5|7|3.5|瓶|6900001||0; 20000001|2|2|30|60|40|箱|6900001||0"));
}

TEST_F(TransferLineTest, EntryBasketAndPendingLinesAreWrittenByMode)
{
    // The entry line: opened with its values, written back in place.
    AddTransferLines(db(), ctx.number, {{kInvG1, 2, 30, 12, QStringLiteral("箱")}});
    const qint64 line = scalar("select id from jxc_dbsp").toLongLong();
    TransferLineOpening o = writer().open(ctx, InventoryLineMode::Draft, kInvG1, line);
    EXPECT_NEAR(o.quantity, 2, kEps);
    EXPECT_NEAR(o.price, 30, kEps);
    EXPECT_EQ(o.units.value(o.unitIndex), QStringLiteral("箱"));
    ASSERT_TRUE(writer().write(ctx, InventoryLineMode::Draft, kInvG1, line, input(3, "箱", 30, 40)).done());
    EXPECT_EQ(rows("select db_sl, db_zsl, db_dj, db_zje, db_sj, dw_name, g_sptm from jxc_dbsp"),
              QStringLiteral("3|36|30|90|40|箱|6900012"));

    // A basket row keeps what it was given; modified, the same row changes.
    ASSERT_TRUE(writer().write(ctx, InventoryLineMode::BasketAdd, kInvG2, 0, input(2.5, "包", 4, 6)).done());
    const qint64 row = scalar("select id from jxc_tempspxf2").toLongLong();
    o = writer().open(ctx, InventoryLineMode::BasketModify, kInvG2, row);
    EXPECT_NEAR(o.quantity, 2.5, kEps);
    EXPECT_NEAR(o.salePrice, 6, kEps);
    ASSERT_TRUE(writer().write(ctx, InventoryLineMode::BasketModify, kInvG2, row, input(1, "包", 4, 6)).done());
    EXPECT_EQ(basket(), QStringLiteral("20000002|1|1|4|4|6|包|6900002||0"));

    // A pending line of li's becomes the operator's; after another workstation audited the
    // document nothing is written.
    AddTransfer(db(), "DB24030810005", {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    const qint64 pendingLine = scalar("select id from jxc_dbsp where gl_djh = 'DB24030810005'").toLongLong();
    DocumentContext pend = pending("DB24030810005");
    ASSERT_TRUE(writer().write(pend, InventoryLineMode::Pending, kInvG2, pendingLine, input(2, "包", 4, 6)).done());
    EXPECT_EQ(rows("select a_name, db_sl from jxc_dbsp where id = ?", {pendingLine}), QStringLiteral("admin|2"));

    QSqlDatabase other = testDb().openSecondConnection();
    LoginState li = state;
    li.CurrentOperatorName = QStringLiteral("li");
    ASSERT_TRUE(RunAuditTransfer(other, li, clock, "DB24030810005").audited());
    const auto before = snapshot();
    EXPECT_EQ(writer().write(pend, InventoryLineMode::Pending, kInvG2, pendingLine, input(3, "包", 4, 6)).status,
              InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据DB24030810005的状态已改变，请重新查询！"));
    EXPECT_EQ(snapshot(), before);
}

} // namespace
