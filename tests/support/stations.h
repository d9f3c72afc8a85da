#pragma once

// Several workstations at once: each runs `work(connection, station)` on a thread of its own
// with a connection opened in that thread on the test's account set; they start together.
// Returns the texts of the database errors that escaped.

#include "seed.h"
#include "testdb.h"

#include "engine/postinglocks.h"

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <QStringList>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

inline QStringList RunStations(TestDb &testDb, int stations, const std::function<void(const QSqlDatabase &, int)> &work)
{
    const ConnectionSettings settings = TestConnectionSettings();
    const QString file = testDb.fileName();
    std::mutex m;
    std::condition_variable go;
    int left = stations;
    QStringList errors;
    std::vector<std::thread> threads;
    for (int s = 0; s < stations; ++s) {
        threads.emplace_back([&, s] {
            const QString name = QStringLiteral("station_%1_%2").arg(s).arg(quintptr(&testDb));
            {
                QSqlDatabase c;
                try {
                    c = OpenConnection(settings, file, name);
                    Transaction warm(c);  // registers the connection with the transaction bookkeeping
                    warm.commit();
                } catch (const DbError &e) {
                    std::lock_guard<std::mutex> guard(m);
                    errors << e.text();
                }
                {
                    std::unique_lock<std::mutex> lock(m);
                    if (--left == 0)
                        go.notify_all();
                    else
                        go.wait(lock, [&] { return left == 0; });
                }
                if (c.isOpen()) {
                    try {
                        work(c, s);
                    } catch (const DbError &e) {
                        std::lock_guard<std::mutex> guard(m);
                        errors << e.text();
                    }
                }
            }
            CloseConnection(name);
        });
    }
    for (std::thread &t : threads)
        t.join();
    return errors;
}

// Holds each station at a statement until the other stations got there too (or `wait` passed):
// install on a station's connection; `match` picks the statement.
class Rendezvous
{
public:
    explicit Rendezvous(int stations) : m_stations(stations) {}
    void arrive(std::chrono::milliseconds wait = std::chrono::milliseconds(5000))
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        ++m_arrived;
        m_all.notify_all();
        m_all.wait_for(lock, wait, [this] { return m_arrived >= m_stations; });
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_all;
    int m_stations;
    int m_arrived = 0;
};

// Workstations saving at once: station s runs `save(connection, s)`. Without the number lock
// (`numberLock` false, which only PostgreSQL shows: SQLite serialises writers anyway) each station
// waits at every statement that starts with `meetAt` until the others got there too, so that all
// of them test the number before any writes it. Returns the texts of the database errors that
// escaped.
inline QStringList SaveAtOnce(TestDb &testDb, int stations, const QString &meetAt,
                              const std::function<void(const QSqlDatabase &, int)> &save, bool numberLock = true)
{
    Rendezvous rendezvous(stations);
    LockForPosting::setEnabled(numberLock);
    const QStringList errors = RunStations(testDb, stations, [&](const QSqlDatabase &c, int s) {
        if (!numberLock)
            SetStatementObserver(c, [&rendezvous, meetAt](const QString &sql, const QVariantList &) {
                if (sql.startsWith(meetAt))
                    rendezvous.arrive();
            });
        save(c, s);
        SetStatementObserver(c, {});
    });
    LockForPosting::setEnabled(true);
    return errors;
}

// After saves of one number by several operators: per operator, the lines filed under a header
// of his own ("admin|1; li|2"), then " / " and the count of lines under another's header.
inline QString LinesUnderOwnHeaders(const QSqlDatabase &db, const QString &headers, const QString &lines)
{
    const QString join = QStringLiteral("from %1 l join %2 h on h.gl_djh = l.gl_djh ").arg(lines, headers);
    return RowsText(db, QStringLiteral("select h.a_name, count(*) ") + join
                            + QStringLiteral("where h.a_name = l.a_name group by h.a_name order by h.a_name"))
           + QStringLiteral(" / ") + QueryScalar(db, QStringLiteral("select count(*) ") + join + QStringLiteral("where h.a_name <> l.a_name"));
}
