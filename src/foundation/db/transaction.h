#pragma once

#include <QSqlDatabase>
#include <QString>

// One unit of work on a connection. Rolls back unless commit() ran. Opened while another is
// open on the same connection it joins it as a savepoint: its rollback undoes only its own
// work, and only the outermost commit makes anything final. Not copyable. The depth is kept per
// connection name; connections of different threads may open transactions at the same time.
class Transaction
{
public:
    explicit Transaction(const QSqlDatabase &db);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    // Raises DbError when the commit fails (the work is then rolled back).
    void commit();
    void rollback();

    bool isNested() const { return m_depth > 1; }
    static bool isActive(const QSqlDatabase &db);

private:
    void exec(const QString &sql);

    QSqlDatabase m_db;
    int m_depth = 0;
    bool m_done = false;
};
