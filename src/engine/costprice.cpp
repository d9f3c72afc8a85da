#include "engine/costprice.h"

#include "foundation/db/clock.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

double GetCostPrice(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &goods,
                    const QString &warehouse, const QString &date)
{
    // A bare day counts the day's movements up to now.
    QString until = date;
    if (until.length() <= 10)
        until += QLatin1Char(' ') + clock.now().toString(QLatin1String(kTimeFormat));

    QString value;
    QSqlQuery g = OpenSelect(db, QStringLiteral("select g_gdcbj, g_jj, g_pjjj from jxc_goods where g_sn = ?"), {goods});
    QString fixedFlag, purchasePrice, averagePrice;
    if (g.next()) {
        fixedFlag = ValueText(g.value(0));
        purchasePrice = ValueText(g.value(1));
        averagePrice = ValueText(g.value(2));
    }
    if (IsTrue(fixedFlag)) {
        value = purchasePrice;
    } else {
        if (!IsTrue(state.CostFromStockRow)) {
            value = QueryScalar(db,
                                QStringLiteral("select gl_pjjj from jxc_goodslist where g_sn = ? and ck_sn = ? "
                                               "and gl_kdrq <= ? order by gl_kdrq desc, id desc limit 1"),
                                {goods, warehouse, until});
        }
        if (value.isEmpty())
            value = QueryScalar(db, QStringLiteral("select kc_cbj from jxc_kcsp where g_sn = ? and ck_sn = ?"),
                                {goods, warehouse});
        if (value.isEmpty())
            value = averagePrice;
    }
    return RoundTo(TextToNumber(value), state.PriceDecimals);
}
