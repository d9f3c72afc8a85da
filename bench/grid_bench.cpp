// Speed of the data grid on 100,000 goods-like rows of 20 columns (SQLite file, or PostgreSQL
// when JXC_BENCH_PG names a socket folder or host), drawn offscreen:
//   open and paint the first rows ≤ 0.1 s; jump to the last row and paint ≤ 0.5 s;
//   scroll through all 100,000 rows (every block read, by key) ≤ 0.5 s, beside the raw
//   reference: the same blocks read by key through sqlite3 / libpq;
//   footer of four sums and a count ≤ 0.5 s; sort by a number column ≤ 1 s;
//   contains-filter over six text columns ≤ 1 s; locate of row 99,990's id ≤ 0.2 s;
//   a 100,000-row RowSetModel opens ≤ 0.5 s, its footer ≤ 0.1 s;
//   export of 100,000 rows × 10 columns to .xlsx ≤ 5 s.

#include "benchraw.h"
#include "benchsupport.h"

#include "foundation/db/connection.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/datagrid.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>

namespace {

constexpr int kRows = 100000;

const QStringList kTextFields = {"g_sn", "g_name", "g_jm", "g_sptm", "gg_name", "dw_name", "color_name",
                                 "g_sccs", "g_bz", "g_zbq"};
const QStringList kNumberFields = {"g_kc", "g_jj", "g_sj", "g_sj1", "g_sj2", "g_lsj", "g_cbj", "g_pjjj", "g_zhxs"};

void fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    QStringList cols;
    for (const QString &f : kTextFields)
        cols << f + " " + d.columnType(ColType::NVarchar, 64);
    for (const QString &f : kNumberFields)
        cols << f + " " + d.columnType(ColType::Numeric, 0);
    DropTableIfExists(db, "t_gridbench");
    RunSql(db, QStringLiteral("create table t_gridbench (%1, %2)").arg(d.idColumn(), cols.join(", ")));
    Transaction tx(db);
    QStringList marks;
    for (int i = 0; i < 1 + kTextFields.size() + kNumberFields.size(); ++i)
        marks << "?";
    QSqlQuery q(db);
    q.prepare(QStringLiteral("insert into t_gridbench (id, %1, %2) values (%3)")
                  .arg(kTextFields.join(", "), kNumberFields.join(", "), marks.join(", ")));
    for (int i = 1; i <= kRows; ++i) {
        q.addBindValue(i);
        q.addBindValue(QStringLiteral("%1").arg(i, 8, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("商品名称%1号").arg(i));
        q.addBindValue(QStringLiteral("SPMC%1").arg(i));
        q.addBindValue(QStringLiteral("69%1").arg(i, 11, 10, QLatin1Char('0')));
        q.addBindValue(QStringLiteral("%1ml").arg(100 + i % 900));
        q.addBindValue(i % 3 ? QStringLiteral("瓶") : QStringLiteral("箱"));
        q.addBindValue(QStringLiteral("颜色%1").arg(i % 17));
        q.addBindValue(QStringLiteral("厂商%1").arg(i % 400));
        q.addBindValue(QString());
        q.addBindValue(QStringLiteral("%1天").arg(i % 365));
        for (int n = 0; n < kNumberFields.size(); ++n)
            q.addBindValue(double((i * (n + 7)) % 10007) / 4.0 - 100.0);
        if (!q.exec())
            qFatal("insert failed");
    }
    tx.commit();
    SettleStatistics(db);
}

QList<GridColumn> columns(int count)
{
    QList<GridColumn> out{GridColumn{"id", "ID", 50, ColumnKind::Integer}};
    for (const QString &f : kTextFields)
        out << GridColumn{f, f, 90};
    for (const QString &f : kNumberFields)
        out << GridColumn{f, f, 80, ColumnKind::Quantity, "#0.00;-#.00"};
    return out.mid(0, count);
}

double seconds(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e9;
}

void paint(DataGrid &grid)
{
    QApplication::processEvents();
    grid.grab();
}

void report(const char *what, double s, double target)
{
    std::printf("  %-52s %7.3f s  (target %.1f s)%s\n", what, s, target, s <= target ? "" : "  OVER");
}

// Every row through the model, block after block as a scrolling grid reads them; the raw
// reference reads the same blocks by key through sqlite3 / libpq.
void measureScroll(const ConnectionSettings &s, const QString &file, const QSqlDatabase &db)
{
    const QString select = QStringLiteral("select id, %1, %2 from t_gridbench").arg(kTextFields.join(", "), kNumberFields.join(", "));
    SqlGridModel model(db);
    model.setColumns(columns(20));
    model.setStatement(select, QStringLiteral("id"));
    const Timing open = MeasureRuns(5, [&] {
        SqlGridModel fresh(db);
        fresh.setColumns(columns(20));
        fresh.setStatement(select, QStringLiteral("id"));
        fresh.reload();
        fresh.value(0, "id");
    });
    const Timing ours = MeasureRuns(3, [&] {
        model.reload();
        for (int r = 0; r < model.rowCount(); r += model.blockSize())
            model.value(r, "id");
    });
    if (model.blocksReadByOffset() != 0 || model.value(kRows - 1, "id").toInt() != kRows)
        std::printf("    scrolling went wrong: %d blocks by offset\n", model.blocksReadByOffset());
    RawDb raw(s, file);
    const Timing plain = MeasureRuns(3, [&] {
        qlonglong last = 0;
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(select));
        for (int b = 0; b < kRows / 400; ++b) {
            raw.run(select + QStringLiteral(" where id > ? order by id limit 400"), {last});
            last += 400;
        }
    });
    const Timing plainOpen = MeasureRuns(3, [&] {
        raw.run(QStringLiteral("select count(*) from (%1) c").arg(select));
        raw.run(select + QStringLiteral(" order by id limit 400"));
    });
    ReportTiming("open: count and the first block", open, plainOpen, 100);
    ReportTiming("scroll through all 100,000 rows", ours, plain, 500);
}

void measureSql(const QSqlDatabase &db, const char *label)
{
    std::printf("%s\n", label);
    DataGrid grid;
    grid.resize(1200, 700);
    auto *model = new SqlGridModel(db);
    model->setColumns(columns(20));
    model->setStatement(QStringLiteral("select id, %1, %2 from t_gridbench").arg(kTextFields.join(", "), kNumberFields.join(", ")),
                        QStringLiteral("id"));
    report("open and paint the first rows", seconds([&] {
               grid.setModel(model);
               grid.reload(ReloadTarget::First);
               grid.show();
               paint(grid);
           }), 0.1);
    report("jump to the last row and paint", seconds([&] {
               grid.goLast();
               paint(grid);
           }), 0.5);
    for (const char *f : {"g_kc", "g_jj", "g_sj", "g_lsj"})
        grid.setFooter(QString::fromLatin1(f), FooterKind::Sum);
    grid.setFooter("g_sn", FooterKind::TextCount, QStringLiteral("记录数："));
    report("footer of four sums and a count", seconds([&] { grid.recomputeFooter(); }), 0.5);
    report("sort by a number column (with footer)", seconds([&] {
               grid.sortBy("g_jj", Qt::DescendingOrder);
               paint(grid);
           }), 1.0);
    grid.clearSort();
    report("contains-filter over six text columns (with footer)", seconds([&] {
               grid.setFilter(GridFilter::contains({"g_sn", "g_name", "g_jm", "g_sptm", "gg_name", "color_name"},
                                                   QStringLiteral("9999")));
               grid.reload(ReloadTarget::First);
               paint(grid);
           }), 1.0);
    std::printf("    (%d rows match)\n", grid.rowCount());
    grid.setFilter(GridFilter());
    grid.reload(ReloadTarget::First);
    const QVariant id = model->value(99989, "id");
    bool found = false;
    report("locate of row 99,990's id", seconds([&] { found = grid.locate("id", id); }), 0.2);
    if (!found || grid.currentRow() != 99989)
        std::printf("    locate went wrong: row %d\n", grid.currentRow());
}

void measureRowSet()
{
    std::printf("RowSetModel:\n");
    QVector<QVector<QVariant>> rows;
    rows.reserve(kRows);
    for (int i = 1; i <= kRows; ++i) {
        QVector<QVariant> r;
        r.reserve(20);
        r << i;
        for (const QString &f : kTextFields)
            r << QStringLiteral("%1%2").arg(f).arg(i);
        for (int n = 0; n < kNumberFields.size(); ++n)
            r << double((i * (n + 7)) % 10007) / 4.0;
        rows << r;
    }
    DataGrid grid;
    grid.resize(1200, 700);
    auto *model = new RowSetModel;
    model->setColumns(columns(20));
    report("100,000-row RowSetModel opens and paints", seconds([&] {
               model->setRows(rows);
               grid.setModel(model);
               grid.reload(ReloadTarget::First);
               grid.show();
               paint(grid);
           }), 0.5);
    for (const char *f : {"g_kc", "g_jj", "g_sj", "g_lsj"})
        grid.setFooter(QString::fromLatin1(f), FooterKind::Sum);
    grid.setFooter("g_sn", FooterKind::TextCount, QStringLiteral("记录数："));
    report("its footer (four sums and a count)", seconds([&] { grid.recomputeFooter(); }), 0.1);
}

void measureExport(const QSqlDatabase &db, const QString &folder)
{
    DataGrid grid;
    auto *model = new SqlGridModel(db);
    QList<GridColumn> cols = columns(6);
    cols << columns(20).mid(11, 4);
    model->setColumns(cols);
    QStringList fields;
    for (const GridColumn &c : cols)
        fields << c.field;
    model->setStatement(QStringLiteral("select %1 from t_gridbench").arg(fields.join(", ")), QStringLiteral("id"));
    grid.setModel(model);
    grid.reload(ReloadTarget::First);
    grid.setFooter("g_kc", FooterKind::Sum);
    const QString path = folder + "/bench.xlsx";
    QString error;
    report("export of 100,000 rows x 10 columns to .xlsx",
           seconds([&] {
               if (!WriteGridWorkbook(grid, path, &error))
                   std::printf("    export failed: %s\n", qPrintable(error));
           }),
           5.0);
    std::printf("    (%.1f MB)\n", QFile(path).size() / 1048576.0);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const ConnectionSettings s = BenchTarget(dir.path());
    const QString file = QStringLiteral("gridbench.db");
    RecreateDatabase(s, file);
    {
        QSqlDatabase db = OpenConnection(s, file, QStringLiteral("bench"));
        QElapsedTimer t;
        t.start();
        fill(db);
        std::printf("%d rows of 20 columns (%s) in %.1f s\n", kRows, DialectName(s),
                    t.elapsed() / 1000.0);
        measureSql(db, "SqlGridModel:");
        measureScroll(s, file, db);
        measureRowSet();
        measureExport(db, dir.path());
    }
    CloseConnection(QStringLiteral("bench"));
    if (s.kind == DbKind::Postgres)
        DropDatabase(s, file);
    return 0;
}
