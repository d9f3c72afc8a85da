#pragma once

// The shell's own pictures, drawn rather than shipped: a rounded tile with one character for
// the maintenance board's buttons, the reminder screen's bell and the contact screen's code.

#include <QColor>
#include <QPixmap>
#include <QString>

// A tile of `size` pixels in `colour` with the character `glyph` in white.
QPixmap GlyphTile(const QString &glyph, const QColor &colour, int size);

// The bell beside the reminders' panes.
QPixmap ReminderBell(int size);

// A QR code of `text`, `size` pixels square on white.
QPixmap QrPicture(const QString &text, int size);
