// The rules of the inventory goods pickers: the goods of the warehouse, the goods added without
// the dialog with their one answer per batch, 确定 into the entry page or a pending document.

#include "inventory_fixture.h"

#include "engine/audit.h"
#include "foundation/basket.h"
#include "foundation/goods.h"
#include "inventory/inventorypicker.h"

namespace {

class InventoryPickerTest : public InventoryTest
{
protected:
    InventoryPickerRules rules(InventoryDoc doc = InventoryDoc::Transfer)
    {
        return InventoryPickerRules(db(), state, clock, notices, doc);
    }
    QString listed(InventoryDoc doc, const QString &warehouse, const QString &classSn = {})
    {
        const ListStatement st = InventoryPickerGoods(doc, warehouse, classSn);
        return rows(QStringLiteral("select g_sn, kc_sl from (%1 order by %2) x").arg(st.body, st.order), st.binds);
    }
    QString basket()
    {
        return rows("select g_sn, ts_dj, ts_sl, ts_zsl, ts_zje, ts_dzl, dw_name, g_sptm, gl_djh2, idck from jxc_tempspxf2 "
                    "order by id");
    }
    DocumentContext ctx = entry();
};

TEST_F(InventoryPickerTest, ListsTheActiveGoodsStockedInTheWarehouse)
{
    EnsureZeroGoodsStock(db());
    AddInventoryGoods(db(), "20000006", QStringLiteral("停用"), QStringLiteral("个"), 1, 1, 1, "6900006");
    RunSql(db(), "update jxc_goods set g_jy = 1 where g_sn = '20000006'");
    InsertRow(db(), "jxc_kcsp", {{"g_sn", "20000006"}, {"ck_sn", kMainWarehouse}, {"kc_sl", 3.0}});
    EXPECT_EQ(listed(InventoryDoc::Transfer, kMainWarehouse), QStringLiteral("20000001|48; 20000002|10; 20000003|0; 20000005|0.5"));
    EXPECT_EQ(listed(InventoryDoc::Loss, kMainWarehouse), QStringLiteral("20000001|48; 20000002|10; 20000003|0; 20000005|0.5"));
    EXPECT_EQ(listed(InventoryDoc::Transfer, kMainWarehouse, "1000"),
              QStringLiteral("20000005|0.5; 20000003|0; 20000002|10; 20000001|48"));
    EXPECT_EQ(listed(InventoryDoc::Transfer, kBranchWarehouse), QString());
    EXPECT_EQ(InventoryPickerSortExpression("kc_sl"), QStringLiteral("b.kc_sl"));
    EXPECT_EQ(InventoryPickerSortExpression("g_name"), QStringLiteral("a.g_name"));
}

TEST_F(InventoryPickerTest, BatchesAddAtCostWithOneAnswerForTheirShortages)
{
    EXPECT_EQ(rules().addTransferGoods(ctx, {{kInvG1, 48}, {kInvG2, 10}}, 3), 2);
    EXPECT_EQ(basket(), QStringLiteral("20000001|2.5|3|3|7.5|3.5|瓶|6900001||0; 20000002|4|3|3|12|6|包|6900002||0"));
    rules().removeAll();
    state.TransferPriceBasis = QStringLiteral("1");
    rules().addTransferGoods(ctx, {{kInvG1, 48}, {kInvG2, 10}}, 3);
    EXPECT_EQ(rows("select ts_zje from jxc_tempspxf2 order by id"), QStringLiteral("10.5; 18"));
    state.TransferPriceBasis = QStringLiteral("0");

    const QList<PickedGoods> batch{{kInvG3, 0}, {kInvG5, 0.5}, {kInvG1, 48}};
    struct Case
    {
        const char *name;
        bool negative;
        Notices::Answer answer;
        QString added;
        QStringList shown;
    };
    const Case cases[] = {
        {"refused", false, Notices::Answer::Yes, "20000001", {QStringLiteral("调拨数量不能大于库存数量，重新输入！")}},
        {"asked, No", true, Notices::Answer::No, "20000001",
         {QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?")}},
        {"asked, Yes", true, Notices::Answer::Yes, "20000003; 20000005; 20000001",
         {QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?")}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        rules().removeAll();
        notices.shown.clear();
        state.AllowNegativeStock = c.negative ? QStringLiteral("1") : QStringLiteral("0");
        if (c.negative)
            notices.script({c.answer});
        rules().addTransferGoods(ctx, batch, 1);
        EXPECT_EQ(rows("select g_sn from jxc_tempspxf2 order by id"), c.added);
        EXPECT_EQ(notices.texts(), c.shown);
    }
    rules().removeAll();
    notices.shown.clear();
    EXPECT_EQ(rules().addTransferGoods(ctx, {{kInvG1, 48}, {kInvG2, 10}}, 0), -1);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("默认添加数量必须大于0！")});
    EXPECT_EQ(basket(), QString());
}

TEST_F(InventoryPickerTest, ConfirmCopiesTheBasketInItsOrder)
{
    // Nothing to copy: nothing changes.
    EXPECT_TRUE(rules().confirm(ctx).done());
    EXPECT_EQ(linesChanged, 0);

    rules().addTransferGoods(ctx, {{kInvG2, 10}, {kInvG1, 48}}, 2);
    // Another operator's unsaved line holds the number: the lines go under the next one.
    AddTransferLines(db(), ctx.number, {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});
    const InventoryResult r = rules().confirm(ctx);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, QStringLiteral("DB24030810002"));
    EXPECT_EQ(renumbered, QStringList{"DB24030810002"});
    EXPECT_EQ(rows("select gl_djh, g_sn, db_sl, db_dj, db_zje, db_sj, db_zsl, dw_name, g_sptm, gl_djh2, idck, a_name "
                   "from jxc_dbsp where a_name = 'admin' order by id"),
              QStringLiteral("DB24030810002|20000002|2|4|8|6|2|包|6900002||0|admin; "
                             "DB24030810002|20000001|2|2.5|5|3.5|2|瓶|6900001||0|admin"));
    EXPECT_EQ(count("select count(*) from jxc_tempspxf2"), 0);
    EXPECT_EQ(linesChanged, 1);

    // A pending document takes the lines under its own number, unless audited meanwhile.
    AddTransfer(db(), "DB24030810009", {{kInvG1, 1, 2.5}});
    DocumentContext pend = pending("DB24030810009");
    rules().addTransferGoods(pend, {{kInvG2, 10}}, 1);
    ASSERT_TRUE(rules().confirm(pend).done());
    EXPECT_EQ(count("select count(*) from jxc_dbsp where gl_djh = 'DB24030810009'"), 2);
    ASSERT_TRUE(RunAuditTransfer(db(), state, clock, "DB24030810009").audited());
    rules().addTransferGoods(pend, {{kInvG2, 10}}, 1);
    EXPECT_EQ(rules().confirm(pend).status, InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据DB24030810009的状态已改变，请重新查询！"));
    EXPECT_EQ(count("select count(*) from jxc_dbsp where gl_djh = 'DB24030810009'"), 2);
    EXPECT_EQ(count("select count(*) from jxc_tempspxf2"), 1);
}

TEST_F(InventoryPickerTest, LossBasketsCopyRoundedAmountsAndTheirBatch)
{
    DocumentContext loss = entry(InventoryDoc::Loss);
    Basket basket(db(), loss.type, state);
    basket.addRow({{"g_sn", kInvG1}, {"ts_sl", 3.0}, {"ts_dj", 1.005}, {"ts_zje", 3.015}, {"ts_dzl", 0.0},
                   {"ts_note", QStringLiteral("破损")}, {"gl_djh2", "CJ24030110001"}, {"idck", 7}});
    // The direct add: quantity 1 at the cost of the day (the ledger's 2.5, not the stock row's).
    RunSql(db(), "update jxc_kcsp set kc_cbj = 2.6 where g_sn = '20000001' and ck_sn = '100001'");
    ASSERT_TRUE(rules(InventoryDoc::Loss).addAtCost(loss, kInvG1));
    ASSERT_TRUE(rules(InventoryDoc::Loss).confirm(loss).done());
    EXPECT_EQ(rows("select gl_djh, g_sn, bs_sl, bs_dj, bs_zje, bs_note, gl_djh2, idck, a_name from jxc_bssp order by id"),
              QStringLiteral("BS24030810001|20000001|3|1.005|3.02|破损|CJ24030110001|7|admin; "
                             "BS24030810001|20000001|1|2.5|2.5|||0|admin"));

    DocumentContext overflow = entry(InventoryDoc::Overflow);
    Basket(db(), overflow.type, state).addRow({{"g_sn", kInvG2}, {"ts_sl", 2.0}, {"ts_dj", 4.0}, {"ts_zje", 8.0},
                                                {"ts_note", ""}, {"gl_djh2", "X"}, {"idck", 3}});
    // The one picker of both types: the document's type decides.
    ASSERT_TRUE(rules(InventoryDoc::Loss).confirm(overflow).done());
    EXPECT_EQ(rows("select gl_djh, by_sl, by_zje, coalesce(gl_djh2, 'null'), coalesce(idck, -1) from jxc_bysp"),
              QStringLiteral("BY24030810001|2|8|null|-1"));
}

} // namespace
