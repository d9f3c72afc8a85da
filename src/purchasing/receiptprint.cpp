#include "purchasing/receiptprint.h"

#include "engine/printdraft.h"
#include "engine/printtemplates.h"
#include "foundation/loginstate.h"
#include "purchasing/purchaselistdoc.h"

ReceiptPrint::ReceiptPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock, PurchaseKind kind)
    : m_db(db), m_state(state), m_clock(clock), m_kind(kind)
{
}

QString ReceiptPrint::chooseTemplate(const PrintOptions &options)
{
    if (m_kind == PurchaseKind::Receipt && options.choice && IsTrue(m_state.ChoosePurchasePrintFormat)) {
        options.choice->choose(PrintChoiceKind::PurchaseIn, m_state);
        return m_state.PurchaseInTemplate;
    }
    return TemplateForDocument(PurchaseDocType(m_kind).prefix, m_state);
}

PrintJob ReceiptPrint::printSaved(const QString &number, ReportOutput &output, const PrintOptions &options)
{
    const QString prefix = PurchaseDocType(m_kind).prefix;
    const QString tag = PurchaseListDocOf(m_kind).printTag;
    PrintOptions o = options;
    if (m_kind != PurchaseKind::Receipt)
        o.choice = nullptr;  // only the receipt has a choice of formats
    return PrintStoredDocument(m_db, m_state, m_clock, number, tag, prefix, TemplateForDocument(prefix, m_state), output, o);
}

PrintJob ReceiptPrint::prepareDraft(const QString &number, const DraftReceiptHeader &header, const QString &templateName,
                                    const QString &templateFolder)
{
    return PrepareDraftDocument(m_db, m_state, m_clock, number, PurchaseDocType(m_kind).prefix, SupplierSide(), header,
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
