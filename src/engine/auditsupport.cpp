#include "engine/auditsupport.h"

#include "engine/enginebatch.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <cmath>

namespace postingsupport {

namespace {

RowTexts rowOf(const QSqlQuery &query)
{
    RowTexts row;
    const QSqlRecord rec = query.record();
    for (int i = 0; i < rec.count(); ++i)
        row.insert(rec.fieldName(i).toLower(), ValueText(query.value(i)));
    return row;
}

} // namespace

RowTexts ReadFirstRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery query = OpenSelect(db, sql, binds);
    if (!query.next())
        return {};
    return rowOf(query);
}

QVector<RowTexts> ReadRows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QVector<RowTexts> rows;
    QSqlQuery query = OpenSelect(db, sql, binds);
    while (query.next())
        rows.append(rowOf(query));
    return rows;
}

double Num(const RowTexts &row, const QString &column)
{
    return TextToNumber(row.value(column));
}

QString CutSql(const QString &table, const QString &column, const QString &expr)
{
    const int width = ColumnWidth(table, column);
    if (width <= 0)
        return expr;
    return QStringLiteral("substr(%1, 1, %2)").arg(expr).arg(width);
}

qint64 InsertRow(const QSqlDatabase &db, const QString &table, const ColumnValues &values)
{
    QStringList columns;
    QStringList marks;
    QVariantList binds;
    for (const auto &cv : values) {
        columns << cv.first;
        marks << QStringLiteral("?");
        if (cv.second.typeId() == QMetaType::QString)
            binds << CutToColumn(table, cv.first, cv.second.toString());
        else
            binds << cv.second;
    }
    return InsertReturningId(db,
                             QStringLiteral("insert into %1 (%2) values (%3)")
                                 .arg(table, columns.join(QStringLiteral(", ")),
                                      marks.join(QStringLiteral(", "))),
                             binds);
}

bool StockRowExists(const QSqlDatabase &db, const QString &goods, const QString &warehouse)
{
    return !QueryScalar(db,
                        QStringLiteral("select g_sn from jxc_kcsp where g_sn = ? and ck_sn = ? "
                                       "limit 1"),
                        {goods, warehouse})
                .isEmpty();
}

namespace {

// The average of summed stock amount and quantity (texts as read), -1 without one.
double averageOf(const LoginState &state, const QString &amountText, const QString &qtyText)
{
    const double qty = TextToNumber(qtyText);
    // A book quantity that sums to zero (or to a float tail of it) gives no average.
    if (std::fabs(qty) < 1e-9)
        return -1.0;
    return std::fabs(RoundTo(TextToNumber(amountText) / qty, state.PriceDecimals));
}

} // namespace

double GoodsAverageCost(const QSqlDatabase &db, const LoginState &state, const QString &goods)
{
    const RowTexts row = ReadFirstRow(
        db,
        QStringLiteral("select sum(coalesce(kc_cbj, 0) * coalesce(kc_zsl, 0)) as amount, "
                       "sum(coalesce(kc_zsl, 0)) as qty from jxc_kcsp where g_sn = ?"),
        {goods});
    return averageOf(state, row.value(QStringLiteral("amount")), row.value(QStringLiteral("qty")));
}

std::vector<bool> StockRowsExist(const QSqlDatabase &db, const QStringList &goods, const QString &warehouse)
{
    std::vector<bool> found(size_t(goods.size()), false);
    if (goods.isEmpty())
        return found;
    std::vector<QVariantList> keys;
    for (int i = 0; i < goods.size(); ++i)
        keys.push_back({qint64(i), engine::BoundText(goods.at(i)), engine::BoundText(warehouse)});
    QVariantList binds;
    const QString source = engine::BatchSource(
        db, {QStringLiteral("id"), QStringLiteral("k1"), QStringLiteral("k2")}, keys, binds);
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select distinct b.id from %1 %2 jxc_kcsp k "
                                            "on k.g_sn = b.k1 and k.ck_sn = b.k2")
                                 .arg(source, engine::BatchJoin(db)),
                             binds);
    while (q.next()) {
        const qint64 i = q.value(0).toLongLong();
        if (i >= 0 && i < qint64(found.size()))
            found[size_t(i)] = true;
    }
    return found;
}

void AddStockRows(const QSqlDatabase &db, const std::vector<QVariantList> &updates,
                  const std::vector<QVariantList> &inserts)
{
    const QString id = QStringLiteral("id"), k1 = QStringLiteral("k1"), k2 = QStringLiteral("k2");
    if (!updates.empty()) {
        QVariantList binds;
        const QString source =
            engine::BatchSource(db, {id, k1, k2, QStringLiteral("c1"), QStringLiteral("c2")}, updates, binds);
        RunSql(db,
               QStringLiteral("UPDATE jxc_kcsp SET kc_sl = coalesce(kc_sl, 0) + b.c1, "
                              "kc_zsl = coalesce(kc_zsl, 0) + b.c2 FROM %1 "
                              "WHERE jxc_kcsp.g_sn = b.k1 AND jxc_kcsp.ck_sn = b.k2")
                   .arg(source),
               binds);
    }
    if (!inserts.empty()) {
        QVariantList binds;
        const QString source = engine::BatchSource(
            db, {id, k1, k2, QStringLiteral("c1"), QStringLiteral("c2"), QStringLiteral("c3")}, inserts, binds);
        RunSql(db,
               QStringLiteral("INSERT INTO jxc_kcsp (kc_sl, kc_cbj, kc_xssl, g_sn, ck_sn, kc_zsl) "
                              "SELECT b.c1, b.c2, 0, b.k1, b.k2, b.c3 FROM %1 ORDER BY b.id")
                   .arg(source),
               binds);
    }
}

std::vector<double> GoodsAverageCosts(const QSqlDatabase &db, const LoginState &state, const QStringList &goods)
{
    std::vector<QString> amounts(size_t(goods.size())), quantities(size_t(goods.size()));
    if (!goods.isEmpty()) {
        std::vector<QVariantList> keys;
        for (int i = 0; i < goods.size(); ++i)
            keys.push_back({qint64(i), engine::BoundText(goods.at(i))});
        QVariantList binds;
        const QString source =
            engine::BatchSource(db, {QStringLiteral("id"), QStringLiteral("k1")}, keys, binds);
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select b.id, sum(coalesce(k.kc_cbj, 0) * coalesce(k.kc_zsl, 0)), "
                                                "sum(coalesce(k.kc_zsl, 0)) from %1 %2 jxc_kcsp k "
                                                "on k.g_sn = b.k1 group by b.id")
                                     .arg(source, engine::BatchJoin(db)),
                                 binds);
        while (q.next()) {
            const qint64 i = q.value(0).toLongLong();
            if (i < 0 || i >= qint64(goods.size()))
                continue;
            amounts[size_t(i)] = ValueText(q.value(1));
            quantities[size_t(i)] = ValueText(q.value(2));
        }
    }
    std::vector<double> out;
    for (size_t i = 0; i < amounts.size(); ++i)
        out.push_back(averageOf(state, amounts[i], quantities[i]));
    return out;
}

QString DefaultWarehouseSn(const QSqlDatabase &db)
{
    QString sn = QueryScalar(db, QStringLiteral("select ck_sn from jxc_ckxx where ck_default <> 0 "
                                                "order by id limit 1"));
    if (sn.isEmpty())
        sn = QueryScalar(db, QStringLiteral("select ck_sn from jxc_ckxx order by id limit 1"));
    return sn;
}

QString DefaultWarehouseName(const QSqlDatabase &db)
{
    QString name = QueryScalar(db, QStringLiteral("select ck_name from jxc_ckxx where ck_default <> 0 "
                                                  "order by id limit 1"));
    if (name.isEmpty())
        name = QueryScalar(db, QStringLiteral("select ck_name from jxc_ckxx order by id limit 1"));
    return name;
}

bool SettlesByPayment(const QString &jsfsText)
{
    return jsfsText.trimmed() == QLatin1String("0");
}

} // namespace postingsupport

namespace postingsupport {

QString GuardedDivSql(const QString &num, const QString &den)
{
    return QStringLiteral("(case when coalesce(%2, 0) = 0 then %1 else %1 / %2 end)").arg(num, den);
}

bool PostFreightAndPacking(const QSqlDatabase &db, const LoginState &state, const FreightPosting &f)
{
    bool wrote = false;
    const struct { QString type; QString noteEnd; double amount; } fees[] = {
        {QStringLiteral("运费"), QStringLiteral("产生的运费"), f.freight},
        {QStringLiteral("包装费"), QStringLiteral("产生的包装费"), f.packing},
    };
    for (const auto &fee : fees) {
        if (!(fee.amount > 0))
            continue;
        const QString note = f.notePrefix + f.number + fee.noteEnd;
        InsertRow(db, QStringLiteral("jxc_yyfy"),
                  {{QStringLiteral("gl_djh"), f.number},
                   {QStringLiteral("fy_rq"), f.date},
                   {QStringLiteral("fy_lx"), fee.type},
                   {QStringLiteral("fy_je"), -fee.amount},
                   {QStringLiteral("u_sn"), f.handlerSn},
                   {QStringLiteral("fy_note"), note},
                   {QStringLiteral("a_name"), state.CurrentOperatorName},
                   {QStringLiteral("fy_sc"), QStringLiteral("费用")},
                   {QStringLiteral("de_sn"), QStringLiteral("100001")},
                   // The account the money leaves, the same as the cash row's.
                   {QStringLiteral("fy_kmmc"), f.account},
                   {QStringLiteral("fy_chk"), QStringLiteral("1")},
                   {QStringLiteral("fy_flag"), QStringLiteral("1")}});
        InsertRow(db, QStringLiteral("jxc_xjyh"),
                  {{QStringLiteral("gl_djh"), f.number},
                   {QStringLiteral("ghs_sn"), f.partnerSn},
                   {QStringLiteral("ghs_name"), f.partnerName},
                   {QStringLiteral("xj_rq"), f.date},
                   {QStringLiteral("xj_dlx"), QStringLiteral("费用付款")},
                   {QStringLiteral("u_name"), f.handlerName},
                   {QStringLiteral("xj_je"), -fee.amount},
                   {QStringLiteral("xj_kmmc"), f.account},
                   {QStringLiteral("xj_note"), note},
                   {QStringLiteral("a_name"), state.CurrentOperatorName},
                   {QStringLiteral("xj_chk"), QStringLiteral("1")},
                   {QStringLiteral("xj_ljje"), 0.0}});
        wrote = true;
    }
    return wrote;
}

} // namespace postingsupport

namespace postingsupport {

namespace {

void reprice(SpreadLine &line, int priceDecimals)
{
    if (line.ordinary) {
        double base = line.discount * line.qty;
        if (base == 0)
            base = line.qty;  // a missing discount rate counts as none
        line.taxPrice = base != 0 ? RoundTo(line.total / base, priceDecimals) : 0;
        const double taxFactor = 1 + line.tax / 100;
        line.price = taxFactor != 0 ? RoundTo(line.taxPrice / taxFactor, priceDecimals) : line.taxPrice;
    }
    if (line.qty > 0) {
        line.amount = line.price * line.qty;
        line.taxAmount = line.total - line.price * line.qty;
    }
}

double linesTotal(const QVector<SpreadLine> &lines)
{
    double sum = 0;
    for (const SpreadLine &l : lines)
        sum += l.total;
    return sum;
}

} // namespace

double SpreadDifference(QVector<SpreadLine> &lines, double due, double paid, int priceDecimals,
                        bool *changed)
{
    constexpr double eps = 1e-9;
    if (changed)
        *changed = false;
    int n = 0;
    for (const SpreadLine &l : lines)
        n += l.ordinary ? 1 : 0;
    if (n == 0)
        return due;
    double rest = due - paid;
    double total = due;
    bool ran = false;
    while (rest > 0.001) {
        ran = true;
        const double share = RoundTo(rest / n, priceDecimals);
        bool roundChanged = false;
        if (share > 0) {
            for (SpreadLine &l : lines) {
                if (l.ordinary && l.total >= share - eps) {
                    l.total -= share;
                    roundChanged = true;
                }
            }
        }
        if (!roundChanged) {
            // The shares no longer move anything: one line carries what is left.
            const double r = RoundTo(rest, priceDecimals);
            SpreadLine *carrier = nullptr;
            for (SpreadLine &l : lines) {
                if (l.ordinary && l.total >= r - eps && (!carrier || l.total > carrier->total + eps))
                    carrier = &l;
            }
            if (carrier && r > 0)
                carrier->total -= r;
            total = linesTotal(lines);
            break;
        }
        total = linesTotal(lines);
        rest = total - paid;
    }
    if (ran) {
        for (SpreadLine &l : lines)
            reprice(l, priceDecimals);
        if (changed)
            *changed = true;
    }
    return total;
}

} // namespace postingsupport
