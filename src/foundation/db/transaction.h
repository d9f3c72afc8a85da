#pragma once

#include <QSqlDatabase>
#include <QString>

// One unit of work on a connection. Rolls back unless commit() ran. Not copyable. Opened while
// another is open on the same connection it nests:
//  - Savepoint (the default): it becomes a savepoint; its rollback undoes only its own work and
//    the outer one goes on. For work whose failure a caller catches and survives.
//  - Join: it joins the open one without a statement of its own; its commit does nothing, and
//    its rollback marks the innermost open savepoint (or the transaction) failed, so that it can
//    only roll back (its commit raises DbError). For the steps inside a posting, whose failure
//    ends the whole unit anyway.
// Only the outermost commit makes anything final. The depth is kept per connection name;
// connections of different threads may open transactions at the same time.
class Transaction
{
public:
    enum class Nesting { Savepoint, Join };

    explicit Transaction(const QSqlDatabase &db, Nesting nesting = Nesting::Savepoint);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Raises DbError when the commit fails (the work is then rolled back).
    void commit();
    void rollback();

    bool isNested() const { return m_depth > 1 || m_joined; }
    static bool isActive(const QSqlDatabase &db);

private:
    void exec(const QString &sql);

    QSqlDatabase m_db;
    int m_depth = 0;       // the savepoint level this one opened, or joined
    bool m_joined = false;
    bool m_done = false;
};
