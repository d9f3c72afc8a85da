// The start sequence of the program, in-process and offscreen, on an empty program folder: the
// account sets appear, the splash says its three texts, the login takes Enter, the main window
// comes up maximized, every panel and every visible command opens something (a screen, the
// placeholder or a notice) without an error reaching the application, and Esc with Yes ends
// the program after logging the exit and writing one backup.

#include "../support/scriptednotices.h"
#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/connection.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/productconstants.h"
#include "platform/system/urlopener.h"
#include "shell/commandtable.h"
#include "shell/forms/loading.h"
#include "shell/forms/login.h"
#include "shell/forms/mainform.h"
#include "shell/forms/program.h"
#include "shell/forms/screenregistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>

namespace {

class NullOpener final : public UrlOpener
{
public:
    bool openFile(const QString &path) override
    {
        opened << path;
        return true;
    }
    bool openUrl(const QString &url) override
    {
        opened << url;
        return true;
    }
    QStringList opened;
};

class ProgramSmokeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const QString problem = TestServerProblem();
        if (!problem.isEmpty()) {
            if (!qEnvironmentVariableIsEmpty("CI"))
                FAIL() << "PostgreSQL test server not reachable: " << problem.toStdString();
            GTEST_SKIP() << "PostgreSQL test server not reachable: " << problem.toStdString();
        }
        m_oldHome = qgetenv("JXC_HOME");
        qputenv("JXC_HOME", home.path().toLocal8Bit());
        settings = TestConnectionSettings();
        settings.dataFolder = home.filePath(QStringLiteral("data"));
        if (settings.kind == DbKind::Postgres) {
            // The program reads its server from data/database.ini.
            settings.prefix += QStringLiteral("smoke%1_").arg(QCoreApplication::applicationPid());
            QDir().mkpath(settings.dataFolder);
            QSettings ini(QDir(settings.dataFolder).filePath(QStringLiteral("database.ini")), QSettings::IniFormat);
            ini.beginGroup(QStringLiteral("database"));
            ini.setValue(QStringLiteral("driver"), QStringLiteral("postgres"));
            ini.setValue(QStringLiteral("host"), settings.host);
            ini.setValue(QStringLiteral("port"), settings.port);
            ini.setValue(QStringLiteral("user"), settings.user);
            ini.setValue(QStringLiteral("password"), settings.password);
            ini.setValue(QStringLiteral("prefix"), settings.prefix);
            ini.endGroup();
            ini.sync();
            dropSets();
        }
    }
    void TearDown() override
    {
        if (m_oldHome.isNull())
            qunsetenv("JXC_HOME");
        else
            qputenv("JXC_HOME", m_oldHome);
        if (settings.kind == DbKind::Postgres)
            dropSets();
    }
    void dropSets()
    {
        for (const QString &file : {QStringLiteral("jxc.db"), QStringLiteral("codeinfo.db")}) {
            try {
                if (DatabaseExists(settings, file))
                    DropDatabase(settings, file);
            } catch (...) {
            }
        }
    }

    QTemporaryDir home;
    ConnectionSettings settings;
    FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))};

private:
    QByteArray m_oldHome;
};

TEST_F(ProgramSmokeTest, StartsLogsInOpensEveryCommandAndExits)
{
    ScriptedNotices notices;
    notices.fallback = Notices::Answer::No;  // no stray question may end the program mid-way
    NullOpener urls;
    ScreenRegistry registry;  // nothing registered: every screen is the placeholder

    QStringList splashTexts;
    QStringList closedScreens;
    QString problem;
    int logins = 0;
    bool clicked = false;
    bool exitAsked = false;
    QPointer<TF_MainForm> form;
    DataModule *data = nullptr;

    ProgramEnvironment env;
    env.notices = &notices;
    env.urls = &urls;
    env.clock = &clock;
    env.registry = &registry;
    env.installDiagnosticLog = false;
    bool registered = false;
    env.registerScreens = [&](ScreenRegistry &r) { registered = &r == &registry; };
    env.mainFormReady = [&](TF_MainForm &f, DataModule &d) {
        form = &f;
        data = &d;
    };

    const std::function<void()> clickEverything = [&] {
        if (!form->isMaximized())
            problem += QStringLiteral("main window not maximized; ");
        const ProductConstants &product = Product();
        if (!form->windowTitle().startsWith(product.brandWord + QStringLiteral("Brivant管理系统 ["))
            || !form->windowTitle().endsWith(QStringLiteral("] ") + product.versionText))
            problem += QStringLiteral("caption ") + form->windowTitle() + QStringLiteral("; ");
        for (const ShellPanel &panel : ShellPanels()) {
            QAbstractButton *panelButton = form->control(panel.button);
            if (!panelButton) {
                problem += QStringLiteral("no ") + panel.button + QStringLiteral("; ");
                continue;
            }
            panelButton->click();
            for (const ShellCommand &command : ShellCommands()) {
                for (const CommandControl &c : command.controls) {
                    if (c.name == QLatin1String("btn_Tcxt"))
                        continue;  // the exit comes last
                    QAbstractButton *b = form->control(c.name);
                    if (b && b->isVisible() && b->isEnabled())
                        b->click();
                }
            }
        }
        notices.script({Notices::Answer::Yes});
        exitAsked = true;
        QTest::keyClick(form, Qt::Key_Escape);
    };

    // The splash sees three texts; the first login gets Enter; every other modal window (the
    // placeholders, the change-of-operator login) and popup menu is closed. Once the window is
    // up, every panel and every visible command is clicked, then Esc with Yes ends the program.
    QTimer driver;
    driver.setInterval(20);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (QWidget *popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *splash = qobject_cast<TF_Loading *>(modal)) {
            const QString text = splash->lMsg()->text();
            if (!text.isEmpty() && (splashTexts.isEmpty() || splashTexts.last() != text))
                splashTexts << text;
            return;
        }
        if (auto *login = qobject_cast<TF_Login *>(modal)) {
            if (logins++ == 0) {
                QTest::keyClick(login->tpwd2(), Qt::Key_Return);
            } else {
                closedScreens << QStringLiteral("TF_Login");
                login->reject();
            }
            return;
        }
        if (auto *dialog = qobject_cast<QDialog *>(modal)) {
            closedScreens << dialog->objectName();
            dialog->reject();
            return;
        }
        if (modal || !form || !form->isVisible() || clicked)
            return;
        clicked = true;
        // The clicks run from a timer of their own, so that this one keeps closing what they
        // open (a timer does not fire again inside its own handler).
        QTimer::singleShot(0, clickEverything);
    });
    driver.start();

    const int code = RunProgram(*qobject_cast<QApplication *>(QCoreApplication::instance()), env);
    driver.stop();

    EXPECT_EQ(code, 0);
    EXPECT_TRUE(registered);
    EXPECT_TRUE(problem.isEmpty()) << problem.toStdString();
    EXPECT_TRUE(exitAsked);
    EXPECT_EQ(logins >= 1, true);
    if (settings.kind == DbKind::Sqlite) {
        EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/jxc.db"))));
        EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/codeinfo.db"))));
    } else {
        EXPECT_TRUE(DatabaseExists(settings, QStringLiteral("jxc.db")));
        EXPECT_TRUE(DatabaseExists(settings, QStringLiteral("codeinfo.db")));
    }
    EXPECT_EQ(splashTexts.size(), 3) << splashTexts.join(QLatin1Char('|')).toStdString();

    // Every command opened something: placeholders (the registry is empty) were closed, the
    // help pages went to the opener, refusals and the role rule came as notices. No error box.
    EXPECT_GE(closedScreens.size(), 40) << closedScreens.join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(closedScreens.contains(QStringLiteral("TF_Cgjh")));
    EXPECT_TRUE(closedScreens.contains(QStringLiteral("TF_Xtwh")));
    EXPECT_TRUE(closedScreens.contains(QStringLiteral("TF_Login")));  // 重新登录
    EXPECT_FALSE(urls.opened.isEmpty());
    for (const ScriptedNotices::Shown &s : notices.shown)
        EXPECT_NE(s.kind, ScriptedNotices::Kind::Error) << s.text.toStdString();
    EXPECT_TRUE(notices.texts().contains(QStringLiteral("是否要退出系统？")));

    // The log holds the login and the exit; one backup lies in 数据备份/.
    Q_UNUSED(data)
    {
        const QSqlDatabase db = OpenConnection(settings, QStringLiteral("jxc.db"), QStringLiteral("smoke_check"));
        EXPECT_EQ(QueryScalar(db, QStringLiteral("select count(*) from jxc_log where log_note = ?"),
                              {QStringLiteral("登录系统")}),
                  QStringLiteral("1"));
        EXPECT_EQ(QueryScalar(db, QStringLiteral("select count(*) from jxc_log where log_note = ?"),
                              {QStringLiteral("退出系统")}),
                  QStringLiteral("1"));
    }
    CloseConnection(QStringLiteral("smoke_check"));
    const QStringList backups = QDir(home.filePath(QStringLiteral("数据备份")))
                                    .entryList({QStringLiteral("*.DAT")}, QDir::Files);
    EXPECT_EQ(backups.size(), 1) << backups.join(QLatin1Char(' ')).toStdString();
}

} // namespace
