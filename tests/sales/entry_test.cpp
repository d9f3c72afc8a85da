// The sale's entry page rules: scanned barcodes, the grid edit of a line, the whole-order
// discount, kits, the copy of a receipt and the totals.

#include "sale_fixture.h"

#include "sales/saleentry.h"

namespace {

class SaleEntryTest : public SaleRulesTest
{
protected:
    void SetUp() override
    {
        SaleRulesTest::SetUp();
        context = entry();
    }
    SaleEntry rules() { return SaleEntry(db(), state, clock, notices); }
    SaleResult scan(const char *code, bool refuseRepeats = false)
    {
        return rules().scan(context, QString::fromUtf8(code), refuseRepeats);
    }
    bool edit(qint64 id, LineCell cell, const char *typed)
    {
        return rules().editCell(SaleCellPlace::Draft, context.number, id, cell, QString::fromUtf8(typed));
    }
    DocumentContext context;
};

const char *kLineFigures = "ls_sl, ls_dj, ls_zhje, ls_taxdj, ls_je, ls_zje, ls_taxje, ls_lsj, ls_cksl, ls_zsl, g_zhxs, "
                           "ls_cbj, ls_zcb, ls_cbj2, dw_name, g_sptm, g_tmbz, idck, a_name";

TEST_F(SaleEntryTest, AScannedBarcodeBecomesALineAtTheSalePriceAndTheWarehouseCost)
{
    ASSERT_TRUE(scan("6901").done());
    EXPECT_EQ(lines(kLineFigures), "1|3.5|3.5|3.5|3.5|3.5|0|4|1|1|1|2|2|2|瓶|6901||0|admin");
    EXPECT_EQ(linesChanged, 1);
    EXPECT_DOUBLE_EQ(rules().due(context.number), 3.5);

    // The unit barcode twice: one 箱 line grows.
    ASSERT_TRUE(scan("6912").done());
    ASSERT_TRUE(scan("6912").done());
    EXPECT_EQ(rows("select ls_sl, ls_zsl, g_zhxs, ls_dj, ls_je, ls_zje, ls_lsj, ls_cbj, ls_zcb, ls_cbj2, ls_cksl "
                   "from jxc_lsxssp where dw_name = '箱'"),
              "2|24|12|40|80|80|45|24|48|2|2");
    EXPECT_DOUBLE_EQ(rules().due(context.number), 83.5);

    // The extra barcode: its own line with the mark after the name.
    ASSERT_TRUE(scan("6901-2").done());
    EXPECT_EQ(rows("select g_tmbz, dw_name from jxc_lsxssp where g_sptm = '6901-2'"), " 礼盒装|瓶");
    EXPECT_EQ(rows(QStringLiteral("select g_name from (%1) x where g_sptm = '6901-2'")
                       .arg(QStringLiteral("select b.*, coalesce(a.g_name, '') || coalesce(b.g_tmbz, '') || "
                                           "coalesce(b.t_zp, '') as g_name from jxc_lsxssp b left join jxc_goods a "
                                           "on a.g_sn = b.g_sn"))),
              "可乐 礼盒装");

    // Without ScanAddsQty every scan is a line of its own.
    RunSql(db(), "delete from jxc_lsxssp");
    state.ScanAddsQty = "0";
    scan("6912");
    scan("6912");
    EXPECT_EQ(lines("dw_name, ls_sl"), "箱|1; 箱|1");
}

TEST_F(SaleEntryTest, AScanWithTheDefaultRateRoundsAmountsOnlyWithRoundTotals)
{
    state.DefaultTaxRate = "13";
    scan("6901");
    EXPECT_EQ(lines("ls_tax, ls_taxdj, ls_je, ls_taxje, ls_zje"), "13|3.96|3.5|0.455|3.955");
    RunSql(db(), "delete from jxc_lsxssp");
    state.RoundTotals = "1";
    scan("6901");
    EXPECT_EQ(lines("ls_taxje, ls_zje"), "0.46|3.96");
}

TEST_F(SaleEntryTest, ScansRefuseGoodsOutOfStockOrAlreadyOnTheSale)
{
    context.warehouse = "100002";
    EXPECT_EQ(scan("6912").status, SaleStatus::Refused);
    EXPECT_EQ(notices.last(), "当前仓库中没有找到与该条码匹配的商品，请检查！");
    context.warehouse = "100001";

    RunSql(db(), "update jxc_kcsp set kc_sl = 5 where g_sn = ?", {kA});
    EXPECT_EQ(scan("6912").status, SaleStatus::Refused);
    EXPECT_EQ(notices.last(), "库存数量小于销售数量，不能出库！");
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::No});
    EXPECT_EQ(scan("6912").status, SaleStatus::Declined);
    EXPECT_EQ(notices.last(), "库存数量小于销售数量，销售后将产生负库存，继续销售吗?");
    EXPECT_EQ(lines("id"), "");

    RunSql(db(), "update jxc_kcsp set kc_sl = 0 where g_sn = ?", {kA});
    state.AllowNegativeStock = "0";
    EXPECT_EQ(scan("6901").status, SaleStatus::Refused);
    EXPECT_EQ(notices.last(), "当前仓库中没有找到与该条码匹配的商品，请检查！");
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(scan("6901").done());
    EXPECT_EQ(notices.last(), "库存数量小于销售数量，销售后将产生负库存，继续销售吗?");

    RunSql(db(), "delete from jxc_lsxssp");
    RunSql(db(), "update jxc_kcsp set kc_sl = 48 where g_sn = ?", {kA});
    line(kA, 1, 3.5, "op2");
    EXPECT_EQ(scan("6912", true).status, SaleStatus::Refused);
    EXPECT_EQ(notices.last(), "该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！");
    EXPECT_EQ(lines("a_name"), "op2");
}

TEST_F(SaleEntryTest, ANumberHeldByAnotherOperatorMovesTheOperatorsLinesToANewOne)
{
    line(kA, 1, 3.5, "op2");
    const qint64 mine = line(kA, 1, 3.5);
    ASSERT_TRUE(scan("6902").done());
    EXPECT_EQ(renumbered, QStringList{"XS25031410002"});
    EXPECT_EQ(rows("select gl_djh from jxc_lsxssp where id = ?", {mine}), "XS25031410002");
    EXPECT_EQ(lines("a_name"), "op2");
    EXPECT_EQ(lines("g_sn", "XS25031410002"), "20000001; 20000002");
}

TEST_F(SaleEntryTest, GridEditsRecomputeTheLineWithTheSaleOptions)
{
    struct Step
    {
        LineCell cell;
        const char *typed;
    };
    struct Case
    {
        QList<Step> steps;
        const char *columns;
        const char *expected;
    };
    const QList<Case> cases{
        {{{LineCell::Quantity, "5"}}, "ls_sl, ls_zsl, ls_cksl, ls_zcb, ls_je, ls_zje", "5|5|5|10|17.5|17.5"},
        {{{LineCell::Quantity, ""}}, "ls_sl", "1"},
        {{{LineCell::Quantity, "0"}}, "ls_sl", "1"},
        {{{LineCell::Quantity, "-2"}}, "ls_sl", "1"},
        {{{LineCell::Quantity, "5"}, {LineCell::Discount, "0.85"}}, "ls_je, ls_zje", "14.88|14.88"},
        {{{LineCell::Discount, "0"}}, "ls_dzl", "1"},
        {{{LineCell::Quantity, "5"}, {LineCell::Tax, "13"}}, "ls_taxdj, ls_zje, ls_taxje, ls_je", "3.96|19.8|2.3|17.5"},
        {{{LineCell::Quantity, "5"}, {LineCell::Tax, "13"}, {LineCell::TaxPrice, "11.3"}},
         "ls_dj, ls_je, ls_zje, ls_taxje",
         "10|50|56.5|6.5"},
        {{{LineCell::Price, "-1"}}, "ls_dj, ls_taxdj, ls_je, ls_zje", "0|0|0|0"},
        {{{LineCell::Quantity, "6"}, {LineCell::Price, "8.333"}}, "ls_dj, ls_taxdj, ls_je, ls_zje, ls_taxje",
         "8.33|8.33|49.98|49.98|0"},
    };
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_lsxssp");
        const qint64 id = line(kA, 1, 3.5);
        for (const Step &s : c.steps)
            ASSERT_TRUE(edit(id, s.cell, s.typed));
        EXPECT_EQ(lines(QString::fromLatin1(c.columns)), c.expected) << c.columns;
    }
    EXPECT_TRUE(notices.texts().isEmpty());

    RunSql(db(), "delete from jxc_lsxssp");
    const qint64 id = line(kA, 1, 3.5);
    edit(id, LineCell::Discount, "0.7");
    EXPECT_EQ(notices.last(), "商品的最低折扣为：“0.8”，\r\n\r\n打折率不能低于最低折扣！\r\n\r\n已恢复到无折扣状态！");
    EXPECT_EQ(lines("ls_dzl"), "1");

    // The 箱 line: the quantity counts its factor.
    const qint64 box = line(kA, 2, 40, "admin", {{"dw_name", "箱"}, {"g_zhxs", 12.0}, {"ls_zsl", 24.0}});
    edit(box, LineCell::Quantity, "3");
    EXPECT_EQ(rows("select ls_zsl, ls_zje from jxc_lsxssp where id = ?", {box}), "36|120");
    // SeparateStockOut: nothing leaves stock yet.
    state.SeparateStockOut = "1";
    edit(box, LineCell::Quantity, "4");
    EXPECT_EQ(rows("select ls_cksl from jxc_lsxssp where id = ?", {box}), "0");
    // Another operator's line is not edited from the entry page.
    const qint64 theirs = line(kB, 1, 3, "op2");
    EXPECT_FALSE(edit(theirs, LineCell::Quantity, "9"));
}

TEST_F(SaleEntryTest, TheWholeOrderDiscountReplacesEveryLinesDiscount)
{
    line(kA, 1, 3.5);
    line(kA, 2, 40, "admin", {{"dw_name", "箱"}, {"g_zhxs", 12.0}, {"ls_zsl", 24.0}});
    EXPECT_EQ(rules().applyWholeDiscount(context, "0").status, SaleStatus::Declined);
    EXPECT_EQ(lines("ls_dzl"), "1; 1");
    ASSERT_TRUE(rules().applyWholeDiscount(context, "0.9").done());
    EXPECT_EQ(lines("ls_dzl, ls_je, ls_zje"), "0.9|3.15|3.15; 0.9|72|72");
    EXPECT_DOUBLE_EQ(rules().due(context.number), 75.15);
}

TEST_F(SaleEntryTest, AKitBecomesOneLinePerComponent)
{
    InsertRow(db(), "jxc_plxx", {{"g_sn", "30000001"}, {"pl_gsn", kA}, {"pl_sl", 2.0}});
    InsertRow(db(), "jxc_plxx", {{"g_sn", "30000001"}, {"pl_gsn", kB}, {"pl_sl", 1.0}});
    QString note;
    ASSERT_TRUE(rules().addKit(context, {"30000001", "组合装", "3"}, &note).done());
    EXPECT_EQ(lines("g_sn, ls_sl, ls_dj, ls_je, ls_zje, ls_cbj, ls_zcb, ls_zhje, ls_lsj"),
              "20000001|6|3.5|21|21|2|12|0|0; 20000002|3|3|9|9|2.5|7.5|0|0");
    EXPECT_EQ(note, "组合装：【数量：3】 配料出库。");
    EXPECT_DOUBLE_EQ(rules().due(context.number), 30);

    RunSql(db(), "delete from jxc_lsxssp");
    note.clear();
    EXPECT_EQ(rules().addKit(context, {"30000001", "组合装", "11"}, &note).status, SaleStatus::Refused);
    EXPECT_EQ(notices.last(), "至少一个配料：20000002，库存数量小于出库数量，不能出库！");
    EXPECT_EQ(lines("id"), "");
    EXPECT_TRUE(note.isEmpty());
}

TEST_F(SaleEntryTest, AReceiptIsCopiedAtTheSalePricePerLineUnit)
{
    InsertRow(db(), "jxc_jhd", {{"gl_djh", "CJ25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"},
                                {"u_sn", "100002"}, {"j_note", "到货"}, {"j_status", 0}, {"a_name", "admin"}});
    InsertRow(db(), "jxc_jhsp", {{"gl_djh", "CJ25031410001"}, {"g_sn", kA}, {"jh_sl", 2.0}, {"jh_zsl", 24.0},
                                 {"jh_dj", 24.0}, {"jh_zje", 48.0}, {"jh_dzl", 1.0}, {"jh_tax", 0.0},
                                 {"dw_name", "箱"}, {"g_sptm", "6912"}, {"a_name", "admin"}});
    InsertRow(db(), "jxc_jhsp", {{"gl_djh", "CJ25031410001"}, {"g_sn", kB}, {"jh_sl", 10.0}, {"jh_zsl", 10.0},
                                 {"jh_dj", 2.5}, {"jh_zje", 25.0}, {"jh_dzl", 1.0}, {"jh_tax", 0.0},
                                 {"dw_name", "瓶"}, {"g_sptm", "6902"}, {"a_name", "admin"}});
    const CopiedReceipt copy = rules().copyReceipt(context, "CJ25031410001");
    ASSERT_TRUE(copy.result.done());
    EXPECT_EQ(copy.result.number, kSaleNumber);
    EXPECT_EQ(lines("ls_sl, ls_zsl, g_zhxs, ls_dj, ls_taxdj, ls_lsj, ls_je, ls_zje, ls_zhje, ls_cbj, ls_zcb, ls_cbj2, "
                    "ls_cksl, gl_djh3"),
              "2|24|12|42|42|48|84|84|84|24|48|2|2|CJ25031410001; "
              "10|10|1|3|3|3.5|30|30|30|2.5|25|2.5|10|CJ25031410001");
    EXPECT_TRUE(copy.headerFound);
    EXPECT_DOUBLE_EQ(copy.amount, 114);
    EXPECT_EQ(copy.note, "到货");
    EXPECT_EQ(copy.warehouseName, "主仓库");
    EXPECT_EQ(copy.handlerName, "业务员甲");
    // A later quantity edit counts boxes at the box price.
    const qint64 a = scalar("select id from jxc_lsxssp where g_sn = ?", {kA}).toLongLong();
    rules().editCell(SaleCellPlace::Draft, kSaleNumber, a, LineCell::Quantity, "3");
    EXPECT_EQ(rows("select ls_je, ls_zje from jxc_lsxssp where id = ?", {a}), "126|126");

    // A production receipt; a line of quantity 0 divides nothing.
    RunSql(db(), "delete from jxc_lsxssp");
    InsertRow(db(), "jxc_scrkd", {{"gl_djh", "SC25031410001"}, {"ck_sn", "100001"}, {"u_sn", "100001"},
                                  {"sc_note", "车间完工"}, {"sc_status", 0}});
    InsertRow(db(), "jxc_scrksp", {{"gl_djh", "SC25031410001"}, {"g_sn", kA}, {"sc_sl", 6.0}, {"sc_dj", 1.8},
                                   {"sc_zje", 10.8}});
    const CopiedReceipt made = rules().copyReceipt(context, "SC25031410001");
    EXPECT_EQ(lines("ls_dj, ls_zje, ls_cbj, ls_cbj2, ls_zcb, idck"), "3.5|21|1.8|1.8|10.8|0");
    EXPECT_EQ(made.note, "车间完工");

    RunSql(db(), "delete from jxc_lsxssp");
    InsertRow(db(), "jxc_jhsp", {{"gl_djh", "CJ25031410009"}, {"g_sn", kB}, {"jh_sl", 0.0}, {"jh_zsl", 0.0},
                                 {"jh_dj", 2.5}, {"jh_zje", 0.0}, {"jh_dzl", 1.0}, {"jh_tax", 0.0}});
    const CopiedReceipt headless = rules().copyReceipt(context, "CJ25031410009");
    EXPECT_TRUE(headless.result.done());
    EXPECT_FALSE(headless.headerFound);
    EXPECT_EQ(lines("g_zhxs, ls_cbj2"), "1|2.5");
}

TEST_F(SaleEntryTest, TheDueCountsEveryOperatorAndGiftsButNotTheAdjustment)
{
    line(kA, 1, 3.5);
    line(kB, 1, 3, "admin", {{"t_zp", "(赠品)"}});
    line("00000000", 1, -2);
    line(kB, 1, 10, "op2");
    EXPECT_DOUBLE_EQ(rules().due(kSaleNumber), 16.5);
    EXPECT_DOUBLE_EQ(rules().receivedAfterChange(16.5, 10), 16.5);
    state.SalePaidDefault = "1";
    EXPECT_DOUBLE_EQ(rules().receivedAfterChange(16.5, 10), 10);
}

TEST_F(SaleEntryTest, ADatabaseErrorWritesNothingAndSaysSo)
{
    InjectStatementFailure(db(), 3);
    EXPECT_EQ(scan("6901").status, SaleStatus::Failed);
    EXPECT_TRUE(notices.last().startsWith("添加商品失败：")) << notices.last().toStdString();
    InjectStatementFailure(db(), 0);
    EXPECT_EQ(lines("id"), "");
    EXPECT_EQ(linesChanged, 0);
}

} // namespace
