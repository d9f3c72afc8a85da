#include "testdb.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

namespace {

std::atomic<int> g_counter{0};

QTemporaryDir &tempDir()
{
    static QTemporaryDir dir;
    return dir;
}

QString prefix()
{
    return QStringLiteral("jxct%1_").arg(QCoreApplication::applicationPid());
}

const QString kTemplate = QStringLiteral("template.db");

// Builds the template account set once; drops it at exit (PostgreSQL).
class Template
{
public:
    static Template &instance()
    {
        static Template t;
        return t;
    }
    ~Template() { drop(); }
    void drop()
    {
        if (m_built && TestDbKind() == DbKind::Postgres) {
            try {
                DropDatabase(TestConnectionSettings(), kTemplate);
            } catch (...) {
            }
        }
        m_built = false;
    }
    void ensure()
    {
        if (m_built)
            return;
        const ConnectionSettings s = TestConnectionSettings();
        if (DatabaseExists(s, kTemplate))
            DropDatabase(s, kTemplate);
        CreateEmptyDatabase(s, kTemplate);
        {
            QSqlDatabase db = OpenConnection(s, kTemplate, QStringLiteral("jxct_template"));
            const FixedClock clock(TestNow());
            CreateAllTables(db, clock);
        }
        CloseConnection(QStringLiteral("jxct_template"));
        m_built = true;
    }

private:
    bool m_built = false;
};

// PostgreSQL: CREATE DATABASE … TEMPLATE and DROP DATABASE take a good part of a second each.
// A worker thread with connections of its own keeps the next copies of the template ready and
// drops the used ones, so a test waits only when it outruns the worker. Every test still gets
// a copy made for it alone, untouched until it takes it.
class DatabasePool
{
public:
    static DatabasePool &instance()
    {
        static DatabasePool pool;
        return pool;
    }

    // A fresh copy of the template (its file name); raises DbError when the worker could not
    // make one.
    QString take()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_worker.joinable()) {
            m_worker = std::thread([this] { run(); });
            qAddPostRoutine(&DatabasePool::shutdown);
        }
        m_wanted = kReady;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return !m_ready.empty() || !m_error.isEmpty(); });
        if (m_ready.empty()) {
            const QString error = m_error;
            m_error.clear();
            throw DbError(error);
        }
        const QString file = m_ready.front();
        m_ready.pop_front();
        m_changed.notify_all();
        return file;
    }

    // Hands a used copy back to be dropped (its connections closed).
    void release(const QString &file)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_used.push_back(file);
        m_changed.notify_all();
    }

    // Stops the worker, drops every copy it still holds and then the template (while Qt is
    // still alive: a post routine of the application object).
    static void shutdown()
    {
        instance().stop();
        Template::instance().drop();
    }

private:
    static constexpr size_t kReady = 2;

    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_worker.joinable())
                return;
            m_stopping = true;
            m_changed.notify_all();
        }
        m_worker.join();
    }

    void run()
    {
        const ConnectionSettings s = TestConnectionSettings();
        std::unique_lock<std::mutex> lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] {
                return m_stopping || !m_used.empty() || (m_ready.size() < m_wanted && m_error.isEmpty());
            });
            if (m_stopping)
                break;
            QString drop;
            QString make;
            // A waiting test comes first, then the clean-up, then the stock of ready copies.
            if (m_ready.empty() && m_error.isEmpty())
                make = QStringLiteral("t%1.db").arg(++g_counter);
            else if (!m_used.empty()) {
                drop = m_used.front();
                m_used.pop_front();
            } else
                make = QStringLiteral("t%1.db").arg(++g_counter);
            lock.unlock();
            QString error;
            try {
                if (!drop.isEmpty()) {
                    DropDatabase(s, drop);
                } else {
                    DropDatabase(s, make);  // a left-over of an earlier program with this id
                    CopyDatabase(s, kTemplate, make);
                }
            } catch (const DbError &e) {
                if (!make.isEmpty())
                    error = e.text();
            }
            lock.lock();
            if (!make.isEmpty()) {
                if (error.isEmpty())
                    m_ready.push_back(make);
                else
                    m_error = error;
            }
            m_changed.notify_all();
        }
        std::deque<QString> left;
        left.swap(m_ready);
        for (const QString &f : m_used)
            left.push_back(f);
        m_used.clear();
        lock.unlock();
        for (const QString &f : left) {
            try {
                DropDatabase(s, f);
            } catch (...) {
            }
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::thread m_worker;
    std::deque<QString> m_ready;
    std::deque<QString> m_used;
    size_t m_wanted = 0;
    QString m_error;
    bool m_stopping = false;
};

} // namespace

DbKind TestDbKind()
{
    return qEnvironmentVariable("JXC_TEST_DB").compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0
               ? DbKind::Postgres
               : DbKind::Sqlite;
}

ConnectionSettings TestConnectionSettings()
{
    ConnectionSettings s;
    s.kind = TestDbKind();
    s.dataFolder = tempDir().path();
    s.prefix = prefix();
    if (s.kind == DbKind::Postgres) {
        s.host = qEnvironmentVariable("PGHOST", QStringLiteral("/var/run/postgresql"));
        s.port = qEnvironmentVariableIntValue("PGPORT");
        if (s.port == 0)
            s.port = 5432;
        s.user = qEnvironmentVariable("PGUSER", QStringLiteral("postgres"));
        s.password = qEnvironmentVariable("PGPASSWORD");
    }
    return s;
}

QString TestServerProblem()
{
    if (TestDbKind() != DbKind::Postgres)
        return QString();
    static const QString problem = [] {
        try {
            DatabaseExists(TestConnectionSettings(), QStringLiteral("probe.db"));
            return QString();
        } catch (const DbError &e) {
            return e.text();
        }
    }();
    return problem;
}

QDateTime TestNow()
{
    return QDateTime(QDate(2024, 3, 5), QTime(10, 0, 0));
}

TestDb::TestDb()
{
    Template::instance().ensure();
    const ConnectionSettings s = TestConnectionSettings();
    if (s.kind == DbKind::Postgres) {
        m_file = DatabasePool::instance().take();
    } else {
        m_file = QStringLiteral("t%1.db").arg(++g_counter);
        CopyDatabase(s, kTemplate, m_file);
    }
    m_connection = QStringLiteral("jxct_db_") + QFileInfo(m_file).completeBaseName();
    OpenConnection(s, m_file, m_connection);
}

TestDb::~TestDb()
{
    for (const QString &c : m_extra)
        CloseConnection(c);
    CloseConnection(m_connection);
    if (TestDbKind() == DbKind::Postgres) {
        DatabasePool::instance().release(m_file);
        return;
    }
    try {
        DropDatabase(TestConnectionSettings(), m_file);
    } catch (...) {
    }
}

QSqlDatabase TestDb::db() const
{
    return QSqlDatabase::database(m_connection, false);
}

QSqlDatabase TestDb::openSecondConnection()
{
    const QString name = m_connection + QStringLiteral("_%1").arg(m_extra.size() + 2);
    m_extra << name;
    return OpenConnection(TestConnectionSettings(), m_file, name);
}

void DbTest::SetUp()
{
    const QString problem = TestServerProblem();
    if (!problem.isEmpty()) {
        if (!qEnvironmentVariableIsEmpty("CI"))
            FAIL() << "PostgreSQL test server not reachable: " << problem.toStdString();
        GTEST_SKIP() << "PostgreSQL test server not reachable: " << problem.toStdString();
    }
    m_db = std::make_unique<TestDb>();
}

void DbTest::TearDown()
{
    m_db.reset();
}
