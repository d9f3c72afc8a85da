// Speed of the purchase lists on a large account set: 5,000 goods, 20,000 audited receipts of
// 4 lines and 2,000 audited returns of 10 lines (100,000 lines with their goods-ledger rows),
// 500 pending receipts; measured through the rules and the grid model the screens use:
//   the pending search of TF_Cgjh with its count and footers (≤ 500 ms median);
//   each query view of TF_Cgjh and of TF_Jthcx for 所有时间 with count and footers (≤ 500 ms);
//   an audited 10-line receipt re-dated (≤ 300 ms);
//   a payment against a receipt saved (≤ 50 ms).
// Each is printed beside a raw reference doing the same plain work through sqlite3 / libpq
// directly (the same statements: the count with the footers' sums and the first block of rows;
// for the writes, the same rows written in one transaction) and the ratio. Median and worst of
// 7 runs. SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host.

#include "benchlist.h"
#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "engine/postpurchase.h"
#include "foundation/db/liststatement.h"
#include "purchasing/docdatechange.h"
#include "purchasing/docpayment.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchasedocquery.h"
#include "purchasing/purchaselistqueries.h"
#include "screenkit/dialogparts.h"
#include "screenkit/gridmodel.h"

#include <QApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kGoods = 5000;
constexpr int kReceipts = 20000;
constexpr int kReceiptLines = 4;
constexpr int kReturns = 2000;
constexpr int kReturnLines = 10;
constexpr int kPending = 500;
constexpr int kRuns = 7;
const QString kRedated = QStringLiteral("CJ25031410001");
const QString kPaid = QStringLiteral("CJ25031410002");

QString fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    const auto series = [](int n) {
        return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
    };
    const auto text = [&](const QString &expr) { return d.castText(expr); };
    // A day of 2024 and 2025 for document i.
    const auto day = [&](const QString &i) {
        return QStringLiteral("'202' || %1 || '-' || substr('0' || %2, -2) || '-' || substr('0' || %3, -2) || ' 10:00'")
            .arg(text(QStringLiteral("4 + (%1) % 2").arg(i)), text(QStringLiteral("1 + (%1) % 12").arg(i)),
                 text(QStringLiteral("1 + (%1) % 28").arg(i)));
    };
    Transaction tx(db);
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_jj, g_scjj, g_pjjj, gc_sn, g_jy, "
                                    "g_cgpl, g_kc, g_zhxs, g_gdcbj) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '商品' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SP' || ") + text(QStringLiteral("i")) + QStringLiteral(", '个', 5, 5, 5, '1000', 0, 0, 1000, 1, 0 from s"));
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '100001', 1000, 1000, 5, 5000, 0 from s"));
    // Audited receipts: number CJ + yymmdd-like stem + serial (unique by i).
    RunSql(db, series(kReceipts)
                   + QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                    "j_jsfs, j_kmmc, j_yhje, j_hkje, j_th, j_checker, j_chkrq, j_note) select 'CJ24' || ")
                   + text(QStringLiteral("1000000 + i")) + QStringLiteral(", '100001', '100001', ") + day(QStringLiteral("i"))
                   + QStringLiteral(", 200, 100, '100001', 'admin', 1, 1, '现金', 0, 0, 0, 'admin', '2025-01-01', '' from s"));
    RunSql(db, series(kReceipts * kReceiptLines)
                   + QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, jh_tax, "
                                    "jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name) select 'CJ24' || ")
                   + text(QStringLiteral("1000000 + (i + 3) / 4")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 5000"))
                   + QStringLiteral(", 'admin', 5, 10, 50, 50, 5, 0, 0, 1, 10, 10, '个' from s"));
    RunSql(db, series(kReturns)
                   + QStringLiteral("insert into jxc_thd (gl_djh, ghs_sn, ck_sn, th_thrq, th_yfje, th_sfje, th_hkje, u_sn, "
                                    "a_name, th_status, th_jsfs, th_kmmc, th_checker, th_chkrq, th_note) select 'CT24' || ")
                   + text(QStringLiteral("1000000 + i")) + QStringLiteral(", '100001', '100001', ") + day(QStringLiteral("i * 7"))
                   + QStringLiteral(", -500, -200, 0, '100001', 'admin', 1, 1, '现金', 'admin', '2025-01-01', '' from s"));
    RunSql(db, series(kReturns * kReturnLines)
                   + QStringLiteral("insert into jxc_thsp (gl_djh, g_sn, a_name, th_dj, th_sl, th_je, th_zje, th_taxdj, th_tax, "
                                    "th_taxje, th_dzl, th_zsl, dw_name, id2, idck) select 'CT24' || ")
                   + text(QStringLiteral("1000000 + (i + 9) / 10")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 104729) % 5000"))
                   + QStringLiteral(", 'admin', 5, 10, 50, 50, 5, 0, 0, 1, 10, '个', 0, 0 from s"));
    RunSql(db, QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, ck_sn, ck_name, "
                              "ghs_sn, ghs_name, gl_sl, gl_dj, gl_je, gl_zje, gl_taxje, a_name, gl_checker, gl_chkrq) "
                              "select 'cj', l.gl_djh, h.j_jhrq, l.g_sn, g.g_name, g.g_jm, '100001', '主仓库', '100001', "
                              "'普通供货商', l.jh_sl, l.jh_dj, l.jh_je, l.jh_zje, 0, 'admin', 'admin', '2025-01-01' "
                              "from jxc_jhsp l join jxc_jhd h on h.gl_djh = l.gl_djh join jxc_goods g on g.g_sn = l.g_sn"));
    RunSql(db, QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, g_jm, ck_sn, ck_name, "
                              "ghs_sn, ghs_name, gl_sl, gl_dj, gl_je, gl_zje, gl_taxje, a_name, gl_checker, gl_chkrq) "
                              "select 'ct', l.gl_djh, h.th_thrq, l.g_sn, g.g_name, g.g_jm, '100001', '主仓库', '100001', "
                              "'普通供货商', -l.th_sl, l.th_dj, -l.th_je, -l.th_zje, 0, 'admin', 'admin', '2025-01-01' "
                              "from jxc_thsp l join jxc_thd h on h.gl_djh = l.gl_djh join jxc_goods g on g.g_sn = l.g_sn"));
    RunSql(db, series(kPending)
                   + QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                    "j_jsfs, j_kmmc, j_yhje, j_hkje, j_th, j_note) select 'CJ25' || ")
                   + text(QStringLiteral("2000000 + i")) + QStringLiteral(", '100001', '100001', ") + day(QStringLiteral("i"))
                   + QStringLiteral(", 200, 200, '100001', 'admin', 0, 1, '现金', 0, 0, 0, '' from s"));
    RunSql(db, series(kPending * kReceiptLines)
                   + QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, jh_tax, "
                                    "jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name) select 'CJ25' || ")
                   + text(QStringLiteral("2000000 + (i + 3) / 4")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 31) % 5000"))
                   + QStringLiteral(", 'admin', 5, 10, 50, 50, 5, 0, 0, 1, 10, 10, '个' from s"));
    // The two receipts the writes work on: saved pending, audited below through the engine.
    for (const QString &n : {kRedated, kPaid}) {
        RunSql(db, QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                  "j_jsfs, j_kmmc, j_yhje, j_hkje, j_th, j_note) values (?, '100001', '100001', "
                                  "'2025-03-14 08:00', 500, 100, '100001', 'admin', 0, 1, '现金', 0, 0, 0, '')"),
               {n});
        RunSql(db, series(10)
                       + QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, "
                                        "jh_tax, jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name) select ?, ")
                       + text(QStringLiteral("30000000 + i * 13")) + QStringLiteral(", 'admin', 5, 10, 50, 50, 5, 0, 0, 1, 10, 10, '个' from s"),
               {n});
    }
    tx.commit();
    return QStringLiteral("%1 goods, %2 receipts and %3 returns (%4 lines and ledger rows), %5 pending receipts")
        .arg(kGoods)
        .arg(kReceipts)
        .arg(kReturns)
        .arg(kReceipts * kReceiptLines + kReturns * kReturnLines)
        .arg(kPending);
}

void measure(const ConnectionSettings &s, const QSqlDatabase &db, const QString &file)
{
    FixedClock clock(QDateTime(QDate(2025, 3, 14), QTime(10, 30)));
    LoginState state;
    BenchNotices notices;
    SignInBenchAdministrator(db, state, clock);
    RawDb raw(s, file);

    const auto list = [&](const char *what, const ListStatement &st, const QStringList &sums) {
        const Timing ours = MeasureList(kRuns, db, st, sums);
        const Timing plain = MeasureRawList(kRuns, raw, st, sums);
        ReportTiming(what, ours, plain, 500);
    };
    list("pending search with footers", PendingPurchases(db, state, PurchaseListDocOf(PurchaseKind::Receipt)).list(QString(), QString(), false),
         {QStringLiteral("j_yfje"), QStringLiteral("j_sfje"), QStringLiteral("wfje"), QStringLiteral("j_yhje")});
    const PurchaseListQueries receipts(db, state, PurchaseListDocOf(PurchaseKind::Receipt));
    const PurchaseQueryCriteria all{QStringLiteral("2000-01-01"), QStringLiteral("9999-12-31"), QString(), QString()};
    const QStringList ledgerSums{QStringLiteral("gl_sl"), QStringLiteral("gl_je"), QStringLiteral("gl_zje")};
    list("TF_Cgjh 单据表, all time", receipts.documents(all),
         {QStringLiteral("j_yfje"), QStringLiteral("j_sfje"), QStringLiteral("wfje"), QStringLiteral("j_hkje")});
    list("TF_Cgjh 汇总表, all time", receipts.summary(all), {QStringLiteral("sl"), QStringLiteral("je"), QStringLiteral("zje")});
    list("TF_Cgjh 明细表, all time", receipts.details(all), ledgerSums);
    const PurchaseDocQuery query(db, state);
    DocQueryCriteria c;
    c.from = QStringLiteral("2000-01-01");
    c.to = QStringLiteral("9999-12-31");
    list("TF_Jthcx 单据表, all time", query.documents(c),
         {QStringLiteral("yfje"), QStringLiteral("sfje"), QStringLiteral("wfje"), QStringLiteral("hkje")});
    list("TF_Jthcx 汇总表, all time", query.summary(c), {QStringLiteral("sl"), QStringLiteral("je"), QStringLiteral("zje")});
    list("TF_Jthcx 明细表, all time", query.lines(c), ledgerSums);

    // The two receipts audited through the engine.
    for (const QString &n : {kRedated, kPaid}) {
        AuditPurchaseIn(db, state, clock, n);
        RunSql(db, QStringLiteral("update jxc_jhd set j_status = 1, j_checker = 'admin', j_chkrq = '2025-03-14' where gl_djh = ?"), {n});
    }

    // Re-date: back and forth between two days, each run one audited change.
    DocDateChangeRules rules(db, state, clock, notices);
    QString current = kRedated;
    int flip = 0;
    const Timing redate = MeasureRuns(kRuns, [&] {
        const std::optional<DateChangeDoc> doc = rules.open(current);
        const QString day = (flip++ % 2 == 0) ? QStringLiteral("2025-03-12") : QStringLiteral("2025-03-14");
        DateChangeInput in;
        in.day = day;
        in.warehouseSn = QStringLiteral("100001");
        in.supplierSn = doc->supplierSn;
        in.supplierName = in.supplierText = doc->supplierName;
        in.handlerSn = QStringLiteral("100001");
        in.settleIndex = doc->settleIndex;
        in.accountText = doc->accountName;
        in.payable = doc->payable;
        in.paid = doc->paid;
        const PurchaseResult r = rules.save(*doc, rules.numberForDay(*doc, day), in, DateChangeMode::Audited);
        if (!r.done())
            throw DbError(QStringLiteral("re-date refused"));
        current = r.number;
    });
    // Raw: the rows the change writes — header and lines renumbered, the old ledger rows gone and
    // the new ones written from the lines, the stock of the ten goods taken out and put back.
    QString rawNumber = current;
    int rawFlip = 0;
    const Timing redateRaw = MeasureRuns(kRuns, [&] {
        const QString next = (rawFlip++ % 2 == 0) ? QStringLiteral("CJ25031299001") : QStringLiteral("CJ25031499001");
        raw.run(QStringLiteral("begin"));
        raw.run(QStringLiteral("select * from jxc_jhd where gl_djh = ?"), {rawNumber});
        raw.run(QStringLiteral("update jxc_jhd set gl_djh = ?, j_jhrq = ? where gl_djh = ?"), {next, QStringLiteral("2025-03-12 10:30"), rawNumber});
        raw.run(QStringLiteral("update jxc_jhsp set gl_djh = ? where gl_djh = ?"), {next, rawNumber});
        raw.run(QStringLiteral("delete from jxc_goodslist where gl_djh = ?"), {rawNumber});
        raw.run(QStringLiteral("update jxc_kcsp set kc_sl = kc_sl - 10, kc_zsl = kc_zsl - 10 where ck_sn = '100001' and g_sn in "
                               "(select g_sn from jxc_jhsp where gl_djh = ?)"), {next});
        raw.run(QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, ck_sn, gl_sl, gl_dj, gl_je, gl_zje) "
                               "select 'cj', gl_djh, '2025-03-12 10:30', g_sn, '100001', jh_sl, jh_dj, jh_je, jh_zje "
                               "from jxc_jhsp where gl_djh = ?"), {next});
        raw.run(QStringLiteral("update jxc_kcsp set kc_sl = kc_sl + 10, kc_zsl = kc_zsl + 10 where ck_sn = '100001' and g_sn in "
                               "(select g_sn from jxc_jhsp where gl_djh = ?)"), {next});
        raw.run(QStringLiteral("commit"));
        rawNumber = next;
    });
    ReportTiming("an audited 10-line receipt re-dated", redate, redateRaw, 300);

    DocPaymentRules payments(db, state, clock, notices);
    const Timing pay = MeasureRuns(kRuns, [&] {
        const std::optional<DocPaymentView> view = payments.open(kPaid);
        DocPaymentInput in;
        in.amount = 1;
        in.day = QStringLiteral("2025-03-14");
        in.handlerSn = QStringLiteral("100001");
        in.accountText = QStringLiteral("现金");
        if (!payments.save(*view, in))
            throw DbError(QStringLiteral("payment refused"));
    });
    const Timing payRaw = MeasureRuns(kRuns, [&] {
        raw.run(QStringLiteral("begin"));
        raw.run(QStringLiteral("select * from jxc_jhd where gl_djh = ?"), {kPaid});
        raw.run(QStringLiteral("select max(gl_djh) from jxc_ysyfk_dj where gl_djh like 'FK250314%'"));
        raw.run(QStringLiteral("insert into jxc_ysyfk_dj (gl_djh, k_ghskh, k_type, k_djlx, k_rq, k_sfje, gl_djh2, k_flag, "
                               "k_check, a_name) values ('FK25031499999', '100001', 'ghs', 'FK', '2025-03-14 10:30', 1, ?, -1, 0, 'admin')"),
                {kPaid});
        raw.run(QStringLiteral("update jxc_jhd set j_hkje = j_hkje + 1, j_note = j_note || ' ' where gl_djh = ?"), {kPaid});
        raw.run(QStringLiteral("insert into jxc_log (log_note, a_name) values ('增加付款', 'admin')"));
        raw.run(QStringLiteral("commit"));
    });
    ReportTiming("a payment against a receipt saved", pay, payRaw, 50);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QStringLiteral("purchase_lists");
    return RunBenchOnTargets(BenchTargets(dir.path(), argc, argv), file, fill,
                             [&](const ConnectionSettings &s, const QSqlDatabase &db) { measure(s, db, file); });
}
