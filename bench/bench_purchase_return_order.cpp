// Speed of the purchase return and purchase order lists on a large account set: 5,000 goods,
// 20,000 audited returns of 5 lines (100,000 "ct" ledger rows) and 20,000 audited orders of 5
// lines (100,000 order lines, a quarter of them still open), spread over January to March:
//   the return query's 单据表, 汇总表 and 明细表 for one month, with their footers (≤ 0.5 s,
//   汇总表 ≤ 1 s);
//   the order query's 单据表 and 明细表 for one month (≤ 0.5 s);
//   the order import dialog's 单据表 and 明细表 with "显示已完成单据" off (≤ 0.5 s);
//   the audit of a pending 200-line order (≤ 50 ms).
// Each view runs through its rule's statement and the kit's grid model (count, first block,
// footer sums); the raw reference runs the same statements through sqlite3 / libpq directly.
// Median and worst of 7 runs, then the ratio. SQLite file, then PostgreSQL when JXC_BENCH_PG
// names a socket folder or host.

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/orderaudit.h"
#include "purchasing/orderimport.h"
#include "purchasing/purchaselistqueries.h"
#include "screenkit/gridmodel.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kGoods = 5000;
constexpr int kDocuments = 20000;
constexpr int kLinesPerDocument = 5;
constexpr int kAuditLines = 200;
constexpr int kRuns = 7;

void quiet(QtMsgType, const QMessageLogContext &, const QString &) {}

void fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    auto series = [&](int n) {
        return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
    };
    auto text = [&](const QString &expr) { return d.castText(expr); };
    // Day i of a document: spread over 2025-01-01 … 2025-03-28 ("2025-0M-DD 10:00").
    const QString day = QStringLiteral("'2025-0' || ") + text(QStringLiteral("1 + (i % 3)")) + QStringLiteral(" || '-' || ")
                        + text(QStringLiteral("10 + (i % 18)")) + QStringLiteral(" || ' 10:00'");
    Transaction tx(db);
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_jj, g_scjj, g_pjjj, gc_sn, g_jy, g_kc, "
                                    "g_zhxs) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '商品' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SP' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '个', 10, 10, 10, '1000', 0, 100, 1 from s"));
    // Returns: headers, lines and their ledger rows (negative, as the audit posts them).
    RunSql(db, series(kDocuments)
                   + QStringLiteral("insert into jxc_thd (gl_djh, ghs_sn, ck_sn, th_thrq, th_yfje, th_sfje, th_hkje, u_sn, a_name, "
                                    "th_status, th_jsfs, th_kmmc, th_checker, th_chkrq, th_note, th_qk) select 'CT' || ")
                   + text(QStringLiteral("1000000 + i")) + QStringLiteral(", '100001', '100001', ") + day
                   + QStringLiteral(", -50, -50, 0, '100001', 'admin', 1, 1, '现金', 'admin', '2025-03-14', '', 0 from s"));
    RunSql(db, series(kDocuments * kLinesPerDocument)
                   + QStringLiteral("insert into jxc_thsp (gl_djh, g_sn, a_name, th_dj, th_sl, th_je, th_zje, th_taxdj, th_tax, "
                                    "th_taxje, th_dzl, th_zsl, dw_name, id2) select 'CT' || ")
                   + text(QStringLiteral("1000001 + (i - 1) / 5")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 5000"))
                   + QStringLiteral(", 'admin', 10, 1, 10, 10, 10, 0, 0, 1, 1, '个', 0 from s"));
    RunSql(db, QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, ck_sn, ck_name, ghs_sn, "
                              "ghs_name, gl_sl, gl_dj, gl_je, gl_zje, gl_taxje, gl_pjjj, gl_dqkc, gl_kc, gl_kczje, a_name) "
                              "select 'ct', a.gl_djh, h.th_thrq, a.g_sn, '商品', '100001', '主仓库', '100001', '普通供货商', "
                              "-a.th_sl, a.th_dj, -a.th_je, -a.th_zje, 0, 10, 100, 100, 1000, 'admin' "
                              "from jxc_thsp a join jxc_thd h on h.gl_djh = a.gl_djh"));
    // Orders: audited, a quarter of the lines still open.
    RunSql(db, series(kDocuments)
                   + QStringLiteral("insert into jxc_cgd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                    "j_jsfs, j_kmmc, j_qk, j_checker, j_chkrq, j_note, j_yhje, j_hkje, j_th) select 'CD' || ")
                   + text(QStringLiteral("1000000 + i")) + QStringLiteral(", '100001', '100001', ") + day
                   + QStringLiteral(", 50, 50, '100001', 'admin', 1, 1, '现金', 0, 'admin', '2025-03-14', '', 0, 0, 0 from s"));
    RunSql(db, series(kDocuments * kLinesPerDocument)
                   + QStringLiteral("insert into jxc_cgsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, jh_tax, "
                                    "jh_taxje, jh_dzl, jh_zsl, jh_rksl, jh_qxsl, dw_name) select 'CD' || ")
                   + text(QStringLiteral("1000001 + (i - 1) / 5")) + QStringLiteral(", ")
                   + text(QStringLiteral("30000001 + (i * 7919) % 5000"))
                   + QStringLiteral(", 'admin', 10, 4, 40, 40, 10, 0, 0, 1, 4, case when i % 4 = 0 then 1 else 4 end, "
                                    "case when i % 4 = 0 then 0 else 1 end, '个' from s"));
    RunSql(db, QStringLiteral("update jxc_cgsp set id2 = id"));
    tx.commit();
}

// A statement read as the grid reads it: the count, the first block and the footer sums.
struct Shown
{
    ListStatement st;
    QStringList sums;
};

void readRaw(RawDb &raw, const Shown &v)
{
    raw.run(QStringLiteral("select count(*) from (%1) c").arg(v.st.body), v.st.binds);
    raw.run(v.st.body + QStringLiteral(" order by ") + v.st.order + QStringLiteral(" limit 400"), v.st.binds);
    if (!v.sums.isEmpty()) {
        QStringList terms;
        for (const QString &f : v.sums)
            terms << QStringLiteral("sum(z.%1)").arg(f);
        raw.run(QStringLiteral("select %1 from (%2) z").arg(terms.join(QStringLiteral(", ")), v.st.body), v.st.binds);
    }
}

void measureView(const QSqlDatabase &db, RawDb &raw, const char *what, const Shown &v, double targetMs)
{
    SqlGridModel model(db);
    int count = 0;
    const Timing ours = MeasureRuns(kRuns, [&] {
        model.setStatement(v.st.body, v.st.order, v.st.binds);
        model.reload();
        if (!v.sums.isEmpty())
            model.sums(v.sums, &count);
    });
    const Timing rawTiming = MeasureRuns(kRuns, [&] { readRaw(raw, v); });
    std::printf("    %s: %d rows\n", what, model.totalCount());
    ReportTiming(what, ours, rawTiming, targetMs);
}

void run(const ConnectionSettings &s, const QString &file)
{
    DataModule data(s);
    data.OpenMainDatabase(file);
    const QSqlDatabase db = data.mainDb();
    FixedClock clock(QDateTime(QDate(2025, 3, 14), QTime(9, 30)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    state.RightShowCost = true;
    BenchNotices notices;
    RawDb raw(s, file);
    const bool lite = s.kind == DbKind::Sqlite;
    const QString begin = lite ? QStringLiteral("begin immediate") : QStringLiteral("begin");

    const PurchaseQueryCriteria month{QStringLiteral("2025-03-01"), QStringLiteral("2025-03-31"), QString(), QString()};
    const PurchaseListQueries returns(db, state, PurchaseListDocOf(PurchaseKind::Return));
    const QStringList amounts{QStringLiteral("th_yfje"), QStringLiteral("th_sfje"), QStringLiteral("wfje")};
    const QStringList ledger{QStringLiteral("gl_sl"), QStringLiteral("gl_je"), QStringLiteral("gl_taxje"), QStringLiteral("gl_zje")};
    measureView(db, raw, "return 单据表, one month", {returns.documents(month), amounts}, 500);
    measureView(db, raw, "return 汇总表, one month", {returns.summary(month), {"sl", "je", "taxje", "zje", "g_kc"}}, 1000);
    measureView(db, raw, "return 明细表, one month", {returns.details(month), ledger}, 500);

    const PurchaseListQueries orders(db, state, PurchaseListDocOf(PurchaseKind::Order));
    measureView(db, raw, "order 单据表, one month", {orders.documents(month), {"j_yfje", "j_sfje"}}, 500);
    measureView(db, raw, "order 明细表, one month",
                {orders.details(month), {"jh_je", "jh_taxje", "jh_rksl", "jh_sl", "dsl", "jh_zje"}}, 500);

    const OrderImportRules import(db, state, notices);
    OrderImportFilter filter;
    filter.from = QStringLiteral("2025-03-01");
    filter.to = QStringLiteral("2025-03-14");
    measureView(db, raw, "import 单据表 (open orders)", {import.documents(filter), {}}, 500);
    measureView(db, raw, "import 明细表 (open lines)", {import.lines(filter), {}}, 500);

    // ---- The audit of a pending 200-line order ----
    int serial = 0;
    QString number;
    const auto pendingOrder = [&] {
        number = QStringLiteral("CD2503149") + QString::number(1000 + ++serial);
        Transaction tx(db);
        RunSql(db, QStringLiteral("insert into jxc_cgd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, a_name, j_status, "
                                  "j_jsfs, j_kmmc, j_qk, j_checker, j_chkrq, j_note, j_yhje, j_hkje, j_th) values "
                                  "(?, '100001', '100001', '2025-03-14 09:30', 8000, 8000, '100001', 'admin', 0, 1, '现金', 0, "
                                  "'', '', '', 0, 0, 0)"),
               {number});
        for (int i = 1; i <= kAuditLines; ++i)
            RunSql(db, QStringLiteral("insert into jxc_cgsp (gl_djh, g_sn, a_name, jh_dj, jh_sl, jh_je, jh_zje, jh_taxdj, jh_tax, "
                                      "jh_taxje, jh_dzl, jh_zsl, jh_rksl, dw_name) values (?, ?, 'admin', 10, 4, 40, 40, 10, 0, "
                                      "0, 1, 4, 4, '个')"),
                   {number, QString::number(30000000 + i)});
        tx.commit();
    };
    OrderAudit audit(db, state, clock, notices);
    const Timing ours = MeasureRuns(
        kRuns, [&] {
            if (!audit.audit(number))
                std::printf("    %s was not audited\n", qPrintable(number));
        },
        pendingOrder);
    const Timing rawTiming = MeasureRuns(
        kRuns,
        [&] {
            raw.run(begin);
            raw.run(QStringLiteral("select id, j_status from jxc_cgd where gl_djh = ? order by id limit 1"), {number});
            raw.run(QStringLiteral("update jxc_cgd set j_status = 1, j_checker = 'admin', j_chkrq = '2025-03-14' where "
                                   "gl_djh = ? and j_status = 0"),
                    {number});
            raw.run(QStringLiteral("delete from jxc_cgd where gl_djh = ? and j_status = 0"), {number});
            raw.run(QStringLiteral("update jxc_cgsp set jh_qxsl = 0, jh_rksl = 0, id2 = id where gl_djh = ?"), {number});
            raw.run(QStringLiteral("commit"));
        },
        pendingOrder);
    ReportTiming("audit of a 200-line order", ours, rawTiming, 50);
}

} // namespace

int main(int argc, char **argv)
{
    qInstallMessageHandler(quiet);
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    qputenv("JXC_HOME", dir.path().toLocal8Bit());
    const QString file = QStringLiteral("returns_orders.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return QStringLiteral("%1 goods, %2 audited returns (%3 ledger rows), %2 audited orders (%3 lines, a quarter open)")
                .arg(kGoods)
                .arg(kDocuments)
                .arg(kDocuments * kLinesPerDocument);
        },
        [&file](const ConnectionSettings &s, const QSqlDatabase &) { run(s, file); });
}
