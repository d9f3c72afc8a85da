#include "shell/logquery.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/sanitize.h"

LogQuery LogSearch(const QSqlDatabase &db, const QString &fromDate, const QString &toDate, const QString &typedKey)
{
    const Dialect dialect = Dialect::of(db);
    const QString pattern = Dialect::containsPattern(SafeText(typedKey.trimmed()));
    LogQuery q;
    q.body = QStringLiteral("select id, log_time, a_name, log_note from jxc_log where log_time >= ? and log_time <= ? "
                            "and (")
             + dialect.likeClause(QStringLiteral("coalesce(log_note, '')")) + QStringLiteral(" or ")
             + dialect.likeClause(QStringLiteral("coalesce(a_name, '')")) + QStringLiteral(")");
    q.binds = {fromDate, toDate + QStringLiteral(" 23:59:00"), pattern, pattern};
    q.order = QStringLiteral("id desc");
    return q;
}

void ClearLog(const QSqlDatabase &db)
{
    RunSql(db, QStringLiteral("delete from jxc_log"));
}
