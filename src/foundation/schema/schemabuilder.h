#pragma once

#include "foundation/db/clock.h"

#include <QSqlDatabase>
#include <QString>

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

// The dated upgrade steps (marker cs_employdate of jxc_xtcs), then the indexes and columns of
// our own that an older set lacks.
void UpgradeSchema(const QSqlDatabase &db, const Clock &clock = Clock::system());

// The CREATE TABLE statement of a catalogue table for the connection's dialect.
QString CreateTableSql(const QSqlDatabase &db, const QString &table);

// The date of the last upgrade step: what UpgradeSchema leaves in the marker.
QString LatestSchemaStep();
