#pragma once

// TF_Kcpd_Add "盘点商品添加": the goods picker of stocktakings. Goods stocked in the counted
// warehouse on "商品清单" and "商品列表" (multi-select); "加入所选商品" (F8) puts one goods
// through the line dialog and two to 300 at once at their stock rows (count = book); a goods
// in the basket or on the document is refused; 确定 adds the basket to the document, skipping
// goods counted there meanwhile.

#include "inventory/forms/inventorypickerdialog.h"

class QMenu;

class TF_Kcpd_Add final : public InventoryPickerDialog
{
    Q_OBJECT

public:
    explicit TF_Kcpd_Add(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcpd_Add() override;

    QMenu *basketMenu() const { return m_basketMenu; }

private:
    void afterActivate() override;
    void addRows();
    void addDirect(DataGrid *grid, const QList<int> &rows);

    QMenu *m_basketMenu = nullptr;
};
