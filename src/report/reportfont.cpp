#include "report/reportfont.h"

#include "screenkit/fontchain.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QTextLayout>

#include <optional>

namespace {

// Text is measured on a 1200 dpi device (the resolution of the PDF writer and of the preview's
// printer), so that layout and painting break lines at the same places.
constexpr double kMeasureDpi = 1200;
constexpr double kPxPerMm = kMeasureDpi / 25.4;
// Room kept free in a cell against rounding on devices of other resolutions.
constexpr double kWidthSlack = 0.97;

const QImage &MeasureDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dpm = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        return image;
    }();
    return device;
}

bool IsJoinerOrSelector(char32_t c)
{
    return c == 0x200D || (c >= 0xFE00 && c <= 0xFE0F) || (c >= 0xE0100 && c <= 0xE01EF);
}

bool IsEmojiModifier(char32_t c)
{
    return c >= 0x1F3FB && c <= 0x1F3FF;
}

double TextWidthMm(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font, &MeasureDevice());
    double widest = 0;
    for (const QString &line : text.split(QLatin1Char('\n')))
        widest = qMax(widest, metrics.horizontalAdvance(line));
    return widest / kPxPerMm;
}

// The pitch of wrapped lines: the em square and a little air (CJK glyphs fill the em square;
// the fonts' own line spacing is far wider).
double LineHeightMm(const QFont &font)
{
    return font.pointSizeF() * 25.4 / 72 * 1.15;
}

QStringList WrapLines(const QString &text, const QFont &font, double widthMm)
{
    QStringList out;
    const double widthPx = qMax(1.0, widthMm * kPxPerMm);
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        if (paragraph.isEmpty()) {
            out << QString();
            continue;
        }
        QTextLayout layout(paragraph, font, &MeasureDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(widthPx);
            QString part = paragraph.mid(line.textStart(), line.textLength());
            while (part.endsWith(QLatin1Char(' ')))
                part.chop(1);
            out << part;
        }
        layout.endLayout();
    }
    return out;
}

} // namespace

QFont ReportFont(double pointSize, bool bold, const QString &family)
{
    // Fonts are made over and over while a report is laid out and painted: kept by their key.
    static QHash<QString, QFont> made;
    const double size = pointSize > 0 ? pointSize : 9;
    const QString key = QString::number(size) + (bold ? QLatin1Char('b') : QLatin1Char('r')) + family;
    const auto it = made.constFind(key);
    if (it != made.constEnd())
        return *it;
    QFont font;
    QStringList families;
    if (!family.isEmpty())
        families << family;
    families << InterfaceFontFamilies();
    font.setFamilies(families);
    font.setPointSizeF(size);
    font.setBold(bold);
    font.setStyleStrategy(QFont::PreferNoShaping);
    if (made.size() > 500)
        made.clear();
    made.insert(key, font);
    return font;
}

QString DrawableText(const QString &text, const QFont &font)
{
    bool plain = true;
    for (const QChar c : text) {
        if (c.unicode() >= 0x2000) {
            plain = false;
            break;
        }
    }
    if (plain)
        return text;  // Latin, digits and punctuation: every font of the chain has them

    static QHash<QString, QHash<char32_t, bool>> known;  // families -> character -> drawable
    QHash<char32_t, bool> &drawable = known[font.families().join(QLatin1Char(','))];
    std::optional<QFontMetricsF> metrics;  // made only for a character not seen before
    const QList<uint> codes = text.toUcs4();
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < codes.size(); ++i) {
        const char32_t c = codes.at(i);
        if (IsJoinerOrSelector(c))
            continue;
        auto it = drawable.constFind(c);
        if (it == drawable.constEnd()) {
            if (!metrics && c >= 0x2000)
                metrics.emplace(font);
            it = drawable.insert(c, c < 0x2000 || metrics->inFontUcs4(uint(c)));
        }
        if (*it) {
            out += QString::fromUcs4(&c, 1);
            continue;
        }
        out += QChar(0xFFFD);
        // The rest of an emoji sequence (skin tone, joined parts) belongs to the same mark.
        while (i + 1 < codes.size()) {
            const char32_t next = codes.at(i + 1);
            if (IsEmojiModifier(next) || IsJoinerOrSelector(next)) {
                ++i;
                if (next == 0x200D && i + 1 < codes.size())
                    ++i;
                continue;
            }
            break;
        }
    }
    return out;
}

FittedText FitText(const QString &text, const QFont &font, double width, double height, TextFit fit,
                   bool mayGrow)
{
    FittedText out;
    QFont f = font;
    double size = font.pointSizeF() > 0 ? font.pointSizeF() : 9;
    const double room = qMax(0.1, width * kWidthSlack);
    // Most cells hold short texts: no character of the chain is wider than the em square, so
    // a text of n characters within n em fits without measuring.
    if (text.size() * size * 25.4 / 72 <= room && !text.contains(QLatin1Char('\n'))) {
        out.pointSize = size;
        out.lineHeight = LineHeightMm(f);
        out.lines = QStringList{text};
        out.height = qMin(height, out.lineHeight);
        return out;
    }
    const double floor = qMin(size, kMinimumTextPoints);
    const bool breaks = text.contains(QLatin1Char('\n'));

    if (fit != TextFit::Wrap) {
        while (TextWidthMm(text, f) > room && size > floor) {
            size = qMax(floor, size - 0.5);
            f.setPointSizeF(size);
        }
    }
    const auto lay = [&] {
        out.pointSize = size;
        out.lineHeight = LineHeightMm(f);
        out.lines = (TextWidthMm(text, f) > room || breaks) ? WrapLines(text, f, room) : QStringList{text};
        // Wrapped lines keep half a millimetre of air above and below them in their cell.
        out.height = out.lines.size() <= 1 ? qMin(height, out.lineHeight)
                                           : out.lineHeight * out.lines.size() + 1.0;
    };
    lay();
    if (mayGrow)
        return out;
    // A cell that cannot grow: smaller still until the lines fit its height.
    while (out.height > height + 0.01 && size > 3) {
        size = qMax(3.0, size - 0.5);
        f.setPointSizeF(size);
        lay();
    }
    return out;
}
