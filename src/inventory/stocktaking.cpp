#include "inventory/stocktaking.h"

#include "engine/poststocktaking.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"
#include "inventory/transferentry.h"

#include <QSqlQuery>

namespace {

const InventoryDoc kDoc = InventoryDoc::Stocktaking;

} // namespace

StocktakingRules::StocktakingRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                   Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

ListStatement StocktakingRules::linesStatement(const QString &number) const
{
    return {QStringLiteral("select b.*, a.g_name, a.g_jm, a.dw_name, a.gg_name, a.color_name from jxc_kcpdsp b "
                           "left join jxc_goods a on a.g_sn = b.g_sn where b.gl_djh = ? and b.a_name = ?"),
            QStringLiteral("b.id"),
            {number, m_state.CurrentOperatorName}};
}

CountTotals StocktakingRules::totals(const QString &number) const
{
    CountTotals t;
    QSqlQuery q = OpenSelect(m_db, QStringLiteral("select sum(pd_sl), sum(kc_sl) from jxc_kcpdsp where gl_djh = ?"), {number});
    if (q.next()) {
        t.counted = TextToNumber(ValueText(q.value(0)));
        t.book = TextToNumber(ValueText(q.value(1)));
    }
    return t;
}

CountStock StocktakingRules::stockOf(const QString &goods, const QString &warehouse) const
{
    CountStock s;
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select kc_sl, kc_cbj, kc_zsl from jxc_kcsp where g_sn = ? and ck_sn = ? "
                                            "order by id limit 1"),
                             {goods, warehouse});
    if (q.next()) {
        s.exists = true;
        s.onHand = TextToNumber(ValueText(q.value(0)));
        s.cost = TextToNumber(ValueText(q.value(1)));
        s.book = TextToNumber(ValueText(q.value(2)));
    }
    return s;
}

QString StocktakingRules::ScannedCode(const QString &typed)
{
    return TransferEntry::ScannedCode(typed);
}

InventoryResult StocktakingRules::scan(DocumentContext &context, const QString &typed)
{
    InventoryResult result;
    result.number = context.number;
    const QString code = TransferEntry::ScannedCode(typed);
    if (code.isEmpty()) {
        result.status = InventoryStatus::Declined;
        return result;
    }
    auto refuse = [&](const char *text) {
        m_notices.notice(QString::fromUtf8(text));
        result.status = InventoryStatus::Refused;
        return result;
    };
    const DocType type = InventoryDocType(kDoc);
    try {
        const QString goods = QueryScalar(
            m_db, QStringLiteral("select g_sn from jxc_goods where g_sn = ? or g_sptm = ? order by id limit 1"), {code, code});
        if (goods.isEmpty())
            return refuse("没有找到与该条码匹配的商品，请检查！");
        if (!QueryScalar(m_db, QStringLiteral("select id from jxc_kcpdsp where gl_djh = ? and g_sn = ? limit 1"),
                         {context.number, goods})
                 .isEmpty())
            return refuse("该商品已经存在，不能重复盘点！");
        const CountStock stock = stockOf(goods, context.warehouse);
        DraftLines draft(m_db, type, m_state);
        Transaction tx(m_db);
        LockDayNumbers(m_db, type, context.day);
        const QString number = draft.numberForNewLines(context.number, context.day);
        const qint64 lineId = draft.insertLine(number, {{QStringLiteral("g_sn"), goods},
                                                        {QStringLiteral("pd_sl"), stock.onHand},
                                                        {QStringLiteral("kc_sl"), stock.onHand},
                                                        {QStringLiteral("pd_dj"), stock.cost},
                                                        {QStringLiteral("pd_zje"), 0.0},
                                                        {QStringLiteral("kc_zsl"), stock.book}});
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

bool StocktakingRules::removeGoods(const QString &number, qint64 lineId)
{
    try {
        Transaction tx(m_db);
        const QString goods = QueryScalar(
            m_db, QStringLiteral("select g_sn from jxc_kcpdsp where id = ? and a_name = ?"), {lineId, m_state.CurrentOperatorName});
        RunSql(m_db, QStringLiteral("delete from jxc_kcpdsp where id = ? and a_name = ?"), {lineId, m_state.CurrentOperatorName});
        if (!goods.isEmpty())
            RunSql(m_db, QStringLiteral("delete from jxc_kcpdsp where gl_djh = ? and g_sn = ? and a_name = ?"),
                   {number, goods, m_state.CurrentOperatorName});
        tx.commit();
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

void StocktakingRules::discard(const QString &number)
{
    DiscardDraft(m_db, m_state, m_notices, kDoc, number);
}

InventorySaveResult StocktakingRules::save(const QString &number, int lines, const CountHeaderInput &in)
{
    InventorySaveResult result;
    result.number = number;
    auto refuse = [&](const QString &text) {
        m_notices.notice(text);
        return result;
    };
    if (lines <= 0)
        return refuse(QStringLiteral("单据中没有业务发生，不能保存！"));
    if (in.handlerSn.isEmpty() || in.handlerText.trimmed().isEmpty())
        return refuse(QStringLiteral("请选择经办人！"));
    if (in.warehouseSn.isEmpty())
        return refuse(QStringLiteral("请选择仓库！"));
    CountTotals sums;
    try {
        const QString dayEnd = in.day + QStringLiteral(" 23:59:59");
        if (!QueryScalar(m_db, QStringLiteral("select id from jxc_kcpd where ck_sn = ? and pd_rq > ? limit 1"),
                         {in.warehouseSn, dayEnd})
                 .isEmpty())
            return refuse(QStringLiteral("在【%1】日期之后已有盘点单，不能再次盘点！").arg(in.day));
        if (!QueryScalar(m_db,
                         QStringLiteral("select id from jxc_goodslist where ck_sn = ? and gl_kdrq > ? and g_sn in "
                                        "(select g_sn from jxc_kcpdsp where gl_djh = ?) limit 1"),
                         {in.warehouseSn, dayEnd, number})
                 .isEmpty())
            return refuse(QStringLiteral("在【%1】日期之后盘点的商品已发生业务，不能盘点！").arg(in.day));
        sums = totals(number);
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("保存失败：") + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    return SaveInventoryDocument(
        m_db, m_state, m_clock, m_notices, kDoc, number, in.day,
        {{QStringLiteral("ck_sn"), in.warehouseSn},
         {QStringLiteral("u_sn"), in.handlerSn},
         {QStringLiteral("pd_sl"), sums.counted},
         {QStringLiteral("kc_sl"), sums.book},
         {QStringLiteral("pd_note"), SafeText(in.note.trimmed())}},
        {QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“库存盘点查询”功能中取消审核！"),
         QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的单据，可以在“待审核\r\n\r\n"
                        "单据”面板中，进行修改及审核操作！"),
         QStringLiteral("增加库存盘点单%1，共%2种商品")});
}

CountLineOpening StocktakingRules::open(const DocumentContext &context, InventoryLineMode mode, const QString &goods,
                                        qint64 rowId) const
{
    CountLineOpening o;
    o.goods = ReadInventoryGoods(m_db, goods, context.warehouse);
    const CountStock stock = stockOf(goods, context.warehouse);
    o.goods.stock = NumberText(stock.onHand);
    o.count = stock.onHand;
    QVariant count;
    switch (mode) {
    case InventoryLineMode::Draft:
    case InventoryLineMode::Pending:
        count = DraftLines(m_db, InventoryDocType(kDoc), m_state).readLine(rowId, {QStringLiteral("pd_sl")}).value(QStringLiteral("pd_sl"));
        break;
    case InventoryLineMode::BasketModify:
        count = Basket(m_db, InventoryDocType(kDoc), m_state).readRow(rowId, {QStringLiteral("ts_sl")}).value(QStringLiteral("ts_sl"));
        break;
    case InventoryLineMode::BasketAdd:
    case InventoryLineMode::None:
        break;
    }
    if (count.isValid())
        o.count = TextToNumber(ValueText(count));
    return o;
}

InventoryResult StocktakingRules::write(DocumentContext &context, InventoryLineMode mode, const QString &goods,
                                        qint64 rowId, double count)
{
    InventoryResult result;
    result.number = context.number;
    result.lineId = rowId;
    if (mode == InventoryLineMode::None) {
        result.status = InventoryStatus::Declined;
        return result;
    }
    if (count < 0) {
        m_notices.notice(QStringLiteral("数量不能为负数！"));
        result.status = InventoryStatus::Refused;
        return result;
    }
    const DocType type = InventoryDocType(kDoc);
    const InventoryResult written = RunLineWrite(
        m_db, m_notices, context,
        mode == InventoryLineMode::BasketAdd ? QStringLiteral("添加商品失败：") : QStringLiteral("修改商品失败："),
        [&]() -> QString {
            const CountStock stock = stockOf(goods, context.warehouse);
            Basket basket(m_db, type, m_state);
            switch (mode) {
            case InventoryLineMode::BasketAdd:
                result.lineId = basket.addRow({{QStringLiteral("g_sn"), goods},
                                               {QStringLiteral("ts_dj"), stock.onHand},
                                               {QStringLiteral("ts_sl"), count},
                                               {QStringLiteral("ts_dzl"), stock.cost},
                                               {QStringLiteral("ts_zje"), StocktakingLineValue(m_state, count, stock.onHand, stock.cost)},
                                               {QStringLiteral("ts_je"), stock.book}});
                return QString();
            case InventoryLineMode::BasketModify: {
                const double book = TextToNumber(ValueText(basket.readRow(rowId, {QStringLiteral("ts_dj")}).value(QStringLiteral("ts_dj"))));
                basket.updateRow(rowId, {{QStringLiteral("ts_sl"), count},
                                         {QStringLiteral("ts_dzl"), stock.cost},
                                         {QStringLiteral("ts_zje"), StocktakingLineValue(m_state, count, book, stock.cost)}});
                return QString();
            }
            default: {
                const double book = TextToNumber(ValueText(
                    DraftLines(m_db, type, m_state).readLine(rowId, {QStringLiteral("kc_sl")}).value(QStringLiteral("kc_sl"))));
                return UpdateLineByMode(m_db, m_state, kDoc, mode, context.number, rowId,
                                        {{QStringLiteral("pd_sl"), count},
                                         {QStringLiteral("pd_dj"), stock.cost},
                                         {QStringLiteral("pd_zje"), StocktakingLineValue(m_state, count, book, stock.cost)}});
            }
            }
        });
    result.status = written.status;
    return result;
}
