#pragma once

// Line arithmetic shared by every document type. Plain lines: amount = price × quantity rounded
// to the amount decimals (x + 0.000000001, half away from zero), and the reverse when an amount
// is typed. Priced lines with tax and discount (purchase, return, sale, basket): the two prices
// related through the rate, the amounts of a dialog, the recomputation of a line whose cell was
// edited in a grid, and one more piece scanned onto a line. The caller names the columns
// (LineColumns) and the decimals; nothing here knows a table.

#include <QString>

#include <optional>

double LineAmount(double price, double quantity, int amountDecimals);
// The price that gives `amount` for `quantity`; a zero quantity keeps `currentPrice`.
double PriceFromAmount(double amount, double quantity, int priceDecimals, double currentPrice);
// A quantity typed into a line: empty gives `emptyMeans`, other text its number (bad text 0).
double QuantityFromText(const QString &text, double emptyMeans);

// The figures of one priced line.
struct LineFigures
{
    double price = 0.0;         // excluding tax
    double quantity = 0.0;      // in the line's unit
    double tax = 0.0;           // rate in percent
    double taxPrice = 0.0;      // including tax
    double discount = 1.0;      // 1 no discount, 0.8 = 20 % off
    double amount = 0.0;        // excluding tax
    double taxAmount = 0.0;
    double total = 0.0;         // including tax
    double baseQuantity = 0.0;  // quantity × the unit's factor
};

// Prices round to `price` decimals; amounts of a cell edit to `amount` decimals (TotalDecimals
// with RoundTotals, else PriceDecimals).
struct LineDecimals
{
    int price = 2;
    int amount = 2;
};

// price × (1 + rate ÷ 100), unrounded.
double TaxInclusivePrice(double price, double taxRate);
// taxPrice ÷ (1 + rate ÷ 100), or the tax-inclusive price itself when the rate is 0 or less.
double PriceExcludingTax(double taxPrice, double taxRate);

// A value typed into a price, tax-inclusive price or rate cell: empty, bad or negative counts 0.
double NonNegativeFromText(const QString &text);
// A value typed into a quantity or discount cell: empty, bad, zero or negative counts 1.
double PositiveFromText(const QString &text);

enum class LineCell { Price, Quantity, Tax, TaxPrice, Discount };

// The editable cell a line column names by what follows its prefix (jh_dj, th_dj, ls_dj, ts_dj:
// price; …_sl, …_tax, …_taxdj, …_dzl); nothing for any other column.
std::optional<LineCell> LineCellOfColumn(const QString &field);

// The line after a typed cell (the grid edit of a draft, pending or basket line):
//   price X: price = round(X, PD), taxPrice = round(price × (1 + tax ÷ 100), PD), amounts;
//   tax-inclusive price X: taxPrice = round(X, PD), price = round(taxPrice ÷ (1 + tax ÷ 100), PD),
//     amounts;
//   rate X: tax = X, taxPrice = round(price × (1 + X ÷ 100), PD), total and tax amount (the
//     amount stays);
//   quantity X: quantity = X, baseQuantity = X × unitFactor, amounts;
//   discount X: discount = X, amounts;
// amounts: amount = round(price × quantity × discount, n), total = round(taxPrice × quantity ×
// discount, n), taxAmount = round((taxPrice − price) × quantity × discount, n).
LineFigures EditLineCell(const LineFigures &line, LineCell cell, const QString &typed, double unitFactor,
                         const LineDecimals &decimals);

// The amounts a line dialog writes: amount = quantity × price × discount, taxAmount = quantity
// × (taxPrice − price) × discount, rounded to `decimals` when given, else unrounded (the total
// is the dialog's own, or ReturnLineTotal).
void SetDialogAmounts(LineFigures &line, std::optional<int> decimals);
// quantity × taxPrice × discount, rounded to `decimals` when given.
double ReturnLineTotal(const LineFigures &line, std::optional<int> decimals);

// One more piece scanned onto a line: quantity + 1, baseQuantity + factor, and with q the new
// quantity: amount = price × discount × q, total = price × discount × (1 + tax ÷ 100) × q,
// taxAmount = (taxPrice − price) × discount × q, rounded to `decimals` when given.
LineFigures AddOnePiece(const LineFigures &line, double unitFactor, std::optional<int> decimals);
