#include "screens_fixture.h"

#include "../support/modaldriver.h"

#include "foundation/firststart.h"
#include "foundation/db/connection.h"
#include "masterdata/forms/masterdatascreens.h"
#include "report/report.h"
#include "screenkit/datagrid.h"

#include <QDir>
#include <QProcess>
#include <QTableView>

namespace {
int g_fixture = 0;
}

void MasterScreenTest::SetUp()
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
    settings.prefix += QStringLiteral("md%1_%2_").arg(QCoreApplication::applicationPid()).arg(++g_fixture);
    QDir().mkpath(settings.dataFolder);
    for (const char *file : {"jxc.db", "codeinfo.db"})
        if (settings.kind == DbKind::Postgres && DatabaseExists(settings, QString::fromLatin1(file)))
            DropDatabase(settings, QString::fromLatin1(file));
    EnsureDefaultDatabases(settings, clock);
    data = std::make_unique<DataModule>(settings);
    data->OpenMainDatabase(QStringLiteral("jxc.db"));
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_fzdw = 0, cs_kc = 1, cs_hcj = 0"));
    setParam(QStringLiteral("cs_fzdw"), 0);
    RegisterMasterdataScreens(registry);
}

void MasterScreenTest::setParam(const QString &column, const QVariant &value)
{
    RunSql(db(), QStringLiteral("update jxc_xtcs set %1 = ?").arg(column), {value});
    LoadSysParams(db(), state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
}

void MasterScreenTest::TearDown()
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
    programFolder.reset();
}

ScreenContext MasterScreenTest::context()
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

void MasterScreenTest::whenShown(const QString &name, std::function<void(QDialog *)> step)
{
    WhenShown(name, std::move(step), failures);
}

void DoubleClickRow(DataGrid *grid, int row)
{
    QTableView *view = grid->view();
    grid->setCurrentRow(row);
    const QRect cell = view->visualRect(view->model()->index(row, 1));
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
}

QString PdfText(const PrintJob &job)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("out.pdf");
    Report report(job);
    if (!report.writePdf(file))
        return QString();
    if (!qEnvironmentVariableIsEmpty("JXC_MD_PDF_DIR"))
        QFile::copy(file, QDir(qEnvironmentVariable("JXC_MD_PDF_DIR")).filePath(job.templateName + ".pdf"));
    QProcess p;
    p.start("pdftotext", {"-layout", file, "-"});
    p.waitForFinished();
    return QString::fromUtf8(p.readAllStandardOutput());
}
