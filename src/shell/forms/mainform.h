#pragma once

#include "shell/commandtable.h"
#include "shell/forms/screenregistry.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>

class Clock;
class DataModule;
class Notices;
class QAbstractButton;
class QDialog;
class QLabel;
class QMenu;
class QTimer;
class TF_Login;
class UrlOpener;
struct BackupContext;
struct FollowOnRequests;
struct LoginState;

// The main window: the top bar of fixed commands, the six panel buttons on the left, one panel
// of picture buttons at a time, and the status bar. Every command passes the command gate and
// opens its screen modally through the screen registry; kept screens are made once, freed ones
// for each click. The window also runs the start-up login, the start-up timer, the automatic
// backup and the exit.
class TF_MainForm final : public QMainWindow
{
    Q_OBJECT
public:
    TF_MainForm(DataModule &data, LoginState &state, const Clock &clock, Notices &notices, UrlOpener &urls,
                ScreenRegistry &registry, FollowOnRequests &followOn, QWidget *parent = nullptr);
    ~TF_MainForm() override;

    void setProgramFolder(const QString &folder) { m_programFolder = folder; }
    QString programFolder() const { return m_programFolder; }
    // How the program ends (default: the application's event loop ends).
    void setTerminate(std::function<void()> terminate) { m_terminate = std::move(terminate); }

    // The start sequence: first show (with the login), then the window maximized and its
    // first activation. Returns false when the login was closed without logging in.
    bool start();
    bool FormShow();
    void FormActivate();

    void menu1_btnClick();
    void menu2_btnClick();
    void menu3_btnClick();
    void menu4_btnClick();
    void menu5_btnClick();
    void menu6_btnClick();

    // A click on a command control of the table.
    void commandClick(const QString &controlName);
    void dispMsg(const QString &refusal);
    void dispMsg2();
    void btn_LoginClick();

    void Timer1Timer();
    void TimerBackUpTimer();
    QString backupDatabase();
    void startBackupTimer(int hours);
    void stopBackupTimer();

    // The exit question and, on Yes, the exit's work; true when the program ends.
    bool FormClose();

    ScreenContext screenContext();
    QString closingFlag() const { return m_closingFlag; }

    QTimer *timer1() const { return m_timer1; }
    QTimer *timerBackUp() const { return m_timerBackUp; }
    QMenu *popupMenuPos() const { return m_popupMenuPos; }
    QWidget *panel(const QString &name) const;
    QAbstractButton *control(const QString &name) const;
    QLabel *paneRj() const { return m_paneRj; }
    QLabel *paneAdmin() const { return m_paneAdmin; }
    QLabel *paneLoginTime() const { return m_paneLoginTime; }
    // The kept screen of a class, or nullptr.
    QDialog *keptScreen(const QString &screenClass) const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildTopBar();
    void buildLeftBar();
    void buildPanels(QWidget *client);
    void showPanel(int index);
    void applyPanelFlags();
    void runCommand(const ShellCommand &command, QAbstractButton *source);
    void openCommandScreen(const ShellCommand &command);
    void showScreen(const QString &screenClass, const QString &caption, ScreenLifetime lifetime);
    void forgetKeptScreens();
    void openHelpPage(const QString &file);
    void refreshPanes();
    BackupContext backupContext();

    DataModule &m_data;
    LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    UrlOpener &m_urls;
    ScreenRegistry &m_registry;
    FollowOnRequests &m_followOn;
    QString m_programFolder;
    std::function<void()> m_terminate;

    QString m_closingFlag;
    bool m_activated = false;
    QPointer<TF_Login> m_login;  // the change-of-operator login, kept
    QHash<QString, QPointer<QDialog>> m_kept;

    QTimer *m_timer1 = nullptr;
    QTimer *m_timerBackUp = nullptr;
    QMenu *m_popupMenuPos = nullptr;
    QLabel *m_paneRj = nullptr;
    QLabel *m_paneAdmin = nullptr;
    QLabel *m_paneLoginTime = nullptr;
    QList<QWidget *> m_panels;
    QHash<QString, QAbstractButton *> m_controls;
};
