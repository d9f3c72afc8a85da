#pragma once

#include <QStringList>

// The looks the operator may choose, each a palette on the Fusion style with a short style
// sheet built into the program (the original's skin files cannot be read here). In every skin
// disabled controls and menu entries, placeholder texts and read-only boxes look muted.
const QStringList &SkinNames();
inline constexpr const char *kDefaultSkin = "iMaginary";

bool IsKnownSkin(const QString &name);
// Applies a known skin to the whole application; an unknown name changes nothing (false).
bool ApplySkin(const QString &name);
// The skin applied last (empty before the first).
QString AppliedSkin();
