#include "purchasing/pendingdocuments.h"

#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"
#include "purchasing/purchaselinemath.h"

#include <QSqlQuery>

void ResumPendingHeader(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind, const QString &number)
{
    const DocType type = PurchaseDocType(kind);
    Transaction tx(db);
    if (kind == PurchaseKind::Return) {
        double total = QueryScalar(db, QStringLiteral("select coalesce(sum(th_zje), 0) from jxc_thsp where gl_djh = ?"),
                                   {number})
                           .toDouble();
        if (const std::optional<int> n = PurchaseAmountRounding(state))
            total = RoundTo(total, *n);
        const QString settle =
            QueryScalar(db, QStringLiteral("select th_jsfs from jxc_thd where gl_djh = ? order by id"), {number});
        if (settle == QLatin1String("1") && IsTrue(state.PurchasePaidDefault))
            RunSql(db, QStringLiteral("update jxc_thd set th_yfje = ? where gl_djh = ?"), {-total, number});
        else
            RunSql(db, QStringLiteral("update jxc_thd set th_yfje = ?, th_sfje = ? where gl_djh = ?"), {-total, -total, number});
        tx.commit();
        return;
    }
    QSqlQuery sums = OpenSelect(db,
                                QStringLiteral("select sum(case when g_sn <> '00000000' then jh_zje else 0 end), "
                                               "sum(jh_zje) from %1 where gl_djh = ?")
                                    .arg(type.linesTable),
                                {number});
    double due = 0;
    double total = 0;
    if (sums.next()) {
        due = sums.value(0).toDouble();
        total = sums.value(1).toDouble();
    }
    if (const std::optional<int> n = PurchaseAmountRounding(state)) {
        due = RoundTo(due, *n);
        total = RoundTo(total, *n);
    }
    const QString settle = QueryScalar(db, QStringLiteral("select j_jsfs from %1 where gl_djh = ? order by id").arg(type.headerTable),
                                       {number});
    if (settle == QLatin1String("1") && IsTrue(state.PurchasePaidDefault))
        RunSql(db, QStringLiteral("update %1 set j_yfje = ? where gl_djh = ?").arg(type.headerTable), {due, number});
    else
        RunSql(db, QStringLiteral("update %1 set j_yfje = ?, j_sfje = ? where gl_djh = ?").arg(type.headerTable),
               {due, total, number});
    tx.commit();
}

ListStatement PendingPurchases::list(const QString &key, const QString &supplier, bool descending) const
{
    ListStatement st;
    const bool owed = m_doc.kind != PurchaseKind::Return;
    st.body = QStringLiteral("select a.*%1, b.ghs_name, c.ck_name, d.u_name "
                             "from %2 a left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn "
                             "left join jxc_ckxx c on c.ck_sn = a.ck_sn left join jxc_user d on d.u_sn = a.u_sn "
                             "where a.%3 = 0")
                  .arg(owed ? QStringLiteral(", a.j_yfje - a.j_sfje - a.j_yhje as wfje") : QString(),
                       m_doc.type.headerTable, m_doc.statusColumn);
    if (m_state.BindOperatorWarehouse == QLatin1String("1") && !m_state.isAdministrator())
        st.body += QStringLiteral(" and ") + WarehouseBindingCondition(m_db, m_state, QStringLiteral("a.ck_sn"), st.binds);
    const Dialect dialect = Dialect::of(m_db);
    QString s = SafeText(supplier.trimmed());
    if (s == QStringLiteral("全部供货商") || s == QStringLiteral("当前供货商"))
        s.clear();
    if (!s.isEmpty()) {
        st.body += QStringLiteral(" and (%1 or %2 or %3)")
                       .arg(dialect.likeClause(QStringLiteral("b.ghs_name")), dialect.likeClause(QStringLiteral("b.ghs_jm")),
                            dialect.likeClause(QStringLiteral("a.ghs_sn")));
        const QString pattern = Dialect::containsPattern(s);
        st.binds << pattern << pattern << pattern;
    }
    const QString k = SafeText(key.trimmed());
    if (!k.isEmpty()) {
        st.body += QStringLiteral(" and (%1 or %2 or %3 or %4)")
                       .arg(dialect.likeClause(QStringLiteral("a.gl_djh")), dialect.likeClause(QStringLiteral("c.ck_name")),
                            dialect.likeClause(QStringLiteral("a.ck_sn")), dialect.likeClause(QStringLiteral("a.") + m_doc.noteColumn));
        const QString pattern = Dialect::containsPattern(k);
        st.binds << pattern << pattern << pattern << pattern;
    }
    st.order = descending ? QStringLiteral("a.%1 desc, a.gl_djh desc, a.id desc").arg(m_doc.dateColumn)
                          : QStringLiteral("a.%1, a.gl_djh, a.id").arg(m_doc.dateColumn);
    return st;
}

ListStatement PendingPurchases::lines(const QString &number) const
{
    if (m_doc.kind == PurchaseKind::Return)
        return {QStringLiteral("select a.*, b.g_name, b.gg_name, b.color_name, b.g_sccs, b.g_kc, b.g_bz "
                               "from jxc_thsp a left join jxc_goods b on b.g_sn = a.g_sn where a.gl_djh = ?"),
                QStringLiteral("a.id"),
                {number}};
    return {QStringLiteral("select a.*, a.jh_dj * a.jh_dzl as dj, b.g_name, b.gg_name, b.color_name, b.g_sccs, "
                           "b.g_kc, b.g_bz, b.hj_name from %1 a left join jxc_goods b on b.g_sn = a.g_sn "
                           "where a.gl_djh = ?")
                .arg(m_doc.type.linesTable),
            QStringLiteral("a.id"),
            {number}};
}
