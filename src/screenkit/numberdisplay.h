#pragma once

#include <QString>

// The screen kit's door to FormatNumber: turns a number into its display text with a format
// text of the system ("￥,0.00;-￥,0.00", "#,0.00;-#,0.00", "#0.00;-#.00", "#;-#", "0.00;-0.00").
// Grid cells, footers, money editors and the export all go through it.
QString DisplayNumber(double value, const QString &format);

// Decimals a format text shows (the zeros and hashes after the point of its first section).
int FormatDecimals(const QString &format);
