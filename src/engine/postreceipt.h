#pragma once

// Posting of audited receipt ("SK") and payment ("FK") registrations of jxc_ysyfk_dj: the copy
// into the partner account jxc_ysyfk, an optional write-off (k_mlje) under a new "YS"/"YF"
// number with its goods-ledger row of the reserved goods "00000000" in the default warehouse,
// the partner's running balances, the registration's audit mark, the cash row and the log.
//
// Bare postings (RunAuditReceipt and RunAuditPayment in audit.h refuse an audited registration
// and a missing handler or partner first). Each joins an open Transaction or opens its own; a
// database error raises DbError and nothing of the posting stays. A registration whose handler
// or partner record is missing raises DbError before anything is written.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

void AuditReceipt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                  const QString &number);

void AuditPayment(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                  const QString &number);
