#include "engine/printdraft.h"

#include "engine/balances.h"
#include "engine/printlines.h"
#include "engine/printsupport.h"
#include "foundation/capitals.h"
#include "foundation/db/numbers.h"
#include "foundation/loginstate.h"
#include "platform/format/formatnumber.h"
#include "report/model/dataset.h"

QString AmountInCapitals(double amount)
{
    return MoneyToCapital(FormatNumber(amount, QStringLiteral("#.00")));
}

PrintJob PrepareDraftDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                              const QString &number, const QString &lineCode, const PartnerSide &side,
                              const DraftPrintHeader &h, const QString &templateName, const QString &templateFolder)
{
    PrintJob job = PrintJob::forTemplate(templateName, templateFolder);
    job.decimals = PrintDecimals(state);
    const PrintLinesQuery lines = GetPrintLinesSql(db, state, clock, number, lineCode);
    job.setDataSet(QStringLiteral("Q_GoodsPrin"), lines.isEmpty() ? DataSet() : DataSet::read(db, lines.sql, lines.binds));
    job.rowsPerPage = lines.rowsPerPage;

    ReportVariables &v = job.variables;
    SetCompanyVariables(v, state);
    const QString t = side.type;
    const PrintRow partner = PrintRow::read(
        db, QStringLiteral("select %1_lxr, %1_tele, %1_address from %2 where %3 = ?").arg(t, side.table, side.key),
        {h.partnerSn});
    const QString balance = GetPartnerBalance(db, state, clock, h.partnerSn, t);
    v.set(t + QStringLiteral("Name"), h.partnerText.trimmed());
    v.set(t + QStringLiteral("Bh"), h.partnerSn);
    v.set(t + QStringLiteral("Lxr"), partner[t + QStringLiteral("_lxr")]);
    v.set(t + QStringLiteral("Tele"), partner[t + QStringLiteral("_tele")]);
    v.set(t + QStringLiteral("Address"), partner[t + QStringLiteral("_address")]);
    v.set(QStringLiteral("ckName"), h.warehouseText);
    v.set(QStringLiteral("jhDate"), h.date);
    v.set(QStringLiteral("Note"), h.note);
    v.set(QStringLiteral("khqk"), balance);
    v.set(QStringLiteral("aName"), state.CurrentOperatorName);
    v.set(QStringLiteral("gldjh2"), h.originalNo.trimmed());
    v.set(QStringLiteral("uName"), h.handlerText);
    v.set(QStringLiteral("uTele"), PrintRow::read(db, QStringLiteral("select u_tele from jxc_user where u_sn = ?"),
                                                  {h.handlerSn})[QStringLiteral("u_tele")]);
    v.set(QStringLiteral("Kmmc"), h.accountText);
    v.set(QStringLiteral("yunfei"), NumberText(h.freight));
    v.set(QStringLiteral("baozfei"), NumberText(h.packing));
    v.set(QStringLiteral("fpno"), h.invoiceNo.trimmed());
    v.set(QStringLiteral("checker"), QString());
    v.set(QStringLiteral("chkrq"), QString());
    v.set(QStringLiteral("xxyh"), QString());
    v.set(QStringLiteral("xxyf"), NumberText(h.due));
    v.set(QStringLiteral("xxsf"), NumberText(h.paid));
    v.set(QStringLiteral("ljqkje"), NumberText(TextToNumber(balance) + h.due - h.paid));
    v.set(QStringLiteral("yf"), AmountInCapitals(h.due));
    v.set(QStringLiteral("sf"), AmountInCapitals(h.paid));
    return job;
}
