#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class Notices;
class QLabel;
class QLineEdit;
class QPushButton;
struct LoginState;

// "修改密码": the logged-in operator changes his or her own password.
class TF_PwdModi final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_PwdModi(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent = nullptr);

    void FormActivate();
    void btnOKClick();

    QLabel *lbOperator = nullptr;
    QLineEdit *edOld = nullptr;
    QLineEdit *edNew = nullptr;
    QLineEdit *edNew2 = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnExit = nullptr;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
};
