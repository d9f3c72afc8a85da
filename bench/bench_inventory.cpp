// Speed of the inventory documents on the posting benchmark set (benchsupport.h: 2,000 goods,
// 200,000 goods-ledger rows), SQLite then PostgreSQL when JXC_BENCH_PG names a socket folder or
// host. Median and worst of repeated runs of:
//   - the audit of a 300-line transfer of 300 goods dated now into a warehouse that has none of
//     them yet (≤ 500 ms)
//   - the audit of a 300-line loss dated now (≤ 300 ms)
//   - the picker's 确定 of 300 basket rows into a transfer (≤ 50 ms)
//   - one barcode line of a transfer with 20,000 goods in the set (≤ 20 ms)
//   - the audit of a 300-line stocktaking of one warehouse with 150 differing lines (≤ 500 ms)
//   - the pre-audit check GetPdMsg on such a stocktaking (≤ 50 ms)
//   - a stocktaking picker batch of 300 goods and its 确定 (≤ 100 ms)
// each beside its raw reference: the statements the program sent, sent again for a twin of the
// document through sqlite3 / libpq directly (rawreplay.h), their count and the ratio.

#include "benchsupport.h"
#include "rawreplay.h"

#include "engine/audit.h"
#include "engine/poststocktaking.h"
#include "foundation/basket.h"
#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/doccontext.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "inventory/inventorypicker.h"
#include "inventory/transferentry.h"

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

constexpr int kLines = 300;
constexpr int kAllGoods = 20000;
const QString kNow = QStringLiteral("2026-06-30 14:00");
const QString kDay = QStringLiteral("2026-06-30");

void check(const AuditResult &r)
{
    if (!r.audited())
        std::printf("    audit not done: %s\n", qPrintable(r.text));
}

// 300 goods of the set (the big one left out), shifted by `run`.
QStringList goodsOfRun(int run)
{
    QStringList goods;
    for (int k = 0; k < kLines; ++k)
        goods << PostingSetGoodsCode(1 + (run * 97 + k) % (kPostingSetGoods - 1));
    return goods;
}

// Run i's own receiving warehouse ("WA0003"; the twin's "WB0003"), so that its stock rows are new.
QString inWarehouse(char side, int run)
{
    return QStringLiteral("W%1%2").arg(QLatin1Char(side)).arg(run, 4, 10, QLatin1Char('0'));
}

void addTransfer(const QSqlDatabase &db, const QString &number, const QString &in, const QStringList &goods)
{
    RunSql(db, QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_jm, ck_default, ck_pos) values (?, ?, '', 0, 0)"),
           {in, QStringLiteral("仓库") + in});
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_dbsp (gl_djh, g_sn, db_sl, db_zsl, db_dj, db_sj, db_zje, dw_name, g_sptm, "
                                "gl_djh2, idck, a_name) values (?, ?, 2, 2, 6.5, 9, 13, '个', '', '', 0, 'admin')"));
    for (const QString &g : goods) {
        line.addBindValue(number);
        line.addBindValue(g);
        line.exec();
    }
    RunSql(db, QStringLiteral("insert into jxc_kcdbd (gl_djh, ck_out, ck_in, db_dbrq, u_sn, db_note, a_name, db_status, "
                              "db_checker, db_chkrq) values (?, '100001', ?, ?, '100001', '', 'admin', 0, '', '')"),
           {number, in, kNow});
}

void addLoss(const QSqlDatabase &db, const QString &number, const QStringList &goods)
{
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_bssp (gl_djh, g_sn, bs_sl, bs_dj, bs_zje, bs_note, gl_djh2, idck, a_name) "
                                "values (?, ?, 1, 6.5, 6.5, '', '', 0, 'admin')"));
    for (const QString &g : goods) {
        line.addBindValue(number);
        line.addBindValue(g);
        line.exec();
    }
    RunSql(db, QStringLiteral("insert into jxc_bsd (gl_djh, ck_sn, bs_bsrq, u_sn, bs_note, a_name, bs_status, bs_checker, "
                              "bs_chkrq) values (?, '100001', ?, '100001', '', 'admin', 0, '', '')"),
           {number, kNow});
}

// A pending stocktaking of 100001 dated now: each goods at its book figures, every second one
// counted one more.
void addCount(const QSqlDatabase &db, const QString &number, const QStringList &goods)
{
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_kcpdsp (gl_djh, g_sn, pd_sl, kc_sl, kc_zsl, pd_dj, pd_zje, a_name) "
                                "select ?, g_sn, coalesce(kc_sl, 0) + ?, coalesce(kc_sl, 0), coalesce(kc_zsl, 0), "
                                "coalesce(kc_cbj, 0), ? * coalesce(kc_cbj, 0), 'admin' from jxc_kcsp "
                                "where ck_sn = ? and g_sn = ?"));
    for (int k = 0; k < goods.size(); ++k) {
        const double more = k % 2 == 0 ? 1.0 : 0.0;
        line.addBindValue(number);
        line.addBindValue(more);
        line.addBindValue(more);
        line.addBindValue(kPostingSetWarehouse);
        line.addBindValue(goods.at(k));
        line.exec();
    }
    RunSql(db, QStringLiteral("insert into jxc_kcpd (gl_djh, ck_sn, pd_rq, u_sn, pd_note, a_name, pd_status, pd_checker, "
                              "pd_chkrq, pd_sl, kc_sl) values (?, ?, ?, '100001', '', 'admin', 0, '', '', 0, 0)"),
           {number, kPostingSetWarehouse, kNow});
}

// The operator's transfer basket: 300 rows.
void fillBasket(const QSqlDatabase &db, const LoginState &state, const QStringList &goods)
{
    Basket basket(db, InventoryDocType(InventoryDoc::Transfer), state);
    Transaction tx(db);
    for (const QString &g : goods)
        basket.addRow({{QStringLiteral("g_sn"), g},         {QStringLiteral("ts_dj"), 6.5},
                       {QStringLiteral("ts_sl"), 1.0},      {QStringLiteral("ts_zje"), 6.5},
                       {QStringLiteral("ts_dzl"), 9.0},     {QStringLiteral("ts_zsl"), 1.0},
                       {QStringLiteral("dw_name"), QStringLiteral("个")}, {QStringLiteral("g_sptm"), QString()},
                       {QStringLiteral("gl_djh2"), QString()}, {QStringLiteral("idck"), 0}});
    tx.commit();
}

// The goods of the set up to 20,000, each with a barcode and stock in 100001.
void addBarcodeGoods(const QSqlDatabase &db)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("update jxc_goods set g_sptm = '69' || g_sn"));
    QSqlQuery goods(db);
    goods.prepare(QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_zhxs, g_pjjj, g_kc, g_cgpl, g_xspl, "
                                 "g_gdcbj, g_jj, g_sj, g_jy, g_sptm) values (?, ?, ?, '个', 1, 5, 100, 0, 0, 0, 5, 8, 0, ?)"));
    QSqlQuery stock(db);
    stock.prepare(QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) "
                                 "values (?, '100001', 100, 100, 5, 500, 0)"));
    for (int i = kPostingSetGoods; i < kAllGoods; ++i) {
        const QString code = PostingSetGoodsCode(i);
        goods.addBindValue(code);
        goods.addBindValue(QStringLiteral("条码商品%1").arg(i));
        goods.addBindValue(code);
        goods.addBindValue(QStringLiteral("69") + code);
        goods.exec();
        stock.addBindValue(code);
        stock.exec();
    }
    tx.commit();
    SettleStatistics(db);
}

void measure(const QSqlDatabase &db, const ConnectionSettings &settings, const QString &file)
{
    FixedClock clock(QDateTime(QDate(2026, 6, 30), QTime(15, 0, 0)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    state.UseAuxUnits = QStringLiteral("1");
    state.ScanAddsQty = QStringLiteral("0");
    BenchNotices notices;
    auto number = [](const char *prefix, int group, int run) {
        return QLatin1String(prefix) + QStringLiteral("260630%1%2").arg(group).arg(run, 4, 10, QLatin1Char('0'));
    };
    const int runs = 9;
    RawReplay raw(settings, file);

    MeasurePaired(
        db, raw, runs, "audit of a 300-line transfer of 300 goods dated now", 500,
        [&](int i) { addTransfer(db, number("DB", 1, i), inWarehouse('A', i), goodsOfRun(i)); },
        [&](int i) { check(RunAuditTransfer(db, state, clock, number("DB", 1, i), true)); },
        [&](int i) { return number("DB", 1, i); },
        [&](int i) { addTransfer(db, number("DB", 2, i), inWarehouse('B', i), goodsOfRun(i)); },
        [&](int i) { return number("DB", 2, i); },
        {{[&](int i) { return inWarehouse('A', i); }, [&](int i) { return inWarehouse('B', i); }}});
    MeasurePaired(
        db, raw, runs, "audit of a 300-line loss dated now", 300,
        [&](int i) { addLoss(db, number("BS", 1, i), goodsOfRun(i + 3)); },
        [&](int i) { check(RunAuditLoss(db, state, clock, number("BS", 1, i), true)); },
        [&](int i) { return number("BS", 1, i); }, [&](int i) { addLoss(db, number("BS", 2, i), goodsOfRun(i + 3)); },
        [&](int i) { return number("BS", 2, i); });

    // The picker's 确定: 300 basket rows into the entry page's transfer.
    InventoryPickerRules picker(db, state, clock, notices, InventoryDoc::Transfer);
    auto entry = [&](const QString &n) {
        DocumentContext c;
        c.type = InventoryDocType(InventoryDoc::Transfer);
        c.number = n;
        c.day = kDay;
        c.warehouse = kPostingSetWarehouse;
        return c;
    };
    MeasurePaired(
        db, raw, runs, "picker 确定 of 300 basket rows", 50, [&](int i) { fillBasket(db, state, goodsOfRun(i + 5)); },
        [&](int i) {
            DocumentContext c = entry(number("DB", 3, i));
            if (!picker.confirm(c).done())
                std::printf("    confirm not done\n");
        },
        [&](int i) { return number("DB", 3, i); }, [&](int i) { fillBasket(db, state, goodsOfRun(i + 5)); },
        [&](int i) { return number("DB", 4, i); });

    // Stocktakings of the set's warehouse.
    MeasurePaired(
        db, raw, runs, "audit of a 300-line stocktaking, 150 lines differing", 500,
        [&](int i) { addCount(db, number("PD", 1, i), goodsOfRun(i + 7)); },
        [&](int i) { check(RunAuditStocktaking(db, state, clock, number("PD", 1, i))); },
        [&](int i) { return number("PD", 1, i); }, [&](int i) { addCount(db, number("PD", 2, i), goodsOfRun(i + 7)); },
        [&](int i) { return number("PD", 2, i); });
    MeasurePaired(
        db, raw, runs, "GetPdMsg on a 300-line stocktaking", 50,
        [&](int i) { addCount(db, number("PD", 3, i), goodsOfRun(i + 11)); },
        [&](int i) {
            if (!GetPdMsg(db, number("PD", 3, i), kNow, kPostingSetWarehouse).isEmpty())
                std::printf("    later business found\n");
        },
        [&](int i) { return number("PD", 3, i); }, [](int) {}, [&](int i) { return number("PD", 3, i); });
    InventoryPickerRules counts(db, state, clock, notices, InventoryDoc::Stocktaking);
    MeasurePaired(
        db, raw, runs, "stocktaking picker batch of 300 goods and 确定", 100, [](int) {},
        [&](int i) {
            DocumentContext c = entry(number("PD", 4, i));
            c.type = InventoryDocType(InventoryDoc::Stocktaking);
            if (counts.addCounted(c, goodsOfRun(i + 13)) != kLines || !counts.confirm(c).done())
                std::printf("    batch not done\n");
        },
        [&](int i) { return number("PD", 4, i); }, [](int) {}, [&](int i) { return number("PD", 5, i); });

    addBarcodeGoods(db);
    TransferEntry scanner(db, state, clock, notices);
    auto code = [](int i) { return QStringLiteral("69") + PostingSetGoodsCode(kPostingSetGoods + 100 + i * 37); };
    MeasurePaired(
        db, raw, runs * 2, "one barcode line, 20,000 goods", 20, [](int) {},
        [&](int i) {
            DocumentContext c = entry(number("DB", 5, i));
            if (!scanner.scan(c, code(i), false).done())
                std::printf("    scan not done\n");
        },
        [&](int i) { return number("DB", 5, i); }, [](int) {}, [&](int i) { return number("DB", 6, i); });
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), QStringLiteral("inventory.db"),
        [](const QSqlDatabase &db) {
            FillPostingSet(db);
            return QStringLiteral("%1 goods, %2 ledger rows").arg(kPostingSetGoods).arg(kPostingSetLedgerRows);
        },
        [](const ConnectionSettings &s, const QSqlDatabase &db) { measure(db, s, QStringLiteral("inventory.db")); });
}
