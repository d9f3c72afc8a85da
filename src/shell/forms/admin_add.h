#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class KeyedCombo;
class MoneyEdit;
class Notices;
class QCheckBox;
class QLineEdit;
class QPushButton;
struct LoginState;

// The add and modify dialogs of operators: "增加操作员" (object TF_Admin_Add) and, with a row id,
// "修改操作员" (object TF_Admin_Modi, with "停用").
class TF_Admin_Add final : public ScreenDialog
{
    Q_OBJECT
public:
    // rowId 0: add; otherwise modify that row of jxc_admin.
    TF_Admin_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, qint64 rowId,
                 QWidget *parent = nullptr);

    bool isModify() const { return m_rowId > 0; }
    void FormActivate();
    void btnOKClick();

    QLineEdit *edName = nullptr;
    KeyedCombo *cbRole = nullptr;
    QLineEdit *edPwd = nullptr;
    QLineEdit *edPwd2 = nullptr;
    MoneyEdit *edMoney = nullptr;
    QCheckBox *chkPos = nullptr;
    QCheckBox *chkJy = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    qint64 m_rowId;  // the row being modified (the duplicate test leaves it out)
};
