#pragma once

// The rules of the purchase goods pickers (receipt, return and order variants): the goods list
// by its filters, the sort expression of each list mode, the basket view, the direct adding of
// goods with its one question per batch, the basket's cell edits and commands, and 确定, which
// turns the basket into the document's lines.

#include "foundation/basket.h"
#include "foundation/db/liststatement.h"
#include "foundation/linemath.h"
#include "purchasing/purchasedoc.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class Notices;
struct DocumentContext;
struct LoginState;

// The list mode of the receipt and order pickers: "1" all goods, "2" the warehouse's
// (with or without the supplier filter), "3" the supplier's only.
enum class PickerListMode { All = 1, Warehouse = 2, Supplier = 3 };

struct PickerFilters
{
    bool warehouse = false;  // chkCk "只显示所选仓库的商品信息"
    bool supplier = false;   // chkGhs "只显示当前供货商的商品信息"
    QString classSn;         // the second page: goods of this class only (not its sub-classes)
};

PickerListMode PickerModeOf(const PickerFilters &filters);

// The goods the picker lists (enabled goods, never "00000000", by g_cgpl descending then g_sn),
// every goods column and kc_sl, for the document's warehouse and supplier:
//   receipt, order: both boxes: goods of audited documents (receipts; the order's orders) of the
//   supplier into the warehouse that have a stock row there, kc_sl of that row; supplier only:
//   goods of the supplier's audited documents, the total stock g_kc; warehouse only: with
//   BindOperatorWarehouse every goods, else those with a stock row there, kc_sl of the
//   warehouse (empty without a row); none: every goods, g_kc.
//   return (ReturnOnlySuppliedGoods not off, AllowNegativeStock): limited: goods of the
//   supplier's audited receipts (into the warehouse and with stock there when negative stock is
//   not allowed); unlimited: every goods (with stock in the warehouse when negative stock is not
//   allowed); kc_sl of the warehouse, 0 without a row.
ListStatement PickerGoodsStatement(const QSqlDatabase &db, const LoginState &state, PurchaseKind kind,
                                   const QString &warehouse, const QString &supplier, const PickerFilters &filters);

// The expression the database sorts the column `field` of that statement by: the stock column
// kc_sl per mode (b.kc_sl, a.g_kc, g_kc; the return's b.kc_sl or d.kc_sl), other fields "a." +
// field (plain in mode "1").
QString PickerSortExpression(const LoginState &state, PurchaseKind kind, const PickerFilters &filters,
                             const QString &field);

// One goods of a batch: its code and the stock its list row shows (the return's test).
struct PickedGoods
{
    QString goods;
    QString stockText;
};

class GoodsPickerRules
{
public:
    GoodsPickerRules(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind);

    // At every opening: the operator's scratch rows emptied.
    void open();
    int basketCount() const;

    // Whether the goods is in the basket already or on a line of the document (the entry
    // page's number or the pending document, whoever entered the line).
    bool isDuplicate(const DocumentContext &context, const QString &goods) const;
    // One goods for the line dialog: asks "该商品已添加，需要重复添加吗？" for a duplicate
    // (receipt, order); false when the operator said No.
    bool mayAddOne(const DocumentContext &context, const QString &goods);

    // Goods added without the dialog (a batch of two or more, or a double click with
    // PickerDblClickSelect): the receipt and order refuse a default quantity of 0 or less
    // ("默认添加数量必须大于0！") and ask once per batch for duplicates; the return tests the
    // stock shown against 1, refusing once ("库存数量小于退货数量，不能退货！") or asking once
    // ("…继续退货吗?"). The rows go in the order given, in one transaction. Returns the rows
    // added (−1 refused).
    int addDirect(const DocumentContext &context, const QList<PickedGoods> &goods, double defaultQuantity);

    // A typed basket cell (receipt, order).
    bool editCell(qint64 rowId, LineCell cell, const QString &typed);
    // "删除(Del)" and "删除全部(&Z)" after their questions.
    bool removeRow(qint64 rowId);
    bool removeAll();
    // No to the closing question.
    void discard();

    // 确定: rows without a goods code dropped (not by the return); on the entry page the number
    // tested against other operators' lines of the variant's table (the context takes a new
    // one), on the pending page the document's own number; the basket copied in ascending id
    // (jh_rksl: the receipt's 0 with SeparateStockIn, else the quantity; the order's the
    // quantity), the operator's scratch rows emptied, the pending header re-summed; one
    // transaction. A database error shows "添加商品失败：" with its text.
    PurchaseResult confirm(DocumentContext &context);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
    PurchaseKind m_kind;
};
