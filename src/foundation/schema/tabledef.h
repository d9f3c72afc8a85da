#pragma once

// Declarations of the account-set tables as data. Each table is declared once here; the
// schema builder turns a declaration into a CREATE TABLE for the connection's dialect and
// inserts the default rows with bound values.

#include <QString>
#include <QVariant>

#include <initializer_list>
#include <vector>

namespace schema {

// One value of a default row. Texts may hold the placeholders below, which the builder
// replaces when it inserts the row:
//   {TODAY}  today's date as "yyyy-MM-dd" (from the clock)
//   {NOW}    the current time as "yyyy-MM-dd HH:mm:ss"
//   {BRAND}  the brand word of the product constants ("Corvel")
//   {MAKER_COMPANY}, {MAKER_SOFTWARE}, {MAKER_PHONE}, {MAKER_WEB}, {VERSION}
// A default-constructed Val is SQL NULL.
class Val
{
public:
    Val() = default;
    Val(int v) : m_value(v) {}
    Val(double v) : m_value(v) {}
    Val(const char *utf8) : m_value(QString::fromUtf8(utf8)) {}
    Val(const QString &text) : m_value(text) {}

    const QVariant &value() const { return m_value; }

private:
    QVariant m_value;
};

// Default rows that name the same columns, inserted in the order given.
struct DefaultRows
{
    // Comma-separated column names, e.g. "color_sn, color_name".
    const char *columns;
    std::vector<std::vector<Val>> rows;
};

// One table. `columns` lists every column but `id` in order, comma-separated, each as
// "<name> <type>" with the type one of:
//   varchar(n)  nvarchar(n)  numeric  int  bit  text
// optionally followed by "not null". `numeric` stands for numeric(28,8).
// Example: "g_sn varchar(32), g_name nvarchar(128), g_jj numeric, g_jy bit, g_note text"
struct TableDef
{
    const char *name;
    const char *columns;
    std::vector<DefaultRows> defaults = {};
    // Columns of our own (not part of the original schema), in the same form as `columns`.
    const char *ownColumns = "";
    // Indexes of our own: each "name:col1,col2" or "unique name:col1,col2".
    std::vector<const char *> indexes = {};
    // PostgreSQL fill factor (percent; 0 for the default): room kept on every page for updates.
    int fillFactor = 0;
};

// The table groups; each returns its tables in any order (the builder orders them).
std::vector<TableDef> goodsTables();        // goods, units, warehouses, stock
std::vector<TableDef> partnerTables();      // partners, staff, contracts
std::vector<TableDef> tradeTables();        // purchase and sales documents
std::vector<TableDef> inventoryTables();    // inventory and production documents
std::vector<TableDef> ledgerTables();       // goods ledger and finance
std::vector<TableDef> posTables();          // POS, members and SMS
std::vector<TableDef> settingsTables();     // settings, rights, log, printing, scratch data
std::vector<TableDef> assetTables();        // fixed assets, processing, plans, repairs

} // namespace schema
