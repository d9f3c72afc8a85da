#include "engine/pendingdocument.h"

#include "engine/postinglocks.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/sqlnames.h"

namespace {

// The number's header rows locked; then "<headers>|<headers not pending>".
QString LockedHeaderStates(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                           const QString &number)
{
    CheckColumnName(headerTable, statusColumn);
    PostingLockKeys keys;
    keys.headers.push_back({headerTable, number});
    LockForPosting lock(db, keys);
    return QueryScalar(
        db,
        QStringLiteral("select count(*) || '|' || sum(case when coalesce(%1, 0) = 0 then 0 else 1 end) from %2 "
                       "where gl_djh = ?")
            .arg(statusColumn, headerTable),
        {number});
}

QString StateChanged(const QString &number)
{
    return QStringLiteral("单据%1的状态已改变，请重新查询！").arg(number);
}

} // namespace

QString LockPendingDocument(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                            const QString &number)
{
    const QString headers = LockedHeaderStates(db, headerTable, statusColumn, number);
    if (headers.startsWith(QLatin1String("0|")) || !headers.endsWith(QLatin1String("|0")))
        return StateChanged(number);
    return QString();
}

QString LockAuditedDocument(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                            const QString &number)
{
    const QString headers = LockedHeaderStates(db, headerTable, statusColumn, number);
    // No header at all reads "" (the sum of no rows is null).
    if (headers.isEmpty() || headers.startsWith(QLatin1String("0|")) || headers.endsWith(QLatin1String("|0")))
        return StateChanged(number);
    return QString();
}
