#pragma once

// Turning what audited purchase orders still have open into lines of the receipt being entered
// ("导入订单"). Two views: whole orders ("单据表", 确定 replaces the receipt's lines by the
// order's) and order lines of any orders ("明细表", the chosen lines are appended). Each written
// receipt line keeps its order line: gl_djh2 the order, id3 the order line's id2, so that the
// receipt's audit advances the order's received quantities (jh_rksl, jh_qxsl) and its cancel
// takes them back. Void orders (j_qk 1) are never offered; "显示已完成单据" adds the orders and
// lines received in full.

#include "foundation/db/liststatement.h"
#include "foundation/keyedlists.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>

#include <optional>

class Notices;
struct DocumentContext;
struct LoginState;

struct OrderImportFilter
{
    QString from;                  // "yyyy-MM-dd"
    QString to;                    // "yyyy-MM-dd" (the whole day counts)
    QString warehouse = kAllKey;   // ck_sn, or "-1" for all
    QString key;                   // as typed
    bool showFinished = false;     // "显示已完成单据"
};

// What the receipt window takes from the order: note, supplier, settlement index, and the
// warehouse, handler and account by their texts. `wholeDocument`: also 原始单号 := the order,
// invoice number empty, invoice amount, freight and packing 0.
struct ImportedOrderHeader
{
    QString order;
    QString note;
    QString supplierSn;
    QString supplierName;
    int settleIndex = 1;
    QString warehouseName;
    QString handlerName;
    QString accountText;
    bool wholeDocument = false;
};

class OrderImportRules
{
public:
    OrderImportRules(const QSqlDatabase &db, const LoginState &state, Notices &notices);

    // "所有仓库" (key "-1") and every warehouse by id, or only the operator's when operators are
    // bound to warehouses (then without the all item).
    KeyedItems warehouses() const;

    // 单据表: audited orders in the period (j_jhrq as text, to + " 23:59:00"), not void, with an
    // open line (jh_sl > jh_rksl) unless showFinished, of the warehouse, whose number or
    // supplier's name, short code or code contains the key; with ck_name, u_name, ghs_name, by
    // number and id descending.
    ListStatement documents(const OrderImportFilter &filter) const;
    // The lines of one order with the goods' names and dsl = jh_sl − jh_rksl, by id.
    ListStatement orderLines(const QString &order) const;
    // 明细表: lines of such orders (open lines unless showFinished) whose order number,
    // supplier name, short code or code, goods code, name or short code contains the key; with
    // the order's date, warehouse, handler and supplier, by order number and line id descending.
    ListStatement lines(const OrderImportFilter &filter) const;

    // 确定 in 单据表: in one transaction the receipt's number is tested (another operator's lines:
    // the next number of the day, which the context takes), the operator's lines under it are
    // deleted and the order's lines written (the open ones with remaining quantities, all of
    // them with `ordered`), by line id. nullopt when the order is not found or on a database
    // error ("添加商品失败：…", nothing written).
    std::optional<ImportedOrderHeader> importDocument(DocumentContext &receipt, const QString &order, bool ordered);
    // 明细表: the order lines `lineIds` appended in that order (a line twice gives two lines);
    // the header from the order of the first. nullopt when none is given or on an error.
    std::optional<ImportedOrderHeader> importLines(DocumentContext &receipt, const QList<qint64> &lineIds, bool ordered);

private:
    // The receipt line of order line `lineId` under `number` (nothing when it is not open and
    // `ordered` is off).
    void writeLine(const QString &number, qint64 lineId, bool ordered);
    std::optional<ImportedOrderHeader> header(const QString &order) const;
    QString periodAndPlace(const OrderImportFilter &filter, QVariantList &binds) const;

    QSqlDatabase m_db;
    const LoginState &m_state;
    Notices &m_notices;
};
