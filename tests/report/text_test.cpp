// Text in prints: every character drawn with ink and present in the PDF's text layer, emoji
// without a font as one replacement mark, long texts shrunk and wrapped inside their cells.

#include "reporthelpers.h"

#include "report/model/reporttemplate.h"
#include "report/report.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>

namespace {

// A template of one detail band: one text cell per column of the data set, each `cellMm`
// wide, on a roll (the page follows the content) or an A4 page.
Report CellsReport(const QStringList &fields, double cellMm, double heightMm, const QString &fit = {},
                   double size = 12, const QString &pageSize = QStringLiteral("roll80"))
{
    QString items;
    for (int i = 0; i < fields.size(); ++i) {
        items += QStringLiteral(R"({"type":"text","x":%1,"y":0,"w":%2,"h":%3,"text":"[rows.%4]","border":"LTRB"%5},)")
                     .arg(i * cellMm)
                     .arg(cellMm)
                     .arg(heightMm)
                     .arg(fields.at(i))
                     .arg(fit.isEmpty() ? QString() : QStringLiteral(R"(,"fit":"%1")").arg(fit));
    }
    items.chop(1);
    const QString json = QStringLiteral(R"({"page":{"size":"%1","margins":[2,2,2,2]},"font":{"size":%2},
        "bands":[{"kind":"detail","height":%3,"dataSet":"rows","items":[%4]}]})")
                             .arg(pageSize)
                             .arg(size)
                             .arg(heightMm)
                             .arg(items);
    ReportTemplate t;
    EXPECT_TRUE(ParseTemplate(json.toUtf8(), t));
    t.name = QStringLiteral("cells");
    Report report;
    report.setTemplate(t);
    return report;
}

QImage PaintAt(Report &report, int dpi)
{
    const QSizeF mm = report.pageSizeMm();
    QImage image(qRound(mm.width() / 25.4 * dpi), qRound(mm.height() / 25.4 * dpi), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    report.paintPage(painter, 0);
    painter.end();
    return image;
}

// Dark pixels inside a rectangle (mm), a margin kept off its borders.
int InkIn(const QImage &image, const QRectF &mm, int dpi)
{
    const double px = dpi / 25.4;
    const QRect r = QRectF(mm.x() * px, mm.y() * px, mm.width() * px, mm.height() * px).toRect().adjusted(4, 4, -4, -4);
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            ink += qGray(image.pixel(x, y)) < 128;
    return ink;
}

// The cell's pixels, as an image of its own.
QImage CellImage(const QImage &image, const QRectF &mm, int dpi)
{
    const double px = dpi / 25.4;
    return image.copy(QRectF(mm.x() * px, mm.y() * px, mm.width() * px, mm.height() * px).toRect().adjusted(4, 4, -4, -4));
}

TEST(ReportText, EveryCharacterHasInkAndIsInThePdfTextLayer)
{
    const QString sample = QStringLiteral("冷藏2-8℃ ½ 𠮷");
    QStringList fields;
    QStringList values;
    for (const uint c : sample.toUcs4()) {
        if (c == ' ')
            continue;
        fields << QStringLiteral("c%1").arg(fields.size());
        values << QString::fromUcs4(reinterpret_cast<const char32_t *>(&c), 1);
    }
    // One more cell with a character no font has: the mark it prints is not a glyph box.
    fields << QStringLiteral("missing");
    values << QString::fromUcs4(U"\U0010FFFD", 1);
    Report cells = CellsReport(fields, 10, 10);
    cells.setDataSet(QStringLiteral("rows"), DataSet(fields, {values}));
    const int dpi = 300;
    const QImage page = PaintAt(cells, dpi);

    // What an empty glyph box (the fonts' missing-glyph sign) looks like in a cell.
    QImage box(page.size(), QImage::Format_RGB32);
    box.setDotsPerMeterX(page.dotsPerMeterX());
    box.setDotsPerMeterY(page.dotsPerMeterY());
    box.fill(Qt::white);
    {
        QPainter p(&box);
        QFont font = ReportFont(12);
        p.setFont(font);
        const double px = dpi / 25.4;
        p.drawText(QRectF(2 * px + 0.6 * px, 2 * px, 10 * px - 1.2 * px, 10 * px), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUcs4(U"\U0010FFFD", 1));
    }
    const QImage emptyBox = CellImage(box, QRectF(2, 2, 10, 10), dpi);

    for (int i = 0; i < fields.size(); ++i) {
        const QRectF cell(2 + i * 10, 2, 10, 10);
        EXPECT_GT(InkIn(page, cell, dpi), 20) << values.at(i).toStdString();
        EXPECT_TRUE(CellImage(page, cell, dpi) != emptyBox) << values.at(i).toStdString();
    }

    // The PDF's text layer holds the text exactly, "𠮷" (outside the BMP) and "℃" included.
    Report line = CellsReport({QStringLiteral("t")}, 70, 10);
    line.setDataSet(QStringLiteral("rows"), DataSet({QStringLiteral("t")}, {{sample}}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("sample.pdf"));
    ASSERT_TRUE(line.writePdf(pdf));
    EXPECT_EQ(PdfPages(pdf).join(QString()).trimmed(), sample);
}

TEST(ReportText, CommonCjkCharactersComeBackUnchangedFromThePdf)
{
    // Ideographs whose glyphs the fonts share with radicals ("一" and "⼀"), spaces, digits,
    // full-width forms: the text layer names what was drawn.
    const QString text = QStringLiteral("一丨丶丿乙亅二人儿入 八冂冖冫几 ０１２ＡＢ （备注） 口土士夊 金长门 一二三");
    Report line = CellsReport({QStringLiteral("t")}, 150, 10, {}, 10, QStringLiteral("A4"));
    line.setDataSet(QStringLiteral("rows"), DataSet({QStringLiteral("t")}, {{text}}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cjk.pdf"));
    ASSERT_TRUE(line.writePdf(pdf));
    EXPECT_EQ(PdfPages(pdf).join(QString()).trimmed(), text);

    // Characters outside the BMP from two fonts, repeated, over several rows and both weights.
    const QFontMetricsF metrics(ReportFont(10));
    const QString smile = metrics.inFontUcs4(0x1F600) ? QString::fromUcs4(U"\U0001F600", 1) : QStringLiteral("笑");
    const QStringList rows{QStringLiteral("𠮷野家") + smile + QStringLiteral("𠮷"), smile + QStringLiteral("好"),
                           QStringLiteral("𩸽鱼𠮷")};
    Report astral = CellsReport({QStringLiteral("t")}, 150, 8, {}, 10, QStringLiteral("A4"));
    QList<QStringList> values;
    for (const QString &r : rows)
        values << QStringList{r};
    astral.setDataSet(QStringLiteral("rows"), DataSet({QStringLiteral("t")}, values));
    const QString pdf2 = dir.filePath(QStringLiteral("astral.pdf"));
    ASSERT_TRUE(astral.writePdf(pdf2));
    QStringList lines = PdfPages(pdf2).join(QString()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (QString &l : lines)
        l = l.trimmed();
    EXPECT_EQ(lines, rows);
}

TEST(ReportText, EmojiWithoutAFontPrintAsOneReplacementMark)
{
    const QFont font = ReportFont(9);
    const QFontMetricsF metrics(font);
    // A character of no font, and an emoji family (joined by zero-width joiners) when no font
    // of this machine has its parts.
    EXPECT_EQ(DrawableText(QString::fromUcs4(U"好评\U0010FFFD！", 4), font), QStringLiteral("好评\uFFFD！"));
    if (!metrics.inFontUcs4(0x1F468) && !metrics.inFontUcs4(0x1F44D)) {
        EXPECT_EQ(DrawableText(QString::fromUcs4(U"好\U0001F468\u200D\U0001F469\u200D\U0001F467评", 7), font),
                  QStringLiteral("好\uFFFD评"));
        EXPECT_EQ(DrawableText(QString::fromUcs4(U"赞\U0001F44D\U0001F3FD\uFE0F", 4), font), QStringLiteral("赞\uFFFD"));
    }
    // What a font has stays as it is.
    EXPECT_EQ(DrawableText(QStringLiteral("冷藏2-8℃ ½ 𠮷"), font), QStringLiteral("冷藏2-8℃ ½ 𠮷"));

    Report line = CellsReport({QStringLiteral("t")}, 60, 8);
    line.setDataSet(QStringLiteral("rows"),
                    DataSet({QStringLiteral("t")}, {{QString::fromUcs4(U"好评\U0010FFFD！", 4)}}));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("emoji.pdf"));
    ASSERT_TRUE(line.writePdf(pdf));
    EXPECT_EQ(PdfPages(pdf).join(QString()).trimmed(), QStringLiteral("好评\uFFFD！"));
}

TEST(ReportText, LongTextsShrinkToSixPointsThenWrapAndTheRowGrows)
{
    QString name;
    for (int i = 0; i < 60; ++i)
        name += QChar(0x4E00 + 0x100 + i * 7);  // 60 distinct ideographs
    const QFont font = ReportFont(9);

    // A 30 mm cell: the name goes down to 6 points, then onto more lines.
    const FittedText fitted = FitText(name, font, 30, 5, TextFit::Clip, true);
    EXPECT_GE(fitted.pointSize, kMinimumTextPoints);
    EXPECT_GE(fitted.lines.size(), 2);
    EXPECT_EQ(fitted.lines.join(QString()), name);
    EXPECT_GT(fitted.height, 5);
    // A short text keeps its size and line, and a name that only just overflows shrinks.
    EXPECT_EQ(FitText(QStringLiteral("矿泉水"), font, 30, 5, TextFit::Clip, true).pointSize, 9);
    const FittedText shrunk = FitText(name.left(12), font, 30, 5, TextFit::Clip, true);
    EXPECT_LT(shrunk.pointSize, 9);
    EXPECT_EQ(shrunk.lines.size(), 1);
    // A cell that cannot grow takes the lines by a smaller size still.
    const FittedText fixed = FitText(name, font, 30, 5, TextFit::Clip, false);
    EXPECT_LE(fixed.height, 5.01);
    EXPECT_EQ(fixed.lines.join(QString()), name);

    // Printed: the row grows, neighbouring cells with it, and the PDF holds all 60 characters.
    const QStringList fields{QStringLiteral("g_name"), QStringLiteral("g_sn")};
    Report shortRows = CellsReport(fields, 30, 5, {}, 9);
    shortRows.setDataSet(QStringLiteral("rows"), DataSet(fields, {{QStringLiteral("矿泉水"), QStringLiteral("1001")}}));
    Report longRows = CellsReport(fields, 30, 5, {}, 9);
    longRows.setDataSet(QStringLiteral("rows"), DataSet(fields, {{name, QStringLiteral("1001")}}));
    EXPECT_NEAR(longRows.pageSizeMm().height() - shortRows.pageSizeMm().height(), fitted.height - 5, 0.01);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    ASSERT_TRUE(longRows.writePdf(pdf));
    QString layer = PdfPages(pdf).join(QString());
    layer.remove(QRegularExpression(QStringLiteral("[\\s1001]")));
    EXPECT_EQ(layer, name);
}

} // namespace
