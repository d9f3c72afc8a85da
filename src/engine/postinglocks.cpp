#include "engine/postinglocks.h"

#include "engine/partnerside.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <QCryptographicHash>
#include <QRegularExpression>

#include <algorithm>
#include <atomic>

namespace postinglocks_impl {

std::atomic<bool> g_enabled{true};

// Key classes of the advisory locks, so that equal texts of different kinds never collide.
enum LockClass : int { HeaderLock = 1, PartnerLock = 3, CashLock = 4, StemLock = 5 };

qint32 keyOf(const QString &text)
{
    const QByteArray digest = QCryptographicHash::hash(text.toUtf8(), QCryptographicHash::Md5);
    const auto *b = reinterpret_cast<const unsigned char *>(digest.constData());
    return qint32((quint32(b[0]) << 24) | (quint32(b[1]) << 16) | (quint32(b[2]) << 8) | quint32(b[3]));
}

void advisory(const QSqlDatabase &db, LockClass cls, const QString &key)
{
    QueryScalar(db, QStringLiteral("select pg_advisory_xact_lock(?, ?)"), {int(cls), keyOf(key)});
}

QStringList sortedUnique(QStringList list)
{
    list.removeAll(QString());
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return list;
}

bool isPlainName(const QString &name)
{
    static const QRegularExpression re(QStringLiteral("^[a-z_][a-z0-9_]*$"));
    return re.match(name).hasMatch();
}

} // namespace postinglocks_impl

LockForPosting::LockForPosting(const QSqlDatabase &db, const PostingLockKeys &keys)
{
    using namespace postinglocks_impl;
    if (!Transaction::isActive(db))
        throw DbError(QStringLiteral("数据库操作失败：锁定须在事务中进行"));
    if (!g_enabled.load() || !Dialect::of(db).isPostgres())
        return;

    // 1. Document headers, by table and number.
    auto headers = keys.headers;
    std::sort(headers.begin(), headers.end());
    headers.erase(std::unique(headers.begin(), headers.end()), headers.end());
    for (const auto &[table, number] : headers) {
        if (!isPlainName(table))
            throw DbError(QStringLiteral("数据库操作失败：无效的表名 %1").arg(table));
        advisory(db, HeaderLock, table + QLatin1Char('\x1f') + number);
        OpenSelect(db, QStringLiteral("select id from %1 where gl_djh = ? order by id for update").arg(table), {number});
    }

    // 2. Goods rows, in code order (the lock step follows the sort).
    const QStringList goods = sortedUnique(keys.goods);
    if (!goods.isEmpty()) {
        QVariantList binds;
        for (const QString &g : goods)
            binds << g;
        OpenSelect(db,
                   QStringLiteral("select id from jxc_goods where g_sn in (%1) order by g_sn, id for update")
                       .arg(QStringList(goods.size(), QStringLiteral("?")).join(QLatin1Char(','))),
                   binds);
    }

    // 3. The partner: its master row, and the key itself for a partner without one.
    if (!keys.partner.isEmpty() && !keys.partnerType.isEmpty()) {
        advisory(db, PartnerLock, keys.partnerType + QLatin1Char('\x1f') + keys.partner);
        if (const PartnerSide *side = PartnerSideOfType(keys.partnerType))
            OpenSelect(db, QStringLiteral("select id from %1 where %2 = ? order by id for update").arg(side->table, side->key),
                       {keys.partner});
    }

    // 4. Cash accounts and 5. number stems.
    for (const QString &account : sortedUnique(keys.cashAccounts))
        advisory(db, CashLock, account);
    for (const QString &stem : sortedUnique(keys.numberStems))
        advisory(db, StemLock, stem);
}

void LockForPosting::setEnabled(bool enabled)
{
    using namespace postinglocks_impl;
    g_enabled.store(enabled);
}

bool LockForPosting::enabled()
{
    using namespace postinglocks_impl;
    return g_enabled.load();
}
