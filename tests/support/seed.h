#pragma once

// Small writers shared by the database fixtures: a row from a column → value map, and the
// built-in administrator signed in.

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QVariantList>
#include <QVariantMap>

struct LoginState;

// Inserts one row of `table` with the columns and values of `values`; returns its id.
qint64 InsertRow(const QSqlDatabase &db, const QString &table, const QVariantMap &values);

// The rows of a statement as "a|b|c" (numbers in the canonical number text), joined by "; ".
QString RowsText(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// Every table's rows as text, by lower-case table name (ordered by id where there is one): to
// show that an action left the account set as it was.
QMap<QString, QString> AllRows(const QSqlDatabase &db);

// Signs `name` in as the built-in operator "100001" of the administrator role "100001".
void SignInAsAdministrator(LoginState &state, const QString &name = QStringLiteral("admin"));
