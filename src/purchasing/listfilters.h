#pragma once

// Pieces of the purchase list statements: the end of a period and a typed text looked for in
// several columns (literally, letter case ignored, values bound).

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

// "yyyy-MM-dd" + " 23:59:00".
QString PeriodEnd(const QString &to);

// " and (c1 like ? or c2 like ? …)" for a non-empty text, its patterns appended to `binds`.
QString ContainsAny(const QSqlDatabase &db, const QStringList &columns, const QString &text, QVariantList &binds);
