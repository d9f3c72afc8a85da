#pragma once

// The rules of the transfer line dialog TF_Kcdb_Sele: what it shows at its opening (the goods,
// its stock in the document's out warehouse, its units and the line's or the default values),
// the prices of a unit, and what 确定 writes by mode.

#include "inventory/inventorydoc.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct DocumentContext;
struct LoginState;

struct InventoryGoodsLabels
{
    QString code, name, spec, baseUnit, maker, colour, note;
    QString stock;  // GetStockQty in the document's warehouse, number text
};

struct TransferLineOpening
{
    InventoryGoodsLabels goods;
    QStringList units;      // FillGoodsUnits (the line's unit added at the end when it is not one of them)
    int unitIndex = 0;
    double price = 0.0;     // 单价 per line unit
    double salePrice = 0.0; // 售价
    double quantity = 1.0;
    QString batchNumber;    // gl_djh2 carried through
    QString sourceId = QStringLiteral("0");  // idck carried through
};

struct TransferUnitPrices
{
    double price = 0.0;
    double salePrice = 0.0;
    double factor = 1.0;
};

struct TransferLineInput
{
    double quantity = 0.0;
    double price = 0.0;
    double salePrice = 0.0;
    QString unit;
    QString stockText;      // 当前库存 as shown
    QString batchNumber;
    QString sourceId = QStringLiteral("0");
};

class TransferLineWriter
{
public:
    TransferLineWriter(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // The defaults are g_jj, g_sj, quantity 1, the base unit; Draft and Pending take the line's
    // db_sl, db_dj, db_sj, dw_name, gl_djh2, idck, BasketModify the row's ts_sl, ts_dj, ts_dzl …;
    // BasketAdd the cost GetCostPrice at the document's day.
    TransferLineOpening open(const DocumentContext &context, InventoryLineMode mode, const QString &goods,
                             qint64 rowId) const;

    // A unit chosen: 单价 g_jj, 售价 g_sj and the factor of the unit (the goods' own for the base
    // unit); unless TransferPriceBasis is "2", 单价 becomes GetCostPrice × factor.
    TransferUnitPrices unitPrices(const DocumentContext &context, const QString &goods, const QString &unit,
                                  bool baseUnit) const;

    // 确定: "数量不能为0或负数，重新输入！" for a quantity of 0 or less; the prices rounded to
    // PriceDecimals; the unit's barcode and factor (1 without UseAuxUnits); quantity × factor above
    // the stock shown refused ("调拨数量不能大于库存数量，重新输入！") or asked with AllowNegativeStock
    // ("…继续调拨吗?"); the amount quantity × price (× sale price with TransferPriceBasis "1") by
    // RoundTotals; then the row by mode in one transaction (Pending: the document re-read under its
    // locks first, the line made the operator's). Tells the context its lines changed.
    InventoryResult write(DocumentContext &context, InventoryLineMode mode, const QString &goods, qint64 rowId,
                          const TransferLineInput &input);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};

// The goods' labels and its stock in `warehouse` (shared by the inventory line dialogs).
InventoryGoodsLabels ReadInventoryGoods(const QSqlDatabase &db, const QString &goods, const QString &warehouse);
