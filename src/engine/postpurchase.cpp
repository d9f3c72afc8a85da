#include "engine/postpurchase.h"

#include "engine/auditsupport.h"
#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/enginebatch.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <algorithm>
#include <cmath>

namespace postpurchase_impl {

using namespace postingsupport;

const QString kReserved = QStringLiteral("00000000");

QString missingRecordText(const QString &number)
{
    return QStringLiteral("单据%1的经手人、供货商或仓库资料不存在，不能审核！").arg(number);
}

// The header joined with its handler, supplier and warehouse; the audited copy first.
RowTexts readHeader(const QSqlDatabase &db, const QString &table, const QString &statusColumn,
                    const QString &number)
{
    return ReadFirstRow(db,
                        QStringLiteral("select a.*, b.u_name, c.ghs_name, d.ck_name from %1 a "
                                       "join jxc_user b on a.u_sn = b.u_sn "
                                       "join jxc_ghsxx c on a.ghs_sn = c.ghs_sn "
                                       "join jxc_ckxx d on a.ck_sn = d.ck_sn "
                                       "where a.gl_djh = ? order by coalesce(a.%2, 0) desc, a.id limit 1")
                            .arg(table, statusColumn),
                        {number});
}

struct HeaderValues
{
    QString number, date, account, note, supplier, supplierName, handlerSn, handlerName;
    QString warehouse, warehouseName, invoiceNo;
    double due = 0, paid = 0, invoiced = 0;
    bool byPayment = false;
};

void postCash(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
              const HeaderValues &h, const QString &kind, double amount)
{
    InsertRow(db, QStringLiteral("jxc_xjyh"),
              {{QStringLiteral("xj_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number},
               {QStringLiteral("xj_dlx"), kind},
               {QStringLiteral("xj_je"), amount},
               {QStringLiteral("u_name"), h.handlerName},
               {QStringLiteral("ghs_name"), h.supplierName},
               {QStringLiteral("ghs_sn"), h.supplier},
               {QStringLiteral("ck_name"), h.warehouseName},
               {QStringLiteral("xj_kmmc"), h.account},
               {QStringLiteral("xj_note"), h.note},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("xj_chk"), QStringLiteral("1")},
               {QStringLiteral("xj_ljje"), 0.0}});
    RecalcCashBalances(db, state, clock, h.account, h.date);
}

void postPayable(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                 const HeaderValues &h, const QString &docType, const QString &docText, double due)
{
    const double provisional =
        TextToNumber(GetPartnerBalanceAt(db, state, clock, h.supplier, QStringLiteral("ghs"),
                                         QStringLiteral("0"), h.date))
        + due - h.paid;
    InsertRow(db, QStringLiteral("jxc_ysyfk"),
              {{QStringLiteral("k_ghskh"), h.supplier},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("u_sn"), h.handlerSn},
               {QStringLiteral("k_fkfs"), h.account},
               {QStringLiteral("k_sfje"), h.paid},
               {QStringLiteral("k_yhje"), 0.0},
               {QStringLiteral("k_qcje"), 0.0},
               {QStringLiteral("k_ljje"), provisional},
               {QStringLiteral("k_yfje"), due},
               {QStringLiteral("k_type"), QStringLiteral("ghs")},
               {QStringLiteral("k_djlx"), docType},
               {QStringLiteral("k_djtxt"), docText},
               {QStringLiteral("k_note"), h.note},
               {QStringLiteral("k_flag"), 1},
               {QStringLiteral("k_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number}});
    RecalcPartnerBalances(db, state, clock, h.supplier, QStringLiteral("ghs"), h.date);
}

void postInvoice(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                 const HeaderValues &h, const QString &docType, const QString &docText, double due)
{
    double provisional = TextToNumber(GetInvoiceBalanceAt(db, state, clock, h.supplier,
                                                          QStringLiteral("ghs"), QStringLiteral("0"),
                                                          h.date));
    if (!h.byPayment)
        provisional += due - h.invoiced;
    InsertRow(db, QStringLiteral("jxc_fpdjb"),
              {{QStringLiteral("fp_ghskh"), h.supplier},
               {QStringLiteral("a_name"), state.CurrentOperatorName},
               {QStringLiteral("u_sn"), h.handlerSn},
               {QStringLiteral("fp_sfje"), h.paid},
               {QStringLiteral("fp_qcje"), 0.0},
               {QStringLiteral("fp_ljje"), provisional},
               {QStringLiteral("fp_yfje"), due},
               {QStringLiteral("fp_kpje"), h.invoiced},
               {QStringLiteral("fp_no"), h.invoiceNo},
               {QStringLiteral("fp_type"), QStringLiteral("ghs")},
               {QStringLiteral("fp_djlx"), docType},
               {QStringLiteral("fp_djtxt"), docText},
               {QStringLiteral("fp_note"), h.note},
               {QStringLiteral("fp_flag"), 1},
               {QStringLiteral("fp_rq"), h.date},
               {QStringLiteral("gl_djh"), h.number},
               {QStringLiteral("fp_check"), 1},
               {QStringLiteral("fp_checker"), state.CurrentOperatorName},
               {QStringLiteral("fp_chkrq"), h.date}});
    RecalcInvoiceBalances(db, state, clock, h.supplier, QStringLiteral("ghs"), h.date);
}

// The goods average over its warehouses, or the row's own price when there is none.
void updateGoodsAfterPurchase(const QSqlDatabase &db, const LoginState &state, const QString &goods,
                              double lineQty, double price, int counterStep, const QString *supplier)
{
    double average = GoodsAverageCost(db, state, goods);
    if (average == -1.0)
        average = price;
    if (average < 0)
        average = price;
    if (supplier) {
        RunSql(db,
               QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ?, "
                              "g_cgpl = coalesce(g_cgpl, 0) + ?, g_scjj = ?, ghs_sn = ?, g_pjjj = ? "
                              "where g_sn = ?"),
               {lineQty, counterStep, price, *supplier, average, goods});
    } else {
        RunSql(db,
               QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ?, "
                              "g_cgpl = coalesce(g_cgpl, 0) + ?, g_pjjj = ? where g_sn = ?"),
               {lineQty, counterStep, average, goods});
    }
}

HeaderValues headerValues(const RowTexts &row, const QString &number, const QString &p)
{
    // p is the column prefix of the amounts: "j_" for receipts, "th_" for returns.
    HeaderValues h;
    h.number = number;
    h.account = row.value(p + QStringLiteral("kmmc"));
    h.note = row.value(p + QStringLiteral("note"));
    h.supplier = row.value(QStringLiteral("ghs_sn"));
    h.supplierName = row.value(QStringLiteral("ghs_name"));
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

QVariantList headerBinds(const LoginState &state, const Clock &clock, const HeaderValues &h)
{
    const QString t = QStringLiteral("jxc_goodslist");
    return {CutToColumn(t, QStringLiteral("gl_kdrq"), h.date),
            CutToColumn(t, QStringLiteral("u_name"), h.handlerName),
            CutToColumn(t, QStringLiteral("ck_sn"), h.warehouse),
            CutToColumn(t, QStringLiteral("ck_name"), h.warehouseName),
            CutToColumn(t, QStringLiteral("ghs_sn"), h.supplier),
            CutToColumn(t, QStringLiteral("ghs_name"), h.supplierName),
            CutToColumn(t, QStringLiteral("gl_checker"), state.CurrentOperatorName),
            CutToColumn(t, QStringLiteral("gl_chkrq"), clock.todayText()),
            CutToColumn(t, QStringLiteral("gl_note"), h.note)};
}

} // namespace postpurchase_impl

void AuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number)
{
    using namespace postpurchase_impl;
    Transaction tx(db);
    const RowTexts row = readHeader(db, QStringLiteral("jxc_jhd"), QStringLiteral("j_status"), number);
    if (row.isEmpty())
        throw DbError(missingRecordText(number));
    HeaderValues h = headerValues(row, number, QStringLiteral("j_"));
    h.date = row.value(QStringLiteral("j_jhrq"));
    const double freight = Num(row, QStringLiteral("j_yf"));
    const double packing = Num(row, QStringLiteral("j_bzf"));

    // Cash: the row is written also when nothing was paid.
    postCash(db, state, clock, h, QStringLiteral("采购进货"), -h.paid);

    // Payable: settled by payment, the amount owed is what was paid.
    const double due = h.byPayment ? h.paid : h.due;
    postPayable(db, state, clock, h, QStringLiteral("CJ"), QStringLiteral("采购进货单"), due);

    if (IsTrue(state.UseInvoice))
        postInvoice(db, state, clock, h, QStringLiteral("CJ"), QStringLiteral("采购进货单"), due);

    if (row.value(QStringLiteral("j_yffs")) == QStringLiteral("我方付运费")) {
        FreightPosting f;
        f.number = number;
        f.date = h.date;
        f.account = h.account;
        f.handlerSn = h.handlerSn;
        f.handlerName = h.handlerName;
        f.partnerSn = h.supplier;
        f.partnerName = h.supplierName;
        f.notePrefix = QStringLiteral("采购单");
        f.freight = freight;
        f.packing = packing;
        if (PostFreightAndPacking(db, state, f))
            RecalcCashBalances(db, state, clock, h.account, h.date);
    }

    // Freeze the line ids.
    RunSql(db, QStringLiteral("update jxc_jhsp set id2 = id, jh_qxsl = 0 where gl_djh = ?"), {number});

    // One ledger row per line, the reserved goods included, in line order.
    const QString gl = QStringLiteral("jxc_goodslist");
    RunSql(db,
           QStringLiteral(
               "insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, dw_name, "
               "gg_name, color_name, gl_dj, gl_sl, gl_zje, gl_lr, gl_dqkc, gl_kc, gl_sqsl, gl_sqje, "
               "gl_lsj, gl_dzl, u_name, a_name, ck_sn, ck_name, ghs_sn, ghs_name, gl_sysl, gl_fdmc, "
               "gl_pjjj, gl_kczje, gl_checker, gl_chkrq, gl_bz, gl_note, gl_tax, gl_taxdj, gl_taxje, "
               "gl_je, id2, gl_djh2, gl_qxsl, idck) "
               "select 'cj', l.gl_djh, cast(? as text), l.g_sn, d.g_name, d.g_jm, d.dw_name, "
               "d.gg_name, d.color_name, "
               "(case when l.jh_sl = l.jh_zsl then l.jh_dj "
               "when coalesce(l.jh_zsl, 0) = 0 or coalesce(l.jh_sl, 0) = 0 then l.jh_dj "
               "else l.jh_dj / (l.jh_zsl / l.jh_sl) end), "
               "l.jh_zsl, l.jh_zje, 0, 0, 0, 0, 0, 0, l.jh_dzl, cast(? as text), %1, "
               "cast(? as text), cast(? as text), cast(? as text), cast(? as text), l.jh_sl, '', "
               "d.g_pjjj, l.jh_je, cast(? as text), cast(? as text), l.jh_bz, cast(? as text), "
               "l.jh_tax, (case when l.jh_zsl > 0 then l.jh_zje / l.jh_zsl else 0 end), l.jh_taxje, "
               "l.jh_je, l.id2, l.gl_djh2, l.jh_qxsl, l.id2 "
               "from jxc_jhsp l left join jxc_goods d on d.g_sn = l.g_sn "
               "where l.gl_djh = ? order by l.id")
               .arg(CutSql(gl, QStringLiteral("a_name"), QStringLiteral("l.a_name"))),
           headerBinds(state, clock, h) << number);

    // Stock, cost walk and goods totals per ledger row, the reserved goods left out.
    const QVector<RowTexts> rows = ReadRows(
        db,
        QStringLiteral("select g.id, g.g_sn, g.gl_sl, g.gl_dj, l.jh_rksl, l.jh_zsl "
                       "from jxc_goodslist g join jxc_jhsp l on l.gl_djh = g.gl_djh "
                       "and l.id2 = g.id2 and l.g_sn = g.g_sn "
                       "where g.gl_djh = ? and g.gl_flag = 'cj' and g.g_sn <> ? order by g.id"),
        {number, kReserved});
    // Group by group (a goods met again waits for the next group): the stock rows, the cost
    // walks and the goods totals of all goods of the group in a few statements.
    QStringList goodsOfRows;
    for (const RowTexts &r : rows)
        goodsOfRows << r.value(QStringLiteral("g_sn"));
    for (const std::vector<int> &group : engine::GroupsByOccurrence(goodsOfRows)) {
        QStringList goods, ids;
        for (int i : group) {
            goods << goodsOfRows.at(i);
            ids << rows.at(i).value(QStringLiteral("id"));
        }
        const std::vector<bool> present = StockRowsExist(db, goods, h.warehouse);
        std::vector<QVariantList> updates, inserts, totals;
        for (size_t n = 0; n < group.size(); ++n) {
            const RowTexts &r = rows.at(group[n]);
            const double qty = Num(r, QStringLiteral("gl_sl"));
            const double price = Num(r, QStringLiteral("gl_dj"));
            const double qin = Num(r, QStringLiteral("jh_rksl")) == 0 ? 0.0 : Num(r, QStringLiteral("jh_zsl"));
            const QVariant g = engine::BoundText(goods.at(int(n))), w = engine::BoundText(h.warehouse);
            if (present[n])
                updates.push_back({qint64(n), g, w, qin, qty});
            else
                inserts.push_back({qint64(n), g, w, qin, price, qty});
        }
        AddStockRows(db, updates, inserts);
        RecalcStockCostRows(db, state, clock, ids, QStringLiteral("0"));
        const std::vector<double> averages = GoodsAverageCosts(db, state, goods);
        for (size_t n = 0; n < group.size(); ++n) {
            const RowTexts &r = rows.at(group[n]);
            const double price = Num(r, QStringLiteral("gl_dj"));
            const double qin = Num(r, QStringLiteral("jh_rksl")) == 0 ? 0.0 : Num(r, QStringLiteral("jh_zsl"));
            double average = averages[n];
            if (average == -1.0)
                average = price;
            if (average < 0)
                average = price;
            totals.push_back({qint64(n), engine::BoundText(goods.at(int(n))), engine::BoundText(h.supplier), qin,
                              price, average});
        }
        QVariantList binds;
        const QString source = engine::BatchSource(
            db,
            {QStringLiteral("id"), QStringLiteral("k1"), QStringLiteral("k2"), QStringLiteral("c1"),
             QStringLiteral("c2"), QStringLiteral("c3")},
            totals, binds);
        RunSql(db,
               QStringLiteral("UPDATE jxc_goods SET g_kc = coalesce(g_kc, 0) + b.c1, g_cgpl = coalesce(g_cgpl, 0) + 1, "
                              "g_scjj = b.c2, ghs_sn = b.k2, g_pjjj = b.c3 FROM %1 WHERE jxc_goods.g_sn = b.k1")
                   .arg(source),
               binds);
    }

    WriteLog(db, state, clock,
             QStringLiteral("审核采购进货单%1，共%2种商品").arg(number).arg(rows.size()));
    EnsureZeroGoodsStock(db, h.date.left(7));
    IncUserPurchaseCount(db, h.handlerSn);

    if (IsTrue(state.UsePurchaseOrder)) {
        const QVector<RowTexts> orders = ReadRows(
            db,
            QStringLiteral("select o.id2, r.jh_sl from jxc_cgsp o join jxc_jhsp r "
                           "on o.id2 = r.id3 and o.g_sn = r.g_sn where r.gl_djh = ? order by o.id"),
            {number});
        for (const RowTexts &o : orders) {
            const QString orderLine = o.value(QStringLiteral("id2"));
            RunSql(db, QStringLiteral("update jxc_cgsp set jh_rksl = coalesce(jh_rksl, 0) + ? where id2 = ?"),
                   {Num(o, QStringLiteral("jh_sl")), orderLine});
            RunSql(db,
                   QStringLiteral("update jxc_cgsp set jh_qxsl = 1 where id = ? "
                                  "and coalesce(jh_rksl, 0) >= coalesce(jh_sl, 0)"),
                   {orderLine});
        }
    }
    tx.commit();
}

void AuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number)
{
    using namespace postpurchase_impl;
    Transaction tx(db);
    const RowTexts row = readHeader(db, QStringLiteral("jxc_thd"), QStringLiteral("th_status"), number);
    if (row.isEmpty())
        throw DbError(missingRecordText(number));
    HeaderValues h = headerValues(row, number, QStringLiteral("th_"));
    h.date = row.value(QStringLiteral("th_thrq"));

    IncUserPurchaseCount(db, h.handlerSn);
    // The return stores its amounts negative: a refund is money in.
    postCash(db, state, clock, h, QStringLiteral("采购退货"), -h.paid);
    postPayable(db, state, clock, h, QStringLiteral("CT"), QStringLiteral("采购退货单"), h.due);
    if (IsTrue(state.UseInvoice))
        postInvoice(db, state, clock, h, QStringLiteral("CT"), QStringLiteral("采购退货单"), h.due);

    const QString gl = QStringLiteral("jxc_goodslist");
    RunSql(db,
           QStringLiteral(
               "insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, dw_name, "
               "gg_name, color_name, gl_dj, gl_sl, gl_zje, gl_lr, gl_dqkc, gl_kc, gl_sqsl, gl_sqje, "
               "gl_lsj, gl_dzl, u_name, a_name, ck_sn, ck_name, ghs_sn, ghs_name, gl_sysl, gl_fdmc, "
               "gl_pjjj, gl_kczje, gl_checker, gl_chkrq, gl_bz, gl_note, gl_tax, gl_taxdj, gl_taxje, "
               "gl_je, gl_djh2, idck) "
               "select 'ct', l.gl_djh, cast(? as text), l.g_sn, d.g_name, d.g_jm, d.dw_name, "
               "d.gg_name, d.color_name, "
               "(case when l.th_sl = l.th_zsl then l.th_dj "
               "when coalesce(l.th_zsl, 0) = 0 or coalesce(l.th_sl, 0) = 0 then l.th_dj "
               "else l.th_dj / (l.th_zsl / l.th_sl) end), "
               "-l.th_zsl, -l.th_zje, 0, 0, 0, 0, 0, 0, l.th_dzl, cast(? as text), %1, "
               "cast(? as text), cast(? as text), cast(? as text), cast(? as text), -l.th_sl, '', "
               "d.g_pjjj, 0, cast(? as text), cast(? as text), l.th_bz, cast(? as text), "
               "l.th_tax, (case when l.th_zsl > 0 then l.th_zje / l.th_zsl else 0 end), -l.th_taxje, "
               "-l.th_je, l.gl_djh2, l.idck "
               "from jxc_thsp l left join jxc_goods d on d.g_sn = l.g_sn "
               "where l.gl_djh = ? order by l.id")
               .arg(CutSql(gl, QStringLiteral("a_name"), QStringLiteral("l.a_name"))),
           headerBinds(state, clock, h) << number);

    // Every row of the return, the reserved goods included.
    const QVector<RowTexts> rows = ReadRows(
        db,
        QStringLiteral("select id, g_sn, gl_sl, gl_dj from jxc_goodslist "
                       "where gl_djh = ? and gl_flag = 'ct' order by id"),
        {number});
    for (const RowTexts &r : rows) {
        const QString goods = r.value(QStringLiteral("g_sn"));
        const double qty = Num(r, QStringLiteral("gl_sl"));
        const double price = Num(r, QStringLiteral("gl_dj"));
        if (StockRowExists(db, goods, h.warehouse)) {
            RunSql(db,
                   QStringLiteral("update jxc_kcsp set kc_sl = coalesce(kc_sl, 0) + ?, "
                                  "kc_zsl = coalesce(kc_zsl, 0) + ? where g_sn = ? and ck_sn = ?"),
                   {qty, qty, goods, h.warehouse});
        } else {
            RunSql(db,
                   QStringLiteral("insert into jxc_kcsp (kc_sl, kc_cbj, kc_xssl, g_sn, ck_sn, kc_zsl) "
                                  "values (?, ?, 0, ?, ?, ?)"),
                   {qty, price, goods, h.warehouse, qty});
        }
        RecalcStockCost(db, state, clock, r.value(QStringLiteral("id")), QStringLiteral("0"));
        updateGoodsAfterPurchase(db, state, goods, qty, price, -1, nullptr);
    }

    WriteLog(db, state, clock,
             QStringLiteral("增加采购退货单%1，共%2种商品").arg(number).arg(rows.size()));
    EnsureZeroGoodsStock(db, h.date.left(7));
    tx.commit();
}

void ApplyPurchaseAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, double paid, double due)
{
    using namespace postpurchase_impl;
    if (std::abs(paid - due) < 0.000001)
        return;
    Transaction tx(db);
    if (state.SettleDiffMode == QLatin1String("1")) {
        const double d = paid - due;
        const int changed = RunSql(db,
                                   QStringLiteral("update jxc_jhsp set jh_zje = ?, jh_je = ? "
                                                  "where gl_djh = ? and g_sn = ?"),
                                   {d, d, number, kReserved});
        if (changed == 0) {
            InsertRow(db, QStringLiteral("jxc_jhsp"),
                      {{QStringLiteral("gl_djh"), number},
                       {QStringLiteral("jh_dj"), 0.0},
                       {QStringLiteral("jh_sl"), 0.0},
                       {QStringLiteral("jh_zje"), d},
                       {QStringLiteral("g_sn"), kReserved},
                       {QStringLiteral("a_name"), state.CurrentOperatorName},
                       {QStringLiteral("jh_je"), d},
                       {QStringLiteral("jh_tax"), 0.0},
                       {QStringLiteral("jh_taxdj"), 0.0},
                       {QStringLiteral("jh_taxje"), 0.0},
                       {QStringLiteral("jh_rksl"), 0.0},
                       {QStringLiteral("jh_zsl"), 0.0},
                       {QStringLiteral("jh_dzl"), 1.0},
                       {QStringLiteral("dw_name"), QString()},
                       {QStringLiteral("g_sptm"), QString()},
                       {QStringLiteral("g_tmbz"), QString()}});
        }
    } else if (state.SettleDiffMode == QLatin1String("0")) {
        QVector<SpreadLine> lines;
        for (const RowTexts &r : ReadRows(db,
                                          QStringLiteral("select id, jh_sl, jh_zje, jh_tax, jh_taxdj, jh_dj, "
                                                         "jh_je, jh_taxje from jxc_jhsp where gl_djh = ? "
                                                         "order by id"),
                                          {number})) {
            SpreadLine l;
            l.id = r.value(QStringLiteral("id")).toLongLong();
            l.qty = Num(r, QStringLiteral("jh_sl"));
            l.total = Num(r, QStringLiteral("jh_zje"));
            l.tax = Num(r, QStringLiteral("jh_tax"));
            l.taxPrice = Num(r, QStringLiteral("jh_taxdj"));
            l.price = Num(r, QStringLiteral("jh_dj"));
            l.amount = Num(r, QStringLiteral("jh_je"));
            l.taxAmount = Num(r, QStringLiteral("jh_taxje"));
            l.ordinary = l.qty > 0;
            lines.append(l);
        }
        bool changed = false;
        const bool anyOrdinary = std::any_of(lines.begin(), lines.end(),
                                             [](const SpreadLine &l) { return l.ordinary; });
        if (anyOrdinary) {
            const double total = SpreadDifference(lines, due, paid, state.PriceDecimals, &changed);
            if (changed) {
                for (const SpreadLine &l : lines) {
                    if (l.qty > 0)
                        RunSql(db,
                               QStringLiteral("update jxc_jhsp set jh_zje = ?, jh_taxdj = ?, jh_dj = ?, "
                                              "jh_je = ?, jh_taxje = ? where id = ?"),
                               {l.total, l.taxPrice, l.price, l.amount, l.taxAmount, l.id});
                }
            }
            RunSql(db, QStringLiteral("update jxc_jhd set j_yfje = ?, j_sfje = ? where gl_djh = ?"),
                   {total, total, number});
        }
    }
    tx.commit();
}
