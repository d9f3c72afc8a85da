#pragma once

// What the inventory goods pickers (TF_Kcdb_Add, TF_Bsby_Add, TF_Kcpd_Add) share on the kit's pick-rows
// dialog: the goods of the document's warehouse on the two pages (all goods, and the goods of
// the class chosen in the tree), fetched in blocks and sorted by the database, the search box's
// label by PickerEnterSearch, the basket of the operator's rows, its commands (modify through
// the line dialog, delete after the question) and 确定 into the document. Input as a dynamic
// property: the document context (inventoryscreens.h).

#include "foundation/doccontext.h"
#include "inventory/inventorypicker.h"
#include "screenkit/gridcolumn.h"
#include "screenkit/pickrows.h"
#include "shell/forms/screenregistry.h"

class QGroupBox;
class QMenu;
class SqlGridModel;

// The options the inventory pickers share (search over name, short code, code, barcode and
// specification, Enter always searching; the class page; no F8; the closing question "所选商品还未保存，是否保存？").
PickerOptions InventoryPickerOptions(const QString &caption, int basketWidth);
// The goods columns the lists begin with (商品编号 … 颜色) and the basket's (商品名称 … 颜色).
QList<GridColumn> PickerGoodsColumns();
QList<GridColumn> PickerBasketGoodsColumns();

class InventoryPickerDialog : public PickRowsDialog
{
    Q_OBJECT

public:
    ~InventoryPickerDialog() override;

    // The list of the page in front, again with its statement.
    void loadList();
    DocumentContext *documentContext() const { return m_doc; }
    const InventoryPickerRules &rules() const { return m_rules; }

protected:
    InventoryPickerDialog(const PickerOptions &options, InventoryDoc doc, const ScreenContext &context,
                          const QList<GridColumn> &listColumns, const QList<GridColumn> &basketColumns,
                          QWidget *parent);

    // Opens the line dialog of the document type on the basket: a new row of `goods`
    // (BasketAdd) or the row `rowId` (BasketModify).
    void openLineDialog(InventoryLineMode mode, const QString &goods, qint64 rowId);
    // The rows chosen on the page in front: the selected ones, else the current one.
    QList<int> chosenRows() const;
    // At every opening, after the lists and the basket are loaded.
    virtual void afterActivate() {}
    // The lists in a group "查询商品列表" under the prompts, one line each.
    QGroupBox *placeListGroup(const QStringList &prompts);
    // The multi-select pickers' menus: "加入选中商品(&Z)" on both lists; "修改(&X)", "删除(&Y)" and
    // "删除全部(&Z)" (after "您确定要删除当前全部商品吗！") on the basket, returned.
    QMenu *installPickerMenus();

    ScreenContext m_context;
    InventoryPickerRules m_rules;
    DocumentContext *m_doc = nullptr;
    DocumentContext m_ownDoc;

private:
    void activate();
    void loadTree();

    InventoryDoc m_kind;
    SqlGridModel *m_listModel = nullptr;
    SqlGridModel *m_treeListModel = nullptr;
    SqlGridModel *m_basketModel = nullptr;
};
