// Account sets (create, modify, delete, default), the backup settings screen and the restore of
// a set from a backup file, on SQLite files and PostgreSQL databases.

#include "shellfixture.h"

#include "../support/scriptedfilechoice.h"

#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"
#include "foundation/schema/newsettemplate.h"
#include "foundation/schema/schemabuilder.h"
#include "screenkit/datagrid.h"
#include "shell/accountsets.h"
#include "shell/backupservice.h"
#include "shell/forms/backup.h"
#include "shell/forms/ztgl.h"
#include "shell/forms/ztgl_backup.h"
#include "shell/loginsequence.h"
#include "shell/restore.h"

#include <QComboBox>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QtTest/QTest>

namespace {

class AccountSetTest : public ShellTest
{
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        state.CurrentOperatorName = QStringLiteral("admin");
        state.CurrentOperatorSn = QStringLiteral("100001");
        state.CurrentRoleSn = QStringLiteral("100001");
        state.CurrentAccountSetDb = QStringLiteral("jxc.db");
        state.CurrentAccountSetName = QStringLiteral("分店");
        LoadSysParams(db(), state, clock);
        backups = home.filePath(QStringLiteral("backups"));
        QDir().mkpath(backups);
    }
    void TearDown() override
    {
        const bool postgres = settings.kind == DbKind::Postgres && data;
        ShellTest::TearDown();  // closes the program's connections first
        if (postgres) {
            QStringList files{QStringLiteral("newset_reference.db")};
            for (int sn = 100002; sn <= 100006; ++sn)
                files << AccountSetDbName(QString::number(sn));
            try {
                files << ServerDatabaseFiles(settings, QStringLiteral("newset"));  // the pristine sets
            } catch (...) {
            }
            for (const QString &file : files) {
                try {
                    DropDatabase(settings, file);
                } catch (...) {
                }
            }
        }
    }
    QSqlDatabase reg()
    {
        data->OpenAccountSetRegister();
        return data->registerDb();
    }
    QString regValue(const QString &sql, const QVariantList &binds = {}) { return QueryScalar(reg(), sql, binds); }
    AccountSetResult create(const QString &name, bool isDefault = false, bool forbidden = false,
                            const QString &note = QString())
    {
        return CreateAccountSet(settings, reg(), clock, {name, note, isDefault, forbidden});
    }
    // A value read from another set on a connection of its own.
    QString inSet(const QString &dbname, const QString &sql)
    {
        QString out;
        {
            QSqlDatabase other = OpenConnection(settings, dbname, QStringLiteral("acct_probe"));
            out = QueryScalar(other, sql);
        }
        CloseConnection(QStringLiteral("acct_probe"));
        return out;
    }
    BackupContext context()
    {
        BackupContext c;
        c.db = db();
        c.settings = settings;
        c.state = &state;
        c.clock = &clock;
        c.programFolder = home.path();
        return c;
    }
    std::unique_ptr<TF_Backup> backupScreen()
    {
        return std::make_unique<TF_Backup>(
            context(), notices, files, [this](int hours) { timerHours = hours; }, [this] { timerHours = 0; });
    }
    QString makeBackup()
    {
        const QString file = QDir(backups).filePath(QStringLiteral("set.DAT"));
        WriteBackupFile(settings, state.CurrentAccountSetDb, file);
        return file;
    }
    QStringList temporaryFiles()
    {
        QStringList out;
        for (const QString &f : QDir(settings.dataFolder).entryList(QDir::Files | QDir::Hidden))
            if (f.startsWith('.'))
                out << f;
        return out;
    }

    QString backups;
    ScriptedFileChoice files;
    int timerHours = -1;
};

// ---- Creating sets ----

TEST_F(AccountSetTest, NewSetHoldsOnlyDefaultRowsAndIsRegisteredLast)
{
    RunSql(db(), "insert into jxc_goods (g_sn, g_name) values ('G1', 'goods')");
    RunSql(db(), "insert into jxc_jhd (gl_djh, a_name) values ('CJ1', 'admin')");
    RunSql(db(), "update jxc_admin set a_pwd = 'pw'");
    TF_Ztgl manager(settings, state, clock, notices, files);
    {
        TF_Ztgl_Add dialog(settings, manager.registerDb(), clock, state.UiFontSize, notices);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("建立新帐套"));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        dialog.edName->setFocus();
        dialog.edName->setText(QStringLiteral("分店"));
        // Enter moves on to the note and creates nothing.
        QTest::keyClick(dialog.edName, Qt::Key_Return);
        EXPECT_TRUE(dialog.edNote->hasFocus());
        QTest::keyClick(dialog.edNote, Qt::Key_Return);
        EXPECT_FALSE(dialog.edNote->hasFocus());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(regValue("select count(*) from jxc_xtzt"), "1");
        dialog.btnOK->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted) << notices.texts().join('|').toStdString();
    }
    EXPECT_EQ(regValue("select zt_dbname from jxc_xtzt where zt_sn = '100002'"), "jxc_100002.db");
    EXPECT_EQ(regValue("select zt_name from jxc_xtzt where zt_sn = '100002'"), QStringLiteral("分店"));
    EXPECT_EQ(regValue("select coalesce(zt_dbpwd, 'null') from jxc_xtzt where zt_sn = '100002'"), QString());
    EXPECT_EQ(inSet("jxc_100002.db", "select count(*) from jxc_goods"), "1");
    EXPECT_EQ(inSet("jxc_100002.db", "select g_sn from jxc_goods"), "00000000");
    EXPECT_EQ(inSet("jxc_100002.db", "select count(*) from jxc_jhd"), "0");
    EXPECT_EQ(inSet("jxc_100002.db", "select count(*) from jxc_admin"), "1");
    EXPECT_EQ(inSet("jxc_100002.db", "select a_name || '|' || coalesce(a_pwd, '') from jxc_admin"), "admin|");
    // The open set stays the login's.
    EXPECT_EQ(data->mainFileName(), "jxc.db");
    EXPECT_EQ(count("select count(*) from jxc_goods where g_sn = 'G1'"), "1");
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(',').toStdString();
}

// Every table's columns, the indexes and every row of a set, as text.
QStringList SetContents(const ConnectionSettings &settings, const QString &file)
{
    QStringList out;
    {
        QSqlDatabase db = OpenConnection(settings, file, QStringLiteral("acct_contents"));
        QStringList indexes = IndexNames(db);
        indexes.sort();
        out << indexes.join(',');
        QStringList tables = TableNames(db);
        tables.sort();
        for (const QString &t : tables) {
            out << t + ": " + TableColumns(db, t).join(',');
            ForEachRow(db, QStringLiteral("select * from %1 order by id").arg(t), {}, [&](const QSqlQuery &q) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i)
                    values << (q.isNull(i) ? QStringLiteral("NULL") : ValueText(q.value(i)));
                out << t + " | " + values.join('|');
            });
        }
    }
    CloseConnection(QStringLiteral("acct_contents"));
    return out;
}

TEST_F(AccountSetTest, NewSetOnTheServerIsACopyOfThePristineSet)
{
    if (settings.kind != DbKind::Postgres)
        GTEST_SKIP() << "PostgreSQL only";
    const QString pristine = NewSetTemplateFile();
    CreateEmptyDatabase(settings, QStringLiteral("newset_000000000000.db"));  // of an older program
    ASSERT_TRUE(create("first").ok());
    EXPECT_TRUE(DatabaseExists(settings, pristine));
    EXPECT_FALSE(DatabaseExists(settings, QStringLiteral("newset_000000000000.db")));
    EXPECT_EQ(ServerDatabaseFiles(settings, QStringLiteral("newset")), QStringList{pristine});

    // Another day: the copy carries that day's date like a set built on it.
    clock.set(QDateTime(QDate(2025, 7, 9), QTime(8, 30, 0)));
    ASSERT_TRUE(create("second").ok());
    CreateEmptyDatabase(settings, QStringLiteral("newset_reference.db"));
    {
        QSqlDatabase ref = OpenConnection(settings, QStringLiteral("newset_reference.db"), QStringLiteral("acct_ref"));
        CreateAllTables(ref, clock);
    }
    CloseConnection(QStringLiteral("acct_ref"));
    const QStringList copied = SetContents(settings, "jxc_100003.db");
    EXPECT_EQ(copied, SetContents(settings, QStringLiteral("newset_reference.db")));
    EXPECT_TRUE(copied.filter(QStringLiteral("2025-07-09")).size() >= 6);
    EXPECT_EQ(inSet("jxc_100003.db", "select count(*) from jxc_xjyh where xj_rq = '2025-07-09'"), "6");

    // While another session is connected to the pristine set the server refuses the copy: the
    // set is built instead.
    {
        QSqlDatabase holder = OpenConnection(settings, pristine, QStringLiteral("acct_holder"));
        ASSERT_TRUE(create("third").ok());
    }
    CloseConnection(QStringLiteral("acct_holder"));
    EXPECT_EQ(SetContents(settings, "jxc_100004.db"), copied);
}

TEST_F(AccountSetTest, NewSetFileIsACopyOfThePristineFile)
{
    if (settings.kind != DbKind::Sqlite)
        GTEST_SKIP() << "SQLite only";
    const QString folder = QDir(settings.dataFolder).filePath(QStringLiteral("newset"));
    const QString pristine = QDir(folder).filePath(NewSetTemplateFile());
    QDir().mkpath(folder);
    const QString older = QDir(folder).filePath(QStringLiteral("newset_000000000000.db"));  // of an older program
    {
        QFile f(older);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(create("first").ok());
    EXPECT_TRUE(QFileInfo::exists(pristine));
    EXPECT_FALSE(QFileInfo::exists(older));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{NewSetTemplateFile()});

    // Another day: the copy carries that day's date like a set built on it.
    clock.set(QDateTime(QDate(2025, 7, 9), QTime(8, 30, 0)));
    ASSERT_TRUE(create("second").ok());
    CreateEmptyDatabase(settings, QStringLiteral("newset_reference.db"));
    {
        QSqlDatabase ref = OpenConnection(settings, QStringLiteral("newset_reference.db"), QStringLiteral("acct_ref"));
        CreateAllTables(ref, clock);
    }
    CloseConnection(QStringLiteral("acct_ref"));
    const QStringList copied = SetContents(settings, "jxc_100003.db");
    EXPECT_EQ(copied, SetContents(settings, QStringLiteral("newset_reference.db")));
    EXPECT_EQ(inSet("jxc_100003.db", "select count(*) from jxc_xjyh where xj_rq = '2025-07-09'"), "6");
    EXPECT_FALSE(QFileInfo::exists(DatabaseTarget(settings, "jxc_100003.db") + "-wal"));

    // A pristine file that cannot be copied (here a folder in its place): the set is built instead.
    ASSERT_TRUE(QFile::remove(pristine));
    ASSERT_TRUE(QDir().mkpath(pristine));
    ASSERT_TRUE(create("third").ok());
    EXPECT_EQ(SetContents(settings, "jxc_100004.db"), copied);
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(',').toStdString();
}

TEST_F(AccountSetTest, DefaultAndForbiddenFlagsDecideTheLoginList)
{
    ASSERT_TRUE(create("forbidden", false, true).ok());
    ASSERT_TRUE(create("main", true).ok());
    EXPECT_EQ(regValue("select count(*) from jxc_xtzt where zt_default <> 0"), "1");
    EXPECT_EQ(regValue("select zt_sn from jxc_xtzt where zt_default <> 0"), "100003");
    QStringList offered;
    for (const KeyedItem &i : LoginAccountSets(reg()))
        offered << i.text;
    EXPECT_EQ(offered, (QStringList{"main", QStringLiteral("主帐套")}));
    EXPECT_TRUE(DatabaseExists(settings, "jxc_100002.db"));
}

TEST_F(AccountSetTest, NamesAreRequiredSanitisedAndMayRepeat)
{
    EXPECT_EQ(create("  ").refusal, QStringLiteral("帐套名称必须填写！"));
    EXPECT_EQ(create(QString(33, QChar(0x5E10))).refusal, QStringLiteral("帐套名称的长度不能超过32个字符！"));
    EXPECT_EQ(create(QStringLiteral("分店"), false, false, QString(33, QLatin1Char('n'))).refusal,
              QStringLiteral("帐套备注的长度不能超过32个字符！"));
    EXPECT_EQ(regValue("select count(*) from jxc_xtzt"), "1");
    EXPECT_FALSE(DatabaseExists(settings, "jxc_100002.db"));
    ASSERT_TRUE(create("A&B").ok());
    ASSERT_TRUE(create("A&B").ok());
    EXPECT_EQ(regValue("select count(*) from jxc_xtzt where zt_name = ?", {QStringLiteral("A＆B")}), "2");
}

TEST_F(AccountSetTest, FailedBuildLeavesNoRowAndNoData)
{
    ConnectionSettings broken = settings;
    if (settings.kind == DbKind::Sqlite) {
        QFile blocker(home.filePath("blocker"));
        ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        broken.dataFolder = home.filePath("blocker/data");  // cannot be created
    } else {
        broken.port = 1;  // the server refuses
    }
    const AccountSetResult r = CreateAccountSet(broken, reg(), clock, {"x", "", false, false});
    EXPECT_TRUE(r.refusal.startsWith(QStringLiteral("建立帐套失败！"))) << r.refusal.toStdString();
    EXPECT_EQ(regValue("select count(*) from jxc_xtzt"), "1");
    EXPECT_FALSE(DatabaseExists(settings, "jxc_100002.db"));
    EXPECT_TRUE(temporaryFiles().isEmpty());
}

TEST_F(AccountSetTest, WorkStaysInTheSetOfTheLogin)
{
    ASSERT_TRUE(create("second").ok());
    data->OpenMainDatabase("jxc_100002.db");
    state.CurrentAccountSetDb = "jxc_100002.db";
    ASSERT_TRUE(create("third").ok());
    WriteLog(data->mainDb(), state, clock, "after");
    EXPECT_EQ(inSet("jxc_100002.db", "select count(*) from jxc_log where log_note = 'after'"), "1");
    EXPECT_EQ(inSet("jxc_100003.db", "select count(*) from jxc_log where log_note = 'after'"), "0");
}

// ---- Modify and delete ----

TEST_F(AccountSetTest, ForbiddingTheDefaultSetMakesTheBuiltInSetDefaultAgain)
{
    ASSERT_TRUE(create("second", true).ok());
    TF_Ztgl manager(settings, state, clock, notices, files);
    const qint64 id = QueryScalar(manager.registerDb(), "select id from jxc_xtzt where zt_sn = '100002'").toLongLong();
    {
        TF_Ztgl_Add dialog(settings, manager.registerDb(), clock, state.UiFontSize, notices, id);
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("修改帐套"));
        EXPECT_TRUE(dialog.rbDefault->isChecked());
        dialog.rbForbid->setChecked(true);
        EXPECT_FALSE(dialog.rbDefault->isChecked());
        dialog.btnOK->click();
    }
    EXPECT_EQ(QueryScalar(manager.registerDb(), "select zt_sn from jxc_xtzt where zt_default <> 0"), "100001");
    const qint64 builtIn = QueryScalar(manager.registerDb(), "select id from jxc_xtzt where zt_sn = '100001'").toLongLong();
    TF_Ztgl_Add dialog(settings, manager.registerDb(), clock, state.UiFontSize, notices, builtIn);
    EXPECT_FALSE(dialog.rbForbid->isEnabled());
}

TEST_F(AccountSetTest, DeleteRefusalsInOrderThenDataBeforeRow)
{
    ASSERT_TRUE(create("second").ok());
    ASSERT_TRUE(create("third").ok());
    RunSql(reg(), "update jxc_xtzt set zt_default = 0");
    RunSql(reg(), "update jxc_xtzt set zt_default = 1 where zt_sn = '100002'");
    auto row = [this](const char *sn) {
        return ReadAccountSet(reg(), regValue("select id from jxc_xtzt where zt_sn = ?", {sn}).toLongLong());
    };
    EXPECT_EQ(AccountSetDeleteRefusal(row("100002"), "jxc.db"), QStringLiteral("默认帐套不能删除！"));
    EXPECT_EQ(AccountSetDeleteRefusal(row("100001"), "jxc_100003.db"), QStringLiteral("系统内置帐套不能删除！"));
    EXPECT_EQ(AccountSetDeleteRefusal(row("100003"), "jxc_100003.db"), QStringLiteral("该帐套为当前正在使用帐套，不能删除！"));
    data->CloseAccountSetRegister();

    TF_Ztgl manager(settings, state, clock, notices, files);
    ASSERT_TRUE(manager.grid->locate("zt_sn", "100003"));
    notices.script({Notices::Answer::No});
    manager.btnDel->click();
    EXPECT_EQ(notices.last(),
              QStringLiteral("删除帐套后，该帐套所包含的数据也将一起被删除，\r\n\r\n确定要删除所选的帐套信息吗？"));
    EXPECT_TRUE(DatabaseExists(settings, "jxc_100003.db"));
    EXPECT_EQ(manager.grid->rowCount(), 3);
    // The presence mark a session left beside the file goes with it.
    const QString mark = PresenceFilePath(DatabaseTarget(settings, "jxc_100003.db"));
    if (settings.kind == DbKind::Sqlite)
        QFile(mark).open(QIODevice::WriteOnly);
    notices.script({Notices::Answer::Yes});
    manager.btnDel->click();
    EXPECT_FALSE(DatabaseExists(settings, "jxc_100003.db"));
    EXPECT_FALSE(QFile::exists(mark));
    EXPECT_EQ(manager.grid->rowCount(), 2);
    EXPECT_EQ(manager.grid->footerText("zt_sn"), QStringLiteral("记录数:2"));
}

TEST_F(AccountSetTest, RestoreOfTheSetInUseIsRefusedInTheManager)
{
    TF_Ztgl manager(settings, state, clock, notices, files);
    ASSERT_TRUE(manager.grid->locate("zt_sn", "100001"));
    manager.backupMenu->actions().at(1)->trigger();
    EXPECT_EQ(notices.last(), QStringLiteral("该帐套为当前正在使用帐套，请在软件“系统维护”窗口，\r\n\r\n打开“备份恢复数据”窗口进行恢复操作！"));
}

// ---- TF_Backup ----

TEST_F(AccountSetTest, BackupPageRefusesAnEmptyFolderAndStoresBeforeTestingIt)
{
    auto screen = backupScreen();
    screen->edPath->clear();
    screen->btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份路径必须填写！"));
    EXPECT_EQ(count("select count(*) from jxc_backup"), "0");

    const QString missing = home.filePath("nowhere");
    screen->edPath->setText(missing);
    screen->btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份失败，文件夹不存在！"));
    EXPECT_EQ(count("select back_path from jxc_backup"), missing);
}

TEST_F(AccountSetTest, BackupPageNamesTheFileAfterTheSetWithOrWithoutSlash)
{
    auto screen = backupScreen();
    const QString expected = backups + QStringLiteral("/分店24_03_05_14_07_09.DAT");
    for (const QString &typed : {backups, backups + "/"}) {
        QFile::remove(expected);
        screen->edPath->setText(typed);
        screen->btnOK->click();
        EXPECT_EQ(notices.last(), QStringLiteral("备份完成！"));
        EXPECT_TRUE(QFile::exists(expected)) << typed.toStdString();
        EXPECT_EQ(screen->pbBackup->value(), 100);
    }
}

TEST_F(AccountSetTest, StoredDaysOutsideTheListShowSeven)
{
    for (const auto &c : QList<QPair<int, QString>>{{30, "7"}, {15, "15"}, {5, "5"}}) {
        RunSql(db(), "delete from jxc_backup");
        RunSql(db(), "insert into jxc_backup (back_auto, back_sj, back_days, back_path, back_exit) values (0, 2, ?, 'x', 0)",
               {c.first});
        auto screen = backupScreen();
        EXPECT_EQ(screen->cbDays->currentText(), c.second) << c.first;
        EXPECT_FALSE(screen->spHours->isEnabled());
    }
}

TEST_F(AccountSetTest, AutomaticBackupStartsAndStopsTheTimer)
{
    auto screen = backupScreen();
    screen->edPath->setText(backups);
    screen->chkAuto->setChecked(true);
    EXPECT_TRUE(screen->spHours->isEnabled());
    screen->spHours->setValue(3);
    screen->btnOK->click();
    EXPECT_EQ(state.BackupAuto, "1");
    EXPECT_EQ(timerHours, 3);
    EXPECT_EQ(BackupTimerInterval(timerHours), 10800000);
    screen->chkAuto->setChecked(false);
    screen->btnOK->click();
    EXPECT_EQ(state.BackupAuto, "0");
    EXPECT_EQ(timerHours, 0);
    EXPECT_EQ(count("select back_auto from jxc_backup"), "0");
}

TEST_F(AccountSetTest, LongFoldersAreStoredUpTo200Characters)
{
    QString folder = backups + "/";
    while (folder.size() < 150)
        folder += "d";
    ASSERT_TRUE(QDir().mkpath(folder));
    auto screen = backupScreen();
    screen->edPath->setText(folder);
    screen->btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份完成！"));
    EXPECT_EQ(count("select back_path from jxc_backup"), folder);
    screen->edPath->setText(QString(201, 'x'));
    screen->btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份路径不能超过200个字符！"));
    EXPECT_EQ(count("select back_path from jxc_backup"), folder);
}

TEST_F(AccountSetTest, EscapeHidesTheInformationPanelFirst)
{
    auto screen = backupScreen();
    screen->show();
    screen->btnInfo->click();
    EXPECT_TRUE(screen->pnlInfo->isVisible());
    QTest::keyClick(screen->edPath, Qt::Key_Escape);
    EXPECT_FALSE(screen->pnlInfo->isVisible());
    EXPECT_TRUE(screen->isVisible());
    QTest::keyClick(screen->edPath, Qt::Key_Escape);
    EXPECT_FALSE(screen->isVisible());
}

// ---- Restore ----

// The files of the backup folder other than the backups themselves (nothing may be written
// beside a backup: no "-shm", "-wal" or "-journal").
QStringList BesideBackups(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("*-shm"), QStringLiteral("*-wal"), QStringLiteral("*-journal")},
                                  QDir::Files | QDir::Hidden);
}

QByteArray FileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST_F(AccountSetTest, RestoreReplacesTheSetInUseAndReloadsTheParameters)
{
    const QString file = makeBackup();
    const QByteArray backupBytes = FileBytes(file);
    RunSql(db(), "insert into jxc_goods (g_sn, g_name) values ('G1', 'goods')");
    const QString before = count("select cs_xsws from jxc_xtcs");
    RunSql(db(), "update jxc_xtcs set cs_xsws = 3");
    LoadSysParams(db(), state, clock);
    ASSERT_EQ(state.PriceDecimals, 3);

    auto screen = backupScreen();
    screen->pages->setCurrentIndex(1);
    files.script({file});
    screen->btnFile->click();
    EXPECT_EQ(files.filters.last(), QStringLiteral("(*.dat) (*.dat);;(*.*) (*)"));
    EXPECT_EQ(screen->edFile->text(), file);
    screen->btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("恢复完成！"));
    EXPECT_EQ(count("select count(*) from jxc_goods where g_sn = 'G1'"), "0");
    EXPECT_EQ(count("select cs_xsws from jxc_xtcs"), before);
    EXPECT_EQ(state.PriceDecimals, 2);
    EXPECT_EQ(screen->pbRestore->value(), 100);
    EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(',').toStdString();
    // The user's backup is only read: unchanged, and nothing written beside it.
    EXPECT_EQ(BesideBackups(backups), QStringList());
    EXPECT_EQ(FileBytes(file), backupBytes);
    // Changing page clears the file box and the bar.
    screen->pages->setCurrentIndex(0);
    screen->pages->setCurrentIndex(1);
    EXPECT_EQ(screen->edFile->text(), QString());
    EXPECT_EQ(screen->pbRestore->value(), 0);
}

TEST_F(AccountSetTest, FilesThatAreNotBackupsChangeNothing)
{
    const QString good = makeBackup();
    RunSql(db(), "insert into jxc_goods (g_sn, g_name) values ('G1', 'goods')");
    auto write = [this](const QString &name, const QByteArray &bytes) {
        const QString path = QDir(backups).filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    };
    QFile source(good);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray whole = source.readAll();
    const QString unrelated = QDir(backups).filePath("other.DAT");
    {
        QSqlDatabase o = QSqlDatabase::addDatabase("QSQLITE", "acct_unrelated");
        o.setDatabaseName(unrelated);
        ASSERT_TRUE(o.open());
        QSqlQuery(o).exec("create table t (a int)");
        o.close();
    }
    QSqlDatabase::removeDatabase("acct_unrelated");
    const QStringList refused{write("empty.DAT", {}), write("text.DAT", "just some text\n"), unrelated,
                              write("half.DAT", whole.left(whole.size() / 2))};
    for (const QString &file : refused) {
        const BackupOutcome out = RestoreSetInUse(context(), file);
        EXPECT_FALSE(out.ok) << file.toStdString();
        EXPECT_EQ(out.text, QStringLiteral("所选文件不是本系统的帐套备份文件，不能恢复！")) << file.toStdString();
        EXPECT_EQ(count("select count(*) from jxc_goods where g_sn = 'G1'"), "1");
        EXPECT_TRUE(temporaryFiles().isEmpty()) << temporaryFiles().join(',').toStdString();
    }
    EXPECT_EQ(RestoreSetInUse(context(), " ").text, QStringLiteral("恢复路径必须填写！"));
}

TEST_F(AccountSetTest, RestoreLeavesThePlannerStatisticsOfTheRestoredData)
{
    for (int i = 0; i < 60; ++i)
        RunSql(db(), "insert into jxc_goods (g_sn, g_name) values (?, ?)",
               {QStringLiteral("S%1").arg(i), QStringLiteral("goods %1").arg(i)});
    const bool sqlite = settings.kind == DbKind::Sqlite;
    // The backup carries no statistics of its own: whatever the restore leaves, it made.
    if (sqlite && count("select count(*) from sqlite_master where name = 'sqlite_stat1'") != "0")
        RunSql(db(), "delete from sqlite_stat1");
    const QString file = makeBackup();
    ASSERT_TRUE(RestoreSetInUse(context(), file).ok);
    if (sqlite) {
        EXPECT_NE(count("select count(*) from sqlite_stat1 where tbl = 'jxc_goods'"), "0");
    } else {
        EXPECT_GE(count("select reltuples from pg_class where relname = 'jxc_goods' and relkind = 'r'").toDouble(),
                  60.0);
    }
}

TEST_F(AccountSetTest, OldBackupRestoresAndGainsTheColumnsOfLaterVersions)
{
    const QString file = makeBackup();
    {
        QSqlDatabase o = QSqlDatabase::addDatabase("QSQLITE", "acct_old");
        o.setDatabaseName(file);
        ASSERT_TRUE(o.open());
        QSqlQuery q(o);
        ASSERT_TRUE(q.exec("alter table jxc_company drop column c_note"));
        ASSERT_TRUE(q.exec("update jxc_xtcs set cs_employdate = ''"));
        o.close();
    }
    QSqlDatabase::removeDatabase("acct_old");
    const BackupOutcome out = RestoreSetInUse(context(), file);
    EXPECT_TRUE(out.ok) << out.text.toStdString();
    EXPECT_TRUE(ColumnExists(db(), "jxc_company", "c_note"));
    EXPECT_FALSE(count("select cs_employdate from jxc_xtcs").isEmpty());
}

TEST_F(AccountSetTest, PerSetDialogsWorkOnTheManagersRowOnly)
{
    ASSERT_TRUE(create(QStringLiteral("分店")).ok());
    {
        QSqlDatabase other = OpenConnection(settings, "jxc_100002.db", "acct_fill");
        RunSql(other, "insert into jxc_goods (g_sn, g_name) values ('B1', 'branch')");
    }
    CloseConnection("acct_fill");
    TF_Ztgl manager(settings, state, clock, notices, files);
    ASSERT_TRUE(manager.grid->locate("zt_sn", "100002"));
    const AccountSetRow row = ReadAccountSet(manager.registerDb(), manager.grid->currentValue("id").toLongLong());

    TF_Ztgl_BackUp backup(settings, clock, state.UiFontSize, notices, files, row);
    EXPECT_EQ(backup.windowTitle(), QStringLiteral("帐套数据备份到文件"));
    EXPECT_EQ(backup.lbName->text(), QStringLiteral("分店"));
    backup.edPath->setText(home.filePath("nowhere"));
    backup.btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份失败，文件夹不存在！"));
    backup.edPath->setText(backups);
    backup.btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("备份完成！"));
    const QString file = backups + QStringLiteral("/分店24_03_05_14_07_09.DAT");
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(count("select count(*) from jxc_backup"), "0");

    {
        QSqlDatabase other = OpenConnection(settings, "jxc_100002.db", "acct_fill");
        RunSql(other, "delete from jxc_goods where g_sn = 'B1'");
    }
    CloseConnection("acct_fill");
    RunSql(db(), "insert into jxc_goods (g_sn, g_name) values ('M1', 'main')");
    TF_Ztgl_Restore restore(settings, clock, state.UiFontSize, notices, files, row);
    EXPECT_EQ(restore.windowTitle(), QStringLiteral("从备份文件恢复帐套数据"));
    files.script({file});
    restore.btnPath->click();
    restore.btnOK->click();
    EXPECT_EQ(notices.last(), QStringLiteral("恢复完成！"));
    EXPECT_EQ(inSet("jxc_100002.db", "select count(*) from jxc_goods where g_sn = 'B1'"), "1");
    EXPECT_EQ(count("select count(*) from jxc_goods where g_sn = 'M1'"), "1");
    EXPECT_EQ(count("select count(*) from jxc_goods where g_sn = 'B1'"), "0");
    EXPECT_EQ(BesideBackups(backups), QStringList());
}

TEST_F(AccountSetTest, BackupsCrossBetweenTheTwoKindsOfDatabase)
{
    if (settings.kind != DbKind::Postgres)
        GTEST_SKIP() << "needs the PostgreSQL server";
    ConnectionSettings lite;
    lite.kind = DbKind::Sqlite;
    lite.dataFolder = home.filePath("lite");
    QDir().mkpath(lite.dataFolder);
    CreateEmptyDatabase(lite, "jxc.db");
    {
        QSqlDatabase l = OpenConnection(lite, "jxc.db", "acct_lite");
        CreateAllTables(l, clock);
        RunSql(l, "insert into jxc_goods (g_sn, g_name, g_jj) values ('L1', 'lite', 2.5)");
        RunSql(l, "insert into jxc_log (log_time, a_name, log_note) values ('2024-03-05 10:00:00', 'admin', 'lite')");
    }
    CloseConnection("acct_lite");
    RunSql(db(), "insert into jxc_goods (g_sn, g_name, g_jj) values ('P1', 'pg', 1.25)");

    const QString fromLite = QDir(backups).filePath("lite.DAT");
    const QString fromPg = QDir(backups).filePath("pg.DAT");
    WriteBackupFile(lite, "jxc.db", fromLite);
    WriteBackupFile(settings, "jxc.db", fromPg);

    auto counts = [](const QSqlDatabase &d) {
        QStringList out;
        for (const QString &t : {"jxc_goods", "jxc_log", "jxc_admin", "jxc_role", "jxc_xtcs", "jxc_ckxx"})
            out << t + "=" + QueryScalar(d, QStringLiteral("select count(*) from ") + t);
        return out;
    };
    QStringList liteCounts, pgCounts;
    {
        QSqlDatabase l = OpenConnection(lite, "jxc.db", "acct_lite");
        liteCounts = counts(l);
    }
    CloseConnection("acct_lite");
    pgCounts = counts(db());

    // The SQLite backup into the PostgreSQL set, and the PostgreSQL backup into the SQLite set.
    EXPECT_TRUE(RestoreSetInUse(context(), fromLite).ok);
    EXPECT_EQ(counts(db()), liteCounts);
    EXPECT_EQ(count("select g_jj from jxc_goods where g_sn = 'L1'"), "2.5");
    // New rows get ids past the restored ones.
    RunSql(db(), "insert into jxc_log (log_time, a_name, log_note) values ('2024-03-05 11:00:00', 'admin', 'next')");
    EXPECT_EQ(count("select count(distinct id) from jxc_log"), count("select count(*) from jxc_log"));

    EXPECT_TRUE(RestoreAccountSet(lite, "jxc.db", fromPg).ok);
    {
        QSqlDatabase l = OpenConnection(lite, "jxc.db", "acct_lite");
        EXPECT_EQ(counts(l), pgCounts);
        EXPECT_EQ(QueryScalar(l, "select g_jj from jxc_goods where g_sn = 'P1'"), "1.25");
    }
    CloseConnection("acct_lite");
}

} // namespace
