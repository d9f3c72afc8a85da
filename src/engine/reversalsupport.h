#pragma once

// Pieces the cancel-audit routines share: the phase-1 refusals and questions, the stock test of a
// cancel, the locks of phase 2, and the removal of the finance rows (cash, partner account,
// registrations, invoices, expenses) a posting wrote.

#include "engine/auditsupport.h"
#include "engine/postingkit.h"
#include "engine/unaudit.h"

#include <QMap>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class Clock;
class Notices;
struct LoginState;

namespace reversal {

using postingsupport::RowTexts;

// "单据<N>未审核，不能取消审核！"
QString NotAuditedText(const QString &number);
// "您的操作将取消当前选中的已审核单据：<N>，确认吗？"
QString ConfirmText(const QString &number);

// Shows `text` as a refusal and returns Refused.
UnauditOutcome Refuse(Notices &notices, const QString &text);

// The right test: Done when held, else the refusal "您没有取消审核<name>的权限！" shown.
UnauditOutcome RequireRight(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                            const QString &module, int position, const QString &documentName);

// The auditor rule: an operator of another role than "100001" may not cancel a document audited
// by someone else whose own role lacks the right. Done, or the refusal shown.
UnauditOutcome AuditorRule(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                           const QString &module, int position, const QString &number,
                           const QString &checker);

// CheckBeforeUnaudit: Done on "ok", else its text shown.
UnauditOutcome BeforeUnauditHook(Notices &notices, const QString &number);

// The confirmation unless `bulk`: Done on Yes, Declined on No.
UnauditOutcome Confirm(Notices &notices, const UnauditOptions &options, const QString &text);

// Shows or asks the stock sentence: Done when empty or answered Yes.
UnauditOutcome StockTestOutcome(const LoginState &state, Notices &notices, const QString &message);

// The first row of `sql` as texts.
RowTexts Row(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});
QVector<RowTexts> Rows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});
double Num(const RowTexts &row, const QString &column);

// "?, ?, ?" for `count` values.
QString Placeholders(int count);
QVariantList Binds(const QStringList &values);

// Goods codes of the ledger rows of `number`, sorted, each once.
QStringList LedgerGoods(const QSqlDatabase &db, const QString &number);

// Registration numbers made against `number`: the jxc_ysyfk_dj rows and the partner-account
// copies whose gl_djh2 is the number (the number itself left out).
QStringList RegistrationsAgainst(const QSqlDatabase &db, const QString &number);

// Cash accounts of the cash rows of `numbers`, sorted, each once.
QStringList CashAccountsOf(const QSqlDatabase &db, const QStringList &numbers);

struct LockSet
{
    QString headerTable;
    QString number;
    QStringList goods;
    QString partnerType;  // "kh", "ghs" or empty
    QString partner;
    QStringList cashAccounts;
    QString member;       // hy_sn or empty
};

// Takes the posting locks of a cancel (inside the open transaction) and the member's row lock.
void Lock(const QSqlDatabase &db, const LockSet &locks);

// What RemoveFinanceRows removes besides the document's own cash and partner rows.
struct FinanceRemoval
{
    QString number;
    QString partnerType;  // "kh" or "ghs"
    QString partner;
    QString date;         // the document's date: the balances are recalculated from it
    bool registrations = true;  // receipts and payments registered against the document
    bool invoices = true;
    bool expenses = true;
};

// Deletes the cash rows of the number and of its registrations, its expense rows, the
// partner-account rows of the number and of its registrations (with their write-offs and the
// write-offs' ledger rows), then recalculates the partner; the registrations; the invoice rows,
// then recalculates the invoices. Every row by its keys (gl_djh, gl_djh2). The document's own
// ledger rows are the cancel's (cancelkit.h).
// Returns the cash accounts touched with the earliest date to recalculate each from.
QMap<QString, QString> RemoveFinanceRows(const QSqlDatabase &db, const LoginState &state,
                                         const Clock &clock, const FinanceRemoval &removal);

// RecalcCashBalances for every account of `accounts` from its date.
void RecalcCashAccounts(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                        const QMap<QString, QString> &accounts);

// Adds `account` at `date` to `accounts` (the earlier date wins).
void AddCashAccount(QMap<QString, QString> &accounts, const QString &account, const QString &date);

// Order progress taken back (when `link.enabled` is on): for each line of `linesTable` of the
// number with an order link (id3), the order lines with id2 = id3 and the same goods lose the
// line's quantity; the order line itself (id = id3) gets its delivered figure 0 when it fell to 0
// or below; then the closed flag of those lines is 1 when delivered ≥ ordered, else 0.
void ReverseOrderProgress(const QSqlDatabase &db, const LoginState &state, const OrderLink &link,
                          const QString &linesTable, const QString &number);

} // namespace reversal
