#pragma once

// The supplier list and the customer list that the partner pickers of a login bind to: a
// statement, its bound values and the rows it gave, held in memory. OpenSupplierList and
// OpenCustomerList set the statement (newest or oldest first, limited to the operator's
// warehouses under the binding) and load it; OpenSuppliers and OpenCustomers load the current
// statement again. Database errors raise DbError.

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

struct LoginState;

class PartnerList : public QAbstractTableModel
{
public:
    enum class Kind { Suppliers, Customers };
    explicit PartnerList(Kind kind, QObject *parent = nullptr);

    Kind kind() const { return m_kind; }
    const QString &statement() const { return m_sql; }
    const QVariantList &binds() const { return m_binds; }
    void setStatement(const QString &sql, const QVariantList &binds);
    // Runs the statement and replaces the rows.
    void reload(const QSqlDatabase &db);

    // Column names as the statement gave them (lower case), and a value by name.
    const QStringList &columns() const { return m_columns; }
    QVariant value(int row, const QString &column) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    Kind m_kind;
    QString m_sql;
    QVariantList m_binds;
    QStringList m_columns;
    std::vector<QVariantList> m_rows;
};

// Non-forbidden suppliers by id, descending for direction "1", else ascending.
void OpenSupplierList(const QSqlDatabase &db, const LoginState &state, PartnerList &list, const QString &direction);
// Non-forbidden customers with their type name as ktname, by id in the same way.
void OpenCustomerList(const QSqlDatabase &db, const LoginState &state, PartnerList &list, const QString &direction);
// Load the statement the list holds.
void OpenSuppliers(const QSqlDatabase &db, PartnerList &list);
void OpenCustomers(const QSqlDatabase &db, PartnerList &list);
