#include "purchasing/purchaselistqueries.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

namespace {

QString PeriodEnd(const QString &to)
{
    return to + QStringLiteral(" 23:59:00");
}

QString Typed(const QString &text)
{
    return SafeText(text.trimmed());
}

} // namespace

void PurchaseListQueries::orderFilters(const PurchaseQueryCriteria &c, ListStatement &st, const QString &header) const
{
    if (c.warehouse != QLatin1String("-1")) {
        st.body += QStringLiteral(" and %1.ck_sn = ?").arg(header);
        st.binds << c.warehouse;
    }
    if (!c.showVoid)
        st.body += QStringLiteral(" and %1.j_qk = 0").arg(header);
}

QString PurchaseListQueries::binding(const QString &column, QVariantList &binds) const
{
    if (m_state.BindOperatorWarehouse != QLatin1String("1") || m_state.isAdministrator())
        return QString();
    return QStringLiteral(" and ") + WarehouseBindingCondition(m_db, m_state, column, binds);
}

ListStatement PurchaseListQueries::documents(const PurchaseQueryCriteria &c) const
{
    if (m_doc.kind == PurchaseKind::Order) {
        ListStatement st;
        st.body = QStringLiteral("select a.*, c.ck_name, d.u_name, b.ghs_name from jxc_cgd a "
                                 "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_ckxx c on c.ck_sn = a.ck_sn "
                                 "left join jxc_user d on d.u_sn = a.u_sn "
                                 "where a.j_status = 1 and a.j_jhrq >= ? and a.j_jhrq <= ?");
        st.binds << c.from << PeriodEnd(c.to);
        orderFilters(c, st, QStringLiteral("a"));
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("a.gl_djh"), QStringLiteral("a.j_note"), QStringLiteral("b.ghs_name"),
                                      QStringLiteral("b.ghs_jm"), QStringLiteral("a.ghs_sn")},
                               Typed(c.key), st.binds);
        st.order = QStringLiteral("a.id desc");
        return st;
    }
    const bool ret = m_doc.kind == PurchaseKind::Return;
    const QString p = m_doc.headerPrefix;
    const QString owed = ret ? QStringLiteral("a.th_yfje - a.th_sfje - a.th_hkje")
                             : QStringLiteral("a.j_yfje - a.j_sfje - a.j_yhje - a.j_hkje");
    ListStatement st;
    st.body = QStringLiteral("select a.*, %1 as wfje, '%2' as gtype,%6 b.ghs_name, b.ghs_jm, c.ck_name, d.u_name "
                             "from %3 a left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn "
                             "left join jxc_ckxx c on c.ck_sn = a.ck_sn left join jxc_user d on d.u_sn = a.u_sn "
                             "where a.%4 = 1 and a.%5 >= ? and a.%5 <= ?")
                  .arg(owed, ret ? QStringLiteral("采购退货") : QStringLiteral("采购进货"), m_doc.type.headerTable,
                       m_doc.statusColumn, m_doc.dateColumn, ret ? QStringLiteral(" 0 as yhje,") : QString());
    st.binds << c.from << PeriodEnd(c.to);
    st.body += binding(QStringLiteral("a.ck_sn"), st.binds);
    st.body += ContainsAnyCondition(m_db, {QStringLiteral("a.ghs_sn"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm")},
                           Typed(c.supplier), st.binds);
    if (ret) {
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("a.gl_djh"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm")},
                               Typed(c.key), st.binds);
        st.order = QStringLiteral("a.gl_djh desc");
        return st;
    }
    st.body += ContainsAnyCondition(m_db, {QStringLiteral("a.gl_djh"), QStringLiteral("a.gl_djh2"), QStringLiteral("a.") + p + QStringLiteral("note")},
                           Typed(c.key), st.binds);
    st.order = QStringLiteral("a.%1 desc, a.gl_djh desc").arg(m_doc.dateColumn);
    return st;
}

ListStatement PurchaseListQueries::summary(const PurchaseQueryCriteria &c) const
{
    ListStatement st;
    QString inner = QStringLiteral("select l.g_sn, coalesce(sum(l.gl_sl), 0) as sl, coalesce(sum(l.gl_je), 0) as je, "
                                   "coalesce(sum(l.gl_taxje), 0) as taxje, coalesce(sum(l.gl_zje), 0) as zje "
                                   "from jxc_goodslist l left join jxc_ghsxx b on b.ghs_sn = l.ghs_sn "
                                   "where l.gl_flag = ? and l.gl_kdrq >= ? and l.gl_kdrq <= ?");
    st.binds << m_doc.ledgerFlag << c.from << PeriodEnd(c.to);
    inner += binding(QStringLiteral("l.ck_sn"), st.binds);
    inner += ContainsAnyCondition(m_db, {QStringLiteral("l.ghs_sn"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm")},
                         Typed(c.supplier), st.binds);
    inner += ContainsAnyCondition(m_db, ret() ? QStringList{QStringLiteral("l.gl_djh"), QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm")}
                                     : QStringList{QStringLiteral("l.g_sn"), QStringLiteral("l.g_name"), QStringLiteral("l.g_jm"),
                                                   QStringLiteral("l.gl_bz")},
                         Typed(c.key), st.binds);
    inner += QStringLiteral(" group by l.g_sn");
    st.body = QStringLiteral("select g.id, s.g_sn, g.g_name, g.dw_name, g.g_kc, g.gg_name, g.color_name, g.g_sccs, g.g_bz, "
                             "k.gc_name, s.sl, s.je, s.taxje, s.zje from (%1) s left join jxc_goods g on g.g_sn = s.g_sn "
                             "left join jxc_goodsclass k on k.gc_sn = g.gc_sn")
                  .arg(inner);
    st.order = QStringLiteral("g.id, s.g_sn");
    return st;
}

ListStatement PurchaseListQueries::details(const PurchaseQueryCriteria &c) const
{
    ListStatement st;
    if (m_doc.kind == PurchaseKind::Order) {
        st.body = QStringLiteral("select a.*, b.ghs_name, c.ck_name, d.u_name, f.j_jhrq, f.j_kmmc, f.j_checker, f.j_chkrq, "
                                 "e.g_name, e.gg_name, e.color_name, e.g_sccs, f.j_note, a.jh_sl - a.jh_rksl as dsl, f.j_qk "
                                 "from jxc_cgsp a join jxc_cgd f on f.gl_djh = a.gl_djh "
                                 "left join jxc_ghsxx b on b.ghs_sn = f.ghs_sn left join jxc_ckxx c on c.ck_sn = f.ck_sn "
                                 "left join jxc_user d on d.u_sn = f.u_sn left join jxc_goods e on e.g_sn = a.g_sn "
                                 "where f.j_status = 1 and f.j_jhrq >= ? and f.j_jhrq <= ?");
        st.binds << c.from << PeriodEnd(c.to);
        orderFilters(c, st, QStringLiteral("f"));
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("a.gl_djh"), QStringLiteral("f.j_note"), QStringLiteral("f.ghs_sn"),
                                      QStringLiteral("b.ghs_name"), QStringLiteral("b.ghs_jm"), QStringLiteral("a.jh_bz"),
                                      QStringLiteral("e.g_name"), QStringLiteral("e.g_jm"), QStringLiteral("a.g_sn"),
                                      QStringLiteral("e.gg_name")},
                               Typed(c.key), st.binds);
        st.order = QStringLiteral("a.gl_djh desc, a.id desc");
        return st;
    }
    st.body = QStringLiteral("select l.*, k.gc_name from jxc_goodslist l left join jxc_goods g on g.g_sn = l.g_sn "
                             "left join jxc_goodsclass k on k.gc_sn = g.gc_sn "
                             "where l.gl_flag = ? and l.gl_kdrq >= ? and l.gl_kdrq <= ?");
    st.binds << m_doc.ledgerFlag << c.from << PeriodEnd(c.to);
    st.body += binding(QStringLiteral("l.ck_sn"), st.binds);
    if (ret()) {
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("l.gl_djh"), QStringLiteral("l.ghs_name")}, Typed(c.key), st.binds);
        st.order = QStringLiteral("l.id");
        return st;
    }
    const QString s = Typed(c.supplier);
    if (!s.isEmpty()) {
        st.body += QStringLiteral(" and coalesce(l.gl_djh, '') <> ''");
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("l.ghs_sn"), QStringLiteral("l.ghs_name")}, s, st.binds);
    }
    st.body += ContainsAnyCondition(m_db, {QStringLiteral("l.g_sn"), QStringLiteral("l.g_name"), QStringLiteral("l.g_jm"), QStringLiteral("l.gl_bz")},
                           Typed(c.key), st.binds);
    st.order = QStringLiteral("l.gl_kdrq, l.gl_djh, l.id");
    return st;
}

ListStatement PurchaseListQueries::documentRows(const QString &number) const
{
    if (m_doc.kind == PurchaseKind::Order)
        return {QStringLiteral("select a.*, a.jh_dj * a.jh_dzl as dj, b.g_name, b.gg_name, b.color_name, b.g_sccs, b.g_kc, "
                               "b.g_bz, a.jh_sl - a.jh_rksl as dsl, b.hj_name from jxc_cgsp a "
                               "left join jxc_goods b on b.g_sn = a.g_sn where a.gl_djh = ?"),
                QStringLiteral("a.id"),
                {number}};
    return {QStringLiteral("select * from jxc_goodslist where gl_djh = ?"), QStringLiteral("id"), {number}};
}

ListStatement PurchaseListQueries::goodsRows(const PurchaseQueryCriteria &c, const QString &goods) const
{
    ListStatement st;
    st.body = QStringLiteral("select l.* from jxc_goodslist l where l.gl_flag = ? and l.g_sn = ? "
                             "and l.gl_kdrq >= ? and l.gl_kdrq <= ?");
    st.binds << m_doc.ledgerFlag << goods << c.from << PeriodEnd(c.to);
    st.body += binding(QStringLiteral("l.ck_sn"), st.binds);
    if (ret())
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("l.gl_djh"), QStringLiteral("l.ghs_name")}, Typed(c.key), st.binds);
    else
        st.body += ContainsAnyCondition(m_db, {QStringLiteral("l.ghs_sn"), QStringLiteral("l.ghs_name")},
                               StripControls(c.supplier.trimmed()), st.binds);
    st.order = QStringLiteral("l.id");
    return st;
}

QString WholeReturnRefusal(const QSqlDatabase &db, const QString &number)
{
    if (!number.startsWith(QLatin1String("CJ")))
        return QStringLiteral("单据%1不能退货，只有“CJ”开头的单据才能退货！").arg(number);
    const QString returned =
        QueryScalar(db, QStringLiteral("select coalesce(max(j_th), 0) from jxc_jhd where gl_djh = ?"), {number});
    if (returned == QLatin1String("1"))
        return QStringLiteral("该单据已经进行过整单退货，不能重复退货！");
    return QString();
}
