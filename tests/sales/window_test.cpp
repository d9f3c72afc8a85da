// The sale window through its real widgets: opening, scanning, grid edits, the whole-order
// discount, the customer chooser, date changes, closing, rights, kits and the receipt copy.

#include "sale_fixture.h"

#include "../support/dialogdouble.h"
#include "../support/gridtyping.h"
#include "../support/recordingoutput.h"
#include "../support/screenfixture.h"

#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "sales/forms/spxs.h"
#include "sales/forms/spxs_pending.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

namespace {

class SaleWindowTest : public ScreenFixture
{
protected:
    void SetUp() override
    {
        clock.set(QDateTime(QDate(2025, 3, 14), QTime(10, 30, 0)));
        ScreenFixture::SetUp();
        if (IsSkipped())
            return;
        DialogDouble::opened().clear();
        reloadState();
        SeedSaleSet(db());
        RegisterMasterdataScreens(registry);
        RegisterSalesScreens(registry);
    }
    void reloadState() override
    {
        ScreenFixture::reloadState();
        SetSaleDefaults(state);
    }
    void installDouble(const QString &screenClass, const QVariantMap &answers, int result = QDialog::Accepted)
    {
        registry.registerScreen(screenClass,
                                [screenClass, answers, result](const ScreenContext &, QWidget *parent) -> QDialog * {
                                    auto *d = new DialogDouble(screenClass, parent);
                                    d->answers = answers;
                                    d->result = result;
                                    return d;
                                });
    }
    TF_Spxs *open()
    {
        window.reset(registry.create(QStringLiteral("TF_Spxs"), QStringLiteral("商品销售"), context()));
        window->show();
        QApplication::setActiveWindow(window.get());
        return static_cast<TF_Spxs *>(window.get());
    }
    template <typename T>
    T *find(const char *name) const
    {
        return window->findChild<T *>(QString::fromLatin1(name));
    }
    void scan(TF_Spxs *w, const char *code)
    {
        QLineEdit *box = w->barcodePanel()->entryBox();
        box->setFocus();
        QTest::keyClicks(box, QString::fromUtf8(code));
        QTest::keyClick(box, Qt::Key_Return);
    }
    QString lines(const QString &columns = QStringLiteral("g_sn, ls_sl")) const
    {
        return RowsText(db(), "select " + columns + " from jxc_lsxssp order by id");
    }
    double due() const { return find<MoneyEdit>("tyfje")->value(); }

    std::unique_ptr<QDialog> window;
};

TEST_F(SaleWindowTest, OpensANewSaleForTheDefaultCustomerAndWarehouse)
{
    TF_Spxs *w = open();
    EXPECT_EQ(w->windowTitle(), "商品销售");
    EXPECT_EQ(find<QLabel>("gldjh")->text(), "XS25031410001");
    EXPECT_EQ(find<QLineEdit>("tkh")->text(), "普通客户");
    EXPECT_EQ(w->customerSn(), "100001");
    EXPECT_EQ(find<KeyedCombo>("comCk")->currentText(), "主仓库");
    EXPECT_EQ(find<KeyedCombo>("comUser")->currentText(), "默认员工");
    EXPECT_EQ(find<KeyedCombo>("comJsfs")->currentText(), "按实付款结算");
    EXPECT_EQ(find<MoneyEdit>("tdzl")->value(), 1);
    EXPECT_EQ(due(), 0);
    EXPECT_EQ(find<MoneyEdit>("tssje")->value(), 0);
    EXPECT_FALSE(w->modifyButton()->isVisible());
    EXPECT_FALSE(w->deleteButton()->isVisible());
    EXPECT_FALSE(w->printButton()->isVisible());
    EXPECT_TRUE(w->barcodePanel()->entryBox()->hasFocus());
    for (const char *page : {"cxTab1", "cxTab2", "cxTab3"})
        EXPECT_NE(find<QWidget>(page), nullptr) << page;
    EXPECT_EQ(find<QLabel>("LabelQueryLater")->text(), "此功能尚未完成，将在后续版本中提供。");
    window->close();

    // A saved header takes the first number; the operator's left-over line comes back.
    InsertRow(db(), "jxc_lsxsd", {{"gl_djh", "XS25031410001"}, {"kh_sn", "100001"}, {"ck_sn", "100001"},
                                  {"ls_status", 0}, {"a_name", "admin"}});
    SaleLine(db(), "XS25031410002", kA, 1, 3.5);
    w = open();
    EXPECT_EQ(find<QLabel>("gldjh")->text(), "XS25031410002");
    EXPECT_EQ(w->lineCount(), 1);
    EXPECT_DOUBLE_EQ(due(), 3.5);
    EXPECT_FALSE(find<KeyedCombo>("comCk")->isEnabled());
    EXPECT_TRUE(w->modifyButton()->isVisible());
    EXPECT_TRUE(w->printButton()->isVisible());
}

TEST_F(SaleWindowTest, ScansGridEditsAndTheWholeOrderDiscountKeepTheTotals)
{
    TF_Spxs *w = open();
    scan(w, "6901");
    scan(w, "6912");
    scan(w, "6912");
    EXPECT_EQ(lines(), "20000001|1; 20000001|2");
    EXPECT_DOUBLE_EQ(due(), 83.5);
    EXPECT_DOUBLE_EQ(find<MoneyEdit>("tssje")->value(), 83.5);
    EXPECT_TRUE(w->barcodePanel()->entryBox()->text().isEmpty());
    EXPECT_FALSE(find<KeyedCombo>("comCk")->isEnabled());

    DataGrid *grid = w->linesGrid();
    grid->setCurrentRow(1);
    grid->view()->setCurrentIndex(grid->model()->index(1, grid->model()->columnOf(QStringLiteral("ls_sl"))));
    TypeIntoGrid(*grid, QStringLiteral("3"));
    KeyIntoGrid(*grid, Qt::Key_Return);
    EXPECT_EQ(lines("ls_sl, ls_zsl, ls_zje"), "1|1|3.5; 3|36|120");
    EXPECT_DOUBLE_EQ(due(), 123.5);
    EXPECT_EQ(grid->currentValue(QStringLiteral("ls_sl")).toDouble(), 3);

    auto *discount = find<MoneyEdit>("tdzl");
    discount->setFocus();
    discount->selectAll();
    QTest::keyClicks(discount, QStringLiteral("0.9"));
    EXPECT_EQ(lines("ls_dzl, ls_zje"), "0.9|3.15; 0.9|108");
    EXPECT_DOUBLE_EQ(due(), 111.15);

    // Esc asks; No deletes the operator's lines and closes.
    notices.script({Notices::Answer::No});
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(notices.last(), "当前单据还未保存，是否保存？");
    EXPECT_EQ(lines(), "");
}

TEST_F(SaleWindowTest, ClosingWithLinesAsksAndKeepsOtherOperatorsLines)
{
    SaleLine(db(), kSaleNumber, kB, 1, 10, "op2");
    TF_Spxs *w = open();
    int saves = 0;
    w->setSaveAction([&] { ++saves; });
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());  // no lines of the operator: no question
    EXPECT_TRUE(notices.texts().isEmpty());

    SaleLine(db(), kSaleNumber, kA, 1, 3.5);
    w = open();
    w->setSaveAction([&] { ++saves; });
    notices.script({Notices::Answer::Cancel});
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(lines("a_name"), "op2; admin");
    notices.script({Notices::Answer::Yes});
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(lines("a_name"), "op2; admin");

    w = open();
    notices.script({Notices::Answer::No});
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_EQ(lines("a_name"), "op2");
}

TEST_F(SaleWindowTest, TheCustomerChooserFiltersAndTakesTheCustomer)
{
    state.BindSalesmanCustomer = "1";
    TF_Spxs *w = open();
    whenShown("RzPanelKh", [&](QDialog *d) {
        auto *panel = static_cast<ChooserPanel *>(d);
        // The first key opens the panel with it; typing goes on in its search box.
        EXPECT_EQ(panel->searchBox()->text(), "h");
        QTest::keyClicks(panel->searchBox(), QStringLiteral("l"));
        EXPECT_EQ(panel->grid()->rowCount(), 1);
        EXPECT_EQ(panel->grid()->currentValue(QStringLiteral("kh_name")).toString(), "华联超市");
        PressKey(panel, Qt::Key_F5);
        if (panel->isVisible())
            panel->reject();
    });
    auto *box = find<QLineEdit>("tkh");
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("h"));
    QApplication::processEvents();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(",").toStdString();
    EXPECT_EQ(w->customerSn(), "100002");
    EXPECT_EQ(box->text(), "华联超市");
    EXPECT_EQ(find<KeyedCombo>("comUser")->itemText(0), "业务员甲");

    whenShown("RzPanelKh", [&](QDialog *d) {
        auto *panel = static_cast<ChooserPanel *>(d);
        panel->setSearchText(QStringLiteral("138"));
        EXPECT_EQ(panel->grid()->rowCount(), 2);
        PressKey(panel, Qt::Key_Escape);
        if (panel->isVisible())
            panel->reject();
    });
    w->chooseCustomer(QString());
    EXPECT_EQ(w->customerSn(), "100002");
}

TEST_F(SaleWindowTest, AFutureDateIsAskedAndANewDayRenumbers)
{
    SaleLine(db(), kSaleNumber, kB, 1, 10, "op2");
    TF_Spxs *w = open();
    scan(w, "6901");
    // op2 holds the first number: the scanned line went under the next one.
    EXPECT_EQ(w->number(), "XS25031410002");
    notices.script({Notices::Answer::No});
    w->dateEdit()->setDate(QDate(2025, 3, 15));
    EXPECT_EQ(notices.last(), "您选择的日期：2025-03-15，\r\n\r\n大于计算机的当前日期：2025-03-14，\r\n\r\n确认继续吗？");
    EXPECT_EQ(w->documentDay(), "2025-03-14");
    EXPECT_EQ(w->number(), "XS25031410002");
    notices.script({Notices::Answer::Yes});
    w->dateEdit()->setDate(QDate(2025, 3, 15));
    EXPECT_EQ(w->number(), "XS25031510001");
    EXPECT_EQ(RowsText(db(), "select gl_djh, a_name from jxc_lsxssp order by id"),
              "XS25031410001|op2; XS25031510001|admin");
}

TEST_F(SaleWindowTest, RightsAndParametersShapeTheEntryPage)
{
    // No warehouse: adding says so and opens nothing.
    RunSql(db(), "delete from jxc_ckxx");
    TF_Spxs *w = open();
    w->addOld();
    EXPECT_EQ(notices.last(), "请添加仓库信息！");
    w->addGift();
    EXPECT_EQ(notices.last(), "请添加仓库信息！");
    EXPECT_TRUE(DialogDouble::opened().isEmpty());
    window->close();

    state.RightShowSalePrice = false;
    state.AllowSalePriceEdit = "0";
    w = open();
    // Opening reloads rights from the role; the flags above are the login's own.
    state.RightShowSalePrice = false;
    w->hide();
    w->show();
    EXPECT_FALSE(find<MoneyEdit>("tyfje")->isVisible());
    EXPECT_FALSE(find<MoneyEdit>("tssje")->isVisible());
    EXPECT_FALSE(w->linesGrid()->isColumnShown(QStringLiteral("ls_zje")));
    EXPECT_FALSE(w->linesGrid()->model()->column(QStringLiteral("ls_dj")).editable);
}

TEST_F(SaleWindowTest, AKitAndAHandedOverReceiptBecomeLines)
{
    InsertRow(db(), "jxc_plxx", {{"g_sn", "30000001"}, {"pl_gsn", kA}, {"pl_sl", 2.0}});
    InsertRow(db(), "jxc_plxx", {{"g_sn", "30000001"}, {"pl_gsn", kB}, {"pl_sl", 1.0}});
    installDouble("TF_Spxs_Clsele", {{"kitCode", "30000001"}, {"kitName", "组合装"}, {"kitQuantity", "3"}});
    TF_Spxs *w = open();
    w->sellKit();
    EXPECT_EQ(DialogDouble::opened().last().value("pickMode"), "spxs");
    EXPECT_EQ(lines(), "20000001|6; 20000002|3");
    EXPECT_DOUBLE_EQ(due(), 30);
    EXPECT_EQ(find<QLineEdit>("tnote")->text(), "组合装：【数量：3】 配料出库。");
    notices.script({Notices::Answer::No});
    window->close();

    InsertRow(db(), "jxc_jhd", {{"gl_djh", "CJ25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"},
                                {"u_sn", "100002"}, {"j_note", "到货"}, {"j_status", 0}, {"a_name", "admin"}});
    InsertRow(db(), "jxc_jhsp", {{"gl_djh", "CJ25031410001"}, {"g_sn", kB}, {"jh_sl", 10.0}, {"jh_zsl", 10.0},
                                 {"jh_dj", 2.5}, {"jh_zje", 25.0}, {"jh_dzl", 1.0}, {"jh_tax", 0.0}});
    followOn.SaleSourceNo = "CJ25031410001";
    w = open();
    EXPECT_TRUE(followOn.SaleSourceNo.isEmpty());
    EXPECT_EQ(lines("g_sn, ls_sl, gl_djh3"), "20000002|10|CJ25031410001");
    EXPECT_DOUBLE_EQ(due(), 30);
    EXPECT_EQ(find<QLineEdit>("tnote")->text(), "到货");
    EXPECT_EQ(find<KeyedCombo>("comUser")->currentText(), "业务员甲");
    EXPECT_FALSE(find<KeyedCombo>("comCk")->isEnabled());

    w->resize(1100, 650);
    QApplication::processEvents();
    w->grab().save(QDir::temp().filePath("i25-spxs-window.png"));
}

// The road of a sale through the window: entered, saved pending, edited on the pending page,
// audited there; a new sale previewed; closing with a line and Yes saves it.
TEST_F(SaleWindowTest, ASaleIsSavedEditedOnThePendingPageAndAudited)
{
    RecordingReportOutput output;
    TF_Spxs *w = open();
    w->setReportOutput(&output);
    scan(w, "6901");
    scan(w, "6901");
    scan(w, "6902");
    notices.script({Notices::Answer::Yes});
    w->saveButton()->click();
    EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_lsxsd where gl_djh = 'XS25031410001' and ls_status = 0"), "1")
        << notices.texts().join(" / ").toStdString();
    EXPECT_EQ(find<QLabel>("gldjh")->text(), "XS25031410002");
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(w->saveButton()->isEnabled());

    w->pages()->setCurrentIndex(DocumentWindow::PendingPage);
    DataGrid *list = w->pendingGrid();
    ASSERT_EQ(list->rowCount(), 1);
    EXPECT_EQ(list->currentValue(QStringLiteral("gl_djh")).toString(), "XS25031410001");
    EXPECT_TRUE(list->view()->hasFocus());
    DataGrid *lines = w->pendingLinesGrid();
    ASSERT_EQ(lines->rowCount(), 2);
    EXPECT_EQ(w->pendingPage()->customerName()->text(), "普通客户");
    lines->setCurrentRow(0);
    lines->view()->setCurrentIndex(lines->model()->index(0, lines->model()->columnOf(QStringLiteral("ls_sl"))));
    TypeIntoGrid(*lines, QStringLiteral("3"));
    KeyIntoGrid(*lines, Qt::Key_Return);
    EXPECT_EQ(RowsText(db(), "select ls_yfje, ls_sfje from jxc_lsxsd"), "13.5|13.5");

    notices.script({Notices::Answer::Yes});
    w->pendingPage()->auditSelected();
    EXPECT_EQ(list->rowCount(), 0);
    EXPECT_EQ(QueryScalar(db(), "select kc_sl from jxc_kcsp where g_sn = ?", {kA}), "45");

    w->pages()->setCurrentIndex(DocumentWindow::EntryPage);
    scan(w, "6902");
    w->print(true);
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(output.last().job.templateName, "spxs.fr3");
    EXPECT_EQ(w->lineCount(), 1);  // the sale stays on the page

    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    QTest::keyClick(w, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(QueryScalar(db(), "select count(*) from jxc_lsxsd where gl_djh = 'XS25031410002'"), "1");
}

TEST_F(SaleWindowTest, ThePendingPageFollowsRightsAndItsCustomerPanel)
{
    PendingSaleHeader(db(), "XS25031410001", 3.5, 3.5);
    SaleLine(db(), "XS25031410001", kA, 1, 3.5);
    PendingSaleHeader(db(), "XS25031410002", 3.0, 3.0, {{"kh_sn", "100002"}, {"ls_xsrq", "2025-03-14 10:40"}});
    SaleLine(db(), "XS25031410002", kB, 1, 3.0);
    // xsgl 16 but not 19: the add buttons stay after every refresh; no 2, no 17.
    QString rights(60, QChar('0'));
    rights[0] = '1';
    rights[15] = '1';
    RunSql(db(), "update jxc_role set xsgl = ? where r_sn = '100001'", {rights});
    state.RightChangeDocDate = true;
    installDouble("TF_ModiDateXs", {});
    TF_Spxs *w = open();
    w->pages()->setCurrentIndex(DocumentWindow::PendingPage);
    SalePendingPage *page = w->pendingPage();
    for (int i = 0; i < 2; ++i) {
        page->search();
        EXPECT_TRUE(page->button("btnAddsh")->isEnabled());
        EXPECT_TRUE(page->button("btnAddZpsh")->isEnabled());
    }
    EXPECT_FALSE(page->button("btn_Check")->isEnabled());
    EXPECT_FALSE(page->button("btnDel2")->isEnabled());
    EXPECT_FALSE(page->button("btnDelsh")->isEnabled());
    page->redate();
    ASSERT_FALSE(DialogDouble::opened().isEmpty());
    EXPECT_EQ(DialogDouble::opened().last().value("documentNumber"), "XS25031410001");
    EXPECT_EQ(DialogDouble::opened().last().value("callerTag"), "cgjh");

    // 19 but not 16: no adding.
    rights[15] = '0';
    rights[18] = '1';
    RunSql(db(), "update jxc_role set xsgl = ? where r_sn = '100001'", {rights});
    page->activate();
    EXPECT_FALSE(page->button("btnAddsh")->isEnabled());
    EXPECT_FALSE(page->button("btnAddZpsh")->isEnabled());

    // The customer panel: a typed name filters the list; "查询全部客户" lists all again.
    whenShown("RzPanel_Kh2", [&](QDialog *d) {
        auto *panel = static_cast<ChooserPanel *>(d);
        EXPECT_EQ(panel->grid()->rowCount(), 1);
        PressKey(panel, Qt::Key_F5);
    });
    page->customerBox()->setText(QStringLiteral("华"));
    Q_EMIT page->customerBox()->textEdited(QStringLiteral("华"));  // as typed
    EXPECT_EQ(page->customerBox()->text(), "华联超市");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 1);
    whenShown("RzPanel_Kh2", [&](QDialog *d) {
        auto *panel = static_cast<ChooserPanel *>(d);
        panel->allBox()->click();
    });
    page->chooseCustomer(false);
    EXPECT_EQ(page->customerBox()->text(), "全部客户");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 2);

    w->resize(1100, 650);
    QApplication::processEvents();
    w->grab().save(QDir::temp().filePath("s26-spxs-pending.png"));
    notices.script({Notices::Answer::No});
    window->close();
}

// DocDateDefault keeps the saved sale's date for the next one; PrintSaleOnSave prints the saved
// sale once, directly.
TEST_F(SaleWindowTest, SavingKeepsTheDateAndPrintsWhenAsked)
{
    state.DocDateDefault = "1";
    state.PrintSaleOnSave = "1";
    RecordingReportOutput output;
    TF_Spxs *w = open();
    w->setReportOutput(&output);
    w->dateEdit()->setDate(QDate(2025, 3, 12));
    EXPECT_EQ(find<QLabel>("gldjh")->text(), "XS25031210001");
    scan(w, "6901");
    notices.script({Notices::Answer::Yes});
    w->saveButton()->click();
    EXPECT_EQ(RowsText(db(), "select gl_djh, ls_xsrq from jxc_lsxsd"), "XS25031210001|2025-03-12 10:30");
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(output.last().copies, 1);
    EXPECT_EQ(output.last().job.variables.value("xxyf"), "3.5");
    EXPECT_EQ(w->documentDate(), QDate(2025, 3, 12));
    EXPECT_EQ(find<QLabel>("gldjh")->text(), "XS25031210002");
    EXPECT_EQ(w->lineCount(), 0);
    window->close();
    w = open();
    EXPECT_EQ(w->documentDate(), QDate(2025, 3, 14));
    window->close();
}

} // namespace
