#pragma once

// Posting of audited sales ("XS", jxc_lsxsd/jxc_lsxssp) and sales returns ("XT",
// jxc_xsthd/jxc_xsthsp): cash, the customer's receivable, invoices, freight and packing paid by
// us, profit, the goods ledger, warehouse stock with the moving-average cost walk, goods
// counters and sales-order progress. And the settlement of a difference between due and
// received on a sale.
//
// Bare postings for a header the caller has just set audited (RunAuditSale and
// RunAuditSalesReturn in audit.h do the checks, the duplicate repair and the status in the same
// transaction). Each joins an open Transaction or opens its own; a database error raises
// DbError and nothing of the posting stays. A header whose handler, customer or warehouse
// record is missing raises DbError before anything is written.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

void AuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
               const QString &number);

void AuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number);

// Settles received ≠ due on sale `number` by state.SettleDiffMode: "1" one line of the reserved
// goods "00000000" carries received − due (header unchanged); "0" spreads due − received over
// the ordinary lines (gift tag exactly '' and a quantity), and the header's due and received
// become the lines' total. Other modes, or |received − due| < 0.000001, change nothing.
void ApplySalesAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number, double received, double due);
