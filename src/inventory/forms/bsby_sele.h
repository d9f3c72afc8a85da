#pragma once

// TF_Bsby_Sele "商品信息(商品报损)" / "商品信息(商品报溢)": the line dialog of loss and overflow
// notes. The goods with its stock in the document's warehouse; 数量 and 备注 (the unit cost is
// the warehouse's, never typed); it writes on 确定 by mode (entry line, new or changed basket
// row, pending line) and tells the context. Inputs as dynamic properties (inventoryscreens.h).

#include "inventory/forms/inventorylinedialog.h"
#include "inventory/lossoverflow.h"

class MoneyEdit;
class QLineEdit;

class TF_Bsby_Sele final : public InventoryLineDialog
{
    Q_OBJECT

public:
    explicit TF_Bsby_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Bsby_Sele() override;

    MoneyEdit *quantityBox() const { return m_quantity; }
    QLineEdit *noteBox() const { return m_note; }

private:
    void activate();
    bool confirmLine();

    LossOverflowRules m_rules;
    QString m_batchId = QStringLiteral("0");
    double m_costValue = 0.0;  // the unit cost as read, never typed

    MoneyEdit *m_quantity = nullptr;
    QLineEdit *m_note = nullptr;
    MoneyEdit *m_cost = nullptr;
    QLineEdit *m_batch = nullptr;
    MoneyEdit *m_available = nullptr;
};
