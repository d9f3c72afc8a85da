#pragma once

// The chooser panel (suppliers, customers …): a search box, optional "编号顺序"/"编号倒序",
// a grid filtered on every key over the configured fields, "添加(F8)", "修改(F9)", "确定(F5)",
// "退出(Esc)"; F2 goes to the search box; 确定 or a double-click hands back code and name.

#include "screenkit/screenbase.h"

#include <QStringList>

#include <functional>

class DataGrid;
class GridModel;
class QLineEdit;
class QPushButton;

struct ChooserOptions
{
    QString caption;
    QStringList searchFields;
    QString codeField = QStringLiteral("id");
    QString nameField;
    bool orderButtons = false;  // "编号顺序" / "编号倒序" over codeField
};

class ChooserPanel : public ScreenDialog
{
    Q_OBJECT

public:
    ChooserPanel(const ChooserOptions &options, int uiFontSize, QWidget *parent = nullptr);

    // The grid's rows; the panel takes the model.
    void setModel(GridModel *model);
    DataGrid *grid() const { return m_grid; }
    QLineEdit *searchBox() const { return m_search; }
    QPushButton *ascendingButton() const { return m_asc; }
    QPushButton *descendingButton() const { return m_desc; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *modifyButton() const { return m_modify; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *exitButton() const { return m_exit; }

    // After 确定 or a double-click.
    QString chosenCode() const { return m_code; }
    QString chosenName() const { return m_name; }

    std::function<void()> addRow;                       // "添加(F8)"; the grid reloads after it
    std::function<void(const QVariant &code)> modifyRow; // "修改(F9)"

private:
    void choose();

    ChooserOptions m_options;
    DataGrid *m_grid;
    QLineEdit *m_search;
    QPushButton *m_asc = nullptr;
    QPushButton *m_desc = nullptr;
    QPushButton *m_add;
    QPushButton *m_modify;
    QPushButton *m_ok;
    QPushButton *m_exit;
    QString m_code;
    QString m_name;
};
