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

    // One statement: the advisory locks in their order (headers, partner, cash accounts, number
    // stems), then the rows (header rows by table and number, goods rows in code order, the
    // partner's master row). Every posting takes them in this same order.
    auto headers = keys.headers;
    std::sort(headers.begin(), headers.end());
    headers.erase(std::unique(headers.begin(), headers.end()), headers.end());
    QStringList classes, hashes;
    const auto addAdvisory = [&](LockClass cls, const QString &key) {
        classes << QString::number(int(cls));
        hashes << QString::number(keyOf(key));
    };
    for (const auto &[table, number] : headers) {
        if (!isPlainName(table))
            throw DbError(QStringLiteral("数据库操作失败：无效的表名 %1").arg(table));
        addAdvisory(HeaderLock, table + QLatin1Char('\x1f') + number);
    }
    const PartnerSide *side = keys.partner.isEmpty() ? nullptr : PartnerSideOfType(keys.partnerType);
    if (!keys.partner.isEmpty() && !keys.partnerType.isEmpty())
        addAdvisory(PartnerLock, keys.partnerType + QLatin1Char('\x1f') + keys.partner);
    for (const QString &account : sortedUnique(keys.cashAccounts))
        addAdvisory(CashLock, account);
    for (const QString &stem : sortedUnique(keys.numberStems))
        addAdvisory(StemLock, stem);

    QStringList parts;
    QVariantList binds;
    if (!classes.isEmpty()) {
        parts << QStringLiteral("(select count(*) from (select pg_advisory_xact_lock(t.c, t.k) from "
                                "(select c, k from unnest(cast(? as integer[]), cast(? as integer[])) "
                                "with ordinality as u(c, k, o) order by o) t) a)");
        binds << QStringLiteral("{%1}").arg(classes.join(QLatin1Char(',')))
              << QStringLiteral("{%1}").arg(hashes.join(QLatin1Char(',')));
    }
    for (const auto &[table, number] : headers) {
        parts << QStringLiteral("(select count(*) from (select id from %1 where gl_djh = ? order by id for update) h)")
                     .arg(table);
        binds << number;
    }
    const QStringList goods = sortedUnique(keys.goods);
    if (!goods.isEmpty()) {
        QStringList quoted;
        for (QString g : goods)
            quoted << QLatin1Char('"') + g.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                                          .replace(QLatin1Char('"'), QStringLiteral("\\\""))
                          + QLatin1Char('"');
        parts << QStringLiteral("(select count(*) from (select id from jxc_goods where g_sn = any(cast(? as text[])) "
                                "order by g_sn, id for update) g)");
        binds << QStringLiteral("{%1}").arg(quoted.join(QLatin1Char(',')));
    }
    if (side) {
        parts << QStringLiteral("(select count(*) from (select id from %1 where %2 = ? order by id for update) p)")
                     .arg(side->table, side->key);
        binds << keys.partner;
    }
    if (!parts.isEmpty())
        QueryScalar(db, QStringLiteral("select ") + parts.join(QStringLiteral(" + ")), binds);
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
