// The three variants of the input sanitiser.

#include "foundation/sanitize.h"

#include <gtest/gtest.h>

namespace {

struct SanitizeCase
{
    const char *typed;
    const char *full;
    const char *keepMath;
    const char *shortForm;
};

TEST(Sanitize, EachVariantReplacesItsCharacters)
{
    const SanitizeCase cases[] = {
        {"a'b%c!", "a‘b％c！", "a‘b％c！", "a‘b％c!"},
        {"1-2", "1－2", "1-2", "1-2"},
        {"(a+b)/c", "（a＋b）／c", "(a+b)/c", "(a+b)/c"},
        {"why?", "why？", "why？", "why？"},
        {"$5 & 6, @x ~y \"q\"", "￥5 ＆ 6， ＠x ～y “q“", "￥5 ＆ 6， ＠x ～y “q“", "$5 & 6, @x ~y \"q\""},
        {"a^b`c", "abc", "abc", "a^bc"},
        {"123*#", "123*#", "123*#", "123*#"},
        {"", "", "", ""},
        {"可口可乐 500ml", "可口可乐 500ml", "可口可乐 500ml", "可口可乐 500ml"},
        {"'''", "‘‘‘", "‘‘‘", "‘‘‘"},
    };
    for (const SanitizeCase &c : cases) {
        const QString typed = QString::fromUtf8(c.typed);
        EXPECT_EQ(SafeText(typed), QString::fromUtf8(c.full)) << c.typed;
        EXPECT_EQ(SafeTextKeepMath(typed), QString::fromUtf8(c.keepMath)) << c.typed;
        EXPECT_EQ(SafeTextShort(typed), QString::fromUtf8(c.shortForm)) << c.typed;
    }
}

TEST(Sanitize, TwiceEqualsOnce)
{
    const QString typed = QStringLiteral("It's 100% (net) -5/+6 ~ @home! $? ^` \"x\", &");
    for (QString (*variant)(const QString &) : {&SafeText, &SafeTextKeepMath, &SafeTextShort}) {
        const QString once = variant(typed);
        EXPECT_EQ(variant(once), once);
    }
}

TEST(Sanitize, NothingUnsafeSurvives)
{
    const QString all = QStringLiteral("'?%!$&,()+-/@~\"^`");
    const QString full = SafeText(all);
    for (QChar ch : all)
        EXPECT_FALSE(full.contains(ch)) << int(ch.unicode());
    EXPECT_EQ(full.size(), all.size() - 2);
    const QString keep = SafeTextKeepMath(all);
    EXPECT_EQ(keep, QStringLiteral("‘？％！￥＆，()+-/＠～“"));
}

} // namespace
