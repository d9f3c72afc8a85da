#include "engine/enginebatch.h"

#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/statementhooks.h"
#include "foundation/loginstate.h"

#include <QHash>
#include <QSqlDriver>

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <cmath>

namespace engine {

namespace {

const QString kBatchTable = QStringLiteral("jxc_tmp_batch");
constexpr int kNumberColumns = 8;
constexpr int kKeyColumns = 4;
// Rows per UPDATE … FROM unnest() on PostgreSQL: at 1,000–2,000 rows the planner looks each row
// up by its key (about 7 µs a row on a 200,000-row ledger); from about 5,000 on it hashes a scan
// of the whole table (20 µs a row there, more on a longer ledger).
constexpr size_t kPostgresUpdateRows = 2000;

void ensureBatchTable(const QSqlDatabase &db)
{
    const Dialect dialect = Dialect::of(db);
    QStringList cols{QStringLiteral("id bigint")};
    for (int i = 1; i <= kKeyColumns; ++i)
        cols << QStringLiteral("k%1 %2").arg(i).arg(dialect.columnType(ColType::Text, 0));
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

// SQLite: one prepared single-row statement (an insert, an update by id) stepped per row on the
// connection's own handle, the row's values bound to ?1 … ?width. The driver looks up every
// bound parameter's name on each bind, which makes wide multi-row inserts quadratic; a reused
// statement costs a few microseconds a row.
void stepSqlite(const QSqlDatabase &db, const QString &insertSql, int width, const std::vector<QVariantList> &rows)
{
    const QVariant handle = db.driver()->handle();
    sqlite3 *conn = handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0
                        ? *static_cast<sqlite3 *const *>(handle.data())
                        : nullptr;
    if (!conn)
        throw DbError(QStringLiteral("数据库操作失败：不是SQLite连接"));
    sqlite3_stmt *stmt = nullptr;
    const QByteArray sql = insertSql.toUtf8();
    if (sqlite3_prepare_v2(conn, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
        throw DbError(QStringLiteral("数据库操作失败：%1").arg(QString::fromUtf8(sqlite3_errmsg(conn))));
    for (const QVariantList &row : rows) {
        ObserveStatement(db, insertSql, row);
        for (int c = 0; c < width; ++c)
            BindSqliteValue(stmt, c + 1, c < row.size() ? row.at(c) : QVariant());
        if (sqlite3_step(stmt) != SQLITE_DONE) {
            const QString error = QString::fromUtf8(sqlite3_errmsg(conn));
            sqlite3_finalize(stmt);
            throw DbError(QStringLiteral("数据库操作失败：%1").arg(error));
        }
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
}

// PostgreSQL: every column travels as one array literal and one INSERT … SELECT FROM unnest()
// writes all rows in a single round trip. Numbers are written with std::to_chars straight into
// the literal (a tenth of the time of a QString per value, and the same digits).
void appendNumber(QByteArray &out, const QVariant &v, bool exact)
{
    char buf[64];
    std::to_chars_result r{};
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
        // exact: the shortest text that reads back as the same double, as a bound value
        // travels; otherwise 17 digits as the batch table has always received them.
        r = exact ? std::to_chars(buf, buf + sizeof buf, v.toDouble())
                  : std::to_chars(buf, buf + sizeof buf, v.toDouble(), std::chars_format::general, 17);
        break;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::Bool:
        r = std::to_chars(buf, buf + sizeof buf, v.toLongLong());
        break;
    default:
        out += v.toString().toUtf8();
        return;
    }
    if (!std::isfinite(v.toDouble()) && (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)) {
        out += v.toString().toUtf8();  // as before: "inf", "nan"
        return;
    }
    out.append(buf, int(r.ptr - buf));
}

QString arrayLiteral(const std::vector<QVariantList> &rows, int column, bool text, bool exact = false)
{
    QByteArray out;
    out.reserve(int(rows.size()) * (text ? 12 : 20) + 2);
    out += '{';
    bool first = true;
    for (const QVariantList &row : rows) {
        if (!first)
            out += ',';
        first = false;
        const QVariant v = column < row.size() ? row.at(column) : QVariant();
        if (!v.isValid() || v.isNull()) {
            out += "NULL";
            continue;
        }
        if (!text) {
            appendNumber(out, v, exact);
            continue;
        }
        QString t = v.toString();
        t.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        t.replace(QLatin1Char('"'), QStringLiteral("\\\""));
        out += '"';
        out += t.toUtf8();
        out += '"';
    }
    out += '}';
    return QString::fromUtf8(out);
}

QString arrayType(const QString &column)
{
    if (column == QLatin1String("id"))
        return QStringLiteral("bigint[]");
    if (column.startsWith(QLatin1Char('k')))
        return QStringLiteral("text[]");
    return QStringLiteral("numeric[]");
}

// The rows as a set-returning FROM item of PostgreSQL, `unnest(…) AS b(columns)`, every column
// one bound array. Number columns are numeric(28,8) like the batch table's (rounded to the
// stored scale before any arithmetic), or unconstrained numeric with `exact`.
QString unnestSource(const QStringList &columns, const std::vector<QVariantList> &rows, bool exact,
                     QVariantList &binds)
{
    QStringList params;
    for (int c = 0; c < columns.size(); ++c) {
        QString type = arrayType(columns.at(c));
        const bool text = type == QLatin1String("text[]");
        if (type == QLatin1String("numeric[]") && !exact)
            type = QStringLiteral("numeric(28,8)[]");
        params << QStringLiteral("cast(? as %1)").arg(type);
        binds << arrayLiteral(rows, c, text, exact);
    }
    return QStringLiteral("unnest(%1) AS b(%2)").arg(params.join(QLatin1Char(',')), columns.join(QLatin1Char(',')));
}

void fillPostgres(const QSqlDatabase &db, const QStringList &columns, const std::vector<QVariantList> &rows)
{
    QStringList params;
    QVariantList binds;
    for (int c = 0; c < columns.size(); ++c) {
        const QString type = arrayType(columns.at(c));
        params << QStringLiteral("cast(? as %1)").arg(type);
        binds << arrayLiteral(rows, c, type == QLatin1String("text[]"));
    }
    RunSql(db, QStringLiteral("INSERT INTO %1 (%2) SELECT * FROM unnest(%3)")
                   .arg(kBatchTable, columns.join(QLatin1Char(',')), params.join(QLatin1Char(','))),
           binds);
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
    if (Dialect::of(db).isSqlite()) {
        stepSqlite(db,
                   QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(kBatchTable, columns.join(QLatin1Char(',')),
                            QStringList(width, QStringLiteral("?")).join(QLatin1Char(','))),
                   width, rows);
        return;
    }
    fillPostgres(db, columns, rows);
}

void BatchUpdateById(const QSqlDatabase &db, const QString &table, const QStringList &setColumns,
                     const std::vector<QVariantList> &rows)
{
    if (rows.empty())
        return;
    QStringList columns{QStringLiteral("id")};
    QStringList sets, changed;
    for (int i = 0; i < setColumns.size(); ++i) {
        columns << QStringLiteral("c%1").arg(i + 1);
        sets << QStringLiteral("%1 = b.c%2").arg(setColumns.at(i)).arg(i + 1);
        changed << QStringLiteral("%1.%2 IS DISTINCT FROM b.c%3").arg(table, setColumns.at(i)).arg(i + 1);
    }
    // A row whose stored values already equal the new ones is left as it is: no new row version,
    // nothing for the journal (b.cN has the stored scale, so equal means equal once stored).
    const QString unchanged = QStringLiteral(" AND (%1)").arg(changed.join(QStringLiteral(" OR ")));
    if (Dialect::of(db).isPostgres()) {
        // The rows travel as arrays, no scratch table is filled first; a statement takes at most
        // kPostgresUpdateRows of them, few enough that the server finds each row by its key (a
        // nested loop over the primary key) instead of hashing a scan of the whole table.
        for (size_t from = 0; from < rows.size(); from += kPostgresUpdateRows) {
            const std::vector<QVariantList> slice(
                rows.begin() + qsizetype(from),
                rows.begin() + qsizetype(std::min(rows.size(), from + kPostgresUpdateRows)));
            QVariantList binds;
            const QString source = unnestSource(columns, slice, false, binds);
            RunSql(db, QStringLiteral("UPDATE %1 SET %2 FROM %3 WHERE %1.id = b.id%4")
                           .arg(table, sets.join(QStringLiteral(", ")), source, unchanged),
                   binds);
        }
        return;
    }
    // SQLite: each row updated by its id, as a prepared statement stepped on the connection's
    // handle (about half the time of filling the batch table and joining it); the values reach
    // the columns as through the batch table, converted by the columns' numeric affinity.
    QStringList direct, directChanged;
    for (int i = 0; i < setColumns.size(); ++i) {
        direct << QStringLiteral("%1 = ?%2").arg(setColumns.at(i)).arg(i + 2);
        directChanged << QStringLiteral("%1 IS DISTINCT FROM ?%2").arg(setColumns.at(i)).arg(i + 2);
    }
    CheckInjectedFailure(db);  // the write-back counts as one statement, as the joined update did
    stepSqlite(db,
               QStringLiteral("UPDATE %1 SET %2 WHERE id = ?1 AND (%3)")
                   .arg(table, direct.join(QStringLiteral(", ")), directChanged.join(QStringLiteral(" OR "))),
               int(columns.size()), rows);
}

QString BatchSource(const QSqlDatabase &db, const QStringList &columns, const std::vector<QVariantList> &rows,
                    QVariantList &binds)
{
    if (Dialect::of(db).isPostgres())
        return unnestSource(columns, rows, true, binds);
    FillBatch(db, columns, rows);
    return kBatchTable + QStringLiteral(" b");
}

std::vector<std::vector<int>> GroupsByOccurrence(const QStringList &keys)
{
    std::vector<std::vector<int>> groups;
    QHash<QString, int> seen;
    for (int i = 0; i < keys.size(); ++i) {
        const int n = seen.value(keys.at(i), 0);
        seen.insert(keys.at(i), n + 1);
        if (size_t(n) >= groups.size())
            groups.emplace_back();
        groups[size_t(n)].push_back(i);
    }
    return groups;
}

void BindSqliteValue(sqlite3_stmt *stmt, int index, const QVariant &value)
{
    if (!value.isValid() || value.isNull()) {
        sqlite3_bind_null(stmt, index);
        return;
    }
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        sqlite3_bind_int64(stmt, index, value.toLongLong());
        break;
    case QMetaType::Double:
    case QMetaType::Float:
        sqlite3_bind_double(stmt, index, value.toDouble());
        break;
    default: {
        const QByteArray text = value.toString().toUtf8();
        sqlite3_bind_text(stmt, index, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    }
}

qint64 IdFromText(const QString &id)
{
    bool ok = false;
    const qint64 v = id.trimmed().toLongLong(&ok);
    return ok ? v : -1;
}

} // namespace engine
