#pragma once

// The audit of pending purchase receipts (the save with AuditOnSave, "单据审核(&W)" and
// "审核全部" of the pending page) through the posting engine's RunAuditPurchaseIn; refusals
// and failures are shown under "系统提示".

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

class ReceiptAudit
{
public:
    ReceiptAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // Audits receipt `number` ("checkDj"): nothing when it has no line; otherwise the engine's
    // audit (locks, duplicate repair, record check, discount, status, posting) in one
    // transaction. Returns the number audited, or the empty text when nothing was audited.
    QString checkDj(const QString &number);

    // "单据审核(&W)": asks "您的操作将审核当前选中的单据，确认吗？", then checkDj.
    bool auditSelected(const QString &number);

    // "审核全部": asks once, then each pending receipt (number, j_jhrq) in list order:
    // CheckBeforeAudit's refusal is shown and the receipt skipped, an engine refusal is shown
    // and the next goes on. Nothing on an empty list. Returns the receipts audited.
    int auditAll(const QList<QPair<QString, QString>> &receipts);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
