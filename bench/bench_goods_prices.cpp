// Per-call time of the routines that run for every sales line entered and every POS scan:
// GetSalePrice, GetSalePriceByUnit, GetNewGoodsSn and GetStockQty, on an account set with
// 50,000 goods, 5,000 customers, 20,000 quotes and 300,000 audited sale lines (SQLite file, or
// PostgreSQL when JXC_BENCH_PG names a socket folder or host). The busiest goods and the
// busiest class prefix are measured too. Target: under 5 ms per call. Also GetPY of 100,000
// ten-character names.

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
        RunSql(db, QStringLiteral("analyze"));
        std::printf("data (%s) in %.1f s\n", DialectName(s), t.elapsed() / 1000.0);
        measure(db, "with the catalogue's indexes:");
        // The indexes these look-ups want: sale headers by customer, quotes by customer and goods.
        RunSql(db, QStringLiteral("create index if not exists bench_lsxsd_customer on jxc_lsxsd (kh_sn)"));
        RunSql(db, QStringLiteral("create index if not exists bench_khbj_customer_goods on jxc_khbj (kh_sn, g_sn)"));
        RunSql(db, QStringLiteral("analyze"));
        measure(db, "with sale headers by customer and quotes by customer and goods:");
        // Sale lines by goods and unit as well.
        RunSql(db, QStringLiteral("create index if not exists bench_lsxssp_goods on jxc_lsxssp (g_sn, dw_name)"));
        RunSql(db, QStringLiteral("analyze"));
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
    return 0;
}
