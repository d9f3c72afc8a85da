#pragma once

// The audit of pending purchase receipts and returns (the save with AuditOnSave, "单据审核(&W)"
// and "审核全部" of the pending page) through the posting engine's RunAuditPurchaseIn or
// RunAuditPurchaseReturn; refusals and failures are shown under "系统提示". (Orders post
// nothing: OrderAudit.)

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

#include "purchasing/purchasedoc.h"

class Clock;
class Notices;
struct LoginState;

class ReceiptAudit
{
public:
    ReceiptAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                 PurchaseKind kind = PurchaseKind::Receipt);

    // Audits receipt or return `number` ("checkDj"): nothing when it has no line; otherwise the
    // engine's audit (locks, duplicate repair, record check, discount, status, posting) in one
    // transaction; a return's stock question is asked and, on Yes, the audit runs again past
    // it. Returns the number audited, or the empty text when nothing was audited.
    QString checkDj(const QString &number);

    // "单据审核(&W)": asks "您的操作将审核当前选中的单据，确认吗？", then checkDj.
    bool auditSelected(const QString &number);

    // "审核全部": asks once, then each pending document (number, its date) in list order:
    // CheckBeforeAudit's refusal is shown and the receipt skipped, an engine refusal is shown
    // and the next goes on. Nothing on an empty list. Returns the receipts audited.
    int auditAll(const QList<QPair<QString, QString>> &receipts);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    PurchaseKind m_kind;
};
