#include "foundation/db/sqlroutines.h"

#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/rowreading.h"
#include "foundation/db/statementhooks.h"
#include "foundation/db/statementcache.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlRecord>

#include <atomic>

namespace {

// The test and bench hooks per connection name: a statement failure armed, an observer.
// Connections of several threads run statements at once, so the table is read and changed only
// under its guard; `hooked` counts the connections with any, so that the others pay no lock.
struct Hooks
{
    int failAt = 0;
    StatementObserver observer;
};

struct HookTable
{
    QMutex mutex;
    QHash<QString, Hooks> byConnection;
    std::atomic<int> hooked{0};

    // Changes the hooks of `connection` under the guard, keeping `hooked` true.
    template<typename Change>
    void change(const QString &connection, Change apply)
    {
        QMutexLocker lock(&mutex);
        const bool had = byConnection.contains(connection);
        Hooks &h = byConnection[connection];
        apply(h);
        if (h.failAt == 0 && !h.observer) {
            byConnection.remove(connection);
            if (had)
                --hooked;
        } else if (!had) {
            ++hooked;
        }
    }
};

HookTable &hooks()
{
    static HookTable table;
    return table;
}

void checkInjectedFailure(const QSqlDatabase &db)
{
    HookTable &t = hooks();
    if (t.hooked.load(std::memory_order_relaxed) == 0)
        return;
    bool fail = false;
    t.change(db.connectionName(), [&](Hooks &h) {
        if (h.failAt > 0 && --h.failAt == 0)
            fail = true;
    });
    if (fail)
        throw DbError(QStringLiteral("数据库操作失败：模拟的语句错误"));
}

QString errorText(const QSqlQuery &query, const QString &sql)
{
    const QSqlError err = query.lastError();
    QString text = err.databaseText().trimmed();
    if (text.isEmpty())
        text = err.text().trimmed();
    Q_UNUSED(sql)
    return QStringLiteral("数据库操作失败：%1").arg(text);
}

void execPrepared(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    for (int i = 0; i < binds.size(); ++i)
        query.bindValue(i, binds.at(i));
    if (!query.exec())
        throw DbError(errorText(query, sql));
}

// The failure hook and the observer, before a statement runs.
void beforeStatement(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库没有打开"));
    checkInjectedFailure(db);
    ObserveStatement(db, sql, binds);
}

// A statement with bound values through the connection's prepared query for its text, executed;
// `use` reads what it needs before the lease ends.
template<typename Use>
auto runCached(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, Use use,
               statementcache::Reading reading = {})
{
    beforeStatement(db, sql, binds);
    statementcache::Lease lease = statementcache::Take(db, sql, reading);
    QSqlQuery &query = lease.query();
    for (int i = 0; i < binds.size(); ++i)
        query.bindValue(i, binds.at(i));
    if (!query.exec()) {
        const QString text = errorText(query, sql);
        lease.failed(db);
        throw DbError(text);
    }
    return use(query);
}

// ALTER and DROP change what prepared statements were prepared against.
bool changesSchema(const QString &sql)
{
    const QString head = sql.trimmed().left(6).toLower();
    return head.startsWith(QLatin1String("alter ")) || head.startsWith(QLatin1String("drop "));
}

} // namespace

void SetQuerySql(QSqlQuery &query, const QString &sql)
{
    query.finish();
    if (!query.prepare(sql))
        throw DbError(errorText(query, sql));
}

void OpenQuery(QSqlQuery &query, const QString &sql, const QVariantList &binds)
{
    // The failure hook counts statements per connection; QSqlQuery does not expose its
    // connection, so callers that need the hook use the database-based routines.
    SetQuerySql(query, sql);
    execPrepared(query, sql, binds);
}

QSqlQuery OpenSelect(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    beforeStatement(db, sql, binds);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (binds.isEmpty()) {
        if (!query.exec(sql))
            throw DbError(errorText(query, sql));
        if (changesSchema(sql))
            ClearStatementCache(db);
        return query;
    }
    if (!query.prepare(sql))
        throw DbError(errorText(query, sql));
    execPrepared(query, sql, binds);
    return query;
}

void ForEachRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds,
                const std::function<void(const QSqlQuery &row)> &row)
{
    const auto readAll = [&](QSqlQuery &query) {
        while (query.next())
            row(query);
        return 0;
    };
    if (binds.isEmpty()) {
        QSqlQuery query = OpenSelect(db, sql);
        readAll(query);
        return;
    }
    runCached(db, sql, binds, readAll);
}

void ForEachRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, RowReading how,
                const std::function<void(const QSqlQuery &row)> &row)
{
    const bool postgres = Dialect::of(db).isPostgres();
    runCached(
        db, sql, binds,
        [&](QSqlQuery &query) {
            while (query.next())
                row(query);
            return 0;
        },
        statementcache::Reading{how.exactNumbers && postgres, how.wholeResult && postgres});
}

QString ValueText(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return QString();
    switch (value.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        return NumberText(value.toDouble());
    default:
        return value.toString();
    }
}

QString QueryScalar(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    const auto first = [](QSqlQuery &query) { return query.next() ? ValueText(query.value(0)) : QString(); };
    if (binds.isEmpty()) {
        QSqlQuery query = OpenSelect(db, sql);
        return first(query);
    }
    return runCached(db, sql, binds, first);
}

QString QueryScalarZt(const QSqlDatabase &registerDb, const QString &sql, const QVariantList &binds)
{
    return QueryScalar(registerDb, sql, binds);
}

int RunSql(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    if (binds.isEmpty())
        return OpenSelect(db, sql).numRowsAffected();
    return runCached(db, sql, binds, [](QSqlQuery &query) { return query.numRowsAffected(); });
}

qint64 InsertReturningId(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    if (Dialect::of(db).isPostgres())
        return runCached(db, sql + QStringLiteral(" RETURNING id"), binds, [](QSqlQuery &query) {
            return query.next() ? query.value(0).toLongLong() : qint64(-1);
        });
    return runCached(db, sql, binds, [](QSqlQuery &query) { return query.lastInsertId().toLongLong(); });
}

bool TableExists(const QSqlDatabase &db, const QString &table)
{
    const QString name = table.toLower();
    if (Dialect::of(db).isPostgres()) {
        return !QueryScalar(db,
                            QStringLiteral("select 1 from information_schema.tables where "
                                           "table_schema = current_schema() and table_name = ?"),
                            {name})
                    .isEmpty();
    }
    return !QueryScalar(db,
                        QStringLiteral("select 1 from sqlite_master where type = 'table' and "
                                       "lower(name) = ?"),
                        {name})
                .isEmpty();
}

QStringList TableColumns(const QSqlDatabase &db, const QString &table)
{
    QStringList names;
    const QString name = table.toLower();
    if (Dialect::of(db).isPostgres()) {
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select column_name from information_schema.columns "
                                                "where table_schema = current_schema() and "
                                                "table_name = ? order by ordinal_position"),
                                 {name});
        while (q.next())
            names << q.value(0).toString();
        return names;
    }
    // pragma_table_info takes the table name as a bound argument.
    QSqlQuery q = OpenSelect(db, QStringLiteral("select name from pragma_table_info(?)"), {name});
    while (q.next())
        names << q.value(0).toString();
    return names;
}

bool ColumnExists(const QSqlDatabase &db, const QString &table, const QString &column)
{
    return TableColumns(db, table).contains(column.toLower(), Qt::CaseInsensitive);
}

QStringList TableNames(const QSqlDatabase &db)
{
    QStringList names;
    QSqlQuery q = Dialect::of(db).isPostgres()
        ? OpenSelect(db, QStringLiteral("select table_name from information_schema.tables where "
                                        "table_schema = current_schema() order by table_name"))
        : OpenSelect(db, QStringLiteral("select name from sqlite_master where type = 'table' and "
                                        "name not like 'sqlite_%' order by name"));
    while (q.next())
        names << q.value(0).toString();
    return names;
}

QHash<QString, QStringList> ExistingTableColumns(const QSqlDatabase &db, const QStringList &tables)
{
    QHash<QString, QStringList> found;
    if (tables.isEmpty())
        return found;
    if (Dialect::of(db).isPostgres()) {
        QStringList marks;
        QVariantList names;
        for (const QString &t : tables) {
            marks << QStringLiteral("?");
            names << t.toLower();
        }
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select table_name, column_name from information_schema.columns "
                                                "where table_schema = current_schema() and table_name in (%1) "
                                                "order by table_name, ordinal_position")
                                     .arg(marks.join(QStringLiteral(", "))),
                                 names);
        while (q.next())
            found[q.value(0).toString()] << q.value(1).toString().toLower();
        return found;
    }
    for (const QString &t : tables) {
        QStringList columns;
        for (const QString &c : TableColumns(db, t))
            columns << c.toLower();
        if (!columns.isEmpty())
            found.insert(t.toLower(), columns);
    }
    return found;
}

QStringList IndexNames(const QSqlDatabase &db)
{
    QStringList names;
    QSqlQuery q = Dialect::of(db).isPostgres()
        ? OpenSelect(db, QStringLiteral("select indexname from pg_indexes where schemaname = current_schema()"))
        : OpenSelect(db, QStringLiteral("select name from sqlite_master where type = 'index'"));
    while (q.next())
        names << q.value(0).toString().toLower();
    return names;
}

bool IndexExists(const QSqlDatabase &db, const QString &index)
{
    return IndexNames(db).contains(index.toLower());
}

void DropTableIfExists(const QSqlDatabase &db, const QString &table)
{
    // Table names come from the catalogue, never from user text.
    try {
        if (TableExists(db, table))
            RunSql(db, QStringLiteral("drop table %1").arg(table));
    } catch (const DbError &) {
    }
}

void CheckInjectedFailure(const QSqlDatabase &db)
{
    checkInjectedFailure(db);
}

void InjectStatementFailure(const QSqlDatabase &db, int nthStatement)
{
    hooks().change(db.connectionName(), [&](Hooks &h) { h.failAt = nthStatement > 0 ? nthStatement : 0; });
}

void ClearStatementCache(const QSqlDatabase &db)
{
    statementcache::Clear(db.connectionName());
}

int CachedStatementCount(const QSqlDatabase &db)
{
    return statementcache::Count(db);
}

void SetStatementObserver(const QSqlDatabase &db, StatementObserver observer)
{
    hooks().change(db.connectionName(), [&](Hooks &h) { h.observer = std::move(observer); });
}

void ObserveStatement(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    HookTable &t = hooks();
    if (t.hooked.load(std::memory_order_relaxed) == 0)
        return;
    StatementObserver observer;
    {
        QMutexLocker lock(&t.mutex);
        observer = t.byConnection.value(db.connectionName()).observer;
    }
    if (observer)
        observer(sql, binds);
}
