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
        price = QueryScalar(
            db,
            // From the customer's sales ("|| ''": not from all lines of the goods, then sorted).
            QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                           "where h.ls_status = 1 and h.kh_sn = ? and l.g_sn || '' = ? and l.dw_name = ? "
                           "order by h.ls_xsrq desc, l.id desc limit 1"),
            {customerSn, goodsSn, unit});
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
