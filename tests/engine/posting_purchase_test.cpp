// Purchase receipts and returns through their audit entries: cash, payable, invoice, freight,
// goods ledger, stock, goods totals, order progress, the settlement of a difference and the
// duplicate-number repair on the way.

#include "posting_fixture.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/postpurchase.h"

namespace {

class PurchasePostingTest : public PostingTest
{
protected:
    void auditOk(const QString &number)
    {
        const AuditResult r = RunAuditPurchaseIn(db(), state, clock, number);
        ASSERT_TRUE(r.audited()) << r.text.toStdString();
        ASSERT_EQ(r.number, number);
    }

    // Purchase check 1: two receipts of G1, the first paid in cash, the second on credit.
    void twoReceipts()
    {
        addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
        addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 7.0}}, 70, 0);
        auditOk("CJ24030510001");
        auditOk("CJ24030610001");
    }
};

TEST_F(PurchasePostingTest, ReceiptsPostCashPayableLedgerStockAndGoods)
{
    twoReceipts();
    EXPECT_NEAR(stock("G1", "kc_sl"), 20, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 20, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 120, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 20, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 6, kEps);
    EXPECT_NEAR(goods("G1", "g_scjj"), 7, kEps);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 2, kEps);
    EXPECT_EQ(scalar("select ghs_sn from jxc_goods where g_sn = 'G1'"), "100001");

    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'CJ24030610001'");
    const QString lineId = scalar("select id from jxc_jhsp where gl_djh = 'CJ24030610001'");
    EXPECT_EQ(t(gl, "gl_flag"), "cj");
    EXPECT_NEAR(n(gl, "gl_sqsl"), 10, kEps);
    EXPECT_NEAR(n(gl, "gl_sqje"), 50, kEps);
    EXPECT_NEAR(n(gl, "gl_kc"), 20, kEps);
    EXPECT_NEAR(n(gl, "gl_pjjj"), 6, kEps);
    EXPECT_NEAR(n(gl, "gl_kczje"), 120, kEps);
    EXPECT_EQ(t(gl, "gl_checker"), "admin");
    EXPECT_EQ(t(gl, "gl_chkrq"), "2024-03-08");
    EXPECT_EQ(t(gl, "id2"), lineId);
    EXPECT_EQ(t(gl, "idck"), lineId);
    EXPECT_EQ(t(gl, "ghs_name"), "普通供货商");
    EXPECT_EQ(t(gl, "g_name"), "商品一");

    for (const char *number : {"CJ24030510001", "CJ24030610001"}) {
        const QVariantMap h = row("select * from jxc_jhd where gl_djh = ?", {number});
        EXPECT_EQ(t(h, "j_status"), "1");
        EXPECT_EQ(t(h, "j_checker"), "admin");
        EXPECT_EQ(t(h, "j_chkrq"), "2024-03-08");
        EXPECT_NEAR(n(h, "j_yhje"), 0, kEps);
    }

    const QVariantMap k1 = row("select * from jxc_ysyfk where gl_djh = 'CJ24030510001'");
    const QVariantMap k2 = row("select * from jxc_ysyfk where gl_djh = 'CJ24030610001'");
    EXPECT_EQ(t(k1, "k_type"), "ghs");
    EXPECT_EQ(t(k1, "k_djlx"), "CJ");
    EXPECT_EQ(t(k1, "k_djtxt"), "采购进货单");
    EXPECT_NEAR(n(k1, "k_yfje"), 50, kEps);
    EXPECT_NEAR(n(k1, "k_sfje"), 50, kEps);
    EXPECT_NEAR(n(k1, "k_ljje"), 0, kEps);
    EXPECT_NEAR(n(k2, "k_yfje"), 70, kEps);
    EXPECT_NEAR(n(k2, "k_sfje"), 0, kEps);
    EXPECT_NEAR(n(k2, "k_ljje"), 70, kEps);
    EXPECT_NEAR(num("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), 70, kEps);

    // Cash rows, the unpaid one included.
    EXPECT_EQ(count("select count(*) from jxc_xjyh where xj_dlx = '采购进货'"), 2);
    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'CJ24030510001'"), -50, kEps);
    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'CJ24030610001'"), 0, kEps);
    EXPECT_EQ(GetCashBalance(db(), state, clock, "现金"), "-50");

    EXPECT_NEAR(num("select u_cgpl from jxc_user where u_sn = '100001'"), 2, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核采购进货单CJ24030510001，共1种商品'"), 1);
    // The reserved goods' zero stock row exists after a posting.
    EXPECT_EQ(count("select count(*) from jxc_kcsp where g_sn = '00000000' and ck_sn = '100001'"), 1);
}

// The goods of a receipt are posted together, a goods on two lines one line after the other:
// one new stock row holding both lines, the second line walked after the first, the counters
// and the latest price of the goods as after two single lines.
TEST_F(PurchasePostingTest, GoodsOnTwoLinesOfOneReceiptPostLineAfterLine)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}, {"G2", 4, 2.5}, {"G1", 10, 7.0}}, 0, 0);
    auditOk("CJ24030510001");
    EXPECT_EQ(count("select count(*) from jxc_kcsp where g_sn = 'G1' and ck_sn = '100001'"), 1);
    EXPECT_NEAR(stock("G1", "kc_sl"), 20, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 20, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 6, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 120, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 20, kEps);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 2, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 6, kEps);
    EXPECT_NEAR(goods("G1", "g_scjj"), 7, kEps);
    EXPECT_NEAR(stock("G2", "kc_sl"), 4, kEps);
    EXPECT_NEAR(stock("G2", "kc_cbj"), 2.5, kEps);
    EXPECT_NEAR(goods("G2", "g_cgpl"), 1, kEps);
    EXPECT_NEAR(goods("G2", "g_pjjj"), 2.5, kEps);
    const QVariantMap second =
        row("select * from jxc_goodslist where gl_djh = 'CJ24030510001' and g_sn = 'G1' order by id desc limit 1");
    EXPECT_NEAR(n(second, "gl_sqsl"), 10, kEps);
    EXPECT_NEAR(n(second, "gl_sqje"), 50, kEps);
    EXPECT_NEAR(n(second, "gl_kc"), 20, kEps);
    EXPECT_NEAR(n(second, "gl_kczje"), 120, kEps);
}

TEST_F(PurchasePostingTest, ReturnLowersStockKeepsLatestPriceAndRefundsCash)
{
    twoReceipts();
    addPurchaseReturn("CT24030710001", "2024-03-07 10:00", {{"G1", 2, 8.0}}, -16, -16);
    const AuditResult r = RunAuditPurchaseReturn(db(), state, clock, "CT24030710001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();

    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'CT24030710001'");
    EXPECT_EQ(t(gl, "gl_flag"), "ct");
    EXPECT_NEAR(n(gl, "gl_sl"), -2, kEps);
    EXPECT_NEAR(n(gl, "gl_je"), -16, kEps);
    EXPECT_NEAR(n(gl, "gl_sysl"), -2, kEps);
    EXPECT_NEAR(n(gl, "gl_kc"), 18, kEps);
    EXPECT_NEAR(n(gl, "gl_pjjj"), 52.0 / 9, kEps);
    EXPECT_NEAR(n(gl, "gl_kczje"), 104, kEps);
    EXPECT_NEAR(stock("G1", "kc_sl"), 18, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 52.0 / 9, kEps);
    EXPECT_NEAR(stock("G1", "kc_zcb"), 104, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 18, kEps);
    EXPECT_NEAR(goods("G1", "g_cgpl"), 1, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 5.78, kEps);
    EXPECT_NEAR(goods("G1", "g_scjj"), 7, kEps);
    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'CT24030710001' and xj_dlx = '采购退货'"), 16, kEps);
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'CT24030710001'");
    EXPECT_NEAR(n(k, "k_yfje"), -16, kEps);
    EXPECT_NEAR(n(k, "k_sfje"), -16, kEps);
    EXPECT_EQ(t(k, "k_djlx"), "CT");
    EXPECT_NEAR(num("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), 70, kEps);
    EXPECT_NEAR(num("select u_cgpl from jxc_user where u_sn = '100001'"), 3, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '增加采购退货单CT24030710001，共1种商品'"), 1);
    EXPECT_EQ(scalar("select th_status from jxc_thd where gl_djh = 'CT24030710001'"), "1");
}

TEST_F(PurchasePostingTest, SettledByPaymentOwesWhatWasPaidAndBooksTheDiscount)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 10.0}}, 100, 80, {{"j_jsfs", 0}});
    auditOk("CJ24030510001");
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'CJ24030510001'");
    EXPECT_NEAR(n(k, "k_yfje"), 80, kEps);
    EXPECT_NEAR(n(k, "k_sfje"), 80, kEps);
    EXPECT_NEAR(n(k, "k_ljje"), 0, kEps);
    EXPECT_NEAR(num("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), 0, kEps);
    EXPECT_NEAR(num("select j_yhje from jxc_jhd where gl_djh = 'CJ24030510001'"), 20, kEps);
}

TEST_F(PurchasePostingTest, FreightWePayLeavesTheDocumentsAccount)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 10.0}}, 100, 30,
               {{"j_yffs", "我方付运费"}, {"j_yf", 10.0}, {"j_bzf", 5.0}, {"j_kmmc", "工行帐号"}});
    addReceipt("CJ24030510002", "2024-03-05 11:00", {{"G1", 1, 10.0}}, 10, 0,
               {{"j_yffs", "对方付运费"}, {"j_yf", 10.0}, {"j_kmmc", "工行帐号"}});
    auditOk("CJ24030510001");
    auditOk("CJ24030510002");

    const QVariantMap fy = row("select * from jxc_yyfy where fy_lx = '运费'");
    EXPECT_NEAR(n(fy, "fy_je"), -10, kEps);
    EXPECT_EQ(t(fy, "fy_kmmc"), "工行帐号");
    EXPECT_EQ(t(fy, "fy_note"), "采购单CJ24030510001产生的运费");
    EXPECT_EQ(t(fy, "fy_sc"), "费用");
    EXPECT_EQ(t(fy, "fy_flag"), "1");
    EXPECT_EQ(t(fy, "de_sn"), "100001");
    EXPECT_EQ(t(fy, "gl_djh"), "CJ24030510001");
    const QVariantMap bz = row("select * from jxc_yyfy where fy_lx = '包装费'");
    EXPECT_NEAR(n(bz, "fy_je"), -5, kEps);
    EXPECT_EQ(t(bz, "fy_note"), "采购单CJ24030510001产生的包装费");
    EXPECT_EQ(t(bz, "fy_kmmc"), "工行帐号");
    EXPECT_EQ(count("select count(*) from jxc_yyfy"), 2);  // none for the customer-paid freight

    EXPECT_NEAR(num("select sum(xj_je) from jxc_xjyh where xj_dlx = '费用付款' and xj_kmmc = '工行帐号'"), -15, kEps);
    EXPECT_EQ(count("select count(*) from jxc_xjyh where xj_dlx = '费用付款' "
                    "and xj_note = '采购单CJ24030510001产生的运费'"), 1);
    EXPECT_EQ(GetCashBalance(db(), state, clock, "工行帐号"), "-45");
}

TEST_F(PurchasePostingTest, UnitFactorAndSeparateStockIn)
{
    // 2 boxes of 12 at 60 a box; goods not yet on hand (jh_rksl 0).
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 2, 60.0, 12, 0}}, 120, 120);
    auditOk("CJ24030510001");
    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'CJ24030510001'");
    EXPECT_NEAR(n(gl, "gl_dj"), 5, kEps);
    EXPECT_NEAR(n(gl, "gl_sl"), 24, kEps);
    EXPECT_NEAR(n(gl, "gl_sysl"), 2, kEps);
    EXPECT_NEAR(stock("G1", "kc_zsl"), 24, kEps);
    EXPECT_NEAR(stock("G1", "kc_sl"), 0, kEps);
    EXPECT_NEAR(stock("G1", "kc_cbj"), 5, kEps);
    EXPECT_NEAR(goods("G1", "g_kc"), 0, kEps);
    EXPECT_NEAR(goods("G1", "g_scjj"), 5, kEps);
}

TEST_F(PurchasePostingTest, GoodsAverageWeighsWarehousesByBookQuantity)
{
    insert("jxc_ckxx", {{"ck_sn", "100002"}, {"ck_name", "二号仓"}, {"ck_default", 0}});
    // G1: 20 at 6 in the main warehouse, then 10 at 9 into the second one.
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 20, 6.0}}, 120, 120);
    addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 9.0}}, 90, 90, {{"ck_sn", "100002"}});
    auditOk("CJ24030510001");
    auditOk("CJ24030610001");
    EXPECT_EQ(count("select count(*) from jxc_kcsp where g_sn = 'G1'"), 2);
    EXPECT_NEAR(stock("G1", "kc_cbj", "100002"), 9, kEps);
    EXPECT_NEAR(goods("G1", "g_pjjj"), 7, kEps);

    // G2 with a book quantity of −5: the stock rows sum to 0, the line's price counts.
    insert("jxc_kcsp", {{"g_sn", "G2"}, {"ck_sn", "100001"}, {"kc_sl", -5.0}, {"kc_zsl", -5.0},
                        {"kc_cbj", 3.0}, {"kc_xssl", 0.0}});
    addReceipt("CJ24030710001", "2024-03-07 10:00", {{"G2", 5, 4.0}}, 20, 20);
    auditOk("CJ24030710001");
    EXPECT_NEAR(goods("G2", "g_pjjj"), 4, kEps);
    EXPECT_NEAR(stock("G2", "kc_sl"), 0, kEps);
}

TEST_F(PurchasePostingTest, ReservedGoodsLineGetsALedgerRowButNoStock)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00",
               {{"G1", 1, 5.0}, {"G1", 2, 5.0}, {"00000000", 0, 0.0, 1, 0, {{"jh_zje", -1.0}, {"jh_je", -1.0}}}},
               14, 14);
    const double reservedBefore = stock("00000000", "kc_sl");
    auditOk("CJ24030510001");
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'CJ24030510001' and gl_flag = 'cj'"), 3);
    EXPECT_NEAR(stock("G1", "kc_sl"), 3, kEps);
    EXPECT_NEAR(stock("00000000", "kc_sl"), reservedBefore, kEps);
    EXPECT_NEAR(goods("00000000", "g_cgpl"), 0, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核采购进货单CJ24030510001，共2种商品'"), 1);
}

TEST_F(PurchasePostingTest, OrderProgressWhenOrdersAreOn)
{
    state.UsePurchaseOrder = "1";
    // An audited order line of 10 (id2 = its id); receipts fulfilling it.
    const qint64 order = insert("jxc_cgsp", {{"gl_djh", "CD24030110001"}, {"g_sn", "G1"}, {"jh_sl", 10.0},
                                             {"jh_rksl", 0.0}, {"jh_qxsl", 0.0}});
    RunSql(db(), "update jxc_cgsp set id2 = id");
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 4, 5.0, 1, -1, {{"id3", order}}}}, 20, 20);
    auditOk("CJ24030510001");
    EXPECT_NEAR(num("select jh_rksl from jxc_cgsp where id = ?", {order}), 4, kEps);
    EXPECT_NEAR(num("select jh_qxsl from jxc_cgsp where id = ?", {order}), 0, kEps);
    addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 6, 5.0, 1, -1, {{"id3", order}}}}, 30, 30);
    auditOk("CJ24030610001");
    EXPECT_NEAR(num("select jh_rksl from jxc_cgsp where id = ?", {order}), 10, kEps);
    EXPECT_NEAR(num("select jh_qxsl from jxc_cgsp where id = ?", {order}), 1, kEps);
}

TEST_F(PurchasePostingTest, InvoiceRowWhenInvoicingIsOn)
{
    state.UseInvoice = "1";
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 10.0}}, 100, 0,
               {{"j_fpje", 60.0}, {"j_fpno", "F001"}});
    auditOk("CJ24030510001");
    const QVariantMap fp = row("select * from jxc_fpdjb where gl_djh = 'CJ24030510001'");
    EXPECT_NEAR(n(fp, "fp_yfje"), 100, kEps);
    EXPECT_NEAR(n(fp, "fp_kpje"), 60, kEps);
    EXPECT_NEAR(n(fp, "fp_ljje"), 40, kEps);
    EXPECT_EQ(t(fp, "fp_check"), "1");
    EXPECT_EQ(t(fp, "fp_no"), "F001");
    EXPECT_EQ(t(fp, "fp_chkrq"), "2024-03-05 10:00");
    EXPECT_EQ(t(fp, "fp_djlx"), "CJ");
}

TEST_F(PurchasePostingTest, AdjustOnOneReservedLine)
{
    state.SettleDiffMode = "1";
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 10.0}}, 100, 95);
    ApplyPurchaseAdjust(db(), state, clock, "CJ24030510001", 95, 100);
    ApplyPurchaseAdjust(db(), state, clock, "CJ24030510001", 97, 100);
    EXPECT_EQ(count("select count(*) from jxc_jhsp where gl_djh = 'CJ24030510001' and g_sn = '00000000'"), 1);
    const QVariantMap l = row("select * from jxc_jhsp where g_sn = '00000000'");
    EXPECT_NEAR(n(l, "jh_zje"), -3, kEps);
    EXPECT_NEAR(n(l, "jh_je"), -3, kEps);
    EXPECT_NEAR(num("select j_yfje from jxc_jhd"), 100, kEps);
    EXPECT_NEAR(num("select j_sfje from jxc_jhd"), 95, kEps);
}

TEST_F(PurchasePostingTest, AdjustSpreadsOverLinesAndAlwaysEnds)
{
    state.SettleDiffMode = "0";
    struct Case
    {
        std::vector<double> lines;
        double due, paid;
        std::vector<double> after;
        double header;
    };
    const Case cases[] = {
        {{60, 40}, 100, 90, {55, 35}, 90},
        // The share rounds to 0: the rest comes off the largest line and the loop ends.
        {{40.01, 30, 30}, 100.01, 100, {40.00, 30, 30}, 100},
        // Paid above due: lines stay, the header takes the due amount.
        {{60, 40}, 100, 110, {60, 40}, 100},
    };
    int k = 0;
    for (const Case &c : cases) {
        const QString number = QStringLiteral("CJ2403051%1").arg(1000 + ++k);
        std::vector<PLine> lines;
        for (double total : c.lines)
            lines.push_back({"G1", 1, total});
        addReceipt(number, "2024-03-05 10:00", lines, c.due, c.paid);
        ApplyPurchaseAdjust(db(), state, clock, number, c.paid, c.due);
        QSqlQuery q = OpenSelect(db(), "select jh_zje, jh_dj, jh_je from jxc_jhsp where gl_djh = ? order by id",
                                 {number});
        for (double expected : c.after) {
            ASSERT_TRUE(q.next());
            EXPECT_NEAR(TextToNumber(ValueText(q.value(0))), expected, kEps) << number.toStdString();
            EXPECT_NEAR(TextToNumber(ValueText(q.value(1))), expected, kEps) << number.toStdString();
            EXPECT_NEAR(TextToNumber(ValueText(q.value(2))), expected, kEps) << number.toStdString();
        }
        EXPECT_NEAR(num("select j_yfje from jxc_jhd where gl_djh = ?", {number}), c.header, kEps);
        EXPECT_NEAR(num("select j_sfje from jxc_jhd where gl_djh = ?", {number}), c.header, kEps);
    }
}

TEST_F(PurchasePostingTest, DuplicateNumberIsAuditedUnderTheNumberTheRepairGives)
{
    // CJ24030510001: an audited copy of admin, a pending one of admin, one of li.
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
    auditOk("CJ24030510001");
    addReceipt("CJ24030510001", "2024-03-05 10:30", {{"G1", 1, 5.0}}, 5, 5);
    addReceipt("CJ24030510001", "2024-03-05 11:00", {{"G2", 2, 4.0}, {"G2", 3, 4.0}}, 20, 20,
               {{"a_name", "li"}});
    const auto before = snapshot();

    // admin's own copy goes, the number is audited already: refused, nothing written.
    const AuditResult refused = RunAuditPurchaseIn(db(), state, clock, "CJ24030510001");
    EXPECT_EQ(refused.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(refused.text, "单据CJ24030510001已经审核，不能重复审核！");
    EXPECT_EQ(snapshot(), before);

    LoginState li = state;
    li.CurrentOperatorName = "li";
    const AuditResult r = RunAuditPurchaseIn(db(), li, clock, "CJ24030510001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();
    EXPECT_EQ(r.number, "CJ24030510002");
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ24030510002'"), "1");
    EXPECT_EQ(scalar("select j_checker from jxc_jhd where gl_djh = 'CJ24030510002'"), "li");
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'CJ24030510002'"), 2);
    EXPECT_NEAR(stock("G2", "kc_sl"), 5, kEps);
    // The audited number gained no second posting.
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'CJ24030510001'"), 1);
    EXPECT_EQ(count("select count(*) from jxc_ysyfk where gl_djh = 'CJ24030510001'"), 1);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
}

TEST_F(PurchasePostingTest, MissingSupplierIsRefusedBeforeAnythingIsWritten)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50, {{"ghs_sn", "999999"}});
    const auto before = snapshot();
    const AuditResult r = RunAuditPurchaseIn(db(), state, clock, "CJ24030510001");
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, "单据CJ24030510001的经手人、供货商或仓库资料不存在，不能审核！");
    EXPECT_EQ(snapshot(), before);

    // The bare posting refuses the same way, with nothing written either.
    EXPECT_THROW(AuditPurchaseIn(db(), state, clock, "CJ24030510001"), DbError);
    EXPECT_EQ(snapshot(), before);
}

} // namespace
