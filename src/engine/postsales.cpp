#include "engine/postsales.h"

#include "engine/auditsupport.h"
#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/enginebatch.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/defaultrecords.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <algorithm>
#include <cmath>

namespace postsales_impl {

using namespace postingsupport;

const QString kReservedGoods = QStringLiteral("00000000");

QString missingSaleRecordText(const QString &number)
{
    return QStringLiteral("单据%1的经手人、客户或仓库资料不存在，不能审核！").arg(number);
}

RowTexts readSaleHeader(const QSqlDatabase &db, const QString &table, const QString &statusColumn,
                        const QString &number)
{
    return ReadFirstRow(db,
                        QStringLiteral("select a.*, b.u_name, c.kh_name, d.ck_name from %1 a "
                                       "join jxc_user b on a.u_sn = b.u_sn "
                                       "join jxc_khxx c on a.kh_sn = c.kh_sn "
                                       "join jxc_ckxx d on a.ck_sn = d.ck_sn "
                                       "where a.gl_djh = ? order by coalesce(a.%2, 0) desc, a.id limit 1")
                            .arg(table, statusColumn),
                        {number});
}

struct SaleHeader
{
    QString number, date, account, note, customer, customerName, handlerSn, handlerName;
    QString warehouse, warehouseName, invoiceNo;
    double due = 0, paid = 0, invoiced = 0;
    bool byPayment = false;
};

SaleHeader saleHeader(const RowTexts &row, const QString &number, const QString &p,
                      const QString &dateColumn)
{
    SaleHeader h;
    h.number = number;
    h.date = row.value(dateColumn);
    h.account = row.value(p + QStringLiteral("kmmc"));
    h.note = row.value(p + QStringLiteral("note"));
    h.customer = row.value(QStringLiteral("kh_sn"));
    h.customerName = row.value(QStringLiteral("kh_name"));
    h.handlerSn = row.value(QStringLiteral("u_sn"));
    h.handlerName = row.value(QStringLiteral("u_name"));
    h.warehouse = row.value(QStringLiteral("ck_sn"));
    h.warehouseName = row.value(QStringLiteral("ck_name"));
    h.invoiceNo = row.value(p + QStringLiteral("fpno"));
    h.due = Num(row, p + QStringLiteral("yfje"));
    h.paid = Num(row, p + QStringLiteral("sfje"));
    h.invoiced = Num(row, p + QStringLiteral("fpje"));
    h.byPayment = SettlesByPayment(row.value(p + QStringLiteral("jsfs")));
    return h;
}

void postSaleCash(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                  const SaleHeader &h, const QString &kind, double amount)
{
    InsertRow(db, QStringLiteral("jxc_xjyh"),
              {{QStringLiteral("xj_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number},
               {QStringLiteral("xj_dlx"), kind},
               {QStringLiteral("xj_je"), amount},
               {QStringLiteral("u_name"), h.handlerName},
               {QStringLiteral("ghs_name"), h.customerName},
               {QStringLiteral("ghs_sn"), h.customer},
               {QStringLiteral("ck_name"), h.warehouseName},
               {QStringLiteral("xj_kmmc"), h.account},
               {QStringLiteral("xj_note"), h.note},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("xj_chk"), QStringLiteral("1")},
               {QStringLiteral("xj_ljje"), 0.0}});
    RecalcCashBalances(db, state, clock, h.account, h.date);
}

void postReceivable(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                    const SaleHeader &h, const QString &docType, const QString &docText,
                    double owed, double movement)
{
    const double provisional =
        TextToNumber(GetPartnerBalanceAt(db, state, clock, h.customer, QStringLiteral("kh"),
                                         QStringLiteral("0"), h.date))
        + movement;
    InsertRow(db, QStringLiteral("jxc_ysyfk"),
              {{QStringLiteral("k_ghskh"), h.customer},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("u_sn"), h.handlerSn},
               {QStringLiteral("k_fkfs"), h.account},
               {QStringLiteral("k_sfje"), h.paid},
               {QStringLiteral("k_yhje"), 0.0},
               {QStringLiteral("k_qcje"), 0.0},
               {QStringLiteral("k_ljje"), provisional},
               {QStringLiteral("k_yfje"), owed},
               {QStringLiteral("k_type"), QStringLiteral("kh")},
               {QStringLiteral("k_djlx"), docType},
               {QStringLiteral("k_djtxt"), docText},
               {QStringLiteral("k_note"), h.note},
               {QStringLiteral("k_flag"), 1},
               {QStringLiteral("k_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number}});
    RecalcPartnerBalances(db, state, clock, h.customer, QStringLiteral("kh"), h.date);
}

void postSaleInvoice(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const SaleHeader &h, const QString &docType, const QString &docText, double owed,
                     const QString &checkDate)
{
    double provisional = TextToNumber(GetInvoiceBalanceAt(db, state, clock, h.customer,
                                                          QStringLiteral("kh"), QStringLiteral("0"),
                                                          h.date));
    if (!h.byPayment)
        provisional += owed - h.invoiced;
    InsertRow(db, QStringLiteral("jxc_fpdjb"),
              {{QStringLiteral("fp_ghskh"), h.customer},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("u_sn"), h.handlerSn},
               {QStringLiteral("fp_sfje"), h.paid},
               {QStringLiteral("fp_qcje"), 0.0},
               {QStringLiteral("fp_ljje"), provisional},
               {QStringLiteral("fp_yfje"), owed},
               {QStringLiteral("fp_kpje"), h.invoiced},
               {QStringLiteral("fp_no"), h.invoiceNo},
               {QStringLiteral("fp_type"), QStringLiteral("kh")},
               {QStringLiteral("fp_djlx"), docType},
               {QStringLiteral("fp_djtxt"), docText},
               {QStringLiteral("fp_note"), h.note},
               {QStringLiteral("fp_flag"), 1},
               {QStringLiteral("fp_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number},
               {QStringLiteral("fp_check"), 1},
               {QStringLiteral("fp_checker"), state.CurrentOperatorName},
               {QStringLiteral("fp_chkrq"), checkDate}});
    RecalcInvoiceBalances(db, state, clock, h.customer, QStringLiteral("kh"), h.date);
}

// Values of the header, the operator and today for the ledger insert-selects, in the order
// of their placeholders.
QVariantList saleLedgerBinds(const LoginState &state, const Clock &clock, const SaleHeader &h)
{
    const QString t = QStringLiteral("jxc_goodslist");
    return {CutToColumn(t, QStringLiteral("gl_kdrq"), h.date),
            CutToColumn(t, QStringLiteral("u_name"), h.handlerName),
            CutToColumn(t, QStringLiteral("ck_sn"), h.warehouse),
            CutToColumn(t, QStringLiteral("ck_name"), h.warehouseName),
            CutToColumn(t, QStringLiteral("ghs_sn"), h.customer),
            CutToColumn(t, QStringLiteral("ghs_name"), h.customerName),
            CutToColumn(t, QStringLiteral("gl_checker"), state.CurrentOperatorName),
            CutToColumn(t, QStringLiteral("gl_chkrq"), clock.todayText()),
            CutToColumn(t, QStringLiteral("gl_note"), h.note)};
}

// Stock of the ledger rows leaving the warehouse: s moves the book and sold quantities, q the
// quantity on hand (q 0 while the goods have not physically left).
struct SaleStep
{
    QString ledgerId;
    QString goods;
    double s = 0;     // book quantity
    double q = 0;     // quantity on hand
    double cost = 0;  // cost price of a new stock row
};

// moveSaleStock and RecalcStockCost for every step, in the steps' order per goods: group by
// group (see engine::GroupsByOccurrence), each step in a few statements for the whole group.
void moveSaleStockByGroups(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                           const QString &warehouse, const std::vector<SaleStep> &steps)
{
    QStringList goodsOfSteps;
    for (const SaleStep &st : steps)
        goodsOfSteps << st.goods;
    const QVariant w = engine::BoundText(warehouse);
    for (const std::vector<int> &group : engine::GroupsByOccurrence(goodsOfSteps)) {
        QStringList goods, ids;
        for (int i : group) {
            goods << steps[size_t(i)].goods;
            ids << steps[size_t(i)].ledgerId;
        }
        const std::vector<bool> present = StockRowsExist(db, goods, warehouse);
        std::vector<QVariantList> updates, inserts, totals;
        for (size_t n = 0; n < group.size(); ++n) {
            const SaleStep &st = steps[size_t(group[n])];
            const QVariant g = engine::BoundText(st.goods);
            if (present[n])
                updates.push_back({qint64(n), g, w, st.s, st.q, st.s});
            else
                inserts.push_back({qint64(n), g, w, -st.q, st.cost, st.s, -st.s});
            totals.push_back({qint64(n), g, st.q});
        }
        const QString id = QStringLiteral("id"), k1 = QStringLiteral("k1"), k2 = QStringLiteral("k2"),
                      c1 = QStringLiteral("c1"), c2 = QStringLiteral("c2"), c3 = QStringLiteral("c3"),
                      c4 = QStringLiteral("c4");
        if (!updates.empty()) {
            QVariantList binds;
            const QString source = engine::BatchSource(db, {id, k1, k2, c1, c2, c3}, updates, binds);
            RunSql(db,
                   QStringLiteral("UPDATE jxc_kcsp SET kc_xssl = coalesce(kc_xssl, 0) + b.c1, "
                                  "kc_sl = coalesce(kc_sl, 0) - b.c2, kc_zsl = coalesce(kc_zsl, 0) - b.c3 "
                                  "FROM %1 WHERE jxc_kcsp.g_sn = b.k1 AND jxc_kcsp.ck_sn = b.k2")
                       .arg(source),
                   binds);
        }
        if (!inserts.empty()) {
            QVariantList binds;
            const QString source = engine::BatchSource(db, {id, k1, k2, c1, c2, c3, c4}, inserts, binds);
            RunSql(db,
                   QStringLiteral("INSERT INTO jxc_kcsp (kc_sl, kc_cbj, kc_xssl, g_sn, ck_sn, kc_zsl) "
                                  "SELECT b.c1, b.c2, b.c3, b.k1, b.k2, b.c4 FROM %1 ORDER BY b.id")
                       .arg(source),
                   binds);
        }
        {
            QVariantList binds;
            const QString source = engine::BatchSource(db, {id, k1, c1}, totals, binds);
            RunSql(db,
                   QStringLiteral("UPDATE jxc_goods SET g_kc = coalesce(g_kc, 0) - b.c1, "
                                  "g_xspl = coalesce(g_xspl, 0) + 1 FROM %1 WHERE jxc_goods.g_sn = b.k1")
                       .arg(source),
                   binds);
        }
        RecalcStockCostRows(db, state, clock, ids, QStringLiteral("0"));
    }
}

} // namespace postsales_impl

void AuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
               const QString &number)
{
    using namespace postsales_impl;
    Transaction tx(db);
    const RowTexts row = readSaleHeader(db, QStringLiteral("jxc_lsxsd"), QStringLiteral("ls_status"), number);
    if (row.isEmpty())
        throw DbError(missingSaleRecordText(number));
    const SaleHeader h = saleHeader(row, number, QStringLiteral("ls_"), QStringLiteral("ls_xsrq"));

    IncUserSalesCount(db, h.handlerSn);
    postSaleCash(db, state, clock, h, QStringLiteral("商品销售"), h.paid);

    // Settled by the actual payment the sale leaves the customer's balance as it was.
    const double owed = h.byPayment ? h.paid : h.due;
    postReceivable(db, state, clock, h, QStringLiteral("XS"), QStringLiteral("商品销售单"), owed,
                   h.byPayment ? 0.0 : h.due - h.paid);
    if (IsTrue(state.UseInvoice))
        postSaleInvoice(db, state, clock, h, QStringLiteral("XS"), QStringLiteral("商品销售单"), owed,
                        h.date.left(10));

    if (row.value(QStringLiteral("ls_yffs")) == QStringLiteral("我方付运费")) {
        FreightPosting f;
        f.number = number;
        f.date = h.date;
        f.account = h.account;
        f.handlerSn = h.handlerSn;
        f.handlerName = h.handlerName;
        f.partnerSn = h.customer;
        f.partnerName = h.customerName;
        f.notePrefix = QStringLiteral("销售单");
        f.freight = Num(row, QStringLiteral("ls_yf"));
        f.packing = Num(row, QStringLiteral("ls_bzf"));
        if (PostFreightAndPacking(db, state, f))
            RecalcCashBalances(db, state, clock, h.account, h.date);
    }

    RunSql(db, QStringLiteral("update jxc_lsxssp set id2 = id, ls_qxsl = 0 where gl_djh = ?"), {number});
    const double profit = TextToNumber(QueryScalar(
        db,
        QStringLiteral("select sum(coalesce(ls_je, 0) - coalesce(ls_zcb, 0)) from jxc_lsxssp where gl_djh = ?"),
        {number}));
    RunSql(db, QStringLiteral("update jxc_lsxsd set ls_lr = ? where gl_djh = ?"), {profit, number});

    // One ledger row per line whose goods exist, in line order.
    const QString gl = QStringLiteral("jxc_goodslist");
    RunSql(db,
           QStringLiteral(
               "insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, dw_name, "
               "gg_name, color_name, gl_dj, gl_sl, gl_zje, gl_lr, gl_dzl, u_name, a_name, ck_sn, "
               "ck_name, ghs_sn, ghs_name, gl_sysl, gl_fdmc, gl_dqkc, gl_kc, gl_pjjj, gl_kczje, "
               "gl_checker, gl_chkrq, gl_sqsl, gl_sqje, gl_bz, gl_note, gl_tax, gl_taxdj, gl_taxje, "
               "gl_je, gl_lsj, gl_cbj, gl_zcb, id2, gl_djh2, gl_qxsl, idck) "
               "select 'xs', l.gl_djh, cast(? as text), l.g_sn, %1, d.g_jm, d.dw_name, d.gg_name, "
               "d.color_name, %2, l.ls_zsl, l.ls_zje, coalesce(l.ls_je, 0) - coalesce(l.ls_zcb, 0), "
               "l.ls_dzl, cast(? as text), %3, cast(? as text), cast(? as text), cast(? as text), "
               "cast(? as text), l.ls_sl, '', 0, 0, d.g_pjjj, l.ls_je, cast(? as text), "
               "cast(? as text), 0, 0, l.ls_bz, cast(? as text), l.ls_tax, %4, l.ls_taxje, l.ls_je, "
               "%5, %6, l.ls_zcb, l.id2, l.gl_djh2, l.ls_qxsl, l.idck "
               "from jxc_lsxssp l join jxc_goods d on d.g_sn = l.g_sn "
               "where l.gl_djh = ? order by l.id")
               .arg(CutSql(gl, QStringLiteral("g_name"),
                           QStringLiteral("coalesce(d.g_name, '') || coalesce(l.g_tmbz, '') || "
                                          "coalesce(l.t_zp, '')")),
                    GuardedDivSql(QStringLiteral("l.ls_dj"), QStringLiteral("l.g_zhxs")),
                    CutSql(gl, QStringLiteral("a_name"), QStringLiteral("l.a_name")),
                    GuardedDivSql(QStringLiteral("l.ls_taxdj"), QStringLiteral("l.g_zhxs")),
                    GuardedDivSql(QStringLiteral("l.ls_lsj"), QStringLiteral("l.g_zhxs")),
                    GuardedDivSql(QStringLiteral("l.ls_cbj"), QStringLiteral("l.g_zhxs"))),
           saleLedgerBinds(state, clock, h) << number);
    // An adjustment line is all profit or loss.
    RunSql(db,
           QStringLiteral("update jxc_goodslist set gl_lr = gl_je where gl_djh = ? and gl_flag = 'xs' "
                          "and g_sn = ?"),
           {number, kReservedGoods});

    const QVector<RowTexts> rows = ReadRows(
        db,
        QStringLiteral("select g.id, g.g_sn, g.gl_sl, g.gl_cbj, l.ls_cksl, l.ls_zsl "
                       "from jxc_goodslist g join jxc_lsxssp l on l.gl_djh = g.gl_djh "
                       "and l.id2 = g.id2 and l.g_sn = g.g_sn "
                       "where g.gl_djh = ? and g.gl_flag = 'xs' and g.g_sn <> ? order by g.id"),
        {number, kReservedGoods});
    QStringList goodsOfRows;
    std::vector<SaleStep> steps;
    for (const RowTexts &r : rows) {
        goodsOfRows << r.value(QStringLiteral("g_sn"));
        const double q = Num(r, QStringLiteral("ls_cksl")) != 0 ? Num(r, QStringLiteral("ls_zsl")) : 0.0;
        steps.push_back({r.value(QStringLiteral("id")), r.value(QStringLiteral("g_sn")),
                         Num(r, QStringLiteral("gl_sl")), q, Num(r, QStringLiteral("gl_cbj"))});
    }
    moveSaleStockByGroups(db, state, clock, h.warehouse, steps);

    WriteLog(db, state, clock, QStringLiteral("审核销售单%1，共%2种商品").arg(number).arg(rows.size()));
    EnsureZeroGoodsStock(db, h.date.left(7));

    if (IsTrue(state.UseSalesOrder)) {
        const QVector<RowTexts> orders = ReadRows(
            db,
            QStringLiteral("select o.id2, s.ls_sl from jxc_xssp o join jxc_lsxssp s "
                           "on o.id2 = s.id3 and o.g_sn = s.g_sn where s.gl_djh = ? order by o.id"),
            {number});
        for (const RowTexts &o : orders) {
            const QString orderLine = o.value(QStringLiteral("id2"));
            RunSql(db, QStringLiteral("update jxc_xssp set ls_cksl = coalesce(ls_cksl, 0) + ? where id2 = ?"),
                   {Num(o, QStringLiteral("ls_sl")), orderLine});
            RunSql(db,
                   QStringLiteral("update jxc_xssp set ls_dhbz = 1 where id = ? "
                                  "and coalesce(ls_cksl, 0) >= coalesce(ls_sl, 0)"),
                   {orderLine});
        }
    }
    tx.commit();
}

void AuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number)
{
    using namespace postsales_impl;
    Transaction tx(db);
    const RowTexts row = readSaleHeader(db, QStringLiteral("jxc_xsthd"), QStringLiteral("th_status"), number);
    if (row.isEmpty())
        throw DbError(missingSaleRecordText(number));
    const SaleHeader h = saleHeader(row, number, QStringLiteral("th_"), QStringLiteral("th_xsrq"));

    IncUserSalesCount(db, h.handlerSn);
    // The return's amounts are stored negative: money paid back.
    postSaleCash(db, state, clock, h, QStringLiteral("顾客退货"), h.paid);
    postReceivable(db, state, clock, h, QStringLiteral("XT"), QStringLiteral("销售退货单"), h.due,
                   h.due - h.paid);
    if (IsTrue(state.UseInvoice))
        postSaleInvoice(db, state, clock, h, QStringLiteral("XT"), QStringLiteral("销售退货单"), h.due,
                        h.date);

    const double profit = TextToNumber(QueryScalar(
        db,
        QStringLiteral("select sum(coalesce(th_zcb, 0) - coalesce(th_je, 0)) from jxc_xsthsp where gl_djh = ?"),
        {number}));
    RunSql(db, QStringLiteral("update jxc_xsthd set th_lr = ? where gl_djh = ?"), {profit, number});

    const QString gl = QStringLiteral("jxc_goodslist");
    RunSql(db,
           QStringLiteral(
               "insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, dw_name, "
               "gg_name, color_name, gl_dj, gl_sl, gl_zje, gl_lr, gl_dzl, u_name, a_name, ck_sn, "
               "ck_name, ghs_sn, ghs_name, gl_sysl, gl_fdmc, gl_dqkc, gl_kc, gl_pjjj, gl_kczje, "
               "gl_checker, gl_chkrq, gl_sqsl, gl_sqje, gl_bz, gl_note, gl_tax, gl_taxdj, gl_taxje, "
               "gl_je, gl_lsj, gl_cbj, gl_zcb, gl_djh2, idck) "
               "select 'xt', l.gl_djh, cast(? as text), l.g_sn, d.g_name, d.g_jm, d.dw_name, "
               "d.gg_name, d.color_name, %1, -l.th_zsl, -l.th_zje, "
               "coalesce(l.th_zcb, 0) - coalesce(l.th_je, 0), l.th_dzl, cast(? as text), %2, "
               "cast(? as text), cast(? as text), cast(? as text), cast(? as text), l.th_sl, '', 0, 0, "
               "d.g_pjjj, 0, cast(? as text), cast(? as text), 0, 0, l.th_bz, cast(? as text), "
               "l.th_tax, %3, -l.th_taxje, -l.th_je, %4, %5, -l.th_zcb, l.gl_djh2, l.idck "
               "from jxc_xsthsp l join jxc_goods d on d.g_sn = l.g_sn "
               "where l.gl_djh = ? order by l.id")
               .arg(GuardedDivSql(QStringLiteral("l.th_dj"), QStringLiteral("l.g_zhxs")),
                    CutSql(gl, QStringLiteral("a_name"), QStringLiteral("l.a_name")),
                    GuardedDivSql(QStringLiteral("l.th_taxdj"), QStringLiteral("l.g_zhxs")),
                    GuardedDivSql(QStringLiteral("l.th_lsj"), QStringLiteral("l.g_zhxs")),
                    GuardedDivSql(QStringLiteral("l.th_cbj"), QStringLiteral("l.g_zhxs"))),
           saleLedgerBinds(state, clock, h) << number);

    // Every row of the return, the reserved goods included (quantity 0).
    const QVector<RowTexts> rows = ReadRows(
        db,
        QStringLiteral("select id, g_sn, gl_sl, gl_cbj from jxc_goodslist where gl_djh = ? "
                       "and gl_flag = 'xt' order by id"),
        {number});
    std::vector<SaleStep> steps;
    for (const RowTexts &r : rows) {
        const double s = Num(r, QStringLiteral("gl_sl"));
        steps.push_back({r.value(QStringLiteral("id")), r.value(QStringLiteral("g_sn")), s, s,
                         Num(r, QStringLiteral("gl_cbj"))});
    }
    moveSaleStockByGroups(db, state, clock, h.warehouse, steps);

    WriteLog(db, state, clock, QStringLiteral("审核销售退货单%1，共%2种商品").arg(number).arg(rows.size()));
    EnsureZeroGoodsStock(db, h.date.left(7));
    tx.commit();
}

void ApplySalesAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                      const QString &number, double received, double due)
{
    using namespace postsales_impl;
    if (std::abs(received - due) < 0.000001)
        return;
    Transaction tx(db);
    if (state.SettleDiffMode == QLatin1String("1")) {
        const double d = received - due;
        const int changed = RunSql(db,
                                   QStringLiteral("update jxc_lsxssp set ls_zje = ?, ls_je = ? "
                                                  "where gl_djh = ? and g_sn = ?"),
                                   {d, d, number, kReservedGoods});
        if (changed == 0) {
            InsertRow(db, QStringLiteral("jxc_lsxssp"),
                      {{QStringLiteral("gl_djh"), number},
                       {QStringLiteral("ls_dj"), 0.0},
                       {QStringLiteral("ls_sl"), 0.0},
                       {QStringLiteral("ls_zje"), d},
                       {QStringLiteral("g_sn"), kReservedGoods},
                       {QStringLiteral("a_name"), state.CurrentOperatorName},
                       {QStringLiteral("ls_dzl"), 1.0},
                       {QStringLiteral("ls_zhje"), 0.0},
                       {QStringLiteral("t_zp"), QStringLiteral("")},
                       {QStringLiteral("ghs_sn"), GetDefaultSupplierSn(db)},
                       {QStringLiteral("ls_je"), d},
                       {QStringLiteral("ls_tax"), 0.0},
                       {QStringLiteral("ls_taxdj"), 0.0},
                       {QStringLiteral("ls_taxje"), 0.0},
                       {QStringLiteral("ls_cksl"), 0.0},
                       {QStringLiteral("ls_lsj"), 0.0},
                       {QStringLiteral("ls_cbj"), 0.0},
                       {QStringLiteral("ls_zcb"), 0.0},
                       {QStringLiteral("ls_zsl"), 0.0},
                       {QStringLiteral("g_zhxs"), 1.0},
                       {QStringLiteral("dw_name"), QStringLiteral("")},
                       {QStringLiteral("g_sptm"), QStringLiteral("")},
                       {QStringLiteral("ls_cbj2"), 0.0},
                       {QStringLiteral("g_tmbz"), QStringLiteral("")}});
        }
    } else if (state.SettleDiffMode == QLatin1String("0")) {
        QVector<SpreadLine> lines;
        for (const RowTexts &r :
             ReadRows(db,
                      QStringLiteral("select id, ls_sl, ls_zje, ls_tax, ls_dzl, ls_taxdj, ls_dj, ls_je, "
                                     "ls_taxje, (case when t_zp = '' then 1 else 0 end) as plain "
                                     "from jxc_lsxssp where gl_djh = ? order by id"),
                      {number})) {
            SpreadLine l;
            l.id = r.value(QStringLiteral("id")).toLongLong();
            l.qty = Num(r, QStringLiteral("ls_sl"));
            l.total = Num(r, QStringLiteral("ls_zje"));
            l.tax = Num(r, QStringLiteral("ls_tax"));
            l.discount = Num(r, QStringLiteral("ls_dzl"));
            l.taxPrice = Num(r, QStringLiteral("ls_taxdj"));
            l.price = Num(r, QStringLiteral("ls_dj"));
            l.amount = Num(r, QStringLiteral("ls_je"));
            l.taxAmount = Num(r, QStringLiteral("ls_taxje"));
            l.ordinary = l.qty > 0 && r.value(QStringLiteral("plain")) == QLatin1String("1");
            lines.append(l);
        }
        const bool anyOrdinary = std::any_of(lines.begin(), lines.end(),
                                             [](const SpreadLine &l) { return l.ordinary; });
        if (anyOrdinary) {
            bool changed = false;
            const double total = SpreadDifference(lines, due, received, state.PriceDecimals, &changed);
            if (changed) {
                for (const SpreadLine &l : lines) {
                    if (l.qty > 0)
                        RunSql(db,
                               QStringLiteral("update jxc_lsxssp set ls_zje = ?, ls_taxdj = ?, ls_dj = ?, "
                                              "ls_je = ?, ls_taxje = ? where id = ?"),
                               {l.total, l.taxPrice, l.price, l.amount, l.taxAmount, l.id});
                }
            }
            RunSql(db, QStringLiteral("update jxc_lsxsd set ls_yfje = ?, ls_sfje = ? where gl_djh = ?"),
                   {total, total, number});
        }
    }
    tx.commit();
}
