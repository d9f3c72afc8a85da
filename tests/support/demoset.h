#pragma once

// The account set of the settings tests: upgraded to the latest step (marker "2023-10-01"), the
// clock at 2024-03-08 10:20:30, admin logged in to "演示帐套".

#include "foundation/db/clock.h"
#include "foundation/loginstate.h"
#include "foundation/schema/schemabuilder.h"

#include <QSqlDatabase>

inline void LogInto(const QSqlDatabase &db, LoginState &state, const Clock &clock, const QString &setFile,
                    const QString &name = QStringLiteral("admin"), const QString &sn = QStringLiteral("100001"),
                    const QString &role = QStringLiteral("100001"))
{
    LoadSysParams(db, state, clock);
    state.CurrentOperatorName = name;
    state.CurrentOperatorSn = sn;
    state.CurrentRoleSn = role;
    state.CurrentAccountSetName = QStringLiteral("演示帐套");
    state.CurrentAccountSetDb = setFile;
}

inline void PrepareDemoSet(const QSqlDatabase &db, FixedClock &clock, LoginState &state, const QString &setFile)
{
    clock.set(QDateTime(QDate(2024, 3, 8), QTime(10, 20, 30)));
    UpgradeSchema(db, clock);
    LogInto(db, state, clock, setFile);
}
