#include "purchasing/pendingdocuments.h"

#include "engine/pendingdocs.h"
#include "purchasing/purchaselistdoc.h"

void ResumPendingHeader(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind, const QString &number)
{
    if (kind == PurchaseKind::Return)
        return;
    ResumPendingDocument(db, state, PurchasePendingDescription(kind), number);
}

ListStatement PendingReceipts::list(const QString &key, const QString &supplier, bool descending) const
{
    return PendingListStatement(m_db, m_state, PurchasePendingDescription(PurchaseKind::Receipt), key, supplier,
                                descending);
}

ListStatement PendingReceipts::lines(const QString &number) const
{
    return {QStringLiteral("select a.*, a.jh_dj * a.jh_dzl as dj, b.g_name, b.gg_name, b.color_name, b.g_sccs, "
                           "b.g_kc, b.g_bz, b.hj_name from jxc_jhsp a left join jxc_goods b on b.g_sn = a.g_sn "
                           "where a.gl_djh = ?"),
            QStringLiteral("a.id"),
            {number}};
}
