#include "engine/enginebatch.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

namespace engine {

namespace {

const QString kBatchTable = QStringLiteral("jxc_tmp_batch");
constexpr int kNumberColumns = 8;
// Rows per insert statement: well below the bound-value limits of both kinds.
constexpr int kRowsPerInsert = 400;

void ensureBatchTable(const QSqlDatabase &db)
{
    const Dialect dialect = Dialect::of(db);
    QStringList cols{QStringLiteral("id bigint"), QStringLiteral("k1 ") + dialect.columnType(ColType::Text, 0),
                     QStringLiteral("k2 ") + dialect.columnType(ColType::Text, 0)};
    for (int i = 1; i <= kNumberColumns; ++i)
        cols << QStringLiteral("c%1 %2").arg(i).arg(dialect.columnType(ColType::Numeric, 0));
    if (dialect.isPostgres()) {
        // Asked first: IF NOT EXISTS would send a notice on every call.
        if (!QueryScalar(db, QStringLiteral("select to_regclass('pg_temp.%1')").arg(kBatchTable)).isEmpty())
            return;
        RunSql(db, QStringLiteral("CREATE TEMP TABLE %1 (%2)").arg(kBatchTable, cols.join(QStringLiteral(", "))));
        return;
    }
    RunSql(db, QStringLiteral("CREATE TEMP TABLE IF NOT EXISTS %1 (%2)").arg(kBatchTable, cols.join(QStringLiteral(", "))));
}

} // namespace

int AmountDecimals(const LoginState &state)
{
    if (IsTrue(state.RoundTotals)) {
        bool ok = false;
        const int d = state.TotalDecimals.trimmed().toInt(&ok);
        if (ok && d >= 0 && d <= 8)
            return d;
        return 2;
    }
    return state.PriceDecimals;
}

void FillBatch(const QSqlDatabase &db, const QStringList &columns, const std::vector<QVariantList> &rows)
{
    ensureBatchTable(db);
    RunSql(db, QStringLiteral("DELETE FROM ") + kBatchTable);
    if (rows.empty())
        return;
    const int width = int(columns.size());
    const QString oneRow = QLatin1Char('(') + QStringList(width, QStringLiteral("?")).join(QLatin1Char(','))
                           + QLatin1Char(')');
    const QString head = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(kBatchTable, columns.join(QLatin1Char(',')));
    size_t at = 0;
    while (at < rows.size()) {
        const size_t n = std::min<size_t>(kRowsPerInsert, rows.size() - at);
        QVariantList binds;
        binds.reserve(int(n) * width);
        for (size_t i = at; i < at + n; ++i) {
            const QVariantList &row = rows[i];
            for (int c = 0; c < width; ++c)
                binds << (c < row.size() ? row.at(c) : QVariant());
        }
        RunSql(db, head + QStringList(int(n), oneRow).join(QLatin1Char(',')), binds);
        at += n;
    }
}

void BatchUpdateById(const QSqlDatabase &db, const QString &table, const QStringList &setColumns,
                     const std::vector<QVariantList> &rows)
{
    if (rows.empty())
        return;
    QStringList columns{QStringLiteral("id")};
    QStringList sets;
    for (int i = 0; i < setColumns.size(); ++i) {
        columns << QStringLiteral("c%1").arg(i + 1);
        sets << QStringLiteral("%1 = b.c%2").arg(setColumns.at(i)).arg(i + 1);
    }
    FillBatch(db, columns, rows);
    RunSql(db, QStringLiteral("UPDATE %1 SET %2 FROM %3 b WHERE %1.id = b.id")
                   .arg(table, sets.join(QStringLiteral(", ")), kBatchTable));
}

qint64 IdFromText(const QString &id)
{
    bool ok = false;
    const qint64 v = id.trimmed().toLongLong(&ok);
    return ok ? v : -1;
}

} // namespace engine
