#pragma once

// The rules of the stocktaking window TF_Kcpd and its line dialog TF_Kcpd_Sele: the entry grid's
// statement and the totals, the line a scanned barcode adds, the removal of a goods, the save
// with its checks against later counts and later business, and the line dialog's opening and
// 确定 by mode. A line holds the count (pd_sl) beside the book figures of the stock row when it
// was written (kc_sl, kc_zsl), valued at the stock row's cost (pd_dj) as (count − book) × cost
// (pd_zje, StocktakingLineValue); the audit renews stale book figures (poststocktaking.h).

#include "foundation/db/liststatement.h"
#include "inventory/inventorysave.h"
#include "inventory/transferlinewriter.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

// The sums of every line of a number (all operators): 盘点数量 and 库存数量.
struct CountTotals
{
    double counted = 0.0;
    double book = 0.0;
};

struct CountHeaderInput
{
    QString warehouseSn;
    QString handlerSn, handlerText;
    QString day;  // "yyyy-MM-dd"
    QString note;
};

// The stock row of a goods in a warehouse (the first by id); zeros without one.
struct CountStock
{
    double onHand = 0.0;  // kc_sl
    double cost = 0.0;    // kc_cbj
    double book = 0.0;    // kc_zsl
    bool exists = false;
};

struct CountLineOpening
{
    InventoryGoodsLabels goods;  // 当前库存: the stock row's kc_sl ("0" without one)
    double count = 0.0;          // 盘点数量
};

class StocktakingRules
{
public:
    StocktakingRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The operator's lines of the number with the goods' g_name, g_jm, dw_name, gg_name,
    // color_name; by id.
    ListStatement linesStatement(const QString &number) const;
    CountTotals totals(const QString &number) const;
    CountStock stockOf(const QString &goods, const QString &warehouse) const;

    // The code a scanned text stands for (the box shows it): trimmed, the part before a "，".
    static QString ScannedCode(const QString &typed);

    // A barcode (Enter in 条码): the part before a full-width "，"; the first goods by id whose
    // code or barcode it is ("没有找到与该条码匹配的商品，请检查！"); a goods already on the number
    // (any operator) "该商品已经存在，不能重复盘点！"; else, after the day's number lock and the
    // number test, a line counting the book quantity of the warehouse's stock row at its cost.
    InventoryResult scan(DocumentContext &context, const QString &typed);

    // "删除": the operator's line and the operator's other lines of that goods under the number.
    bool removeGoods(const QString &number, qint64 lineId);
    // No to the closing question: the operator's lines of the number deleted.
    void discard(const QString &number);

    // "保存(F5)": "单据中没有业务发生，不能保存！", "请选择经办人！", "请选择仓库！"; a count of the
    // warehouse dated after the day ("在【d】日期之后已有盘点单，不能再次盘点！"); a ledger row of a
    // counted goods in the warehouse after the day ("在【d】日期之后盘点的商品已发生业务，不能盘点！");
    // then the shared save: ck_sn, u_sn, the note through SafeText, pd_sl and kc_sl the totals;
    // the log "增加库存盘点单…，共n种商品"; with AuditOnSave RunAuditStocktaking (no pre-audit
    // check, no right).
    InventorySaveResult save(const QString &number, int lines, const CountHeaderInput &input);

    // The line dialog: the goods from jxc_goods with the stock of the context's warehouse; the
    // count the book quantity, or by mode the line's pd_sl (Draft, Pending) or the basket row's
    // ts_sl (BasketModify).
    CountLineOpening open(const DocumentContext &context, InventoryLineMode mode, const QString &goods,
                          qint64 rowId) const;
    // 确定: "数量不能为负数！" for a negative count (Refused); else the cost of the stock row now
    // (0 without one) and the value StocktakingLineValue against the line's own book quantity
    // (Draft, Pending, BasketModify) or the stock row's (BasketAdd, a new basket row with ts_je
    // its kc_zsl). A pending line is written after its document was re-read under its locks
    // and becomes the operator's. One transaction; the context hears that its lines changed.
    InventoryResult write(DocumentContext &context, InventoryLineMode mode, const QString &goods, qint64 rowId,
                          double count);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
