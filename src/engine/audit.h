#pragma once

// The audit entries of purchase receipts, purchase returns, sales, sales returns, receipts and
// payments. Each runs in one Transaction (joining an open one as a savepoint) what a document
// form does when it audits, and the posting:
//
//   1. the posting locks (LockForPosting: the header rows — the registration for SK/FK — the
//      goods of the lines, the partner, the cash account, the number stems it may draw);
//   2. CheckBeforeAudit; a text other than "ok" is the refusal;
//   3. CJ, CT, XS, XT with lines: FixDuplicateDjh, then everything goes on under the number it
//      returns (the caller's own copy may have moved to a fresh number);
//   4. the header (registration) read again under the locks: an audited one is refused with
//      "单据<N>已经审核，不能重复审核！";
//   5. the handler, partner and warehouse records must exist (else a refusal naming them);
//   6. XS and CT: CheckNegativeStock. With AllowNegativeStock off the sentence is a refusal;
//      on, it comes back as a question, and the caller repeats the call with
//      `confirmedNegativeStock` true after the operator said yes;
//   7. CJ, CT, XS, XT: status 1, checker, check date (today) and, for CJ and XS, the discount
//      j_yhje/ls_yhje (due − paid when settled by payment, else 0) on the first pending copy;
//      the other pending copies of the number are deleted;
//   8. the posting (AuditPurchaseIn … AuditPayment).
//
// A refusal or question rolls everything back and returns its text; a database failure
// anywhere rolls everything back and returns "审核失败：" followed by the database's text.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

struct AuditResult
{
    enum class Kind {
        Audited,   // posted and committed
        Refused,   // text to show under "系统提示"
        Question,  // text to ask under "信息提醒"; call again confirmed to go on
        Failed,    // "审核失败：…", nothing written
        AlreadyAudited,  // the document was audited already: nothing done, nothing to show
    };
    Kind kind = Kind::Failed;
    QString text;
    // The number the document was audited under (after the duplicate repair); the number
    // passed in when nothing was audited.
    QString number;

    bool audited() const { return kind == Kind::Audited; }
};

AuditResult RunAuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               const QString &number);
AuditResult RunAuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state,
                                   const Clock &clock, const QString &number,
                                   bool confirmedNegativeStock = false);
AuditResult RunAuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, bool confirmedNegativeStock = false);
AuditResult RunAuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &number);
AuditResult RunAuditReceipt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number);
AuditResult RunAuditPayment(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number);

// The inventory documents through InventoryPosting (inventoryposting.h, postinventory.h):
// transfers (DB, the stock test on the out warehouse), losses (BS, the stock test on the
// warehouse) and overflows (BY, no stock test). A document with any audited header gives
// AlreadyAudited and changes nothing.
AuditResult RunAuditTransfer(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             const QString &number, bool confirmedNegativeStock = false);
AuditResult RunAuditLoss(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, bool confirmedNegativeStock = false);
AuditResult RunAuditOverflow(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             const QString &number);

// Stocktakings (PD) through InventoryPosting (poststocktaking.h): no stock test. The save's
// road audits without the pre-audit check; the pending page's runs it (GetPdMsg under the
// locks, its message the refusal).
struct StocktakingAuditOptions
{
    bool preAuditCheck = false;
};
AuditResult RunAuditStocktaking(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &number, StocktakingAuditOptions options = {});
