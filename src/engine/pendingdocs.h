#pragma once

// The pending documents of a trade document type (saved, not yet audited), described once and
// served to every pending page: the pending list, the re-sum of a pending header after its lines
// changed, the deletion of one of its lines or of the whole document, and the audit of the
// listed documents one by one or all at once. The purchase receipt and the sale describe
// themselves with PendingDocDescription; nothing here tests which one it serves.

#include "engine/partnerside.h"
#include "foundation/db/liststatement.h"
#include "foundation/doctype.h"

#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

class Clock;
class Notices;
struct LoginState;

struct PendingDocDescription
{
    DocType type;                  // tables and number prefix
    QString headerPrefix;          // "j_" / "ls_"
    QString dateColumn;            // j_jhrq / ls_xsrq
    QString statusColumn;          // j_status / ls_status
    QString noteColumn;            // j_note / ls_note
    QString lineAmount;            // jh_zje / ls_zje
    const PartnerSide *partner = nullptr;
    QString partnerShortCode;      // ghs_jm / kh_jm
    QStringList allPartnersWords;  // partner box texts meaning "no filter": "全部客户", "当前客户"
    QString listCondition;         // more conditions of the list on the header `a` (" and a.ls_dhbz = 0")
    QString logName;               // "采购进货单" / "商品销售单" in the log lines
    QString deleteLogName;         // "删除单据"'s log names the document so; empty: logName
    bool logsEmptiedDocument = true; // the last line's delete logs the document's delete too
    bool contracts = true;         // the header holds ht_sn
    bool owed = true;              // the header holds a discount (yhje): the list shows wfje
    int amountSign = 1;            // −1: header amounts stored negative (the purchase return)
    QString reservedGoods = QStringLiteral("00000000"); // goods left out of the due; empty: none
    // Run when the whole document goes (its last line or "删除单据"), inside the delete's
    // transaction: frees what the document held (a whole return's source receipt).
    std::function<void(const QSqlDatabase &, const QString &)> release;
    // The option that keeps the received (paid) amount of a document settled to the partner's
    // account (settlement index 1) when its lines change.
    QString LoginState::*paidDefault = nullptr;

    QString headerColumn(const char *tail) const { return headerPrefix + QString::fromLatin1(tail); }
};

// The pending headers (status 0 and the description's own conditions) with wfje = due − paid −
// discount (when the description is owed) and the partner's, warehouse's and handler's names (left joins: a document whose
// record is gone still shows, and its audit names what is missing); within the operator's
// warehouses when operators are bound to warehouses (BindOperatorWarehouse "1", a role other
// than the administrator's); `key` (trimmed, SafeText, literal, letter case ignored) in gl_djh,
// ck_name, ck_sn or the note; `partner` likewise in the partner's name, short code or code (the
// description's "all partners" words count as empty); by date, gl_djh, id, ascending or all
// descending.
ListStatement PendingListStatement(const QSqlDatabase &db, const LoginState &state, const PendingDocDescription &d,
                                   const QString &key, const QString &partner, bool descending);

// The header of pending `number` after its lines changed: due = Σ of the line amount without the
// description's reserved goods ("00000000"), total = Σ of all lines (each rounded to
// TotalDecimals with RoundTotals, times the amount sign); the due and paid columns take them, except that a document settled to the
// partner's account (settlement 1) keeps its paid amount when the description's paidDefault
// option is on. Joins the caller's transaction.
void ResumPendingDocument(const QSqlDatabase &db, const LoginState &state, const PendingDocDescription &d,
                          const QString &number);

// How a pending edit ended: Done (number empty when the document went with its last line),
// Declined (No), Refused (the document is no longer pending, shown) or Failed (shown).
struct PendingEditResult
{
    enum class Status { Done, Declined, Refused, Failed };
    Status status = Status::Done;
    QString number;
    bool done() const { return status == Status::Done; }
};

class PendingDocumentEdits
{
public:
    PendingDocumentEdits(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                         const PendingDocDescription &d);

    // "删除商品": asks "您确定要删除当前选中的商品吗！"; on Yes, in one transaction under the
    // document's lock, the line `lineId` of `number` is deleted; the header is re-summed while
    // lines remain, else deleted (with the log line "因删除单据的所有商品而删除<单据名>：" + number
    // when the description logs it) and what it held released.
    PendingEditResult deleteLine(const QString &number, qint64 lineId);

    // "删除单据": asks "您确定要删除“待审核”单据吗！"; on Yes, in one transaction, every header
    // and every line of `number` (all operators) go with the log line "删除<单据名>：" + number
    // (deleteLogName), the contract the header names and what the document held.
    PendingEditResult deleteDocument(const QString &number);

private:
    PendingEditResult run(const QString &number, const std::function<void(PendingEditResult &)> &write);

    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    PendingDocDescription m_doc;
};

// "单据审核(&W)": asks "您的操作将审核当前选中的单据，确认吗？", then `audit` (the document
// type's checkDj, which shows its own refusals). True when it audited.
bool AuditSelectedPending(Notices &notices, const QString &number, const std::function<bool(const QString &)> &audit);

// "审核全部": nothing on an empty list; asks "您的操作将审核当前列表中所有未审核的单据，确认吗？
// …（如需审核某个单据，请按右键！）" once, then each (number, date) in list order:
// CheckBeforeAudit's refusal is shown and the document skipped, else `audit`; a refused one does
// not stop the others. Returns how many were audited.
int AuditAllPending(Notices &notices, const QList<QPair<QString, QString>> &documents,
                    const std::function<bool(const QString &)> &audit);
