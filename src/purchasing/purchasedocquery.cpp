#include "purchasing/purchasedocquery.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"
#include "purchasing/purchaselistqueries.h"

namespace {

QString PeriodEnd(const QString &to)
{
    return to + QStringLiteral(" 23:59:00");
}

// The numbers of the audited documents still owing.
const char *kOwingNumbers =
    "select gl_djh from jxc_jhd where j_status = 1 "
    "and coalesce(j_yfje, 0) - coalesce(j_sfje, 0) - coalesce(j_yhje, 0) - coalesce(j_hkje, 0) > 0 "
    "union all select gl_djh from jxc_thd where th_status = 1 "
    "and coalesce(th_yfje, 0) - coalesce(th_sfje, 0) - coalesce(th_hkje, 0) > 0";

} // namespace

void ApplyDocSearch(DocQueryCriteria &c, const DocSearchCriteria &s)
{
    c.from = s.from;
    c.to = s.to;
    c.key = s.supplier.trimmed();
    c.warehouse = s.warehouse == QLatin1String("-1") ? QString() : s.warehouse;
    c.operatorName = s.operatorText == QStringLiteral("所有操作员") ? QString() : s.operatorText;
    c.classCode = s.classCode;
}

ListStatement PurchaseDocQuery::documents(const DocQueryCriteria &c) const
{
    ListStatement st;
    const bool bound = m_state.BindOperatorWarehouse == QLatin1String("1") && !m_state.isAdministrator();
    const auto branch = [&](bool receipt) {
        QString sql = receipt
            ? QStringLiteral(
                  "select a.gl_djh as djh, a.ghs_sn, a.ck_sn, a.j_jhrq as rq, a.j_yfje as yfje, a.j_sfje as sfje, "
                  "coalesce(a.j_yfje, 0) - coalesce(a.j_sfje, 0) - coalesce(a.j_yhje, 0) - coalesce(a.j_hkje, 0) as wfje, "
                  "a.j_yhje as yhje, '采购进货' as gtype, a.u_sn, a.j_note as dnote, a.a_name, a.gl_djh2, a.j_th, "
                  "b.ghs_name, b.ghs_jm, c.u_name, d.ck_name, '1' as dsort, a.ht_sn, a.j_checker as checker, "
                  "a.j_chkrq as chkrq, a.j_hkje as hkje, a.j_yf, a.j_bzf, a.j_yffs from jxc_jhd a "
                  "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_user c on c.u_sn = a.u_sn "
                  "left join jxc_ckxx d on d.ck_sn = a.ck_sn where a.j_status = 1")
            : QStringLiteral(
                  "select a.gl_djh as djh, a.ghs_sn, a.ck_sn, a.th_thrq as rq, a.th_yfje as yfje, a.th_sfje as sfje, "
                  "coalesce(a.th_yfje, 0) - coalesce(a.th_sfje, 0) - coalesce(a.th_hkje, 0) as wfje, "
                  "0 as yhje, '采购退货' as gtype, a.u_sn, a.th_note as dnote, a.a_name, '' as gl_djh2, "
                  "cast(null as integer) as j_th, b.ghs_name, b.ghs_jm, c.u_name, d.ck_name, '2' as dsort, "
                  "'' as ht_sn, a.th_checker as checker, a.th_chkrq as chkrq, a.th_hkje as hkje, 0 as j_yf, "
                  "0 as j_bzf, '' as j_yffs from jxc_thd a "
                  "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_user c on c.u_sn = a.u_sn "
                  "left join jxc_ckxx d on d.ck_sn = a.ck_sn where a.th_status = 1");
        if (bound)
            sql += QStringLiteral(" and ") + WarehouseBindingCondition(m_db, m_state, QStringLiteral("a.ck_sn"), st.binds);
        return sql;
    };
    QStringList branches;
    if (c.type != DocQueryType::Returns)
        branches << branch(true);
    if (c.type != DocQueryType::Receipts)
        branches << branch(false);
    const QString date = c.byCheckDate ? QStringLiteral("t.chkrq") : QStringLiteral("t.rq");
    st.body = QStringLiteral("select * from (") + branches.join(QStringLiteral(" union all "))
              + QStringLiteral(") t where %1 >= ? and %1 <= ?").arg(date);
    st.binds << c.from << PeriodEnd(c.to);
    st.body += ContainsAnyCondition(m_db,
                           {QStringLiteral("t.ghs_sn"), QStringLiteral("t.ghs_name"), QStringLiteral("t.ghs_jm"),
                            QStringLiteral("t.djh"), QStringLiteral("t.gl_djh2"), QStringLiteral("t.dnote")},
                           SafeText(c.key.trimmed()), st.binds);
    if (c.type == DocQueryType::Owing)
        st.body += QStringLiteral(" and t.wfje > 0");
    if (!c.warehouse.isEmpty()) {
        st.body += QStringLiteral(" and t.ck_sn = ?");
        st.binds << c.warehouse;
    }
    if (!c.operatorName.isEmpty()) {
        st.body += QStringLiteral(" and t.a_name = ?");
        st.binds << c.operatorName;
    }
    st.order = c.descending ? QStringLiteral("%1 desc, t.dsort, t.djh desc").arg(date)
                            : QStringLiteral("%1, t.dsort, t.djh").arg(date);
    return st;
}

QString PurchaseDocQuery::ledgerFilter(const DocQueryCriteria &c, QVariantList &binds) const
{
    QString sql;
    switch (c.type) {
    case DocQueryType::Receipts:
        sql += QStringLiteral(" and l.gl_flag = 'cj'");
        break;
    case DocQueryType::Returns:
        sql += QStringLiteral(" and l.gl_flag = 'ct'");
        break;
    case DocQueryType::Owing:
        sql += QStringLiteral(" and l.gl_flag in ('cj', 'ct') and l.gl_djh in (%1)").arg(QString::fromLatin1(kOwingNumbers));
        break;
    case DocQueryType::All:
        sql += QStringLiteral(" and l.gl_flag in ('cj', 'ct')");
        break;
    }
    const QString date = c.byCheckDate ? QStringLiteral("l.gl_chkrq") : QStringLiteral("l.gl_kdrq");
    sql += QStringLiteral(" and %1 >= ? and %1 <= ?").arg(date);
    binds << c.from << PeriodEnd(c.to);
    sql += ContainsAnyCondition(m_db,
                       {QStringLiteral("l.gl_djh"), QStringLiteral("l.ghs_name"), QStringLiteral("b.ghs_jm"),
                        QStringLiteral("l.ghs_sn"), QStringLiteral("l.gl_note")},
                       SafeText(c.key.trimmed()), binds);
    if (m_state.BindOperatorWarehouse == QLatin1String("1") && !m_state.isAdministrator())
        sql += QStringLiteral(" and ") + WarehouseBindingCondition(m_db, m_state, QStringLiteral("l.ck_sn"), binds);
    if (!c.warehouse.isEmpty()) {
        sql += QStringLiteral(" and l.ck_sn = ?");
        binds << c.warehouse;
    }
    if (!c.operatorName.isEmpty()) {
        sql += QStringLiteral(" and l.a_name = ?");
        binds << c.operatorName;
    }
    if (!c.classCode.isEmpty()) {
        sql += QStringLiteral(" and ") + Dialect::of(m_db).likeClause(QStringLiteral("g.gc_sn"));
        binds << Dialect::startsWithPattern(c.classCode);
    }
    return sql;
}

QString PurchaseDocQuery::ledgerOrder(const DocQueryCriteria &c) const
{
    const QString date = c.byCheckDate ? QStringLiteral("l.gl_chkrq") : QStringLiteral("l.gl_kdrq");
    return c.descending ? QStringLiteral("%1 desc, l.gl_flag, l.gl_djh desc, l.id desc").arg(date)
                        : QStringLiteral("%1, l.gl_flag, l.gl_djh, l.id").arg(date);
}

ListStatement PurchaseDocQuery::summary(const DocQueryCriteria &c) const
{
    ListStatement st;
    const QString inner = QStringLiteral("select l.g_sn, coalesce(sum(l.gl_sl), 0) as sl, coalesce(sum(l.gl_je), 0) as je, "
                                         "coalesce(sum(l.gl_taxje), 0) as taxje, coalesce(sum(l.gl_zje), 0) as zje "
                                         "from jxc_goodslist l left join jxc_goods g on g.g_sn = l.g_sn "
                                         "left join jxc_ghsxx b on b.ghs_sn = l.ghs_sn where 1 = 1")
                          + ledgerFilter(c, st.binds) + QStringLiteral(" group by l.g_sn");
    st.body = QStringLiteral("select g.id, s.g_sn, g.g_name, g.dw_name, g.g_kc, g.gg_name, g.color_name, g.g_sccs, g.g_bz, "
                             "k.gc_name, s.sl, s.je, s.taxje, s.zje from (%1) s left join jxc_goods g on g.g_sn = s.g_sn "
                             "left join jxc_goodsclass k on k.gc_sn = g.gc_sn")
                  .arg(inner);
    st.order = QStringLiteral("g.id, s.g_sn");
    return st;
}

ListStatement PurchaseDocQuery::lines(const DocQueryCriteria &c) const
{
    ListStatement st;
    st.body = QStringLiteral("select l.*, k.gc_name, coalesce(h.j_note, r.th_note) as dnote, h.gl_djh2 as ysdh "
                             "from jxc_goodslist l left join jxc_goods g on g.g_sn = l.g_sn "
                             "left join jxc_goodsclass k on k.gc_sn = g.gc_sn "
                             "left join jxc_ghsxx b on b.ghs_sn = l.ghs_sn "
                             "left join jxc_jhd h on h.gl_djh = l.gl_djh and l.gl_flag = 'cj' "
                             "left join jxc_thd r on r.gl_djh = l.gl_djh and l.gl_flag = 'ct' "
                             "where coalesce(l.gl_djh, '') <> ''")
              + ledgerFilter(c, st.binds);
    st.order = ledgerOrder(c);
    return st;
}

ListStatement PurchaseDocQuery::documentRows(const QString &number) const
{
    return {QStringLiteral("select * from jxc_goodslist where gl_djh = ?"), QStringLiteral("id"), {number}};
}

ListStatement PurchaseDocQuery::goodsRows(const DocQueryCriteria &c, const QString &goods) const
{
    ListStatement st;
    st.body = QStringLiteral("select l.*, k.gc_name from jxc_goodslist l left join jxc_goods g on g.g_sn = l.g_sn "
                             "left join jxc_goodsclass k on k.gc_sn = g.gc_sn "
                             "left join jxc_ghsxx b on b.ghs_sn = l.ghs_sn where l.g_sn = ?");
    st.binds << goods;
    st.body += ledgerFilter(c, st.binds);
    st.order = ledgerOrder(c);
    return st;
}

QString DocPaymentRefusal(const QString &number, double yfje, double sfje, double yhje, double hkje)
{
    const bool receipt = number.startsWith(QLatin1String("CJ"));
    const bool settled = receipt ? sfje + yhje + hkje >= yfje : sfje + hkje <= yfje;
    return settled ? QStringLiteral("该单据不需要付款！") : QString();
}

QString DocWholeReturnRefusal(const QSqlDatabase &db, const QString &number, bool *found)
{
    *found = true;
    if (!number.startsWith(QLatin1String("CJ")))
        return WholeReturnRefusal(db, number);
    if (QueryScalar(db, QStringLiteral("select count(*) from jxc_jhd where gl_djh = ?"), {number}) == QLatin1String("0")) {
        *found = false;
        return QString();
    }
    return WholeReturnRefusal(db, number);
}
