// The login: the lists it offers, the password test, the steps of a successful login, and what
// closing it does in each mode.

#include "shellfixture.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/oplog.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/forms/login.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QtTest/QTest>

namespace {

class LoginTest : public ShellTest
{
protected:
    std::unique_ptr<TF_Login> openLogin(LoginMode mode)
    {
        auto login = std::make_unique<TF_Login>(*data, state, clock, notices, mode);
        login->setTerminate([this] { ++terminated; });
        login->show();
        return login;
    }

    QStringList items(QComboBox *box)
    {
        QStringList out;
        for (int i = 0; i < box->count(); ++i)
            out << box->itemText(i);
        return out;
    }

    // The register lists 主帐套 (jxc.db, default) and 分店 (jxc_100002.db); admin has logged in
    // to 主帐套.
    void twoSetsAndAFirstLogin()
    {
        makeAccountSet(QStringLiteral("jxc_100002.db"));
        setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 1, 0},
                     {QStringLiteral("100002"), QStringLiteral("分店"), QStringLiteral("jxc_100002.db"), 0, 0}});
        auto first = openLogin(LoginMode::StartUp);
        first->btnOKClick();
        EXPECT_TRUE(first->loggedIn());
    }

    int logRows(const QString &note)
    {
        return count(QStringLiteral("select count(*) from jxc_log where log_note = ?"), {note}).toInt();
    }
};

TEST_F(LoginTest, FreshFolderLogsAdminInWithEmptyPassword)
{
    auto login = openLogin(LoginMode::StartUp);
    EXPECT_EQ(login->windowTitle(), QStringLiteral("CorvelBrivant管理系统 ---- 操作员登录"));
    EXPECT_EQ(items(login->comZt()), QStringList{QStringLiteral("主帐套")});
    EXPECT_EQ(items(login->comAdmin()), QStringList{QStringLiteral("admin")});
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("初始密码为空"));
    EXPECT_EQ(login->tpwd2()->echoMode(), QLineEdit::Password);

    QTest::keyClick(login->tpwd2(), Qt::Key_Return);
    QTest::keyClick(login->tpwd2(), Qt::Key_Return);  // a second Enter logs nobody in again

    EXPECT_TRUE(login->loggedIn());
    EXPECT_FALSE(login->isVisible());
    EXPECT_FALSE(login->btnOK()->isEnabled());
    EXPECT_EQ(terminated, 0);
    EXPECT_EQ(state.CurrentOperatorName, QStringLiteral("admin"));
    EXPECT_EQ(state.CurrentOperatorSn, QStringLiteral("100001"));
    EXPECT_EQ(state.CurrentRoleSn, QStringLiteral("100001"));
    EXPECT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc.db"));
    EXPECT_EQ(state.CurrentAccountSetName, QStringLiteral("主帐套"));
    EXPECT_EQ(data->mainFileName(), QStringLiteral("jxc.db"));

    QSqlQuery rows = OpenSelect(db(), QStringLiteral("select a_name, log_note, log_time from jxc_log"));
    ASSERT_TRUE(rows.next());
    EXPECT_EQ(rows.value(0).toString(), QStringLiteral("admin"));
    EXPECT_EQ(rows.value(1).toString(), QStringLiteral("登录系统"));
    EXPECT_EQ(rows.value(2).toString(), QStringLiteral("2024-03-05 14:07:09"));
    EXPECT_FALSE(rows.next());
    EXPECT_EQ(count(QStringLiteral("select cs_employdate from jxc_xtcs")), QStringLiteral("2023-10-01"));
    // The parameters were loaded.
    EXPECT_FALSE(state.CompanyShortName.isEmpty());
}

TEST_F(LoginTest, ListsUsableSetsDefaultFirstAndEnabledOperatorsOnly)
{
    makeAccountSet(QStringLiteral("jxc_100003.db"));
    setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 0, 0},
                 {QStringLiteral("100002"), QStringLiteral("停用帐套"), QStringLiteral("jxc.db"), 0, 1},
                 {QStringLiteral("100003"), QStringLiteral("分店"), QStringLiteral("jxc_100003.db"), 1, 0}});
    RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_pwd, a_jyt) values (?, ?, ?, ?, ?)"),
           {QStringLiteral("100002"), QStringLiteral("wang"), QStringLiteral("100001"), QStringLiteral("1"), 0});
    RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn, a_pwd, a_jyt) values (?, ?, ?, ?, ?)"),
           {QStringLiteral("100003"), QStringLiteral("li"), QStringLiteral("100001"), QString(), 1});

    auto login = openLogin(LoginMode::StartUp);
    EXPECT_EQ(items(login->comZt()), (QStringList{QStringLiteral("分店"), QStringLiteral("主帐套")}));
    EXPECT_EQ(login->comZt()->currentData().toString(), QStringLiteral("jxc_100003.db"));
    EXPECT_EQ(items(login->comAdmin()), QStringList{QStringLiteral("admin")});  // the other set's operators

    login->comZt()->setCurrentIndex(1);
    EXPECT_EQ(items(login->comAdmin()), (QStringList{QStringLiteral("admin"), QStringLiteral("wang")}));
    EXPECT_EQ(login->comAdmin()->itemData(1).toString(), QStringLiteral("100002"));
    login->comAdmin()->setCurrentIndex(1);
    EXPECT_TRUE(login->lMsg()->text().isEmpty());  // wang has a password
}

TEST_F(LoginTest, PasswordIsComparedTrimmedSanitisedAndWithoutLetterCase)
{
    struct Case
    {
        const char *stored;
        const char *typed;
        bool accepted;
    };
    const Case cases[] = {
        {"Ab(1)-x/y", "Ab(1)-x/y", true},
        {"Ab(1)-x/y", "ab(1)-X/Y", true},
        {"Ab(1)-x/y", "  Ab(1)-x/y  ", true},
        {"Ab(1)-x/y", "Ab(1)-x", false},
        {"a？b", "a?b", true},
        {"", "", true},
        {"", "' or '1'='1", false},
        {"secret", "' or '1'='1", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.stored) + " / " + c.typed);
        RunSql(db(), QStringLiteral("delete from jxc_log"));
        RunSql(db(), QStringLiteral("update jxc_admin set a_pwd = ? where a_name = 'admin'"),
               {QString::fromUtf8(c.stored)});
        notices.shown.clear();
        state = LoginState();
        auto login = openLogin(LoginMode::StartUp);
        login->tpwd2()->setText(QString::fromUtf8(c.typed));
        login->btnOKClick();
        if (c.accepted) {
            EXPECT_TRUE(login->loggedIn());
            EXPECT_TRUE(notices.shown.isEmpty());
            EXPECT_EQ(logRows(QStringLiteral("登录系统")), 1);
        } else {
            EXPECT_FALSE(login->loggedIn());
            ASSERT_EQ(notices.shown.size(), 1);
            EXPECT_EQ(notices.shown[0].kind, ScriptedNotices::Kind::Notice);
            EXPECT_EQ(notices.last(), QStringLiteral("用户密码不正确，请重新输入！"));
            EXPECT_TRUE(login->tpwd2()->text().isEmpty());
            EXPECT_TRUE(login->isVisible());
            EXPECT_TRUE(login->btnOK()->isEnabled());
            EXPECT_EQ(logRows(QStringLiteral("登录系统")), 0);
            EXPECT_TRUE(state.CurrentOperatorName.isEmpty());
            login->reject();
        }
    }
}

TEST_F(LoginTest, EscAtStartUpEndsTheProgram)
{
    auto login = openLogin(LoginMode::StartUp);
    QTest::keyClick(login->comAdmin(), Qt::Key_Escape);
    EXPECT_FALSE(login->isVisible());
    EXPECT_EQ(terminated, 1);
    EXPECT_FALSE(login->loggedIn());
}

TEST_F(LoginTest, ClosingAtStartUpEndsTheProgramToo)
{
    auto login = openLogin(LoginMode::StartUp);
    login->close();
    EXPECT_EQ(terminated, 1);
}

TEST_F(LoginTest, CancelledChangeOfOperatorKeepsTheCurrentSetOpenAndNamed)
{
    twoSetsAndAFirstLogin();
    ASSERT_TRUE(state.CurrentOperatorName == QStringLiteral("admin"));
    auto change = openLogin(LoginMode::ChangeOperator);
    change->comZt()->setCurrentIndex(1);
    EXPECT_EQ(change->comZt()->currentData().toString(), QStringLiteral("jxc_100002.db"));
    QTest::keyClick(change->tpwd2(), Qt::Key_Escape);

    EXPECT_EQ(terminated, 0);
    EXPECT_FALSE(change->isVisible());
    EXPECT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc.db"));
    EXPECT_EQ(state.CurrentAccountSetName, QStringLiteral("主帐套"));
    EXPECT_EQ(data->mainFileName(), QStringLiteral("jxc.db"));
    WriteLog(data->mainDb(), state, clock, QStringLiteral("之后的操作"));
    EXPECT_EQ(logRows(QStringLiteral("之后的操作")), 1);
    EXPECT_EQ(logRows(QStringLiteral("登录系统")), 1);
}

TEST_F(LoginTest, ChangeOfOperatorToAnotherSetMovesTheMainConnection)
{
    makeAccountSet(QStringLiteral("jxc_100002.db"));
    setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 1, 0},
                 {QStringLiteral("100002"), QStringLiteral("分店"), QStringLiteral("jxc_100002.db"), 0, 0}});
    auto login = openLogin(LoginMode::ChangeOperator);
    login->comZt()->setCurrentIndex(1);
    login->btnOKClick();
    ASSERT_TRUE(login->loggedIn());
    EXPECT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc_100002.db"));
    EXPECT_EQ(state.CurrentAccountSetName, QStringLiteral("分店"));
    EXPECT_EQ(data->mainFileName(), QStringLiteral("jxc_100002.db"));
    EXPECT_EQ(logRows(QStringLiteral("登录系统")), 1);  // in the second set
}

TEST_F(LoginTest, SetWhoseDataCannotBeOpenedOffersNoOperators)
{
    setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 0, 0},
                 {QStringLiteral("100009"), QStringLiteral("丢失帐套"), QStringLiteral("jxc_100009.db"), 1, 0}});
    auto login = openLogin(LoginMode::StartUp);
    EXPECT_EQ(login->comZt()->currentText(), QStringLiteral("丢失帐套"));
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("帐套数据无法打开！"));
    EXPECT_EQ(login->comAdmin()->count(), 0);
    login->lMsg()->clear();
    QTest::keyClick(login->tpwd2(), Qt::Key_F5);
    EXPECT_FALSE(login->loggedIn());
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("帐套数据无法打开！"));
    EXPECT_TRUE(state.CurrentOperatorName.isEmpty());
    EXPECT_TRUE(notices.shown.isEmpty());

    // The readable set shows its own operators again.
    login->comZt()->setCurrentIndex(1);
    EXPECT_EQ(login->comAdmin()->currentText(), QStringLiteral("admin"));
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("初始密码为空"));
}

TEST_F(LoginTest, RegisterWithoutUsableSetSaysSo)
{
    setRegister({{QStringLiteral("100001"), QStringLiteral("主帐套"), QStringLiteral("jxc.db"), 1, 1}});
    auto login = openLogin(LoginMode::StartUp);
    EXPECT_EQ(login->comZt()->count(), 0);
    EXPECT_EQ(login->comAdmin()->count(), 0);
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("没有可用的帐套！"));
    login->btnOKClick();
    EXPECT_FALSE(login->loggedIn());
    EXPECT_EQ(login->lMsg()->text(), QStringLiteral("没有可用的帐套！"));
}

// A change of operator to a set whose upgrade fails: the message names the step, the dialog
// stays open on the choice with 确定 enabled, the set of the current login stays open and
// named; once the cause is gone the same dialog logs in.
TEST_F(LoginTest, FailedUpgradeIsShownAndTheOperatorMayRetry)
{
    twoSetsAndAFirstLogin();
    ASSERT_TRUE(state.CurrentOperatorName == QStringLiteral("admin"));
    {
        QSqlDatabase other = OpenConnection(settings, QStringLiteral("jxc_100002.db"), QStringLiteral("login_test_other"));
        RunSql(other, QStringLiteral("drop table jxc_rklist"));  // its first login's step "2023-07-25" fails
    }
    CloseConnection(QStringLiteral("login_test_other"));
    notices = ScriptedNotices();

    auto change = openLogin(LoginMode::ChangeOperator);
    change->comZt()->setCurrentIndex(1);
    QTest::keyClick(change->tpwd2(), Qt::Key_Return);
    EXPECT_FALSE(change->loggedIn());
    EXPECT_TRUE(change->isVisible());
    EXPECT_TRUE(change->btnOK()->isEnabled());
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("帐套升级失败！\r\n步骤：升级步骤 2023-07-25\r\n")))
        << notices.last().toStdString();
    EXPECT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc.db"));
    EXPECT_EQ(data->mainFileName(), QStringLiteral("jxc.db"));

    {
        QSqlDatabase other = OpenConnection(settings, QStringLiteral("jxc_100002.db"), QStringLiteral("login_test_other"));
        CreateCatalogTable(other, QStringLiteral("jxc_rklist"), clock);
    }
    CloseConnection(QStringLiteral("login_test_other"));
    QTest::keyClick(change->tpwd2(), Qt::Key_Return);
    EXPECT_TRUE(change->loggedIn());
    EXPECT_EQ(state.CurrentAccountSetDb, QStringLiteral("jxc_100002.db"));
    EXPECT_EQ(data->mainFileName(), QStringLiteral("jxc_100002.db"));
    EXPECT_EQ(notices.shown.size(), 1);
}

// Goods codes used twice: the login goes through and says so once, under "系统提示".
TEST_F(LoginTest, SharedGoodsCodesAreShownOnceAfterTheLogin)
{
    RunSql(db(), QStringLiteral("drop index jxc_goods_sn"));
    for (const char *name : {"可乐", "雪碧"})
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name) values ('10000001', ?)"), {QString::fromUtf8(name)});
    auto login = openLogin(LoginMode::StartUp);
    QTest::keyClick(login->tpwd2(), Qt::Key_Return);
    EXPECT_TRUE(login->loggedIn());
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_EQ(notices.shown.first().kind, ScriptedNotices::Kind::Notice);
    EXPECT_TRUE(notices.last().contains(QStringLiteral("10000001：可乐、雪碧"))) << notices.last().toStdString();
}

} // namespace
