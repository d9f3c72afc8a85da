#pragma once

#include "screenkit/screenbase.h"
#include "shell/roles.h"

#include <QSqlDatabase>

class CheckTree;
class Notices;
class QCheckBox;
class QLineEdit;
class QPushButton;
struct LoginState;

// "增加角色": the role's name and its rights as a check tree of the rights catalogue; serves
// adding and (with the row id) modifying.
class TF_Role_Add final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Role_Add(const QSqlDatabase &db, const LoginState &state, Notices &notices, RoleDialogMode mode,
                qint64 rowId = 0, QWidget *parent = nullptr);

    // Builds the tree; in modify mode loads the role into it, in add mode checks everything.
    void setChkTree();
    void btnOKClick();
    RoleDialogMode mode() const { return m_mode; }

    QLineEdit *edName = nullptr;
    CheckTree *tree = nullptr;
    QCheckBox *chkAll = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    QSqlDatabase m_db;
    Notices &m_notices;
    RoleDialogMode m_mode;
    qint64 m_rowId;
};
