#include "foundation/sanitize.h"

namespace {

struct SanitizeRule
{
    char16_t typed;
    char16_t replacement;  // 0: the character is dropped
    bool keptByMath;       // passes unchanged under SafeTextKeepMath
};

constexpr SanitizeRule kSanitizeRules[] = {
    {u'\'', u'\u2018', false}, {u'?', u'\uFF1F', false}, {u'%', u'\uFF05', false},
    {u'!', u'\uFF01', false},  {u'$', u'\uFFE5', false}, {u'&', u'\uFF06', false},
    {u',', u'\uFF0C', false},  {u'(', u'\uFF08', true},  {u')', u'\uFF09', true},
    {u'+', u'\uFF0B', true},   {u'-', u'\uFF0D', true},  {u'/', u'\uFF0F', true},
    {u'@', u'\uFF20', false},  {u'~', u'\uFF5E', false}, {u'"', u'\u201C', false},
    {u'^', 0, false},          {u'`', 0, false},
};

enum class SanitizeVariant { Full, KeepMath, Short };

bool sanitizeApplies(const SanitizeRule &rule, SanitizeVariant variant)
{
    switch (variant) {
    case SanitizeVariant::Full:
        return true;
    case SanitizeVariant::KeepMath:
        return !rule.keptByMath;
    case SanitizeVariant::Short:
        return rule.typed == u'\'' || rule.typed == u'?' || rule.typed == u'%' || rule.typed == u'`';
    }
    return false;
}

bool isControl(QChar ch, TextLines lines)
{
    const char16_t u = ch.unicode();
    if (u == 0x7F)
        return true;
    if (u >= 0x20)
        return false;
    return !(lines == TextLines::Multi && (u == u'\t' || u == u'\r' || u == u'\n'));
}

QString sanitizeWith(const QString &text, SanitizeVariant variant, TextLines lines = TextLines::Single)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        if (isControl(ch, lines))
            continue;
        const SanitizeRule *hit = nullptr;
        for (const SanitizeRule &rule : kSanitizeRules) {
            if (ch.unicode() == rule.typed && sanitizeApplies(rule, variant)) {
                hit = &rule;
                break;
            }
        }
        if (!hit)
            out.append(ch);
        else if (hit->replacement != 0)
            out.append(QChar(hit->replacement));
    }
    return out;
}

} // namespace

QString StripControls(const QString &text, TextLines lines)
{
    qsizetype i = 0;
    while (i < text.size() && !isControl(text.at(i), lines))
        ++i;
    if (i == text.size())
        return text;
    QString out = text.left(i);
    for (; i < text.size(); ++i) {
        if (!isControl(text.at(i), lines))
            out.append(text.at(i));
    }
    return out;
}

QString SafeText(const QString &text)
{
    return sanitizeWith(text, SanitizeVariant::Full);
}

QString SafeTextKeepMath(const QString &text)
{
    return sanitizeWith(text, SanitizeVariant::KeepMath);
}

QString SafeTextShort(const QString &text)
{
    return sanitizeWith(text, SanitizeVariant::Short);
}

QString SafeNoteText(const QString &text)
{
    return sanitizeWith(text, SanitizeVariant::KeepMath, TextLines::Multi);
}
