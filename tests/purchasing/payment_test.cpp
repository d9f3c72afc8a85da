// Payment against one audited purchase document: what the dialog opens with, the registration
// and the document as written, audit on save, returns, refusals and atomicity.

#include "purchase_fixture.h"

#include "foundation/db/sqlroutines.h"
#include "purchasing/docpayment.h"
#include "purchasing/receiptaudit.h"

namespace {

class DocPaymentTest : public PurchaseRulesTest
{
protected:
    void SetUp() override
    {
        PurchaseRulesTest::SetUp();
        savedReceipt(kFirstNumber, {{kG1, {8, 10}}}, 0, {{"j_sfje", 20.0}, {"j_jsfs", 1}});
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(kFirstNumber), kFirstNumber);
        notices.shown.clear();
    }
    DocPaymentRules rules() { return DocPaymentRules(db(), state, clock, notices); }
    DocPaymentInput input(double amount) const
    {
        DocPaymentInput in;
        in.amount = amount;
        in.day = "2025-03-14";
        in.handlerSn = "100001";
        in.accountText = "现金";
        return in;
    }
    QString everything() const
    {
        return rows("select * from jxc_ysyfk_dj order by id") + "/" + rows("select * from jxc_jhd order by id") + "/" +
               rows("select * from jxc_log order by id");
    }
};

TEST_F(DocPaymentTest, AReceiptOpensWithWhatIsOwedAndSavesTheRegistrationAndTheDocument)
{
    const std::optional<DocPaymentView> v = rules().open(kFirstNumber);
    ASSERT_TRUE(v);
    EXPECT_FALSE(v->isReturn);
    EXPECT_EQ(v->supplierName, "普通供货商");
    EXPECT_EQ(v->handlerName, "默认员工");
    EXPECT_EQ(v->accountName, "现金");
    EXPECT_EQ(QString("%1|%2|%3|%4").arg(v->payable).arg(v->paid).arg(v->paidLater).arg(v->amount), "80|20|0|60");
    EXPECT_EQ(v->balance, "60");

    EXPECT_EQ(rules().save(*v, input(60)), 60.0);
    EXPECT_EQ(rows("select gl_djh, k_ghskh, k_type, k_djlx, k_djtxt, k_rq, k_fkfs, k_sfje, k_yfje, k_yhje, k_qcje, k_ljje, "
                   "k_mlje, k_flag, k_note, gl_djh2, k_check, u_sn, a_name from jxc_ysyfk_dj"),
              "FK25031410001|100001|ghs|FK|单据付款|2025-03-14 09:30|现金|60|0|0|0|0|0|-1|单据【CJ25031410001】付款 |"
              "CJ25031410001|0|100001|admin");
    EXPECT_EQ(rows("select j_hkje, j_note from jxc_jhd"), "60|  付款:FK25031410001金额:60，付款日期：2025-03-14 09:30 ");
    EXPECT_EQ(scalar("select log_note from jxc_log where log_note like '增加付款%'"), "增加付款，供货商：普通供货商，金额：60");
}

TEST_F(DocPaymentTest, AuditOnSavePostsTheRegistrationInTheSameTransaction)
{
    for (const char *flag : {"", "1"}) {
        SCOPED_TRACE(flag);
        state.AuditOnSave = flag;
        const std::optional<DocPaymentView> v = rules().open(kFirstNumber);
        ASSERT_TRUE(v);
        ASSERT_TRUE(rules().save(*v, input(10)));
    }
    EXPECT_EQ(rows("select gl_djh, k_check from jxc_ysyfk_dj order by id"), "FK25031410001|0; FK25031410002|1");
    EXPECT_EQ(scalar("select count(*) from jxc_log where log_note = '审核付款，供货商：普通供货商，金额：10'"), "1");
    EXPECT_EQ(scalar("select j_hkje from jxc_jhd"), "20");
}

TEST_F(DocPaymentTest, AReturnIsRefundedWithNegativeAmounts)
{
    insert("jxc_thd", {{"gl_djh", "CT25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"u_sn", "100001"},
                       {"th_thrq", "2025-03-14 09:00"}, {"th_yfje", -60.0}, {"th_sfje", -25.0}, {"th_hkje", 0.0},
                       {"th_status", 1}, {"th_note", ""}, {"th_kmmc", "现金"}});
    const std::optional<DocPaymentView> v = rules().open("CT25031410001");
    ASSERT_TRUE(v);
    EXPECT_TRUE(v->isReturn);
    EXPECT_EQ(v->amount, -35);
    EXPECT_EQ(rules().save(*v, input(v->amount)), -35.0);
    EXPECT_EQ(scalar("select k_sfje from jxc_ysyfk_dj"), "-35");
    EXPECT_EQ(scalar("select th_hkje from jxc_thd"), "-35");
}

TEST_F(DocPaymentTest, OverpaymentIsAcceptedAndTheNoteKeepsItsWidth)
{
    RunSql(db(), "update jxc_jhd set j_note = ?", {QString(190, QChar(u'备'))});
    const std::optional<DocPaymentView> v = rules().open(kFirstNumber);
    ASSERT_TRUE(rules().save(*v, input(100)));
    EXPECT_EQ(scalar("select length(j_note) from jxc_jhd"), "200");
    EXPECT_EQ(scalar("select j_hkje from jxc_jhd"), "100");
}

TEST_F(DocPaymentTest, RefusalsAndFailuresWriteNothing)
{
    const std::optional<DocPaymentView> v = rules().open(kFirstNumber);
    const QString before = everything();
    EXPECT_FALSE(rules().save(*v, input(0)));
    EXPECT_EQ(notices.last(), "收款不能为0！");
    DocPaymentInput noHandler = input(10);
    noHandler.handlerSn.clear();
    EXPECT_FALSE(rules().save(*v, noHandler));
    EXPECT_EQ(notices.last(), "经办人不能为空！");
    EXPECT_EQ(everything(), before);

    int failures = 0;
    for (int n = 1; n <= 30; ++n) {
        InjectStatementFailure(db(), n);
        const std::optional<double> saved = rules().save(*v, input(10));
        InjectStatementFailure(db(), 0);
        if (saved)
            break;
        ++failures;
        EXPECT_TRUE(notices.last().startsWith("付款失败：")) << n;
        EXPECT_EQ(everything(), before) << n;
    }
    EXPECT_GT(failures, 2);

    // A document cancelled meanwhile takes no payment.
    RunSql(db(), "update jxc_jhd set j_status = 0");
    const QString pending = everything();
    EXPECT_FALSE(rules().save(*v, input(10)));
    EXPECT_EQ(notices.last(), "单据CJ25031410001的状态已改变，请重新查询！");
    EXPECT_EQ(everything(), pending);
}

} // namespace
