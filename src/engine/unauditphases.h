#pragma once

// The two phases of each cancel-audit routine (see unaudit.h). Phase 1 (Check…) reads and asks;
// phase 2 (Apply…) writes and runs inside the transaction UnauditApply opens.

#include "engine/unaudit.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

namespace unauditphases {

#define JXC_UNAUDIT_PHASES(name)                                                                   \
    UnauditOutcome Check##name(const QSqlDatabase &db, const LoginState &state, const Clock &clock, \
                               Notices &notices, const QString &number,                           \
                               const UnauditOptions &options);                                    \
    void Apply##name(const QSqlDatabase &db, const LoginState &state, const Clock &clock,          \
                     const QString &number, const UnauditOptions &options);

JXC_UNAUDIT_PHASES(PurchaseIn)
JXC_UNAUDIT_PHASES(PurchaseReturn)
JXC_UNAUDIT_PHASES(Sale)
JXC_UNAUDIT_PHASES(SalesReturn)
JXC_UNAUDIT_PHASES(Exchange)
// Inventory and production: one pair for all, the kind picks the table row of differences.
UnauditOutcome CheckInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                              const Clock &clock, Notices &notices, const QString &number,
                              const UnauditOptions &options);
void ApplyInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                    const Clock &clock, const QString &number, const UnauditOptions &options);

#undef JXC_UNAUDIT_PHASES

} // namespace unauditphases
