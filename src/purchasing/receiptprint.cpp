#include "purchasing/receiptprint.h"

#include "engine/printdraft.h"
#include "engine/printtemplates.h"
#include "foundation/loginstate.h"

ReceiptPrint::ReceiptPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock)
    : m_db(db), m_state(state), m_clock(clock)
{
}

QString ReceiptPrint::chooseTemplate(const PrintOptions &options)
{
    if (options.choice && IsTrue(m_state.ChoosePurchasePrintFormat)) {
        options.choice->choose(PrintChoiceKind::PurchaseIn, m_state);
        return m_state.PurchaseInTemplate;
    }
    return TemplateForDocument(QStringLiteral("CJ"), m_state);
}

PrintJob ReceiptPrint::printSaved(const QString &number, ReportOutput &output, const PrintOptions &options)
{
    return PrintStoredDocument(m_db, m_state, m_clock, number, QStringLiteral("cgjh"), QStringLiteral("CJ"),
                               TemplateForDocument(QStringLiteral("CJ"), m_state), output, options);
}

PrintJob ReceiptPrint::prepareDraft(const QString &number, const DraftReceiptHeader &header, const QString &templateName,
                                    const QString &templateFolder)
{
    return PrepareDraftDocument(m_db, m_state, m_clock, number, QStringLiteral("CJ"), SupplierSide(), header,
                                templateName, templateFolder);
}

PrintJob ReceiptPrint::printDraft(const QString &number, const DraftReceiptHeader &header, ReportOutput &output,
                                  const PrintOptions &options)
{
    const QString name = chooseTemplate(options);
    const PrintJob job = prepareDraft(number, header, name, options.templateFolder);
    SendPrintJob(output, job, options);
    return job;
}
