#pragma once

// TF_Kcdb_Sele "商品信息(库存调拨)": the transfer's line dialog. The goods with its stock in the
// out warehouse; unit, 单价, 售价 (shown, never typed) and 数量; it writes on 确定 by mode (entry
// line, new or changed basket row, pending line) and tells the context. Inputs as dynamic
// properties (inventoryscreens.h).

#include "inventory/forms/inventorylinedialog.h"

class MoneyEdit;
class QComboBox;
class QLineEdit;

class TF_Kcdb_Sele final : public InventoryLineDialog
{
    Q_OBJECT

public:
    explicit TF_Kcdb_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcdb_Sele() override;

    MoneyEdit *priceBox() const { return m_price; }
    MoneyEdit *salePriceBox() const { return m_salePrice; }
    MoneyEdit *quantityBox() const { return m_quantity; }
    QComboBox *unitBox() const { return m_unit; }

private:
    void activate();
    void onUnitChosen(int index);
    bool confirmLine();

    TransferLineWriter m_writer;
    QString m_sourceId = QStringLiteral("0");
    bool m_filling = false;

    QComboBox *m_unit = nullptr;
    MoneyEdit *m_price = nullptr;
    MoneyEdit *m_salePrice = nullptr;
    MoneyEdit *m_quantity = nullptr;
    QLineEdit *m_batch = nullptr;
    MoneyEdit *m_available = nullptr;
};
