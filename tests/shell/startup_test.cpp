// Program start-up: one copy per session, the splash texts, the unhandled-error rule and Qt's
// own texts in Chinese.

#include "foundation/errorhandler.h"
#include "platform/system/qttranslation.h"
#include "platform/system/singleinstance.h"
#include "shell/forms/loading.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTranslator>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(SingleInstance, SecondCopyIsRefusedUntilTheFirstEnds)
{
    auto first = std::make_unique<SingleInstance>(QStringLiteral("jxc_test_guard"));
    ASSERT_TRUE(first->acquire());
    SingleInstance second(QStringLiteral("jxc_test_guard"));
    EXPECT_FALSE(second.acquire());
    first.reset();
    EXPECT_TRUE(second.acquire());
}

TEST(SingleInstance, SecondProgramEndsAtOnceWithoutOutput)
{
    QTemporaryDir home;
    SingleInstance running;  // the same guard the program takes, in this test's runtime folder
    ASSERT_TRUE(running.acquire());

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("JXC_HOME"), home.path());
    program.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    program.start(QStringLiteral(JXC_BINARY), {});
    ASSERT_TRUE(program.waitForFinished(5000));
    EXPECT_LT(timer.elapsed(), 3000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);
    EXPECT_TRUE(program.readAllStandardError().isEmpty());
    // It never reached the data module: no database was made.
    EXPECT_FALSE(QFile::exists(home.filePath(QStringLiteral("data/jxc.db"))));
}

TEST(Splash, ShowsThreeTextsInOrderThenCloses)
{
    TF_Loading splash;
    splash.show();
    EXPECT_EQ(splash.windowTitle(), QStringLiteral("CorvelBrivant管理系统"));
    EXPECT_EQ(splash.lMsg()->text(), QStringLiteral("正在装载系统......"));
    EXPECT_TRUE(splash.timer1()->isActive());
    EXPECT_EQ(splash.timer1()->interval(), 1000);
    splash.Timer1Timer();
    EXPECT_EQ(splash.lMsg()->text(), QStringLiteral("正在设置环境参数......"));
    EXPECT_TRUE(splash.isVisible());
    splash.Timer1Timer();
    EXPECT_EQ(splash.lMsg()->text(), QStringLiteral("系统即将启动......"));
    EXPECT_TRUE(splash.isVisible());
    splash.Timer1Timer();
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.result(), QDialog::Accepted);
}

TEST(UnhandledError, LowersLettersAndEndsOnlyForTheDefaultSet)
{
    struct Case
    {
        const char *message;
        const char *shown;
        bool terminate;
    };
    const Case cases[] = {
        {"Table X Missing", "table x missing", false},
        {"无法打开数据库 /opt/jxc/data/JXC.DB：file is not a database", nullptr, true},
        {"Cannot open jxc.db", nullptr, true},
        {"无法打开数据库 /opt/jxc/data/jxc_100002.db", "无法打开数据库 /opt/jxc/data/jxc_100002.db", false},
        {"ÄBC Über", "Äbc Über", false},  // only A to Z change
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.message);
        const UnhandledErrorOutcome out = HandleUnhandledError(QString::fromUtf8(c.message));
        EXPECT_EQ(out.terminate, c.terminate);
        EXPECT_EQ(out.text, c.shown ? QString::fromUtf8(c.shown) : DatabaseUnreadableText());
    }
    EXPECT_EQ(DatabaseUnreadableText(), QStringLiteral("数据库格式不可识别！\r\n\r\n系统将退出！"));
}

// The texts of a text box's context menu, mnemonics and shortcuts dropped.
QStringList ContextMenuTexts()
{
    QLineEdit box;
    std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text().section(QLatin1Char('\t'), 0, 0).remove(QLatin1Char('&'));
    return texts;
}

TEST(QtTranslation, TextBoxMenusReadChineseFromQtsFolderOrTheCopyBesideTheProgram)
{
    const auto removeOurs = [] {
        for (QTranslator *t : qApp->findChildren<QTranslator *>())
            if (QCoreApplication::removeTranslator(t))
                delete t;
    };
    // The build puts the copy beside the test programs as well as beside the program.
    const QString besideProgram =
        QDir(QFileInfo(QStringLiteral(JXC_BINARY)).absolutePath()).filePath(QStringLiteral("translations"));
    const QList<QStringList> sources = {QtTranslationFolders(), {QStringLiteral("/no/such/folder"), besideProgram}};
    for (const QStringList &folders : sources) {
        SCOPED_TRACE(folders.join(QLatin1Char(',')).toStdString());
        ASSERT_TRUE(InstallQtChineseTranslation(*qApp, folders));
        const QStringList texts = ContextMenuTexts();
        for (const char *expected : {"撤销", "剪切", "粘贴"}) {
            const QString want = QString::fromUtf8(expected);
            EXPECT_TRUE(std::any_of(texts.begin(), texts.end(), [&](const QString &t) { return t.startsWith(want); }))
                << expected << " in " << texts.join(QLatin1Char('|')).toStdString();
        }
        removeOurs();
    }
    EXPECT_FALSE(InstallQtChineseTranslation(*qApp, {QStringLiteral("/no/such/folder")}));
    EXPECT_FALSE(ContextMenuTexts().join(QString()).contains(QStringLiteral("撤销")));
}

}  // namespace
