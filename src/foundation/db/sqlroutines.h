#pragma once

// The routines through which every statement of the system runs. User text reaches SQL only as
// bound values (positional "?" placeholders). Failures raise DbError with the database's message.
//
// Statements with bound values run by RunSql, QueryScalar, InsertReturningId and ForEachRow are
// prepared once per connection and kept (statementcache.h): run again they are only executed.
// OpenSelect, whose rows the caller reads when it likes, has a query of its own each call.

#include "foundation/db/dberror.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <functional>

// Prepares `sql` on `query` (replacing any previous statement) without running it.
void SetQuerySql(QSqlQuery &query, const QString &sql);

// Prepares, binds and runs `sql` on `query`; afterwards the query is positioned before the
// first row.
void OpenQuery(QSqlQuery &query, const QString &sql, const QVariantList &binds = {});

// Runs a select and returns the query for the caller to read (forward only).
QSqlQuery OpenSelect(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// Runs a select and hands every row to `row` in order (the query positioned on it), reading them
// all before it returns. `row` runs no statement of its own.
void ForEachRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds,
                const std::function<void(const QSqlQuery &row)> &row);

// First field of the first row as text; the empty text when there is no row or it is NULL.
// Numbers come back in the canonical number text, so both kinds of database give "24".
QString QueryScalar(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// The same on the account-set register connection.
QString QueryScalarZt(const QSqlDatabase &registerDb, const QString &sql,
                      const QVariantList &binds = {});

// Runs a statement without a result set; returns the number of rows it changed.
int RunSql(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// Runs an insert and returns the new row's id.
qint64 InsertReturningId(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// Drops the table when it exists; never raises.
void DropTableIfExists(const QSqlDatabase &db, const QString &table);

// Catalogue look-ups.
bool TableExists(const QSqlDatabase &db, const QString &table);
bool ColumnExists(const QSqlDatabase &db, const QString &table, const QString &column);
QStringList TableColumns(const QSqlDatabase &db, const QString &table);
QStringList TableNames(const QSqlDatabase &db);
// The columns (lower case) of each of `tables` that exists, read from the catalogue at once;
// a missing table has no entry.
QHash<QString, QStringList> ExistingTableColumns(const QSqlDatabase &db, const QStringList &tables);
// Names of the indexes of the set's tables (lower case), from the catalogue of the database.
QStringList IndexNames(const QSqlDatabase &db);
bool IndexExists(const QSqlDatabase &db, const QString &index);

// A value read from a row as text: numbers in the canonical number text, NULL as empty.
QString ValueText(const QVariant &value);

// Empties the connection's cache of prepared statements (see above); the next run of each
// statement prepares it again. For changes the routines cannot see (a schema changed by other
// means); closing or replacing the connection and ALTER or DROP through RunSql empty it anyway.
void ClearStatementCache(const QSqlDatabase &db);
// How many prepared statements the connection keeps (tests).
int CachedStatementCount(const QSqlDatabase &db);

// Bench hook: `observer` sees every statement run on the connection through these routines, the
// transactions' statements and the rows the engine's batch fills insert, before it runs (text
// and bound values). An empty observer removes it. Code that runs statements on the
// connection's own handle reports them with ObserveStatement.
using StatementObserver = std::function<void(const QString &sql, const QVariantList &binds)>;
void SetStatementObserver(const QSqlDatabase &db, StatementObserver observer);
void ObserveStatement(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// Test hook: the n-th statement (1 = the next one) run on this connection through these
// routines fails with DbError. 0 disarms it. Safe while connections of other threads run
// statements.
void InjectStatementFailure(const QSqlDatabase &db, int nthStatement);
