#include "engine/stocksteps.h"

#include "engine/costwalk.h"
#include "engine/enginebatch.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

#include <QPair>
#include <QSet>
#include <QSqlQuery>

#include <algorithm>
#include <cmath>

namespace stocksteps_impl {

const QString kReservedGoods = QStringLiteral("00000000");

// Column names of the batch rows (see engine::BatchSource).
const QString kId = QStringLiteral("id"), kK1 = QStringLiteral("k1"), kK2 = QStringLiteral("k2"),
              kC1 = QStringLiteral("c1"), kC2 = QStringLiteral("c2"), kC3 = QStringLiteral("c3"),
              kC4 = QStringLiteral("c4");

// Runs `sql` with %1 replaced by the rows as a FROM item b.
void runWithRows(const QSqlDatabase &db, const QString &sql, const QStringList &columns,
                 const std::vector<QVariantList> &rows)
{
    if (rows.empty())
        return;
    QVariantList binds;
    const QString source = engine::BatchSource(db, columns, rows, binds);
    RunSql(db, sql.arg(source), binds);
}

// Position n of the answer: whether the goods of step n has a stock row in its warehouse.
std::vector<bool> stockRowsExist(const QSqlDatabase &db, const std::vector<const StockStep *> &group)
{
    std::vector<bool> found(group.size(), false);
    std::vector<QVariantList> keys;
    for (size_t n = 0; n < group.size(); ++n)
        keys.push_back({qint64(n), engine::BoundText(group[n]->goods), engine::BoundText(group[n]->warehouse)});
    QVariantList binds;
    const QString source = engine::BatchSource(db, {kId, kK1, kK2}, keys, binds);
    ForEachRow(db,
               QStringLiteral("select distinct b.id from %1 %2 jxc_kcsp k on k.g_sn = b.k1 and k.ck_sn = b.k2")
                   .arg(source, engine::BatchJoin(db)),
               binds, [&](const QSqlQuery &q) {
                   const qint64 n = q.value(0).toLongLong();
                   if (n >= 0 && n < qint64(found.size()))
                       found[size_t(n)] = true;
               });
    return found;
}

// The goods' average over all its stock rows, weighted by kc_zsl and rounded to the price
// decimals: -1 when the book quantities sum to zero, -2 when the goods has no stock row.
std::vector<double> goodsAverages(const QSqlDatabase &db, const LoginState &state,
                                  const std::vector<const StockStep *> &group)
{
    std::vector<double> out(group.size(), -2.0);
    std::vector<QVariantList> keys;
    for (size_t n = 0; n < group.size(); ++n)
        keys.push_back({qint64(n), engine::BoundText(group[n]->goods)});
    QVariantList binds;
    const QString source = engine::BatchSource(db, {kId, kK1}, keys, binds);
    ForEachRow(db,
               QStringLiteral("select b.id, sum(coalesce(k.kc_cbj, 0) * coalesce(k.kc_zsl, 0)), "
                              "sum(coalesce(k.kc_zsl, 0)) from %1 %2 jxc_kcsp k on k.g_sn = b.k1 group by b.id")
                   .arg(source, engine::BatchJoin(db)),
               binds, [&](const QSqlQuery &q) {
                   const qint64 n = q.value(0).toLongLong();
                   if (n < 0 || n >= qint64(out.size()))
                       return;
                   const double qty = TextToNumber(ValueText(q.value(2)));
                   // A book quantity that sums to zero (or to a float tail of it) gives no average.
                   out[size_t(n)] = std::fabs(qty) < 1e-9 ? -1.0
                                                          : std::fabs(RoundTo(TextToNumber(ValueText(q.value(1))) / qty,
                                                                              state.PriceDecimals));
               });
    return out;
}

// Whether each step of the group finds its stock row: asked of the database unless every step
// knows it from when the steps were read (or an earlier group created the row, `created`).
std::vector<bool> stockRowsPresent(const QSqlDatabase &db, const std::vector<const StockStep *> &group,
                                   const QSet<QPair<QString, QString>> &created)
{
    std::vector<bool> present(group.size(), false);
    for (size_t n = 0; n < group.size(); ++n) {
        if (group[n]->present < 0)
            return stockRowsExist(db, group);
        present[n] = group[n]->present == 1 || created.contains({group[n]->goods, group[n]->warehouse});
    }
    return present;
}

void moveStockRows(const QSqlDatabase &db, const StockMoves &moves, const std::vector<const StockStep *> &group,
                   QSet<QPair<QString, QString>> &created)
{
    const std::vector<bool> present =
        moves.createRows ? stockRowsPresent(db, group, created) : std::vector<bool>(group.size(), true);
    for (size_t n = 0; n < group.size(); ++n)
        if (!present[n])
            created.insert({group[n]->goods, group[n]->warehouse});
    std::vector<QVariantList> updates, inserts;
    for (size_t n = 0; n < group.size(); ++n) {
        const StockStep &st = *group[n];
        QVariantList row{qint64(n), engine::BoundText(st.goods), engine::BoundText(st.warehouse), st.onHand,
                         st.book, st.sold};
        if (!present[n])
            row << st.price;
        (present[n] ? updates : inserts).push_back(row);
    }
    QString sets = moves.setStock
                       ? QStringLiteral("kc_sl = b.c1, kc_zsl = b.c2")
                       : QStringLiteral("kc_sl = coalesce(kc_sl, 0) + b.c1, kc_zsl = coalesce(kc_zsl, 0) + b.c2");
    if (moves.movesSold)
        sets += QStringLiteral(", kc_xssl = coalesce(kc_xssl, 0) + b.c3");
    runWithRows(db,
                QStringLiteral("UPDATE jxc_kcsp SET ") + sets
                    + QStringLiteral(" FROM %1 WHERE jxc_kcsp.g_sn = b.k1 AND jxc_kcsp.ck_sn = b.k2"),
                {kId, kK1, kK2, kC1, kC2, kC3}, updates);
    runWithRows(db,
                QStringLiteral("INSERT INTO jxc_kcsp (kc_sl, kc_cbj, kc_xssl, g_sn, ck_sn, kc_zsl) "
                               "SELECT b.c1, b.c4, %2, b.k1, b.k2, b.c2 FROM %1 ORDER BY b.id")
                    .arg(QStringLiteral("%1"), moves.movesSold ? QStringLiteral("b.c3") : QStringLiteral("0")),
                {kId, kK1, kK2, kC1, kC2, kC3, kC4}, inserts);
}

void moveGoods(const QSqlDatabase &db, const LoginState &state, const StockMoves &moves,
               const std::vector<const StockStep *> &group)
{
    QStringList sets;
    if (moves.movesGoodsTotal)
        sets << QStringLiteral("g_kc = coalesce(g_kc, 0) + b.c1");
    if (!moves.frequency.isEmpty())
        sets << QStringLiteral("%1 = coalesce(%1, 0) + (%2)").arg(moves.frequency).arg(moves.frequencyStep);
    if (moves.lastPurchase)
        sets << QStringLiteral("g_scjj = b.c2, ghs_sn = b.k2");
    const std::vector<double> averages =
        moves.average ? goodsAverages(db, state, group) : std::vector<double>(group.size(), 0.0);
    // Rows that set the average, and rows that do not.
    std::vector<QVariantList> rows[2];
    for (size_t n = 0; n < group.size(); ++n) {
        const StockStep &st = *group[n];
        const bool sets_average = moves.average && st.average;
        double average = averages[n];
        if (average == -2.0 && moves.zeroWithoutStock)
            average = 0;
        else if (average < 0)
            average = st.price;
        rows[sets_average ? 1 : 0].push_back({qint64(n), engine::BoundText(st.goods),
                                              engine::BoundText(moves.supplier), st.total, st.price, average});
    }
    for (int withAverage = 0; withAverage < 2; ++withAverage) {
        QStringList all = sets;
        if (withAverage)
            all << QStringLiteral("g_pjjj = b.c3");
        if (all.isEmpty())
            continue;
        runWithRows(db,
                    QStringLiteral("UPDATE jxc_goods SET ") + all.join(QStringLiteral(", "))
                        + QStringLiteral(" FROM %1 WHERE jxc_goods.g_sn = b.k1"),
                    {kId, kK1, kK2, kC1, kC2, kC3}, rows[withAverage]);
    }
}

} // namespace stocksteps_impl

void MoveStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const StockMoves &moves,
               const std::vector<StockStep> &steps)
{
    using namespace stocksteps_impl;
    QStringList goodsOfSteps;
    for (const StockStep &st : steps)
        goodsOfSteps << st.goods;
    QSet<QPair<QString, QString>> created;
    for (const std::vector<int> &positions : engine::GroupsByOccurrence(goodsOfSteps)) {
        std::vector<const StockStep *> group;
        QStringList ids;
        for (int i : positions) {
            group.push_back(&steps[size_t(i)]);
            ids << steps[size_t(i)].ledgerId;
        }
        moveStockRows(db, moves, group, created);
        if (std::all_of(group.begin(), group.end(), [](const StockStep *st) { return st->rowKnown; })) {
            std::vector<WalkStartRow> starts;
            for (const StockStep *st : group)
                starts.push_back({st->ledgerId, st->goods, st->rowWarehouse, st->rowDate, st->rowNumber});
            RecalcStockCostRows(db, state, clock, starts, moves.exclusion);
        } else {
            RecalcStockCostRows(db, state, clock, ids, moves.exclusion);
        }
        moveGoods(db, state, moves, group);
    }
}

std::vector<StockStep> ReadStockSteps(const QSqlDatabase &db, const QString &number, const StepSource &source,
                                      const QString &warehouse, bool present)
{
    using namespace stocksteps_impl;
    QVariantList binds;
    QString presence = QStringLiteral("-1");
    if (present) {
        presence = QStringLiteral("case when exists (select 1 from jxc_kcsp k where k.g_sn = g.g_sn and k.ck_sn = %1) "
                                  "then 1 else 0 end")
                       .arg(source.rowWarehouse ? QStringLiteral("g.ck_sn") : QStringLiteral("?"));
        if (!source.rowWarehouse)
            binds << engine::BoundText(warehouse);
    }
    QString sql = QStringLiteral("select g.id, g.g_sn, g.ck_sn, %1 as onhand, %2 as book, %3 as sold, %4 as price, "
                                 "%5 as present, g.gl_kdrq, g.gl_djh, %6 as total from jxc_goodslist g")
                      .arg(source.onHand, source.book, source.sold, source.price, presence,
                           source.total.isEmpty() ? source.onHand : source.total);
    if (!source.lines.isEmpty())
        sql += QStringLiteral(" join %1 l on l.gl_djh = g.gl_djh and l.id2 = g.id2 and l.g_sn = g.g_sn")
                   .arg(source.lines);
    sql += QStringLiteral(" where g.gl_djh = ?");
    binds << number;
    if (!source.flag.isEmpty()) {
        sql += QStringLiteral(" and g.gl_flag = ?");
        binds << source.flag;
    }
    if (!source.reserved) {
        sql += QStringLiteral(" and g.g_sn <> ?");
        binds << kReservedGoods;
    }
    sql += QStringLiteral(" order by g.id");
    std::vector<StockStep> steps;
    ForEachRow(db, sql, binds, [&](const QSqlQuery &q) {
        // Reversed as 0 - x: no negative zero reaches the stock.
        const auto quantity = [&](int column) {
            const double v = TextToNumber(ValueText(q.value(column)));
            return source.reversed ? 0.0 - v : v;
        };
        StockStep st;
        st.ledgerId = ValueText(q.value(0));
        st.goods = ValueText(q.value(1));
        st.warehouse = source.rowWarehouse ? ValueText(q.value(2)) : warehouse;
        st.onHand = quantity(3);
        st.book = quantity(4);
        st.sold = quantity(5);
        st.total = quantity(10);
        st.price = TextToNumber(ValueText(q.value(6)));
        st.present = q.value(7).toInt();
        st.rowKnown = true;
        st.rowWarehouse = ValueText(q.value(2));
        st.rowDate = ValueText(q.value(8));
        st.rowNumber = ValueText(q.value(9));
        steps.push_back(st);
    });
    return steps;
}

StepSource ReversalOf(StepSource posting)
{
    posting.flag.clear();
    posting.reserved = false;
    posting.reversed = true;
    return posting;
}
