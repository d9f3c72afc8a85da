// The shared document shapes driven through their real widgets: the document window of the demo
// type (close question, date question and renumbering, barcode panel, pending page), the line
// dialog, the pick-rows dialog with its basket and the chooser panel; and the export menu item.

#include "demodoc.h"
#include "gridfixture.h"
#include "../support/scriptedfilechoice.h"
#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "foundation/basket.h"
#include "foundation/draftlines.h"
#include "screenkit/excel/exportaction.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/documentwindow.h"
#include "screenkit/editors.h"
#include "foundation/partnerlists.h"
#include "screenkit/linedialog.h"
#include "screenkit/partnergridmodel.h"
#include "screenkit/pickrows.h"
#include "screenkit/screenshapes.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QComboBox>
#include <QTimer>

namespace {

// Types text, Chinese included, as key events with text.
void TypeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

DocumentShape DemoShape()
{
    DocumentShape shape;
    shape.type = DemoDocType();
    shape.caption = QStringLiteral("演示单据");
    shape.title = QStringLiteral("演示单");
    return shape;
}

class DocumentWindowTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        if (IsSkipped())
            return;
        AddDemoGoods(db());
        window = std::make_unique<DocumentWindow>(DemoShape(), db(), login, clock, notices);
        window->hooks().save = [this] { ++saves; };
    }
    void TearDown() override
    {
        window.reset();
        DbTest::TearDown();
    }
    void addLines()
    {
        window->draft().addLine(window->number(), "00000001", 10, 5);
        window->draft().addLine(window->number(), "00000002", 10, 7);
        window->reloadLines();
    }
    LoginState login = DemoLogin();
    ScriptedNotices notices;
    std::unique_ptr<DocumentWindow> window;
    int saves = 0;
};

TEST_F(DocumentWindowTest, OpensANewDocumentOncePerShowingAndSurvivesADialog)
{
    int started = 0;
    window->hooks().started = [&] { ++started; };
    window->show();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(window->number(), "DM24030510001");
    EXPECT_EQ(window->numberLabel()->text(), "DM24030510001");
    EXPECT_EQ(window->documentDay(), "2024-03-05");
    addLines();

    // A modal dialog (the print dialog) opened from the window and closed: the document stays.
    QDialog dialog(window.get());
    QTimer::singleShot(0, &dialog, &QDialog::accept);
    dialog.exec();
    EXPECT_EQ(started, 1);
    EXPECT_EQ(window->lineCount(), 2);
    EXPECT_EQ(window->linesGrid()->footerText("zje"), "120.00");
    EXPECT_EQ(window->linesGrid()->footerText("g_sn"), "记录数：2");
}

TEST_F(DocumentWindowTest, ButtonsFollowTheLinesAndTheRight)
{
    window->show();
    EXPECT_FALSE(window->modifyButton()->isVisible());
    EXPECT_FALSE(window->deleteButton()->isVisible());
    EXPECT_FALSE(window->printButton()->isVisible());
    addLines();
    EXPECT_TRUE(window->modifyButton()->isVisible());
    EXPECT_TRUE(window->deleteButton()->isVisible());
    EXPECT_TRUE(window->printButton()->isVisible());
    window->setPrintBeforeSave(false);
    EXPECT_FALSE(window->printButton()->isVisible());

    // F2 adds only with the right.
    int adds = 0;
    window->hooks().add = [&] { ++adds; };
    QTest::keyClick(window->linesGrid()->view(), Qt::Key_F2);
    window->setEntryAllowed(false);
    QTest::keyClick(window->linesGrid()->view(), Qt::Key_F2);
    EXPECT_EQ(adds, 1);
    EXPECT_FALSE(window->addButton()->isEnabled());
}

TEST_F(DocumentWindowTest, DeleteAsksAndRemovesTheCurrentLine)
{
    window->show();
    addLines();
    window->linesGrid()->setCurrentRow(1);
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    window->deleteButton()->click();
    EXPECT_EQ(window->lineCount(), 2);
    window->deleteButton()->click();
    EXPECT_EQ(notices.last(), "您确定要删除当前选中的商品吗！");
    ASSERT_EQ(window->lineCount(), 1);
    EXPECT_EQ(window->linesGrid()->value(0, "g_name").toString(), "苹果");
}

TEST_F(DocumentWindowTest, ClosingWithLinesAsksTheTypesQuestion)
{
    struct Case
    {
        Notices::Answer answer;
        bool closed;
        int saves;
        int linesLeft;
    };
    const Case cases[] = {
        {Notices::Answer::Cancel, false, 0, 2},
        {Notices::Answer::No, true, 0, 0},
        {Notices::Answer::Yes, true, 1, 2},
    };
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_bssp");
        saves = 0;
        notices.shown.clear();
        window->show();
        addLines();
        notices.script({c.answer});
        window->close();
        EXPECT_EQ(notices.texts(), QStringList{"当前单据还未保存，是否保存？"});
        EXPECT_EQ(!window->isVisible(), c.closed);
        EXPECT_EQ(saves, c.saves);
        EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_bssp where a_name = 'wang'").toInt(), c.linesLeft);
        window->hide();
    }

    // No lines, no question.
    RunSql(db(), "delete from jxc_bssp");
    notices.shown.clear();
    window->show();
    window->close();
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DocumentWindowTest, AFutureDateIsAskedAndANewDayRenumbers)
{
    QStringList renumbered;
    window->hooks().renumbered = [&](const QString &from, const QString &to) { renumbered << from + ">" + to; };
    window->show();
    addLines();
    const QString before = window->number();

    notices.script({Notices::Answer::No});
    window->dateEdit()->setDate(QDate(2024, 3, 9));
    EXPECT_EQ(notices.texts(), QStringList{"您选择的日期：2024-03-09，\r\n\r\n大于计算机的当前日期：2024-03-05，\r\n\r\n确认继续吗？"});
    EXPECT_EQ(window->documentDay(), "2024-03-05");
    EXPECT_EQ(window->number(), before);
    EXPECT_TRUE(renumbered.isEmpty());

    notices.script({Notices::Answer::Yes});
    window->dateEdit()->setDate(QDate(2024, 3, 9));
    EXPECT_EQ(window->documentDay(), "2024-03-09");
    EXPECT_EQ(renumbered, QStringList{before + ">DM24030910001"});
    EXPECT_EQ(window->numberLabel()->text(), "DM24030910001");
    EXPECT_EQ(window->lineCount(), 2);  // the lines came along

    // A past day asks nothing and renumbers once more.
    notices.shown.clear();
    window->dateEdit()->setDate(QDate(2024, 3, 1));
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_EQ(renumbered.size(), 2);
    EXPECT_EQ(window->number(), "DM24030110001");
}

// The inventory documents' date field: a refused future date puts today back, and every exit
// of the field draws the number again, also on the same day.
TEST_F(DocumentWindowTest, DateFieldOfTodayOnRefusalAndRenumberingOnExit)
{
    DocumentShape shape = DemoShape();
    shape.todayOnRefusedDate = true;
    shape.renumberOnDateExit = true;
    window = std::make_unique<DocumentWindow>(shape, db(), login, clock, notices);
    QStringList renumbered;
    window->hooks().renumbered = [&](const QString &from, const QString &to) { renumbered << from + ">" + to; };
    QLineEdit other(window.get());
    window->show();
    QApplication::setActiveWindow(window.get());
    addLines();
    DateEdit *date = window->dateEdit();
    date->setFocus();
    date->setDate(QDate(2024, 3, 1));
    EXPECT_TRUE(renumbered.isEmpty());  // not before leaving the field
    notices.script({Notices::Answer::No});
    date->setDate(QDate(2024, 3, 9));
    EXPECT_EQ(window->documentDay(), "2024-03-05");  // today, not the 1st
    date->setDate(QDate(2024, 3, 1));
    other.setFocus();
    EXPECT_EQ(renumbered, QStringList{"DM24030510001>DM24030110001"});
    EXPECT_EQ(window->lineCount(), 2);

    // Back on today while somebody saved a header under its first number: the next one.
    SaveDemoHeader(db(), "DM24030510001", "li");
    date->setFocus();
    date->setDate(QDate(2024, 3, 5));
    other.setFocus();
    EXPECT_EQ(window->number(), "DM24030510002");
    date->setFocus();
    other.setFocus();
    EXPECT_EQ(renumbered.size(), 2);  // nothing new to draw
}

// The barcode panel's check items one by one, the accelerator of the lines popup's toggle, a
// switch of the document type and the hook after the lines were read.
TEST_F(DocumentWindowTest, BarcodeItemsToggleKeyTypeSwitchAndReloadHook)
{
    DocumentShape shape = DemoShape();
    shape.barcodeRepeatsItem = false;
    shape.barcodeToggleKey = QLatin1Char('T');
    window = std::make_unique<DocumentWindow>(shape, db(), login, clock, notices);
    int reloaded = 0;
    window->hooks().linesReloaded = [&] { ++reloaded; };
    window->show();
    QStringList items;
    for (QAction *a : window->barcodePanel()->menu()->actions())
        items << a->text();
    EXPECT_EQ(items, (QStringList{"隐藏条码输入面板(&X)", "添加完商品后打开修改窗口(&Z)"}));
    window->barcodePanel()->setRefusesRepeats(true);
    EXPECT_FALSE(window->barcodePanel()->refusesRepeats());
    QAction *toggle = nullptr;
    for (QAction *a : window->linesMenu()->actions())
        if (a->objectName() == "barcodeToggle")
            toggle = a;
    ASSERT_TRUE(toggle);
    EXPECT_EQ(toggle->text(), "隐藏条码输入面板(&T)");
    toggle->trigger();
    EXPECT_FALSE(window->barcodePanelShown());

    const int before = reloaded;
    window->reloadLines();
    EXPECT_EQ(reloaded, before + 1);
    DocType other = DemoDocType();
    other.prefix = "DN";
    window->setDocType(other);
    EXPECT_EQ(window->draft().newNumber("2024-03-05"), "DN24030510001");
    EXPECT_EQ(window->shape().type.prefix, "DN");
}

TEST_F(DocumentWindowTest, BarcodePanelAndPendingPageFollowTheWindowHeight)
{
    window->show();
    window->resize(960, 600);
    QApplication::processEvents();
    BarcodePanel *panel = window->barcodePanel();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->pos(), QPoint(16, 388));
    EXPECT_EQ(window->pendingLower()->height(), 245);
    EXPECT_EQ(window->pendingLinesGrid()->height(), 209);

    window->resize(960, 800);
    QApplication::processEvents();
    const int entryHeight = window->pages()->widget(DocumentWindow::EntryPage)->height();
    EXPECT_EQ(panel->y(), entryHeight - 150);
    window->resize(960, 900);
    QApplication::processEvents();
    EXPECT_EQ(window->pendingLower()->height(), 320);
    EXPECT_EQ(window->pendingLinesGrid()->height(), 284);

    // Scanning hands the code to the screen; the popup item hides and shows the panel.
    QStringList codes;
    window->hooks().barcode = [&](const QString &code) { codes << code; };
    panel->entryBox()->setFocus();
    QTest::keyClicks(panel->entryBox(), "6901234");
    QTest::keyClick(panel->entryBox(), Qt::Key_Return);
    EXPECT_EQ(codes, QStringList{"6901234"});
    EXPECT_TRUE(panel->entryBox()->text().isEmpty());

    QMenu *menu = window->linesMenu();
    QAction *toggle = menu->findChild<QAction *>("barcodeToggle");
    ASSERT_NE(toggle, nullptr);
    QTimer::singleShot(0, menu, &QMenu::close);
    window->linesGrid()->openPopup(window->mapToGlobal(QPoint(50, 150)));
    EXPECT_EQ(toggle->text(), "隐藏条码输入面板(&Z)");
    toggle->trigger();
    EXPECT_FALSE(panel->isVisible());
    QTimer::singleShot(0, menu, &QMenu::close);
    window->linesGrid()->openPopup(window->mapToGlobal(QPoint(50, 150)));
    EXPECT_EQ(toggle->text(), "显示条码输入面板(&Z)");
    // The panel's own menu item hides it too.
    toggle->trigger();
    EXPECT_TRUE(panel->isVisible());
    panel->menu()->actions().first()->trigger();
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(DocumentWindowTest, PendingPageShowsTheSelectedDocumentsLines)
{
    const LoginState li = DemoLogin("li");
    DraftLines other(db(), DemoDocType(), li);
    other.addLine("DM24030410001", "00000001", 3, 5);
    other.addLine("DM24030410002", "00000002", 1, 7);
    other.addLine("DM24030410002", "00000001", 2, 5);
    SaveDemoHeader(db(), "DM24030410001", "li");
    SaveDemoHeader(db(), "DM24030410002", "li");
    window->show();
    auto *model = new SqlGridModel(db());
    model->setColumns({GridColumn{"id", "ID", 40, ColumnKind::Integer}, GridColumn{"gl_djh", "单号", 120}});
    model->setStatement("select id, gl_djh from jxc_bsd where bs_status = 0", "id");
    window->pendingGrid()->setModel(model);
    window->pendingGrid()->reload(ReloadTarget::First);
    window->pages()->setCurrentIndex(DocumentWindow::PendingPage);
    EXPECT_EQ(window->pendingLinesGrid()->rowCount(), 1);
    window->pendingGrid()->setCurrentRow(1);
    EXPECT_EQ(window->pendingLinesGrid()->rowCount(), 2);
    EXPECT_EQ(window->pendingLinesGrid()->footerText("sl"), "3.00");
}

TEST_F(DocumentWindowTest, QueryPageRunsOnF2EnterAndAPeriod)
{
    int runs = 0;
    window->hooks().runQuery = [&] { ++runs; };
    window->show();
    window->pages()->setCurrentIndex(DocumentWindow::QueryPage);
    QTest::keyClick(window->queryKeyBox(), Qt::Key_F2);
    EXPECT_EQ(runs, 1);
    QTest::keyClick(window->queryKeyBox(), Qt::Key_Return);
    EXPECT_EQ(runs, 2);
    window->periodBar()->choose(DateRangeBar::Period::LastMonth);
    EXPECT_EQ(runs, 3);
    EXPECT_EQ(window->periodBar()->sqlStart(), "2024-02-01");
    EXPECT_EQ(window->periodBar()->sqlEnd(), "2024-03-05 23:59:00");
    // The summary view has no detail grid.
    window->setQueryView(DocumentWindow::QueryView::Summary);
    EXPECT_FALSE(window->queryDetailGrid()->isVisible());
    window->setQueryView(DocumentWindow::QueryView::Documents);
    EXPECT_TRUE(window->queryDetailGrid()->isVisible());
    // F2 on the entry page is the entry command, F5 the save on every page.
    int adds = 0;
    window->hooks().add = [&] { ++adds; };
    QTest::keyClick(window->queryKeyBox(), Qt::Key_F5);
    EXPECT_EQ(saves, 1);
    window->pages()->setCurrentIndex(DocumentWindow::EntryPage);
    QTest::keyClick(window->linesGrid()->view(), Qt::Key_F2);
    EXPECT_EQ(adds, 1);
    EXPECT_EQ(runs, 3);
}

TEST_F(DocumentWindowTest, ScreensGiveTheLinesStatementTheNewDatesAndTheOpeningSteps)
{
    // A dialog screen: the registry makes it and the main window runs it modally.
    EXPECT_NE(qobject_cast<QDialog *>(window.get()), nullptr);
    QStringList steps;
    window->hooks().opening = [&] { steps << "opening:" + window->number(); };
    window->hooks().started = [&] { steps << "started:" + window->number(); };
    window->hooks().linesStatement = [](const QString &number) {
        return ListStatement{"select b.id, b.g_sn, a.g_name, a.dw_name, b.bs_sl * 2 as sl, b.bs_dj as dj, "
                             "b.bs_zje as zje from jxc_bssp b left join jxc_goods a on a.g_sn = b.g_sn "
                             "where b.gl_djh = ?",
                             "b.id desc",
                             {number}};
    };
    window->show();
    EXPECT_EQ(steps, (QStringList{"opening:", "started:DM24030510001"}));
    addLines();
    // The screen's statement: every operator's lines, its own order and columns.
    DraftLines(db(), DemoDocType(), DemoLogin("li")).addLine(window->number(), "00000001", 1, 5);
    window->reloadLines();
    ASSERT_EQ(window->lineCount(), 3);
    EXPECT_EQ(window->linesGrid()->value(0, "sl").toDouble(), 2);
    EXPECT_EQ(window->linesGrid()->value(2, "sl").toDouble(), 20);

    // The next document keeps a chosen date when the screen asks for it, else today.
    window->dateEdit()->setDate(QDate(2024, 3, 1));
    window->startNew(true);
    EXPECT_EQ(window->documentDay(), "2024-03-01");
    EXPECT_EQ(window->number(), "DM24030110001");
    window->startNew();
    EXPECT_EQ(window->documentDay(), "2024-03-05");
}

TEST_F(DocumentWindowTest, AFailedDateChangeShowsItsErrorAndPutsDateAndNumberBack)
{
    window->show();
    addLines();
    const QString before = window->number();
    // The renumbering reads the next number, tests it and moves the lines: three statements.
    for (int n = 1; n <= 3; ++n) {
        notices.shown.clear();
        InjectStatementFailure(db(), n);
        window->dateEdit()->setDate(QDate(2024, 3, 1));
        InjectStatementFailure(db(), 0);
        ASSERT_EQ(notices.shown.size(), 1) << n;
        EXPECT_TRUE(notices.last().startsWith("更改日期失败：")) << notices.last().toStdString();
        EXPECT_EQ(window->documentDay(), "2024-03-05");
        EXPECT_EQ(window->numberLabel()->text(), before);
        EXPECT_EQ(window->lineCount(), 2);
        EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_bssp where gl_djh = ?", {before}), "2");
    }
}

TEST_F(DocumentWindowTest, PendingBarSearchesOnItsButtonF2EnterAndTheOrderBox)
{
    QList<bool> runs;
    window->hooks().refreshPending = [&] { runs << window->pendingDescending(); };
    window->show();
    window->pages()->setCurrentIndex(DocumentWindow::PendingPage);
    EXPECT_EQ(window->pendingKeyBox()->objectName(), "tchkKey");
    window->pendingSearchButton()->click();
    QTest::keyClick(window->pendingKeyBox(), Qt::Key_F2);
    QTest::keyClick(window->pendingKeyBox(), Qt::Key_Return);
    window->pendingOrderBox()->setCurrentIndex(1);
    EXPECT_EQ(runs, (QList<bool>{false, false, false, true}));
    // The key box drops the filtered characters.
    window->pendingKeyBox()->clear();
    QTest::keyClicks(window->pendingKeyBox(), "a'b%c");
    EXPECT_EQ(window->pendingKeyBox()->text(), "abc");
    // Room for the screens' own boxes.
    EXPECT_NE(window->pendingBar(), nullptr);
    EXPECT_NE(window->pendingLowerBar(), nullptr);
    EXPECT_NE(window->queryBar(), nullptr);
}

// At the usual window size the entry page shows its lines whole: every line and every shown
// column lies inside the grid's viewport, and the window paints (its picture is not one colour).
TEST_F(DocumentWindowTest, EntryPageShowsItsLinesWholeAtTheUsualSize)
{
    window->show();
    window->resize(960, 600);
    addLines();
    QApplication::processEvents();
    QTableView *view = window->linesGrid()->view();
    const QRect viewport = view->viewport()->rect();
    ASSERT_EQ(view->model()->rowCount(), 2);
    EXPECT_EQ(window->linesGrid()->value(0, "g_name").toString(), "苹果");
    EXPECT_EQ(window->linesGrid()->value(1, "g_name").toString(), "香蕉");
    for (int row = 0; row < 2; ++row) {
        for (int column = 0; column < view->model()->columnCount(); ++column) {
            if (view->isColumnHidden(column))
                continue;
            const QRect cell = view->visualRect(view->model()->index(row, column));
            EXPECT_TRUE(viewport.contains(cell)) << row << "," << column;
        }
    }
    const QImage picture = window->grab().toImage();
    ASSERT_FALSE(picture.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < picture.height() && colours.size() < 3; y += 7)
        for (int x = 0; x < picture.width() && colours.size() < 3; x += 7)
            colours.insert(picture.pixel(x, y));
    EXPECT_GE(colours.size(), 3);
}

// ---- Line dialog ------------------------------------------------------------------------------

TEST(LineDialog, WritesOnlyOnConfirmAndAppliesRightsAtEachOpening)
{
    LineDialog dialog("修改商品", 12);
    dialog.addInfo("g_name", "商品名称：");
    dialog.setInfo({{"g_name", "苹果"}});
    auto *price = new MoneyEdit;
    auto *quantity = new MoneyEdit;
    dialog.addEdit("单价：", price);
    dialog.addEdit("数量：", quantity);
    int writes = 0, rights = 0;
    bool answer = false;
    dialog.confirm = [&] {
        ++writes;
        return answer;
    };
    dialog.applyRights = [&] { ++rights; };
    EXPECT_EQ(dialog.infoText("g_name"), "苹果");
    EXPECT_EQ(dialog.font().pointSize(), 12);

    // Esc writes nothing.
    QTimer::singleShot(0, &dialog, [&] { QTest::keyClick(price, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_EQ(writes, 0);
    EXPECT_EQ(rights, 1);

    // Enter moves on; a refused confirm keeps the dialog open; an accepted one closes it.
    QTimer::singleShot(0, &dialog, [&] {
        QApplication::setActiveWindow(&dialog);
        price->setFocus();
        QTest::keyClick(price, Qt::Key_Return);
        EXPECT_EQ(QApplication::focusWidget(), quantity);
        QTest::keyClick(quantity, Qt::Key_F5);
        EXPECT_TRUE(dialog.isVisible());
        answer = true;
        QTest::keyClick(quantity, Qt::Key_F5);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(rights, 2);
}

TEST(LineDialog, PagesAndRowsTheScreenNamesAndHides)
{
    LineDialog dialog("商品信息(演示)", 10);
    dialog.addInfo("g_scjj", "上次进价：");
    auto *price = new MoneyEdit;
    QLabel *caption = dialog.addEdit("参考进价：", price);
    dialog.setHistoryCaption("该商品进货记录");
    dialog.pages()->addTab(new QWidget, "报价记录");
    dialog.show();
    EXPECT_EQ(dialog.pages()->tabText(0), "该商品进货记录");
    EXPECT_EQ(dialog.pages()->count(), 2);
    dialog.setEditRowVisible(price, false);
    EXPECT_FALSE(price->isVisible());
    EXPECT_FALSE(caption->isVisible());
    dialog.setEditRowVisible(price, true);
    EXPECT_TRUE(caption->isVisible());
    dialog.setInfoRowVisible("g_scjj", false);
    EXPECT_FALSE(dialog.infoLabel("g_scjj")->isVisible());
    // The pages hide without the boxes.
    dialog.pages()->hide();
    EXPECT_TRUE(price->isVisible());
}

// ---- Pick-rows dialog -------------------------------------------------------------------------

RowSetModel *GoodsList(int rows)
{
    auto *model = new RowSetModel;
    model->setColumns({GridColumn{"g_sn", "商品编号", 90}, GridColumn{"g_name", "商品名称", 120},
                       GridColumn{"g_jj", "进价", 80, ColumnKind::Money}});
    QList<QVariantMap> maps;
    for (int i = 1; i <= rows; ++i)
        maps << QVariantMap{{"g_sn", QStringLiteral("%1").arg(i, 8, 10, QChar('0'))},
                            {"g_name", i == 2 ? QStringLiteral("香蕉") : QStringLiteral("商品%1").arg(i)},
                            {"g_jj", 1.5}};
    model->setRowMaps(maps);
    model->setKeyField("g_sn");
    return model;
}

PickerOptions DemoPicker()
{
    PickerOptions o;
    o.caption = "增加商品(演示单)";
    o.searchFields = {"g_sn", "g_name"};
    o.priceField = "g_jj";
    o.rowLimit = true;
    return o;
}

class PickerTest : public DbTest
{
protected:
    LoginState login = DemoLogin();
    ScriptedNotices notices;
};

TEST_F(PickerTest, BatchAddRefusesMoreThan300Rows)
{
    PickRowsDialog picker(DemoPicker(), notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    picker.listGrid()->setModel(GoodsList(301));
    picker.listGrid()->reload(ReloadTarget::First);
    picker.show();
    QTableView *view = picker.listGrid()->view();
    view->selectAll();
    ASSERT_EQ(picker.listGrid()->selectedRows().size(), 301);
    QTest::keyClick(view, Qt::Key_F8);
    EXPECT_EQ(notices.texts(), QStringList{"批量添加不能超过300行！"});
    EXPECT_EQ(picker.basket()->count(), 0);

    view->selectionModel()->select(view->model()->index(300, 0),
                                   QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
    ASSERT_EQ(picker.listGrid()->selectedRows().size(), 300);
    picker.addButton()->click();
    EXPECT_EQ(notices.shown.size(), 1);
    EXPECT_EQ(picker.basket()->count(), 300);
    EXPECT_EQ(picker.basketGrid()->rowCount(), 300);
    EXPECT_EQ(picker.basketGrid()->footerText("zje"), "450.00");
}

TEST_F(PickerTest, DelInTheSearchBoxRemovesFromTheBasketAndKeepsTheText)
{
    AddDemoGoods(db());
    PickRowsDialog picker(DemoPicker(), notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    picker.listGrid()->setModel(GoodsList(5));
    picker.listGrid()->reload(ReloadTarget::First);
    picker.show();
    QApplication::setActiveWindow(&picker);
    picker.listGrid()->setCurrentRow(0);
    picker.addSelected();
    picker.listGrid()->setCurrentRow(1);
    picker.addSelected();
    ASSERT_EQ(picker.basketGrid()->rowCount(), 2);
    EXPECT_EQ(picker.basketGrid()->currentValue("g_name").toString(), "香蕉");

    picker.searchBox()->setFocus();
    QTest::keyClicks(picker.searchBox(), "00");
    picker.searchBox()->setCursorPosition(0);
    QTest::keyClick(picker.searchBox(), Qt::Key_Delete);
    EXPECT_EQ(picker.searchBox()->text(), "00");
    ASSERT_EQ(picker.basket()->count(), 1);
    EXPECT_EQ(QueryScalar(db(), "select g_sn from jxc_tempspxf where a_name = 'wang'"), "00000001");
}

TEST_F(PickerTest, SearchOnEveryChangeOrOnEnter)
{
    {
        PickRowsDialog picker(DemoPicker(), notices, 10);
        picker.listGrid()->setModel(GoodsList(12));
        picker.listGrid()->reload(ReloadTarget::First);
        picker.show();
        TypeText(picker.searchBox(), "香");
        EXPECT_EQ(picker.listGrid()->rowCount(), 1);
    }
    PickerOptions o = DemoPicker();
    o.enterSearch = true;
    PickRowsDialog picker(o, notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    picker.listGrid()->setModel(GoodsList(12));
    picker.listGrid()->reload(ReloadTarget::First);
    picker.show();
    QApplication::setActiveWindow(&picker);
    picker.searchBox()->setFocus();
    QTest::keyClicks(picker.searchBox(), "0000001");
    EXPECT_EQ(picker.listGrid()->rowCount(), 12);  // typing alone does not search
    QTest::keyClick(picker.searchBox(), Qt::Key_Return);
    EXPECT_EQ(picker.listGrid()->rowCount(), 4);   // 00000001, 00000010, 00000011, 00000012
    EXPECT_EQ(QApplication::focusWidget(), picker.listGrid()->view());
    EXPECT_EQ(picker.basket()->count(), 0);        // the first Enter only searched
    QTest::keyClick(picker.listGrid()->view(), Qt::Key_Return);
    EXPECT_EQ(picker.basket()->count(), 1);
}

TEST_F(PickerTest, CaptionEnterThatStaysAndDoubleClickOfTheScreen)
{
    PickerOptions o = DemoPicker();
    o.searchCaption = "输入商品编号或名称,回车查询：";
    o.enterSearch = true;
    o.enterStays = true;
    PickRowsDialog picker(o, notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    picker.listGrid()->setModel(GoodsList(12));
    picker.listGrid()->reload(ReloadTarget::First);
    QStringList clicks;
    picker.doubleClick = [&](DataGrid *grid, int row) { clicks << grid->value(row, "g_sn").toString(); };
    picker.show();
    QApplication::setActiveWindow(&picker);
    EXPECT_EQ(picker.searchLabel()->text(), "输入商品编号或名称,回车查询：");
    picker.searchBox()->setFocus();
    QTest::keyClicks(picker.searchBox(), "0000001");
    QTest::keyClick(picker.searchBox(), Qt::Key_Return);
    EXPECT_EQ(picker.listGrid()->rowCount(), 4);
    EXPECT_EQ(QApplication::focusWidget(), picker.searchBox());  // the focus stays
    QTest::keyClick(picker.searchBox(), Qt::Key_Return);
    EXPECT_EQ(picker.basket()->count(), 0);

    // A double click goes to the screen's hook and adds nothing by itself.
    QTableView *view = picker.listGrid()->view();
    const QRect cell = view->visualRect(view->model()->index(1, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(clicks, QStringList{"00000010"});
    EXPECT_EQ(picker.basket()->count(), 0);
}

TEST_F(PickerTest, ClassTreePageAddsFromItsOwnGrid)
{
    PickerOptions o = DemoPicker();
    o.classTreePage = true;
    PickRowsDialog picker(o, notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    ASSERT_EQ(picker.listPages()->count(), 2);
    EXPECT_EQ(picker.listPages()->tabText(0), "商品清单");
    EXPECT_EQ(picker.listPages()->tabText(1), "商品列表");
    picker.listGrid()->setModel(GoodsList(5));
    picker.listGrid()->reload(ReloadTarget::First);
    picker.treeListGrid()->setModel(GoodsList(2));
    picker.treeListGrid()->reload(ReloadTarget::Last);
    picker.show();
    picker.listPages()->setCurrentIndex(1);
    QTest::keyClick(picker.treeListGrid()->view(), Qt::Key_F8);
    ASSERT_EQ(picker.basket()->count(), 1);
    EXPECT_EQ(QueryScalar(db(), "select g_sn from jxc_tempspxf where a_name = 'wang'"), "00000002");
}

// A picker of one row at a time, without F8, its goods search reset at an opening.
TEST_F(PickerTest, SingleSelectionWithoutF8AndTheSearchReset)
{
    PickerOptions o = DemoPicker();
    o.singleSelection = true;
    o.f8Adds = false;
    o.basketWidth = 488;
    PickRowsDialog picker(o, notices, 10);
    QVariantList added;
    picker.add = [&](const QVariantList &keys) { added = keys; };
    picker.show();
    EXPECT_EQ(picker.listGrid()->view()->selectionMode(), QAbstractItemView::SingleSelection);
    QTest::keyClick(picker.searchBox(), Qt::Key_F8);
    EXPECT_TRUE(added.isEmpty());
    picker.resize(1200, 600);
    EXPECT_EQ(picker.basketGroup()->width(), 488);

    picker.searchBox()->setText("苹");
    picker.resetGoodsSearch(true);
    EXPECT_TRUE(picker.searchBox()->text().isEmpty());
    EXPECT_EQ(picker.searchLabel()->text(), "输入商品编号或名称,回车查询：");
    EXPECT_TRUE(picker.options().enterSearch);
    picker.resetGoodsSearch(false);
    EXPECT_EQ(picker.searchLabel()->text(), "输入商品编号或名称查询商品：");
}

TEST_F(PickerTest, BasketWidthFollowsTheFormWidth)
{
    PickRowsDialog picker(DemoPicker(), notices, 10);
    picker.show();
    picker.resize(1200, 600);
    EXPECT_EQ(picker.basketGroup()->width(), 509);
    picker.resize(1600, 600);
    EXPECT_EQ(picker.basketGroup()->width(), 700);
}

TEST_F(PickerTest, ClosingWithABasketAsksAndConfirmCopiesIntoTheLines)
{
    struct Case
    {
        Notices::Answer answer;
        bool closed;
        int basketLeft;
        int lines;
    };
    const Case cases[] = {
        {Notices::Answer::Cancel, false, 1, 0},
        {Notices::Answer::No, true, 0, 0},
        {Notices::Answer::Yes, true, 0, 1},
    };
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_bssp");
        notices.shown.clear();
        PickRowsDialog picker(DemoPicker(), notices, 10);
        picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
        picker.listGrid()->setModel(GoodsList(3));
        picker.listGrid()->reload(ReloadTarget::First);
        picker.show();
        picker.addSelected();
        notices.script({c.answer});
        QTest::keyClick(picker.searchBox(), Qt::Key_Escape);
        EXPECT_EQ(notices.texts(), QStringList{"当前单据还未保存，是否保存？"});
        EXPECT_EQ(!picker.isVisible(), c.closed);
        EXPECT_EQ(picker.basket()->count(), c.basketLeft);
        EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_bssp where gl_djh = 'DM24030510001'").toInt(), c.lines);
    }

    // 确定 copies without asking.
    notices.shown.clear();
    RunSql(db(), "delete from jxc_bssp");
    PickRowsDialog picker(DemoPicker(), notices, 10);
    picker.useBasket(db(), DemoDocType(), login, "DM24030510001");
    picker.listGrid()->setModel(GoodsList(3));
    picker.listGrid()->reload(ReloadTarget::First);
    picker.show();
    picker.listGrid()->view()->selectAll();
    picker.addSelected();
    QTest::keyClick(picker.listGrid()->view(), Qt::Key_F5);
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_EQ(picker.result(), QDialog::Accepted);
    EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_bssp where gl_djh = 'DM24030510001' and a_name = 'wang'").toInt(), 3);
    EXPECT_EQ(picker.basket()->count(), 0);
}

// ---- Chooser panel ----------------------------------------------------------------------------

TEST(ChooserPanel, FiltersOnEveryKeyAndHandsBackCodeAndName)
{
    ChooserOptions o;
    o.caption = "选择供应商";
    o.searchFields = {"ghs_sn", "ghs_name"};
    o.codeField = "ghs_sn";
    o.nameField = "ghs_name";
    o.orderButtons = true;
    ChooserPanel panel(o, 10);
    auto *model = new RowSetModel;
    model->setColumns({GridColumn{"ghs_sn", "编号", 80}, GridColumn{"ghs_name", "名称", 160}});
    model->setKeyField("ghs_sn");
    model->setRowMaps({{{"ghs_sn", "100001"}, {"ghs_name", "东方商贸"}},
                       {{"ghs_sn", "100002"}, {"ghs_name", "西山食品"}},
                       {{"ghs_sn", "100003"}, {"ghs_name", "东海水产"}}});
    panel.setModel(model);
    int adds = 0;
    panel.addRow = [&] { ++adds; };

    QTimer::singleShot(0, &panel, [&] {
        QApplication::setActiveWindow(&panel);
        panel.grid()->view()->setFocus();
        QTest::keyClick(panel.grid()->view(), Qt::Key_F2);
        EXPECT_EQ(QApplication::focusWidget(), panel.searchBox());
        TypeText(panel.searchBox(), "东");
        EXPECT_EQ(panel.grid()->rowCount(), 2);
        TypeText(panel.searchBox(), "海");
        EXPECT_EQ(panel.grid()->rowCount(), 1);
        QTest::keyClick(panel.searchBox(), Qt::Key_F8);
        panel.searchBox()->clear();
        panel.descendingButton()->click();
        EXPECT_EQ(panel.grid()->value(0, "ghs_sn").toString(), "100003");
        panel.grid()->setCurrentRow(1);
        QTest::keyClick(panel.searchBox(), Qt::Key_F5);
    });
    EXPECT_EQ(panel.exec(), QDialog::Accepted);
    EXPECT_EQ(adds, 1);
    EXPECT_EQ(panel.chosenCode(), "100002");
    EXPECT_EQ(panel.chosenName(), "西山食品");

    // A double-click chooses too.
    QTimer::singleShot(0, &panel, [&] {
        panel.grid()->setCurrentRow(0);
        Q_EMIT panel.grid()->rowActivated(0);
    });
    EXPECT_EQ(panel.exec(), QDialog::Accepted);
    EXPECT_EQ(panel.chosenCode(), "100003");
}

class PartnerChooserTest : public DbTest
{
};

TEST_F(PartnerChooserTest, OpensFilteredOverThePartnerListAndReloadsInTheOrderChosen)
{
    RunSql(db(), "insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_jm, ghs_forbid) values ('100002', '东方商贸', 'DFSM', 0)");
    RunSql(db(), "insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_jm, ghs_forbid) values ('100003', '东海水产', 'DHSC', 0)");
    LoginState state = DemoLogin();
    PartnerList list(PartnerList::Kind::Suppliers);
    OpenSupplierList(db(), state, list, "0");
    ChooserOptions o;
    o.caption = "供货商";
    o.searchCaption = "查找供货商(F2)：";
    o.searchFields = {"ghs_sn", "ghs_name", "ghs_jm"};
    o.codeField = "ghs_sn";
    o.nameField = "ghs_name";
    o.orderItems = {"编号顺序", "编号倒序"};
    ChooserPanel panel(o, 10);
    GridColumn jm{"ghs_jm", "简码", 60};
    jm.visible = false;
    GridModel *model = NewPartnerGridModel(list, {GridColumn{"ghs_sn", "编号", 80}, GridColumn{"ghs_name", "供货商名称", 160}, jm});
    model->setKeyField("ghs_sn");
    panel.setModel(model);
    QList<int> orders;
    panel.orderChanged = [&](int index) {
        orders << index;
        OpenSupplierList(db(), state, list, index == 1 ? "1" : "0");
    };
    EXPECT_EQ(panel.searchLabel()->text(), "查找供货商(F2)：");
    EXPECT_EQ(panel.grid()->rowCount(), 3);
    panel.setSearchText("东");
    EXPECT_EQ(panel.grid()->rowCount(), 2);
    panel.setSearchText("dh");
    ASSERT_EQ(panel.grid()->rowCount(), 1);
    EXPECT_EQ(panel.grid()->value(0, "ghs_name").toString(), "东海水产");
    panel.setSearchText("");
    panel.orderBox()->setCurrentIndex(1);
    EXPECT_EQ(orders, QList<int>{1});
    EXPECT_EQ(panel.grid()->value(0, "ghs_sn").toString(), "100003");
    EXPECT_EQ(panel.orderBox()->objectName(), "comSx");
}

// ---- Export menu item -------------------------------------------------------------------------

class ExportItemTest : public DbTest
{
};

TEST_F(ExportItemTest, MenuItemExportsTheGridOrNothingOnCancel)
{
    CreateGoodsFixture(db());
    DataGrid grid;
    SetUpGoodsGrid(grid, db());
    ScriptedFileChoice files;
    ScriptedNotices notices;
    QMenu menu;
    QAction *item = AddExportGridItem(&menu, &grid, files, notices);
    EXPECT_EQ(item->text(), "导出Excel表(&E)");
    QTemporaryDir dir;
    files.script({dir.filePath("库存.xls"), QString()});
    item->trigger();
    EXPECT_TRUE(QFile::exists(dir.filePath("库存.xlsx")));
    EXPECT_EQ(files.filters, QStringList{"Excel 工作簿 (*.xlsx)"});
    item->trigger();  // Cancel
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
    EXPECT_TRUE(notices.shown.isEmpty());

    files.script({"/nonexistent-folder/x.xlsx"});
    item->trigger();
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_TRUE(notices.last().startsWith("导出失败："));
}

} // namespace
