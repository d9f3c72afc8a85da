#pragma once

// The cancel kit: phase 2 of every cancel-audit (see unaudit.h), written once and driven by a
// description of the document kind. Inside the caller's transaction it takes the posting locks
// (goods, partner, cash accounts, a POS member), looks at the header again under them, writes the
// log line, drops the pending copy, takes the stock back through the document's ledger rows with
// the walk that leaves the document out and deletes those rows, resets the header, removes the partner, invoice and cash rows with their balance recalculations
// (reversal::RemoveFinanceRows) and recalculates the cash accounts touched.

#include "engine/auditsupport.h"
#include "engine/partnerside.h"
#include "engine/stocksteps.h"
#include "engine/unaudit.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <vector>

class Clock;
class Notices;
struct DocumentKind;
struct LoginState;

// What the kind's own steps of a cancel are given.
struct CancelContext
{
    const QSqlDatabase &db;
    const LoginState &state;
    const Clock &clock;
    const QString &number;
    const postingsupport::RowTexts &header;  // the audited header, all columns
};

struct CancelKind
{
    QString header;                        // jxc_jhd
    QString prefix;                        // of its columns: j_ → j_status
    QString dateColumn;                    // j_jhrq; empty: none
    const PartnerSide *partner = nullptr;  // nullptr: no partner, invoice or cash rows
    QString logText;                       // the log line, followed by the number

    // The ledger rows' steps, moved with `moves` (exclusion "1", no stock row created).
    std::function<std::vector<StockStep>(const CancelContext &)> steps;
    StockMoves moves;
    // The kind's own work after the stock moved, while its ledger rows still exist.
    std::function<void(const CancelContext &)> own;

    QString reset;                         // "j_status = 0, …" set on the audited header; empty: none
    bool keepAuditedKeepsHeader = true;    // UnauditOptions::keepAudited leaves the header audited
    // Finance rows removed besides the document's own cash and partner rows (reversal::FinanceRemoval).
    bool registrations = true, invoices = true, expenses = true;
    bool zeroRows = true;                  // EnsureZeroGoodsStock at the end
    // The member row locked with the rest (POS documents); empty: none.
    std::function<QString(const postingsupport::RowTexts &header)> member;
    // Last, before the cash accounts are recalculated: order progress, batches of a count …
    std::function<void(const CancelContext &)> after;
};

// The cancel of a kind the posting kit posts: its header, partner, the posting's steps reversed
// in the header's warehouse, its moves with the frequency taken back (the latest purchase price
// stays), the log line "取消审核" + name, the reset of status, checker, check date and hkje, the
// expense rows when the posting pays freight, the order progress taken back.
CancelKind CancelOf(const DocumentKind &posting);

void CancelDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number,
                    const UnauditOptions &options, const CancelKind &kind);

// Phase 1 of a cancel of a kind with a partner: the right (module, position), later documents
// that refuse it, the audited header, the auditor rule, CheckBeforeUnaudit, the confirmation and
// the stock test.
struct CancelCheck
{
    QString module;                 // cggl / xsgl
    int position = 0;
    QString name;                   // in the refusal of the right
    QString header, prefix;         // the audited header and its column prefix (<prefix>checker)
    bool rightWaivedWhenKept = false;  // keepAudited needs no right (a change of date)
    // Documents made from this one refuse the cancel: rows of `table` whose `column` is the
    // number, named in the refusal as `what` (入库/出库) to be deleted in `screen`.
    struct LaterDocuments
    {
        QString table, column, what, screen;
    } later;
    QString stockType;              // the stock test of CheckNegativeStock, in the header's warehouse
};

// The check of a kind the posting kit posts, under the right (module, position).
CancelCheck CheckOf(const DocumentKind &posting, const QString &module, int position);

UnauditOutcome CheckCancel(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                           const QString &number, const UnauditOptions &options, const CancelCheck &check);

// The audited header of `number` in `table` (status column `statusColumn` = 1), all columns as
// texts; empty when there is none.
postingsupport::RowTexts AuditedHeader(const QSqlDatabase &db, const QString &table, const QString &statusColumn,
                                       const QString &number);
