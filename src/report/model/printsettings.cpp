#include "report/model/printsettings.h"

#include <QDir>
#include <QSettings>

namespace {
const char *const kDocument = "print/document_printer";
const char *const kLabel = "print/label_printer";
const char *const kReceiptPrinter = "print/receipt_printer";
const char *const kReceiptDevice = "print/receipt_device";
const char *const kDrawer = "print/drawer_device";
} // namespace

QString PrintSettings::fileName(const QString &dataFolder)
{
    return QDir(dataFolder).filePath(QStringLiteral("print.ini"));
}

PrintSettings PrintSettings::load(const QString &dataFolder)
{
    QSettings ini(fileName(dataFolder), QSettings::IniFormat);
    PrintSettings s;
    s.documentPrinter = ini.value(QLatin1String(kDocument)).toString().trimmed();
    s.labelPrinter = ini.value(QLatin1String(kLabel)).toString().trimmed();
    s.receiptPrinter = ini.value(QLatin1String(kReceiptPrinter)).toString().trimmed();
    s.receiptDevice = ini.value(QLatin1String(kReceiptDevice)).toString().trimmed();
    s.drawerDevice = ini.value(QLatin1String(kDrawer)).toString().trimmed();
    return s;
}

bool PrintSettings::save(const QString &dataFolder) const
{
    QDir().mkpath(dataFolder);
    QSettings ini(fileName(dataFolder), QSettings::IniFormat);
    ini.setValue(QLatin1String(kDocument), documentPrinter.trimmed());
    ini.setValue(QLatin1String(kLabel), labelPrinter.trimmed());
    ini.setValue(QLatin1String(kReceiptPrinter), receiptPrinter.trimmed());
    ini.setValue(QLatin1String(kReceiptDevice), receiptDevice.trimmed());
    ini.setValue(QLatin1String(kDrawer), drawerDevice.trimmed());
    ini.sync();
    return ini.status() == QSettings::NoError;
}
