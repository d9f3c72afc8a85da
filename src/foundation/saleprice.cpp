#include "foundation/saleprice.h"

#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

namespace {

// The level of the price rule: kt_sn of the customer with graded prices (empty when unknown).
QString salePriceLevel(const QSqlDatabase &db, const LoginState &state, const QString &customerSn)
{
    if (!IsTrue(state.UseGradePrices))
        return QStringLiteral("1000");
    return QueryScalar(db, QStringLiteral("select kt_sn from jxc_khxx where kh_sn = ? order by id limit 1"),
                       {customerSn});
}

// ls_dj of the newest line (largest line id) of an audited sale of the goods in `unit` to the
// customer. A counter customer buys the goods often, so the goods' newest lines are looked at
// first; only when none of them went to the customer are the customer's own sales searched
// (without the goods' lines, which for a goods on every bill would mean all of them).
QString salePriceLastSold(const QSqlDatabase &db, const QString &customerSn, const QString &goodsSn,
                          const QString &unit)
{
    const QString recent = QueryScalar(
        db,
        QStringLiteral("select w.ls_dj from (select l.id, l.ls_dj, l.gl_djh from jxc_lsxssp l "
                       "where l.g_sn = ? and l.dw_name = ? order by l.id desc limit 500) w "
                       "join jxc_lsxsd h on h.gl_djh = w.gl_djh "
                       "where h.ls_status = 1 and h.kh_sn = ? order by w.id desc limit 1"),
        {goodsSn, unit, customerSn});
    const QString found = QueryScalar(
        db,
        QStringLiteral("select count(*) from (select l.id from jxc_lsxssp l where l.g_sn = ? and l.dw_name = ? "
                       "order by l.id desc limit 501) w"),
        {goodsSn, unit});
    if (!recent.isEmpty() || found.toInt() <= 500)
        return recent;  // found, or the goods has no older lines
    // "|| ''" keeps the planner from walking the goods' lines again.
    return QueryScalar(
        db,
        QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                       "where h.ls_status = 1 and h.kh_sn = ? and l.g_sn || '' = ? and l.dw_name = ? "
                       "order by l.id desc limit 1"),
        {customerSn, goodsSn, unit});
}

// ls_dj of the newest audited sale line of the goods in `unit` to the customer: latest sale date,
// then latest line. A goods with few lines in the unit is read through them (index goods_unit);
// otherwise the customer's audited sales are walked newest day first (index customer_day) to the
// first that holds the goods in the unit, and that day's newest line is taken. So a customer with
// a long history (the counter customer) is answered from its last few sales.
QString salePriceLastSoldByDate(const QSqlDatabase &db, const QString &customerSn, const QString &goodsSn,
                                const QString &unit)
{
    constexpr int kFewLines = 200;
    // "|| ''" keeps a column out of the index choice, so the plan does not depend on statistics.
    const auto latestSql = [](bool byCustomer) {
        return QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                              "where h.ls_status = 1 and h.kh_sn%1 = ? and l.g_sn%2 = ? and l.dw_name = ? "
                              "order by h.ls_xsrq desc, l.id desc limit 1")
            .arg(byCustomer ? QString() : QStringLiteral(" || ''"), byCustomer ? QStringLiteral(" || ''") : QString());
    };
    const int lines = QueryScalar(db,
                                  QStringLiteral("select count(*) from (select l.id from jxc_lsxssp l "
                                                 "where l.g_sn = ? and l.dw_name = ? limit %1) w")
                                      .arg(kFewLines + 1),
                                  {goodsSn, unit})
                          .toInt();
    if (lines <= kFewLines)
        return QueryScalar(db, latestSql(false), {customerSn, goodsSn, unit});
    // "D" + the day, "N" for a sale without a date (sorted where the database puts NULLs).
    const QString day = QueryScalar(
        db,
        QStringLiteral("select case when h.ls_xsrq is null then 'N' else 'D' || h.ls_xsrq end from jxc_lsxsd h "
                       "where h.kh_sn = ? and h.ls_status = 1 and exists (select 1 from jxc_lsxssp l "
                       "where l.gl_djh = h.gl_djh and l.g_sn || '' = ? and l.dw_name || '' = ?) "
                       "order by h.ls_xsrq desc limit 1"),
        {customerSn, goodsSn, unit});
    if (day.isEmpty())
        return QString();
    if (day == QLatin1String("N"))
        return QueryScalar(db, latestSql(true), {customerSn, goodsSn, unit});
    return QueryScalar(db,
                       QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                                      "where h.kh_sn = ? and h.ls_status = 1 and h.ls_xsrq = ? "
                                      "and l.g_sn || '' = ? and l.dw_name = ? order by l.id desc limit 1"),
                       {customerSn, day.mid(1), goodsSn, unit});
}

QString salePriceRounded(const LoginState &state, const QString &price)
{
    return NumberText(RoundTo(TextToNumber(price), state.PriceDecimals));
}

} // namespace

QString LevelPriceColumn(const QString &level)
{
    static const QStringList levels = {QStringLiteral("1001"), QStringLiteral("1002"), QStringLiteral("1003"),
                                       QStringLiteral("1004"), QStringLiteral("1005")};
    return levels.contains(level) ? QStringLiteral("g_sj") + level.at(3) : QStringLiteral("g_sj");
}

QString GetCustomerLevel(const QSqlDatabase &db, const LoginState &state, const QString &customerSn)
{
    const QString level = salePriceLevel(db, state, customerSn);
    return level.isEmpty() ? QStringLiteral("1000") : level;
}

QString GetSalePrice(const QSqlDatabase &db, const LoginState &state, const QString &customerSn,
                     const QString &goodsSn)
{
    QString price = QueryScalar(
        db, QStringLiteral("select kb_bj from jxc_khbj where kh_sn = ? and g_sn = ? order by id desc limit 1"),
        {customerSn, goodsSn});
    if (price.isEmpty()) {
        const QString level = salePriceLevel(db, state, customerSn);
        const QString levelSql = QStringLiteral("select %1 from jxc_goods where g_sn = ? order by id limit 1")
                                     .arg(LevelPriceColumn(level));
        if (state.SalePriceDefault == QLatin1String("1")) {
            const QString baseUnit = QueryScalar(
                db, QStringLiteral("select dw_name from jxc_goods where g_sn = ? order by id limit 1"), {goodsSn});
            if (!baseUnit.isEmpty())
                price = salePriceLastSold(db, customerSn, goodsSn, baseUnit);
            if (price.isEmpty())
                price = QueryScalar(db, levelSql, {goodsSn});
        } else if (state.SalePriceDefault == QLatin1String("0") && level != QLatin1String("1000")) {
            price = QueryScalar(db, levelSql, {goodsSn});
        }
    }
    if (price.isEmpty())
        price = QueryScalar(db, QStringLiteral("select g_sj from jxc_goods where g_sn = ? order by id limit 1"),
                            {goodsSn});
    if (price.isEmpty())
        price = QStringLiteral("0");
    return salePriceRounded(state, price);
}

QString GetSalePriceByUnit(const QSqlDatabase &db, const LoginState &state, const QString &customerSn,
                           const QString &goodsSn, const QString &unit)
{
    QString price;
    if (state.SalePriceDefault == QLatin1String("1"))
        price = salePriceLastSoldByDate(db, customerSn, goodsSn, unit);
    if (price.isEmpty()) {
        const QString level = salePriceLevel(db, state, customerSn);
        price = QueryScalar(db,
                            QStringLiteral("select %1 from jxc_goodsdw where g_sn = ? and dw_name = ? "
                                           "order by id limit 1")
                                .arg(LevelPriceColumn(level)),
                            {goodsSn, unit});
    }
    if (price.isEmpty())
        price = QStringLiteral("0");
    return salePriceRounded(state, price);
}
