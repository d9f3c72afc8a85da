#pragma once

#include "screenkit/screenbase.h"
#include "shell/periodclosing.h"

class DataGrid;
class DateEdit;
class FileChoice;
class QCheckBox;
class QLabel;
class QPushButton;
class SqlGridModel;

// "数据结算": closes the period up to a date and lists the summaries of earlier closings.
class TF_Nzjs final : public ScreenDialog
{
    Q_OBJECT

public:
    // `context.programFolder` receives the backup made before the closing; `context.backup` is
    // taken from the check box at each run.
    TF_Nzjs(const ClosingContext &context, Notices &notices, FileChoice &files, QWidget *parent = nullptr);

    void FormActivate();
    void btnOKClick();
    void btnDelClick();
    void btnExportClick();
    void loadSummary();

    DateEdit *DateEdit1 = nullptr;
    QLabel *lblWarning = nullptr;
    QCheckBox *chkBackup = nullptr;
    QPushButton *btnOK = nullptr;
    QPushButton *btnExport = nullptr;
    QPushButton *btnDel = nullptr;
    QPushButton *btnExit = nullptr;
    DataGrid *grid = nullptr;

private:
    void showWarning();

    ClosingContext m_context;
    Notices &m_notices;
    FileChoice &m_files;
    SqlGridModel *m_model = nullptr;
};
