#include "shell/programfiles.h"

#include "platform/system/programfiles.h"

#include <QDebug>
#include <QDir>

QStringList WriteMissingProgramFiles(const QString &programFolder)
{
    QStringList failures;
    QStringList written = WriteMissingFiles(QStringLiteral(":/report"),
                                            QDir(programFolder).filePath(QStringLiteral("report")), &failures);
    written += WriteMissingFiles(QStringLiteral(":/help"), programFolder, &failures);
    for (const QString &file : std::as_const(failures))
        qWarning().noquote() << "program folder: cannot write" << file;
    return written;
}
