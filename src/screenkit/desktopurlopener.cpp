#include "screenkit/desktopurlopener.h"

#include <QDesktopServices>
#include <QUrl>

bool DesktopUrlOpener::openFile(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

bool DesktopUrlOpener::openUrl(const QString &url)
{
    return QDesktopServices::openUrl(QUrl(url));
}
