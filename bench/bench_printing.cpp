// Speed of printing on a sales set: 10,000 goods, 100 audited sales of 1,000 lines each
// (100,000 sale lines), 2,000 goods queued for one barcode label each; offscreen, PDF files:
//   GetPrintLinesSql of a 1,000-line sale with the read of its lines (≤ 0.1 s), and the same
//   with page filling at 30 rows a page (scratch rows rewritten; for information);
//   the 1,000-line sale to PDF through the template spxs: lines, variables, layout, paint and
//   the PDF's text layer (≤ 2 s);
//   2,000 barcode labels to PDF through the template txm: the label run (jxc_txm rewritten),
//   layout, code39 bars from libzint, paint (≤ 3 s). Each run prints new barcodes, so the
//   encoder starts cold as at the first print of a session.
// Raw references in the same run: the same statements through sqlite3 / libpq directly, and
// for the PDFs a plain QPdfWriter drawing the same texts, cells and bars (libzint called
// directly) in the template's geometry, without the template machinery. Median and worst of 5
// runs. SQLite file, then PostgreSQL when JXC_BENCH_PG names a socket folder or host.

#include "benchraw.h"
#include "benchsupport.h"

#include "engine/labelqueue.h"
#include "engine/printdocument.h"
#include "engine/printlines.h"
#include "foundation/db/clock.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "report/model/dataset.h"
#include "report/report.h"
#include "report/reportfont.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <zint.h>

#include <cstdio>

namespace {

constexpr int kGoods = 10000;
constexpr int kSales = 100;
constexpr int kLinesPerSale = 1000;
constexpr int kLabels = 2000;
constexpr int kRuns = 5;
constexpr int kFilledRowsPerPage = 30;

const QString kProbeSale = QStringLiteral("XS240310050");  // the 50th of the 100 sales

QString GoodsCode(int i)
{
    return QString::number(10000000 + i);
}

void fill(const QSqlDatabase &db)
{
    const Dialect d = Dialect::of(db);
    auto series = [&](int n) {
        return QStringLiteral("with recursive s(i) as (select 1 union all select i + 1 from s where i < %1) ").arg(n);
    };
    auto text = [&](const QString &expr) { return d.castText(expr); };
    Transaction tx(db);
    RunSql(db, series(kGoods)
                   + QStringLiteral("insert into jxc_goods (g_sn, g_name, g_jm, dw_name, gg_name, color_name, g_sptm, "
                                    "gc_sn, g_sj, g_jj, g_kc, g_zhxs, g_jy) select ")
                   + text(QStringLiteral("10000000 + i")) + QStringLiteral(", '商品名称' || ") + text(QStringLiteral("i"))
                   + QStringLiteral(", 'SPMC' || ") + text(QStringLiteral("i")) + QStringLiteral(", '瓶', '规格' || ")
                   + text(QStringLiteral("i % 50")) + QStringLiteral(", '红色', ") + text(QStringLiteral("6900000000000 + i"))
                   + QStringLiteral(", '1000', 1.5 + i % 97, 1 + i % 97, 100, 1, 0 from s"));
    RunSql(db, series(kSales)
                   + QStringLiteral("insert into jxc_lsxsd (gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, u_sn, ls_note, "
                                    "a_name, gl_djh2, ls_status, ls_jsfs, ls_kmmc, ls_checker, ls_chkrq, ls_yf, ls_bzf, "
                                    "ls_fpno, ls_fpje, ls_yhje) select 'XS2403' || ")
                   + text(QStringLiteral("10000 + i"))
                   + QStringLiteral(", '100001', '100001', '2024-03-01 10:00', 12345.5, 12345.5, '100001', '', 'admin', '', "
                                    "1, 1, '现金', 'admin', '2024-03-01', 0, 0, '', 0, 0 from s"));
    RunSql(db, series(kSales * kLinesPerSale)
                   + QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_dj, ls_sl, ls_je, ls_taxdj, ls_dzl, ls_zje, "
                                    "ls_lsj, dw_name, ls_bz, g_tmbz, t_zp, a_name) select 'XS2403' || ")
                   + text(QStringLiteral("10001 + (i - 1) / 1000")) + QStringLiteral(", ")
                   + text(QStringLiteral("10000001 + (i * 7919) % 10000"))
                   + QStringLiteral(", 2.5 + i % 9, 1 + i % 5, (2.5 + i % 9) * (1 + i % 5), 2.5 + i % 9, 1, "
                                    "(2.5 + i % 9) * (1 + i % 5), 3, '瓶', '', '', '', 'admin' from s"));
    RunSql(db, series(kLabels) + QStringLiteral("insert into jxc_tm (g_sn, tm_sl) select ")
                   + text(QStringLiteral("10000000 + i")) + QStringLiteral(", 1 from s"));
    tx.commit();
}

// ---- The raw references' drawing ----

struct RawPage
{
    explicit RawPage(const QString &file) : writer(file)
    {
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        painter.begin(&writer);
        px = writer.resolution() / 25.4;
    }
    QRectF mm(double x, double y, double w, double h) const { return QRectF(x * px, y * px, w * px, h * px); }
    void text(const QRectF &rect, int align, const QString &value)
    {
        painter.drawText(rect.adjusted(0.6 * px, 0, -0.6 * px, 0), align, value);
    }

    QPdfWriter writer;
    QPainter painter;
    double px = 1;
};

// The sale in spxs's geometry: page header (25 mm) on every page, document header (30.5 mm,
// 22 texts) on the first, 1,000 lines of ten bordered cells (6.5 mm), the footer (52.5 mm, 22
// texts) and the page number line (6 mm) at the foot of every page.
void rawSalePdf(const QString &file, const QStringList &header, const QList<QStringList> &lines)
{
    static const double widths[] = {10, 22, 40, 18, 12, 10, 16, 18, 22, 22};
    static const int aligns[] = {Qt::AlignHCenter, Qt::AlignLeft,  Qt::AlignLeft,  Qt::AlignLeft,  Qt::AlignHCenter,
                                 Qt::AlignHCenter, Qt::AlignRight, Qt::AlignRight, Qt::AlignRight, Qt::AlignLeft};
    RawPage out(file);
    QPainter &p = out.painter;
    const QFont title = ReportFont(16, true);
    const QFont body = ReportFont(9.5);
    const double limit = 297 - 10 - 6;
    double y = 10;
    int page = 0;
    auto footLine = [&] {
        p.setFont(body);
        out.text(out.mm(10, limit, 190, 6), Qt::AlignCenter, QStringLiteral("第%1页").arg(page));
    };
    auto startPage = [&] {
        if (page > 0) {
            footLine();
            out.writer.newPage();
        }
        ++page;
        y = 10;
        p.setFont(title);
        out.text(out.mm(10, y, 190, 9), Qt::AlignCenter, header.value(0));
        out.text(out.mm(10, y + 9, 190, 8), Qt::AlignCenter, QStringLiteral("商品销售单"));
        p.drawLine(out.mm(83, y + 17, 44, 0).topLeft(), out.mm(83, y + 17, 44, 0).topRight());
        p.drawLine(out.mm(83, y + 17.8, 44, 0).topLeft(), out.mm(83, y + 17.8, 44, 0).topRight());
        p.setFont(body);
        out.text(out.mm(10, y + 19, 190, 5), Qt::AlignCenter, header.value(1));
        y += 25;
        if (page == 1) {
            for (int i = 0; i < 22; ++i)
                out.text(out.mm(10 + (i % 3) * 63, y + (i / 3) * 4.3, 63, 4.3), Qt::AlignLeft | Qt::AlignVCenter,
                         header.value(i % header.size()));
            y += 30.5;
        }
    };
    startPage();
    for (int r = 0; r < lines.size(); ++r) {
        if (y + 6.5 > limit)
            startPage();
        const QStringList &line = lines.at(r);
        double x = 10;
        for (int c = 0; c < 10; ++c) {
            const QRectF cell = out.mm(x, y, widths[c], 6.5);
            p.drawRect(cell);
            out.text(cell, aligns[c] | Qt::AlignVCenter, c == 0 ? QString::number(r + 1) : line.value(c - 1));
            x += widths[c];
        }
        y += 6.5;
    }
    if (y + 52.5 > limit)
        startPage();
    for (int i = 0; i < 22; ++i)
        out.text(out.mm(10 + (i % 2) * 95, y + (i / 2) * 4.7, 95, 4.7), Qt::AlignLeft | Qt::AlignVCenter,
                 header.value(i % header.size()));
    footLine();
}

// One code39 symbol drawn by libzint's vector output into `rect` with its text below.
void rawBarcode(RawPage &out, const QRectF &rect, const QString &data, const QFont &font)
{
    zint_symbol *symbol = ZBarcode_Create();
    symbol->symbology = BARCODE_CODE39;
    symbol->show_hrt = 0;
    symbol->output_options |= BARCODE_QUIET_ZONES;
    const QByteArray bytes = data.toUtf8();
    if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(bytes.constData()), int(bytes.size())) < ZINT_ERROR
        && ZBarcode_Buffer_Vector(symbol, 0) < ZINT_ERROR && symbol->vector) {
        QPainter &p = out.painter;
        const double textHeight = QFontMetricsF(font, &out.writer).height();
        const double sx = rect.width() / symbol->vector->width;
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::black);
        for (zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next)
            p.drawRect(QRectF(rect.left() + r->x * sx, rect.top(), r->width * sx, rect.height() - textHeight));
        p.setPen(Qt::black);
        p.setBrush(Qt::NoBrush);
        p.setFont(font);
        p.drawText(QRectF(rect.left(), rect.bottom() - textHeight, rect.width(), textHeight), Qt::AlignCenter, data);
    }
    ZBarcode_Delete(symbol);
}

// The labels in txm's geometry: four across (47.5 mm), nine down (30 mm) on A4; a box, the
// name, the bars with their text and the price on each.
void rawLabelsPdf(const QString &file, const QList<QStringList> &queue)
{
    RawPage out(file);
    QPainter &p = out.painter;
    const QFont name = ReportFont(9, true);
    const QFont price = ReportFont(9);
    const QFont digits = ReportFont(7);
    int k = 0;
    for (const QStringList &goods : queue) {
        const int count = int(goods.value(0).toDouble() + 0.000000001);
        for (int n = 0; n < count; ++n, ++k) {
            if (k > 0 && k % 36 == 0)
                out.writer.newPage();
            const double x = 10 + (k % 4) * 47.5;
            const double y = 10 + (k % 36 / 4) * 30;
            p.setPen(Qt::black);
            p.setBrush(Qt::NoBrush);
            p.drawRect(out.mm(x + 1, y + 1, 45.5, 28));
            p.setFont(name);
            out.text(out.mm(x + 2, y + 2, 43.5, 5), Qt::AlignCenter, goods.value(1));
            rawBarcode(out, out.mm(x + 4, y + 7.5, 39.5, 15), goods.value(2), digits);
            p.setFont(price);
            out.text(out.mm(x + 2, y + 23, 43.5, 5), Qt::AlignCenter, QStringLiteral("零售价：") + goods.value(3));
        }
    }
}

// ---- Measuring ----

void run(const ConnectionSettings &s, const QSqlDatabase &db, const QString &file, const QString &folder)
{
    FixedClock clock(QDateTime(QDate(2024, 3, 14), QTime(9, 0)));
    LoginState state;
    SignInBenchAdministrator(db, state, clock);
    state.SalesRowsPerPage = QStringLiteral("0");
    state.PrintLineOrder = QStringLiteral("0");
    RawDb raw(s, file);
    const QString logInsert = QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values (?, ?, ?)");
    const QVariantList logBinds{clock.nowText(), QStringLiteral("admin"), PrintLogNote(QStringLiteral("XS"))};
    const QString begin = s.kind == DbKind::Sqlite ? QStringLiteral("begin immediate") : QStringLiteral("begin");

    // The line query and the read of its lines.
    int rows = 0;
    const Timing lines = MeasureRuns(kRuns, [&] {
        const PrintLinesQuery q = GetPrintLinesSql(db, state, clock, kProbeSale, QStringLiteral("XS"));
        rows = DataSet::read(db, q.sql, q.binds).rowCount();
    });
    const PrintLinesQuery plain = GetPrintLinesSql(db, state, clock, kProbeSale, QStringLiteral("XS"));
    const Timing linesRaw = MeasureRuns(kRuns, [&] {
        raw.run(begin);
        raw.run(logInsert, logBinds);
        raw.run(QStringLiteral("commit"));
        raw.run(plain.sql, plain.binds);
    });
    ReportTiming("GetPrintLinesSql and its 1,000 lines read", lines, linesRaw, 100);
    if (rows != kLinesPerSale)
        std::printf("    lines read: %d\n", rows);

    // The same with page filling: scratch rows rewritten in the one transaction.
    state.SalesRowsPerPage = QString::number(kFilledRowsPerPage);
    const Timing filled = MeasureRuns(kRuns, [&] {
        const PrintLinesQuery q = GetPrintLinesSql(db, state, clock, kProbeSale, QStringLiteral("XS"));
        rows = DataSet::read(db, q.sql, q.binds).rowCount();
    });
    const PrintLinesQuery filledQuery = GetPrintLinesSql(db, state, clock, kProbeSale, QStringLiteral("XS"));
    state.SalesRowsPerPage = QStringLiteral("0");
    const Timing filledRaw = MeasureRuns(kRuns, [&] {
        raw.run(begin);
        raw.run(QStringLiteral("delete from jxc_tempspxf where a_name = ?"), {QStringLiteral("admin")});
        raw.run(QStringLiteral("delete from jxc_tempspxf2 where a_name = ?"), {QStringLiteral("admin")});
        raw.run(QStringLiteral("insert into jxc_tempspxf (rid, a_name) select id, cast(? as varchar(32)) from jxc_lsxssp "
                               "where gl_djh = ? order by id"),
                {QStringLiteral("admin"), kProbeSale});
        raw.run(QStringLiteral("select count(*) as num from jxc_tempspxf where a_name = ?"), {QStringLiteral("admin")});
        for (int i = 0; i < kFilledRowsPerPage - kLinesPerSale % kFilledRowsPerPage; ++i)
            raw.run(QStringLiteral("insert into jxc_tempspxf (rid, a_name) values (0, ?)"), {QStringLiteral("admin")});
        raw.run(logInsert, logBinds);
        raw.run(QStringLiteral("commit"));
        raw.run(filledQuery.sql, filledQuery.binds);
    });
    ReportTiming("the same, filled to 30 rows a page", filled, filledRaw, 0);
    if (rows != (kLinesPerSale / kFilledRowsPerPage + 1) * kFilledRowsPerPage)
        std::printf("    filled rows read: %d\n", rows);

    // The 1,000-line sale to PDF.
    const QString salePdf = QDir(folder).filePath(QStringLiteral("sale.pdf"));
    int pages = 0;
    const Timing sale = MeasureRuns(kRuns, [&] {
        const PrintJob job = PrepareStoredDocument(db, state, clock, kProbeSale, QStringLiteral("spxs"),
                                                   QStringLiteral("XS"), QStringLiteral("spxs.fr3"));
        Report report(job);
        if (!report.writePdf(salePdf))
            std::printf("    the sale's PDF was not written\n");
        pages = report.pageCount();
    });
    const qint64 saleBytes = QFileInfo(salePdf).size();
    const QString rawSaleFile = QDir(folder).filePath(QStringLiteral("sale-raw.pdf"));
    const QString rawLines = QStringLiteral("select x.g_sn, x.g_name, x.gg_name, x.color_name, x.dw_name, x.ls_sl, x.sj, "
                                            "x.ls_zje, x.ls_bz from (%1) x")
                                 .arg(plain.sql);
    const Timing saleRaw = MeasureRuns(kRuns, [&] {
        QList<QStringList> header;
        raw.run(QStringLiteral("select b.kh_name, b.kh_address, b.kh_tele, b.kh_lxr, a.gl_djh, a.ls_xsrq, a.ls_yfje, "
                               "a.ls_sfje, a.ls_kmmc, a.ls_note, a.a_name, a.ls_checker, a.ls_chkrq from jxc_lsxsd a "
                               "left join jxc_khxx b on a.kh_sn = b.kh_sn where a.gl_djh = ?"),
                {kProbeSale}, &header);
        raw.run(begin);
        raw.run(logInsert, logBinds);
        raw.run(QStringLiteral("commit"));
        QList<QStringList> read;
        raw.run(rawLines, plain.binds, &read);
        rawSalePdf(rawSaleFile, header.value(0), read);
    });
    ReportTiming(qPrintable(QStringLiteral("1,000-line sale to PDF (spxs, %1 pages)").arg(pages)), sale, saleRaw,
                 2000);
    std::printf("    PDF %lld KB, raw %lld KB\n", saleBytes / 1024, QFileInfo(rawSaleFile).size() / 1024);

    // 2,000 labels to PDF; each run prints new barcodes.
    const QString labelPdf = QDir(folder).filePath(QStringLiteral("labels.pdf"));
    int series = 0;
    const auto newBarcodes = [&] {
        RunSql(db, QStringLiteral("update jxc_goods set g_sptm = cast(? as varchar(8)) || g_sn where g_sn in (select g_sn from jxc_tm)"),
               {QString::number(6900 + ++series)});
    };
    int labelPages = 0;
    int labelRows = 0;
    const Timing labels = MeasureRuns(
        kRuns,
        [&] {
            const LabelRun labelRun = PrepareLabelRun(db);
            labelRows = labelRun.rows.rowCount();
            Report report(LabelPrintJob(labelRun, state));
            if (!report.writePdf(labelPdf))
                std::printf("    the labels' PDF was not written\n");
            labelPages = report.pageCount();
        },
        newBarcodes);
    const QString rawLabelFile = QDir(folder).filePath(QStringLiteral("labels-raw.pdf"));
    const Timing labelsRaw = MeasureRuns(
        kRuns,
        [&] {
            QList<QStringList> queue;
            raw.run(QStringLiteral("select a.tm_sl, b.g_name, b.g_sptm, b.g_sj from jxc_tm a inner join jxc_goods b "
                                   "on a.g_sn = b.g_sn order by a.id"),
                    {}, &queue);
            raw.run(begin);
            raw.run(QStringLiteral("delete from jxc_txm"));
            for (int start = 0; start < queue.size(); start += 200) {
                QStringList marks;
                QVariantList binds;
                for (int i = start; i < queue.size() && i < start + 200; ++i) {
                    marks << QStringLiteral("(?)");
                    binds << queue.at(i).value(2);
                }
                raw.run(QStringLiteral("insert into jxc_txm (tm_code) values ") + marks.join(QLatin1Char(',')), binds);
            }
            raw.run(QStringLiteral("commit"));
            rawLabelsPdf(rawLabelFile, queue);
        },
        newBarcodes);
    ReportTiming(qPrintable(QStringLiteral("%1 barcode labels to PDF (txm, %2 pages)").arg(labelRows).arg(labelPages)),
                 labels, labelsRaw, 3000);
    std::printf("    PDF %lld KB, raw %lld KB\n", QFileInfo(labelPdf).size() / 1024, QFileInfo(rawLabelFile).size() / 1024);
}

}  // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString file = QStringLiteral("printing.db");
    return RunBenchOnTargets(
        BenchTargets(dir.path(), argc, argv), file,
        [](const QSqlDatabase &db) {
            fill(db);
            return QStringLiteral("%1 goods, %2 sales of %3 lines, %4 queued labels")
                .arg(kGoods)
                .arg(kSales)
                .arg(kLinesPerSale)
                .arg(kLabels);
        },
        [&](const ConnectionSettings &s, const QSqlDatabase &db) { run(s, db, file, dir.path()); });
}
