#pragma once

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// Builds and upgrades the tables of an account set from the catalogue.

// Drops the table, creates it with its indexes and inserts its default rows (joins the
// caller's transaction, or runs in its own).
void CreateCatalogTable(const QSqlDatabase &db, const QString &table,
                        const Clock &clock = Clock::system());

// Every table in the creation order, with default rows, in one transaction.
void CreateAllTables(const QSqlDatabase &db, const Clock &clock = Clock::system());

// Every table in the creation order, empty (no default rows): the target of an export.
void CreateTablesWithoutRows(const QSqlDatabase &db);

// Empties the business data but keeps master data and settings: resets the goods' stock and
// supplier, then re-creates every table but the kept ones.
void RecreateBusinessTables(const QSqlDatabase &db, const Clock &clock = Clock::system());

// RecreateBusinessTables, then the stock table is emptied as well.
void ClearBusinessData(const QSqlDatabase &db, const Clock &clock = Clock::system());

// How long a change of the upgrade (and the repairs run with it at a login) waits for a table or
// row another workstation holds before it is left for a later login. Well below the server's
// deadlock_timeout (1 s), so that a posting waiting behind such a change never becomes the
// victim of a deadlock check.
inline constexpr int kUpgradeLockTimeoutMs = 300;

// What an upgrade did and what it left for a later login.
struct SchemaUpgradeReport
{
    QStringList applied;   // changes made, named as in the messages: "建立索引 jxc_goods_sn"
    QStringList deferred;  // changes whose tables another workstation was using: next login
    QStringList skipped;   // unique indexes not made because rows share their key
    QString notice;        // to show once under "系统提示": goods codes used by several goods
};

// A failed change of the upgrade: the step named for the operator and the database's text.
class SchemaUpgradeError : public DbError
{
public:
    SchemaUpgradeError(const QString &step, const QString &cause);
    const QString &step() const { return m_step; }

private:
    QString m_step;
};

// The dated upgrade steps (marker cs_employdate of jxc_xtcs), then the columns and indexes of
// our own that the set lacks. What is missing is read from the database's catalogue, so a set
// that lacks nothing runs no DDL and takes no lock. Each change runs in a transaction of its
// own; on PostgreSQL it first locks its table under a short lock timeout, and a table in use by
// another workstation (a posting) leaves the change for a later login (one diagnostic line)
// instead of making anyone wait. A unique index whose key is shared by several rows is not
// made (jxc_goods: the notice lists the codes). Raises SchemaUpgradeError when a change fails.
SchemaUpgradeReport UpgradeSchema(const QSqlDatabase &db, const Clock &clock = Clock::system());

// The CREATE TABLE statement of a catalogue table for the connection's dialect.
QString CreateTableSql(const QSqlDatabase &db, const QString &table);

// The date of the last upgrade step: what UpgradeSchema leaves in the marker.
QString LatestSchemaStep();

// Twelve hex digits that change whenever what CreateAllTables builds changes (tables, columns,
// indexes, default rows with the product's texts, the last upgrade step), whatever the day: a
// set built once stands for a new one while its fingerprint holds.
QString CatalogueFingerprint();

// Writes today's date and the time `clock` gives into the default rows that carry them (a set
// copied from one built on another day). In one transaction.
void RefreshDatedDefaults(const QSqlDatabase &db, const Clock &clock = Clock::system());
