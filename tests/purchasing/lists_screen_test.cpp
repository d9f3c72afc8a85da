// The receipt window's list pages through their real widgets: the pending page's cell edit and
// line delete, the query page's cancel-audit and the whole return handed to the main window.

#include "purchase_fixture.h"
#include "screens_fixture.h"
#include "../support/gridtyping.h"

#include "foundation/handoff.h"
#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/purchase_lists.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/yfkgl_fk.h"
#include "screenkit/editors.h"
#include "purchasing/receiptaudit.h"
#include "screenkit/datagrid.h"
#include "screenkit/documentwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

namespace {

class ReceiptListsScreenTest : public PurchaseScreenTest
{
protected:
    TF_Cgjh *open()
    {
        openWindow();
        return static_cast<TF_Cgjh *>(window.get());
    }
    void audit(const QString &number)
    {
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(number), number);
    }
    static void click(QWidget *w, const char *name)
    {
        auto *b = w->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_TRUE(b) << name;
        QTest::mouseClick(b, Qt::LeftButton);
    }
};

TEST_F(ReceiptListsScreenTest, PendingPageEditsAndDeletesLines)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {2, 10}}, {kG2, {1, 5}}});
    SavedReceipt(db(), "CJ25031410002", {{kG1, {1, 10}}});
    TF_Cgjh *w = open();
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 2);
    EXPECT_EQ(w->pendingGrid()->footerText("gl_djh"), "记录数：2");
    // The supplier box: its text (short code included) filters, "全部供货商" filters nothing.
    auto *supplier = w->findChild<QLineEdit *>("tGhsName");
    ASSERT_TRUE(supplier);
    for (const auto &[typed, rows] : {std::pair<QString, int>{"某某", 0}, {"PTGHS", 2}, {"全部供货商", 2}}) {
        supplier->setText(typed);
        QTest::keyClick(supplier, Qt::Key_Return);
        EXPECT_EQ(w->pendingGrid()->rowCount(), rows) << typed.toStdString();
    }
    if (const QByteArray shot = qgetenv("JXC_SCREENSHOT_PENDING"); !shot.isEmpty())
        w->grab().save(QString::fromLocal8Bit(shot));
    w->pendingGrid()->setCurrentRow(0);
    ASSERT_EQ(w->pendingLinesGrid()->rowCount(), 2);

    // 数量 of the second line typed as 3: the list shows the new amounts.
    DataGrid *lines = w->pendingLinesGrid();
    lines->setCurrentRow(1);
    lines->view()->setCurrentIndex(lines->model()->index(1, lines->model()->columnOf("jh_sl")));
    TypeIntoGrid(*lines, "3");
    KeyIntoGrid(*lines, Qt::Key_Return);
    EXPECT_EQ(w->pendingGrid()->currentValue("gl_djh").toString(), kFirstNumber);
    EXPECT_EQ(w->pendingGrid()->currentValue("j_yfje").toDouble(), 35);
    EXPECT_EQ(lines->currentValue("jh_sl").toDouble(), 3);

    // 删除商品 + Yes on both lines: the receipt goes from the list.
    for (int i = 0; i < 2; ++i) {
        notices.script({Notices::Answer::Yes});
        click(w, "btnDelsh");
    }
    EXPECT_EQ(w->pendingGrid()->rowCount(), 1);
    EXPECT_EQ(scalar("select count(*) from jxc_jhd where gl_djh = ?", {kFirstNumber}), "0");
}

TEST_F(ReceiptListsScreenTest, QueryPageCancelsAuditAndHandsAReceiptOn)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {2, 10}}});
    SavedReceipt(db(), "CJ25031410002", {{kG2, {1, 5}}});
    audit(kFirstNumber);
    audit("CJ25031410002");
    TF_Cgjh *w = open();
    w->resize(1100, 700);
    w->pages()->setCurrentIndex(TF_Cgjh::QueryPage);
    ASSERT_EQ(w->queryGrid()->rowCount(), 2);
    EXPECT_EQ(w->queryGrid()->footerText("gl_djh"), "记录数：2");
    EXPECT_EQ(w->queryDetailGrid()->rowCount(), 1);
    EXPECT_TRUE(w->queryDetailLabel()->text().endsWith("普通供货商"));
    if (const QByteArray shot = qgetenv("JXC_SCREENSHOT"); !shot.isEmpty())
        w->grab().save(QString::fromLocal8Bit(shot));

    // 汇总表 has its lower grid too; cancel-audit is refused there.
    w->setQueryView(DocumentWindow::QueryView::Summary);
    w->queryPage()->search();
    EXPECT_EQ(w->queryGrid()->rowCount(), 2);
    EXPECT_FALSE(w->queryLower()->isHidden());
    click(w, "btnUnaudit");
    EXPECT_EQ(notices.last(), "批量取消只能在单据表进行！");
    click(w, "btnWholeReturn");
    EXPECT_EQ(notices.last(), "整单退货只能在单据表进行！");

    // 单据表: 取消审核 + Yes → the receipt is back on the pending page.
    w->setQueryView(DocumentWindow::QueryView::Documents);
    w->queryPage()->search();
    w->queryGrid()->setCurrentRow(0);
    const QString number = w->queryGrid()->currentValue("gl_djh").toString();
    notices.script({Notices::Answer::Yes});
    click(w, "btnUnaudit");
    EXPECT_EQ(w->queryGrid()->rowCount(), 1);
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 1);
    EXPECT_EQ(w->pendingGrid()->currentValue("gl_djh").toString(), number);

    // 整单退货 on the one left: the number goes to the main window and the window closes.
    w->pages()->setCurrentIndex(TF_Cgjh::QueryPage);
    const QString left = w->queryGrid()->currentValue("gl_djh").toString();
    click(w, "btnWholeReturn");
    EXPECT_EQ(followOn.ReturnSourceNo, left);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ReceiptListsScreenTest, RedatingFromThePendingPageStandsOnTheNewNumber)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {2, 10}}});
    SavedReceipt(db(), "CJ25031410002", {{kG2, {1, 5}}});
    state.RightChangeDocDate = true;
    TF_Cgjh *w = open();
    w->pages()->setCurrentIndex(TF_Cgjh::PendingPage);
    ASSERT_EQ(w->pendingGrid()->rowCount(), 2);
    w->pendingGrid()->setCurrentRow(1);
    const QString chosen = w->pendingGrid()->currentValue("gl_djh").toString();
    QString shown;
    whenShown("TF_ModiDateJh", [&](QDialog *d) {
        EXPECT_EQ(d->findChild<QLabel *>("gldjh")->text(), chosen);
        EXPECT_EQ(d->findChild<QLineEdit *>("tGhsName")->text(), "普通供货商");
        d->findChild<DateEdit *>("dateCg")->setDate(QDate(2025, 3, 10));
        shown = d->findChild<QLabel *>("gldjh")->text();
        QTest::keyClick(d->findChild<QLineEdit *>("tnote"), Qt::Key_F5);
    });
    click(w, "btnModi2");
    EXPECT_TRUE(failures.isEmpty());
    EXPECT_EQ(shown, "CJ25031010001");
    EXPECT_EQ(w->pendingGrid()->currentValue("gl_djh").toString(), "CJ25031010001");
    EXPECT_EQ(w->pendingLinesGrid()->value(0, "gl_djh").toString(), "CJ25031010001");
    EXPECT_EQ(scalar("select count(*) from jxc_jhd where gl_djh = ?", {chosen}), "0");
}

TEST_F(ReceiptListsScreenTest, PaymentDialogOpensWithWhatIsOwedAndSavesOnF5)
{
    SavedReceipt(db(), kFirstNumber, {{kG1, {8, 10}}}, 0, {{"j_sfje", 20.0}});
    audit(kFirstNumber);
    std::unique_ptr<QDialog> d(registry.create("TF_Yfkgl_Fk", "单据付款", context(), nullptr));
    ASSERT_TRUE(d);
    d->setProperty(handoff::DocumentNumber, kFirstNumber);
    d->show();
    QApplication::processEvents();
    EXPECT_EQ(d->windowTitle(), "单据付款");
    EXPECT_EQ(d->findChild<MoneyEdit *>("tyfje")->value(), 80);
    EXPECT_EQ(d->findChild<MoneyEdit *>("tsfje")->value(), 20);
    EXPECT_EQ(d->findChild<MoneyEdit *>("tfkje")->value(), 60);
    EXPECT_EQ(d->findChild<QComboBox *>("comUser")->currentText(), "默认员工");
    EXPECT_EQ(d->findChild<QComboBox *>("comYhzh")->currentText(), "现金");
    EXPECT_EQ(d->focusWidget(), d->findChild<MoneyEdit *>("tfkje"));
    QTest::keyClick(d->focusWidget(), Qt::Key_F5);
    EXPECT_EQ(d->property(handoff::PaidAmount).toDouble(), 60);
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(scalar("select j_hkje from jxc_jhd"), "60");
}

} // namespace

// Enter moves the focus through the focus chain: both change-of-date dialogs go down their rows
// in the order they show, the supplier box in its place, whichever boxes the dialog made first.
TEST_F(ReceiptListsScreenTest, DateDialogsTakeTheFocusDownTheirRows)
{
    const struct
    {
        const char *screen;
        QStringList chain;
    } cases[] = {
        {"TF_ModiDateJh",
         {"dateCg", "comCk2", "tGhsName", "comUser", "tnote", "comJsfs", "comYhzh", "tyfje", "tsfje", "tyf",
          "tbzf", "tfpno", "tfpje", "tsn2", "btnOK", "btnExit"}},
        {"TF_Cgd_Modi",
         {"dateCg", "comCk2", "comGhs", "comUser", "tnote", "comJsfs", "comYhzh", "tyfje", "tsfje", "tsn2", "btnOK",
          "btnExit"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.screen);
        std::unique_ptr<QDialog> d(registry.create(c.screen, "修改开单日期", context(), nullptr));
        ASSERT_TRUE(d);
        QWidget *w = d->findChild<QWidget *>("dateCg");
        ASSERT_TRUE(w);
        QStringList chain;
        for (int guard = 0; guard < 200 && chain.size() < c.chain.size(); ++guard, w = w->nextInFocusChain()) {
            const QString name = w->objectName();
            if ((w->focusPolicy() & Qt::TabFocus) && !name.isEmpty() && !name.startsWith("qt_") && !chain.contains(name))
                chain << name;
        }
        EXPECT_EQ(chain, c.chain);
    }
}
