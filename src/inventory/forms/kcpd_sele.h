#pragma once

// TF_Kcpd_Sele "盘点商品设置": the line dialog of stocktakings. The goods with its stock in the
// counted warehouse (from jxc_goods alone when it has no stock row there) and the count
// "盘点数量："; it writes on 确定 by mode (entry line "kcpd", new basket row "kcpd_add", basket
// row "kcpd_modi", pending line "kcpd_modi2") and tells the context. Inputs as dynamic
// properties (inventoryscreens.h).

#include "inventory/forms/inventorylinedialog.h"
#include "inventory/stocktaking.h"

class MoneyEdit;

class TF_Kcpd_Sele final : public InventoryLineDialog
{
    Q_OBJECT

public:
    explicit TF_Kcpd_Sele(const ScreenContext &context, QWidget *parent = nullptr);
    ~TF_Kcpd_Sele() override;

    MoneyEdit *countBox() const { return m_count; }

private:
    void activate();
    bool confirmLine();

    StocktakingRules m_rules;
    MoneyEdit *m_count = nullptr;
};
