// Cancel-audit of purchase receipts and returns: what a cancel restores after later documents,
// the refusals and questions (nothing written), the options, order progress and atomicity.

#include "unaudit_fixture.h"

#include "engine/balances.h"
#include "foundation/db/transaction.h"

#include <functional>

namespace {

class UnauditPurchaseTest : public UnauditTest
{
protected:
    QVariantMap ledgerRow(const QString &number)
    {
        return row(QStringLiteral("select gl_sqsl, gl_sqje, gl_kc, gl_pjjj, gl_kczje from jxc_goodslist "
                                  "where gl_djh = ? order by id limit 1"),
                   {number});
    }
    void expectRunning(const QString &number, double sqsl, double sqje, double q, double p, double a)
    {
        SCOPED_TRACE(number.toStdString());
        const QVariantMap r = ledgerRow(number);
        EXPECT_NEAR(n(r, "gl_sqsl"), sqsl, kEps);
        EXPECT_NEAR(n(r, "gl_sqje"), sqje, kEps);
        EXPECT_NEAR(n(r, "gl_kc"), q, kEps);
        EXPECT_NEAR(n(r, "gl_pjjj"), p, kEps);
        EXPECT_NEAR(n(r, "gl_kczje"), a, kEps);
    }
    QString cash() { return GetCashBalance(db(), state, clock, QStringLiteral("现金")); }
};

// A back-dated receipt posted after a later receipt and sale, then cancelled: every later row,
// the stock row, the goods and the balances are as if it had never been posted.
TEST_F(UnauditPurchaseTest, BackDatedReceiptCancelRestoresTheLaterLedger)
{
    addReceipt(QStringLiteral("CJ24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 10, 7}}, 70, 0);
    postReceipt(QStringLiteral("CJ24030610001"));
    addSale(QStringLiteral("XS24030710001"), QStringLiteral("2024-03-07 10:00"), {{"G1", 4, 10, 7}}, 40, 40);
    postSale(QStringLiteral("XS24030710001"));
    expectRunning(QStringLiteral("XS24030710001"), 10, 70, 6, 7, 42);

    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 20);
    postReceipt(QStringLiteral("CJ24030510001"));
    expectRunning(QStringLiteral("CJ24030510001"), 0, 0, 10, 5, 50);
    expectRunning(QStringLiteral("CJ24030610001"), 10, 50, 20, 6, 120);
    expectRunning(QStringLiteral("XS24030710001"), 20, 120, 16, 5.75, 92);
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 100, kEps);
    EXPECT_EQ(cash(), QStringLiteral("20"));

    const int logsBefore = logRows();
    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001")), UnauditOutcome::Done);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("您的操作将取消当前选中的已审核单据：CJ24030510001，确认吗？")});

    expectRunning(QStringLiteral("CJ24030610001"), 0, 0, 10, 7, 70);
    expectRunning(QStringLiteral("XS24030710001"), 10, 70, 6, 7, 42);
    EXPECT_NEAR(stock("G1", "kc_sl"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_xssl"), 4, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 7, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 42, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 6, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 7, kEps);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 1, kEps);
    EXPECT_NEAR(goods("G1", "g_scjj"), 5, kEps);  // left as the posting set it
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 70, kEps);
    EXPECT_EQ(cash(), QStringLiteral("40"));
    const QVariantMap h = row(QStringLiteral("select j_status, j_checker, j_chkrq, j_hkje from jxc_jhd where gl_djh = ?"),
                              {QStringLiteral("CJ24030510001")});
    EXPECT_EQ(t(h, "j_status"), QStringLiteral("0"));
    EXPECT_EQ(t(h, "j_checker"), QString());
    EXPECT_EQ(t(h, "j_chkrq"), QString());
    EXPECT_EQ(t(h, "j_hkje"), QStringLiteral("0"));
    for (const char *table : {"jxc_goodslist", "jxc_xjyh", "jxc_ysyfk"})
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where gl_djh = 'CJ24030510001'").arg(QLatin1String(table))), 0)
            << table;
    EXPECT_EQ(logRows(), logsBefore + 1);
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核采购进货单CJ24030510001"));
    EXPECT_NEAR(num(QStringLiteral("select u_cgpl from jxc_user where u_sn = '100001'")), 2, kEps);
}

TEST_F(UnauditPurchaseTest, ReturnCancelRaisesStockAgain)
{
    addReceipt(QStringLiteral("CJ24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 10, 7}}, 70, 0);
    postReceipt(QStringLiteral("CJ24030610001"));
    addPurchaseReturn(QStringLiteral("CT24030710001"), QStringLiteral("2024-03-07 10:00"), {{"G1", 2, 7}}, -14, -14);
    postPurchaseReturn(QStringLiteral("CT24030710001"));
    expectRunning(QStringLiteral("CT24030710001"), 10, 70, 8, 7, 56);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 0, kEps);

    EXPECT_EQ(cancel(QStringLiteral("CT24030710001")), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 10, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 7, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 70, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 1, kEps);
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 70, kEps);
    EXPECT_EQ(cash(), QStringLiteral("0"));
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核采购退货单CT24030710001"));
    EXPECT_EQ(scalar(QStringLiteral("select th_status from jxc_thd where gl_djh = 'CT24030710001'")), QStringLiteral("0"));
}

// The stock test compares with today's stock only: a cancel that leaves a negative stretch in
// the past passes and the later sale keeps its stored cost.
TEST_F(UnauditPurchaseTest, NegativeStretchBetweenDatesIsKept)
{
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    addSale(QStringLiteral("XS24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 10, 10, 5}}, 100, 100);
    postSale(QStringLiteral("XS24030610001"));
    addReceipt(QStringLiteral("CJ24030710001"), QStringLiteral("2024-03-07 10:00"), {{"G1", 10, 7}}, 70, 0);
    postReceipt(QStringLiteral("CJ24030710001"));
    ASSERT_NEAR(stock("G1", "kc_sl"), 10, kEps);

    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001")), UnauditOutcome::Done);
    expectRunning(QStringLiteral("XS24030610001"), 0, 0, -10, 10, -100);
    expectRunning(QStringLiteral("CJ24030710001"), -10, -100, 0, 7, 0);
    EXPECT_NEAR(stock("G1", "kc_sl"), 0, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 7, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 0, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 0, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 5, kEps);
    EXPECT_NEAR(num(QStringLiteral("select ls_zcb from jxc_lsxssp where gl_djh = 'XS24030610001'")), 50, kEps);
    EXPECT_NEAR(num(QStringLiteral("select gl_zcb from jxc_goodslist where gl_djh = 'XS24030610001'")), 50, kEps);
}

// Every refusal, question answered No and the second cancel leave all tables as they were and
// write no log row.
TEST_F(UnauditPurchaseTest, RefusalsAndNoWriteNothing)
{
    addRole(QStringLiteral("100002"), {{"cggl", rights({3, 6})}});
    addRole(QStringLiteral("100003"), {{"cggl", rights({1, 2})}});
    addOperator(QStringLiteral("li"), QStringLiteral("100002"));
    addOperator(QStringLiteral("wang"), QStringLiteral("100003"));
    addOperator(QStringLiteral("zhao"), QStringLiteral("100003"));

    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    addPurchaseReturn(QStringLiteral("CT24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 1, 5}}, -5, 0);
    postPurchaseReturn(QStringLiteral("CT24030610001"));
    addReceipt(QStringLiteral("CJ24030710001"), QStringLiteral("2024-03-07 10:00"), {{"G1", 5, 5}}, 25, 0);
    // Audited by wang, whose role may not cancel.
    loginAs(QStringLiteral("wang"), QStringLiteral("100001"));
    postReceipt(QStringLiteral("CJ24030710001"));
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
    addReceipt(QStringLiteral("CJ24030810001"), QStringLiteral("2024-03-08 09:00"), {{"G2", 1, 5}}, 5, 0);

    struct Case
    {
        const char *name;
        QString number;
        QString op;
        QString role;
        std::function<void()> arrange;
        QList<Notices::Answer> answers;
        QString shown;
        UnauditOutcome outcome;
    };
    const QString confirm = QStringLiteral("您的操作将取消当前选中的已审核单据：CJ24030510001，确认吗？");
    const std::vector<Case> cases = {
        {"no cggl 3", "CJ24030510001", "zhao", "100003", [] {}, {}, "您没有取消审核采购进货单的权限！",
         UnauditOutcome::Refused},
        {"no cggl 6", "CT24030610001", "zhao", "100003", [] {}, {}, "您没有取消审核采购退货单的权限！",
         UnauditOutcome::Refused},
        {"goods-in lines", "CJ24030510001", "admin", "100001",
         [this] { insert(QStringLiteral("jxc_rksp"), {{"gl_djh", "CJ24030510001"}, {"g_sn", "G1"}, {"rk_sl", 1.0}}); },
         {},
         "该单据CJ24030510001已有入库信息，不能取消审核！\r\n\r\n请在商品入库单中删除该单据的所有信息，\r\n\r\n然后再取消审核！",
         UnauditOutcome::Refused},
        {"auditor rule", "CJ24030710001", "li", "100002", [] {}, {},
         "单据：CJ24030710001，的审核人：wang\r\n\r\n不允许其他人取消审核！", UnauditOutcome::Refused},
        {"No to the confirmation", "CJ24030510001", "admin", "100001", [] {}, {Notices::Answer::No}, confirm,
         UnauditOutcome::Declined},
        {"stock short, negative off", "CJ24030510001", "admin", "100001",
         [this] { RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = 3 where g_sn = 'G1'")); }, {},
         "该单据中至少一种商品库存不足，\r\n\r\n“G1”：不能出库！", UnauditOutcome::Refused},
        {"stock short, negative on, No", "CJ24030510001", "admin", "100001",
         [this] {
             RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = 3 where g_sn = 'G1'"));
             state.AllowNegativeStock = QStringLiteral("1");
         },
         {Notices::Answer::Yes, Notices::Answer::No},
         "该单据中至少一种商品库存不足，\r\n\r\n“G1”：出库将会出现负库存，是否继续？", UnauditOutcome::Declined},
        {"pending document", "CJ24030810001", "admin", "100001", [] {}, {}, "单据CJ24030810001未审核，不能取消审核！",
         UnauditOutcome::Refused},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        {
            Transaction scenario(db());
            c.arrange();
            const auto before = everything();
            const int logs = logRows();
            loginAs(c.op, c.role);
            notices = ScriptedNotices();
            for (Notices::Answer a : c.answers)
                notices.script({a});
            EXPECT_EQ(cancel(c.number), c.outcome);
            EXPECT_EQ(notices.last(), c.shown);
            EXPECT_EQ(logRows(), logs);
            EXPECT_TRUE(before == everything());
            loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
            state.AllowNegativeStock = QStringLiteral("0");
        }  // rolled back
    }

    // The administrator role and an operator whose role holds cggl 3 … only when the auditor is
    // himself or his role may cancel: an administrator-role operator passes the auditor rule.
    loginAs(QStringLiteral("li"), QStringLiteral("100001"));
    EXPECT_EQ(cancel(QStringLiteral("CJ24030710001")), UnauditOutcome::Done);
    // A second cancel of the same document.
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
    notices = ScriptedNotices();
    EXPECT_EQ(cancel(QStringLiteral("CJ24030710001")), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据CJ24030710001未审核，不能取消审核！"));
}

// Negative stock allowed and confirmed: the cancel goes through and stock goes below zero.
TEST_F(UnauditPurchaseTest, ConfirmedShortageCancels)
{
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 5, 5}}, 25, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = 3 where g_sn = 'G1'"));
    state.AllowNegativeStock = QStringLiteral("1");
    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001"), {.bulk = true}), UnauditOutcome::Done);
    // bulk: only the stock question was asked.
    EXPECT_EQ(notices.texts(),
              QStringList{QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“G1”：出库将会出现负库存，是否继续？")});
    EXPECT_NEAR(stock("G1", "kc_sl"), -2, kEps);
}

// Lines that put nothing on hand (jh_rksl 0) are no shortage and their cancel leaves kc_sl.
TEST_F(UnauditPurchaseTest, LinesNotTakenInNeitherShortNorMoveOnHand)
{
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"),
               {{"G1", 10, 5, 1, 0}}, 50, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    ASSERT_NEAR(stock("G1", "kc_sl"), 0, kEps);
    ASSERT_NEAR(stock("G1", "kc_zsl"), 10, kEps);
    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_TRUE(notices.texts().isEmpty()) << notices.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_NEAR(stock("G1", "kc_sl"), 0, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 0, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 0, kEps);
}

// keepAudited: rows, stock and balances go, the header stays audited; the return then needs no
// cancel right.
TEST_F(UnauditPurchaseTest, KeepAuditedLeavesTheHeader)
{
    addRole(QStringLiteral("100003"), {});
    addOperator(QStringLiteral("zhao"), QStringLiteral("100003"));
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 10);
    postReceipt(QStringLiteral("CJ24030510001"));
    addPurchaseReturn(QStringLiteral("CT24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 1, 5}}, -5, -5);
    postPurchaseReturn(QStringLiteral("CT24030610001"));

    loginAs(QStringLiteral("zhao"), QStringLiteral("100003"));
    EXPECT_EQ(cancel(QStringLiteral("CT24030610001"), {.bulk = false, .keepAudited = true}), UnauditOutcome::Done);
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001"), {.bulk = false, .keepAudited = true}), UnauditOutcome::Done);
    EXPECT_EQ(scalar(QStringLiteral("select j_status from jxc_jhd where gl_djh = 'CJ24030510001'")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select th_status from jxc_thd where gl_djh = 'CT24030610001'")), QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goodslist")), 0);
    EXPECT_NEAR(stock("G1", "kc_sl"), 0, kEps);
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 0, kEps);
    EXPECT_EQ(cash(), QStringLiteral("0"));
}

TEST_F(UnauditPurchaseTest, OrderProgressGoesBackWithTheClosedFlag)
{
    state.UsePurchaseOrder = QStringLiteral("1");
    const qint64 order = insert(QStringLiteral("jxc_cgsp"),
                                {{"gl_djh", "CD24030110001"}, {"g_sn", "G1"}, {"jh_sl", 10.0}, {"jh_rksl", 0.0},
                                 {"jh_qxsl", 0.0}});
    RunSql(db(), QStringLiteral("update jxc_cgsp set id2 = id"));
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"),
               {{"G1", 10, 5, 1, -1, {{"id3", order}}}}, 50, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    addReceipt(QStringLiteral("CJ24030610001"), QStringLiteral("2024-03-06 10:00"),
               {{"G1", 4, 5, 1, -1, {{"id3", order}}}}, 20, 0);
    postReceipt(QStringLiteral("CJ24030610001"));
    const QString sql = QStringLiteral("select jh_rksl, jh_qxsl from jxc_cgsp where id = ?");
    ASSERT_NEAR(n(row(sql, {order}), "jh_rksl"), 14, kEps);

    EXPECT_EQ(cancel(QStringLiteral("CJ24030610001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(n(row(sql, {order}), "jh_rksl"), 10, kEps);
    EXPECT_EQ(t(row(sql, {order}), "jh_qxsl"), QStringLiteral("1"));  // still fulfilled
    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(n(row(sql, {order}), "jh_rksl"), 0, kEps);
    EXPECT_EQ(t(row(sql, {order}), "jh_qxsl"), QStringLiteral("0"));
}

// A failure at any statement of the cancel leaves every table as it was.
TEST_F(UnauditPurchaseTest, FailureAtAnyStatementWritesNothing)
{
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 20);
    postReceipt(QStringLiteral("CJ24030510001"));
    addSale(QStringLiteral("XS24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 4, 10, 5}}, 40, 30);
    postSale(QStringLiteral("XS24030610001"));
    addReceipt(QStringLiteral("CJ24030410001"), QStringLiteral("2024-03-04 10:00"), {{"G1", 10, 3}}, 30, 30);
    postReceipt(QStringLiteral("CJ24030410001"));
    const auto before = everything();
    int n = 1;
    for (;; ++n) {
        notices = ScriptedNotices();
        InjectStatementFailure(db(), n);
        const UnauditOutcome o = cancel(QStringLiteral("CJ24030410001"), {.bulk = true});
        InjectStatementFailure(db(), 0);
        if (o == UnauditOutcome::Done)
            break;
        SCOPED_TRACE(n);
        ASSERT_EQ(o, UnauditOutcome::Failed);
        ASSERT_TRUE(notices.last().startsWith(QStringLiteral("取消审核失败："))) << notices.last().toStdString();
        ASSERT_TRUE(before == everything());
        ASSERT_LT(n, 1000);
    }
    EXPECT_GT(n, 10);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goodslist where gl_djh = 'CJ24030410001'")), 0);
}

// Receipts registered against the document go with it, with what their audit wrote under their
// own numbers; a cash entry of another number that merely names the document stays.
TEST_F(UnauditPurchaseTest, PaymentsAgainstTheReceiptGoWithIt)
{
    addReceipt(QStringLiteral("CJ24030510001"), QStringLiteral("2024-03-05 10:00"), {{"G1", 10, 5}}, 50, 0);
    postReceipt(QStringLiteral("CJ24030510001"));
    insert(QStringLiteral("jxc_ysyfk_dj"),
           {{"gl_djh", "FK24030610001"}, {"k_ghskh", "100001"}, {"u_sn", "100001"}, {"a_name", "admin"},
            {"k_fkfs", "工行帐号"}, {"k_sfje", 49.5}, {"k_mlje", 0.5}, {"k_yfje", 0.0}, {"k_yhje", 0.0},
            {"k_qcje", 0.0}, {"k_type", "ghs"}, {"k_djlx", "FK"}, {"k_djtxt", "付款单"},
            {"k_note", "单据【CJ24030510001】付款 "}, {"k_flag", 1}, {"k_rq", "2024-03-06 10:00"},
            {"gl_djh2", "CJ24030510001"}, {"k_check", 0}});
    post(RunAuditPayment(db(), state, clock, QStringLiteral("FK24030610001")));
    insert(QStringLiteral("jxc_xjyh"),
           {{"xj_rq", "2024-03-07 10:00"}, {"gl_djh", "FY24030710001"}, {"xj_je", 100.0}, {"xj_ljje", 0.0},
            {"xj_chk", "1"}, {"xj_kmmc", "工行帐号"}, {"xj_note", "CJ24030510001 运费"}});
    RecalcCashBalances(db(), state, clock, QStringLiteral("工行帐号"), QStringLiteral("2024-03-07"));
    ASSERT_GT(count(QStringLiteral("select count(*) from jxc_ysyfk where gl_djh like 'YF%'")), 0);

    EXPECT_EQ(cancel(QStringLiteral("CJ24030510001"), {.bulk = true}), UnauditOutcome::Done);
    for (const char *table : {"jxc_ysyfk", "jxc_ysyfk_dj", "jxc_xjyh", "jxc_goodslist"})
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where gl_djh in ('CJ24030510001', 'FK24030610001') "
                                       "or gl_djh like 'YF%'")
                            .arg(QLatin1String(table))),
                  0)
            << table;
    EXPECT_NEAR(num(QStringLiteral("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'")), 0, kEps);
    EXPECT_NEAR(num(QStringLiteral("select xj_ljje from jxc_xjyh where gl_djh = 'FY24030710001'")), 100, kEps);
}

} // namespace
