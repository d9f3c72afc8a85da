#pragma once

// Amounts in Chinese capital numerals for printed documents and POS slips (100 → 壹佰元整).

#include <QString>

// "0".."9" → 零 壹 贰 叁 肆 伍 陆 柒 捌 玖; anything else (".") → "".
QString DigitToCapital(const QString &digit);

// The unit of the digit at `position` counted from the right of an amount in cents:
// 1 分, 2 角, 3 "" (元 is written separately), 4 拾, 5 佰, 6 仟, 7 万 … up to 30; others "".
QString PlaceUnitName(int position);

// The capitals of an amount text as "#.00" or the plain number text gives it ("12.50", ".50",
// "0.5", "-3.50"). Third and further decimals are cut, not rounded. A text holding anything but
// digits, "." and a leading "-" (or more than one ".") gives ""; so does an amount of more
// than 30 places in cents. An amount that spells as nothing gives "零元整", a negative zero too.
QString MoneyToCapital(const QString &amount);
