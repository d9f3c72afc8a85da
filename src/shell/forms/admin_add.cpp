#include "shell/forms/admin_add.h"

#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "shell/operators.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Admin_Add::TF_Admin_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, qint64 rowId,
                           QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices), m_rowId(rowId)
{
    setObjectName(isModify() ? QStringLiteral("TF_Admin_Modi") : QStringLiteral("TF_Admin_Add"));
    setWindowTitle(isModify() ? QStringLiteral("修改操作员") : QStringLiteral("增加操作员"));

    edName = new QLineEdit(this);
    edName->setObjectName(QStringLiteral("edName"));
    edName->setMaxLength(16);
    cbRole = new KeyedCombo(this);
    cbRole->setObjectName(QStringLiteral("cbRole"));
    cbRole->setEditable(false);
    edPwd = new QLineEdit(this);
    edPwd->setObjectName(QStringLiteral("edPwd"));
    edPwd2 = new QLineEdit(this);
    edPwd2->setObjectName(QStringLiteral("edPwd2"));
    for (QLineEdit *e : {edPwd, edPwd2}) {
        e->setEchoMode(QLineEdit::Password);
        e->setMaxLength(16);
    }
    edMoney = new MoneyEdit(this);
    edMoney->setObjectName(QStringLiteral("edMoney"));
    edMoney->setDecimals(2);
    edMoney->setMaxLength(6);
    edMoney->setDisplayFormat(QStringLiteral("￥,0.00;￥-,0.00"));
    chkPos = new QCheckBox(QStringLiteral("POS柜长"), this);
    chkPos->setObjectName(QStringLiteral("chkPos"));
    chkPos->setVisible(false);
    chkJy = new QCheckBox(QStringLiteral("停用"), this);
    chkJy->setObjectName(QStringLiteral("chkJy"));
    chkJy->setVisible(isModify());

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("用户名称："), edName);
    form->addRow(QStringLiteral("所属角色："), cbRole);
    form->addRow(QStringLiteral("用户密码："), edPwd);
    form->addRow(QStringLiteral("再次输入密码："), edPwd2);
    form->addRow(QStringLiteral("抹零金额："), edMoney);
    if (isModify())
        form->addRow(QString(), chkJy);

    const ConfirmButtons confirm = AddConfirmButtons(this, QStringLiteral("确定(F5)"), "btnCancel",
                                                     QStringLiteral("取消(Esc)"), [this] { btnOKClick(); });
    btnOK = confirm.ok;
    btnCancel = confirm.close;
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(confirm.row);

    keys()->setEnterMovesFocus(true);
    FormActivate();
}

void TF_Admin_Add::FormActivate()
{
    cbRole->clear();
    for (const KeyedItem &item : LoadKeyedTCombo(m_db, QStringLiteral("jxc_role"), QStringLiteral("r_name"),
                                                 QStringLiteral("r_sn"), QStringLiteral("id")))
        cbRole->addKeyed(item.text, item.key);
    if (!isModify()) {
        edName->clear();
        edPwd->clear();
        edPwd2->clear();
        cbRole->setCurrentIndex(cbRole->count() > 0 ? 0 : -1);
        edMoney->setValue(0);
        chkPos->setChecked(false);
        return;
    }
    const OperatorRow row = ReadOperator(m_db, m_rowId);
    edName->setText(row.name);
    cbRole->selectKey(row.roleSn);
    edMoney->setValue(row.roundOff);
    edPwd->setText(row.password);
    edPwd2->setText(row.password);
    chkPos->setChecked(row.pos);
    chkJy->setChecked(row.forbidden);
    const bool builtIn = row.sn == QLatin1String(kBuiltInOperator);
    cbRole->setEnabled(!builtIn);
    chkJy->setEnabled(!builtIn);
}

void TF_Admin_Add::btnOKClick()
{
    OperatorInput input;
    input.name = edName->text();
    input.roleSn = cbRole->currentKey();
    input.password = edPwd->text();
    input.repeat = edPwd2->text();
    input.roundOff = edMoney->value();
    input.pos = chkPos->isChecked();
    input.forbidden = chkJy->isChecked();
    const OperatorSaveResult result = isModify() ? ModifyOperator(m_db, m_rowId, input) : AddOperator(m_db, input);
    if (!result.saved()) {
        m_notices.notice(result.refusal);
        return;
    }
    accept();
}
