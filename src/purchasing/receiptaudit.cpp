#include "purchasing/receiptaudit.h"

#include "engine/audit.h"
#include "engine/pendingdocs.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/rights.h"

ReceiptAudit::ReceiptAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                           PurchaseKind kind)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_kind(kind)
{
}

QString ReceiptAudit::checkDj(const QString &number)
{
    try {
        if (GetFirstId(m_db, PurchaseDocType(m_kind).linesTable, QStringLiteral("gl_djh"), number).isEmpty())
            return QString();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("审核失败：") + e.text());
        return QString();
    }
    AuditResult r;
    if (m_kind == PurchaseKind::Return) {
        r = RunAuditPurchaseReturn(m_db, m_state, m_clock, number);
        if (r.kind == AuditResult::Kind::Question) {
            if (!m_notices.confirm(r.text))
                return QString();
            r = RunAuditPurchaseReturn(m_db, m_state, m_clock, number, true);
        }
    } else {
        r = RunAuditPurchaseIn(m_db, m_state, m_clock, number);
    }
    if (r.audited())
        return r.number;
    if (!r.text.isEmpty())
        m_notices.notice(r.text);
    return QString();
}

bool ReceiptAudit::auditSelected(const QString &number)
{
    return AuditSelectedPending(m_notices, number, [this](const QString &n) { return !checkDj(n).isEmpty(); });
}

int ReceiptAudit::auditAll(const QList<QPair<QString, QString>> &receipts)
{
    return AuditAllPending(m_notices, receipts, [this](const QString &n) { return !checkDj(n).isEmpty(); });
}
