#pragma once

// The input sanitiser. Typed text passes one of these before it is stored or looked up, so a
// search built from typed text compares equal to what was stored: characters that act as
// quotes or wildcards become full-width or typographic look-alikes, the caret and the
// backquote are dropped. The variant is part of a screen's behaviour: the same text passes
// the same variant where it is stored and where it is compared again. Applying a variant twice
// gives what applying it once gives.

#include <QString>

// ' ? % ! $ & , ( ) + - / @ ~ " replaced, ^ and ` removed; * and # stay.
QString SafeText(const QString &text);

// As SafeText, but ( ) + - / pass unchanged: names, specifications, notes and passwords.
QString SafeTextKeepMath(const QString &text);

// Only ' ? % replaced and ` removed (the caret stays).
QString SafeTextShort(const QString &text);
