// Speed of the period closing "数据结算" on a large account set: 2,000 goods in two warehouses,
// 200,000 goods-ledger rows, 20,000 documents (purchase receipts and sales) with 100,000 lines,
// 50,000 partner-ledger rows, 20,000 cash rows and 20,000 invoice rows, dated over 2022 and 2023.
// The closing at 2022-12-31 removes about half. Measured as the screen runs it, backup excluded:
// RunPeriodClosing (presence checks, catalogue look-up, one transaction with the table lock on
// PostgreSQL, summary, deletions, carry-forward). Targets on a 2-core machine: 15 s on SQLite,
// 60 s on PostgreSQL.
//
// Beside it, a raw reference runs the same statements on a second, identical set directly through
// sqlite3 / libpq in one transaction, and the ratio is printed. SQLite file, then PostgreSQL when
// JXC_BENCH_PG names a socket folder or host ("--pg-only" skips SQLite).

#include "benchsupport.h"
#include "rawreference.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "shell/periodclosing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDriver>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <cstdio>

namespace {

constexpr int kGoods = 2000;
constexpr int kLedgerRows = 200000;
constexpr int kHeaders = 10000;  // of each kind: purchase receipts and sales
constexpr int kLinesPerHeader = 5;
constexpr int kPartnerRows = 50000;
constexpr int kCashRows = 20000;
constexpr int kInvoiceRows = 20000;
constexpr int kDays = 672;  // 24 months of 28 days, 2022-01-01 to 2023-12-28
const QDate kClosingDate(2022, 12, 31);
constexpr double kTargetSqlite = 15.0;
constexpr double kTargetPostgres = 60.0;

// The date text of day k (0 … kDays-1) of the two years, on both kinds of database.
QString dayText(const QString &k)
{
    return QStringLiteral("('' || (2022 + (%1) / 336) || '-' || substr(cast(101 + ((%1) / 28) % 12 as text), 2) "
                          "|| '-' || substr(cast(101 + (%1) % 28 as text), 2))")
        .arg(k);
}

// Row i of n spread evenly over the days, in id order.
QString dayOfRow(int n)
{
    return dayText(QStringLiteral("((i - 1) * %1) / %2").arg(kDays).arg(n));
}

QString series(int n)
{
    return QStringLiteral("with recursive n(i) as (select 1 union all select i + 1 from n where i < %1) ").arg(n);
}

void fill(const QSqlDatabase &db)
{
    Transaction tx(db);
    RunSql(db, QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name) values ('100002', '二号仓')"));
    RunSql(db, series(kGoods) + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_pjjj) select 'G' || (100000 + i), "
                                               "'商品' || i, 10 from n"));
    // 50 rows per goods and warehouse; the running stock grows by 2 a row.
    RunSql(db, series(kLedgerRows)
                   + QStringLiteral("insert into jxc_goodslist (gl_flag, gl_djh, gl_kdrq, g_sn, g_name, ck_sn, gl_sl, gl_dj, "
                                    "gl_je, gl_zje, gl_sqsl, gl_sqje, gl_kc, gl_pjjj, gl_kczje, ghs_sn, ghs_name) "
                                    "select 'cj', 'CJ' || (1000000 + i), %1 || ' 10:00', 'G' || (100000 + i % %2), '商品', "
                                    "case when (i / %2) % 2 = 0 then '100001' else '100002' end, 2, 10, 20, 20, "
                                    "2 * ((i - 1) / %3), 20 * ((i - 1) / %3), 2 * ((i - 1) / %3 + 1), 10, "
                                    "20 * ((i - 1) / %3 + 1), '100001', '普通供货商' from n")
                         .arg(dayOfRow(kLedgerRows))
                         .arg(kGoods)
                         .arg(2 * kGoods));
    struct Kind
    {
        const char *header, *lines, *prefix, *date, *amount, *status, *quantity;
    };
    for (const Kind &k : {Kind{"jxc_jhd", "jxc_jhsp", "CJ", "j_jhrq", "j_yfje", "j_status", "jh_sl"},
                          Kind{"jxc_lsxsd", "jxc_lsxssp", "XS", "ls_xsrq", "ls_yfje", "ls_status", "ls_sl"}}) {
        RunSql(db, series(kHeaders)
                       + QStringLiteral("insert into %1 (gl_djh, %2, %3, %4) select '%5' || (1000000 + i), %6 || ' 09:00', "
                                        "100, case when i % 10 = 0 then 0 else 1 end from n")
                             .arg(QLatin1String(k.header), QLatin1String(k.date), QLatin1String(k.amount),
                                  QLatin1String(k.status), QLatin1String(k.prefix), dayOfRow(kHeaders)));
        RunSql(db, series(kHeaders * kLinesPerHeader)
                       + QStringLiteral("insert into %1 (gl_djh, g_sn, %2) select '%3' || (1000000 + (i - 1) / %4 + 1), "
                                        "'G' || (100000 + i % %5), 4 from n")
                             .arg(QLatin1String(k.lines), QLatin1String(k.quantity), QLatin1String(k.prefix))
                             .arg(kLinesPerHeader)
                             .arg(kGoods));
    }
    // 500 customers and 100 suppliers.
    RunSql(db, series(kPartnerRows)
                   + QStringLiteral("insert into jxc_ysyfk (gl_djh, k_rq, k_yfje, k_sfje, k_qcje, k_yhje, k_ljje, k_type, "
                                    "k_ghskh, k_djtxt) select 'XS' || (1000000 + i), %1 || ' 11:00', 100, 60, 0, 0, "
                                    "40 * ((i - 1) / 600 + 1), case when i % 6 = 0 then 'ghs' else 'kh' end, "
                                    "'' || (100000 + i % 600), '商品销售单' from n")
                         .arg(dayOfRow(kPartnerRows)));
    RunSql(db, series(kCashRows)
                   + QStringLiteral("insert into jxc_xjyh (gl_djh, xj_rq, xj_je, xj_ljje, xj_chk, xj_kmmc, xj_dlx) "
                                    "select 'XS' || (1000000 + i), %1 || ' 12:00', 10, 10 * ((i - 1) / 6 + 1), "
                                    "case when i % 20 = 0 then '0' else '1' end, "
                                    "case i % 6 when 0 then '现金' when 1 then '工行帐号' when 2 then '建行帐号' "
                                    "when 3 then '微信' when 4 then '支付宝' else '对账账户' end, '商品销售' from n")
                         .arg(dayOfRow(kCashRows)));
    RunSql(db, series(kInvoiceRows)
                   + QStringLiteral("insert into jxc_fpdjb (gl_djh, fp_rq, fp_yfje, fp_kpje, fp_qcje, fp_ljje, fp_type, "
                                    "fp_ghskh, fp_check) select 'XS' || (1000000 + i), %1 || ' 13:00', 100, 50, 0, "
                                    "50 * ((i - 1) / 400 + 1), case when i % 4 = 0 then 'ghs' else 'kh' end, "
                                    "'' || (100000 + i % 400), case when i % 25 = 0 then 0 else 1 end from n")
                         .arg(dayOfRow(kInvoiceRows)));
    tx.commit();
}

QString built()
{
    return QStringLiteral("%1 goods, %2 goods-ledger rows, %3 documents with %4 lines, %5 partner rows, %6 cash rows, "
                          "%7 invoice rows")
        .arg(kGoods)
        .arg(kLedgerRows)
        .arg(2 * kHeaders)
        .arg(2 * kHeaders * kLinesPerHeader)
        .arg(kPartnerRows)
        .arg(kCashRows)
        .arg(kInvoiceRows);
}

// What is left, to show that both runs did the same.
QString remaining(const QSqlDatabase &db)
{
    QStringList out;
    for (const char *t : {"jxc_goodslist", "jxc_jhd", "jxc_jhsp", "jxc_ysyfk", "jxc_xjyh", "jxc_fpdjb", "jxc_nj"})
        out << QStringLiteral("%1 %2").arg(QLatin1String(t), QueryScalar(db, QStringLiteral("select count(*) from %1").arg(QLatin1String(t))));
    return out.join(QStringLiteral(", "));
}

class YesNotices final : public Notices
{
public:
    void notice(const QString &text) override { last = text; }
    Answer ask(const QString &, bool) override { return Answer::Yes; }
    void error(const QString &text) override { last = text; }
    QString last;
};

// Every statement of the closing, as the rule runs it, with the operator's scratch rows.
ClosingStatements closingStatements(const QSqlDatabase &db, const QString &operatorName, const QDate &today)
{
    const PeriodClosing closing(db, operatorName);
    ClosingStatements all = closing.summaryStatements(kClosingDate, today);
    auto append = [&all](const ClosingStatements &more) { all.insert(all.end(), more.begin(), more.end()); };
    append(closing.deletionStatements(kClosingDate));
    append({{QStringLiteral("delete from jxc_tempspxf where a_name = ?"), {operatorName}},
            {QStringLiteral("delete from jxc_tempspxf2 where a_name = ?"), {operatorName}}});
    append(closing.carryForwardStatements(kClosingDate));
    append(closing.finishStatements(kClosingDate));
    return all;
}

void sqliteExec(sqlite3 *handle, const char *sql)
{
    char *error = nullptr;
    if (sqlite3_exec(handle, sql, nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        throw DbError(text);
    }
}

double rawSqlite(const QSqlDatabase &db, const ClosingStatements &statements)
{
    sqlite3 *handle = *static_cast<sqlite3 *const *>(db.driver()->handle().data());
    QElapsedTimer t;
    t.start();
    sqliteExec(handle, "BEGIN IMMEDIATE");
    for (const ClosingStatement &s : statements) {
        sqlite3_stmt *stmt = nullptr;
        const QByteArray sql = s.sql.toUtf8();
        if (sqlite3_prepare_v2(handle, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(handle)));
        for (int i = 0; i < s.binds.size(); ++i) {
            const QByteArray text = s.binds.at(i).toString().toUtf8();
            sqlite3_bind_text(stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        }
        const int rc = sqlite3_step(stmt);
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw DbError(QString::fromUtf8(sqlite3_errmsg(handle)));
    }
    sqliteExec(handle, "COMMIT");
    // The program makes the statistics anew after a closing: the same work here.
    sqliteExec(handle, "PRAGMA analysis_limit = 1000");
    sqliteExec(handle, "ANALYZE");
    return t.nsecsElapsed() / 1e9;
}

void pgExec(PGconn *conn, const QString &sql, const QVariantList &binds = {})
{
    PQclear(PgRun(conn, sql, binds));
}

double rawPostgres(PGconn *conn, const QStringList &lockedTables, const ClosingStatements &statements)
{
    const Dialect pg(DbKind::Postgres);
    QElapsedTimer t;
    t.start();
    pgExec(conn, QStringLiteral("BEGIN"));
    pgExec(conn, pg.lockTimeoutStatement(5000));
    pgExec(conn, pg.lockTablesStatement(lockedTables, TableLock::Exclusive));
    for (const ClosingStatement &s : statements)
        pgExec(conn, s.sql, s.binds);
    pgExec(conn, QStringLiteral("COMMIT"));
    // The program makes the statistics anew after a closing: the same work here.
    pgExec(conn, QStringLiteral("ANALYZE"));
    return t.nsecsElapsed() / 1e9;
}

void measure(const ConnectionSettings &s, const QString &file, const QString &rawFile)
{
    const bool sqlite = s.kind == DbKind::Sqlite;
    FixedClock clock(QDateTime(QDate(2024, 3, 8), QTime(9, 0)));
    double ours = 0;
    {
        DataModule data(s, QStringLiteral("bench_main"), QStringLiteral("bench_register"));
        data.OpenMainDatabase(file);
        LoginState state;
        LoadSysParams(data.mainDb(), state, clock);
        state.CurrentOperatorName = QStringLiteral("admin");
        state.CurrentOperatorSn = QStringLiteral("100001");
        state.CurrentRoleSn = QStringLiteral("100001");
        state.CurrentAccountSetName = QStringLiteral("bench");
        ClosingContext c;
        c.data = &data;
        c.state = &state;
        c.clock = &clock;
        c.backup = false;
        YesNotices notices;
        QElapsedTimer t;
        t.start();
        const ClosingResult r = RunPeriodClosing(c, kClosingDate, notices);
        ours = t.nsecsElapsed() / 1e9;
        if (r.outcome != ClosingOutcome::Done)
            throw DbError(r.text);
        std::printf("  left after the closing: %s\n", qPrintable(remaining(data.mainDb())));
    }
    CloseConnection(QStringLiteral("bench_main"));

    // The raw reference on an identical set.
    RecreateDatabase(s, rawFile);
    QSqlDatabase raw = OpenConnection(s, rawFile, QStringLiteral("bench_raw"));
    CreateAllTables(raw);
    fill(raw);
    SettleStatistics(raw);
    const ClosingStatements statements = closingStatements(raw, QStringLiteral("admin"), clock.today());
    double direct = 0;
    if (sqlite) {
        direct = rawSqlite(raw, statements);
    } else {
        PGconn *conn = PgConnect(s, rawFile);
        try {
            direct = rawPostgres(conn, PeriodClosing(raw, QStringLiteral("admin")).changedTables(), statements);
        } catch (...) {
            PQfinish(conn);
            throw;
        }
        PQfinish(conn);
    }
    std::printf("  raw reference left:     %s\n", qPrintable(remaining(raw)));
    raw = QSqlDatabase();
    CloseConnection(QStringLiteral("bench_raw"));
    DropDatabase(s, rawFile);

    const double target = sqlite ? kTargetSqlite : kTargetPostgres;
    std::printf("  %-44s %7.2f s  raw %7.2f s  ratio %5.2f  (target %.0f s: %s)\n",
                "period closing at 2022-12-31 (backup excluded)", ours, direct, direct > 0 ? ours / direct : 0.0, target,
                ours <= target ? "met" : "MISSED");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QStringLiteral("closing.db");
    const QString rawFile = QStringLiteral("closing_raw.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return built();
        },
        [&](const ConnectionSettings &s, const QSqlDatabase &) { measure(s, file, rawFile); });
}
