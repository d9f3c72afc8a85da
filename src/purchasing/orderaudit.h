#pragma once

// The audit, cancel-audit and void of purchase orders. None of them touches stock, money or
// the log: an audited order only opens its lines to the receipts (each line's id2 := id, the
// received quantity jh_rksl and the closed flag jh_qxsl at 0), whose audit then advances them.
// Each action is one transaction with the number's headers locked (LockForPosting); the state
// is read again under the lock, so a list another workstation changed meanwhile gets
// "单据<N>的状态已改变，请重新查询！" and nothing is written.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

class Clock;
class Notices;
struct LoginState;

class OrderAudit
{
public:
    OrderAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // Audits order `number`: when its first header (lowest id) is audited already, only the
    // pending copies are deleted; otherwise that header gets status 1, the operator as checker
    // and today, the other headers of the number go, and every line of the number is opened.
    // False when nothing was audited (no header, audited already, "审核失败：…").
    bool audit(const QString &number);

    // "单据审核(&V)" of the pending list: asks "您确认审核当前单据吗？", then audit.
    bool auditSelected(const QString &number);
    // "审核全部": the receipt's audit-all question once, then each order in its own
    // transaction; a database error stops the loop. Returns the orders audited.
    int auditAll(const QStringList &numbers);

    // "取消审核" of the audited list. In the detail view "取消审核操作只能在“单据表”进行。";
    // an order that received goods (a line with jh_rksl > 0) is refused with
    // "该订单<N>已有进货信息，不能取消审核！", so that a re-audit cannot open its lines again;
    // otherwise "您的操作将取消审核当前的单据，确认吗？" and the header goes back to pending
    // (status 0, checker and date empty). Lines, id2 and the void flag stay.
    bool cancelAudit(const QString &number, bool detailView);

    // "单据作废(&Z)" / "取消作废(&Z)" by the order's j_qk as the list shows it: void asks
    // "单据作废后不能继续导入到采购进货，确认吗？" and sets 1, the other asks
    // "您的操作将取消该单据的作废状态，确认吗？" and sets 0. Audited orders only.
    bool toggleVoid(const QString &number, bool voided);

private:
    // Runs `write` in one transaction behind the shared state guard (the number's headers
    // locked, one of them audited); else the state-changed notice. `failure` prefixes a
    // database error.
    bool onAudited(const QString &number, const QString &failure, const std::function<void()> &write);

    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    bool m_failed = false;  // the last audit met a database error
};
