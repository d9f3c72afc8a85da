// The settings screens as the operator reaches them from the main window, through their real
// widgets: 系统设置, the start-up tip and reminders, 联系我们, 系统维护 → 数据清理, and the note
// dialog as a document form opens it.

#include "../support/modaldriver.h"
#include "closingfixture.h"
#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/forms/djbz.h"
#include "foundation/forms/djbz_add.h"
#include "foundation/forms/xtcs.h"
#include "foundation/productconstants.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "shell/forms/foundationscreens.h"
#include "shell/forms/lxwm.h"
#include "shell/forms/mainform.h"
#include "shell/forms/mryt.h"
#include "shell/forms/nzjs.h"
#include "shell/forms/shellscreens.h"
#include "shell/forms/sjql.h"
#include "shell/forms/sjtx.h"
#include "shell/forms/xtwh.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QtTest/QTest>

#include <memory>

namespace {

class SettingsScreensTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        RegisterFoundationScreens(registry);
        RegisterShellScreens(registry);
        state.CurrentOperatorName = QStringLiteral("admin");
        state.CurrentOperatorSn = QStringLiteral("100001");
        state.CurrentRoleSn = QStringLiteral("100001");
        state.CurrentAccountSetDb = QStringLiteral("jxc.db");
        state.CurrentAccountSetName = QStringLiteral("演示帐套");
        LoadSysParams(db(), state, clock);
    }
    void TearDown() override
    {
        EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral(", ")).toStdString();
        ShellTest::TearDown();
    }
    bool visible(const char *name)
    {
        QAbstractButton *b = mainForm().control(QString::fromLatin1(name));
        return b && !b->isHidden();
    }

    QStringList failures;
};

TEST_F(SettingsScreensTest, ParametersFormSwitchesOnPurchaseOrders)
{
    TF_MainForm &form = mainForm();
    WhenShown(QStringLiteral("TF_Xtcs"), [](QDialog *dialog) {
        auto *xtcs = static_cast<TF_Xtcs *>(dialog);
        xtcs->check(QStringLiteral("cs_cs007"))->click();
        PressKey(xtcs, Qt::Key_F5);
    }, failures);
    form.commandClick(QStringLiteral("btn_Menu6_Btn5"));
    EXPECT_TRUE(IsTrue(state.UsePurchaseOrder));
    QTest::mouseClick(form.control(QStringLiteral("menu1_btn")), Qt::LeftButton);
    EXPECT_TRUE(visible("btn_Menu1_Btn7"));

    bool ticked = false;
    WhenShown(QStringLiteral("TF_Xtcs"), [&](QDialog *dialog) {
        ticked = static_cast<TF_Xtcs *>(dialog)->check(QStringLiteral("cs_cs007"))->isChecked();
        PressKey(dialog, Qt::Key_Escape);
    }, failures);
    form.commandClick(QStringLiteral("btn_Menu6_Btn5"));
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST_F(SettingsScreensTest, StartUpShowsTheTipThenTheReminders)
{
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_mryt = 1, cs_tx = 1"));
    RunSql(db(), QStringLiteral("insert into jxc_ysyfk (k_type, k_ghskh, k_rq, k_ljje) values ('kh', '100001', "
                                "'2024-03-01 10:00', 25)"));
    LoadSysParams(db(), state, clock);
    QStringList seen;
    WhenShown(QStringLiteral("TF_Mryt"), [&](QDialog *dialog) {
        seen << dialog->objectName();
        EXPECT_NE(static_cast<TF_Mryt *>(dialog)->tipId(), 0);
        PressKey(dialog, Qt::Key_Escape);
    }, failures);
    WhenShown(QStringLiteral("TF_Sjtx"), [&](QDialog *dialog) {
        seen << dialog->objectName();
        auto *sjtx = static_cast<TF_Sjtx *>(dialog);
        sjtx->pages->setCurrentIndex(1);
        EXPECT_EQ(sjtx->gridReceivables->rowCount(), 1);
        QTest::mouseClick(sjtx->btnCustomer, Qt::LeftButton);
        EXPECT_TRUE(sjtx->pickerOpen());
        sjtx->picker->grid()->view()->setFocus();
        PressKey(sjtx, Qt::Key_Escape);
        EXPECT_FALSE(sjtx->pickerOpen());
        EXPECT_TRUE(sjtx->isVisible());
        PressKey(sjtx, Qt::Key_Escape);
    }, failures);
    mainForm().Timer1Timer();
    EXPECT_EQ(seen, (QStringList{QStringLiteral("TF_Mryt"), QStringLiteral("TF_Sjtx")}));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SettingsScreensTest, ContactOpensTheWebSite)
{
    WhenShown(QStringLiteral("TF_Lxwm"), [](QDialog *dialog) {
        auto *lxwm = static_cast<TF_Lxwm *>(dialog);
        EXPECT_TRUE(lxwm->windowFlags() & Qt::WindowStaysOnTopHint);
        QTest::mouseClick(lxwm->btnWeb, Qt::LeftButton);
        PressKey(lxwm, Qt::Key_Escape);
    }, failures);
    mainForm().commandClick(QStringLiteral("btn_Lxwm"));
    EXPECT_EQ(urls.opened, QStringList{Product().makerWebAddress});
    EXPECT_EQ(ContactLines().size(), 6);
}

TEST_F(SettingsScreensTest, MaintenanceBoardRunsTheCleanUp)
{
    RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh) values ('CJ24030510001')"));
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    WhenShown(QStringLiteral("TF_Xtwh"), [this](QDialog *dialog) {
        auto *board = static_cast<TF_Xtwh *>(dialog);
        WhenShown(QStringLiteral("TF_Sjql"), [](QDialog *sjql) {
            EXPECT_TRUE(static_cast<TF_Sjql *>(sjql)->rbKeep->isChecked());
            PressKey(sjql, Qt::Key_F5);
            EXPECT_FALSE(sjql->isVisible());
        }, failures);
        QTest::mouseClick(board->button(QStringLiteral("btnSjql")), Qt::LeftButton);
        PressKey(board, Qt::Key_Escape);
    }, failures);
    mainForm().commandClick(QStringLiteral("btn_Menu6_BtnD"));
    EXPECT_EQ(notices.texts(), (QStringList{QStringLiteral("系统初始化之前建议先备份数据库，现在是否备份数据库？"),
                                            QStringLiteral("是否要删除所有营业数据？"), QStringLiteral("删除完成！")}));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd")), QStringLiteral("0"));
}

TEST_F(SettingsScreensTest, MaintenanceBoardRunsThePeriodClosingForTheAdministratorOnly)
{
    closingfixture::SeedClosingData(db());
    clock.set(QDateTime(QDate(2024, 3, 8), QTime(10, 20, 30)));
    notices.script({Notices::Answer::Yes});
    int rows = -1;
    WhenShown(QStringLiteral("TF_Xtwh"), [this, &rows](QDialog *dialog) {
        auto *board = static_cast<TF_Xtwh *>(dialog);
        WhenShown(QStringLiteral("TF_Nzjs"), [&rows](QDialog *screen) {
            auto *nzjs = static_cast<TF_Nzjs *>(screen);
            nzjs->chkBackup->setChecked(false);
            QTest::mouseClick(nzjs->btnOK, Qt::LeftButton);
            rows = nzjs->grid->rowCount();
            PressKey(nzjs, Qt::Key_Escape);
        }, failures);
        QTest::mouseClick(board->button(QStringLiteral("btnNzjs")), Qt::LeftButton);
        // Another role is refused even with every right.
        state.CurrentRoleSn = QStringLiteral("100002");
        QTest::mouseClick(board->button(QStringLiteral("btnNzjs")), Qt::LeftButton);
        PressKey(board, Qt::Key_Escape);
    }, failures);
    mainForm().commandClick(QStringLiteral("btn_Menu6_BtnD"));
    EXPECT_EQ(rows, 5);
    ASSERT_EQ(notices.shown.size(), 3);
    EXPECT_EQ(notices.shown.at(1).text, QStringLiteral("结算完成！"));
    EXPECT_EQ(notices.last(), QStringLiteral("只有系统管理员才能使用此功能！"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd")), QStringLiteral("1"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(SettingsScreensTest, DocumentFormReceivesTheChosenPreset)
{
    // A document form's note button: the dialog through the registry, tag in, text out.
    QLineEdit noteBox;
    auto openNotes = [&] {
        std::unique_ptr<QDialog> dialog(registry.create(QStringLiteral("TF_Djbz"), QStringLiteral("单据备注信息设置"),
                                                        ScreenContext{data.get(), &state, &clock, &notices, &urls,
                                                                      &followOn, &registry, {}, {}}));
        dialog->setProperty(handoff::CallerTag, QStringLiteral("jh"));
        if (dialog->exec() == QDialog::Accepted && dialog->property(handoff::NoteText).isValid())
            noteBox.setText(dialog->property(handoff::NoteText).toString());
    };
    WhenShown(QStringLiteral("TF_Djbz"), [this](QDialog *dialog) {
        auto *djbz = static_cast<TF_Djbz *>(dialog);
        WhenShown(QStringLiteral("TF_Djbz_Add"), [](QDialog *add) {
            static_cast<TF_Djbz_Add *>(add)->edNote->setText(QStringLiteral("送货上门"));
            PressKey(add, Qt::Key_F5);
        }, failures);
        QTest::mouseClick(djbz->btnAdd, Qt::LeftButton);
        QTest::mouseClick(djbz->btnOK, Qt::LeftButton);
    }, failures);
    openNotes();
    EXPECT_EQ(noteBox.text(), QStringLiteral("送货上门"));
    EXPECT_TRUE(notices.shown.isEmpty());
}

} // namespace
