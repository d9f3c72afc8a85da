#pragma once

#include <QString>

// Opens a file or page with the desktop's default handler (help pages, import templates).
// Screens receive it; tests replace it with a recorder.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;
    virtual bool openFile(const QString &path) = 0;
    virtual bool openUrl(const QString &url) = 0;
};
