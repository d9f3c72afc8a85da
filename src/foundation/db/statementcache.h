#pragma once

// The prepared statements a connection keeps for its life, keyed by statement text, so that a
// statement run again is only executed: on PostgreSQL one EXECUTE instead of PREPARE, EXECUTE and
// DEALLOCATE; on SQLite no new parse. Used by the routines of sqlroutines.h for statements with
// bound values whose rows they read at once; each connection (by name) keeps its own.
//
// The cache of a connection empties when the connection closes or is replaced by another of the
// same name (an account-set switch), when a statement changes the schema (ALTER, DROP) through
// the routines, and on ClearStatementCache. A statement that fails stays prepared and usable;
// one whose plan the server no longer accepts (the table changed under it) is dropped.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

#include <memory>

namespace statementcache {

struct Entry;

// A prepared query for one use: the connection's cached one or, while that one is in use (a
// statement run again while its rows are being read), a fresh one. Its rows are released when
// the lease ends.
class Lease
{
public:
    Lease(std::shared_ptr<Entry> entry, std::unique_ptr<QSqlQuery> own);
    Lease(Lease &&) noexcept;
    Lease &operator=(Lease &&) = delete;
    Lease(const Lease &) = delete;
    ~Lease();

    QSqlQuery &query();
    // Called after a failed execution: a statement whose plan the server refuses to reuse
    // leaves the cache; any other stays.
    void failed(const QSqlDatabase &db);

private:
    std::shared_ptr<Entry> m_entry;
    std::unique_ptr<QSqlQuery> m_own;
};

// How a statement's rows are read. exactNumbers: decimal columns as the text the server sent
// (PostgreSQL numeric), so that a value read can be bound again unchanged. wholeResult: on
// PostgreSQL the rows in one result instead of one message each (Qt's forward-only reading),
// for results known to be small. Each way of reading a text is kept apart.
struct Reading
{
    bool exactNumbers = false;
    bool wholeResult = false;
};

// Raises DbError (with the database's text) when `sql` cannot be prepared; nothing is cached then.
Lease Take(const QSqlDatabase &db, const QString &sql, Reading reading = {});

void Clear(const QString &connectionName);
int Count(const QSqlDatabase &db);

} // namespace statementcache
