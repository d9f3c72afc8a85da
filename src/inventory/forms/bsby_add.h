#pragma once

// TF_Bsby_Add "增加商品(商品报损)" / "增加商品(商品报溢)": the goods picker of loss and overflow
// notes. Goods of the document's warehouse on "商品清单" and "商品列表"; "加入所选商品" puts the
// current goods through the line dialog, a double click with PickerDblClickSelect adds it at
// once at the day's cost; 确定 adds the basket to the document.

#include "inventory/forms/inventorypickerdialog.h"

class QGroupBox;
class QLabel;

class TF_Bsby_Add final : public InventoryPickerDialog
{
    Q_OBJECT

public:
    explicit TF_Bsby_Add(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Bsby_Add() override;

    QGroupBox *listGroup() const { return m_listGroup; }

private:
    void afterActivate() override;
    void addCurrent();

    QGroupBox *m_listGroup = nullptr;
};
