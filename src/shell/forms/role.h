#pragma once

#include "screenkit/screenbase.h"

#include <QSqlDatabase>

class DataGrid;
class Notices;
class QPushButton;
class SqlGridModel;
struct LoginState;

// "角色管理": the roles with add, modify and delete.
class TF_Role final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Role(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent = nullptr);

    void FormActivate();
    void btnAddClick();
    void btnModiClick();
    void btnDelClick();

    QPushButton *btnAdd = nullptr;
    QPushButton *btnModi = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    DataGrid *grid = nullptr;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    SqlGridModel *m_model = nullptr;
};
