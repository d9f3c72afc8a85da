#include "shell/forms/pwdmodi.h"

#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "shell/passwordchange.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_PwdModi::TF_PwdModi(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_PwdModi"));
    setWindowTitle(QStringLiteral("修改密码"));

    lbOperator = new QLabel(this);
    lbOperator->setObjectName(QStringLiteral("lbOperator"));
    auto edit = [this](const char *name) {
        auto *e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(32);
        return e;
    };
    edOld = edit("edOld");
    edNew = edit("edNew");
    edNew2 = edit("edNew2");
    for (QLineEdit *e : {edNew, edNew2}) {
        e->setMaxLength(16);
        InstallCharFilter(e, CharFilter::Standard);
    }
    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("操  作  员："), lbOperator);
    form->addRow(QStringLiteral("当前密码："), edOld);
    form->addRow(QStringLiteral("新 密  码："), edNew);
    form->addRow(QStringLiteral("再次输入新密码："), edNew2);

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("修改(F5)"), "btnExit",
                                                     QStringLiteral("退出(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnExit = confirm.close;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(confirm.row);

    connect(this, &ScreenDialog::opened, this, &TF_PwdModi::FormActivate);
    keys()->setEnterMovesFocus(true);
    FormActivate();
}

void TF_PwdModi::FormActivate()
{
    ApplyInterfaceFont(this, m_state.UiFontSize);
    lbOperator->setText(m_state.CurrentOperatorName);
    edOld->clear();
    edNew->clear();
    edNew2->clear();
    edOld->setFocus();
}

void TF_PwdModi::btnOKClick()
{
    const PasswordChangeResult r =
        ChangePassword(m_db, m_state.CurrentOperatorName, edOld->text(), edNew->text(), edNew2->text());
    m_notices.notice(r.text);
    if (r.changed)
        accept();
}
