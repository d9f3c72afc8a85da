#pragma once

// Line arithmetic shared by every document type: amount = price × quantity rounded to the
// amount decimals (x + 0.000000001, half away from zero), and the reverse when an amount is
// typed.

#include <QString>

double LineAmount(double price, double quantity, int amountDecimals);
// The price that gives `amount` for `quantity`; a zero quantity keeps `currentPrice`.
double PriceFromAmount(double amount, double quantity, int priceDecimals, double currentPrice);
// A quantity typed into a line: empty gives `emptyMeans`, other text its number (bad text 0).
double QuantityFromText(const QString &text, double emptyMeans);
