#include "sales/saleentry.h"

#include "engine/costprice.h"
#include "foundation/basket.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/goods.h"
#include "foundation/linecells.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/saleprice.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>

namespace {

const QString kAddFailed = QStringLiteral("添加商品失败：");

double MaybeRound(double value, std::optional<int> decimals)
{
    return decimals ? RoundTo(value, *decimals) : value;
}

// The goods a barcode names among those with a stock row in the warehouse.
QString GoodsOfBarcode(const QSqlDatabase &db, const LoginState &state, const QString &code, const QString &warehouse)
{
    QString sql = QStringLiteral("select a.g_sn from (select g_sn from jxc_goods where g_sptm = ? ");
    QVariantList binds{code};
    if (IsTrue(state.UseAuxUnits)) {
        sql += QStringLiteral("union select g_sn from jxc_goodsdw where g_sptm = ? ");
        binds << code;
    }
    sql += QStringLiteral("union select g_sn from jxc_goodstm where g_sptm = ?) a join jxc_kcsp b on b.g_sn = a.g_sn "
                          "where b.ck_sn = ? ");
    binds << code << warehouse;
    if (!IsTrue(state.AllowNegativeStock))
        sql += QStringLiteral("and b.kc_sl > 0 ");
    sql += QStringLiteral("order by a.g_sn limit 1");
    return QueryScalar(db, sql, binds);
}

// The base-unit price a new line of the goods proposes to the customer: g_sj, the level's
// column when the customer has a level and it is not 0, then the customer's sale price.
double ProposedPrice(const QSqlDatabase &db, const LoginState &state, const QString &customer, const QString &goods)
{
    double price = TextToNumber(QueryScalar(db, QStringLiteral("select g_sj from jxc_goods where g_sn = ?"), {goods}));
    const QString level = GetCustomerLevel(db, state, customer);
    if (level != QLatin1String("1000")) {
        const double levelPrice = TextToNumber(QueryScalar(
            db, QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(LevelPriceColumn(level)), {goods}));
        if (levelPrice != 0)
            price = levelPrice;
    }
    const QString sale = GetSalePrice(db, state, customer, goods);
    if (!sale.isEmpty())
        price = TextToNumber(sale);
    return price;
}

struct ScanPlan
{
    QString goods;
    QString unit;
    QString mark;
    double factor = 1.0;
    double price = 0.0;
    double retail = 0.0;
    double cost = 0.0;  // per base unit
};

} // namespace

std::optional<LineCell> SaleCellOf(const QString &field)
{
    return LineCellOfColumn(field);
}

SaleEntry::SaleEntry(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

ListStatement SaleEntry::linesStatement(const QString &number) const
{
    return SaleLinesStatement(number, m_state.CurrentOperatorName);
}

SaleResult SaleEntry::scan(DocumentContext &context, const QString &code, bool refuseRepeats)
{
    SaleResult stop;
    stop.number = context.number;
    stop.status = SaleStatus::Refused;
    const QString barcode = StripControls(code).trimmed();
    if (barcode.isEmpty()) {
        stop.status = SaleStatus::Declined;
        return stop;
    }
    ScanPlan plan;
    try {
        plan.goods = GoodsOfBarcode(m_db, m_state, barcode, context.warehouse);
        if (plan.goods.isEmpty()) {
            m_notices.notice(QStringLiteral("当前仓库中没有找到与该条码匹配的商品，请检查！"));
            return stop;
        }
        if (refuseRepeats
            && !QueryScalar(m_db, QStringLiteral("select id from jxc_lsxssp where g_sn = ? and gl_djh = ? limit 1"),
                            {plan.goods, context.number})
                    .isEmpty()) {
            m_notices.notice(QStringLiteral("该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！"));
            return stop;
        }
        plan.price = ProposedPrice(m_db, m_state, context.partner, plan.goods);
        {
            QSqlQuery g = OpenSelect(m_db, QStringLiteral("select dw_name, g_lsj from jxc_goods where g_sn = ?"), {plan.goods});
            if (g.next()) {
                plan.unit = g.value(0).toString();
                plan.retail = g.value(1).toDouble();
            }
        }
        if (IsTrue(m_state.UseAuxUnits)) {
            QSqlQuery mark = OpenSelect(
                m_db, QStringLiteral("select g_tmbz from jxc_goodstm where g_sn = ? and g_sptm = ? order by id limit 1"),
                {plan.goods, barcode});
            if (mark.next()) {
                plan.mark = QStringLiteral(" ") + mark.value(0).toString();
            } else {
                QSqlQuery unit = OpenSelect(m_db,
                                            QStringLiteral("select dw_name, g_zhxs, g_lsj from jxc_goodsdw where g_sn = ? "
                                                           "and g_sptm = ? order by id limit 1"),
                                            {plan.goods, barcode});
                if (unit.next()) {
                    plan.unit = unit.value(0).toString();
                    plan.factor = unit.value(1).isNull() ? 1.0 : unit.value(1).toDouble();
                    plan.retail = unit.value(2).toDouble();
                    plan.price = TextToNumber(
                        GetSalePriceByUnit(m_db, m_state, context.partner, plan.goods, plan.unit));
                }
            }
        }
        const double stock = TextToNumber(GetStockQty(m_db, context.warehouse, plan.goods));
        if (stock < plan.factor) {
            if (IsTrue(m_state.AllowNegativeStock)) {
                if (!m_notices.confirm(QStringLiteral("库存数量小于销售数量，销售后将产生负库存，继续销售吗?"))) {
                    stop.status = SaleStatus::Declined;
                    return stop;
                }
            } else {
                m_notices.notice(QStringLiteral("库存数量小于销售数量，不能出库！"));
                return stop;
            }
        }
        plan.cost = GetCostPrice(m_db, m_state, m_clock, plan.goods, context.warehouse, context.day);
    } catch (const DbError &e) {
        m_notices.notice(kAddFailed + e.text());
        stop.status = SaleStatus::Failed;
        return stop;
    }

    const double unrounded = plan.price;
    const double price = RoundTo(plan.price, m_state.PriceDecimals);
    const double tax = TextToNumber(m_state.DefaultTaxRate);
    const double t = tax / 100.0;
    const std::optional<int> rounding = SaleAmountRounding(m_state);
    const DocType type = SaleDocType();
    DraftLines draft(m_db, type, m_state);
    return RunSaleWrite(m_db, m_notices, context, kAddFailed, [&](SaleResult &result) {
        const QString number = draft.numberForNewLines(context.number, context.day);
        qint64 lineId = 0;
        if (IsTrue(m_state.ScanAddsQty)) {
            lineId = QueryScalar(m_db,
                                 QStringLiteral("select id from jxc_lsxssp where gl_djh = ? and g_sn = ? and g_sptm = ? "
                                                "and a_name = ? order by id limit 1"),
                                 {number, plan.goods, barcode, m_state.CurrentOperatorName})
                         .toLongLong();
        }
        if (lineId > 0) {
            const QVariantMap old = draft.readLine(lineId, {QStringLiteral("g_zhxs"), QStringLiteral("ls_cbj"),
                                                            QStringLiteral("ls_cksl")});
            const std::optional<StoredLine> line =
                ReadStoredLine(m_db, type.linesTable, type.line, SqlWhere(QStringLiteral("id = ?"), {lineId}));
            const double factor = old.value(QStringLiteral("g_zhxs")).isNull()
                                      ? 0.0
                                      : old.value(QStringLiteral("g_zhxs")).toDouble();
            const LineFigures more = AddOnePiece(line->figures, factor, rounding);
            QVariantMap values = LineFigureValues(more, type.line);
            values.insert(QStringLiteral("ls_zcb"),
                          MaybeRound(old.value(QStringLiteral("ls_cbj")).toDouble() * more.quantity, rounding));
            if (!IsTrue(m_state.SeparateStockOut))
                values.insert(QStringLiteral("ls_cksl"), old.value(QStringLiteral("ls_cksl")).toDouble() + 1.0);
            draft.updateLine(lineId, values);
        } else {
            const double lineCost = plan.cost * plan.factor;
            lineId = draft.insertLine(number, {{QStringLiteral("g_sn"), plan.goods},
                                               {QStringLiteral("t_zp"), QString()},
                                               {QStringLiteral("ls_sl"), 1.0},
                                               {QStringLiteral("ls_dj"), price},
                                               {QStringLiteral("ls_dzl"), 1.0},
                                               {QStringLiteral("ls_zhje"), price},
                                               {QStringLiteral("ls_tax"), tax},
                                               {QStringLiteral("ls_taxdj"), RoundTo((1 + t) * price, m_state.PriceDecimals)},
                                               {QStringLiteral("ls_je"), MaybeRound(unrounded, rounding)},
                                               {QStringLiteral("ls_taxje"), MaybeRound(price * t, rounding)},
                                               {QStringLiteral("ls_zje"), MaybeRound((1 + t) * price, rounding)},
                                               {QStringLiteral("ls_lsj"), plan.retail},
                                               {QStringLiteral("ls_cksl"), SaleStockOut(m_state, 1.0)},
                                               {QStringLiteral("ls_zsl"), plan.factor},
                                               {QStringLiteral("g_zhxs"), plan.factor},
                                               {QStringLiteral("dw_name"), plan.unit},
                                               {QStringLiteral("g_sptm"), barcode},
                                               {QStringLiteral("g_tmbz"), plan.mark},
                                               {QStringLiteral("ls_cbj"), lineCost},
                                               {QStringLiteral("ls_zcb"), MaybeRound(lineCost, rounding)},
                                               {QStringLiteral("ls_cbj2"), plan.cost},
                                               {QStringLiteral("gl_djh3"), QString()},
                                               {QStringLiteral("idck"), 0}});
        }
        result.lineId = lineId;
        return number;
    });
}

SaleResult SaleEntry::addKit(DocumentContext &context, const SaleKitChoice &kit, QString *note)
{
    SaleResult stop;
    stop.number = context.number;
    stop.status = SaleStatus::Refused;
    const double k = TextToNumber(kit.quantityText.trimmed());
    struct Part
    {
        QString goods, unit, barcode;
        double quantity = 0, price = 0, cost = 0;
    };
    QList<Part> parts;
    try {
        QString short_ = QueryScalar(m_db,
                                     QStringLiteral("select a.g_sn from jxc_kcsp a join jxc_plxx b on b.pl_gsn = a.g_sn "
                                                    "where b.g_sn = ? and a.ck_sn = ? and a.kc_sl - b.pl_sl * ? < 0 "
                                                    "order by a.id limit 1"),
                                     {kit.code, context.warehouse, k});
        if (short_.isEmpty())
            short_ = QueryScalar(m_db,
                                 QStringLiteral("select pl_gsn from jxc_plxx where g_sn = ? and pl_gsn not in "
                                                "(select g_sn from jxc_kcsp where ck_sn = ?) order by id limit 1"),
                                 {kit.code, context.warehouse});
        if (!short_.isEmpty()) {
            if (!IsTrue(m_state.AllowNegativeStock)) {
                m_notices.notice(QStringLiteral("至少一个配料：%1，库存数量小于出库数量，不能出库！").arg(short_));
                return stop;
            }
            if (!m_notices.confirm(
                    QStringLiteral("至少一个配料：%1，库存数量小于出库数量，出库后将产生负库存，继续出库吗?").arg(short_))) {
                stop.status = SaleStatus::Declined;
                return stop;
            }
        }
        QSqlQuery q = OpenSelect(m_db,
                                 QStringLiteral("select c.pl_gsn, c.pl_sl, d.dw_name, d.g_sptm from jxc_plxx c "
                                                "join jxc_goods d on d.g_sn = c.pl_gsn where c.g_sn = ? order by c.id"),
                                 {kit.code});
        while (q.next())
            parts << Part{q.value(0).toString(), q.value(2).toString(), q.value(3).toString(), q.value(1).toDouble() * k};
        q.finish();
        for (Part &p : parts) {
            p.price = TextToNumber(GetSalePrice(m_db, m_state, context.partner, p.goods));
            p.cost = GetCostPrice(m_db, m_state, m_clock, p.goods, context.warehouse, context.day);
        }
    } catch (const DbError &e) {
        m_notices.notice(kAddFailed + e.text());
        stop.status = SaleStatus::Failed;
        return stop;
    }
    DraftLines draft(m_db, SaleDocType(), m_state);
    const SaleResult result = RunSaleWrite(m_db, m_notices, context, kAddFailed, [&](SaleResult &) {
        const QString number = draft.numberForNewLines(context.number, context.day);
        for (const Part &p : std::as_const(parts)) {
            const double amount = p.price * p.quantity;
            draft.insertLine(number, {{QStringLiteral("g_sn"), p.goods},
                                      {QStringLiteral("ls_dj"), p.price},
                                      {QStringLiteral("ls_sl"), p.quantity},
                                      {QStringLiteral("ls_zje"), amount},
                                      {QStringLiteral("ls_dzl"), 1.0},
                                      {QStringLiteral("ls_zhje"), 0.0},
                                      {QStringLiteral("t_zp"), QString()},
                                      {QStringLiteral("ls_je"), amount},
                                      {QStringLiteral("ls_tax"), 0.0},
                                      {QStringLiteral("ls_taxdj"), p.price},
                                      {QStringLiteral("ls_taxje"), 0.0},
                                      {QStringLiteral("ls_lsj"), 0.0},
                                      {QStringLiteral("ls_cksl"), SaleStockOut(m_state, p.quantity)},
                                      {QStringLiteral("ls_zsl"), p.quantity},
                                      {QStringLiteral("dw_name"), p.unit},
                                      {QStringLiteral("g_sptm"), p.barcode},
                                      {QStringLiteral("ls_cbj"), p.cost},
                                      {QStringLiteral("ls_zcb"), p.cost * p.quantity},
                                      {QStringLiteral("ls_cbj2"), p.cost},
                                      {QStringLiteral("g_zhxs"), 1.0},
                                      {QStringLiteral("ls_bz"), QString()},
                                      {QStringLiteral("g_tmbz"), QString()},
                                      {QStringLiteral("gl_djh3"), QString()},
                                      {QStringLiteral("idck"), 0}});
        }
        const Dialect dialect = Dialect::of(m_db);
        const int ad = SaleCellDecimals(m_state).amount;
        RunSql(m_db,
               QStringLiteral("update jxc_lsxssp set ls_zje = %1, ls_zcb = %2 where gl_djh = ?")
                   .arg(dialect.roundSql(QStringLiteral("ls_zje"), ad), dialect.roundSql(QStringLiteral("ls_zcb"), ad)),
               {number});
        return number;
    });
    if (result.done() && note)
        *note = kit.name + QStringLiteral("：【数量：") + NumberText(k) + QStringLiteral("】 配料出库。");
    return result;
}

SaleResult SaleEntry::applyWholeDiscount(DocumentContext &context, const QString &typed)
{
    bool ok = false;
    const double d = typed.trimmed().toDouble(&ok);
    if (!ok || d <= 0) {
        SaleResult none;
        none.number = context.number;
        none.status = SaleStatus::Declined;
        return none;
    }
    return RunSaleWrite(m_db, m_notices, context, QStringLiteral("修改商品失败："), [&](SaleResult &) {
        const std::optional<int> rounding = SaleAmountRounding(m_state);
        const Dialect dialect = Dialect::of(m_db);
        auto amount = [&](const QString &expr) { return rounding ? dialect.roundSql(expr, *rounding) : expr; };
        RunSql(m_db,
               QStringLiteral("update jxc_lsxssp set ls_dzl = ?, ls_je = %1, ls_taxje = %2, ls_zje = %3 where gl_djh = ?")
                   .arg(amount(QStringLiteral("ls_dj * ? * ls_sl")),
                        amount(QStringLiteral("(ls_taxdj - ls_dj) * ? * ls_sl")),
                        amount(QStringLiteral("ls_dj * ? * (1 + ls_tax / 100.00) * ls_sl"))),
               {d, d, d, d, context.number});
        return context.number;
    });
}

CopiedReceipt SaleEntry::copyReceipt(DocumentContext &context, const QString &source)
{
    CopiedReceipt out;
    const bool purchase = source.startsWith(QLatin1String("CJ"));
    DraftLines draft(m_db, SaleDocType(), m_state);
    out.result = RunSaleWrite(m_db, m_notices, context, kAddFailed, [&](SaleResult &) {
        const QString number = draft.numberForNewLines(draft.newNumber(context.day), context.day);
        QList<QVariantMap> lines;
        if (purchase) {
            QSqlQuery q = OpenSelect(
                m_db,
                QStringLiteral("select a.g_sn, a.jh_sl, a.jh_zsl, a.jh_dzl, a.jh_tax, a.jh_dj, a.jh_zje, a.dw_name, "
                               "a.g_sptm, a.jh_bz, a.id2, b.g_sj, b.g_lsj from jxc_jhsp a join jxc_goods b "
                               "on b.g_sn = a.g_sn where a.gl_djh = ? order by a.id"),
                {source});
            while (q.next()) {
                const double sl = q.value(1).toDouble(), zsl = q.value(2).toDouble();
                const double dzl = q.value(3).toDouble(), tax = q.value(4).toDouble();
                const double cost = q.value(5).toDouble(), sj = q.value(11).toDouble();
                // A line of quantity 0 counts its unit as the base unit.
                const double factor = sl != 0 ? zsl / sl : 1.0;
                const double amount = sj * zsl * dzl;
                lines << QVariantMap{{QStringLiteral("ls_dj"), sj * factor},
                                     {QStringLiteral("ls_sl"), sl},
                                     {QStringLiteral("ls_zje"), amount * (1 + tax / 100.0)},
                                     {QStringLiteral("g_sn"), q.value(0)},
                                     {QStringLiteral("ls_dzl"), dzl},
                                     {QStringLiteral("ls_zhje"), amount * (1 + tax / 100.0)},
                                     {QStringLiteral("t_zp"), QString()},
                                     {QStringLiteral("ls_je"), amount},
                                     {QStringLiteral("ls_tax"), tax},
                                     {QStringLiteral("ls_taxdj"), sj * factor * (1 + tax / 100.0)},
                                     {QStringLiteral("ls_taxje"), amount * tax / 100.0},
                                     {QStringLiteral("ls_lsj"), q.value(12).toDouble() * factor},
                                     {QStringLiteral("ls_cksl"), sl},
                                     {QStringLiteral("ls_zsl"), zsl},
                                     {QStringLiteral("dw_name"), q.value(7)},
                                     {QStringLiteral("g_sptm"), q.value(8)},
                                     {QStringLiteral("ls_cbj"), cost},
                                     {QStringLiteral("ls_zcb"), q.value(6).toDouble()},
                                     {QStringLiteral("ls_cbj2"), cost / factor},
                                     {QStringLiteral("g_zhxs"), factor},
                                     {QStringLiteral("ls_bz"), q.value(9)},
                                     {QStringLiteral("g_tmbz"), QString()},
                                     {QStringLiteral("gl_djh3"), source},
                                     {QStringLiteral("idck"), q.value(10).isNull() ? 0 : q.value(10).toInt()}};
            }
        } else {
            QSqlQuery q = OpenSelect(m_db,
                                     QStringLiteral("select a.g_sn, a.sc_sl, a.sc_dj, a.sc_zje, a.sc_bz, b.g_sj, b.g_lsj, "
                                                    "b.dw_name, b.g_sptm from jxc_scrksp a join jxc_goods b "
                                                    "on b.g_sn = a.g_sn where a.gl_djh = ? order by a.id"),
                                     {source});
            while (q.next()) {
                const double sl = q.value(1).toDouble(), sj = q.value(5).toDouble();
                lines << QVariantMap{{QStringLiteral("ls_dj"), sj},
                                     {QStringLiteral("ls_sl"), sl},
                                     {QStringLiteral("ls_zje"), sj * sl},
                                     {QStringLiteral("g_sn"), q.value(0)},
                                     {QStringLiteral("ls_dzl"), 1.0},
                                     {QStringLiteral("ls_zhje"), sj * sl},
                                     {QStringLiteral("t_zp"), QString()},
                                     {QStringLiteral("ls_je"), sj * sl},
                                     {QStringLiteral("ls_tax"), 0.0},
                                     {QStringLiteral("ls_taxdj"), sj},
                                     {QStringLiteral("ls_taxje"), 0.0},
                                     {QStringLiteral("ls_lsj"), q.value(6).toDouble()},
                                     {QStringLiteral("ls_cksl"), sl},
                                     {QStringLiteral("ls_zsl"), sl},
                                     {QStringLiteral("dw_name"), q.value(7)},
                                     {QStringLiteral("g_sptm"), q.value(8)},
                                     {QStringLiteral("ls_cbj"), q.value(2).toDouble()},
                                     {QStringLiteral("ls_zcb"), q.value(3).toDouble()},
                                     {QStringLiteral("ls_cbj2"), q.value(2).toDouble()},
                                     {QStringLiteral("g_zhxs"), 1.0},
                                     {QStringLiteral("ls_bz"), q.value(4)},
                                     {QStringLiteral("g_tmbz"), QString()},
                                     {QStringLiteral("gl_djh3"), source},
                                     {QStringLiteral("idck"), 0}};
            }
        }
        for (const QVariantMap &line : std::as_const(lines))
            draft.insertLine(number, line);
        return number;
    });
    if (!out.result.done())
        return out;
    try {
        QSqlQuery h = OpenSelect(
            m_db,
            purchase ? QStringLiteral("select a.j_note, c.ck_name, d.u_name from jxc_jhd a join jxc_ckxx c on c.ck_sn = a.ck_sn "
                                      "join jxc_user d on d.u_sn = a.u_sn where a.gl_djh = ? order by a.id limit 1")
                     : QStringLiteral("select a.sc_note, c.ck_name, d.u_name from jxc_scrkd a join jxc_ckxx c "
                                      "on c.ck_sn = a.ck_sn join jxc_user d on d.u_sn = a.u_sn where a.gl_djh = ? "
                                      "order by a.id limit 1"),
            {source});
        if (h.next()) {
            out.headerFound = true;
            out.note = h.value(0).toString();
            out.warehouseName = h.value(1).toString();
            out.handlerName = h.value(2).toString();
            out.amount = TextToNumber(
                QueryScalar(m_db, QStringLiteral("select sum(ls_zje) from jxc_lsxssp where gl_djh = ?"), {out.result.number}));
        }
    } catch (const DbError &e) {
        m_notices.notice(kAddFailed + e.text());
    }
    return out;
}

bool SaleEntry::editCell(SaleCellPlace place, const QString &number, qint64 id, LineCell cell, const QString &typed)
{
    const DocType type = SaleDocType();
    const bool basket = place == SaleCellPlace::Basket;
    const LineColumns columns = basket ? LineColumns::basket() : type.line;
    const QString table = basket ? type.basketTable : type.linesTable;
    const QString prefix = basket ? QStringLiteral("ts_") : QStringLiteral("ls_");
    QString text = typed;
    if (cell == LineCell::Discount && PositiveFromText(typed) < MinSaleDiscountOf(m_state)) {
        m_notices.notice(MinDiscountText(m_state) + QStringLiteral("\r\n\r\n已恢复到无折扣状态！"));
        text = QStringLiteral("1");
    }
    const SqlWhere where = place == SaleCellPlace::Pending
                               ? SqlWhere(QStringLiteral("id = ? and gl_djh = ?"), {id, number})
                               : SqlWhere(QStringLiteral("id = ? and a_name = ?"), {id, m_state.CurrentOperatorName});
    const LineDecimals decimals = SaleCellDecimals(m_state);
    try {
        Transaction tx(m_db);
        const std::optional<LineFigures> edited = EditStoredCell(m_db, m_state, table, columns, where, cell, text, decimals);
        if (!edited)
            return false;
        QVariantMap values = LineFigureValues(*edited, columns);
        if (cell == LineCell::Quantity) {
            const double cost = TextToNumber(
                QueryScalar(m_db, QStringLiteral("select %1cbj from %2 where id = ?").arg(prefix, table), {id}));
            values.insert(prefix + QStringLiteral("zcb"), RoundTo(cost * edited->quantity, decimals.amount));
            if (!basket)
                values.insert(QStringLiteral("ls_cksl"), SaleStockOut(m_state, edited->quantity));
        }
        if (basket)
            Basket(m_db, type, m_state).updateRow(id, values);
        else if (place == SaleCellPlace::Draft)
            DraftLines(m_db, type, m_state).updateLine(id, values);
        else
            DraftLines(m_db, type, m_state).updateDocumentLine(number, id, values);
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("修改商品失败：") + e.text());
        return false;
    }
    return true;
}

KeyedItems SaleEntry::warehouses() const
{
    return LoadOperatorWarehouses(m_db, m_state);
}

bool SaleEntry::removeLine(qint64 lineId)
{
    try {
        RunSql(m_db, QStringLiteral("delete from jxc_lsxssp where id = ?"), {lineId});
        return true;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除商品失败：") + e.text());
        return false;
    }
}

void SaleEntry::discard(const QString &number)
{
    DraftLines(m_db, SaleDocType(), m_state).discard(number);
}

double SaleEntry::due(const QString &number) const
{
    const double total = DraftLines(m_db, SaleDocType(), m_state).documentTotal(number);
    return IsTrue(m_state.RoundTotals) ? RoundTo(total, m_state.TotalDecimals.toInt()) : total;
}

double SaleEntry::receivedAfterChange(double due, double typedReceived) const
{
    return m_state.SalePaidDefault == QLatin1String("0") ? due : typedReceived;
}
