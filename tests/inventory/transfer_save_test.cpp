// Saving a transfer: the refusals in order with nothing written, the header and log of a pending
// save, the audit on saving with its questions, a failure anywhere leaving nothing.

#include "inventory_fixture.h"

#include "inventory/transfersave.h"

namespace {

class TransferSaveTest : public InventoryTest
{
protected:
    TransferHeaderInput input() const
    {
        TransferHeaderInput in;
        in.outSn = kMainWarehouse;
        in.outName = QStringLiteral("主仓库");
        in.inSn = kBranchWarehouse;
        in.inName = QStringLiteral("分仓");
        in.handlerSn = QStringLiteral("100001");
        in.handlerText = QStringLiteral("默认员工");
        in.day = QStringLiteral("2024-03-08");
        return in;
    }
    void boxes(int n) { AddTransferLines(db(), kFirst, {{kInvG1, double(n), 30, 12, QStringLiteral("箱")}}); }
    InventorySaveResult save(const TransferHeaderInput &in, int lines = 1)
    {
        return TransferSave(db(), state, clock, notices).save(kFirst, lines, in);
    }
    const QString kFirst = QStringLiteral("DB24030810001");
};

TEST_F(TransferSaveTest, RefusalsComeInOrderAndWriteNothing)
{
    boxes(5);
    const auto before = snapshot();
    struct Case
    {
        const char *name;
        std::function<void(TransferHeaderInput &)> spoil;
        int lines;
        QString text;
    };
    const Case cases[] = {
        {"no line", [](TransferHeaderInput &in) { in.handlerSn.clear(); }, 0, QStringLiteral("没有调拨商品，不能保存！")},
        {"no handler", [](TransferHeaderInput &in) { in.handlerSn.clear(); in.outSn.clear(); }, 1, QStringLiteral("请选择经办人！")},
        {"no out warehouse", [](TransferHeaderInput &in) { in.outSn.clear(); in.inSn.clear(); }, 1, QStringLiteral("请选择调出仓库！")},
        {"no in warehouse", [](TransferHeaderInput &in) { in.inSn.clear(); }, 1, QStringLiteral("请选择调入仓库！")},
        {"same warehouse",
         [](TransferHeaderInput &in) {
             in.inSn = kMainWarehouse;
             in.inName = QStringLiteral("主仓库");
         },
         1, QStringLiteral("调出仓库与调入仓库不能相同！")},
        {"five boxes of 48", [](TransferHeaderInput &) {}, 1,
         QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能出库！")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        notices.shown.clear();
        TransferHeaderInput in = input();
        c.spoil(in);
        EXPECT_FALSE(save(in, c.lines).saved());
        EXPECT_EQ(notices.texts(), QStringList{c.text});
        EXPECT_EQ(snapshot(), before);
    }
}

TEST_F(TransferSaveTest, PendingSaveWritesTheHeaderAndTheLog)
{
    boxes(4);  // all 48 on hand: no shortage
    notices.script({Notices::Answer::No});
    const auto before = snapshot();
    EXPECT_EQ(save(input()).status, InventoryStatus::Declined);
    EXPECT_EQ(snapshot(), before);

    TransferHeaderInput in = input();
    in.note = QStringLiteral(" 调往分店 ");
    const InventorySaveResult r = save(in);
    ASSERT_TRUE(r.saved());
    EXPECT_FALSE(r.audited);
    EXPECT_EQ(r.number, kFirst);
    EXPECT_EQ(notices.last(), QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的调拨单，可以在“待审核调\r\n\r\n拨单”面板中，进行修改及审核操作！"));
    EXPECT_EQ(rows("select gl_djh, ck_out, ck_in, db_dbrq, u_sn, db_status, db_checker, db_chkrq, a_name, db_note from jxc_kcdbd"),
              QStringLiteral("DB24030810001|100001|100002|2024-03-08 10:15|100001|0|||admin|调往分店"));
    EXPECT_EQ(scalar("select log_note from jxc_log order by id desc limit 1"),
              QStringLiteral("增加未审核库存调拨单DB24030810001，共1种商品"));
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = ?", {kFirst}), 0);
}

TEST_F(TransferSaveTest, SavingAuditsWhenAuditOnSaveIsNotOff)
{
    boxes(2);
    state.AuditOnSave = QString();
    const InventorySaveResult r = save(input());
    ASSERT_TRUE(r.saved());
    EXPECT_TRUE(r.audited);
    EXPECT_EQ(notices.texts().first(),
              QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“库存调拨查询”功能中取消审核！"));
    EXPECT_EQ(scalar("select db_status from jxc_kcdbd"), "1");
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = ?", {kFirst}), 2);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note like '增加未审核%'"), 0);
}

TEST_F(TransferSaveTest, ShortageIsAskedAtTheSaveAndAgainAtTheAudit)
{
    boxes(5);
    state.AuditOnSave = QStringLiteral("1");
    state.AllowNegativeStock = QStringLiteral("1");
    const QString question = QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：出库将会出现负库存，是否继续？");
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes, Notices::Answer::No});
    InventorySaveResult r = save(input());
    ASSERT_TRUE(r.saved());
    EXPECT_FALSE(r.audited);
    ASSERT_EQ(notices.texts().size(), 3);
    EXPECT_EQ(notices.texts().at(0), question);
    EXPECT_TRUE(notices.texts().at(1).startsWith(QStringLiteral("单据保存后将直接审核")));
    EXPECT_EQ(notices.texts().at(2), question);
    EXPECT_EQ(scalar("select db_status from jxc_kcdbd"), "0");
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = ?", {kFirst}), 0);
    EXPECT_EQ(count("select count(*) from jxc_log"), 0);

    // The same again under the next number, Yes at the audit.
    RunSql(db(), "delete from jxc_kcdbd");
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes, Notices::Answer::Yes});
    r = save(input());
    ASSERT_TRUE(r.audited);
    EXPECT_NEAR(stock(kInvG1), -12, kEps);
    EXPECT_NEAR(stock(kInvG1, kBranchWarehouse), 60, kEps);
}

TEST_F(TransferSaveTest, AFailureAnywhereInTheSaveLeavesNothing)
{
    boxes(2);
    AddTransferLines(db(), kFirst, {{kInvG2, 1, 4, 1, "包", -1, {}, "li"}});  // the save moves admin's lines
    const auto before = snapshot();
    int total = 0;
    for (int n = 1;; ++n) {
        InjectStatementFailure(db(), n);
        const InventorySaveResult r = save(input());
        InjectStatementFailure(db(), 0);
        if (r.saved()) {
            total = n - 1;
            break;
        }
        EXPECT_EQ(r.status, InventoryStatus::Failed) << n;
        EXPECT_TRUE(notices.last().startsWith(QStringLiteral("保存失败："))) << n;
        EXPECT_EQ(snapshot(), before) << n;
    }
    EXPECT_GT(total, 4);
    EXPECT_EQ(scalar("select gl_djh from jxc_kcdbd"), QStringLiteral("DB24030810002"));
}

} // namespace
