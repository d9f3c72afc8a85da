#pragma once

// Shared by the purchase list speed programs (bench_purchase_lists, bench_purchase_return_order):
// the pieces of their fill statements, the goods they both fill, and a list timed as a screen
// opens it beside its raw reference (benchlist.h), with its row count.

#include "benchlist.h"
#include "benchraw.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <cstdio>

// Median and worst of this many runs.
inline constexpr int kListBenchRuns = 7;

// "with recursive s(i) …": the numbers 1 … n as rows of s, to fill a table in one statement.
inline QString SeriesSql(int n)
{
    return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
}

// `n` goods 30000001 … (class 1000, price 5), each with 1,000 in stock in warehouse 100001.
inline void FillListBenchGoods(const QSqlDatabase &db, int n)
{
    const Dialect d = Dialect::of(db);
    const auto text = [&](const QString &expr) { return d.castText(expr); };
    RunSql(db, SeriesSql(n)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, g_jj, g_scjj, g_pjjj, gc_sn, g_jy, "
                                    "g_cgpl, g_kc, g_zhxs, g_gdcbj) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '商品' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SP' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", '个', 5, 5, 5, '1000', 0, 0, 1000, 1, 0 from s"));
    RunSql(db, SeriesSql(n) + QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) select ")
                   + text(QStringLiteral("30000000 + i")) + QStringLiteral(", '100001', 1000, 1000, 5, 5000, 0 from s"));
}

// One list view: through the kit's grid model (count, footer sums, first rows) and through
// sqlite3 / libpq, printed with its row count, the ratio and the target.
inline void TimeListView(const QSqlDatabase &db, RawDb &raw, const char *what, const ListStatement &st,
                         const QStringList &sums, double targetMs)
{
    const Timing ours = MeasureList(kListBenchRuns, db, st, sums);
    const Timing plain = MeasureRawList(kListBenchRuns, raw, st, sums);
    const QString rows = QueryScalar(db, QStringLiteral("select count(*) from (%1) c").arg(st.body), st.binds);
    std::printf("    %s: %s rows\n", what, qPrintable(rows));
    ReportTiming(what, ours, plain, targetMs);
}
