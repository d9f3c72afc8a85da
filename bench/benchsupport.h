#pragma once

// Shared by the speed programs: where they run (a SQLite file in a folder, or PostgreSQL when
// JXC_BENCH_PG names a socket folder or host) and a fresh database or account set there.

#include "foundation/db/connection.h"
#include "foundation/schema/schemabuilder.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/statistics.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

#include <QDate>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QSqlDatabase>
#include <QString>

#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

// `base` moved to the PostgreSQL server JXC_BENCH_PG names; false (and `base` as it was) when unset.
inline bool UseBenchPostgres(ConnectionSettings &base)
{
    if (qEnvironmentVariableIsEmpty("JXC_BENCH_PG"))
        return false;
    base.kind = DbKind::Postgres;
    base.host = qEnvironmentVariable("JXC_BENCH_PG");
    base.user = qEnvironmentVariable("PGUSER", QStringLiteral("postgres"));
    base.prefix = QStringLiteral("bench_");
    return true;
}

// One place to run on: PostgreSQL when JXC_BENCH_PG is set, else SQLite files in `folder`.
inline ConnectionSettings BenchTarget(const QString &folder)
{
    ConnectionSettings s;
    s.dataFolder = folder;
    UseBenchPostgres(s);
    return s;
}

// Both places to run on: SQLite files in `folder`, then PostgreSQL when JXC_BENCH_PG is set.
inline std::vector<ConnectionSettings> BenchTargets(const QString &folder)
{
    ConnectionSettings lite;
    lite.dataFolder = folder;
    std::vector<ConnectionSettings> targets{lite};
    ConnectionSettings pg = lite;
    if (UseBenchPostgres(pg))
        targets.push_back(pg);
    else
        std::printf("PostgreSQL skipped: set JXC_BENCH_PG to a socket folder or host\n");
    return targets;
}

// BenchTargets, less SQLite when the program's first argument is "--pg-only".
inline std::vector<ConnectionSettings> BenchTargets(const QString &folder, int argc, char **argv)
{
    std::vector<ConnectionSettings> targets = BenchTargets(folder);
    if (argc > 1 && QByteArray(argv[1]) == "--pg-only" && targets.size() > 1)
        targets.erase(targets.begin());
    return targets;
}

// An empty database `file`, dropping one left by an earlier run.
inline void RecreateDatabase(const ConnectionSettings &s, const QString &file)
{
    if (DatabaseExists(s, file))
        DropDatabase(s, file);
    CreateEmptyDatabase(s, file);
}

inline const char *DialectName(const ConnectionSettings &s)
{
    return s.kind == DbKind::Sqlite ? "SQLite" : "PostgreSQL";
}

// A fresh account set `file` with all its tables, open on the connection "bench".
inline QSqlDatabase CreateBenchSet(const ConnectionSettings &s, const QString &file)
{
    RecreateDatabase(s, file);
    QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
    CreateAllTables(db);
    return db;
}

// The planner statistics a set in daily use has after a bulk fill: on SQLite what the program
// runs whenever a connection closes ("PRAGMA optimize"); on PostgreSQL autovacuum's analyze of
// the filled tables, run here at once instead of waiting for its next round.
inline void SettleStatistics(const QSqlDatabase &db)
{
    if (Dialect::of(db).isSqlite())
        OptimizeBeforeClose(db);
    else
        KeepStatistics(db);
}

// For each place to run: a fresh account set `file` on the connection "bench", filled by `fill`
// (which says what it built; printed with the time the fill and SettleStatistics took), measured by
// `measure`, then dropped. Returns the program's exit code: 1 when a database error stops it.
inline int RunBenchOnTargets(const std::vector<ConnectionSettings> &targets, const QString &file,
                             const std::function<QString(const QSqlDatabase &)> &fill,
                             const std::function<void(const ConnectionSettings &, const QSqlDatabase &)> &measure)
{
    for (const ConnectionSettings &s : targets) {
        try {
            {
                QSqlDatabase db = CreateBenchSet(s, file);
                QElapsedTimer t;
                t.start();
                const QString built = fill(db);
                SettleStatistics(db);
                std::printf("%s: %s built in %.1f s\n", DialectName(s), qPrintable(built), t.elapsed() / 1000.0);
                measure(s, db);
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

// Answers every question with Yes and prints what it shows.
class BenchNotices final : public Notices
{
public:
    void notice(const QString &text) override { std::printf("    notice: %s\n", qPrintable(text)); }
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &text) override { std::printf("    error: %s\n", qPrintable(text)); }
};

// The process's peak resident memory (VmHWM of /proc/self/status) in MB, -1 where unknown;
// ResetPeakResident starts the peak again from the memory resident now (Linux clear_refs 5).
inline double PeakResidentMb()
{
    std::FILE *f = std::fopen("/proc/self/status", "r");
    if (!f)
        return -1;
    char line[256];
    double kb = -1;
    while (std::fgets(line, sizeof line, f))
        if (std::sscanf(line, "VmHWM: %lf kB", &kb) == 1)
            break;
    std::fclose(f);
    return kb < 0 ? -1 : kb / 1024.0;
}

inline bool ResetPeakResident()
{
    std::FILE *f = std::fopen("/proc/self/clear_refs", "w");
    if (!f)
        return false;
    const bool ok = std::fputs("5", f) >= 0;
    return std::fclose(f) == 0 && ok;
}

// The set's parameters with the administrator "admin" signed in and negative stock allowed.
inline void SignInBenchAdministrator(const QSqlDatabase &db, LoginState &state, const Clock &clock)
{
    LoadSysParams(db, state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    state.AllowNegativeStock = QStringLiteral("1");
}

// ---- The posting benchmark set (bench_posting, bench_inventory) ----
// 2,000 goods and 200,000 goods-ledger rows with consistent running values and stock rows in
// warehouse 100001 (goods 10000001 has 100,000 rows, the others share the rest), 100,000
// partner-account rows of supplier 200001 and 100,000 cash rows of "工行帐号".

inline constexpr int kPostingSetGoods = 2000;
inline constexpr int kPostingSetLedgerRows = 200000;
inline constexpr int kPostingSetBigGoodsRows = 100000;
inline const QString kPostingSetWarehouse = QStringLiteral("100001");

inline QString PostingSetGoodsCode(int i)
{
    return QStringLiteral("1%1").arg(i + 1, 7, 10, QLatin1Char('0'));
}

inline QString PostingSetDay(int day)
{
    return QDate(2021, 1, 1).addDays(day).toString(QStringLiteral("yyyy-MM-dd"));
}

inline double PostingSetRound2(double x)
{
    return std::floor(x * 100 + 0.5 + 1e-9) / 100;
}

// Ledger rows with their running values walked here (receipts at varying prices, every fifth
// row a sale at the running average), the stock rows at the end of each walk. `bigGoodsRows`:
// the rows of goods 10000001 (the others keep theirs).
inline void FillPostingSet(const QSqlDatabase &db, int bigGoodsRows = kPostingSetBigGoodsRows)
{
    Transaction tx(db);
    QSqlQuery goods(db);
    goods.prepare(QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_zhxs, g_pjjj, g_kc, g_cgpl, "
                                 "g_xspl, g_gdcbj, g_jj) values (?, ?, ?, '个', 1, ?, ?, 0, 0, 0, 0)"));
    QSqlQuery stock(db);
    stock.prepare(QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) "
                                 "values (?, ?, ?, ?, ?, ?, 0)"));
    QSqlQuery ledger(db);
    ledger.prepare(QStringLiteral("insert into jxc_goodslist (gl_flag, gl_kdrq, gl_djh, g_sn, ck_sn, gl_sl, gl_dj, gl_je, "
                                  "gl_zje, gl_zcb, gl_cbj, gl_sqsl, gl_sqje, gl_kc, gl_pjjj, gl_kczje, gl_sysl) "
                                  "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    const int otherRows = (kPostingSetLedgerRows - kPostingSetBigGoodsRows) / (kPostingSetGoods - 1);
    int docNo = 0;
    for (int g = 0; g < kPostingSetGoods; ++g) {
        const int rows = g == 0 ? bigGoodsRows : otherRows;
        double q = 0, a = 0, p = 0;
        for (int r = 0; r < rows; ++r) {
            // Dates from 2021-01-01 on, a few rows a day; the big goods fills about four years.
            const int day = g == 0 ? r / 70 : (r * 1400) / rows;
            const QString date = PostingSetDay(day) + QStringLiteral(" %1:%2")
                                                    .arg(8 + r % 10, 2, 10, QLatin1Char('0'))
                                                    .arg(r % 60, 2, 10, QLatin1Char('0'));
            const bool sale = r % 5 == 4 && q > 3;
            const double qty = 1 + r % 4;
            const double sq = q, sa = a;
            double price, amount, cost = 0;
            if (sale) {
                price = PostingSetRound2(p * 1.3);
                amount = PostingSetRound2(qty * price);
                cost = PostingSetRound2(qty * p);
                q -= qty;
                a = PostingSetRound2(a - cost);
            } else {
                price = 5 + (r % 17) * 0.25;
                amount = PostingSetRound2(qty * price);
                q += qty;
                a = PostingSetRound2(a + amount);
                p = q != 0 ? a / q : price;
            }
            const QString number = QStringLiteral("%1%2").arg(sale ? QStringLiteral("XS") : QStringLiteral("CJ"))
                                   .arg(++docNo, 11, 10, QLatin1Char('0'));
            ledger.addBindValue(sale ? QStringLiteral("xs") : QStringLiteral("cj"));
            ledger.addBindValue(date);
            ledger.addBindValue(number);
            ledger.addBindValue(PostingSetGoodsCode(g));
            ledger.addBindValue(kPostingSetWarehouse);
            ledger.addBindValue(sale ? -qty : qty);
            ledger.addBindValue(price);
            ledger.addBindValue(amount);
            ledger.addBindValue(amount);
            ledger.addBindValue(cost);
            ledger.addBindValue(sale ? p : 0.0);
            ledger.addBindValue(sq);
            ledger.addBindValue(sa);
            ledger.addBindValue(q);
            ledger.addBindValue(p);
            ledger.addBindValue(a);
            ledger.addBindValue(sale ? -qty : qty);
            if (!ledger.exec())
                throw DbError(QStringLiteral("ledger row"));
        }
        goods.addBindValue(PostingSetGoodsCode(g));
        goods.addBindValue(QStringLiteral("商品%1").arg(g));
        goods.addBindValue(PostingSetGoodsCode(g));
        goods.addBindValue(PostingSetRound2(p));
        goods.addBindValue(q);
        goods.exec();
        stock.addBindValue(PostingSetGoodsCode(g));
        stock.addBindValue(kPostingSetWarehouse);
        stock.addBindValue(q);
        stock.addBindValue(q);
        stock.addBindValue(p);
        stock.addBindValue(a);
        stock.exec();
    }
    // 100,000 partner-account rows of supplier 200001 and cash rows of "工行帐号".
    RunSql(db, QStringLiteral("insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_lwje) values ('200001', '大供货商', 0)"));
    QSqlQuery partner(db);
    partner.prepare(QStringLiteral("insert into jxc_ysyfk (k_type, k_ghskh, k_rq, gl_djh, k_qcje, k_yfje, k_sfje, k_ljje) "
                                   "values ('ghs', '200001', ?, ?, 0, ?, ?, ?)"));
    QSqlQuery cash(db);
    cash.prepare(QStringLiteral("insert into jxc_xjyh (xj_kmmc, xj_rq, gl_djh, xj_je, xj_ljje, xj_chk) "
                                "values ('工行帐号', ?, ?, ?, ?, '1')"));
    double owed = 0, bank = 0;
    for (int r = 0; r < 100000; ++r) {
        const QString date = PostingSetDay(r / 70) + QStringLiteral(" 10:%1").arg(r % 60, 2, 10, QLatin1Char('0'));
        const QString number = QStringLiteral("CJ9%1").arg(r, 10, 10, QLatin1Char('0'));
        const double due = 10 + r % 7, paid = r % 3 ? due : 0;
        owed += due - paid;
        partner.addBindValue(date);
        partner.addBindValue(number);
        partner.addBindValue(due);
        partner.addBindValue(paid);
        partner.addBindValue(owed);
        partner.exec();
        bank += r % 2 ? 25.5 : -12.25;
        cash.addBindValue(date);
        cash.addBindValue(number);
        cash.addBindValue(r % 2 ? 25.5 : -12.25);
        cash.addBindValue(bank);
        cash.exec();
    }
    tx.commit();
}
