#include "engine/printsupport.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "report/model/reportvariables.h"

#include <QSqlRecord>

PrintRow PrintRow::read(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    PrintRow row;
    QSqlQuery query = OpenSelect(db, sql, binds);
    if (!query.next())
        return row;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i).toLower();
        if (!row.m_values.contains(name))
            row.m_values.insert(name, ValueText(query.value(i)));
    }
    return row;
}

void SetCompanyVariables(ReportVariables &variables, const LoginState &state, bool allFive)
{
    variables.set(QStringLiteral("comName"), state.CompanyName);
    variables.set(QStringLiteral("comTele"), state.CompanyTele);
    if (allFive) {
        variables.set(QStringLiteral("comLxr"), state.CompanyContact);
        variables.set(QStringLiteral("comNote"), state.CompanyNote);
    }
    variables.set(QStringLiteral("comAddress"), state.CompanyAddress);
}

ReportDecimals PrintDecimals(const LoginState &state)
{
    ReportDecimals decimals;
    decimals.price = state.PriceDecimals;
    decimals.qty = state.QtyDecimals;
    bool ok = false;
    const int total = state.TotalDecimals.toInt(&ok);
    decimals.total = ok && total >= 0 && total <= 8 ? total : 2;
    return decimals;
}
