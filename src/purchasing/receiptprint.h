#pragma once

// Printing one purchase receipt, return or order ("setPrinPara"): a saved one through the
// engine's stored document road (kind "2"), the draft of the entry page with the variables
// taken from the screen (kind "1"). The receipt asks the operator's template choice first when
// ChoosePurchasePrintFormat is on and a choice dialog is given; the return prints cgth (cgth2
// without RightShowCost), the order cgd (cgd2). The job goes to the output.

#include "engine/printdraft.h"
#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// What the entry page shows of the draft: the partner is the supplier, `date` the day.
using DraftReceiptHeader = DraftPrintHeader;

class ReceiptPrint
{
public:
    ReceiptPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock, PurchaseKind kind = PurchaseKind::Receipt);

    // A saved document: PrintStoredDocument(number, "cgjh"/"cgth"/"cgd", its prefix, the kind's
    // template …).
    PrintJob printSaved(const QString &number, ReportOutput &output, const PrintOptions &options);

    // The draft of the entry page: the lines of GetPrintLinesSql(number, prefix) as
    // "Q_GoodsPrin", the company and the screen's values as variables (ghsBh the supplier's
    // code, khqk its payable balance, ljqkje balance + payable − paid, uTele the handler's
    // telephone, xxyf and xxsf the amounts as numbers, yf and sf in capitals).
    PrintJob prepareDraft(const QString &number, const DraftReceiptHeader &header, const QString &templateName,
                          const QString &templateFolder = {});
    PrintJob printDraft(const QString &number, const DraftReceiptHeader &header, ReportOutput &output,
                        const PrintOptions &options);

private:
    QString chooseTemplate(const PrintOptions &options);

    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
    PurchaseKind m_kind;
};
