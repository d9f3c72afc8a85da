#include "report/model/rawreceipt.h"

#include <QStringDecoder>
#include <QStringEncoder>

int DisplayWidth(char32_t c)
{
    // East Asian Wide and Fullwidth ranges.
    if ((c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) || (c >= 0x3041 && c <= 0x33FF)
        || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF)
        || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
        || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6)
        || (c >= 0x20000 && c <= 0x3FFFD))
        return 2;
    return 1;
}

int DisplayWidth(const QString &text)
{
    int width = 0;
    for (const char32_t c : text.toUcs4())
        width += DisplayWidth(c);
    return width;
}

QString FitCell(const QString &text, int width, const QString &align)
{
    if (width <= 0)
        return QString();
    QString kept;
    int used = 0;
    for (const char32_t c : text.toUcs4()) {
        const int w = DisplayWidth(c);
        if (used + w > width)
            break;
        kept += QString::fromUcs4(&c, 1);
        used += w;
    }
    const int pad = width - used;
    if (align == QLatin1String("right"))
        return QString(pad, QLatin1Char(' ')) + kept;
    if (align == QLatin1String("center"))
        return QString(pad / 2, QLatin1Char(' ')) + kept + QString(pad - pad / 2, QLatin1Char(' '));
    return kept + QString(pad, QLatin1Char(' '));
}

QString RawPrintableText(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            c = QLatin1Char(' ');
    }
    return out;
}

QStringList SplitCell(const QString &text, int width)
{
    QStringList parts;
    if (width <= 0)
        return parts;
    QString part;
    int used = 0;
    for (const char32_t c : text.toUcs4()) {
        const int w = DisplayWidth(c);
        if (used + w > width && !part.isEmpty()) {
            parts << part;
            part.clear();
            used = 0;
        }
        part += QString::fromUcs4(&c, 1);
        used += w;
    }
    if (!part.isEmpty() || parts.isEmpty())
        parts << part;
    return parts;
}

namespace {

void AppendRawLines(const QList<RawLine> &lines, int columns, const TextContext &context, QStringList &out)
{
    for (const RawLine &line : lines) {
        if (!line.dropIfEmpty.isEmpty() && EvaluateText(line.dropIfEmpty, context).isEmpty())
            continue;
        // Each cell's text, in pieces of its width: a long one goes on in the same columns of
        // the following lines.
        QList<QStringList> pieces;
        QList<int> widths;
        int used = 0;
        int rows = 1;
        for (const RawCell &cell : line.cells) {
            const int width = qMax(0, cell.width > 0 ? qMin(cell.width, columns - used) : columns - used);
            const QString text = RawPrintableText(EvaluateText(cell.text, context, cell.format));
            pieces << SplitCell(text, width);
            widths << width;
            rows = qMax(rows, int(pieces.last().size()));
            used += width;
        }
        for (int r = 0; r < rows; ++r) {
            QString text;
            for (int c = 0; c < line.cells.size(); ++c)
                text += FitCell(pieces.at(c).value(r), widths.at(c), line.cells.at(c).align);
            while (text.endsWith(QLatin1Char(' ')))
                text.chop(1);
            out << text;
        }
    }
}

} // namespace

QStringList RawReceiptLines(const ReportTemplate &report, const ReportVariables &variables,
                            const DataSets &dataSets, const ReportDecimals &decimals)
{
    QStringList out;
    if (!report.raw.present)
        return out;
    TextContext context;
    context.variables = &variables;
    context.dataSets = &dataSets;
    context.decimals = decimals;
    const int columns = qMax(1, report.raw.columns);
    AppendRawLines(report.raw.header, columns, context, out);
    if (const DataSet *rows = dataSets.find(report.raw.dataSet)) {
        TextContext detail = context;
        detail.detailSet = report.raw.dataSet;
        for (int r = 0; r < rows->rowCount(); ++r) {
            if (rows->rowIsEmpty(r))
                continue;
            detail.row = r;
            ++detail.line;
            AppendRawLines(report.raw.detail, columns, detail, out);
        }
    }
    AppendRawLines(report.raw.footer, columns, context, out);
    return out;
}

QByteArray EscPosBytes(const QStringList &lines, int feed, bool cut)
{
    QByteArray out("\x1B\x40\x1C\x26", 4);
    QStringEncoder encoder("GB18030");
    for (const QString &line : lines) {
        out += encoder.encode(RawPrintableText(line));
        out += '\n';
    }
    for (int i = 0; i < feed; ++i)
        out += '\n';
    if (cut)
        out += QByteArray("\x1D\x56\x01", 3);
    return out;
}
