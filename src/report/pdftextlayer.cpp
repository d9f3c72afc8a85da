#include "report/pdftextlayer.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QHash>
#include <QList>
#include <QMap>
#include <QRawFont>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSet>

#include <algorithm>
#include <cstring>

namespace {

bool IsOneOf(char c, const char *set)
{
    return c != '\0' && std::strchr(set, c) != nullptr;
}

struct PdfObject
{
    int number = 0;
    qsizetype start = 0;  // "N 0 obj"
    qsizetype end = 0;    // after "endobj" and its line end
};

struct Font
{
    QString baseFont;
    int toUnicode = 0;              // object number of its ToUnicode stream
    QMap<int, QString> map;         // CID -> characters, as Qt wrote it
    QMap<int, QString> fixed;       // CID -> characters, mended
};

QByteArray Between(const QByteArray &data, qsizetype from, qsizetype to)
{
    return data.mid(from, to - from);
}

// The objects of the file by number, from its cross-reference table.
bool ReadObjects(const QByteArray &pdf, QMap<int, PdfObject> &objects, qsizetype &xrefAt)
{
    const qsizetype sx = pdf.lastIndexOf("startxref");
    if (sx < 0)
        return false;
    bool ok = false;
    xrefAt = pdf.mid(sx + 9, 32).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    if (!ok || xrefAt <= 0 || xrefAt >= pdf.size() || !pdf.mid(xrefAt).startsWith("xref"))
        return false;
    const qsizetype trailer = pdf.indexOf("trailer", xrefAt);
    if (trailer < 0)
        return false;
    const QList<QByteArray> lines = Between(pdf, xrefAt + 4, trailer).split('\n');
    int number = -1;
    for (QByteArray line : lines) {
        line = line.trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2) {  // subsection: first number, count
            number = parts.at(0).toInt();
            continue;
        }
        if (parts.size() != 3 || number < 0)
            return false;
        if (parts.at(2) == "n") {
            const qsizetype start = parts.at(0).toLongLong();
            const qsizetype endobj = pdf.indexOf("endobj", start);
            if (start <= 0 || endobj < 0)
                return false;
            qsizetype end = endobj + 6;
            while (end < pdf.size() && (pdf.at(end) == '\n' || pdf.at(end) == '\r'))
                ++end;
            objects.insert(number, {number, start, end});
        }
        ++number;
    }
    return !objects.isEmpty();
}

QByteArray ObjectText(const QByteArray &pdf, const PdfObject &o)
{
    return Between(pdf, o.start, o.end);
}

int Reference(const QByteArray &text, const char *key)
{
    static QHash<QByteArray, QRegularExpression> patterns;
    QRegularExpression &re = patterns[key];
    if (!re.isValid() || re.pattern().isEmpty())
        re = QRegularExpression(QStringLiteral("%1\\s+(\\d+)\\s+0\\s+R").arg(QRegularExpression::escape(QString::fromLatin1(key))));
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(text));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

// The decoded data of a stream object (FlateDecode or plain).
QByteArray StreamData(const QByteArray &pdf, const QMap<int, PdfObject> &objects, const PdfObject &o)
{
    const QByteArray text = ObjectText(pdf, o);
    const qsizetype s = text.indexOf("stream");
    if (s < 0)
        return {};
    const QByteArray dict = text.left(s);
    qsizetype from = s + 6;
    if (text.mid(from, 2) == "\r\n")
        from += 2;
    else if (text.at(from) == '\n')
        from += 1;
    qsizetype length = -1;
    const QRegularExpression direct(QStringLiteral("/Length\\s+(\\d+)(\\s+0\\s+R)?"));
    const QRegularExpressionMatch m = direct.match(QString::fromLatin1(dict));
    if (m.hasMatch()) {
        if (m.captured(2).isEmpty()) {
            length = m.captured(1).toLongLong();
        } else if (objects.contains(m.captured(1).toInt())) {
            QByteArray value = ObjectText(pdf, objects.value(m.captured(1).toInt()));
            value = value.mid(value.indexOf("obj") + 3);
            length = value.left(value.indexOf("endobj")).trimmed().toLongLong();
        }
    }
    if (length < 0)
        length = text.indexOf("endstream", from) - from;
    const QByteArray raw = text.mid(from, length);
    if (!dict.contains("/FlateDecode"))
        return raw;
    QByteArray prefixed(4, '\0');
    const quint32 guess = quint32(qMin<qsizetype>(raw.size() * 8, 1 << 26));
    prefixed[0] = char(guess >> 24);
    prefixed[1] = char(guess >> 16);
    prefixed[2] = char(guess >> 8);
    prefixed[3] = char(guess);
    return qUncompress(prefixed + raw);
}

QString FromUtf16Hex(const QByteArray &hex)
{
    const QByteArray bytes = QByteArray::fromHex(hex);
    QString out;
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        out += QChar(ushort((uchar(bytes.at(i)) << 8) | uchar(bytes.at(i + 1))));
    return out;
}

QByteArray ToUtf16Hex(const QString &text)
{
    QByteArray out;
    for (const QChar c : text)
        out += QByteArray::number(c.unicode(), 16).rightJustified(4, '0').toUpper();
    return out;
}

// The bfchar and bfrange entries of a ToUnicode CMap.
QMap<int, QString> ReadCMap(const QByteArray &cmap)
{
    QMap<int, QString> out;
    const QString text = QString::fromLatin1(cmap);
    static const QRegularExpression section(QStringLiteral("begin(bfchar|bfrange)(.*?)end\\1"),
                                            QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression hex(QStringLiteral("<([0-9A-Fa-f]*)>|\\[|\\]"));
    for (auto s = section.globalMatch(text); s.hasNext();) {
        const QRegularExpressionMatch m = s.next();
        const bool range = m.captured(1) == QLatin1String("bfrange");
        QList<QByteArray> tokens;  // hex strings, "[" and "]"
        for (auto t = hex.globalMatch(m.captured(2)); t.hasNext();) {
            const QRegularExpressionMatch tm = t.next();
            tokens << (tm.captured(0).startsWith(QLatin1Char('<')) ? tm.captured(1).toLatin1() : tm.captured(0).toLatin1());
        }
        for (qsizetype i = 0; i < tokens.size();) {
            if (!range) {
                if (i + 1 >= tokens.size())
                    break;
                out.insert(tokens.at(i).toInt(nullptr, 16), FromUtf16Hex(tokens.at(i + 1)));
                i += 2;
                continue;
            }
            if (i + 2 >= tokens.size())
                break;
            const int first = tokens.at(i).toInt(nullptr, 16);
            const int last = tokens.at(i + 1).toInt(nullptr, 16);
            if (tokens.at(i + 2) == "[") {
                qsizetype j = i + 3;
                for (int cid = first; j < tokens.size() && tokens.at(j) != "]"; ++j, ++cid)
                    out.insert(cid, FromUtf16Hex(tokens.at(j)));
                i = j + 1;
            } else {
                const QString start = FromUtf16Hex(tokens.at(i + 2));
                for (int cid = first; cid <= last && !start.isEmpty(); ++cid) {
                    QString value = start;
                    value[value.size() - 1] = QChar(ushort(start.at(start.size() - 1).unicode() + (cid - first)));
                    out.insert(cid, value);
                }
                i += 3;
            }
        }
    }
    return out;
}

QByteArray WriteCMap(const QMap<int, QString> &map)
{
    QByteArray out =
        "/CIDInit /ProcSet findresource begin\n12 dict begin\nbegincmap\n"
        "/CIDSystemInfo << /Registry (Adobe) /Ordering (UCS) /Supplement 0 >> def\n"
        "/CMapName /Adobe-Identity-UCS def\n/CMapType 2 def\n"
        "1 begincodespacerange\n<0000> <FFFF>\nendcodespacerange\n";
    QList<std::pair<int, QString>> entries;
    for (auto it = map.constBegin(); it != map.constEnd(); ++it)
        if (!it.value().isEmpty())
            entries.append({it.key(), it.value()});
    for (qsizetype i = 0; i < entries.size(); i += 100) {
        const qsizetype n = qMin<qsizetype>(100, entries.size() - i);
        out += QByteArray::number(n) + " beginbfchar\n";
        for (qsizetype j = i; j < i + n; ++j)
            out += '<' + QByteArray::number(entries.at(j).first, 16).rightJustified(4, '0').toUpper() + "> <"
                   + ToUtf16Hex(entries.at(j).second) + ">\n";
        out += "endbfchar\n";
    }
    out += "endcmap\nCMapName currentdict /CMap defineresource pop\nend\nend\n";
    return out;
}

// The installed font a PDF base font name ("NotoSansCJKsc-Regular", "DejaVuSans-Bold") stands for.
QRawFont RawFontFor(const QString &baseFont)
{
    QString name = baseFont;
    if (name.size() > 7 && name.at(6) == QLatin1Char('+'))
        name = name.mid(7);  // subset tag
    const QString style = name.section(QLatin1Char('-'), 1).toLower();
    const QString key = name.section(QLatin1Char('-'), 0, 0).toLower();
    QString best;
    for (const QString &family : QFontDatabase::families()) {
        const QString normal = QString(family).remove(QLatin1Char(' ')).toLower();
        if (!normal.isEmpty() && key.startsWith(normal) && normal.size() > best.size())
            best = family;
    }
    if (best.isEmpty())
        return {};
    QFont font(best);
    font.setBold(style.contains(QLatin1String("bold")));
    font.setItalic(style.contains(QLatin1String("italic")) || style.contains(QLatin1String("oblique")));
    return QRawFont::fromFont(font);
}

quint32 GlyphOf(const QRawFont &font, char32_t c)
{
    const QString text = QString::fromUcs4(&c, 1);
    quint32 glyphs[2] = {0, 0};
    int count = 2;
    if (!font.glyphIndexesForChars(text.constData(), int(text.size()), glyphs, &count) || count < 1)
        return 0;
    return glyphs[0];
}

// Glyph codes of a content stream in drawing order, with the font resource each is drawn in.
struct Glyph
{
    QByteArray font;  // resource name
    int cid = 0;
};

QList<Glyph> ContentGlyphs(const QByteArray &content)
{
    QList<Glyph> out;
    QByteArray font;
    QByteArray lastName;
    const char *data = content.constData();
    const qsizetype size = content.size();
    const auto hexValue = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    };
    for (qsizetype i = 0; i < size;) {
        const char c = data[i];
        if (c == '/') {
            qsizetype j = i + 1;
            while (j < size && !IsOneOf(data[j], " \t\r\n/[]<>()"))
                ++j;
            lastName = QByteArray(data + i + 1, j - i - 1);
            i = j;
            continue;
        }
        if (c == 'T' && i + 1 < size && data[i + 1] == 'f' && (i + 2 >= size || IsOneOf(data[i + 2], " \t\r\n"))) {
            font = lastName;
            i += 2;
            continue;
        }
        if (c == '<') {
            if (i + 1 < size && data[i + 1] == '<') {
                i += 2;
                continue;
            }
            int cid = 0;
            int digits = 0;
            qsizetype j = i + 1;
            for (; j < size && data[j] != '>'; ++j) {
                const int v = hexValue(data[j]);
                if (v < 0)
                    continue;  // white space inside the string
                cid = cid * 16 + v;
                if (++digits == 4) {
                    out.append({font, cid});
                    cid = 0;
                    digits = 0;
                }
            }
            i = j + 1;
            continue;
        }
        if (c == '(') {  // literal strings are not ours: skip with their escapes
            int depth = 1;
            ++i;
            while (i < size && depth > 0) {
                if (data[i] == '\\')
                    ++i;
                else if (data[i] == '(')
                    ++depth;
                else if (data[i] == ')')
                    --depth;
                ++i;
            }
            continue;
        }
        ++i;
    }
    return out;
}

} // namespace

bool RepairPdfTextLayer(const QString &file, const QStringList &drawnTexts)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray pdf = in.readAll();
    in.close();

    QMap<int, PdfObject> objects;
    qsizetype xrefAt = 0;
    if (!ReadObjects(pdf, objects, xrefAt))
        return false;

    // Fonts (Type0 with a ToUnicode table) and the resource names that refer to them.
    QMap<int, Font> fonts;
    QHash<QByteArray, int> resourceNames;
    QList<int> pages;
    static const QRegularExpression fontDict(QStringLiteral("/Font\\s*<<(.*?)>>"),
                                             QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression namedRef(QStringLiteral("/([^\\s/<>\\[\\]]+)\\s+(\\d+)\\s+0\\s+R"));
    static const QRegularExpression baseFont(QStringLiteral("/BaseFont\\s*/([^\\s/<>\\[\\]]+)"));
    static const QRegularExpression kids(QStringLiteral("/Kids\\s*\\[([^\\]]*)\\]"));
    static const QRegularExpression ref(QStringLiteral("(\\d+)\\s+0\\s+R"));
    for (const PdfObject &o : std::as_const(objects)) {
        QByteArray text = ObjectText(pdf, o);
        const qsizetype stream = text.indexOf("stream");
        if (stream >= 0)
            text.truncate(stream);
        const QString dict = QString::fromLatin1(text);
        if (dict.contains(QLatin1String("/Subtype /Type0")) && dict.contains(QLatin1String("/Identity-H"))) {
            Font f;
            f.baseFont = baseFont.match(dict).captured(1);
            f.toUnicode = Reference(text, "/ToUnicode");
            if (f.toUnicode > 0 && objects.contains(f.toUnicode)) {
                f.map = ReadCMap(StreamData(pdf, objects, objects.value(f.toUnicode)));
                f.fixed = f.map;
                fonts.insert(o.number, f);
            }
        }
        for (auto m = fontDict.globalMatch(dict); m.hasNext();) {
            const QString inner = m.next().captured(1);
            for (auto r = namedRef.globalMatch(inner); r.hasNext();) {
                const QRegularExpressionMatch rm = r.next();
                resourceNames.insert(rm.captured(1).toLatin1(), rm.captured(2).toInt());
            }
        }
        if (dict.contains(QLatin1String("/Type /Pages"))) {
            const QString list = kids.match(dict).captured(1);
            for (auto r = ref.globalMatch(list); r.hasNext();)
                pages << r.next().captured(1).toInt();
        }
    }
    if (fonts.isEmpty())
        return true;

    // Characters drawn, and those outside the BMP in drawing order.
    QSet<char32_t> drawn;
    QList<char32_t> astral;
    for (const QString &text : drawnTexts) {
        for (const char32_t c : text.toUcs4()) {
            drawn.insert(c);
            if (c > 0xFFFF)
                astral << c;
        }
    }

    // Glyphs without a mapping take the characters outside the BMP in the order drawn.
    qsizetype next = 0;
    for (const int page : astral.isEmpty() ? QList<int>() : pages) {
        if (!objects.contains(page))
            continue;
        const int contents = Reference(ObjectText(pdf, objects.value(page)).left(4096), "/Contents");
        if (!objects.contains(contents))
            continue;
        for (const Glyph &g : ContentGlyphs(StreamData(pdf, objects, objects.value(contents)))) {
            auto f = fonts.find(resourceNames.value(g.font));
            if (f == fonts.end() || g.cid == 0 || f->map.contains(g.cid))
                continue;
            if (next >= astral.size())
                break;
            const char32_t c = astral.at(next++);
            if (!f->fixed.contains(g.cid))
                f->fixed.insert(g.cid, QString::fromUcs4(&c, 1));
        }
    }

    // A glyph named by a character that was never drawn takes the drawn one sharing the glyph.
    for (Font &f : fonts) {
        QList<int> doubtful;
        for (auto it = f.map.constBegin(); it != f.map.constEnd(); ++it) {
            const QList<uint> codes = it.value().toUcs4();
            if (codes.size() == 1 && codes.first() != 0 && !drawn.contains(codes.first()))
                doubtful << it.key();
        }
        if (doubtful.isEmpty())
            continue;
        const QRawFont raw = RawFontFor(f.baseFont);
        if (!raw.isValid())
            continue;
        QHash<quint32, char32_t> drawnByGlyph;
        for (const char32_t c : std::as_const(drawn)) {
            const quint32 g = GlyphOf(raw, c);
            if (g != 0 && (!drawnByGlyph.contains(g) || c < drawnByGlyph.value(g)))
                drawnByGlyph.insert(g, c);
        }
        for (const int cid : std::as_const(doubtful)) {
            const quint32 g = GlyphOf(raw, f.map.value(cid).toUcs4().first());
            if (g != 0 && drawnByGlyph.contains(g)) {
                const char32_t c = drawnByGlyph.value(g);
                f.fixed.insert(cid, QString::fromUcs4(&c, 1));
            }
        }
    }

    // Rewrite the ToUnicode streams that changed; later objects move by the size difference.
    QMap<qsizetype, std::pair<qsizetype, QByteArray>> replacements;  // start -> (end, text)
    for (const Font &f : std::as_const(fonts)) {
        if (f.fixed == f.map)
            continue;
        const PdfObject &o = objects[f.toUnicode];
        const QByteArray cmap = WriteCMap(f.fixed);
        const QByteArray text = QByteArray::number(o.number) + " 0 obj\n<< /Length "
                                + QByteArray::number(cmap.size()) + " >>\nstream\n" + cmap
                                + "\nendstream\nendobj\n";
        replacements.insert(o.start, {o.end, text});
    }
    if (replacements.isEmpty())
        return true;

    QByteArray out;
    out.reserve(pdf.size() + 4096);
    QList<std::pair<qsizetype, qsizetype>> shifts;  // old position from which the shift applies
    qsizetype at = 0;
    qsizetype shift = 0;
    for (auto it = replacements.constBegin(); it != replacements.constEnd(); ++it) {
        out += Between(pdf, at, it.key());
        out += it.value().second;
        shift += it.value().second.size() - (it.value().first - it.key());
        at = it.value().first;
        shifts.append({at, shift});
    }
    out += Between(pdf, at, xrefAt);
    const auto moved = [&](qsizetype old) {
        qsizetype s = 0;
        for (const auto &p : shifts)
            if (old >= p.first)
                s = p.second;
        return old + s;
    };
    const int size = objects.lastKey() + 1;
    const qsizetype newXref = out.size();
    out += "xref\n0 " + QByteArray::number(size) + "\n0000000000 65535 f \n";
    for (int n = 1; n < size; ++n) {
        if (objects.contains(n))
            out += QByteArray::number(moved(objects.value(n).start)).rightJustified(10, '0') + " 00000 n \n";
        else
            out += "0000000000 65535 f \n";
    }
    const qsizetype trailer = pdf.indexOf("trailer", xrefAt);
    const qsizetype startxref = pdf.lastIndexOf("startxref");
    out += Between(pdf, trailer, startxref);
    out += "startxref\n" + QByteArray::number(newXref) + "\n%%EOF\n";

    QSaveFile save(file);
    if (!save.open(QIODevice::WriteOnly) || save.write(out) != out.size())
        return false;
    return save.commit();
}
