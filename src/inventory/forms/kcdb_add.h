#pragma once

// TF_Kcdb_Add "增加商品(库存调拨)": the transfer's goods picker. Goods of the out warehouse on
// "商品清单" and "商品列表"; one chosen row goes through the line dialog, several (or a double
// click with PickerDblClickSelect) into the basket at once with the default quantity; 确定 adds
// the basket to the document.

#include "inventory/forms/inventorypickerdialog.h"

class MoneyEdit;
class QMenu;

class TF_Kcdb_Add final : public InventoryPickerDialog
{
    Q_OBJECT

public:
    explicit TF_Kcdb_Add(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcdb_Add() override;

    MoneyEdit *defaultQuantityBox() const { return m_quantity; }
    QMenu *basketMenu() const { return m_basketMenu; }

private:
    void afterActivate() override;
    void addRows();
    void addDirect(DataGrid *grid, const QList<int> &rows);

    MoneyEdit *m_quantity = nullptr;
    QMenu *m_basketMenu = nullptr;
};
