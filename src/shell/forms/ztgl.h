#pragma once

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "screenkit/screenbase.h"
#include "shell/accountsets.h"

#include <QSqlDatabase>

class DataGrid;
class FileChoice;
class Notices;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QToolButton;
class SqlGridModel;
struct LoginState;

// "建立新帐套" (TF_Ztgl_Add) and, with a row, "修改帐套" (TF_Ztgl_Modi).
class TF_Ztgl_Add final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Ztgl_Add(const ConnectionSettings &settings, const QSqlDatabase &registerDb, const Clock &clock,
                int uiFontSize, Notices &notices, qint64 rowId = 0, QWidget *parent = nullptr);

    bool isModify() const { return m_rowId > 0; }
    void btnOKClick();

    QLineEdit *edName = nullptr;
    QLineEdit *edNote = nullptr;
    QRadioButton *rbDefault = nullptr;
    QRadioButton *rbForbid = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnCancel = nullptr;

private:
    ConnectionSettings m_settings;
    QSqlDatabase m_register;
    const Clock &m_clock;
    Notices &m_notices;
    qint64 m_rowId;
};

// "帐套管理": the account-set register on a connection of its own; the main connection stays on
// the set of the login.
class TF_Ztgl final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Ztgl(const ConnectionSettings &settings, const LoginState &state, const Clock &clock, Notices &notices,
            FileChoice &files, QWidget *parent = nullptr);
    ~TF_Ztgl() override;

    void btnAddClick();
    void btnModiClick();
    void btnDelClick();
    void backupClick();
    void restoreClick();
    QSqlDatabase registerDb() const;

    QPushButton *btnAdd = nullptr;
    QPushButton *btnModi = nullptr;
    QToolButton *btnBackup = nullptr;
    QMenu *backupMenu = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    DataGrid *grid = nullptr;

private:
    AccountSetRow currentRow() const;
    void readRows();

    ConnectionSettings m_settings;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    FileChoice &m_files;
    QString m_connection;
    SqlGridModel *m_model = nullptr;
};
