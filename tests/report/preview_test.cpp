// The preview window and the printer settings dialog, driven through their widgets.

#include "reporthelpers.h"

#include "../support/scriptedfilechoice.h"
#include "../support/scriptednotices.h"
#include "report/model/printsettings.h"
#include "report/printsetup.h"
#include "report/report.h"
#include "report/reportpreview.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QRadioButton>

namespace {

TEST(ReportPreview, ShowsThePagesOrTheRawLines)
{
    Report report;
    ASSERT_TRUE(report.load(QStringLiteral("cgjh"), ShippedTemplates()));
    QList<QStringList> rows;
    for (int i = 0; i < 25; ++i)
        rows << QStringList{QStringLiteral("CJ23030510001"), QStringLiteral("G%1").arg(i), QStringLiteral("商品"),
                            QString(), QString(), QString(), QStringLiteral("1"), QStringLiteral("1"),
                            QStringLiteral("1"), QString()};
    report.setDataSet(QStringLiteral("Q_GoodsPrin"), PurchaseLines(rows));
    report.setRowsPerPage(10);
    ScriptedNotices notices;
    ScriptedFileChoice files;
    QTemporaryDir data;
    TF_ReportPreview dialog(report, notices, files, data.path(), false);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("打印预览"));
    for (const char *text : {"打印", "导出PDF", "打印机设置", "退出(Esc)"}) {
        bool found = false;
        for (QAction *a : dialog.findChildren<QAction *>())
            found = found || a->text() == QString::fromUtf8(text);
        EXPECT_TRUE(found) << text;
    }
    dialog.show();
    dialog.previewWidget()->updatePreview();
    EXPECT_EQ(dialog.previewWidget()->pageCount(), 3);

    Report ticket;
    ASSERT_TRUE(ticket.load(QStringLiteral("posxp58"), ShippedTemplates()));
    ticket.setVariable(QStringLiteral("bt1"), QStringLiteral("欢迎光临"));
    TF_ReportPreview raw(ticket, notices, files, data.path(), true);
    auto *text = raw.findChild<QPlainTextEdit *>(QStringLiteral("rawText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText().split(QLatin1Char('\n')), ticket.rawLines());
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("欢迎光临")));
}

TEST(ReportPreview, PdfExportAsksThroughTheFileChooser)
{
    Report report;
    ASSERT_TRUE(report.load(QStringLiteral("cgjh"), ShippedTemplates()));
    report.setDataSet(QStringLiteral("Q_GoodsPrin"),
                      PurchaseLines({{QStringLiteral("CJ23030510001"), QStringLiteral("G1"), QStringLiteral("矿泉水"),
                                      QString(), QString(), QString(), QStringLiteral("1"), QStringLiteral("1"),
                                      QStringLiteral("1"), QString()}}));
    ScriptedNotices notices;
    ScriptedFileChoice files;
    QTemporaryDir data;
    TF_ReportPreview dialog(report, notices, files, data.path(), false);
    QAction *pdf = dialog.findChild<QAction *>(QStringLiteral("btnPdf"));
    ASSERT_NE(pdf, nullptr);

    files.script({data.filePath(QStringLiteral("进货单"))});
    pdf->trigger();
    EXPECT_EQ(files.asked, QStringList{QStringLiteral("导出PDF")});
    EXPECT_EQ(files.suggestions, QStringList{QStringLiteral("cgjh.pdf")});
    EXPECT_TRUE(PdfPages(data.filePath(QStringLiteral("进货单.pdf"))).join(QString()).contains(QStringLiteral("矿泉水")));
    EXPECT_TRUE(notices.shown.isEmpty());

    pdf->trigger();  // cancelled: nothing written, nothing said
    EXPECT_EQ(QDir(data.path()).entryList(QDir::Files), QStringList{QStringLiteral("进货单.pdf")});
    files.script({data.filePath(QStringLiteral("no/such/folder/x.pdf"))});
    pdf->trigger();
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("打印失败：") + data.filePath(QStringLiteral("no/such/folder/x.pdf"))});
}

TEST(PrintSetup, SavesTheReceiptDeviceAndDrawer)
{
    QTemporaryDir data;
    ScriptedNotices notices;
    TF_PrintSetup dialog(data.path(), notices);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("打印机设置"));
    dialog.findChild<QRadioButton *>(QStringLiteral("rbReceiptDevice"))->setChecked(true);
    dialog.findChild<QLineEdit *>(QStringLiteral("edReceiptDevice"))->setText(QStringLiteral(" /dev/usb/lp0 "));
    dialog.findChild<QLineEdit *>(QStringLiteral("edDrawerDevice"))->setText(QStringLiteral("/dev/usb/lp1"));
    dialog.findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    PrintSettings s = PrintSettings::load(data.path());
    EXPECT_EQ(s.receiptDevice, QStringLiteral("/dev/usb/lp0"));
    EXPECT_EQ(s.drawerDevice, QStringLiteral("/dev/usb/lp1"));
    EXPECT_EQ(s.documentPrinter, QString());

    // Back to a printer: the device is no longer used.
    TF_PrintSetup again(data.path(), notices);
    EXPECT_TRUE(again.findChild<QRadioButton *>(QStringLiteral("rbReceiptDevice"))->isChecked());
    again.findChild<QRadioButton *>(QStringLiteral("rbReceiptPrinter"))->setChecked(true);
    ASSERT_TRUE(again.save());
    s = PrintSettings::load(data.path());
    EXPECT_EQ(s.receiptDevice, QString());
    EXPECT_EQ(s.drawerDevice, QStringLiteral("/dev/usb/lp1"));
    EXPECT_TRUE(notices.shown.isEmpty());

    // A folder that cannot take the file: the notice names it and the dialog stays open.
    TF_PrintSetup blocked(data.filePath(QStringLiteral("print.ini/sub")), notices);
    QFile(data.filePath(QStringLiteral("print.ini"))).open(QIODevice::WriteOnly);
    EXPECT_FALSE(blocked.save());
    ASSERT_EQ(notices.shown.size(), 1);
    EXPECT_TRUE(notices.last().startsWith(QStringLiteral("打印机设置保存失败："))) << notices.last().toStdString();
}

} // namespace
