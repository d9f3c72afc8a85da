// Other sessions on an account set: this process's connections never count, another program
// instance (SQLite: a shared lock on the set's presence file) or another client (PostgreSQL)
// does.

#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlError>
#include <QTemporaryDir>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <memory>

namespace {

class PresenceTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();  // skips without a test server
        if (IsSkipped() || HasFatalFailure())
            return;
        settings = TestConnectionSettings();
        settings.dataFolder = folder.path();
        settings.prefix += QStringLiteral("pres_");
        for (const QString &f : files)
            make(f);
        data = std::make_unique<DataModule>(settings, QStringLiteral("presence_main"), QStringLiteral("presence_reg"));
        data->OpenMainDatabase(files.first());
    }
    void TearDown() override
    {
        data.reset();
        for (const QString &name : opened)
            CloseConnection(name);
        if (settings.kind == DbKind::Postgres) {
            for (const QString &f : files) {
                try {
                    DropDatabase(settings, f);
                } catch (...) {
                }
            }
        }
        DbTest::TearDown();
    }
    void make(const QString &file)
    {
        if (settings.kind == DbKind::Postgres && DatabaseExists(settings, file))
            DropDatabase(settings, file);
        CreateEmptyDatabase(settings, file);
    }
    // A client of another program on `file` (PostgreSQL).
    QSqlDatabase foreignClient(const QString &file)
    {
        const QString name = QStringLiteral("presence_foreign_%1").arg(opened.size());
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setUserName(settings.user);
        db.setPassword(settings.password);
        db.setDatabaseName(DatabaseTarget(settings, file));
        db.setConnectOptions(QStringLiteral("application_name=psql"));
        opened << name;
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
        return db;
    }
    // Whether anybody holds the presence file of the main set (a fresh exclusive try).
    bool held() const
    {
        const QString path = PresenceFilePath(DatabaseTarget(settings, files.first()));
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY);
        if (fd < 0)
            return false;
        const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        ::close(fd);
        return !free;
    }

    QTemporaryDir folder;
    ConnectionSettings settings;
    const QStringList files = {QStringLiteral("jxc_presence.db"), QStringLiteral("jxc_other.db")};
    std::unique_ptr<DataModule> data;
    QStringList opened;
};

TEST_F(PresenceTest, ThisProcessAloneCountsNoOtherSession)
{
    opened << QStringLiteral("presence_second");
    const QSqlDatabase second = OpenConnection(settings, files.first(), QStringLiteral("presence_second"));
    EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 0);
    EXPECT_EQ(OtherSessionsOnSet(second), 0);
    // A second data module of this process on the same set is this process too.
    DataModule again(settings, QStringLiteral("presence_again"), QStringLiteral("presence_again_reg"));
    again.OpenMainDatabase(files.first());
    EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 0);
}

TEST_F(PresenceTest, AnotherClientOrInstanceOnTheSetCounts)
{
    if (settings.kind == DbKind::Postgres) {
        EXPECT_TRUE(SessionApplicationName().startsWith(QLatin1String("jxc:")));
        EXPECT_EQ(QueryScalar(data->mainDb(), QStringLiteral("select current_setting('application_name')")),
                  SessionApplicationName());
        QSqlDatabase elsewhere = foreignClient(files.at(1));
        EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 0);
        QSqlDatabase here = foreignClient(files.first());
        EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 1);
        here.close();
        elsewhere.close();
        // A closed client's backend ends a moment later.
        int left = 1;
        for (int i = 0; i < 100 && left > 0; ++i) {
            left = OtherSessionsOnSet(data->mainDb());
            if (left > 0)
                QThread::msleep(20);
        }
        EXPECT_EQ(left, 0);
        return;
    }
    // Another instance holds a shared lock on the presence file, as this process does.
    const QString path = PresenceFilePath(DatabaseTarget(settings, files.first()));
    ASSERT_TRUE(QFile::exists(path));
    const int other = ::open(QFile::encodeName(path).constData(), O_RDONLY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(::flock(other, LOCK_SH | LOCK_NB), 0);
    EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 1);
    EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 1);  // the check keeps this process's lock
    ::close(other);
    EXPECT_EQ(OtherSessionsOnSet(data->mainDb()), 0);
    EXPECT_TRUE(held());

    // Moving to another set, and closing, give the mark up.
    data->OpenMainDatabase(files.at(1));
    EXPECT_FALSE(held());
    data->OpenMainDatabase(files.first());
    EXPECT_TRUE(held());
    data.reset();
    EXPECT_FALSE(held());
}

} // namespace
