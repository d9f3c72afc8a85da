#include "foundation/db/sqlroutines.h"

#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlRecord>

namespace {

// Statement failures armed per connection name. Connections of several threads run
// statements at once, so the table is read and changed only under its guard.
QMutex &failuresGuard()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, int> &pendingFailures()
{
    static QHash<QString, int> failures;
    return failures;
}

void checkInjectedFailure(const QSqlDatabase &db)
{
    bool fail = false;
    {
        QMutexLocker lock(&failuresGuard());
        auto &failures = pendingFailures();
        if (failures.isEmpty())
            return;
        auto it = failures.find(db.connectionName());
        if (it == failures.end())
            return;
        if (--it.value() == 0) {
            failures.erase(it);
            fail = true;
        }
    }
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
    if (!db.isOpen())
        throw DbError(QStringLiteral("数据库没有打开"));
    checkInjectedFailure(db);
    QSqlQuery query(db);
    query.setForwardOnly(true);
    if (binds.isEmpty()) {
        if (!query.exec(sql))
            throw DbError(errorText(query, sql));
        return query;
    }
    if (!query.prepare(sql))
        throw DbError(errorText(query, sql));
    execPrepared(query, sql, binds);
    return query;
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
    QSqlQuery query = OpenSelect(db, sql, binds);
    if (!query.next())
        return QString();
    return ValueText(query.value(0));
}

QString QueryScalarZt(const QSqlDatabase &registerDb, const QString &sql, const QVariantList &binds)
{
    return QueryScalar(registerDb, sql, binds);
}

int RunSql(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery query = OpenSelect(db, sql, binds);
    return query.numRowsAffected();
}

qint64 InsertReturningId(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    if (Dialect::of(db).isPostgres()) {
        QSqlQuery query = OpenSelect(db, sql + QStringLiteral(" RETURNING id"), binds);
        return query.next() ? query.value(0).toLongLong() : -1;
    }
    QSqlQuery query = OpenSelect(db, sql, binds);
    return query.lastInsertId().toLongLong();
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

void InjectStatementFailure(const QSqlDatabase &db, int nthStatement)
{
    QMutexLocker lock(&failuresGuard());
    if (nthStatement <= 0)
        pendingFailures().remove(db.connectionName());
    else
        pendingFailures().insert(db.connectionName(), nthStatement);
}
