#pragma once

// TF_Bsby "商品报损/报溢": the loss and overflow window on the kit's document window. Entry page
// "报损/报溢": the type (no type chosen at each showing; kept across saves), warehouse, date and
// number over the operator's draft lines of the type (picked, changed in the line dialog),
// handler and note, save (pending or audited at once). The pages "报损/报溢审核" and "报损/报溢
// 查询" and printing come with their own work.

#include "inventory/forms/inventorywindow.h"
#include "inventory/inventorydoc.h"

class QComboBox;

class TF_Bsby final : public InventoryWindow
{
    Q_OBJECT

public:
    TF_Bsby(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Bsby() override;

    QComboBox *typeBox() const { return m_type; }
    // The type chosen; Loss while none is.
    InventoryDoc doc() const;
    bool typeChosen() const;

    // Commands (buttons, keys, menus and tests).
    void addGoods();
    void modifyLine();
    void deleteLine();
    void save();

private:
    void opening();
    void afterOpening();
    void startDocument();
    void applyRights();
    void onTypeChosen(int index);
    void showType();

    QComboBox *m_type = nullptr;
    QLabel *m_dateLabel = nullptr;
    bool m_switching = false;
};
