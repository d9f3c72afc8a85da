// Speed of the postings on a large account set: 2,000 goods and 200,000 goods-ledger rows with
// consistent running values and stock rows (goods 10000001 has 100,000 rows in warehouse
// 100001, the others share the rest), 100,000 partner-account rows of supplier 200001 and
// 100,000 cash rows of "工行帐号". Median and worst of repeated runs of:
//   - the audit of a 50-line purchase receipt dated now (target ≤ 3 ms median on SQLite, ≤ 8 ms
//     on PostgreSQL) and of a 50-line sale (≤ 20 ms), each beside its raw reference: the
//     statements of each audit sent again for a twin document through sqlite3 / libpq directly
//     (rawreplay.h), their count (on PostgreSQL the round trips) and the ratio of program to raw
//   - the audit of a one-line receipt of the 100,000-row goods dated before its first row, so
//     all its later rows are walked again (target ≤ 1 s)
//   - RecalcStockCost from that goods' first row (the cost walk over 100,000 rows, ≤ 1 s)
//   - the cancel of a 50-line receipt dated now (≤ 30 ms) and of the back-dated one-line
//     receipt (≤ 1 s)
//   - for information: RecalcPartnerBalances and RecalcCashBalances over 100,000 rows.
// JXC_BENCH_WALK_ROWS=<n> gives goods 10000001 n rows instead and measures only the back-dated
// audit walking them, its raw reference and the peak resident memory of the walk (target under
// 150 MB at 1,000,000 rows).
// SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host (skipped with a
// message otherwise).

#include "benchsupport.h"
#include "rawreplay.h"
#include "rawwalk.h"

#include "engine/audit.h"
#include "engine/balances.h"
#include "engine/costwalk.h"
#include "engine/unaudit.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QLocale>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

void check(const AuditResult &r)
{
    if (!r.audited())
        std::printf("    audit not done: %s\n", qPrintable(r.text));
}

// A pending purchase receipt of `goods` (one line each) dated `date`, paid in cash.
void addReceipt(const QSqlDatabase &db, const QString &number, const QString &date, const QStringList &goods)
{
    double due = 0;
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, jh_sl, jh_zsl, jh_dj, jh_je, jh_zje, jh_taxdj, jh_tax, "
                                "jh_taxje, jh_dzl, jh_rksl, a_name) values (?, ?, 3, 3, 6.5, 19.5, 19.5, 6.5, 0, 0, 1, 3, "
                                "'admin')"));
    for (const QString &g : goods) {
        line.addBindValue(number);
        line.addBindValue(g);
        line.exec();
        due += 19.5;
    }
    RunSql(db, QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, j_note, a_name, "
                              "j_status, j_jsfs, j_kmmc, j_yf, j_bzf, j_yffs, j_fpje, j_fpno, j_yhje) "
                              "values (?, '100001', ?, ?, ?, ?, '100001', '', 'admin', 0, 1, '现金', 0, 0, '对方付运费', 0, "
                              "'', 0)"),
           {number, kPostingSetWarehouse, date, due, due});
}

void addSale(const QSqlDatabase &db, const QString &number, const QString &date, const QStringList &goods)
{
    double due = 0;
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, g_zhxs, ls_dj, ls_je, ls_zje, ls_taxdj, "
                                "ls_tax, ls_taxje, ls_dzl, ls_cbj, ls_zcb, ls_lsj, t_zp, g_tmbz, ls_cksl, a_name) "
                                "values (?, ?, 1, 1, 1, 9, 9, 9, 9, 0, 0, 1, 6, 6, 0, '', '', 1, 'admin')"));
    for (const QString &g : goods) {
        line.addBindValue(number);
        line.addBindValue(g);
        line.exec();
        due += 9;
    }
    RunSql(db, QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, u_sn, ls_note, a_name, "
                              "ls_status, ls_jsfs, ls_kmmc, ls_yf, ls_bzf, ls_yffs, ls_fpje, ls_fpno, ls_yhje) "
                              "values (?, '100001', ?, ?, ?, ?, '100001', '', 'admin', 0, 1, '现金', 0, 0, '对方付运费', 0, "
                              "'', 0)"),
           {number, kPostingSetWarehouse, date, due, due});
}

// The rows of goods 10000001: JXC_BENCH_WALK_ROWS, or the set's 100,000.
int bigGoodsRows()
{
    const int n = qEnvironmentVariableIntValue("JXC_BENCH_WALK_ROWS");
    return n > 0 ? n : kPostingSetBigGoodsRows;
}

void measure(const QSqlDatabase &db, const ConnectionSettings &settings, const QString &file)
{
    FixedClock clock(QDateTime(QDate(2026, 6, 30), QTime(15, 0, 0)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    BenchNotices notices;
    const QString now = QStringLiteral("2026-06-30 14:00");
    auto fifty = [](int run) {
        QStringList goods;
        for (int k = 0; k < 50; ++k)
            goods << PostingSetGoodsCode(1 + (run * 50 + k) % (kPostingSetGoods - 1));  // the big goods left out
        return goods;
    };
    auto number = [](const char *prefix, int group, int run) {
        // The type first, as a number of the system starts ("%1260630…" would read as %12).
        return QLatin1String(prefix) + QStringLiteral("260630%1%2").arg(group).arg(run, 4, 10, QLatin1Char('0'));
    };

    const bool walkOnly = bigGoodsRows() != kPostingSetBigGoodsRows;
    const int runs = 15;
    RawReplay raw(settings, file);
    if (!walkOnly) {
    MeasurePaired(
        db, raw, runs, "audit of a 50-line purchase receipt dated now", Dialect::of(db).isPostgres() ? 8 : 3,
        [&](int i) { addReceipt(db, number("CJ", 1, i), now, fifty(i)); },
        [&](int i) { check(RunAuditPurchaseIn(db, state, clock, number("CJ", 1, i))); },
        [&](int i) { return number("CJ", 1, i); }, [&](int i) { addReceipt(db, number("CJ", 2, i), now, fifty(i)); },
        [&](int i) { return number("CJ", 2, i); });
    MeasurePaired(
        db, raw, runs, "audit of a 50-line sale dated now", 20,
        [&](int i) { addSale(db, number("XS", 1, i), now, fifty(i + 7)); },
        [&](int i) { check(RunAuditSale(db, state, clock, number("XS", 1, i), true)); },
        [&](int i) { return number("XS", 1, i); }, [&](int i) { addSale(db, number("XS", 2, i), now, fifty(i + 7)); },
        [&](int i) { return number("XS", 2, i); });
    ReportFigures("cancel of a 50-line purchase receipt dated now",
           TimeRuns(runs, nullptr,
                    [&](int i) {
                        if (UnauditPurchaseIn(db, state, clock, notices, number("CJ", 1, i), {true, false})
                            != UnauditOutcome::Done)
                            std::printf("    cancel not done\n");
                    }),
           30);
    }

    const QString big = PostingSetGoodsCode(0);
    const int slowRuns = walkOnly ? 3 : 5;
    double peakMb = 0;
    const bool peakKnown = ResetPeakResident();
    const double before = PeakResidentMb();
    const BenchFigures backDated = TimeRuns(slowRuns,
                    [&](int i) {
                        addReceipt(db, QStringLiteral("CJ20123110%1").arg(i, 3, 10, QLatin1Char('0')),
                                   QStringLiteral("2020-12-31 09:00"), {big});
                    },
                    [&](int i) {
                        check(RunAuditPurchaseIn(db, state, clock,
                                                 QStringLiteral("CJ20123110%1").arg(i, 3, 10, QLatin1Char('0'))));
                    });
    peakMb = PeakResidentMb();
    const QString walked = QLocale(QLocale::English).toString(bigGoodsRows());
    ReportFigures(qPrintable(QStringLiteral("audit of a back-dated one-line receipt (%1 rows walked)").arg(walked)),
                  backDated, walkOnly ? 0 : 1000);
    if (peakKnown)
        std::printf("    peak resident memory during those audits: %.0f MB (%.0f MB before them)\n", peakMb, before);
    // The raw reference of the walk: the same rows read in order and every one written back.
    const auto rawWalk = [&](const BenchFigures &program) {
        RawWalk walk(settings, file);
        std::vector<double> ms;
        int rows = 0;
        for (int i = 0; i < slowRuns; ++i)
            ms.push_back(walk.run(big, kPostingSetWarehouse, QStringLiteral("2020-12-31 09:00"), rows));
        std::sort(ms.begin(), ms.end());
        std::printf("    raw reference: %d rows read and rewritten through %-7s       median %8.1f ms  worst %8.1f ms  "
                    "(program / raw %.2f)\n",
                    rows, Dialect::of(db).isPostgres() ? "libpq" : "sqlite3", ms[ms.size() / 2], ms.back(),
                    program.median / ms[ms.size() / 2]);
        std::fflush(stdout);
    };
    rawWalk(backDated);
    if (walkOnly)
        return;
    ReportFigures("cancel of a back-dated one-line receipt (100,000 rows walked)",
           TimeRuns(slowRuns, nullptr,
                    [&](int i) {
                        if (UnauditPurchaseIn(db, state, clock, notices,
                                              QStringLiteral("CJ20123110%1").arg(i, 3, 10, QLatin1Char('0')),
                                              {true, false})
                            != UnauditOutcome::Done)
                            std::printf("    cancel not done\n");
                    }),
           1000);
    const QString first = QueryScalar(db, QStringLiteral("select id from jxc_goodslist where g_sn = ? and ck_sn = ? "
                                                         "order by gl_kdrq, id limit 1"),
                                      {big, kPostingSetWarehouse});
    const BenchFigures rewalk =
        TimeRuns(slowRuns, nullptr, [&](int) { RecalcStockCost(db, state, clock, first, QStringLiteral("0")); });
    ReportFigures("RecalcStockCost from the first of 100,000 rows (all right)", rewalk, 1000);
    rawWalk(rewalk);
    ReportFigures("RecalcPartnerBalances over 100,000 rows",
           TimeRuns(slowRuns, nullptr,
                    [&](int) {
                        RecalcPartnerBalances(db, state, clock, QStringLiteral("200001"), QStringLiteral("ghs"),
                                              QStringLiteral("2021-01-01"));
                    }),
           0);
    ReportFigures("RecalcCashBalances over 100,000 rows",
           TimeRuns(slowRuns, nullptr,
                    [&](int) {
                        RecalcCashBalances(db, state, clock, QStringLiteral("工行帐号"), QStringLiteral("2021-01-01"));
                    }),
           0);

}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<ConnectionSettings> targets = BenchTargets(dir.path(), argc, argv);
    const QString file = QStringLiteral("posting.db");
    for (const ConnectionSettings &s : targets) {
        try {
            RecreateDatabase(s, file);
            {
                QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
                FixedClock created(QDateTime(QDate(2021, 1, 1), QTime(8, 0)));
                CreateAllTables(db, created);
                QElapsedTimer t;
                t.start();
                FillPostingSet(db, bigGoodsRows());
                SettleStatistics(db);
                std::printf("%s: %d goods, %d ledger rows built in %.1f s\n", DialectName(s), kPostingSetGoods,
                            kPostingSetLedgerRows - kPostingSetBigGoodsRows + bigGoodsRows(), t.elapsed() / 1000.0);
                measure(db, s, file);
            }
            CloseConnection(QStringLiteral("bench"));
            DropDatabase(s, file);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
