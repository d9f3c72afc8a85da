#pragma once

// TF_Cgjh_ImportDD "导入采购订单": the open lines of audited purchase orders into the receipt being
// entered. 单据表 takes a whole order (the receipt's lines replaced), 明细表 the chosen lines of
// any orders (appended in the order chosen). The dialog writes through OrderImportRules with the
// receipt's document context and hands back the header values (`imported()`), which the receipt
// window applies. Created for one use.

#include "purchasing/orderimport.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <memory>
#include <optional>

class DataGrid;
class DateRangeBar;
class FileChoice;
class KeyedCombo;
class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QStackedWidget;
struct DocumentContext;

class TF_Cgjh_ImportDD final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Cgjh_ImportDD(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Cgjh_ImportDD() override;

    // Tests may replace the file chooser of 导出.
    void setFileChoice(FileChoice *files) { m_files = files; }

    const std::optional<ImportedOrderHeader> &imported() const { return m_imported; }
    DataGrid *documentGrid() const { return m_documents; }
    DataGrid *orderLinesGrid() const { return m_orderLines; }
    DataGrid *linesGrid() const { return m_lines; }
    bool lineView() const;
    void setLineView(bool lines);

    void search();
    void accept() override;
    // "添加选中商品(&Z)": the chosen lines, the dialog stays open.
    bool addSelected();
    // "导出": the list the view shows, when it has rows, through the kit's Excel export; the
    // file written or "".
    QString exportList();

private:
    void activate();
    void showOrderLines();
    OrderImportFilter filter() const;
    DocumentContext *receipt() const;

    ScreenContext m_context;
    OrderImportRules m_rules;
    std::optional<ImportedOrderHeader> m_imported;
    KeyedCombo *m_warehouse = nullptr;
    QLineEdit *m_key = nullptr;
    DateRangeBar *m_period = nullptr;
    QCheckBox *m_finished = nullptr;
    QCheckBox *m_ordered = nullptr;
    QRadioButton *m_documentView = nullptr;
    QRadioButton *m_lineView = nullptr;
    QStackedWidget *m_views = nullptr;
    DataGrid *m_documents = nullptr;
    DataGrid *m_orderLines = nullptr;
    DataGrid *m_lines = nullptr;
    QLabel *m_message = nullptr;
    FileChoice *m_files = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
};
