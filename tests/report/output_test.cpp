// Raw receipts (ESC/POS), the cash drawer, print settings and the printer output's notices.

#include "reporthelpers.h"

#include "../support/recordingoutput.h"
#include "../support/scriptednotices.h"
#include "platform/devices/rawdevice.h"
#include "report/model/printsettings.h"
#include "report/model/rawreceipt.h"
#include "report/printeroutput.h"
#include "report/report.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringDecoder>

namespace {

const char *const kTestReceipt = R"({
  "kind": "receipt",
  "page": {"size": "roll58", "margins": [2, 2, 2, 2]},
  "bands": [],
  "raw": {
    "columns": 32,
    "header": [{"cells": [{"text": "[bt1]", "align": "center"}]},
               {"cells": [{"text": "单号：[Q_GoodsPrin.gl_djh]"}]}],
    "detail": [{"cells": [{"width": 16, "text": "[Q_GoodsPrin.g_name]"},
                          {"width": 6, "align": "right", "text": "[Q_GoodsPrin.pos_sl]"},
                          {"width": 10, "align": "right", "text": "[Q_GoodsPrin.pos_zje]", "format": "0.00"}]}],
    "footer": [{"cells": [{"text": "合计：[yfje]"}]},
               {"cells": [{"text": "找零：[zlje]"}], "dropIfEmpty": "[zlje]"}],
    "feed": 4,
    "cut": true
  }
})";

QByteArray Hex(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
}

// The expected bytes of the test receipt for XS23030510001, 矿泉水 2 × 2.5.
QByteArray ExpectedReceipt()
{
    QByteArray out = Hex("1B 40 1C 26");
    out += QByteArray(12, ' ') + Hex("BB B6 D3 AD B9 E2 C1 D9 0A");
    out += Hex("B5 A5 BA C5 A3 BA") + "XS23030510001" + Hex("0A");
    out += Hex("BF F3 C8 AA CB AE") + QByteArray(15, ' ') + "2" + QByteArray(6, ' ') + "5.00" + Hex("0A");
    out += Hex("BA CF BC C6 A3 BA") + "5" + Hex("0A");
    out += Hex("0A 0A 0A 0A 1D 56 01");
    return out;
}

struct ReceiptFixture
{
    QTemporaryDir dir;
    PrintJob job;

    ReceiptFixture()
    {
        WriteFile(dir.filePath(QStringLiteral("receipt.json")), kTestReceipt);
        job = PrintJob::forTemplate(QStringLiteral("receipt.fr3"), dir.path());
        job.variables.set(QStringLiteral("bt1"), QStringLiteral("欢迎光临"));
        job.variables.set(QStringLiteral("yfje"), QStringLiteral("5"));
        job.variables.set(QStringLiteral("zlje"), QString());
        job.setDataSet(QStringLiteral("Q_GoodsPrin"),
                       DataSet({QStringLiteral("gl_djh"), QStringLiteral("g_name"), QStringLiteral("pos_sl"),
                                QStringLiteral("pos_zje")},
                               {{QStringLiteral("XS23030510001"), QStringLiteral("矿泉水"), QStringLiteral("2"),
                                 QStringLiteral("5")},
                                {QString(), QString(), QString(), QString()}}));
    }
};

TEST(RawReceipt, BytesAreExact)
{
    ReceiptFixture f;
    ASSERT_TRUE(f.job.templateFound);
    const Report report(f.job);
    EXPECT_EQ(report.rawBytes().toHex(' '), ExpectedReceipt().toHex(' '));
}

TEST(RawReceipt, CellsCutOnWholeCharactersAndPadByDisplayWidth)
{
    struct Case
    {
        const char *text;
        int width;
        const char *align;
        const char *shown;
    } cases[] = {
        {"矿泉水", 7, "left", "矿泉水 "},        {"矿泉水", 5, "left", "矿泉 "},  // no half character
        {"ab", 5, "center", " ab  "},            {"ab", 6, "right", "    ab"},
        {"ＡＢ", 5, "left", "ＡＢ "},            {"abcdef", 3, "right", "abc"},
        {"", 3, "center", "   "},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FitCell(QString::fromUtf8(c.text), c.width, QString::fromLatin1(c.align)), QString::fromUtf8(c.shown))
            << c.text << " " << c.width;
    EXPECT_EQ(DisplayWidth(QStringLiteral("合计：5")), 7);
}

TEST(RawReceipt, LongNamesWrapIntoTheirColumnsAndControlBytesNeverReachThePrinter)
{
    ReceiptFixture f;
    // A name holding a paper cut (1D 56 00), CR, LF and NUL, and longer than its 16 columns.
    const QString name = QStringLiteral("矿泉水") + QChar(0x1D) + QStringLiteral("V") + QChar(0)
                         + QStringLiteral("\r\n") + QStringLiteral("天然饮用水550ml整箱装二十四瓶");
    f.job.setDataSet(QStringLiteral("Q_GoodsPrin"),
                     DataSet({QStringLiteral("gl_djh"), QStringLiteral("g_name"), QStringLiteral("pos_sl"),
                              QStringLiteral("pos_zje")},
                             {{QStringLiteral("XS23030510001"), name, QStringLiteral("2"), QStringLiteral("5")}}));
    const Report report(f.job);
    const QStringList lines = report.rawLines();
    // The whole name is printed, over several lines; quantity and amount on its first line.
    QString printed;
    for (const QString &line : lines)
        printed += line.left(16);
    printed.remove(QLatin1Char(' '));
    EXPECT_TRUE(printed.contains(QStringLiteral("矿泉水V天然饮用水550ml整箱装二十四瓶"))) << printed.toStdString();
    const qsizetype first = lines.indexOf(QRegularExpression(QStringLiteral("^矿泉水.*5\\.00$")));
    ASSERT_GE(first, 0) << lines.join(QLatin1Char('|')).toStdString();
    EXPECT_GT(lines.size(), first + 2);
    for (const QString &line : lines)
        EXPECT_LE(DisplayWidth(line), 32) << line.toStdString();

    const QByteArray bytes = report.rawBytes();
    EXPECT_EQ(bytes.count(QByteArray("\x1D\x56", 2)), 1);
    EXPECT_TRUE(bytes.endsWith(QByteArray("\x1D\x56\x01", 3)));
    QList<QByteArray> textLines = bytes.mid(4, bytes.size() - 4 - 3).split('\n');
    QStringDecoder decoder("GB18030");
    for (const QByteArray &line : textLines) {
        const QString text = decoder.decode(line);
        for (const QChar c : text)
            EXPECT_GE(c.unicode(), 0x20) << text.toStdString();
    }
    EXPECT_EQ(RawPrintableText(QStringLiteral("a\tb") + QChar(0x7F) + QChar(0x9B)), QStringLiteral("a b  "));
}

TEST(RawReceipt, ShippedTicketsDropMemberAndChangeLinesWithoutValues)
{
    for (const char *name : {"posxp58", "posxp"}) {
        Report ticket;
        ASSERT_TRUE(ticket.load(QString::fromLatin1(name), ShippedTemplates()));
        ticket.setVariable(QStringLiteral("bt1"), QStringLiteral("示例便利店"));
        ticket.setVariable(QStringLiteral("yfje"), QStringLiteral("5"));
        ticket.setVariable(QStringLiteral("zffs"), QStringLiteral("现金结账"));
        ticket.setDataSet(QStringLiteral("Q_GoodsPrin"),
                          DataSet({QStringLiteral("gl_djh"), QStringLiteral("g_name"), QStringLiteral("pos_sl"),
                                   QStringLiteral("pos_dj"), QStringLiteral("pos_zje")},
                                  {{QStringLiteral("XS23030510001"), QStringLiteral("矿泉水(箱)赠品"),
                                    QStringLiteral("2"), QStringLiteral("2.5"), QStringLiteral("5")}}));
        QString lines = ticket.rawLines().join(QLatin1Char('\n'));
        EXPECT_TRUE(lines.contains(QStringLiteral("矿泉水(箱)赠品"))) << name;
        EXPECT_TRUE(lines.contains(QStringLiteral("现金结账"))) << name;
        EXPECT_FALSE(lines.contains(QStringLiteral("找"))) << name;
        EXPECT_FALSE(lines.contains(QStringLiteral("会员"))) << name;
        const int columns = QString::fromLatin1(name) == QLatin1String("posxp58") ? 32 : 48;
        for (const QString &line : ticket.rawLines())
            EXPECT_LE(DisplayWidth(line), columns) << name << " " << line.toStdString();

        ticket.setVariable(QStringLiteral("zlje"), QStringLiteral("5"));
        ticket.setVariable(QStringLiteral("hybh"), QStringLiteral("8001"));
        lines = ticket.rawLines().join(QLatin1Char('\n'));
        EXPECT_TRUE(lines.contains(QStringLiteral("找    零：5.00"))) << name;
        EXPECT_TRUE(lines.contains(QStringLiteral("会员卡号：8001"))) << name;
        EXPECT_TRUE(ticket.rawBytes().endsWith(QByteArray("\n\n\n\n\x1D\x56\x01", 7))) << name;
    }
}

TEST(Devices, RawCopiesAndDrawerKick)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("lp0"));
    WriteFile(device, QByteArray());
    ASSERT_TRUE(WriteRawDevice(device, "ab", 3));
    EXPECT_TRUE(WriteRawDevice(device, "zz", 0));
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("ababab"));
    file.close();

    const QString drawer = dir.filePath(QStringLiteral("drawer"));
    WriteFile(drawer, QByteArray());
    KickCashDrawer(drawer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly) || true);
    QFile kicked(drawer);
    ASSERT_TRUE(kicked.open(QIODevice::ReadOnly));
    EXPECT_EQ(kicked.readAll(), QByteArray("\x1B\x70\x00\x80\x80", 5));
    KickCashDrawer(dir.filePath(QStringLiteral("no/such/device")));  // swallowed
    QString error;
    EXPECT_FALSE(WriteRawDevice(dir.filePath(QStringLiteral("no/such/device")), "x", 1, &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(PrintSettings, RoundTripThroughPrintIni)
{
    QTemporaryDir dir;
    PrintSettings s;
    s.documentPrinter = QStringLiteral("办公室激光");
    s.receiptDevice = QStringLiteral("/dev/usb/lp0");
    s.drawerDevice = QStringLiteral("/dev/usb/lp0");
    ASSERT_TRUE(s.save(dir.path()));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("print.ini"))));
    const PrintSettings back = PrintSettings::load(dir.path());
    EXPECT_EQ(back.documentPrinter, s.documentPrinter);
    EXPECT_EQ(back.labelPrinter, QString());
    EXPECT_EQ(back.receiptDevice, s.receiptDevice);
    EXPECT_EQ(back.drawerDevice, s.drawerDevice);
    EXPECT_EQ(PrintSettings::load(dir.filePath(QStringLiteral("none"))).receiptDevice, QString());
}

TEST(PrinterOutput, ReceiptsGoRawToTheDeviceCopiesTimes)
{
    ReceiptFixture f;
    QTemporaryDir data;
    const QString device = data.filePath(QStringLiteral("lp0"));
    WriteFile(device, QByteArray());
    PrintSettings s;
    s.receiptDevice = device;
    ASSERT_TRUE(s.save(data.path()));
    ScriptedNotices notices;
    PrinterOutput output(notices, nullptr, data.path());
    output.printDirect(f.job, 3);
    output.printDirect(f.job, 0);
    output.printDirect(f.job, -1);
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ExpectedReceipt().repeated(3));
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST(PrinterOutput, MissingTemplatesAndFailingDevicesAreNamed)
{
    ReceiptFixture f;
    QTemporaryDir data;
    PrintSettings s;
    s.receiptDevice = data.filePath(QStringLiteral("no/such/lp0"));
    ASSERT_TRUE(s.save(data.path()));
    ScriptedNotices notices;
    PrinterOutput output(notices, nullptr, data.path());
    output.printDirect(f.job, 1);
    EXPECT_EQ(notices.last(), QStringLiteral("打印失败：") + s.receiptDevice);

    for (const QString name : {QStringLiteral("../x.fr3"), QStringLiteral("nosuch.fr3")}) {
        PrintJob missing = PrintJob::forTemplate(name, f.dir.path());
        missing.variables.set(QStringLiteral("bt1"), QStringLiteral("欢迎光临"));
        notices.shown.clear();
        output.printDirect(missing, 2);
        output.preview(missing);
        output.print(missing);
        const QString pdf = data.filePath(QStringLiteral("missing.pdf"));
        EXPECT_FALSE(output.exportPdf(missing, pdf));
        EXPECT_FALSE(QFile::exists(pdf));
        const QString notice = QStringLiteral("打印模板不存在：report/%1.json").arg(name.chopped(4));
        EXPECT_EQ(notices.texts(), QStringList(4, notice)) << name.toStdString();
    }
}

TEST(PrinterOutput, PdfOfAJob)
{
    PrintJob job = PrintJob::forTemplate(QStringLiteral("spxs4.fr3"), ShippedTemplates());
    ASSERT_TRUE(job.templateFound);
    job.variables.set(QStringLiteral("comName"), QStringLiteral("示例商贸有限公司"));
    job.variables.set(QStringLiteral("khName"), QStringLiteral("普通客户"));
    ScriptedNotices notices;
    QTemporaryDir dir;
    PrinterOutput output(notices, nullptr, dir.path());
    const QString pdf = dir.filePath(QStringLiteral("spxs4.pdf"));
    ASSERT_TRUE(output.exportPdf(job, pdf));
    const QString text = PdfPages(pdf).join(QString());
    EXPECT_TRUE(text.contains(QStringLiteral("商品销售单")));
    EXPECT_TRUE(text.contains(QStringLiteral("普通客户")));
    EXPECT_TRUE(notices.shown.isEmpty());
}

TEST(RecordingOutput, KeepsWhatTheRulesAskedFor)
{
    RecordingReportOutput output;
    PrintJob job = PrintJob::forTemplate(QStringLiteral("posxp.fr3"), ShippedTemplates());
    job.variables.set(QStringLiteral("bt1"), QStringLiteral("欢迎光临"));
    output.printDirect(job, 3);
    output.printDirect(job, 0);
    output.preview(job);
    ASSERT_EQ(output.jobs.size(), 2);
    EXPECT_EQ(output.directCopies(), 3);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(output.last().job.variables.value(QStringLiteral("BT1")), QStringLiteral("欢迎光临"));
}

} // namespace
