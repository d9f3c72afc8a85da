#include "foundation/db/statistics.h"

#include "foundation/db/dialect.h"
#include "foundation/db/transaction.h"

#include <QSqlQuery>

namespace {

// Rows SQLite reads per index for its statistics: enough for the planner, bounded in time.
constexpr int kSqliteAnalysisLimit = 1000;

bool usable(const QSqlDatabase &db)
{
    return db.isValid() && db.isOpen() && !Transaction::isActive(db);
}

void run(const QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    q.exec(sql);  // best effort: statistics only steer plans, never results
}

} // namespace

void KeepStatistics(const QSqlDatabase &db, const QStringList &tables)
{
    if (!usable(db))
        return;
    const bool sqlite = Dialect::of(db).isSqlite();
    if (sqlite)
        run(db, QStringLiteral("PRAGMA analysis_limit = %1").arg(kSqliteAnalysisLimit));
    if (tables.isEmpty()) {
        run(db, QStringLiteral("ANALYZE"));
        return;
    }
    if (sqlite) {
        for (const QString &table : tables)
            run(db, QStringLiteral("ANALYZE %1").arg(table));
    } else {
        run(db, QStringLiteral("ANALYZE %1").arg(tables.join(QStringLiteral(", "))));
    }
}

void OptimizeBeforeClose(const QSqlDatabase &db)
{
    if (!usable(db) || !Dialect::of(db).isSqlite())
        return;
    run(db, QStringLiteral("PRAGMA analysis_limit = %1").arg(kSqliteAnalysisLimit));
    run(db, QStringLiteral("PRAGMA optimize"));
}
