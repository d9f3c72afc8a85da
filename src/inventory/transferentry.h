#pragma once

// The entry page of the stock transfer: its grid's statement, the line a scanned barcode adds,
// the removal of a line and the discard on closing. Every line write first takes the day's
// number lock and tests the number against other operators' lines (DraftLines::
// numberForNewLines: a new number for the day, the operator's lines moving along) in one
// transaction; a database error shows "添加商品失败：" and its text and writes nothing.

#include "foundation/db/liststatement.h"
#include "inventory/inventorydoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

class TransferEntry
{
public:
    TransferEntry(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The operator's lines of `number`: every jxc_dbsp column with the goods' g_name, g_jm,
    // gg_name, color_name, g_pjjj; by id.
    ListStatement linesStatement(const QString &number) const;

    // The code a scanned text stands for: trimmed, and only the part before a full-width "，".
    static QString ScannedCode(const QString &typed);

    // A barcode scanned on the entry page: the goods by its barcode (with UseAuxUnits also a
    // unit's and an extra barcode) among those with a stock row in the out warehouse (with
    // kc_sl > 0 unless AllowNegativeStock), the first by code; with `refuseRepeats` a goods
    // already under the number (any operator's line) is refused; the unit, factor and sale price
    // of the auxiliary unit whose barcode it is, else the base unit, 1 and g_sj; the stock test
    // against the factor (asked with AllowNegativeStock, else refused); the cost GetCostPrice ×
    // factor at the document's day. With ScanAddsQty the operator's line of that number, goods
    // and barcode takes one more, else a new line. The context's number and warehouse are the
    // document's.
    InventoryResult scan(DocumentContext &context, const QString &code, bool refuseRepeats);

    // Deletes the operator's line (the question is the screen's); "删除失败：…" on failure.
    bool removeLine(qint64 lineId);
    // Deletes the operator's lines of the number (No to the closing question).
    void discard(const QString &number);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
