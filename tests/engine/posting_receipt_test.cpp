// Receipts from customers and payments to suppliers through their audit entries: the partner
// copy, the write-off with its goods-ledger row, balances, the cash row and the log.

#include "posting_fixture.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/postreceipt.h"

namespace {

class ReceiptPostingTest : public PostingTest
{
protected:
    // An opening amount owed on the partner's account.
    void owes(const QString &type, const QString &partner, double amount, const QString &date = "2024-03-01")
    {
        insert("jxc_ysyfk", {{"gl_djh", ""}, {"k_rq", date}, {"k_type", type}, {"k_ghskh", partner},
                             {"k_qcje", amount}, {"k_yfje", 0.0}, {"k_sfje", 0.0}, {"k_yhje", 0.0},
                             {"k_ljje", amount}, {"k_flag", 1}});
    }

    void registration(const QString &number, const QString &type, double amount, double writeOff,
                      const QString &date = "2024-03-08 10:00", const QVariantMap &extra = {})
    {
        QVariantMap m{{"gl_djh", number}, {"k_rq", date}, {"k_fkfs", "现金"}, {"k_yfje", 0.0},
                      {"k_sfje", amount}, {"k_qcje", 0.0}, {"k_yhje", 0.0}, {"k_mlje", writeOff},
                      {"k_flag", 1}, {"k_type", type}, {"k_djlx", number.left(2)},
                      {"k_djtxt", type == "kh" ? "收款单" : "付款单"}, {"gl_djh2", ""},
                      {"k_note", "登记"}, {"k_check", 0}, {"u_sn", "100001"}, {"a_name", "admin"},
                      {"k_ghskh", "100001"}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            m.insert(it.key(), it.value());
        insert("jxc_ysyfk_dj", m);
    }
};

TEST_F(ReceiptPostingTest, ReceiptCopiesToTheAccountAndBooksCash)
{
    owes("kh", "100001", 250);
    registration("SK24030810001", "kh", 100, 0);
    const AuditResult r = RunAuditReceipt(db(), state, clock, "SK24030810001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();

    EXPECT_EQ(count("select count(*) from jxc_ysyfk where gl_djh = 'SK24030810001'"), 1);
    const QVariantMap k = row("select * from jxc_ysyfk where gl_djh = 'SK24030810001'");
    EXPECT_NEAR(n(k, "k_sfje"), 100, kEps);
    EXPECT_NEAR(n(k, "k_ljje"), 150, kEps);
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 150, kEps);
    const QVariantMap cash = row("select * from jxc_xjyh where gl_djh = 'SK24030810001'");
    EXPECT_EQ(t(cash, "xj_dlx"), "收款单");
    EXPECT_NEAR(n(cash, "xj_je"), 100, kEps);
    EXPECT_EQ(t(cash, "xj_kmmc"), "现金");
    const QVariantMap reg = row("select * from jxc_ysyfk_dj where gl_djh = 'SK24030810001'");
    EXPECT_EQ(t(reg, "k_check"), "1");
    EXPECT_EQ(t(reg, "k_checker"), "admin");
    EXPECT_EQ(t(reg, "k_chkrq"), "2024-03-08");
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核收款，客户：普通客户，金额：100'"), 1);
    EXPECT_EQ(count("select count(*) from jxc_goodslist"), 0);

    const AuditResult again = RunAuditReceipt(db(), state, clock, "SK24030810001");
    EXPECT_EQ(again.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(again.text, "单据SK24030810001已经审核，不能重复审核！");
    EXPECT_EQ(count("select count(*) from jxc_ysyfk where gl_djh = 'SK24030810001'"), 1);
}

TEST_F(ReceiptPostingTest, ReceiptWriteOffGoesUnderANewNumberWithALedgerRow)
{
    owes("kh", "100001", 100.3);
    registration("SK24030810001", "kh", 100, 0.3);
    const AuditResult r = RunAuditReceipt(db(), state, clock, "SK24030810001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();

    const QVariantMap w = row("select * from jxc_ysyfk where gl_djh = 'YS24030810001'");
    ASSERT_FALSE(w.isEmpty());
    EXPECT_NEAR(n(w, "k_yfje"), -0.3, kEps);
    EXPECT_EQ(t(w, "k_fkfs"), "应收款");
    EXPECT_EQ(t(w, "k_djtxt"), "增加应收款(抹零)");
    EXPECT_EQ(t(w, "k_note"), "收款单抹零登记：SK24030810001");
    EXPECT_EQ(t(w, "gl_djh2"), "SK24030810001");
    EXPECT_EQ(t(w, "k_djlx"), "YS");
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 0, 1e-8);

    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'YS24030810001'");
    EXPECT_EQ(t(gl, "gl_flag"), "xs");
    EXPECT_EQ(t(gl, "g_sn"), "00000000");
    EXPECT_EQ(t(gl, "g_name"), "优惠商品");
    EXPECT_EQ(t(gl, "ck_sn"), "100001");
    EXPECT_EQ(t(gl, "ck_name"), "主仓库");
    EXPECT_NEAR(n(gl, "gl_sl"), 0, kEps);
    EXPECT_NEAR(n(gl, "gl_zje"), -0.3, kEps);
    EXPECT_NEAR(n(gl, "gl_je"), -0.3, kEps);
    EXPECT_NEAR(n(gl, "gl_lr"), -0.3, kEps);
    EXPECT_EQ(t(gl, "id2"), t(w, "id"));
    EXPECT_EQ(t(gl, "gl_djh2"), "SK24030810001");
    EXPECT_NEAR(num("select xj_je from jxc_xjyh where gl_djh = 'SK24030810001'"), 100, kEps);
    EXPECT_EQ(count("select count(*) from jxc_xjyh where gl_djh = 'YS24030810001'"), 0);
}

TEST_F(ReceiptPostingTest, PaymentWriteOffAndCash)
{
    owes("ghs", "100001", 600);
    registration("FK24030810001", "ghs", 500, 0.5);
    const AuditResult r = RunAuditPayment(db(), state, clock, "FK24030810001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();
    const QVariantMap cash = row("select * from jxc_xjyh where gl_djh = 'FK24030810001'");
    EXPECT_EQ(t(cash, "xj_dlx"), "付款单");
    EXPECT_NEAR(n(cash, "xj_je"), -500, kEps);
    const QVariantMap w = row("select * from jxc_ysyfk where gl_djh = 'YF24030810001'");
    EXPECT_NEAR(n(w, "k_yfje"), -0.5, kEps);
    EXPECT_EQ(t(w, "k_djtxt"), "增加应付款(抹零)");
    EXPECT_EQ(t(w, "k_fkfs"), "应付款");
    const QVariantMap gl = row("select * from jxc_goodslist where gl_djh = 'YF24030810001'");
    EXPECT_EQ(t(gl, "gl_flag"), "cj");
    EXPECT_NEAR(n(gl, "gl_zje"), -0.5, kEps);
    EXPECT_NEAR(n(gl, "gl_lr"), 0, kEps);
    EXPECT_NEAR(num("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), 99.5, kEps);
    EXPECT_EQ(count("select count(*) from jxc_log where log_note = '审核付款，供货商：普通供货商，金额：500'"), 1);
}

TEST_F(ReceiptPostingTest, BackDatedReceiptRecomputesLaterBalancesAndIgnoresItsDiscount)
{
    owes("kh", "100001", 300, "2024-03-01");
    insert("jxc_ysyfk", {{"gl_djh", "XS24030710001"}, {"k_rq", "2024-03-07 10:00"}, {"k_type", "kh"},
                         {"k_ghskh", "100001"}, {"k_qcje", 0.0}, {"k_yfje", 50.0}, {"k_sfje", 0.0},
                         {"k_yhje", 0.0}, {"k_ljje", 350.0}, {"k_flag", 1}});
    registration("SK24030510001", "kh", 100, 0, "2024-03-05 10:00", {{"k_yhje", 7.0}});
    const AuditResult r = RunAuditReceipt(db(), state, clock, "SK24030510001");
    ASSERT_TRUE(r.audited()) << r.text.toStdString();
    EXPECT_NEAR(num("select k_yhje from jxc_ysyfk where gl_djh = 'SK24030510001'"), 7, kEps);
    EXPECT_NEAR(num("select k_ljje from jxc_ysyfk where gl_djh = 'SK24030510001'"), 200, kEps);
    EXPECT_NEAR(num("select k_ljje from jxc_ysyfk where gl_djh = 'XS24030710001'"), 250, kEps);
    EXPECT_NEAR(num("select kh_lwje from jxc_khxx where kh_sn = '100001'"), 250, kEps);
}

TEST_F(ReceiptPostingTest, MissingPartnerIsRefused)
{
    registration("SK24030810001", "kh", 100, 0, "2024-03-08 10:00", {{"k_ghskh", "999999"}});
    registration("FK24030810001", "ghs", 100, 0, "2024-03-08 10:00", {{"u_sn", "999999"}});
    const auto before = snapshot();
    EXPECT_EQ(RunAuditReceipt(db(), state, clock, "SK24030810001").text,
              "单据SK24030810001的经手人或客户资料不存在，不能审核！");
    EXPECT_EQ(RunAuditPayment(db(), state, clock, "FK24030810001").text,
              "单据FK24030810001的经手人或供货商资料不存在，不能审核！");
    EXPECT_EQ(snapshot(), before);
}

} // namespace
