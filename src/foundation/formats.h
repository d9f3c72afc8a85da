#pragma once

// Display settings of money and quantities, from the decimals and the currency symbol of the
// login state. Each rule gives what one kind of control needs; the widget adapters of the same
// names with "Set" in front (SetMoneyEditFormat …) apply them. Patterns are rendered by
// FormatNumber (platform/format/formatnumber.h).

#include <QString>

struct LoginState;

struct DisplayFormat
{
    QString pattern;
    int inputDecimals = -1;  // decimals the control accepts; -1: the control sets none
    int maxLength = 0;       // characters an editor accepts; 0: no limit set
};

// Money: symbol (or "#" when empty), ",0" and the decimals, then ";-", the symbol and the same.
// ￥,0.00;-￥,0.00 for "￥" and 2 decimals.
QString MoneyPattern(const QString &symbol, int decimals);
// Grouped footer: "#,0;-#,0", "#,0.00;-#,0.00" …
QString GroupedPattern(int decimals);
// Quantities: "#0.00;-#.00" for 2 decimals; at 0 decimals "#;-#" when a zero shows blank,
// else "#0;-#0".
QString QtyPattern(int decimals, bool blankZero);

// `TotalDecimals` of the login state as a number (a text "0".."8"; anything else gives 2).
int TotalDecimalsValue(const LoginState &state);

DisplayFormat MoneyEditFormat(const LoginState &state);          // single money editor
DisplayFormat MoneyColumnFormat(const LoginState &state);        // grid column
DisplayFormat MoneyFooterFormat(const LoginState &state);        // grid footer (total decimals)
DisplayFormat QtyEditFormat(const LoginState &state);            // single quantity editor
DisplayFormat QtyColumnFormat(const LoginState &state);          // grid column
DisplayFormat QtyFooterFormat(const LoginState &state);          // grid footer
DisplayFormat MoneyBandedColumnFormat(const LoginState &state);  // banded grid column
DisplayFormat MoneyBandedFooterFormat(const LoginState &state);  // banded footer (price decimals)
DisplayFormat QtyBandedColumnFormat(const LoginState &state);    // banded grid column
DisplayFormat QtyBandedFooterFormat(const LoginState &state);    // banded footer
