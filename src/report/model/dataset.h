#pragma once

// The rows a template's detail band prints: column names and the values of each row as text
// (numbers in the canonical number text of the database layer, NULL as the empty text).
// Column names match without regard to letter case, since PostgreSQL returns them lower-case.
// QtCore only.

#include <QHash>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class QSqlQuery;

class DataSet
{
public:
    DataSet() = default;
    explicit DataSet(const QStringList &columns, const QList<QStringList> &rows = {});

    // Every remaining row of an executed query.
    static DataSet fromQuery(QSqlQuery &query);
    // Runs a select with bound values and reads all its rows.
    static DataSet read(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

    const QStringList &columns() const { return m_columns; }
    // -1 for an unknown column.
    int columnIndex(const QString &column) const;
    int rowCount() const { return int(m_rows.size()); }
    const QList<QStringList> &rows() const { return m_rows; }

    // The empty text for an unknown column or row.
    QString value(int row, const QString &column) const;
    QString value(int row, int column) const;
    // True when every value of the row is empty (a blank row that fills a page).
    bool rowIsEmpty(int row) const;

    void appendRow(const QStringList &values);

private:
    void buildIndex();

    QStringList m_columns;
    QList<QStringList> m_rows;
    QHash<QString, int> m_index;  // lower-case column -> position (first of equal names)
};
