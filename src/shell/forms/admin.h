#pragma once

#include "screenkit/screenbase.h"
#include "shell/operators.h"

#include <QSqlDatabase>

#include <functional>

class DataGrid;
class Notices;
class QAction;
class QLineEdit;
class QMenu;
class QPushButton;
class SqlGridModel;
struct LoginState;

// "操作员设置": the operators with their roles, add, modify, delete, copy and paste, search.
class TF_Admin final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Admin(const QSqlDatabase &db, const LoginState &state, Notices &notices, QWidget *parent = nullptr);

    // Opens the list: reads the rows, clears the copy buffer.
    void FormActivate();
    void btnAddClick();
    void btnModiClick();
    void btnDelClick();
    void btnSearchClick();
    void copyOperator();
    void pasteOperator();
    const OperatorCopy &copyBuffer() const { return m_copy; }

    QPushButton *btnAdd = nullptr;
    QPushButton *btnModi = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    QLineEdit *edKey = nullptr;
    QPushButton *btnSearch = nullptr;
    DataGrid *grid = nullptr;
    QMenu *popup = nullptr;
    QAction *actAdd = nullptr;
    QAction *actModi = nullptr;
    QAction *actDel = nullptr;
    QAction *actCopy = nullptr;
    QAction *actPaste = nullptr;

private:
    void readRows();
    qint64 currentId() const;

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    SqlGridModel *m_model = nullptr;
    OperatorCopy m_copy;
};
