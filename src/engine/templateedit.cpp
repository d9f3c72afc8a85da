#include "engine/templateedit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

QString TemplatePathFor(const QString &name, const QString &folder)
{
    const QString stem = TemplateStem(name);
    if (stem.isEmpty())
        return QString();
    const QString existing = TemplateFile(name, folder);
    if (!existing.isEmpty())
        return existing;
    return QDir(folder.isEmpty() ? TemplateFolder() : folder).filePath(stem + QStringLiteral(".json"));
}

QString TemplateCheck::text() const
{
    return QStringLiteral("第 %1 项超出页面范围，请修改！").arg(item);
}

TemplateCheck CheckTemplateItems(const ReportTemplate &report)
{
    constexpr double kSlack = 0.001;  // millimetres typed with decimals
    PageSetup page = report.page;
    ResolvePageSize(page);
    const double printable = page.width - page.left - page.right;
    TemplateCheck check;
    for (int b = 0; b < report.bands.size(); ++b) {
        const ReportBand &band = report.bands.at(b);
        const double width = band.kind == BandKind::Detail && band.columns > 1 && band.columnWidth > 0
                                 ? band.columnWidth
                                 : printable;
        for (int i = 0; i < band.items.size(); ++i) {
            const ReportItem &it = band.items.at(i);
            const bool outside = it.x < 0 || it.y < 0 || it.w < 0 || it.h < 0 || it.x + it.w > width + kSlack
                                 || it.y + it.h > band.height + kSlack;
            if (outside) {
                check.band = b;
                check.item = i + 1;
                return check;
            }
        }
    }
    return check;
}

bool SaveTemplateFile(const QString &path, const ReportTemplate &report, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (path.isEmpty())
        return fail(QStringLiteral("报表文件名不能包含路径！"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QByteArray bytes = WriteTemplate(report);
    if (QFileInfo(path).isFile()) {
        const QString backup = path + QStringLiteral(".bak");
        // The backup is written the same way, so a failure never leaves half a backup.
        QFile current(path);
        if (!current.open(QIODevice::ReadOnly))
            return fail(current.errorString());
        QSaveFile bak(backup);
        if (!bak.open(QIODevice::WriteOnly) || bak.write(current.readAll()) < 0 || !bak.commit())
            return fail(bak.errorString());
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size())
        return fail(file.errorString());
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

bool ShippedTemplate(const QString &name, ReportTemplate &out)
{
    out = ReportTemplate();
    const QString path = BuiltInTemplateFile(name);
    if (path.isEmpty())
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || !ParseTemplate(file.readAll(), out)) {
        out = ReportTemplate();
        return false;
    }
    out.name = TemplateStem(name);
    return true;
}

ReportTemplate EmptyTemplate(const QString &name)
{
    ReportTemplate t;
    t.name = TemplateStem(name);
    t.title = t.name;
    ResolvePageSize(t.page);
    return t;
}

namespace {

QString CellText(const RawCell &cell)
{
    QString spec;
    if (cell.width > 0)
        spec += QString::number(cell.width);
    if (cell.align == QLatin1String("center"))
        spec += QLatin1Char('C');
    else if (cell.align == QLatin1String("right"))
        spec += QLatin1Char('R');
    else
        spec += QLatin1Char('L');
    if (!cell.format.isEmpty())
        spec += QLatin1Char('@') + cell.format;
    return spec + QLatin1Char(':') + cell.text;
}

RawCell ParseCell(const QString &text)
{
    static const QRegularExpression specPattern(QStringLiteral("^(\\d*)([LCR]?)(?:@(.*))?$"));
    RawCell cell;
    const int colon = text.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        const auto m = specPattern.match(text.left(colon));
        if (m.hasMatch() && colon > 0) {
            cell.width = m.captured(1).isEmpty() ? 0 : m.captured(1).toInt();
            const QString a = m.captured(2);
            cell.align = a == QLatin1String("C")   ? QStringLiteral("center")
                         : a == QLatin1String("R") ? QStringLiteral("right")
                                                   : QStringLiteral("left");
            cell.format = m.captured(3);
            cell.text = text.mid(colon + 1);
            return cell;
        }
    }
    cell.text = text;
    return cell;
}

} // namespace

QString RawLinesText(const QList<RawLine> &lines)
{
    QStringList out;
    for (const RawLine &line : lines) {
        QStringList cells;
        for (const RawCell &cell : line.cells)
            cells << CellText(cell);
        QString text = cells.join(QLatin1Char('|'));
        if (!line.dropIfEmpty.isEmpty())
            text = QLatin1Char('?') + line.dropIfEmpty + QLatin1Char(' ') + text;
        out << text;
    }
    return out.join(QLatin1Char('\n'));
}

QList<RawLine> ParseRawLines(const QString &text)
{
    QList<RawLine> lines;
    if (text.isEmpty())
        return lines;
    for (QString source : text.split(QLatin1Char('\n'))) {
        if (source.endsWith(QLatin1Char('\r')))
            source.chop(1);
        RawLine line;
        if (source.startsWith(QLatin1Char('?'))) {
            const int space = source.indexOf(QLatin1Char(' '));
            line.dropIfEmpty = space < 0 ? source.mid(1) : source.mid(1, space - 1);
            source = space < 0 ? QString() : source.mid(space + 1);
        }
        if (!source.isEmpty()) {
            for (const QString &cell : source.split(QLatin1Char('|')))
                line.cells << ParseCell(cell);
        }
        lines << line;
    }
    return lines;
}
