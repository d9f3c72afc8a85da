#pragma once

#include "platform/system/urlopener.h"

// Opens files and pages through the desktop (xdg-open).
class DesktopUrlOpener final : public UrlOpener
{
public:
    bool openFile(const QString &path) override;
    bool openUrl(const QString &url) override;
};
