#pragma once

#include "foundation/db/dialect.h"
#include "foundation/schema/tabledef.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

namespace schema {

struct Column
{
    QString name;
    ColType type = ColType::Text;
    int width = 0;
    bool notNull = false;
    bool own = false;  // a column of our own, added to older sets by the upgrade
};

struct Index
{
    QString name;  // without the table prefix
    QStringList columns;
    bool unique = false;
};

struct Table
{
    QString name;
    std::vector<Column> columns;  // without id
    std::vector<Index> indexes;
    const TableDef *def = nullptr;

    const Column *column(const QString &name) const;
    bool hasColumn(const QString &name) const { return column(name) != nullptr; }
};

// Every table of an account set, parsed once from the declarations.
class Catalog
{
public:
    static const Catalog &instance();

    const Table *table(const QString &name) const;
    const Table &tableOrThrow(const QString &name) const;
    // The creation order of a complete account set.
    const QStringList &creationOrder() const { return m_order; }
    // Tables that a clean-up of the business data keeps.
    const QStringList &keptTables() const { return m_kept; }
    // True when `name` is a table of the catalogue and, if given, `column` one of its columns.
    bool knows(const QString &name, const QString &column = QString()) const;

private:
    Catalog();
    std::vector<TableDef> m_defs;
    QHash<QString, Table> m_tables;
    QStringList m_order;
    QStringList m_kept;
};

// Parses "a varchar(8), b numeric, c bit not null" (raises std::invalid_argument).
std::vector<Column> ParseColumns(const QString &spec);
// Parses "name:col1,col2" or "unique name:col1,col2".
Index ParseIndex(const QString &spec);

} // namespace schema
