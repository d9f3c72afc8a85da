#pragma once

// Posting of audited purchase receipts ("CJ", jxc_jhd/jxc_jhsp) and purchase returns ("CT",
// jxc_thd/jxc_thsp): cash, the supplier's payable account, invoices, freight and packing, the
// goods ledger, warehouse stock with the moving-average cost walk, goods totals and order
// progress. And the settlement of a difference between due and paid on a receipt.
//
// These are the bare postings: they expect a header the caller has just set audited (see
// RunAuditPurchaseIn in audit.h, which does the checks, the duplicate repair and the status in
// the same transaction). Each joins an open Transaction or opens its own; a database error
// raises DbError and nothing of the posting stays. A header whose handler, supplier or
// warehouse record is missing raises DbError before anything is written.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

void AuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number);

void AuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number);

// Settles paid ≠ due on receipt `number` by state.SettleDiffMode: "1" one line of the reserved
// goods "00000000" carries paid − due (header unchanged); "0" spreads due − paid over the lines
// with a quantity, and the header's due and paid become the lines' total. Other modes, or
// |paid − due| < 0.000001, change nothing.
void ApplyPurchaseAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, double paid, double due);
