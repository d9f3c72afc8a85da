// The built program on a fresh machine: it starts, builds its account set and register, and
// waits at the login.

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(Program, StartsOnAnEmptyFolderAndKeepsRunning)
{
    QTemporaryDir home;
    QTemporaryDir runtime;
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("JXC_HOME"), home.path());
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());  // its own single-instance lock
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(JXC_BINARY), {});
    ASSERT_TRUE(program.waitForStarted(5000));
    EXPECT_FALSE(program.waitForFinished(3000)) << program.readAllStandardError().toStdString();
    EXPECT_EQ(program.state(), QProcess::Running);
    // After the splash's three seconds the default set and the register appear.
    const QString reg = home.filePath(QStringLiteral("data/codeinfo.db"));
    for (int i = 0; i < 50 && !QFile::exists(reg); ++i)
        program.waitForFinished(100);
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/jxc.db"))));
    EXPECT_TRUE(QFile::exists(reg));
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();  // ends the process this test started, by its id
    program.waitForFinished(5000);
}

} // namespace
