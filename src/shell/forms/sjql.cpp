#include "shell/forms/sjql.h"

#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TF_Sjql::TF_Sjql(const CleanupContext &context, Notices &notices, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_Sjql"));
    setWindowTitle(QStringLiteral("软件数据清理(系统初始化)"));

    auto *group = new QGroupBox(QStringLiteral("操作方式选择"), this);
    rbKeep = new QRadioButton(QStringLiteral("保留基本信息"), group);
    rbKeep->setObjectName(QStringLiteral("rbKeep"));
    rbAll = new QRadioButton(QStringLiteral("删除所有数据(admin密码为空)"), group);
    rbAll->setObjectName(QStringLiteral("rbAll"));
    auto *choices = new QVBoxLayout(group);
    choices->addWidget(rbKeep);
    choices->addWidget(rbAll);

    auto *notes = new QVBoxLayout;
    for (const QString &text : {QStringLiteral("提示："), QStringLiteral("1：系统初始化将删除所有营业数据；"),
                                QStringLiteral("2：数据删除后将不可恢复；"),
                                QStringLiteral("3：保留基本信息是指保留商品信息、用户、客户、\r供货商等基本信息，并将库存清零。")}) {
        auto *note = new QLabel(QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')), this);
        note->setStyleSheet(QStringLiteral("color: #b00000;"));
        notes->addWidget(note);
    }

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnExit = confirm.close;
    btnOK->setAutoDefault(false);
    btnExit->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(notes);
    layout->addLayout(confirm.row);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    connect(this, &ScreenDialog::opened, this, &TF_Sjql::FormActivate);
}

void TF_Sjql::FormActivate()
{
    rbKeep->setChecked(true);
}

void TF_Sjql::btnOKClick()
{
    BusyGuard busy(btnOK);
    if (!busy.acquired())
        return;
    const CleanupMode mode = rbAll->isChecked() ? CleanupMode::DeleteAll : CleanupMode::KeepBasicData;
    switch (RunDataCleanup(m_context, mode, m_notices)) {
    case CleanupOutcome::Done:
        accept();
        break;
    case CleanupOutcome::Declined:
        reject();
        break;
    case CleanupOutcome::Refused:
    case CleanupOutcome::Failed:
        break;
    }
}
