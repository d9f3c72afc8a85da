#include "shell/forms/pictures.h"

#include "report/barcode.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

QPixmap GlyphTile(const QString &glyph, const QColor &colour, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, colour.lighter(130));
    fill.setColorAt(1, colour.darker(115));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    QFont font;
    font.setPixelSize(size * 11 / 20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    return pixmap;
}

QPixmap ReminderBell(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 100.0, size / 100.0);
    QPainterPath bell;
    bell.moveTo(20, 72);
    bell.cubicTo(30, 62, 26, 30, 50, 24);
    bell.cubicTo(74, 30, 70, 62, 80, 72);
    bell.closeSubpath();
    p.setPen(QPen(QColor(150, 100, 0), 3));
    p.setBrush(QColor(250, 190, 40));
    p.drawPath(bell);
    p.drawRoundedRect(QRectF(16, 70, 68, 8), 4, 4);
    p.drawEllipse(QPointF(50, 84), 7, 7);
    p.drawEllipse(QPointF(50, 19), 5, 5);
    return pixmap;
}

QPixmap QrPicture(const QString &text, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::white);
    QPainter p(&pixmap);
    PaintBarcode(p, QRectF(4, 4, size - 8, size - 8), QStringLiteral("qr"), text, false, QFont());
    return pixmap;
}
