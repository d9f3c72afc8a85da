#pragma once

// TF_Cgd "采购订单": the purchase order window — the receipt's window of kind Order: "收货仓库：",
// "订购日期：", 订单数量 and the other priced cells edited in the grid, every scan a new line of
// one, no invoice, freight, contract, order import or note presets; saved through the receipt's
// save of kind Order and audited by OrderAudit (nothing posted).

#include "purchasing/forms/cgjh.h"

class TF_Cgd final : public TF_Cgjh
{
    Q_OBJECT

public:
    TF_Cgd(const ScreenContext &context, QWidget *parent = nullptr);
};
