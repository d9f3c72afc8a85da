#include "purchasing/pendingdocedits.h"

#include "engine/pendingdocument.h"
#include "foundation/contracts.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"
#include "purchasing/pendingdocuments.h"

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

namespace {

// The receipt a whole return `number` came from is free to be returned again.
void FreeReturnSource(const QSqlDatabase &db, const QString &number)
{
    RunSql(db, QStringLiteral("update jxc_jhd set j_th = 0, j_dhdid = '' where j_dhdid = ?"), {number});
}

} // namespace

PendingDocEdits::PendingDocEdits(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                 Notices &notices, const PurchaseListDoc &doc)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_doc(doc)
{
}

template <typename Write>
PurchaseResult PendingDocEdits::run(const QString &number, Write write)
{
    PurchaseResult result;
    result.number = number;
    try {
        Transaction tx(m_db);
        RequirePendingPurchase(m_db, m_doc.kind, number);
        write(result);
        tx.commit();
    } catch (const PendingStateChanged &e) {
        m_notices.notice(e.text());
        result.status = PurchaseStatus::Refused;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        result.status = PurchaseStatus::Failed;
    }
    return result;
}

PurchaseResult PendingDocEdits::deleteLine(const QString &number, qint64 lineId)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return {PurchaseStatus::Declined, number, lineId};
    const QString lines = m_doc.type.linesTable;
    return run(number, [&](PurchaseResult &result) {
        RunSql(m_db, QStringLiteral("delete from %1 where id = ? and gl_djh = ?").arg(lines), {lineId, number});
        const int left = QueryScalar(m_db, QStringLiteral("select count(*) from %1 where gl_djh = ?").arg(lines), {number})
                             .toInt();
        if (left > 0) {
            ResumPendingHeader(m_db, m_state, m_doc.kind, number);
            return;
        }
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.headerTable), {number});
        if (m_doc.logsEmptiedDocument)
            WriteLog(m_db, m_state, m_clock, QStringLiteral("因删除单据的所有商品而删除%1：%2").arg(m_doc.logName, number));
        if (m_doc.freesReturnSource)
            FreeReturnSource(m_db, number);
        result.number.clear();
    });
}

PurchaseResult PendingDocEdits::deleteDocument(const QString &number)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除“待审核”单据吗！")))
        return {PurchaseStatus::Declined, number, 0};
    return run(number, [&](PurchaseResult &result) {
        QString contract;
        if (m_doc.kind != PurchaseKind::Return)
            contract = QueryScalar(m_db,
                                   QStringLiteral("select coalesce(max(ht_sn), '') from %1 where gl_djh = ?")
                                       .arg(m_doc.type.headerTable),
                                   {number})
                           .trimmed();
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.linesTable), {number});
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.headerTable), {number});
        WriteLog(m_db, m_state, m_clock, QStringLiteral("删除%1：%2").arg(m_doc.deleteLogName, number));
        if (m_doc.freesReturnSource)
            FreeReturnSource(m_db, number);
        if (!contract.isEmpty())
            DeleteContract(m_db, contract);
        result.number.clear();
    });
}
