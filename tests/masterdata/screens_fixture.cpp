#include "screens_fixture.h"

#include "masterdata/forms/masterdatascreens.h"
#include "report/report.h"
#include "screenkit/datagrid.h"

#include <QDir>
#include <QProcess>
#include <QTableView>

void MasterScreenTest::SetUp()
{
    ScreenFixture::SetUp();
    if (IsSkipped())
        return;
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_fzdw = 0, cs_kc = 1, cs_hcj = 0"));
    setParam(QStringLiteral("cs_fzdw"), 0);
    RegisterMasterdataScreens(registry);
}

void MasterScreenTest::reloadState()
{
    LoadSysParams(db(), state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
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
