#pragma once

// InventoryPosting: the audit of the documents that move stock without a partner (transfers,
// losses and overflows; stocktakings and production follow the same road), written once and
// driven by a description of the document type (InventoryKind) over the posting kit
// (postingkit.h). In one Transaction, joining an open one as a savepoint:
//
//   1. the posting locks: every header row of the number, the goods of its lines (sorted) and
//      the number's stem (prefix + yyMMdd: the saves of that day take it too);
//   2. CheckBeforeAudit (a text other than "ok" is the refusal);
//   3. the headers read again under the locks: none is refused ("单据<N>不存在，不能审核！"), any
//      audited one ends the audit with AlreadyAudited, nothing written and nothing to show;
//   4. the newest header's handler and warehouses and every line's goods must exist, else
//      "单据<N>的经手人、仓库或商品资料不存在，不能审核！";
//   5. the type's stock test (CheckNegativeStock): a refusal with AllowNegativeStock off, else a
//      Question until the caller repeats the call confirmed;
//   6. the type's own check (`prepare`), which may refuse;
//   7. status 1, checker and today on the newest header; the other pending copies deleted;
//   8. the kit's posting (its beforeLedger hook, ledger rows in line order, stock rows, walks,
//      goods, the log line, the reserved goods' zero rows);
//   9. the stock-difference value row (WriteStockDiffValue) when the type books one.
//
// A database failure anywhere rolls everything back: Failed with "审核失败：" + its text.

#include "engine/audit.h"
#include "engine/postingkit.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class Clock;
struct LoginState;

// The jxc_yyfy row of a document's stock difference: fy_lx, fy_sc, fy_flag and the document's
// name in the note (name + number + "成本差额").
struct StockDiffValue
{
    QString type;     // fy_lx: "费用" / "收入"
    QString section;  // fy_sc
    QString flag;     // fy_flag: "1" expense, "2" income
    QString name;     // "报损单"
};

struct InventoryKind
{
    const DocumentKind &posting;            // header, lines, prefix, date, ledger, steps, moves, log
    QString warehouseColumn = QStringLiteral("ck_sn");  // the header's warehouse the ledger rows name
    QString secondWarehouseColumn{};        // another warehouse of the header that must exist (ck_in)
    QString stockCheck{};                   // CheckNegativeStock type on warehouseColumn; empty: none
    // The value row by the sign of the rows' Σ gl_zje; an empty type books none.
    StockDiffValue below{}, above{};
    // The type's own check under the locks, before the status (may write; a text refuses).
    std::function<QString(const QSqlDatabase &, const LoginState &, const Clock &, const PostingHeader &)> prepare{};
};

// In the header row the audit reads, besides its own columns: u_name, ck_name (the warehouse of
// warehouseColumn) and ck_name2 (of secondWarehouseColumn).
inline constexpr const char *kSecondWarehouseName = "ck_name2";

AuditResult RunInventoryAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                              const InventoryKind &kind, const QString &number, bool confirmedNegativeStock);

// "单据<N>的经手人、仓库或商品资料不存在，不能审核！"
QString InventoryMissingRecordText(const QString &number);

// Σ gl_zje of the number's ledger rows.
double LedgerValueOf(const QSqlDatabase &db, const QString &number);

// One jxc_yyfy row of `amount` (none when it is 0): gl_djh the number, fy_rq the document's
// date, fy_je the amount as it is, u_sn the handler, de_sn "100001", fy_kmmc "现金", fy_chk
// "1", a_name the operator, fy_lx/fy_sc/fy_flag from `value`, fy_note value.name + number +
// "成本差额". Joins the caller's transaction.
void WriteStockDiffValue(const QSqlDatabase &db, const LoginState &state, const PostingHeader &header,
                         double amount, const StockDiffValue &value);
