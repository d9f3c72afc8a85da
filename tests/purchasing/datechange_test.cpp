// Change of date of pending purchase receipts and returns: the number of the day, the header and
// lines moved, taken numbers, settlement difference, freight payer, contract, the supplier box,
// a document audited meanwhile, the return's stock test and its receipt link.

#include "purchase_fixture.h"

#include "foundation/db/sqlroutines.h"
#include "purchasing/docdatechange.h"
#include "purchasing/receiptaudit.h"

namespace {

constexpr const char *kPending = "CJ25031410002";

class DateChangeTest : public PurchaseRulesTest
{
protected:
    DocDateChangeRules rules() { return DocDateChangeRules(db(), state, clock, notices); }
    DateChangeInput input(const DateChangeDoc &d, const QString &day) const
    {
        DateChangeInput in;
        in.day = day;
        in.warehouseSn = "100001";
        in.supplierText = d.supplierName;
        in.supplierSn = d.supplierSn;
        in.supplierName = d.supplierName;
        in.handlerSn = "100001";
        in.note = d.note;
        in.settleIndex = d.settleIndex;
        in.accountText = d.accountName;
        in.payable = d.payable;
        in.paid = d.paid;
        in.freight = d.freight;
        in.packing = d.packing;
        in.wePay = d.wePay;
        return in;
    }
    PurchaseResult change(const QString &number, const QString &day, const std::function<void(DateChangeInput &)> &edit = {})
    {
        const std::optional<DateChangeDoc> d = rules().open(number);
        EXPECT_TRUE(d);
        DateChangeInput in = input(*d, day);
        if (edit)
            edit(in);
        return rules().save(*d, rules().numberForDay(*d, day), in);
    }
};

TEST_F(DateChangeTest, ANewDayGivesTheNextNumberOfThatDayToHeaderAndLines)
{
    savedReceipt(kPending, {{kG1, {2, 10}}, {kG2, {1, 5}}}, 0, {{"j_jhrq", "2025-03-14 08:15"}});
    draftLine("CJ25031010004", kG1, 1, 1);
    const std::optional<DateChangeDoc> d = rules().open(kPending);
    ASSERT_TRUE(d);
    EXPECT_EQ(d->oldDay, "2025-03-14");
    EXPECT_EQ(rules().numberForDay(*d, "2025-03-10"), "CJ25031010005");
    EXPECT_EQ(rules().numberForDay(*d, "2025-03-14"), kPending);

    // Back on its own day: the number and the stored date-time stay.
    EXPECT_TRUE(rules().save(*d, kPending, input(*d, "2025-03-14")).done());
    EXPECT_EQ(rows("select gl_djh, j_jhrq from jxc_jhd"), "CJ25031410002|2025-03-14 08:15");

    const PurchaseResult r = change(kPending, "2025-03-10");
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, "CJ25031010005");
    EXPECT_EQ(rows("select gl_djh, j_jhrq from jxc_jhd"), "CJ25031010005|2025-03-10 09:30");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = 'CJ25031010005'"), "2");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kPending}), "0");
}

TEST_F(DateChangeTest, ANumberAnotherOperatorTookMeanwhileIsDrawnAgain)
{
    savedReceipt(kPending, {{kG1, {2, 10}}});
    const std::optional<DateChangeDoc> d = rules().open(kPending);
    const QString shown = rules().numberForDay(*d, "2025-03-10");
    EXPECT_EQ(shown, "CJ25031010001");
    draftLine(shown, kG2, 1, 1, "li");
    const PurchaseResult r = rules().save(*d, shown, input(*d, "2025-03-10"));
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, "CJ25031010002");
    EXPECT_EQ(scalar("select gl_djh from jxc_jhd"), "CJ25031010002");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {shown}), "1");  // li's line stays his
}

TEST_F(DateChangeTest, HeaderFieldsSettlementFreightAndContract)
{
    savedReceipt(kPending, {{kG1, {10, 10}}}, 0, {{"ht_sn", "100003"}, {"j_yffs", "我方付运费"}});
    insert("jxc_htgl", {{"ht_sn", "100003"}, {"gl_djh", ""}, {"ghs_sn", ""}});
    ASSERT_TRUE(change(kPending, "2025-03-10", [](DateChangeInput &in) {
                    in.settleIndex = 0;
                    in.paid = 90;
                    in.freight = 5;
                    in.wePay = true;
                }).done());
    EXPECT_EQ(rows("select gl_djh, j_yfje, j_sfje, j_jsfs, j_yf, j_yffs from jxc_jhd"), "CJ25031010001|100|90|0|5|我方付运费");
    EXPECT_EQ(rows("select jh_zje from jxc_jhsp where g_sn = '00000000'"), "-10");
    EXPECT_EQ(rows("select gl_djh, ghs_sn from jxc_htgl"), "CJ25031010001|100001");

    // Freight without our tick: the supplier pays; no freight or packing: no payer.
    ASSERT_TRUE(change("CJ25031010001", "2025-03-11", [](DateChangeInput &in) {
                    in.freight = 5;
                    in.wePay = false;
                }).done());
    EXPECT_EQ(scalar("select j_yffs from jxc_jhd"), "对方付运费");
    ASSERT_TRUE(change("CJ25031110001", "2025-03-12", [](DateChangeInput &in) { in.freight = in.packing = 0; }).done());
    EXPECT_EQ(scalar("select j_yffs from jxc_jhd"), "");
}

TEST_F(DateChangeTest, RefusalsWriteNothing)
{
    savedReceipt(kPending, {{kG1, {2, 10}}});
    const QString before = rows("select * from jxc_jhd") + rows("select * from jxc_jhsp order by id");
    // A supplier name typed without choosing.
    EXPECT_EQ(change(kPending, "2025-03-10", [](DateChangeInput &in) { in.supplierText = "某某"; }).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), "请选择供货商！");
    // Audited by another workstation after the list was read.
    const std::optional<DateChangeDoc> d = rules().open(kPending);
    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(kPending), kPending);
    const QString audited = rows("select * from jxc_jhd") + rows("select * from jxc_jhsp order by id");
    EXPECT_EQ(rules().save(*d, rules().numberForDay(*d, "2025-03-10"), input(*d, "2025-03-10")).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), "单据CJ25031410002的状态已改变，请重新查询！");
    EXPECT_EQ(rows("select * from jxc_jhd") + rows("select * from jxc_jhsp order by id"), audited);
    EXPECT_NE(before, audited);
}

TEST_F(DateChangeTest, AReturnIsTestedForStockAndKeepsItsReceiptLink)
{
    insert("jxc_thd", {{"gl_djh", "CT25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"u_sn", "100001"},
                       {"th_thrq", "2025-03-14 09:00"}, {"th_yfje", -60.0}, {"th_sfje", -60.0}, {"th_hkje", 0.0},
                       {"th_status", 0}, {"th_jsfs", 1}, {"th_note", ""}, {"th_kmmc", "现金"}});
    insert("jxc_thsp", {{"gl_djh", "CT25031410001"}, {"g_sn", kG1}, {"th_sl", 4.0}, {"th_zsl", 4.0}, {"th_dj", 15.0},
                        {"th_zje", -60.0}, {"a_name", "admin"}});
    savedReceipt(kFirstNumber, {{kG1, {1, 1}}}, 1, {{"j_dhdid", "CT25031410001"}, {"j_th", 1}});
    const std::optional<DateChangeDoc> d = rules().open("CT25031410001");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->payable, 60);

    // 3 of G1 on hand for a return of 4, negative stock off: refused, nothing written.
    insert("jxc_kcsp", {{"g_sn", kG1}, {"ck_sn", "100001"}, {"kc_sl", 3.0}});
    const PurchaseResult refused = rules().save(*d, rules().numberForDay(*d, "2025-03-10"), input(*d, "2025-03-10"));
    EXPECT_EQ(refused.status, PurchaseStatus::Refused);
    EXPECT_TRUE(notices.last().contains("“20000001”")) << notices.last().toStdString();
    EXPECT_EQ(scalar("select gl_djh from jxc_thd"), "CT25031410001");

    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::No});
    EXPECT_EQ(rules().save(*d, rules().numberForDay(*d, "2025-03-10"), input(*d, "2025-03-10")).status, PurchaseStatus::Declined);
    EXPECT_EQ(scalar("select gl_djh from jxc_thd"), "CT25031410001");
    notices.script({Notices::Answer::Yes});
    const PurchaseResult r = rules().save(*d, rules().numberForDay(*d, "2025-03-10"), input(*d, "2025-03-10"));
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, "CT25031010001");
    EXPECT_EQ(rows("select gl_djh, th_yfje from jxc_thd"), "CT25031010001|-60");
    EXPECT_EQ(scalar("select gl_djh from jxc_thsp"), "CT25031010001");
    EXPECT_EQ(scalar("select j_dhdid from jxc_jhd"), "CT25031010001");
}

TEST_F(DateChangeTest, AnAuditedReceiptIsReversedAndPostedAgainUnderItsNewNumber)
{
    const QString old = "CJ25030510001";
    savedReceipt(old, {{kG1, {10, 5}}}, 0, {{"j_jhrq", "2025-03-05 10:00"}});
    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(old), old);
    const auto everything = [&] {
        return rows("select * from jxc_jhd") + rows("select * from jxc_jhsp order by id") +
               rows("select gl_djh, gl_kdrq, gl_sl from jxc_goodslist order by id") + rows("select kc_sl, kc_cbj from jxc_kcsp") +
               rows("select * from jxc_ysyfk order by id");
    };
    const std::optional<DateChangeDoc> d = rules().open(old);
    ASSERT_TRUE(d);
    const QString shown = rules().numberForDay(*d, "2025-03-06");
    const QString before = everything();

    // No to the cancel's confirmation, a failing statement anywhere: nothing changes.
    notices.script({Notices::Answer::No});
    EXPECT_EQ(rules().save(*d, shown, input(*d, "2025-03-06"), DateChangeMode::Audited).status, PurchaseStatus::Declined);
    EXPECT_EQ(everything(), before);
    int failures = 0;
    for (int n = 1; n <= 200; ++n) {
        notices.script({Notices::Answer::Yes});
        InjectStatementFailure(db(), n);
        const PurchaseResult r = rules().save(*d, shown, input(*d, "2025-03-06"), DateChangeMode::Audited);
        InjectStatementFailure(db(), 0);
        if (r.done())
            break;
        ++failures;
        ASSERT_EQ(everything(), before) << n;
    }
    EXPECT_GT(failures, 5);
    EXPECT_EQ(rows("select gl_djh, j_status, j_jhrq from jxc_jhd"), "CJ25030610001|1|2025-03-06 09:30");
    EXPECT_EQ(rows("select gl_djh from jxc_jhsp"), "CJ25030610001");
    EXPECT_EQ(rows("select gl_djh, gl_kdrq, gl_sl from jxc_goodslist where gl_flag = 'cj'"), "CJ25030610001|2025-03-06 09:30|10");
    EXPECT_EQ(rows("select kc_sl, kc_cbj from jxc_kcsp where g_sn = ? and ck_sn = '100001'", {kG1}), "10|5");
    EXPECT_EQ(scalar("select count(*) from jxc_log where log_note = '取消审核采购进货单CJ25030510001'"), "1");
}

TEST_F(DateChangeTest, AnAuditedDocumentWithAPaymentRegistrationKeepsItsDate)
{
    const QString old = "CJ25030510001";
    savedReceipt(old, {{kG1, {10, 5}}}, 0, {{"j_jhrq", "2025-03-05 10:00"}});
    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(old), old);
    insert("jxc_ysyfk_dj", {{"gl_djh", "FK25031410001"}, {"gl_djh2", old}, {"k_sfje", 10.0}});
    const std::optional<DateChangeDoc> d = rules().open(old);
    EXPECT_EQ(rules().save(*d, rules().numberForDay(*d, "2025-03-06"), input(*d, "2025-03-06"), DateChangeMode::Audited).status,
              PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), "单据CJ25030510001已有付款登记，不能修改日期！");
    EXPECT_EQ(scalar("select gl_djh from jxc_jhd"), old);
}

} // namespace
