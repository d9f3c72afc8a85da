// Cancel-audit of purchase receipts (CJ, jxc_jhd/jxc_jhsp) and purchase returns (CT,
// jxc_thd/jxc_thsp).

#include "engine/auditsupport.h"
#include "engine/costwalk.h"
#include "engine/enginebatch.h"
#include "engine/reversalsupport.h"
#include "engine/stockcheck.h"
#include "engine/unauditphases.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"

namespace unauditpurchase_impl {

using namespace reversal;

// Header of an audited receipt or return, read as texts; empty when there is none.
RowTexts purchaseHeader(const QSqlDatabase &db, const QString &table, const QString &statusColumn,
                       const QString &columns, const QString &number)
{
    return Row(db,
               QStringLiteral("select %1 from %2 where gl_djh = ? and %3 = 1 order by id limit 1")
                   .arg(columns, table, statusColumn),
               {number});
}

struct StockReversal
{
    QString ledgerId;
    QString goods;
    double qtyOnHand = 0;  // taken off kc_sl and g_kc
    double qty = 0;        // taken off kc_zsl
    double rowPrice = 0;   // the goods price when no average is left
};

// Per ledger row of the document in turn: the stock row loses what the posting added, the cost
// walk runs again without the document, and the goods take the new average. Group by group
// (see engine::GroupsByOccurrence), each step in a few statements for the whole group.
void reverseStockByGroups(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                          const QString &warehouse, const std::vector<StockReversal> &steps,
                          int purchaseCountChange)
{
    QStringList goodsOfSteps;
    for (const StockReversal &st : steps)
        goodsOfSteps << st.goods;
    const QVariant w = engine::BoundText(warehouse);
    const QString id = QStringLiteral("id"), k1 = QStringLiteral("k1"), k2 = QStringLiteral("k2"),
                  c1 = QStringLiteral("c1"), c2 = QStringLiteral("c2");
    for (const std::vector<int> &group : engine::GroupsByOccurrence(goodsOfSteps)) {
        QStringList goods, ids;
        std::vector<QVariantList> stock, totals;
        for (size_t n = 0; n < group.size(); ++n) {
            const StockReversal &st = steps[size_t(group[n])];
            goods << st.goods;
            ids << st.ledgerId;
            stock.push_back({qint64(n), engine::BoundText(st.goods), w, st.qtyOnHand, st.qty});
        }
        {
            QVariantList binds;
            const QString source = engine::BatchSource(db, {id, k1, k2, c1, c2}, stock, binds);
            RunSql(db,
                   QStringLiteral("UPDATE jxc_kcsp SET kc_sl = coalesce(kc_sl, 0) - b.c1, "
                                  "kc_zsl = coalesce(kc_zsl, 0) - b.c2 "
                                  "FROM %1 WHERE jxc_kcsp.g_sn = b.k1 AND jxc_kcsp.ck_sn = b.k2")
                       .arg(source),
                   binds);
        }
        RecalcStockCostRows(db, state, clock, ids, QStringLiteral("1"));
        const std::vector<double> averages = postingsupport::GoodsAverageCosts(db, state, goods);
        for (size_t n = 0; n < group.size(); ++n) {
            const StockReversal &st = steps[size_t(group[n])];
            double price = averages[n] == -1.0 ? st.rowPrice : averages[n];
            if (price < 0)
                price = st.rowPrice;
            totals.push_back({qint64(n), engine::BoundText(st.goods), st.qtyOnHand, price});
        }
        QVariantList binds;
        const QString source = engine::BatchSource(db, {id, k1, c1, c2}, totals, binds);
        RunSql(db,
               QStringLiteral("UPDATE jxc_goods SET g_kc = coalesce(g_kc, 0) - b.c1, "
                              "g_cgpl = coalesce(g_cgpl, 0) + (%1), g_pjjj = b.c2 FROM %2 WHERE jxc_goods.g_sn = b.k1")
                   .arg(purchaseCountChange)
                   .arg(source),
               binds);
    }
}

} // namespace unauditpurchase_impl

namespace unauditphases {

using namespace reversal;
using namespace unauditpurchase_impl;

UnauditOutcome CheckPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               Notices &notices, const QString &number, const UnauditOptions &options)
{
    UnauditOutcome o = RequireRight(db, state, notices, QStringLiteral("cggl"), 3,
                                    QStringLiteral("采购进货单"));
    if (o != UnauditOutcome::Done)
        return o;
    if (QueryScalar(db, QStringLiteral("select count(*) from jxc_rksp where gl_djh = ?"), {number}).toInt() > 0)
        return Refuse(notices, QStringLiteral("该单据") + number
                                   + QStringLiteral("已有入库信息，不能取消审核！\r\n\r\n请在商品入库单中删除该单据的所有信息，"
                                                    "\r\n\r\n然后再取消审核！"));
    const RowTexts header = purchaseHeader(db, QStringLiteral("jxc_jhd"), QStringLiteral("j_status"),
                                          QStringLiteral("ck_sn, j_checker"), number);
    if (header.isEmpty())
        return Refuse(notices, NotAuditedText(number));
    o = AuditorRule(db, state, notices, QStringLiteral("cggl"), 3, number,
                    header.value(QStringLiteral("j_checker")));
    if (o != UnauditOutcome::Done)
        return o;
    if ((o = BeforeUnauditHook(notices, number)) != UnauditOutcome::Done)
        return o;
    if ((o = Confirm(notices, options, ConfirmText(number))) != UnauditOutcome::Done)
        return o;
    return StockTestOutcome(state, notices,
                            CheckNegativeStock(db, state, clock, number,
                                            header.value(QStringLiteral("ck_sn")), QStringLiteral("CJ")));
}

void ApplyPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number, const UnauditOptions &options)
{
    RowTexts header = purchaseHeader(db, QStringLiteral("jxc_jhd"), QStringLiteral("j_status"),
                                    QStringLiteral("ghs_sn, ck_sn, j_jhrq"), number);
    Lock(db, {QStringLiteral("jxc_jhd"), number, LedgerGoods(db, number), QStringLiteral("ghs"),
              header.value(QStringLiteral("ghs_sn")),
              CashAccountsOf(db, QStringList{number} + RegistrationsAgainst(db, number)), QString()});
    RequireAuditedHeader(db, QStringLiteral("jxc_jhd"), QStringLiteral("j_status"), number);
    header = purchaseHeader(db, QStringLiteral("jxc_jhd"), QStringLiteral("j_status"),
                           QStringLiteral("ghs_sn, ck_sn, j_jhrq"), number);
    const QString date = header.value(QStringLiteral("j_jhrq"));
    const QString warehouse = header.value(QStringLiteral("ck_sn"));
    const QString supplier = header.value(QStringLiteral("ghs_sn"));

    WriteLog(db, state, clock, QStringLiteral("取消审核采购进货单") + number);
    QMap<QString, QString> accounts;
    const QString account = QueryScalar(
        db, QStringLiteral("select xj_kmmc from jxc_xjyh where gl_djh = ? order by id limit 1"), {number});
    if (!account.isEmpty())
        AddCashAccount(accounts, account, date);
    RunSql(db, QStringLiteral("delete from jxc_jhd where gl_djh = ? and j_status = 0"), {number});

    // Stock: qin is what the posting put on hand (nothing for lines not yet taken in).
    const QVector<RowTexts> rows = Rows(
        db,
        QStringLiteral("select a.id, a.g_sn, a.gl_sl, a.gl_dj, "
                       "case when coalesce(b.jh_rksl, 0) = 0 then 0 else coalesce(b.jh_zsl, 0) end as qin "
                       "from jxc_goodslist a join jxc_jhsp b on b.gl_djh = a.gl_djh and b.id2 = a.id2 "
                       "and b.g_sn = a.g_sn where a.gl_djh = ? and a.g_sn <> '00000000' order by a.id"),
        {number});
    std::vector<StockReversal> steps;
    for (const RowTexts &row : rows)
        steps.push_back({row.value(QStringLiteral("id")), row.value(QStringLiteral("g_sn")),
                         Num(row, QStringLiteral("qin")), Num(row, QStringLiteral("gl_sl")),
                         Num(row, QStringLiteral("gl_dj"))});
    reverseStockByGroups(db, state, clock, warehouse, steps, -1);

    if (!options.keepAudited)
        RunSql(db,
               QStringLiteral("update jxc_jhd set j_status = 0, j_chkrq = '', j_checker = '', j_hkje = 0 "
                              "where gl_djh = ? and j_status = 1"),
               {number});

    FinanceRemoval removal;
    removal.number = number;
    removal.partnerType = QStringLiteral("ghs");
    removal.partner = supplier;
    removal.date = date;
    const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
    for (auto it = touched.cbegin(); it != touched.cend(); ++it)
        AddCashAccount(accounts, it.key(), it.value());

    if (IsTrue(state.UsePurchaseOrder))
        ReverseOrderProgress(db, number, QStringLiteral("jxc_jhsp"), QStringLiteral("jxc_cgsp"),
                             QStringLiteral("jh_sl"), QStringLiteral("jh_rksl"), QStringLiteral("jh_qxsl"));
    EnsureZeroGoodsStock(db, date.left(7));
    RecalcCashAccounts(db, state, clock, accounts);
}

UnauditOutcome CheckPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                   Notices &notices, const QString &number, const UnauditOptions &options)
{
    Q_UNUSED(clock)
    UnauditOutcome o = UnauditOutcome::Done;
    if (!options.keepAudited) {
        o = RequireRight(db, state, notices, QStringLiteral("cggl"), 6, QStringLiteral("采购退货单"));
        if (o != UnauditOutcome::Done)
            return o;
    }
    const RowTexts header = purchaseHeader(db, QStringLiteral("jxc_thd"), QStringLiteral("th_status"),
                                          QStringLiteral("th_checker"), number);
    if (header.isEmpty())
        return Refuse(notices, NotAuditedText(number));
    o = AuditorRule(db, state, notices, QStringLiteral("cggl"), 6, number,
                    header.value(QStringLiteral("th_checker")));
    if (o != UnauditOutcome::Done)
        return o;
    if ((o = BeforeUnauditHook(notices, number)) != UnauditOutcome::Done)
        return o;
    return Confirm(notices, options, ConfirmText(number));
}

void ApplyPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, const UnauditOptions &options)
{
    RowTexts header = purchaseHeader(db, QStringLiteral("jxc_thd"), QStringLiteral("th_status"),
                                    QStringLiteral("ghs_sn, ck_sn, th_thrq"), number);
    Lock(db, {QStringLiteral("jxc_thd"), number, LedgerGoods(db, number), QStringLiteral("ghs"),
              header.value(QStringLiteral("ghs_sn")),
              CashAccountsOf(db, QStringList{number} + RegistrationsAgainst(db, number)), QString()});
    RequireAuditedHeader(db, QStringLiteral("jxc_thd"), QStringLiteral("th_status"), number);
    header = purchaseHeader(db, QStringLiteral("jxc_thd"), QStringLiteral("th_status"),
                           QStringLiteral("ghs_sn, ck_sn, th_thrq"), number);
    const QString date = header.value(QStringLiteral("th_thrq"));
    const QString warehouse = header.value(QStringLiteral("ck_sn"));

    WriteLog(db, state, clock, QStringLiteral("取消审核采购退货单") + number);
    QMap<QString, QString> accounts;
    const QString account = QueryScalar(
        db, QStringLiteral("select xj_kmmc from jxc_xjyh where gl_djh = ? order by id limit 1"), {number});
    if (!account.isEmpty())
        AddCashAccount(accounts, account, date);
    RunSql(db, QStringLiteral("delete from jxc_thd where gl_djh = ? and th_status = 0"), {number});

    // The stored quantities are negative: the stock rises again. The reserved goods keep the
    // movement of the posting.
    const QVector<RowTexts> rows = Rows(
        db,
        QStringLiteral("select id, g_sn, gl_sl, gl_dj from jxc_goodslist where gl_djh = ? "
                       "and g_sn <> '00000000' order by id"),
        {number});
    std::vector<StockReversal> steps;
    for (const RowTexts &row : rows) {
        const double qty = Num(row, QStringLiteral("gl_sl"));
        steps.push_back({row.value(QStringLiteral("id")), row.value(QStringLiteral("g_sn")), qty, qty,
                         Num(row, QStringLiteral("gl_dj"))});
    }
    reverseStockByGroups(db, state, clock, warehouse, steps, 1);

    if (!options.keepAudited)
        RunSql(db,
               QStringLiteral("update jxc_thd set th_status = 0, th_chkrq = '', th_checker = '', "
                              "th_hkje = 0 where gl_djh = ? and th_status = 1"),
               {number});

    FinanceRemoval removal;
    removal.number = number;
    removal.partnerType = QStringLiteral("ghs");
    removal.partner = header.value(QStringLiteral("ghs_sn"));
    removal.date = date;
    removal.expenses = false;
    const QMap<QString, QString> touched = RemoveFinanceRows(db, state, clock, removal);
    for (auto it = touched.cbegin(); it != touched.cend(); ++it)
        AddCashAccount(accounts, it.key(), it.value());

    EnsureZeroGoodsStock(db, date.left(7));
    RecalcCashAccounts(db, state, clock, accounts);
}

} // namespace unauditphases
