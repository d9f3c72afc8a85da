#pragma once

#include "foundation/db/liststatement.h"
#include "foundation/partnerlists.h"
#include "screenkit/screenbase.h"

#include <QSqlDatabase>

#include <functional>

class ChooserPanel;
class Clock;
class DataGrid;
class FileChoice;
class KeyedCombo;
class Notices;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class ReportOutput;
class SqlGridModel;
class StatusPanes;
struct LoginState;

// "今日事件提醒": goods below their minimum stock and customers who still owe money.
class TF_Sjtx final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Sjtx(const QSqlDatabase &db, const LoginState &state, Notices &notices, FileChoice &files, ReportOutput &output,
            QWidget *parent = nullptr);

    void FormActivate();
    void stockSearch();
    void receivablesSearch();
    void btnPrintClick();
    void btnExportClick();
    // The customer picker.
    void openPicker(const QString &text);
    void takeCustomer();
    void closePicker();
    bool pickerOpen() const;

    // The customer picked for the receivables (empty: all customers).
    QString currentCustomerSn() const { return m_customerSn; }

    QTabWidget *pages = nullptr;
    KeyedCombo *cbWarehouse = nullptr;
    QLineEdit *edSearch = nullptr;
    QPushButton *btnSearch = nullptr;
    QPushButton *btnPrint = nullptr;
    QPushButton *btnExport = nullptr;
    QPushButton *btnExit = nullptr;
    DataGrid *gridStock = nullptr;
    QLineEdit *edCustomer = nullptr;
    QToolButton *btnCustomer = nullptr;
    QCheckBox *chkAllCustomers = nullptr;
    ChooserPanel *picker = nullptr;
    DataGrid *gridReceivables = nullptr;
    StatusPanes *panes = nullptr;
    QLabel *picture = nullptr;

private:
    DataGrid *activeGrid() const;
    // Runs a list's statement into its grid and shows its count in the pane.
    void search(SqlGridModel *model, DataGrid *grid, int pane, const QString &caption,
                const std::function<ListStatement()> &statement);

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    FileChoice &m_files;
    ReportOutput &m_output;
    SqlGridModel *m_stock = nullptr;
    SqlGridModel *m_receivables = nullptr;
    PartnerList m_customers{PartnerList::Kind::Customers};
    QString m_customerSn;
    bool m_filling = false;  // the warehouse list is being filled: no search
};
