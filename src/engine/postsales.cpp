#include "engine/postsales.h"

#include "engine/settledifference.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/defaultrecords.h"
#include "foundation/oplog.h"

namespace postsales_impl {

using namespace postingsupport;

const QString kReservedGoods = QStringLiteral("00000000");

// Ledger columns of a sale line: its figures, its prices per base unit by its unit factor g_zhxs,
// its quantity in its own unit, its profit; `more` after them.
QVector<QPair<QString, QString>> saleLedgerColumns(const QString &p, bool negative, const QString &profit,
                                                   const QString &ownUnitQty, QVector<QPair<QString, QString>> more)
{
    QVector<QPair<QString, QString>> columns = TradeLineFigures(p, negative);
    for (const char *price : {"dj", "taxdj", "lsj", "cbj"})
        columns.append({QStringLiteral("gl_") + QLatin1String(price),
                        GuardedDivSql(QStringLiteral("l.") + p + QLatin1String(price), QStringLiteral("l.g_zhxs"))});
    columns << qMakePair(QStringLiteral("gl_lr"), profit) << qMakePair(QStringLiteral("gl_sysl"), ownUnitQty);
    return columns + more;
}

// The header's profit `column`: the lines' sum of `profit`.
void postProfit(const QSqlDatabase &db, const QString &header, const QString &column, const QString &lines,
                const QString &profit, const QString &number)
{
    const double value = TextToNumber(
        QueryScalar(db, QStringLiteral("select sum(%1) from %2 where gl_djh = ?").arg(profit, lines), {number}));
    RunSql(db, QStringLiteral("update %1 set %2 = ? where gl_djh = ?").arg(header, column), {value, number});
}

// Stock rows created where missing; the book and sold quantities move by the rows.
StockMoves salesMoves()
{
    StockMoves m;
    m.createRows = true;
    m.movesSold = true;
    m.frequency = QStringLiteral("g_xspl");
    m.frequencyStep = 1;
    return m;
}

} // namespace postsales_impl

const DocumentKind &SaleKind()
{
    using namespace postsales_impl;
    static const QString profit = QStringLiteral("coalesce(ls_je, 0) - coalesce(ls_zcb, 0)");
    static const DocumentKind kind{
        .code = QStringLiteral("XS"), .name = QStringLiteral("商品销售单"), .header = QStringLiteral("jxc_lsxsd"),
        .lines = QStringLiteral("jxc_lsxssp"), .prefix = QStringLiteral("ls_"), .dateColumn = QStringLiteral("ls_xsrq"),
        .partner = &CustomerSide(), .cashText = QStringLiteral("商品销售"),
        // Settled by the actual payment the sale leaves the customer's balance as it was.
        .owesWhatWasPaid = true, .invoiceCheckDay = true, .freightNote = QStringLiteral("销售单"),
        .countHandler = &IncUserSalesCount, .freezeColumn = QStringLiteral("ls_qxsl"),
        .beforeLedger = [](const QSqlDatabase &db, const LoginState &, const Clock &, const PostingHeader &h) {
            postProfit(db, QStringLiteral("jxc_lsxsd"), QStringLiteral("ls_lr"), QStringLiteral("jxc_lsxssp"), profit,
                       h.number);
        },
        // Lines of goods that do not exist get no ledger row; the name carries the barcode tag and
        // the gift tag.
        .ledger = {QStringLiteral("xs"), QStringLiteral("jxc_lsxssp"), true,
                   saleLedgerColumns(
                       QStringLiteral("ls_"), false, QStringLiteral("coalesce(l.ls_je, 0) - coalesce(l.ls_zcb, 0)"),
                       QStringLiteral("l.ls_sl"),
                       {{QStringLiteral("g_name"),
                         CutSql(QStringLiteral("jxc_goodslist"), QStringLiteral("g_name"),
                                QStringLiteral("coalesce(d.g_name, '') || coalesce(l.g_tmbz, '') || coalesce(l.t_zp, '')"))},
                        {QStringLiteral("gl_kczje"), QStringLiteral("l.ls_je")}, {QStringLiteral("gl_zcb"), QStringLiteral("l.ls_zcb")},
                        {QStringLiteral("id2"), QStringLiteral("l.id2")}, {QStringLiteral("gl_qxsl"), QStringLiteral("l.ls_qxsl")},
                        {QStringLiteral("idck"), QStringLiteral("l.idck")}})},
        // Goods leave the shelf only for lines shipped; the reserved goods move nothing.
        .steps = {.flag = QStringLiteral("xs"), .lines = QStringLiteral("jxc_lsxssp"),
                  .onHand = QStringLiteral("-(case when coalesce(l.ls_cksl, 0) <> 0 then coalesce(l.ls_zsl, 0) else 0 end)"),
                  .book = QStringLiteral("-g.gl_sl"), .sold = QStringLiteral("g.gl_sl"), .price = QStringLiteral("g.gl_cbj")},
        .moves = salesMoves(), .logText = QStringLiteral("审核销售单%1，共%2种商品"),
        .orders = {QStringLiteral("jxc_xssp"), QStringLiteral("ls_sl"), QStringLiteral("ls_cksl"),
                   QStringLiteral("ls_dhbz"), &LoginState::UseSalesOrder},
        // An adjustment line is all profit or loss.
        .afterPosting = [](const QSqlDatabase &db, const LoginState &, const Clock &, const PostingHeader &h) {
            RunSql(db,
                   QStringLiteral("update jxc_goodslist set gl_lr = gl_je where gl_djh = ? and gl_flag = 'xs' "
                                  "and g_sn = ?"),
                   {h.number, kReservedGoods});
        },
    };
    return kind;
}

const DocumentKind &SalesReturnKind()
{
    using namespace postsales_impl;
    static const QString profit = QStringLiteral("coalesce(th_zcb, 0) - coalesce(th_je, 0)");
    // The return's quantities and amounts are stored negative: money paid back, goods back on hand.
    static const DocumentKind kind{
        .code = QStringLiteral("XT"), .name = QStringLiteral("销售退货单"), .header = QStringLiteral("jxc_xsthd"),
        .lines = QStringLiteral("jxc_xsthsp"), .prefix = QStringLiteral("th_"), .dateColumn = QStringLiteral("th_xsrq"),
        .partner = &CustomerSide(), .cashText = QStringLiteral("顾客退货"), .countHandler = &IncUserSalesCount,
        .beforeLedger = [](const QSqlDatabase &db, const LoginState &, const Clock &, const PostingHeader &h) {
            postProfit(db, QStringLiteral("jxc_xsthd"), QStringLiteral("th_lr"), QStringLiteral("jxc_xsthsp"), profit,
                       h.number);
        },
        .ledger = {QStringLiteral("xt"), QStringLiteral("jxc_xsthsp"), true,
                   saleLedgerColumns(QStringLiteral("th_"), true, QStringLiteral("coalesce(l.th_zcb, 0) - coalesce(l.th_je, 0)"),
                                     QStringLiteral("l.th_sl"),
                                     {{QStringLiteral("gl_kczje"), QStringLiteral("0")},
                                      {QStringLiteral("gl_zcb"), QStringLiteral("-l.th_zcb")},
                                      {QStringLiteral("idck"), QStringLiteral("l.idck")}})},
        // Every row, the reserved goods included (quantity 0).
        .steps = {.flag = QStringLiteral("xt"), .reserved = true, .onHand = QStringLiteral("-g.gl_sl"),
                  .book = QStringLiteral("-g.gl_sl"), .sold = QStringLiteral("g.gl_sl"), .price = QStringLiteral("g.gl_cbj")},
        .moves = salesMoves(), .logText = QStringLiteral("审核销售退货单%1，共%2种商品"),
    };
    return kind;
}

void AuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number)
{
    PostDocument(db, state, clock, SaleKind(), number);
}

void AuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number)
{
    PostDocument(db, state, clock, SalesReturnKind(), number);
}

void ApplySalesAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number, double received, double due)
{
    Q_UNUSED(clock)
    static const SettledLines lines{
        QStringLiteral("jxc_lsxsd"), QStringLiteral("ls_"), QStringLiteral("jxc_lsxssp"), QStringLiteral("ls_"), true,
        [](const QSqlDatabase &db) {
            return postingsupport::ColumnValues{
                {QStringLiteral("ls_zhje"), 0.0},   {QStringLiteral("t_zp"), QStringLiteral("")},
                {QStringLiteral("ghs_sn"), GetDefaultSupplierSn(db)},
                {QStringLiteral("ls_cksl"), 0.0},   {QStringLiteral("ls_lsj"), 0.0},
                {QStringLiteral("ls_cbj"), 0.0},    {QStringLiteral("ls_zcb"), 0.0},
                {QStringLiteral("g_zhxs"), 1.0},    {QStringLiteral("ls_cbj2"), 0.0}};
        }};
    ApplySettleDifference(db, state, lines, number, received, due);
}
