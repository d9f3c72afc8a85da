#pragma once

// The three purchase documents as document types (receipt "CJ", return "CT", order "CD") and
// what their rules share: the outcome of an action, the decimals of the line arithmetic and the
// price a new line of a goods starts with.

#include "foundation/doctype.h"

#include <QSqlDatabase>
#include <QString>

#include <functional>

class Notices;
struct DocumentContext;

struct LoginState;

enum class PurchaseKind { Receipt, Return, Order };

// Receipt: jxc_jhd/jxc_jhsp, jh_ lines with the stock-in quantity jh_rksl; order: jxc_cgd/
// jxc_cgsp with the same columns; return: jxc_thd/jxc_thsp, th_ lines, its basket rows carrying
// the source receipt (gl_djh2, idck) and kept without a goods code. All three pick into
// jxc_tempspxf2; the receipt and order serve the page tags "cgjh"/"cgjhsh", the return
// "cgth"/"cgthsh".
DocType PurchaseDocType(PurchaseKind kind);
// By the type's prefix; std::invalid_argument for another type.
PurchaseKind PurchaseKindOf(const DocType &type);

// How an action ended. Refused and Failed have shown their text; Declined is a No.
enum class PurchaseStatus { Done, Refused, Declined, Failed };

struct PurchaseResult
{
    PurchaseStatus status = PurchaseStatus::Done;
    QString number;   // the document's number afterwards (renumbered or not)
    qint64 lineId = 0;  // the line written, where there is one

    bool done() const { return status == PurchaseStatus::Done; }
};

// An action that adds lines to the context's document (a scan, a kit, a basket): `write` runs
// in one transaction and returns the number the lines went under; then the context takes that
// number and hears that its lines changed. A database error rolls everything back and shows
// "添加商品失败：" with the database's text (status Failed).
PurchaseResult RunAddingLines(const QSqlDatabase &db, Notices &notices, DocumentContext &context,
                              const std::function<QString(PurchaseResult &result)> &write);

// The goods column a new purchase line's price comes from (PurchasePriceDefault): "1" g_scjj
// (last purchase price), "2" g_jj (preset purchase price), otherwise g_pjjj (average cost).
QString PurchasePriceColumn(const LoginState &state);
// That price of a goods, rounded to PriceDecimals; 0 for an unknown goods.
double DefaultPurchasePrice(const QSqlDatabase &db, const LoginState &state, const QString &goods);
