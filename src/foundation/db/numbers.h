#pragma once

#include <QString>

// The one text form of a number that goes into logs, report variables, capitals and SQL
// fragments: general form, up to 15 significant digits, '.' as separator, no trailing zeros.
QString NumberText(double value);

// Money rounding: x + 0.000000001 rounded half away from zero to `decimals` places.
double RoundTo(double value, int decimals);

// Reads a number from text as the database or a user wrote it; empty or bad text gives 0.
double TextToNumber(const QString &text);
