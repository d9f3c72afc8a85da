#pragma once

// The pick-rows dialog, base of the goods and partner pickers: on the left the list page
// ("商品清单", search box and multi-select grid) and optionally the class-tree page ("商品列表");
// "加入所选商品" (F8 where the picker has it) puts the selected rows into the basket on the right, with "修改(F9)",
// "删除(Del)", "确定(F5)" and "取消(Esc)". Closing with a basket asks the unsaved question.

#include "screenkit/screenbase.h"

#include <QVariantList>

#include <functional>
#include <memory>

class Basket;
class DataGrid;
class KeyTree;
class Notices;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTabWidget;
struct DocType;
struct LoginState;
class QSqlDatabase;

struct PickerOptions
{
    QString caption;
    QString searchCaption = QStringLiteral("查找：");  // the label before the search box
    QStringList searchFields;        // the search box: text in any of these
    QString listKeyField = QStringLiteral("g_sn");
    QString priceField;              // list column that gives a basket row its price
    bool classTreePage = false;      // the "商品列表" page
    bool enterSearch = false;        // PickerEnterSearch: search on Enter, not on each change
    // Enter in the search box: searches (with enterSearch) and hands the focus to the list,
    // whose Enter adds; or, with enterStays, always searches and keeps the focus.
    bool enterStays = false;
    bool rowLimit = false;           // refuse more than 300 selected rows
    int basketWidth = 509;           // designed width of the basket group (509, 457, 476, 488 …)
    bool singleSelection = false;    // the lists select one row at a time
    bool f8Adds = true;              // F8 is "加入所选商品" (not every picker has the key)
    QString unsavedQuestion = QStringLiteral("当前单据还未保存，是否保存？");
};

class PickRowsDialog : public ScreenDialog
{
    Q_OBJECT

public:
    PickRowsDialog(const PickerOptions &options, Notices &notices, int uiFontSize, QWidget *parent = nullptr);
    ~PickRowsDialog() override;

    const PickerOptions &options() const { return m_options; }
    // PickerEnterSearch may change between openings of a kept picker.
    void setEnterSearch(bool on) { m_options.enterSearch = on; }
    // At an opening of a goods picker: searching by PickerEnterSearch (`enterSearch`) with its
    // label ("输入商品编号或名称,回车查询：" / "输入商品编号或名称查询商品："), the search box and the
    // lists' filters emptied, the first page in front.
    void resetGoodsSearch(bool enterSearch);
    QLineEdit *searchBox() const { return m_search; }
    QLabel *searchLabel() const { return m_searchLabel; }
    // The list of the page in front (商品清单 or 商品列表).
    DataGrid *frontGrid() const;
    DataGrid *listGrid() const { return m_list; }
    DataGrid *treeListGrid() const { return m_treeList; }
    KeyTree *classTree() const { return m_tree; }
    DataGrid *basketGrid() const { return m_basketGrid; }
    QGroupBox *basketGroup() const { return m_basketGroup; }
    QTabWidget *listPages() const { return m_pages; }
    QPushButton *addButton() const { return m_add; }
    QPushButton *modifyButton() const { return m_modify; }
    QPushButton *deleteButton() const { return m_delete; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The basket is the operator's rows of the type's scratch table: emptied now, filled by
    // "加入所选商品" (one row per selected goods, quantity 1, the list's price), copied into
    // the document's lines under `number` by 确定. Hooks set afterwards replace the defaults.
    void useBasket(const QSqlDatabase &db, const DocType &type, const LoginState &state, const QString &number);
    Basket *basket() const { return m_basket.get(); }

    // Hooks. add gets the selected rows' keys in the order the operator selected them.
    std::function<void(const QVariantList &keys)> add;
    std::function<void(const QVariant &basketKey)> modify;
    std::function<void(const QVariant &basketKey)> remove;
    std::function<bool()> confirm;   // true closes
    std::function<void()> discard;   // No when closing with a basket
    std::function<int()> basketCount;
    // A double click on a list row; empty: the same as "加入所选商品".
    std::function<void(DataGrid *grid, int row)> doubleClick;
    // Sets doubleClick: with the login's PickerDblClickSelect on, `direct` adds the clicked row at
    // once; off, the double click is "加入所选商品".
    void setDoubleClickAdds(const LoginState *state, std::function<void(DataGrid *grid, int row)> direct);

    // The menus of a goods picker: "加入选中商品(&Z)" on both lists; on the basket "修改(&X)",
    // "删除(&Y)" (the buttons) and "删除全部(&Z)", which asks "您确定要删除当前全部商品吗！" and
    // then runs `removeAll`. Returns the basket's menu.
    std::function<void()> removeAll;
    QMenu *installGoodsMenus();
    void removeAllRows();

    // "加入所选商品": the rows selected on the page in front.
    void addSelected();
    void reloadBasket();
    // The search of the search box on the list in front.
    void search();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:

    PickerOptions m_options;
    Notices &m_notices;
    std::unique_ptr<Basket> m_basket;
    bool m_confirmed = false;
    QTabWidget *m_pages = nullptr;
    QLineEdit *m_search = nullptr;
    QLabel *m_searchLabel = nullptr;
    DataGrid *m_list = nullptr;
    KeyTree *m_tree = nullptr;
    DataGrid *m_treeList = nullptr;
    QGroupBox *m_basketGroup = nullptr;
    DataGrid *m_basketGrid = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_modify = nullptr;
    QPushButton *m_delete = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};
