#include "masterdata/goodslistquery.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"

#include <QStringList>

namespace {

// (a.f1 like ? or a.f2 like ? …) with the contains pattern bound once per column.
QString searchCondition(const Dialect &d, const QString &qualifier, const QStringList &fields,
                        const QString &text, QVariantList &binds)
{
    QStringList parts;
    const QString pattern = Dialect::containsPattern(text);
    for (const QString &f : fields) {
        parts << d.likeClause(qualifier + f);
        binds << pattern;
    }
    return QStringLiteral("(") + parts.join(QStringLiteral(" or ")) + QStringLiteral(")");
}

}  // namespace

QStringList GoodsSearchFields()
{
    return {QStringLiteral("g_sn"),   QStringLiteral("g_name"),  QStringLiteral("g_jm"),
            QStringLiteral("g_sptm"), QStringLiteral("gg_name"), QStringLiteral("color_name")};
}

ListStatement GoodsListStatement(const QSqlDatabase &db, const LoginState &state,
                                 const GoodsListOptions &options, const QString &order)
{
    const Dialect d = Dialect::of(db);
    ListStatement s;
    s.body = QStringLiteral("select a.*, b.gc_name, ")
             + d.roundSql(QStringLiteral("(a.g_kc*1.0)/NULLIF(a.g_zhxs,0)"), state.QtyDecimals)
             + QStringLiteral(" as fzkc from jxc_goods a, jxc_goodsclass b where a.gc_sn = b.gc_sn");
    if (!options.showDisabled)
        s.body += QStringLiteral(" and a.g_jy = 0 and a.g_sn <> '00000000'");
    const QString t = StripControls(options.search).trimmed().toUpper();
    if (!t.isEmpty())
        s.body += QStringLiteral(" and ") + searchCondition(d, QStringLiteral("a."), GoodsSearchFields(), t, s.binds);
    if (options.byClass && !options.classCode.isEmpty()) {
        s.body += QStringLiteral(" and ") + d.likeClause(QStringLiteral("a.gc_sn"));
        s.binds << Dialect::startsWithPattern(options.classCode);
    }
    s.order = order.isEmpty() ? QStringLiteral("a.g_sn") : order;
    return s;
}

QString GoodsListOrder(const QString &field, bool descending)
{
    const QString dir = descending ? QStringLiteral(" desc") : QString();
    if (field.isEmpty())
        return QStringLiteral("a.g_sn");
    if (field == QLatin1String("fzkc"))
        return QStringLiteral("(a.g_kc*1.0)/NULLIF(a.g_zhxs,0)") + dir;
    if (field == QLatin1String("gc_name"))
        return QStringLiteral("b.gc_name") + dir;
    return QStringLiteral("a.") + field + dir;
}

QString GoodsStockTotal(const QSqlDatabase &db, const QString &search, const QString &classCode)
{
    const Dialect d = Dialect::of(db);
    QVariantList binds;
    QString sql = QStringLiteral("select sum(g_kc) from jxc_goods where g_jy = 0");
    const QString t = StripControls(search).trimmed().toUpper();
    if (!t.isEmpty())
        sql += QStringLiteral(" and ") + searchCondition(d, QString(), GoodsSearchFields(), t, binds);
    if (!classCode.isEmpty()) {
        sql += QStringLiteral(" and ") + d.likeClause(QStringLiteral("gc_sn"));
        binds << Dialect::startsWithPattern(classCode);
    }
    const QString total = QueryScalar(db, sql, binds);
    return total.isEmpty() ? QStringLiteral("0") : total;
}

ListStatement SelectedLabelStatement(const LoginState &state, const QList<qint64> &ids)
{
    ListStatement s;
    QStringList marks;
    for (qint64 id : ids) {
        marks << QStringLiteral("?");
        s.binds << id;
    }
    if (marks.isEmpty()) {
        marks << QStringLiteral("?");
        s.binds << 0;
    }
    s.body = QStringLiteral("select a.*, b.gc_name, ? as company from jxc_goods a, jxc_goodsclass b "
                            "where a.gc_sn = b.gc_sn and a.id in (")
             + marks.join(QLatin1Char(',')) + QStringLiteral(")");
    s.binds.prepend(state.CompanyShortName);
    s.order = QStringLiteral("a.g_sn");
    return s;
}

ListStatement AllLabelStatement(const QSqlDatabase &db, const LoginState &state, const QString &search,
                                const QString &classCode, bool showDisabled)
{
    const Dialect d = Dialect::of(db);
    ListStatement s;
    s.binds << state.CompanyShortName;
    s.body = QStringLiteral("select a.*, b.gc_name, ? as company from jxc_goods a, jxc_goodsclass b "
                            "where a.gc_sn = b.gc_sn and a.g_sn <> '00000000'");
    const QString t = StripControls(search).trimmed();
    if (!t.isEmpty())
        s.body += QStringLiteral(" and ")
                  + searchCondition(d, QStringLiteral("a."),
                                    {QStringLiteral("g_name"), QStringLiteral("g_sn"), QStringLiteral("g_jm"),
                                     QStringLiteral("gg_name")},
                                    t, s.binds);
    // The class alone, not its sub-classes, and only without a search text.
    if (!classCode.isEmpty() && t.isEmpty()) {
        s.body += QStringLiteral(" and a.gc_sn = ?");
        s.binds << classCode;
    }
    if (!showDisabled)
        s.body += QStringLiteral(" and a.g_jy = 0");
    s.order = QStringLiteral("a.g_sn");
    return s;
}
