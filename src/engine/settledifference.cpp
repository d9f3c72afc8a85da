#include "engine/settledifference.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"

#include <algorithm>
#include <cmath>

namespace settledifference_impl {

using namespace postingsupport;

const QString kReservedGoods = QStringLiteral("00000000");

// One document line in the spreading of a settlement difference.
struct SpreadLine
{
    qint64 id = 0;
    double qty = 0;        // <p>sl
    double total = 0;      // <p>zje
    double tax = 0;        // <p>tax
    double discount = 1;   // <p>dzl where the lines carry one
    double taxPrice = 0;   // <p>taxdj
    double price = 0;      // <p>dj
    double amount = 0;     // <p>je
    double taxAmount = 0;  // <p>taxje
    bool ordinary = false; // takes a share: quantity above 0 (and gift tag exactly '' where there are gifts)
};

// Spreads due − paid over the ordinary lines in rounds of (rest / their count) rounded to the
// price decimals, each taken off every ordinary line whose total reaches it; after a round
// the ordinary lines' prices are recomputed from their totals and every line with a quantity
// gets amount = price × qty. A round that changes no line (the share rounds to 0, or no line
// reaches it) takes the rest, rounded, off the ordinary line with the largest total that can
// carry it (lowest id on a tie) and ends the spreading. Returns the lines' total afterwards
// (due when nothing was to spread); `changed` tells whether the lines were touched.
double SpreadDifference(QVector<SpreadLine> &lines, double due, double paid, int priceDecimals, bool *changed);

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


// The reserved line carries the difference: the existing one, or a new one.
void carryOnReservedLine(const QSqlDatabase &db, const LoginState &state, const SettledLines &kind,
                         const QString &number, double difference)
{
    const QString p = kind.prefix;
    const int changed = RunSql(db,
                               QStringLiteral("update %1 set %2zje = ?, %2je = ? where gl_djh = ? and g_sn = ?")
                                   .arg(kind.lines, p),
                               {difference, difference, number, kReservedGoods});
    if (changed != 0)
        return;
    ColumnValues values{{QStringLiteral("gl_djh"), number},
                        {p + QStringLiteral("dj"), 0.0},
                        {p + QStringLiteral("sl"), 0.0},
                        {p + QStringLiteral("zje"), difference},
                        {QStringLiteral("g_sn"), kReservedGoods},
                        {QStringLiteral("a_name"), state.CurrentOperatorName},
                        {p + QStringLiteral("je"), difference}};
    for (const char *zero : {"tax", "taxdj", "taxje", "zsl"})
        values.append({p + QLatin1String(zero), 0.0});
    values.append({p + QStringLiteral("dzl"), 1.0});
    for (const char *empty : {"dw_name", "g_sptm", "g_tmbz"})
        values.append({QLatin1String(empty), QStringLiteral("")});
    if (kind.reservedLineColumns)
        values += kind.reservedLineColumns(db);
    InsertRow(db, kind.lines, values);
}

void spreadOverLines(const QSqlDatabase &db, const LoginState &state, const SettledLines &kind,
                     const QString &number, double paid, double due)
{
    const QString p = kind.prefix;
    QVector<SpreadLine> lines;
    for (const RowTexts &r :
         ReadRows(db,
                  QStringLiteral("select id, %1sl, %1zje, %1tax, %1taxdj, %1dj, %1je, %1taxje%2 from %3 "
                                 "where gl_djh = ? order by id")
                      .arg(p,
                           kind.discountAndGifts
                               ? QStringLiteral(", %1dzl, (case when t_zp = '' then 1 else 0 end) as plain").arg(p)
                               : QString(),
                           kind.lines),
                  {number})) {
        SpreadLine l;
        l.id = r.value(QStringLiteral("id")).toLongLong();
        l.qty = Num(r, p + QStringLiteral("sl"));
        l.total = Num(r, p + QStringLiteral("zje"));
        l.tax = Num(r, p + QStringLiteral("tax"));
        if (kind.discountAndGifts)
            l.discount = Num(r, p + QStringLiteral("dzl"));
        l.taxPrice = Num(r, p + QStringLiteral("taxdj"));
        l.price = Num(r, p + QStringLiteral("dj"));
        l.amount = Num(r, p + QStringLiteral("je"));
        l.taxAmount = Num(r, p + QStringLiteral("taxje"));
        l.ordinary = l.qty > 0 && (!kind.discountAndGifts || r.value(QStringLiteral("plain")) == QLatin1String("1"));
        lines.append(l);
    }
    if (std::none_of(lines.begin(), lines.end(), [](const SpreadLine &l) { return l.ordinary; }))
        return;
    bool changed = false;
    const double total = SpreadDifference(lines, due, paid, state.PriceDecimals, &changed);
    if (changed) {
        for (const SpreadLine &l : lines) {
            if (l.qty > 0)
                RunSql(db,
                       QStringLiteral("update %1 set %2zje = ?, %2taxdj = ?, %2dj = ?, %2je = ?, %2taxje = ? "
                                      "where id = ?")
                           .arg(kind.lines, p),
                       {l.total, l.taxPrice, l.price, l.amount, l.taxAmount, l.id});
        }
    }
    RunSql(db,
           QStringLiteral("update %1 set %2yfje = ?, %2sfje = ? where gl_djh = ?").arg(kind.header, kind.headerPrefix),
           {total, total, number});
}

} // namespace settledifference_impl

void ApplySettleDifference(const QSqlDatabase &db, const LoginState &state, const SettledLines &kind,
                           const QString &number, double paid, double due)
{
    using namespace settledifference_impl;
    if (std::abs(paid - due) < 0.000001)
        return;
    Transaction tx(db);
    if (state.SettleDiffMode == QLatin1String("1"))
        carryOnReservedLine(db, state, kind, number, paid - due);
    else if (state.SettleDiffMode == QLatin1String("0"))
        spreadOverLines(db, state, kind, number, paid, due);
    tx.commit();
}
