// The purchase return and purchase order windows through their real widgets: the return's
// opening, picker and line dialog, save and audit at once, the whole receipt handed over by the
// shell; the order's scan, grid edit of 订单数量 and save audited at once.

#include "purchase_fixture.h"
#include "screens_fixture.h"

#include "../support/gridtyping.h"

#include "engine/audit.h"
#include "foundation/handoff.h"
#include "purchasing/forms/cgd.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/cgjh_importdd.h"
#include "purchasing/orderaudit.h"
#include "purchasing/forms/cgth.h"
#include "purchasing/forms/purchase_lists.h"
#include "../support/scriptedfilechoice.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

namespace {

class ReturnOrderWindowTest : public PurchaseScreenTest
{
protected:
    template <typename T>
    T *openKind(const char *cls, const char *caption)
    {
        window.reset(registry.create(QString::fromLatin1(cls), QString::fromUtf8(caption), context()));
        auto *w = static_cast<T *>(window.get());
        w->setReportOutput(&output);
        w->show();
        QApplication::setActiveWindow(w);
        return w;
    }
    static void keyTo(QWidget *target, Qt::Key key)
    {
        target->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(target, key);
    }
    static void typeInto(MoneyEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void stockG1(double quantity)
    {
        SavedReceipt(db(), "CJ25031010001", {{kG1, {quantity, 12.0}}}, 0, {{"j_jhrq", "2025-03-10 09:00"}});
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ25031010001").audited());
    }
};

TEST_F(ReturnOrderWindowTest, ReturnOpensPicksSavesAndAuditsAtOnce)
{
    stockG1(10);
    TF_Cgth *w = openKind<TF_Cgth>("TF_Cgth", "采购退货");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CT25031410001");
    EXPECT_EQ(find<QLineEdit>(w, "tghs")->text(), "普通供货商");
    EXPECT_EQ(find<QComboBox>(w, "comCk")->currentText(), "主仓库");
    EXPECT_EQ(find<QComboBox>(w, "comUser")->currentText(), "默认员工");
    EXPECT_EQ(find<QComboBox>(w, "comYhzh")->currentText(), "现金");
    EXPECT_EQ(w->pages()->tabText(0), "采购退货");
    EXPECT_EQ(w->pages()->tabText(1), "待审核退货单");
    EXPECT_EQ(w->pages()->tabText(2), "退货查询");
    EXPECT_FALSE(w->barcodePanel() && w->barcodePanel()->isVisible());
    EXPECT_FALSE(find<QComboBox>(w, "comJsfs")->isVisible());
    EXPECT_TRUE(w->wholeReturnButton()->isVisible());
    EXPECT_FALSE(w->linesGrid()->model()->column(QStringLiteral("th_sl")).editable);

    // 添加商品 with a supplier box of spaces is refused.
    find<QLineEdit>(w, "tghs")->setText("   ");
    w->addOld();
    EXPECT_EQ(notices.texts().last(), "请选择供货商！");
    find<QLineEdit>(w, "tghs")->setText("普通供货商");

    // The picker: G1 into the basket through the line dialog (2 × 15), F5; then 修改 to 4.
    whenShown("TF_Cgth_Add", [&](QDialog *d) {
        auto *picker = static_cast<TF_Cgjh_Add *>(d);
        QTableView *view = picker->listGrid()->view();
        view->clearSelection();
        view->selectionModel()->select(view->model()->index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
        whenShown("TF_Cgth_Sele", [&](QDialog *line) {
            typeInto(line->findChild<MoneyEdit *>("tsl"), "2");
            typeInto(line->findChild<MoneyEdit *>("tgpjjj"), "15");
            PressKey(line, Qt::Key_F5);
        });
        keyTo(view, Qt::Key_F8);
        keyTo(view, Qt::Key_F5);
    });
    keyTo(w->linesGrid()->view(), Qt::Key_F2);
    ASSERT_EQ(w->lineCount(), 1);
    whenShown("TF_Cgth_Sele", [&](QDialog *d) {
        typeInto(d->findChild<MoneyEdit *>("tsl"), "4");
        PressKey(d, Qt::Key_F5);
    });
    w->modifyLine();
    EXPECT_EQ(scalar("select th_sl from jxc_thsp"), "4");
    EXPECT_EQ(scalar("select th_zje from jxc_thsp"), "60");
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 60);
    EXPECT_FALSE(find<QLineEdit>(w, "tghs")->isEnabled());
    EXPECT_FALSE(find<QComboBox>(w, "comCk")->isEnabled());
    QDir::temp().mkpath(".");
    w->grab().save(QDir::temp().filePath("i21-cgth-window.png"));

    // F5 → Yes: saved and audited at once; the next number.
    state.AuditOnSave = "1";
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    keyTo(w->linesGrid()->view(), Qt::Key_F5);
    EXPECT_EQ(scalar("select th_status from jxc_thd"), "1");
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {kG1}), "6");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CT25031410002");
    EXPECT_EQ(w->lineCount(), 0);
    EXPECT_TRUE(find<QLineEdit>(w, "tghs")->isEnabled());
}

TEST_F(ReturnOrderWindowTest, AReceiptHandedOverIsReturnedWhole)
{
    stockG1(10);
    FollowOn().ReturnSourceNo = "CJ25031010001";
    TF_Cgth *w = openKind<TF_Cgth>("TF_Cgth", "采购退货");
    EXPECT_TRUE(FollowOn().ReturnSourceNo.isEmpty());
    EXPECT_EQ(w->lineCount(), 1);
    EXPECT_EQ(w->sourceReceipt(), "CJ25031010001");
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 120);
    // 整单退货 with lines on the page.
    w->wholeReturnButton()->click();
    EXPECT_EQ(notices.texts().last(), "请先保存本次的退货单据！");
    notices.script({Notices::Answer::Yes});
    w->save();
    EXPECT_EQ(scalar("select j_th from jxc_jhd"), "1");
    EXPECT_EQ(scalar("select j_dhdid from jxc_jhd"), "CT25031410001");
    EXPECT_TRUE(w->sourceReceipt().isEmpty());
}

TEST_F(ReturnOrderWindowTest, OrderScansEditsTheQuantityAndSaves)
{
    TF_Cgd *w = openKind<TF_Cgd>("TF_Cgd", "采购订单");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CD25031410001");
    EXPECT_EQ(find<QComboBox>(w, "comJsfs")->currentText(), "余款记入应付帐");
    EXPECT_EQ(w->pages()->tabText(1), "待审核采购订单");
    EXPECT_FALSE(find<QLineEdit>(w, "tfpno")->isVisible());
    EXPECT_FALSE(find<QPushButton>(w, "btnCgdImport")->isVisible());

    QLineEdit *box = w->barcodePanel()->entryBox();
    box->setFocus();
    box->setText(QStringLiteral("6901，3"));
    QTest::keyClick(box, Qt::Key_Return);
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_EQ(box->text(), "6901");
    EXPECT_EQ(scalar("select jh_rksl from jxc_cgsp"), "1");

    DataGrid *g = w->linesGrid();
    g->view()->setCurrentIndex(g->model()->index(0, g->model()->columnOf("jh_sl")));
    TypeIntoGrid(*g, "3");
    KeyIntoGrid(*g, Qt::Key_Return);
    EXPECT_EQ(scalar("select jh_sl from jxc_cgsp"), "3");
    EXPECT_EQ(scalar("select jh_rksl from jxc_cgsp"), "3");
    EXPECT_NEAR(find<MoneyEdit>(w, "tyfje")->value(), 3 * 2.35, 1e-9);
    w->grab().save(QDir::temp().filePath("i21-cgd-window.png"));

    state.AuditOnSave = "1";
    notices.script({Notices::Answer::Yes});
    keyTo(g->view(), Qt::Key_F5);
    EXPECT_EQ(scalar("select j_status from jxc_cgd"), "1");
    EXPECT_EQ(scalar("select j_qk from jxc_cgd"), "0");
    EXPECT_EQ(scalar("select jh_rksl from jxc_cgsp"), "0");
    EXPECT_EQ(find<QLabel>(w, "jsn")->text(), "CD25031410002");
    EXPECT_EQ(w->lineCount(), 0);
}

TEST_F(ReturnOrderWindowTest, ReceiptImportsAnOpenOrder)
{
    InsertRow(db(), "jxc_cgd", {{"gl_djh", "CD25031010001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"},
                                {"j_jhrq", "2025-03-10 09:00"}, {"j_yfje", 100.0}, {"j_sfje", 100.0}, {"u_sn", "100001"},
                                {"j_note", "三月订货"}, {"a_name", "admin"}, {"j_status", 0}, {"j_jsfs", 1},
                                {"j_kmmc", "现金"}, {"j_qk", 0}});
    DraftLine(db(), "CD25031010001", kG1, 8, 12.5, "admin", "jxc_cgsp");
    ASSERT_TRUE(OrderAudit(db(), state, clock, notices).audit("CD25031010001"));
    state.UsePurchaseOrder = "1";
    auto *w = static_cast<TF_Cgjh *>(openWindow());
    whenShown("TF_Cgjh_ImportDD", [&](QDialog *d) {
        auto *dialog = static_cast<TF_Cgjh_ImportDD *>(d);
        EXPECT_EQ(dialog->documentGrid()->rowCount(), 1);
        EXPECT_EQ(dialog->findChild<QLabel *>("LMsg")->text(), "CD25031010001 主仓库");
        EXPECT_EQ(dialog->orderLinesGrid()->value(0, "dsl").toDouble(), 8);
        dialog->grab().save(QDir::temp().filePath("i21-importdd.png"));
        dialog->findChild<QPushButton *>("btn_OK3")->click();
    });
    find<QPushButton>(w, "btnCgdImport")->click();
    ASSERT_EQ(w->lineCount(), 1);
    EXPECT_EQ(w->linesGrid()->value(0, "gl_djh2").toString(), "CD25031010001");
    EXPECT_EQ(find<QLineEdit>(w, "tnote")->text(), "三月订货");
    EXPECT_EQ(find<MoneyEdit>(w, "tyfje")->value(), 100);
}

TEST_F(ReturnOrderWindowTest, ReturnListsAuditPrintAndCancelThroughTheWindow)
{
    stockG1(10);
    InsertRow(db(), "jxc_thsp", {{"gl_djh", "CT25031410001"}, {"g_sn", kG1}, {"a_name", "admin"}, {"th_sl", 4.0},
                                 {"th_zsl", 4.0}, {"th_dj", 15.0}, {"th_taxdj", 15.0}, {"th_dzl", 1.0}, {"th_je", 60.0},
                                 {"th_zje", 60.0}, {"th_taxje", 0.0}, {"th_tax", 0.0}, {"id2", 0}});
    InsertRow(db(), "jxc_thd", {{"gl_djh", "CT25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"},
                                {"th_thrq", "2025-03-14 10:30"}, {"th_yfje", -60.0}, {"th_sfje", -25.0}, {"th_hkje", 0.0},
                                {"u_sn", "100001"}, {"th_status", 0}, {"th_jsfs", 1}, {"th_kmmc", "现金"},
                                {"a_name", "admin"}, {"th_note", ""}, {"th_checker", ""}, {"th_chkrq", ""}, {"th_qk", 0}});
    TF_Cgth *w = openKind<TF_Cgth>("TF_Cgth", "采购退货");
    EXPECT_TRUE(w->findChildren<QLabel *>("LabelPendingLater").isEmpty());
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 1);
    EXPECT_EQ(w->pendingGrid()->footerText("gl_djh"), "记录数：1");
    EXPECT_EQ(w->pendingGrid()->currentValue("th_yfje").toDouble(), -60);
    EXPECT_EQ(w->pendingLinesGrid()->rowCount(), 1);
    EXPECT_EQ(find<QLabel>(w, "LabelGhs")->text(), "普通供货商");
    EXPECT_TRUE(find<QPushButton>(w, "btnAddsh")->isEnabled());
    w->grab().save(QDir::temp().filePath("i21-cgth-pending.png"));

    // 打印: the pending list's template.
    find<QPushButton>(w, "btnPrint2")->click();
    EXPECT_EQ(output.last().job.templateName, "cgthdsh");

    // 审核单据(&W) → Yes: audited, gone from the list, on the query page.
    QAction *audit = w->pendingMenu()->findChild<QAction *>("actAudit");
    ASSERT_TRUE(audit);
    EXPECT_EQ(audit->text(), "审核单据(&W)");
    notices.script({Notices::Answer::Yes});
    audit->trigger();
    EXPECT_EQ(notices.texts().last(), "您的操作将审核当前选中的单据，确认吗？");
    EXPECT_EQ(scalar("select th_status from jxc_thd"), "1");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 0);

    w->pages()->setCurrentIndex(TF_Cgjh::QueryPage);
    EXPECT_EQ(w->periodBar()->startEdit()->date(), QDate(2025, 2, 1));
    ASSERT_EQ(w->queryGrid()->rowCount(), 1);
    EXPECT_EQ(w->queryGrid()->currentValue("wfje").toDouble(), -35);
    EXPECT_EQ(w->queryGrid()->currentValue("gtype").toString(), "采购退货");
    EXPECT_EQ(w->queryDetailLabel()->text(), "单据详细信息：CT25031410001  普通供货商");
    EXPECT_EQ(w->queryDetailGrid()->rowCount(), 1);
    EXPECT_FALSE(w->queryPage()->button("btnUnauditAll"));
    EXPECT_FALSE(w->queryPage()->button("btnWholeReturn"));
    w->grab().save(QDir::temp().filePath("i21-cgth-query.png"));

    // 明细表: 打印 prints cgthmxb over the period; 取消审核 only in 单据表.
    w->setQueryView(DocumentWindow::QueryView::Details);
    w->queryPage()->search();
    w->queryPage()->print();
    EXPECT_EQ(output.last().job.templateName, "cgthmxb");
    EXPECT_EQ(output.last().job.variables.value("date1"), "2025-02-01");
    EXPECT_EQ(output.last().job.variables.value("date2"), "2025-03-14");
    w->queryPage()->unauditSelected();
    EXPECT_EQ(notices.texts().last(), "批量取消只能在单据表进行！\r\n\r\n（如需取消审核某个单据，请按右键！）");
    w->setQueryView(DocumentWindow::QueryView::Documents);
    w->queryPage()->search();
    notices.script({Notices::Answer::Yes});
    w->queryPage()->unauditSelected();
    EXPECT_EQ(scalar("select th_status from jxc_thd"), "0");
    EXPECT_EQ(w->queryGrid()->rowCount(), 0);
}

TEST_F(ReturnOrderWindowTest, OrderListsAuditAndVoidThroughTheWindow)
{
    SavedOrderHeader(db(), "CD25031410001", 0, {{"j_jhrq", "2025-03-14 10:30"}, {"j_yfje", 60.0}, {"j_sfje", 60.0}});
    DraftLine(db(), "CD25031410001", kG1, 10, 6, "admin", "jxc_cgsp");
    TF_Cgd *w = openKind<TF_Cgd>("TF_Cgd", "采购订单");
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 1);
    EXPECT_FALSE(find<QPushButton>(w, "btnPrint2"));
    // 订单数量 edited in the pending lines: the header follows.
    DataGrid *lines = w->pendingLinesGrid();
    lines->view()->setCurrentIndex(lines->model()->index(0, lines->model()->columnOf("jh_sl")));
    TypeIntoGrid(*lines, "5");
    KeyIntoGrid(*lines, Qt::Key_Return);
    EXPECT_EQ(scalar("select j_yfje from jxc_cgd"), "30");
    w->grab().save(QDir::temp().filePath("i21-cgd-pending.png"));

    notices.script({Notices::Answer::Yes});
    find<QPushButton>(w, "btn_Check")->click();
    EXPECT_EQ(scalar("select j_status from jxc_cgd"), "1");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 0);

    w->pages()->setCurrentIndex(TF_Cgjh::QueryPage);
    EXPECT_EQ(w->queryPage()->warehouseBox()->currentText(), "所有仓库");
    EXPECT_FALSE(find<QWidget>(w, "queryView1")->isVisible());
    ASSERT_EQ(w->queryGrid()->rowCount(), 1);
    EXPECT_EQ(w->queryDetailLabel()->text(), "单据的详细信息：普通供货商");
    RunSql(db(), "update jxc_cgsp set jh_rksl = 2");
    w->queryPage()->search();
    EXPECT_EQ(w->queryDetailGrid()->value(0, "jh_rksl").toDouble(), 2);
    EXPECT_EQ(w->queryDetailGrid()->value(0, "dsl").toDouble(), 3);
    w->grab().save(QDir::temp().filePath("i21-cgd-query.png"));

    // Received goods keep the audit; 单据作废 → Yes hides the order until 显示作废单据.
    w->queryPage()->unauditSelected();
    EXPECT_EQ(notices.texts().last(), "该订单CD25031410001已有进货信息，不能取消审核！");
    notices.script({Notices::Answer::Yes});
    w->queryPage()->toggleVoid();
    EXPECT_EQ(notices.texts().last(), "单据作废后不能继续导入到采购进货，确认吗？");
    EXPECT_EQ(scalar("select j_qk from jxc_cgd"), "1");
    EXPECT_EQ(w->queryGrid()->rowCount(), 0);
    w->queryPage()->voidBox()->setChecked(true);
    w->queryPage()->search();
    EXPECT_EQ(w->queryGrid()->rowCount(), 1);
}

TEST_F(ReturnOrderWindowTest, TheOrderImportExportsTheListItShows)
{
    SavedOrderHeader(db(), "CD25031010001", 0, {{"j_yfje", 100.0}, {"j_sfje", 100.0}});
    DraftLine(db(), "CD25031010001", kG1, 8, 12.5, "admin", "jxc_cgsp");
    ASSERT_TRUE(OrderAudit(db(), state, clock, notices).audit("CD25031010001"));
    state.UsePurchaseOrder = "1";
    auto *w = static_cast<TF_Cgjh *>(openWindow());
    QString written;
    whenShown("TF_Cgjh_ImportDD", [&](QDialog *d) {
        auto *dialog = static_cast<TF_Cgjh_ImportDD *>(d);
        ScriptedFileChoice files;
        files.script({QDir::temp().filePath("i21-orders.xlsx")});
        dialog->setFileChoice(&files);
        written = dialog->exportList();
        dialog->reject();
    });
    find<QPushButton>(w, "btnCgdImport")->click();
    EXPECT_EQ(written, QDir::temp().filePath("i21-orders.xlsx"));
    EXPECT_TRUE(QFile::exists(written));
}

} // namespace
