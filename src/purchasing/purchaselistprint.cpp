#include "purchasing/purchaselistprint.h"

#include "engine/printtemplates.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "report/model/dataset.h"

PurchaseListPrint::PurchaseListPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock,
                                     const PurchaseListDoc &doc)
    : m_db(db), m_state(state), m_clock(clock), m_doc(doc)
{
}

PrintJob PurchaseListPrint::printPending(ReportOutput &output, const QString &sql, const QVariantList &binds)
{
    return PrintListReport(m_state, output, m_doc.pendingTemplate, m_doc.pendingTemplate, DataSet::read(m_db, sql, binds),
                           ReportVariables());
}

PrintJob PurchaseListPrint::printQuery(PurchaseQueryView view, ReportOutput &output, const QString &sql,
                                       const QVariantList &binds, const QString &date1, const QString &date2)
{
    ReportVariables variables;
    QString name = m_doc.detailsTemplate;
    if (view == PurchaseQueryView::Documents) {
        name = m_doc.documentsTemplate;
        variables.set(QStringLiteral("bTitle"), m_doc.documentsTitle);
    } else if (view == PurchaseQueryView::Summary) {
        name = m_doc.summaryTemplate;
    }
    variables.set(QStringLiteral("date1"), date1);
    variables.set(QStringLiteral("date2"), date2);
    return PrintListReport(m_state, output, name, name, DataSet::read(m_db, sql, binds), variables);
}

int PurchaseListPrint::printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output,
                                         const QString &question)
{
    return PrintDocumentsContinuously(m_db, m_state, m_clock, notices, numbers, m_doc.printTag, m_doc.type.prefix,
                                      TemplateForDocument(m_doc.type.prefix, m_state), output, question);
}
