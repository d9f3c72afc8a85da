#pragma once

// The customer side of postpurchase.h: audited sales ("XS", jxc_lsxsd/jxc_lsxssp) and sales
// returns ("XT", jxc_xsthd/jxc_xsthsp) posted through the posting kit, with the sale's profit
// on its header, freight and packing paid by us, the goods' sold counters and sales-order
// progress; RunAuditSale and RunAuditSalesReturn (audit.h) check, repair and set the status
// first. A header whose handler, customer or warehouse record is missing raises DbError before
// anything is written.

#include "engine/postingkit.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

const DocumentKind &SaleKind();
const DocumentKind &SalesReturnKind();

void AuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number);
void AuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number);

// Settles received ≠ due on sale `number` like ApplyPurchaseAdjust; only lines whose gift tag is
// exactly '' take a share of the spreading.
void ApplySalesAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number, double received, double due);
