#pragma once

// Running balances of the partner ledger jxc_ysyfk (k_ljje, per k_type and k_ghskh), the invoice
// ledger jxc_fpdjb (fp_ljje, per fp_type and fp_ghskh, rows with fp_check <> 0) and the cash
// ledger jxc_xjyh (xj_ljje, per xj_kmmc, rows with xj_chk '1'). Rows are ordered by their date
// text, then id. Results are number texts ("0" when there is no row or no value); balances are
// written as numbers. The recalculations read the rows from the from-date on in one ordered
// query and write them back in one batch; they join an open Transaction or open their own.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// k_ljje of the newest row with k_rq <= date (and id < beforeId unless beforeId is "0" or empty).
QString GetPartnerBalanceAt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &partner, const QString &type, const QString &beforeId,
                            const QString &date);

// k_ljje of the account's newest row, rounded to state.TotalDecimals.
QString GetPartnerBalance(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                          const QString &partner, const QString &type);

// Rewrites k_ljje of every row with k_rq >= fromDate from the balance before it (k_qcje + k_yfje
// − k_sfje; k_yhje never counts), then kh_lwje (type "kh") or ghs_lwje (type "ghs").
void RecalcPartnerBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &partner, const QString &type, const QString &fromDate);

// fp_ljje of the newest counted invoice row at or before date (id < beforeId as above).
QString GetInvoiceBalanceAt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &partner, const QString &type, const QString &beforeId,
                            const QString &date);

// Rewrites fp_ljje of the counted rows from fromDate on (fp_qcje + fp_yfje − fp_kpje).
void RecalcInvoiceBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &partner, const QString &type, const QString &fromDate);

// xj_ljje of the account's newest counted row.
QString GetCashBalance(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                       const QString &account);

// Rewrites xj_ljje of the account's counted rows from fromDate on (xj_je).
void RecalcCashBalances(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                        const QString &account, const QString &fromDate);
