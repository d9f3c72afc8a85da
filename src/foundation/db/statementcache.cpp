#include "foundation/db/statementcache.h"

#include "foundation/db/dberror.h"
#include "foundation/db/transaction.h"

#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QPointer>
#include <QSqlDriver>
#include <QSqlError>

#include <vector>

namespace statementcache {

struct Entry
{
    explicit Entry(const QSqlDatabase &db)
        : query(db)
    {
    }
    QSqlQuery query;
    QString sql;  // the key: the text, marked when it is read another way (Reading)
    bool busy = false;
    quint64 used = 0;
};

namespace {

// More statements than a program runs on one connection; beyond it the least used one goes.
constexpr int kLimit = 400;

struct Connection
{
    QPointer<QSqlDriver> driver;
    QHash<QString, std::shared_ptr<Entry>> entries;
    // Dropped while a transaction may have failed: released once none is open.
    std::vector<std::shared_ptr<Entry>> dropped;
    quint64 clock = 0;
};

// Connections of several threads use the table, each its own entries; the table itself is read
// and changed only under its guard, and no query is destroyed under it (that can mean a round
// trip to the server).
struct Table
{
    QMutex guard;
    QHash<QString, Connection> connections;
};

Table &table()
{
    static Table t;
    return t;
}

QMutex &guard()
{
    return table().guard;
}

QHash<QString, Connection> &connections()
{
    return table().connections;
}

using Doomed = std::vector<std::shared_ptr<Entry>>;

void moveAll(Connection &c, Doomed &doomed)
{
    for (auto &e : c.entries)
        doomed.push_back(std::move(e));
    c.entries.clear();
    for (auto &e : c.dropped)
        doomed.push_back(std::move(e));
    c.dropped.clear();
}

QString errorText(const QSqlQuery &query)
{
    const QSqlError err = query.lastError();
    QString text = err.databaseText().trimmed();
    if (text.isEmpty())
        text = err.text().trimmed();
    return QStringLiteral("数据库操作失败：%1").arg(text);
}

} // namespace

Lease::Lease(std::shared_ptr<Entry> entry, std::unique_ptr<QSqlQuery> own)
    : m_entry(std::move(entry)), m_own(std::move(own))
{
}

Lease::Lease(Lease &&other) noexcept
    : m_entry(std::move(other.m_entry)), m_own(std::move(other.m_own))
{
}

Lease::~Lease()
{
    if (m_own) {
        m_own->finish();
        return;
    }
    if (!m_entry)
        return;
    m_entry->query.finish();
    QMutexLocker lock(&guard());
    m_entry->busy = false;
}

QSqlQuery &Lease::query()
{
    return m_own ? *m_own : m_entry->query;
}

void Lease::failed(const QSqlDatabase &db)
{
    // SQLSTATE 0A000: "cached plan must not change result type" after a table changed.
    if (!m_entry || query().lastError().nativeErrorCode() != QLatin1String("0A000"))
        return;
    QMutexLocker lock(&guard());
    Connection &c = connections()[db.connectionName()];
    const auto it = c.entries.find(m_entry->sql);
    if (it != c.entries.end() && it.value() == m_entry) {
        c.dropped.push_back(it.value());
        c.entries.erase(it);
    }
}

Lease Take(const QSqlDatabase &db, const QString &sql, Reading reading)
{
    // Other ways of reading under keys no statement text has.
    const bool whole = reading.wholeResult && db.driverName() == QLatin1String("QPSQL");
    QString key = sql;
    if (reading.exactNumbers || whole)
        key += QStringLiteral("\n\x01") + QLatin1Char(reading.exactNumbers ? 'e' : '-') + QLatin1Char(whole ? 'w' : '-');
    const auto prepared = [&](QSqlQuery &query) {
        query.setForwardOnly(!whole);
        if (reading.exactNumbers)
            query.setNumericalPrecisionPolicy(QSql::HighPrecision);
        return query.prepare(sql);
    };
    Doomed doomed;
    std::shared_ptr<Entry> entry;
    bool inUse = false;
    {
        QMutexLocker lock(&guard());
        Connection &c = connections()[db.connectionName()];
        if (c.driver != db.driver()) {
            moveAll(c, doomed);
            c.driver = db.driver();
        }
        if (!c.dropped.empty() && !Transaction::isActive(db)) {
            for (auto &e : c.dropped)
                doomed.push_back(std::move(e));
            c.dropped.clear();
        }
        const auto it = c.entries.constFind(key);
        if (it != c.entries.constEnd()) {
            if (it.value()->busy) {
                inUse = true;
            } else {
                entry = it.value();
                entry->busy = true;
                entry->used = ++c.clock;
            }
        }
    }
    doomed.clear();
    if (entry)
        return Lease(std::move(entry), nullptr);

    if (inUse) {
        auto own = std::make_unique<QSqlQuery>(db);
        if (!prepared(*own))
            throw DbError(errorText(*own));
        return Lease(nullptr, std::move(own));
    }

    auto fresh = std::make_shared<Entry>(db);
    fresh->sql = key;
    if (!prepared(fresh->query))
        throw DbError(errorText(fresh->query));
    fresh->busy = true;
    {
        QMutexLocker lock(&guard());
        Connection &c = connections()[db.connectionName()];
        fresh->used = ++c.clock;
        if (c.entries.size() >= kLimit) {
            auto oldest = c.entries.end();
            for (auto it = c.entries.begin(); it != c.entries.end(); ++it)
                if (!it.value()->busy && (oldest == c.entries.end() || it.value()->used < oldest.value()->used))
                    oldest = it;
            if (oldest != c.entries.end()) {
                doomed.push_back(oldest.value());
                c.entries.erase(oldest);
            }
        }
        c.entries.insert(key, fresh);
    }
    doomed.clear();
    return Lease(std::move(fresh), nullptr);
}

void Clear(const QString &connectionName)
{
    Doomed doomed;
    {
        QMutexLocker lock(&guard());
        auto it = connections().find(connectionName);
        if (it == connections().end())
            return;
        moveAll(it.value(), doomed);
        connections().erase(it);
    }
}

int Count(const QSqlDatabase &db)
{
    QMutexLocker lock(&guard());
    const auto it = connections().constFind(db.connectionName());
    if (it == connections().constEnd() || it.value().driver != db.driver())
        return 0;
    return int(it.value().entries.size());
}

} // namespace statementcache
