#include "engine/stockmerge.h"

#include "engine/costwalk.h"
#include "engine/postinglocks.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/oplog.h"
#include "foundation/schema/schemabuilder.h"

#include <QPair>
#include <QSqlQuery>

namespace {

QList<QPair<QString, QString>> sharedStockKeys(const QSqlDatabase &db)
{
    QList<QPair<QString, QString>> keys;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select g_sn, ck_sn from jxc_kcsp where g_sn is not null and "
                                                "ck_sn is not null group by g_sn, ck_sn having count(*) > 1 "
                                                "order by g_sn, ck_sn"));
    while (q.next())
        keys.append({q.value(0).toString(), q.value(1).toString()});
    return keys;
}

} // namespace

QStringList MergeDuplicateStockRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock)
{
    if (sharedStockKeys(db).isEmpty())
        return {};
    Transaction tx(db);
    const QString timeout = Dialect::of(db).lockTimeoutStatement(kUpgradeLockTimeoutMs);
    if (!timeout.isEmpty())
        RunSql(db, timeout);
    QList<QPair<QString, QString>> keys = sharedStockKeys(db);
    PostingLockKeys lockKeys;
    for (const auto &k : keys) {
        if (!lockKeys.goods.contains(k.first))
            lockKeys.goods << k.first;
    }
    lockKeys.goods.sort();
    LockForPosting lock(db, lockKeys);
    keys = sharedStockKeys(db);  // as they stand under the locks

    QStringList merged;
    for (const auto &[goods, warehouse] : keys) {
        const QString keep = QueryScalar(db, QStringLiteral("select min(id) from jxc_kcsp where g_sn = ? and ck_sn = ?"),
                                         {goods, warehouse});
        RunSql(db,
               QStringLiteral("update jxc_kcsp set "
                              "kc_sl = (select sum(coalesce(k.kc_sl, 0)) from jxc_kcsp k where k.g_sn = ? and k.ck_sn = ?), "
                              "kc_zsl = (select sum(coalesce(k.kc_zsl, 0)) from jxc_kcsp k where k.g_sn = ? and k.ck_sn = ?), "
                              "kc_xssl = (select sum(coalesce(k.kc_xssl, 0)) from jxc_kcsp k where k.g_sn = ? and k.ck_sn = ?), "
                              "kc_zcb = (select sum(coalesce(k.kc_zcb, 0)) from jxc_kcsp k where k.g_sn = ? and k.ck_sn = ?) "
                              "where id = ?"),
               {goods, warehouse, goods, warehouse, goods, warehouse, goods, warehouse, keep.toLongLong()});
        RunSql(db, QStringLiteral("delete from jxc_kcsp where g_sn = ? and ck_sn = ? and id <> ?"),
               {goods, warehouse, keep.toLongLong()});
        const QString first = QueryScalar(db,
                                          QStringLiteral("select id from jxc_goodslist where g_sn = ? and ck_sn = ? "
                                                         "order by gl_kdrq, id limit 1"),
                                          {goods, warehouse});
        if (!first.isEmpty())
            RecalcStockCostFull(db, state, clock, first, QStringLiteral("0"));
        const QString pair = goods + QLatin1Char('/') + warehouse;
        WriteLog(db, state, clock, QStringLiteral("合并重复库存记录：") + pair);
        merged << pair;
    }
    tx.commit();
    return merged;
}
