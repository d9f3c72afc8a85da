#pragma once

#include "screenkit/screenbase.h"
#include "shell/datacleanup.h"

class QPushButton;
class QRadioButton;

// "软件数据清理(系统初始化)": empties the current account set, keeping the basic data or not.
class TF_Sjql final : public ScreenDialog
{
    Q_OBJECT

public:
    // `context.programFolder` receives the backup made before the clean-up.
    TF_Sjql(const CleanupContext &context, Notices &notices, QWidget *parent = nullptr);

    void FormActivate();
    void btnOKClick();

    QRadioButton *rbKeep = nullptr;
    QRadioButton *rbAll = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnExit = nullptr;

private:
    CleanupContext m_context;
    Notices &m_notices;
};
