#include "shell/forms/pictures.h"

#include "report/barcode.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

QPixmap GlyphTile(const QString &glyph, const QColor &colour, int size)
{
    QPixmap pix(size, size);
    pix.fill(Qt::transparent);
    QPainter p(&pix);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, size);
    g.setColorAt(0, colour.lighter(125));
    g.setColorAt(1, colour);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRoundedRect(QRectF(1, 1, size - 2, size - 2), size / 5.0, size / 5.0);
    p.setBrush(QColor(255, 255, 255, 45));
    QPainterPath shine;
    shine.addRoundedRect(QRectF(1, 1, size - 2, size / 2.0), size / 5.0, size / 5.0);
    p.drawPath(shine);
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setBold(true);
    font.setPixelSize(glyph.size() > 1 ? size / 3 : size / 2);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, glyph);
    return pix;
}

QPixmap CommandPicture(const QString &caption, const QColor &colour, int size)
{
    return GlyphTile(caption.startsWith(QLatin1String("POS")) ? QStringLiteral("POS") : caption.left(1), colour, size);
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
