// Pinyin short codes: names to codes, single characters, and the committed table itself.

#include "foundation/pinyin.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QSet>

namespace {

struct PyCase
{
    const char *name;
    const char *code;
};

TEST(Pinyin, NamesGiveTheirShortCodes)
{
    const PyCase cases[] = {
        {"", ""},
        {"主仓库", "ZCK"},
        {"默认类别", "MRLB"},
        {"A级供货商", "AJGHS"},
        {"中bc12", "ZBC12"},
        {"丁", "D"},            // first reading only, although its entry is "dz"
        {"长城", "CC"},
        {"可口可乐 500ml", "KKKL 500ML"},
        {"（特价）", "（TJ）"},  // full-width punctuation stays
        {"café", "CAFé"},       // only ASCII a-z become capitals
        {"ａ", "ａ"},
        {"\xe9\xbe\xa5", "Y"},  // U+9FA5, the last character of the table
        {"普通客户", "PTKH"},
        {"普通供货商", "PTGHS"},
        {"默认员工", "MRYG"},
        {"优惠商品", "YHSP"},
        {"省会地区", "SHDQ"},
        {"饮料", "YL"},
        {"酒水", "JS"},
        {"华北", "HB"},
    };
    for (const PyCase &c : cases) {
        EXPECT_EQ(GetPY(QString::fromUtf8(c.name)), QString::fromUtf8(c.code)) << c.name;
        EXPECT_EQ(GetPYStr(QString::fromUtf8(c.name)), QString::fromUtf8(c.code)) << c.name;
    }
}

TEST(Pinyin, CharactersOutsideTheTableStay)
{
    const QString afterTable(QChar(char16_t(0x9FA6)));
    EXPECT_EQ(GetPY(afterTable), afterTable);
    EXPECT_EQ(GetPYChar(afterTable, true), afterTable);
    // A character outside GBK and the BMP keeps itself whole instead of becoming "?".
    const QString emoji = QString::fromUtf8("\xf0\x9f\x98\x80");
    EXPECT_EQ(GetPY(QStringLiteral("a") + emoji), QStringLiteral("A") + emoji);
    // A character whose entry holds no letter keeps itself too.
    const QString noReading(QChar(char16_t(0x5159)));  // 兙
    EXPECT_EQ(GetPY(noReading), noReading);
    EXPECT_EQ(GetPYChar(noReading, false), noReading);
}

TEST(Pinyin, GetPYCharGivesAllInitialsOrTheFirst)
{
    const PyCase all[] = {{"一", "y"}, {"丁", "dz"}, {"万", "wm"}, {"中", "z"}, {"乐", "ly"},
                          {"的", "d"}, {"行", "xh"}, {"重", "zc"}, {"长", "cz"}, {"a", "a"},
                          {"", ""}};
    for (const PyCase &c : all)
        EXPECT_EQ(GetPYChar(QString::fromUtf8(c.name), false), QString::fromUtf8(c.code)) << c.name;
    EXPECT_EQ(GetPYChar(QStringLiteral("丁"), true), QStringLiteral("d"));
    EXPECT_EQ(GetPYChar(QStringLiteral("长"), true), QStringLiteral("c"));
    EXPECT_EQ(ReadPYEntry((0x4E01 - 0x4E00) * 3 + 1, false), QStringLiteral("dz"));
    EXPECT_EQ(ReadPYEntry((0x4E01 - 0x4E00) * 3 + 1, true), QStringLiteral("d"));
}

TEST(Pinyin, TableHasOneWellFormedEntryPerCharacter)
{
    const QByteArray table(PinyinTable(), PinyinTableLength());
    ASSERT_EQ(table.size(), 20902 * 3);
    const QSet<int> blankAllowed = {0x5159, 0x5161, 0x55E7, 0x685B, 0x70EA,
                                    0x74E7, 0x74F0, 0x74F1, 0x74FC, 0x7505};
    int blanks = 0;
    for (int k = 0; k < 20902; ++k) {
        const QByteArray e = table.mid(k * 3, 3);
        bool seenBlank = false;
        for (const char c : e) {
            if (c == ' ') {
                seenBlank = true;
                continue;
            }
            ASSERT_TRUE(c >= 'a' && c <= 'z' && c != 'i' && c != 'u' && c != 'v')
                << "U+" << std::hex << (0x4E00 + k) << " holds '" << c << "'";
            ASSERT_FALSE(seenBlank) << "letter after a blank at U+" << std::hex << (0x4E00 + k);
        }
        if (e.at(0) == ' ') {
            ++blanks;
            EXPECT_TRUE(blankAllowed.contains(0x4E00 + k)) << "blank at U+" << std::hex << (0x4E00 + k);
        }
    }
    EXPECT_EQ(blanks, blankAllowed.size());
}

TEST(Pinyin, HundredThousandNamesWellUnderASecond)
{
    const QString name = QStringLiteral("可口可乐饮料500ml");
    QElapsedTimer timer;
    timer.start();
    qsizetype total = 0;
    for (int i = 0; i < 100000; ++i)
        total += GetPY(name).size();
    EXPECT_EQ(total, qsizetype(100000) * name.size());
    EXPECT_LT(timer.elapsed(), 1000);
}

} // namespace
