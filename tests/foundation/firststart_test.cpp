// Opening account sets: the first start builds the default set and the register, a damaged
// or read-only default set is handled as the program expects.

#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/errorhandler.h"
#include "foundation/firststart.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace {

class FirstStartTest : public DbTest
{
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        settings = TestConnectionSettings();
        settings.prefix += QStringLiteral("fs_");
        settings.dataFolder = dir.path();
        drop();
    }
    void TearDown() override
    {
        drop();
        DbTest::TearDown();
    }
    void drop()
    {
        DropDatabase(settings, QStringLiteral("jxc.db"));
        DropDatabase(settings, QStringLiteral("codeinfo.db"));
    }

    QTemporaryDir dir;
    ConnectionSettings settings;
};

TEST_F(FirstStartTest, BuildsDefaultSetAndRegisterOnceAndKeepsThemAfterwards)
{
    EnsureDefaultDatabases(settings, clock);
    {
        DataModule dm(settings, QStringLiteral("fs_main"), QStringLiteral("fs_reg"));
        dm.OpenMainDatabase(QStringLiteral("jxc.db"));
        EXPECT_EQ(QueryScalar(dm.mainDb(), QStringLiteral("select a_name from jxc_admin")), QStringLiteral("admin"));
        RunSql(dm.mainDb(), QStringLiteral("insert into jxc_log (log_note) values (?)"), {QStringLiteral("已有数据")});

        dm.OpenAccountSetRegister();
        EXPECT_EQ(QueryScalarZt(dm.registerDb(),
                                QStringLiteral("select zt_sn || '|' || zt_name || '|' || zt_dbname from jxc_xtzt "
                                               "where zt_default = 1 and zt_forbid = 0")),
                  QStringLiteral("100001|主帐套|jxc.db"));
        // Empty texts, not NULL, as every set the account-set screen makes.
        EXPECT_EQ(QueryScalarZt(dm.registerDb(),
                                QStringLiteral("select coalesce(zt_note, 'null') || '|' || coalesce(zt_dbpwd, 'null') "
                                               "from jxc_xtzt where zt_sn = '100001'")),
                  QStringLiteral("|"));
        dm.CloseAccountSetRegister();
        EXPECT_FALSE(dm.registerDb().isOpen());
    }
    // A second start finds both and leaves their data alone.
    EnsureDefaultDatabases(settings, clock);
    DataModule dm(settings, QStringLiteral("fs_main"), QStringLiteral("fs_reg"));
    dm.OpenMainDatabase(QStringLiteral("jxc.db"));
    EXPECT_EQ(QueryScalar(dm.mainDb(), QStringLiteral("select count(*) from jxc_log")), QStringLiteral("1"));
}

TEST_F(FirstStartTest, TextsCompareInCharacterOrder)
{
    EnsureDefaultDatabases(settings, clock);
    DataModule dm(settings, QStringLiteral("fs_main"), QStringLiteral("fs_reg"));
    dm.OpenMainDatabase(QStringLiteral("jxc.db"));
    // '/' sorts after '-', and upper case before lower case, as the stored dates and codes rely on.
    EXPECT_EQ(QueryScalar(dm.mainDb(), QStringLiteral("select case when '2023/01/01' > '2023-10-01' and 'B' < 'a' "
                                                      "then 'yes' else 'no' end")),
              QStringLiteral("yes"));
}

TEST(DefaultSetFile, DamagedFileEndsTheProgramReadOnlyFileOpens)
{
    QTemporaryDir dir;
    ConnectionSettings s;
    s.dataFolder = dir.path();
    QFile garbage(dir.filePath(QStringLiteral("jxc.db")));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();

    DataModule dm(s, QStringLiteral("ro_main"), QStringLiteral("ro_reg"));
    try {
        dm.OpenMainDatabase(QStringLiteral("jxc.db"));
        FAIL() << "a damaged file opened";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("jxc.db"))) << e.text().toStdString();
        EXPECT_TRUE(HandleUnhandledError(e.text()).terminate);
    }

    // A good file without write permission is made writable and opened.
    QFile::remove(garbage.fileName());
    EnsureDefaultDatabases(s);
    QFile::setPermissions(garbage.fileName(), QFileDevice::ReadOwner);
    dm.OpenMainDatabase(QStringLiteral("jxc.db"));
    EXPECT_NO_THROW(RunSql(dm.mainDb(), QStringLiteral("insert into jxc_log (log_note) values ('x')")));
}

TEST(DefaultSetFile, UnreachableServerNamesWhatFailed)
{
    ConnectionSettings s;
    s.kind = DbKind::Postgres;
    s.host = QStringLiteral("/nonexistent-socket-folder");
    s.port = 5999;
    s.user = QStringLiteral("nobody");
    try {
        DataModule dm(s, QStringLiteral("pg_main"), QStringLiteral("pg_reg"));
        dm.OpenMainDatabase(QStringLiteral("jxc.db"));
        FAIL() << "opened";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("无法打开数据库jxc"))) << e.text().toStdString();
    }
}

} // namespace
