#pragma once

// The sale goods picker TF_Spxs_Add: the goods lists by customer, warehouse and stock, the sort
// expression of a list column, the goods added without the line dialog (one question per batch
// for duplicates and for shortages), the basket's cell edits and commands, and 确定, which turns
// the basket into lines of the sale on the entry page or of the pending sale.

#include "foundation/db/liststatement.h"
#include "foundation/linemath.h"
#include "sales/saledoc.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

struct SalePickerFilters
{
    bool customer = false;   // chkKh "显示当前客户的商品"
    bool warehouse = false;  // chkCk "显示当前仓库的商品" (shown only with AllowNegativeStock)
    QString classSn;         // the second page: goods of this class only (not its sub-classes)
};

class SalePickerQuery
{
public:
    explicit SalePickerQuery(const LoginState &state) : m_state(state) {}

    // Enabled goods other than "00000000", every goods column with kc_sl of the warehouse, by
    // g_xspl descending then g_sn:
    //   negative stock not allowed: goods with kc_sl > 0 in the warehouse (with the customer box:
    //   of the customer's audited sales from this warehouse);
    //   allowed: every goods (with the customer box: of the customer's audited sales from any
    //   warehouse), kc_sl 0 without a stock row; with the warehouse box only goods with a row.
    ListStatement goods(const QString &warehouse, const QString &customer, const SalePickerFilters &filters) const;
    // The expression a list column sorts by: b.kc_sl for 库存数, else "a." + field.
    static QString sortExpression(const QString &field);
    // The operator's basket rows (PickerBasketStatement of the sale).
    ListStatement basket() const;

private:
    const LoginState &m_state;
};

// One goods of a batch and the stock its list row shows.
struct SalePickedGoods
{
    QString goods;
    double stock = 0.0;
};

class SalePickerRules
{
public:
    SalePickerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // At every opening: the operator's scratch rows emptied.
    void open();
    int basketCount() const;

    // One goods for the line dialog: "该商品已添加，需要重复添加吗？" when it is in the basket or a
    // line of the document (the entry page: the operator's lines of the number; the pending
    // page: any line of the pending sale); false when the operator said No.
    bool mayAddOne(const DocumentContext &context, const QString &goods);

    // Goods added without the dialog (two to 300 selected, or a double click with
    // PickerDblClickSelect): a default quantity of 0 or less is refused ("默认添加数量必须大于
    // 0！"); duplicates (in the basket or on any line of the number) asked once per batch; a list
    // stock below 1 refused once ("库存数量小于销售数量，不能销售！") or, with AllowNegativeStock,
    // asked once. Each row at the customer's sale price, DefaultTaxRate, the document's whole-
    // order factor and the warehouse cost on the document's cost day, amounts rounded to AD only
    // with RoundTotals; in the order given, in one transaction. Returns the rows added (−1
    // refused or failed).
    int addDirect(const DocumentContext &context, const QList<SalePickedGoods> &goods, double defaultQuantity);

    // A typed basket cell (单价, 数量, 含税单价, 打折率).
    bool editCell(qint64 rowId, LineCell cell, const QString &typed);
    // "删除(Del)" and "删除全部(&Z)" after their questions; No to the closing question.
    bool removeRow(qint64 rowId);
    bool removeAll();
    void discard() { removeAll(); }

    // 确定: rows without a goods code dropped; on the entry page the number tested against other
    // operators' lines (a new number of the day, the operator's earlier lines moving along, the
    // context told), on the pending page the pending sale's own number; the basket copied in
    // ascending id (ls_zhje = ts_zje, ls_cksl the quantity or 0 with SeparateStockOut, g_tmbz
    // empty, gl_djh3 = gl_djh2), the pending header re-summed; one transaction. A database error
    // shows "添加商品失败：" with its text.
    SaleResult confirm(DocumentContext &context);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
