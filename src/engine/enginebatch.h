#pragma once

// Shared pieces of the engine's walks: the decimals a walk rounds to, and the batch table
// through which a walk writes all its rows back in a few statements instead of one per row.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <vector>

struct LoginState;

namespace engine {

// Decimals of amounts: TotalDecimals when RoundTotals is on, otherwise PriceDecimals.
int AmountDecimals(const LoginState &state);

// The per-connection scratch table jxc_tmp_batch: id (bigint), k1, k2 (text), c1 … c8
// (numbers). FillBatch empties it and inserts `rows` (each row holds the values of `columns`, in
// that order) with multi-row inserts. The caller then runs one UPDATE … FROM jxc_tmp_batch.
void FillBatch(const QSqlDatabase &db, const QStringList &columns,
               const std::vector<QVariantList> &rows);

// Fills the batch with (id, values…) and runs
//   UPDATE table SET setColumns[i] = c(i+1) FROM jxc_tmp_batch WHERE table.id = batch.id.
void BatchUpdateById(const QSqlDatabase &db, const QString &table, const QStringList &setColumns,
                     const std::vector<QVariantList> &rows);

// `text`, with a null text made empty: a null QString would be bound as SQL NULL, which
// compares with nothing.
inline QString NotNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

// A row id given as text; -1 when it is not a number.
qint64 IdFromText(const QString &id);

} // namespace engine
