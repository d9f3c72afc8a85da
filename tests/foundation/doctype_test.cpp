// Rules every document type shares: line arithmetic, draft lines per operator, numbering and
// renumbering, baskets. Run on both dialects.

#include "demodoc.h"
#include "../support/testdb.h"

#include "foundation/basket.h"
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
