#pragma once

// Payment against one audited purchase document ("单据付款"): a receipt ("CJ") is paid, a
// return ("CT") refunded. The registration "FK" goes into jxc_ysyfk_dj (audited at once with
// AuditOnSave), and the document's paid-later amount and note follow, all in one transaction.

#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>

#include <optional>

class Clock;
class Notices;
struct LoginState;

struct DocPaymentView
{
    QString number;
    bool isReturn = false;
    QString supplierSn;
    QString supplierName;
    QString handlerName;   // the document's handler, by name ("" when missing)
    QString accountName;   // the document's account
    double payable = 0;    // as stored (a return's negative)
    double paid = 0;
    double paidLater = 0;
    double amount = 0;     // what is still owed: payable − paid − paid later
    QString balance;       // the supplier's payable balance
};

struct DocPaymentInput
{
    double amount = 0;
    QString day;           // "yyyy-MM-dd"
    QString handlerSn;
    QString accountText;
    QString note;
};

class DocPaymentRules
{
public:
    DocPaymentRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The document `number` (by its first two characters; left joins: a missing supplier or
    // handler shows empty); none when no header has that number.
    std::optional<DocPaymentView> open(const QString &number) const;
    // The handlers (active employees by id) and the cash and bank accounts (by id).
    KeyedItems handlers() const;
    KeyedItems accounts() const;

    // Refuses 0 ("收款不能为0！") and no handler ("经办人不能为空！"). Then one transaction: the
    // document locked and read again (it must still be audited, else "单据<N>的状态已改变，请重新
    // 查询！"), the FK number of the day, the registration, the log line "增加付款，供货商：…，
    // 金额：…", with AuditOnSave its audit (a refusal rolls the whole payment back and is shown),
    // the document's paid-later amount and note. A database error shows "付款失败：…". Returns
    // the amount saved, or none when nothing was written.
    std::optional<double> save(const DocPaymentView &view, const DocPaymentInput &in);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
