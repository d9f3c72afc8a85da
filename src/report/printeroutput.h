#pragma once

// The output of the print rules on a workstation: preview window, system print dialog,
// printing without dialog on the printer that data/print.ini names for the template's kind,
// PDF files, and raw ESC/POS to the receipt device. A missing template shows
// "打印模板不存在：report/<name>.json" and prints nothing; a printer or device that fails
// shows "打印失败：<printer or device>".

#include "report/model/printsettings.h"
#include "report/model/reportoutput.h"

#include <memory>

class FileChoice;
class Notices;
class QPrinter;
class QWidget;
class Report;

class PrinterOutput final : public ReportOutput
{
public:
    // `dataFolder`: where print.ini lives (the program's data/ when empty).
    explicit PrinterOutput(Notices &notices, QWidget *parent = nullptr, const QString &dataFolder = {});
    ~PrinterOutput() override;

    // The chooser of the preview's 导出PDF (default: the file dialog); tests pass a double.
    void setFileChoice(FileChoice *files) { m_files = files; }

    void preview(const PrintJob &job) override;
    void print(const PrintJob &job) override;
    void printDirect(const PrintJob &job, int copies) override;
    bool exportPdf(const PrintJob &job, const QString &file) override;

    // The printer the settings name for a template kind (empty: the system default).
    QString printerFor(const QString &kind) const;

private:
    bool refuseEmpty(const Report &report);
    // Opens the named printer; false (and the failure notice) when it does not exist.
    bool choosePrinter(QPrinter &printer, const QString &name);
    void printOn(Report &report, int copies, bool dialog);

    Notices &m_notices;
    QWidget *m_parent;
    QString m_dataFolder;
    FileChoice *m_files = nullptr;
    std::unique_ptr<FileChoice> m_ownFiles;
};
