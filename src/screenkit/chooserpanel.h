#pragma once

// The chooser panel (suppliers, customers …): a search box under its caption, optionally the
// order buttons "编号顺序"/"编号倒序" (sorting the grid) or an order box `comSx` (the screen
// reloads the list in that order), a grid filtered on every key over the configured fields,
// "添加(F8)", "修改(F9)", "确定(F5)", "退出(Esc)"; F2 goes to the search box; 确定 or a
// double-click hands back code and name. A typed box opens it with its text as the search.

#include "screenkit/screenbase.h"

#include <QStringList>

#include <functional>

class DataGrid;
class QCheckBox;
class GridModel;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

struct ChooserOptions
{
    QString caption;
    QString searchCaption = QStringLiteral("查找：");
    QStringList searchFields;
    QString codeField = QStringLiteral("id");
    QString nameField;
    bool orderButtons = false;  // "编号顺序" / "编号倒序" over codeField
    QStringList orderItems;     // the order box `comSx` ("编号顺序", "编号倒序"); empty: none
    // A check box `chkAll` beside the buttons ("查询全部客户"): checking it closes the panel
    // accepted with allChosen() true and no code. Empty: none.
    QString allCaption;
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
    QLabel *searchLabel() const { return m_searchLabel; }
    QComboBox *orderBox() const { return m_order; }
    // The search text the panel opens with (the grid filtered by it, the cursor at its end);
    // an empty text clears the filter.
    void setSearchText(const QString &text);
    QPushButton *ascendingButton() const { return m_asc; }
    QPushButton *descendingButton() const { return m_desc; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *modifyButton() const { return m_modify; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *exitButton() const { return m_exit; }

    // A panel lying over its host screen instead of a dialog of its own (hidden until opened):
    // 确定 and 退出 hide it.
    void embed(QWidget *host);
    // A control of the host (the box that feeds the panel) owns F5 and Esc while the panel
    // shows: F5 runs `take` (default: 确定), Esc hides the panel.
    void addKeyOwner(QWidget *box);
    // Shown below `anchor` (a widget of the host), raised, its grid filtered by `search`; the
    // focus stays where it is.
    void openBelow(QWidget *anchor, const QString &search);
    // The grid filtered by `text` (trimmed) without moving the focus.
    void filterBy(const QString &text);
    std::function<void()> take;

    // After 确定 or a double-click.
    QString chosenCode() const { return m_code; }
    QString chosenName() const { return m_name; }
    bool allChosen() const { return m_all; }
    QCheckBox *allBox() const { return m_allBox; }

    std::function<void()> addRow;                       // "添加(F8)"; the grid reloads after it
    std::function<void(const QVariant &code)> modifyRow; // "修改(F9)"
    std::function<void(int index)> orderChanged;        // the order box; the grid reloads after it

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void choose();
    void setFrameLike();
    void syncOwnerKeys();

    ChooserOptions m_options;
    DataGrid *m_grid;
    QLineEdit *m_search;
    QLabel *m_searchLabel;
    QComboBox *m_order = nullptr;
    QPushButton *m_asc = nullptr;
    QPushButton *m_desc = nullptr;
    QPushButton *m_add;
    QPushButton *m_modify;
    QPushButton *m_ok;
    QPushButton *m_exit;
    QString m_code;
    QString m_name;
    QList<ScreenKeys *> m_ownerKeys;
    bool m_all = false;
    QCheckBox *m_allBox = nullptr;
};
