// Speed of the sale's save and of its pending page on the posting set (2,000 goods, 200,000
// goods-ledger rows, benchsupport.h) with 10,000 pending sales of 3 lines each:
//   - a sale of 200 lines of 200 different goods dated now, saved with direct audit through
//     SaleSaveRules (the checks, the stock check, the header, the log and RunAuditSale):
//     target ≤ 200 ms median for save and audit together, the worst printed;
//   - for information the same with received 100 below due, the difference spread over the
//     200 lines;
//   - for information the pending page over the 10,000 sales through PendingSaleRules and the
//     kit's grid model: the page opened (count, footers, first rows), filtered by a key, the lines
//     of the current row; and a pending line's quantity edited with its header re-summed.
// The writes beside their raw reference: the statements the program sent, sent again for a twin
// sale through sqlite3 / libpq directly (rawreplay.h); the lists beside the same count, sums and
// first block through sqlite3 / libpq (benchlist.h). SQLite file, then PostgreSQL when
// JXC_BENCH_PG names a socket folder or host.

#include "benchlist.h"
#include "benchraw.h"
#include "benchsupport.h"
#include "rawreplay.h"

#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/linemath.h"
#include "foundation/loginstate.h"
#include "sales/pendingsales.h"
#include "sales/saleentry.h"
#include "sales/salesave.h"

#include <QApplication>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

constexpr int kPendingSales = 10000;
constexpr int kPendingLines = 3;
constexpr int kSaleLines = 200;
constexpr int kRuns = 15;
const QString kToday = QStringLiteral("2026-06-30");

QString fill(const QSqlDatabase &db)
{
    FillPostingSet(db);
    const Dialect d = Dialect::of(db);
    const auto text = [&](const QString &expr) { return d.castText(expr); };
    const QString series = QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ");
    Transaction tx(db);
    RunSql(db, series.arg(kPendingSales)
                   + QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, u_sn, ls_note, "
                                    "a_name, ls_status, ls_jsfs, ls_kmmc, ls_yf, ls_bzf, ls_yffs, ls_fpje, ls_fpno, ls_yhje, "
                                    "ls_dhbz) select 'XS25' || ")
                   + text(QStringLiteral("1000000 + i")) + QStringLiteral(", '100001', '100001', '2026-0' || ")
                   + text(QStringLiteral("1 + i % 5")) + QStringLiteral(" || '-15 10:00', 27, 27, '100001', '备注' || ")
                   + text(QStringLiteral("i % 100"))
                   + QStringLiteral(", 'admin', 0, 0, '现金', 0, 0, '对方付运费', 0, '', 0, 0 from s"));
    RunSql(db, series.arg(kPendingSales * kPendingLines)
                   + QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, g_zhxs, ls_dj, ls_je, ls_zje, ls_taxdj, "
                                    "ls_tax, ls_taxje, ls_dzl, ls_cbj, ls_zcb, ls_lsj, t_zp, g_tmbz, ls_cksl, a_name, dw_name) "
                                    "select 'XS25' || ")
                   + text(QStringLiteral("1000000 + (i + 2) / 3")) + QStringLiteral(", ")
                   + text(QStringLiteral("10000002 + (i * 7) % 1999"))
                   + QStringLiteral(", 1, 1, 1, 9, 9, 9, 9, 0, 0, 1, 6, 6, 0, '', '', 1, 'admin', '个' from s"));
    tx.commit();
    return QStringLiteral("%1 goods, %2 ledger rows, %3 pending sales of %4 lines")
        .arg(kPostingSetGoods)
        .arg(kPostingSetLedgerRows)
        .arg(kPendingSales)
        .arg(kPendingLines);
}

// The operator's 200 draft lines of `number` on the entry page: 200 different goods (the big
// goods left out), one piece each at 9.00, cost 6.00.
void addDraft(const QSqlDatabase &db, const QString &number, int run)
{
    Transaction tx(db);
    QSqlQuery line(db);
    line.prepare(QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, g_zhxs, ls_dj, ls_je, ls_zje, ls_taxdj, "
                                "ls_tax, ls_taxje, ls_dzl, ls_cbj, ls_zcb, ls_lsj, t_zp, g_tmbz, ls_cksl, a_name, dw_name) "
                                "values (?, ?, 1, 1, 1, 9, 9, 9, 9, 0, 0, 1, 6, 6, 0, '', '', 1, 'admin', '个')"));
    for (int k = 0; k < kSaleLines; ++k) {
        line.addBindValue(number);
        line.addBindValue(PostingSetGoodsCode(1 + (run * kSaleLines + k) % (kPostingSetGoods - 1)));
        if (!line.exec())
            throw DbError(QStringLiteral("draft line"));
    }
    tx.commit();
}

SaleHeaderInput header(double received)
{
    SaleHeaderInput in;
    in.customerText = QStringLiteral("普通客户");
    in.customerSn = QStringLiteral("100001");
    in.warehouseSn = kPostingSetWarehouse;
    in.handlerText = QStringLiteral("默认员工");
    in.handlerSn = QStringLiteral("100001");
    in.day = kToday;
    in.due = 9.0 * kSaleLines;
    in.received = received;
    in.accountText = QStringLiteral("现金");
    return in;
}

void measure(const ConnectionSettings &s, const QSqlDatabase &db, const QString &file)
{
    FixedClock clock(QDateTime(QDate(2026, 6, 30), QTime(15, 0, 0)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    state.AuditOnSave = QStringLiteral("1");
    state.SettleDiffMode = QStringLiteral("0");
    state.WarnShortPrepayment = QStringLiteral("0");
    BenchNotices notices;
    RawReplay replay(s, file);
    auto number = [](int group, int run) {
        return QStringLiteral("XS260630%1%2").arg(group).arg(run, 4, 10, QLatin1Char('0'));
    };

    // Save and audit, then the same with a settlement difference spread over the lines.
    const auto saves = [&](const char *label, double target, double received, int group) {
        MeasurePaired(
            db, replay, kRuns, label, target, [&](int i) { addDraft(db, number(group, i), i); },
            [&](int i) {
                const SaleSaveResult r =
                    SaleSaveRules(db, state, clock, notices).save(number(group, i), kSaleLines, header(received));
                if (!r.audited)
                    std::printf("    sale %s not saved and audited\n", qPrintable(number(group, i)));
            },
            [&](int i) { return number(group, i); }, [&](int i) { addDraft(db, number(group + 1, i), i); },
            [&](int i) { return number(group + 1, i); });
    };
    saves("save and audit of a 200-line sale dated now", 200, 9.0 * kSaleLines, 1);
    saves("the same, 100.00 short spread over the 200 lines", 0, 9.0 * kSaleLines - 100, 3);

    // The pending page: opened, filtered, the lines of its current row.
    RawDb raw(s, file);
    const PendingSaleRules pending(db, state, clock, notices);
    const QStringList headerSums{QStringLiteral("ls_yfje"), QStringLiteral("ls_sfje"), QStringLiteral("ls_yhje"),
                                 QStringLiteral("wfje"),    QStringLiteral("ls_yf"),   QStringLiteral("ls_bzf")};
    const QStringList lineSums{QStringLiteral("ls_sl"), QStringLiteral("ls_zcb"), QStringLiteral("ls_je"),
                               QStringLiteral("ls_taxje"), QStringLiteral("ls_zje")};
    const auto list = [&](const char *what, const ListStatement &st, const QStringList &sums) {
        const Timing ours = MeasureList(kRuns, db, st, sums);
        const Timing plain = MeasureRawList(kRuns, raw, st, sums);
        ReportTiming(what, ours, plain, 0);
    };
    const ListStatement all = pending.list(QString(), QString(), false);
    list("pending page opened (10,000 sales)", all, headerSums);
    list("pending page filtered by key \"备注17\"", pending.list(QStringLiteral("备注17"), QString(), false), headerSums);
    // The list's current row after opening: the first by date and number.
    const QString first = QueryScalar(db, QStringLiteral("select gl_djh from jxc_lsxsd where ls_status = 0 "
                                                         "order by ls_xsrq, gl_djh limit 1"));
    list("lines of the current row", pending.lines(first), lineSums);

    // A pending line's quantity typed, then its header re-summed; the raw side sends the same
    // statements again for the same line.
    const qint64 lineId =
        QueryScalar(db, QStringLiteral("select min(id) from jxc_lsxssp where gl_djh = ?"), {first}).toLongLong();
    SaleEntry entry(db, state, clock, notices);
    MeasurePaired(
        db, replay, kRuns, "pending line edit with its header re-summed", 0, [](int) {},
        [&](int i) {
            if (!entry.editCell(SaleCellPlace::Pending, first, lineId, LineCell::Quantity, QString::number(2 + i % 3)))
                std::printf("    line not changed\n");
            PendingSaleRules(db, state, clock, notices).updateCheckShdjYfje(first);
        },
        [&](int) { return first; }, [](int) {}, [&](int) { return first; });
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QStringLiteral("salesave.db");
    return RunBenchOnTargets(BenchTargets(dir.path(), argc, argv), file, fill,
                             [&](const ConnectionSettings &s, const QSqlDatabase &db) { measure(s, db, file); });
}
