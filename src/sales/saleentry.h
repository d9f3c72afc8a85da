#pragma once

// The entry page of the sale: its grid's statement, the lines a scanned barcode, a kit or the
// copy of a purchase or production receipt adds, the whole-order discount, the grid edit of a
// line's cells, the removal of a line, the discard on closing and the totals at the bottom.
// Every adding action tests the number against other operators' lines first (DraftLines::
// numberForNewLines: a new number of the day, the operator's earlier lines moving along) and
// writes in one transaction; a database error shows "添加商品失败：" and its text and writes
// nothing.

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"
#include "foundation/linemath.h"
#include "sales/saledoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// What the kit picker hands back: kit code, kit name and the quantity as typed.
struct SaleKitChoice
{
    QString code;
    QString name;
    QString quantityText;
};

// Where an edited sale line lives.
enum class SaleCellPlace {
    Draft,    // the operator's line on the entry page ("spxs")
    Pending,  // a line of the pending sale `number`, whoever entered it ("spxssh")
    Basket,   // the operator's basket row of the picker (ts_ columns)
};

// The header of a copied receipt as the window shows it afterwards.
struct CopiedReceipt
{
    SaleResult result;
    bool headerFound = false;
    double amount = 0.0;    // Σ ls_zje of the number: due and received
    QString note;           // j_note or sc_note
    QString warehouseName;  // ck_name
    QString handlerName;    // u_name
};

class SaleEntry
{
public:
    SaleEntry(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The operator's lines of `number`: every jxc_lsxssp column, g_name = the goods' name with
    // the line's barcode mark and gift tag, sj = ls_dj × ls_dzl (折后价), and the goods' g_jm,
    // g_jj, gg_name, color_name, g_sccs, g_kc, g_bz; by id.
    ListStatement linesStatement(const QString &number) const;

    // A barcode scanned on the entry page: the goods by its main, unit or extra barcode among
    // those with a stock row in the context's warehouse (kc_sl > 0 unless AllowNegativeStock),
    // the customer's sale price (a unit's with a unit barcode), the stock test against one unit,
    // the warehouse cost on the document date; with ScanAddsQty one more piece on the operator's
    // line of that goods and barcode, else a new line. `refuseRepeats`: a goods already under
    // the number (any operator's line) is refused.
    SaleResult scan(DocumentContext &context, const QString &code, bool refuseRepeats);

    // The kit's components as lines (jxc_plxx id order): quantity pl_sl × k, the customer's sale
    // price, the warehouse cost, no tax or discount; then ls_zje and ls_zcb of every line of the
    // number rounded to AD. First the shortage test (a component short in the warehouse or
    // without a stock row): refused, or asked with AllowNegativeStock. `note` receives
    // "<kit name>：【数量：<k>】 配料出库。".
    SaleResult addKit(DocumentContext &context, const SaleKitChoice &kit, QString *note);

    // The whole-order discount typed into 整单折扣: a value above 0 replaces the discount of
    // every line of the number (every operator's, gifts and adjustments included) and their
    // amounts (rounded to TotalDecimals with RoundTotals). Declined for 0 or less.
    SaleResult applyWholeDiscount(DocumentContext &context, const QString &typed);

    // The copy of a purchase receipt ("CJ…", jxc_jhsp) or production receipt (jxc_scrksp) under
    // a fresh number of the context's day: its lines in id order at the goods' sale price per
    // line unit, the receipt's price as cost; then its header.
    CopiedReceipt copyReceipt(DocumentContext &context, const QString &source);

    // A typed cell of a line (grid edit): the shared arithmetic (linemath.h) with the sale's
    // options: the quantity also sets the total cost (ls_zcb / ts_zcb) and, on document lines,
    // the quantity leaving stock; a discount below MinSaleDiscount is refused with a message
    // and becomes 1. One transaction; "修改商品失败：…" on a database error. False when nothing
    // was written.
    bool editCell(SaleCellPlace place, const QString &number, qint64 id, LineCell cell, const QString &typed);

    // The warehouses a sale may leave from: all, or the operator's under BindOperatorWarehouse.
    KeyedItems warehouses() const;
    // Deletes line `lineId` of the document (one statement); "删除商品失败：…" on failure.
    bool removeLine(qint64 lineId);
    // Deletes the operator's lines of the number (No to the closing question).
    void discard(const QString &number);

    // Σ ls_zje of the number's lines other than "00000000", every operator's, rounded to
    // TotalDecimals with RoundTotals.
    double due(const QString &number) const;
    // The received box after the lines changed: the due when SalePaidDefault is "0", else what
    // was typed.
    double receivedAfterChange(double due, double typedReceived) const;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};

// The editable cell a column names (ls_dj, ls_sl, ls_tax, ls_taxdj, ls_dzl and their ts_
// twins); nothing for any other column.
std::optional<LineCell> SaleCellOf(const QString &field);
