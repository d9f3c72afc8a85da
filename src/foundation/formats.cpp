#include "foundation/formats.h"

#include "foundation/loginstate.h"

namespace {

int formatsClampDecimals(int decimals)
{
    return (decimals < 0 || decimals > 8) ? 2 : decimals;
}

QString formatsFraction(int decimals)
{
    return decimals > 0 ? QLatin1Char('.') + QString(decimals, QLatin1Char('0')) : QString();
}

} // namespace

QString MoneyPattern(const QString &symbol, int decimals)
{
    const QString s = symbol.isEmpty() ? QStringLiteral("#") : symbol;
    const QString part = QStringLiteral(",0") + formatsFraction(formatsClampDecimals(decimals));
    return s + part + QStringLiteral(";-") + s + part;
}

QString GroupedPattern(int decimals)
{
    const QString part = QStringLiteral("#,0") + formatsFraction(formatsClampDecimals(decimals));
    return part + QStringLiteral(";-") + part;
}

QString QtyPattern(int decimals, bool blankZero)
{
    const int d = formatsClampDecimals(decimals);
    if (d == 0)
        return blankZero ? QStringLiteral("#;-#") : QStringLiteral("#0;-#0");
    const QString zeros(d, QLatin1Char('0'));
    return QStringLiteral("#0.") + zeros + QStringLiteral(";-#.") + zeros;
}

int TotalDecimalsValue(const LoginState &state)
{
    bool ok = false;
    const int d = state.TotalDecimals.trimmed().toInt(&ok);
    return ok ? formatsClampDecimals(d) : 2;
}

DisplayFormat MoneyEditFormat(const LoginState &state)
{
    const int d = formatsClampDecimals(state.PriceDecimals);
    return {MoneyPattern(state.CurrencySymbol, d), d, d + 13};
}

DisplayFormat MoneyColumnFormat(const LoginState &state)
{
    const int d = formatsClampDecimals(state.PriceDecimals);
    return {MoneyPattern(state.CurrencySymbol, d), d, 0};
}

DisplayFormat MoneyFooterFormat(const LoginState &state)
{
    return {GroupedPattern(TotalDecimalsValue(state)), -1, 0};
}

DisplayFormat QtyEditFormat(const LoginState &state)
{
    const int d = formatsClampDecimals(state.QtyDecimals);
    return {QtyPattern(d, true), d, d + 13};
}

DisplayFormat QtyColumnFormat(const LoginState &state)
{
    const int d = formatsClampDecimals(state.QtyDecimals);
    return {QtyPattern(d, false), d, 0};
}

DisplayFormat QtyFooterFormat(const LoginState &state)
{
    return {QtyPattern(state.QtyDecimals, false), -1, 0};
}

DisplayFormat MoneyBandedColumnFormat(const LoginState &state)
{
    // The banded column accepts the price decimals as well (the grid's default would differ).
    const int d = formatsClampDecimals(state.PriceDecimals);
    return {MoneyPattern(state.CurrencySymbol, d), d, 0};
}

DisplayFormat MoneyBandedFooterFormat(const LoginState &state)
{
    return {GroupedPattern(state.PriceDecimals), -1, 0};
}

DisplayFormat QtyBandedColumnFormat(const LoginState &state)
{
    return {QtyPattern(state.QtyDecimals, true), -1, 0};
}

DisplayFormat QtyBandedFooterFormat(const LoginState &state)
{
    return {QtyPattern(state.QtyDecimals, true), -1, 0};
}
