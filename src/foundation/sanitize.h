#pragma once

// The input sanitiser. Typed text passes one of these before it is stored or looked up, so a
// search built from typed text compares equal to what was stored: characters that act as
// quotes or wildcards become full-width or typographic look-alikes, the caret and the
// backquote are dropped. The variant is part of a screen's behaviour: the same text passes
// the same variant where it is stored and where it is compared again. Applying a variant twice
// gives what applying it once gives.
//
// Control characters (U+0000 to U+001F and U+007F) never reach the database: every variant
// drops them, and so does StripControls, which rules apply to the texts they store without a
// sanitiser (codes, barcodes, units) and the search patterns to typed search text. Only
// multi-line notes keep tab, CR and LF.

#include <QString>

enum class TextLines { Single, Multi };

// Drops the control characters; with TextLines::Multi tab, CR and LF stay.
QString StripControls(const QString &text, TextLines lines = TextLines::Single);

// ' ? % ! $ & , ( ) + - / @ ~ " replaced, ^ and ` removed; * and # stay.
QString SafeText(const QString &text);

// As SafeText, but ( ) + - / pass unchanged: names, specifications, notes and passwords.
QString SafeTextKeepMath(const QString &text);

// Only ' ? % replaced and ` removed (the caret stays).
QString SafeTextShort(const QString &text);

// SafeTextKeepMath for a multi-line note: tab, CR and LF stay.
QString SafeNoteText(const QString &text);
