#include "report/model/dataset.h"

#include "foundation/db/sqlroutines.h"

#include <QSqlQuery>
#include <QSqlRecord>

DataSet::DataSet(const QStringList &columns, const QList<QStringList> &rows)
    : m_columns(columns), m_rows(rows)
{
    buildIndex();
}

void DataSet::buildIndex()
{
    m_index.clear();
    for (int i = 0; i < m_columns.size(); ++i) {
        const QString key = m_columns.at(i).toLower();
        if (!m_index.contains(key))
            m_index.insert(key, i);
    }
}

DataSet DataSet::fromQuery(QSqlQuery &query)
{
    DataSet out;
    const QSqlRecord record = query.record();
    for (int i = 0; i < record.count(); ++i)
        out.m_columns << record.fieldName(i);
    out.buildIndex();
    const int n = int(out.m_columns.size());
    while (query.next()) {
        QStringList row;
        row.reserve(n);
        for (int i = 0; i < n; ++i)
            row << ValueText(query.value(i));
        out.m_rows.append(row);
    }
    return out;
}

DataSet DataSet::read(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery query = OpenSelect(db, sql, binds);
    return fromQuery(query);
}

int DataSet::columnIndex(const QString &column) const
{
    return m_index.value(column.toLower(), -1);
}

QString DataSet::value(int row, const QString &column) const
{
    return value(row, columnIndex(column));
}

QString DataSet::value(int row, int column) const
{
    if (row < 0 || row >= m_rows.size() || column < 0)
        return QString();
    return m_rows.at(row).value(column);
}

bool DataSet::rowIsEmpty(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return true;
    for (const QString &v : m_rows.at(row))
        if (!v.isEmpty())
            return false;
    return true;
}

void DataSet::appendRow(const QStringList &values)
{
    m_rows.append(values);
}
