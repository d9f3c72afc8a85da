#include "platform/system/programfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

QStringList WriteMissingFiles(const QString &resourceFolder, const QString &target, QStringList *failures)
{
    QStringList written;
    const QDir source(resourceFolder);
    QDirIterator it(resourceFolder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(target).filePath(source.relativeFilePath(from));
        if (QFileInfo::exists(to))
            continue;
        QFile in(from);
        QSaveFile out(to);
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !in.open(QIODevice::ReadOnly)
            || !out.open(QIODevice::WriteOnly) || out.write(in.readAll()) < 0 || !out.commit()) {
            if (failures)
                *failures << to;
            continue;
        }
        written << to;
    }
    return written;
}
