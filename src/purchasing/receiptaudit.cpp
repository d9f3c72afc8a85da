#include "purchasing/receiptaudit.h"

#include "engine/audit.h"
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
    if (number.isEmpty() || !m_notices.confirm(QStringLiteral("您的操作将审核当前选中的单据，确认吗？")))
        return false;
    return !checkDj(number).isEmpty();
}

int ReceiptAudit::auditAll(const QList<QPair<QString, QString>> &receipts)
{
    if (receipts.isEmpty()
        || !m_notices.confirm(QStringLiteral("您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n"
                                             "（如需审核某个单据，请按右键！）")))
        return 0;
    int audited = 0;
    for (const auto &receipt : receipts) {
        const QString check = CheckBeforeAudit(receipt.first, receipt.second);
        if (check != QLatin1String("ok")) {
            m_notices.notice(check);
            continue;
        }
        if (!checkDj(receipt.first).isEmpty())
            ++audited;
    }
    return audited;
}
