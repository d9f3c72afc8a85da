#pragma once

// TF_Jthcx "进退货查询": the purchase document query over audited receipts and returns — the
// document table (with the lines of the current document), the goods summary (with the rows of
// the current goods) and the line table, the period on the document or check date, the type
// filter "数据过滤", the advanced search, viewing, printing and exporting, cancel-audit one by
// one or all at once, payment against a document, change of date, and the whole return.
// Opened by the purchase return window with the property "returnNumber" (its number), the
// query hands a receipt chosen by 整单退货 back in "returnReceipt" and closes; opened from
// elsewhere, 整单退货 hands the receipt to the shell's follow-on (ReturnSourceNo).

#include "purchasing/purchasedocquery.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <memory>

class DataGrid;
class DateRangeBar;
class FileChoice;
class PrintChoiceDialog;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class ReportOutput;
class SqlGridModel;

class TF_Jthcx final : public ScreenDialog
{
    Q_OBJECT

public:
    enum View { Summary = 0, Lines = 1, Documents = 2 };

    explicit TF_Jthcx(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Jthcx() override;

    void setReportOutput(ReportOutput *output) { m_output = output; }
    void setPrintChoice(PrintChoiceDialog *choice) { m_choice = choice; }
    void setFileChoice(FileChoice *files) { m_files = files; }

    View view() const;
    void setView(View view);  // searches
    DataGrid *grid() const { return m_grid; }
    DataGrid *detailGrid() const { return m_detail; }
    QLabel *detailLabel() const { return m_detailLabel; }
    DateRangeBar *period() const { return m_period; }
    QLineEdit *keyBox() const { return m_key; }
    QComboBox *orderBox() const { return m_order; }
    QComboBox *dateKindBox() const { return m_dateKind; }
    QPushButton *button(const QString &objectName) const;
    QMenu *filterMenu() const { return m_filterMenu; }
    const DocQueryCriteria &criteria() const { return m_criteria; }

    // Commands (buttons, menus, keys, tests).
    void search();
    void setTypeFilter(DocQueryType type);  // searches
    void viewDocument();
    void printContinuously();
    void printList();
    void exportView(int which = 0);  // 0: the upper grid, 1: its lower grid
    void unauditSelected();
    void unauditAll();
    void pay();
    void redate();
    void advancedSearch();
    void wholeReturn(bool fromLines = false);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void activate();
    void applyRights();
    void setViewColumns();
    void showDetail();
    QString currentNumber(bool fromLines) const;
    // The document table's numbers in list order.
    QStringList listedNumbers() const;
    ReportOutput &output();
    FileChoice &files();
    PrintChoiceDialog *printChoice();

    ScreenContext m_context;
    PurchaseDocQuery m_query;
    DocQueryCriteria m_criteria;
    bool m_continuous = false;
    int m_shownView = -1;
    DateRangeBar *m_period = nullptr;
    QLineEdit *m_key = nullptr;
    QButtonGroup *m_views = nullptr;
    QComboBox *m_order = nullptr;
    QComboBox *m_dateKind = nullptr;
    QMenu *m_filterMenu = nullptr;
    QList<QPushButton *> m_buttons;
    QLabel *m_hint = nullptr;
    DataGrid *m_grid = nullptr;
    QFrame *m_lower = nullptr;
    QLabel *m_detailLabel = nullptr;
    DataGrid *m_detail = nullptr;
    QList<SqlGridModel *> m_models;       // by View
    SqlGridModel *m_documentRows = nullptr;
    SqlGridModel *m_goodsRows = nullptr;
    QMenu *m_documentMenu = nullptr;
    ReportOutput *m_output = nullptr;
    PrintChoiceDialog *m_choice = nullptr;
    FileChoice *m_files = nullptr;
    std::unique_ptr<ReportOutput> m_ownOutput;
    std::unique_ptr<PrintChoiceDialog> m_ownChoice;
    std::unique_ptr<FileChoice> m_ownFiles;
};
