#include "foundation/db/transaction.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>

namespace {

// Open depth per connection name. A connection belongs to one thread, but connections of
// several threads (workstations in tests, background work) share this table, so every access
// goes through the guard and no reference into the table is kept outside it.
QMutex &depthsGuard()
{
    static QMutex mutex;
    return mutex;
}

// Per connection: the open depth, and the lowest level a joined transaction failed in (0:
// none).
struct Levels
{
    int depth = 0;
    int failedAt = 0;
};

QHash<QString, Levels> &depths()
{
    static QHash<QString, Levels> map;
    return map;
}

int depthOf(const QString &connection)
{
    QMutexLocker lock(&depthsGuard());
    return depths().value(connection).depth;
}

void setDepth(const QString &connection, int depth)
{
    QMutexLocker lock(&depthsGuard());
    if (depth > 0) {
        Levels &l = depths()[connection];
        l.depth = depth;
        if (l.failedAt > depth)
            l.failedAt = 0;
    } else {
        depths().remove(connection);
    }
}

// A joined transaction at `depth` rolled back: that level may only roll back now.
void markFailed(const QString &connection, int depth)
{
    QMutexLocker lock(&depthsGuard());
    auto it = depths().find(connection);
    if (it != depths().end() && (it->failedAt == 0 || depth < it->failedAt))
        it->failedAt = depth;
}

bool hasFailed(const QString &connection, int depth)
{
    QMutexLocker lock(&depthsGuard());
    const Levels l = depths().value(connection);
    return l.failedAt != 0 && l.failedAt <= depth;
}

QString savepointName(int depth)
{
    return QStringLiteral("jxc_sp%1").arg(depth);
}

} // namespace

Transaction::Transaction(const QSqlDatabase &db, Nesting nesting)
    : m_db(db)
{
    const int depth = depthOf(m_db.connectionName());
    if (depth > 0 && nesting == Nesting::Join) {
        m_depth = depth;
        m_joined = true;
        return;
    }
    if (depth == 0)
        exec(Dialect::of(m_db).beginStatement());
    else
        exec(QStringLiteral("SAVEPOINT ") + savepointName(depth + 1));
    m_depth = depth + 1;
    setDepth(m_db.connectionName(), m_depth);
}

Transaction::~Transaction()
{
    if (!m_done) {
        try {
            rollback();
        } catch (...) {
        }
    }
}

void Transaction::exec(const QString &sql)
{
    ObserveStatement(m_db, sql);
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        throw DbError(QStringLiteral("数据库事务失败：%1").arg(q.lastError().text()));
}

void Transaction::commit()
{
    if (m_done)
        return;
    if (m_joined) {
        m_done = true;
        return;
    }
    if (hasFailed(m_db.connectionName(), m_depth)) {
        rollback();
        throw DbError(QStringLiteral("数据库事务失败：其中一步已失败，全部撤销"));
    }
    m_done = true;
    setDepth(m_db.connectionName(), m_depth - 1);
    if (m_depth == 1) {
        try {
            exec(QStringLiteral("COMMIT"));
        } catch (const DbError &) {
            QSqlQuery(m_db).exec(QStringLiteral("ROLLBACK"));
            throw;
        }
    } else {
        exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName(m_depth));
    }
}

void Transaction::rollback()
{
    if (m_done)
        return;
    m_done = true;
    if (m_joined) {
        markFailed(m_db.connectionName(), m_depth);
        return;
    }
    setDepth(m_db.connectionName(), m_depth - 1);
    if (m_depth == 1) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + savepointName(m_depth));
        exec(QStringLiteral("RELEASE SAVEPOINT ") + savepointName(m_depth));
    }
}

bool Transaction::isActive(const QSqlDatabase &db)
{
    return depthOf(db.connectionName()) > 0;
}
