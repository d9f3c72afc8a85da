#include "screenkit/gridlayoutfile.h"

#include "platform/system/programfolder.h"
#include "screenkit/datagrid.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace {

const QLatin1String kHeader("[JxcGridLayout]");

struct Entry
{
    QString field;
    int position = 0;
    int width = 0;
    bool visible = true;
};

} // namespace

QString GridLayoutFilePath(const QString &name)
{
    return QDir(ProgramFolder()).filePath(QStringLiteral("Layout/") + name + QStringLiteral(".ini"));
}

bool WriteGridLayout(const QString &filePath, const DataGrid &grid, QString *error)
{
    const QFileInfo info(filePath);
    if (!QDir().mkpath(info.absolutePath())) {
        if (error)
            *error = QStringLiteral("无法创建文件夹 %1").arg(info.absolutePath());
        return false;
    }
    QString text = kHeader + QLatin1Char('\n');
    text += QStringLiteral("autowidth=%1\n").arg(grid.autoColumnWidth() ? 1 : 0);
    const QStringList order = grid.fieldsInVisualOrder();
    for (int i = 0; i < order.size(); ++i) {
        const QString &f = order.at(i);
        text += QStringLiteral("%1=%2,%3,%4\n")
                    .arg(f)
                    .arg(i)
                    .arg(grid.columnWidth(f))
                    .arg(grid.isColumnVisible(f) ? 1 : 0);
    }
    QSaveFile file(filePath);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool ReadGridLayout(const QString &filePath, DataGrid &grid)
{
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    int i = 0;
    while (i < lines.size() && lines.at(i).trimmed().isEmpty())
        ++i;
    if (i >= lines.size() || lines.at(i).trimmed() != kHeader)
        return false;
    QList<Entry> entries;
    for (++i; i < lines.size(); ++i) {
        const QString line = lines.at(i).trimmed();
        if (line.isEmpty())
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return false;
        const QString key = line.left(eq);
        const QStringList parts = line.mid(eq + 1).split(QLatin1Char(','));
        if (key == QLatin1String("autowidth"))
            continue;  // a restored layout always leaves automatic column width off
        if (parts.size() != 3)
            return false;
        bool ok1 = false, ok2 = false, ok3 = false;
        Entry e{key, parts.at(0).toInt(&ok1), parts.at(1).toInt(&ok2), parts.at(2).toInt(&ok3) != 0};
        if (!ok1 || !ok2 || !ok3 || e.width < 0 || e.width > 10000)
            return false;
        if (grid.model() && grid.model()->hasField(key))
            entries << e;
    }

    grid.setAutoColumnWidth(false);
    // Columns the file names take the free places in its order; the others keep theirs.
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.position < b.position; });
    QStringList design = grid.fieldsInVisualOrder();
    QStringList named;
    for (const Entry &e : entries)
        named << grid.model()->column(e.field).field;
    QStringList target;
    int next = 0;
    for (const QString &f : design) {
        if (named.contains(f))
            target << named.at(next++);
        else
            target << f;
    }
    for (int pos = 0; pos < target.size(); ++pos)
        grid.moveColumn(target.at(pos), pos);
    for (const Entry &e : entries) {
        const QString field = grid.model()->column(e.field).field;
        grid.setColumnWidth(field, e.width);
        grid.setColumnVisible(field, e.visible);
    }
    return true;
}
