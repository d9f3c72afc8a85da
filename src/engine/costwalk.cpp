#include "engine/costwalk.h"

#include "engine/enginebatch.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/rowreading.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"

#include <QHash>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <limits>
#include <vector>

namespace costwalk_impl {



// Movement codes of the goods ledger as the walk groups them.
bool isAddingCode(const QString &flag)
{
    static const QSet<QString> codes{"cj", "sc", "pd", "ct", "st", "db", "bh", "cf", "kb", "bs",
                                     "by", "jg", "pl", "bf", "wp", "ws", "wt", "qc", "hh"};
    return codes.contains(flag);
}

bool isLoweringCode(const QString &flag)
{
    static const QSet<QString> codes{"xt", "lt", "xs", "ly", "dh", "jh"};
    return codes.contains(flag);
}

// Codes whose row, taking the stock exactly to zero, sets the price to its own unit price.
bool zeroCrossingSetsPrice(const QString &flag, double s)
{
    static const QSet<QString> always{"cj", "ct", "jg", "sc", "st", "kb", "ws", "pd"};
    static const QSet<QString> incoming{"db", "bh", "cf"};
    return always.contains(flag) || (incoming.contains(flag) && s > 0);
}

bool oppositeSigns(double a, double b)
{
    return a != 0 && b != 0 && ((a > 0) != (b > 0));
}

struct StartRow
{
    bool found = false;
    QString goods;
    QString warehouse;
    QString date;
    QString number;
};

StartRow readStartRow(const QSqlDatabase &db, const QString &ledgerId)
{
    StartRow start;
    const qint64 id = engine::IdFromText(ledgerId);
    if (id < 0)
        return start;
    ForEachRow(db, QStringLiteral("select g_sn, ck_sn, gl_kdrq, gl_djh from jxc_goodslist where id = ?"), {id},
               [&](const QSqlQuery &q) {
                   start.found = true;
                   start.goods = ValueText(q.value(0));
                   start.warehouse = ValueText(q.value(1));
                   start.date = ValueText(q.value(2));
                   start.number = ValueText(q.value(3));
               });
    return start;
}

struct Running
{
    double Q = 0;
    double P = 0;
    double A = 0;
};

// The state after the last row strictly before `date`; without one Q 0, A 0 and the goods'
// average cost g_pjjj.
Running openingState(const QSqlDatabase &db, const QString &goods, const QString &warehouse, const QString &date)
{
    Running r;
    bool found = false;
    ForEachRow(db,
               QStringLiteral("select gl_kc, gl_pjjj, gl_kczje from jxc_goodslist "
                              "where g_sn = ? and ck_sn = ? and gl_kdrq < ? "
                              "order by gl_kdrq desc, id desc limit 1"),
               {goods, warehouse, date}, [&](const QSqlQuery &q) {
                   found = true;
                   r.Q = q.value(0).toDouble();
                   r.P = q.value(1).toDouble();
                   r.A = q.value(2).toDouble();
               });
    if (found)
        return r;
    r.P = TextToNumber(QueryScalar(db, QStringLiteral("select g_pjjj from jxc_goods where g_sn = ?"), {goods}));
    return r;
}

struct LedgerRow
{
    qint64 id = 0;
    QString date;  // gl_kdrq
    QString flag;
    QString number;
    qint64 lineId = 0;  // id2: the document line the row was posted from
    bool hasLineId = false;
    double s = 0;  // gl_sl
    double j = 0;  // gl_je
    double d = 0;  // gl_dj
    double c = 0;  // gl_zcb
};

std::atomic<int> g_chunkRows{10000};

int chunkRows()
{
    return std::max(1, g_chunkRows.load());
}

// Where a walk goes on: after the row (date, id); the first chunk starts before every row of
// `date` (ids are positive).
struct WalkCursor
{
    QString date;
    qint64 id = std::numeric_limits<qint64>::min();
};

LedgerRow ledgerRowAt(const QSqlQuery &q, int first)
{
    LedgerRow r;
    r.id = q.value(first).toLongLong();
    r.date = ValueText(q.value(first + 1));
    r.flag = q.value(first + 2).toString().trimmed();
    r.s = q.value(first + 3).toDouble();
    r.j = q.value(first + 4).toDouble();
    r.d = q.value(first + 5).toDouble();
    r.c = q.value(first + 6).toDouble();
    r.number = ValueText(q.value(first + 7));
    r.hasLineId = !q.value(first + 8).isNull();
    r.lineId = q.value(first + 8).toLongLong();
    return r;
}

// The next `limit` rows of one walk after `cursor`, in date and id order (the ledger's goods
// index answers them without a sort, however long the history).
std::vector<LedgerRow> readWalkChunk(const QSqlDatabase &db, const QString &goods, const QString &warehouse,
                                     const WalkCursor &cursor, const QString &excludedNumber, int limit)
{
    QString sql = QStringLiteral("select id, gl_kdrq, gl_flag, gl_sl, gl_je, gl_dj, gl_zcb, gl_djh, id2 "
                                 "from jxc_goodslist where g_sn = ? and ck_sn = ? and gl_kdrq >= ? "
                                 "and (gl_kdrq > ? or id > ?)");
    QVariantList binds{goods, warehouse, cursor.date, cursor.date, cursor.id};
    if (!excludedNumber.isEmpty()) {
        sql += QStringLiteral(" and (gl_djh is null or gl_djh <> ?)");
        binds << excludedNumber;
    }
    sql += QStringLiteral(" order by gl_kdrq, id limit ?");
    binds << limit;
    std::vector<LedgerRow> rows;
    rows.reserve(size_t(limit));
    // A chunk at most: read in one piece.
    ForEachRow(db, sql, binds, RowReading{false, true}, [&](const QSqlQuery &q) { rows.push_back(ledgerRowAt(q, 0)); });
    return rows;
}

// Calls `each` with the rows of one walk from `cursor` on, chunk by chunk, so that no more than
// one chunk is held at a time.
void forEachWalkChunk(const QSqlDatabase &db, const QString &goods, const QString &warehouse, WalkCursor cursor,
                      const QString &excludedNumber, const std::function<void(const std::vector<LedgerRow> &)> &each)
{
    const int limit = chunkRows();
    for (;;) {
        const std::vector<LedgerRow> rows = readWalkChunk(db, goods, warehouse, cursor, excludedNumber, limit);
        if (rows.empty())
            return;
        each(rows);
        if (int(rows.size()) < limit)
            return;
        cursor = {rows.back().date, rows.back().id};
    }
}

const QStringList &runningColumns()
{
    static const QStringList columns{QStringLiteral("gl_sqsl"), QStringLiteral("gl_sqje"),
                                     QStringLiteral("gl_pjjj"), QStringLiteral("gl_kc"),
                                     QStringLiteral("gl_kczje")};
    return columns;
}

void writeStockRow(const QSqlDatabase &db, const QString &goods, const QString &warehouse, const Running &r)
{
    RunSql(db, QStringLiteral("update jxc_kcsp set kc_cbj = ?, kc_zcb = ? where g_sn = ? and ck_sn = ? "
                              "and (kc_cbj is distinct from ? or kc_zcb is distinct from ?)"),
           {r.P, r.A, goods, warehouse, r.P, r.A});
}

// The forward walk of the posting routines over `rows`, starting from `r` and leaving the
// state after the last row in it; the rows' new values (id, sqsl, sqje, P, Q, A) go to `out`.
void walkRows(const LoginState &state, const std::vector<LedgerRow> &rows, Running &r,
              std::vector<QVariantList> &out)
{
    const int qd = state.QtyDecimals;
    const int pd = state.PriceDecimals;
    const int td = engine::AmountDecimals(state);
    double Q = r.Q, P = r.P, A = r.A;
    out.reserve(out.size() + rows.size());
    for (const LedgerRow &row : rows) {
        const double sqsl = Q;
        const double sqje = A;
        double Qb = Q, Ab = A, sb = row.s, jb = row.j;
        if (isAddingCode(row.flag)) {
            if (oppositeSigns(row.s, Q)) {
                Qb = std::fabs(Qb);
                sb = std::fabs(sb);
                jb = std::fabs(jb);
                Ab = std::fabs(Ab);
            }
            Q += row.s;
            Qb += sb;
            Ab += jb;
        } else if (isLoweringCode(row.flag)) {
            Q -= row.s;
        }
        if (zeroCrossingSetsPrice(row.flag, row.s) && Qb != 0 && RoundTo(Q, qd) == 0)
            P = std::fabs(row.d);
        P = RoundTo(P, pd);
        Q = RoundTo(Q, qd);
        if (row.flag == QLatin1String("xs") || row.flag == QLatin1String("xt") || row.flag == QLatin1String("ly")
            || row.flag == QLatin1String("lt"))
            A -= row.c;
        else if (row.flag == QLatin1String("dh") || row.flag == QLatin1String("jh"))
            A -= row.j;
        else
            A += row.j;
        if (Q > 0 && A >= 0)
            P = std::fabs(A / Q);
        if (Q != 0 && (Q < 0 || A <= 0)) {
            Qb = std::fabs(Qb) + std::fabs(sb);
            Ab = std::fabs(Ab) + std::fabs(jb);
            if (Qb != 0)
                P = std::fabs(Ab / Qb);
            A = P * Q;
        }
        if (Q == 0)
            A = 0;
        A = RoundTo(A, td);
        out.push_back({row.id, sqsl, sqje, P, Q, A});
    }
    r = {Q, P, A};
}

// One walk streamed: each chunk read, walked on from `r` and written back before the next.
void walkStreaming(const QSqlDatabase &db, const LoginState &state, const QString &goods, const QString &warehouse,
                   const WalkCursor &from, const QString &excludedNumber, Running &r)
{
    std::vector<QVariantList> out;
    forEachWalkChunk(db, goods, warehouse, from, excludedNumber, [&](const std::vector<LedgerRow> &rows) {
        out.clear();
        walkRows(state, rows, r, out);
        engine::BatchUpdateById(db, QStringLiteral("jxc_goodslist"), runningColumns(), out);
    });
}

void recalcFrom(const QSqlDatabase &db, const LoginState &state, const QString &goods, const QString &warehouse,
                const QString &date, const QString &excludedNumber)
{
    Transaction tx(db, Transaction::Nesting::Join);
    Running r = openingState(db, goods, warehouse, date);
    walkStreaming(db, state, goods, warehouse, WalkCursor{date}, excludedNumber, r);
    writeStockRow(db, goods, warehouse, r);
    tx.commit();
}

// ---- several walks at once -------------------------------------------------------------------

struct WalkStart
{
    QString goods;
    QString warehouse;
    QString date;
    QString excluded;  // document left out, empty for none
};

// A text as a bound value carries it: a null text is SQL NULL.
QVariant bound(const QString &text)
{
    return text.isNull() ? QVariant() : QVariant(text);
}

std::vector<QVariantList> walkKeys(const std::vector<WalkStart> &starts, size_t first)
{
    std::vector<QVariantList> keys;
    keys.reserve(starts.size() - first);
    for (size_t i = first; i < starts.size(); ++i) {
        const WalkStart &w = starts[i];
        keys.push_back({qint64(i), bound(w.goods), bound(w.warehouse), bound(w.date),
                        w.excluded.isEmpty() ? QVariant() : QVariant(w.excluded)});
    }
    return keys;
}

const QStringList &walkKeyColumns()
{
    static const QStringList columns{QStringLiteral("id"), QStringLiteral("k1"), QStringLiteral("k2"),
                                     QStringLiteral("k3"), QStringLiteral("k4")};
    return columns;
}

// PostgreSQL: the opening states of all walks in one statement: the last row before the date,
// else quantity and amount 0 at the goods' average cost.
void readOpenings(const QSqlDatabase &db, const std::vector<WalkStart> &starts, std::vector<Running> &running)
{
    QVariantList binds;
    const QString source = engine::BatchSource(db, walkKeyColumns(), walkKeys(starts, 0), binds);
    ForEachRow(
        db,
        QStringLiteral("select s.id, g.id, g.gl_kc, g.gl_pjjj, g.gl_kczje, "
                       "(select d.g_pjjj from jxc_goods d where d.g_sn = s.k1 limit 1) "
                       "from (select b.id, b.k1, (select p.id from jxc_goodslist p where p.g_sn = b.k1 "
                       "and p.ck_sn = b.k2 and p.gl_kdrq < b.k3 order by p.gl_kdrq desc, p.id desc limit 1) "
                       "as prev from %1) s left join jxc_goodslist g on g.id = s.prev")
            .arg(source),
        binds, [&](const QSqlQuery &q) {
            const qint64 i = q.value(0).toLongLong();
            if (i < 0 || i >= qint64(starts.size()))
                return;
            Running &r = running[size_t(i)];
            if (!q.value(1).isNull()) {
                r.Q = q.value(2).toDouble();
                r.P = q.value(3).toDouble();
                r.A = q.value(4).toDouble();
            } else {
                r.P = TextToNumber(ValueText(q.value(5)));
            }
        });
}

// PostgreSQL: the first `limit` rows of the walks from `first` on, each walk's in date and id
// order, in one statement; `rows[i]` gets walk i's. Returns how many rows came.
int readWalksChunk(const QSqlDatabase &db, const std::vector<WalkStart> &starts, size_t first, int limit,
                   std::vector<std::vector<LedgerRow>> &rows)
{
    QVariantList binds;
    const QString source = engine::BatchSource(db, walkKeyColumns(), walkKeys(starts, first), binds);
    binds << limit;
    int count = 0;
    ForEachRow(
        db,
        QStringLiteral("select b.id, g.id, g.gl_kdrq, g.gl_flag, g.gl_sl, g.gl_je, g.gl_dj, g.gl_zcb, g.gl_djh, g.id2 "
                       "from %1 join jxc_goodslist g on g.g_sn = b.k1 and g.ck_sn = b.k2 "
                       "and g.gl_kdrq >= b.k3 "
                       "where b.k4 is null or g.gl_djh is null or g.gl_djh <> b.k4 "
                       "order by b.id, g.gl_kdrq, g.id limit ?")
            .arg(source),
        binds, RowReading{false, true}, [&](const QSqlQuery &q) {
            ++count;
            const qint64 i = q.value(0).toLongLong();
            if (i < 0 || i >= qint64(starts.size()))
                return;
            rows[size_t(i)].push_back(ledgerRowAt(q, 1));
        });
    return count;
}

// The walks of `starts` (distinct goods and warehouse pairs) as the single walks would run them,
// streamed: the ledger rows go back chunk by chunk, the stock rows in one statement at the end.
// PostgreSQL reads all opening states in one statement and the rows of all walks together, a
// chunk at a time; a walk longer than what is left of a chunk goes on by itself.
void recalcMany(const QSqlDatabase &db, const LoginState &state, const std::vector<WalkStart> &starts)
{
    if (starts.empty())
        return;
    Transaction tx(db, Transaction::Nesting::Join);
    const int limit = chunkRows();

    std::vector<Running> running(starts.size());
    std::vector<QVariantList> out;
    const auto flush = [&](bool always) {
        if (out.empty() || (!always && int(out.size()) < limit))
            return;
        engine::BatchUpdateById(db, QStringLiteral("jxc_goodslist"), runningColumns(), out);
        out.clear();
    };
    if (Dialect::of(db).isSqlite()) {
        // SQLite answers the single reads in microseconds, while a join of the ledger with the
        // batch table (which has no statistics) may be planned with a throwaway index over the
        // whole ledger.
        for (size_t i = 0; i < starts.size(); ++i) {
            const WalkStart &w = starts[i];
            running[i] = openingState(db, w.goods, w.warehouse, w.date);
            forEachWalkChunk(db, w.goods, w.warehouse, WalkCursor{w.date}, w.excluded,
                             [&](const std::vector<LedgerRow> &rows) {
                                 walkRows(state, rows, running[i], out);
                                 flush(false);
                             });
        }
    } else {
        readOpenings(db, starts, running);
        size_t first = 0;
        while (first < starts.size()) {
            std::vector<std::vector<LedgerRow>> rows(starts.size());
            const int count = readWalksChunk(db, starts, first, limit, rows);
            size_t last = starts.size() - 1;  // the walk the chunk ended in
            if (count >= limit) {
                while (last > first && rows[last].empty())
                    --last;
            }
            for (size_t i = first; i <= last; ++i) {
                walkRows(state, rows[i], running[i], out);
                flush(false);
            }
            if (count < limit)
                break;
            // The chunk may have cut the last walk short: it goes on alone after its last row.
            const WalkStart &w = starts[last];
            if (!rows[last].empty()) {
                flush(true);
                walkStreaming(db, state, w.goods, w.warehouse, {rows[last].back().date, rows[last].back().id},
                              w.excluded, running[last]);
            }
            first = last + 1;
        }
    }
    flush(true);

    std::vector<QVariantList> stock;
    for (size_t i = 0; i < starts.size(); ++i) {
        const Running &r = running[i];
        stock.push_back({qint64(i), bound(starts[i].goods), bound(starts[i].warehouse), r.P, r.A});
    }
    QVariantList binds;
    const QString source = engine::BatchSource(
        db,
        {QStringLiteral("id"), QStringLiteral("k1"), QStringLiteral("k2"), QStringLiteral("c1"), QStringLiteral("c2")},
        stock, binds);
    RunSql(db,
           QStringLiteral("UPDATE jxc_kcsp SET kc_cbj = b.c1, kc_zcb = b.c2 FROM %1 "
                          "WHERE jxc_kcsp.g_sn = b.k1 AND jxc_kcsp.ck_sn = b.k2 "
                          "AND (jxc_kcsp.kc_cbj IS DISTINCT FROM b.c1 OR jxc_kcsp.kc_zcb IS DISTINCT FROM b.c2)")
               .arg(source),
           binds);
    tx.commit();
}

// ---- the full walk -------------------------------------------------------------------------

bool isCostedOutCode(const QString &flag)  // revalued at the average before the row
{
    return flag == QLatin1String("xt") || flag == QLatin1String("lt") || flag == QLatin1String("xs")
           || flag == QLatin1String("ly");
}

bool isRepricedCode(const QString &flag)  // price and amount rewritten in the ledger
{
    static const QSet<QString> codes{"ly", "lt", "bs", "by", "pd", "bh", "cf", "kb", "pl", "wp", "wt"};
    return codes.contains(flag);
}

struct LineWrite
{
    QString number;
    QString goods;
    qint64 lineId = 0;
    bool hasLineId = false;
    double price = 0;  // Pp
    double cost = 0;   // k
};

// Writes the costs of the walked rows into the document lines of one kind.
//   priceColumns: columns set to Pp × the line's g_zhxs (unit price of the line's unit)
//   basePriceColumns: columns set to Pp (per base unit)
//   costColumn: set to k, or −k when `negateCost` (tables holding positive totals for rows
//   that the ledger carries negative)
void writeLines(const QSqlDatabase &db, const std::vector<LineWrite> &writes, const QString &table,
                const QString &goodsColumn, const QStringList &priceColumns, const QStringList &basePriceColumns,
                const QString &costColumn, bool negateCost, bool lineHasFactor, bool lineHasId2)
{
    if (writes.empty())
        return;
    // One batch row per line key; a later ledger row of the same key wins, as it would when
    // the rows were written one after the other.
    std::vector<QVariantList> rows;
    rows.reserve(writes.size());
    QHash<QString, size_t> slot;
    for (const LineWrite &w : writes) {
        const bool byLine = lineHasId2 && w.hasLineId;
        const QString key = w.number + QChar(0) + w.goods + QChar(0)
                            + (byLine ? QString::number(w.lineId) : QString());
        QVariantList row{byLine ? QVariant(w.lineId) : QVariant(), w.number, w.goods, w.price,
                         negateCost ? -w.cost : w.cost};
        const auto it = slot.constFind(key);
        if (it != slot.constEnd()) {
            rows[it.value()] = row;
        } else {
            slot.insert(key, rows.size());
            rows.push_back(row);
        }
    }
    engine::FillBatch(db, {QStringLiteral("id"), QStringLiteral("k1"), QStringLiteral("k2"), QStringLiteral("c1"),
                           QStringLiteral("c2")},
                      rows);
    const QString factor = lineHasFactor
        ? QStringLiteral("(case when coalesce(%1.g_zhxs, 0) = 0 then 1 else %1.g_zhxs end)").arg(table)
        : QStringLiteral("1");
    QStringList sets;
    for (const QString &c : priceColumns)
        sets << QStringLiteral("%1 = b.c1 * %2").arg(c, factor);
    for (const QString &c : basePriceColumns)
        sets << QStringLiteral("%1 = b.c1").arg(c);
    sets << QStringLiteral("%1 = b.c2").arg(costColumn);
    // Where the ledger row names its line (id2 of sales rows), only that line takes the row's
    // cost, so two lines of one goods keep their own totals; otherwise every line of the goods
    // in the document takes it.
    const QString lineMatch = lineHasId2
        ? QStringLiteral(" AND (b.id IS NULL OR %1.id2 IS NULL OR %1.id2 = b.id)").arg(table)
        : QString();
    RunSql(db, QStringLiteral("UPDATE %1 SET %2 FROM jxc_tmp_batch b WHERE %1.gl_djh = b.k1 AND %1.%3 = b.k2%4")
                   .arg(table, sets.join(QStringLiteral(", ")), goodsColumn, lineMatch));
}

QStringList distinctNumbers(const std::vector<LineWrite> &writes)
{
    QStringList numbers;
    QSet<QString> seen;
    for (const LineWrite &w : writes) {
        if (!seen.contains(w.number)) {
            seen.insert(w.number);
            numbers << w.number;
        }
    }
    return numbers;
}

void fillNumbers(const QSqlDatabase &db, const QStringList &numbers)
{
    std::vector<QVariantList> rows;
    for (const QString &n : numbers)
        rows.push_back({n});
    engine::FillBatch(db, {QStringLiteral("k1")}, rows);
}

} // namespace costwalk_impl

int CostWalkChunkRows()
{
    return costwalk_impl::chunkRows();
}

void SetCostWalkChunkRows(int rows)
{
    costwalk_impl::g_chunkRows = rows > 0 ? rows : 10000;
}

void RecalcStockCost(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &ledgerId,
                     const QString &exclusion)
{
    using namespace costwalk_impl;
    Q_UNUSED(clock)
    const StartRow start = readStartRow(db, ledgerId);
    if (!start.found)
        return;
    const QString excluded = exclusion == QLatin1String("1") ? start.number : QString();
    recalcFrom(db, state, start.goods, start.warehouse, start.date, excluded);
}

void RecalcStockCostFrom(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &goods,
                         const QString &warehouse, const QString &fromDate)
{
    using namespace costwalk_impl;
    Q_UNUSED(clock)
    recalcFrom(db, state, engine::NotNull(goods), engine::NotNull(warehouse), engine::NotNull(fromDate), QString());
}

void RecalcStockCostFull(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &ledgerId, const QString &writeBack)
{
    using namespace costwalk_impl;
    Q_UNUSED(clock)
    const StartRow start = readStartRow(db, ledgerId);
    if (!start.found)
        return;
    const int qd = state.QtyDecimals;
    const int pd = state.PriceDecimals;
    const int td = engine::AmountDecimals(state);

    Transaction tx(db);
    const bool fixedCost = IsTrue(QueryScalar(db, QStringLiteral("select g_gdcbj from jxc_goods where g_sn = ?"),
                                              {start.goods}));
    Running r = openingState(db, start.goods, start.warehouse, start.date);

    double Q = r.Q, P = r.P, A = r.A;
    double Pp = P;
    std::vector<QVariantList> running, saleCosts, repriced;
    std::vector<LineWrite> xsLines, xtLines, lyLines, ltLines, bsLines, byLines, pdLines, plLines, wpLines;
    // Each chunk is walked, then written back (ledger, lines, profits) before the next is read;
    // a line met again in a later chunk takes the later row's cost, as in one write.
    forEachWalkChunk(db, start.goods, start.warehouse, WalkCursor{start.date}, QString(),
                     [&](const std::vector<LedgerRow> &rows) {
    running.clear();
    saleCosts.clear();
    repriced.clear();
    for (auto *lines : {&xsLines, &xtLines, &lyLines, &ltLines, &bsLines, &byLines, &pdLines, &plLines, &wpLines})
        lines->clear();
    // gl_je of the rows, as read, for gl_lr of sales and returns.
    for (const LedgerRow &row : rows) {
        const double sqsl = Q, sqje = A;
        double Qb = Q, Ab = A, sb = row.s, jb = row.j;
        const QString &f = row.flag;
        const bool saleKind = f == QLatin1String("xs") || f == QLatin1String("xt");
        const double m = (isCostedOutCode(f) || f == QLatin1String("dh")) ? -row.s : row.s;
        double v;
        if (saleKind && fixedCost)
            v = -row.c;
        else if (isCostedOutCode(f))
            v = m * Pp;
        else if (f == QLatin1String("dh"))
            v = -row.j;
        else
            v = row.j;
        Q += m;
        A += v;
        if (oppositeSigns(m, Q)) {
            Qb = std::fabs(Q);
            sb = std::fabs(m);
            jb = std::fabs(v);
            Ab = std::fabs(A);
        }
        Q = RoundTo(Q, qd);
        if (Q > 0 && A >= 0)
            P = std::fabs(A / Q);
        if (Q != 0 && (Q < 0 || A <= 0)) {
            Qb = std::fabs(Qb) + std::fabs(sb);
            Ab = std::fabs(Ab) + std::fabs(jb);
            if (Qb != 0)
                P = std::fabs(Ab / Qb);
            A = P * Q;
        }
        P = RoundTo(P, pd);
        double k = row.s * Pp;
        A = (Q == 0) ? 0 : RoundTo(A, td);
        k = RoundTo(k, td);
        running.push_back({row.id, sqsl, sqje, P, Q, A});

        const LineWrite lw{row.number, start.goods, row.lineId, row.hasLineId, Pp, k};
        if (saleKind && !fixedCost) {
            saleCosts.push_back({row.id, Pp, k, row.j - k});
            (f == QLatin1String("xs") ? xsLines : xtLines).push_back(lw);
        }
        if (isRepricedCode(f)) {
            repriced.push_back({row.id, Pp, k, k});
            if (f == QLatin1String("ly"))
                lyLines.push_back(lw);
            else if (f == QLatin1String("lt"))
                ltLines.push_back(lw);
            else if (f == QLatin1String("bs"))
                bsLines.push_back(lw);
            else if (f == QLatin1String("by"))
                byLines.push_back(lw);
            else if (f == QLatin1String("pd"))
                pdLines.push_back(lw);
            else if (f == QLatin1String("pl"))
                plLines.push_back(lw);
            else if (f == QLatin1String("wp"))
                wpLines.push_back(lw);
        }
        Pp = P;
    }

    const QString ledger = QStringLiteral("jxc_goodslist");
    engine::BatchUpdateById(db, ledger,
                            {QStringLiteral("gl_sqsl"), QStringLiteral("gl_sqje"), QStringLiteral("gl_pjjj"),
                             QStringLiteral("gl_kc"), QStringLiteral("gl_kczje")},
                            running);
    engine::BatchUpdateById(db, ledger, {QStringLiteral("gl_cbj"), QStringLiteral("gl_zcb"), QStringLiteral("gl_lr")},
                            saleCosts);
    engine::BatchUpdateById(db, ledger, {QStringLiteral("gl_dj"), QStringLiteral("gl_je"), QStringLiteral("gl_zje")},
                            repriced);

    if (writeBack == QLatin1String("1")) {
        const QString gsn = QStringLiteral("g_sn");
        // Sales lines: the cost price per line unit, ls_cbj2 per base unit; then the profit.
        writeLines(db, xsLines, QStringLiteral("jxc_lsxssp"), gsn, {QStringLiteral("ls_cbj")},
                   {QStringLiteral("ls_cbj2")}, QStringLiteral("ls_zcb"), false, true, true);
        // Sales-return lines hold positive totals while the ledger carries the return negative.
        writeLines(db, xtLines, QStringLiteral("jxc_xsthsp"), gsn, {QStringLiteral("th_cbj")}, {},
                   QStringLiteral("th_zcb"), true, true, true);
        writeLines(db, lyLines, QStringLiteral("jxc_bmlysp"), gsn, {QStringLiteral("ly_dj")}, {},
                   QStringLiteral("ly_zje"), false, true, false);
        writeLines(db, ltLines, QStringLiteral("jxc_bmlysp"), gsn, {QStringLiteral("ly_dj")}, {},
                   QStringLiteral("ly_zje"), true, true, false);
        writeLines(db, bsLines, QStringLiteral("jxc_bssp"), gsn, {}, {QStringLiteral("bs_dj")},
                   QStringLiteral("bs_zje"), true, false, false);
        writeLines(db, byLines, QStringLiteral("jxc_bysp"), gsn, {}, {QStringLiteral("by_dj")},
                   QStringLiteral("by_zje"), false, false, false);
        writeLines(db, pdLines, QStringLiteral("jxc_kcpdsp"), gsn, {}, {QStringLiteral("pd_dj")},
                   QStringLiteral("pd_zje"), false, false, false);
        writeLines(db, plLines, QStringLiteral("jxc_scjgdpl"), QStringLiteral("pl_gsn"), {},
                   {QStringLiteral("pl_dj")}, QStringLiteral("pl_zcb"), false, false, false);
        writeLines(db, wpLines, QStringLiteral("jxc_wfjgdpl"), QStringLiteral("pl_gsn"), {},
                   {QStringLiteral("pl_dj")}, QStringLiteral("pl_zcb"), false, false, false);

        if (!xsLines.empty()) {
            fillNumbers(db, distinctNumbers(xsLines));
            RunSql(db, QStringLiteral("UPDATE jxc_lsxsd SET ls_lr = coalesce((select sum(coalesce(l.ls_je, 0) - "
                                      "coalesce(l.ls_zcb, 0)) from jxc_lsxssp l where l.gl_djh = jxc_lsxsd.gl_djh), 0) "
                                      "WHERE gl_djh IN (select k1 from jxc_tmp_batch)"));
        }
        if (!xtLines.empty()) {
            fillNumbers(db, distinctNumbers(xtLines));
            RunSql(db, QStringLiteral("UPDATE jxc_xsthd SET th_lr = coalesce((select sum(coalesce(l.th_zcb, 0) - "
                                      "coalesce(l.th_je, 0)) from jxc_xsthsp l where l.gl_djh = jxc_xsthd.gl_djh), 0) "
                                      "WHERE gl_djh IN (select k1 from jxc_tmp_batch)"));
        }
    }
                     });
    writeStockRow(db, start.goods, start.warehouse, {Q, P, A});
    tx.commit();
}


void RecalcStockCostRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QStringList &ledgerIds, const QString &exclusion)
{
    using namespace costwalk_impl;
    QStringList ids;
    for (const QString &id : ledgerIds) {
        const qint64 v = engine::IdFromText(id);
        if (v >= 0)
            ids << QString::number(v);
    }
    if (ids.isEmpty())
        return;
    QHash<qint64, WalkStartRow> byId;
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select id, g_sn, ck_sn, gl_kdrq, gl_djh from jxc_goodslist "
                                                    "where id in (%1)")
                                         .arg(ids.join(QLatin1Char(','))));
        while (q.next())
            byId.insert(q.value(0).toLongLong(), {ValueText(q.value(0)), ValueText(q.value(1)), ValueText(q.value(2)),
                                                  ValueText(q.value(3)), ValueText(q.value(4))});
    }
    std::vector<WalkStartRow> rows;
    for (const QString &id : ids) {
        const auto it = byId.constFind(id.toLongLong());
        if (it != byId.constEnd())
            rows.push_back(it.value());
    }
    RecalcStockCostRows(db, state, clock, rows, exclusion);
}

void RecalcStockCostRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const std::vector<WalkStartRow> &rows, const QString &exclusion)
{
    using namespace costwalk_impl;
    Q_UNUSED(clock)
    // Walks of different goods and warehouses touch different rows and run together; a pair met
    // again waits for the next group, unless it would walk exactly the same rows again.
    std::vector<WalkStart> group;
    QHash<QString, size_t> inGroup;
    for (const WalkStartRow &row : rows) {
        const WalkStart w{row.goods, row.warehouse, row.date,
                          exclusion == QLatin1String("1") ? row.number : QString()};
        const QString key = w.goods + QChar(0) + w.warehouse;
        const auto seen = inGroup.constFind(key);
        if (seen != inGroup.constEnd()) {
            const WalkStart &prior = group[seen.value()];
            if (prior.date == w.date && prior.excluded == w.excluded)
                continue;
            recalcMany(db, state, group);
            group.clear();
            inGroup.clear();
        }
        inGroup.insert(key, group.size());
        group.push_back(w);
    }
    recalcMany(db, state, group);
}
