#include "engine/stockcheck.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

namespace stockcheck_impl {

struct CheckKind
{
    const char *type;
    const char *lines;
    const char *quantity;
    const char *lineFilter;    // further condition on the lines, or empty
    const char *askSuffix;     // negative stock allowed: a question
    const char *refuseSuffix;  // not allowed: a refusal
};

constexpr const char *kOutAsk = "”：出库将会出现负库存，是否继续？";
constexpr const char *kOutRefuse = "”：不能出库！";
constexpr const char *kReturnAsk = "”：退货将会出现负库存，是否继续？";
constexpr const char *kReturnRefuse = "”：不能退货！";

// CJ and LT are asked only by the cancels of a purchase receipt and a department return. A
// receipt line with jh_rksl 0 put nothing on hand, so its cancel takes nothing from kc_sl; a
// department return moved its base quantity ly_zsl, not the line quantity ly_sl.
const CheckKind kKinds[] = {
    {"CJ", "jxc_jhsp", "jh_zsl", "coalesce(jh_rksl, 0) <> 0", kOutAsk, kOutRefuse},
    {"CT", "jxc_thsp", "th_zsl", "", kReturnAsk, kReturnRefuse},
    {"XS", "jxc_lsxssp", "ls_zsl", "", "”：销售将会出现负库存，是否继续？", "”：不能销售！"},
    {"XT", "jxc_xsthsp", "th_zsl", "", kOutAsk, kOutRefuse},
    {"DB", "jxc_dbsp", "db_zsl", "", kOutAsk, kOutRefuse},
    {"BS", "jxc_bssp", "bs_sl", "", "”：报损将会出现负库存，是否继续？", "”：不能报损！"},
    {"LY", "jxc_bmlysp", "ly_sl", "", "”：领用将会出现负库存，是否继续？", "”：不能领用！"},
    {"LT", "jxc_bmlysp", "ly_zsl", "", kOutAsk, kOutRefuse},
    {"SC", "jxc_scrksp", "sc_sl", "", kOutAsk, kOutRefuse},
    {"ST", "jxc_scrksp", "sc_sl", "", kReturnAsk, kReturnRefuse},
};

} // namespace stockcheck_impl

QString CheckNegativeStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &number, const QString &warehouse, const QString &type)
{
    using namespace stockcheck_impl;
    Q_UNUSED(clock)
    const CheckKind *kind = nullptr;
    for (const CheckKind &k : kKinds) {
        if (type == QLatin1String(k.type)) {
            kind = &k;
            break;
        }
    }
    if (!kind)
        return QString();
    // The lines of every operator count; a goods without a stock row in the warehouse is not
    // compared. The lowest short code is named.
    const QString sql = QStringLiteral(
        "select l.g_sn from (select g_sn, sum(coalesce(%2, 0)) as q from %1 where gl_djh = ? "
        "and g_sn <> '00000000'%3 group by g_sn) l join jxc_kcsp k on k.g_sn = l.g_sn and k.ck_sn = ? "
        "where l.q > coalesce(k.kc_sl, 0) order by l.g_sn limit 1")
                            .arg(QLatin1String(kind->lines), QLatin1String(kind->quantity),
                                 *kind->lineFilter ? QStringLiteral(" and ") + QLatin1String(kind->lineFilter)
                                                   : QString());
    const QString goods = QueryScalar(db, sql, {number, warehouse});
    if (goods.isEmpty())
        return QString();
    return QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“") + goods
           + QString::fromUtf8(IsTrue(state.AllowNegativeStock) ? kind->askSuffix : kind->refuseSuffix);
}

StockAnswer AskNegativeStock(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                             const QString &number, const QString &warehouse, const QString &type)
{
    const QString shortage = CheckNegativeStock(db, state, clock, number, warehouse, type);
    if (shortage.isEmpty())
        return StockAnswer::Enough;
    if (!IsTrue(state.AllowNegativeStock)) {
        notices.notice(shortage);
        return StockAnswer::Stopped;
    }
    return notices.confirm(shortage) ? StockAnswer::Confirmed : StockAnswer::Stopped;
}
