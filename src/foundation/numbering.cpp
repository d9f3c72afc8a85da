#include "foundation/numbering.h"

#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/schema/catalog.h"

#include <QDate>
#include <QRegularExpression>
#include <QVariant>

#include <cmath>
#include <stdexcept>

namespace {

void requireCatalogued(const QString &table, const QString &column)
{
    if (column.isEmpty() || !schema::Catalog::instance().knows(table, column))
        throw std::invalid_argument(
            QStringLiteral("unknown table or column: %1.%2").arg(table, column).toStdString());
}

// Largest value, as a number, of the digits-only expression `expr` over the rows of `table`
// that `where` selects; -1 when there is none.
qint64 largestNumber(const QSqlDatabase &db, const QString &table, const QString &expr,
                     const QString &where, const QVariantList &binds)
{
    const Dialect dialect = Dialect::of(db);
    QString sql = QStringLiteral("select max(%1) from %2 where %3")
                      .arg(dialect.castNumber(expr), table, dialect.digitsOnlySql(expr));
    if (!where.isEmpty())
        sql += QStringLiteral(" and ") + where;
    const QString text = QueryScalar(db, sql, binds);
    if (text.isEmpty())
        return -1;
    return static_cast<qint64>(std::llround(TextToNumber(text)));
}

QString nextCode(const QSqlDatabase &db, const QString &table, const QString &column)
{
    const qint64 largest = largestNumber(db, table, column, QString(), {});
    if (largest < 0)
        return QStringLiteral("100001");
    return QString::number(largest + 1);
}

// Largest serial (characters 9 on) among the numbers of `stem` in table.column.
qint64 largestSerial(const QSqlDatabase &db, const QString &table, const QString &column,
                     const QString &stem)
{
    return largestNumber(db, table, QStringLiteral("substr(%1, 9)").arg(column),
                         QStringLiteral("%1 like ? and length(%1) >= 13").arg(column),
                         {stem + QLatin1Char('%')});
}

const QRegularExpression &prefixPattern()
{
    static const QRegularExpression re(QStringLiteral("^[A-Z]{2}$"));
    return re;
}

} // namespace

const std::vector<DocNumberPrefix> &DocNumberPrefixes()
{
    static const std::vector<DocNumberPrefix> prefixes = {
        {"BS", "商品报损单", "jxc_bsd", "jxc_bssp"},
        {"BY", "商品报溢单", "jxc_byd", "jxc_bysp"},
        {"CD", "采购订单", "jxc_cgd", "jxc_cgsp"},
        {"CF", "商品拆分单", "jxc_cfd", "jxc_cfsp"},
        {"CJ", "采购进货单", "jxc_jhd", "jxc_jhsp"},
        {"CK", "POS出款", "jxc_crk", nullptr},
        {"CT", "采购退货单", "jxc_thd", "jxc_thsp"},
        {"DB", "库存调拨单", "jxc_kcdbd", "jxc_dbsp"},
        {"DH", "积分兑换礼品", "jxc_dhd", "jxc_dhzp"},
        {"FK", "供货商付款", "jxc_ysyfk_dj", nullptr},
        {"FY", "费用支出", "jxc_yyfy", nullptr},
        {"JG", "生产加工单", "jxc_scjgd", nullptr},
        {"JH", "客户借货单", "jxc_khjh", nullptr},
        {"JR", "加工入库单", "jxc_jgrkd", nullptr},
        {"KB", "商品捆绑单", "jxc_kbd", nullptr},
        {"LT", "部门退料单", "jxc_bmlyd", "jxc_bmlysp"},
        {"LY", "部门领用单", "jxc_bmlyd", "jxc_bmlysp"},
        {"PD", "库存盘点单", "jxc_kcpd", "jxc_kcpdsp"},
        {"RK", "POS入款", "jxc_crk", nullptr},
        {"SC", "生产入库单", "jxc_scrkd", "jxc_scrksp"},
        {"SK", "客户收款", "jxc_ysyfk_dj", nullptr},
        {"SM", "会员短信", "jxc_sms", "jxc_smshy"},
        {"SR", "其他收入", "jxc_yyfy", nullptr},
        {"ST", "生产退库单", "jxc_scrkd", "jxc_scrksp"},
        {"WF", "委外加工单", "jxc_wfjgd", nullptr},
        {"WS", "委外加工收货单", "jxc_wfshd", nullptr},
        {"WT", "委外加工调整单", "jxc_wftzd", nullptr},
        {"XC", "现金银行支出", "jxc_xjyh", nullptr},
        {"XD", "销售订单", "jxc_xsd", "jxc_xssp"},
        {"XF", "会员充值消费", "jxc_hyxf", nullptr},
        {"XH", "商品换货单", "jxc_xshhd", "jxc_xshhsp"},
        {"XJ", "现金银行收入", "jxc_xjyh", nullptr},
        {"XS", "商品销售单", "jxc_lsxsd", "jxc_lsxssp"},
        {"XT", "销售退货单", "jxc_xsthd", "jxc_xsthsp"},
        {"XZ", "现金银行转账", "jxc_xjyh", nullptr},
        {"YF", "应付款登记", "jxc_ysyfk_dj", nullptr},
        {"YS", "应收款登记", "jxc_ysyfk_dj", nullptr},
        {"ZS", "客户赠送单", "jxc_zsd", nullptr},
    };
    return prefixes;
}

QString GetNewSn(const QSqlDatabase &db, const QString &table, const QString &column)
{
    requireCatalogued(table, column);
    return nextCode(db, table, column);
}

QString GetNewSnZT(const QSqlDatabase &registerDb, const QString &table, const QString &column)
{
    // The register is not part of an account set's catalogue; only its own table is accepted,
    // and the column must be one it has.
    if (table != QLatin1String("jxc_xtzt") || column.isEmpty()
        || !ColumnExists(registerDb, table, column))
        throw std::invalid_argument(
            QStringLiteral("unknown register column: %1.%2").arg(table, column).toStdString());
    return nextCode(registerDb, table, column);
}

QString GetNewDjh(const QSqlDatabase &db, const Clock &clock, const QString &table,
                  const QString &column, const QString &prefix)
{
    return GetNewDjhByDate(db, table, column, prefix, clock.todayText());
}

QString GetNewDjhByDate(const QSqlDatabase &db, const QString &table, const QString &column,
                        const QString &prefix, const QString &dateText)
{
    requireCatalogued(table, column);
    if (!prefixPattern().match(prefix).hasMatch())
        throw std::invalid_argument("bad document prefix: " + prefix.toStdString());
    const QDate date = QDate::fromString(dateText.left(10), QLatin1String(kDateFormat));
    if (!date.isValid())
        throw std::invalid_argument(
            QStringLiteral("'%1' is not a valid date").arg(dateText).toStdString());

    const QString stem = prefix + date.toString(QStringLiteral("yyMMdd"));
    qint64 serial = largestSerial(db, table, column, stem);
    auto consider = [&](const char *other) {
        serial = std::max(serial, largestSerial(db, QString::fromLatin1(other),
                                                QStringLiteral("gl_djh"), stem));
    };
    if (prefix == QLatin1String("XS")) {
        consider("jxc_posxssp");
        consider("jxc_lsxssptemp");
    } else if (prefix == QLatin1String("YF") || prefix == QLatin1String("FK")
               || prefix == QLatin1String("YS") || prefix == QLatin1String("SK")) {
        consider("jxc_ysyfk_dj");
    }
    if (serial < 0)
        return stem + QStringLiteral("10001");
    return stem + QString::number(std::max<qint64>(serial, 10000) + 1);
}

bool DjhUsedByOther(const QSqlDatabase &db, const LoginState &state, const QString &table,
                    const QString &column, const QString &number)
{
    requireCatalogued(table, column);
    const bool hasOperator = schema::Catalog::instance().knows(table, QStringLiteral("a_name"));
    const QString select = hasOperator ? QStringLiteral("a_name") : column;
    QSqlQuery rows = OpenSelect(db, QStringLiteral("select %1 from %2 where %3 = ?").arg(select, table, column),
                                {number});
    bool any = false;
    bool mine = false;
    bool others = false;
    while (rows.next()) {
        any = true;
        if (hasOperator && ValueText(rows.value(0)) == state.CurrentOperatorName)
            mine = true;
        else
            others = true;
    }
    if (any && (others || !mine))
        return true;
    if (!number.startsWith(QLatin1String("XS")))
        return false;
    for (const char *staging : {"jxc_lsxssptemp", "jxc_posxssp"}) {
        if (!QueryScalar(db,
                         QStringLiteral("select gl_djh from %1 where gl_djh = ? limit 1")
                             .arg(QString::fromLatin1(staging)),
                         {number})
                 .isEmpty())
            return true;
    }
    return false;
}

QString GetFirstId(const QSqlDatabase &db, const QString &table, const QString &column,
                   const QVariant &value)
{
    requireCatalogued(table, column);
    return QueryScalar(db, QStringLiteral("select id from %1 where %2 = ? order by id limit 1").arg(table, column),
                       {value});
}

bool FieldValueExists(const QSqlDatabase &db, const QString &table, const QString &column,
                      const QVariant &value)
{
    return !GetFirstId(db, table, column, value).isEmpty();
}
