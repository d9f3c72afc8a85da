#pragma once

// The shell's own pictures, drawn rather than shipped: rounded tiles with a character for the
// main window's commands and the maintenance board, the reminder screen's bell and the contact
// screen's code.

#include <QColor>
#include <QPixmap>
#include <QString>

// A rounded tile of `size` pixels in `colour` with `glyph` in white (half the tile high for one
// character, a third for more).
QPixmap GlyphTile(const QString &glyph, const QColor &colour, int size);

// The picture of a command: the tile with the caption's first character, or "POS".
QPixmap CommandPicture(const QString &caption, const QColor &colour, int size);

// The bell beside the reminders' panes.
QPixmap ReminderBell(int size);

// A QR code of `text`, `size` pixels square on white.
QPixmap QrPicture(const QString &text, int size);
