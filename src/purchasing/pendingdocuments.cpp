#include "purchasing/pendingdocuments.h"

#include "engine/pendingdocs.h"
#include "purchasing/purchaselistdoc.h"

void ResumPendingHeader(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind, const QString &number)
{
    ResumPendingDocument(db, state, PurchasePendingDescription(kind), number);
}

ListStatement PendingPurchases::list(const QString &key, const QString &supplier, bool descending) const
{
    return PendingListStatement(m_db, m_state, PurchasePendingDescription(m_doc.kind), key, supplier,
                                descending);
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
