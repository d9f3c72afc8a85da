// The purchase receipt window through its real widgets: opening, scanning, the picker, the line
// dialog, the supplier chooser, grid edits, save and audit from the pending page, closing, date
// changes, visibility by rights and parameters, the goods add dialog, kits, printing.

#include "purchase_fixture.h"
#include "screens_fixture.h"

#include "../support/gridtyping.h"

#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/purchasingscreens.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/spxxgl_add.h"
#include "masterdata/forms/goodsclasstree.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"
#include "platform/system/urlopener.h"
#include "shell/forms/mainform.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

class ReceiptWindowTest : public PurchaseScreenTest
{
protected:
    TF_Cgjh *open()
    {
        openWindow();
        return static_cast<TF_Cgjh *>(window.get());
    }
    void scan(TF_Cgjh *w, const char *code)
    {
        QLineEdit *box = w->barcodePanel()->entryBox();
        box->setFocus();
        QTest::keyClicks(box, QString::fromLatin1(code));
        QTest::keyClick(box, Qt::Key_Return);
    }
    // A key as the operator types it: to `target`, which has the focus.
    static void keyTo(QWidget *target, Qt::Key key)
    {
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(target, key);
    }
    static void doubleClickRow(DataGrid *grid, int row, int column = 1)
    {
        QTableView *view = grid->view();
        const QRect cell = view->visualRect(view->model()->index(row, column));
        QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    }
    static void typeInto(MoneyEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    QString lines(const QString &columns = QStringLiteral("g_sn, jh_sl")) const
    {
        return scalar("select count(*) from jxc_jhsp") == "0"
                   ? QString()
                   : [&] {
                         QSqlQuery q = OpenSelect(db(), "select " + columns + " from jxc_jhsp order by id");
                         QStringList all;
                         while (q.next()) {
                             QStringList r;
                             for (int i = 0; i < columns.count(',') + 1; ++i)
                                 r << ValueText(q.value(i));
                             all << r.join('|');
                         }
                         return all.join("; ");
                     }();
    }
};

TEST_F(ReceiptWindowTest, OpensANewDocumentWithTheDefaultsAndTheOperatorsStoredLines)
{
    RunSql(db(), "insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_sl, jh_dj, jh_zje, jh_dzl) values (?, ?, 'admin', 2, 3, 6, 1)",
           {kFirstNumber, kG2});
    TF_Cgjh *w = open();
    EXPECT_EQ(w->objectName(), "TF_Cgjh");
    EXPECT_EQ(w->windowTitle(), "采购进货");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CJ25031410001");
    EXPECT_EQ(find<QLineEdit>(w, "tghs")->text(), "普通供货商");
    EXPECT_EQ(w->supplierSn(), "100001");
    EXPECT_EQ(find<QComboBox>(w, "comCk")->currentText(), "主仓库");
    EXPECT_EQ(find<QComboBox>(w, "comJsfs")->currentText(), "余款记入应付帐");
    EXPECT_EQ(find<QComboBox>(w, "comUser")->currentText(), "默认员工");
    EXPECT_EQ(find<QComboBox>(w, "comYhzh")->currentText(), "现金");
    EXPECT_EQ(w->documentDay(), "2025-03-14");
    EXPECT_EQ(w->pages()->tabText(0), "采购进货");
    EXPECT_EQ(w->pages()->tabText(1), "待审核采购单");
    EXPECT_EQ(w->pages()->tabText(2), "采购进货查询");
    EXPECT_EQ(w->lineCount(), 1);
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 6);
    EXPECT_EQ(find<MoneyEdit>(w, "tsfje")->value(), 6);
    EXPECT_TRUE(w->modifyButton()->isVisible());
    EXPECT_EQ(w->focusWidget(), w->barcodePanel()->entryBox());
    EXPECT_TRUE(find<QLineEdit>(w, "tGhsname3") != nullptr);
}

TEST_F(ReceiptWindowTest, ScanPickEditSaveAndAuditFromThePendingPage)
{
    TF_Cgjh *w = open();
    scan(w, "6901");
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_EQ(w->linesGrid()->footerText("jh_sl"), "1.00");
    EXPECT_EQ(w->linesGrid()->footerText("jh_zje"), "2.35");

    // F2: the picker; two goods selected, F8, F5.
    whenShown("TF_Cgjh_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Cgjh_Add *>(d);
        QTableView *view = picker->listGrid()->view();
        ASSERT_EQ(picker->listGrid()->rowCount(), 3);
        view->clearSelection();
        view->selectionModel()->select(view->model()->index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        view->selectionModel()->select(view->model()->index(2, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        keyTo(view, Qt::Key_F8);
        EXPECT_EQ(picker->basketGrid()->rowCount(), 2);
        keyTo(view, Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    ASSERT_EQ(w->lineCount(), 3);
    EXPECT_EQ(w->focusWidget(), find<QComboBox>(w, "comUser"));

    // A double click on a line: the dialog; quantity 5, F5.
    whenShown("TF_Cgjh_Sele", [&](QDialog *d) {
        typeInto(d->findChild<MoneyEdit *>("tsl"), "5");
        PressKey(d, Qt::Key_F5);
    });
    doubleClickRow(w->linesGrid(), 0);
    EXPECT_EQ(w->linesGrid()->value(0, "jh_sl").toDouble(), 5);

    // A cell edit of 数量 updates the footer and the totals.
    w->linesGrid()->setCurrentRow(1);
    w->linesGrid()->view()->setCurrentIndex(w->linesGrid()->model()->index(1, w->linesGrid()->model()->columnOf("jh_sl")));
    TypeIntoGrid(*w->linesGrid(), "2");
    KeyIntoGrid(*w->linesGrid(), Qt::Key_Return);
    EXPECT_EQ(w->linesGrid()->footerText("jh_sl"), "8.00");
    const double payable = find<MoneyEdit>(w, "tyfje")->value();
    EXPECT_NEAR(payable, 5 * 2.35 + 2 * 3 + 2.5, 1e-9);

    // F5 → Yes: saved pending; the next document.
    notices.script({Notices::Answer::Yes});
    keyTo(w->linesGrid()->view(), Qt::Key_F5);
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CJ25031410002");
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 0);
    EXPECT_TRUE(w->saveButton()->isEnabled());

    // The pending page lists it; 单据审核(&W) → Yes audits it.
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 1);
    EXPECT_EQ(w->pendingGrid()->value(0, "gl_djh").toString(), kFirstNumber);
    EXPECT_EQ(w->pendingGrid()->footerText("gl_djh"), "记录数：1");
    EXPECT_EQ(w->pendingLinesGrid()->rowCount(), 3);
    notices.script({Notices::Answer::Yes});
    QMenu *menu = w->pendingMenu();
    w->pendingGrid()->openPopup(w->mapToGlobal(QPoint(60, 80)));
    QAction *audit = menu->actions().first();
    EXPECT_EQ(audit->text(), "单据审核(&W)");
    ASSERT_TRUE(audit->isEnabled());
    menu->close();
    audit->trigger();
    EXPECT_EQ(w->pendingGrid()->rowCount(), 0);
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {kG1}), "5");
    EXPECT_EQ(scalar("select j_status from jxc_jhd"), "1");
}

TEST_F(ReceiptWindowTest, TypingInTheSupplierBoxOpensTheChooserFiltered)
{
    RunSql(db(), "insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_jm, ghs_forbid) values ('100002', '东方商贸', 'DFSM', 0)");
    TF_Cgjh *w = open();
    int rows = -1;
    QString caption;
    whenShown("RzPanelGhs", [&](QDialog *d) {
        auto *panel = static_cast<ChooserPanel *>(d);
        caption = panel->searchLabel()->text();
        EXPECT_EQ(panel->searchBox()->text(), "D");
        QTest::keyClicks(panel->searchBox(), "F");
        rows = panel->grid()->rowCount();
        QTest::keyClick(panel->searchBox(), Qt::Key_F5);
    });
    QLineEdit *box = find<QLineEdit>(w, "tghs");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, "D");  // the panel takes the typing from here
    EXPECT_EQ(caption, "查找供货商(F2)：");
    EXPECT_EQ(rows, 1);
    EXPECT_EQ(box->text(), "东方商贸");
    EXPECT_EQ(w->supplierSn(), "100002");

    // A name typed and not chosen is refused at the save.
    scan(w, "6901");
    whenShown("RzPanelGhs", [&](QDialog *d) { QTest::keyClick(static_cast<ChooserPanel *>(d)->searchBox(), Qt::Key_Escape); });
    box->setFocus();
    QTest::keyClicks(box, "X");
    notices.shown.clear();
    w->save();
    EXPECT_EQ(notices.texts(), QStringList{"请选择供货商！"});
    EXPECT_EQ(scalar("select count(*) from jxc_jhd"), "0");
}

TEST_F(ReceiptWindowTest, ClosingWithLinesAsksDeleteEmptiesTheTotals)
{
    TF_Cgjh *w = open();
    scan(w, "6901");
    scan(w, "6902");
    notices.script({Notices::Answer::Yes});
    w->linesGrid()->setCurrentRow(1);
    w->deleteButton()->click();
    EXPECT_EQ(notices.last(), "您确定要删除当前选中的商品吗！");
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 2.35);
    notices.script({Notices::Answer::Cancel});
    keyTo(w->linesGrid()->view(), Qt::Key_Escape);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(lines(), "20000001|1");
    notices.script({Notices::Answer::No});
    keyTo(w->linesGrid()->view(), Qt::Key_Escape);
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(lines(), "");

    // Opened again: the last line deleted hides 修改/删除/打印 and the payable is 0.
    w->show();
    scan(w, "6901");
    notices.script({Notices::Answer::Yes});
    w->deleteButton()->click();
    EXPECT_FALSE(w->modifyButton()->isVisible());
    EXPECT_FALSE(w->printButton()->isVisible());
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 0);
}

TEST_F(ReceiptWindowTest, DateChangesAskRenumberAndSurviveAFailure)
{
    TF_Cgjh *w = open();
    scan(w, "6901");
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    w->dateEdit()->setDate(QDate(2025, 3, 20));
    EXPECT_EQ(notices.texts(), QStringList{"您选择的日期：2025-03-20，\r\n\r\n大于计算机的当前日期：2025-03-14，\r\n\r\n确认继续吗？"});
    EXPECT_EQ(w->documentDay(), "2025-03-14");
    EXPECT_EQ(w->number(), kFirstNumber);

    RunSql(db(), "insert into jxc_jhd (gl_djh, a_name, j_status) values ('CJ25031010001', 'wang', 0)");
    InjectStatementFailure(db(), 3);
    w->dateEdit()->setDate(QDate(2025, 3, 10));
    InjectStatementFailure(db(), 0);
    EXPECT_TRUE(notices.last().startsWith("更改日期失败：")) << notices.last().toStdString();
    EXPECT_EQ(w->documentDay(), "2025-03-14");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), kFirstNumber);
    EXPECT_EQ(lines("gl_djh"), kFirstNumber);

    w->dateEdit()->setDate(QDate(2025, 3, 10));
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CJ25031010002");
    EXPECT_EQ(lines("gl_djh"), "CJ25031010002");
    EXPECT_EQ(w->lineCount(), 1);
}

TEST_F(ReceiptWindowTest, RightsAndParametersHideWhatTheRoleMayNotSeeOrDo)
{
    state.RightShowCost = false;
    state.UseTax = "0";
    state.UseDiscount = "0";
    RunSql(db(), "update jxc_role set cggl = ? where r_sn = '100001'", {QString("00") + QString(58, QChar('1'))});
    TF_Cgjh *w = open();
    DataGrid *g = w->linesGrid();
    for (const char *f : {"jh_dj", "dj", "jh_zje", "jh_je", "jh_tax", "jh_taxdj", "jh_taxje", "jh_dzl", "gl_djh2"})
        EXPECT_FALSE(g->isColumnShown(QString::fromLatin1(f))) << f;
    for (const char *f : {"g_sn", "g_name", "jh_sl", "jh_bz"})
        EXPECT_TRUE(g->isColumnShown(QString::fromLatin1(f))) << f;
    EXPECT_FALSE(find<MoneyEdit>(w, "tyfje")->isVisible());
    EXPECT_FALSE(find<MoneyEdit>(w, "tsfje")->isVisible());
    // Without cggl 1 no adding: the buttons, F2, F9 and the barcode panel.
    EXPECT_FALSE(w->buttonGroup()->isEnabled());
    EXPECT_FALSE(find<QPushButton>(w, "btnAddNew")->isVisible());
    keyTo(g->view(), Qt::Key_F2);
    keyTo(g->view(), Qt::Key_F9);
    EXPECT_TRUE(DialogDouble::opened().isEmpty());
    EXPECT_FALSE(w->barcodePanel()->isEnabled());
    EXPECT_FALSE(find<QPushButton>(w, "btn_Check")->isEnabled());
    w->close();

    // With the rights and the parameters on.
    RunSql(db(), "update jxc_role set cggl = ? where r_sn = '100001'", {QString(60, QChar('1'))});
    state.RightShowCost = true;
    state.UseTax = "1";
    state.UseDiscount = "1";
    state.UsePurchaseOrder = "1";
    w = open();
    for (const char *f : {"jh_dj", "dj", "jh_zje", "jh_je", "jh_tax", "jh_taxdj", "jh_taxje", "jh_dzl", "gl_djh2"})
        EXPECT_TRUE(w->linesGrid()->isColumnShown(QString::fromLatin1(f))) << f;
    EXPECT_TRUE(find<QPushButton>(w, "btnAddNew")->isVisible());
    EXPECT_TRUE(find<QPushButton>(w, "btnCgdImport")->isVisible());
    EXPECT_TRUE(find<QPushButton>(w, "btn_Check")->isEnabled());
}

TEST_F(ReceiptWindowTest, TheAccountPanelAndTheChooserButtonsFollowTheFocus)
{
    TF_Cgjh *w = open();
    QWidget *panel = find<QWidget>(w, "PanelYhzh");
    find<MoneyEdit>(w, "tsfje")->setFocus();
    EXPECT_TRUE(panel->isVisible());
    find<QComboBox>(w, "comUser")->setFocus();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_TRUE(find<QToolButton>(w, "btnUser")->isVisible());
    find<QLineEdit>(w, "tnote")->setFocus();
    EXPECT_FALSE(find<QToolButton>(w, "btnUser")->isVisible());
    EXPECT_TRUE(find<QToolButton>(w, "btnDjbz")->isVisible());
    state.UseCashBank = "0";
    find<MoneyEdit>(w, "tsfje")->setFocus();
    EXPECT_FALSE(panel->isVisible());

    // The handler chooser and the note presets hand back their answers.
    RunSql(db(), "insert into jxc_user (u_sn, u_name, u_cg, u_jy) values ('100002', '李采购', 1, 0)");
    installDouble("TF_User2", {{handoff::HandlerItems, KeyedItemsProperty({{"默认员工", "100001"}, {"李采购", "100002"}})},
                               {handoff::HandlerSelected, 1}});
    installDouble("TF_Djbz", {{handoff::NoteText, "送货上门"}});
    w->chooseHandler();
    w->chooseNote();
    EXPECT_EQ(find<QComboBox>(w, "comUser")->currentText(), "李采购");
    EXPECT_EQ(find<QLineEdit>(w, "tnote")->text(), "送货上门");
    ASSERT_EQ(DialogDouble::opened().size(), 2);
    EXPECT_EQ(DialogDouble::opened().at(0).value(handoff::CallerTag).toString(), "jh");
}

TEST_F(ReceiptWindowTest, AKitFromTheKitPickerBecomesItsComponents)
{
    AddGoods(db(), "K", "果汁礼盒", 0);
    AddGoods(db(), "C1", "苹果汁", 2.5, "6911");
    RunSql(db(), "insert into jxc_plxx (g_sn, pl_gsn, pl_sl) values ('K', 'C1', 2)");
    installDouble("TF_Spxs_Clsele", {{handoff::KitCode, "K"}, {handoff::KitName, "果汁礼盒"}, {handoff::KitQuantity, "3"}});
    TF_Cgjh *w = open();
    w->importKit();
    EXPECT_EQ(DialogDouble::opened().last().value(handoff::PickMode).toString(), "spxs");
    EXPECT_EQ(lines(), "C1|6");
    EXPECT_EQ(find<QLineEdit>(w, "tnote")->text(), "果汁礼盒：【数量：3】  配料入库。");
    installDouble("TF_Spxs_Clsele", {{handoff::KitCode, "K"}}, QDialog::Rejected);
    w->importKit();
    EXPECT_EQ(lines(), "C1|6");
}

TEST_F(ReceiptWindowTest, NewGoodsGoThroughTheGoodsDialogIntoTheLineDialog)
{
    RunSql(db(), "update jxc_xtcs set cs_spbh = 1");
    state.AutoGoodsCode = "1";
    TF_Cgjh *w = open();
    whenShown("TF_Spxxgl_Add", [&](QDialog *d) {
        auto *add = static_cast<GoodsEditDialog *>(d);
        QTest::mouseClick(add->findChild<QPushButton *>("btnClass"), Qt::LeftButton);
        QTreeWidget *tree = add->classTree()->tree();
        const QList<QTreeWidgetItem *> found = tree->findItems("默认类别", Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty());
        tree->setCurrentItem(found.first());
        Q_EMIT tree->itemDoubleClicked(found.first(), 0);
        add->nameBox()->setFocus();
        TypeText(add->nameBox(), "芒果汁");
        add->unitCombo()->setCurrentIndex(add->unitCombo()->findText("瓶"));
        add->purchasePriceEdit()->setFocus();
        add->purchasePriceEdit()->selectAll();
        QTest::keyClicks(add->purchasePriceEdit(), "4");
        whenShown("TF_Cgjh_Sele", [&](QDialog *line) {
            typeInto(line->findChild<MoneyEdit *>("tsl"), "6");
            PressKey(line, Qt::Key_F5);
        });
        PressKey(add, Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F9);
    ASSERT_EQ(w->lineCount(), 1) << notices.texts().join("|").toStdString();
    EXPECT_EQ(w->linesGrid()->value(0, "g_name").toString(), "芒果汁");
    EXPECT_EQ(lines("jh_sl, jh_dj"), "6|4");
}

TEST_F(ReceiptWindowTest, PreviewOfTheDraftAndPrintOnSave)
{
    AddGoods(db(), "20000005", "果汁", 2.5, "6905");
    state.PurchasePaidDefault = "1";
    TF_Cgjh *w = open();
    for (int i = 0; i < 40; ++i)
        scan(w, "6905");
    RunSql(db(), "delete from jxc_jhsp where id > (select min(id) from jxc_jhsp)");
    RunSql(db(), "update jxc_jhsp set jh_sl = 40, jh_zje = 100, jh_je = 100");
    w->reloadLines();
    w->updateTotals();
    typeInto(find<MoneyEdit>(w, "tsfje"), "30");
    w->printDraft(true);
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(output.last().job.variables.value("xxsf"), "30");
    EXPECT_EQ(output.last().job.variables.value("ljqkje"), "70");

    state.PrintPurchaseOnSave = "1";
    notices.script({Notices::Answer::Yes});
    w->save();
    ASSERT_EQ(output.jobs.size(), 2);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(output.last().copies, 1);
}

TEST_F(ReceiptWindowTest, TheMainWindowKeepsOneReceiptWindow)
{
    struct NoUrls final : UrlOpener
    {
        bool openFile(const QString &) override { return true; }
        bool openUrl(const QString &) override { return true; }
    } urls;
    TF_MainForm form(*data, state, clock, notices, urls, registry, followOn);
    QDialog *first = nullptr;
    for (int i = 0; i < 2; ++i) {
        whenShown("TF_Cgjh", [&](QDialog *d) {
            if (!first)
                first = d;
            EXPECT_EQ(d, first);
            QTest::keyClick(d, Qt::Key_Escape);
        });
        form.commandClick("btn_Menu1_Btn1");
    }
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(form.keptScreen("TF_Cgjh"), first);
}

// With tax and discount on, the window, the line dialog and the picker show their columns and
// boxes with the scanned figures; each is also saved as a picture in the temporary folder, to look at.
TEST_F(ReceiptWindowTest, TaxAndDiscountShowInTheWindowTheLineDialogAndThePicker)
{
    state.UseTax = "1";
    state.UseDiscount = "1";
    TF_Cgjh *w = open();
    w->resize(1100, 650);
    scan(w, "6901");
    scan(w, "6902");
    scan(w, "6903");
    QApplication::processEvents();
    ASSERT_EQ(w->lineCount(), 3);
    for (const char *f : {"jh_dj", "dj", "jh_je", "jh_tax", "jh_taxdj", "jh_taxje", "jh_dzl", "jh_zje"})
        EXPECT_TRUE(w->linesGrid()->isColumnShown(QString::fromLatin1(f))) << f;
    EXPECT_EQ(w->linesGrid()->footerText("jh_sl"), "3.00");
    EXPECT_EQ(w->linesGrid()->footerText("jh_zje"), "7.85");
    EXPECT_NEAR(find<MoneyEdit>(w, "tyfje")->value(), 7.85, 1e-9);
    EXPECT_TRUE(w->grab().save(QDir::temp().filePath("i19-cgjh-window.png")));

    const int current = w->linesGrid()->currentRow();
    ASSERT_GE(current, 0);
    const double price = w->linesGrid()->value(current, "jh_dj").toDouble();
    const QString goods = w->linesGrid()->value(current, "g_sn").toString();
    bool dialogShown = false;
    whenShown("TF_Cgjh_Sele", [&](QDialog *d) {
        dialogShown = true;
        QApplication::processEvents();
        bool goodsShown = false;
        for (QLabel *l : d->findChildren<QLabel *>())
            goodsShown = goodsShown || (l->text() == goods && l->isVisible());
        EXPECT_TRUE(goodsShown) << goods.toStdString();
        EXPECT_NEAR(d->findChild<MoneyEdit *>("tsl")->value(), 1, 1e-9);
        EXPECT_NEAR(d->findChild<MoneyEdit *>("tgpjjj")->value(), price, 1e-9);
        for (const char *box : {"ttax", "ttaxdj", "tdzl", "tzje"})
            EXPECT_TRUE(d->findChild<MoneyEdit *>(box)->isVisible()) << box;
        EXPECT_TRUE(d->grab().save(QDir::temp().filePath("i19-cgjh-sele.png")));
        PressKey(d, Qt::Key_Escape);
    });
    w->modifyLine();
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(w->lineCount(), 3);

    bool pickerShown = false;
    whenShown("TF_Cgjh_Add", [&](QDialog *d) {
        pickerShown = true;
        auto *picker = static_cast<TF_Cgjh_Add *>(d);
        picker->resize(1150, 600);
        ASSERT_EQ(picker->listGrid()->rowCount(), 3);
        picker->listGrid()->setCurrentRow(0);
        picker->listGrid()->view()->selectAll();
        picker->addSelected();
        QApplication::processEvents();
        EXPECT_EQ(picker->basketGrid()->rowCount(), 3);
        EXPECT_TRUE(picker->basketGrid()->hasEditableColumns());
        EXPECT_TRUE(d->grab().save(QDir::temp().filePath("i19-cgjh-add.png")));
        // Closing with the basket, No: the basket is emptied, nothing reaches the receipt.
        notices.script({Notices::Answer::No});
        PressKey(d, Qt::Key_Escape);
    });
    w->addOld();
    EXPECT_TRUE(pickerShown);
    EXPECT_EQ(w->lineCount(), 3);
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp"), "3");
    EXPECT_EQ(scalar("select count(*) from jxc_tempspxf2"), "0");
}

// 新商品添加(F9) takes cggl 17 besides cggl 1: without it the button is hidden and F9 opens nothing,
// while the other adding stays.
TEST_F(ReceiptWindowTest, NewGoodsNeedTheirOwnRight)
{
    installDouble("TF_Spxxgl_Add", {}, QDialog::Rejected);
    struct Case
    {
        bool right17;
        bool shown;
    };
    for (const Case k : {Case{false, false}, Case{true, true}}) {
        SCOPED_TRACE(k.right17);
        QString rights(60, QChar('1'));
        rights[16] = k.right17 ? QChar('1') : QChar('0');
        RunSql(db(), "update jxc_role set cggl = ? where r_sn = '100001'", {rights});
        DialogDouble::opened().clear();
        TF_Cgjh *w = open();
        EXPECT_TRUE(w->buttonGroup()->isEnabled());
        EXPECT_TRUE(w->barcodePanel()->isEnabled());
        EXPECT_EQ(find<QPushButton>(w, "btnAddNew")->isVisible(), k.shown);
        keyTo(w->linesGrid()->view(), Qt::Key_F9);
        ASSERT_EQ(DialogDouble::opened().size(), k.shown ? 1 : 0);
        if (k.shown)
            EXPECT_EQ(DialogDouble::opened().first().value("class").toString(), "TF_Spxxgl_Add");
        w->close();
    }
}

} // namespace
