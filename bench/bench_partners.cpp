// Speed of the partner and staff screens on a large account set: 20,000 customers, 5,000
// suppliers, 500 employees, 50 warehouses, 300,000 goods-ledger rows, 20,000 document headers
// (10,000 sales, 10,000 purchase receipts) with 20,000 receivable ledger rows; offscreen. One
// customer carries 10,000 of the ledger rows, so its rename pushes into them.
//   opening TF_Khgl until its grid and footer are filled (≤ 1 s),
//   a keyword filter of the customer list (≤ 1 s),
//   the usage test of a customer delete (≤ 1 s),
//   a customer rename with its push into the ledger and cash rows (≤ 2 s),
//   opening the handler chooser TF_User2 (≤ 1 s).
// Each is printed beside a raw reference doing the same plain work through sqlite3 / libpq
// directly (the same statements, no screen) and the ratio. Median and worst of 5 runs. SQLite
// file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host.

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "masterdata/forms/khgl.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/forms/user2.h"
#include "masterdata/partnerlistquery.h"
#include "masterdata/partnerrules.h"
#include "masterdata/recordusage.h"
#include "screenkit/datagrid.h"
#include "shell/forms/screenregistry.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kCustomers = 20000;
constexpr int kSuppliers = 5000;
constexpr int kEmployees = 500;
constexpr int kWarehouses = 50;
constexpr int kLedgerRows = 300000;
constexpr int kHeaders = 20000;
constexpr int kRuns = 5;
constexpr int kBlock = 400;  // the rows a grid reads first

// The customer renamed: about 10,000 ledger rows and a cash row, no document.
const QString kProbe = QStringLiteral("119001");

class QuietNotices final : public Notices
{
public:
    void notice(const QString &) override {}
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &) override {}
};

// ---- The account set ----

void fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    auto series = [&](int n) {
        return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
    };
    auto text = [&](const QString &expr) { return d.castText(expr); };
    Transaction tx(db);
    RunSql(db, series(kCustomers)
                   + QStringLiteral("insert into jxc_khxx (kh_sn, kh_name, kh_jm, kh_lxr, kh_tele, kh_address, kh_lwje, "
                                    "kh_default, kh_pl, ck_sn, ck_name, kh_forbid, kh_uname, kh_usn, kt_sn, kt_name, "
                                    "z_name) select ")
                   + text(QStringLiteral("100001 + i")) + QStringLiteral(", '客户' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'KH' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '联系人', '0571-' || ") + text(QStringLiteral("80000000 + i"))
                   + QStringLiteral(", '地址' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 0, 0, 0, '-1', '所有仓库', 0, '', '', '100' || ") + text(QStringLiteral("i % 6"))
                   + QStringLiteral(", '', '省会地区' from s"));
    RunSql(db, series(kSuppliers)
                   + QStringLiteral("insert into jxc_ghsxx (ghs_sn, ghs_name, ghs_jm, ghs_tele, ghs_lwje, ghs_default, "
                                    "ghs_pl, ck_sn, ck_name, ghs_forbid, gt_name, z_name) select ")
                   + text(QStringLiteral("100001 + i")) + QStringLiteral(", '供货商' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'GHS' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '0571', 0, 0, 0, '-1', '所有仓库', 0, 'A级供货商', '' from s"));
    RunSql(db, series(kEmployees)
                   + QStringLiteral("insert into jxc_user (u_sn, u_name, u_jm, u_tc, u_cg, u_xs, u_kc, u_jy, u_tcfs, "
                                    "u_zdlr, u_tctxt, u_cgpl, u_xspl, ck_sn, ck_name) select ")
                   + text(QStringLiteral("100001 + i")) + QStringLiteral(", '员工' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'YG' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 1, 1, 1, 1, case when i % 10 = 0 then 1 else 0 end, 0, 0, '按销售额提成', 0, 0, "
                                    "'-1', '所有仓库' from s"));
    RunSql(db, series(kWarehouses - 1)
                   + QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_jm, ck_aname, ck_asn, ck_default, ck_pos) "
                                    "select ")
                   + text(QStringLiteral("100001 + i")) + QStringLiteral(", '仓库' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'CK', 'admin,', '100001,', 0, 0 from s"));
    // Ledger rows of every customer and supplier, warehouse and employee.
    RunSql(db, series(kLedgerRows)
                   + QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, gl_sl, gl_dj, "
                                    "ck_sn, ck_name, ghs_sn, ghs_name, u_name) select case when i % 4 = 0 then 'cj' "
                                    "else 'xs' end, 'XS' || ")
                   + text(QStringLiteral("i")) + QStringLiteral(", '2024-01-01', 'G' || ") + text(QStringLiteral("i % 1000"))
                   + QStringLiteral(", '商品', 1, 1, ") + text(QStringLiteral("100001 + i % 50"))
                   + QStringLiteral(", '仓库', case when i % 4 = 0 then ") + text(QStringLiteral("100002 + i % 5000"))
                   + QStringLiteral(" when i % 30 = 1 then '") + kProbe + QStringLiteral("' else ")
                   + text(QStringLiteral("100002 + i % 20000"))
                   + QStringLiteral(" end, case when i % 4 = 0 then '供货商' || ") + text(QStringLiteral("1 + i % 5000"))
                   + QStringLiteral(" when i % 30 = 1 then '客户19000' else '客户' || ") + text(QStringLiteral("1 + i % 20000"))
                   + QStringLiteral(" end, '员工' || ") + text(QStringLiteral("1 + i % 500")) + QStringLiteral(" from s"));
    RunSql(db, QStringLiteral("insert into jxc_xjyh (gl_djh, ghs_sn, ghs_name, xj_kmmc, xj_rq) values "
                              "('SK24010110001', ?, '客户19000', '现金', '2024-01-01')"),
           {kProbe});
    // Document headers: sales of the first 10,000 customers, receipts of every supplier.
    const int half = kHeaders / 2;
    RunSql(db, series(half)
                   + QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, u_sn, ls_status) select 'XS' || ")
                   + text(QStringLiteral("i")) + QStringLiteral(", ") + text(QStringLiteral("100002 + i % 10000"))
                   + QStringLiteral(", '100001', ") + text(QStringLiteral("100002 + i % 500")) + QStringLiteral(", 1 from s"));
    RunSql(db, series(half)
                   + QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, u_sn, j_status) select 'CJ' || ")
                   + text(QStringLiteral("i")) + QStringLiteral(", ") + text(QStringLiteral("100002 + i % 5000"))
                   + QStringLiteral(", '100001', ") + text(QStringLiteral("100002 + i % 500")) + QStringLiteral(", 1 from s"));
    RunSql(db, series(kHeaders)
                   + QStringLiteral("insert into jxc_ysyfk (gl_djh, k_type, k_ghskh, k_rq, k_djtxt, k_yfje, k_ljje) "
                                    "select 'XS' || ")
                   + text(QStringLiteral("i")) + QStringLiteral(", 'kh', ") + text(QStringLiteral("100002 + i % 10000"))
                   + QStringLiteral(", '2024-01-01', '销售单', 1, 1 from s"));
    tx.commit();
}

// ---- Measuring ----

Timing measure(const std::function<void()> &once)
{
    return MeasureRuns(kRuns, once);
}

void report(const char *what, const Timing &ours, const Timing &raw, double targetMs)
{
    ReportTiming(what, ours, raw, targetMs);
}

// The count and the first block of a grid's statement.
void rawGrid(RawDb &raw, const QString &sql, const QVariantList &binds)
{
    raw.run(QStringLiteral("select count(*) from (%1) c").arg(sql), binds);
    raw.run(sql + QStringLiteral(" limit %1").arg(kBlock), binds);
}

void run(const ConnectionSettings &s, const QString &file)
{
    DataModule data(s);
    data.OpenMainDatabase(file);
    const QSqlDatabase db = data.mainDb();
    FixedClock clock(QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
    LoginState state;
    LoadSysParams(db, state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
    QuietNotices notices;
    ScreenRegistry registry;
    RegisterMasterdataScreens(registry);
    ScreenContext context;
    context.data = &data;
    context.state = &state;
    context.clock = &clock;
    context.notices = &notices;
    context.registry = &registry;
    RawDb raw(s, file);

    // Opening the customer list.
    const ListStatement list = PartnerListStatement(db, state, PartnerKind::Customer);
    const QString listSql = list.body + QStringLiteral(" order by ") + list.order;
    QString footer;
    const Timing open = measure([&] {
        TF_PartnerList w(PartnerKind::Customer, context);
        w.show();
        QApplication::processEvents();
        footer = w.grid()->footerText(QStringLiteral("kh_name"));
        w.close();
    });
    const Timing openRaw = measure([&] { rawGrid(raw, listSql, list.binds); });
    report("open TF_Khgl (grid and footer)", open, openRaw, 1000);
    if (footer != QString::number(kCustomers + 1))
        std::printf("    wrong footer: %s\n", qPrintable(footer));

    // A keyword filter on the open list.
    TF_PartnerList w(PartnerKind::Customer, context);
    w.show();
    QApplication::processEvents();
    int rows = 0;
    const Timing keyword = measure([&] {
        w.keyBox()->setText(QStringLiteral("客户1999"));
        w.searchKeyword();
        QApplication::processEvents();
        rows = w.grid()->rowCount();
        w.keyBox()->clear();
        w.searchKeyword();
    });
    QVariantList keywordBinds;
    w.keyBox()->setText(QStringLiteral("客户1999"));
    w.searchKeyword();
    const QString keywordSql = static_cast<SqlGridModel *>(w.grid()->model())->selectSql(&keywordBinds);
    w.keyBox()->clear();
    w.searchKeyword();
    QVariantList allBinds;
    const QString allSql = static_cast<SqlGridModel *>(w.grid()->model())->selectSql(&allBinds);
    const Timing keywordRaw = measure([&] {
        rawGrid(raw, keywordSql, keywordBinds);
        rawGrid(raw, allSql, allBinds);
    });
    report("keyword filter and back (two reads)", keyword, keywordRaw, 1000);
    if (rows != 11)
        std::printf("    keyword rows: %d\n", rows);
    w.close();

    // The usage test of a customer delete: a customer without documents, so every part runs.
    PartnerRules customers(db, state, clock, notices, PartnerKind::Customer);
    bool used = true;
    const Timing usage = measure([&] { used = customers.inUse(QStringLiteral("119500")); });
    QStringList selects;
    QVariantList usageBinds;
    for (const QString &t : HeaderTablesWith(QStringLiteral("kh_sn"))) {
        selects << QStringLiteral("select * from (select 1 from %1 where kh_sn = ? limit 1) u%2").arg(t).arg(selects.size());
        usageBinds << QStringLiteral("119500");
    }
    for (const char *t : {"jxc_ysyfk_dj", "jxc_ysyfk"}) {
        selects << QStringLiteral("select * from (select 1 from %1 where k_type = 'kh' and k_ghskh = ? and "
                                  "(k_djtxt is null or k_djtxt <> '期初应收款') limit 1) u%2")
                       .arg(QLatin1String(t))
                       .arg(selects.size());
        usageBinds << QStringLiteral("119500");
    }
    selects << QStringLiteral("select * from (select 1 from jxc_xjyh where ghs_sn = ? and gl_djh like 'SK%' limit 1) u%1")
                   .arg(selects.size());
    usageBinds << QStringLiteral("119500");
    const QString usageSql = selects.join(QStringLiteral(" union all ")) + QStringLiteral(" limit 1");
    const Timing usageRaw = measure([&] { raw.run(usageSql, usageBinds); });
    report("usage test of a customer delete", usage, usageRaw, 1000);
    if (used)
        std::printf("    the probe customer reads as in use\n");

    // A rename with its push into ledger and cash rows, back and forth.
    const qint64 id = QueryScalar(db, QStringLiteral("select id from jxc_khxx where kh_sn = ?"), {kProbe}).toLongLong();
    QVariantMap record = customers.record(id);
    PartnerInput in;
    in.name = record.value(QStringLiteral("kh_name")).toString();
    in.typeKey = record.value(QStringLiteral("kt_sn")).toString();
    in.contact = record.value(QStringLiteral("kh_lxr")).toString();
    in.telephone = record.value(QStringLiteral("kh_tele")).toString();
    in.address = record.value(QStringLiteral("kh_address")).toString();
    in.region = record.value(QStringLiteral("z_name")).toString();
    in.openingEnabled = false;
    int flip = 0;
    const Timing rename = measure([&] {
        in.name = (++flip % 2) ? QStringLiteral("客户19000改") : QStringLiteral("客户19000");
        customers.modify(id, in);
    });
    const int pushed = QueryScalar(db, QStringLiteral("select count(*) from jxc_goodslist where ghs_sn = ?"), {kProbe}).toInt();
    int rawFlip = 0;
    const Timing renameRaw = measure([&] {
        const QString from = (rawFlip % 2) ? QStringLiteral("客户19000改") : QStringLiteral("客户19000");
        const QString to = (++rawFlip % 2) ? QStringLiteral("客户19000改") : QStringLiteral("客户19000");
        raw.run(s.kind == DbKind::Sqlite ? QStringLiteral("begin immediate") : QStringLiteral("begin"));
        raw.run(QStringLiteral("update jxc_khxx set kh_name = ?, kh_jm = ? where id = ?"), {to, QStringLiteral("KH19000"), id});
        raw.run(QStringLiteral("update jxc_goodslist set ghs_name = ? where ghs_sn = ? and ghs_name = ?"), {to, kProbe, from});
        raw.run(QStringLiteral("update jxc_xjyh set ghs_name = ? where ghs_sn = ? and ghs_name = ?"), {to, kProbe, from});
        raw.run(QStringLiteral("commit"));
    });
    report(qPrintable(QStringLiteral("customer rename, %1 ledger rows pushed").arg(pushed)), rename, renameRaw, 2000);

    // Opening the handler chooser.
    int handlers = 0;
    const Timing chooser = measure([&] {
        TF_User2 c(context);
        c.setProperty(handoff::CallerTag, QStringLiteral("jh"));
        c.show();
        QApplication::processEvents();
        handlers = c.grid()->rowCount();
        c.close();
    });
    const Timing chooserRaw = measure([&] {
        rawGrid(raw, QStringLiteral("select * from jxc_user where u_jy = 0 order by id"), {});
    });
    report("open the handler chooser TF_User2", chooser, chooserRaw, 1000);
    if (handlers != kEmployees + 1 - kEmployees / 10)
        std::printf("    chooser rows: %d\n", handlers);
}

}  // namespace

// The offscreen platform's notes on window hints say nothing about speed.
static void quiet(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (type != QtDebugMsg && !text.contains(QLatin1String("propagateSizeHints")))
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(quiet);
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const std::vector<ConnectionSettings> targets = BenchTargets(dir.path(), argc, argv);
    const QString file = QStringLiteral("partners.db");
    for (const ConnectionSettings &s : targets) {
        try {
            RecreateDatabase(s, file);
            {
                QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
                FixedClock created(QDateTime(QDate(2025, 3, 14), QTime(8, 0)));
                CreateAllTables(db, created);
                QElapsedTimer t;
                t.start();
                fill(db);
                SettleStatistics(db);
                std::printf("%s: %d customers, %d suppliers, %d employees, %d warehouses, %d ledger rows, %d headers "
                            "built in %.1f s\n",
                            DialectName(s), kCustomers, kSuppliers, kEmployees, kWarehouses, kLedgerRows, kHeaders,
                            t.elapsed() / 1000.0);
            }
            CloseConnection(QStringLiteral("bench"));
            run(s, file);
            DropDatabase(s, file);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
