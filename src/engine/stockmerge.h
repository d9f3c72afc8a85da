#pragma once

// Repair of a set whose stock table holds several rows for one goods and warehouse (written by
// an older version or edited by other tools), so that the unique index on jxc_kcsp
// (g_sn, ck_sn) can be made.

#include <QSqlDatabase>
#include <QStringList>

class Clock;
struct LoginState;

// Every goods and warehouse with several stock rows keeps the row of the lowest id, holding the
// sum of the quantities (kc_sl, kc_zsl, kc_xssl) and values of all; the others are deleted.
// The kept row's cost and value are then walked again from the goods ledger
// (RecalcStockCostFull from the first ledger row of that goods and warehouse, no write-back into
// documents). Each pair writes the log line "合并重复库存记录：<goods>/<warehouse>".
// One transaction: the posting locks of the goods first, on PostgreSQL under the upgrade's
// short lock timeout, so that a posting in progress is never held up. Returns the pairs merged
// as "<goods>/<warehouse>"; raises DbError (nothing merged).
QStringList MergeDuplicateStockRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock);
