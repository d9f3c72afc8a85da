#pragma once

// The common road of printing a stored document, and the print of a report window's list.

#include "report/model/reportoutput.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct LoginState;

// Which template family the operator chooses from before printing.
enum class PrintChoiceKind
{
    Sales,       // "spxs.fr3", "spxs4.fr3", "spxs2.fr3" into SalesTemplate
    PurchaseIn,  // "cgjh.fr3", "cgjh2.fr3" into PurchaseInTemplate
};

// Asks the operator for the template ("选择打印单据样式"); the choice is stored in the login
// state (SalesTemplate or PurchaseInTemplate) until the parameters are loaded again. Screens
// pass the dialog (engine/forms/prinsele.h), tests a scripted double.
class PrintChoiceDialog
{
public:
    virtual ~PrintChoiceDialog() = default;
    virtual void choose(PrintChoiceKind kind, LoginState &state) = 0;
};

enum class PrintMode
{
    Preview,  // "打印预览"
    Print,    // the system print dialog, then print
    Direct,   // `copies` times without a dialog
    Pdf,      // the PDF file `pdfFile`
};

struct PrintOptions
{
    PrintMode mode = PrintMode::Preview;
    int copies = 1;                       // PrintMode::Direct
    QString pdfFile;                      // PrintMode::Pdf
    // When given, a sale (print type "spxs") with ChooseSalesPrintFormat and a purchase
    // receipt ("cgjh") with ChoosePurchasePrintFormat ask for the template first and print with
    // the chosen one; callers pass it under their own conditions.
    PrintChoiceDialog *choice = nullptr;
    QString templateFolder;               // empty: report/ of the program folder
};

// Hands the job to the output as the options ask (preview, print dialog, direct copies, PDF).
void SendPrintJob(ReportOutput &output, const PrintJob &job, const PrintOptions &options);

// Loads the template, opens the lines (GetPrintLinesSql: scratch rows and log row) into the
// data set "Q_GoodsPrin", sets the variables (SetPrintVariables) and the rows per page of a
// filled print. A missing template gives a job that prints nothing; the lines, variables and
// log row are the same.
PrintJob PrepareStoredDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               const QString &number, const QString &printType, const QString &lineCode,
                               const QString &templateName, const QString &templateFolder = {});

// The choice dialog when asked, then PrepareStoredDocument, then the output. Returns the job
// handed to the output. Database errors raise DbError.
PrintJob PrintStoredDocument(const QSqlDatabase &db, LoginState &state, const Clock &clock,
                             const QString &number, const QString &printType, const QString &lineCode,
                             const QString &templateName, ReportOutput &output,
                             const PrintOptions &options = {});

// "连续打印": nothing without numbers; asks `question` once, then prints every stored document
// directly (one copy, no dialog, no template choice) in the order given, each with its own lines
// and variables. Returns how many were printed.
int PrintDocumentsContinuously(const QSqlDatabase &db, LoginState &state, const Clock &clock, Notices &notices,
                               const QStringList &numbers, const QString &printType, const QString &lineCode,
                               const QString &templateName, ReportOutput &output, const QString &question,
                               const QString &templateFolder = {});

// The question of 连续打印: "您的操作将打印当前查询中的所有单据，\r\n\r\n将直接打印不做预览，确认打印吗"
// with a full-width question mark (sales, the purchase query) or the ASCII one (the purchase
// receipt window).
QString ContinuousPrintQuestion(bool fullWidthMark);

// The list of a report window (打印): the template's declared variables, the company header,
// then the window's own variables (`date1`, `date2`, `title` …) over them, and its rows under
// `dataSetName`; shown in the preview.
PrintJob PrintListReport(const LoginState &state, ReportOutput &output, const QString &templateName,
                         const QString &dataSetName, const DataSet &rows, const ReportVariables &variables,
                         const QString &templateFolder = {});
