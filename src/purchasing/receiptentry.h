#pragma once

// The entry page of the purchase receipt (and of the order, which shares its lines' columns): its grid's statement, the lines a scanned barcode or a
// kit adds, the removal of a line, the discard on closing and the totals at the bottom. Every
// adding action first tests the number against other operators' lines (DraftLines::
// numberForNewLines: a new number for the day, the operator's lines moving along) and writes
// in one transaction; a database error shows "添加商品失败：" and its text and writes nothing.

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"
#include "purchasing/purchasedoc.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// What the kit picker hands back: kit code, kit name and the quantity as typed.
struct KitChoice
{
    QString code;
    QString name;
    QString quantityText;
};

class ReceiptEntry
{
public:
    // The receipt's entry page, or the order's (kind Order: jxc_cgsp, every scan a new line).
    ReceiptEntry(const QSqlDatabase &db, const LoginState &state, Notices &notices,
                 PurchaseKind kind = PurchaseKind::Receipt);

    // The operator's lines of `number`: every jxc_jhsp column, dj = jh_dj × jh_dzl (折后价) and
    // the goods' g_name, g_jm, gg_name, color_name, g_sccs, g_kc, g_bz, hj_name; by id.
    ListStatement linesStatement(const QString &number) const;

    // A barcode scanned on the entry page (steps of "tSptmKeyDown"): the goods by its main
    // barcode, then with UseAuxUnits by a unit's barcode (that unit, its factor and its own
    // price) and by an extra barcode, each by id; the price by PurchasePriceDefault rounded to
    // PriceDecimals. With `refuseRepeats` a goods already under the number (any operator's line)
    // is refused. With ScanAddsQty the operator's line of that goods and barcode takes one more,
    // else a new line: quantity 1, rate 0, discount 1, amounts = price (TotalDecimals with
    // RoundTotals), jh_rksl 1 (0 with SeparateStockIn), g_sptm the scanned code.
    // Refused: "没有找到与该条码匹配的商品，请检查！" or the repeat text (both shown).
    PurchaseResult scan(DocumentContext &context, const QString &code, bool refuseRepeats);

    // The kit's bill of materials as lines, in jxc_plxx id order: quantity pl_sl × q, the
    // component's price by PurchasePriceDefault, its unit and barcode, rate 0, discount 1,
    // jh_rksl the quantity (0 with SeparateStockIn); then the operator's lines of the number get
    // jh_zje rounded (TotalDecimals with RoundTotals, else PriceDecimals). `note` receives
    // kit name + "：【数量：" + q + "】  配料入库。".
    PurchaseResult addKit(DocumentContext &context, const KitChoice &kit, QString *note);

    // The warehouses a receipt may go into, by id: all of them, or with BindOperatorWarehouse
    // "1" and a role other than the administrator's those naming the operator (whole codes).
    KeyedItems warehouses() const;

    // Deletes the operator's line (one statement); false and "删除商品失败：…" on failure.
    bool removeLine(qint64 lineId);
    // Deletes the operator's lines of the number (No to the closing question).
    void discard(const QString &number);

    // Σ jh_zje of the number's lines other than "00000000", every operator's, rounded to
    // TotalDecimals with RoundTotals.
    double payable(const QString &number) const;
    // What the paid box shows after the lines changed: the payable when PurchasePaidDefault is
    // "0", else what was typed.
    double paidAfterChange(double payable, double typedPaid) const;

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    PurchaseKind m_kind;
};
