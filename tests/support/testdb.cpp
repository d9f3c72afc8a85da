#include "testdb.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QDir>
#include <QSqlDatabase>
#include <QTemporaryDir>

namespace {

int g_counter = 0;

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
    ~Template()
    {
        if (m_built && TestDbKind() == DbKind::Postgres) {
            try {
                DropDatabase(TestConnectionSettings(), kTemplate);
            } catch (...) {
            }
        }
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
    const int n = ++g_counter;
    m_file = QStringLiteral("t%1.db").arg(n);
    m_connection = QStringLiteral("jxct_db%1").arg(n);
    const ConnectionSettings s = TestConnectionSettings();
    if (s.kind == DbKind::Postgres && DatabaseExists(s, m_file))
        DropDatabase(s, m_file);
    CopyDatabase(s, kTemplate, m_file);
    OpenConnection(s, m_file, m_connection);
}

TestDb::~TestDb()
{
    for (const QString &c : m_extra)
        CloseConnection(c);
    CloseConnection(m_connection);
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
