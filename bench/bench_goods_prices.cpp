// Per-call time of the routines that run for every sales line entered and every POS scan:
// GetSalePrice, GetSalePriceByUnit, GetNewGoodsSn and GetStockQty, on an account set with
// 50,000 goods, 5,000 customers, 20,000 quotes and 300,000 audited sale lines (SQLite file, or
// PostgreSQL when JXC_BENCH_PG names a socket folder or host). The busiest goods and the
// busiest class prefix are measured too. Target: under 5 ms per call. Also GetPY of 100,000
// ten-character names.
// Then, on SQLite and PostgreSQL (JXC_BENCH_PG): GetSalePriceByUnit for the retail customer with
// 1,000,000 audited sale lines (100,000 sales), target ≤ 1 ms, beside the raw reference of the
// same look-ups through sqlite3 / libpq, and the former statement (the customer's every line).

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/db/connection.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/pinyin.h"
#include "foundation/saleprice.h"
#include "foundation/schema/schemabuilder.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

void fill(const QSqlDatabase &db)
{
    Transaction tx(db);
    QSqlQuery goods(db);
    goods.prepare(QStringLiteral("insert into jxc_goods (g_sn, g_name, dw_name, g_sj, g_sj3) values (?, ?, '瓶', 5, 4.5)"));
    for (int i = 0; i < 50000; ++i) {
        // 20,000 goods under class 100 (the busiest prefix), the rest spread over 300 classes.
        const QString sn = i < 20000 ? QStringLiteral("100%1").arg(i + 1, 5, 10, QLatin1Char('0'))
                                     : QStringLiteral("%1%2").arg(200 + i % 300).arg(i / 300 + 1, 5, 10, QLatin1Char('0'));
        goods.addBindValue(sn);
        goods.addBindValue(QStringLiteral("商品%1").arg(i));
        goods.exec();
    }
    QSqlQuery unit(db);
    unit.prepare(QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_zhxs, g_sj, g_sj3) values (?, '箱', 12, 58, 54)"));
    for (int i = 0; i < 20000; i += 4) {
        unit.addBindValue(QStringLiteral("100%1").arg(i + 1, 5, 10, QLatin1Char('0')));
        unit.exec();
    }
    QSqlQuery customer(db);
    customer.prepare(QStringLiteral("insert into jxc_khxx (kh_sn, kh_name, kt_sn, kh_forbid) values (?, ?, '1003', 0)"));
    for (int i = 0; i < 5000; ++i) {
        customer.addBindValue(QString::number(200001 + i));
        customer.addBindValue(QStringLiteral("客户%1").arg(i));
        customer.exec();
    }
    QSqlQuery quote(db);
    quote.prepare(QStringLiteral("insert into jxc_khbj (kh_sn, g_sn, kb_bj) values (?, ?, ?)"));
    for (int i = 0; i < 20000; ++i) {
        quote.addBindValue(QString::number(200001 + i % 5000));
        quote.addBindValue(QStringLiteral("100%1").arg(i % 20000 + 1, 5, 10, QLatin1Char('0')));
        quote.addBindValue(9.5);
        quote.exec();
    }
    QSqlQuery header(db);
    header.prepare(QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ls_xsrq, ls_status) values (?, ?, ?, 1)"));
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, dw_name, ls_dj, ls_sl) values (?, ?, ?, ?, 1)"));
    for (int h = 0; h < 30000; ++h) {
        const QString number = QStringLiteral("XS%1").arg(h, 11, 10, QLatin1Char('0'));
        header.addBindValue(number);
        // A third of the sales go to the retail customer 100001 (the POS), the rest spread out.
        header.addBindValue(h % 3 == 0 ? QStringLiteral("100001") : QString::number(200001 + h % 5000));
        header.addBindValue(QStringLiteral("2024-%1-%2").arg(1 + h % 12, 2, 10, QLatin1Char('0')).arg(1 + h % 28, 2, 10, QLatin1Char('0')));
        header.exec();
        for (int l = 0; l < 10; ++l) {
            // Every sale holds the busiest goods 10000001 once; the other lines spread out.
            const int g = l == 0 ? 0 : (h * 7 + l * 13) % 20000;
            line.addBindValue(number);
            line.addBindValue(QStringLiteral("100%1").arg(g + 1, 5, 10, QLatin1Char('0')));
            line.addBindValue(l % 3 == 0 ? QStringLiteral("箱") : QStringLiteral("瓶"));
            line.addBindValue(10.25);
            line.exec();
        }
    }
    QSqlQuery stock(db);
    stock.prepare(QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl) values (?, '100001', 7)"));
    for (int i = 0; i < 50000; i += 2) {
        stock.addBindValue(QStringLiteral("100%1").arg(i % 20000 + 1, 5, 10, QLatin1Char('0')) + (i >= 20000 ? QStringLiteral("x") : QString()));
        stock.exec();
    }
    tx.commit();
}

double perCall(int calls, const std::function<void(int)> &call)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < calls; ++i)
        call(i);
    return t.nsecsElapsed() / 1e6 / calls;
}

void measure(const QSqlDatabase &db, const char *label)
{
    LoginState state;
    state.PriceDecimals = 2;
    state.UseGradePrices = QStringLiteral("1");
    state.SalePriceDefault = QStringLiteral("1");
    const QString busiest = QStringLiteral("10000001");
    std::printf("%s\n", label);
    std::printf("  GetSalePrice, busiest goods, customer without quote: %.3f ms\n",
                perCall(200, [&](int i) { GetSalePrice(db, state, QString::number(200001 + (i * 37) % 5000), busiest); }));
    std::printf("  GetSalePrice, busiest goods, retail customer:        %.3f ms\n",
                perCall(200, [&](int) { GetSalePrice(db, state, QStringLiteral("100001"), busiest); }));
    std::printf("  GetSalePrice, rare goods, retail customer:           %.3f ms\n",
                perCall(200, [&](int i) {
                    GetSalePrice(db, state, QStringLiteral("100001"),
                                 QStringLiteral("100%1").arg(19000 + i % 900, 5, 10, QLatin1Char('0')));
                }));
    std::printf("  GetSalePrice, spread goods:                          %.3f ms\n",
                perCall(200, [&](int i) {
                    GetSalePrice(db, state, QString::number(200001 + i % 5000),
                                 QStringLiteral("100%1").arg((i * 97) % 20000 + 1, 5, 10, QLatin1Char('0')));
                }));
    std::printf("  GetSalePriceByUnit, busiest goods:                   %.3f ms\n",
                perCall(200, [&](int i) {
                    GetSalePriceByUnit(db, state, QString::number(200001 + (i * 37) % 5000), busiest, QStringLiteral("箱"));
                }));
    std::printf("  GetSalePriceByUnit, busiest goods, retail customer:  %.3f ms\n",
                perCall(50, [&](int) { GetSalePriceByUnit(db, state, QStringLiteral("100001"), busiest, QStringLiteral("箱")); }));
    std::printf("  GetNewGoodsSn, busiest prefix (20,000 codes):        %.3f ms\n",
                perCall(200, [&](int) { GetNewGoodsSn(db, QStringLiteral("1")); }));
    std::printf("  GetNewGoodsSn, small prefix:                         %.3f ms\n",
                perCall(200, [&](int i) { GetNewGoodsSn(db, QString::number(200 + i % 300)); }));
    std::printf("  GetStockQty:                                         %.3f ms\n",
                perCall(200, [&](int i) {
                    GetStockQty(db, QStringLiteral("100001"), QStringLiteral("100%1").arg(i * 50 + 1, 5, 10, QLatin1Char('0')));
                }));
}

// 100,000 audited sales of the retail customer 100001 over 1,000 days, 10 lines each: the
// goods B in 箱 on every sale, Q in 箱 on every 100th, R in 箱 on every 1,000th, the others
// spread over 20,000 goods in 瓶; sale 50,000 (in the middle of the ids) is dated after all.
// Built set-based from a numbers table, as a shop's history would be read in, no statistics.
void fillRetailHistory(const QSqlDatabase &db)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("create table bench_n (n int)"));
    RunSql(db, QStringLiteral("insert into bench_n (n) select i from (with recursive c(i) as (select 0 union all "
                              "select i + 1 from c where i < 99999) select i from c) s"));
    RunSql(db, QStringLiteral("create table bench_day (d int, rq varchar(10))"));
    for (int d = 0; d < 1000; d += 100) {
        QStringList rows;
        QVariantList binds;
        for (int k = d; k < d + 100; ++k) {
            rows << QStringLiteral("(?, ?)");
            binds << k << QDate(2022, 1, 1).addDays(k).toString(QStringLiteral("yyyy-MM-dd"));
        }
        RunSql(db, QStringLiteral("insert into bench_day (d, rq) values ") + rows.join(QStringLiteral(", ")), binds);
    }
    RunSql(db, QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ls_xsrq, ls_status) "
                              "select 'XS' || (10000000 + n.n), '100001', y.rq, 1 from bench_n n "
                              "join bench_day y on y.d = n.n / 100 order by n.n"));
    RunSql(db, QStringLiteral("update jxc_lsxsd set ls_xsrq = '2030-01-01' where gl_djh = 'XS10050000'"));
    RunSql(db, QStringLiteral(
        "insert into jxc_lsxssp (gl_djh, g_sn, dw_name, ls_dj, ls_sl) "
        "select 'XS' || (10000000 + n.n), "
        "case when k.n = 0 then 'B' when k.n = 1 and n.n % 100 = 0 then 'Q' when k.n = 2 and n.n % 1000 = 0 then 'R' "
        "else 'G' || ((n.n * 7 + k.n * 13) % 20000) end, "
        "case when k.n <= 2 then '箱' else '瓶' end, 10 + (n.n % 1000) / 100.0, 1 "
        "from bench_n n join bench_n k on k.n < 10 order by n.n, k.n"));
    RunSql(db, QStringLiteral("drop table bench_n"));
    RunSql(db, QStringLiteral("drop table bench_day"));
    tx.commit();
}

void measureRetailHistory(const QString &folder)
{
    const QString file = QStringLiteral("retailhistory.db");
    for (const ConnectionSettings &s : BenchTargets(folder)) {
        {
            QSqlDatabase db = CreateBenchSet(s, file);
            QElapsedTimer t;
            t.start();
            fillRetailHistory(db);
            std::printf("%s: 1,000,000 retail sale lines in %.1f s (no statistics)\n", DialectName(s),
                        t.elapsed() / 1000.0);
            LoginState state;
            state.PriceDecimals = 2;
            state.SalePriceDefault = QStringLiteral("1");
            RawDb raw(s, file);
            const QString retail = QStringLiteral("100001");
            struct Case
            {
                const char *what;
                const char *goods;
            };
            for (const Case &c : {Case{"busiest goods (every sale)", "B"}, Case{"goods on every 100th sale", "Q"},
                                  Case{"goods on every 1,000th sale", "R"}}) {
                const QString goods = QString::fromLatin1(c.goods);
                const QString unit = QStringLiteral("箱");
                const Timing ours = MeasureRuns(200, [&] { GetSalePriceByUnit(db, state, retail, goods, unit); });
                // The same look-ups, plain: the count, the day, that day's newest line (or the
                // goods' few lines).
                const Timing plain = MeasureRuns(200, [&] {
                    raw.run(QStringLiteral("select count(*) from (select l.id from jxc_lsxssp l where l.g_sn = ? "
                                           "and l.dw_name = ? limit 201) w"),
                            {goods, unit});
                    if (goods == QLatin1String("R")) {
                        raw.run(QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                                               "where h.ls_status = 1 and h.kh_sn || '' = ? and l.g_sn = ? and l.dw_name = ? "
                                               "order by h.ls_xsrq desc, l.id desc limit 1"),
                                {retail, goods, unit});
                        return;
                    }
                    raw.run(QStringLiteral("select h.ls_xsrq from jxc_lsxsd h where h.kh_sn = ? and h.ls_status = 1 "
                                           "and exists (select 1 from jxc_lsxssp l where l.gl_djh = h.gl_djh "
                                           "and l.g_sn || '' = ? and l.dw_name || '' = ?) order by h.ls_xsrq desc limit 1"),
                            {retail, goods, unit});
                    raw.run(QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                                           "where h.kh_sn = ? and h.ls_status = 1 and h.ls_xsrq = ? and l.g_sn || '' = ? "
                                           "and l.dw_name = ? order by l.id desc limit 1"),
                            {retail, QStringLiteral("2030-01-01"), goods, unit});
                });
                ReportTiming((QStringLiteral("GetSalePriceByUnit, retail, ") + QLatin1String(c.what)).toUtf8().constData(),
                             ours, plain, 1.0);
            }
            const Timing former = MeasureRuns(2, [&] {
                raw.run(QStringLiteral("select l.ls_dj from jxc_lsxsd h join jxc_lsxssp l on l.gl_djh = h.gl_djh "
                                       "where h.ls_status = 1 and h.kh_sn = ? and l.g_sn || '' = ? and l.dw_name = ? "
                                       "order by h.ls_xsrq desc, l.id desc limit 1"),
                        {retail, QStringLiteral("B"), QStringLiteral("箱")});
            });
            std::printf("  the former statement (every line of the customer), raw: %.1f ms\n", former.median);
            std::printf("  price found: %s\n",
                        qPrintable(GetSalePriceByUnit(db, state, retail, QStringLiteral("B"), QStringLiteral("箱"))));
        }
        CloseConnection(QStringLiteral("bench"));
        DropDatabase(s, file);
    }
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const ConnectionSettings s = BenchTarget(dir.path());
    const QString file = QStringLiteral("goodsprices.db");
    {
        QSqlDatabase db = CreateBenchSet(s, file);
        QElapsedTimer t;
        t.start();
        fill(db);
        SettleStatistics(db);
        std::printf("data (%s) in %.1f s\n", DialectName(s), t.elapsed() / 1000.0);
        measure(db, "with the catalogue's indexes:");
        // The indexes these look-ups want: sale headers by customer, quotes by customer and goods.
        RunSql(db, QStringLiteral("create index if not exists bench_lsxsd_customer on jxc_lsxsd (kh_sn)"));
        RunSql(db, QStringLiteral("create index if not exists bench_khbj_customer_goods on jxc_khbj (kh_sn, g_sn)"));
        SettleStatistics(db);
        measure(db, "with sale headers by customer and quotes by customer and goods:");
        // Sale lines by goods and unit as well.
        RunSql(db, QStringLiteral("create index if not exists bench_lsxssp_goods on jxc_lsxssp (g_sn, dw_name)"));
        SettleStatistics(db);
        measure(db, "and sale lines by goods:");
    }
    CloseConnection(QStringLiteral("bench"));
    DropDatabase(s, file);

    const QString name = QStringLiteral("可口可乐饮料500ml");
    QElapsedTimer t;
    t.start();
    qsizetype total = 0;
    for (int i = 0; i < 100000; ++i)
        total += GetPY(name).size();
    std::printf("GetPY of 100,000 names of %d characters: %lld ms (%lld)\n", int(name.size()),
                static_cast<long long>(t.elapsed()), static_cast<long long>(total));
    try {
        measureRetailHistory(dir.path());
    } catch (const DbError &e) {
        std::printf("failed: %s\n", qPrintable(e.text()));
        return 1;
    }
    return 0;
}
