#include "purchasing/pendingdocedits.h"

#include "engine/pendingdocs.h"
#include "engine/pendingdocument.h"

void RequirePendingPurchase(const QSqlDatabase &db, PurchaseKind kind, const QString &number)
{
    const PurchaseListDoc doc = PurchaseListDocOf(kind);
    const QString refusal = LockPendingDocument(db, doc.type.headerTable, doc.statusColumn, number);
    if (!refusal.isEmpty())
        throw PendingStateChanged(refusal);
}

void RequireAuditedPurchase(const QSqlDatabase &db, PurchaseKind kind, const QString &number)
{
    const PurchaseListDoc doc = PurchaseListDocOf(kind);
    const QString refusal = LockAuditedDocument(db, doc.type.headerTable, doc.statusColumn, number);
    if (!refusal.isEmpty())
        throw PendingStateChanged(refusal);
}

PendingDocEdits::PendingDocEdits(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                 Notices &notices, const PurchaseListDoc &doc)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_doc(doc)
{
}

namespace {

PurchaseResult FromPending(const PendingEditResult &r, qint64 lineId = 0)
{
    static const PurchaseStatus statuses[] = {PurchaseStatus::Done, PurchaseStatus::Declined, PurchaseStatus::Refused,
                                              PurchaseStatus::Failed};
    return {statuses[int(r.status)], r.number, lineId};
}

} // namespace

PurchaseResult PendingDocEdits::deleteLine(const QString &number, qint64 lineId)
{
    const PendingEditResult r =
        PendingDocumentEdits(m_db, m_state, m_clock, m_notices, PurchasePendingDescription(m_doc.kind)).deleteLine(number, lineId);
    return FromPending(r, r.status == PendingEditResult::Status::Declined ? lineId : 0);
}

PurchaseResult PendingDocEdits::deleteDocument(const QString &number)
{
    return FromPending(
        PendingDocumentEdits(m_db, m_state, m_clock, m_notices, PurchasePendingDescription(m_doc.kind)).deleteDocument(number));
}
