#include "foundation/partnerlists.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/sqlnames.h"

#include <QSqlRecord>

PartnerList::PartnerList(Kind kind, QObject *parent)
    : QAbstractTableModel(parent), m_kind(kind)
{
    // The statements a list starts with, before a login sets its own.
    m_sql = kind == Kind::Suppliers
                ? QStringLiteral("select * from jxc_ghsxx where ghs_forbid = 0 order by id")
                : QStringLiteral("select * from jxc_khxx order by id");
}

void PartnerList::setStatement(const QString &sql, const QVariantList &binds)
{
    m_sql = sql;
    m_binds = binds;
}

void PartnerList::reload(const QSqlDatabase &db)
{
    QSqlQuery q = OpenSelect(db, m_sql, m_binds);
    QStringList columns;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i)
        columns << record.fieldName(i).toLower();
    std::vector<QVariantList> rows;
    while (q.next()) {
        QVariantList row;
        row.reserve(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            row << q.value(i);
        rows.push_back(std::move(row));
    }
    beginResetModel();
    m_columns = columns;
    m_rows = std::move(rows);
    endResetModel();
}

QVariant PartnerList::value(int row, const QString &column) const
{
    const qsizetype c = m_columns.indexOf(column.toLower());
    if (row < 0 || row >= int(m_rows.size()) || c < 0)
        return QVariant();
    return m_rows[size_t(row)].at(c);
}

int PartnerList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PartnerList::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant PartnerList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole))
        return QVariant();
    if (index.row() >= int(m_rows.size()) || index.column() >= int(m_columns.size()))
        return QVariant();
    return m_rows[size_t(index.row())].at(index.column());
}

QVariant PartnerList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.size())
        return m_columns.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

void OpenSupplierList(const QSqlDatabase &db, const LoginState &state, PartnerList &list, const QString &direction)
{
    QString sql = QStringLiteral("select * from jxc_ghsxx where ghs_forbid = 0");
    QVariantList binds;
    if (PartnerBindingApplies(state))
        sql += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("ck_sn"), binds);
    sql += direction == QLatin1String("1") ? QStringLiteral(" order by id desc") : QStringLiteral(" order by id asc");
    list.setStatement(sql, binds);
    list.reload(db);
}

void OpenCustomerList(const QSqlDatabase &db, const LoginState &state, PartnerList &list, const QString &direction)
{
    QString sql = QStringLiteral("select a.*, b.kt_name as ktname from jxc_khxx a, jxc_khtype b "
                                 "where a.kt_sn = b.kt_sn and a.kh_forbid = 0");
    QVariantList binds;
    if (PartnerBindingApplies(state))
        sql += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("a.ck_sn"), binds);
    sql += direction == QLatin1String("1") ? QStringLiteral(" order by a.id desc")
                                           : QStringLiteral(" order by a.id asc");
    list.setStatement(sql, binds);
    list.reload(db);
}

void OpenSuppliers(const QSqlDatabase &db, PartnerList &list) { list.reload(db); }
void OpenCustomers(const QSqlDatabase &db, PartnerList &list) { list.reload(db); }
