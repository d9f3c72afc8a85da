// The purchase return being entered: totals, the save with its refusals, stock test and
// negated amounts, the number another operator took, the audit (at once or later) into stock,
// payables and cash, and the whole-document return of an audited receipt.

#include "purchase_fixture.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "purchasing/returnrules.h"

namespace {

const char *kReturn = "CT25031410001";
const char *kReceipt = "CJ25031010001";

class ReturnRulesTest : public PurchaseRulesTest
{
protected:
    ReturnRules rules() { return ReturnRules(db(), state, clock, notices); }
    PurchaseHeaderInput header(double payable, double paid) const { return FixtureHeader(payable, paid); }
    qint64 returnLine(const QString &number, const QString &goods, double quantity, double price,
                      const QString &who = QStringLiteral("admin"))
    {
        return insert("jxc_thsp", {{"gl_djh", number},   {"g_sn", goods},      {"a_name", who},
                                   {"th_sl", quantity},  {"th_zsl", quantity}, {"th_dj", price},
                                   {"th_taxdj", price},  {"th_tax", 0.0},      {"th_dzl", 1.0},
                                   {"th_je", quantity * price}, {"th_zje", quantity * price},
                                   {"th_taxje", 0.0},    {"dw_name", QStringLiteral("瓶")}, {"id2", 0}});
    }
    // Stock of G1 from an audited receipt of `quantity` at 12.
    void stockG1(double quantity)
    {
        savedReceipt(kReceipt, {{kG1, {quantity, 12.0}}}, 0, {{"j_jhrq", "2025-03-10 09:00"}, {"j_sfje", 0.0}});
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, kReceipt).audited());
    }
    PurchaseSaveResult save(const PurchaseHeaderInput &in, const QString &number = kReturn, const QString &source = {})
    {
        const int lines = scalar("select count(*) from jxc_thsp where gl_djh = ? and a_name = 'admin'", {number}).toInt();
        return rules().save(number, lines, in, source);
    }
};

TEST_F(ReturnRulesTest, NumberTotalsAndTheSupplierNeededToAdd)
{
    EXPECT_EQ(rules().newNumber(), kReturn);
    returnLine(kReturn, kG1, 4, 15);
    // The reserved settlement line counts towards the return's total.
    returnLine(kReturn, "00000000", 0, 0);
    RunSql(db(), "update jxc_thsp set th_zje = -5 where g_sn = '00000000'");
    EXPECT_NEAR(rules().payable(kReturn), 55, 1e-8);
    EXPECT_NEAR(rules().payable("CT25031410099"), 0, 1e-8);
    EXPECT_NEAR(rules().paidAfterChange(55, 20), 55, 1e-8);
    state.PurchasePaidDefault = "1";
    EXPECT_NEAR(rules().paidAfterChange(55, 20), 20, 1e-8);
    EXPECT_FALSE(rules().mayAddLines("   "));
    EXPECT_EQ(notices.texts(), QStringList{"请选择供货商！"});
    EXPECT_TRUE(rules().mayAddLines("普通供货商"));
}

TEST_F(ReturnRulesTest, RefusalsComeInOrderAndWriteNothing)
{
    struct Case
    {
        bool lines;
        void (*change)(PurchaseHeaderInput &);
        const char *text;
    };
    const Case cases[] = {
        {false, [](PurchaseHeaderInput &) {}, "单据中没有业务发生，不能保存！"},
        {true, [](PurchaseHeaderInput &in) { in.supplierText = "  "; }, "请选择供货商！"},
        {true, [](PurchaseHeaderInput &in) { in.handlerSn.clear(); }, "请选择经办人！"},
        {true, [](PurchaseHeaderInput &in) { in.warehouseSn.clear(); }, "请选择仓库！"},
    };
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_thsp");
        if (c.lines)
            returnLine(kReturn, kG1, 1, 2);
        notices.shown.clear();
        PurchaseHeaderInput in = header(2, 2);
        c.change(in);
        EXPECT_EQ(save(in).status, PurchaseStatus::Refused) << c.text;
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(scalar("select count(*) from jxc_thd"), "0");
    }
}

TEST_F(ReturnRulesTest, PendingSaveStoresNegatedAmountsAndLogs)
{
    stockG1(10);
    returnLine(kReturn, kG1, 4, 15);
    state.PurchasePaidDefault = "1";
    notices.script({Notices::Answer::Yes});
    const PurchaseSaveResult r = save(header(60, 25));
    ASSERT_TRUE(r.saved());
    EXPECT_FALSE(r.audited);
    EXPECT_EQ(notices.texts().last(), "单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的退货单，可以在“待审核"
                                      "\r\n\r\n退货单”面板中，进行修改及审核操作！");
    EXPECT_EQ(rows("select gl_djh, th_thrq, th_yfje, th_sfje, th_fpje, th_hkje, th_status, th_jsfs, th_kmmc, th_qk, "
                   "a_name, th_checker from jxc_thd"),
              "CT25031410001|2025-03-14 09:30|-60|-25|0|0|0|1|现金|0|admin|");
    EXPECT_EQ(rows("select th_sl, th_zje from jxc_thsp"), "4|60");
    EXPECT_EQ(rows("select log_note from jxc_log where log_note like '增加未审核采购退货单%'"),
              "增加未审核采购退货单CT25031410001，共1种商品");
    EXPECT_EQ(rules().newNumber(), "CT25031410002");
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {kG1}), "10");
}

class ReturnAuditOnSaveTest : public ReturnRulesTest, public ::testing::WithParamInterface<const char *>
{
};

TEST_P(ReturnAuditOnSaveTest, PostsStockPayablesAndCash)
{
    stockG1(10);
    state.AuditOnSave = GetParam();
    state.PurchasePaidDefault = "1";
    returnLine(kReturn, kG1, 4, 15);
    notices.script({Notices::Answer::Yes});
    const PurchaseSaveResult r = save(header(60, 25));
    ASSERT_TRUE(r.saved());
    EXPECT_TRUE(r.audited) << notices.texts().join(" / ").toStdString();
    EXPECT_EQ(notices.texts().first(), "单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“进退货查询”功能中取消审核！");
    EXPECT_EQ(rows("select th_status, th_checker, th_chkrq from jxc_thd"), "1|admin|2025-03-14");
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {kG1}), "6");
    EXPECT_EQ(scalar("select g_kc from jxc_goods where g_sn = ?", {kG1}), "6");
    EXPECT_EQ(rows("select gl_sl, gl_zje from jxc_goodslist where gl_flag = 'ct' and g_sn <> '00000000'"), "-4|-60");
    EXPECT_EQ(scalar("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), "85");
    EXPECT_EQ(GetCashBalance(db(), state, clock, "现金"), "25");
    EXPECT_EQ(scalar("select count(*) from jxc_log where log_note like '增加未审核%'"), "0");
}

INSTANTIATE_TEST_SUITE_P(OnAndEmpty, ReturnAuditOnSaveTest, ::testing::Values("1", ""));

TEST_F(ReturnRulesTest, ShortStockAsksOrRefusesBeforeAnythingIsWritten)
{
    stockG1(3);
    returnLine(kReturn, kG1, 4, 15);
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::No});
    EXPECT_EQ(save(header(60, 60)).status, PurchaseStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{"该单据中至少一种商品库存不足，\r\n\r\n“20000001”：退货将会出现负库存，是否继续？"});
    state.AllowNegativeStock = "0";
    notices.shown.clear();
    EXPECT_EQ(save(header(60, 60)).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能退货！"});
    EXPECT_EQ(scalar("select count(*) from jxc_thd"), "0");
}

TEST_F(ReturnRulesTest, AnotherOperatorsLinesMoveTheSaveToTheNextNumber)
{
    stockG1(10);
    returnLine(kReturn, kG1, 4, 15);
    returnLine(kReturn, kG1, 1, 15, "wang");
    notices.script({Notices::Answer::Yes});
    const PurchaseSaveResult r = save(header(60, 60));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.number, "CT25031410002");
    EXPECT_EQ(rows("select gl_djh, a_name from jxc_thsp order by id"), "CT25031410002|admin; CT25031410001|wang");
    EXPECT_EQ(scalar("select gl_djh from jxc_thd"), "CT25031410002");
    EXPECT_EQ(scalar("select log_note from jxc_log where log_note like '增加未审核采购退货单%'"),
              "增加未审核采购退货单CT25031410002，共1种商品");
}

class WholeReturnTest : public ReturnRulesTest
{
protected:
    void SetUp() override
    {
        ReturnRulesTest::SetUp();
        if (IsSkipped())
            return;
        // G1 10 × 12, G2 5 × 8, settled by its paid 155: the settlement line −5.
        savedReceipt(kReceipt, {{kG1, {10, 12.0}}, {kG2, {5, 8.0}}}, 0,
                     {{"j_jhrq", "2025-03-10 09:00"}, {"j_jsfs", 0}, {"j_sfje", 155.0}, {"j_yfje", 160.0}});
        DraftLine(db(), kReceipt, "00000000", 0, 0);
        RunSql(db(), "update jxc_jhsp set jh_zje = -5, jh_je = -5 where g_sn = '00000000'");
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, kReceipt).audited());
    }
};

TEST_F(WholeReturnTest, CopiesEveryLineAndTheSavedReturnPostsNoDebt)
{
    const std::optional<WholeReturnSource> s = rules().loadWholeReceipt(kReceipt, kReturn, "2025-03-14");
    ASSERT_TRUE(s.has_value());
    EXPECT_EQ(s->number, kReturn);
    EXPECT_EQ(s->supplierSn, "100001");
    EXPECT_EQ(s->warehouseName, "主仓库");
    EXPECT_NEAR(s->paid, 155, 1e-8);
    // The reserved line is copied, so the payable is what the supplier was really paid for.
    EXPECT_NEAR(s->payable, 155, 1e-8);
    EXPECT_EQ(rows("select a.g_sn, a.th_dj, a.th_sl, a.th_zsl, a.th_je, a.th_zje, a.id2, a.gl_djh2, a.a_name, "
                   "case when a.idck = b.id2 then 'ok' else 'bad' end from jxc_thsp a join jxc_jhsp b "
                   "on b.gl_djh = a.gl_djh2 and b.g_sn = a.g_sn order by a.id"),
              "20000001|12|10|10|120|120|0|CJ25031010001|admin|ok; 20000002|8|5|5|40|40|0|CJ25031010001|admin|ok; "
              "00000000|0|0|0|-5|-5|0|CJ25031010001|admin|ok");

    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(save(header(s->payable, s->paid), kReturn, kReceipt).saved());
    EXPECT_EQ(rows("select th_yfje, th_sfje from jxc_thd"), "-155|-155");
    EXPECT_EQ(scalar("select log_note from jxc_log where log_note like '增加未审核采购退货单%'"),
              "增加未审核采购退货单CT25031410001，共3种商品");
    EXPECT_EQ(rows("select j_th, j_dhdid from jxc_jhd"), "1|CT25031410001");

    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(rules().checkDj(kReturn));
    EXPECT_EQ(rows("select g_sn, kc_sl from jxc_kcsp where g_sn <> '00000000' order by g_sn"), "20000001|0; 20000002|0");
    EXPECT_EQ(scalar("select ghs_lwje from jxc_ghsxx where ghs_sn = '100001'"), "0");
    EXPECT_EQ(GetCashBalance(db(), state, clock, "现金"), "0");

    // The same receipt again is refused and copies nothing.
    notices.shown.clear();
    EXPECT_FALSE(rules().loadWholeReceipt(kReceipt, "CT25031410002", "2025-03-14").has_value());
    EXPECT_EQ(notices.texts(), QStringList{"该单据已经进行过整单退货，不能重复退货！"});
    EXPECT_EQ(scalar("select count(*) from jxc_thsp where gl_djh = 'CT25031410002'"), "0");
}

TEST_F(WholeReturnTest, AnUnknownReceiptLoadsNothing)
{
    EXPECT_FALSE(rules().loadWholeReceipt("CJ25031099999", kReturn, "2025-03-14").has_value());
    EXPECT_TRUE(notices.texts().isEmpty());
    EXPECT_EQ(scalar("select count(*) from jxc_thsp"), "0");
}

} // namespace
