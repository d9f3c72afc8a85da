#include "purchasing/receiptprint.h"

#include "engine/balances.h"
#include "engine/printlines.h"
#include "engine/printsupport.h"
#include "engine/printtemplates.h"
#include "foundation/capitals.h"
#include "foundation/db/numbers.h"
#include "foundation/loginstate.h"
#include "platform/format/formatnumber.h"

namespace {

QString Capitals(double amount)
{
    return MoneyToCapital(FormatNumber(amount, QStringLiteral("#.00")));
}

} // namespace

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
    const QString tag = m_kind == PurchaseKind::Return  ? QStringLiteral("cgth")
                        : m_kind == PurchaseKind::Order ? QStringLiteral("cgd")
                                                        : QStringLiteral("cgjh");
    PrintOptions o = options;
    if (m_kind != PurchaseKind::Receipt)
        o.choice = nullptr;  // only the receipt has a choice of formats
    return PrintStoredDocument(m_db, m_state, m_clock, number, tag, prefix, TemplateForDocument(prefix, m_state), output, o);
}

PrintJob ReceiptPrint::prepareDraft(const QString &number, const DraftReceiptHeader &h, const QString &templateName,
                                    const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(templateName, templateFolder);
    job.decimals = PrintDecimals(m_state);
    const PrintLinesQuery lines = GetPrintLinesSql(m_db, m_state, m_clock, number, PurchaseDocType(m_kind).prefix);
    job.setDataSet(QStringLiteral("Q_GoodsPrin"), lines.isEmpty() ? DataSet() : DataSet::read(m_db, lines.sql, lines.binds));
    job.rowsPerPage = lines.rowsPerPage;

    ReportVariables &v = job.variables;
    SetCompanyVariables(v, m_state);
    const PrintRow supplier = PrintRow::read(m_db, QStringLiteral("select ghs_lxr, ghs_tele, ghs_address from jxc_ghsxx "
                                                                  "where ghs_sn = ?"),
                                             {h.supplierSn});
    const QString balance = GetPartnerBalance(m_db, m_state, m_clock, h.supplierSn, QStringLiteral("ghs"));
    v.set(QStringLiteral("ghsName"), h.supplierText.trimmed());
    v.set(QStringLiteral("ghsBh"), h.supplierSn);
    v.set(QStringLiteral("ghsLxr"), supplier[QStringLiteral("ghs_lxr")]);
    v.set(QStringLiteral("ghsTele"), supplier[QStringLiteral("ghs_tele")]);
    v.set(QStringLiteral("ghsAddress"), supplier[QStringLiteral("ghs_address")]);
    v.set(QStringLiteral("ckName"), h.warehouseText);
    v.set(QStringLiteral("jhDate"), h.day);
    v.set(QStringLiteral("Note"), h.note);
    v.set(QStringLiteral("khqk"), balance);
    v.set(QStringLiteral("aName"), m_state.CurrentOperatorName);
    v.set(QStringLiteral("gldjh2"), h.originalNo.trimmed());
    v.set(QStringLiteral("uName"), h.handlerText);
    v.set(QStringLiteral("uTele"), PrintRow::read(m_db, QStringLiteral("select u_tele from jxc_user where u_sn = ?"),
                                                  {h.handlerSn})[QStringLiteral("u_tele")]);
    v.set(QStringLiteral("Kmmc"), h.accountText);
    v.set(QStringLiteral("yunfei"), NumberText(h.freight));
    v.set(QStringLiteral("baozfei"), NumberText(h.packing));
    v.set(QStringLiteral("fpno"), h.invoiceNo.trimmed());
    v.set(QStringLiteral("checker"), QString());
    v.set(QStringLiteral("chkrq"), QString());
    v.set(QStringLiteral("xxyh"), QString());
    v.set(QStringLiteral("xxyf"), NumberText(h.payable));
    v.set(QStringLiteral("xxsf"), NumberText(h.paid));
    v.set(QStringLiteral("ljqkje"), NumberText(TextToNumber(balance) + h.payable - h.paid));
    v.set(QStringLiteral("yf"), Capitals(h.payable));
    v.set(QStringLiteral("sf"), Capitals(h.paid));
    return job;
}

PrintJob ReceiptPrint::printDraft(const QString &number, const DraftReceiptHeader &header, ReportOutput &output,
                                  const PrintOptions &options)
{
    const QString name = chooseTemplate(options);
    const PrintJob job = prepareDraft(number, header, name, options.templateFolder);
    SendPrintJob(output, job, options);
    return job;
}
