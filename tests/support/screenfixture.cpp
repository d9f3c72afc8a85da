#include "screenfixture.h"

#include "foundation/db/connection.h"
#include "foundation/firststart.h"

#include <QDir>

namespace {
int g_fixture = 0;
}

void ScreenFixture::SetUp()
{
    const QString problem = TestServerProblem();
    if (!problem.isEmpty()) {
        if (!qEnvironmentVariableIsEmpty("CI"))
            FAIL() << "PostgreSQL test server not reachable: " << problem.toStdString();
        GTEST_SKIP() << "PostgreSQL test server not reachable: " << problem.toStdString();
    }
    programFolder.emplace(home.path());
    settings = TestConnectionSettings();
    settings.dataFolder = home.filePath(QStringLiteral("data"));
    settings.prefix += QStringLiteral("sc%1_%2_").arg(QCoreApplication::applicationPid()).arg(++g_fixture);
    QDir().mkpath(settings.dataFolder);
    for (const char *file : {"jxc.db", "codeinfo.db"})
        if (settings.kind == DbKind::Postgres && DatabaseExists(settings, QString::fromLatin1(file)))
            DropDatabase(settings, QString::fromLatin1(file));
    EnsureDefaultDatabases(settings, clock);
    data = std::make_unique<DataModule>(settings);
    data->OpenMainDatabase(QStringLiteral("jxc.db"));
}

void ScreenFixture::reloadState()
{
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    LoadSysParams(db(), state, clock);
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
}

void ScreenFixture::setParam(const QString &column, const QVariant &value)
{
    RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
    reloadState();
}

void ScreenFixture::TearDown()
{
    data.reset();
    if (settings.kind == DbKind::Postgres) {
        for (const char *file : {"jxc.db", "codeinfo.db"}) {
            try {
                DropDatabase(settings, QString::fromLatin1(file));
            } catch (...) {
            }
        }
    }
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QStringLiteral(", ")).toStdString();
    // The program folder stays set until the fixture itself goes: the test's windows are members
    // destroyed after TearDown, and they save their layouts into it as they close.
}

ScreenContext ScreenFixture::context()
{
    ScreenContext c;
    c.data = data.get();
    c.state = &state;
    c.clock = &clock;
    c.notices = &notices;
    c.followOn = &followOn;
    c.registry = &registry;
    return c;
}
