#include "foundation/db/transaction.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"

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

QHash<QString, int> &depths()
{
    static QHash<QString, int> map;
    return map;
}

int depthOf(const QString &connection)
{
    QMutexLocker lock(&depthsGuard());
    return depths().value(connection);
}

void setDepth(const QString &connection, int depth)
{
    QMutexLocker lock(&depthsGuard());
    if (depth > 0)
        depths().insert(connection, depth);
    else
        depths().remove(connection);
}

QString savepointName(int depth)
{
    return QStringLiteral("jxc_sp%1").arg(depth);
}

} // namespace

Transaction::Transaction(const QSqlDatabase &db)
    : m_db(db)
{
    const int depth = depthOf(m_db.connectionName());
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
    QSqlQuery q(m_db);
    if (!q.exec(sql))
        throw DbError(QStringLiteral("数据库事务失败：%1").arg(q.lastError().text()));
}

void Transaction::commit()
{
    if (m_done)
        return;
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
