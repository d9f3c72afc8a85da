#pragma once

// Printing sales ("setPrinPara"): mode "2", a saved sale through the engine's stored-document
// road (PrintStoredDocument over "spxs" / "XS" and SalesTemplate), and mode "1", the sale being
// entered, with the variables taken from the window (PrepareDraftDocument with the customer's
// columns, plus khNote, fpje and yf2). With ChooseSalesPrintFormat and a choice dialog given the
// operator picks the template first (PrintChoiceKind::Sales, stored in SalesTemplate). Also the
// continuous printing of a list of sales and the pending list report "spxsdsh". Printing writes
// nothing but the print log row.

#include "engine/printdraft.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct LoginState;

// What the entry page shows of the sale being entered: the partner is the customer, `date` the
// day ("yyyy-MM-dd"; the clock's time follows with DocDateWithTime), due and paid 应收 and 实收.
struct SaleDraftPrint : DraftPrintHeader
{
    double invoiceAmount = 0.0;
};

class SalePrintRules
{
public:
    SalePrintRules(const QSqlDatabase &db, LoginState &state, const Clock &clock);

    // Mode "2": sale `number` as stored.
    PrintJob printSaved(const QString &number, ReportOutput &output, const PrintOptions &options);

    // Mode "1": the sale being entered under `number`.
    PrintJob prepareDraft(const QString &number, const SaleDraftPrint &sale, const QString &templateName,
                          const QString &templateFolder = {});
    PrintJob printDraft(const QString &number, const SaleDraftPrint &sale, ReportOutput &output,
                        const PrintOptions &options);

    // "连续打印": asks "您的操作将打印当前查询中的所有单据，…确认打印吗？" once, then every sale
    // directly in order, with SalesTemplate and no template choice. Nothing without numbers.
    int printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output,
                          const QString &templateFolder = {});

    // "打印" of the pending page: the rows of the list's statement into template and data set
    // "spxsdsh" with the company variables, previewed.
    PrintJob printPendingList(ReportOutput &output, const QString &sql, const QVariantList &binds,
                              const QString &templateFolder = {});

private:
    QString templateName() const;

    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
};
