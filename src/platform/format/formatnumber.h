#pragma once

// The one renderer of display patterns for numbers, shared by the grid, the editors, the
// print variables and every screen (QtCore only, header-only so that any library can use it).
//
// A pattern is one or two sections separated by ";": the first for positive values and zero,
// the second for negatives (its own literal "-" replaces the sign; with one section a negative
// value gets a leading "-"). In a section:
//   "0"  a digit that is always shown        "#"  a digit shown only when significant
//   ","  thousands grouping of the integer part (anywhere before the point)
//   "."  the decimal point                   anything else: a literal ("￥")
// Literals before the first digit place come first, the others after the number.
// The value is taken as its 15-significant-digit decimal and rounded half away from zero at
// the section's decimals, so 1.005 shows as 1.01 at two decimals; a value that shows as zero
// uses the first section.
//
//   FormatNumber(1234.5, "￥,0.00;-￥,0.00")  "￥1,234.50"
//   FormatNumber(-0.5, "#0.000;-#.000")      "-.500"
//   FormatNumber(0, "#;-#")                  ""

#include <QString>
#include <QStringList>

#include <cmath>

namespace numberformat_detail {

struct Section
{
    QString prefix;     // literals before the first digit place
    QString suffix;     // literals after it
    int minInteger = 0; // "0" places before the point
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
};

inline Section ParseSection(const QString &text)
{
    Section s;
    bool seenDigit = false;
    bool afterPoint = false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '0' || u == '#') {
            seenDigit = true;
            if (afterPoint) {
                ++s.maxDecimals;
                if (u == '0')
                    s.minDecimals = s.maxDecimals;
            } else if (u == '0') {
                ++s.minInteger;
            }
        } else if (u == '.') {
            if (!afterPoint) {
                afterPoint = true;
                seenDigit = true;
            } else {
                s.suffix += c;
            }
        } else if (u == ',' && !afterPoint) {
            s.grouping = true;
            seenDigit = true;
        } else if (!seenDigit) {
            s.prefix += c;
        } else {
            s.suffix += c;
        }
    }
    return s;
}

// |value| as decimal digits rounded half away from zero at `decimals`: integer digits (no
// leading zeros, possibly empty) and exactly `decimals` fraction digits.
inline void RoundedDigits(double value, int decimals, QString &intPart, QString &fracPart)
{
    intPart.clear();
    fracPart.clear();
    double a = std::fabs(value);
    if (!std::isfinite(a))
        a = 0;
    QString digits;  // significant digits
    int pointPos = 1; // digits before the decimal point in `digits`
    if (a != 0) {
        // "d.dddddddddddddde±xx": 15 significant digits.
        const QString e = QString::number(a, 'e', 14);
        const qsizetype ePos = e.indexOf(QLatin1Char('e'));
        digits = e.left(ePos);
        digits.remove(QLatin1Char('.'));
        pointPos = e.mid(ePos + 1).toInt() + 1;
    } else {
        digits = QStringLiteral("0");
    }
    // Lay the digits out as integer + `decimals` fraction digits, plus the next digit.
    QString all;  // integer digits followed by decimals digits
    if (pointPos <= 0)
        all = QString(-pointPos + 1, QLatin1Char('0')) + digits, pointPos = 1;
    else
        all = digits;
    while (all.size() < pointPos + decimals + 1)
        all += QLatin1Char('0');
    const bool roundUp = all.at(pointPos + decimals).unicode() >= '5';
    all.truncate(pointPos + decimals);
    if (roundUp) {
        int i = int(all.size()) - 1;
        for (; i >= 0; --i) {
            if (all.at(i) == QLatin1Char('9')) {
                all[i] = QLatin1Char('0');
            } else {
                all[i] = QChar(char16_t(all.at(i).unicode() + 1));
                break;
            }
        }
        if (i < 0) {
            all.prepend(QLatin1Char('1'));
            ++pointPos;
        }
    }
    intPart = all.left(pointPos);
    fracPart = all.mid(pointPos);
    int lead = 0;
    while (lead < intPart.size() && intPart.at(lead) == QLatin1Char('0'))
        ++lead;
    intPart = intPart.mid(lead);
}

inline QString Render(const Section &s, const QString &intDigits, const QString &fracDigits)
{
    QString intPart = intDigits;
    if (intPart.size() < s.minInteger)
        intPart = QString(s.minInteger - intPart.size(), QLatin1Char('0')) + intPart;
    if (s.grouping && intPart.size() > 3) {
        QString grouped;
        const qsizetype n = intPart.size();
        for (qsizetype i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0)
                grouped += QLatin1Char(',');
            grouped += intPart.at(i);
        }
        intPart = grouped;
    }
    QString frac = fracDigits;
    while (frac.size() > s.minDecimals && frac.endsWith(QLatin1Char('0')))
        frac.chop(1);
    QString out = s.prefix + intPart;
    if (!frac.isEmpty())
        out += QLatin1Char('.') + frac;
    return out + s.suffix;
}

} // namespace numberformat_detail

inline QString FormatNumber(double value, const QString &pattern)
{
    using namespace numberformat_detail;
    const QStringList parts = pattern.split(QLatin1Char(';'));
    const Section first = ParseSection(parts.value(0));
    QString intDigits, fracDigits;
    RoundedDigits(value, first.maxDecimals, intDigits, fracDigits);
    bool showsZero = intDigits.isEmpty();
    for (const QChar c : fracDigits)
        showsZero = showsZero && c == QLatin1Char('0');
    if (value >= 0 || showsZero || !std::isfinite(value))
        return Render(first, intDigits, fracDigits);
    if (parts.size() >= 2) {
        const Section negative = ParseSection(parts.at(1));
        RoundedDigits(value, negative.maxDecimals, intDigits, fracDigits);
        return Render(negative, intDigits, fracDigits);
    }
    return QLatin1Char('-') + Render(first, intDigits, fracDigits);
}
