// Speed of the scheduled top-up gifts paid at login (ApplyRechargeGifts) on a large account set:
// 10,000 members and 20,000 scheduled top-up rows (jxc_hyxf), 5,000 of each kind — monthly
// gifts (1), monthly consumption-bound gifts (2), daily gifts (3), daily consumption-bound
// gifts (4) — each exactly one period behind, so every row has one period due. Before each run
// the rows, the members' stored value and the gift rows of the earlier run are put back (not
// timed), so each run pays 10,000 gifts and lets 10,000 periods lapse. Median and worst of 5
// runs (target ≤ 0.5 s). SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or
// host (skipped with a message otherwise).

#include "benchsupport.h"

#include "engine/members.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr int kMembers = 10000;
constexpr int kSchemes = 20000;
constexpr int kRuns = 5;
constexpr double kTargetMs = 500;
constexpr double kPerPeriod = 10;
constexpr double kLeft = 100;
constexpr double kStored = 50;

// Login day: from the 10th, so the monthly gifts are paid too.
const QDate kToday(2024, 4, 12);

QString memberCode(int i)
{
    return QStringLiteral("%1").arg(10000001 + i);  // 8 characters, as hy_sn holds
}

// The date each kind's row was last brought forward, one period behind: paid kinds up to today,
// lapsing kinds up to a month (kind 2) or a day (kind 4) before today.
QString lastDate(int kind)
{
    QDate d;
    switch (kind) {
    case 1: d = kToday.addMonths(-1); break;
    case 2: d = kToday.addMonths(-2); break;
    case 3: d = kToday.addDays(-1); break;
    default: d = kToday.addDays(-2); break;
    }
    return d.toString(QStringLiteral("yyyy-MM-dd"));
}

void fill(const QSqlDatabase &db)
{
    Transaction tx(db);
    QSqlQuery member(db);
    member.prepare(QStringLiteral("insert into jxc_hyxx (hy_sn, hy_bh, hy_name, hy_jf, hy_zjf, hy_zje, hy_ye, hy_zhje, "
                                  "hy_cs, hy_sj, hl_sn, hh_sn, hy_sr) values (?, ?, ?, 0, 0, 0, 0, ?, 0, 1, '100001', "
                                  "'100001', '1990-04-15')"));
    for (int i = 0; i < kMembers; ++i) {
        member.addBindValue(memberCode(i));
        member.addBindValue(memberCode(i));
        member.addBindValue(QStringLiteral("会员%1").arg(i));
        member.addBindValue(kStored);
        if (!member.exec())
            throw DbError(QStringLiteral("member row"));
    }
    QSqlQuery scheme(db);
    scheme.prepare(QStringLiteral("insert into jxc_hyxf (gl_djh, hy_sn, xf_rq, xf_je, hs_zsfs, hs_myje, hs_zsje, xf_zsrq, "
                                  "a_name) values (?, ?, ?, 500, ?, ?, ?, ?, 'admin')"));
    for (int i = 0; i < kSchemes; ++i) {
        const int kind = 1 + i % 4;
        scheme.addBindValue(QStringLiteral("XF240101%1").arg(i + 1, 5, 10, QLatin1Char('0')));
        scheme.addBindValue(memberCode(i % kMembers));
        scheme.addBindValue(QStringLiteral("2024-01-01 09:00"));
        scheme.addBindValue(kind);
        scheme.addBindValue(kPerPeriod);
        scheme.addBindValue(kLeft);
        scheme.addBindValue(lastDate(kind));
        if (!scheme.exec())
            throw DbError(QStringLiteral("scheduled top-up row"));
    }
    tx.commit();
}

// Back to the state after fill(): every row one period behind, no gift rows, stored value as seeded.
void reset(const QSqlDatabase &db)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_hyxf where hs_zsfs < 0"));
    for (int kind = 1; kind <= 4; ++kind)
        RunSql(db, QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = ? where hs_zsfs = ?"),
               {lastDate(kind), kLeft, kind});
    RunSql(db, QStringLiteral("update jxc_hyxx set hy_zhje = ?"), {kStored});
    tx.commit();
}

// What a run should have done: one gift row per paid scheme (kinds 1 and 3), each member credited
// with the two gifts of its schemes, every row brought forward by one period.
bool verify(const QSqlDatabase &db)
{
    const int perKind = kSchemes / 4;
    bool ok = true;
    auto expect = [&](const char *what, const QString &sql, double want) {
        const double got = QueryScalar(db, sql).toDouble();
        if (std::abs(got - want) > 1e-6) {
            std::printf("    check failed: %s is %.2f, expected %.2f\n", what, got, want);
            ok = false;
        }
    };
    expect("gift rows", QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs in (-1, -3)"), 2.0 * perKind);
    // Every member, also any the new account set comes with, starts a run at kStored.
    const double members = QueryScalar(db, QStringLiteral("select count(*) from jxc_hyxx")).toDouble();
    expect("stored value", QStringLiteral("select sum(hy_zhje) from jxc_hyxx"),
           members * kStored + 2.0 * perKind * kPerPeriod);
    expect("amount left", QStringLiteral("select sum(hs_zsje) from jxc_hyxf where hs_zsfs between 1 and 4"),
           kSchemes * (kLeft - kPerPeriod));
    expect("rows not brought forward",
           QStringLiteral("select count(*) from jxc_hyxf where hs_zsfs between 1 and 4 and xf_zsrq <> case hs_zsfs "
                          "when 1 then '2024-04-12' when 2 then '2024-03-12' when 3 then '2024-04-12' "
                          "else '2024-04-11' end"),
           0);
    return ok;
}

void measure(const QSqlDatabase &db)
{
    FixedClock clock(QDateTime(kToday, QTime(8, 30)));
    LoginState state;
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    std::vector<double> ms;
    for (int run = 0; run < kRuns; ++run) {
        reset(db);
        QElapsedTimer t;
        t.start();
        const QString error = ApplyRechargeGifts(db, state, clock);
        ms.push_back(t.nsecsElapsed() / 1e6);
        if (!error.isEmpty())
            std::printf("    run %d failed: %s\n", run + 1, qPrintable(error));
        else if (!verify(db))
            std::printf("    run %d: wrong result\n", run + 1);
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms[ms.size() / 2];
    std::printf("  %-58s median %8.1f ms  worst %8.1f ms  (target %.0f ms: %s)\n",
                "ApplyRechargeGifts, 20,000 scheduled top-ups due", median, ms.back(), kTargetMs,
                median <= kTargetMs ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<ConnectionSettings> targets = BenchTargets(dir.path(), argc, argv);
    const QString file = QStringLiteral("members.db");
    for (const ConnectionSettings &s : targets) {
        try {
            RecreateDatabase(s, file);
            {
                QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
                FixedClock created(QDateTime(QDate(2024, 1, 1), QTime(8, 0)));
                CreateAllTables(db, created);
                QElapsedTimer t;
                t.start();
                fill(db);
                SettleStatistics(db);
                std::printf("%s: %d members, %d scheduled top-ups built in %.1f s\n", DialectName(s), kMembers,
                            kSchemes, t.elapsed() / 1000.0);
                measure(db);
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
