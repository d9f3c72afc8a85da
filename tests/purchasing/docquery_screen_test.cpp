// Through the real widgets: the supplier filter panel of the receipt window's pending page (typed
// filter, F5, Esc, "查询全部供货商"), the supplier panel of the change-of-date dialog (Esc closes
// only the panel, F5 takes the row and saves), and the purchase document query TF_Jthcx with its
// payment, advanced search and whole return.

#include "purchase_fixture.h"
#include "screens_fixture.h"

#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/cgth_zdth_search.h"
#include "purchasing/forms/jthcx.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/purchasingscreens.h"
#include "purchasing/forms/supplierpanel.h"
#include "purchasing/receiptaudit.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace {

// Text typed into a box as one key press (QTest's key clicks take ASCII only).
void TypeInBox(QWidget *box, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
}

class DocQueryScreenTest : public PurchaseScreenTest
{
protected:
    void audit(const QString &number)
    {
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(number), number);
    }
    TF_Jthcx *openQuery()
    {
        window.reset(registry.create(QStringLiteral("TF_Jthcx"), QStringLiteral("进退货查询"), context()));
        auto *q = qobject_cast<TF_Jthcx *>(window.get());
        q->setReportOutput(&output);
        window->show();
        QApplication::setActiveWindow(window.get());
        QApplication::processEvents();
        return q;
    }
};

TEST_F(DocQueryScreenTest, PendingSupplierPanelFiltersTakesAndListsAll)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {2, 10}}});
    SavedReceipt(db(), "CJ25031410002", {{kG2, {1, 5}}});
    openWindow();
    auto *w = static_cast<TF_Cgjh *>(window.get());
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    SupplierFilterPanel *panel = w->supplierFilter();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(panel->isOpen());
    auto *box = w->findChild<QLineEdit *>("tGhsName");
    box->setFocus();
    TypeInBox(box, "普通");
    ASSERT_TRUE(panel->isOpen());
    EXPECT_EQ(panel->panel()->grid()->rowCount(), 1);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(panel->isOpen());
    EXPECT_TRUE(w->isVisible());
    TypeInBox(box, "供");
    ASSERT_TRUE(panel->isOpen());
    QTest::keyClick(box, Qt::Key_F5);
    EXPECT_FALSE(panel->isOpen());
    EXPECT_EQ(box->text(), "普通供货商");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 2);

    QTest::mouseClick(w->findChild<QToolButton *>("btnGhs2"), Qt::LeftButton);
    ASSERT_TRUE(panel->isOpen());
    EXPECT_FALSE(panel->panel()->allBox()->isChecked());
    EXPECT_EQ(panel->panel()->grid()->rowCount(), int(scalar("select count(*) from jxc_ghsxx").toInt()));
    if (const QByteArray shot = qgetenv("JXC_SCREENSHOT_SUPPLIERS"); !shot.isEmpty())
        w->grab().save(QString::fromLocal8Bit(shot));
    panel->panel()->allBox()->click();
    EXPECT_FALSE(panel->isOpen());
    EXPECT_EQ(box->text(), "全部供货商");
    EXPECT_EQ(w->pendingGrid()->rowCount(), 2);

    // The query page's chooser button fills its own box.
    w->pages()->setCurrentIndex(TF_Cgjh::QueryPage);
    EXPECT_FALSE(panel->isOpen());
    QTest::mouseClick(w->findChild<QToolButton *>("btnGhs3"), Qt::LeftButton);
    ASSERT_TRUE(panel->isOpen());
    panel->panel()->okButton()->click();
    EXPECT_EQ(w->findChild<QLineEdit *>("tGhsname3")->text(), "普通供货商");
}

TEST_F(DocQueryScreenTest, DISABLED_DateDialogPanelClosesOnEscAndSavesOnF5)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {2, 10}}});
    std::unique_ptr<QDialog> d(registry.create("TF_ModiDateJh", "修改开单日期", context(), nullptr));
    d->setProperty(handoff::DocumentNumber, kFirstNumber);
    d->show();
    QApplication::setActiveWindow(d.get());
    QApplication::processEvents();
    auto *dialog = static_cast<TF_ModiDateJh *>(d.get());
    auto *box = d->findChild<QLineEdit *>("tGhsName");
    box->setFocus();
    box->clear();
    QTest::keyClicks(box, "PTG");
    ASSERT_TRUE(dialog->supplierPanel()->isVisible());
    EXPECT_EQ(dialog->supplierPanel()->grid()->rowCount(), 1);
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_FALSE(dialog->supplierPanel()->isVisible());
    EXPECT_TRUE(d->isVisible());
    // A text typed without choosing is refused.
    QTest::keyClick(box, Qt::Key_Return);
    QTest::keyClick(d->findChild<QLineEdit *>("tnote"), Qt::Key_F5);
    EXPECT_EQ(notices.last(), "请选择供货商！");
    EXPECT_TRUE(d->isVisible());
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Backspace);
    ASSERT_TRUE(dialog->supplierPanel()->isVisible());
    QTest::keyClick(box, Qt::Key_F5);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->property(handoff::NewNumber).toString(), kFirstNumber);
    EXPECT_EQ(box->text(), "普通供货商");
}

TEST_F(DocQueryScreenTest, DISABLED_QueryPaysSearchesAndHandsAReceiptOn)
{
    state.UseDocPayment = "1";
    SavedReceipt(db(), kFirstNumber, {{kG1, {10, 10}}}, 0, {{"j_sfje", 30.0}, {"j_jsfs", 1}});
    SavedReceipt(db(), "CJ25031410002", {{kG2, {5, 10}}}, 0, {{"j_sfje", 50.0}, {"j_jsfs", 1}});
    audit(kFirstNumber);
    audit("CJ25031410002");
    TF_Jthcx *q = openQuery();
    ASSERT_EQ(q->grid()->rowCount(), 2);
    EXPECT_EQ(q->grid()->footerText("djh"), "记录数：2");
    ASSERT_FALSE(q->button("btnPay")->isHidden());

    // A settled receipt is refused; the owing one opens the payment dialog, F5 saves.
    q->grid()->setCurrentRow(q->grid()->model()->locate("djh", "CJ25031410002"));
    QTest::mouseClick(q->button("btnPay"), Qt::LeftButton);
    EXPECT_EQ(notices.last(), "该单据不需要付款！");
    q->grid()->setCurrentRow(q->grid()->model()->locate("djh", kFirstNumber));
    whenShown("TF_Yfkgl_Fk", [](QDialog *d) { QTest::keyClick(d->focusWidget(), Qt::Key_F5); });
    QTest::mouseClick(q->button("btnPay"), Qt::LeftButton);
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(q->grid()->currentValue("djh").toString(), kFirstNumber);
    EXPECT_EQ(q->grid()->currentValue("hkje").toDouble(), 70);
    EXPECT_EQ(q->grid()->currentValue("wfje").toDouble(), 0);

    // Outside the document table the payment is refused.
    q->setView(TF_Jthcx::Summary);
    QTest::mouseClick(q->button("btnPay"), Qt::LeftButton);
    EXPECT_EQ(notices.last(), "付款只能在“单据表”进行！");

    // 高级查询: the class panel's "默认类别", F5: the summary keeps class 1000's goods.
    whenShown("TF_Cgth_Zdth_Search", [](QDialog *d) {
        auto *search = static_cast<TF_Cgth_Zdth_Search *>(d);
        EXPECT_EQ(search->fromEdit()->date(), QDate(2025, 2, 1));
        EXPECT_EQ(search->warehouseBox()->currentText(), "所有仓库");
        EXPECT_EQ(search->operatorBox()->currentText(), "所有操作员");
        QTest::mouseClick(search->classBox(), Qt::LeftButton);
        EXPECT_TRUE(search->classPanel()->isVisible());
        search->classTree()->setCurrentItem(search->classTree()->findItems("默认类别", Qt::MatchRecursive).value(0));
        QTest::mouseClick(search->findChild<QPushButton *>("btnOk2"), Qt::LeftButton);
        EXPECT_EQ(search->classBox()->text(), "默认类别");
        QTest::keyClick(search->classBox(), Qt::Key_F5);
    });
    QTest::mouseClick(q->button("btnAdvanced"), Qt::LeftButton);
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(q->criteria().classCode, "1000");
    EXPECT_EQ(q->view(), TF_Jthcx::Summary);
    EXPECT_EQ(q->grid()->rowCount(), 2);

    // 整单退货 hands the receipt to the shell and closes.
    q->setView(TF_Jthcx::Documents);
    q->grid()->setCurrentRow(q->grid()->model()->locate("djh", kFirstNumber));
    QTest::mouseClick(q->button("btnWholeReturn"), Qt::LeftButton);
    EXPECT_EQ(followOn.ReturnSourceNo, kFirstNumber);
    EXPECT_FALSE(q->isVisible());
}

} // namespace
