// The three variants of the input sanitiser.

#include "foundation/columnwidth.h"
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

// Control characters never reach the database: every variant drops them; only notes keep
// tab and line breaks.
TEST(Sanitize, ControlCharactersAreDropped)
{
    const QString typed = QStringLiteral("a") + QChar(0) + QStringLiteral("b\x01\x1d\x56\tc\r\nd\x7f'");
    EXPECT_EQ(StripControls(typed), QStringLiteral("abVcd'"));
    EXPECT_EQ(StripControls(typed, TextLines::Multi), QStringLiteral("abV\tc\r\nd'"));
    EXPECT_EQ(SafeText(typed), QStringLiteral("abVcd‘"));
    EXPECT_EQ(SafeTextKeepMath(typed), QStringLiteral("abVcd‘"));
    EXPECT_EQ(SafeTextShort(typed), QStringLiteral("abVcd‘"));
    EXPECT_EQ(SafeNoteText(typed + QStringLiteral("(1-2)")), QStringLiteral("abV\tc\r\nd‘(1-2)"));
    // Nothing else is touched: wide characters, CJK, emoji, characters outside the BMP.
    const QString wide = QStringLiteral("冷藏2-8℃ ½ 𠮷 😀 \\_");
    EXPECT_EQ(StripControls(wide), wide);
    EXPECT_EQ(SafeNoteText(SafeNoteText(typed)), SafeNoteText(typed));
}

// The widths come from the table catalogue and count characters as the database does.
TEST(ColumnWidth, FromTheCatalogueInCharacters)
{
    EXPECT_EQ(ColumnWidth(QStringLiteral("jxc_goods"), QStringLiteral("g_sn")), 32);
    EXPECT_EQ(ColumnWidth(QStringLiteral("JXC_GOODS"), QStringLiteral("G_NAME")), 128);
    EXPECT_EQ(ColumnWidth(QStringLiteral("jxc_xtzt"), QStringLiteral("zt_note")), 32);
    EXPECT_EQ(ColumnWidth(QStringLiteral("jxc_goods"), QStringLiteral("g_jj")), 0);
    EXPECT_EQ(ColumnWidth(QStringLiteral("jxc_cgsp"), QStringLiteral("g_xlh")), 0);  // text
    EXPECT_EQ(ColumnWidth(QStringLiteral("jxc_nothing"), QStringLiteral("x")), 0);

    const QString astral = QStringLiteral("𠮷");  // two UTF-16 units, one character
    EXPECT_EQ(TextLength(astral.repeated(32)), 32);
    EXPECT_EQ(CutToColumn(QStringLiteral("jxc_goods"), QStringLiteral("g_sn"), astral.repeated(40)),
              astral.repeated(32));
    EXPECT_EQ(CutToColumn(QStringLiteral("jxc_goods"), QStringLiteral("g_jj"), astral.repeated(40)),
              astral.repeated(40));
    EXPECT_EQ(TooLongRefusal(QStringLiteral("商品编号"), astral.repeated(32), QStringLiteral("jxc_goods"),
                             QStringLiteral("g_sn")),
              QString());
    EXPECT_EQ(TooLongRefusal(QStringLiteral("商品编号"), QStringLiteral("x").repeated(33), QStringLiteral("jxc_goods"),
                             QStringLiteral("g_sn")),
              QStringLiteral("商品编号的长度不能超过32个字符！"));
    EXPECT_EQ(FirstTooLong({{"商品编号", QStringLiteral("1"), "jxc_goods", "g_sn"},
                            {"商品名称", QStringLiteral("名").repeated(129), "jxc_goods", "g_name"},
                            {"商品条码", QStringLiteral("9").repeated(65), "jxc_goods", "g_sptm"}}),
              QStringLiteral("商品名称的长度不能超过128个字符！"));
}

} // namespace
