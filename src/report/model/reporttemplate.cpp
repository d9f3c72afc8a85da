#include "report/model/reporttemplate.h"

#include "platform/system/programfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct NamedSize
{
    const char *name;
    double width;
    double height;
};

// Paper sizes a template may name; rolls have no fixed height.
const NamedSize kPageSizes[] = {
    {"A4", 210, 297},      {"A5L", 210, 148},     {"241x280", 241, 280}, {"241x140", 241, 140},
    {"241x93", 241, 93.1}, {"roll58", 58, 0},     {"roll80", 80, 0},
};

const char *const kBandKinds[] = {"pageHeader", "header", "detail", "footer", "pageFooter"};
const char *const kItemKinds[] = {"text", "line", "box", "barcode", "image"};
const char *const kFits[] = {"clip", "shrink", "wrap"};

template <typename E, size_t N>
bool EnumFromText(const QString &text, const char *const (&names)[N], E &out)
{
    for (size_t i = 0; i < N; ++i) {
        if (text.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            out = static_cast<E>(i);
            return true;
        }
    }
    return false;
}

RawLine ReadRawLine(const QJsonValue &value)
{
    RawLine line;
    if (value.isString()) {
        RawCell cell;
        cell.text = value.toString();
        line.cells << cell;
        return line;
    }
    const QJsonObject o = value.toObject();
    line.dropIfEmpty = o.value(QLatin1String("dropIfEmpty")).toString();
    const auto readCell = [](const QJsonObject &c) {
        RawCell cell;
        cell.width = c.value(QLatin1String("width")).toInt(0);
        cell.align = c.value(QLatin1String("align")).toString(QStringLiteral("left"));
        cell.text = c.value(QLatin1String("text")).toString();
        cell.format = c.value(QLatin1String("format")).toString();
        return cell;
    };
    if (o.contains(QLatin1String("cells"))) {
        for (const QJsonValue &c : o.value(QLatin1String("cells")).toArray())
            line.cells << readCell(c.toObject());
    } else {
        line.cells << readCell(o);
    }
    return line;
}

QList<RawLine> ReadRawLines(const QJsonValue &value)
{
    QList<RawLine> out;
    for (const QJsonValue &v : value.toArray())
        out << ReadRawLine(v);
    return out;
}

QJsonValue WriteRawLine(const RawLine &line)
{
    QJsonArray cells;
    for (const RawCell &c : line.cells) {
        QJsonObject o;
        if (c.width > 0)
            o.insert(QLatin1String("width"), c.width);
        if (c.align != QLatin1String("left"))
            o.insert(QLatin1String("align"), c.align);
        o.insert(QLatin1String("text"), c.text);
        if (!c.format.isEmpty())
            o.insert(QLatin1String("format"), c.format);
        cells << o;
    }
    QJsonObject o;
    o.insert(QLatin1String("cells"), cells);
    if (!line.dropIfEmpty.isEmpty())
        o.insert(QLatin1String("dropIfEmpty"), line.dropIfEmpty);
    return o;
}

QJsonArray WriteRawLines(const QList<RawLine> &lines)
{
    QJsonArray out;
    for (const RawLine &l : lines)
        out << WriteRawLine(l);
    return out;
}

bool Fail(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

} // namespace

bool ResolvePageSize(PageSetup &page)
{
    if (page.size.compare(QLatin1String("custom"), Qt::CaseInsensitive) == 0) {
        page.size = QStringLiteral("custom");
        return page.width > 0 && page.height >= 0;
    }
    for (const NamedSize &s : kPageSizes) {
        if (page.size.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) {
            page.size = QLatin1String(s.name);
            page.width = s.width;
            page.height = s.height;
            if (page.landscape && s.height > 0 && s.height > s.width)
                std::swap(page.width, page.height);
            return true;
        }
    }
    return false;
}

bool ParseTemplate(const QByteArray &json, ReportTemplate &out, QString *error)
{
    out = ReportTemplate();
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull() || !doc.isObject())
        return Fail(error, QStringLiteral("模板格式错误：%1").arg(parseError.errorString()));
    const QJsonObject root = doc.object();
    out.title = root.value(QLatin1String("title")).toString();
    out.kind = root.value(QLatin1String("kind")).toString(QStringLiteral("document"));
    if (out.kind != QLatin1String("document") && out.kind != QLatin1String("label")
        && out.kind != QLatin1String("receipt"))
        return Fail(error, QStringLiteral("模板类型未知：%1").arg(out.kind));

    const QJsonObject page = root.value(QLatin1String("page")).toObject();
    out.page.size = page.value(QLatin1String("size")).toString(QStringLiteral("A4"));
    out.page.landscape = page.value(QLatin1String("orientation")).toString() == QLatin1String("landscape");
    out.page.width = page.value(QLatin1String("width")).toDouble(210);
    out.page.height = page.value(QLatin1String("height")).toDouble(297);
    const QJsonArray margins = page.value(QLatin1String("margins")).toArray();
    if (margins.size() == 4) {
        out.page.left = margins.at(0).toDouble();
        out.page.top = margins.at(1).toDouble();
        out.page.right = margins.at(2).toDouble();
        out.page.bottom = margins.at(3).toDouble();
    }
    if (!ResolvePageSize(out.page))
        return Fail(error, QStringLiteral("纸张尺寸未知：%1").arg(out.page.size));

    const QJsonObject font = root.value(QLatin1String("font")).toObject();
    out.fontFamily = font.value(QLatin1String("family")).toString();
    out.fontSize = font.value(QLatin1String("size")).toDouble(9);

    for (const QJsonValue &v : root.value(QLatin1String("variables")).toArray()) {
        const QJsonObject o = v.toObject();
        out.variables.append({o.value(QLatin1String("name")).toString(),
                              o.value(QLatin1String("value")).toString()});
    }

    for (const QJsonValue &bv : root.value(QLatin1String("bands")).toArray()) {
        const QJsonObject b = bv.toObject();
        ReportBand band;
        if (!EnumFromText(b.value(QLatin1String("kind")).toString(), kBandKinds, band.kind))
            return Fail(error, QStringLiteral("区域类型未知：%1").arg(b.value(QLatin1String("kind")).toString()));
        band.height = b.value(QLatin1String("height")).toDouble();
        band.firstPageOnly = b.value(QLatin1String("firstPageOnly")).toBool();
        band.dataSet = b.value(QLatin1String("dataSet")).toString();
        band.columns = qMax(1, b.value(QLatin1String("columns")).toInt(1));
        band.columnWidth = b.value(QLatin1String("columnWidth")).toDouble();
        for (const QJsonValue &iv : b.value(QLatin1String("items")).toArray()) {
            const QJsonObject o = iv.toObject();
            ReportItem item;
            if (!EnumFromText(o.value(QLatin1String("type")).toString(), kItemKinds, item.kind))
                return Fail(error, QStringLiteral("项目类型未知：%1").arg(o.value(QLatin1String("type")).toString()));
            item.x = o.value(QLatin1String("x")).toDouble();
            item.y = o.value(QLatin1String("y")).toDouble();
            item.w = o.value(QLatin1String("w")).toDouble();
            item.h = o.value(QLatin1String("h")).toDouble();
            item.text = o.value(item.kind == ItemKind::Image ? QLatin1String("file") : QLatin1String("text")).toString();
            item.fontFamily = o.value(QLatin1String("font")).toString();
            item.fontSize = o.value(QLatin1String("size")).toDouble(0);
            item.bold = o.value(QLatin1String("bold")).toBool();
            item.align = o.value(QLatin1String("align")).toString(QStringLiteral("left"));
            item.valign = o.value(QLatin1String("valign")).toString(QStringLiteral("middle"));
            item.border = o.value(QLatin1String("border")).toString().toUpper();
            if (o.contains(QLatin1String("fit")) && !EnumFromText(o.value(QLatin1String("fit")).toString(), kFits, item.fit))
                return Fail(error, QStringLiteral("文字适应方式未知：%1").arg(o.value(QLatin1String("fit")).toString()));
            item.format = o.value(QLatin1String("format")).toString();
            item.lineWidth = o.value(QLatin1String("lineWidth")).toDouble(0.2);
            item.symbology = o.value(QLatin1String("symbology")).toString(QStringLiteral("code128")).toLower();
            item.showText = o.value(QLatin1String("showText")).toBool(true);
            item.dropIfEmpty = o.value(QLatin1String("dropIfEmpty")).toString();
            band.items << item;
        }
        out.bands << band;
    }

    const QJsonObject raw = root.value(QLatin1String("raw")).toObject();
    if (!raw.isEmpty()) {
        out.raw.present = true;
        out.raw.columns = raw.value(QLatin1String("columns")).toInt(32);
        out.raw.dataSet = raw.value(QLatin1String("dataSet")).toString(QStringLiteral("Q_GoodsPrin"));
        out.raw.header = ReadRawLines(raw.value(QLatin1String("header")));
        out.raw.detail = ReadRawLines(raw.value(QLatin1String("detail")));
        out.raw.footer = ReadRawLines(raw.value(QLatin1String("footer")));
        out.raw.feed = raw.value(QLatin1String("feed")).toInt(0);
        out.raw.cut = raw.value(QLatin1String("cut")).toBool(false);
    }
    return true;
}

QByteArray WriteTemplate(const ReportTemplate &report)
{
    QJsonObject root;
    root.insert(QLatin1String("format"), 1);
    root.insert(QLatin1String("title"), report.title);
    root.insert(QLatin1String("kind"), report.kind);
    QJsonObject page;
    page.insert(QLatin1String("size"), report.page.size);
    if (report.page.landscape)
        page.insert(QLatin1String("orientation"), QStringLiteral("landscape"));
    if (report.page.size == QLatin1String("custom")) {
        page.insert(QLatin1String("width"), report.page.width);
        page.insert(QLatin1String("height"), report.page.height);
    }
    page.insert(QLatin1String("margins"),
                QJsonArray{report.page.left, report.page.top, report.page.right, report.page.bottom});
    root.insert(QLatin1String("page"), page);
    QJsonObject font;
    if (!report.fontFamily.isEmpty())
        font.insert(QLatin1String("family"), report.fontFamily);
    font.insert(QLatin1String("size"), report.fontSize);
    root.insert(QLatin1String("font"), font);
    QJsonArray vars;
    for (const auto &v : report.variables)
        vars << QJsonObject{{QLatin1String("name"), v.first}, {QLatin1String("value"), v.second}};
    root.insert(QLatin1String("variables"), vars);
    QJsonArray bands;
    for (const ReportBand &band : report.bands) {
        QJsonObject b;
        b.insert(QLatin1String("kind"), QLatin1String(kBandKinds[int(band.kind)]));
        b.insert(QLatin1String("height"), band.height);
        if (band.firstPageOnly)
            b.insert(QLatin1String("firstPageOnly"), true);
        if (!band.dataSet.isEmpty())
            b.insert(QLatin1String("dataSet"), band.dataSet);
        if (band.columns > 1) {
            b.insert(QLatin1String("columns"), band.columns);
            b.insert(QLatin1String("columnWidth"), band.columnWidth);
        }
        QJsonArray items;
        for (const ReportItem &item : band.items) {
            QJsonObject o;
            o.insert(QLatin1String("type"), QLatin1String(kItemKinds[int(item.kind)]));
            o.insert(QLatin1String("x"), item.x);
            o.insert(QLatin1String("y"), item.y);
            o.insert(QLatin1String("w"), item.w);
            o.insert(QLatin1String("h"), item.h);
            switch (item.kind) {
            case ItemKind::Text:
                o.insert(QLatin1String("text"), item.text);
                if (!item.fontFamily.isEmpty())
                    o.insert(QLatin1String("font"), item.fontFamily);
                if (item.fontSize > 0)
                    o.insert(QLatin1String("size"), item.fontSize);
                if (item.bold)
                    o.insert(QLatin1String("bold"), true);
                if (item.align != QLatin1String("left"))
                    o.insert(QLatin1String("align"), item.align);
                if (item.valign != QLatin1String("middle"))
                    o.insert(QLatin1String("valign"), item.valign);
                if (!item.border.isEmpty())
                    o.insert(QLatin1String("border"), item.border);
                if (item.fit != TextFit::Clip)
                    o.insert(QLatin1String("fit"), QLatin1String(kFits[int(item.fit)]));
                if (!item.format.isEmpty())
                    o.insert(QLatin1String("format"), item.format);
                break;
            case ItemKind::Barcode:
                o.insert(QLatin1String("symbology"), item.symbology);
                o.insert(QLatin1String("text"), item.text);
                o.insert(QLatin1String("showText"), item.showText);
                if (item.fontSize > 0)
                    o.insert(QLatin1String("size"), item.fontSize);
                break;
            case ItemKind::Image:
                o.insert(QLatin1String("file"), item.text);
                break;
            case ItemKind::Line:
            case ItemKind::Box:
                break;
            }
            if (!item.dropIfEmpty.isEmpty())
                o.insert(QLatin1String("dropIfEmpty"), item.dropIfEmpty);
            if (item.kind != ItemKind::Image && item.kind != ItemKind::Barcode && item.lineWidth != 0.2)
                o.insert(QLatin1String("lineWidth"), item.lineWidth);
            items << o;
        }
        b.insert(QLatin1String("items"), items);
        bands << b;
    }
    root.insert(QLatin1String("bands"), bands);
    if (report.raw.present) {
        QJsonObject raw;
        raw.insert(QLatin1String("columns"), report.raw.columns);
        if (report.raw.dataSet != QLatin1String("Q_GoodsPrin"))
            raw.insert(QLatin1String("dataSet"), report.raw.dataSet);
        raw.insert(QLatin1String("header"), WriteRawLines(report.raw.header));
        raw.insert(QLatin1String("detail"), WriteRawLines(report.raw.detail));
        raw.insert(QLatin1String("footer"), WriteRawLines(report.raw.footer));
        raw.insert(QLatin1String("feed"), report.raw.feed);
        raw.insert(QLatin1String("cut"), report.raw.cut);
        root.insert(QLatin1String("raw"), raw);
    }
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString TemplateStem(const QString &name)
{
    QString stem = name.trimmed();
    if (stem.contains(QLatin1Char('/')) || stem.contains(QLatin1Char('\\'))
        || stem.contains(QLatin1String("..")))
        return QString();
    for (const QLatin1String ext : {QLatin1String(".fr3"), QLatin1String(".json")}) {
        if (stem.endsWith(ext, Qt::CaseInsensitive)) {
            stem.chop(ext.size());
            break;
        }
    }
    return stem;
}

QString TemplateFolder()
{
    return ProgramFile(QStringLiteral("report"));
}

QString TemplateFile(const QString &name, const QString &folder)
{
    const QString stem = TemplateStem(name);
    if (stem.isEmpty())
        return QString();
    const QDir dir(folder.isEmpty() ? TemplateFolder() : folder);
    for (const QString &candidate : {stem, stem.toLower()}) {
        const QString path = dir.filePath(candidate + QStringLiteral(".json"));
        if (QFileInfo(path).isFile())
            return path;
    }
    return QString();
}

QString BuiltInTemplateFile(const QString &name)
{
    const QString stem = TemplateStem(name);
    if (stem.isEmpty())
        return QString();
    for (const QString &candidate : {stem, stem.toLower()}) {
        const QString path = QStringLiteral(":/report/%1.json").arg(candidate);
        if (QFileInfo::exists(path))
            return path;
    }
    return QString();
}

QString MissingTemplateNotice(const QString &name)
{
    QString stem = name.trimmed();
    if (stem.endsWith(QLatin1String(".fr3"), Qt::CaseInsensitive))
        stem.chop(4);
    else if (stem.endsWith(QLatin1String(".json"), Qt::CaseInsensitive))
        stem.chop(5);
    return QStringLiteral("打印模板不存在：report/%1.json").arg(stem);
}

bool LoadTemplate(const QString &name, ReportTemplate &out, const QString &folder)
{
    out = ReportTemplate();
    QString path = TemplateFile(name, folder);
    if (path.isEmpty())
        path = BuiltInTemplateFile(name);  // a folder that lacks it prints the shipped copy
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    if (!ParseTemplate(file.readAll(), out)) {
        out = ReportTemplate();
        return false;
    }
    out.name = QFileInfo(path).completeBaseName();
    return true;
}
