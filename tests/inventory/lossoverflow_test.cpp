// Loss and overflow notes: the save's refusals and header, the line dialog's opening and its
// writes by mode (amounts, notes, batches, the pending document's re-read).

#include "inventory_fixture.h"

#include "engine/audit.h"
#include "foundation/basket.h"
#include "inventory/lossoverflow.h"

namespace {

class LossOverflowTest : public InventoryTest
{
protected:
    LossOverflowRules rules() { return LossOverflowRules(db(), state, clock, notices); }
    LossHeaderInput header() const
    {
        return {QString::fromLatin1(kMainWarehouse), QStringLiteral("100001"), QStringLiteral("默认员工"),
                QStringLiteral("2024-03-08"), QStringLiteral(" 月底 ")};
    }
    LossLineInput line(double quantity, double cost, const QString &note = {}) const
    {
        LossLineInput in;
        in.quantity = quantity;
        in.cost = cost;
        in.note = note;
        return in;
    }
};

TEST_F(LossOverflowTest, SaveRefusesInOrderThenWritesThePendingHeader)
{
    const auto before = snapshot();
    LossHeaderInput noHandler = header();
    noHandler.handlerSn.clear();
    noHandler.warehouseSn.clear();
    LossHeaderInput noWarehouse = header();
    noWarehouse.warehouseSn.clear();
    const struct
    {
        int lines;
        LossHeaderInput in;
        const char *text;
    } cases[] = {{0, noHandler, "请选择商品！"}, {1, noHandler, "请选择经办人！"}, {1, noWarehouse, "请选择仓库！"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        notices.shown.clear();
        EXPECT_FALSE(rules().save(InventoryDoc::Loss, "BS24030810001", c.lines, c.in).saved());
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(snapshot(), before);
    }

    AddLossLines(db(), "BS24030810001", {{kInvG1, 3, 2.5}});
    const InventorySaveResult r = rules().save(InventoryDoc::Loss, "BS24030810001", 1, header());
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(notices.last(), QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的报损报溢单，可以在“待审核报损\r\n\r\n报溢单”面板中，进行修改及审核操作！"));
    EXPECT_EQ(rows("select gl_djh, ck_sn, bs_bsrq, u_sn, bs_note, bs_status, bs_checker, bs_chkrq, a_name from jxc_bsd"),
              QStringLiteral("BS24030810001|100001|2024-03-08 10:15|100001|月底|0|||admin"));
    EXPECT_EQ(scalar("select log_note from jxc_log order by id desc limit 1"),
              QStringLiteral("增加未审核商品报损单BS24030810001，共1种商品"));

    // An overflow audited on saving.
    state.AuditOnSave = QStringLiteral("True");
    AddLossLines(db(), "BY24030810001", {{kInvG2, 2, 4}}, true);
    const InventorySaveResult o = rules().save(InventoryDoc::Overflow, "BY24030810001", 1, header());
    EXPECT_TRUE(o.audited);
    EXPECT_EQ(notices.last(), QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以取消审核！"));
    EXPECT_EQ(scalar("select by_status from jxc_byd"), "1");
    EXPECT_NEAR(stock(kInvG2), 12, kEps);
}

TEST_F(LossOverflowTest, LineDialogOpensByMode)
{
    RunSql(db(), "update jxc_kcsp set kc_cbj = 2.6 where g_sn = '20000001' and ck_sn = '100001'");
    const DocumentContext loss = entry(InventoryDoc::Loss);
    LossLineOpening o = rules().open(loss, InventoryLineMode::BasketAdd, kInvG1, 0);
    EXPECT_EQ(o.goods.stock, QStringLiteral("48"));
    EXPECT_NEAR(o.quantity, 1, kEps);
    EXPECT_NEAR(o.cost, 2.6, kEps);
    EXPECT_EQ(rules().open(loss, InventoryLineMode::BasketAdd, kInvG4, 0).cost, 0.0);

    // A basket row of 2.5 opens as 2.5.
    const qint64 row = Basket(db(), loss.type, state)
                           .addRow({{"g_sn", kInvG1}, {"ts_sl", 2.5}, {"ts_dj", 2.6}, {"ts_zje", 6.5}, {"ts_note", "n"}});
    o = rules().open(loss, InventoryLineMode::BasketModify, kInvG1, row);
    EXPECT_NEAR(o.quantity, 2.5, kEps);
    EXPECT_EQ(o.note, QStringLiteral("n"));
}

TEST_F(LossOverflowTest, LineDialogWritesByMode)
{
    DocumentContext loss = entry(InventoryDoc::Loss);
    EXPECT_EQ(rules().write(loss, InventoryLineMode::BasketAdd, kInvG1, 0, line(0, 2.5)).status, InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("数量不能为0或负数，重新输入！"));
    ASSERT_TRUE(rules().write(loss, InventoryLineMode::BasketAdd, kInvG1, 0, line(3, 1.005, QStringLiteral(" 破损 "))).done());
    EXPECT_EQ(rows("select g_sn, ts_sl, ts_dj, ts_zje, ts_dzl, ts_note from jxc_tempspxf"), QStringLiteral("20000001|3|1.005|3.015|0|破损"));

    // An entry line: rounded amount, trimmed note, its batch.
    AddLossLines(db(), loss.number, {{kInvG1, 1, 2.5}});
    const qint64 id = scalar("select id from jxc_bssp").toLongLong();
    LossLineInput in = line(3, 1.005, QStringLiteral("过期"));
    in.batchNumber = QStringLiteral("CJ24030110001");
    in.batchId = QStringLiteral("9");
    ASSERT_TRUE(rules().write(loss, InventoryLineMode::Draft, kInvG1, id, in).done());
    EXPECT_EQ(rows("select bs_sl, bs_dj, bs_zje, bs_note, gl_djh2, idck from jxc_bssp"),
              QStringLiteral("3|1.005|3.02|过期|CJ24030110001|9"));

    // A pending overflow line of li's: the operator takes it, its batch id stays.
    AddOverflow(db(), "BY24030810003", {{kInvG2, 1, 4, 1, {}, -1, {}, QStringLiteral("li")}});
    RunSql(db(), "update jxc_bysp set idck = 77, gl_djh2 = 'X'");
    const qint64 pendingLine = scalar("select id from jxc_bysp").toLongLong();
    DocumentContext pend = pending("BY24030810003");
    ASSERT_TRUE(rules().write(pend, InventoryLineMode::Pending, kInvG2, pendingLine, line(2, 4)).done());
    EXPECT_EQ(rows("select a_name, by_sl, by_zje, idck, gl_djh2 from jxc_bysp"), QStringLiteral("admin|2|8|77|X"));

    ASSERT_TRUE(RunAuditOverflow(db(), state, clock, "BY24030810003").audited());
    EXPECT_EQ(rules().write(pend, InventoryLineMode::Pending, kInvG2, pendingLine, line(5, 4)).status,
              InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据BY24030810003的状态已改变，请重新查询！"));
    EXPECT_EQ(scalar("select by_sl from jxc_bysp"), "2");
}

} // namespace
