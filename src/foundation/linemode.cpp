#include "foundation/linemode.h"

namespace {

struct ModeSuffix
{
    LineMode mode;
    const char *suffix;
};

constexpr ModeSuffix kSuffixes[] = {
    {LineMode::Insert, "_new"},        {LineMode::Draft, ""},           {LineMode::BasketAdd, "_add"},
    {LineMode::BasketModify, "_modi"}, {LineMode::Pending, "_modish"},
};

} // namespace

LineMode LineModeOfTag(const QString &stem, const QString &tag)
{
    for (const ModeSuffix &m : kSuffixes)
        if (tag == stem + QString::fromLatin1(m.suffix))
            return m.mode;
    return LineMode::None;
}

QString LineModeTagOf(const QString &stem, LineMode mode)
{
    for (const ModeSuffix &m : kSuffixes)
        if (m.mode == mode)
            return stem + QString::fromLatin1(m.suffix);
    return QString();
}

bool IsBasketMode(LineMode mode)
{
    return mode == LineMode::BasketAdd || mode == LineMode::BasketModify;
}

bool IsStoredLineMode(LineMode mode)
{
    return mode == LineMode::Draft || mode == LineMode::BasketModify || mode == LineMode::Pending;
}
