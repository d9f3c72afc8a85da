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
// SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host (skipped with a
// message otherwise).

#include "benchsupport.h"
#include "rawreplay.h"

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
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kGoods = 2000;
constexpr int kLedgerRows = 200000;
constexpr int kBigGoodsRows = 100000;
const QString kWarehouse = QStringLiteral("100001");

class YesNotices final : public Notices
{
public:
    void notice(const QString &text) override { std::printf("    notice: %s\n", qPrintable(text)); }
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &text) override { std::printf("    error: %s\n", qPrintable(text)); }
};

QString goodsCode(int i)
{
    return QStringLiteral("1%1").arg(i + 1, 7, 10, QLatin1Char('0'));
}

QString dayText(int day)
{
    return QDate(2021, 1, 1).addDays(day).toString(QStringLiteral("yyyy-MM-dd"));
}

double round2(double x)
{
    return std::floor(x * 100 + 0.5 + 1e-9) / 100;
}

// Ledger rows with their running values walked here (receipts at varying prices, every fifth
// row a sale at the running average), the stock rows at the end of each walk.
void fill(const QSqlDatabase &db)
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
    const int otherRows = (kLedgerRows - kBigGoodsRows) / (kGoods - 1);
    int docNo = 0;
    for (int g = 0; g < kGoods; ++g) {
        const int rows = g == 0 ? kBigGoodsRows : otherRows;
        double q = 0, a = 0, p = 0;
        for (int r = 0; r < rows; ++r) {
            // Dates from 2021-01-01 on, a few rows a day; the big goods fills about four years.
            const int day = g == 0 ? r / 70 : (r * 1400) / rows;
            const QString date = dayText(day) + QStringLiteral(" %1:%2")
                                                    .arg(8 + r % 10, 2, 10, QLatin1Char('0'))
                                                    .arg(r % 60, 2, 10, QLatin1Char('0'));
            const bool sale = r % 5 == 4 && q > 3;
            const double qty = 1 + r % 4;
            const double sq = q, sa = a;
            double price, amount, cost = 0;
            if (sale) {
                price = round2(p * 1.3);
                amount = round2(qty * price);
                cost = round2(qty * p);
                q -= qty;
                a = round2(a - cost);
            } else {
                price = 5 + (r % 17) * 0.25;
                amount = round2(qty * price);
                q += qty;
                a = round2(a + amount);
                p = q != 0 ? a / q : price;
            }
            const QString number = QStringLiteral("%1%2").arg(sale ? QStringLiteral("XS") : QStringLiteral("CJ"))
                                   .arg(++docNo, 11, 10, QLatin1Char('0'));
            ledger.addBindValue(sale ? QStringLiteral("xs") : QStringLiteral("cj"));
            ledger.addBindValue(date);
            ledger.addBindValue(number);
            ledger.addBindValue(goodsCode(g));
            ledger.addBindValue(kWarehouse);
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
        goods.addBindValue(goodsCode(g));
        goods.addBindValue(QStringLiteral("商品%1").arg(g));
        goods.addBindValue(goodsCode(g));
        goods.addBindValue(round2(p));
        goods.addBindValue(q);
        goods.exec();
        stock.addBindValue(goodsCode(g));
        stock.addBindValue(kWarehouse);
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
        const QString date = dayText(r / 70) + QStringLiteral(" 10:%1").arg(r % 60, 2, 10, QLatin1Char('0'));
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
           {number, kWarehouse, date, due, due});
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
           {number, kWarehouse, date, due, due});
}

struct Figures
{
    double median = 0, worst = 0;
};

Figures timeRuns(int runs, const std::function<void(int)> &prepare, const std::function<void(int)> &run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare(i);
        QElapsedTimer t;
        t.start();
        run(i);
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

void report(const char *label, const Figures &f, double targetMs)
{
    if (targetMs > 0)
        std::printf("  %-58s median %8.1f ms  worst %8.1f ms  (target %.0f ms: %s)\n", label, f.median, f.worst,
                    targetMs, f.median <= targetMs ? "met" : "MISSED");
    else
        std::printf("  %-58s median %8.1f ms  worst %8.1f ms\n", label, f.median, f.worst);
    std::fflush(stdout);
}

void check(const AuditResult &r)
{
    if (!r.audited())
        std::printf("    audit not done: %s\n", qPrintable(r.text));
}

// A measure beside its raw reference: run i times the program on document i (made by
// `prepare`), recording what it sends; then a twin of it (made by `twin`, under the number
// `twinNumber(i)`) gets the same statements through sqlite3 / libpq directly.
void measurePaired(const QSqlDatabase &db, RawReplay &raw, int runs, const char *label, double targetMs,
                   const std::function<void(int)> &prepare, const std::function<void(int)> &run,
                   const std::function<QString(int)> &number, const std::function<void(int)> &twin,
                   const std::function<QString(int)> &twinNumber)
{
    std::vector<double> program, direct;
    int sent = 0;
    bool failed = false;
    for (int i = 0; i < runs; ++i) {
        prepare(i);
        std::vector<RecordedStatement> statements;
        {
            StatementRecorder recorder(db);
            QElapsedTimer t;
            t.start();
            run(i);
            program.push_back(t.nsecsElapsed() / 1e6);
            statements = recorder.statements();
        }
        sent = int(statements.size());
        twin(i);
        const double ms = raw.run(Substituted(statements, number(i), twinNumber(i)));
        failed = failed || ms < 0;
        direct.push_back(ms);
    }
    const auto figures = [](std::vector<double> ms) {
        std::sort(ms.begin(), ms.end());
        return Figures{ms[ms.size() / 2], ms.back()};
    };
    const Figures p = figures(program);
    report(label, p, targetMs);
    if (failed)
        return;
    const Figures r = figures(direct);
    std::printf("    raw reference: the same %d statements through %-7s       median %8.2f ms  worst %8.2f ms  "
                "(program / raw %.1f)\n",
                sent, Dialect::of(db).isPostgres() ? "libpq" : "sqlite3", r.median, r.worst,
                r.median > 0 ? p.median / r.median : 0.0);
    std::fflush(stdout);
}

void measure(const QSqlDatabase &db, const ConnectionSettings &settings, const QString &file)
{
    FixedClock clock(QDateTime(QDate(2026, 6, 30), QTime(15, 0, 0)));
    LoginState state;
    LoadSysParams(db, state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    state.AllowNegativeStock = QStringLiteral("1");
    YesNotices notices;
    const QString now = QStringLiteral("2026-06-30 14:00");
    auto fifty = [](int run) {
        QStringList goods;
        for (int k = 0; k < 50; ++k)
            goods << goodsCode(1 + (run * 50 + k) % (kGoods - 1));  // the big goods left out
        return goods;
    };
    auto number = [](const char *prefix, int group, int run) {
        // The type first, as a number of the system starts ("%1260630…" would read as %12).
        return QLatin1String(prefix) + QStringLiteral("260630%1%2").arg(group).arg(run, 4, 10, QLatin1Char('0'));
    };

    const int runs = 15;
    RawReplay raw(settings, file);
    measurePaired(
        db, raw, runs, "audit of a 50-line purchase receipt dated now", Dialect::of(db).isPostgres() ? 8 : 3,
        [&](int i) { addReceipt(db, number("CJ", 1, i), now, fifty(i)); },
        [&](int i) { check(RunAuditPurchaseIn(db, state, clock, number("CJ", 1, i))); },
        [&](int i) { return number("CJ", 1, i); }, [&](int i) { addReceipt(db, number("CJ", 2, i), now, fifty(i)); },
        [&](int i) { return number("CJ", 2, i); });
    measurePaired(
        db, raw, runs, "audit of a 50-line sale dated now", 20,
        [&](int i) { addSale(db, number("XS", 1, i), now, fifty(i + 7)); },
        [&](int i) { check(RunAuditSale(db, state, clock, number("XS", 1, i), true)); },
        [&](int i) { return number("XS", 1, i); }, [&](int i) { addSale(db, number("XS", 2, i), now, fifty(i + 7)); },
        [&](int i) { return number("XS", 2, i); });
    report("cancel of a 50-line purchase receipt dated now",
           timeRuns(runs, nullptr,
                    [&](int i) {
                        if (UnauditPurchaseIn(db, state, clock, notices, number("CJ", 1, i), {true, false})
                            != UnauditOutcome::Done)
                            std::printf("    cancel not done\n");
                    }),
           30);

    const QString big = goodsCode(0);
    const int slowRuns = 5;
    report("audit of a back-dated one-line receipt (100,000 rows walked)",
           timeRuns(slowRuns,
                    [&](int i) {
                        addReceipt(db, QStringLiteral("CJ20123110%1").arg(i, 3, 10, QLatin1Char('0')),
                                   QStringLiteral("2020-12-31 09:00"), {big});
                    },
                    [&](int i) {
                        check(RunAuditPurchaseIn(db, state, clock,
                                                 QStringLiteral("CJ20123110%1").arg(i, 3, 10, QLatin1Char('0'))));
                    }),
           1000);
    report("cancel of a back-dated one-line receipt (100,000 rows walked)",
           timeRuns(slowRuns, nullptr,
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
                                      {big, kWarehouse});
    report("RecalcStockCost from the first of 100,000 rows",
           timeRuns(slowRuns, nullptr, [&](int) { RecalcStockCost(db, state, clock, first, QStringLiteral("0")); }), 1000);
    report("RecalcPartnerBalances over 100,000 rows",
           timeRuns(slowRuns, nullptr,
                    [&](int) {
                        RecalcPartnerBalances(db, state, clock, QStringLiteral("200001"), QStringLiteral("ghs"),
                                              QStringLiteral("2021-01-01"));
                    }),
           0);
    report("RecalcCashBalances over 100,000 rows",
           timeRuns(slowRuns, nullptr,
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
                fill(db);
                RunSql(db, QStringLiteral("analyze"));
                std::printf("%s: %d goods, %d ledger rows built in %.1f s\n",
                            DialectName(s), kGoods, kLedgerRows, t.elapsed() / 1000.0);
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
