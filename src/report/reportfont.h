#pragma once

// Fonts and text fitting of the renderer. Text is drawn in the interface font chain (Noto Sans
// CJK SC, WenQuanYi Micro Hei, then any installed font that has the character) without text
// shaping (with shaping, Qt's PDF writer puts wrong characters into the text layer of CJK
// fonts). A text that does not fit its cell shrinks to 6 points and then wraps inside the
// cell; nothing is clipped silently.

#include "report/model/reporttemplate.h"

#include <QFont>
#include <QString>
#include <QStringList>

QFont ReportFont(double pointSize, bool bold = false, const QString &family = {});

// The text as it can be drawn with `font`: a character (or emoji sequence) that no installed
// font has becomes one replacement mark "\uFFFD" instead of an empty box; variation selectors
// and joiners that would draw as boxes are dropped.
QString DrawableText(const QString &text, const QFont &font);

// The smallest size a text shrinks to before it wraps (a smaller template size stays).
inline constexpr double kMinimumTextPoints = 6;

// A text laid out in a cell: the size it is drawn at and its lines, in millimetres.
struct FittedText
{
    double pointSize = 0;
    QStringList lines;
    double lineHeight = 0;  // mm, the pitch of wrapped lines
    double height = 0;      // mm the lines need; a single line always fits its cell
};

// Fits `text` into a cell `width` × `height` mm. Clip and shrink: one line at the given size,
// else smaller down to kMinimumTextPoints, else wrapped at that size. Wrap: wrapped at the given
// size. When `mayGrow` the result may be higher than the cell (the band grows); otherwise the
// size goes further down until the lines fit the height.
FittedText FitText(const QString &text, const QFont &font, double width, double height, TextFit fit,
                   bool mayGrow);
