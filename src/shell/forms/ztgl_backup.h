#pragma once

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "screenkit/screenbase.h"
#include "shell/accountsets.h"

class FileChoice;
class Notices;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// The per-set dialogs of the account-set manager: "帐套数据备份到文件" (TF_Ztgl_BackUp) and,
// with restore = true, "从备份文件恢复帐套数据" (TF_Ztgl_Restore).
class TF_Ztgl_BackUp : public ScreenDialog
{
    Q_OBJECT
public:
    TF_Ztgl_BackUp(const ConnectionSettings &settings, const Clock &clock, int uiFontSize, Notices &notices,
                   FileChoice &files, const AccountSetRow &row, bool restore = false, QWidget *parent = nullptr);

    bool isRestore() const { return m_restore; }
    void btnPathClick();
    void btnOKClick();

    QLabel *lbName = nullptr;
    QLabel *lbNote = nullptr;
    QLineEdit *edPath = nullptr;
    QPushButton *btnPath = nullptr;
    QProgressBar *progress = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnExit = nullptr;

private:
    ConnectionSettings m_settings;
    const Clock &m_clock;
    Notices &m_notices;
    FileChoice &m_files;
    AccountSetRow m_row;
    bool m_restore;
};

class TF_Ztgl_Restore final : public TF_Ztgl_BackUp
{
    Q_OBJECT
public:
    TF_Ztgl_Restore(const ConnectionSettings &settings, const Clock &clock, int uiFontSize, Notices &notices,
                    FileChoice &files, const AccountSetRow &row, QWidget *parent = nullptr)
        : TF_Ztgl_BackUp(settings, clock, uiFontSize, notices, files, row, true, parent)
    {
    }
};
