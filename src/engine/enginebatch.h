#pragma once

// Shared pieces of the engine's walks: the decimals a walk rounds to, and the batch table
// through which a walk writes all its rows back in a few statements instead of one per row.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

struct LoginState;
struct sqlite3_stmt;

namespace engine {

// Decimals of amounts: TotalDecimals when RoundTotals is on, otherwise PriceDecimals.
int AmountDecimals(const LoginState &state);

// The per-connection scratch table jxc_tmp_batch: id (bigint), k1 … k4 (text), c1 … c8
// (numbers). FillBatch empties it and inserts `rows` (each row holds the values of `columns`, in
// that order) with multi-row inserts. The caller then runs one UPDATE … FROM jxc_tmp_batch.
void FillBatch(const QSqlDatabase &db, const QStringList &columns,
               const std::vector<QVariantList> &rows);

// Sets setColumns[i] to value i + 1 of each row (id, values…) in the row of `table` with that id,
// leaving rows whose stored values already equal the new ones. SQLite steps one prepared UPDATE
// by id per row on the connection's handle; PostgreSQL sends the rows as arrays, UPDATE … FROM
// unnest(), numbers rounded to the stored scale (numeric(28,8)) on the way.
void BatchUpdateById(const QSqlDatabase &db, const QString &table, const QStringList &setColumns,
                     const std::vector<QVariantList> &rows);

// `rows` (values of `columns`: id, k1 … k4, c1 … c8) as a FROM item aliased b, for one
// statement that reads or joins them: SQLite fills jxc_tmp_batch and answers "jxc_tmp_batch b";
// PostgreSQL answers "unnest(…) AS b(columns)" and appends the arrays to `binds`, numbers
// unrounded, so b.cN holds what a bound value of the row would. One source per statement: the
// next call refills the table.
QString BatchSource(const QSqlDatabase &db, const QStringList &columns, const std::vector<QVariantList> &rows,
                    QVariantList &binds);

// `text`, with a null text made empty: a null QString would be bound as SQL NULL, which
// compares with nothing.
inline QString NotNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// The positions of `keys` in groups: group k holds the (k+1)-th occurrence of every key, in the
// order of `keys`. Work per goods of a document runs group by group, so the goods of one group
// differ and a goods met twice keeps its order.
std::vector<std::vector<int>> GroupsByOccurrence(const QStringList &keys);

// The join keyword after a BatchSource that must drive the join: SQLite keeps the left table of
// a CROSS JOIN outermost (the batch holds no statistics, and a scan of the big table per batch
// row would follow); PostgreSQL plans a plain JOIN.
inline QString BatchJoin(const QSqlDatabase &db)
{
    return db.driverName() == QLatin1String("QPSQL") ? QStringLiteral("join") : QStringLiteral("cross join");
}

// A text as a bound value carries it: a null text is SQL NULL.
inline QVariant BoundText(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

// Binds `value` to parameter `index` (from 1) of an SQLite statement as Qt's driver does: NULL,
// integers and booleans as integers, doubles, everything else as text.
void BindSqliteValue(sqlite3_stmt *stmt, int index, const QVariant &value);

// A row id given as text; -1 when it is not a number.
qint64 IdFromText(const QString &id);

} // namespace engine
