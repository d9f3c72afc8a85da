#include "foundation/linemath.h"

#include "foundation/db/numbers.h"

double LineAmount(double price, double quantity, int amountDecimals)
{
    return RoundTo(price * quantity, amountDecimals);
}

double PriceFromAmount(double amount, double quantity, int priceDecimals, double currentPrice)
{
    if (quantity == 0.0)
        return currentPrice;
    return RoundTo(amount / quantity, priceDecimals);
}

double QuantityFromText(const QString &text, double emptyMeans)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return emptyMeans;
    return TextToNumber(t);
}
