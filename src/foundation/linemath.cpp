#include "foundation/linemath.h"

#include "foundation/db/numbers.h"

namespace {

double maybeRound(double value, std::optional<int> decimals)
{
    return decimals ? RoundTo(value, *decimals) : value;
}

void setCellAmounts(LineFigures &line, int decimals, bool withAmount)
{
    const double factor = line.quantity * line.discount;
    if (withAmount)
        line.amount = RoundTo(line.price * factor, decimals);
    line.total = RoundTo(line.taxPrice * factor, decimals);
    line.taxAmount = RoundTo((line.taxPrice - line.price) * factor, decimals);
}

} // namespace

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

double TaxInclusivePrice(double price, double taxRate)
{
    return price * (1.0 + taxRate / 100.0);
}

double PriceExcludingTax(double taxPrice, double taxRate)
{
    if (taxRate <= 0.0)
        return taxPrice;
    return taxPrice / (1.0 + taxRate / 100.0);
}

double NonNegativeFromText(const QString &text)
{
    const double v = TextToNumber(text.trimmed());
    return v < 0.0 ? 0.0 : v;
}

double PositiveFromText(const QString &text)
{
    const double v = TextToNumber(text.trimmed());
    return v <= 0.0 ? 1.0 : v;
}

LineFigures EditLineCell(const LineFigures &line, LineCell cell, const QString &typed, double unitFactor,
                         const LineDecimals &decimals)
{
    LineFigures out = line;
    switch (cell) {
    case LineCell::Price:
        out.price = RoundTo(NonNegativeFromText(typed), decimals.price);
        out.taxPrice = RoundTo(TaxInclusivePrice(out.price, out.tax), decimals.price);
        break;
    case LineCell::TaxPrice: {
        out.taxPrice = RoundTo(NonNegativeFromText(typed), decimals.price);
        const double divisor = 1.0 + out.tax / 100.0;
        out.price = divisor == 0.0 ? out.taxPrice : RoundTo(out.taxPrice / divisor, decimals.price);
        break;
    }
    case LineCell::Tax:
        out.tax = NonNegativeFromText(typed);
        out.taxPrice = RoundTo(TaxInclusivePrice(out.price, out.tax), decimals.price);
        setCellAmounts(out, decimals.amount, false);
        return out;
    case LineCell::Quantity:
        out.quantity = PositiveFromText(typed);
        out.baseQuantity = out.quantity * unitFactor;
        break;
    case LineCell::Discount:
        out.discount = PositiveFromText(typed);
        break;
    }
    setCellAmounts(out, decimals.amount, true);
    return out;
}

void SetDialogAmounts(LineFigures &line, std::optional<int> decimals)
{
    const double factor = line.quantity * line.discount;
    line.amount = maybeRound(line.price * factor, decimals);
    line.taxAmount = maybeRound((line.taxPrice - line.price) * factor, decimals);
}

double ReturnLineTotal(const LineFigures &line, std::optional<int> decimals)
{
    return maybeRound(line.quantity * line.taxPrice * line.discount, decimals);
}

LineFigures AddOnePiece(const LineFigures &line, double unitFactor, std::optional<int> decimals)
{
    LineFigures out = line;
    out.quantity = line.quantity + 1.0;
    out.baseQuantity = line.baseQuantity + unitFactor;
    const double q = out.quantity;
    out.amount = maybeRound(line.price * line.discount * q, decimals);
    out.total = maybeRound(line.price * line.discount * (1.0 + line.tax / 100.0) * q, decimals);
    out.taxAmount = maybeRound((line.taxPrice - line.price) * line.discount * q, decimals);
    return out;
}

std::optional<LineCell> LineCellOfColumn(const QString &field)
{
    const QString tail = field.mid(field.indexOf(QLatin1Char('_')) + 1);
    if (tail == QLatin1String("dj"))
        return LineCell::Price;
    if (tail == QLatin1String("sl"))
        return LineCell::Quantity;
    if (tail == QLatin1String("tax"))
        return LineCell::Tax;
    if (tail == QLatin1String("taxdj"))
        return LineCell::TaxPrice;
    if (tail == QLatin1String("dzl"))
        return LineCell::Discount;
    return std::nullopt;
}
