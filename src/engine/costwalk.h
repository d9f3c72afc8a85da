#pragma once

// Moving-average stock cost per goods and warehouse. Every row of the goods ledger
// jxc_goodslist carries the running quantity, average cost price and stock amount of its goods
// in its warehouse (gl_sqsl/gl_sqje before the row, gl_kc/gl_pjjj/gl_kczje after it); these
// walks recompute them forward from a date to the end of the ledger and copy the final price
// and amount into kc_cbj/kc_zcb of the stock row jxc_kcsp. They change no quantity of jxc_kcsp
// and nothing of jxc_goods.
//
// Each walk reads the later rows in ordered chunks (CostWalkChunkRows at a time, after the last
// row of the chunk before) and writes each chunk back before reading the next, so its memory
// stays bounded however long the history; rows whose stored values already equal the new ones
// are not written again. It joins an open Transaction or opens its own; a database error raises
// DbError and the walk's writes are rolled back with the transaction.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <vector>

class Clock;

// Rows a walk reads and writes at a time (10,000 unless set; tests set it smaller).
int CostWalkChunkRows();
void SetCostWalkChunkRows(int rows);
struct LoginState;

// Recomputes from ledger row `ledgerId` (its goods, warehouse and date): every row of that date
// or later is walked again. Exclusion "1" leaves out the rows of that row's document (gl_djh;
// an empty number excludes nothing). An unknown id changes nothing.
void RecalcStockCost(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &ledgerId, const QString &exclusion);

// RecalcStockCost for each of `ledgerIds` in turn, with the same results, but the walks of
// different goods and warehouses read and written together in a few statements. Nothing may
// change between the walks of one call: for postings that walk each goods of a document once.
void RecalcStockCostRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QStringList &ledgerIds, const QString &exclusion);

// A row to walk from as its caller has just read it: id, g_sn, ck_sn, gl_kdrq, gl_djh.
struct WalkStartRow
{
    QString ledgerId, goods, warehouse, date, number;
};
// RecalcStockCostRows for rows the caller has read already (the ledger is not asked again).
void RecalcStockCostRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const std::vector<WalkStartRow> &rows, const QString &exclusion);

// The same walk for one goods and warehouse from a date on (all rows of that date or later),
// without exclusion: what RecalcStockCost(id, "0") does for a row of that goods, warehouse and
// date. For postings that walk once per goods and warehouse of a document.
void RecalcStockCostFrom(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &goods, const QString &warehouse, const QString &fromDate);

// The heavier walk of the difference check: also revalues outgoing rows at the average before
// them (gl_cbj/gl_zcb/gl_lr of sales and sales returns, price and amount of issues, losses,
// overflows, stocktaking …). Write-back "1" also writes those costs into the document lines
// and the profit of sales and sales-return headers.
void RecalcStockCostFull(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &ledgerId, const QString &writeBack);
