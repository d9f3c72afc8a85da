// Rules every document type shares: line arithmetic, draft lines per operator, numbering and
// renumbering, baskets. Run on both dialects.

#include "demodoc.h"
#include "../support/testdb.h"

#include "foundation/basket.h"
#include "foundation/db/numbers.h"
#include "foundation/draftlines.h"
#include "foundation/linemath.h"

#include <gtest/gtest.h>

namespace {

TEST(LineMath, AmountsRoundHalfAwayAndTypedQuantities)
{
    struct Case
    {
        double price, quantity;
        int decimals;
        double amount;
    };
    const Case cases[] = {
        {5.0, 10.0, 2, 50.0}, {1.005, 1.0, 2, 1.01}, {0.125, 1.0, 2, 0.13},
        {2.675, 1.0, 2, 2.68}, {3.3333, 3.0, 2, 10.0}, {19.99, 0.5, 0, 10.0},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(LineAmount(c.price, c.quantity, c.decimals), c.amount) << c.price << " x " << c.quantity;
    EXPECT_DOUBLE_EQ(PriceFromAmount(50.0, 4.0, 2, 9.0), 12.5);
    EXPECT_DOUBLE_EQ(PriceFromAmount(50.0, 0.0, 2, 9.0), 9.0);  // no division by zero
    EXPECT_DOUBLE_EQ(QuantityFromText("", 1.0), 1.0);
    EXPECT_DOUBLE_EQ(QuantityFromText(" 12 ", 1.0), 12.0);
    EXPECT_DOUBLE_EQ(QuantityFromText("abc", 1.0), 0.0);
}

TEST(DocTypeCheck, UnknownNamesAreRefusedBeforeAnyStatement)
{
    DocType good = DemoDocType();
    EXPECT_NO_THROW(good.check());
    for (auto breakIt : std::initializer_list<void (*)(DocType &)>{
             [](DocType &t) { t.linesTable = "jxc_bssp; drop table jxc_goods"; },
             [](DocType &t) { t.quantityField = "no_such"; },
             [](DocType &t) { t.headerTable = "t_nothing"; },
             [](DocType &t) { t.prefix = "dm"; },
             [](DocType &t) { t.basketTable = "jxc_goods"; },
         }) {
        DocType t = good;
        breakIt(t);
        EXPECT_THROW(t.check(), std::invalid_argument);
    }
}

class DraftLinesTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        AddDemoGoods(db());
    }
    LoginState wang = DemoLogin("wang");
    LoginState li = DemoLogin("li");
};

TEST_F(DraftLinesTest, LinesBelongToTheOperatorAndTheNumber)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    const QString number = mine.newNumber("2024-03-05");
    EXPECT_EQ(number, "DM24030510001");
    const qint64 first = mine.addLine(number, "00000001", 10, 5);
    mine.addLine(number, "00000002", 10, 7);
    theirs.addLine(number, "00000001", 3, 5);
    mine.addLine("DM24030510002", "00000001", 1, 1);

    const DraftTotals t = mine.totals(number);
    EXPECT_EQ(t.lines, 2);
    EXPECT_DOUBLE_EQ(t.quantity, 20);
    EXPECT_DOUBLE_EQ(t.amount, 120);

    EXPECT_TRUE(mine.setQuantity(first, 12));
    EXPECT_DOUBLE_EQ(QueryScalar(db(), "select bs_zje from jxc_bssp where id = ?", {first}).toDouble(), 60);
    EXPECT_TRUE(mine.setPrice(first, 2.5));
    EXPECT_DOUBLE_EQ(QueryScalar(db(), "select bs_zje from jxc_bssp where id = ?", {first}).toDouble(), 30);
    // Another operator cannot change or remove wang's line.
    EXPECT_FALSE(theirs.setQuantity(first, 1));
    EXPECT_FALSE(theirs.removeLine(first));

    // Discarding removes only wang's lines of this number.
    EXPECT_EQ(mine.discard(number), 2);
    EXPECT_EQ(theirs.count(number), 1);
    EXPECT_EQ(mine.count("DM24030510002"), 1);
}

TEST_F(DraftLinesTest, EntryStatementShowsOnlyTheOperatorsLinesInOrder)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    mine.addLine("DM24030510001", "00000002", 1, 7);
    theirs.addLine("DM24030510001", "00000001", 1, 5);
    mine.addLine("DM24030510001", "00000001", 2, 5);
    QSqlQuery q = OpenSelect(db(), mine.linesBody() + " order by " + mine.linesOrder(), mine.linesBinds("DM24030510001"));
    QStringList seen;
    while (q.next())
        seen << q.value("g_name").toString() + "/" + q.value("dw_name").toString() + "/" + ValueText(q.value("zje"));
    EXPECT_EQ(seen, (QStringList{"香蕉/把/7", "苹果/个/10"}));
    QSqlQuery all = OpenSelect(db(), mine.documentLinesBody(), {"DM24030510001"});
    int n = 0;
    while (all.next())
        ++n;
    EXPECT_EQ(n, 3);
}

TEST_F(DraftLinesTest, ANewDayRenumbersAndMovesOnlyTheOperatorsLines)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    SaveDemoHeader(db(), "DM24030910001", "zhao");
    const QString number = "DM24030510001";
    mine.addLine(number, "00000001", 1, 5);
    theirs.addLine(number, "00000001", 1, 5);

    EXPECT_EQ(mine.renumberForDay(number, "2024-03-05"), number);  // same day: kept
    const QString moved = mine.renumberForDay(number, "2024-03-09 12:00");
    EXPECT_EQ(moved, "DM24030910002");
    EXPECT_EQ(mine.count(moved), 1);
    EXPECT_EQ(mine.count(number), 0);
    EXPECT_EQ(theirs.count(number), 1);
}

// Redrawn on every exit of the date field: a header saved meanwhile under the number shown moves
// the draft on, a free number stays.
TEST_F(DraftLinesTest, RedrawingTheSameDayMovesOnPastASavedHeader)
{
    DraftLines mine(db(), DemoDocType(), wang);
    const QString number = "DM24030510001";
    mine.addLine(number, "00000001", 1, 5);
    EXPECT_EQ(mine.renumberForDay(number, "2024-03-05", DraftLines::SameDay::Redraw), number);
    SaveDemoHeader(db(), number, "li");
    EXPECT_EQ(mine.renumberForDay(number, "2024-03-05"), number);
    const QString moved = mine.renumberForDay(number, "2024-03-05", DraftLines::SameDay::Redraw);
    EXPECT_EQ(moved, "DM24030510002");
    EXPECT_EQ(mine.count(moved), 1);
}

TEST_F(DraftLinesTest, ClashingNumbersOnAddingAndSaving)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    const QString number = mine.newNumber("2024-03-05");
    ASSERT_EQ(theirs.newNumber("2024-03-05"), number);  // both screens show the same number

    // Nobody else uses it: kept.
    EXPECT_EQ(mine.numberForNewLines(number, "2024-03-05"), number);
    mine.addLine(number, "00000001", 1, 5);
    // li adds lines too: the number is wang's now, li gets the next one; wang's lines stay.
    const QString lisNumber = theirs.numberForNewLines(number, "2024-03-05");
    EXPECT_EQ(lisNumber, "DM24030510002");
    EXPECT_EQ(mine.count(number), 1);

    // At save the header table decides: a header under wang's number from elsewhere moves
    // wang's lines to a fresh number.
    theirs.addLine(lisNumber, "00000002", 1, 7);
    SaveDemoHeader(db(), number, "li");
    const QString saved = mine.numberForSave(number, "2024-03-05");
    EXPECT_EQ(saved, "DM24030510003");
    EXPECT_EQ(mine.count(saved), 1);
    EXPECT_EQ(mine.count(number), 0);
    // A free number stays.
    EXPECT_EQ(mine.numberForSave(saved, "2024-03-05"), saved);
}

TEST_F(DraftLinesTest, BasketIsPerOperatorAndCopiesInOneStep)
{
    Basket mine(db(), DemoDocType(), wang);
    Basket theirs(db(), DemoDocType(), li);
    theirs.add({{"00000001", 4, 5}});
    mine.add({{"00000002", 1, 7}, {"00000001", 2, 5.005}});
    EXPECT_EQ(mine.count(), 2);
    EXPECT_TRUE(mine.contains("00000001"));
    mine.clear();
    EXPECT_EQ(mine.count(), 0);
    EXPECT_EQ(theirs.count(), 1);

    mine.add({{"00000002", 1, 7}, {"00000001", 2, 5.005}, {"00000001", 1, 1}});
    const QString firstId = QueryScalar(db(), "select min(id) from jxc_tempspxf where a_name = 'wang'");
    EXPECT_TRUE(mine.setQuantity(firstId.toLongLong(), 3));
    EXPECT_FALSE(theirs.setQuantity(firstId.toLongLong(), 9));
    const QString lastId = QueryScalar(db(), "select max(id) from jxc_tempspxf where a_name = 'wang'");
    EXPECT_TRUE(mine.remove(lastId.toLongLong()));

    EXPECT_EQ(mine.copyInto("DM24030510001"), 2);
    EXPECT_EQ(mine.count(), 0);
    EXPECT_EQ(theirs.count(), 1);
    QSqlQuery q = OpenSelect(db(), "select g_sn, bs_sl, bs_dj, bs_zje, a_name from jxc_bssp where gl_djh = ? order by id",
                             {"DM24030510001"});
    QStringList rows;
    while (q.next())
        rows << QStringList{q.value(0).toString(), ValueText(q.value(1)), ValueText(q.value(2)), ValueText(q.value(3)),
                            q.value(4).toString()}
                    .join('|');
    EXPECT_EQ(rows, (QStringList{"00000002|3|7|21|wang", "00000001|2|5.005|10.01|wang"}));
}

TEST(BasketType, ATypeWithoutBasketIsRefused)
{
    DocType t = DemoDocType();
    t.basketTable.clear();
    LoginState s = DemoLogin();
    EXPECT_THROW(Basket(QSqlDatabase(), t, s), std::invalid_argument);
}

} // namespace

namespace {

// ---- Priced lines: tax, discount, cell edits ----------------------------------------------

QString Figures(const LineFigures &f)
{
    return QStringList{NumberText(f.price),  NumberText(f.quantity),  NumberText(f.tax),
                       NumberText(f.taxPrice), NumberText(f.discount), NumberText(f.amount),
                       NumberText(f.taxAmount), NumberText(f.total),  NumberText(f.baseQuantity)}
        .join('|');
}

TEST(PricedLineMath, CellEditsFollowTheRateAndRoundTypedPrices)
{
    // A scanned line: 2.35 × 1, rate 0.
    LineFigures scanned;
    scanned.price = scanned.taxPrice = scanned.amount = scanned.total = 2.35;
    scanned.quantity = scanned.baseQuantity = 1;
    const LineDecimals pd2{2, 2};
    struct Step
    {
        LineCell cell;
        const char *typed;
        double factor;
        const char *expected;  // dj|sl|tax|taxdj|dzl|je|taxje|zje|zsl
    };
    // One edit after the other, as an operator types them.
    const Step chain[] = {
        {LineCell::Price, "10", 1, "10|1|0|10|1|10|0|10|1"},
        {LineCell::Tax, "13", 1, "10|1|13|11.3|1|10|1.3|11.3|1"},
        {LineCell::Quantity, "3", 1, "10|3|13|11.3|1|30|3.9|33.9|3"},
        {LineCell::Discount, "0.85", 1, "10|3|13|11.3|0.85|25.5|3.32|28.82|3"},
        {LineCell::TaxPrice, "11.3", 1, "10|3|13|11.3|0.85|25.5|3.32|28.82|3"},
        {LineCell::Quantity, "2", 12, "10|2|13|11.3|0.85|17|2.21|19.21|24"},
    };
    LineFigures line = scanned;
    for (const Step &s : chain) {
        line = EditLineCell(line, s.cell, QString::fromUtf8(s.typed), s.factor, pd2);
        EXPECT_EQ(Figures(line), s.expected) << s.typed;
    }

    // Typed texts that count as 0 or 1, and a price rounded before it is used.
    struct Typed
    {
        LineCell cell;
        const char *typed;
        const char *expected;
    };
    const Typed typed[] = {
        {LineCell::Quantity, "", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
        {LineCell::Quantity, "0", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
        {LineCell::Quantity, "-2", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
        {LineCell::Discount, "", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
        {LineCell::Discount, "0", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
        {LineCell::Price, "-5", "0|1|0|0|1|0|0|0|1"},
        {LineCell::TaxPrice, "", "0|1|0|0|1|0|0|0|1"},
        {LineCell::Tax, "-3", "2.35|1|0|2.35|1|2.35|0|2.35|1"},
    };
    for (const Typed &t : typed)
        EXPECT_EQ(Figures(EditLineCell(scanned, t.cell, QString::fromUtf8(t.typed), 1, pd2)), t.expected) << t.typed;

    LineFigures six = scanned;
    six.quantity = six.baseQuantity = 6;
    EXPECT_EQ(Figures(EditLineCell(six, LineCell::Price, "8.333", 1, pd2)), "8.33|6|0|8.33|1|49.98|0|49.98|6");
    // Tax-inclusive price at rate 13.
    LineFigures taxed = scanned;
    taxed.tax = 13;
    EXPECT_EQ(EditLineCell(taxed, LineCell::TaxPrice, "11.3", 1, pd2).price, 10);
    // Amounts at 0 decimals (RoundTotals with TotalDecimals 0): 3 × 2.35 = 7.05 → 7.
    EXPECT_EQ(EditLineCell(scanned, LineCell::Quantity, "3", 1, {2, 0}).total, 7);
}

TEST(PricedLineMath, DialogAmountsScanningAndTheTwoPrices)
{
    EXPECT_NEAR(TaxInclusivePrice(10, 13), 11.3, 1e-12);
    EXPECT_NEAR(PriceExcludingTax(11.3, 13), 10, 1e-12);
    EXPECT_EQ(PriceExcludingTax(11.3, 0), 11.3);
    EXPECT_EQ(PriceExcludingTax(11.3, -5), 11.3);

    LineFigures l;
    l.price = 3.33;
    l.taxPrice = 3.33;
    l.quantity = 3;
    SetDialogAmounts(l, std::nullopt);
    EXPECT_NEAR(l.amount, 9.99, 1e-9);
    EXPECT_NEAR(l.taxAmount, 0, 1e-12);
    l.price = 1.01;
    l.taxPrice = 1.0;
    l.quantity = 2.5;
    SetDialogAmounts(l, 1);
    EXPECT_EQ(l.amount, 2.5);      // 2.525 → 2.5 at one decimal
    EXPECT_EQ(l.taxAmount, 0);     // −0.025 → −0.0
    EXPECT_NEAR(ReturnLineTotal(l, std::nullopt), 2.5, 1e-12);

    // A second scan: 2.35 → 4.7 unrounded, or at 0 decimals 2 then 5.
    LineFigures scan;
    scan.price = scan.taxPrice = 2.35;
    scan.quantity = scan.baseQuantity = 1;
    scan.amount = scan.total = 2.35;
    const LineFigures twice = AddOnePiece(scan, 12, std::nullopt);
    EXPECT_EQ(twice.quantity, 2);
    EXPECT_EQ(twice.baseQuantity, 13);
    EXPECT_NEAR(twice.amount, 4.7, 1e-12);
    EXPECT_NEAR(twice.total, 4.7, 1e-12);
    EXPECT_EQ(AddOnePiece(scan, 1, 0).total, 5);
    scan.tax = 13;
    scan.taxPrice = 2.66;
    EXPECT_NEAR(AddOnePiece(scan, 1, 2).total, 5.31, 1e-12);  // 2.35 × 1.13 × 2 = 5.311
    EXPECT_NEAR(AddOnePiece(scan, 1, 2).taxAmount, 0.62, 1e-12);
}

// ---- Draft lines written column by column, renumbering ------------------------------------

TEST_F(DraftLinesTest, LinesWrittenByColumnAreCheckedCutAndScoped)
{
    DraftLines mine(db(), PricedDemoDocType(), wang);
    DraftLines theirs(db(), PricedDemoDocType(), li);
    const qint64 id = mine.insertLine("DP24030510001", {{"g_sn", "00000001"},
                                                        {"th_sl", 2},
                                                        {"th_zje", 10},
                                                        {"th_bz", QString(80, QChar(u'注'))}});
    EXPECT_EQ(QueryScalar(db(), "select a_name from jxc_thsp where id = ?", {id}), "wang");
    EXPECT_EQ(QueryScalar(db(), "select th_bz from jxc_thsp where id = ?", {id}).size(), 64);
    EXPECT_THROW(mine.insertLine("DP24030510001", {{"no_such", 1}}), std::invalid_argument);
    EXPECT_THROW(mine.updateLine(id, {{"th_sl = 0, g_sn", 1}}), std::invalid_argument);

    // Another operator changes the line only as a line of the document (pending page).
    EXPECT_FALSE(theirs.updateLine(id, {{"th_sl", 5}}));
    EXPECT_FALSE(theirs.updateDocumentLine("DP24030510002", id, {{"th_sl", 5}}));
    EXPECT_TRUE(theirs.updateDocumentLine("DP24030510001", id, {{"th_sl", 5}, {"a_name", "li"}}));
    EXPECT_EQ(mine.readLine(id, {"th_sl", "a_name"}).value("a_name").toString(), "li");
    EXPECT_TRUE(mine.readLine(id + 100, {"th_sl"}).isEmpty());

    // The document's total: every operator's lines, the reserved goods left out.
    mine.insertLine("DP24030510001", {{"g_sn", "00000002"}, {"th_zje", 2.5}});
    mine.insertLine("DP24030510001", {{"g_sn", "00000000"}, {"th_zje", -5}});
    EXPECT_DOUBLE_EQ(mine.documentTotal("DP24030510001"), 12.5);
    EXPECT_DOUBLE_EQ(mine.documentTotal("DP24030510009"), 0);
}

TEST_F(DraftLinesTest, RenumberingCarriesTheOperatorsLinesAndSkipsTakenNumbers)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    // li already holds lines under the number that wang's screen shows: adding renumbers and
    // takes wang's earlier lines along.
    mine.addLine("DM24030510001", "00000001", 1, 5);
    theirs.addLine("DM24030510001", "00000002", 1, 7);
    const QString added = mine.numberForNewLines("DM24030510001", "2024-03-05");
    EXPECT_EQ(added, "DM24030510002");
    EXPECT_EQ(mine.count(added), 1);
    EXPECT_EQ(mine.count("DM24030510001"), 0);
    EXPECT_EQ(theirs.count("DM24030510001"), 1);

    // A new day whose next header number is held by another operator's lines takes the lines
    // table's next number.
    SaveDemoHeader(db(), "DM24030810001", "zhao");
    theirs.addLine("DM24030810002", "00000001", 1, 5);
    const QString moved = mine.renumberForDay(added, "2024-03-08");
    EXPECT_EQ(moved, "DM24030810003");
    EXPECT_EQ(mine.count(moved), 1);

    // Saving: a header anybody saved under the number (wang's own included) moves the lines.
    SaveDemoHeader(db(), moved, "wang");
    EXPECT_EQ(mine.numberForSave(moved, "2024-03-08"), moved);  // only other operators count
    const QString saved = mine.numberForSave(moved, "2024-03-08", QString(), DraftLines::Taken::AnyRow);
    EXPECT_EQ(saved, "DM24030810004");
    EXPECT_EQ(mine.count(saved), 1);
}

TEST_F(DraftLinesTest, AFailedMoveLeavesTheLinesWhereTheyWere)
{
    DraftLines mine(db(), DemoDocType(), wang);
    DraftLines theirs(db(), DemoDocType(), li);
    mine.addLine("DM24030510001", "00000001", 1, 5);
    theirs.addLine("DM24030510001", "00000002", 1, 7);
    for (int n = 1; n <= 8; ++n) {
        InjectStatementFailure(db(), n);
        try {
            mine.numberForNewLines("DM24030510001", "2024-03-05");
            InjectStatementFailure(db(), 0);
            mine.moveLines("DM24030510002", "DM24030510001");  // put back for the next round
        } catch (const DbError &) {
        }
        InjectStatementFailure(db(), 0);
        EXPECT_EQ(mine.count("DM24030510001"), 1) << n;
    }
}

// A type of plain lines copies its own basket columns; an extra of a copied column replaces it.
TEST_F(DraftLinesTest, PlainBasketCopiesItsColumnsAndExtrasReplaceThem)
{
    DocType type = DemoDocType();
    type.basketColumns = {{"ts_note", "bs_note"}, {"gl_djh2", "gl_djh2"}, {"idck", "idck"}};
    Basket mine(db(), type, wang);
    mine.addRow({{"g_sn", "00000001"}, {"ts_sl", 3}, {"ts_dj", 1.005}, {"ts_zje", 3.015}, {"ts_note", "破"},
                 {"gl_djh2", "CJ1"}, {"idck", 4}});
    EXPECT_EQ(mine.copyInto("DM24030510001",
                            [](const QVariantMap &b) {
                                return QVariantMap{{"bs_zje", RoundTo(b.value("ts_zje").toDouble(), 2)}};
                            }),
              1);
    QSqlQuery q = OpenSelect(db(), "select bs_sl, bs_dj, bs_zje, bs_note, gl_djh2, idck, a_name from jxc_bssp");
    ASSERT_TRUE(q.next());
    QStringList cells;
    for (int i = 0; i < 7; ++i)
        cells << ValueText(q.value(i));
    EXPECT_EQ(cells.join('|'), "3|1.005|3.02|破|CJ1|4|wang");
}

TEST_F(DraftLinesTest, PricedBasketCopiesRowByRowWithItsColumnsAndExtras)
{
    Basket mine(db(), PricedDemoDocType(), wang);
    DocType dropping = PricedDemoDocType();
    dropping.basketKeepsEmptyCodes = false;
    auto row = [](const char *goods, double sl, double dj, double dzl) {
        return QVariantMap{{"g_sn", goods},  {"ts_sl", sl},    {"ts_dj", dj},     {"ts_taxdj", dj * 1.13},
                           {"ts_tax", 13},   {"ts_dzl", dzl},  {"ts_zsl", sl * 2}, {"ts_je", sl * dj},
                           {"ts_zje", sl * dj * 1.13}, {"ts_taxje", sl * dj * 0.13}, {"dw_name", "箱"},
                           {"g_sptm", "690"}, {"ts_note", QString(100, QChar(u'n'))}, {"gl_djh2", "CJ1"},
                           {"idck", 7}};
    };
    mine.addRow(row("00000002", 1, 7, 1));
    mine.addRow(row("", 1, 1, 1));
    mine.addRow(row("00000001", 2, 5, 0));  // discount 0: hidden in the picker, still copied
    const qint64 third = mine.addRow(row("00000001", 3, 5, 1));
    EXPECT_TRUE(mine.updateRow(third, {{"ts_sl", 4}}));
    EXPECT_EQ(mine.readRow(third, {"ts_sl"}).value("ts_sl").toDouble(), 4);

    // The type keeps the empty code; extras come from the caller per row.
    EXPECT_EQ(mine.copyInto("DP24030510001",
                            [](const QVariantMap &b) { return QVariantMap{{"id2", int(b.value("ts_sl").toDouble() * 100)}}; }),
              4);
    EXPECT_EQ(mine.count(), 0);
    QSqlQuery q = OpenSelect(db(),
                             "select g_sn, th_sl, th_dj, th_dzl, th_tax, th_zsl, id2, dw_name, g_sptm, gl_djh2, idck, "
                             "th_bz, a_name from jxc_thsp where gl_djh = ? order by id",
                             {"DP24030510001"});
    QStringList rows;
    while (q.next()) {
        QStringList r;
        for (int i = 0; i < 11; ++i)
            r << ValueText(q.value(i));
        r << QString::number(q.value(11).toString().size()) << q.value(12).toString();
        rows << r.join('|');
    }
    EXPECT_EQ(rows, (QStringList{"00000002|1|7|1|13|2|100|箱|690|CJ1|7|64|wang", "|1|1|1|13|2|100|箱|690|CJ1|7|64|wang",
                                 "00000001|2|5|0|13|4|200|箱|690|CJ1|7|64|wang",
                                 "00000001|4|5|1|13|6|400|箱|690|CJ1|7|64|wang"}));

    // A type that drops empty codes.
    Basket dropper(db(), dropping, wang);
    dropper.addRow(row("", 1, 1, 1));
    dropper.addRow(row("00000002", 1, 7, 1));
    EXPECT_EQ(dropper.copyInto("DP24030510002"), 1);
    EXPECT_EQ(dropper.count(), 0);

    // A failure at any statement of the copy leaves the basket and the lines as they were.
    for (int n = 1; n <= 6; ++n) {
        dropper.addRow(row("00000001", 1, 5, 1));
        dropper.addRow(row("00000002", 2, 7, 1));
        InjectStatementFailure(db(), n);
        try {
            dropper.copyInto("DP24030510003");
        } catch (const DbError &) {
            EXPECT_EQ(dropper.count(), 2) << n;
            EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_thsp where gl_djh = 'DP24030510003'"), "0") << n;
        }
        InjectStatementFailure(db(), 0);
        dropper.clear();
        RunSql(db(), "delete from jxc_thsp where gl_djh = 'DP24030510003'");
    }
}

} // namespace
