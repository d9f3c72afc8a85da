#pragma once

// What the customer, supplier, warehouse and employee lists share: a toolbar, the keyword row
// with "查询(F2)", a note, a read-only grid over the list's statement, a right-click menu, the
// search filters, export and print. Each list says its columns, statement and searches.

#include "masterdata/masterprint.h"
#include "masterdata/searchcriteria.h"
#include "screenkit/gridcolumn.h"
#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include "foundation/db/liststatement.h"

#include <functional>
#include <memory>

class DataGrid;
class QBoxLayout;
class FileChoice;
class QAction;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class ReportOutput;
class SqlGridModel;

// The key row of a list: the label, the key box "tkey" (typed-character filter, Enter its own)
// and the search button "btnFind".
struct KeyRow
{
    QHBoxLayout *row = nullptr;
    QLineEdit *key = nullptr;
    QPushButton *find = nullptr;
};
KeyRow MakeKeyRow(ScreenDialog *screen, const QString &label, const QString &findCaption);

// The one name box "tname" of a small dialog (at most `length` characters) with its label.
QLineEdit *AddNameRow(QDialog *dialog, QBoxLayout *layout, const QString &label, int length);

// A column of a master grid.
GridColumn MasterColumn(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text,
                        const QString &format = QString());

class MasterListWindow : public ScreenDialog
{
    Q_OBJECT

public:
    ~MasterListWindow() override;

    DataGrid *grid() const { return m_grid; }
    QLineEdit *keyBox() const { return m_key; }
    QMenu *popup() const { return m_popup; }
    QAction *action(const QString &text) const;
    // Tests and the shell may replace the file chooser and the print output.
    void setFileChoice(FileChoice *files) { m_files = files; }
    void setReportOutput(ReportOutput *output) { m_output = output; }

    // F2, "查询(F2)": the keyword over the list's text columns.
    virtual void searchKeyword();
    // "全部(&Y)": the keyword cleared, every row.
    void showAll();
    void exportRows();

protected:
    MasterListWindow(const ScreenContext &context, const char *objectName, const QString &caption,
                     const QString &keyLabel, const QString &note, QWidget *parent);

    QPushButton *addTool(const char *name, const QString &caption, std::function<void()> action);
    QAction *addItem(const QString &text, std::function<void()> action);
    void setColumns(const QList<GridColumn> &columns);
    // The menu opened on a right click; `beforeShow` sets pressed states from the current row.
    void finishPopup(std::function<void(QMenu *)> beforeShow = {});

    virtual ListStatement statement() const = 0;
    virtual SearchCriteria keywordCriteria(const QString &key) const = 0;

    // Reads the rows again under `criteria` (the statement asked anew), staying on the row.
    void load(const SearchCriteria &criteria);
    void load() { load(m_criteria); }
    // The row whose field holds the value becomes current (after a save).
    void positionOn(const QString &field, const QVariant &value);
    bool hasRows() const;
    qint64 currentId() const;
    // A registered dialog, owned by the caller.
    std::unique_ptr<QDialog> create(const QString &screenClass, const QString &caption);
    void printRows(MasterList list);

    ScreenContext m_context;
    DataGrid *m_grid = nullptr;
    SqlGridModel *m_model = nullptr;
    QLineEdit *m_key = nullptr;
    QLabel *m_note = nullptr;
    QMenu *m_popup = nullptr;
    SearchCriteria m_criteria;

private:
    QHBoxLayout *m_toolbar = nullptr;
    FileChoice *m_files = nullptr;
    ReportOutput *m_output = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
    std::unique_ptr<ReportOutput> m_ownOutput;
};
