#include "engine/pendingdocument.h"

#include "engine/postinglocks.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/sqlnames.h"

QString LockPendingDocument(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                            const QString &number)
{
    CheckColumnName(headerTable, statusColumn);
    PostingLockKeys keys;
    keys.headers.push_back({headerTable, number});
    LockForPosting lock(db, keys);
    const QString headers = QueryScalar(
        db,
        QStringLiteral("select count(*) || '|' || sum(case when coalesce(%1, 0) = 0 then 0 else 1 end) from %2 "
                       "where gl_djh = ?")
            .arg(statusColumn, headerTable),
        {number});
    if (headers.startsWith(QLatin1String("0|")) || !headers.endsWith(QLatin1String("|0")))
        return QStringLiteral("单据%1的状态已改变，请重新查询！").arg(number);
    return QString();
}
