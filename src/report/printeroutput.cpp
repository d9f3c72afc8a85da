#include "report/printeroutput.h"

#include "foundation/notices.h"
#include "platform/devices/rawdevice.h"
#include "report/report.h"
#include "report/reportpreview.h"
#include "platform/system/programfolder.h"
#include "screenkit/filechoice.h"

#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

QString PrinterLabel(const QString &name)
{
    if (!name.isEmpty())
        return name;
    const QString system = QPrinterInfo::defaultPrinterName();
    return system.isEmpty() ? QStringLiteral("默认打印机") : system;
}

} // namespace

PrinterOutput::PrinterOutput(Notices &notices, QWidget *parent, const QString &dataFolder)
    : m_notices(notices), m_parent(parent), m_dataFolder(dataFolder.isEmpty() ? DataFolder() : dataFolder)
{
}

PrinterOutput::~PrinterOutput() = default;

QString PrinterOutput::printerFor(const QString &kind) const
{
    const PrintSettings s = PrintSettings::load(m_dataFolder);
    if (kind == QLatin1String("label"))
        return s.labelPrinter;
    if (kind == QLatin1String("receipt"))
        return s.receiptPrinter;
    return s.documentPrinter;
}

bool PrinterOutput::refuseEmpty(const Report &report)
{
    if (!report.isEmpty())
        return false;
    m_notices.notice(report.missingNotice());
    return true;
}

bool PrinterOutput::choosePrinter(QPrinter &printer, const QString &name)
{
    const QString wanted = name.isEmpty() ? QPrinterInfo::defaultPrinterName() : name;
    if (wanted.isEmpty() || !QPrinterInfo::availablePrinterNames().contains(wanted)) {
        m_notices.notice(QStringLiteral("打印失败：") + PrinterLabel(name));
        return false;
    }
    printer.setPrinterName(wanted);
    return true;
}

void PrinterOutput::printOn(Report &report, int copies, bool dialog)
{
    const QString kind = report.kind();
    const PrintSettings settings = PrintSettings::load(m_dataFolder);
    if (kind == QLatin1String("receipt") && !settings.receiptDevice.isEmpty() && report.hasRawLayout()) {
        QString error;
        if (!WriteRawDevice(settings.receiptDevice, report.rawBytes(), copies, &error))
            m_notices.notice(QStringLiteral("打印失败：") + settings.receiptDevice);
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    const QString name = printerFor(kind);
    if (!choosePrinter(printer, name))
        return;
    report.setupPrinter(printer);
    if (dialog) {
        QPrintDialog box(&printer, m_parent);
        box.setWindowTitle(QStringLiteral("打印"));
        if (box.exec() != QDialog::Accepted)
            return;
        report.setupPrinter(printer);
    }
    for (int i = 0; i < copies; ++i) {
        if (!report.render(printer)) {
            m_notices.notice(QStringLiteral("打印失败：") + PrinterLabel(printer.printerName()));
            return;
        }
    }
}

void PrinterOutput::preview(const PrintJob &job)
{
    Report report(job);
    if (refuseEmpty(report))
        return;
    const bool raw = report.kind() == QLatin1String("receipt") && report.hasRawLayout()
                     && !PrintSettings::load(m_dataFolder).receiptDevice.isEmpty();
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    TF_ReportPreview dialog(report, m_notices, *m_files, m_dataFolder, raw, m_parent);
    QObject::connect(&dialog, &TF_ReportPreview::printRequested, &dialog, [&] { printOn(report, 1, !raw); });
    dialog.exec();
}

void PrinterOutput::print(const PrintJob &job)
{
    Report report(job);
    if (refuseEmpty(report))
        return;
    printOn(report, 1, true);
}

void PrinterOutput::printDirect(const PrintJob &job, int copies)
{
    if (copies <= 0)
        return;
    Report report(job);
    if (refuseEmpty(report))
        return;
    printOn(report, copies, false);
}

bool PrinterOutput::exportPdf(const PrintJob &job, const QString &file)
{
    Report report(job);
    if (refuseEmpty(report))
        return false;
    if (report.writePdf(file))
        return true;
    m_notices.notice(QStringLiteral("打印失败：") + file);
    return false;
}
