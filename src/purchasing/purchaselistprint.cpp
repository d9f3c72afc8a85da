#include "purchasing/purchaselistprint.h"

#include "engine/printtemplates.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/receiptprint.h"
#include "report/model/dataset.h"

QString ContinuousPrintQuestion(bool fullWidthMark)
{
    return QStringLiteral("您的操作将打印当前查询中的所有单据，\r\n\r\n将直接打印不做预览，确认打印吗") +
           (fullWidthMark ? QStringLiteral("？") : QStringLiteral("?"));
}

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
    if (numbers.isEmpty() || !notices.confirm(question))
        return 0;
    PrintOptions direct;
    direct.mode = PrintMode::Direct;
    direct.copies = 1;
    int printed = 0;
    for (const QString &number : numbers) {
        if (m_doc.kind == PurchaseKind::Receipt)
            ReceiptPrint(m_db, m_state, m_clock).printSaved(number, output, direct);
        else
            PrintStoredDocument(m_db, m_state, m_clock, number, m_doc.printTag, m_doc.type.prefix,
                                TemplateForDocument(m_doc.type.prefix, m_state), output, direct);
        ++printed;
    }
    return printed;
}
