#pragma once

// ForEachRow for selects run again and again over a bounded number of rows (a grid's block, a
// walk's chunk), read another way on PostgreSQL.

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariantList>

#include <functional>

struct RowReading
{
    // Decimal columns read on PostgreSQL as the exact text the server sends (a QString), so that
    // a value read can be bound again unchanged.
    bool exactNumbers = false;
    // PostgreSQL: the rows come in one result instead of a message each (Qt's forward-only
    // reading), far less work per row; all of them are held at once, so only for bounded results.
    bool wholeResult = false;
};

// ForEachRow (sqlroutines.h) kept prepared even without bound values and read as `how` says.
// SQLite reads as ForEachRow does.
void ForEachRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, RowReading how,
                const std::function<void(const QSqlQuery &row)> &row);
