#pragma once

// Rows written and read through a column → value map, for the rules that write a line from
// several sources (barcode, dialog, kit, basket): the column names are checked against the
// table catalogue (std::invalid_argument before anything runs), texts are cut to their
// column's width and every value is bound. Database errors raise DbError.

#include "foundation/sqlnames.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// Inserts one row; returns its id.
qint64 InsertValues(const QSqlDatabase &db, const QString &table, const QVariantMap &values);

// Updates the rows meeting `where`; returns the rows changed. An empty map changes nothing.
int UpdateValues(const QSqlDatabase &db, const QString &table, const QVariantMap &values, const SqlWhere &where);

// The columns of the first row meeting `where` (empty when there is none), by column name.
QVariantMap ReadValues(const QSqlDatabase &db, const QString &table, const QStringList &columns,
                       const SqlWhere &where);
