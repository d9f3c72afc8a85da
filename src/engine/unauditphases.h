#pragma once

// The two phases of each cancel-audit routine (see unaudit.h). Phase 1 (check) reads and asks;
// phase 2 (cancel) writes and runs inside the transaction UnauditApply opens.

#include "engine/cancelkit.h"
#include "engine/unaudit.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

namespace unauditphases {

// Both phases of a kind with a partner, as descriptions over the cancel kit.
struct CancelPhases
{
    CancelCheck check;
    CancelKind cancel;
};

// Purchase receipts and returns (unauditpurchase.cpp); nullptr for another kind.
const CancelPhases *PurchaseCancelPhases(UnauditKind kind);
// Sales, sales returns and exchanges (unauditsales.cpp); nullptr for another kind.
const CancelPhases *SalesCancelPhases(UnauditKind kind);

// Inventory and production: one pair for all, the kind picks the table row of differences.
UnauditOutcome CheckInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                              const Clock &clock, Notices &notices, const QString &number,
                              const UnauditOptions &options);
void ApplyInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                    const Clock &clock, const QString &number, const UnauditOptions &options);

} // namespace unauditphases
