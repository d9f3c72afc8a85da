#pragma once

// TF_PrintSetup "打印机设置": the printers of this workstation (data/print.ini): documents,
// labels, receipts (a printer, or raw ESC/POS to a device path) and the cash-drawer device.
// Its messages go through the notices.

#include <QDialog>

class Notices;
class QComboBox;
class QLineEdit;
class QRadioButton;

class TF_PrintSetup : public QDialog
{
    Q_OBJECT
public:
    TF_PrintSetup(const QString &dataFolder, Notices &notices, QWidget *parent = nullptr);

    // Writes the settings; false (and a notice) when the file cannot be written.
    bool save();

private:
    QString m_dataFolder;
    Notices &m_notices;
    QComboBox *m_document = nullptr;
    QComboBox *m_label = nullptr;
    QRadioButton *m_receiptToPrinter = nullptr;
    QRadioButton *m_receiptToDevice = nullptr;
    QComboBox *m_receiptPrinter = nullptr;
    QLineEdit *m_receiptDevice = nullptr;
    QLineEdit *m_drawerDevice = nullptr;
};
