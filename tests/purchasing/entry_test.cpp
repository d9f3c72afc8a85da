// The entry page of the purchase receipt: scanned barcodes, kits, the totals at the bottom,
// renumbering when another operator holds the number.

#include "purchase_fixture.h"

#include "purchasing/receiptentry.h"

namespace {

class ReceiptEntryTest : public PurchaseRulesTest
{
protected:
    PurchaseResult scan(const char *code, bool refuseRepeats = false)
    {
        return ReceiptEntry(db(), state, notices).scan(context, QString::fromUtf8(code), refuseRepeats);
    }
    QString lines(const QString &columns) const
    {
        return rows(QStringLiteral("select %1 from jxc_jhsp where gl_djh = ? order by id").arg(columns), {context.number});
    }
    void SetUp() override
    {
        PurchaseRulesTest::SetUp();
        context = entry();
    }
    DocumentContext context;
};

TEST_F(ReceiptEntryTest, AScannedBarcodeBecomesALineAtThePriceOfTheParameter)
{
    ASSERT_TRUE(scan("6901").done());
    EXPECT_EQ(lines("g_sn, dw_name, jh_dj, jh_taxdj, jh_sl, jh_zsl, jh_rksl, jh_je, jh_zje, jh_tax, jh_taxje, jh_dzl, "
                    "g_sptm, a_name"),
              "20000001|瓶|2.35|2.35|1|1|1|2.35|2.35|0|0|1|6901|admin");
    EXPECT_EQ(linesChanged, 1);
    EXPECT_EQ(ReceiptEntry(db(), state, notices).payable(context.number), 2.35);
    // A scanner's control characters are dropped before the look-up; only they: nothing.
    ASSERT_TRUE(scan("\x02" "6902\r").done());
    EXPECT_EQ(scalar("select g_sptm from jxc_jhsp where g_sn = ?", {kG2}), "6902");
    EXPECT_EQ(scan("\x02\x03").status, PurchaseStatus::Declined);
    RunSql(db(), "delete from jxc_jhsp where g_sn = ?", {kG2});

    struct PriceCase
    {
        const char *setting;
        const char *column;
        double stored;
        double expected;
    };
    for (const PriceCase c : {PriceCase{"1", "g_scjj", 2.2, 2.2}, PriceCase{"0", "g_pjjj", 2.104, 2.1}}) {
        RunSql(db(), "delete from jxc_jhsp");
        state.PurchasePriceDefault = c.setting;
        RunSql(db(), QStringLiteral("update jxc_goods set %1 = ? where g_sn = ?").arg(c.column), {c.stored, kG1});
        scan("6901");
        EXPECT_EQ(number("select jh_dj from jxc_jhsp"), c.expected) << c.setting;
    }
    RunSql(db(), "delete from jxc_jhsp");
    state.SeparateStockIn = "1";
    scan("6901");
    EXPECT_EQ(number("select jh_rksl from jxc_jhsp"), 0);
}

TEST_F(ReceiptEntryTest, ASecondScanAddsALineOrOneMoreRepeatsCanBeRefused)
{
    scan("6901");
    scan("6901");
    EXPECT_EQ(lines("jh_sl"), "1; 1");

    RunSql(db(), "delete from jxc_jhsp");
    state.ScanAddsQty = "1";
    scan("6901");
    scan("6901");
    EXPECT_EQ(lines("jh_sl, jh_zsl, jh_je, jh_zje, jh_rksl"), "2|2|4.7|4.7|2");

    RunSql(db(), "delete from jxc_jhsp");
    state.RoundTotals = "1";
    state.TotalDecimals = "0";
    scan("6901");
    EXPECT_EQ(lines("jh_je, jh_zje"), "2|2");
    scan("6901");
    EXPECT_EQ(lines("jh_je, jh_zje"), "5|5");

    // "同一条码不能重复添加商品": refused while the goods is on the document.
    state.ScanAddsQty = "0";
    notices.shown.clear();
    EXPECT_EQ(scan("6901", true).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！"});
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {context.number}), "1");
    // Another operator's line of the goods under the number counts too.
    RunSql(db(), "update jxc_jhsp set a_name = 'wang'");
    EXPECT_EQ(scan("6901", true).status, PurchaseStatus::Refused);
}

TEST_F(ReceiptEntryTest, UnknownBarcodesAndAuxiliaryUnits)
{
    EXPECT_EQ(scan("999").status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"没有找到与该条码匹配的商品，请检查！"});
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {context.number}), "0");

    EXPECT_EQ(scan("16903").status, PurchaseStatus::Refused);  // auxiliary units off
    state.UseAuxUnits = "1";
    ASSERT_TRUE(scan("16903").done());
    EXPECT_EQ(lines("g_sn, dw_name, jh_zsl, jh_dj, g_sptm"), "20000003|箱|12|30|16903");
    // An extra barcode of the goods: its base unit.
    insert("jxc_goodstm", {{"g_sn", kG2}, {"g_sptm", "7702"}});
    scan("7702");
    EXPECT_EQ(rows("select g_sn, dw_name, jh_zsl from jxc_jhsp where g_sptm = '7702'"), "20000002|瓶|1");
}

TEST_F(ReceiptEntryTest, AddingUnderANumberAnotherOperatorHoldsRenumbersAndTakesEarlierLinesAlong)
{
    draftLine(kFirstNumber, kG2, 1, 3);                 // admin's earlier line
    draftLine(kFirstNumber, kG1, 1, 2, "wang");         // wang holds the number too
    ASSERT_TRUE(scan("6901").done());
    EXPECT_EQ(context.number, "CJ25031410002");
    EXPECT_EQ(renumbered, QStringList{"CJ25031410002"});
    EXPECT_EQ(rows("select g_sn from jxc_jhsp where gl_djh = 'CJ25031410002' order by id"), "20000002; 20000001");
    EXPECT_EQ(rows("select a_name from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "wang");
}

TEST_F(ReceiptEntryTest, AKitBecomesItsComponentsInOrder)
{
    AddGoods(db(), "K", "果汁礼盒", 0, "6910");
    AddGoods(db(), "C1", "苹果汁", 2.5, "6911");
    AddGoods(db(), "C2", "果粒", 4, "6912", {{"dw_name", "袋"}});
    insert("jxc_plxx", {{"g_sn", "K"}, {"pl_gsn", "C1"}, {"pl_sl", 2.0}});
    insert("jxc_plxx", {{"g_sn", "K"}, {"pl_gsn", "C2"}, {"pl_sl", 0.5}});
    QString note;
    ASSERT_TRUE(ReceiptEntry(db(), state, notices).addKit(context, {"K", "果汁礼盒", "3"}, &note).done());
    EXPECT_EQ(lines("g_sn, jh_sl, jh_dj, jh_je, jh_zje, jh_zsl, jh_rksl, jh_tax, jh_taxdj, jh_dzl, dw_name, g_sptm"),
              "C1|6|2.5|15|15|6|6|0|2.5|1|瓶|6911; C2|1.5|4|6|6|1.5|1.5|0|4|1|袋|6912");
    EXPECT_EQ(note, "果汁礼盒：【数量：3】  配料入库。");
    EXPECT_EQ(ReceiptEntry(db(), state, notices).payable(context.number), 21);

    RunSql(db(), "delete from jxc_jhsp");
    state.SeparateStockIn = "1";
    ReceiptEntry(db(), state, notices).addKit(context, {"K", "果汁礼盒", "3"}, &note);
    EXPECT_EQ(lines("jh_rksl"), "0; 0");

    // A failure at any statement writes no line.
    RunSql(db(), "delete from jxc_jhsp");
    for (int n = 1; n <= 6; ++n) {
        notices.shown.clear();
        InjectStatementFailure(db(), n);
        const bool done = ReceiptEntry(db(), state, notices).addKit(context, {"K", "果汁礼盒", "3"}, &note).done();
        InjectStatementFailure(db(), 0);
        if (done)
            break;
        EXPECT_TRUE(notices.last().startsWith("添加商品失败：")) << n;
        EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {context.number}), "0") << n;
    }
}

TEST_F(ReceiptEntryTest, TotalsLeaveTheAdjustmentOutAndFollowTheParameter)
{
    draftLine(kFirstNumber, kG1, 2, 5);
    draftLine(kFirstNumber, kG2, 1, 2.5, "wang");
    insert("jxc_jhsp", {{"gl_djh", kFirstNumber}, {"g_sn", "00000000"}, {"a_name", "admin"}, {"jh_zje", -5.0}});
    ReceiptEntry rules(db(), state, notices);
    EXPECT_EQ(rules.payable(kFirstNumber), 12.5);
    EXPECT_EQ(rules.payable("CJ25031410009"), 0);
    EXPECT_EQ(rules.paidAfterChange(12.5, 3), 12.5);
    state.PurchasePaidDefault = "1";
    EXPECT_EQ(rules.paidAfterChange(12.5, 3), 3);
    state.RoundTotals = "1";
    state.TotalDecimals = "0";
    EXPECT_EQ(rules.payable(kFirstNumber), 13);
}

} // namespace
