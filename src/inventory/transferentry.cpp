#include "inventory/transferentry.h"

#include "engine/costprice.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

#include <QSqlQuery>

#include <optional>

namespace {

struct ScannedGoods
{
    QString goods;
    QString unit;
    double factor = 1.0;
    double salePrice = 0.0;
};

// The goods of a barcode among those stocked in the warehouse, the first by code.
std::optional<ScannedGoods> FindInWarehouse(const QSqlDatabase &db, const LoginState &state, const QString &code,
                                            const QString &warehouse)
{
    const bool units = IsTrue(state.UseAuxUnits);
    QString sql = QStringLiteral("select a.g_sn from (select g_sn from jxc_goods where g_sptm = ?");
    QVariantList binds{code};
    if (units) {
        sql += QStringLiteral(" union select g_sn from jxc_goodsdw where g_sptm = ? union select g_sn from jxc_goodstm "
                              "where g_sptm = ?");
        binds << code << code;
    }
    sql += QStringLiteral(") a join jxc_kcsp b on b.g_sn = a.g_sn where b.ck_sn = ?");
    binds << warehouse;
    if (!IsTrue(state.AllowNegativeStock))
        sql += QStringLiteral(" and b.kc_sl > 0");
    sql += QStringLiteral(" order by a.g_sn limit 1");
    const QString goods = QueryScalar(db, sql, binds);
    if (goods.isEmpty())
        return std::nullopt;
    ScannedGoods found;
    found.goods = goods;
    QSqlQuery base = OpenSelect(db, QStringLiteral("select dw_name, g_sj from jxc_goods where g_sn = ?"), {goods});
    if (base.next()) {
        found.unit = base.value(0).toString();
        found.salePrice = base.value(1).toDouble();
    }
    if (units) {
        QSqlQuery unit = OpenSelect(db,
                                    QStringLiteral("select dw_name, g_zhxs, g_sj from jxc_goodsdw where g_sn = ? "
                                                   "and g_sptm = ? order by id limit 1"),
                                    {goods, code});
        if (unit.next()) {
            found.unit = unit.value(0).toString();
            found.factor = unit.value(1).isNull() ? 1.0 : unit.value(1).toDouble();
            found.salePrice = unit.value(2).toDouble();
        }
    }
    return found;
}

} // namespace

TransferEntry::TransferEntry(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

ListStatement TransferEntry::linesStatement(const QString &number) const
{
    return {QStringLiteral("select b.*, a.g_name, a.g_jm, a.gg_name, a.color_name, a.g_pjjj from jxc_dbsp b "
                           "left join jxc_goods a on a.g_sn = b.g_sn where b.gl_djh = ? and b.a_name = ?"),
            QStringLiteral("b.id"),
            {number, m_state.CurrentOperatorName}};
}

QString TransferEntry::ScannedCode(const QString &typed)
{
    QString code = typed.trimmed();
    const int comma = code.indexOf(QChar(0xFF0C));
    if (comma >= 0)
        code = code.left(comma).trimmed();
    return code;
}

InventoryResult TransferEntry::scan(DocumentContext &context, const QString &typed, bool refuseRepeats)
{
    InventoryResult result;
    result.number = context.number;
    const QString code = ScannedCode(typed);
    if (code.isEmpty()) {
        result.status = InventoryStatus::Declined;
        return result;
    }
    const DocType type = InventoryDocType(InventoryDoc::Transfer);
    try {
        const std::optional<ScannedGoods> found = FindInWarehouse(m_db, m_state, code, context.warehouse);
        if (!found) {
            m_notices.notice(QStringLiteral("当前仓库中没有找到与该条码匹配的商品，请检查！"));
            result.status = InventoryStatus::Refused;
            return result;
        }
        if (refuseRepeats
            && !QueryScalar(m_db, QStringLiteral("select id from jxc_dbsp where gl_djh = ? and g_sn = ? limit 1"),
                            {context.number, found->goods})
                    .isEmpty()) {
            m_notices.notice(QStringLiteral("该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！"));
            result.status = InventoryStatus::Refused;
            return result;
        }
        if (TextToNumber(GetStockQty(m_db, context.warehouse, found->goods)) < found->factor) {
            if (!IsTrue(m_state.AllowNegativeStock)) {
                m_notices.notice(QStringLiteral("库存数量小于出库数量，不能出库！"));
                result.status = InventoryStatus::Refused;
                return result;
            }
            if (!m_notices.confirm(QStringLiteral("库存数量小于出库数量，调拨后将产生负库存，继续调拨??"))) {
                result.status = InventoryStatus::Declined;
                return result;
            }
        }
        const double cost = GetCostPrice(m_db, m_state, m_clock, found->goods, context.warehouse, context.day) * found->factor;
        const bool atSale = TransferAtSalePrice(m_state);

        DraftLines draft(m_db, type, m_state);
        Transaction tx(m_db);
        LockDayNumbers(m_db, type, context.day);
        const QString number = draft.numberForNewLines(context.number, context.day);
        qint64 lineId = 0;
        if (IsTrue(m_state.ScanAddsQty))
            lineId = QueryScalar(m_db,
                                 QStringLiteral("select id from jxc_dbsp where gl_djh = ? and a_name = ? and g_sn = ? "
                                                "and g_sptm = ? order by id limit 1"),
                                 {number, m_state.CurrentOperatorName, found->goods, code})
                         .toLongLong();
        if (lineId > 0) {
            QSqlQuery line = OpenSelect(m_db, QStringLiteral("select db_sl, db_zsl, db_dj, db_sj from jxc_dbsp where id = ?"),
                                        {lineId});
            line.next();
            const double quantity = line.value(0).toDouble() + 1.0;
            const double price = atSale ? line.value(3).toDouble() : line.value(2).toDouble();
            draft.updateLine(lineId, {{QStringLiteral("db_sl"), quantity},
                                      {QStringLiteral("db_zsl"), line.value(1).toDouble() + found->factor},
                                      {QStringLiteral("db_zje"), TransferAmount(m_state, price * quantity)}});
        } else {
            lineId = draft.insertLine(number, {{QStringLiteral("g_sn"), found->goods},
                                               {QStringLiteral("db_sl"), 1.0},
                                               {QStringLiteral("db_dj"), cost},
                                               {QStringLiteral("db_zje"), TransferAmount(m_state, atSale ? found->salePrice : cost)},
                                               {QStringLiteral("db_sj"), found->salePrice},
                                               {QStringLiteral("db_zsl"), found->factor},
                                               {QStringLiteral("dw_name"), found->unit},
                                               {QStringLiteral("g_sptm"), code},
                                               {QStringLiteral("gl_djh2"), QStringLiteral("")},
                                               {QStringLiteral("idck"), 0}});
        }
        tx.commit();
        context.renumber(number);
        result.number = number;
        result.lineId = lineId;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("添加商品失败：") + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    context.notifyLinesChanged();
    return result;
}

bool TransferEntry::removeLine(qint64 lineId)
{
    return RemoveDraftLine(m_db, m_state, m_notices, InventoryDoc::Transfer, lineId);
}

void TransferEntry::discard(const QString &number)
{
    DiscardDraft(m_db, m_state, m_notices, InventoryDoc::Transfer, number);
}
