#include "purchasing/docqueryprint.h"

#include "engine/printtemplates.h"
#include "foundation/notices.h"
#include "purchasing/purchaselistprint.h"
#include "purchasing/receiptprint.h"
#include "report/model/dataset.h"

PrintJob DocQueryPrint::printDocument(const QString &number, ReportOutput &output, const PrintOptions &options)
{
    if (number.startsWith(QLatin1String("CJ")))
        return ReceiptPrint(m_db, m_state, m_clock).printSaved(number, output, options);
    PrintOptions plain = options;
    plain.choice = nullptr;
    return PrintStoredDocument(m_db, m_state, m_clock, number, QStringLiteral("cgth"), QStringLiteral("CT"),
                               TemplateForDocument(QStringLiteral("CT"), m_state), output, plain);
}

int DocQueryPrint::printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output)
{
    if (numbers.isEmpty() || !notices.confirm(ContinuousPrintQuestion(true)))
        return 0;
    PrintOptions direct;
    direct.mode = PrintMode::Direct;
    for (const QString &number : numbers)
        printDocument(number, output, direct);
    return int(numbers.size());
}

PrintJob DocQueryPrint::printList(DocQueryView view, ReportOutput &output, const QString &sql, const QVariantList &binds,
                                  const QString &date1, const QString &date2)
{
    const QString name = view == DocQueryView::Documents ? QStringLiteral("jthcxdjb")
                         : view == DocQueryView::Summary ? QStringLiteral("jthcxhzb")
                                                         : QStringLiteral("jthmxb");
    ReportVariables variables;
    variables.set(QStringLiteral("date1"), date1);
    variables.set(QStringLiteral("date2"), date2);
    return PrintListReport(m_state, output, name, name, DataSet::read(m_db, sql, binds), variables);
}
