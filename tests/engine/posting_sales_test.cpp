// Sales and sales returns through their audit entries: cash, receivable, invoice, freight,
// profit, goods ledger, stock and counters, sales orders, the stock check on the way and the
// settlement of a difference.

#include "posting_fixture.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/postsales.h"

namespace {

class SalesPostingTest : public PostingTest
{
protected:
    void SetUp() override
    {
        PostingTest::SetUp();
        // The two receipts of G1: 10 at 5 and 10 at 7, so 20 at 6 on hand.
        addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
        addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 7.0}}, 70, 0);
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030510001").audited());
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030610001").audited());
    }

    void auditOk(const QString &number)
    {
        const AuditResult r = RunAuditSale(db(), state, clock, number);
        ASSERT_TRUE(r.audited()) << r.text.toStdString();
    }

    void sale()
    {
        addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 4, 10.0, 6.0}}, 40, 30);
        auditOk("XS24030610001");
    }
};

TEST_F(SalesPostingTest, SalePostsCashReceivableProfitLedgerAndStock)
{
    sale();
    const QVariantMap cash = row("select * from jxc_xjyh where gl_djh = 'XS24030610001'");
    EXPECT_EQ(t(cash, "xj_dlx"), "商品销售");
    EXPECT_NEAR(n(cash, "xj_je"), 30, kEps);
    EXPECT_EQ(t(cash, "ghs_sn"), "100001");
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'XS24030610001'");
    EXPECT_EQ(t(k, "k_type"), "kh");
    EXPECT_EQ(t(k, "k_djtxt"), "商品销售单");
    EXPECT_NEAR(n(k, "k_yfje"), 40, kEps);
    EXPECT_NEAR(n(k, "k_sfje"), 30, kEps);
    EXPECT_NEAR(n(k, "k_ljje"), 10, kEps);
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 10, kEps);

    const QVariantMap h = row("select * from jxc_lsxsd where gl_djh = 'XS24030610001'");
    EXPECT_NEAR(n(h, "ls_lr"), 16, kEps);
    EXPECT_NEAR(n(h, "ls_yhje"), 0, kEps);
    EXPECT_EQ(t(h, "ls_status"), "1");
    EXPECT_EQ(t(h, "ls_checker"), "admin");
    EXPECT_EQ(t(h, "ls_chkrq"), "2024-03-08");

    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'XS24030610001'");
    EXPECT_EQ(t(gl, "gl_flag"), "xs");
    EXPECT_NEAR(n(gl, "gl_dj"), 10, kEps);
    EXPECT_NEAR(n(gl, "gl_cbj"), 6, kEps);
    EXPECT_NEAR(n(gl, "gl_zcb"), 24, kEps);
    EXPECT_NEAR(n(gl, "gl_lr"), 16, kEps);
    EXPECT_NEAR(n(gl, "gl_sqsl"), 20, kEps);
    EXPECT_NEAR(n(gl, "gl_sqje"), 120, kEps);
    EXPECT_NEAR(n(gl, "gl_kc"), 16, kEps);
    EXPECT_NEAR(n(gl, "gl_pjjj"), 6, kEps);
    EXPECT_NEAR(n(gl, "gl_kczje"), 96, kEps);
    EXPECT_EQ(t(gl, "ghs_name"), "普通客户");
    EXPECT_EQ(t(gl, "id2"), scalar("select id from jxc_lsxssp where gl_djh = 'XS24030610001'"));

    EXPECT_NEAR(stock("G1", "kc_sl"), 16, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 16, kEps);
    EXPECT_NEAR(stock("G1", "kc_xssl"), 4, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 96, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 16, kEps);
    EXPECT_NEAR(goods("G1", "g_xspl"), 1, kEps);
    EXPECT_NEAR(num("select u_xspl from jxc_user where u_sn = '100001'"), 1, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核销售单XS24030610001，共1种商品'"), 1);
}

TEST_F(SalesPostingTest, ReturnPaysBackAndRaisesStock)
{
    sale();
    addSalesReturn("XT24030710001", "2024-03-07 09:00", {{"G1", 1, 10.0, 6.0}}, -10, -10);
    const AuditResult r = RunAuditSalesReturn(db(), state, clock, "XT24030710001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();

    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'XT24030710001' and xj_dlx = '顾客退货'"), -10, kEps);
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'XT24030710001'");
    EXPECT_NEAR(n(k, "k_yfje"), -10, kEps);
    EXPECT_NEAR(n(k, "k_sfje"), -10, kEps);
    EXPECT_EQ(t(k, "k_djlx"), "XT");
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 10, kEps);
    EXPECT_NEAR(num("select th_lr from jxc_xsthd where gl_djh = 'XT24030710001'"), -4, kEps);

    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'XT24030710001'");
    EXPECT_EQ(t(gl, "gl_flag"), "xt");
    EXPECT_NEAR(n(gl, "gl_sl"), -1, kEps);
    EXPECT_NEAR(n(gl, "gl_je"), -10, kEps);
    EXPECT_NEAR(n(gl, "gl_zcb"), -6, kEps);
    EXPECT_NEAR(n(gl, "gl_lr"), -4, kEps);
    EXPECT_NEAR(n(gl, "gl_sysl"), 1, kEps);
    EXPECT_NEAR(n(gl, "gl_kc"), 17, kEps);
    EXPECT_NEAR(n(gl, "gl_pjjj"), 6, kEps);
    EXPECT_NEAR(n(gl, "gl_kczje"), 102, kEps);
    EXPECT_TRUE(t(gl, "id2").isEmpty());

    EXPECT_NEAR(stock("G1", "kc_sl"), 17, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 17, kEps);
    EXPECT_NEAR(stock("G1", "kc_xssl"), 3, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 17, kEps);
    EXPECT_NEAR(goods("G1", "g_xspl"), 2, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核销售退货单XT24030710001，共1种商品'"), 1);
    EXPECT_EQ(scalar("select th_status from jxc_xsthd where gl_djh = 'XT24030710001'"), "1");
}

TEST_F(SalesPostingTest, UnshippedLineAndGoodsWithoutStockRow)
{
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 4, 10.0, 6.0, 1, 0}, {"G2", 2, 5.0, 3.0}}, 50, 50);
    auditOk("XS24030610001");
    // Not shipped yet: the book and sold quantities move, the quantity on hand does not.
    EXPECT_NEAR(stock("G1", "kc_zsl"), 16, kEps);
    EXPECT_NEAR(stock("G1", "kc_xssl"), 4, kEps);
    EXPECT_NEAR(stock("G1", "kc_sl"), 20, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 20, kEps);
    // G2 had no stock row: created negative, then walked (no earlier row, average 0).
    EXPECT_NEAR(stock("G2", "kc_sl"), -2, kEps);
    EXPECT_NEAR(stock("G2", "kc_zsl"), -2, kEps);
    EXPECT_NEAR(stock("G2", "kc_xssl"), 2, kEps);
    EXPECT_NEAR(stock("G2", "kc_cbj"), 5, kEps);
    EXPECT_NEAR(stock("G2", "kc_zcb"), -10, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核销售单XS24030610001，共2种商品'"), 1);
}

TEST_F(SalesPostingTest, LongGoodsNameIsCutToItsColumn)
{
    const QString name(128, QChar(0x957f));  // 128 × "长"
    RunSql(db(), "update jxc_goods set g_name = ? where g_sn = 'G1'", {name});
    addSale("XS24030610001", "2024-03-06 15:00",
            {{"G1", 1, 10.0, 6.0, 1, -1, {{"g_tmbz", "(条码)"}, {"t_zp", "赠品"}}}}, 10, 10);
    auditOk("XS24030610001");
    EXPECT_EQ(scalar("select g_name from jxc_goodslist where gl_djh = 'XS24030610001'"), name);
}

TEST_F(SalesPostingTest, AdjustSpreadsOverOrdinaryLines)
{
    state.SettleDiffMode = "0";
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 1, 40, 0}, {"G1", 1, 30, 0}, {"G1", 1, 30, 0}}, 100, 80);
    ApplySalesAdjust(db(), state, clock, "XS24030610001", 80, 100);
    addSale("XS24030610002", "2024-03-06 15:00",
            {{"G1", 1, 40, 0}, {"G1", 1, 30, 0}, {"G1", 1, 30, 0}, {"G1", 1, 10, 0, 1, -1, {{"t_zp", QVariant()}}}},
            110, 90);
    ApplySalesAdjust(db(), state, clock, "XS24030610002", 90, 110);

    const struct { const char *number; std::vector<double> lines; double header; } cases[] = {
        {"XS24030610001", {33.33, 23.33, 23.33}, 79.99},
        // A NULL gift tag is no ordinary line: it keeps its 10.
        {"XS24030610002", {33.33, 23.33, 23.33, 10}, 89.99},
    };
    for (const auto &c : cases) {
        QSqlQuery q = OpenSelect(db(), "select ls_zje, ls_dj, ls_je from jxc_lsxssp where gl_djh = ? order by id",
                                 {c.number});
        for (double expected : c.lines) {
            ASSERT_TRUE(q.next());
            EXPECT_NEAR(TextToNumber(ValueText(q.value(0))), expected, kEps) << c.number;
            EXPECT_NEAR(TextToNumber(ValueText(q.value(1))), expected, kEps) << c.number;
            EXPECT_NEAR(TextToNumber(ValueText(q.value(2))), expected, kEps) << c.number;
        }
        EXPECT_NEAR(num("select ls_yfje from jxc_lsxsd where gl_djh = ?", {c.number}), c.header, kEps);
        EXPECT_NEAR(num("select ls_sfje from jxc_lsxsd where gl_djh = ?", {c.number}), c.header, kEps);
    }
}

TEST_F(SalesPostingTest, AdjustLineSettledByPaymentPostsAsProfitOrLoss)
{
    state.SettleDiffMode = "1";
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 10, 10.0, 6.0}}, 100, 80, {{"ls_jsfs", 0}});
    ApplySalesAdjust(db(), state, clock, "XS24030610001", 80, 100);
    const QVariantMap line = row("select * from jxc_lsxssp where g_sn = '00000000'");
    EXPECT_NEAR(n(line, "ls_zje"), -20, kEps);
    EXPECT_EQ(t(line, "ghs_sn"), "100001");
    EXPECT_NEAR(num("select ls_yfje from jxc_lsxsd"), 100, kEps);
    EXPECT_NEAR(num("select ls_sfje from jxc_lsxsd"), 80, kEps);
    const double reservedBefore = stock("00000000", "kc_zsl");

    auditOk("XS24030610001");
    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'XS24030610001'"), 80, kEps);
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'XS24030610001'");
    EXPECT_NEAR(n(k, "k_yfje"), 80, kEps);
    EXPECT_NEAR(n(k, "k_sfje"), 80, kEps);
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 0, kEps);
    EXPECT_NEAR(num("select ls_yhje from jxc_lsxsd"), 20, kEps);
    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'XS24030610001' and g_sn = '00000000'");
    EXPECT_NEAR(n(gl, "gl_je"), -20, kEps);
    EXPECT_NEAR(n(gl, "gl_lr"), -20, kEps);
    EXPECT_NEAR(stock("00000000", "kc_zsl"), reservedBefore, kEps);
}

TEST_F(SalesPostingTest, CreditLeftOnTheAccountIsNoDiscount)
{
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 10, 10.0, 6.0}}, 100, 30);
    auditOk("XS24030610001");
    EXPECT_NEAR(num("select ls_yhje from jxc_lsxsd"), 0, kEps);
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 70, kEps);
}

TEST_F(SalesPostingTest, FreightOrdersAndInvoice)
{
    state.UseSalesOrder = "1";
    state.UseInvoice = "1";
    const qint64 order = insert("jxc_xssp", {{"gl_djh", "XD24030110001"}, {"g_sn", "G1"}, {"ls_sl", 5.0},
                                             {"ls_cksl", 0.0}, {"ls_dhbz", 0}});
    RunSql(db(), "update jxc_xssp set id2 = id");
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 5, 10.0, 6.0, 1, -1, {{"id3", order}}}}, 50, 50,
            {{"ls_yffs", "我方付运费"}, {"ls_yf", 10.0}, {"ls_kmmc", "工行帐号"}});
    auditOk("XS24030610001");

    const QVariantMap fy = row("select * from jxc_yyfy where gl_djh = 'XS24030610001'");
    EXPECT_EQ(t(fy, "fy_lx"), "运费");
    EXPECT_NEAR(n(fy, "fy_je"), -10, kEps);
    EXPECT_EQ(t(fy, "fy_note"), "销售单XS24030610001产生的运费");
    EXPECT_EQ(t(fy, "fy_kmmc"), "工行帐号");
    const QVariantMap cash = row("select * from jxc_xjyh where xj_dlx = '费用付款'");
    EXPECT_NEAR(n(cash, "xj_je"), -10, kEps);
    EXPECT_EQ(t(cash, "xj_note"), "销售单XS24030610001产生的运费");
    EXPECT_EQ(t(cash, "ghs_sn"), "100001");
    EXPECT_EQ(t(cash, "xj_kmmc"), "工行帐号");
    EXPECT_EQ(t(cash, "gl_djh"), "XS24030610001");

    EXPECT_NEAR(num("select ls_cksl from jxc_xssp where id = ?", {order}), 5, kEps);
    EXPECT_NEAR(num("select ls_dhbz from jxc_xssp where id = ?", {order}), 1, kEps);

    EXPECT_EQ(scalar("select fp_chkrq from jxc_fpdjb where gl_djh = 'XS24030610001'"), "2024-03-06");
}

TEST_F(SalesPostingTest, StockCheckRefusesOrAsksAndConfirmedPosts)
{
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 20, 10.0, 6.0}}, 200, 200);
    {
        state.AllowNegativeStock = "0";
        RunSql(db(), "update jxc_kcsp set kc_sl = 16 where g_sn = 'G1'");
        const auto before = snapshot();
        const AuditResult r = RunAuditSale(db(), state, clock, "XS24030610001", true);
        EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
        EXPECT_EQ(r.text, "该单据中至少一种商品库存不足，\r\n\r\n“G1”：不能销售！");
        EXPECT_EQ(snapshot(), before);
    }
    state.AllowNegativeStock = "1";
    const AuditResult ask = RunAuditSale(db(), state, clock, "XS24030610001");
    EXPECT_EQ(ask.kind, AuditResult::Kind::Question);
    EXPECT_EQ(ask.text, "该单据中至少一种商品库存不足，\r\n\r\n“G1”：销售将会出现负库存，是否继续？");
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd"), "0");
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'XS24030610001'"), 0);

    const AuditResult done = RunAuditSale(db(), state, clock, "XS24030610001", true);
    ASSERT_TRUE(done.audited()) << done.text.toStdString();
    EXPECT_NEAR(stock("G1", "kc_sl"), -4, kEps);
}

TEST_F(SalesPostingTest, MissingCustomerIsRefused)
{
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 1, 10.0, 6.0}}, 10, 10, {{"kh_sn", "999999"}});
    const auto before = snapshot();
    const AuditResult r = RunAuditSale(db(), state, clock, "XS24030610001");
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, "单据XS24030610001的经手人、客户或仓库资料不存在，不能审核！");
    EXPECT_EQ(snapshot(), before);
    const AuditResult again = RunAuditSale(db(), state, clock, "XS24030610001");
    EXPECT_EQ(again.text, r.text);
}

} // namespace
