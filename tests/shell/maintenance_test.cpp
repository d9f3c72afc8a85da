// The maintenance board "系统维护" with its six tests, and the data clean-up: backup first,
// either way of emptying the set all or nothing, never under another workstation, and the
// parameters reloaded after it.

#include "foreignsession.h"
#include "setfixture.h"

#include "shell/datacleanup.h"
#include "shell/forms/sjql.h"
#include "shell/forms/xtwh.h"
#include "shell/loginsequence.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QSqlError>
#include <QTemporaryDir>
#include <QToolButton>

namespace {

const QStringList kBoardScreens = {QStringLiteral("TF_Bbsj"), QStringLiteral("TF_Nzjs"), QStringLiteral("TF_ViewLog"),
                                   QStringLiteral("TF_Sjql"), QStringLiteral("TF_Tmdy"), QStringLiteral("TF_Ztgl")};

// Every qtcz right but position `missing` (0: all of them).
QString rightsWithout(int missing)
{
    QString rights(60, QLatin1Char('1'));
    if (missing > 0)
        rights[missing - 1] = QLatin1Char('0');
    return rights;
}

class MaintenanceTest : public SetTest
{
protected:
    void clickBoard(const QString &button)
    {
        opened.clear();
        notices.shown.clear();
        TF_Xtwh board(context());
        board.show();
        QTest::mouseClick(board.button(button), Qt::LeftButton);
    }
};

TEST_F(MaintenanceTest, BoardTestsEachButtonBeforeItOpensTheScreen)
{
    for (const QString &c : kBoardScreens)
        installDouble(c);
    struct Case
    {
        const char *button;
        const char *screen;
        int right;  // 0: administrator only
        const char *refusal;
    };
    const QList<Case> cases = {
        {"btnBbsj", "TF_Bbsj", 19, "您没有权限进行报表设计！"},  {"btnNzjs", "TF_Nzjs", 0, nullptr},
        {"btnViewLog", "TF_ViewLog", 10, "您没有权限进行查看日志！"}, {"btnSjql", "TF_Sjql", 0, nullptr},
        {"btnTmdy", "TF_Tmdy", 14, "您没有权限进行条码打印！"},  {"btnZtgl", "TF_Ztgl", 13, "您没有权限进行帐套管理！"},
    };
    RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_jyt) values ('100002', 'wang', '100002', 0)"));
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        RunSql(db(), QStringLiteral("delete from jxc_role where r_sn = '100002'"));
        // Every right but this button's: refused (the role tests refuse any other role).
        addRole(rightsWithout(c.right));
        login(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
        clickBoard(QString::fromLatin1(c.button));
        EXPECT_TRUE(opened.isEmpty());
        EXPECT_EQ(notices.texts(), QStringList{c.refusal ? QString::fromUtf8(c.refusal)
                                                          : QStringLiteral("只有系统管理员才能使用此功能！")});
        if (c.right > 0) {
            // Holding the right opens the screen.
            RunSql(db(), QStringLiteral("update jxc_role set qtcz = ? where r_sn = '100002'"), {rightsWithout(0)});
            clickBoard(QString::fromLatin1(c.button));
            EXPECT_EQ(opened, QStringList{QString::fromLatin1(c.screen)});
            EXPECT_TRUE(notices.shown.isEmpty());
            // Bound to warehouses but owning none: no right at all.
            setParam(QStringLiteral("cs_cgyh"), 1);
            login(QStringLiteral("wang"), QStringLiteral("100002"), QStringLiteral("100002"));
            clickBoard(QString::fromLatin1(c.button));
            EXPECT_TRUE(opened.isEmpty());
            EXPECT_EQ(notices.last(), QString::fromUtf8(c.refusal));
            setParam(QStringLiteral("cs_cgyh"), 0);
        }
        // The administrator opens every screen.
        login(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
        clickBoard(QString::fromLatin1(c.button));
        EXPECT_EQ(opened, QStringList{QString::fromLatin1(c.screen)});
    }
}

class CleanupTest : public SetTest
{
protected:
    void SetUp() override
    {
        SetTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        InsertRow(db(), QStringLiteral("jxc_goods"), {{QStringLiteral("g_sn"), QStringLiteral("G0001")},
                                                     {QStringLiteral("g_name"), QStringLiteral("商品G")},
                                                     {QStringLiteral("g_kc"), 5},
                                                     {QStringLiteral("ghs_sn"), QStringLiteral("100009")}});
        InsertRow(db(), QStringLiteral("jxc_kcsp"), {{QStringLiteral("g_sn"), QStringLiteral("G0001")},
                                                    {QStringLiteral("ck_sn"), QStringLiteral("100001")},
                                                    {QStringLiteral("kc_sl"), 5}});
        InsertRow(db(), QStringLiteral("jxc_jhd"), {{QStringLiteral("gl_djh"), QStringLiteral("CJ24030810001")}});
        InsertRow(db(), QStringLiteral("jxc_jhsp"), {{QStringLiteral("gl_djh"), QStringLiteral("CJ24030810001")},
                                                    {QStringLiteral("g_sn"), QStringLiteral("G0001")}});
        InsertRow(db(), QStringLiteral("jxc_lsxsd"), {{QStringLiteral("gl_djh"), QStringLiteral("XS24030810001")}});
        InsertRow(db(), QStringLiteral("jxc_log"), {{QStringLiteral("log_note"), QStringLiteral("登录系统")}});
        RunSql(db(), QStringLiteral("update jxc_admin set a_pwd = 'secret' where a_name = 'admin'"));
        RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_jyt) values ('100002', 'wang', '100002', 0)"));
        addRole(rightsWithout(0));
        setParam(QStringLiteral("cs_xsws"), 3);
        login(QStringLiteral("admin"), QStringLiteral("100001"), QStringLiteral("100001"));
        ASSERT_EQ(state.PriceDecimals, 3);
    }
    CleanupContext cleanupContext(const QString &folder)
    {
        CleanupContext c;
        c.data = data.get();
        c.state = &state;
        c.clock = &clock;
        c.programFolder = folder;
        return c;
    }
    QString count(const QString &table) const { return scalar(QStringLiteral("select count(*) from %1").arg(table)); }
    // The tables a clean-up touches, as they stand.
    QString everything() const
    {
        QStringList out;
        for (const char *t : {"jxc_goods", "jxc_kcsp", "jxc_jhd", "jxc_jhsp", "jxc_lsxsd", "jxc_log", "jxc_admin",
                              "jxc_role", "jxc_xtcs", "jxc_ckxx", "jxc_khxx"})
            out << QString::fromLatin1(t) + QLatin1Char('=') + count(QString::fromLatin1(t));
        out << scalar(QStringLiteral("select g_kc || ghs_sn from jxc_goods where g_sn = 'G0001'"));
        out << scalar(QStringLiteral("select a_pwd from jxc_admin where a_name = 'admin'"));
        out << scalar(QStringLiteral("select cs_xsws from jxc_xtcs"));
        return out.join(QLatin1Char(' '));
    }

    QTemporaryDir folder;
};

TEST_F(CleanupTest, BackupFirstAndNoToTheDeletionKeepsEverything)
{
    const QString before = everything();
    notices.script({Notices::Answer::Yes, Notices::Answer::No});
    EXPECT_EQ(RunDataCleanup(cleanupContext(folder.path()), CleanupMode::DeleteAll, notices), CleanupOutcome::Declined);
    const QString backup = folder.filePath(QStringLiteral("演示帐套24_03_08_10_20_30.DAT"));
    EXPECT_EQ(notices.texts(),
              (QStringList{QStringLiteral("系统初始化之前建议先备份数据库，现在是否备份数据库？"),
                           QStringLiteral("备份成功！备份文件保存在") + backup, QStringLiteral("是否要删除所有营业数据？")}));
    EXPECT_EQ(everything(), before);
    {
        QSqlDatabase copy = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("cleanup_backup"));
        copy.setDatabaseName(backup);
        ASSERT_TRUE(copy.open()) << copy.lastError().text().toStdString();
        EXPECT_EQ(QueryScalar(copy, QStringLiteral("select count(*) from jxc_jhd")), QStringLiteral("1"));
        EXPECT_EQ(QueryScalar(copy, QStringLiteral("select g_kc from jxc_goods where g_sn = 'G0001'")), QStringLiteral("5"));
        copy.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("cleanup_backup"));

    // A program folder that cannot be written: no deletion, the form stays.
    notices.shown.clear();
    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    EXPECT_EQ(RunDataCleanup(cleanupContext(QStringLiteral("/proc/no-such-folder")), CleanupMode::DeleteAll, notices),
              CleanupOutcome::Failed);
    ASSERT_EQ(notices.shown.size(), 2);
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("备份失败！"))) << notices.last().toStdString();
    EXPECT_EQ(everything(), before);
}

TEST_F(CleanupTest, KeepingBasicDataEmptiesDocumentsStockAndLog)
{
    const QString admins = scalar(QStringLiteral("select count(*) || max(a_pwd) from jxc_admin"));
    const QString params = scalar(QStringLiteral("select cs_xsws || '/' || cs_cs031 || '/' || cs_tx from jxc_xtcs"));
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    EXPECT_EQ(RunDataCleanup(cleanupContext(folder.path()), CleanupMode::KeepBasicData, notices), CleanupOutcome::Done);
    EXPECT_EQ(notices.last(), QStringLiteral("删除完成！"));
    EXPECT_EQ(notices.shown.size(), 3);
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_goods where g_kc <> 0 or ghs_sn <> '100001'")),
              QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_goods where g_sn = 'G0001'")), QStringLiteral("1"));
    for (const char *t : {"jxc_kcsp", "jxc_jhd", "jxc_jhsp", "jxc_lsxsd", "jxc_log"})
        EXPECT_EQ(count(QString::fromLatin1(t)), QStringLiteral("0")) << t;
    EXPECT_EQ(scalar(QStringLiteral("select count(*) || max(a_pwd) from jxc_admin")), admins);
    EXPECT_EQ(count(QStringLiteral("jxc_role")), QStringLiteral("2"));
    EXPECT_EQ(scalar(QStringLiteral("select cs_xsws || '/' || cs_cs031 || '/' || cs_tx from jxc_xtcs")), params);
    EXPECT_EQ(state.PriceDecimals, 3);
    EXPECT_EQ(state.CurrentOperatorName, QStringLiteral("admin"));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());
}

TEST_F(CleanupTest, DeletingAllDataLeavesTheBuiltInRecords)
{
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    EXPECT_EQ(RunDataCleanup(cleanupContext(folder.path()), CleanupMode::DeleteAll, notices), CleanupOutcome::Done);
    EXPECT_EQ(notices.last(), QStringLiteral("删除完成！"));
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_goods where g_sn = 'G0001'")), QStringLiteral("0"));
    for (const char *t : {"jxc_kcsp", "jxc_jhd", "jxc_log"})
        EXPECT_EQ(count(QString::fromLatin1(t)), QStringLiteral("0")) << t;
    EXPECT_EQ(count(QStringLiteral("jxc_role")), QStringLiteral("1"));
    EXPECT_EQ(scalar(QStringLiteral("select a_name from jxc_admin")), QStringLiteral("admin"));
    EXPECT_TRUE(StoredPasswordIsEmpty(db(), QStringLiteral("admin")));
    EXPECT_EQ(scalar(QStringLiteral("select cs_xsws from jxc_xtcs")), QStringLiteral("2"));
    EXPECT_EQ(state.PriceDecimals, 2);  // reloaded
    EXPECT_EQ(state.CurrentOperatorName, QStringLiteral("admin"));
    // The main connection reads the new tables at once.
    EXPECT_EQ(scalar(QStringLiteral("select count(*) from jxc_khxx")), QStringLiteral("1"));
}

TEST_F(CleanupTest, AFailureHalfwayLeavesTheSetAsItWas)
{
    const QString before = everything();
    for (const CleanupMode mode : {CleanupMode::KeepBasicData, CleanupMode::DeleteAll}) {
        SCOPED_TRACE(mode == CleanupMode::KeepBasicData ? "keep basic data" : "delete all");
        notices.shown.clear();
        notices.script({Notices::Answer::No, Notices::Answer::Yes});
        CleanupContext c = cleanupContext(folder.path());
        c.connectionOpened = [](const QSqlDatabase &own) { InjectStatementFailure(own, 120); };
        EXPECT_EQ(RunDataCleanup(c, mode, notices), CleanupOutcome::Failed);
        EXPECT_TRUE(notices.last().startsWith(QStringLiteral("系统初始化失败："))) << notices.last().toStdString();
        EXPECT_EQ(everything(), before);
        EXPECT_EQ(state.PriceDecimals, 3);
    }
}

TEST_F(CleanupTest, AnotherWorkstationOnTheSetIsRefusedBeforeAnyQuestion)
{
    const QString before = everything();
    ForeignSession other(testDb().fileName(), QStringLiteral("cleanup_foreign"));
    ASSERT_TRUE(other.ok());
    TF_Sjql form(cleanupContext(folder.path()), notices);
    form.show();
    PressKey(&form, Qt::Key_F5);
    EXPECT_EQ(notices.texts(), QStringList{CleanupRefusalText()});
    EXPECT_EQ(CleanupRefusalText(),
              QStringLiteral("当前帐套正在被其他工作站使用，不能进行系统初始化！\r\n\r\n请其他工作站退出本系统后再操作。"));
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(everything(), before);
}

TEST_F(CleanupTest, APostgresLockNotGrantedEndsAsAFailureNotAHang)
{
    if (TestDbKind() != DbKind::Postgres)
        GTEST_SKIP() << "SQLite writers wait for the busy timeout instead";
    // A kept screen of this process reading inside a transaction holds its table.
    QSqlDatabase reader = testDb().openSecondConnection();
    ASSERT_TRUE(reader.transaction());
    QueryScalar(reader, QStringLiteral("select count(*) from jxc_log"));
    const QString before = everything();
    notices.script({Notices::Answer::No, Notices::Answer::Yes});
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(RunDataCleanup(cleanupContext(folder.path()), CleanupMode::KeepBasicData, notices), CleanupOutcome::Failed);
    EXPECT_LT(t.elapsed(), 15000);
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("系统初始化失败："))) << notices.last().toStdString();
    reader.rollback();
    EXPECT_EQ(everything(), before);
}

} // namespace
