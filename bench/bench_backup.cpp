// Speed of the backup of an account set (the shell's backup service, WriteBackupFile): a set of
// 2,000 goods, 20,000 documents (10,000 purchase receipts and 10,000 sales of 5 lines each) and
// 200,000 goods-ledger rows. SQLite sets are copied with the online backup API, PostgreSQL sets
// exported row by row into an SQLite file; both run on the user-interface thread. Targets: under
// 2 s on SQLite, under 30 s on PostgreSQL (JXC_BENCH_PG names a socket folder or host; skipped
// with a message otherwise). Median and worst of three runs, and the file size.

#include "benchsupport.h"

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/backupservice.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    std::vector<ConnectionSettings> targets = BenchTargets(dir.path());
    const QString file = QStringLiteral("jxc_backupbench.db");
    for (const ConnectionSettings &s : targets) {
        const bool sqlite = s.kind == DbKind::Sqlite;
        try {
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
            DropDatabase(s, file);
        } catch (const DbError &e) {
            std::printf("failed: %s\n", qPrintable(e.text()));
            return 1;
        }
    }
    return 0;
}
