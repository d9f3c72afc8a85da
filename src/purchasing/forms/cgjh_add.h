#pragma once

// TF_Cgjh_Add "增加商品(采购进货)", TF_Cgth_Add "增加商品(采购退货)", TF_Cgd_Add
// "增加商品(采购订单)": the one goods picker of the purchase documents, a variant per document,
// on the kit's pick-rows dialog. Input as a dynamic property: the document context
// (purchasingscreens.h); 确定 turns the basket into the document's lines and tells the context.

#include "purchasing/goodspicker.h"
#include "purchasing/purchaselinewriter.h"
#include "screenkit/pickrows.h"
#include "shell/forms/screenregistry.h"

#include "foundation/doccontext.h"

class MoneyEdit;
class QAction;
class QCheckBox;
class QMenu;
class SqlGridModel;

class TF_Cgjh_Add final : public PickRowsDialog
{
    Q_OBJECT

public:
    TF_Cgjh_Add(PurchaseKind kind, const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Cgjh_Add() override;

    PurchaseKind kind() const { return m_kind; }
    PickerListMode listMode() const { return PickerModeOf(filters()); }
    QCheckBox *warehouseBox() const { return m_chkCk; }
    QCheckBox *supplierBox() const { return m_chkGhs; }
    MoneyEdit *defaultQuantityBox() const { return m_quantity; }
    QPushButton *newGoodsButton() const { return m_newGoods; }
    QMenu *basketMenu() const { return m_basketMenu; }

    // The list of the page in front, again with its statement.
    void loadList();

private:
    void activate();
    void loadTree();
    PickerFilters filters() const;
    void addRows(const QVariantList &keys);
    void addDirect(DataGrid *grid, const QList<int> &rows);
    void openLineDialog(LineMode mode, const QString &goods, qint64 rowId);
    void modifyRow(const QVariant &rowId);
    void removeRow(const QVariant &rowId);
    void addNewGoods();
    void applyVisibility();

    PurchaseKind m_kind;
    ScreenContext m_context;
    GoodsPickerRules m_rules;
    DocumentContext *m_doc = nullptr;
    DocumentContext m_ownDoc;
    SqlGridModel *m_listModel = nullptr;
    SqlGridModel *m_treeListModel = nullptr;
    SqlGridModel *m_basketModel = nullptr;
    MoneyEdit *m_quantity = nullptr;
    QCheckBox *m_chkGhs = nullptr;
    QCheckBox *m_chkCk = nullptr;
    QPushButton *m_newGoods = nullptr;
    QMenu *m_basketMenu = nullptr;
};
