#pragma once

// What the purchase line arithmetic adds to the foundation's (linemath.h): its decimals, the
// received quantity jh_rksl of receipt and order lines, and the one grid-edit rule of the
// receipt and order entry grids, the pending documents' lines and the pickers' baskets.

#include "foundation/linemath.h"
#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class Notices;
struct LoginState;

// Prices round to PriceDecimals; amounts of a grid edit to TotalDecimals with RoundTotals, else
// PriceDecimals.
LineDecimals PurchaseCellDecimals(const LoginState &state);
// The rounding of amounts that a dialog, a scan or a direct add writes: TotalDecimals with
// RoundTotals, else none.
std::optional<int> PurchaseAmountRounding(const LoginState &state);

// The stock-in quantity of a line of `quantity`: the receipt's is 0 with SeparateStockIn,
// the order's always the quantity; the return has none (nullopt).
std::optional<double> StockInQuantity(const LoginState &state, PurchaseKind kind, double quantity);

// The editable cell a grid column names: jh_dj/th_dj/ts_dj (单价, 进价), …_sl, …_tax, …_taxdj,
// …_dzl; nullopt for any other column.
std::optional<LineCell> PurchaseCellOf(const QString &field);

// Where the edited line lives.
enum class CellPlace {
    Draft,    // the operator's draft line on the entry page
    Pending,  // a line of the pending document `number` (any operator's); the header is re-summed
    Basket,   // the operator's basket row (ts_ columns; no received quantity)
};

// The typed cell applied to the stored line `id` (linemath.h, EditLineCell; the quantity's
// factor is the line's own unit's), with the received quantity following the quantity on
// receipt and order lines. One transaction; a database error shows "修改商品失败：" and the
// database's text and writes nothing. False when nothing was written.
bool EditPurchaseCell(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind,
                      CellPlace place, const QString &number, qint64 id, LineCell cell, const QString &typed);
