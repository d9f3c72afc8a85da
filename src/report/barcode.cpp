#include "report/barcode.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>

#include <zint.h>

namespace {

int ZintSymbology(const QString &symbology)
{
    if (symbology == QLatin1String("code39"))
        return BARCODE_CODE39;
    if (symbology == QLatin1String("ean13") || symbology == QLatin1String("ean8"))
        return BARCODE_EANX;
    if (symbology == QLatin1String("qr"))
        return BARCODE_QRCODE;
    return BARCODE_CODE128;
}

} // namespace

BarcodeShape EncodeBarcode(const QString &symbology, const QString &data)
{
    static QHash<QString, BarcodeShape> cache;
    const QString key = symbology + QLatin1Char('\n') + data;
    const auto it = cache.constFind(key);
    if (it != cache.constEnd())
        return *it;

    BarcodeShape shape;
    if (!data.isEmpty()) {
        zint_symbol *symbol = ZBarcode_Create();
        symbol->symbology = ZintSymbology(symbology);
        const bool ean = symbol->symbology == BARCODE_EANX;
        // EAN's digits come in zint's standard layout; the others' text is drawn by us.
        symbol->show_hrt = ean ? 1 : 0;
        symbol->output_options |= BARCODE_QUIET_ZONES;
        symbol->input_mode = UNICODE_MODE;
        const QByteArray bytes = data.toUtf8();
        const int rc = ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char *>(bytes.constData()),
                                       int(bytes.size()));
        if (rc < ZINT_ERROR && ZBarcode_Buffer_Vector(symbol, 0) < ZINT_ERROR && symbol->vector) {
            shape.ok = true;
            shape.square = symbol->symbology == BARCODE_QRCODE;
            shape.width = symbol->vector->width;
            shape.height = symbol->vector->height;
            for (zint_vector_rect *r = symbol->vector->rectangles; r; r = r->next) {
                if (r->colour == -1 || r->colour == 7) {
                    shape.bars << QRectF(r->x, r->y, r->width, r->height);
                    if (shape.barHeight == 0 || r->height < shape.barHeight)
                        shape.barHeight = r->height;
                }
            }
            for (zint_vector_string *s = symbol->vector->strings; s && ean; s = s->next) {
                BarcodeText text;
                text.text = QString::fromUtf8(reinterpret_cast<const char *>(s->text), s->length);
                text.x = s->x;
                text.width = s->width;
                text.rightAligned = s->halign == 2;
                shape.texts << text;
            }
            if (shape.bars.isEmpty())
                shape.ok = false;
        }
        ZBarcode_Delete(symbol);
    }
    if (cache.size() > 20000)
        cache.clear();
    cache.insert(key, shape);
    return shape;
}

void PaintBarcode(QPainter &painter, const QRectF &rect, const QString &symbology,
                  const QString &data, bool showText, const QFont &font)
{
    if (data.isEmpty())
        return;
    const BarcodeShape shape = EncodeBarcode(symbology, data);
    const QFontMetricsF metrics(font, painter.device());
    painter.save();
    painter.setPen(Qt::black);
    if (!shape.ok) {
        painter.setFont(font);
        painter.drawText(rect, Qt::AlignHCenter | Qt::AlignVCenter, data);
        painter.restore();
        return;
    }
    const double textHeight = showText ? metrics.height() : 0;
    const double barsBottom = rect.bottom() - textHeight;
    if (barsBottom <= rect.top() || shape.width <= 0) {
        painter.restore();
        return;
    }

    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    if (shape.square) {
        const double s = qMin(rect.width() / shape.width, (barsBottom - rect.top()) / shape.height);
        const QPointF origin(rect.left() + (rect.width() - shape.width * s) / 2, rect.top());
        for (const QRectF &b : shape.bars)
            painter.drawRect(QRectF(origin.x() + b.x() * s, origin.y() + b.y() * s, b.width() * s, b.height() * s));
        if (showText) {
            painter.setPen(Qt::black);
            painter.setFont(font);
            painter.drawText(QRectF(rect.left(), barsBottom, rect.width(), textHeight), Qt::AlignCenter, data);
        }
        painter.restore();
        return;
    }

    // Linear symbols: the quiet zones belong to the width; the bars fill the height above the
    // text, the longer guard bars of EAN reach half way into the digits' line.
    const double sx = rect.width() / shape.width;
    const double barHeight = barsBottom - rect.top();
    const double guardExtra = shape.texts.isEmpty() ? 0 : textHeight / 2;
    double firstBar = shape.width;
    double lastBar = 0;
    for (const QRectF &b : shape.bars) {
        const bool guard = b.height() > shape.barHeight + 0.01;
        painter.drawRect(QRectF(rect.left() + b.x() * sx, rect.top(), b.width() * sx,
                                barHeight + (guard ? guardExtra : 0)));
        firstBar = qMin(firstBar, b.x());
        lastBar = qMax(lastBar, b.x() + b.width());
    }
    if (!showText) {
        painter.restore();
        return;
    }
    painter.setPen(Qt::black);
    const QRectF line(rect.left(), barsBottom, rect.width(), textHeight);
    if (shape.texts.isEmpty()) {
        painter.setFont(font);
        painter.drawText(QRectF(rect.left() + firstBar * sx, line.top(), (lastBar - firstBar) * sx, line.height()),
                         Qt::AlignHCenter | Qt::AlignVCenter, data);
        painter.restore();
        return;
    }
    // EAN: each group in the room the standard gives it, the font made smaller where needed.
    QFont digits = font;
    for (const BarcodeText &t : shape.texts) {
        const double room = t.width * sx;
        const double wide = QFontMetricsF(digits, painter.device()).horizontalAdvance(t.text);
        if (wide > room && room > 0)
            digits.setPointSizeF(qMax(3.0, digits.pointSizeF() * room / wide));
    }
    painter.setFont(digits);
    for (const BarcodeText &t : shape.texts) {
        const double room = qMax(t.width * sx, QFontMetricsF(digits, painter.device()).horizontalAdvance(t.text));
        const double anchor = rect.left() + t.x * sx;
        const QRectF box = t.rightAligned ? QRectF(anchor - room, line.top(), room, line.height())
                                          : QRectF(anchor - room / 2, line.top(), room, line.height());
        painter.drawText(box, (t.rightAligned ? Qt::AlignRight : Qt::AlignHCenter) | Qt::AlignVCenter, t.text);
    }
    painter.restore();
}
