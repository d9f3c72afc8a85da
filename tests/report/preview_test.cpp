// The preview window and the printer settings dialog, driven through their widgets.

#include "reporthelpers.h"

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
    QTemporaryDir data;
    TF_ReportPreview dialog(report, notices, data.path(), false);
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
    TF_ReportPreview raw(ticket, notices, data.path(), true);
    auto *text = raw.findChild<QPlainTextEdit *>(QStringLiteral("rawText"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->toPlainText().split(QLatin1Char('\n')), ticket.rawLines());
    EXPECT_TRUE(text->toPlainText().contains(QStringLiteral("欢迎光临")));
}

TEST(PrintSetup, SavesTheReceiptDeviceAndDrawer)
{
    QTemporaryDir data;
    TF_PrintSetup dialog(data.path());
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
    TF_PrintSetup again(data.path());
    EXPECT_TRUE(again.findChild<QRadioButton *>(QStringLiteral("rbReceiptDevice"))->isChecked());
    again.findChild<QRadioButton *>(QStringLiteral("rbReceiptPrinter"))->setChecked(true);
    ASSERT_TRUE(again.save());
    s = PrintSettings::load(data.path());
    EXPECT_EQ(s.receiptDevice, QString());
    EXPECT_EQ(s.drawerDevice, QStringLiteral("/dev/usb/lp1"));
}

} // namespace
