#include "platform/system/programfolder.h"

#include <QCoreApplication>
#include <QDir>

QString ProgramFolder()
{
    const QString home = qEnvironmentVariable("JXC_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    return QCoreApplication::applicationDirPath();
}

QString DataFolder()
{
    return QDir(ProgramFolder()).filePath(QStringLiteral("data"));
}

QString ProgramFile(const QString &relative)
{
    return QDir(ProgramFolder()).filePath(relative);
}
