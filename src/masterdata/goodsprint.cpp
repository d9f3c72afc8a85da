#include "masterdata/goodsprint.h"

#include "masterdata/goodslistquery.h"

#include "foundation/loginstate.h"
#include "report/model/dataset.h"

namespace {

void setCompany(PrintJob &job, const LoginState &state)
{
    job.variables.set(QStringLiteral("comName"), state.CompanyName);
    job.variables.set(QStringLiteral("comTele"), state.CompanyTele);
    job.variables.set(QStringLiteral("comLxr"), state.CompanyContact);
    job.variables.set(QStringLiteral("comNote"), state.CompanyNote);
    job.variables.set(QStringLiteral("comAddress"), state.CompanyAddress);
}

ReportDecimals decimalsOf(const LoginState &state)
{
    ReportDecimals d;
    d.price = state.PriceDecimals;
    d.qty = state.QtyDecimals;
    d.total = state.TotalDecimals.toInt();
    return d;
}

}  // namespace

PrintJob GoodsLabelJob(const QSqlDatabase &db, const LoginState &state, const ListStatement &rows)
{
    PrintJob job = PrintJob::forTemplate(QStringLiteral("goodsprice.fr3"));
    job.decimals = decimalsOf(state);
    job.setDataSet(QStringLiteral("frxDBDataset1"),
                   DataSet::read(db, rows.body + QStringLiteral(" order by ") + rows.order, rows.binds));
    return job;
}

PrintJob GoodsListJob(const QSqlDatabase &db, const LoginState &state, const QString &sql, const QVariantList &binds,
                      const QString &className, const QString &printTime)
{
    PrintJob job = PrintJob::forTemplate(QStringLiteral("spxxgl.fr3"));
    job.decimals = decimalsOf(state);
    job.variables.set(QStringLiteral("goodsclass"), className);
    setCompany(job, state);
    const DataSet rows = DataSet::read(db, sql, binds);
    job.variables.set(QStringLiteral("printTime"), printTime);
    job.variables.set(QStringLiteral("goodsCount"), QString::number(rows.rowCount()));
    job.setDataSet(QStringLiteral("frxDB_Goods"), rows);
    return job;
}
