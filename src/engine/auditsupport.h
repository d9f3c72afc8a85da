#pragma once

// Small pieces shared by the purchase, sales, receipt and payment postings: reading one row as
// texts, inserting a row with its texts cut to the column widths, the stock row and goods
// average steps, and the default records the postings fall back on.

#include "foundation/columnwidth.h"  // CutToColumn

#include <QHash>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

struct LoginState;

namespace postingsupport {

// One row read as texts, keyed by the lower-case column name; numbers in the canonical number
// text, NULL as the empty text. Empty when the query gives no row.
using RowTexts = QHash<QString, QString>;
RowTexts ReadFirstRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});
QVector<RowTexts> ReadRows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// A number read from a row text; the empty text counts as 0.
double Num(const RowTexts &row, const QString &column);

// The foundation's cut to a column's width (the catalogue's widths, one place).
using ::CutToColumn;
// "substr(<expr>, 1, <width>)" for a text column with a width, else `expr`: for insert-selects.
QString CutSql(const QString &table, const QString &column, const QString &expr);

// Inserts one row; text values are cut to their column widths. Returns the new id.
using ColumnValues = QVector<QPair<QString, QVariant>>;
qint64 InsertRow(const QSqlDatabase &db, const QString &table, const ColumnValues &values);

// Whether the goods has a stock row jxc_kcsp in the warehouse.
bool StockRowExists(const QSqlDatabase &db, const QString &goods, const QString &warehouse);

// Goods average over all stock rows, weighted by kc_zsl and rounded to the price decimals;
// -1 when the book quantities sum to zero.
double GoodsAverageCost(const QSqlDatabase &db, const LoginState &state, const QString &goods);

// StockRowExists and GoodsAverageCost for several goods in one statement each. `goods[i]` is
// answered at position i; the goods are those of one group (see engine::GroupsByOccurrence).
std::vector<bool> StockRowsExist(const QSqlDatabase &db, const QStringList &goods, const QString &warehouse);
// Stock rows of one group of goods: `updates` rows (id, goods, warehouse, qty on hand, book qty)
// add to kc_sl and kc_zsl of existing rows; `inserts` rows (id, goods, warehouse, qty on hand,
// cost price, book qty) are new stock rows, written in id order.
void AddStockRows(const QSqlDatabase &db, const std::vector<QVariantList> &updates,
                  const std::vector<QVariantList> &inserts);
std::vector<double> GoodsAverageCosts(const QSqlDatabase &db, const LoginState &state, const QStringList &goods);

// The default warehouse (ck_default set, first by id; else the first warehouse). The default
// supplier is the foundation's GetDefaultSupplierSn.
QString DefaultWarehouseSn(const QSqlDatabase &db);
QString DefaultWarehouseName(const QSqlDatabase &db);

// "case when coalesce(den, 0) = 0 then num else num / den end": a zero or NULL divisor (a
// unit factor, a quantity) leaves the numerator as it is instead of failing on PostgreSQL.
QString GuardedDivSql(const QString &num, const QString &den);

// Freight and packing that we pay (header freight payer "我方付运费"): for each amount above 0
// an expense row in jxc_yyfy and a cash row "费用付款" in the document's account, both under
// the document's number and both naming that account. Returns whether a row was written.
struct FreightPosting
{
    QString number, date, account;
    QString handlerSn, handlerName, partnerSn, partnerName;
    QString notePrefix;  // "采购单" or "销售单"
    double freight = 0, packing = 0;
};
bool PostFreightAndPacking(const QSqlDatabase &db, const LoginState &state, const FreightPosting &f);

// One document line in the spreading of a settlement difference.
struct SpreadLine
{
    qint64 id = 0;
    double qty = 0;        // jh_sl / ls_sl
    double total = 0;      // jh_zje / ls_zje
    double tax = 0;        // jh_tax / ls_tax
    double discount = 1;   // ls_dzl (1 for purchase lines)
    double taxPrice = 0;   // jh_taxdj / ls_taxdj
    double price = 0;      // jh_dj / ls_dj
    double amount = 0;     // jh_je / ls_je
    double taxAmount = 0;  // jh_taxje / ls_taxje
    bool ordinary = false; // takes a share: quantity above 0 (sales: and gift tag exactly '')
};

// Spreads due − paid over the ordinary lines in rounds of (rest / their count) rounded to the
// price decimals, each taken off every ordinary line whose total reaches it; after a round
// the ordinary lines' prices are recomputed from their totals and every line with a quantity
// gets amount = price × qty. A round that changes no line (the share rounds to 0, or no line
// reaches it) takes the rest, rounded, off the ordinary line with the largest total that can
// carry it (lowest id on a tie) and ends the spreading. Returns the lines' total afterwards
// (due when nothing was to spread); `changed` tells whether the lines were touched.
double SpreadDifference(QVector<SpreadLine> &lines, double due, double paid, int priceDecimals,
                        bool *changed);

// Settlement kind "0" (按实付款结算): the amount owed becomes the amount paid.
bool SettlesByPayment(const QString &jsfsText);

} // namespace postingsupport
