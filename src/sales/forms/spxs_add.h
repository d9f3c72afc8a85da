#pragma once

// TF_Spxs_Add "增加商品(商品销售)": the sale goods picker on the kit's pick-rows dialog. Input as
// a dynamic property: the document context (the entry page's or the pending sale's); 确定 turns
// the basket into the sale's lines and tells the context. Kept by its opener between uses.

#include "sales/salepicker.h"
#include "screenkit/pickrows.h"
#include "shell/forms/screenregistry.h"

#include "foundation/doccontext.h"
#include "foundation/linemode.h"

class MoneyEdit;
class QCheckBox;
class QMenu;
class SqlGridModel;

class TF_Spxs_Add final : public PickRowsDialog
{
    Q_OBJECT

public:
    TF_Spxs_Add(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Spxs_Add() override;

    QCheckBox *customerBox() const { return m_chkKh; }
    QCheckBox *warehouseBox() const { return m_chkCk; }
    MoneyEdit *defaultQuantityBox() const { return m_quantity; }
    QPushButton *newGoodsButton() const { return m_newGoods; }
    QMenu *basketMenu() const { return m_basketMenu; }

    // The list of the page in front, again with its statement.
    void loadList();

private:
    void activate();
    SalePickerFilters filters() const;
    void addRows();
    void addDirect(DataGrid *grid, const QList<int> &rows);
    void openLineDialog(LineMode mode, const QString &goods, qint64 rowId);
    void addNewGoods();
    void applyVisibility();

    ScreenContext m_context;
    SalePickerQuery m_query;
    SalePickerRules m_rules;
    DocumentContext *m_doc = nullptr;
    DocumentContext m_ownDoc;
    SqlGridModel *m_listModel = nullptr;
    SqlGridModel *m_treeListModel = nullptr;
    SqlGridModel *m_basketModel = nullptr;
    MoneyEdit *m_quantity = nullptr;
    QCheckBox *m_chkKh = nullptr;
    QCheckBox *m_chkCk = nullptr;
    QPushButton *m_newGoods = nullptr;
    QMenu *m_basketMenu = nullptr;
};
