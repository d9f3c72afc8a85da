#pragma once

// The inventory documents as document types — transfers "DB" (jxc_kcdbd/jxc_dbsp, basket
// jxc_tempspxf2), losses "BS" (jxc_bsd/jxc_bssp), overflows "BY" (jxc_byd/jxc_bysp) and
// stocktakings "PD" (jxc_kcpd/jxc_kcpdsp, all three with the basket jxc_tempspxf) — and what their rules share: the outcome of an action, the lists of
// the header boxes, the rounding of line amounts, the lock of a day's numbers and the audit with
// its shortage question.

#include "engine/audit.h"
#include "foundation/doctype.h"
#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

#include <functional>

class Notices;
struct DocumentContext;
struct LoginState;

enum class InventoryDoc { Transfer, Loss, Overflow, Stocktaking };

DocType InventoryDocType(InventoryDoc doc);
// By the number's (or prefix's) first two characters; Loss for anything but "DB", "BY" and "PD".
InventoryDoc InventoryDocOf(const QString &numberOrPrefix);
// The prefix of the header's own columns: "db_", "bs_", "by_" (db_status, db_note, db_checker …).
QString InventoryColumnPrefix(InventoryDoc doc);
QString InventoryStatusColumn(InventoryDoc doc);

// How an action ended. Refused and Failed have shown their text; Declined is a No.
enum class InventoryStatus { Done, Refused, Declined, Failed };

struct InventoryResult
{
    InventoryStatus status = InventoryStatus::Done;
    QString number;     // the document's number afterwards (renumbered or not)
    qint64 lineId = 0;  // the line written, where there is one

    bool done() const { return status == InventoryStatus::Done; }
};

// What a line dialog is to do, by its mode tag: transfers "kcdb", "kcdb_add", "kcdb_modi",
// "modish"; losses and overflows "bsby", "bsby_add", "bsby_modi", "bsby_sh"; stocktakings "kcpd",
// "kcpd_add", "kcpd_modi", "kcpd_modi2".
enum class InventoryLineMode {
    None,          // any other tag: nothing read, nothing written
    Draft,         // the operator's line `lineId` on the entry page
    BasketAdd,     // a new basket row
    BasketModify,  // the operator's basket row `lineId`
    Pending,       // line `lineId` of the pending document (its operator becomes the current one)
};
InventoryLineMode InventoryLineModeFromTag(InventoryDoc doc, const QString &tag);
QString InventoryLineModeTag(InventoryDoc doc, InventoryLineMode mode);

// The first test of a line dialog's 确定: Declined without a mode, Refused for a quantity of 0 or
// less ("数量不能为0或负数，重新输入！" shown), else Done.
InventoryStatus CheckLineQuantity(Notices &notices, InventoryLineMode mode, double quantity);
// A line dialog's write: `write` runs in one transaction and returns a refusal ("" when it
// wrote); a refusal rolls back and is shown (Refused), a database error too with `failure` +
// its text (Failed); after a write the context hears that its lines changed.
InventoryResult RunLineWrite(const QSqlDatabase &db, Notices &notices, DocumentContext &context, const QString &failure,
                             const std::function<QString()> &write);
// The columns `values` written into line `lineId` of the type by mode: Draft the operator's own
// line; Pending a line of the document `number`, re-read under its locks first (the refusal
// "单据…的状态已改变，请重新查询！" returned), which becomes the operator's.
QString UpdateLineByMode(const QSqlDatabase &db, const LoginState &state, InventoryDoc doc, InventoryLineMode mode,
                         const QString &number, qint64 lineId, QVariantMap values);

// The warehouses of the out-warehouse and warehouse boxes, by id: all of them, or with
// BindOperatorWarehouse "1" and a role other than the administrator's those naming the operator
// (whole codes). AllWarehouses: every warehouse, by id (the transfer's in-warehouse box).
KeyedItems InventoryWarehouses(const QSqlDatabase &db, const LoginState &state);
KeyedItems AllWarehouses(const QSqlDatabase &db);
// The stock handlers (u_kc), no "all" item.
KeyedItems StockHandlers(const QSqlDatabase &db, const LoginState &state);

// The operator's line `lineId` of the type deleted (the question is the screen's), and the
// operator's lines of a number (No to the closing question); "删除失败：…" on a database error.
bool RemoveDraftLine(const QSqlDatabase &db, const LoginState &state, Notices &notices, InventoryDoc doc, qint64 lineId);
void DiscardDraft(const QSqlDatabase &db, const LoginState &state, Notices &notices, InventoryDoc doc,
                  const QString &number);

// A line amount as the documents round it: TotalDecimals with RoundTotals, else unrounded.
double TransferAmount(const LoginState &state, double amount);
// Whether lines are valued at the sale price (TransferPriceBasis exactly "1").
bool TransferAtSalePrice(const LoginState &state);
// The price columns of a transfer's line grids: 单价 (db_dj) unless the lines are valued at the
// sale price; 售价 (db_sj) only then, and only with RightShowSalePrice.
struct TransferPriceColumns
{
    bool cost = true;
    bool sale = false;
};
TransferPriceColumns TransferPriceColumnsOf(const LoginState &state);

// The posting lock of the numbers of a document type's day (prefix + yyMMdd): every line write
// and save of that day takes it inside its transaction before testing its number.
void LockDayNumbers(const QSqlDatabase &db, const DocType &type, const QString &day);

// An audit entry, called again with `confirmed` after a Yes to its shortage question.
using AuditCall = std::function<AuditResult(bool confirmed)>;
// Runs it as the windows do: a question is asked ("信息提醒") and the call repeated on Yes; a
// refusal or failure is shown ("系统提示"); an audited document already says nothing. Returns
// whether it was audited now.
bool AuditAsking(Notices &notices, const AuditCall &audit);
// The audit entry of the type (RunAuditTransfer, RunAuditLoss, RunAuditOverflow,
// RunAuditStocktaking without the pre-audit check, as the save's road runs it).
AuditCall InventoryAudit(InventoryDoc doc, const QSqlDatabase &db, const LoginState &state, const class Clock &clock,
                         const QString &number);
