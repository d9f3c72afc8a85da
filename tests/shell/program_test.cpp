// The built program on a fresh machine: it starts, builds its account set and register, and
// waits at the login.

#include "shell/programfiles.h"

#include <gtest/gtest.h>

#include <QDir>
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
    // Help pages and print templates are written out from the copies compiled in.
    for (const char *file : {"readme.htm", "readme2.htm", "report/cgjh.json", "report/txm.json"})
        EXPECT_TRUE(QFile::exists(home.filePath(QString::fromLatin1(file)))) << file;
    EXPECT_EQ(program.state(), QProcess::Running);
    program.kill();  // ends the process this test started, by its id
    program.waitForFinished(5000);
}

TEST(ProgramFiles, MissingOnesAreWrittenAndEditedOnesStay)
{
    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("report")));
    QFile edited(home.filePath(QStringLiteral("report/spxs.json")));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("{\"title\": \"改过的销售单\"}");
    edited.close();

    const QStringList written = WriteMissingProgramFiles(home.path());
    EXPECT_TRUE(written.contains(home.filePath(QStringLiteral("readme.htm"))));
    EXPECT_TRUE(written.contains(home.filePath(QStringLiteral("report/cgjh.json"))));
    EXPECT_FALSE(written.contains(home.filePath(QStringLiteral("report/spxs.json"))));
    ASSERT_TRUE(edited.open(QIODevice::ReadOnly));
    EXPECT_TRUE(QString::fromUtf8(edited.readAll()).contains(QStringLiteral("改过的销售单")));
    QFile shipped(QStringLiteral(":/report/cgjh.json"));
    QFile copy(home.filePath(QStringLiteral("report/cgjh.json")));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly) && copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), shipped.readAll());
    // A second start writes nothing.
    EXPECT_TRUE(WriteMissingProgramFiles(home.path()).isEmpty());
}

} // namespace
