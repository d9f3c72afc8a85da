// Backups: the file name, the copy of committed data on both kinds of database, the pruning of
// old backups, the default settings, the automatic timer and the exit.

#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "shell/backupservice.h"
#include "shell/exitsequence.h"
#include "shell/forms/mainform.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTimer>
#include <QtTest/QTest>

namespace {

class BackupTest : public ShellTest
{
protected:
    void login()
    {
        state.CurrentOperatorName = QStringLiteral("admin");
        state.CurrentOperatorSn = QStringLiteral("100001");
        state.CurrentRoleSn = QStringLiteral("100001");
        state.CurrentAccountSetDb = QStringLiteral("jxc.db");
        state.CurrentAccountSetName = QStringLiteral("演示帐套");
        LoadSysParams(db(), state, clock);
    }
    BackupContext context(const QString &programFolder)
    {
        BackupContext c;
        c.db = db();
        c.settings = settings;
        c.state = &state;
        c.clock = &clock;
        c.programFolder = programFolder;
        return c;
    }
    // Row count of `table` in the SQLite file `path`.
    static int rowsInFile(const QString &path, const QString &table)
    {
        int n = -1;
        {
            QSqlDatabase f = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("backup_probe"));
            f.setDatabaseName(path);
            if (f.open()) {
                QSqlQuery q(f);
                if (q.exec(QStringLiteral("select count(*) from ") + table) && q.next())
                    n = q.value(0).toInt();
            }
        }
        QSqlDatabase::removeDatabase(QStringLiteral("backup_probe"));
        return n;
    }
    QStringList filesIn(const QString &folder)
    {
        return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    void touch(const QString &path, const QDateTime &written)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        ASSERT_TRUE(f.setFileTime(written, QFileDevice::FileModificationTime));
    }
};

TEST(BackupNames, SetNameAndMomentMakeTheName)
{
    struct Case
    {
        QDateTime moment;
        const char *set;
        const char *expected;
    };
    const Case cases[] = {
        {QDateTime(QDate(2023, 3, 5), QTime(14, 20, 7)), "演示帐套", "演示帐套23_03_05_14_20_07.DAT"},
        {QDateTime(QDate(2024, 12, 31), QTime(9, 5, 0)), "分店", "分店24_12_31_09_05_00.DAT"},
    };
    for (const Case &c : cases) {
        const QString name = BackupFileName(QString::fromUtf8(c.set), c.moment);
        EXPECT_EQ(name, QString::fromUtf8(c.expected));
        EXPECT_TRUE(IsBackupFileName(name));
    }
    for (const char *other : {"notes.DAT", "23_03_05_14_20_07.DAT", "演示帐套23_03_05_14_20.DAT", "a23_03_05_14_20_07.bak"})
        EXPECT_FALSE(IsBackupFileName(QString::fromUtf8(other))) << other;
    EXPECT_TRUE(IsBackupFileName(QStringLiteral("a23_03_05_14_20_07.dat")));
}

TEST(BackupNames, TimerIntervalIsBoundedToTheSettingsRange)
{
    EXPECT_EQ(BackupTimerInterval(12), 43200000);
    EXPECT_EQ(BackupTimerInterval(0), 3600000);
    EXPECT_EQ(BackupTimerInterval(-3), 3600000);
    EXPECT_EQ(BackupTimerInterval(25), 86400000);
    EXPECT_EQ(BackupTimerInterval(100000), 86400000);
}

TEST(BackupNames, BuildFoldersAreRecognisedInAnyLetterCase)
{
    EXPECT_TRUE(IsBuildFolder(QStringLiteral("/opt/jxc/Release/数据备份")));
    EXPECT_TRUE(IsBuildFolder(QStringLiteral("/home/a/DEBUG/数据备份")));
    EXPECT_TRUE(IsBuildFolder(QStringLiteral("/srv/ZZInstall/数据备份")));
    EXPECT_FALSE(IsBuildFolder(QStringLiteral("/opt/jxc/数据备份")));
}

TEST_F(BackupTest, BackupHoldsTheCommittedRowsOnly)
{
    login();
    RunSql(db(), QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values ('2024-03-05', 'admin', 'x')"));
    const QString folder = home.filePath(QStringLiteral("备份"));
    QDir().mkpath(folder);
    const QString target = folder + QStringLiteral("/演示帐套24_03_05_14_07_09.DAT");
    {
        QFile old(target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("an older file of the same name");
    }
    const int goods = count(QStringLiteral("select count(*) from jxc_goods")).toInt();
    const int log = count(QStringLiteral("select count(*) from jxc_log")).toInt();
    {
        Transaction open(db());
        RunSql(db(), QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values ('2024-03-05', 'admin', "
                                    "'not yet committed')"));
        WriteBackupFile(settings, QStringLiteral("jxc.db"), target);
    }
    EXPECT_EQ(rowsInFile(target, QStringLiteral("jxc_goods")), goods);
    EXPECT_EQ(rowsInFile(target, QStringLiteral("jxc_log")), log);
    EXPECT_EQ(rowsInFile(target, QStringLiteral("jxc_xtcs")), 1);
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("演示帐套24_03_05_14_07_09.DAT")});
}

TEST_F(BackupTest, FailedBackupLeavesNoFile)
{
    login();
    const QString folder = home.filePath(QStringLiteral("备份"));
    QDir().mkpath(folder);
    EXPECT_ANY_THROW(WriteBackupFile(settings, QStringLiteral("jxc_missing.db"),
                                     folder + QStringLiteral("/演示帐套24_03_05_14_07_09.DAT")));
    EXPECT_TRUE(filesIn(folder).isEmpty());
}

TEST_F(BackupTest, PruningDeletesOnlyOldBackupsOfAnySet)
{
    clock.set(QDateTime(QDate(2023, 3, 5), QTime(9, 0, 0)));
    const QString folder = home.filePath(QStringLiteral("备份"));
    QDir().mkpath(folder);
    touch(folder + QStringLiteral("/演示帐套23_02_17_10_00_00.DAT"), QDateTime(QDate(2023, 2, 17), QTime(10, 0)));
    touch(folder + QStringLiteral("/演示帐套23_02_18_10_00_00.DAT"), QDateTime(QDate(2023, 2, 18), QTime(10, 0)));
    touch(folder + QStringLiteral("/其他帐套23_01_01_08_00_00.DAT"), QDateTime(QDate(2023, 1, 1), QTime(8, 0)));
    touch(folder + QStringLiteral("/notes.DAT"), QDateTime(QDate(2023, 1, 1), QTime(8, 0)));

    for (const char *days : {"0", ""}) {
        RunSql(db(), QStringLiteral("delete from jxc_backup"));
        if (*days)
            RunSql(db(), QStringLiteral("insert into jxc_backup (back_days) values (?)"), {QString::fromLatin1(days)});
        EXPECT_EQ(deleteBackupFiles(db(), folder, clock), 0);
        EXPECT_EQ(filesIn(folder).size(), 4);
    }
    RunSql(db(), QStringLiteral("delete from jxc_backup"));
    RunSql(db(), QStringLiteral("insert into jxc_backup (back_days) values (15)"));
    EXPECT_EQ(deleteBackupFiles(db(), folder, clock), 2);
    EXPECT_EQ(filesIn(folder),
              (QStringList{QStringLiteral("notes.DAT"), QStringLiteral("演示帐套23_02_18_10_00_00.DAT")}));
}

TEST_F(BackupTest, DefaultSettingsCarryAFolderWithAnApostrophe)
{
    login();
    const QString program = home.filePath(QStringLiteral("O'Brien 软件"));
    QDir().mkpath(program);
    const QString file = backupDatabase(context(program));
    const QString folder = program + QStringLiteral("/数据备份/");
    EXPECT_EQ(file, folder + QStringLiteral("演示帐套24_03_05_14_07_09.DAT"));
    EXPECT_EQ(count(QStringLiteral("select back_path from jxc_backup")), folder);
    EXPECT_TRUE(QFile::exists(file));
}

TEST_F(BackupTest, ExitAsksAndBacksUpWithDefaultsWhenNothingIsSetUp)
{
    login();
    RunSql(db(), QStringLiteral("delete from jxc_backup"));
    LoadSysParams(db(), state, clock);
    TF_MainForm &form = mainForm();
    const QString folder = home.path() + QStringLiteral("/数据备份/");

    notices.script({Notices::Answer::No});
    EXPECT_FALSE(form.FormClose());
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("是否要退出系统？")});
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log where log_note = '退出系统'")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_backup")), QStringLiteral("0"));
    EXPECT_FALSE(QDir(folder).exists());
    EXPECT_EQ(terminated, 0);

    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(form.FormClose());
    EXPECT_EQ(terminated, 1);
    EXPECT_EQ(form.closingFlag(), QStringLiteral("1"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log where log_note = '退出系统'")), QStringLiteral("1"));
    QSqlQuery row = OpenSelect(db(), QStringLiteral("select back_auto, back_sj, back_days, back_path, back_exit "
                                                    "from jxc_backup"));
    ASSERT_TRUE(row.next());
    EXPECT_EQ(ValueText(row.value(0)), QStringLiteral("0"));
    EXPECT_EQ(ValueText(row.value(1)), QStringLiteral("12"));
    EXPECT_EQ(ValueText(row.value(2)), QStringLiteral("15"));
    EXPECT_EQ(row.value(3).toString(), folder);
    EXPECT_EQ(ValueText(row.value(4)), QStringLiteral("1"));
    EXPECT_FALSE(row.next());
    EXPECT_EQ(filesIn(folder), QStringList{QStringLiteral("演示帐套24_03_05_14_07_09.DAT")});
}

TEST_F(BackupTest, ExitFromABuildFolderWritesNothing)
{
    login();
    RunSql(db(), QStringLiteral("delete from jxc_backup"));
    LoadSysParams(db(), state, clock);
    const QString program = home.filePath(QStringLiteral("Release"));
    QDir().mkpath(program);
    mainForm().setProgramFolder(program);
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(mainForm().FormClose());
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_backup")), QStringLiteral("0"));
    EXPECT_FALSE(QDir(program + QStringLiteral("/数据备份")).exists());
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log where log_note = '退出系统'")), QStringLiteral("1"));
}

TEST_F(BackupTest, ExitFollowsTheBackupSettings)
{
    const QString folder = home.filePath(QStringLiteral("我的备份"));
    struct Case
    {
        int autoFlag, onExit;
        int files;
    };
    const Case cases[] = {{0, 1, 1}, {1, 0, 0}, {1, 1, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.autoFlag << c.onExit);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        RunSql(db(), QStringLiteral("delete from jxc_backup"));
        RunSql(db(), QStringLiteral("insert into jxc_backup (back_auto,back_sj,back_days,back_path,back_exit) "
                                    "values (?,?,?,?,?)"),
               {c.autoFlag, 12, 15, folder, c.onExit});
        login();
        RunExitSequence(context(home.path()));
        EXPECT_EQ(filesIn(folder).size(), c.files);
    }
}

TEST_F(BackupTest, AutomaticBackupTimerFollowsTheSettingsAndEachTickBacksUp)
{
    const QString folder = home.filePath(QStringLiteral("自动备份"));
    RunSql(db(), QStringLiteral("delete from jxc_backup"));
    RunSql(db(), QStringLiteral("insert into jxc_backup (back_auto,back_sj,back_days,back_path,back_exit) "
                                "values (1, 12, 15, ?, 0)"),
           {folder});
    ASSERT_TRUE(startAndLogin());
    TF_MainForm &form = mainForm();
    EXPECT_TRUE(form.timerBackUp()->isActive());
    EXPECT_EQ(form.timerBackUp()->interval(), 43200000);
    form.startBackupTimer(0);
    EXPECT_EQ(form.timerBackUp()->interval(), 3600000);
    form.startBackupTimer(25);
    EXPECT_EQ(form.timerBackUp()->interval(), 86400000);
    form.stopBackupTimer();
    EXPECT_FALSE(form.timerBackUp()->isActive());

    form.TimerBackUpTimer();
    const QStringList files = filesIn(folder);
    ASSERT_EQ(files, QStringList{QStringLiteral("主帐套24_03_05_14_07_09.DAT")});
    EXPECT_EQ(rowsInFile(folder + QLatin1Char('/') + files[0], QStringLiteral("jxc_log")),
              count(QStringLiteral("select count(*) from jxc_log")).toInt());
}

} // namespace
