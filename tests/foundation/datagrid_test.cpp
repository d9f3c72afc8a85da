// The data grid: footers over the whole filtered result, literal filters, sorting in the
// database, editing through the commit hook, selection order and current-row signals.

#include "gridfixture.h"
#include "../support/testdb.h"

#include "foundation/db/numbers.h"
#include "foundation/db/transaction.h"
#include "screenkit/numberdisplay.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QSignalSpy>

namespace {

class DataGridTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        CreateGoodsFixture(db());
        SetUpGoodsGrid(grid, db());
        grid.resize(700, 300);
    }
    void TearDown() override
    {
        holder.reset();  // the grid's queries end before the account set goes
        DbTest::TearDown();
    }
    std::unique_ptr<DataGrid> holder = std::make_unique<DataGrid>();
    DataGrid &grid = *holder;
};

TEST(NumberDisplay, FormatsOfTheSystem)
{
    struct Case
    {
        double value;
        const char *format;
        const char *shown;
    };
    const Case cases[] = {
        {1234.5, "￥,0.00;-￥,0.00", "￥1,234.50"},
        {-1234.5, "￥,0.00;-￥,0.00", "-￥1,234.50"},
        {1234, "#,0;-#,0", "1,234"},
        {-0.5, "#0.00;-#.00", "-.50"},
        {-0.5, "#0.000;-#.000", "-.500"},
        {0.5, "#0.000;-#.000", "0.500"},
        {0, "#;-#", ""},
        {0, "#0;-#0", "0"},
        {2.005, "0.00;-0.00", "2.01"},     // half away from zero on the decimal value
        {-2.005, "0.00;-0.00", "-2.01"},
        {1249.25, "#,0.00;-#,0.00", "1,249.25"},
        {1234567.891, "#,0.00;-#,0.00", "1,234,567.89"},
        {15, "#0.00;-#.00", "15.00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.format);
        EXPECT_EQ(DisplayNumber(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.shown));
    }
}

TEST_F(DataGridTest, FootersCoverEveryRowAndFollowTheFilter)
{
    EXPECT_EQ(GridIds(grid), (QList<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(grid.footerText("g_kc"), "15.00");
    EXPECT_EQ(grid.footerText("g_jj"), "1,249.25");
    EXPECT_EQ(grid.footerText("g_sn"), "记录数：5");
    EXPECT_EQ(grid.model()->displayText(3, "g_jj"), "￥1,234.50");
    EXPECT_EQ(grid.model()->displayText(2, "g_kc"), "-.50");
    EXPECT_EQ(grid.value(4, "g_sn").toString(), "00000001");  // text stays text

    struct Case
    {
        const char *text;
        QList<int> ids;
        const char *qty, *amount, *count;
    };
    const Case cases[] = {
        {"ab", {4, 3}, "-.50", "7.00", "记录数：2"},
        {"AB", {4, 3}, "-.50", "7.00", "记录数：2"},
        {"%", {5, 4}, "3.00", "9.25", "记录数：2"},
        {"_", {3}, "-.50", "0.00", "记录数：1"},
        {"", {5, 4, 3, 2, 1}, "15.00", "1,249.25", "记录数：5"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        grid.setFilter(GridFilter::contains({"g_name", "g_jm"}, QString::fromUtf8(c.text)));
        EXPECT_EQ(GridIds(grid), c.ids);
        EXPECT_EQ(grid.footerText("g_kc"), c.qty);
        EXPECT_EQ(grid.footerText("g_jj"), c.amount);
        EXPECT_EQ(grid.footerText("g_sn"), QString::fromUtf8(c.count));
    }
    // Control characters typed into the filter are dropped before binding (a NUL would break
    // the statement on PostgreSQL); the backslash is matched literally.
    grid.setFilter(GridFilter::contains({"g_name", "g_jm"}, QStringLiteral("a") + QChar(0) + QStringLiteral("b\x01\n")));
    EXPECT_EQ(GridIds(grid), (QList<int>{4, 3}));
    grid.setFilter(GridFilter::contains({"g_name", "g_jm"}, QString(QChar(0))));
    EXPECT_EQ(GridIds(grid), (QList<int>{5, 4, 3, 2, 1}));
    grid.setFilter(GridFilter::contains({"g_name"}, QStringLiteral("\\")));
    EXPECT_EQ(GridIds(grid), QList<int>{});
    grid.setFilter(GridFilter::prefix("g_sn", "1000"));
    EXPECT_EQ(GridIds(grid), (QList<int>{5, 4, 3}));
}

// Terms filters: each term "one of these texts in one of these fields", joined by AND or OR;
// the statement grid and the row-set grid agree, footers follow.
TEST_F(DataGridTest, TermsJoinByAndOrOrOnBothKindsOfModel)
{
    using Term = GridFilter::Term;
    struct Case
    {
        const char *name;
        GridFilter filter;
        QList<int> ids;
    };
    const Case cases[] = {
        {"one term, several texts", GridFilter::allOf({Term{{"g_name"}, {"苹果", "香蕉"}}}), {2, 1}},
        {"and", GridFilter::allOf({Term{{"g_name", "g_jm"}, {"ab"}}, Term{{"g_sn"}, {"0002"}}}), {4}},
        {"or", GridFilter::anyOf({Term{{"g_name"}, {"苹果"}}, Term{{"g_jm"}, {"abd"}}}), {4, 1}},
        {"literal %", GridFilter::allOf({Term{{"g_name"}, {"%"}}}), {5, 4}},
        {"number column as text", GridFilter::allOf({Term{{"g_kc"}, {"2.5"}}}), {2}},
        {"empty texts filter nothing", GridFilter::allOf({Term{{"g_name"}, {"", ""}}}), {5, 4, 3, 2, 1}},
        {"no match", GridFilter::allOf({Term{{"g_name"}, {"苹果"}}, Term{{"g_jm"}, {"XJ"}}}), {}},
        {"or of nothing matching", GridFilter::anyOf({Term{{"g_name"}, {"zzz"}}}), {}},
    };
    auto *rows = new RowSetModel;
    rows->setColumns(GoodsColumns());
    QVector<QVector<QVariant>> data;
    for (int id : {5, 4, 3, 2, 1})
        data << QVector<QVariant>{id, grid.value(5 - id, "g_sn"), grid.value(5 - id, "g_name"),
                                  grid.value(5 - id, "g_jm"), grid.value(5 - id, "g_kc"), grid.value(5 - id, "g_jj")};
    rows->setRows(data);
    DataGrid other;
    other.setModel(rows);
    other.setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.filter.kind == GridFilter::Kind::None, c.ids.size() == 5);
        grid.setFilter(c.filter);
        EXPECT_EQ(GridIds(grid), c.ids);
        EXPECT_EQ(grid.footerText("g_sn"), QStringLiteral("记录数：%1").arg(c.ids.size()));
        other.setFilter(c.filter);
        EXPECT_EQ(GridIds(other), c.ids);
        EXPECT_EQ(other.footerText("g_sn"), QStringLiteral("记录数：%1").arg(c.ids.size()));
    }
}

TEST_F(DataGridTest, HeaderClicksSortInTheDatabaseAndCtrlClickRemovesTheSort)
{
    QHeaderView *header = grid.view()->horizontalHeader();
    const int sn = grid.model()->columnOf("g_sn");
    const int kc = grid.model()->columnOf("g_kc");
    Q_EMIT header->sectionClicked(sn);
    EXPECT_EQ(GridIds(grid), (QList<int>{1, 2, 3, 4, 5}));
    Q_EMIT header->sectionClicked(kc);
    Q_EMIT header->sectionClicked(kc);  // again: descending
    EXPECT_EQ(GridIds(grid), (QList<int>{1, 5, 2, 4, 3}));
    grid.clearSort();
    EXPECT_EQ(GridIds(grid), (QList<int>{5, 4, 3, 2, 1}));
    EXPECT_EQ(grid.footerText("g_kc"), "15.00");
    EXPECT_EQ(grid.footerText("g_jj"), "1,249.25");
}

TEST_F(DataGridTest, SortByAnExpressionAndKeepTheCurrentKey)
{
    grid.model()->column("g_jm").sortExpression = QStringLiteral("t.g_kc * -1");
    static_cast<SqlGridModel *>(grid.model())->setStatement(QStringLiteral("select t.id, t.g_sn, t.g_name, t.g_jm, t.g_kc, t.g_jj from t_goods t"),
                               QStringLiteral("t.id desc"));
    grid.reload(ReloadTarget::First);
    ASSERT_TRUE(grid.locate("id", 2));
    grid.sortBy("g_jm");
    EXPECT_EQ(GridIds(grid), (QList<int>{1, 5, 2, 4, 3}));
    EXPECT_EQ(grid.currentValue("id").toInt(), 2);
    // With a filter the statement is read as a subquery; the qualifier is dropped.
    grid.setFilter(GridFilter::contains({"g_name"}, "a"));
    EXPECT_EQ(GridIds(grid), (QList<int>{4, 3}));
}

TEST_F(DataGridTest, LocateAndBlocksOnlyReadWhatIsShown)
{
    auto *model = static_cast<SqlGridModel *>(grid.model());
    model->setBlockSize(2);
    grid.reload(ReloadTarget::First);
    EXPECT_EQ(grid.rowCount(), 5);
    const int before = model->blocksRead();
    EXPECT_TRUE(grid.locate("g_sn", "00000002"));
    EXPECT_EQ(grid.currentRow(), 3);
    EXPECT_FALSE(grid.locate("g_sn", "nosuch"));
    grid.goLast();
    EXPECT_EQ(grid.currentValue("id").toInt(), 1);
    EXPECT_LE(model->blocksRead() - before, 2);
}

// 5,000 rows whose ids were entered out of order, a number column of thirteen values (with
// decimals a double cannot hold exactly) and a text column of five, both with NULLs.
class KeysetPagingTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        const Dialect d = Dialect::of(db());
        RunSql(db(), QStringLiteral("create table t_keyset (%1, g_sn %2, g_name %2, g_kc %3)")
                         .arg(d.idColumn(), d.columnType(ColType::Varchar, 32), d.columnType(ColType::Numeric, 0)));
        Transaction tx(db());
        for (int i = 0; i < kRows; ++i) {
            const int id = (i * 37) % kRows + 1;
            RunSql(db(), QStringLiteral("insert into t_keyset (id, g_sn, g_name, g_kc) values (?, ?, ?, ?)"),
                   {id, QStringLiteral("%1").arg(id, 6, 10, QLatin1Char('0')),
                    id % 9 == 0 ? QVariant() : QVariant(QStringLiteral("类%1").arg(id % 5)),
                    id % 11 == 0 ? QVariant() : QVariant(QStringLiteral("%1.3").arg(id % 13))});
        }
        tx.commit();
        model = std::make_unique<SqlGridModel>(db());
        model->setColumns({GridColumn{QStringLiteral("id"), QStringLiteral("ID"), 40, ColumnKind::Integer},
                           GridColumn{QStringLiteral("g_sn"), QStringLiteral("编号"), 80},
                           GridColumn{QStringLiteral("g_name"), QStringLiteral("名称"), 80},
                           GridColumn{QStringLiteral("g_kc"), QStringLiteral("数量"), 80, ColumnKind::Quantity}});
        model->setStatement(QStringLiteral("select t.id, t.g_sn, t.g_name, t.g_kc from t_keyset t"),
                            QStringLiteral("t.id desc"));
        model->setBlockSize(97);
        model->reload();
    }
    void TearDown() override
    {
        model.reset();
        DbTest::TearDown();
    }

    QList<int> expected(const QString &where, const QString &order) const
    {
        QList<int> ids;
        ForEachRow(db(), QStringLiteral("select id from t_keyset ") + where + QStringLiteral(" order by ") + order, {},
                   [&](const QSqlQuery &q) { ids << q.value(0).toInt(); });
        return ids;
    }
    QList<int> scrolledDown() const
    {
        QList<int> ids;
        for (int r = 0; r < model->rowCount(); ++r)
            ids << model->value(r, QStringLiteral("id")).toInt();
        return ids;
    }
    QList<int> scrolledUpFromTheEnd() const
    {
        QList<int> ids;
        for (int r = model->rowCount() - 1; r >= 0; --r)
            ids.prepend(model->value(r, QStringLiteral("id")).toInt());
        return ids;
    }

    static constexpr int kRows = 5000;
    std::unique_ptr<SqlGridModel> model;
};

TEST_F(KeysetPagingTest, ScrollingEitherWayShowsEveryRowOnceInTheOrderOfOneSelect)
{
    struct Case
    {
        const char *sortField;
        Qt::SortOrder order;
        const char *filter;      // contains-filter on g_sn, empty: none
        const char *reference;   // order by of the reference select
        const char *where;
    };
    const Case cases[] = {
        {"", Qt::AscendingOrder, "", "id desc", ""},
        {"g_kc", Qt::AscendingOrder, "", "g_kc asc, id asc", ""},
        {"g_kc", Qt::DescendingOrder, "", "g_kc desc, id desc", ""},
        {"g_name", Qt::AscendingOrder, "", "g_name asc, id asc", ""},
        {"g_kc", Qt::DescendingOrder, "7", "g_kc desc, id desc", "where g_sn like '%7%'"},
        {"g_name", Qt::DescendingOrder, "7", "g_name desc, id desc", "where g_sn like '%7%'"},
        {"g_kc", Qt::AscendingOrder, "7", "g_kc asc, id asc", "where g_sn like '%7%'"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.sortField) + " " + c.reference + " " + c.where);
        model->setFilter(*c.filter ? GridFilter::contains({QStringLiteral("g_sn")}, QString::fromLatin1(c.filter))
                                   : GridFilter());
        model->setSort(QString::fromLatin1(c.sortField), c.order);  // reloads
        const QList<int> want = expected(QString::fromLatin1(c.where), QString::fromLatin1(c.reference));
        ASSERT_EQ(model->rowCount(), want.size());
        EXPECT_EQ(scrolledDown(), want);
        EXPECT_EQ(model->blocksReadByOffset(), 0);
        EXPECT_EQ(model->blocksRead(), (want.size() + 96) / 97);

        model->reload();  // jump to the end first: the last block is read backwards
        const QVariant last = model->value(model->rowCount() - 1, QStringLiteral("id"));
        EXPECT_EQ(model->blocksRead(), 1);
        EXPECT_EQ(last.toInt(), want.last());
        EXPECT_EQ(scrolledUpFromTheEnd(), want);
        EXPECT_EQ(model->blocksReadByOffset(), 0);
    }
}

TEST_F(KeysetPagingTest, SortExpressionsAndJumpsToTheMiddle)
{
    model->column(QStringLiteral("g_sn")).sortExpression = QStringLiteral("t.g_kc * -1");
    model->setSort(QStringLiteral("g_sn"), Qt::AscendingOrder);
    const QList<int> want = expected(QString(), QStringLiteral("g_kc * -1 asc, id asc"));
    EXPECT_EQ(scrolledDown(), want);
    EXPECT_EQ(model->blocksReadByOffset(), 0);

    model->setFilter(GridFilter::contains({QStringLiteral("g_sn")}, QStringLiteral("3")));
    EXPECT_EQ(scrolledUpFromTheEnd(), expected(QStringLiteral("where g_sn like '%3%'"), QStringLiteral("g_kc * -1 asc, id asc")));
    EXPECT_EQ(model->blocksReadByOffset(), 0);

    // A jump far from every block read so far reads that block by its offset, and its
    // neighbours by key from there.
    model->setFilter(GridFilter());
    EXPECT_EQ(model->value(2500, QStringLiteral("id")).toInt(), want.at(2500));
    EXPECT_EQ(model->blocksReadByOffset(), 1);
    for (int r = 2400; r < 2700; ++r)
        ASSERT_EQ(model->value(r, QStringLiteral("id")).toInt(), want.at(r)) << r;
    EXPECT_EQ(model->blocksReadByOffset(), 1);
}

TEST_F(DataGridTest, SelectedRowsComeInTheOperatorsOrder)
{
    grid.show();
    QTableView *view = grid.view();
    auto rowOf = [&](int id) { return grid.model()->locate("id", id); };
    auto click = [&](int row, Qt::KeyboardModifiers mods) {
        const QRect r = view->visualRect(grid.model()->index(row, grid.model()->columnOf("g_name")));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, r.center());
    };
    click(rowOf(5), Qt::NoModifier);
    click(rowOf(2), Qt::ControlModifier);
    click(rowOf(4), Qt::ControlModifier);
    EXPECT_EQ(grid.selectedKeys(), (QVariantList{5LL, 2LL, 4LL}));

    click(1, Qt::NoModifier);
    click(3, Qt::ShiftModifier);
    EXPECT_EQ(grid.selectedRows(), (QList<int>{1, 2, 3}));
}

TEST_F(DataGridTest, CurrentRowSignalOnRowMovesOnly)
{
    grid.show();
    QSignalSpy spy(&grid, &DataGrid::currentRowChanged);
    grid.view()->setFocus();
    QTest::keyClick(grid.view(), Qt::Key_Down);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.last().at(0).toInt(), 1);
    QTest::keyClick(grid.view(), Qt::Key_Right);
    EXPECT_EQ(spy.count(), 1);
    QTest::keyClick(grid.view(), Qt::Key_PageDown);
    EXPECT_EQ(spy.count(), 2);
    QTest::keyClick(grid.view(), Qt::Key_Home);
    EXPECT_EQ(grid.currentRow(), 0);
    QTest::keyClick(grid.view(), Qt::Key_End);
    EXPECT_EQ(grid.currentRow(), 4);
    grid.setCurrentRow(2);
    EXPECT_EQ(spy.last().at(0).toInt(), 2);
    const int signals = int(spy.count());
    grid.reload();  // same key, same row: nothing to load again
    EXPECT_EQ(grid.currentValue("id").toInt(), 3);
    EXPECT_EQ(spy.count(), signals);
}

// ---- Editing ----------------------------------------------------------------------------------

class GridEditTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        const Dialect d = Dialect::of(db());
        RunSql(db(), QStringLiteral("create table t_lines (%1, dj %2, sl %2, je %2)")
                         .arg(d.idColumn(), d.columnType(ColType::Numeric, 0)));
        RunSql(db(), "insert into t_lines (id, dj, sl, je) values (1, 5, 10, 50), (2, 7, 10, 70)");
        auto *model = new SqlGridModel(db());
        GridColumn id{"id", "ID", 40, ColumnKind::Integer};
        id.visible = false;
        GridColumn dj{"dj", "单价", 80, ColumnKind::Money, "0.00;-0.00"};
        GridColumn sl{"sl", "数量", 80, ColumnKind::Quantity, "#0.00;-#.00"};
        sl.editable = true;
        GridColumn je{"je", "总金额", 80, ColumnKind::Money, "0.00;-0.00"};
        je.editable = true;
        je.focusable = false;
        model->setColumns({id, dj, sl, je});
        model->setStatement("select id, dj, sl, je from t_lines", "id");
        grid.setModel(model);
        grid.reload(ReloadTarget::First);
        grid.setFooter("sl", FooterKind::Sum);
        grid.setFooter("je", FooterKind::Sum, QString(), "#,0.00;-#,0.00");
        // The demo document's rule: quantity as typed (empty means 1), total = price × quantity.
        grid.setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
            calls << QStringLiteral("%1|%2|%3").arg(key.toString(), field, text);
            const double qty = text.isEmpty() ? 1 : TextToNumber(text);
            RunSql(db(), "update t_lines set sl = ?, je = dj * ? where id = ?", {qty, qty, key});
        });
        grid.resize(500, 200);
        grid.show();
        grid.view()->setFocus();
    }
    void TearDown() override
    {
        holder.reset();
        DbTest::TearDown();
    }
    void editCell(int id, const QString &field)
    {
        grid.locate("id", id);
        grid.view()->setCurrentIndex(grid.model()->index(grid.currentRow(), grid.model()->columnOf(field)));
    }
    std::unique_ptr<DataGrid> holder = std::make_unique<DataGrid>();
    DataGrid &grid = *holder;
    QStringList calls;
};

TEST_F(GridEditTest, TypedValueGoesToTheHookOnceThenTheGridReloads)
{
    editCell(2, "sl");
    TypeIntoGrid(grid, "12");
    KeyIntoGrid(grid, Qt::Key_Return);
    EXPECT_EQ(calls, QStringList{"2|sl|12"});
    EXPECT_EQ(grid.footerText("sl"), "22.00");
    EXPECT_EQ(grid.footerText("je"), "134.00");
    EXPECT_EQ(grid.currentValue("id").toInt(), 2);
    EXPECT_FALSE(grid.isEditing());

    // Cleared text is handed over as empty: the rule decides what it means.
    calls.clear();
    editCell(1, "sl");
    grid.view()->edit(grid.view()->currentIndex());
    auto *editor = grid.view()->findChild<QLineEdit *>("gridEditor");
    ASSERT_NE(editor, nullptr);
    editor->clear();
    KeyIntoGrid(grid, Qt::Key_Return);
    EXPECT_EQ(calls, QStringList{"1|sl|"});
    EXPECT_EQ(grid.footerText("sl"), "13.00");
    EXPECT_EQ(grid.footerText("je"), "89.00");
}

TEST_F(GridEditTest, EscCancelsOnlyTheEdit)
{
    editCell(2, "sl");
    TypeIntoGrid(grid, "99");
    KeyIntoGrid(grid, Qt::Key_Escape);
    EXPECT_TRUE(calls.isEmpty());
    EXPECT_FALSE(grid.isEditing());
    EXPECT_TRUE(grid.isVisible());
    EXPECT_EQ(grid.footerText("sl"), "20.00");
}

TEST_F(GridEditTest, EnterMovesToTheNextFocusableEditableCellThenTheNextRow)
{
    editCell(1, "sl");
    TypeIntoGrid(grid, "3");
    KeyIntoGrid(grid, Qt::Key_Return);
    // 总金额 is editable but not focusable: the next stop is the next row's 数量.
    EXPECT_EQ(grid.currentValue("id").toInt(), 2);
    EXPECT_EQ(grid.view()->currentIndex().column(), grid.model()->columnOf("sl"));
    // Up confirms and moves.
    TypeIntoGrid(grid, "4");
    KeyIntoGrid(grid, Qt::Key_Up);
    EXPECT_EQ(calls, (QStringList{"1|sl|3", "2|sl|4"}));
    EXPECT_EQ(grid.currentValue("id").toInt(), 1);
}

TEST_F(GridEditTest, EditorTakesTheColumnsDecimalsAndOneMinus)
{
    editCell(1, "sl");
    TypeIntoGrid(grid, "-1.234");
    auto *editor = grid.view()->findChild<QLineEdit *>("gridEditor");
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), "-1.23");
    EXPECT_TRUE(grid.confirmEdit());
    EXPECT_EQ(calls, QStringList{"1|sl|-1.23"});
}

TEST_F(GridEditTest, ReadOnlyCellsNeverOpenAnEditor)
{
    editCell(1, "dj");
    TypeIntoGrid(grid, "9");
    EXPECT_FALSE(grid.isEditing());
    EXPECT_TRUE(calls.isEmpty());
}

} // namespace
