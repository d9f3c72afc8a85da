#pragma once

// The text layer of the PDF files Qt writes, mended from the texts that were drawn into them.
// Qt maps each glyph of an embedded font back to the lowest character of the font that uses
// it, and only looks at the BMP: "一" comes out as the radical "⼀", a space as a tab, and
// "𠮷" or an emoji not at all. Given every text drawn, in drawing order, the glyphs' mapping
// (the fonts' ToUnicode tables) is rewritten: a glyph mapped to a character that was never
// drawn takes the drawn character that shares its glyph, and glyphs without a mapping take
// the characters outside the BMP in the order they were drawn.

#include <QString>
#include <QStringList>

// Rewrites `file` in place; false (file unchanged) when it is not a PDF of the expected shape.
bool RepairPdfTextLayer(const QString &file, const QStringList &drawnTexts);
