#pragma once

// Cancel-audit (取消审核): takes back exactly what a document's posting wrote — stock, goods totals
// and counters, the re-walked running cost of every later ledger row, partner, invoice and cash
// balances, order progress, expenses, the member effects of a POS bill — and sets the document
// back to pending.
//
// Every routine runs in two phases:
//  - phase 1 reads only: the refusals and questions of the document type, in its order (right,
//    goods-in/out lines, audited header, auditor rule, CheckBeforeUnaudit, confirmation, stock
//    test). Refusals are shown as notices ("系统提示"), questions asked ("信息提醒"). A refusal or a
//    No ends the routine at once: nothing is written, no log row.
//  - phase 2 writes, in one Transaction that joins the caller's when there is one: the posting
//    locks (headers of the number, the goods of its ledger rows sorted, the partner, the cash
//    accounts, the member), a second look at the header under the locks (no longer audited →
//    UnauditRefusal "单据<N>未审核，不能取消审核！"), then the reversal, log line included. It asks
//    nothing.
// The whole routine shows a database error as "取消审核失败：" + the database's text and returns
// Failed; nothing of the cancel stays.
//
// The change-of-date dialog runs the phases itself: UnauditCheck, then one transaction holding
// UnauditApply (with keepAudited) and the re-posting under the new number.

#include <QSqlDatabase>
#include <QString>

#include <stdexcept>

class Clock;
class Notices;
struct LoginState;

struct UnauditOptions
{
    // A bulk run (the stocktaking form's cancel of every later document, "全部取消"): no
    // confirmation question; the stock question is still asked.
    bool bulk = false;
    // The change-of-date dialog re-posts the document: rows, stock and balances are taken back
    // but the header stays audited (the exchange resets anyway; the purchase return then skips its
    // right test).
    bool keepAudited = false;
    // Phase 1 leaves out the document type's stock test (a change of date that re-posts the
    // document in the same warehouse: the reversal and the re-posting cancel out).
    bool skipStockTest = false;
};

enum class UnauditOutcome {
    Done,      // cancelled (phase 1 alone: cleared to go on)
    Refused,   // a refusal was shown
    Declined,  // the operator answered No
    Failed     // a database error; nothing written
};

// Raised by phase 2 when, under its locks, the document can no longer be cancelled.
class UnauditRefusal : public std::runtime_error
{
public:
    explicit UnauditRefusal(const QString &text)
        : std::runtime_error(text.toStdString()), m_text(text) {}
    const QString &text() const { return m_text; }

private:
    QString m_text;
};

// The document types, by number prefix.
enum class UnauditKind {
    Unknown,
    PurchaseIn,              // CJ
    PurchaseReturn,          // CT
    Sale,                    // XS
    SalesReturn,             // XT
    Exchange,                // XH
    Transfer,                // DB
    Stocktaking,             // PD, from the stocktaking form
    StocktakingFromLedger,   // PD, from the stock-detail report and bulk cancels
    Split,                   // CF
    Bundle,                  // KB
    Loss,                    // BS
    Overflow,                // BY
    CustomerBorrow,          // JH
    CustomerReturnBorrow,    // HH
    ProductionIn,            // SC
    ProductionReturn,        // ST
    DeptIssue,               // LY
    DeptReturn               // LT, LF
};

// The routine UnauditByNumber takes for a number (PD: StocktakingFromLedger).
UnauditKind UnauditKindOfNumber(const QString &number);

// Phase 1 of `kind`: Done when the cancel may go on.
UnauditOutcome UnauditCheck(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                            const Clock &clock, Notices &notices, const QString &number,
                            const UnauditOptions &options = {});

// Phase 2 of `kind` in one Transaction joining the caller's. Raises UnauditRefusal (the header is
// no longer audited) or DbError; either way its own work is rolled back.
void UnauditApply(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                  const Clock &clock, const QString &number, const UnauditOptions &options = {});

// Both phases, with refusals and failures shown.
UnauditOutcome RunUnaudit(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                          const Clock &clock, Notices &notices, const QString &number,
                          const UnauditOptions &options = {});

// The stock-detail report and the bulk cancels: the routine by the first two characters of the
// number (CJ CT XS XT XH DB PD CF KB BS BY JH HH SC ST LY LT LF). An unknown prefix is refused
// without a notice. In a bulk run the caller calls this once per document: each is its own
// transaction, and a refused one does not stop the others.
UnauditOutcome UnauditByNumber(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               Notices &notices, const QString &number,
                               const UnauditOptions &options = {});

#define JXC_UNAUDIT_ROUTINE(name)                                                                  \
    UnauditOutcome name(const QSqlDatabase &db, const LoginState &state, const Clock &clock,       \
                        Notices &notices, const QString &number, const UnauditOptions &options = {});

// Purchasing (CJ, CT).
JXC_UNAUDIT_ROUTINE(UnauditPurchaseIn)
JXC_UNAUDIT_ROUTINE(UnauditPurchaseReturn)
// Sales (XS, XT, XH).
JXC_UNAUDIT_ROUTINE(UnauditSale)
JXC_UNAUDIT_ROUTINE(UnauditSalesReturn)
JXC_UNAUDIT_ROUTINE(UnauditExchange)
// Inventory and production.
JXC_UNAUDIT_ROUTINE(UnauditTransfer)
JXC_UNAUDIT_ROUTINE(UnauditStocktaking)
JXC_UNAUDIT_ROUTINE(UnauditStocktakingFromLedger)
JXC_UNAUDIT_ROUTINE(UnauditSplit)
JXC_UNAUDIT_ROUTINE(UnauditBundle)
JXC_UNAUDIT_ROUTINE(UnauditLoss)
JXC_UNAUDIT_ROUTINE(UnauditOverflow)
JXC_UNAUDIT_ROUTINE(UnauditCustomerBorrow)
JXC_UNAUDIT_ROUTINE(UnauditCustomerReturnBorrow)
JXC_UNAUDIT_ROUTINE(UnauditProductionIn)
JXC_UNAUDIT_ROUTINE(UnauditProductionReturn)
JXC_UNAUDIT_ROUTINE(UnauditDeptIssue)
JXC_UNAUDIT_ROUTINE(UnauditDeptReturn)

#undef JXC_UNAUDIT_ROUTINE
