#pragma once

// The sale as a document type ("XS": jxc_lsxsd / jxc_lsxssp, ls_ lines, picked through the
// basket jxc_tempspxf2) and what the sale rules share: the outcome of an action, the decimals
// of its line arithmetic, the quantity leaving stock and the run of an action that writes lines.

#include "foundation/db/liststatement.h"
#include "foundation/doctype.h"
#include "foundation/linemath.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <optional>

class Notices;
struct DocumentContext;
struct LoginState;

// 商品销售单: prefix "XS", header jxc_lsxsd dated ls_xsrq, lines jxc_lsxssp (ls_sl, ls_dj, ls_zje
// and the priced columns ls_dj … ls_dzl with the note ls_bz), basket jxc_tempspxf2, page tags
// "spxs" / "spxssh".
DocType SaleDocType();

// The lines of sale `number` with every jxc_lsxssp column, g_name = the goods' name with the
// line's barcode mark and gift tag, sj = ls_dj × ls_dzl (折后价) and the goods' g_jm, g_jj,
// gg_name, color_name, g_sccs, g_kc, g_bz; by id. Only `operatorName`'s lines when given (the
// entry page), every operator's otherwise (a pending sale).
ListStatement SaleLinesStatement(const QString &number, const QString &operatorName = {});

// How an action ended. Refused and Failed have shown their text; Declined is a No (or nothing
// to do).
enum class SaleStatus { Done, Refused, Declined, Failed };

struct SaleResult
{
    SaleStatus status = SaleStatus::Done;
    QString number;     // the document's number afterwards (renumbered or not)
    qint64 lineId = 0;  // the line written, where there is one

    bool done() const { return status == SaleStatus::Done; }
};

// An action that writes lines of the context's document: `write` runs in one transaction and
// returns the number the lines went under; then the context takes that number and hears that
// its lines changed. A database error rolls everything back and shows `failure` + the
// database's text (status Failed).
SaleResult RunSaleWrite(const QSqlDatabase &db, Notices &notices, DocumentContext &context, const QString &failure,
                        const std::function<QString(SaleResult &result)> &write);

// Prices round to PriceDecimals, amounts of a grid edit to AD (TotalDecimals with RoundTotals,
// else PriceDecimals).
LineDecimals SaleCellDecimals(const LoginState &state);
// AD when RoundTotals is on, else no rounding (scans, direct adds, the whole-order discount).
std::optional<int> SaleAmountRounding(const LoginState &state);
// The quantity that leaves stock now: the quantity, or 0 with SeparateStockOut.
double SaleStockOut(const LoginState &state, double quantity);
// MinSaleDiscount as a number (0 when unset).
double MinSaleDiscountOf(const LoginState &state);
// "商品的最低折扣为：“0.8”，\r\n\r\n打折率不能低于最低折扣！" with the parameter in the canonical
// number text.
QString MinDiscountText(const LoginState &state);
