#include "report/report.h"

#include "report/barcode.h"
#include "report/model/rawreceipt.h"
#include "report/pdftextlayer.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>

#include <limits>

namespace {

// Room kept free left and right of a text in its cell, mm.
constexpr double kCellPadding = 0.6;

} // namespace

Report::Report(const PrintJob &job)
{
    load(job.templateName, job.templateFolder);
    m_variables = job.variables;
    m_dataSets = job.dataSets;
    m_rowsPerPage = job.rowsPerPage;
    m_decimals = job.decimals;
    if (!m_loaded)
        m_variables.clear();
}

bool Report::load(const QString &name, const QString &folder)
{
    m_name = name;
    m_folder = folder;
    m_prepared = false;
    m_variables.clear();
    m_loaded = LoadTemplate(name, m_template, folder);
    for (const auto &v : m_template.variables)
        m_variables.set(v.first, v.second);
    return m_loaded;
}

void Report::setTemplate(const ReportTemplate &report, const QString &folder)
{
    m_template = report;
    m_name = report.name;
    m_folder = folder;
    m_loaded = true;
    m_prepared = false;
    m_variables.clear();
    for (const auto &v : m_template.variables)
        m_variables.set(v.first, v.second);
}

QString Report::missingNotice() const
{
    return m_loaded ? QString() : MissingTemplateNotice(m_name);
}

void Report::setVariable(const QString &name, const QString &value)
{
    m_variables.set(name, value);
    m_prepared = false;
}

void Report::clearVariables()
{
    m_variables.clear();
    m_prepared = false;
}

void Report::setDataSet(const QString &name, const DataSet &rows)
{
    m_dataSets.set(name, rows);
    m_prepared = false;
}

void Report::setRowsPerPage(int rows)
{
    m_rowsPerPage = qMax(0, rows);
    m_prepared = false;
}

void Report::setDecimals(const ReportDecimals &decimals)
{
    m_decimals = decimals;
    m_prepared = false;
}

int Report::prepare()
{
    if (!m_prepared) {
        layout();
        m_prepared = true;
    }
    return int(m_pages.size());
}

int Report::pageCount()
{
    return prepare();
}

QSizeF Report::pageSizeMm()
{
    prepare();
    return QSizeF(m_template.page.width, m_pageHeight);
}

FittedText Report::fitItemText(const ReportItem &item, const TextContext &context, double height, bool mayGrow,
                               QFont &font) const
{
    const double size = item.fontSize > 0 ? item.fontSize : m_template.fontSize;
    font = ReportFont(size, item.bold, item.fontFamily.isEmpty() ? m_template.fontFamily : item.fontFamily);
    const QString text = EvaluateText(item.text, context, item.format);
    if (text.isEmpty())
        return {};
    return FitText(DrawableText(text, font), font, item.w - 2 * kCellPadding, height, item.fit, mayGrow);
}

void Report::measureGrowth(const ReportBand &band, const TextContext &context, Placed &placed) const
{
    placed.extra = 0;
    placed.growFrom = band.height;
    for (const ReportItem &item : band.items) {
        if (item.kind != ItemKind::Text || item.w <= 0)
            continue;
        if (!item.dropIfEmpty.isEmpty() && EvaluateText(item.dropIfEmpty, context).isEmpty())
            continue;
        QFont font;
        const FittedText fitted = fitItemText(item, context, item.h, true, font);
        if (fitted.lines.isEmpty())
            continue;
        const double extra = fitted.height - item.h;
        if (extra > 0.01) {
            placed.extra = qMax(placed.extra, extra);
            placed.growFrom = qMin(placed.growFrom, item.y + item.h);
        }
    }
}

void Report::layout()
{
    m_pages.clear();
    const PageSetup &page = m_template.page;
    m_pageHeight = page.height;
    if (!m_loaded) {
        m_pageHeight = page.isRoll() ? 100 : page.height;
        m_pages.append(Page());
        return;
    }
    const QList<ReportBand> &bands = m_template.bands;
    double footerHeight = 0;
    for (const ReportBand &b : bands)
        if (b.kind == BandKind::PageFooter)
            footerHeight += b.height;
    const double limit = page.isRoll() ? std::numeric_limits<double>::max()
                                       : page.height - page.bottom - footerHeight;
    double y = page.top;
    int rowsOnPage = 0;
    bool pageHasBody = false;  // detail rows or footers placed on the current page

    TextContext context;
    context.variables = &m_variables;
    context.dataSets = &m_dataSets;
    context.decimals = m_decimals;

    const auto startPage = [&]() {
        m_pages.append(Page());
        y = page.top;
        rowsOnPage = 0;
        pageHasBody = false;
        for (int i = 0; i < bands.size(); ++i) {
            const ReportBand &b = bands.at(i);
            if (b.kind == BandKind::PageHeader
                || (b.kind == BandKind::Header && (!b.firstPageOnly || m_pages.size() == 1))) {
                Placed placed{i, page.left, y, -1, 0};
                if (b.kind == BandKind::Header)
                    measureGrowth(b, context, placed);
                m_pages.last().bands.append(placed);
                y += b.height + placed.extra;
            }
        }
    };
    startPage();

    for (int i = 0; i < bands.size(); ++i) {
        const ReportBand &b = bands.at(i);
        if (b.kind != BandKind::Detail)
            continue;
        const DataSet *rows = m_dataSets.find(b.dataSet);
        if (!rows)
            continue;
        const int columns = qMax(1, b.columns);
        const double columnWidth = b.columnWidth > 0 ? b.columnWidth
                                                     : (page.width - page.left - page.right) / columns;
        const QString key = b.dataSet.toLower();
        TextContext detail = context;
        detail.detailSet = b.dataSet;
        int line = 0;
        for (int r = 0; r < rows->rowCount(); r += columns) {
            // The labels of one line grow together.
            QList<Placed> placedRow;
            double extra = 0;
            double growFrom = b.height;
            for (int c = 0; c < columns && r + c < rows->rowCount(); ++c) {
                const int row = r + c;
                const int ordinal = rows->rowIsEmpty(row) ? 0 : ++line;
                Placed placed{i, page.left + c * columnWidth, 0, row, ordinal};
                if (!rows->rowIsEmpty(row)) {
                    detail.row = row;
                    detail.line = ordinal;
                    measureGrowth(b, detail, placed);
                    extra = qMax(extra, placed.extra);
                    growFrom = qMin(growFrom, placed.growFrom);
                }
                placedRow << placed;
            }
            if ((m_rowsPerPage > 0 && rowsOnPage >= m_rowsPerPage)
                || (y + b.height + extra > limit && pageHasBody))
                startPage();
            for (Placed &placed : placedRow) {
                placed.y = y;
                placed.extra = extra;
                placed.growFrom = growFrom;
                m_pages.last().bands.append(placed);
                m_pages.last().rows[key].append(placed.row);
            }
            y += b.height + extra;
            ++rowsOnPage;
            pageHasBody = true;
        }
    }

    for (int i = 0; i < bands.size(); ++i) {
        const ReportBand &b = bands.at(i);
        if (b.kind != BandKind::Footer)
            continue;
        Placed placed{i, page.left, 0, -1, 0};
        measureGrowth(b, context, placed);
        if (y + b.height + placed.extra > limit && pageHasBody)
            startPage();
        placed.y = y;
        m_pages.last().bands.append(placed);
        y += b.height + placed.extra;
        pageHasBody = true;
    }

    if (page.isRoll())
        m_pageHeight = y + footerHeight + page.bottom;
    for (Page &p : m_pages) {
        double fy = m_pageHeight - page.bottom - footerHeight;
        for (int i = 0; i < bands.size(); ++i) {
            const ReportBand &b = bands.at(i);
            if (b.kind == BandKind::PageFooter) {
                p.bands.append({i, page.left, fy, -1, 0});
                fy += b.height;
            }
        }
    }
}

namespace {

Qt::Alignment ItemAlignment(const ReportItem &item)
{
    Qt::Alignment a = Qt::AlignLeft;
    if (item.align == QLatin1String("center"))
        a = Qt::AlignHCenter;
    else if (item.align == QLatin1String("right"))
        a = Qt::AlignRight;
    if (item.valign == QLatin1String("top"))
        a |= Qt::AlignTop;
    else if (item.valign == QLatin1String("bottom"))
        a |= Qt::AlignBottom;
    else
        a |= Qt::AlignVCenter;
    return a;
}

QPen ReportPen(double widthMm, double pxPerMm)
{
    QPen pen(Qt::black);
    pen.setWidthF(qMax(1.0, widthMm * pxPerMm));
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

} // namespace

void Report::drawText(QPainter &painter, const QRectF &rect, int flags, const QString &text)
{
    if (m_drawn)
        m_drawn->append(text);
    painter.drawText(rect, flags, text);
}

void Report::paintBand(QPainter &painter, const Placed &placed, const TextContext &context,
                       double pxX, double pxY)
{
    const ReportBand &band = m_template.bands.at(placed.band);
    const bool blankRow = placed.row >= 0 && context.dataSets
                          && context.dataSets->find(band.dataSet)
                          && context.dataSets->find(band.dataSet)->rowIsEmpty(placed.row);
    for (const ReportItem &item : band.items) {
        if (!item.dropIfEmpty.isEmpty() && EvaluateText(item.dropIfEmpty, context).isEmpty())
            continue;
        double itemY = item.y;
        double itemH = item.h;
        if (placed.extra > 0) {
            if (item.y >= placed.growFrom - 0.01)
                itemY += placed.extra;
            else if (item.y + item.h >= placed.growFrom - 0.01)
                itemH += placed.extra;
        }
        const QRectF rect((placed.x + item.x) * pxX, (placed.y + itemY) * pxY, item.w * pxX, itemH * pxY);
        switch (item.kind) {
        case ItemKind::Line:
            painter.setPen(ReportPen(item.lineWidth, pxX));
            painter.drawLine(rect.topLeft(), rect.bottomRight());
            break;
        case ItemKind::Box:
            painter.setPen(ReportPen(item.lineWidth, pxX));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(rect);
            break;
        case ItemKind::Image: {
            if (blankRow || item.text.isEmpty() || TemplateStem(item.text).isEmpty())
                break;
            const QString folder = m_folder.isEmpty() ? TemplateFolder() : m_folder;
            const QImage image(QDir(folder).filePath(QStringLiteral("images/") + item.text));
            if (image.isNull())
                break;
            const QSizeF fitted = QSizeF(image.size()).scaled(rect.size(), Qt::KeepAspectRatio);
            painter.drawImage(QRectF(rect.topLeft(), fitted), image);
            break;
        }
        case ItemKind::Barcode: {
            if (blankRow)
                break;
            const QString data = EvaluateText(item.text, context);
            if (data.isEmpty())
                break;
            const double size = item.fontSize > 0 ? item.fontSize : m_template.fontSize;
            PaintBarcode(painter, rect, item.symbology, data, item.showText,
                         ReportFont(size, false, m_template.fontFamily));
            break;
        }
        case ItemKind::Text: {
            if (!item.border.isEmpty()) {
                painter.setPen(ReportPen(item.lineWidth, pxX));
                if (item.border.contains(QLatin1Char('L')))
                    painter.drawLine(rect.topLeft(), rect.bottomLeft());
                if (item.border.contains(QLatin1Char('T')))
                    painter.drawLine(rect.topLeft(), rect.topRight());
                if (item.border.contains(QLatin1Char('R')))
                    painter.drawLine(rect.topRight(), rect.bottomRight());
                if (item.border.contains(QLatin1Char('B')))
                    painter.drawLine(rect.bottomLeft(), rect.bottomRight());
            }
            if (blankRow)
                break;
            QFont font;
            const FittedText fitted = fitItemText(item, context, itemH, false, font);
            if (fitted.lines.isEmpty())
                break;
            font.setPointSizeF(fitted.pointSize);
            const QRectF inner = rect.adjusted(kCellPadding * pxX, 0, -kCellPadding * pxX, 0);
            const Qt::Alignment align = ItemAlignment(item);
            painter.save();
            painter.setFont(font);
            painter.setPen(Qt::black);
            if (fitted.lines.size() <= 1) {
                drawText(painter, inner, int(align), fitted.lines.value(0));
            } else {
                const double pitch = fitted.lineHeight * pxY;
                const double block = pitch * fitted.lines.size();
                double top = inner.top();
                if (align & Qt::AlignBottom)
                    top = inner.bottom() - block;
                else if (!(align & Qt::AlignTop))
                    top = inner.top() + (inner.height() - block) / 2;
                const int flags = int((align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter);
                for (const QString &line : fitted.lines) {
                    drawText(painter, QRectF(inner.left(), top, inner.width(), pitch), flags, line);
                    top += pitch;
                }
            }
            painter.restore();
            break;
        }
        }
    }
}

void Report::paintPage(QPainter &painter, int pageIndex)
{
    prepare();
    if (pageIndex < 0 || pageIndex >= m_pages.size() || !m_loaded)
        return;
    const double pxX = painter.device()->logicalDpiX() / 25.4;
    const double pxY = painter.device()->logicalDpiY() / 25.4;
    const Page &page = m_pages.at(pageIndex);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const Placed &placed : page.bands) {
        TextContext context;
        context.variables = &m_variables;
        context.dataSets = &m_dataSets;
        context.decimals = m_decimals;
        context.page = pageIndex + 1;
        context.pages = int(m_pages.size());
        context.pageRows = &page.rows;
        const ReportBand &band = m_template.bands.at(placed.band);
        if (placed.row >= 0) {
            context.detailSet = band.dataSet;
            context.row = placed.row;
            context.line = placed.line;
        }
        paintBand(painter, placed, context, pxX, pxY);
    }
    painter.restore();
}

void Report::setupPrinter(QPrinter &printer)
{
    const QSizeF size = pageSizeMm();
    const bool wide = size.width() > size.height();
    const QPageSize pageSize(wide ? QSizeF(size.height(), size.width()) : size, QPageSize::Millimeter,
                             QString(), QPageSize::ExactMatch);
    printer.setFullPage(true);
    printer.setPageLayout(QPageLayout(pageSize, wide ? QPageLayout::Landscape : QPageLayout::Portrait,
                                      QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
}

bool Report::render(QPrinter &printer)
{
    const int pages = prepare();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int i = 0; i < pages; ++i) {
        if (i > 0)
            printer.newPage();
        paintPage(painter, i);
    }
    return painter.end();
}

bool Report::writePdf(const QString &file)
{
    QStringList drawn;
    bool written = false;
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        printer.setCreator(QStringLiteral("jxc"));
        printer.setDocName(m_template.title.isEmpty() ? m_name : m_template.title);
        setupPrinter(printer);
        m_drawn = &drawn;
        written = render(printer);
        m_drawn = nullptr;
    }
    // Qt's PDF writer leaves characters outside the BMP out of the text layer and names some
    // CJK glyphs by a radical that shares them: the layer is mended from the texts drawn.
    if (written)
        RepairPdfTextLayer(file, drawn);
    return written;
}

QStringList Report::rawLines() const
{
    if (!hasRawLayout())
        return {};
    return RawReceiptLines(m_template, m_variables, m_dataSets, m_decimals);
}

QByteArray Report::rawBytes() const
{
    if (!hasRawLayout())
        return {};
    return EscPosBytes(rawLines(), m_template.raw.feed, m_template.raw.cut);
}
