#pragma once

// TF_Price "商品售价选择": the goods' six preset prices ("0.预设售价：" g_sj … "5.五级批发价："
// g_sj5) read-only; a price's button or a double click on it hands that base-unit price back
// (the property "chosenPrice") and closes; "退出(Esc)" closes without a choice. In: the goods
// code ("goodsCode") and name ("goodsName"). Stays on top of the caller (the sale line dialog,
// and the sales-order and sales-return line dialogs).

#include "shell/forms/screenregistry.h"
#include "screenkit/screenbase.h"

#include <array>

class MoneyEdit;
class QLabel;

class TF_Price final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Price(const ScreenContext &context, QWidget *parent = nullptr);

    MoneyEdit *priceBox(int level) const { return m_prices[size_t(level)]; }
    // Hands back the price of `level` (0 … 5) and closes.
    void choose(int level);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void activate();

    ScreenContext m_context;
    QLabel *m_code = nullptr;
    QLabel *m_name = nullptr;
    std::array<MoneyEdit *, 6> m_prices{};
};
