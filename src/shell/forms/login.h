#pragma once

#include "shell/loginsequence.h"

#include <QDialog>

#include <functional>

class Clock;
class DataModule;
class Notices;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct LoginState;

// The login: account set, operator and password. In start-up mode closing it without a
// login ends the program; in change-of-operator mode it returns to the main window. The
// chosen set is read through a connection of its own; the main connection moves to it only
// when the login succeeds.
class TF_Login final : public QDialog
{
    Q_OBJECT
public:
    TF_Login(DataModule &data, LoginState &state, const Clock &clock, Notices &notices,
             LoginMode mode, QWidget *parent = nullptr);
    ~TF_Login() override;

    LoginMode mode() const { return m_mode; }
    void setMode(LoginMode mode) { m_mode = mode; }
    // Called when the dialog closes without a login in start-up mode (default: end the
    // application's event loop).
    void setTerminate(std::function<void()> terminate) { m_terminate = std::move(terminate); }
    bool loggedIn() const { return m_loggedIn; }

    QComboBox *comZt() const { return m_comZt; }
    QComboBox *comAdmin() const { return m_comAdmin; }
    QLineEdit *tpwd2() const { return m_tpwd2; }
    QLabel *lMsg() const { return m_lMsg; }
    QPushButton *btnOK() const { return m_btnOK; }
    QPushButton *btnCancel() const { return m_btnCancel; }

    void FormActivate();
    void setAdminValue();
    void comZtPropertiesChange();
    void comAdminPropertiesChange();
    void btnOKClick();
    void btnCancelClick();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void closeLoginConnection();
    void showProblem(const QString &text);

    DataModule &m_data;
    LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    LoginMode m_mode;
    std::function<void()> m_terminate;
    QString m_connection;     // the login's own connection to the chosen set
    QString m_problem;        // why no login is possible (no set, set unreadable)
    bool m_loading = false;   // the set list is being filled: not a choice
    bool m_keepRunning = false;
    bool m_loggedIn = false;

    QComboBox *m_comZt = nullptr;
    QComboBox *m_comAdmin = nullptr;
    QLineEdit *m_tpwd2 = nullptr;
    QLabel *m_lMsg = nullptr;
    QPushButton *m_btnOK = nullptr;
    QPushButton *m_btnCancel = nullptr;
};
