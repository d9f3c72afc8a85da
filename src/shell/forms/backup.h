#pragma once

#include "screenkit/screenbase.h"
#include "shell/backupservice.h"

#include <functional>

class FileChoice;
class Notices;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QToolButton;

// "备份/恢复数据库": the backup settings of the set in use, a backup on the spot, and the restore
// of the set in use.
class TF_Backup final : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Backup(const BackupContext &context, Notices &notices, FileChoice &files,
              std::function<void(int hours)> startTimer, std::function<void()> stopTimer, QWidget *parent = nullptr);

    void FormActivate();
    void btnOKClick();
    void btnPathClick();
    void btnFileClick();
    void escape();

    QTabWidget *pages = nullptr;
    QLineEdit *edPath = nullptr;
    QPushButton *btnPath = nullptr;
    QProgressBar *pbBackup = nullptr;
    QCheckBox *chkAuto = nullptr;
    QSpinBox *spHours = nullptr;
    QComboBox *cbDays = nullptr;
    QCheckBox *chkExit = nullptr;
    QToolButton *btnInfo = nullptr;
    QFrame *pnlInfo = nullptr;
    QPushButton *btnInfoClose = nullptr;
    QLineEdit *edFile = nullptr;
    QPushButton *btnFile = nullptr;
    QProgressBar *pbRestore = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnExit = nullptr;

private:
    void backupPage();
    void restorePage();

    BackupContext m_context;
    Notices &m_notices;
    FileChoice &m_files;
    std::function<void(int)> m_startTimer;
    std::function<void()> m_stopTimer;
};

// The text of the information panel.
extern const char *const kBackupIntervalNote;
