#include "engine/postingkit.h"

#include "engine/balances.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <QStringList>

#include <algorithm>

namespace postingkit_impl {

using namespace postingsupport;

const QString kLedger = QStringLiteral("jxc_goodslist");

QString col(const DocumentKind &kind, const char *suffix)
{
    return kind.prefix + QLatin1String(suffix);
}

// A cash row of the document in its account: `type` (xj_dlx), `amount`, `note`; counted in the
// running balance.
ColumnValues cashRowValues(const LoginState &state, const PostingHeader &h, const QString &type, double amount,
                           const QString &note)
{
    return {{QStringLiteral("xj_rq"), h.date},         {QStringLiteral("gl_djh"), h.number},
            {QStringLiteral("xj_dlx"), type},          {QStringLiteral("xj_je"), amount},
            {QStringLiteral("u_name"), h.handlerName}, {QStringLiteral("ghs_name"), h.partnerName},
            {QStringLiteral("ghs_sn"), h.partner},     {QStringLiteral("xj_kmmc"), h.account},
            {QStringLiteral("xj_note"), note},         {QStringLiteral("a_name"), state.CurrentOperatorName},
            {QStringLiteral("xj_chk"), QStringLiteral("1")}, {QStringLiteral("xj_ljje"), 0.0}};
}

void postCashRow(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                 const PostingHeader &h)
{
    InsertRow(db, QStringLiteral("jxc_xjyh"),
              cashRowValues(state, h, kind.cashText, kind.cashSign * h.paid, h.note)
                  << qMakePair(QStringLiteral("ck_name"), QVariant(h.warehouseName)));
    RecalcCashBalances(db, state, clock, h.account, h.date);
}

// The columns the partner-account row (prefix k_) and the invoice row (fp_) share.
ColumnValues accountRowValues(const QString &p, const LoginState &state, const DocumentKind &kind,
                              const PostingHeader &h, double owed, double balance)
{
    return {{p + QStringLiteral("ghskh"), h.partner}, {QStringLiteral("a_name"), state.CurrentOperatorName},
            {QStringLiteral("u_sn"), h.handlerSn},    {p + QStringLiteral("sfje"), h.paid},
            {p + QStringLiteral("qcje"), 0.0},        {p + QStringLiteral("ljje"), balance},
            {p + QStringLiteral("yfje"), owed},       {p + QStringLiteral("type"), kind.partner->type},
            {p + QStringLiteral("djlx"), kind.code},  {p + QStringLiteral("djtxt"), kind.name},
            {p + QStringLiteral("note"), h.note},     {p + QStringLiteral("flag"), 1},
            {p + QStringLiteral("rq"), h.date},       {QStringLiteral("gl_djh"), h.number}};
}

// The partner-account row: owed (k_yfje) and paid. Its running balance is written by the
// recalculation from the document's date, which takes in the new row.
void postPartnerRow(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                    const PostingHeader &h, double owed)
{
    InsertRow(db, QStringLiteral("jxc_ysyfk"),
              accountRowValues(QStringLiteral("k_"), state, kind, h, owed, 0.0)
                  << qMakePair(QStringLiteral("k_fkfs"), QVariant(h.account))
                  << qMakePair(QStringLiteral("k_yhje"), QVariant(0.0)));
    RecalcPartnerBalances(db, state, clock, h.partner, kind.partner->type, h.date);
}

// The invoice row: what was invoiced (fp_kpje) against what is owed, checked at once; its
// balance likewise from the recalculation.
void postInvoiceRow(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                    const PostingHeader &h, double owed)
{
    InsertRow(db, QStringLiteral("jxc_fpdjb"),
              accountRowValues(QStringLiteral("fp_"), state, kind, h, owed, 0.0)
                  << qMakePair(QStringLiteral("fp_kpje"), QVariant(h.invoiced))
                  << qMakePair(QStringLiteral("fp_no"), QVariant(h.invoiceNo))
                  << qMakePair(QStringLiteral("fp_check"), QVariant(1))
                  << qMakePair(QStringLiteral("fp_checker"), QVariant(state.CurrentOperatorName))
                  << qMakePair(QStringLiteral("fp_chkrq"), QVariant(kind.invoiceCheckDay ? h.date.left(10) : h.date)));
    RecalcInvoiceBalances(db, state, clock, h.partner, kind.partner->type, h.date);
}

// Freight and packing that we pay: for each amount above 0 an expense row in jxc_yyfy and a cash
// row "费用付款" in the document's account, both under the document's number; then the account's
// running balance.
void postFreightAndPacking(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const DocumentKind &kind, const PostingHeader &h)
{
    if (kind.freightNote.isEmpty() || h.row.value(col(kind, "yffs")) != QStringLiteral("我方付运费"))
        return;
    bool wrote = false;
    const struct { QString type; QString noteEnd; double amount; } fees[] = {
        {QStringLiteral("运费"), QStringLiteral("产生的运费"), Num(h.row, col(kind, "yf"))},
        {QStringLiteral("包装费"), QStringLiteral("产生的包装费"), Num(h.row, col(kind, "bzf"))},
    };
    for (const auto &fee : fees) {
        if (!(fee.amount > 0))
            continue;
        const QString note = kind.freightNote + h.number + fee.noteEnd;
        InsertRow(db, QStringLiteral("jxc_yyfy"),
                  {{QStringLiteral("gl_djh"), h.number},
                   {QStringLiteral("fy_rq"), h.date},
                   {QStringLiteral("fy_lx"), fee.type},
                   {QStringLiteral("fy_je"), -fee.amount},
                   {QStringLiteral("u_sn"), h.handlerSn},
                   {QStringLiteral("fy_note"), note},
                   {QStringLiteral("a_name"), state.CurrentOperatorName},
                   {QStringLiteral("fy_sc"), QStringLiteral("费用")},
                   {QStringLiteral("de_sn"), QStringLiteral("100001")},
                   // The account the money leaves, the same as the cash row's.
                   {QStringLiteral("fy_kmmc"), h.account},
                   {QStringLiteral("fy_chk"), QStringLiteral("1")},
                   {QStringLiteral("fy_flag"), QStringLiteral("1")}});
        InsertRow(db, QStringLiteral("jxc_xjyh"), cashRowValues(state, h, QStringLiteral("费用付款"), -fee.amount, note));
        wrote = true;
    }
    if (wrote)
        RecalcCashBalances(db, state, clock, h.account, h.date);
}

// One ledger column: its name and the expression that fills it; a bound header value when
// `bound` (the expression is then the value).
struct LedgerColumn
{
    QString name;
    QString expr;
    bool bound = false;
};

QVector<LedgerColumn> ledgerColumns(const LoginState &state, const Clock &clock, const LedgerLines &lines,
                                    const PostingHeader &h)
{
    const auto value = [](const QString &name, const QString &v) { return LedgerColumn{name, CutToColumn(kLedger, name, v), true}; };
    QVector<LedgerColumn> cols{
        {QStringLiteral("gl_flag"), QLatin1Char('\'') + lines.flag + QLatin1Char('\'')},
        {QStringLiteral("gl_djh"), QStringLiteral("l.gl_djh")},
        value(QStringLiteral("gl_kdrq"), h.date),
        {QStringLiteral("g_sn"), QStringLiteral("l.g_sn")},
    };
    for (const char *goodsColumn : {"g_name", "g_jm", "dw_name", "gg_name", "color_name"})
        cols.append({QLatin1String(goodsColumn), QStringLiteral("d.") + QLatin1String(goodsColumn)});
    cols.append({QStringLiteral("gl_pjjj"), QStringLiteral("d.g_pjjj")});
    for (const char *zero : {"gl_dqkc", "gl_kc", "gl_sqsl", "gl_sqje"})
        cols.append({QLatin1String(zero), QStringLiteral("0")});
    cols.append({QStringLiteral("gl_fdmc"), QStringLiteral("''")});
    cols.append({QStringLiteral("gl_djh2"), QStringLiteral("l.gl_djh2")});
    cols.append({QStringLiteral("a_name"), CutSql(kLedger, QStringLiteral("a_name"), QStringLiteral("l.a_name"))});
    cols << value(QStringLiteral("u_name"), h.handlerName) << value(QStringLiteral("ck_sn"), h.warehouse)
         << value(QStringLiteral("ck_name"), h.warehouseName) << value(QStringLiteral("ghs_sn"), h.partner)
         << value(QStringLiteral("ghs_name"), h.partnerName)
         << value(QStringLiteral("gl_checker"), state.CurrentOperatorName)
         << value(QStringLiteral("gl_chkrq"), clock.todayText()) << value(QStringLiteral("gl_note"), h.note);
    for (const auto &own : lines.columns) {
        const auto it = std::find_if(cols.begin(), cols.end(), [&](const LedgerColumn &c) { return c.name == own.first; });
        if (it != cols.end())
            *it = LedgerColumn{own.first, own.second};
        else
            cols.append({own.first, own.second});
    }
    return cols;
}

void post(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
          const PostingHeader &h)
{
    if (kind.countHandler)
        kind.countHandler(db, h.handlerSn);
    PostMoney(db, state, clock, kind, h);
    if (!kind.freezeColumn.isEmpty())
        RunSql(db, QStringLiteral("update %1 set id2 = id, %2 = 0 where gl_djh = ?").arg(kind.lines, kind.freezeColumn),
               {h.number});
    if (kind.beforeLedger)
        kind.beforeLedger(db, state, clock, h);
    InsertLedgerRows(db, state, clock, kind.ledger, h);
    const std::vector<StockStep> steps = ReadStockSteps(db, h.number, kind.steps, h.warehouse, kind.moves.createRows);
    StockMoves moves = kind.moves;
    moves.supplier = h.partner;
    MoveStock(db, state, clock, moves, steps);
    WriteLog(db, state, clock,
             kind.logText.arg(h.number).arg(steps.size() / size_t(std::max(1, kind.ledgerRowsPerLine))));
    EnsureZeroGoodsStock(db, h.date.left(7));
    PostOrderProgress(db, state, kind.orders, kind.lines, h.number);
    if (kind.afterPosting)
        kind.afterPosting(db, state, clock, h);
}

} // namespace postingkit_impl

QString MissingRecordText(const DocumentKind &kind, const QString &number)
{
    if (!kind.partner)
        return QStringLiteral("单据%1的经手人或仓库资料不存在，不能审核！").arg(number);
    return QStringLiteral("单据%1的经手人、%2或仓库资料不存在，不能审核！").arg(number, kind.partner->title);
}

PostingHeader PostingHeaderOf(const DocumentKind &kind, const QString &number, const postingsupport::RowTexts &row)
{
    using namespace postingkit_impl;
    PostingHeader h;
    h.number = number;
    h.date = row.value(kind.dateColumn);
    h.account = row.value(col(kind, "kmmc"));
    h.note = row.value(col(kind, "note"));
    h.invoiceNo = row.value(col(kind, "fpno"));
    if (kind.partner) {
        h.partner = row.value(kind.partner->key);
        h.partnerName = row.value(kind.partner->name);
    }
    h.handlerSn = row.value(QStringLiteral("u_sn"));
    h.handlerName = row.value(QStringLiteral("u_name"));
    h.warehouse = row.value(QStringLiteral("ck_sn"));
    h.warehouseName = row.value(QStringLiteral("ck_name"));
    h.due = Num(row, col(kind, "yfje"));
    h.paid = Num(row, col(kind, "sfje"));
    h.invoiced = Num(row, col(kind, "fpje"));
    h.byPayment = SettlesByPayment(row.value(col(kind, "jsfs")));
    h.row = row;
    return h;
}

PostingHeader ReadPostingHeader(const QSqlDatabase &db, const DocumentKind &kind, const QString &number)
{
    using namespace postingkit_impl;
    const PartnerSide *p = kind.partner;
    const RowTexts row = ReadFirstRow(
        db,
        QStringLiteral("select a.*, b.u_name%1, d.ck_name from %2 a join jxc_user b on a.u_sn = b.u_sn%3 "
                       "join jxc_ckxx d on a.ck_sn = d.ck_sn "
                       "where a.gl_djh = ? order by coalesce(a.%4, 0) desc, a.id limit 1")
            .arg(p ? QStringLiteral(", c.") + p->name : QString(), kind.header,
                 p ? QStringLiteral(" join %1 c on a.%2 = c.%2").arg(p->table, p->key) : QString(), col(kind, "status")),
        {number});
    if (row.isEmpty())
        throw DbError(MissingRecordText(kind, number));
    return PostingHeaderOf(kind, number, row);
}

void PostMoney(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
               const PostingHeader &h)
{
    using namespace postingkit_impl;
    if (!kind.partner)
        return;
    postCashRow(db, state, clock, kind, h);
    const double owed = kind.owesWhatWasPaid && h.byPayment ? h.paid : h.due;
    postPartnerRow(db, state, clock, kind, h, owed);
    if (IsTrue(state.UseInvoice))
        postInvoiceRow(db, state, clock, kind, h, owed);
    postFreightAndPacking(db, state, clock, kind, h);
}

void InsertLedgerRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const LedgerLines &lines,
                      const PostingHeader &h)
{
    using namespace postingkit_impl;
    QStringList names, exprs;
    QVariantList binds;
    for (const LedgerColumn &c : ledgerColumns(state, clock, lines, h)) {
        names << c.name;
        if (c.bound) {
            exprs << QStringLiteral("cast(? as text)");
            binds << c.expr;
        } else {
            exprs << c.expr;
        }
    }
    binds << h.number;
    RunSql(db,
           QStringLiteral("insert into jxc_goodslist (%1) select %2 from %3 l %4 jxc_goods d on d.g_sn = l.g_sn "
                          "where l.gl_djh = ?%5 order by l.id")
               .arg(names.join(QStringLiteral(", ")), exprs.join(QStringLiteral(", ")), lines.table,
                    lines.knownGoods ? QStringLiteral("join") : QStringLiteral("left join"),
                    lines.condition.isEmpty() ? QString() : QStringLiteral(" and (") + lines.condition + QLatin1Char(')')),
           binds);
}

void PostDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                  const QString &number)
{
    Transaction tx(db, Transaction::Nesting::Join);
    postingkit_impl::post(db, state, clock, kind, ReadPostingHeader(db, kind, number));
    tx.commit();
}

void PostDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const DocumentKind &kind,
                  const PostingHeader &h)
{
    Transaction tx(db, Transaction::Nesting::Join);
    postingkit_impl::post(db, state, clock, kind, h);
    tx.commit();
}

void PostOrderProgress(const QSqlDatabase &db, const LoginState &state, const OrderLink &link,
                       const QString &linesTable, const QString &number)
{
    using namespace postingsupport;
    if (!link.on(state))
        return;
    const QVector<RowTexts> orders = ReadRows(
        db,
        QStringLiteral("select o.id2, r.%1 from %2 o join %3 r on o.id2 = r.id3 and o.g_sn = r.g_sn "
                       "where r.gl_djh = ? order by o.id")
            .arg(link.quantity, link.table, linesTable),
        {number});
    for (const RowTexts &o : orders) {
        const QString orderLine = o.value(QStringLiteral("id2"));
        RunSql(db, QStringLiteral("update %1 set %2 = coalesce(%2, 0) + ? where id2 = ?").arg(link.table, link.done),
               {Num(o, link.quantity), orderLine});
        RunSql(db,
               QStringLiteral("update %1 set %2 = 1 where id = ? and coalesce(%3, 0) >= coalesce(%4, 0)")
                   .arg(link.table, link.closed, link.done, link.quantity),
               {orderLine});
    }
}

QVector<QPair<QString, QString>> TradeLineFigures(const QString &prefix, bool negative)
{
    const QString l = QStringLiteral("l.") + prefix;
    const QString sign = negative ? QStringLiteral("-") : QString();
    const struct { const char *ledger; const char *line; bool signedValue; } figures[] = {
        {"gl_sl", "zsl", true}, {"gl_zje", "zje", true}, {"gl_dzl", "dzl", false}, {"gl_bz", "bz", false},
        {"gl_tax", "tax", false}, {"gl_taxje", "taxje", true}, {"gl_je", "je", true},
    };
    QVector<QPair<QString, QString>> columns;
    for (const auto &f : figures)
        columns.append({QLatin1String(f.ledger), (f.signedValue ? sign : QString()) + l + QLatin1String(f.line)});
    return columns;
}

QString PricePerBaseUnitSql(const QString &prefix)
{
    return QStringLiteral("(case when l.%1sl = l.%1zsl then l.%1dj "
                          "when coalesce(l.%1zsl, 0) = 0 or coalesce(l.%1sl, 0) = 0 then l.%1dj "
                          "else l.%1dj / (l.%1zsl / l.%1sl) end)")
        .arg(prefix);
}

QString TaxedPricePerBaseUnitSql(const QString &prefix)
{
    return QStringLiteral("(case when l.%1zsl > 0 then l.%1zje / l.%1zsl else 0 end)").arg(prefix);
}
