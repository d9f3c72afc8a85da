#pragma once

// The audit of pending sales (the save with AuditOnSave, "单据审核(&W)" and "审核全部" of the
// pending page): the reads and questions first (a header already audited drops its stray pending
// copies; the stock question; the prepayment question of a sale settled to receivables), then the
// posting engine's RunAuditSale in its own transaction. Refusals under "系统提示", questions under
// "信息提醒"; a No anywhere leaves the sale pending with nothing written. No right is tested here.

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

class SaleAuditRules
{
public:
    SaleAuditRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // "checkDj": audits sale `number`. Returns the number audited (after the engine's duplicate
    // repair), or "" when nothing was audited.
    QString checkDj(const QString &number);

    // "单据审核(&W)": asks "您的操作将审核当前选中的单据，确认吗？", then checkDj.
    bool auditSelected(const QString &number);

    // "审核全部": (number, ls_xsrq) of each listed sale in list order.
    int auditAll(const QList<QPair<QString, QString>> &sales);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
