// Display patterns from the login state, the number renderer and amounts in capitals.

#include "../support/testdb.h"

#include "foundation/capitals.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/formats.h"
#include "foundation/loginstate.h"
#include "platform/format/formatnumber.h"

#include <gtest/gtest.h>

namespace {

LoginState formatState(int priceDecimals, int qtyDecimals, const QString &totalDecimals,
                       const QString &symbol)
{
    LoginState s;
    s.PriceDecimals = priceDecimals;
    s.QtyDecimals = qtyDecimals;
    s.TotalDecimals = totalDecimals;
    s.CurrencySymbol = symbol;
    return s;
}

struct FormatCase
{
    const char *routine;
    DisplayFormat (*rule)(const LoginState &);
    const char *pattern;
    int inputDecimals;
    int maxLength;
};

TEST(DisplayFormats, EachRoutineGetsItsSettings)
{
    // Prices 2, quantities 0, total rounding on with 0 decimals, symbol ￥.
    const LoginState s = formatState(2, 0, QStringLiteral("0"), QStringLiteral("￥"));
    const FormatCase cases[] = {
        {"SetMoneyEditFormat", MoneyEditFormat, "￥,0.00;-￥,0.00", 2, 15},
        {"SetMoneyColumnFormat", MoneyColumnFormat, "￥,0.00;-￥,0.00", 2, 0},
        {"SetMoneyBandedColumnFormat", MoneyBandedColumnFormat, "￥,0.00;-￥,0.00", 2, 0},
        {"SetMoneyFooterFormat", MoneyFooterFormat, "#,0;-#,0", -1, 0},
        {"SetMoneyBandedFooterFormat", MoneyBandedFooterFormat, "#,0.00;-#,0.00", -1, 0},
        {"SetQtyEditFormat", QtyEditFormat, "#;-#", 0, 13},
        {"SetQtyColumnFormat", QtyColumnFormat, "#0;-#0", 0, 0},
        {"SetQtyFooterFormat", QtyFooterFormat, "#0;-#0", -1, 0},
        {"SetQtyBandedColumnFormat", QtyBandedColumnFormat, "#;-#", -1, 0},
        {"SetQtyBandedFooterFormat", QtyBandedFooterFormat, "#;-#", -1, 0},
    };
    for (const FormatCase &c : cases) {
        const DisplayFormat f = c.rule(s);
        EXPECT_EQ(f.pattern, QString::fromUtf8(c.pattern)) << c.routine;
        EXPECT_EQ(f.inputDecimals, c.inputDecimals) << c.routine;
        EXPECT_EQ(f.maxLength, c.maxLength) << c.routine;
    }
}

TEST(DisplayFormats, PatternsFollowDecimalsAndSymbol)
{
    const DisplayFormat plain = MoneyEditFormat(formatState(0, 0, QStringLiteral("0"), QString()));
    EXPECT_EQ(plain.pattern, QStringLiteral("#,0;-#,0"));
    EXPECT_EQ(plain.maxLength, 13);
    EXPECT_EQ(QtyPattern(2, false), QStringLiteral("#0.00;-#.00"));
    EXPECT_EQ(QtyPattern(2, true), QStringLiteral("#0.00;-#.00"));
    EXPECT_EQ(GroupedPattern(8), QStringLiteral("#,0.00000000;-#,0.00000000"));
    EXPECT_EQ(MoneyPattern(QStringLiteral("$"), 1), QStringLiteral("$,0.0;-$,0.0"));
    // Total rounding off: TotalDecimals carries the price decimals.
    EXPECT_EQ(MoneyFooterFormat(formatState(3, 0, QStringLiteral("3"), QString())).pattern,
              QStringLiteral("#,0.000;-#,0.000"));
}

struct RenderCase
{
    double value;
    const char *pattern;
    const char *shown;
};

TEST(FormatNumber, RendersThePatterns)
{
    const RenderCase cases[] = {
        {1234.5, "￥,0.00;-￥,0.00", "￥1,234.50"},
        {-1234.5, "￥,0.00;-￥,0.00", "-￥1,234.50"},
        {0, "￥,0.00;-￥,0.00", "￥0.00"},
        {-0.001, "￥,0.00;-￥,0.00", "￥0.00"},  // shows as zero: first section, no sign
        {1234, "#,0;-#,0", "1,234"},
        {-1234567, "#,0;-#,0", "-1,234,567"},
        {-0.5, "#0.000;-#.000", "-.500"},
        {0.5, "#0.000;-#.000", "0.500"},
        {1234.5, "#0.000;-#.000", "1234.500"},
        {0, "#;-#", ""},
        {0, "#0;-#0", "0"},
        {7, "#;-#", "7"},
        {-7, "#;-#", "-7"},
        {1234567.891, "#,0.00;-#,0.00", "1,234,567.89"},
        {999.995, "#,0.00;-#,0.00", "1,000.00"},
        {0, "#.00", ".00"},
        {0.5, "#.00", ".50"},
        {-3.5, "#.00", "-3.50"},
        {12.5, "#.00", "12.50"},
        {2.5, "#,0;-#,0", "3"},
        {-2.5, "#,0;-#,0", "-3"},
        {1.005, "#,0.00;-#,0.00", "1.01"},
        {0.125, "#.##", ".13"},
        {0.1, "#.##", ".1"},
    };
    for (const RenderCase &c : cases)
        EXPECT_EQ(FormatNumber(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.shown))
            << c.value << " " << c.pattern;
}

class FormatFromDatabase : public DbTest {};

TEST_F(FormatFromDatabase, StoredAmountRoundsHalfUpOnBothKinds)
{
    RunSql(db(), QStringLiteral("update jxc_goods set g_sj = ? where g_sn = ?"),
           {1.005, QStringLiteral("00000000")});
    const QString stored = QueryScalar(db(), QStringLiteral("select g_sj from jxc_goods where g_sn = ?"),
                                       {QStringLiteral("00000000")});
    EXPECT_EQ(stored, QStringLiteral("1.005"));
    EXPECT_EQ(FormatNumber(stored.toDouble(), GroupedPattern(2)), QStringLiteral("1.01"));
}

struct CapitalCase
{
    const char *amount;
    const char *capitals;
};

TEST(Capitals, MoneyToCapitalSpellsAmounts)
{
    const CapitalCase cases[] = {
        {"12.50", "壹拾贰元伍角"},
        {"100.00", "壹佰元整"},
        {"1001.00", "壹仟零壹元整"},
        {"10050.00", "壹万零伍拾元整"},
        {"305.07", "叁佰零伍元零柒分"},
        {"10.05", "壹拾元零伍分"},
        {"1000000.00", "壹佰万元整"},
        {"110000000.00", "壹亿壹仟万元整"},
        {"100010000.00", "壹亿零壹万元整"},
        {"1234567.89", "壹佰贰拾叁万肆仟伍佰陆拾柒元捌角玖分"},
        {"-3.50", "负叁元伍角"},
        {".05", "伍分"},
        {"0.05", "零伍分"},
        {".00", "零元整"},
        {"0", "零元整"},
        {"", "零元整"},
        {"1,234.00", ""},
        {"12.345", "壹拾贰元叁角肆分"},
        {"0.5", "伍角"},
        {"5.", "伍元整"},
        {"100000000.00", "壹亿元整"},
        {"100000.00", "壹拾万元整"},
        {"40000.04", "肆万元零肆分"},
        {"1000010.00", "壹佰万零壹拾元整"},
        {"-12.5", "负壹拾贰元伍角"},
        {"-.00", "零元整"},  // a negative zero reads as zero, not "负"
        {"-0", "零元整"},
        {"0.00", "零元整"},
        {"-0.00", "零元整"},
        {"00.00", "零元整"},
        {"1e3", ""},
        {"￥12.00", ""},
        {" 5", ""},
        {"+5", ""},
        {"1.2.3", ""},
        {"12345678901234567890123456789.00", ""},  // 31 places in cents
    };
    for (const CapitalCase &c : cases)
        EXPECT_EQ(MoneyToCapital(QString::fromUtf8(c.amount)), QString::fromUtf8(c.capitals)) << c.amount;
}

TEST(Capitals, DigitsAndPlaces)
{
    EXPECT_EQ(DigitToCapital(QStringLiteral("0")), QStringLiteral("零"));
    EXPECT_EQ(DigitToCapital(QStringLiteral("9")), QStringLiteral("玖"));
    EXPECT_EQ(DigitToCapital(QStringLiteral(".")), QString());
    const std::pair<int, const char *> places[] = {
        {0, ""}, {1, "分"}, {2, "角"}, {3, ""}, {4, "拾"}, {5, "佰"}, {6, "仟"}, {7, "万"},
        {8, "拾"}, {11, "亿"}, {15, "万亿"}, {19, "亿亿"}, {23, "万亿亿"}, {27, "亿亿亿"},
        {28, "拾"}, {29, "佰"}, {30, "仟"}, {31, ""}};
    for (const auto &[p, name] : places)
        EXPECT_EQ(PlaceUnitName(p), QString::fromUtf8(name)) << p;
    // Amounts from the renderer's "#.00" feed the capitals directly.
    EXPECT_EQ(MoneyToCapital(FormatNumber(-3.5, QStringLiteral("#.00"))), QStringLiteral("负叁元伍角"));
}

} // namespace
