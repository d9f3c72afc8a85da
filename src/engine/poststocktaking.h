#pragma once

// Stocktakings ("PD", jxc_kcpd/jxc_kcpdsp) as InventoryPosting describes them
// (inventoryposting.h); RunAuditStocktaking (audit.h) runs it.
//
// Under the locks, before the status: with the pre-audit check its message refuses; a goods on
// two lines of the number is refused; every line's book figures (kc_sl, kc_zsl) are renewed
// from the stock row as it is now (0 without one) where they differ, with the value of the
// difference recomputed and the header's kc_sl summed again, so that the ledger, the stock row
// and the goods total move alike and a cancel restores what the count replaced. Then one "pd"
// row per line whose count differs from its book quantity, in line order (gl_sl the
// difference, gl_zje the line's value); the stock row of each becomes the count (created at the
// line's price when missing), g_kc moves by the difference, the walk runs; the value of all
// differences is booked once as an expense (below 0) or an income (above 0).

#include "engine/inventoryposting.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

const InventoryKind &StocktakingInventoryKind();

// The value of a line's difference, (count − book) × price, rounded to TotalDecimals with
// RoundTotals, else as it is: the line dialog, the picker and the audit's renewal use it.
double StocktakingLineValue(const LoginState &state, double count, double book, double price);

// The pre-audit check of a pending stocktaking `number` dated `countDate` (its stored pd_rq)
// in `warehouse`: "" when no ledger row with a number, of that warehouse, dated after the count
// and of a counted goods exists; else the refusal naming the first such row's number. Writes
// nothing.
QString GetPdMsg(const QSqlDatabase &db, const QString &number, const QString &countDate, const QString &warehouse);
