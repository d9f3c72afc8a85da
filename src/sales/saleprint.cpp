#include "sales/saleprint.h"

#include "engine/partnerside.h"
#include "engine/printdraft.h"
#include "engine/printsupport.h"
#include "engine/printtemplates.h"
#include "foundation/db/clock.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "report/model/dataset.h"

namespace {

const QString kPrintType = QStringLiteral("spxs");
const QString kLineCode = QStringLiteral("XS");

} // namespace

SalePrintRules::SalePrintRules(const QSqlDatabase &db, LoginState &state, const Clock &clock)
    : m_db(db), m_state(state), m_clock(clock)
{
}

QString SalePrintRules::templateName() const
{
    return TemplateForDocument(kLineCode, m_state);
}

PrintJob SalePrintRules::printSaved(const QString &number, ReportOutput &output, const PrintOptions &options)
{
    return PrintStoredDocument(m_db, m_state, m_clock, number, kPrintType, kLineCode, templateName(), output, options);
}

PrintJob SalePrintRules::prepareDraft(const QString &number, const SaleDraftPrint &s, const QString &name,
                                      const QString &templateFolder)
{
    DraftPrintHeader header = s;
    if (IsTrue(m_state.DocDateWithTime))
        header.date = s.date + QLatin1Char(' ') + m_clock.now().toString(QStringLiteral("HH:mm:ss"));
    PrintJob job = PrepareDraftDocument(m_db, m_state, m_clock, number, kLineCode, CustomerSide(), header, name,
                                        templateFolder);
    ReportVariables &v = job.variables;
    v.set(QStringLiteral("khNote"),
          QueryScalar(m_db, QStringLiteral("select kh_note from jxc_khxx where kh_sn = ?"), {s.partnerSn}));
    v.set(QStringLiteral("fpje"), NumberText(s.invoiceAmount));
    const double amount = TextToNumber(QueryScalar(
        m_db, QStringLiteral("select coalesce(sum(ls_je), 0) from jxc_lsxssp where gl_djh = ?"), {number}));
    v.set(QStringLiteral("yf2"), AmountInCapitals(amount));
    return job;
}

PrintJob SalePrintRules::printDraft(const QString &number, const SaleDraftPrint &sale, ReportOutput &output,
                                    const PrintOptions &options)
{
    if (options.choice && IsTrue(m_state.ChooseSalesPrintFormat))
        options.choice->choose(PrintChoiceKind::Sales, m_state);
    const PrintJob job = prepareDraft(number, sale, templateName(), options.templateFolder);
    SendPrintJob(output, job, options);
    return job;
}

int SalePrintRules::printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output,
                                      const QString &templateFolder)
{
    return PrintDocumentsContinuously(m_db, m_state, m_clock, notices, numbers, kPrintType, kLineCode, templateName(),
                                      output, ContinuousPrintQuestion(true), templateFolder);
}

PrintJob SalePrintRules::printPendingList(ReportOutput &output, const QString &sql, const QVariantList &binds,
                                          const QString &templateFolder)
{
    return PrintListReport(m_state, output, QStringLiteral("spxsdsh"), QStringLiteral("spxsdsh"),
                           DataSet::read(m_db, sql, binds), ReportVariables(), templateFolder);
}
