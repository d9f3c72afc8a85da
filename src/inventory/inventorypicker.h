#pragma once

// The rules of the inventory goods pickers (TF_Kcdb_Add, TF_Bsby_Add): the goods lists of the
// document's warehouse, the basket view, the goods added without the line dialog, the basket's
// commands and 确定, which turns the basket into the document's lines.

#include "foundation/db/liststatement.h"
#include "inventory/inventorydoc.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// The goods the picker lists: not disabled, not "00000000", with a stock row in the warehouse
// whatever its quantity; of the class `classSn` when given. Transfer: every goods column with
// kc_sl, ck_sn, kc_cbj, by the stock row's id (by code descending for a class); loss and
// overflow: code, short code, name, unit, specification, barcode, colour, g_kc and kc_sl, by
// code.
ListStatement InventoryPickerGoods(InventoryDoc doc, const QString &warehouse, const QString &classSn = QString());
// The expression the database sorts a list column by: the stock row's kc_sl and kc_cbj, else
// the goods' own column.
QString InventoryPickerSortExpression(const QString &field);
// The operator's basket rows with the goods' g_name, gg_name, color_name (and dw_name for the
// loss and stocktaking basket, whose rows carry no unit), by id (the stocktaking's newest first).
ListStatement InventoryBasketStatement(InventoryDoc doc, const LoginState &state);

// One goods of a batch and the stock its list row shows.
struct PickedGoods
{
    QString goods;
    double stock = 0.0;
};

// The most rows a picker adds in one batch.
inline constexpr int kMostPickedAtOnce = 300;

class InventoryPickerRules
{
public:
    InventoryPickerRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                         InventoryDoc doc);

    InventoryDoc doc() const { return m_doc; }
    // At every opening: the operator's scratch rows emptied.
    void open();
    int basketCount() const;

    // Transfer goods added without the dialog (two or more selected, or a double click with
    // PickerDblClickSelect): a default quantity of 0 or less is refused ("默认添加数量必须大于
    // 0！"); a stock below 1 is a shortage, answered once per batch (refused "调拨数量不能大于库存
    // 数量，重新输入！" and skipped; with AllowNegativeStock asked, No skips, Yes adds the batch's
    // shortages); each row: cost GetCostPrice at the document's day, the default quantity, the
    // amount (× g_sj with TransferPriceBasis "1") by RoundTotals, ts_dzl g_sj, the base unit, the
    // goods' barcode, "" and 0; in one transaction. Returns the rows added, −1 when refused.
    int addTransferGoods(const DocumentContext &context, const QList<PickedGoods> &goods, double defaultQuantity);
    // A loss or overflow goods added at once (double click with PickerDblClickSelect): quantity 1
    // at GetCostPrice of the document's day, no note.
    bool addAtCost(const DocumentContext &context, const QString &goods);

    // Stocktaking: whether the goods is in the basket or already a line of the target's number
    // (any operator's); then "该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！" is shown.
    bool refuseCounted(const DocumentContext &context, const QString &goods);
    // Stocktaking goods added without the dialog, in the order given: each counted at its stock
    // row in the warehouse (ts_dj = ts_sl = kc_sl, ts_dzl kc_cbj, ts_zje 0, ts_je kc_zsl); one in
    // the basket or on the number is skipped with the message above, shown once until
    // clearDuplicateNotice. More than 300 at once are refused ("批量添加不能超过300行！"). One
    // transaction; returns the rows added, −1 when refused or on a database error.
    int addCounted(const DocumentContext &context, const QStringList &goods);
    void clearDuplicateNotice() { m_duplicateShown = false; }

    // "删除(Del)" and "删除全部(&Z)" after their questions; No to the closing question.
    bool removeRow(qint64 rowId);
    bool removeAll();
    void discard() { removeAll(); }

    // 确定: nothing with an empty basket; on the entry page the day's number lock and the number
    // test on the lines table (the context takes a new number), on the pending page its
    // document re-read under the locks ("单据…的状态已改变，请重新查询！"); the basket copied in
    // basket order (the loss and overflow amounts rounded to TotalDecimals), the operator's
    // scratch rows emptied; one transaction. A database error shows "添加商品失败：" with its text.
    InventoryResult confirm(DocumentContext &context);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
    InventoryDoc m_doc;
    bool m_duplicateShown = false;
};
