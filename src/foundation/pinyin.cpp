#include "foundation/pinyin.h"

namespace {

constexpr char32_t kPinyinFirst = 0x4E00;
constexpr char32_t kPinyinLast = 0x9FA5;

constexpr char kPinyinTable[] =
#include "foundation/pinyin_table.inc"
    ;

constexpr int kPinyinTableLength = int(sizeof(kPinyinTable)) - 1;
static_assert(kPinyinTableLength == int(kPinyinLast - kPinyinFirst + 1) * 3,
              "pinyin table: three characters per code point");

bool pinyinInTable(char32_t c) { return c >= kPinyinFirst && c <= kPinyinLast; }

} // namespace

const char *PinyinTable() { return kPinyinTable; }
int PinyinTableLength() { return kPinyinTableLength; }

QString ReadPYEntry(int position, bool firstOnly)
{
    const int k = position - 1;
    if (k < 0 || k >= kPinyinTableLength)
        return QString();
    QString result(QLatin1Char(kPinyinTable[k]));
    if (!firstOnly) {
        for (int i = 1; i <= 2 && k + i < kPinyinTableLength; ++i) {
            const char c = kPinyinTable[k + i];
            if (c == ' ')
                break;
            result += QLatin1Char(c);
        }
    }
    return result;
}

QString GetPYChar(const QString &ch, bool firstOnly)
{
    if (ch.isEmpty())
        return QString();
    const char32_t c = ch.at(0).unicode();
    if (!pinyinInTable(c))
        return ch;
    const int position = int(c - kPinyinFirst) * 3 + 1;
    if (kPinyinTable[position - 1] == ' ')  // no reading known: the character stays
        return ch;
    return ReadPYEntry(position, firstOnly);
}

QString GetPYStr(const QString &text)
{
    QString result;
    result.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar ch = text.at(i);
        const char16_t u = ch.unicode();
        if (u < 128) {
            // ASCII: only a-z change (to upper case).
            result += (u >= 'a' && u <= 'z') ? QChar(char16_t(u - 'a' + 'A')) : ch;
        } else if (pinyinInTable(u) && kPinyinTable[int(u - kPinyinFirst) * 3] != ' ') {
            const char c = kPinyinTable[int(u - kPinyinFirst) * 3];
            result += QChar(char16_t(c - 'a' + 'A'));
        } else {
            // Anything else stays as it is, a surrogate pair with both halves.
            result += ch;
        }
    }
    return result;
}

QString GetPY(const QString &text) { return GetPYStr(text); }
