// Editors, period bar, keyed lists, character filters, trees and the shared screen shapes.

#include "gridfixture.h"
#include "../support/testdb.h"

#include "foundation/db/clock.h"
#include "foundation/db/sqlroutines.h"
#include "screenkit/editors.h"
#include "screenkit/screenbase.h"
#include "screenkit/screengeometry.h"
#include "screenkit/screenshapes.h"
#include "screenkit/trees.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QVBoxLayout>

namespace {

TEST(MoneyEdit, SignalsOnlyRealChangesAndLinkedBoxesSettle)
{
    MoneyEdit box;
    QSignalSpy spy(&box, &MoneyEdit::valueChanged);
    box.setValue(5);
    box.setValue(5);
    EXPECT_EQ(spy.count(), 1);

    // b = 2a and a = b ÷ 2: one change each, then the chain ends.
    MoneyEdit a, b;
    int aChanges = 0, bChanges = 0;
    QObject::connect(&a, &MoneyEdit::valueChanged, [&](double v) { ++aChanges; b.setValue(v * 2); });
    QObject::connect(&b, &MoneyEdit::valueChanged, [&](double v) { ++bChanges; a.setValue(v / 2); });
    a.setValue(3);
    EXPECT_EQ(b.value(), 6);
    EXPECT_EQ(aChanges, 1);
    EXPECT_EQ(bChanges, 1);
}

TEST(MoneyEdit, TypingKeepsToTheDecimalsAndTheMinusOption)
{
    MoneyEdit box;
    box.setDecimals(2);
    box.setDisplayFormat("￥,0.00;-￥,0.00");
    EXPECT_EQ(box.maxLength(), 15);
    box.show();
    box.setFocus();
    QApplication::setActiveWindow(&box);
    box.clear();
    QTest::keyClicks(&box, "1.234");
    EXPECT_EQ(box.text(), "1.23");
    EXPECT_DOUBLE_EQ(box.value(), 1.23);
    box.setValue(1.23456);  // set by code: kept whole
    EXPECT_DOUBLE_EQ(box.value(), 1.23456);

    MoneyEdit qty;
    qty.setMinusIgnored(true);
    qty.show();
    qty.setFocus();
    QApplication::setActiveWindow(&qty);
    qty.clear();
    QSignalSpy edited(&qty, &MoneyEdit::edited);
    QTest::keyClicks(&qty, "-3");
    EXPECT_EQ(qty.text(), "3");
    EXPECT_DOUBLE_EQ(qty.value(), 3);
    EXPECT_EQ(edited.count(), 2);
    QTest::keyClick(&qty, Qt::Key_Backspace);
    EXPECT_DOUBLE_EQ(qty.value(), 0);  // empty reads 0

    QWidget other;
    other.show();
    box.setValue(-1234.5);
    box.clearFocus();
    QApplication::setActiveWindow(&other);
    EXPECT_EQ(box.text(), "-￥1,234.50");
}

TEST(DateEdits, FixedFormsAndDatePartOnly)
{
    DateEdit d;
    EXPECT_TRUE(d.setDateText("2024-03-09 10:20:30"));
    EXPECT_EQ(d.dateText(), "2024-03-09");
    EXPECT_TRUE(d.setDateText("2024-02-29"));
    EXPECT_FALSE(d.setDateText("09/03/2024"));
    EXPECT_FALSE(d.setDateText("2024-02-30"));
    EXPECT_EQ(d.dateText(), "2024-02-29");
    TimeEdit t;
    t.setTime(QTime(7, 5, 3));
    EXPECT_EQ(t.timeText(), "07:05:03");
}

TEST(DateEdits, ShowTheTimeOnlyWhenAsked)
{
    DateEdit d;
    d.setDateTime(QDateTime(QDate(2025, 3, 14), QTime(10, 30, 5)));
    EXPECT_EQ(d.text(), "2025-03-14");
    d.setShowsTime(true);
    EXPECT_EQ(d.text(), "2025-03-14 10:30:05");
    EXPECT_EQ(d.dateText(), "2025-03-14");
    d.setDate(QDate(2025, 3, 15));
    EXPECT_EQ(d.text(), "2025-03-15 10:30:05");
    d.setShowsTime(false);
    EXPECT_EQ(d.text(), "2025-03-15");
    EXPECT_EQ(d.date(), QDate(2025, 3, 15));
}

TEST(DateRangeBar, MenuPeriodsFromTheClock)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 5), QTime(10, 0)));
    DateRangeBar bar(clock);
    EXPECT_EQ(bar.startEdit()->dateText(), "2024-03-01");  // default: this month
    EXPECT_EQ(bar.endEdit()->dateText(), "2024-03-05");
    QStringList captions;
    for (QAction *a : bar.menu()->actions())
        captions << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(captions, (QStringList{"今天(&T)", "昨天(&U)", "前天(&V)", "-", "最近七天(&W)", "最近一月(&X)", "-",
                                     "本月(&Y)", "上月(&Z)", "所有时间(&A)"}));
    struct Case
    {
        const char *item;
        const char *from, *to;
    };
    const Case cases[] = {
        {"今天(&T)", "2024-03-05", "2024-03-05"},     {"昨天(&U)", "2024-03-04", "2024-03-04"},
        {"前天(&V)", "2024-03-03", "2024-03-03"},     {"最近七天(&W)", "2024-02-27", "2024-03-05"},
        {"最近一月(&X)", "2024-02-01", "2024-03-05"}, {"本月(&Y)", "2024-03-01", "2024-03-05"},
        {"上月(&Z)", "2024-02-01", "2024-02-29"},     {"所有时间(&A)", "2000-01-01", "9999-12-31"},
    };
    QSignalSpy chosen(&bar, &DateRangeBar::periodChosen);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.item);
        for (QAction *a : bar.menu()->actions()) {
            if (a->text() == QString::fromUtf8(c.item))
                a->trigger();
        }
        EXPECT_EQ(bar.startEdit()->dateText(), c.from);
        EXPECT_EQ(bar.endEdit()->dateText(), c.to);
    }
    EXPECT_EQ(chosen.count(), 8);
    EXPECT_EQ(bar.sqlStart(), "2000-01-01");
    EXPECT_EQ(bar.sqlEnd(), "9999-12-31 23:59:00");

    clock.set(QDateTime(QDate(2024, 1, 1), QTime(9, 0)));
    bar.choose(DateRangeBar::Period::PreviousMonth);
    EXPECT_EQ(bar.sqlStart(), "2023-12-01");
    EXPECT_EQ(bar.endEdit()->dateText(), "2023-12-31");
    bar.choose(DateRangeBar::Period::DayBefore);
    EXPECT_EQ(bar.startEdit()->dateText(), "2023-12-30");

    DateRangeBar timed(clock, true);
    timed.startTimeEdit()->setTime(QTime(8, 0));
    EXPECT_EQ(timed.sqlStart(), "2024-01-01 08:00:00");
    EXPECT_EQ(timed.sqlEnd(), "2024-01-01 23:59:59");
}

TEST(KeyedCombo, KeysBackAndNoSelectionIsEmpty)
{
    KeyedCombo combo;
    combo.addKeyed("所有仓库", "-1");
    combo.addKeyed("主仓库", "100001");
    combo.addKeyed("分仓", "100002");
    EXPECT_TRUE(combo.selectText("分仓"));
    EXPECT_EQ(combo.currentKey(), "100002");
    EXPECT_EQ(GetComboKey(&combo, combo.currentIndex()), "100002");
    EXPECT_EQ(GetTComboKey(&combo, 0), "-1");
    EXPECT_TRUE(combo.selectKey("100001"));
    EXPECT_EQ(combo.currentText(), "主仓库");
    EXPECT_FALSE(combo.selectKey("999"));
    EXPECT_FALSE(combo.selectText("无此仓库"));
    combo.setCurrentIndex(-1);
    EXPECT_EQ(combo.currentKey(), "");
    EXPECT_EQ(GetComboKey(&combo, 7), "");
    combo.clear();
    EXPECT_EQ(GetComboKey(&combo, 0), "");
}

TEST(CharFilter, TypedPastedAndVariants)
{
    struct Case
    {
        CharFilter kind;
        const char *typed;
        const char *kept;
    };
    const Case cases[] = {
        {CharFilter::Standard, "a'b%c!", "abc"},
        {CharFilter::Standard, "x(y", "x(y"},
        {CharFilter::StandardParen, "x(y", "xy"},
        {CharFilter::Standard, "[a]\\^@\"?=,&", "a"},
        {CharFilter::DigitsOnly, "138-0013 8000", "13800138000"},
        {CharFilter::UpperCase, "ab12Cd", "AB12CD"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        QLineEdit edit;
        InstallCharFilter(&edit, c.kind);
        edit.show();
        QTest::keyClicks(&edit, QString::fromUtf8(c.typed));
        EXPECT_EQ(edit.text(), QString::fromUtf8(c.kept));
    }
    QLineEdit pasted;
    InstallCharFilter(&pasted, CharFilter::Standard);
    QApplication::clipboard()->setText("p&q");
    pasted.paste();
    EXPECT_EQ(pasted.text(), "pq");
}

class TreeTest : public DbTest
{
};

TEST_F(TreeTest, GoodsClassesByKey)
{
    RunSql(db(), "insert into jxc_goodsclass (gc_name, gc_pid, gc_cid, gc_sn, gc_jm, gc_key) values "
                 "('饮料', 1, 3, '1001', 'YL', 3), ('果汁', 3, 4, '1002', 'GZ', 4)");
    QList<TreeRow> rows;
    QSqlQuery q = OpenSelect(db(), "select gc_key, gc_pid, gc_name, gc_sn, gc_cid from jxc_goodsclass order by gc_key");
    while (q.next())
        rows << TreeRow{ValueText(q.value(0)), ValueText(q.value(1)), q.value(2).toString(),
                        {{"gc_sn", q.value(3).toString()}, {"gc_cid", ValueText(q.value(4))}}};
    KeyTree tree;
    tree.setRows(rows);
    tree.show();
    tree.selectFirstLeaf();
    EXPECT_EQ(tree.currentItem()->text(0), "默认类别");
    EXPECT_EQ(tree.currentPayload("gc_sn").toString(), "1000");
    EXPECT_TRUE(tree.currentItem()->font(0).bold());
    EXPECT_EQ(tree.currentItem()->foreground(0).color(), QColor(Qt::red));
    QTreeWidgetItem *drinks = tree.itemForKey("3");
    ASSERT_NE(drinks, nullptr);
    EXPECT_TRUE(KeyTree::isFolder(drinks));
    EXPECT_TRUE(drinks->icon(0).cacheKey() != tree.itemForKey("2")->icon(0).cacheKey());
    QTreeWidgetItem *leaf = tree.itemForKey("2");
    EXPECT_TRUE(tree.findAndSelect("饮料"));
    EXPECT_EQ(tree.currentKey(), "3");
    EXPECT_TRUE(drinks->isExpanded());
    EXPECT_TRUE(drinks->font(0).bold());
    EXPECT_FALSE(leaf->font(0).bold());
    EXPECT_EQ(leaf->foreground(0).color(), QColor(Qt::black));
    tree.selectRoot();
    EXPECT_EQ(tree.currentItem()->text(0), "所有类别");
    tree.selectSecond();
    EXPECT_EQ(tree.currentItem()->text(0), "默认类别");

    QSignalSpy renamed(&tree, &KeyTree::renamed);
    tree.itemForKey("4")->setText(0, "果汁饮料");
    ASSERT_EQ(renamed.count(), 1);
    EXPECT_EQ(renamed.at(0).at(0).toString(), "4");
    EXPECT_EQ(renamed.at(0).at(1).toString(), "果汁饮料");
}

TEST(CheckTree, RootChecksAllAndShowsPartial)
{
    CheckTree tree;
    QTreeWidgetItem *root = tree.addRoot("销售管理");
    tree.addChild(root, "a");
    tree.addChild(root, "b");
    tree.addChild(root, "c");
    tree.show();
    root->setCheckState(0, Qt::Checked);
    EXPECT_EQ(tree.childStates(), (QList<bool>{true, true, true}));
    root->child(1)->setCheckState(0, Qt::Unchecked);
    EXPECT_EQ(root->checkState(0), Qt::PartiallyChecked);
    EXPECT_EQ(tree.childStates(), (QList<bool>{true, false, true}));
    tree.checkAll(false);
    EXPECT_EQ(tree.childStates(), (QList<bool>{false, false, false}));
    tree.setChildStates({false, true, false});
    EXPECT_EQ(root->checkState(0), Qt::PartiallyChecked);
}

TEST(StatusPanes, TextsPerPane)
{
    StatusPanes bar(5);
    bar.setPaneText(0, "账套：默认账套");
    bar.setPaneText(1, "操作员：admin");
    EXPECT_EQ(bar.paneCount(), 5);
    EXPECT_EQ(bar.paneText(1), "操作员：admin");
    EXPECT_EQ(bar.paneText(4), "");
}

// ---- Shared screen shapes ---------------------------------------------------------------------

TEST(ScreenShapes, MeasuresAndTexts)
{
    EXPECT_EQ(BarcodePanelTop(600, 520), 388);
    EXPECT_EQ(BarcodePanelTop(800, 700), 550);
    EXPECT_EQ(PendingLowerHeight(600), 245);
    EXPECT_EQ(PendingLowerGridHeight(600), 209);
    EXPECT_EQ(PendingLowerHeight(900), 320);
    EXPECT_EQ(PendingLowerGridHeight(900), 284);
    EXPECT_EQ(BasketWidth(1200, 509), 509);
    EXPECT_EQ(BasketWidth(1600, 509), 700);
    EXPECT_EQ(FutureDateQuestion(QDate(2024, 3, 9), QDate(2024, 3, 5)),
              "您选择的日期：2024-03-09，\r\n\r\n大于计算机的当前日期：2024-03-05，\r\n\r\n确认继续吗？");
}

TEST(ScreenWindow, FontOpenedHookAndKeyTable)
{
    ScreenWindow screen(12);
    EXPECT_EQ(screen.font().pointSize(), 12);
    auto *layout = new QVBoxLayout(&screen);
    auto *search = new QLineEdit(&screen);
    search->setText("abc");
    auto *next = new QLineEdit(&screen);
    layout->addWidget(search);
    layout->addWidget(next);
    QStringList ran;
    screen.keys()->bind(Qt::Key_Delete, [&] { ran << "删除"; });
    screen.keys()->bind(Qt::Key_F5, [&] { ran << "确定"; });
    QSignalSpy opened(&screen, &ScreenWindow::opened);
    screen.show();
    EXPECT_EQ(opened.count(), 1);

    // A modal dialog opened from it and closed again is no new opening.
    QDialog dialog(&screen);
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    dialog.exec();
    EXPECT_EQ(opened.count(), 1);
    screen.hide();
    screen.show();
    EXPECT_EQ(opened.count(), 2);

    // Del in the search box runs the command; the box keeps its text.
    search->setFocus();
    search->setCursorPosition(0);
    QTest::keyClick(search, Qt::Key_Delete);
    EXPECT_EQ(ran, QStringList{"删除"});
    EXPECT_EQ(search->text(), "abc");

    // Enter moves to the next control unless the control owns Enter.
    screen.keys()->setEnterMovesFocus(true);
    QApplication::setActiveWindow(&screen);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);
    screen.keys()->addEnterOwner(next);
    QTest::keyClick(next, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), next);
}

class ScreenGridTest : public DbTest
{
};

TEST_F(ScreenGridTest, WindowCommandConfirmsAnOpenEditFirst)
{
    const Dialect d = Dialect::of(db());
    RunSql(db(), QStringLiteral("create table t_lines (%1, sl %2)").arg(d.idColumn(), d.columnType(ColType::Numeric, 0)));
    RunSql(db(), "insert into t_lines (id, sl) values (1, 10)");
    QStringList order;
    {
        ScreenWindow screen(10);
        auto *layout = new QVBoxLayout(&screen);
        auto *grid = new DataGrid(&screen);
        layout->addWidget(grid);
        auto *model = new SqlGridModel(db());
        GridColumn sl{"sl", "数量", 80, ColumnKind::Quantity, "#0.00;-#.00"};
        sl.editable = true;
        model->setColumns({GridColumn{"id", "ID", 40, ColumnKind::Integer}, sl});
        model->setStatement("select id, sl from t_lines", "id");
        grid->setModel(model);
        grid->reload(ReloadTarget::First);
        grid->setCommitHook([&](const QVariant &, const QString &, const QString &text) { order << "hook " + text; });
        screen.keys()->bind(Qt::Key_F5, [&] { order << "save"; });
        screen.show();
        grid->view()->setFocus();
        grid->view()->setCurrentIndex(model->index(0, 1));
        TypeIntoGrid(*grid, "3");
        ASSERT_TRUE(grid->isEditing());
        QTest::keyClick(GridKeyTarget(*grid), Qt::Key_F5);
        EXPECT_EQ(order, (QStringList{"hook 3", "save"}));
    }
}

TEST(BusyGuard, SecondStartDoesNothing)
{
    QPushButton button("保存");
    button.show();
    int runs = 0;
    QObject::connect(&button, &QPushButton::clicked, [&] {
        BusyGuard guard(&button);
        if (!guard.acquired())
            return;
        ++runs;
        EXPECT_FALSE(button.isEnabled());
        Q_EMIT button.clicked();  // pressed again while the command runs
    });
    button.click();
    EXPECT_EQ(runs, 1);
    EXPECT_TRUE(button.isEnabled());
}

} // namespace

// ---- Display formats through the kit's setters; keyed lists filled from the rules ------------

#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"

namespace {

class FormatAdapterTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        CreateGoodsFixture(db());
        SetUpGoodsGrid(grid, db());
    }
    void TearDown() override
    {
        holder.reset();
        DbTest::TearDown();
    }
    std::unique_ptr<DataGrid> holder = std::make_unique<DataGrid>();
    DataGrid &grid = *holder;
};

TEST_F(FormatAdapterTest, DecimalsAndSymbolFromTheLoginState)
{
    LoginState state;
    state.PriceDecimals = 0;
    state.QtyDecimals = 0;
    state.CurrencySymbol = "";
    state.TotalDecimals = "0";

    MoneyEdit money;
    SetMoneyEditFormat(&money, state);
    EXPECT_EQ(money.displayFormat(), "#,0;-#,0");
    EXPECT_EQ(money.maxLength(), 13);
    money.setValue(1234);
    EXPECT_EQ(money.text(), "1,234");

    MoneyEdit qty;
    SetQtyEditFormat(&qty, state);
    qty.setValue(0);
    EXPECT_EQ(qty.text(), "");  // a zero quantity is blank in a single editor

    SetQtyColumnFormat(grid, "g_kc", state);
    EXPECT_EQ(grid.model()->displayText(grid.model()->locate("id", 2), "g_kc"), "3");  // 2.5 rounds away
    grid.locate("id", 4);
    EXPECT_EQ(grid.model()->displayText(grid.currentRow(), "g_kc"), "0");
    SetQtyBandedColumnFormat(grid, "g_kc", state);
    EXPECT_EQ(grid.model()->displayText(grid.currentRow(), "g_kc"), "");

    state.QtyDecimals = 3;
    SetQtyColumnFormat(grid, "g_kc", state);
    grid.locate("id", 3);
    EXPECT_EQ(grid.model()->displayText(grid.currentRow(), "g_kc"), "-.500");
    SetQtyFooterFormat(grid, "g_kc", state);
    EXPECT_EQ(grid.footerText("g_kc"), "15.000");

    // Total rounding at 0 decimals with prices at 2: plain footer whole, banded footer two.
    state.PriceDecimals = 2;
    state.RoundTotals = "1";
    SetMoneyFooterFormat(grid, "g_jj", state);
    EXPECT_EQ(grid.footerText("g_jj"), "1,249");
    SetMoneyBandedFooterFormat(grid, "g_jj", state);
    EXPECT_EQ(grid.footerText("g_jj"), "1,249.25");
}

TEST_F(FormatAdapterTest, KeyedListFillReplacesItemsAndKeys)
{
    KeyedCombo combo;
    FillKeyedCombo(&combo, {{"所有仓库", "-1"}, {"主仓库", "100001"}, {"分仓", "100002"}});
    EXPECT_EQ(combo.currentIndex(), -1);
    EXPECT_EQ(combo.currentKey(), "");
    FillKeyedCombo(&combo, {{"张三", "100001"}}, true);
    EXPECT_EQ(combo.count(), 1);
    EXPECT_EQ(combo.currentKey(), "100001");
    const KeyedItems warehouses = LoadKeyedCombo(db(), "jxc_ckxx", "ck_name", "ck_sn", "id", "所有仓库");
    FillKeyedCombo(&combo, warehouses);
    ASSERT_GE(combo.count(), 2);
    EXPECT_EQ(GetComboKey(&combo, 0), "-1");
    EXPECT_EQ(GetComboKey(&combo, 1), warehouses.at(1).key);
}

// ---- Screen sizes ------------------------------------------------------------------------------

// A screen with one grid whose stock-total footer lies far right.
class FooterScreen final : public ScreenDialog
{
public:
    FooterScreen() : ScreenDialog(10)
    {
        setObjectName(QStringLiteral("TF_FooterScreen"));
        auto *layout = new QVBoxLayout(this);
        grid = new DataGrid(this);
        auto *model = new RowSetModel(grid);
        QList<GridColumn> columns;
        for (int i = 0; i < 6; ++i)
            columns << GridColumn{QStringLiteral("c%1").arg(i), QStringLiteral("列%1").arg(i), 90};
        columns << GridColumn{QStringLiteral("g_kc"), QStringLiteral("当前库存"), 80, ColumnKind::Quantity};
        model->setColumns(columns);
        model->setRows({{QString(), QString(), QString(), QString(), QString(), QString(), 100.0}});
        grid->setModel(model);
        grid->setFooter(QStringLiteral("c0"), FooterKind::Text, QStringLiteral("商品合计:"));
        grid->setFooter(QStringLiteral("g_kc"), FooterKind::Supplied);
        grid->setFooterSupplier(QStringLiteral("g_kc"), [] { return QStringLiteral("1,000,100.00"); });
        layout->addWidget(grid);
        resize(360, 240);
    }
    DataGrid *grid;
};

class ScreenGeometryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_old = qgetenv("JXC_HOME");
        qputenv("JXC_HOME", home.path().toLocal8Bit());
    }
    void TearDown() override
    {
        if (m_old.isNull())
            qunsetenv("JXC_HOME");
        else
            qputenv("JXC_HOME", m_old);
    }
    static void showAndSettle(QWidget &w)
    {
        w.show();
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }
    QTemporaryDir home;

private:
    QByteArray m_old;
};

TEST_F(ScreenGeometryTest, FirstSizeShowsEveryFooterThenSizeAndPlaceStayPerOperator)
{
    {
        FooterScreen first;
        first.grid->reload();
        first.grid->recomputeFooter();
        RememberScreenGeometry(&first, QStringLiteral("admin"));
        showAndSettle(first);
        // Widened until the stock total shows whole.
        EXPECT_GT(first.width(), 360);
        EXPECT_EQ(WidthShowingFooters(&first, 10000), first.width());
        first.setGeometry(40, 50, 500, 300);
        first.hide();
    }
    EXPECT_EQ(KeptScreenGeometry(QStringLiteral("admin"), QStringLiteral("TF_FooterScreen")), QRect(40, 50, 500, 300));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("Layout/windows.ini"))));
    {
        FooterScreen again;
        RememberScreenGeometry(&again, QStringLiteral("admin"));
        showAndSettle(again);
        EXPECT_EQ(again.geometry(), QRect(40, 50, 500, 300));
    }
    {
        FooterScreen other;  // another operator: the first size again
        other.grid->reload();
        other.grid->recomputeFooter();
        RememberScreenGeometry(&other, QStringLiteral("wang"));
        showAndSettle(other);
        EXPECT_NE(other.geometry(), QRect(40, 50, 500, 300));
        EXPECT_EQ(WidthShowingFooters(&other, 10000), other.width());
    }
    // A damaged entry is no size.
    QSettings file(ScreenGeometryFilePath(), QSettings::IniFormat);
    file.setValue(QStringLiteral("admin/TF_FooterScreen"), QStringLiteral("1,2,x,4"));
    file.sync();
    EXPECT_FALSE(KeptScreenGeometry(QStringLiteral("admin"), QStringLiteral("TF_FooterScreen")).isValid());
}

} // namespace
