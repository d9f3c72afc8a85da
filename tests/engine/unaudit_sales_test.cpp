// Cancel-audit of sales, sales returns and exchanges.

#include "unaudit_fixture.h"

#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/members.h"
#include "engine/postsales.h"
#include "foundation/db/transaction.h"

#include <atomic>
#include <tuple>
#include <thread>

namespace {

class UnauditSalesTest : public UnauditTest
{
protected:
    void SetUp() override
    {
        UnauditTest::SetUp();
        addReceipt(QStringLiteral("CJ24030610001"), QStringLiteral("2024-03-06 10:00"), {{"G1", 10, 7}}, 70, 0);
        postReceipt(QStringLiteral("CJ24030610001"));
    }
    double customerOwes() { return num(QStringLiteral("select kh_lwje from jxc_khxx where kh_sn = '100001'")); }
    // Stock, cost and counts as the receipt of SetUp left them, and the customer owes nothing.
    void expectOnlyTheReceiptLeft()
    {
        EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
        EXPECT_NEAR(stock("G1", "kc_zsl"), 10, kEps);
        EXPECT_NEAR(stock("G1", "kc_xssl"), 0, kEps);
        EXPECT_NEAR(stock("G1", "kc_cbj"), 7, kEps);
        EXPECT_NEAR(stock("G1", "kc_zcb"), 70, kEps);
        EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
        EXPECT_NEAR(goods("G1", "g_xspl"), 0, kEps);
        EXPECT_NEAR(customerOwes(), 0, kEps);
    }
    void sale(const QVariantMap &extra = {})
    {
        addSale(QStringLiteral("XS24030710001"), QStringLiteral("2024-03-07 10:00"), {{"G1", 4, 10, 7}}, 40, 30, extra);
        postSale(QStringLiteral("XS24030710001"));
    }
};

TEST_F(UnauditSalesTest, SaleCancel)
{
    sale();
    ASSERT_NEAR(customerOwes(), 10, kEps);
    ASSERT_NEAR(goods("G1", "g_xspl"), 1, kEps);
    EXPECT_EQ(cancel(QStringLiteral("XS24030710001")), UnauditOutcome::Done);
    expectOnlyTheReceiptLeft();
    const QVariantMap h = row(QStringLiteral("select ls_status, ls_dhbz, ls_hkje, ls_checker from jxc_lsxsd "
                                             "where gl_djh = 'XS24030710001'"));
    EXPECT_EQ(t(h, "ls_status"), QStringLiteral("0"));
    EXPECT_EQ(t(h, "ls_dhbz"), QStringLiteral("0"));
    EXPECT_EQ(t(h, "ls_hkje"), QStringLiteral("0"));
    EXPECT_EQ(t(h, "ls_checker"), QString());
    EXPECT_NEAR(num(QStringLiteral("select u_xspl from jxc_user where u_sn = '100001'")), 1, kEps);
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核商品销售单XS24030710001"));
    EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), QStringLiteral("0"));
}

TEST_F(UnauditSalesTest, ReturnCancelAfterTheSale)
{
    sale();
    addSalesReturn(QStringLiteral("XT24030810001"), QStringLiteral("2024-03-08 09:00"), {{"G1", 1, 10, 7}}, -10, -10);
    postSalesReturn(QStringLiteral("XT24030810001"));
    ASSERT_NEAR(stock("G1", "kc_zcb"), 49, kEps);
    ASSERT_NEAR(goods("G1", "g_xspl"), 2, kEps);
    EXPECT_EQ(cancel(QStringLiteral("XT24030810001")), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_xssl"), 4, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 42, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 6, kEps);
    EXPECT_NEAR(goods("G1", "g_xspl"), 2, kEps);  // left as the return's posting set it
    EXPECT_NEAR(customerOwes(), 10, kEps);
    EXPECT_EQ(scalar(QStringLiteral("select th_qk from jxc_xsthd where gl_djh = 'XT24030810001'")), QStringLiteral("0"));
    EXPECT_EQ(lastLog(), QStringLiteral("取消审核商品退货单XT24030810001"));
}

TEST_F(UnauditSalesTest, ReturnStockTestAndQuestion)
{
    addSalesReturn(QStringLiteral("XT24030710001"), QStringLiteral("2024-03-07 09:00"), {{"G1", 5, 10, 7}}, -50, -50);
    postSalesReturn(QStringLiteral("XT24030710001"));
    RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = 3 where g_sn = 'G1'"));
    const auto before = everything();
    EXPECT_EQ(cancel(QStringLiteral("XT24030710001"), {.bulk = true}), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“G1”：不能出库！"));
    state.AllowNegativeStock = QStringLiteral("1");
    notices.script({Notices::Answer::No});
    EXPECT_EQ(cancel(QStringLiteral("XT24030710001"), {.bulk = true}), UnauditOutcome::Declined);
    EXPECT_EQ(notices.last(), QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“G1”：出库将会出现负库存，是否继续？"));
    EXPECT_TRUE(before == everything());
    EXPECT_EQ(cancel(QStringLiteral("XT24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(stock("G1", "kc_sl"), -2, kEps);
}

TEST_F(UnauditSalesTest, GoodsOutLinesAndRightsRefuse)
{
    sale();
    addRole(QStringLiteral("100003"), {{"xsgl", rights({16, 11})}});
    addOperator(QStringLiteral("zhao"), QStringLiteral("100003"));
    insert(QStringLiteral("jxc_xshhd"), {{"gl_djh", "XH24030710001"}, {"kh_sn", "100001"}, {"ck_sn", "100001"},
                                         {"ls_xsrq", "2024-03-07 11:00"}, {"ls_status", 1}, {"ls_checker", "admin"}});
    const auto before = everything();
    loginAs(QStringLiteral("zhao"), QStringLiteral("100003"));
    EXPECT_EQ(cancel(QStringLiteral("XS24030710001")), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("您没有取消审核商品销售单的权限！"));
    EXPECT_EQ(cancel(QStringLiteral("XH24030710001")), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("您没有取消审核商品换货单的权限！"));
    loginAs(QStringLiteral("admin"), QStringLiteral("100001"));
    insert(QStringLiteral("jxc_cksp"), {{"gl_djh", "CK24030810001"}, {"gl_djh2", "XS24030710001"}, {"g_sn", "G1"}});
    EXPECT_EQ(cancel(QStringLiteral("XS24030710001")), UnauditOutcome::Refused);
    EXPECT_EQ(notices.last(),
              QStringLiteral("该单据XS24030710001已有出库信息，不能取消审核！\r\n\r\n请在商品出库单中删除该单据的所有信息，\r\n\r\n然后再取消审核！"));
    RunSql(db(), QStringLiteral("delete from jxc_cksp"));
    EXPECT_TRUE(before == everything());
}

// A receipt registered against the sale goes with it, write-off included; a later entry of
// another number that names the sale stays, its balance recalculated.
TEST_F(UnauditSalesTest, ReceiptsAgainstTheSaleGoWithIt)
{
    sale();
    insert(QStringLiteral("jxc_ysyfk_dj"),
           {{"gl_djh", "SK24030810001"}, {"k_ghskh", "100001"}, {"u_sn", "100001"}, {"a_name", "admin"},
            {"k_fkfs", "工行帐号"}, {"k_sfje", 9.5}, {"k_mlje", 0.5}, {"k_yfje", 0.0}, {"k_yhje", 0.0},
            {"k_qcje", 0.0}, {"k_type", "kh"}, {"k_djlx", "SK"}, {"k_djtxt", "收款单"},
            {"k_note", "单据【XS24030710001】收款 "}, {"k_flag", 1}, {"k_rq", "2024-03-08 10:00"},
            {"gl_djh2", "XS24030710001"}, {"k_check", 0}});
    post(RunAuditReceipt(db(), state, clock, QStringLiteral("SK24030810001")));
    insert(QStringLiteral("jxc_xjyh"), {{"xj_rq", "2024-03-09 10:00"}, {"gl_djh", "QT24030910001"}, {"xj_je", 100.0},
                                        {"xj_ljje", 0.0}, {"xj_chk", "1"}, {"xj_kmmc", "工行帐号"},
                                        {"xj_note", "XS24030710001"}});
    RecalcCashBalances(db(), state, clock, QStringLiteral("工行帐号"), QStringLiteral("2024-03-09"));
    ASSERT_NEAR(customerOwes(), 0, kEps);

    EXPECT_EQ(cancel(QStringLiteral("XS24030710001"), {.bulk = true}), UnauditOutcome::Done);
    for (const char *table : {"jxc_ysyfk", "jxc_ysyfk_dj", "jxc_xjyh", "jxc_goodslist"})
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where gl_djh in ('XS24030710001', 'SK24030810001', "
                                       "'YS24030810001')")
                            .arg(QLatin1String(table))),
                  0)
            << table;
    EXPECT_NEAR(customerOwes(), 0, kEps);
    EXPECT_NEAR(num(QStringLiteral("select xj_ljje from jxc_xjyh where gl_djh = 'QT24030910001'")), 100, kEps);
}

TEST_F(UnauditSalesTest, SalesOrderProgress)
{
    state.UseSalesOrder = QStringLiteral("1");
    const qint64 order = insert(QStringLiteral("jxc_xssp"),
                                {{"gl_djh", "XD24030110001"}, {"g_sn", "G1"}, {"ls_sl", 5.0}, {"ls_cksl", 0.0}});
    RunSql(db(), QStringLiteral("update jxc_xssp set id2 = id, ls_dhbz = 0"));
    addSale(QStringLiteral("XS24030710001"), QStringLiteral("2024-03-07 10:00"),
            {{"G1", 5, 10, 7, 1, -1, {{"id3", order}}}}, 50, 50);
    postSale(QStringLiteral("XS24030710001"));
    const QString sql = QStringLiteral("select ls_cksl, ls_dhbz from jxc_xssp where id = ?");
    ASSERT_EQ(t(row(sql, {order}), "ls_dhbz"), QStringLiteral("1"));
    EXPECT_EQ(cancel(QStringLiteral("XS24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(n(row(sql, {order}), "ls_cksl"), 0, kEps);
    EXPECT_EQ(t(row(sql, {order}), "ls_dhbz"), QStringLiteral("0"));
}

// A POS sale: the member's figures go back and the bill goes; under keepAudited the re-posted
// sale keeps ls_dhbz 1 without a bill, and its later cancel changes no member figure.
TEST_F(UnauditSalesTest, PosSaleWithMember)
{
    state.AmountPerPoint = QStringLiteral("10");
    state.PointsRule = QStringLiteral("1");
    insert(QStringLiteral("jxc_hyxx"), {{"hy_sn", "M"}, {"hy_jf", 0.0}, {"hy_zjf", 0.0}, {"hy_zje", 0.0},
                                        {"hy_cs", 0}, {"hy_zhje", 100.0}, {"hy_sj", 1}, {"hl_sn", "100001"}});
    sale({{"ls_dhbz", 1}, {"hy_sn", "M"}});
    insert(QStringLiteral("jxc_posxsd"), {{"gl_djh", "XS24030710001"}, {"hy_sn", "M"}, {"pos_xsrq", "2024-03-07 10:00"},
                                          {"pos_yfje", 40.0}, {"pos_czk", 10.0}});
    insert(QStringLiteral("jxc_posxssp"), {{"gl_djh", "XS24030710001"}, {"g_sn", "G1"}, {"pos_sl", 4.0}, {"pos_zje", 40.0}});
    PostPosMember(db(), state, clock, QStringLiteral("XS24030710001"), QStringLiteral("M"), QStringLiteral("XS"));
    const QString memberSql = QStringLiteral("select hy_jf, hy_zje, hy_cs, hy_zhje from jxc_hyxx where hy_sn = 'M'");
    ASSERT_NEAR(n(row(memberSql), "hy_cs"), 1, kEps);

    EXPECT_EQ(cancel(QStringLiteral("XS24030710001"), {.bulk = true, .keepAudited = true}), UnauditOutcome::Done);
    QVariantMap m = row(memberSql);
    EXPECT_NEAR(n(m, "hy_jf"), 0, kEps);
    EXPECT_NEAR(n(m, "hy_zje"), 0, kEps);
    EXPECT_NEAR(n(m, "hy_cs"), 0, kEps);
    EXPECT_NEAR(n(m, "hy_zhje"), 100, kEps);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_posxsd where gl_djh = 'XS24030710001'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_posxssp where gl_djh = 'XS24030710001'")), 0);
    EXPECT_EQ(t(row(QStringLiteral("select ls_status, ls_dhbz from jxc_lsxsd where gl_djh = 'XS24030710001'")), "ls_dhbz"),
              QStringLiteral("1"));

    // Re-posted under the same number (as the change-of-date dialog does), then cancelled again.
    AuditSale(db(), state, clock, QStringLiteral("XS24030710001"));
    ASSERT_NEAR(goods("G1", "g_kc"), 6, kEps);
    EXPECT_EQ(cancel(QStringLiteral("XS24030710001"), {.bulk = true}), UnauditOutcome::Done);
    EXPECT_EQ(row(memberSql), m);
}

// An exchange exists only in data (no screen posts one): here what its posting wrote, three G1
// given and one taken back, the sale part, the receivable and the cash. Its cancel takes all of
// it back, and the header returns to pending even when the caller keeps documents audited.
TEST_F(UnauditSalesTest, ExchangeCancelTakesBackItsPostingAndAlwaysResetsTheHeader)
{
    const QString number = QStringLiteral("XH24030710001");
    const QString date = QStringLiteral("2024-03-07 11:00");
    for (const bool keepAudited : {false, true}) {
        SCOPED_TRACE(keepAudited ? "keepAudited" : "plain");
        Transaction scenario(db());
        insert(QStringLiteral("jxc_xshhd"), {{"gl_djh", number}, {"kh_sn", "100001"}, {"ck_sn", "100001"},
                                             {"ls_xsrq", date}, {"ls_status", 1}, {"ls_checker", "admin"},
                                             {"ls_chkrq", "2024-03-07"}});
        insert(QStringLiteral("jxc_lsxsd"), {{"gl_djh", number}, {"kh_sn", "100001"}, {"ls_xsrq", date}, {"ls_status", 1}});
        insert(QStringLiteral("jxc_lsxssp"), {{"gl_djh", number}, {"g_sn", "G1"}, {"ls_sl", 3.0}, {"ls_dj", 10.0}});
        for (const auto &[flag, qty, amount] : {std::tuple{"xs", 3.0, 30.0}, std::tuple{"xt", -1.0, -10.0}}) {
            const qint64 id = insert(QStringLiteral("jxc_goodslist"),
                                     {{"gl_flag", flag}, {"gl_djh", number}, {"gl_kdrq", date}, {"g_sn", "G1"},
                                      {"ck_sn", "100001"}, {"gl_sl", qty}, {"gl_dj", 10.0}, {"gl_je", amount},
                                      {"gl_zje", amount}});
            RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = kc_sl - ?, kc_zsl = kc_zsl - ?, "
                                        "kc_xssl = coalesce(kc_xssl, 0) + ? where g_sn = 'G1' and ck_sn = '100001'"),
                   {qty, qty, qty});
            RunSql(db(), QStringLiteral("update jxc_goods set g_kc = g_kc - ?, g_xspl = coalesce(g_xspl, 0) + 1 "
                                        "where g_sn = 'G1'"),
                   {qty});
            RecalcStockCost(db(), state, clock, QString::number(id), QStringLiteral("0"));
        }
        insert(QStringLiteral("jxc_ysyfk"), {{"gl_djh", number}, {"k_type", "kh"}, {"k_ghskh", "100001"},
                                             {"k_rq", date}, {"k_yfje", 20.0}, {"k_sfje", 10.0}});
        RecalcPartnerBalances(db(), state, clock, QStringLiteral("100001"), QStringLiteral("kh"), date);
        insert(QStringLiteral("jxc_xjyh"), {{"gl_djh", number}, {"xj_rq", date}, {"xj_je", 10.0}, {"xj_kmmc", "现金"},
                                            {"xj_chk", "1"}});
        RecalcCashBalances(db(), state, clock, QStringLiteral("现金"), date);
        ASSERT_NEAR(stock("G1", "kc_sl"), 8, kEps);
        ASSERT_NEAR(customerOwes(), 10, kEps);
        ASSERT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), QStringLiteral("10"));

        EXPECT_EQ(cancel(number, {.bulk = true, .keepAudited = keepAudited}), UnauditOutcome::Done);
        expectOnlyTheReceiptLeft();
        EXPECT_EQ(GetCashBalance(db(), state, clock, QStringLiteral("现金")), QStringLiteral("0"));
        for (const char *table : {"jxc_goodslist", "jxc_lsxsd", "jxc_lsxssp", "jxc_ysyfk", "jxc_xjyh"})
            EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where gl_djh = ?").arg(QLatin1String(table)), {number}), 0)
                << table;
        const QVariantMap h = row(QStringLiteral("select ls_status, ls_checker, ls_chkrq from jxc_xshhd where gl_djh = ?"),
                                  {number});
        EXPECT_EQ(t(h, "ls_status"), QStringLiteral("0"));
        EXPECT_EQ(t(h, "ls_checker"), QString());
        EXPECT_EQ(t(h, "ls_chkrq"), QString());
        EXPECT_EQ(lastLog(), QStringLiteral("取消审核商品换货单") + number);
    }
}

// Two workstations cancel the same sale at once: one does it, the other is refused, and stock is
// restored once.
TEST_F(UnauditSalesTest, TwoCancelsAtOnce)
{
    sale();
    const ConnectionSettings settings = TestConnectionSettings();
    const QString file = testDb().fileName();
    std::mutex setup;
    std::atomic<int> ready{0};
    std::atomic<int> done{0}, refused{0}, other{0};
    auto work = [&](int station) {
        const QString name = QStringLiteral("h8_station_%1").arg(station);
        {
            QSqlDatabase c;
            {
                std::lock_guard<std::mutex> guard(setup);
                c = OpenConnection(settings, file, name);
                Transaction warm(c);
                warm.commit();
            }
            ++ready;
            while (ready.load() < 2)
                std::this_thread::yield();
            ScriptedNotices quiet;
            const UnauditOutcome o = UnauditSale(c, state, clock, quiet, QStringLiteral("XS24030710001"), {.bulk = true});
            if (o == UnauditOutcome::Done)
                ++done;
            else if (o == UnauditOutcome::Refused
                     && quiet.last() == QStringLiteral("单据XS24030710001未审核，不能取消审核！"))
                ++refused;
            else
                ++other;
        }
        CloseConnection(name);
    };
    std::thread a(work, 0), b(work, 1);
    a.join();
    b.join();
    EXPECT_EQ(done.load(), 1);
    EXPECT_EQ(refused.load(), 1);
    EXPECT_EQ(other.load(), 0);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 10, kEps);
    EXPECT_NEAR(goods("G1", "g_xspl"), 0, kEps);
}

} // namespace
