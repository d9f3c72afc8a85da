#pragma once

// Whether documents name a master record: every document header table (purchase and sales,
// inventory and production, POS and members) that carries the record's code in the column
// given, pending and audited headers alike. A record that documents or ledgers use is not
// deleted. QtCore + QtSql.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

// The header tables holding `column` (kh_sn, ghs_sn, u_sn, ck_sn, ck_out, ck_in, de_sn).
QStringList HeaderTablesWith(const QString &column);

// Whether any header names `code` in one of `columns`.
bool HeadersUse(const QSqlDatabase &db, const QStringList &columns, const QString &code);

// Whether any of the statements (each "select 1 from … where … = ?" with one value) finds a
// row; they run as one union.
bool AnyRow(const QSqlDatabase &db, const QStringList &selects, const QVariantList &binds);
