// "选择打印单据样式": captions, hidden button, defaults and preselection, a click stored at once
// in the login state, and every way of closing leaves the stored choice.

#include "engine/forms/prinsele.h"
#include "foundation/loginstate.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

TEST(PrintChoice, SalesCaptionsPreselectionAndClicks)
{
    LoginState state;
    state.SalesTemplate = QStringLiteral("spxs4.fr3");
    {
        TF_PrinSele dialog(PrintChoiceKind::Sales, state);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("选择打印单据样式"));
        EXPECT_EQ(dialog.findChild<QLabel *>(QStringLiteral("Label1"))->text(), QStringLiteral("请选择需要的单据样式："));
        EXPECT_EQ(dialog.button(0)->text(), QStringLiteral("销售单"));
        EXPECT_EQ(dialog.button(1)->text(), QStringLiteral("销售单(不含售价)"));
        EXPECT_EQ(dialog.button(2)->text(), QStringLiteral("销售单(含零售价)"));
        EXPECT_EQ(dialog.btnOk()->text(), QStringLiteral("确定(F5)"));
        EXPECT_EQ(dialog.btnExit()->text(), QStringLiteral("退出(Esc)"));
        dialog.show();
        EXPECT_TRUE(dialog.button(2)->isVisible());
        EXPECT_TRUE(dialog.button(1)->isChecked());
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs4.fr3"));

    {
        TF_PrinSele dialog(PrintChoiceKind::Sales, state);
        dialog.show();
        QTest::mouseClick(dialog.button(2), Qt::LeftButton);
        EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs2.fr3"));  // at once, before closing
        QTest::mouseClick(dialog.btnExit(), Qt::LeftButton);
        EXPECT_FALSE(dialog.isVisible());
    }
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs2.fr3"));

    state.SalesTemplate.clear();
    TF_PrinSele dialog(PrintChoiceKind::Sales, state);
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs.fr3"));
    dialog.show();
    EXPECT_TRUE(dialog.button(0)->isChecked());
    QTest::mouseClick(dialog.button(1), Qt::LeftButton);
    QTest::keyClick(dialog.button(1), Qt::Key_F5);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs4.fr3"));
}

TEST(PrintChoice, PurchaseReceiptHidesTheThirdButton)
{
    LoginState state;
    state.PurchaseInTemplate = QStringLiteral("cgjh2.fr3");
    state.SalesTemplate = QStringLiteral("spxs.fr3");
    TF_PrinSele dialog(PrintChoiceKind::PurchaseIn, state);
    dialog.show();
    EXPECT_EQ(dialog.button(0)->text(), QStringLiteral("采购进货单"));
    EXPECT_EQ(dialog.button(1)->text(), QStringLiteral("采购进货单(无进价)"));
    EXPECT_FALSE(dialog.button(2)->isVisible());
    EXPECT_TRUE(dialog.button(1)->isChecked());
    const QString shot = qEnvironmentVariable("JXC_SCREENSHOTS");
    if (!shot.isEmpty())
        dialog.grab().save(shot + QStringLiteral("/prinsele.png"));
    QTest::mouseClick(dialog.button(0), Qt::LeftButton);
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh.fr3"));
    EXPECT_EQ(state.SalesTemplate, QStringLiteral("spxs.fr3"));
    QTest::mouseClick(dialog.btnOk(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());

    state.PurchaseInTemplate.clear();
    TF_PrinSele fresh(PrintChoiceKind::PurchaseIn, state);
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh.fr3"));
    EXPECT_TRUE(fresh.button(0)->isChecked());
}

} // namespace
