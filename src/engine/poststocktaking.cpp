#include "engine/poststocktaking.h"

#include "engine/auditsupport.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/formats.h"
#include "foundation/loginstate.h"

namespace poststocktaking_impl {

using namespace postingsupport;

// Each line's id becomes its id2: the ledger row of the line carries it, and the cancel finds
// the line's book figures by it.
void linkLines(const QSqlDatabase &db, const LoginState &, const Clock &, const PostingHeader &h)
{
    RunSql(db, QStringLiteral("update jxc_kcpdsp set id2 = id where gl_djh = ?"), {h.number});
}

LedgerLines countLines()
{
    return {QStringLiteral("pd"), QStringLiteral("jxc_kcpdsp"), true,
            {{QStringLiteral("ghs_sn"), QStringLiteral("''")},
             {QStringLiteral("ghs_name"), QStringLiteral("'库存盘点'")},
             {QStringLiteral("gl_lr"), QStringLiteral("0")},
             {QStringLiteral("gl_dzl"), QStringLiteral("1")},
             {QStringLiteral("gl_tax"), QStringLiteral("0")},
             {QStringLiteral("gl_taxje"), QStringLiteral("0")},
             {QStringLiteral("gl_lsj"), QStringLiteral("0")},
             {QStringLiteral("gl_kczje"), QStringLiteral("0")},
             {QStringLiteral("gl_sl"), QStringLiteral("coalesce(l.pd_sl, 0) - coalesce(l.kc_sl, 0)")},
             {QStringLiteral("gl_zje"), QStringLiteral("l.pd_zje")},
             {QStringLiteral("gl_je"), QStringLiteral("l.pd_zje")},
             {QStringLiteral("gl_dj"), QStringLiteral("l.pd_dj")},
             {QStringLiteral("gl_pjjj"), QStringLiteral("l.pd_dj")},
             {QStringLiteral("gl_taxdj"), QStringLiteral("l.pd_dj")},
             {QStringLiteral("gl_sysl"), QStringLiteral("l.pd_sl")},
             {QStringLiteral("gl_djh2"), QStringLiteral("null")},
             {QStringLiteral("id2"), QStringLiteral("l.id2")}},
            QStringLiteral("coalesce(l.pd_sl, 0) <> coalesce(l.kc_sl, 0)")};
}

// A goods on two lines: the stock would be set to each count in turn and both differences
// booked.
QString repeatedGoods(const QSqlDatabase &db, const QString &number)
{
    const QString goods = QueryScalar(db,
                                      QStringLiteral("select g_sn from jxc_kcpdsp where gl_djh = ? group by g_sn "
                                                     "having count(*) > 1 order by min(id) limit 1"),
                                      {number});
    if (goods.isEmpty())
        return QString();
    return QStringLiteral("单据%1中商品“%2”重复，不能审核！").arg(number, goods);
}

// The lines' book figures renewed from the stock rows as they are under the locks.
void renewBookFigures(const QSqlDatabase &db, const LoginState &state, const PostingHeader &h)
{
    const QVector<RowTexts> stale = ReadRows(
        db,
        QStringLiteral("select l.id, l.pd_sl, l.pd_dj, coalesce(k.kc_sl, 0) as now_sl, coalesce(k.kc_zsl, 0) as now_zsl "
                       "from jxc_kcpdsp l left join jxc_kcsp k on k.id = (select min(s.id) from jxc_kcsp s "
                       "where s.g_sn = l.g_sn and s.ck_sn = ?) where l.gl_djh = ? and (l.kc_sl is null or "
                       "l.kc_zsl is null or l.kc_sl <> coalesce(k.kc_sl, 0) or l.kc_zsl <> coalesce(k.kc_zsl, 0)) "
                       "order by l.id"),
        {h.warehouse, h.number});
    if (stale.isEmpty())
        return;
    for (const RowTexts &line : stale) {
        const double book = Num(line, QStringLiteral("now_sl"));
        RunSql(db, QStringLiteral("update jxc_kcpdsp set kc_sl = ?, kc_zsl = ?, pd_zje = ? where id = ?"),
               {book, Num(line, QStringLiteral("now_zsl")),
                StocktakingLineValue(state, Num(line, QStringLiteral("pd_sl")), book, Num(line, QStringLiteral("pd_dj"))),
                line.value(QStringLiteral("id"))});
    }
    RunSql(db,
           QStringLiteral("update jxc_kcpd set kc_sl = (select coalesce(sum(kc_sl), 0) from jxc_kcpdsp where gl_djh = ?) "
                          "where gl_djh = ?"),
           {h.number, h.number});
}

StockMoves countMoves()
{
    StockMoves m;
    m.createRows = true;
    m.setStock = true;
    m.movesGoodsTotal = true;
    return m;
}

} // namespace poststocktaking_impl

double StocktakingLineValue(const LoginState &state, double count, double book, double price)
{
    const double value = (count - book) * price;
    return IsTrue(state.RoundTotals) ? RoundTo(value, TotalDecimalsValue(state)) : value;
}

const InventoryKind &StocktakingInventoryKind()
{
    using namespace poststocktaking_impl;
    static const DocumentKind posting{
        .code = QStringLiteral("PD"), .name = QStringLiteral("库存盘点单"), .header = QStringLiteral("jxc_kcpd"),
        .lines = QStringLiteral("jxc_kcpdsp"), .prefix = QStringLiteral("pd_"), .dateColumn = QStringLiteral("pd_rq"),
        .beforeLedger = &linkLines, .ledger = countLines(),
        .steps = {.flag = QStringLiteral("pd"), .lines = QStringLiteral("jxc_kcpdsp"), .onHand = QStringLiteral("l.pd_sl"),
                  .book = QStringLiteral("l.pd_sl"), .total = QStringLiteral("g.gl_sl"), .price = QStringLiteral("l.pd_dj")},
        .moves = countMoves(), .logText = QStringLiteral("库存盘点单通过%1审核，共%2个商品"),
    };
    static const StockDiffValue expense{QStringLiteral("费用"), QStringLiteral("费用"), QStringLiteral("1"),
                                        QStringLiteral("商品盘点单")};
    static const StockDiffValue income{QStringLiteral("收入"), QStringLiteral("收入"), QStringLiteral("2"),
                                       QStringLiteral("商品盘点单")};
    static const InventoryKind kind{.posting = posting, .below = expense, .above = income};
    return kind;
}

QString GetPdMsg(const QSqlDatabase &db, const QString &number, const QString &countDate, const QString &warehouse)
{
    const QString later = QueryScalar(
        db,
        QStringLiteral("select gl_djh from jxc_goodslist where gl_djh is not null and gl_djh <> '' and ck_sn = ? "
                       "and gl_kdrq > ? and g_sn in (select g_sn from jxc_kcpdsp where gl_djh = ?) order by id limit 1"),
        {warehouse, countDate, number});
    if (later.isEmpty())
        return QString();
    return QStringLiteral("在【") + countDate + QStringLiteral("】日期之后盘点的商品已发生业务，，\r\n\r\n单号为：【") + later
           + QStringLiteral("】，\r\n\r\n不能盘点，该盘点单 ") + number + QStringLiteral(" 已作废！");
}

AuditResult RunAuditStocktaking(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &number, StocktakingAuditOptions options)
{
    using namespace poststocktaking_impl;
    InventoryKind kind = StocktakingInventoryKind();
    kind.prepare = [options](const QSqlDatabase &db, const LoginState &state, const Clock &, const PostingHeader &h) {
        if (options.preAuditCheck) {
            const QString refusal = GetPdMsg(db, h.number, h.date, h.warehouse);
            if (!refusal.isEmpty())
                return refusal;
        }
        const QString repeated = repeatedGoods(db, h.number);
        if (!repeated.isEmpty())
            return repeated;
        renewBookFigures(db, state, h);
        return QString();
    };
    return RunInventoryAudit(db, state, clock, kind, number, false);
}
