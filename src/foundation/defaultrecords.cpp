#include "foundation/defaultrecords.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/pinyin.h"

namespace {

// The first query's value, or the fallback's when it is empty.
QString defaultsFirstOf(const QSqlDatabase &db, const QString &first, const QString &fallback)
{
    const QString value = QueryScalar(db, first);
    return value.isEmpty() ? QueryScalar(db, fallback) : value;
}

QString defaultsSupplier(const QSqlDatabase &db, const QString &column)
{
    return defaultsFirstOf(
        db,
        QStringLiteral("select %1 from jxc_ghsxx where ghs_default <> 0 and ghs_forbid = 0 order by id limit 1").arg(column),
        QStringLiteral("select %1 from jxc_ghsxx where ghs_forbid = 0 order by id limit 1").arg(column));
}

QString defaultsCustomer(const QSqlDatabase &db, const QString &column)
{
    return defaultsFirstOf(
        db,
        QStringLiteral("select %1 from jxc_khxx where kh_default <> 0 and kh_forbid = 0 order by id limit 1").arg(column),
        QStringLiteral("select %1 from jxc_khxx where kh_forbid = 0 order by id limit 1").arg(column));
}

QString defaultsWarehouse(const QSqlDatabase &db, const QString &column)
{
    return defaultsFirstOf(
        db, QStringLiteral("select %1 from jxc_ckxx where ck_default <> 0 order by id limit 1").arg(column),
        QStringLiteral("select %1 from jxc_ckxx order by id limit 1").arg(column));
}

} // namespace

QString GetDefaultSupplierSn(const QSqlDatabase &db) { return defaultsSupplier(db, QStringLiteral("ghs_sn")); }
QString GetDefaultSupplierName(const QSqlDatabase &db) { return defaultsSupplier(db, QStringLiteral("ghs_name")); }
QString GetDefaultCustomerSn(const QSqlDatabase &db) { return defaultsCustomer(db, QStringLiteral("kh_sn")); }
QString GetDefaultCustomerName(const QSqlDatabase &db) { return defaultsCustomer(db, QStringLiteral("kh_name")); }
QString GetDefaultWarehouseSn(const QSqlDatabase &db) { return defaultsWarehouse(db, QStringLiteral("ck_sn")); }
QString GetDefaultWarehouseName(const QSqlDatabase &db) { return defaultsWarehouse(db, QStringLiteral("ck_name")); }

QString GetDefaultUserSn(const QSqlDatabase &db)
{
    return QueryScalar(db, QStringLiteral("select u_sn from jxc_user order by id limit 1"));
}

QString GetDefaultUserName(const QSqlDatabase &db)
{
    return QueryScalar(db, QStringLiteral("select u_name from jxc_user order by id limit 1"));
}

bool RecordExists(const QSqlDatabase &db, const QString &table, const QString &column, const SqlWhere &where)
{
    CheckColumnName(table, column);
    const QString sql = QStringLiteral("select %1 from %2%3 limit 1").arg(column, table, CheckedWhere(where));
    return !QueryScalar(db, sql, where.isEmpty() ? QVariantList() : where.binds).isEmpty();
}

QString KeyCodeName(int keyCode)
{
    if (keyCode >= 112 && keyCode <= 123)
        return QStringLiteral("F%1").arg(keyCode - 111);
    switch (keyCode) {
    case 32: return QStringLiteral("Space");
    case 33: return QStringLiteral("Page Up");
    case 34: return QStringLiteral("Page Down");
    case 35: return QStringLiteral("End");
    case 36: return QStringLiteral("Home");
    case 37: return QStringLiteral("←");
    case 39: return QStringLiteral("→");
    case 45: return QStringLiteral("Insert");
    case 46: return QStringLiteral("Delete");
    case 107: return QStringLiteral("+");
    case 109: return QStringLiteral("-");
    case 111: return QStringLiteral("/");
    case 186: return QStringLiteral(";");
    case 187: return QStringLiteral("=");
    case 188: return QStringLiteral(",");
    case 189: return QStringLiteral("-");
    case 191: return QStringLiteral("/");
    case 192: return QStringLiteral("`");
    case 219: return QStringLiteral("[");
    case 220: return QStringLiteral("\\");
    case 221: return QStringLiteral("]");
    case 222: return QStringLiteral("'");
    default: return QString();
    }
}

QString GetHotKeyName(const QSqlDatabase &db, const QString &functionName)
{
    const QString code = QueryScalar(
        db, QStringLiteral("select gn_jz from jxc_gnb where gn_name = ? order by id limit 1"), {functionName});
    bool ok = false;
    const int key = code.toInt(&ok);
    return ok ? KeyCodeName(key) : QString();
}

bool EnsureZone(const QSqlDatabase &db, const QString &name)
{
    if (name.isEmpty())
        return false;
    Transaction tx(db);
    if (!QueryScalar(db, QStringLiteral("select count(*) from jxc_zone where z_name = ?"), {name})
             .startsWith(QLatin1Char('0')))
        return false;
    const QString sn = GetNewSn(db, QStringLiteral("jxc_zone"), QStringLiteral("z_sn"));
    RunSql(db, QStringLiteral("insert into jxc_zone (z_sn, z_name, z_jm, z_default) values (?, ?, ?, 0)"),
           {sn, name, CutToColumn(QStringLiteral("jxc_zone"), QStringLiteral("z_jm"), GetPY(name))});
    tx.commit();
    return true;
}
