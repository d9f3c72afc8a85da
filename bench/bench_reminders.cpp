// Speed of the reminders "今日事件提醒", which open after every login, on a large account set:
// 100,000 goods (10,000 below their minimum) with stock rows in three warehouses, 5,000 customers
// and 200,000 partner-ledger rows. Measured as the screen does it (the grid model counts its rows
// and reads its first block of 400):
//   activation: the warehouse list, the customer list of the picker and the stock alarm for
//     "所有仓库" ≤ 1 s;
//   the stock alarm for one warehouse ≤ 1 s;
//   the receivables search (each customer's latest ledger row, through the index
//     jxc_ysyfk_balance) ≤ 1 s.
// Each figure is printed beside a raw reference that runs the same statements directly through
// sqlite3 / libpq, and the ratio. Median of 5 runs. SQLite file, then PostgreSQL when
// JXC_BENCH_PG names a socket folder or host ("--pg-only" skips SQLite).

#include "benchsupport.h"
#include "rawreference.h"

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/partnerlists.h"
#include "screenkit/gridmodel.h"
#include "shell/reminderqueries.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kGoods = 100000;
constexpr int kCustomers = 5000;
constexpr int kLedgerRows = 200000;
constexpr int kRuns = 5;
constexpr double kTargetMs = 1000;
constexpr int kBlock = 400;  // the grid model's block

// One statement as the screen runs it, for the raw reference.
struct Statement
{
    QString sql;
    QVariantList binds;
};

// The grid's two statements over a list statement: the count and the first block.
std::vector<Statement> gridStatements(const ListStatement &s)
{
    return {{QStringLiteral("select count(*) from (%1) c").arg(s.body), s.binds},
            {s.body + QStringLiteral(" order by ") + s.order + QStringLiteral(" limit %1 offset 0").arg(kBlock), s.binds}};
}

void fill(const QSqlDatabase &db)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name, ck_asn) values ('100002', '二号仓', '100001,'), "
                              "('100003', '三号仓', '100001,')"));
    // Every tenth goods item is below its minimum in total and in each warehouse.
    RunSql(db, QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                              "insert into jxc_goods (g_sn, g_name, g_jm, dw_name, gg_name, color_name, g_kc, g_zdkc, g_jy) "
                              "select 'G' || (1000000 + i), '商品' || i, 'SP' || i, '个', '规格' || (i % 50), "
                              "'颜色' || (i % 7), case when i % 10 = 0 then 3 + i % 5 else 30 + i % 50 end, 20, "
                              "case when i % 97 = 0 then 1 else 0 end from n")
                   .arg(kGoods));
    RunSql(db, QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1), "
                              "w(ck) as (select '100001' union all select '100002' union all select '100003') "
                              "insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_cbj) "
                              "select 'G' || (1000000 + i), ck, case when i % 10 = 0 then 1 + i % 5 else 10 + i % 40 end, 5 "
                              "from n, w")
                   .arg(kGoods));
    RunSql(db, QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                              "insert into jxc_khxx (kh_sn, kh_name, kh_jm, kt_sn, kh_forbid, ck_sn) "
                              "select '' || (200000 + i), '客户' || i, 'KH' || i, '1000', "
                              "case when i % 50 = 0 then 1 else 0 end, '-1' from n")
                   .arg(kCustomers));
    // Forty rows per customer over eighteen days; one in ten a supplier's row.
    RunSql(db, QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) "
                              "insert into jxc_ysyfk (gl_djh, k_rq, k_fkfs, k_yfje, k_sfje, k_ljje, k_type, k_djlx, "
                              "k_djtxt, k_ghskh, u_sn) "
                              "select 'XS24' || (1000000 + i), '2024-02-' || (10 + i % 18) || ' 10:00', '现金', 100, 0, "
                              "(i * 37) % 200 - 40, case when i % 10 = 0 then 'ghs' else 'kh' end, 'XS', '商品销售单', "
                              "'' || (200001 + i % %2), '100001' from n")
                   .arg(kLedgerRows)
                   .arg(kCustomers));
    tx.commit();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// ---- raw references ----

double rawSqlite(const QSqlDatabase &db, const std::vector<Statement> &statements)
{
    sqlite3 *handle = *static_cast<sqlite3 *const *>(db.driver()->handle().data());
    QElapsedTimer t;
    t.start();
    for (const Statement &s : statements) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = s.sql.toUtf8();
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(handle)));
        std::vector<QByteArray> texts;
        for (int i = 0; i < s.binds.size(); ++i) {
            texts.push_back(s.binds.at(i).toString().toUtf8());
            sqlite3_bind_text(stmt, i + 1, texts.back().constData(), int(texts.back().size()), SQLITE_TRANSIENT);
        }
        const int columns = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int c = 0; c < columns; ++c)
                sqlite3_column_text(stmt, c);
        }
        sqlite3_finalize(stmt);
    }
    return t.nsecsElapsed() / 1e6;
}

double rawPostgres(PGconn *conn, const std::vector<Statement> &statements)
{
    QElapsedTimer t;
    t.start();
    for (const Statement &s : statements) {
        PGresult *r = PgRun(conn, s.sql, s.binds);
        for (int row = 0; row < PQntuples(r); ++row) {
            for (int c = 0; c < PQnfields(r); ++c)
                PQgetvalue(r, row, c);
        }
        PQclear(r);
    }
    return t.nsecsElapsed() / 1e6;
}

struct Measure
{
    const char *name;
    std::function<void()> system;           // through the system's routines
    std::function<std::vector<Statement>()> statements;  // what it runs, for the raw reference
};

void report(const Measure &m, const std::function<double(const std::vector<Statement> &)> &raw)
{
    std::vector<double> ours;
    std::vector<double> direct;
    for (int run = 0; run < kRuns; ++run) {
        QElapsedTimer t;
        t.start();
        m.system();
        ours.push_back(t.nsecsElapsed() / 1e6);
        direct.push_back(raw(m.statements()));
    }
    const double a = median(ours);
    const double b = median(direct);
    std::printf("  %-44s %8.1f ms  raw %8.1f ms  ratio %5.2f  (target %.0f ms: %s)\n", m.name, a, b,
                b > 0 ? a / b : 0.0, kTargetMs, a <= kTargetMs ? "met" : "MISSED");
    std::fflush(stdout);
}

// The grid model as the screen holds it: count, then the first block.
void openGrid(const QSqlDatabase &db, const ListStatement &s)
{
    SqlGridModel model(db);
    model.setColumns({GridColumn{QStringLiteral("g_sn"), QString(), 80}});
    model.setStatement(s.body, s.order, s.binds);
    model.reload();
    if (model.rowCount() > 0)
        model.value(0, QStringLiteral("g_sn"));
}

void measure(const ConnectionSettings &s, const QSqlDatabase &db, const QString &file)
{
    LoginState state;
    FixedClock clock(QDateTime(QDate(2024, 3, 8), QTime(9, 0)));
    LoadSysParams(db, state, clock);
    state.CurrentOperatorName = QStringLiteral("admin");
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");

    const ListStatement allStock = StockAlarmStatement(db, QStringLiteral("-1"), QString());
    const ListStatement oneStock = StockAlarmStatement(db, QStringLiteral("100002"), QString());
    const ListStatement due = ReceivablesStatement(db, state, QString());
    PartnerList customers(PartnerList::Kind::Customers);
    OpenCustomerList(db, state, customers, QStringLiteral("0"));
    std::printf("  %d alarm lines in all, %d in one warehouse, %d customers in the picker\n",
                QueryScalar(db, gridStatements(allStock)[0].sql, allStock.binds).toInt(),
                QueryScalar(db, gridStatements(oneStock)[0].sql, oneStock.binds).toInt(), customers.rowCount());
    std::printf("  %d customers owing money\n", QueryScalar(db, gridStatements(due)[0].sql, due.binds).toInt());

    const std::vector<Measure> measures = {
        {"activation (warehouses, customers, 所有仓库)",
         [&] {
             ReminderWarehouses(db, state);
             PartnerList list(PartnerList::Kind::Customers);
             OpenCustomerList(db, state, list, QStringLiteral("0"));
             openGrid(db, allStock);
         },
         [&] {
             std::vector<Statement> v{{QStringLiteral("select ck_name, ck_sn from jxc_ckxx order by id"), {}},
                                      {customers.statement(), customers.binds()}};
             for (const Statement &st : gridStatements(allStock))
                 v.push_back(st);
             return v;
         }},
        {"stock alarm, one warehouse", [&] { openGrid(db, oneStock); }, [&] { return gridStatements(oneStock); }},
        {"receivables search", [&] { openGrid(db, due); }, [&] { return gridStatements(due); }},
    };

    if (s.kind == DbKind::Sqlite) {
        for (const Measure &m : measures)
            report(m, [&](const std::vector<Statement> &st) { return rawSqlite(db, st); });
        return;
    }
    PGconn *conn = PgConnect(s, file);
    for (const Measure &m : measures)
        report(m, [&](const std::vector<Statement> &st) { return rawPostgres(conn, st); });
    PQfinish(conn);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QStringLiteral("reminders.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return QStringLiteral("%1 goods, %2 stock rows, %3 customers, %4 ledger rows")
                .arg(kGoods)
                .arg(3 * kGoods)
                .arg(kCustomers)
                .arg(kLedgerRows);
        },
        [&](const ConnectionSettings &s, const QSqlDatabase &db) { measure(s, db, file); });
}
