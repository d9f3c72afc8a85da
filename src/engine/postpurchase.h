#pragma once

// Posting of audited purchase receipts ("CJ", jxc_jhd/jxc_jhsp) and purchase returns ("CT",
// jxc_thd/jxc_thsp) as descriptions over the posting kit (postingkit.h): cash, the supplier's
// payable account, invoices, freight and packing, the goods ledger, warehouse stock with the
// moving-average cost walk, goods totals and order progress. And the settlement of a difference
// between due and paid on a receipt.
//
// These are the bare postings: they expect a header the caller has just set audited (see
// RunAuditPurchaseIn in audit.h, which does the checks, the duplicate repair and the status in
// the same transaction). Each joins an open Transaction or opens its own; a database error
// raises DbError and nothing of the posting stays. A header whose handler, supplier or
// warehouse record is missing raises DbError before anything is written.

#include "engine/postingkit.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// The two kinds as the kit posts them; their cancels (unauditpurchase.cpp) take them too.
const DocumentKind &PurchaseInKind();
const DocumentKind &PurchaseReturnKind();

void AuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number);

void AuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number);

// Settles paid ≠ due on receipt `number` (settledifference.h): mode "1" puts paid − due on one
// line of the reserved goods, "0" spreads due − paid over the lines with a quantity.
void ApplyPurchaseAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, double paid, double due);
