// Speed of the scheduled top-up gifts paid at login (ApplyRechargeGifts) on a large account set:
// 10,000 members and 20,000 scheduled top-up rows (jxc_hyxf), 5,000 of each kind — monthly
// gifts (1), monthly consumption-bound gifts (2), daily gifts (3), daily consumption-bound
// gifts (4) — each exactly one period behind, so every row has one period due. Before each run
// the rows, the members' stored value and the gift rows of the earlier run are put back (not
// timed), so each run pays 10,000 gifts and lets 10,000 periods lapse. Median and worst of 5
// runs (target ≤ 0.5 s). SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or
// host (skipped with a message otherwise).

#include "benchraw.h"
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

// The raw reference: the same rows read, written and credited through sqlite3 / libpq in one
// transaction, every gift row and every period worked out by the server in a few set statements
// (the bench knows each row is one period behind).
void rawRun(RawDb &raw, bool pg)
{
    const QString today = kToday.toString(QStringLiteral("yyyy-MM-dd"));
    raw.run(QStringLiteral("begin"));
    if (pg)
        raw.run(QStringLiteral("select id from jxc_hyxf where hs_zsfs in (1, 2, 3, 4) for update"));
    for (int kind = 1; kind <= 4; ++kind)
        raw.run(QStringLiteral("select id, hy_sn, gl_djh, hs_myje, hs_zsje, xf_zsrq from jxc_hyxf "
                               "where hs_zsfs = ? and coalesce(hs_zsje, 0) >= coalesce(hs_myje, 0) order by id"),
                {kind});
    raw.run(QStringLiteral("insert into jxc_hyxf (gl_djh, hy_sn, xf_rq, xf_je, xf_yhje, xf_djq, xf_czk, xf_xj, xf_xyk, "
                           "xf_wxje, xf_zfbje, xf_zlje, a_name, xf_note, xf_zt, xf_zsrq, hs_zsfs, hs_myje, hs_zsje) "
                           "select 'XF24041200001', hy_sn, ?, hs_myje, 0, 0, 0, 0, 0, 0, 0, 0, 'admin', "
                           "gl_djh || case hs_zsfs when 1 then '该单据充值按月赠送，本次赠送：1个月' "
                           "else '该单据充值按天赠送，本次赠送：1天' end, "
                           "case hs_zsfs when 1 then '按月到账' else '按天到账' end, ?, -hs_zsfs, 0, 0 "
                           "from jxc_hyxf where hs_zsfs in (1, 3) order by hs_zsfs, id"),
            {today, today});
    for (int kind = 1; kind <= 4; ++kind) {
        raw.run(QStringLiteral("update jxc_hyxf set xf_zsrq = ?, hs_zsje = coalesce(hs_zsje, 0) - coalesce(hs_myje, 0) "
                               "where hs_zsfs = ?"),
                {kind == 2   ? kToday.addMonths(-1).toString(QStringLiteral("yyyy-MM-dd"))
                 : kind == 4 ? kToday.addDays(-1).toString(QStringLiteral("yyyy-MM-dd"))
                             : today,
                 kind});
        if (kind % 2 == 0)
            raw.run(QStringLiteral("update jxc_hyxf set hs_zsje = 0 where hs_zsfs = ? and hs_zsje < 0"), {kind});
    }
    raw.run(QStringLiteral("update jxc_hyxx set hy_zhje = coalesce(hy_zhje, 0) + g.s "
                           "from (select hy_sn, sum(coalesce(xf_je, 0)) as s from jxc_hyxf "
                           "where gl_djh = ? and hs_zsfs in (-1, -3) group by hy_sn) g "
                           "where g.hy_sn = jxc_hyxx.hy_sn"),
            {QStringLiteral("XF24041200001")});
    raw.run(QStringLiteral("commit"));
}

void measure(const QSqlDatabase &db, const ConnectionSettings &s, const QString &file)
{
    FixedClock clock(QDateTime(kToday, QTime(8, 30)));
    LoginState state;
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    int run = 0;
    const Timing ours = MeasureRuns(
        kRuns,
        [&] {
            const QString error = ApplyRechargeGifts(db, state, clock);
            ++run;
            if (!error.isEmpty())
                std::printf("    run %d failed: %s\n", run, qPrintable(error));
        },
        [&] { reset(db); });
    if (!verify(db))
        std::printf("    last run: wrong result\n");
    RawDb raw(s, file);
    const bool pg = s.kind == DbKind::Postgres;
    const Timing reference = MeasureRuns(kRuns, [&] { rawRun(raw, pg); }, [&] { reset(db); });
    if (!verify(db))
        std::printf("    raw reference: wrong result\n");
    ReportTiming("ApplyRechargeGifts, 20,000 top-ups due", ours, reference, kTargetMs);
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
