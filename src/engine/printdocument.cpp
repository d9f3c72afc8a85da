#include "engine/printdocument.h"

#include "engine/printlines.h"
#include "engine/printsupport.h"
#include "engine/printvariables.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

namespace {

const QString kLines = QStringLiteral("Q_GoodsPrin");

} // namespace

void SendPrintJob(ReportOutput &output, const PrintJob &job, const PrintOptions &options)
{
    switch (options.mode) {
    case PrintMode::Preview:
        output.preview(job);
        break;
    case PrintMode::Print:
        output.print(job);
        break;
    case PrintMode::Direct:
        output.printDirect(job, options.copies);
        break;
    case PrintMode::Pdf:
        output.exportPdf(job, options.pdfFile);
        break;
    }
}

PrintJob PrepareStoredDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               const QString &number, const QString &printType, const QString &lineCode,
                               const QString &templateName, const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(templateName, templateFolder);
    job.decimals = PrintDecimals(state);
    const PrintLinesQuery lines = GetPrintLinesSql(db, state, clock, number, lineCode);
    job.setDataSet(kLines, lines.isEmpty() ? DataSet() : DataSet::read(db, lines.sql, lines.binds));
    job.rowsPerPage = lines.rowsPerPage;
    SetPrintVariables(db, state, clock, job.variables, number, printType);
    return job;
}

PrintJob PrintStoredDocument(const QSqlDatabase &db, LoginState &state, const Clock &clock,
                             const QString &number, const QString &printType, const QString &lineCode,
                             const QString &templateName, ReportOutput &output, const PrintOptions &options)
{
    QString name = templateName;
    if (options.choice) {
        if (printType == QLatin1String("spxs") && IsTrue(state.ChooseSalesPrintFormat)) {
            options.choice->choose(PrintChoiceKind::Sales, state);
            name = state.SalesTemplate;
        } else if (printType == QLatin1String("cgjh") && IsTrue(state.ChoosePurchasePrintFormat)) {
            options.choice->choose(PrintChoiceKind::PurchaseIn, state);
            name = state.PurchaseInTemplate;
        }
    }
    const PrintJob job = PrepareStoredDocument(db, state, clock, number, printType, lineCode, name,
                                               options.templateFolder);
    SendPrintJob(output, job, options);
    return job;
}

PrintJob PrintListReport(const LoginState &state, ReportOutput &output, const QString &templateName,
                         const QString &dataSetName, const DataSet &rows, const ReportVariables &variables,
                         const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(templateName, templateFolder);
    job.decimals = PrintDecimals(state);
    SetCompanyVariables(job.variables, state);
    for (const auto &v : variables.items())
        job.variables.set(v.first, v.second);
    job.setDataSet(dataSetName, rows);
    output.preview(job);
    return job;
}

int PrintDocumentsContinuously(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices,
                               const QStringList &numbers, const QString &printType, const QString &lineCode,
                               const QString &templateName, ReportOutput &output, const QString &question,
                               const QString &templateFolder)
{
    if (numbers.isEmpty() || !notices.confirm(question))
        return 0;
    PrintOptions direct;
    direct.mode = PrintMode::Direct;
    direct.copies = 1;
    direct.templateFolder = templateFolder;
    for (const QString &number : numbers)
        PrintStoredDocument(db, state, clock, number, printType, lineCode, templateName, output, direct);
    return int(numbers.size());
}

QString ContinuousPrintQuestion(bool fullWidthMark)
{
    return QStringLiteral("您的操作将打印当前查询中的所有单据，\r\n\r\n将直接打印不做预览，确认打印吗")
           + (fullWidthMark ? QStringLiteral("？") : QStringLiteral("?"));
}
