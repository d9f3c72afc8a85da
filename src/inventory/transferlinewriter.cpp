#include "inventory/transferlinewriter.h"

#include "engine/costprice.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

#include <QSqlQuery>

InventoryGoodsLabels ReadInventoryGoods(const QSqlDatabase &db, const QString &goods, const QString &warehouse)
{
    InventoryGoodsLabels g;
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select g_sn, g_name, gg_name, dw_name, g_sccs, color_name, g_bz from jxc_goods "
                                            "where g_sn = ?"),
                             {goods});
    if (q.next()) {
        g.code = q.value(0).toString();
        g.name = q.value(1).toString();
        g.spec = q.value(2).toString();
        g.baseUnit = q.value(3).toString();
        g.maker = q.value(4).toString();
        g.colour = q.value(5).toString();
        g.note = q.value(6).toString();
    }
    g.stock = GetStockQty(db, warehouse, goods);
    return g;
}

TransferLineWriter::TransferLineWriter(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                       Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

TransferLineOpening TransferLineWriter::open(const DocumentContext &context, InventoryLineMode mode,
                                             const QString &goods, qint64 rowId) const
{
    TransferLineOpening o;
    o.goods = ReadInventoryGoods(m_db, goods, context.warehouse);
    o.units = FillGoodsUnits(m_db, m_state, goods);
    {
        QSqlQuery q = OpenSelect(m_db, QStringLiteral("select g_jj, g_sj from jxc_goods where g_sn = ?"), {goods});
        if (q.next()) {
            o.price = q.value(0).toDouble();
            o.salePrice = q.value(1).toDouble();
        }
    }
    QString unit;
    const DocType type = InventoryDocType(InventoryDoc::Transfer);
    switch (mode) {
    case InventoryLineMode::BasketAdd:
        o.price = GetCostPrice(m_db, m_state, m_clock, goods, context.warehouse, context.day);
        break;
    case InventoryLineMode::Draft:
    case InventoryLineMode::Pending: {
        const QVariantMap line = DraftLines(m_db, type, m_state)
                                     .readLine(rowId, {QStringLiteral("db_sl"), QStringLiteral("db_dj"), QStringLiteral("db_sj"),
                                                       QStringLiteral("dw_name"), QStringLiteral("gl_djh2"), QStringLiteral("idck")});
        if (!line.isEmpty()) {
            o.quantity = line.value(QStringLiteral("db_sl")).toDouble();
            o.price = line.value(QStringLiteral("db_dj")).toDouble();
            o.salePrice = line.value(QStringLiteral("db_sj")).toDouble();
            unit = line.value(QStringLiteral("dw_name")).toString();
            o.batchNumber = line.value(QStringLiteral("gl_djh2")).toString();
            o.sourceId = ValueText(line.value(QStringLiteral("idck")));
        }
        break;
    }
    case InventoryLineMode::BasketModify: {
        const QVariantMap row = Basket(m_db, type, m_state)
                                    .readRow(rowId, {QStringLiteral("ts_sl"), QStringLiteral("ts_dj"), QStringLiteral("ts_dzl"),
                                                     QStringLiteral("dw_name"), QStringLiteral("gl_djh2"), QStringLiteral("idck")});
        if (!row.isEmpty()) {
            o.quantity = row.value(QStringLiteral("ts_sl")).toDouble();
            o.price = row.value(QStringLiteral("ts_dj")).toDouble();
            o.salePrice = row.value(QStringLiteral("ts_dzl")).toDouble();
            unit = row.value(QStringLiteral("dw_name")).toString();
            o.batchNumber = row.value(QStringLiteral("gl_djh2")).toString();
            o.sourceId = ValueText(row.value(QStringLiteral("idck")));
        }
        break;
    }
    case InventoryLineMode::None:
        break;
    }
    if (o.sourceId.isEmpty())
        o.sourceId = QStringLiteral("0");
    if (!unit.isEmpty()) {
        o.unitIndex = int(o.units.indexOf(unit));
        if (o.unitIndex < 0) {
            o.units << unit;
            o.unitIndex = int(o.units.size()) - 1;
        }
    }
    return o;
}

TransferUnitPrices TransferLineWriter::unitPrices(const DocumentContext &context, const QString &goods,
                                                  const QString &unit, bool baseUnit) const
{
    TransferUnitPrices p;
    QSqlQuery q = baseUnit ? OpenSelect(m_db, QStringLiteral("select g_jj, g_sj, 1 from jxc_goods where g_sn = ?"), {goods})
                           : OpenSelect(m_db,
                                        QStringLiteral("select g_jj, g_sj, g_zhxs from jxc_goodsdw where g_sn = ? "
                                                       "and dw_name = ? order by id limit 1"),
                                        {goods, unit});
    if (q.next()) {
        p.price = q.value(0).toDouble();
        p.salePrice = q.value(1).toDouble();
        p.factor = q.value(2).isNull() ? 1.0 : q.value(2).toDouble();
    }
    if (m_state.TransferPriceBasis != QLatin1String("2"))
        p.price = GetCostPrice(m_db, m_state, m_clock, goods, context.warehouse, context.day) * p.factor;
    return p;
}

InventoryResult TransferLineWriter::write(DocumentContext &context, InventoryLineMode mode, const QString &goods,
                                          qint64 rowId, const TransferLineInput &in)
{
    InventoryResult result;
    result.number = context.number;
    result.lineId = rowId;
    result.status = CheckLineQuantity(m_notices, mode, in.quantity);
    if (!result.done())
        return result;
    const QString failure = mode == InventoryLineMode::BasketAdd ? QStringLiteral("添加商品失败：")
                                                                 : QStringLiteral("修改商品失败：");
    const double price = RoundTo(in.price, m_state.PriceDecimals);
    const double sale = RoundTo(in.salePrice, m_state.PriceDecimals);
    QString barcode;
    double factor = 1.0;
    try {
        barcode = GetUnitBarcode(m_db, m_state, goods, in.unit);
        if (IsTrue(m_state.UseAuxUnits))
            factor = GetUnitFactor(m_db, goods, in.unit);
    } catch (const DbError &e) {
        m_notices.notice(failure + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    if (in.quantity * factor > TextToNumber(in.stockText)) {
        if (!IsTrue(m_state.AllowNegativeStock)) {
            m_notices.notice(QStringLiteral("调拨数量不能大于库存数量，重新输入！"));
            result.status = InventoryStatus::Refused;
            return result;
        }
        if (!m_notices.confirm(QStringLiteral("调拨数量不能大于库存数量，调拨后将产生负库存，继续调拨吗?"))) {
            result.status = InventoryStatus::Declined;
            return result;
        }
    }
    const double amount = TransferAmount(m_state, in.quantity * (TransferAtSalePrice(m_state) ? sale : price));
    const qint64 sourceId = in.sourceId.trimmed().toLongLong();
    // The basket carries the sale price in ts_dzl; the line in db_sj.
    const bool basket = mode == InventoryLineMode::BasketAdd || mode == InventoryLineMode::BasketModify;
    const QString p = basket ? QStringLiteral("ts_") : QStringLiteral("db_");
    QVariantMap values{{p + QStringLiteral("dj"), price},
                       {p + QStringLiteral("sl"), in.quantity},
                       {p + QStringLiteral("zje"), amount},
                       {basket ? QStringLiteral("ts_dzl") : QStringLiteral("db_sj"), sale},
                       {p + QStringLiteral("zsl"), in.quantity * factor},
                       {QStringLiteral("dw_name"), in.unit},
                       {QStringLiteral("g_sptm"), barcode},
                       {QStringLiteral("gl_djh2"), in.batchNumber},
                       {QStringLiteral("idck"), sourceId}};
    const InventoryResult written = RunLineWrite(m_db, m_notices, context, failure, [&]() -> QString {
        if (!basket)
            return UpdateLineByMode(m_db, m_state, InventoryDoc::Transfer, mode, context.number, rowId, values);
        Basket rows(m_db, InventoryDocType(InventoryDoc::Transfer), m_state);
        if (mode == InventoryLineMode::BasketModify) {
            rows.updateRow(rowId, values);
        } else {
            values.insert(QStringLiteral("g_sn"), goods);
            result.lineId = rows.addRow(values);
        }
        return QString();
    });
    result.status = written.status;
    return result;
}
