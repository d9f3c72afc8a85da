// The purchase line arithmetic on stored lines: one cell-edit rule for the entry grid's draft
// lines, the pending documents' lines (with the header re-summed) and the basket rows; the
// received quantity that follows the quantity; units; rounding; atomicity.

#include "purchase_fixture.h"

#include "foundation/basket.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselinemath.h"

namespace {

struct CellCase
{
    LineCell cell;
    const char *typed;
    const char *expected;  // dj|taxdj|tax|sl|zsl|dzl|je|taxje|zje
};

// Applied one after the other to a scanned G1 line 2.35 × 1 at rate 0.
const CellCase kChain[] = {
    {LineCell::Price, "10", "10|10|0|1|1|1|10|0|10"},
    {LineCell::Tax, "13", "10|11.3|13|1|1|1|10|1.3|11.3"},
    {LineCell::Quantity, "3", "10|11.3|13|3|3|1|30|3.9|33.9"},
    {LineCell::Discount, "0.85", "10|11.3|13|3|3|0.85|25.5|3.32|28.82"},
};

// Applied to a fresh line each.
const CellCase kSingles[] = {
    {LineCell::Quantity, "", "2.35|2.35|0|1|1|1|2.35|0|2.35"},
    {LineCell::Quantity, "0", "2.35|2.35|0|1|1|1|2.35|0|2.35"},
    {LineCell::Quantity, "-2", "2.35|2.35|0|1|1|1|2.35|0|2.35"},
    {LineCell::Discount, "", "2.35|2.35|0|1|1|1|2.35|0|2.35"},
    {LineCell::Discount, "0", "2.35|2.35|0|1|1|1|2.35|0|2.35"},
    {LineCell::Price, "-5", "0|0|0|1|1|1|0|0|0"},
};

class PurchaseLineMathTest : public PurchaseRulesTest
{
protected:
    const QStringList jh{"jh_dj", "jh_taxdj", "jh_tax", "jh_sl", "jh_zsl", "jh_dzl", "jh_je", "jh_taxje", "jh_zje"};
    const QStringList ts{"ts_dj", "ts_taxdj", "ts_tax", "ts_sl", "ts_zsl", "ts_dzl", "ts_je", "ts_taxje", "ts_zje"};

    qint64 basketRow(const QString &goods, double quantity, double price, const QString &unit = QStringLiteral("瓶"))
    {
        return insert("jxc_tempspxf2", {{"g_sn", goods},       {"a_name", "admin"},   {"ts_sl", quantity},
                                        {"ts_zsl", quantity},  {"ts_dj", price},      {"ts_taxdj", price},
                                        {"ts_tax", 0.0},       {"ts_dzl", 1.0},       {"ts_je", quantity * price},
                                        {"ts_zje", quantity * price}, {"ts_taxje", 0.0}, {"dw_name", unit}});
    }
    bool edit(CellPlace place, qint64 id, LineCell cell, const char *typed, const QString &number = kFirstNumber,
              PurchaseKind kind = PurchaseKind::Receipt)
    {
        return EditPurchaseCell(db(), state, notices, kind, place, number, id, cell, QString::fromUtf8(typed));
    }
};

TEST_F(PurchaseLineMathTest, CellEditsOnDraftBasketAndPendingLinesFollowOneRule)
{
    struct Place
    {
        CellPlace place;
        const char *table;
    };
    for (const Place p : {Place{CellPlace::Draft, "jxc_jhsp"}, Place{CellPlace::Basket, "jxc_tempspxf2"},
                          Place{CellPlace::Pending, "jxc_jhsp"}}) {
        SCOPED_TRACE(p.table);
        const bool basket = p.place == CellPlace::Basket;
        const QStringList &columns = basket ? ts : jh;
        auto fresh = [&] { return basket ? basketRow(kG1, 1, 2.35) : draftLine(kFirstNumber, kG1, 1, 2.35); };
        // A pending line belongs to a saved, pending document.
        if (p.place == CellPlace::Pending)
            insert("jxc_jhd", {{"gl_djh", kFirstNumber}, {"j_status", 0}, {"j_jsfs", 1}});
        const qint64 id = fresh();
        for (const CellCase &c : kChain) {
            ASSERT_TRUE(edit(p.place, id, c.cell, c.typed)) << c.typed;
            EXPECT_EQ(row(p.table, columns, id), c.expected) << c.typed;
        }
        if (!basket)
            EXPECT_EQ(number("select jh_rksl from jxc_jhsp where id = ?", {id}), 3);
        for (const CellCase &c : kSingles) {
            const qint64 single = fresh();
            ASSERT_TRUE(edit(p.place, single, c.cell, c.typed));
            EXPECT_EQ(row(p.table, columns, single), c.expected) << c.typed;
        }
        // A typed price is rounded before it is used: 8.333 × 6 stores 8.33 and 49.98.
        const qint64 six = fresh();
        edit(p.place, six, LineCell::Quantity, "6");
        edit(p.place, six, LineCell::Price, "8.333");
        EXPECT_EQ(row(p.table, columns, six), "8.33|8.33|0|6|6|1|49.98|0|49.98");
        // The tax-inclusive price at rate 13 gives the price.
        const qint64 taxed = fresh();
        edit(p.place, taxed, LineCell::Tax, "13");
        edit(p.place, taxed, LineCell::TaxPrice, "11.3");
        EXPECT_EQ(row(p.table, QStringList{columns.at(0)}, taxed), "10");
        RunSql(db(), QStringLiteral("delete from %1").arg(p.table));
    }
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(PurchaseLineMathTest, TotalsRoundToTotalDecimalsAndQuantitiesFollowTheUnit)
{
    state.RoundTotals = "1";
    state.TotalDecimals = "0";
    const qint64 id = draftLine(kFirstNumber, kG1, 1, 2.35);
    edit(CellPlace::Draft, id, LineCell::Quantity, "3");
    EXPECT_EQ(row("jxc_jhsp", {"jh_je", "jh_zje"}, id), "7|7");

    // A line of G3 in 箱: 2 boxes are 24 bottles with auxiliary units on, 2 without.
    state.RoundTotals = "0";
    const qint64 box = insert("jxc_jhsp", {{"gl_djh", kFirstNumber}, {"g_sn", kG3}, {"a_name", "admin"}, {"jh_sl", 1.0},
                                           {"jh_zsl", 12.0}, {"jh_dj", 30.0}, {"jh_taxdj", 30.0}, {"jh_dzl", 1.0},
                                           {"jh_tax", 0.0}, {"dw_name", "箱"}});
    state.UseAuxUnits = "1";
    edit(CellPlace::Draft, box, LineCell::Quantity, "2");
    EXPECT_EQ(number("select jh_zsl from jxc_jhsp where id = ?", {box}), 24);
    state.UseAuxUnits = "0";
    edit(CellPlace::Draft, box, LineCell::Quantity, "2");
    EXPECT_EQ(number("select jh_zsl from jxc_jhsp where id = ?", {box}), 2);

    // Separate stock-in: the receipt's received quantity stays 0, the order's follows.
    state.SeparateStockIn = "1";
    edit(CellPlace::Draft, id, LineCell::Quantity, "5");
    EXPECT_EQ(number("select jh_rksl from jxc_jhsp where id = ?", {id}), 0);
    const qint64 order = draftLine("CD25031410001", kG1, 1, 2.35, "admin", "jxc_cgsp");
    edit(CellPlace::Draft, order, LineCell::Quantity, "5", "CD25031410001", PurchaseKind::Order);
    EXPECT_EQ(number("select jh_rksl from jxc_cgsp where id = ?", {order}), 5);
}

TEST_F(PurchaseLineMathTest, PendingLinesReSumTheirHeaderAndOthersLinesAreOutOfReach)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 5}}, {kG2, {1, 10}}});
    insert("jxc_jhsp", {{"gl_djh", kFirstNumber}, {"g_sn", "00000000"}, {"a_name", "admin"}, {"jh_zje", -2.0}, {"jh_sl", 0.0}});
    const qint64 first = scalar("select min(id) from jxc_jhsp where gl_djh = ?", {kFirstNumber}).toLongLong();
    // The pending page edits any operator's line of the document.
    RunSql(db(), "update jxc_jhsp set a_name = 'wang' where id = ?", {first});
    ASSERT_TRUE(edit(CellPlace::Pending, first, LineCell::Quantity, "4"));
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd where gl_djh = ?", {kFirstNumber}), "30|28");
    // Settled to payables with PurchasePaidDefault on: the paid amount stays.
    RunSql(db(), "update jxc_jhd set j_sfje = 7");
    state.PurchasePaidDefault = "1";
    edit(CellPlace::Pending, first, LineCell::Quantity, "1");
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd where gl_djh = ?", {kFirstNumber}), "15|7");
    // Settled by payment: both follow.
    RunSql(db(), "update jxc_jhd set j_jsfs = 0");
    edit(CellPlace::Pending, first, LineCell::Quantity, "2");
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd where gl_djh = ?", {kFirstNumber}), "20|18");

    // As a draft the line is wang's: admin cannot touch it, nor a line of another document.
    EXPECT_FALSE(edit(CellPlace::Draft, first, LineCell::Quantity, "9"));
    EXPECT_FALSE(edit(CellPlace::Pending, first, LineCell::Quantity, "9", "CJ25031410009"));
    EXPECT_EQ(number("select jh_sl from jxc_jhsp where id = ?", {first}), 2);
}

TEST_F(PurchaseLineMathTest, AFailedEditWritesNothingAndSaysSo)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 5}}});
    const qint64 id = scalar("select id from jxc_jhsp").toLongLong();
    const QString before = row("jxc_jhsp", jh, id) + "/" + rows("select j_yfje, j_sfje from jxc_jhd");
    for (int n = 1; n <= 4; ++n) {
        notices.shown.clear();
        InjectStatementFailure(db(), n);
        const bool written = edit(CellPlace::Pending, id, LineCell::Price, "9");
        InjectStatementFailure(db(), 0);
        if (written) {
            // Past the rule's statements: the edit went through whole.
            EXPECT_EQ(rows("select j_yfje from jxc_jhd"), "18");
            break;
        }
        ASSERT_EQ(notices.shown.size(), 1) << n;
        EXPECT_TRUE(notices.last().startsWith("修改商品失败：")) << n;
        EXPECT_EQ(row("jxc_jhsp", jh, id) + "/" + rows("select j_yfje, j_sfje from jxc_jhd"), before) << n;
    }
}

TEST(PurchaseCells, GridColumnsNameTheirCells)
{
    EXPECT_EQ(PurchaseCellOf("jh_dj"), LineCell::Price);
    EXPECT_EQ(PurchaseCellOf("ts_taxdj"), LineCell::TaxPrice);
    EXPECT_EQ(PurchaseCellOf("th_dzl"), LineCell::Discount);
    EXPECT_EQ(PurchaseCellOf("jh_sl"), LineCell::Quantity);
    EXPECT_EQ(PurchaseCellOf("ts_tax"), LineCell::Tax);
    EXPECT_FALSE(PurchaseCellOf("jh_zje").has_value());
    EXPECT_FALSE(PurchaseCellOf("g_name").has_value());
}

} // namespace
