#pragma once

// TF_ReportPreview "打印预览": the pages of a report on QPrintPreviewWidget with 打印, 导出PDF,
// zoom, page buttons, 打印机设置 and 退出(Esc). A receipt that goes raw to a device shows its
// text lines in a monospaced CJK font instead. 导出PDF asks for the file through the file
// chooser, and every message goes through the notices (tests script both).

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPrintPreviewWidget;
class QPrinter;
class FileChoice;
class Report;
class Notices;

class TF_ReportPreview : public QDialog
{
    Q_OBJECT
public:
    // `rawMode`: show the text lines of the receipt layout; printing sends the raw bytes.
    TF_ReportPreview(Report &report, Notices &notices, FileChoice &files, const QString &dataFolder,
                     bool rawMode, QWidget *parent = nullptr);
    ~TF_ReportPreview() override;

    QPrintPreviewWidget *previewWidget() const { return m_preview; }
    // 导出PDF: asks for the file and writes the pages there.
    void exportPdf();
    // 打印机设置.
    void printerSetup();

Q_SIGNALS:
    // 打印 pressed: the owner prints with its own rules (dialog, printer of the settings).
    void printRequested();

private:
    void updatePageLabel();

    Report &m_report;
    Notices &m_notices;
    FileChoice &m_files;
    QString m_dataFolder;
    QPrinter *m_printer = nullptr;
    QPrintPreviewWidget *m_preview = nullptr;
    QPlainTextEdit *m_rawText = nullptr;
    QLabel *m_pageLabel = nullptr;
};
