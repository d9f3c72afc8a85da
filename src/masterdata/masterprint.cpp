#include "masterdata/masterprint.h"

#include "engine/printdocument.h"
#include "foundation/db/clock.h"
#include "report/model/dataset.h"

const MasterListPrint &MasterListPrintOf(MasterList list)
{
    static const MasterListPrint prints[] = {
        {"khgl", "Q_Khxx"},
        {"ghsgl", "Q_Ghsxx"},
        {"ckgl", "Q_Ckxx"},
        {"user", "Q_User"},
    };
    return prints[int(list)];
}

PrintJob PrintMasterList(const QSqlDatabase &db, const LoginState &state, const Clock &clock, ReportOutput &output,
                         MasterList list, const QString &sql, const QVariantList &binds)
{
    const MasterListPrint &p = MasterListPrintOf(list);
    ReportVariables variables;
    variables.set(QStringLiteral("printDate"), clock.todayText());
    return PrintListReport(state, output, QString::fromLatin1(p.templateName), QString::fromLatin1(p.dataSet),
                           DataSet::read(db, sql, binds), variables);
}
