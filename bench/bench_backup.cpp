// Speed of the backup of an account set (the shell's backup service, WriteBackupFile): a set of
// 2,000 goods, 20,000 documents (10,000 purchase receipts and 10,000 sales of 5 lines each) and
// 200,000 goods-ledger rows. SQLite sets are copied with the online backup API, PostgreSQL sets
// exported row by row into an SQLite file; both run on the user-interface thread. Targets: under
// 2 s on SQLite, under 30 s on PostgreSQL (JXC_BENCH_PG names a socket folder or host; skipped
// with a message otherwise). Median and worst of three runs, and the file size.
// Also the account sets' own measures, each beside its raw reference in the same run (alone
// with the argument --create-only):
//   new account set (CreateAccountSet: SQLite ≤ 50 ms, PostgreSQL ≤ 300 ms); raw: SQLite the
//   statements CreateAllTables sent, replayed through sqlite3 on an empty file; PostgreSQL
//   CREATE DATABASE … TEMPLATE of the pristine set through libpq;
//   backup; raw: SQLite the online backup API through sqlite3, PostgreSQL every row of every
//   table read through libpq;
//   verified restore of that backup (RestoreAccountSet, then the ledger rows counted); raw:
//   SQLite the online backup API from the file, PostgreSQL a copy of the pristine set and every
//   table of the file sent with COPY through libpq.

#include "benchraw.h"
#include "benchsupport.h"
#include "rawreplay.h"

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/schema/schemabuilder.h"
#include "foundation/schema/newsettemplate.h"
#include "foundation/schema/register.h"
#include "shell/accountsets.h"
#include "shell/backupservice.h"
#include "shell/restore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString goodsCode(int i)
{
    return QStringLiteral("1%1").arg(i + 1, 7, 10, QLatin1Char('0'));
}

void fill(const QSqlDatabase &db)
{
    Transaction tx(db);
    QSqlQuery goods(db);
    goods.prepare(QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_zhxs, g_pjjj, g_kc) "
                                 "values (?, ?, ?, '个', 1, 5, 10)"));
    for (int g = 0; g < 2000; ++g) {
        goods.addBindValue(goodsCode(g));
        goods.addBindValue(QStringLiteral("商品%1号 规格%2").arg(g).arg(g % 13));
        goods.addBindValue(goodsCode(g));
        goods.exec();
    }
    QSqlQuery receipt(db);
    receipt.prepare(QStringLiteral("insert into jxc_jhd (gl_djh, ghs_sn, ck_sn, j_jhrq, j_yfje, j_sfje, u_sn, j_note, a_name, "
                                   "j_status, j_jsfs, j_kmmc) values (?, '100001', '100001', ?, 100, 100, '100001', "
                                   "'备注', 'admin', 1, 1, '现金')"));
    QSqlQuery receiptLine(db);
    receiptLine.prepare(QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, jh_sl, jh_zsl, jh_dj, jh_je, jh_zje, jh_rksl, "
                                       "a_name) values (?, ?, 4, 4, 5, 20, 20, 4, 'admin')"));
    QSqlQuery sale(db);
    sale.prepare(QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, u_sn, ls_note, "
                                "a_name, ls_status, ls_jsfs, ls_kmmc) values (?, '100001', '100001', ?, 60, 60, '100001', "
                                "'备注', 'admin', 1, 1, '现金')"));
    QSqlQuery saleLine(db);
    saleLine.prepare(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, ls_dj, ls_je, ls_zje, ls_cbj, "
                                    "ls_zcb, ls_cksl, a_name) values (?, ?, 2, 2, 6, 12, 12, 5, 10, 2, 'admin')"));
    QSqlQuery ledger(db);
    ledger.prepare(QStringLiteral("insert into jxc_goodslist (gl_flag, gl_kdrq, gl_djh, g_sn, ck_sn, gl_sl, gl_dj, gl_je, "
                                  "gl_zje, gl_zcb, gl_sqsl, gl_sqje, gl_kc, gl_pjjj, gl_kczje) "
                                  "values (?, ?, ?, ?, '100001', ?, 5, ?, ?, ?, 10, 50, ?, 5, ?)"));
    int ledgerRows = 0;
    for (int d = 0; d < 20000; ++d) {
        const bool isSale = d % 2 == 1;
        const QString number = QStringLiteral("%1%2").arg(isSale ? QStringLiteral("XS") : QStringLiteral("CJ"))
                                   .arg(d, 11, 10, QLatin1Char('0'));
        const QString date = QDate(2022, 1, 1).addDays(d / 20).toString(QStringLiteral("yyyy-MM-dd")) + QStringLiteral(" 10:00");
        QSqlQuery &h = isSale ? sale : receipt;
        h.addBindValue(number);
        h.addBindValue(date);
        h.exec();
        for (int l = 0; l < 5; ++l) {
            QSqlQuery &line = isSale ? saleLine : receiptLine;
            const QString g = goodsCode((d * 7 + l * 131) % 2000);
            line.addBindValue(number);
            line.addBindValue(g);
            line.exec();
        }
        // ten ledger rows a document: its five lines and five older movements
        for (int k = 0; k < 10; ++k) {
            const QString g = goodsCode((d * 7 + k * 131) % 2000);
            ledger.addBindValue(isSale ? QStringLiteral("xs") : QStringLiteral("cj"));
            ledger.addBindValue(date);
            ledger.addBindValue(number);
            ledger.addBindValue(g);
            ledger.addBindValue(isSale ? -2.0 : 4.0);
            ledger.addBindValue(isSale ? 12.0 : 20.0);
            ledger.addBindValue(isSale ? 12.0 : 20.0);
            ledger.addBindValue(isSale ? 10.0 : 0.0);
            ledger.addBindValue(isSale ? 8.0 : 14.0);
            ledger.addBindValue(isSale ? 40.0 : 70.0);
            if (!ledger.exec())
                throw DbError(QStringLiteral("ledger row"));
            ++ledgerRows;
        }
    }
    tx.commit();
    std::printf("  %d ledger rows\n", ledgerRows);
}

void measureCreate(const ConnectionSettings &s)
{
    const QString registerFile = QStringLiteral("codeinfo.db");
    RecreateDatabase(s, registerFile);
    std::vector<QString> made;
    {
        QSqlDatabase reg = OpenConnection(s, registerFile, QStringLiteral("benchreg"));
        CreateRegisterTables(reg);
        int n = 0;
        const Timing ours = MeasureRuns(5, [&] {
            const AccountSetResult r = CreateAccountSet(s, reg, Clock::system(), {QStringLiteral("测试%1").arg(++n), QString(), false, false});
            if (!r.ok())
                std::printf("    failed: %s\n", qPrintable(r.refusal));
            made.push_back(AccountSetDbName(r.sn));
        });
        Timing raw;
        if (s.kind == DbKind::Sqlite) {
            std::vector<RecordedStatement> statements;
            const QString probe = QStringLiteral("jxc_rawprobe.db");
            CreateEmptyDatabase(s, probe);
            {
                QSqlDatabase db = OpenConnection(s, probe, QStringLiteral("benchprobe"));
                StatementRecorder recorder(db);
                CreateAllTables(db);
                statements = recorder.statements();
            }
            CloseConnection(QStringLiteral("benchprobe"));
            made.push_back(probe);
            raw = MeasureRuns(5, [&] {
                const QString f = QStringLiteral("jxc_raw%1.db").arg(++n);
                made.push_back(f);
                CreateEmptyDatabase(s, f);
                RawReplay replay(s, f);
                replay.run(statements);
            });
        } else {
            ConnectionSettings server = s;
            server.prefix.clear();
            PGconn *conn = PgConnect(server, QStringLiteral("postgres"));
            raw = MeasureRuns(5, [&] {
                const QString f = QStringLiteral("jxc_raw%1.db").arg(++n);
                made.push_back(f);
                PQclear(PgRun(conn, QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                                        .arg(DatabaseTarget(s, f), DatabaseTarget(s, NewSetTemplateFile()))));
            });
            PQfinish(conn);
        }
        ReportTiming("new account set", ours, raw, s.kind == DbKind::Sqlite ? 50 : 300);
    }
    CloseConnection(QStringLiteral("benchreg"));
    for (const QString &f : made)
        DropDatabase(s, f);
    DropDatabase(s, registerFile);
}

// Raw backup: SQLite the online backup API; PostgreSQL every row of every table read.
void rawBackup(const ConnectionSettings &s, const QString &file, const QString &target)
{
    if (s.kind == DbKind::Sqlite) {
        sqlite3 *from = nullptr, *to = nullptr;
        sqlite3_open_v2(DatabaseTarget(s, file).toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr);
        QFile::remove(target);
        sqlite3_open(target.toUtf8().constData(), &to);
        sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
        sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        sqlite3_close(to);
        sqlite3_close(from);
        return;
    }
    RawDb raw(s, file);
    PGconn *conn = PgConnect(s, file);
    PGresult *tables = PgRun(conn, QStringLiteral("select tablename from pg_tables where schemaname = 'public'"));
    for (int i = 0; i < PQntuples(tables); ++i)
        raw.run(QStringLiteral("select * from %1").arg(QString::fromUtf8(PQgetvalue(tables, i, 0))));
    PQclear(tables);
    PQfinish(conn);
}

// COPY's text form of a value.
QByteArray copyText(sqlite3_stmt *stmt, int c)
{
    if (sqlite3_column_type(stmt, c) == SQLITE_NULL)
        return QByteArrayLiteral("\\N");
    QByteArray out;
    const char *text = reinterpret_cast<const char *>(sqlite3_column_text(stmt, c));
    for (const char *p = text; *p; ++p) {
        switch (*p) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += *p;
        }
    }
    return out;
}

// Raw restore: SQLite the online backup API from the file; PostgreSQL a copy of the pristine
// set, then every table of the file sent with COPY.
void rawRestore(const ConnectionSettings &s, const QString &backup, const QString &file)
{
    if (s.kind == DbKind::Sqlite) {
        sqlite3 *from = nullptr, *to = nullptr;
        sqlite3_open_v2(backup.toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_open(DatabaseTarget(s, file).toUtf8().constData(), &to);
        sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
        sqlite3_backup_step(b, -1);
        sqlite3_backup_finish(b);
        sqlite3_close(to);
        sqlite3_close(from);
        RawDb(s, file).run(QStringLiteral("select count(*) from jxc_goodslist"));
        return;
    }
    {
        ConnectionSettings server = s;
        server.prefix.clear();
        PGconn *conn = PgConnect(server, QStringLiteral("postgres"));
        PQclear(PgRun(conn, QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                                .arg(DatabaseTarget(s, file), DatabaseTarget(s, NewSetTemplateFile()))));
        PQfinish(conn);
    }
    PGconn *conn = PgConnect(s, file);
    sqlite3 *from = nullptr;
    sqlite3_open_v2(backup.toUtf8().constData(), &from, SQLITE_OPEN_READONLY, nullptr);
    PQclear(PgRun(conn, QStringLiteral("BEGIN")));
    sqlite3_stmt *tables = nullptr;
    sqlite3_prepare_v2(from, "select name from sqlite_master where type = 'table' and name like 'jxc%'", -1, &tables, nullptr);
    while (sqlite3_step(tables) == SQLITE_ROW) {
        const QString table = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(tables, 0)));
        PGresult *exists = PgRun(conn, QStringLiteral("select 1 from pg_tables where tablename = ?"), {table});
        const bool present = PQntuples(exists) > 0;
        PQclear(exists);
        if (!present)
            continue;
        PQclear(PgRun(conn, QStringLiteral("delete from %1").arg(table)));
        sqlite3_stmt *rows = nullptr;
        sqlite3_prepare_v2(from, QStringLiteral("select * from %1").arg(table).toUtf8().constData(), -1, &rows, nullptr);
        QStringList cols;
        for (int c = 0; c < sqlite3_column_count(rows); ++c)
            cols << QString::fromUtf8(sqlite3_column_name(rows, c));
        PQclear(PQexec(conn, QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, cols.join(", ")).toUtf8().constData()));
        QByteArray buffer;
        while (sqlite3_step(rows) == SQLITE_ROW) {
            for (int c = 0; c < cols.size(); ++c) {
                if (c)
                    buffer += '\t';
                buffer += copyText(rows, c);
            }
            buffer += '\n';
            if (buffer.size() > (1 << 20)) {
                PQputCopyData(conn, buffer.constData(), int(buffer.size()));
                buffer.clear();
            }
        }
        PQputCopyData(conn, buffer.constData(), int(buffer.size()));
        PQputCopyEnd(conn, nullptr);
        PGresult *r = PQgetResult(conn);
        if (PQresultStatus(r) != PGRES_COMMAND_OK)
            std::printf("    raw COPY %s failed: %s\n", qPrintable(table), PQerrorMessage(conn));
        PQclear(r);
        sqlite3_finalize(rows);
    }
    sqlite3_finalize(tables);
    PQclear(PgRun(conn, QStringLiteral("COMMIT")));
    sqlite3_close(from);
    PQclear(PgRun(conn, QStringLiteral("select count(*) from jxc_goodslist")));
    PQfinish(conn);
}

void measureBackupAndRestore(const ConnectionSettings &s, const QString &file, const QString &folder)
{
    const QString target = folder + QStringLiteral("/备份24_03_05_14_20_07.DAT");
    const QString rawTarget = folder + QStringLiteral("/raw.DAT");
    const Timing ours = MeasureRuns(2, [&] { WriteBackupFile(s, file, target); });
    const Timing raw = MeasureRuns(2, [&] { rawBackup(s, file, rawTarget); });
    ReportTiming("backup of the set (200,000 ledger rows)", ours, raw, s.kind == DbKind::Sqlite ? 2000 : 30000);
    const QString restored = QStringLiteral("jxc_restorebench.db");
    const QString rawRestored = QStringLiteral("jxc_rawrestore.db");
    QString counted;
    const Timing restore = MeasureRuns(2, [&] {
        if (!DatabaseExists(s, restored) && (s.kind == DbKind::Sqlite || !CreateSetFromTemplate(s, restored)))
            CreateEmptyDatabase(s, restored);
        const BackupOutcome outcome = RestoreAccountSet(s, restored, target);
        if (!outcome.ok)
            std::printf("    restore failed: %s\n", qPrintable(outcome.text));
        {
            QSqlDatabase db = OpenConnection(s, restored, QStringLiteral("benchcheck"));
            counted = QueryScalar(db, QStringLiteral("select count(*) from jxc_goodslist"));
        }
        CloseConnection(QStringLiteral("benchcheck"));
    });
    const Timing rawRestoreTime = MeasureRuns(2, [&] { rawRestore(s, target, rawRestored); }, [&] {
        if (DatabaseExists(s, rawRestored))
            DropDatabase(s, rawRestored);
    });
    ReportTiming("verified restore of that backup", restore, rawRestoreTime, 0);
    std::printf("    (%s ledger rows restored)\n", qPrintable(counted));
    DropDatabase(s, restored);
    DropDatabase(s, rawRestored);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<ConnectionSettings> targets = BenchTargets(dir.path());
    const QString file = QStringLiteral("jxc_backupbench.db");
    // "--create-only": the new account sets alone.
    const bool createOnly = argc > 1 && QByteArray(argv[1]) == "--create-only";
    for (const ConnectionSettings &s : targets) {
        const bool sqlite = s.kind == DbKind::Sqlite;
        try {
            if (createOnly) {
                std::printf("%s:\n", DialectName(s));
                measureCreate(s);
                continue;
            }
            {
                QSqlDatabase db = CreateBenchSet(s, file);
                QElapsedTimer t;
                t.start();
                fill(db);
                std::printf("%s: set built in %.1f s\n", DialectName(s), t.elapsed() / 1000.0);
            }
            CloseConnection(QStringLiteral("bench"));
            std::vector<double> ms;
            const QString target = dir.filePath(QStringLiteral("备份24_03_05_14_20_07.DAT"));
            for (int run = 0; run < 3; ++run) {
                QElapsedTimer t;
                t.start();
                WriteBackupFile(s, file, target);
                ms.push_back(t.nsecsElapsed() / 1e6);
            }
            std::sort(ms.begin(), ms.end());
            const double targetMs = sqlite ? 2000 : 30000;
            std::printf("  %-40s median %8.1f ms  worst %8.1f ms  (target %.0f ms: %s), file %.1f MB\n",
                        sqlite ? "backup (online backup API)" : "backup (export to SQLite)", ms[1], ms.back(), targetMs,
                        ms[1] <= targetMs ? "met" : "MISSED", QFileInfo(target).size() / 1048576.0);
            measureBackupAndRestore(s, file, dir.path());
            DropDatabase(s, file);
            measureCreate(s);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
