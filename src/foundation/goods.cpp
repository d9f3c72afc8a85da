#include "foundation/goods.h"

#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/pinyin.h"
#include "foundation/sqlnames.h"

#include <stdexcept>

namespace {

const QString kReservedGoods = QStringLiteral("00000000");

// The first text past every text that starts with `prefix` (codes compare byte-wise: SQLite's
// binary order, the C collation of PostgreSQL), so that "g_sn >= p and g_sn < next" finds
// the codes starting with p through an index.
QString goodsPrefixEnd(const QString &prefix)
{
    QString end = prefix;
    if (end.isEmpty())
        return QString(QChar(char16_t(0xFFFF)));
    end[end.size() - 1] = QChar(char16_t(end.at(end.size() - 1).unicode() + 1));
    return end;
}

bool goodsAllDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (const QChar c : text)
        if (c.unicode() < '0' || c.unicode() > '9')
            return false;
    return true;
}

// The largest numeric code of `length` characters starting with `prefix`.
QString goodsMaxCode(const QSqlDatabase &db, const QString &prefix, int length)
{
    const Dialect d = Dialect::of(db);
    // The largest text is the largest number among codes of one length; walking the code
    // index downwards stops at the first that qualifies.
    return QueryScalar(db,
                       QStringLiteral("select g_sn from jxc_goods where g_sn >= ? and g_sn < ? "
                                      "and length(g_sn) = ? and ")
                           + d.digitsOnlySql(QStringLiteral("g_sn")) + QStringLiteral(" order by g_sn desc limit 1"),
                       {prefix, goodsPrefixEnd(prefix), length});
}

// first(q): the first seven characters of q × 1000000 followed by "1".
QString goodsFirstCode(const QString &prefix)
{
    bool ok = false;
    const qint64 q = prefix.toLongLong(&ok);
    if (!ok || !goodsAllDigits(prefix) || q > Q_INT64_C(9000000000000))
        throw std::invalid_argument(("商品类别编号不是数字：" + prefix).toStdString());
    return QString::number(q * 1000000).left(7) + QLatin1Char('1');
}

// m + 1 for a code of digits; false when m is not one.
bool goodsIncrement(const QString &m, QString &next)
{
    bool ok = false;
    const qint64 v = m.toLongLong(&ok);
    if (!ok || !goodsAllDigits(m) || v >= Q_INT64_C(999999999999999999))
        return false;
    next = QString::number(v + 1);
    return true;
}

} // namespace

QString GetNewGoodsClassSn(const QSqlDatabase &db, const QString &classKey)
{
    bool ok = false;
    const qint64 key = classKey.trimmed().toLongLong(&ok);
    if (!ok)
        return QString();
    const QString pid = QueryScalar(db, QStringLiteral("select gc_pid from jxc_goodsclass where gc_key = ?"), {key});
    if (pid.isEmpty())
        return QString();
    const Dialect d = Dialect::of(db);
    if (pid == QLatin1String("1")) {
        const QString m = QueryScalar(
            db, QStringLiteral("select max(gc_sn) from jxc_goodsclass where length(gc_sn) = 4 and ")
                    + d.digitsOnlySql(QStringLiteral("gc_sn")));
        if (m.isEmpty())
            return QStringLiteral("1000");
        const int next = m.toInt() + 1;
        return next > 9999 ? QString() : QString::number(next);
    }
    const qint64 parentKey = pid.toLongLong(&ok);
    if (!ok)
        return QString();
    const QString psn = QueryScalar(db, QStringLiteral("select gc_sn from jxc_goodsclass where gc_key = ?"),
                                    {parentKey});
    if (psn.isEmpty())
        return QString();
    const QString m = QueryScalar(
        db, QStringLiteral("select max(gc_sn) from jxc_goodsclass where substr(gc_sn, 1, ?) = ? "
                           "and length(gc_sn) = ? and ")
                + d.digitsOnlySql(QStringLiteral("gc_sn")),
        {int(psn.size()), psn, int(psn.size()) + 3});
    if (m.isEmpty())
        return psn + QStringLiteral("100");
    const int tail = m.right(3).toInt() + 1;
    if (tail > 999)
        return QString();
    return m.left(m.size() - 3) + QStringLiteral("%1").arg(tail, 3, 10, QLatin1Char('0'));
}

QString GetNewGoodsSn(const QSqlDatabase &db, const QString &prefix)
{
    QString p = prefix;
    if (p.size() == 1)
        p += QStringLiteral("00");
    if (p.size() == 2)
        p += QLatin1Char('0');
    const QString firstOfP = goodsFirstCode(p);  // raises for a prefix that is no number

    const Dialect d = Dialect::of(db);
    // The numeric code under p added last. The code added last is nearly always numeric, so
    // the quick look (the inner maximum reads the code index alone) usually settles it.
    QString newest = QueryScalar(
        db,
        QStringLiteral("select g_sn from jxc_goods where id = (select max(id) from jxc_goods "
                       "where g_sn >= ? and g_sn < ?)"),
        {p, goodsPrefixEnd(p)});
    if (!newest.isEmpty() && !goodsAllDigits(newest))
        newest = QueryScalar(
            db,
            QStringLiteral("select g_sn from jxc_goods where id = (select max(id) from jxc_goods "
                           "where g_sn >= ? and g_sn < ? and ")
                + d.digitsOnlySql(QStringLiteral("g_sn")) + QStringLiteral(")"),
            {p, goodsPrefixEnd(p)});

    if (newest.isEmpty()) {
        const QString m = goodsMaxCode(db, p, 8);
        QString next;
        if (!m.isEmpty())
            return goodsIncrement(m, next) ? next : firstOfP;
        return (p + QStringLiteral("000000000")).left(9).left(7) + QLatin1Char('1');
    }

    const int length = qMin(int(newest.size()), 8);
    const QString m = goodsMaxCode(db, p, length);
    QString next;
    if (m.isEmpty() || !goodsIncrement(m, next))
        return firstOfP;
    if (m.toLongLong() == 0)
        return firstOfP;
    if (next.startsWith(p))
        return next;
    // The serials under p ran out: go on under the next prefix.
    const QString p2 = next.left(p.size());
    const QString m2 = goodsMaxCode(db, p2, 8);
    if (m2.isEmpty())
        return goodsFirstCode(p2);
    QString next2;
    return goodsIncrement(m2, next2) ? next2 : goodsFirstCode(p2);
}

QString PostGoodsClass(const QSqlDatabase &db, qint64 classRowId)
{
    QSqlQuery row = OpenSelect(db, QStringLiteral("select gc_key, gc_name from jxc_goodsclass where id = ?"),
                               {classRowId});
    if (!row.next())
        return QString();
    const QString key = ValueText(row.value(0));
    const QString name = row.value(1).toString();
    row.finish();
    const QString code = GetNewGoodsClassSn(db, key);
    if (code.isEmpty())
        return QString();
    const QString shortCode = CutToColumn(QStringLiteral("jxc_goodsclass"), QStringLiteral("gc_jm"), GetPY(name));
    RunSql(db, QStringLiteral("update jxc_goodsclass set gc_jm = ?, gc_sn = ?, gc_cid = gc_key where id = ?"),
           {shortCode, code, classRowId});
    return code;
}

void RenameGoodsClass(const QSqlDatabase &db, qint64 classRowId, const QString &name)
{
    const QString shortCode = CutToColumn(QStringLiteral("jxc_goodsclass"), QStringLiteral("gc_jm"), GetPY(name));
    RunSql(db, QStringLiteral("update jxc_goodsclass set gc_name = ?, gc_jm = ? where id = ?"),
           {name, shortCode, classRowId});
}

QString GetImportFieldId(const QSqlDatabase &db, const QString &caption, const QString &table)
{
    return QueryScalar(db,
                       QStringLiteral("select i_fieldid from jxc_import where i_tablename = ? "
                                      "and i_fieldname = ? order by id limit 1"),
                       {table, caption});
}

QStringList FillGoodsUnits(const QSqlDatabase &db, const LoginState &state, const QString &goodsSn)
{
    QStringList units;
    const auto add = [&units](const QString &unit) {
        if (!unit.isEmpty() && !units.contains(unit))
            units << unit;
    };
    QSqlQuery base = OpenSelect(db, QStringLiteral("select dw_name from jxc_goods where g_sn = ? order by id"),
                                {goodsSn});
    while (base.next())
        add(base.value(0).toString());
    if (IsTrue(state.UseAuxUnits)) {
        QSqlQuery aux = OpenSelect(db, QStringLiteral("select dw_name from jxc_goodsdw where g_sn = ? order by id"),
                                   {goodsSn});
        while (aux.next())
            add(aux.value(0).toString());
    }
    return units;
}

double GetUnitFactor(const QSqlDatabase &db, const QString &goodsSn, const QString &unit)
{
    const QString factor = QueryScalar(
        db, QStringLiteral("select g_zhxs from jxc_goodsdw where g_sn = ? and dw_name = ? order by id limit 1"),
        {goodsSn, unit});
    return factor.isEmpty() ? 1.0 : TextToNumber(factor);
}

QString GetUnitBarcode(const QSqlDatabase &db, const LoginState &state, const QString &goodsSn,
                       const QString &unit)
{
    const QString goodsCode = QueryScalar(
        db, QStringLiteral("select g_sptm from jxc_goods where g_sn = ? order by id limit 1"), {goodsSn});
    if (!IsTrue(state.UseAuxUnits))
        return goodsCode;
    const QString unitCode = QueryScalar(
        db, QStringLiteral("select g_sptm from jxc_goodsdw where g_sn = ? and dw_name = ? order by id limit 1"),
        {goodsSn, unit});
    if (!unitCode.isEmpty())
        return unitCode;
    if (!goodsCode.isEmpty())
        return goodsCode;
    return QueryScalar(db, QStringLiteral("select g_sptm from jxc_goodstm where g_sn = ? order by id limit 1"),
                       {goodsSn});
}

void SetGoodsAuxUnit(const QSqlDatabase &db, const QString &goodsSn)
{
    QSqlQuery first = OpenSelect(db,
                                 QStringLiteral("select g_zhxs, dw_name from jxc_goodsdw where g_zhxs > 0 "
                                                "and g_sn = ? order by id limit 1"),
                                 {goodsSn});
    if (first.next()) {
        const QString factor = ValueText(first.value(0));
        const QString unit = first.value(1).toString();
        first.finish();
        RunSql(db, QStringLiteral("update jxc_goods set g_zhxs = ?, dw_name2 = ? where g_sn = ?"),
               {factor.isEmpty() ? 1.0 : TextToNumber(factor), unit, goodsSn});
        return;
    }
    first.finish();
    RunSql(db, QStringLiteral("update jxc_goods set dw_name2 = dw_name, g_zhxs = 1 where g_sn = ?"), {goodsSn});
}

QString GetStockQty(const QSqlDatabase &db, const QString &warehouseSn, const QString &goodsSn)
{
    const QString qty = QueryScalar(
        db, QStringLiteral("select kc_sl from jxc_kcsp where g_sn = ? and ck_sn = ? order by id limit 1"),
        {goodsSn, warehouseSn});
    return qty.isEmpty() ? QStringLiteral("0") : qty;
}

void ResetStockFromOpening(const QSqlDatabase &db, const QString &goodsSn, const QString &warehouseSn)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_kcsp where g_sn = ? and ck_sn = ?"), {goodsSn, warehouseSn});
    RunSql(db,
           QStringLiteral("insert into jxc_kcsp (kc_sl, kc_cbj, kc_xssl, ck_sn, g_sn, kc_zsl, kc_zcb) "
                          "select gl_sl, gl_dj, 0, ck_sn, g_sn, gl_sl, gl_zje from jxc_goodslist "
                          "where gl_flag = 'qc' and g_sn = ? and ck_sn = ? order by id limit 1"),
           {goodsSn, warehouseSn});
    tx.commit();
}

void ExpirePromotions(const QSqlDatabase &db, const Clock &clock)
{
    RunSql(db,
           QStringLiteral("update jxc_goods set g_tjsp = 0, g_tjqx = 0, g_ks = null, g_js = null "
                          "where g_tjsp <> 0 and g_tjqx <> 0 and g_js < ?"),
           {clock.todayText()});
}

void EnsureZeroGoodsStock(const QSqlDatabase &db, const QString &month)
{
    Q_UNUSED(month);
    RunSql(db,
           QStringLiteral("insert into jxc_kcsp (kc_sl, kc_cbj, kc_xssl, ck_sn, g_sn, kc_zsl) "
                          "select 0, 0, 0, c.ck_sn, ?, 0 from jxc_ckxx c where c.ck_sn is not null "
                          "and not exists (select 1 from jxc_kcsp k where k.g_sn = ? and k.ck_sn = c.ck_sn) "
                          "and c.id = (select min(c2.id) from jxc_ckxx c2 where c2.ck_sn = c.ck_sn)"),
           {kReservedGoods, kReservedGoods});
}

void ClearOperatorTemp(const QSqlDatabase &db, const QString &operatorName)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_tempspxf where a_name = ?"), {operatorName});
    RunSql(db, QStringLiteral("delete from jxc_tempspxf2 where a_name = ?"), {operatorName});
    tx.commit();
}

int PosNth(const QString &pattern, const QString &text, int n)
{
    if (pattern.isEmpty())
        return 0;
    int sum = 0;
    QString rest = text;
    while (n > 0) {
        const qsizetype a = rest.indexOf(pattern, 0, Qt::CaseSensitive) + 1;
        if (a == 0)
            break;
        rest = rest.mid(a);
        sum += int(a);
        --n;
    }
    return sum;
}
