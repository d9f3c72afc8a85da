#include "report/printsetup.h"

#include "foundation/notices.h"
#include "report/model/printsettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const QString kDefaultPrinter = QStringLiteral("（默认打印机）");

QComboBox *PrinterCombo(const QString &name, const QString &current, QWidget *parent)
{
    auto *combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->addItem(kDefaultPrinter, QString());
    for (const QString &printer : QPrinterInfo::availablePrinterNames())
        combo->addItem(printer, printer);
    if (!current.isEmpty() && combo->findData(current) < 0)
        combo->addItem(current, current);  // a printer of the settings that is not connected now
    combo->setCurrentIndex(qMax(0, combo->findData(current)));
    return combo;
}

} // namespace

TF_PrintSetup::TF_PrintSetup(const QString &dataFolder, Notices &notices, QWidget *parent)
    : QDialog(parent), m_dataFolder(dataFolder), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_PrintSetup"));
    setWindowTitle(QStringLiteral("打印机设置"));
    const PrintSettings s = PrintSettings::load(dataFolder);

    auto *form = new QFormLayout;
    m_document = PrinterCombo(QStringLiteral("cbDocument"), s.documentPrinter, this);
    m_label = PrinterCombo(QStringLiteral("cbLabel"), s.labelPrinter, this);
    form->addRow(QStringLiteral("单据打印机："), m_document);
    form->addRow(QStringLiteral("标签打印机："), m_label);

    m_receiptToPrinter = new QRadioButton(QStringLiteral("打印机"), this);
    m_receiptToPrinter->setObjectName(QStringLiteral("rbReceiptPrinter"));
    m_receiptToDevice = new QRadioButton(QStringLiteral("设备（直接输出）"), this);
    m_receiptToDevice->setObjectName(QStringLiteral("rbReceiptDevice"));
    m_receiptPrinter = PrinterCombo(QStringLiteral("cbReceipt"), s.receiptPrinter, this);
    m_receiptDevice = new QLineEdit(s.receiptDevice, this);
    m_receiptDevice->setObjectName(QStringLiteral("edReceiptDevice"));
    m_receiptDevice->setPlaceholderText(QStringLiteral("/dev/usb/lp0"));
    auto *printerRow = new QHBoxLayout;
    printerRow->addWidget(m_receiptToPrinter);
    printerRow->addWidget(m_receiptPrinter, 1);
    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(m_receiptToDevice);
    deviceRow->addWidget(m_receiptDevice, 1);
    form->addRow(QStringLiteral("小票输出："), printerRow);
    form->addRow(QString(), deviceRow);
    (s.receiptDevice.isEmpty() ? m_receiptToPrinter : m_receiptToDevice)->setChecked(true);
    const auto sync = [this] {
        m_receiptPrinter->setEnabled(m_receiptToPrinter->isChecked());
        m_receiptDevice->setEnabled(m_receiptToDevice->isChecked());
    };
    connect(m_receiptToPrinter, &QRadioButton::toggled, this, sync);
    sync();

    m_drawerDevice = new QLineEdit(s.drawerDevice, this);
    m_drawerDevice->setObjectName(QStringLiteral("edDrawerDevice"));
    m_drawerDevice->setPlaceholderText(QStringLiteral("/dev/usb/lp0"));
    form->addRow(QStringLiteral("钱箱设备："), m_drawerDevice);

    auto *ok = new QPushButton(QStringLiteral("确定(F5)"), this);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setShortcut(QKeySequence(Qt::Key_F5));
    auto *cancel = new QPushButton(QStringLiteral("退出(Esc)"), this);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(ok, &QPushButton::clicked, this, [this] {
        if (save())
            accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

bool TF_PrintSetup::save()
{
    PrintSettings s;
    s.documentPrinter = m_document->currentData().toString();
    s.labelPrinter = m_label->currentData().toString();
    s.receiptPrinter = m_receiptPrinter->currentData().toString();
    s.receiptDevice = m_receiptToDevice->isChecked() ? m_receiptDevice->text().trimmed() : QString();
    s.drawerDevice = m_drawerDevice->text().trimmed();
    if (s.save(m_dataFolder))
        return true;
    m_notices.notice(QStringLiteral("打印机设置保存失败：") + PrintSettings::fileName(m_dataFolder));
    return false;
}
