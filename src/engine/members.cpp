#include "engine/members.h"

#include "engine/auditsupport.h"
#include "engine/enginebatch.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/db/clock.h"
#include "foundation/loginstate.h"
#include "foundation/numbering.h"
#include "foundation/schema/catalog.h"

#include <QDate>
#include <QMap>
#include <QSqlQuery>

#include <cmath>
#include <stdexcept>

namespace members_impl {

using postingsupport::RowTexts;

double num(const RowTexts &row, const QString &column)
{
    return TextToNumber(row.value(column));
}

// Whole part, towards zero.
double whole(double value)
{
    return std::trunc(value + (value >= 0 ? 1e-9 : -1e-9));
}

// A flag of the member settings that reads false only as "0" or "False".
bool flagOn(const QString &text)
{
    return text != QLatin1String("0") && text != QLatin1String("False");
}

QDate dateOf(const QString &text)
{
    return QDate::fromString(text.left(10), QStringLiteral("yyyy-MM-dd"));
}

// Calendar months from `from` to `to` (2024-01-31 → 2024-02-01 is 1).
int monthsBetween(const QDate &from, const QDate &to)
{
    return (to.year() - from.year()) * 12 + to.month() - from.month();
}

qint64 daysBetween(const QDate &from, const QDate &to)
{
    return from.daysTo(to);
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

QString placeholders(int count)
{
    return QStringList(count, QStringLiteral("?")).join(QStringLiteral(", "));
}

// Inserts gift rows (jxc_hyxf) in multi-row statements. Each entry: gl_djh, hy_sn, xf_je,
// xf_note, xf_zt, hs_zsfs; the date, operator and zero figures are the same for all.
struct GiftRow
{
    QString number;
    QString member;
    double amount = 0;
    QString note;
    QString state;
    int kind = 0;
};

void insertGiftRows(const QSqlDatabase &db, const QString &operatorName, const QString &today,
                    const QVector<GiftRow> &rows)
{
    const QString head = QStringLiteral(
        "insert into jxc_hyxf (gl_djh, hy_sn, xf_rq, xf_je, xf_yhje, xf_djq, xf_czk, xf_xj, xf_xyk, "
        "xf_wxje, xf_zfbje, xf_zlje, a_name, xf_note, xf_zt, xf_zsrq, hs_zsfs, hs_myje, hs_zsje) values ");
    const QString one = QStringLiteral("(?, ?, ?, ?, 0, 0, 0, 0, 0, 0, 0, 0, ?, ?, ?, ?, ?, 0, 0)");
    // The SQLite driver's cost per bound value grows with the values of the statement: keep its
    // statements short; PostgreSQL gains from fewer round trips.
    const int chunk = Dialect::of(db).isSqlite() ? 16 : 400;
    for (int at = 0; at < rows.size(); at += chunk) {
        const int n = std::min(chunk, int(rows.size()) - at);
        QVariantList binds;
        for (int i = at; i < at + n; ++i) {
            const GiftRow &g = rows.at(i);
            binds << postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("gl_djh"), g.number)
                  << g.member << today << g.amount << operatorName
                  << postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("xf_note"), g.note)
                  << postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("xf_zt"), g.state)
                  << today << g.kind;
        }
        RunSql(db, head + QStringList(n, one).join(QStringLiteral(", ")), binds);
    }
}

// PostgreSQL: the gift rows in one INSERT … SELECT over the rows sent as arrays (one round trip
// instead of one statement per few hundred rows, each with thousands of bound values).
void insertGiftRowsAsSet(const QSqlDatabase &db, const QString &operatorName, const QString &today,
                         const QVector<GiftRow> &rows)
{
    if (rows.isEmpty())
        return;
    std::vector<QVariantList> batch;
    batch.reserve(size_t(rows.size()));
    for (const GiftRow &g : rows)
        batch.push_back(
            {engine::BoundText(postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("gl_djh"), g.number)),
             engine::BoundText(g.member),
             engine::BoundText(postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("xf_note"), g.note)),
             engine::BoundText(postingsupport::CutToColumn(QStringLiteral("jxc_hyxf"), QStringLiteral("xf_zt"), g.state)),
             g.amount, g.kind});
    QVariantList binds{today, operatorName, today};
    const QString source = engine::BatchSource(
        db, {QStringLiteral("k1"), QStringLiteral("k2"), QStringLiteral("k3"), QStringLiteral("k4"), QStringLiteral("c1"),
             QStringLiteral("c2")},
        batch, binds);
    RunSql(db,
           QStringLiteral("insert into jxc_hyxf (gl_djh, hy_sn, xf_rq, xf_je, xf_yhje, xf_djq, xf_czk, xf_xj, xf_xyk, "
                          "xf_wxje, xf_zfbje, xf_zlje, a_name, xf_note, xf_zt, xf_zsrq, hs_zsfs, hs_myje, hs_zsje) "
                          "select b.k1, b.k2, ?, b.c1, 0, 0, 0, 0, 0, 0, 0, 0, ?, b.k3, b.k4, ?, cast(b.c2 as integer), 0, 0 "
                          "from %1")
               .arg(source),
           binds);
}

// PostgreSQL: brings the schedule rows `periodsById` (id → periods) forward to `date` in one
// UPDATE … FROM over the pairs sent as arrays.
void bringForwardAsSet(const QSqlDatabase &db, const QString &date, const QMap<qint64, QVector<qint64>> &idsByPeriods)
{
    std::vector<QVariantList> batch;
    for (auto it = idsByPeriods.cbegin(); it != idsByPeriods.cend(); ++it)
        for (const qint64 id : it.value())
            batch.push_back({id, double(it.key())});
    if (batch.empty())
        return;
    QVariantList binds{date};
    const QString source = engine::BatchSource(db, {QStringLiteral("id"), QStringLiteral("c1")}, batch, binds);
    RunSql(db,
           QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) - coalesce(hs_myje, 0) * b.c1 "
                          "from %1 where jxc_hyxf.id = b.id")
               .arg(source),
           binds);
}

// Runs `sql` (with "%1" standing for the id list) over `ids` in chunks; `before` binds first.
void runOverIds(const QSqlDatabase &db, const QString &sql, const QVariantList &before,
                const QVector<qint64> &ids)
{
    const int chunk = Dialect::of(db).isSqlite() ? 64 : 500;  // see insertGiftRows
    for (int at = 0; at < ids.size(); at += chunk) {
        const int n = std::min(chunk, int(ids.size()) - at);
        QVariantList binds = before;
        for (int i = at; i < at + n; ++i)
            binds << ids.at(i);
        RunSql(db, sql.arg(placeholders(n)), binds);
    }
}

// A scheduled top-up row.
struct Scheme
{
    qint64 id = 0;
    QString member;
    QString number;
    double perPeriod = 0;
    double left = 0;
    qint64 lag = 0;
};

// The schedule rows of `kind` with hs_zsje >= hs_myje (of one member when given), with their lag
// in months or days up to `until`; rows whose date cannot be read are left out.
QVector<Scheme> schemes(const QSqlDatabase &db, int kind, bool months, const QDate &until,
                        const QString &member = QString())
{
    QString sql = QStringLiteral("select id, hy_sn, gl_djh, hs_myje, hs_zsje, xf_zsrq from jxc_hyxf "
                                 "where hs_zsfs = ? and coalesce(hs_zsje, 0) >= coalesce(hs_myje, 0)");
    QVariantList binds{kind};
    if (!member.isEmpty()) {
        sql += QStringLiteral(" and hy_sn = ?");
        binds << member;
    }
    sql += QStringLiteral(" order by id");
    // Read by position: a login may walk tens of thousands of rows here.
    QVector<Scheme> out;
    ForEachRow(db, sql, binds, [&](const QSqlQuery &row) {
        const QString date = ValueText(row.value(5));
        const QDate from = dateOf(date);
        if (!from.isValid() || date.trimmed().isEmpty())
            return;
        Scheme s;
        s.id = ValueText(row.value(0)).toLongLong();
        s.member = ValueText(row.value(1));
        s.number = ValueText(row.value(2));
        s.perPeriod = TextToNumber(ValueText(row.value(3)));
        s.left = TextToNumber(ValueText(row.value(4)));
        s.lag = months ? monthsBetween(from, until) : daysBetween(from, until);
        out << s;
    });
    return out;
}

// Consumption-bound gifts of one kind paid by a sale (kind 2 by month, 4 by day).
void payConsumptionGifts(const QSqlDatabase &db, const LoginState &state, const QString &today,
                         const QString &bill, const QString &member, bool monthly)
{
    const int kind = monthly ? 2 : 4;
    QVector<Scheme> eligible;
    for (const Scheme &s : schemes(db, kind, monthly, dateOf(today), member))
        if (s.lag >= 1 && s.perPeriod > 0)
            eligible << s;
    if (eligible.isEmpty())
        return;
    QVector<GiftRow> gifts;
    QVector<qint64> ids;
    double total = 0;
    for (const Scheme &s : eligible) {
        GiftRow g;
        g.number = bill;
        g.member = member;
        g.amount = s.perPeriod;
        g.note = s.number + (monthly ? QStringLiteral("该单据充值按月消费赠送，本次消费赠送：1个月")
                                     : QStringLiteral("该单据充值按天消费赠送，本次消费赠送：1天"));
        g.state = bill + (monthly ? QStringLiteral("本月消费到账") : QStringLiteral("今天消费到账"));
        g.kind = -kind;
        gifts << g;
        ids << s.id;
        total += s.perPeriod;
    }
    insertGiftRows(db, state.CurrentOperatorName, today, gifts);
    runOverIds(db,
               QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) - "
                              "coalesce(hs_myje, 0) where id in (%1)"),
               {today}, ids);
    RunSql(db, QStringLiteral("update jxc_hyxx set hy_zhje = coalesce(hy_zhje, 0) + ? where hy_sn = ?"),
           {total, member});
    RunSql(db, QStringLiteral("update jxc_posxsd set pos_zftype = '1' where gl_djh = ?"), {bill});
}

// Takes back the consumption-bound gifts a cancelled bill paid: when it is the member's only bill
// of the month (day), every gift row of that kind the member has in it, and in the current month
// (today) the schemes become payable again.
void takeBackConsumptionGifts(const QSqlDatabase &db, const Clock &clock, const QString &member,
                              const QString &billDate, bool monthly)
{
    const int kind = monthly ? 2 : 4;
    const QString period = monthly ? billDate.left(7) : billDate.left(10);
    const int width = monthly ? 7 : 10;
    const QString giftSum = QueryScalar(
        db,
        QStringLiteral("select sum(coalesce(xf_je, 0)) from jxc_hyxf where hy_sn = ? and hs_zsfs = ? "
                       "and substr(xf_zsrq, 1, %1) = ?")
            .arg(width),
        {member, -kind, period});
    if (giftSum.isEmpty())
        return;
    const int bills = QueryScalar(db,
                                  QStringLiteral("select count(*) from jxc_posxsd where hy_sn = ? "
                                                 "and substr(pos_xsrq, 1, %1) = ?")
                                      .arg(width),
                                  {member, period})
                          .toInt();
    if (bills != 1)
        return;
    RunSql(db,
           QStringLiteral("delete from jxc_hyxf where hy_sn = ? and hs_zsfs = ? and substr(xf_zsrq, 1, %1) = ?")
               .arg(width),
           {member, -kind, period});
    RunSql(db, QStringLiteral("update jxc_hyxx set hy_zhje = coalesce(hy_zhje, 0) - ? where hy_sn = ?"),
           {TextToNumber(giftSum), member});
    const QDate today = clock.today();
    const QString current = monthly ? dateText(today).left(7) : dateText(today);
    if (period != current)
        return;
    const QString back = dateText(monthly ? today.addMonths(-1) : today.addDays(-1));
    RunSql(db,
           QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) + coalesce(hs_myje, 0) "
                          "where hy_sn = ? and hs_zsfs = ? and substr(xf_zsrq, 1, %1) = ?")
               .arg(width),
           {back, member, kind, period});
}

QString levelFor(const QSqlDatabase &db, double points)
{
    return QueryScalar(db,
                       QStringLiteral("select hl_sn from jxc_hyfl where coalesce(hl_jfxx, 0) <= ? and "
                                      "coalesce(hl_jfsx, 0) >= ? order by id limit 1"),
                       {points, points});
}

} // namespace members_impl

using namespace members_impl;

void UpdateMemberBalance(const QSqlDatabase &db, const LoginState &state, const QString &member)
{
    const double perPoint = TextToNumber(state.AmountPerPoint);
    if (!IsTrue(state.CarryPointsRemainder) || state.AmountPerPoint.isEmpty() || perPoint == 0)
        return;
    const qint64 divisor = qint64(whole(perPoint));
    double remainder = 0;
    if (divisor != 0) {
        const qint64 total = qint64(whole(TextToNumber(
            QueryScalar(db, QStringLiteral("select hy_zje from jxc_hyxx where hy_sn = ?"), {member}))));
        remainder = double(total % divisor);
    }
    RunSql(db, QStringLiteral("update jxc_hyxx set hy_ye = ? where hy_sn = ?"), {remainder, member});
}

QString GetMemberLevel(const QSqlDatabase &db, const QString &points)
{
    const QString level = levelFor(db, TextToNumber(points));
    return level.isEmpty() ? QStringLiteral("100001") : level;
}

QString CalcMemberLevel(const QSqlDatabase &db, const QString &member, qint64 addPoints)
{
    const RowTexts row = postingsupport::ReadFirstRow(
        db, QStringLiteral("select hy_sj, hl_sn, hy_zjf from jxc_hyxx where hy_sn = ?"), {member});
    if (!IsTrue(row.value(QStringLiteral("hy_sj"))))
        return row.value(QStringLiteral("hl_sn"));
    return levelFor(db, whole(num(row, QStringLiteral("hy_zjf"))) + double(addPoints));
}

QString GetNewMemberNo(const QSqlDatabase &db, const QString &table, const QString &column)
{
    if (!schema::Catalog::instance().knows(table, column))
        throw std::invalid_argument("unknown table or column");
    const Dialect dialect = Dialect::of(db);
    const QString sql = QStringLiteral("select distinct %1 from %2 where length(%1) >= 6 and %3")
                            .arg(column, table, dialect.digitsOnlySql(column));
    // The numeric maximum (texts of equal length compare as numbers; a longer one is larger once
    // leading zeros are gone).
    QString best;
    for (const RowTexts &row : postingsupport::ReadRows(db, sql)) {
        QString v = row.value(column.toLower());
        while (v.size() > 1 && v.startsWith(QLatin1Char('0')))
            v.remove(0, 1);
        if (best.isEmpty() || v.size() > best.size() || (v.size() == best.size() && v > best))
            best = v;
    }
    if (best.isEmpty())
        return QStringLiteral("100001");
    // best + 1 in decimal text.
    QString next = best;
    int i = next.size() - 1;
    while (i >= 0) {
        if (next[i] == QLatin1Char('9')) {
            next[i] = QLatin1Char('0');
            --i;
        } else {
            next[i] = QChar(next[i].unicode() + 1);
            break;
        }
    }
    if (i < 0)
        next.prepend(QLatin1Char('1'));
    return next.size() < 6 ? QStringLiteral("100001") : next;
}

void PurgeHeldPosOrders(const QSqlDatabase &db, const LoginState &state, const Clock &clock)
{
    if (!flagOn(state.PosHeldTodayOnly))
        return;
    const QString today = clock.todayText();
    Transaction tx(db);
    RunSql(db,
           QStringLiteral("delete from jxc_posxssp where gl_djh in (select gl_djh from jxc_posxsd "
                          "where pos_note = 'gd' and pos_xsrq < ?)"),
           {today});
    RunSql(db, QStringLiteral("delete from jxc_posxsd where pos_note = 'gd' and pos_xsrq < ?"), {today});
    tx.commit();
}

void PostPosMember(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                   const QString &bill, const QString &member, const QString &mode)
{
    Transaction tx(db);
    const RowTexts billRow = postingsupport::ReadFirstRow(
        db,
        QStringLiteral("select pos_czk, pos_yfje, pos_xsrq, pos_jfye, pos_bcjf, pos_hyfz from jxc_posxsd "
                       "where gl_djh = ? order by id limit 1"),
        {bill});
    if (billRow.isEmpty()) {
        tx.commit();
        return;
    }
    const double czk = num(billRow, QStringLiteral("pos_czk"));
    const double due = num(billRow, QStringLiteral("pos_yfje"));
    const QString billTime = billRow.value(QStringLiteral("pos_xsrq"));
    const double bonusBefore = num(billRow, QStringLiteral("pos_jfye"));
    const double billPoints = whole(num(billRow, QStringLiteral("pos_bcjf")));
    const QString branch = billRow.value(QStringLiteral("pos_hyfz"));
    const bool earlyExitBill = branch == QLatin1String("2");
    const QString today = clock.todayText();
    const bool sale = mode == QLatin1String("XS");
    const bool ret = mode == QLatin1String("XT");

    if (sale && bill.startsWith(QLatin1String("XS"))) {
        payConsumptionGifts(db, state, today, bill, member, true);
        payConsumptionGifts(db, state, today, bill, member, false);
    }

    if (mode == QLatin1String("unXS") || mode == QLatin1String("unXT")) {
        const bool unSale = mode == QLatin1String("unXS");
        if (earlyExitBill) {
            // The sale or return took the early exit: only a visit and the stored-value part moved.
            if (czk != 0)
                RunSql(db,
                       QStringLiteral("update jxc_hyxx set hy_cs = coalesce(hy_cs, 0) + ?, "
                                      "hy_zje = coalesce(hy_zje, 0) - ? where hy_sn = ?"),
                       {unSale ? -1 : 1, czk, member});
            RunSql(db, QStringLiteral("update jxc_hyxx set hy_zhje = coalesce(hy_zhje, 0) + ? where hy_sn = ?"),
                   {czk - bonusBefore, member});
        } else {
            RunSql(db,
                   QStringLiteral("update jxc_hyxx set hy_zjf = coalesce(hy_zjf, 0) - ?, hy_jf = coalesce(hy_jf, 0) - ?, "
                                  "hy_zje = coalesce(hy_zje, 0) - ?, hy_cs = coalesce(hy_cs, 0) + ?, "
                                  "hy_zhje = coalesce(hy_zhje, 0) + ? where hy_sn = ?"),
                   {billPoints, billPoints, due, unSale ? -1 : 1, czk - bonusBefore, member});
        }
        if (unSale) {
            takeBackConsumptionGifts(db, clock, member, billTime, true);
            takeBackConsumptionGifts(db, clock, member, billTime, false);
        }
        const RowTexts m = postingsupport::ReadFirstRow(
            db, QStringLiteral("select hy_zjf from jxc_hyxx where hy_sn = ?"), {member});
        const double totalPoints = whole(num(m, QStringLiteral("hy_zjf")));
        if (!m.isEmpty() && totalPoints != 0)
            RunSql(db, QStringLiteral("update jxc_hyxx set hl_sn = ? where hy_sn = ?"),
                   {GetMemberLevel(db, NumberText(totalPoints)), member});
        UpdateMemberBalance(db, state, member);
        tx.commit();
        return;
    }
    if (!sale && !ret) {
        tx.commit();
        return;
    }

    const RowTexts m = postingsupport::ReadFirstRow(
        db,
        QStringLiteral("select hy_jf, hy_zjf, hy_ye, hy_sj, hl_sn, hy_sr, hh_sn from jxc_hyxx where hy_sn = ?"),
        {member});
    const double available = whole(num(m, QStringLiteral("hy_jf")));
    const double total = whole(num(m, QStringLiteral("hy_zjf")));
    const QString billDay = billTime.left(10);
    const double sign = ret ? -1.0 : 1.0;

    double base = sign * due;
    const RowTexts special = postingsupport::ReadFirstRow(
        db,
        QStringLiteral("select sum(coalesce(l.pos_sl, 0) * coalesce(g.g_tsjf, 0)) as pts, "
                       "sum(coalesce(l.pos_zje, 0)) as amt from jxc_posxssp l join jxc_goods g on g.g_sn = l.g_sn "
                       "where l.gl_djh = ? and coalesce(g.g_tssp, 0) <> 0"),
        {bill});
    const double specialPoints = sign * whole(num(special, QStringLiteral("pts")));
    const double specialAmount = sign * num(special, QStringLiteral("amt"));
    base -= specialAmount;

    const double perPoint = TextToNumber(state.AmountPerPoint);
    double points = 0;
    bool birthday = false;
    if (!state.AmountPerPoint.isEmpty() && perPoint != 0) {
        if (TextToNumber(state.PointsRule) == 0 && !state.PointsRule.isEmpty())
            base -= std::fabs(czk);
        double regular = 0;
        if (!flagOn(state.SpecialsEarnPoints)) {
            const RowTexts r = postingsupport::ReadFirstRow(
                db,
                QStringLiteral("select count(*) as n, sum(coalesce(l.pos_zje, 0)) as amt from jxc_posxssp l "
                               "join jxc_goods g on g.g_sn = l.g_sn where l.gl_djh = ? "
                               "and coalesce(g.g_tjsp, 0) = 0 and coalesce(g.g_tssp, 0) = 0"),
                {bill});
            if (num(r, QStringLiteral("n")) == 0) {
                regular = 0;
                base = 0;
            } else {
                regular = sign * num(r, QStringLiteral("amt"));
            }
        }
        const double remainder = IsTrue(state.CarryPointsRemainder) ? num(m, QStringLiteral("hy_ye")) : 0;
        if (regular != 0 && base > regular)
            base = regular;
        base = sale ? whole(base + remainder) : whole(base);
        if (base == 0) {
            if (czk != 0) {
                if (sale)
                    RunSql(db,
                           QStringLiteral("update jxc_hyxx set hy_cs = coalesce(hy_cs, 0) + 1, hy_zje = coalesce(hy_zje, 0) + ?, "
                                          "hy_zhje = coalesce(hy_zhje, 0) - ? where hy_sn = ?"),
                           {czk, czk, member});
                else
                    RunSql(db,
                           QStringLiteral("update jxc_hyxx set hy_cs = coalesce(hy_cs, 0) - 1, "
                                          "hy_zje = coalesce(hy_zje, 0) + ? where hy_sn = ?"),
                           {czk, member});
            }
            RunSql(db, QStringLiteral("update jxc_posxsd set pos_hyfz = 2 where gl_djh = ?"), {bill});
            tx.commit();
            return;
        }
        points = whole(base / perPoint);
        const double factor = TextToNumber(state.BirthdayPointsFactor);
        if (factor != 0) {
            const QString b = billDay.left(5) + m.value(QStringLiteral("hy_sr")).mid(5, 5);
            if (TextToNumber(state.BirthdayPointsKind) == 0) {
                birthday = b == billDay;
            } else {
                const QDate d = dateOf(billDay);
                const qint64 days = qint64(TextToNumber(state.BirthdayPointsDays));
                if (d.isValid())
                    birthday = dateText(d.addDays(-days)) <= b && b <= dateText(d.addDays(days));
            }
            if (birthday)
                points *= factor;
        }
    }

    double bonus = 0;
    const RowTexts mode2 = postingsupport::ReadFirstRow(
        db, QStringLiteral("select hh_yh2, hh_yh3 from jxc_hyyh where hh_sn = ? order by id limit 1"),
        {m.value(QStringLiteral("hh_sn"))});
    const double step = num(mode2, QStringLiteral("hh_yh2"));
    const double credit = num(mode2, QStringLiteral("hh_yh3"));
    if (step != 0 && credit != 0)
        bonus = whole(whole(base / step) * credit);

    const double promotion = TextToNumber(state.DoublePoints);
    if (promotion != 0 && !birthday && state.DoublePointsFrom <= billDay && billDay <= state.DoublePointsTo)
        points *= promotion;
    points = whole(points) + specialPoints;

    const double newTotal = sale ? total + points : total - points;
    const double newAvailable = sale ? available + points : available - points;
    QString level = m.value(QStringLiteral("hl_sn"));
    const QString automatic = m.value(QStringLiteral("hy_sj"));
    if (flagOn(automatic)) {
        const QString found = levelFor(db, newTotal);
        if (!found.isEmpty())
            level = found;
    }

    if (sale) {
        RunSql(db,
               QStringLiteral("update jxc_hyxx set hy_zjf = coalesce(hy_zjf, 0) + ?, hy_jf = coalesce(hy_jf, 0) + ?, "
                              "hl_sn = ?, hy_zje = coalesce(hy_zje, 0) + ?, hy_cs = coalesce(hy_cs, 0) + 1, "
                              "hy_zhje = coalesce(hy_zhje, 0) - ? + ? where hy_sn = ?"),
               {points, points, level, due, czk, bonus, member});
        RunSql(db,
               QStringLiteral("update jxc_posxsd set pos_bcjf = ?, pos_zjf = ?, pos_jfye = ?, pos_hyfz = 1 "
                              "where gl_djh = ?"),
               {points, newAvailable, bonus, bill});
    } else {
        RunSql(db,
               QStringLiteral("update jxc_hyxx set hy_zjf = coalesce(hy_zjf, 0) - ?, hy_jf = coalesce(hy_jf, 0) - ?, "
                              "hl_sn = ?, hy_zje = coalesce(hy_zje, 0) + ?, hy_cs = coalesce(hy_cs, 0) - 1, "
                              "hy_zhje = coalesce(hy_zhje, 0) - ? where hy_sn = ?"),
               {points, points, level, due, bonus, member});
        RunSql(db,
               QStringLiteral("update jxc_posxsd set pos_bcjf = ?, pos_zjf = ?, pos_jfye = ?, pos_hyfz = 1 "
                              "where gl_djh = ?"),
               {-points, newAvailable, -bonus, bill});
    }
    UpdateMemberBalance(db, state, member);
    tx.commit();
}

QString ApplyRechargeGifts(const QSqlDatabase &db, const LoginState &state, const Clock &clock)
{
    try {
        const QDate today = clock.today();
        const QString t = dateText(today);
        Transaction tx(db);
        // Two logins at once: the second waits here and then finds nothing due.
        const Dialect dialect = Dialect::of(db);
        if (dialect.isPostgres())
            RunSql(db, QStringLiteral("select id from jxc_hyxf where hs_zsfs in (1, 2, 3, 4)") + dialect.forUpdate());
        const QString number = GetNewDjhByDate(db, QStringLiteral("jxc_hyxf"), QStringLiteral("gl_djh"),
                                               QStringLiteral("XF"), t);
        QVector<GiftRow> gifts;

        // Pays each scheme the largest n up to its lag that its remaining amount covers.
        auto pay = [&](int kind, bool monthly) -> qint64 {
            qint64 largest = 0;
            QMap<qint64, QVector<qint64>> idsByN;
            for (const Scheme &s : schemes(db, kind, monthly, today)) {
                if (s.lag < 1)
                    continue;
                largest = std::max(largest, s.lag);
                if (s.perPeriod <= 0)
                    continue;
                qint64 n = s.lag;
                while (n >= 1 && s.left < s.perPeriod * double(n) - 1e-9)
                    --n;
                if (n < 1)
                    continue;
                GiftRow g;
                g.number = number;
                g.member = s.member;
                g.amount = s.perPeriod * double(n);
                g.note = s.number
                         + (monthly ? QStringLiteral("该单据充值按月赠送，本次赠送：") + QString::number(n) + QStringLiteral("个月")
                                    : QStringLiteral("该单据充值按天赠送，本次赠送：") + QString::number(n) + QStringLiteral("天"));
                g.state = monthly ? QStringLiteral("按月到账") : QStringLiteral("按天到账");
                g.kind = -kind;
                gifts << g;
                idsByN[n] << s.id;
            }
            if (dialect.isPostgres()) {
                bringForwardAsSet(db, t, idsByN);
                return largest;
            }
            for (auto it = idsByN.cbegin(); it != idsByN.cend(); ++it)
                runOverIds(db,
                           QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) - "
                                          "coalesce(hs_myje, 0) * ? where id in (%1)"),
                           {t, double(it.key())}, it.value());
            return largest;
        };
        // Lets the periods without a purchase lapse up to `until`.
        auto lapse = [&](int kind, bool monthly, const QDate &until) {
            const QString p = dateText(until);
            QMap<qint64, QVector<qint64>> idsByLag;
            for (const Scheme &s : schemes(db, kind, monthly, until))
                if (s.lag >= 1)
                    idsByLag[s.lag] << s.id;
            if (dialect.isPostgres())
                bringForwardAsSet(db, p, idsByLag);
            else
                for (auto it = idsByLag.cbegin(); it != idsByLag.cend(); ++it)
                runOverIds(db,
                           QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) - "
                                          "coalesce(hs_myje, 0) * ? where id in (%1)"),
                           {p, double(it.key())}, it.value());
            RunSql(db, QStringLiteral("update jxc_hyxf set hs_zsje = 0 where hs_zsfs = ? and hs_zsje < 0"), {kind});
        };

        if (today.day() >= 10)
            pay(1, true);
        lapse(2, true, today.addMonths(-1));
        const qint64 dailyLag = pay(3, false);
        if (dailyLag >= 1)
            lapse(4, false, today.addDays(-1));

        if (dialect.isPostgres())
            insertGiftRowsAsSet(db, state.CurrentOperatorName, t, gifts);
        else
            insertGiftRows(db, state.CurrentOperatorName, t, gifts);
        if (!gifts.isEmpty())
            RunSql(db,
                   // Each member's gifts totalled once, then one update joined to the totals.
                   QStringLiteral("update jxc_hyxx set hy_zhje = coalesce(hy_zhje, 0) + g.s "
                                  "from (select hy_sn, sum(coalesce(xf_je, 0)) as s from jxc_hyxf "
                                  "where gl_djh = ? and hs_zsfs in (-1, -3) group by hy_sn) g "
                                  "where g.hy_sn = jxc_hyxx.hy_sn"),
                   {number});
        tx.commit();
        return QString();
    } catch (const DbError &e) {
        return e.text();
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
}
