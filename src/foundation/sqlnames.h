#pragma once

// Names and clauses that callers hand to the list loaders and look-ups. Table, column and sort
// names must be names of the table catalogue; a where clause is a condition with "?" places
// and its values, which are bound. Anything else raises std::invalid_argument before any
// statement runs.

#include "foundation/columnwidth.h"  // CutToColumn

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

struct LoginState;

// A condition for a statement: "ck_sn<>?" with {"100001"}. A leading "where" is accepted.
struct SqlWhere
{
    QString text;
    QVariantList binds;

    SqlWhere() = default;
    SqlWhere(const QString &condition, const QVariantList &values = {})
        : text(condition), binds(values) {}
    SqlWhere(const char *condition) : text(QString::fromUtf8(condition)) {}
    bool isEmpty() const;
};

void CheckTableName(const QString &table);
void CheckColumnName(const QString &table, const QString &column);
// "col", "col desc", "a, b asc" with every column checked; returns the clause as given.
QString CheckedSort(const QString &table, const QString &sort);
// " where <condition>" or the empty text; a condition holding quotes, ";" or comments is
// refused (values are bound, never written into the text).
QString CheckedWhere(const SqlWhere &where);

// Whether operators are bound to warehouses for this login (BindPartnersToWarehouse on and a
// role other than the administrator's).
bool PartnerBindingApplies(const LoginState &state);

// "(<column> = '-1' or <column> in (?, …))" for the warehouses whose operator list names the
// current operator as a whole code; the codes are appended to `binds`.
QString WarehouseBindingCondition(const QSqlDatabase &db, const LoginState &state,
                                  const QString &column, QVariantList &binds);

// " and (c1 like ? or c2 like ? …)" over `columns` for a non-empty typed text (the dialect's
// case-insensitive literal contains test), its pattern appended to `binds` once per column;
// "" for an empty text.
QString ContainsAnyCondition(const QSqlDatabase &db, const QStringList &columns, const QString &text,
                             QVariantList &binds);
