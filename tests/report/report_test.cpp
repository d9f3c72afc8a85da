// The template renderer: names, variables, texts and formats, layout and PDF output.

#include "reporthelpers.h"

#include "../support/testdb.h"
#include "foundation/db/sqlroutines.h"

#include "report/barcode.h"
#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"
#include "report/report.h"

#include <gtest/gtest.h>

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QStandardPaths>

#include <algorithm>

namespace {

const QString kNumber = QStringLiteral("CJ23030510001");

// A purchase receipt as the print rules fill it.
void FillPurchase(Report &report, const QList<QStringList> &rows)
{
    const std::pair<const char *, const char *> vars[] = {
        {"comName", "示例商贸有限公司"}, {"comTele", "010-12345678"}, {"comAddress", "北京市海淀区示例路1号"},
        {"ckName", "主仓库"}, {"jhDate", "2023-03-05"}, {"uName", "默认员工"}, {"Kmmc", "现金"},
        {"ghsName", "普通供货商"}, {"ghsLxr", "王经理"}, {"ghsTele", "13800000000"},
        {"ghsAddress", "上海市浦东新区示例大道8号"}, {"xxyf", "100"}, {"xxsf", "30"}, {"xxyh", "0"},
        {"yf", "壹佰元整"}, {"sf", "叁拾元整"}, {"khqk", "430"}, {"ljqkje", "500"}, {"aName", "admin"},
        {"checker", "admin"}, {"Note", "到'货"}};
    for (const auto &v : vars)
        report.setVariable(QString::fromUtf8(v.first), QString::fromUtf8(v.second));
    report.setDataSet(QStringLiteral("Q_GoodsPrin"), PurchaseLines(rows));
}

QList<QStringList> TwoLines()
{
    return {{kNumber, QStringLiteral("100001"), QStringLiteral("矿泉水"), QStringLiteral("550ml"),
             QString(), QStringLiteral("瓶"), QStringLiteral("24"), QStringLiteral("2.35"), QStringLiteral("56.4"),
             QString()},
            {kNumber, QStringLiteral("100002"), QStringLiteral("方便面"), QString(), QString(),
             QStringLiteral("袋"), QStringLiteral("10"), QStringLiteral("4.36"), QStringLiteral("43.6"),
             QStringLiteral("赠品另计")}};
}

class DataSetTest : public DbTest
{
};

TEST_F(DataSetTest, ReadsRowsInTheCanonicalTextOnBothDialects)
{
    RunSql(db(), QStringLiteral("insert into jxc_jhsp (gl_djh,g_sn,jh_sl,jh_zje,jh_bz) values (?,?,?,?,?)"),
           {kNumber, QStringLiteral("100001"), 24, 56.4, QVariant()});
    const DataSet rows = DataSet::read(
        db(), QStringLiteral("select gl_djh,jh_sl,jh_zje,jh_bz from jxc_jhsp where gl_djh=? order by id"), {kNumber});
    ASSERT_EQ(rows.rowCount(), 1);
    EXPECT_EQ(rows.value(0, QStringLiteral("GL_DJH")), kNumber);
    EXPECT_EQ(rows.value(0, QStringLiteral("jh_sl")), QStringLiteral("24"));
    EXPECT_EQ(rows.value(0, QStringLiteral("jh_zje")), QStringLiteral("56.4"));
    EXPECT_EQ(rows.value(0, QStringLiteral("jh_bz")), QString());
    EXPECT_EQ(rows.value(0, QStringLiteral("nosuch")), QString());
    EXPECT_FALSE(rows.rowIsEmpty(0));
    EXPECT_TRUE(rows.rowIsEmpty(1));
}

TEST(TemplateNames, MapToJsonFilesAndRefusePaths)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("cgjh2.json")), "{}");
    WriteFile(dir.filePath(QStringLiteral("Mixed.json")), "{}");
    struct Case
    {
        const char *name;
        const char *file;  // empty: missing or refused
    } cases[] = {
        {"cgjh2.fr3", "cgjh2.json"}, {"CGJH2.FR3", "cgjh2.json"}, {"cgjh2", "cgjh2.json"},
        {"cgjh2.json", "cgjh2.json"}, {"Mixed.fr3", "Mixed.json"}, {"nosuch.fr3", ""},
        {"../cgjh2.fr3", ""}, {"a/cgjh2.fr3", ""}, {"a\\cgjh2.fr3", ""}, {"..", ""}, {"", ""},
    };
    for (const Case &c : cases) {
        const QString found = TemplateFile(QString::fromUtf8(c.name), dir.path());
        const QString expected = *c.file ? dir.filePath(QString::fromUtf8(c.file)) : QString();
        EXPECT_EQ(found, expected) << c.name;
    }
    EXPECT_EQ(MissingTemplateNotice(QStringLiteral("cgjh9.fr3")), QStringLiteral("打印模板不存在：report/cgjh9.json"));
}

TEST(TemplateNames, RefusedOrMissingGiveAnEmptyReportThatRemembersTheName)
{
    for (const QString name : {QStringLiteral("../x.fr3"), QStringLiteral("nosuch.fr3")}) {
        Report report;
        EXPECT_FALSE(report.load(name, ShippedTemplates()));
        EXPECT_TRUE(report.isEmpty());
        EXPECT_TRUE(report.variables().isEmpty());
        EXPECT_EQ(report.missingNotice(), MissingTemplateNotice(name));
    }
    Report found;
    EXPECT_TRUE(found.load(QStringLiteral("CGJH.FR3"), ShippedTemplates()));
    EXPECT_TRUE(found.missingNotice().isEmpty());
}

TEST(ReportVariables, SetReplacesOrAppendsAndClearEmptiesDeclaredOnes)
{
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("t.json")),
              R"({"variables":[{"name":"comLxr","value":"模板值"},{"name":"title","value":"标题"}],"bands":[]})");
    const PrintJob job = PrintJob::forTemplate(QStringLiteral("t.fr3"), dir.path());
    ASSERT_TRUE(job.templateFound);
    EXPECT_EQ(job.variables.value(QStringLiteral("COMLXR")), QStringLiteral("模板值"));

    ReportVariables vars = job.variables;
    vars.set(QStringLiteral("TITLE"), QStringLiteral("新标题"));  // any letter case replaces
    vars.set(QStringLiteral("ckName"), QStringLiteral("主仓库"));
    EXPECT_EQ(vars.names(), (QStringList{QStringLiteral("comLxr"), QStringLiteral("title"), QStringLiteral("ckName")}));
    EXPECT_EQ(vars.value(QStringLiteral("title")), QStringLiteral("新标题"));
    EXPECT_EQ(vars.value(QStringLiteral("comLxr")), QStringLiteral("模板值"));
    vars.clear();
    EXPECT_TRUE(vars.isEmpty());
    EXPECT_EQ(vars.value(QStringLiteral("comLxr")), QString());

    const PrintJob missing = PrintJob::forTemplate(QStringLiteral("../t.fr3"), dir.path());
    EXPECT_FALSE(missing.templateFound);
    EXPECT_TRUE(missing.variables.isEmpty());
}

TEST(ReportText, TokensFormatsAndEmptyValues)
{
    ReportVariables vars;
    vars.set(QStringLiteral("comName"), QStringLiteral("示例商贸有限公司"));
    vars.set(QStringLiteral("xxyf"), QStringLiteral("100"));
    vars.set(QStringLiteral("note"), QStringLiteral("到'货 [x]"));
    vars.set(QStringLiteral("empty"), QString());
    DataSets sets;
    // A blank row first, as filled pages sort them.
    sets.set(QStringLiteral("Q_GoodsPrin"),
             DataSet({QStringLiteral("gl_djh"), QStringLiteral("jh_sl"), QStringLiteral("jh_zje")},
                     {{QString(), QString(), QString()},
                      {kNumber, QStringLiteral("24"), QStringLiteral("56.4")},
                      {kNumber, QStringLiteral("10"), QStringLiteral("43.6")}}));
    const QHash<QString, QList<int>> pageRows{{QStringLiteral("q_goodsprin"), {0, 1}}};
    TextContext c;
    c.variables = &vars;
    c.dataSets = &sets;
    c.page = 2;
    c.pages = 3;
    c.pageRows = &pageRows;
    ReportDecimals threePlaces;
    threePlaces.price = 3;

    struct Case
    {
        const char *text;
        const char *format;
        const char *shown;
    } cases[] = {
        {"[comName]", "", "示例商贸有限公司"},
        {"[COMNAME]", "", "示例商贸有限公司"},
        {"单号：[Q_GoodsPrin.gl_djh]", "", "单号：CJ23030510001"},  // first non-empty row
        {"[q_goodsprin.GL_DJH]", "", "CJ23030510001"},
        {"[SUM(Q_GoodsPrin.jh_zje)]", "", "100"},
        {"[SUM(Q_GoodsPrin.jh_zje)]", "money", "100.00"},
        {"[PAGESUM(Q_GoodsPrin.jh_sl)]", "qty", "24.00"},
        {"第[PAGE]页 共[PAGES]页", "money", "第2页 共3页"},
        {"[xxyf]", "#,0.00", "100.00"},
        {"[note]", "money", "到'货 [x]"},  // values print as stored, text ignores formats
        {"[empty]", "money", ""},
        {"[nosuch]", "", ""},
        {"[Q_GoodsPrin.nosuch][nosuch.gl_djh][SUM(nosuch.x)]", "", ""},
        {"[[LINE]] [LINE]", "", "[LINE]] "},
        {"a [unclosed", "", "a [unclosed"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(EvaluateText(QString::fromUtf8(k.text), c, QString::fromUtf8(k.format)), QString::fromUtf8(k.shown))
            << k.text << " / " << k.format;

    // In a detail band the current row counts, also when it is blank.
    c.detailSet = QStringLiteral("Q_GoodsPrin");
    c.row = 0;
    EXPECT_EQ(EvaluateText(QStringLiteral("[Q_GoodsPrin.jh_zje]"), c, QStringLiteral("money")), QString());
    c.row = 2;
    c.line = 2;
    EXPECT_EQ(EvaluateText(QStringLiteral("[LINE]. [Q_GoodsPrin.jh_zje]"), c, QStringLiteral("money")),
              QStringLiteral("2. 43.60"));
    c.decimals = threePlaces;
    EXPECT_EQ(EvaluateText(QStringLiteral("[Q_GoodsPrin.jh_zje]"), c, QStringLiteral("money")), QStringLiteral("43.600"));
    EXPECT_EQ(ApplyFormat(QStringLiteral("12.5"), QStringLiteral("qty"), ReportDecimals{2, 2, 0}), QStringLiteral("13"));
}

TEST(ReportPdf, PurchaseReceiptShowsHeaderLinesAmountsAndSignatures)
{
    Report report;
    ASSERT_TRUE(report.load(QStringLiteral("cgjh.fr3"), ShippedTemplates()));
    FillPurchase(report, TwoLines());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("cgjh.pdf"));
    ASSERT_TRUE(report.writePdf(pdf));
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1);
    for (const char *text : {"采购进货单", "示例商贸有限公司", "CJ23030510001", "普通供货商", "主仓库", "矿泉水",
                             "方便面", "2.35", "56.40", "43.60", "100.00", "壹佰元整", "叁拾元整", "430.00",
                             "500.00", "到'货", "经手人", "制单", "审核", "供货商签收", "第1页 共1页"})
        EXPECT_TRUE(pages[0].contains(QString::fromUtf8(text))) << text;
    // Quantities in the canonical text through "qty", never the raw database form.
    EXPECT_TRUE(pages[0].contains(QStringLiteral("24.00")));
    EXPECT_FALSE(pages[0].contains(QStringLiteral("56.4 ")));

    Report noPrices;
    ASSERT_TRUE(noPrices.load(QStringLiteral("cgjh2.fr3"), ShippedTemplates()));
    FillPurchase(noPrices, TwoLines());
    const QString pdf2 = dir.filePath(QStringLiteral("cgjh2.pdf"));
    ASSERT_TRUE(noPrices.writePdf(pdf2));
    const QString text2 = PdfPages(pdf2).join(QString());
    for (const char *shown : {"矿泉水", "方便面", "24.00", "10.00", "CJ23030510001"})
        EXPECT_TRUE(text2.contains(QString::fromUtf8(shown))) << shown;
    for (const char *hidden : {"2.35", "56.40", "壹佰元整", "叁拾元整"})
        EXPECT_FALSE(text2.contains(QString::fromUtf8(hidden))) << hidden;
}

TEST(ReportPdf, FixedRowsPerPageRepeatHeadersAndPutTheFooterOnTheLastPage)
{
    // 23 lines filled to 30 rows (7 blank rows), 10 rows a page.
    QList<QStringList> rows;
    for (int i = 1; i <= 23; ++i)
        rows << QStringList{kNumber, QStringLiteral("G%1").arg(i, 3, 10, QLatin1Char('0')),
                            QStringLiteral("商品%1").arg(i), QString(), QString(), QStringLiteral("个"),
                            QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("2"), QString()};
    for (int i = 0; i < 7; ++i)
        rows << QStringList(10, QString());
    Report report;
    ASSERT_TRUE(report.load(QStringLiteral("cgjh.fr3"), ShippedTemplates()));
    FillPurchase(report, rows);
    report.setRowsPerPage(10);
    EXPECT_EQ(report.prepare(), 3);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("filled.pdf"));
    ASSERT_TRUE(report.writePdf(pdf));
    const QStringList pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 3);
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].contains(kNumber)) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("第%1页 共3页").arg(p + 1))) << p;
        EXPECT_EQ(pages[p].contains(QStringLiteral("壹佰元整")), p == 2) << p;
    }
    EXPECT_TRUE(pages[2].contains(QStringLiteral("商品23")));
    EXPECT_FALSE(pages[2].contains(QStringLiteral("商品20")));
    // Blank rows draw no text: page 3 holds three numbered lines and no fourth ordinal.
    EXPECT_TRUE(pages[2].contains(QStringLiteral("G023")));
    EXPECT_FALSE(pages[2].contains(QStringLiteral(" 24 ")));
    EXPECT_EQ(pages[2].count(QStringLiteral("个")), 3);
    EXPECT_EQ(pages[0].count(QStringLiteral("个")), 10);
    // Sum over all rows, blanks ignored: 23 × 2.
    EXPECT_TRUE(pages[2].contains(QStringLiteral("46.00")));
}

TEST(ReportLayout, RowsFlowOnWhenTheyDoNotFitAndRollsFollowTheContent)
{
    QList<QStringList> rows;
    for (int i = 0; i < 100; ++i)
        rows << QStringList{kNumber, QStringLiteral("G%1").arg(i), QStringLiteral("商品"), QString(), QString(),
                            QString(), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1"), QString()};
    Report flow;
    ASSERT_TRUE(flow.load(QStringLiteral("cgjh"), ShippedTemplates()));
    FillPurchase(flow, rows);
    const int pages = flow.prepare();
    EXPECT_GE(pages, 3);
    flow.setRowsPerPage(60);  // more than a page holds: the rows flow on
    EXPECT_EQ(flow.prepare(), pages);

    Report ticket;
    ASSERT_TRUE(ticket.load(QStringLiteral("posxp"), ShippedTemplates()));
    const DataSet one({QStringLiteral("gl_djh"), QStringLiteral("g_name"), QStringLiteral("pos_sl"),
                       QStringLiteral("pos_dj"), QStringLiteral("pos_zje")},
                      {{QStringLiteral("XS23030510001"), QStringLiteral("矿泉水"), QStringLiteral("2"),
                        QStringLiteral("2.5"), QStringLiteral("5")}});
    ticket.setDataSet(QStringLiteral("Q_GoodsPrin"), one);
    const double shortHeight = ticket.pageSizeMm().height();
    DataSet many = one;
    for (int i = 0; i < 20; ++i)
        many.appendRow(one.rows().first());
    ticket.setDataSet(QStringLiteral("Q_GoodsPrin"), many);
    EXPECT_EQ(ticket.prepare(), 1);
    EXPECT_EQ(ticket.pageSizeMm().width(), 80);
    EXPECT_NEAR(ticket.pageSizeMm().height() - shortHeight, 20 * 8.5, 0.01);
}

TEST(ReportBarcodes, Code39DrawsBarsAndTextOrTextAlone)
{
    const BarcodeShape good = EncodeBarcode(QStringLiteral("code39"), QStringLiteral("6901234567892"));
    EXPECT_TRUE(good.ok);
    EXPECT_GT(good.bars.size(), 20);
    EXPECT_FALSE(EncodeBarcode(QStringLiteral("code39"), QStringLiteral("条码")).ok);
    for (const char *symbology : {"code128", "ean13", "qr"})
        EXPECT_TRUE(EncodeBarcode(QString::fromLatin1(symbology), QStringLiteral("690123456789")).ok) << symbology;

    // Drawn: bars darken the upper part, text the lower one; unencodable data only text.
    const auto draw = [](const QString &data) {
        QImage image(400, 160, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter p(&image);
        PaintBarcode(p, QRectF(0, 0, 400, 160), QStringLiteral("code39"), data, true, ReportFont(9));
        p.end();
        return image;
    };
    const auto darkIn = [](const QImage &image, int y0, int y1) {
        int dark = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 128;
        return dark;
    };
    const QImage bars = draw(QStringLiteral("6901234567892"));
    EXPECT_GT(darkIn(bars, 0, 40), 400 * 40 / 5);
    const QImage textOnly = draw(QStringLiteral("条码"));
    EXPECT_EQ(darkIn(textOnly, 0, 40), 0);
    EXPECT_GT(darkIn(textOnly, 40, 160), 0);
}

// The bars of a shape by kind: EAN's guard bars are the longer ones.
QList<QRectF> GuardBars(const BarcodeShape &shape)
{
    QList<QRectF> guards;
    for (const QRectF &b : shape.bars)
        if (b.height() > shape.barHeight + 0.01)
            guards << b;
    std::sort(guards.begin(), guards.end(), [](const QRectF &a, const QRectF &b) { return a.x() < b.x(); });
    return guards;
}

TEST(ReportBarcodes, QuietZonesAndTheEanDigitsFollowTheStandard)
{
    struct Case
    {
        const char *symbology;
        const char *data;
        int modules;       // of the bars, guards included
        double leftQuiet;  // modules
        double rightQuiet;
        QStringList digits;
    } cases[] = {
        {"ean13", "6901234567892", 95, 11, 7, {"6", "901234", "567892"}},
        {"ean8", "1234567", 67, 7, 7, {"1234", "5670"}},
        {"code128", "6901234567892", 0, 10, 10, {}},
        {"code39", "6901234567892", 0, 10, 10, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.symbology);
        const BarcodeShape shape = EncodeBarcode(QString::fromLatin1(c.symbology), QString::fromLatin1(c.data));
        ASSERT_TRUE(shape.ok);
        double first = shape.width, last = 0, narrow = shape.width;
        for (const QRectF &b : shape.bars) {
            first = qMin(first, b.x());
            last = qMax(last, b.x() + b.width());
            narrow = qMin(narrow, b.width());
        }
        const double module = c.modules > 0 ? (last - first) / c.modules : narrow;
        EXPECT_GE(first / module, c.leftQuiet - 0.01);
        EXPECT_GE((shape.width - last) / module, c.rightQuiet - 0.01);
        QStringList texts;
        for (const BarcodeText &t : shape.texts)
            texts << t.text;
        EXPECT_EQ(texts, c.digits);
        if (c.digits.isEmpty())
            continue;
        // Groups centred between the guard bars; EAN-13's first digit ends left of the bars.
        const QList<QRectF> guards = GuardBars(shape);
        ASSERT_EQ(guards.size(), 6);
        const BarcodeText &left = shape.texts.at(shape.texts.size() - 2);
        const BarcodeText &right = shape.texts.last();
        EXPECT_NEAR(left.x, (guards[1].right() + guards[2].left()) / 2, module);
        EXPECT_NEAR(right.x, (guards[3].right() + guards[4].left()) / 2, module);
        if (shape.texts.size() == 3) {
            EXPECT_TRUE(shape.texts.first().rightAligned);
            EXPECT_LE(shape.texts.first().x, first);
        }
    }
}

TEST(ReportBarcodes, EanLabelAt300DpiScansAndPrintsItsDigitsUnderTheirHalves)
{
    const int dpi = 300;
    const double px = dpi / 25.4;
    QImage image(qRound(50 * px), qRound(26 * px), QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    const QRectF rect(5 * px, 3 * px, 40 * px, 20 * px);
    {
        QPainter p(&image);
        PaintBarcode(p, rect, QStringLiteral("ean13"), QStringLiteral("6901234567892"), true, ReportFont(8));
    }
    const BarcodeShape shape = EncodeBarcode(QStringLiteral("ean13"), QStringLiteral("6901234567892"));
    const double sx = rect.width() / shape.width;
    const QList<QRectF> guards = GuardBars(shape);
    ASSERT_EQ(guards.size(), 6);
    const auto at = [&](double units) { return int(rect.left() + units * sx); };
    // Ink of the digits' line (below the guard bars' ends) per column range.
    const int textTop = int(rect.bottom() - 0.5 * QFontMetricsF(ReportFont(8), &image).height()) + 2;
    const auto inkBetween = [&](int x0, int x1) {
        int ink = 0;
        for (int y = textTop; y < int(rect.bottom()); ++y)
            for (int x = qMax(0, x0); x < qMin(image.width(), x1); ++x)
                ink += qGray(image.pixel(x, y)) < 128;
        return ink;
    };
    EXPECT_GT(inkBetween(int(rect.left()), at(guards[0].left()) - 1), 0);             // "6"
    EXPECT_GT(inkBetween(at(guards[1].right()) + 2, at(guards[2].left()) - 1), 0);    // "901234"
    EXPECT_GT(inkBetween(at(guards[3].right()) + 2, at(guards[4].left()) - 1), 0);    // "567892"
    EXPECT_EQ(inkBetween(at(guards[5].right()) + 2, int(rect.right())), 0);           // nothing right of the bars
    // The quiet zones hold no bar.
    const int barRow = int(rect.top() + 2 * px);
    int firstInk = -1, lastInk = -1;
    for (int x = 0; x < image.width(); ++x) {
        if (qGray(image.pixel(x, barRow)) < 128) {
            if (firstInk < 0)
                firstInk = x;
            lastInk = x;
        }
    }
    const double module = (guards[5].right() - guards[0].left()) / 95 * sx;
    EXPECT_GE(firstInk - rect.left(), 11 * module - 2);
    EXPECT_GE(rect.right() - lastInk, 7 * module - 2);

    const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
    if (zbarimg.isEmpty())
        return;  // the bar pattern itself is zint's; its placement is checked above
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("ean13.png"));
    ASSERT_TRUE(image.save(file));
    QProcess scan;
    scan.start(zbarimg, {QStringLiteral("-q"), file});
    scan.waitForFinished(30000);
    EXPECT_EQ(QString::fromLatin1(scan.readAllStandardOutput()).trimmed(), QStringLiteral("EAN-13:6901234567892"));
}

TEST(ReportPdf, LabelsFillAcrossThenDown)
{
    Report labels;
    ASSERT_TRUE(labels.load(QStringLiteral("txm.fr3"), ShippedTemplates()));
    DataSet rows({QStringLiteral("tm_code"), QStringLiteral("g_name"), QStringLiteral("g_sj")});
    for (int i = 0; i < 5; ++i)
        rows.appendRow({QStringLiteral("690123456789%1").arg(i < 2 ? 2 : 3), QStringLiteral("标签商品%1").arg(i < 2 ? 1 : 2),
                        QStringLiteral("3.5")});
    labels.setDataSet(QStringLiteral("Q_GoodsPrin"), rows);
    EXPECT_EQ(labels.prepare(), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("txm.pdf"));
    ASSERT_TRUE(labels.writePdf(pdf));
    const QString text = PdfPages(pdf).join(QString());
    EXPECT_EQ(text.count(QStringLiteral("6901234567892")), 2);
    EXPECT_EQ(text.count(QStringLiteral("6901234567893")), 3);
    EXPECT_EQ(text.count(QStringLiteral("零售价：3.50")), 5);
    // Four labels on the first line, the fifth below the first.
    const QStringList lines = text.split(QLatin1Char('\n'));
    int firstLine = -1;
    for (int i = 0; i < lines.size() && firstLine < 0; ++i)
        if (lines[i].count(QStringLiteral("零售价")) > 0)
            firstLine = i;
    ASSERT_GE(firstLine, 0);
    EXPECT_EQ(lines[firstLine].count(QStringLiteral("零售价")), 4);
}

} // namespace
