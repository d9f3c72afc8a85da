#include "report/reportpreview.h"

#include "foundation/notices.h"
#include "screenkit/filechoice.h"
#include "report/printsetup.h"
#include "report/report.h"

#include <QAction>
#include <QFontDatabase>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

TF_ReportPreview::TF_ReportPreview(Report &report, Notices &notices, FileChoice &files,
                                   const QString &dataFolder, bool rawMode, QWidget *parent)
    : QDialog(parent), m_report(report), m_notices(notices), m_files(files), m_dataFolder(dataFolder)
{
    setObjectName(QStringLiteral("TF_ReportPreview"));
    setWindowTitle(QStringLiteral("打印预览"));
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(900, 700);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *bar = new QToolBar(this);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(bar);

    const auto add = [&](const QString &name, const QString &text) {
        QAction *a = bar->addAction(text);
        a->setObjectName(name);
        return a;
    };
    QAction *print = add(QStringLiteral("btnPrint"), QStringLiteral("打印"));
    QAction *pdf = add(QStringLiteral("btnPdf"), QStringLiteral("导出PDF"));
    bar->addSeparator();
    QAction *zoomIn = add(QStringLiteral("btnZoomIn"), QStringLiteral("放大"));
    QAction *zoomOut = add(QStringLiteral("btnZoomOut"), QStringLiteral("缩小"));
    QAction *fitWidth = add(QStringLiteral("btnFitWidth"), QStringLiteral("页宽"));
    QAction *fitPage = add(QStringLiteral("btnFitPage"), QStringLiteral("整页"));
    bar->addSeparator();
    QAction *first = add(QStringLiteral("btnFirst"), QStringLiteral("首页"));
    QAction *prev = add(QStringLiteral("btnPrev"), QStringLiteral("上页"));
    m_pageLabel = new QLabel(this);
    m_pageLabel->setObjectName(QStringLiteral("lblPage"));
    bar->addWidget(m_pageLabel);
    QAction *next = add(QStringLiteral("btnNext"), QStringLiteral("下页"));
    QAction *last = add(QStringLiteral("btnLast"), QStringLiteral("末页"));
    bar->addSeparator();
    QAction *setup = add(QStringLiteral("btnSetup"), QStringLiteral("打印机设置"));
    QAction *close = add(QStringLiteral("btnClose"), QStringLiteral("退出(Esc)"));

    connect(print, &QAction::triggered, this, &TF_ReportPreview::printRequested);
    connect(pdf, &QAction::triggered, this, &TF_ReportPreview::exportPdf);
    connect(setup, &QAction::triggered, this, &TF_ReportPreview::printerSetup);
    connect(close, &QAction::triggered, this, &QDialog::reject);

    if (rawMode) {
        m_rawText = new QPlainTextEdit(this);
        m_rawText->setObjectName(QStringLiteral("rawText"));
        m_rawText->setReadOnly(true);
        QFont mono;
        mono.setFamilies({QStringLiteral("Noto Sans Mono CJK SC"), QStringLiteral("WenQuanYi Micro Hei Mono"),
                          QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
        mono.setStyleHint(QFont::Monospace);
        m_rawText->setFont(mono);
        m_rawText->setPlainText(report.rawLines().join(QLatin1Char('\n')));
        layout->addWidget(m_rawText);
        for (QAction *a : {pdf, zoomIn, zoomOut, fitWidth, fitPage, first, prev, next, last})
            a->setEnabled(false);
        return;
    }

    m_printer = new QPrinter(QPrinter::HighResolution);
    report.setupPrinter(*m_printer);
    m_preview = new QPrintPreviewWidget(m_printer, this);
    m_preview->setObjectName(QStringLiteral("preview"));
    layout->addWidget(m_preview);
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter *printer) {
        m_report.render(*printer);
    });
    connect(m_preview, &QPrintPreviewWidget::previewChanged, this, &TF_ReportPreview::updatePageLabel);
    connect(zoomIn, &QAction::triggered, m_preview, [this] { m_preview->zoomIn(); });
    connect(zoomOut, &QAction::triggered, m_preview, [this] { m_preview->zoomOut(); });
    connect(fitWidth, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitToWidth);
    connect(fitPage, &QAction::triggered, m_preview, &QPrintPreviewWidget::fitInView);
    connect(first, &QAction::triggered, this, [this] { m_preview->setCurrentPage(1); updatePageLabel(); });
    connect(prev, &QAction::triggered, this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() - 1);
        updatePageLabel();
    });
    connect(next, &QAction::triggered, this, [this] {
        m_preview->setCurrentPage(m_preview->currentPage() + 1);
        updatePageLabel();
    });
    connect(last, &QAction::triggered, this, [this] {
        m_preview->setCurrentPage(m_preview->pageCount());
        updatePageLabel();
    });
    m_preview->fitToWidth();
}

TF_ReportPreview::~TF_ReportPreview()
{
    delete m_preview;
    m_preview = nullptr;
    delete m_printer;
}

void TF_ReportPreview::updatePageLabel()
{
    if (m_preview)
        m_pageLabel->setText(QStringLiteral(" 第%1页 共%2页 ").arg(m_preview->currentPage()).arg(m_preview->pageCount()));
}

void TF_ReportPreview::exportPdf()
{
    QString file = m_files.saveFileName(this, QStringLiteral("导出PDF"), QStringLiteral("PDF 文件 (*.pdf)"),
                                        m_report.templateName() + QStringLiteral(".pdf"));
    if (file.isEmpty())
        return;
    if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        file += QStringLiteral(".pdf");
    if (!m_report.writePdf(file))
        m_notices.notice(QStringLiteral("打印失败：") + file);
}

void TF_ReportPreview::printerSetup()
{
    TF_PrintSetup dialog(m_dataFolder, m_notices, this);
    dialog.exec();
}
