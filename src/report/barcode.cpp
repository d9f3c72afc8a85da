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
    if (symbology == QLatin1String("ean13"))
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
        symbol->show_hrt = 0;
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
                if (r->colour == -1 || r->colour == 7)
                    shape.bars << QRectF(r->x, r->y, r->width, r->height);
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
    const BarcodeShape shape = EncodeBarcode(symbology, data);
    const QFontMetricsF metrics(font, painter.device());
    const double textHeight = (showText || !shape.ok) && !data.isEmpty() ? metrics.height() : 0;
    QRectF area = rect;
    area.setBottom(rect.bottom() - textHeight);
    if (shape.ok && area.height() > 0 && shape.width > 0) {
        // Bars cover the vector's bounding box of the bars themselves (quiet zones trimmed).
        QRectF bounds;
        for (const QRectF &b : shape.bars)
            bounds = bounds.isNull() ? b : bounds.united(b);
        double sx = area.width() / bounds.width();
        double sy = area.height() / bounds.height();
        QPointF origin = area.topLeft();
        if (shape.square) {
            sx = sy = qMin(sx, sy);
            origin.rx() += (area.width() - bounds.width() * sx) / 2;
        }
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (const QRectF &b : shape.bars) {
            const QRectF r(origin.x() + (b.x() - bounds.x()) * sx, origin.y() + (b.y() - bounds.y()) * sy,
                           b.width() * sx, shape.square ? b.height() * sy : area.height());
            painter.drawRect(r);
        }
        painter.restore();
    }
    if (textHeight > 0) {
        painter.save();
        painter.setFont(font);
        painter.setPen(Qt::black);
        const QRectF textRect = shape.ok ? QRectF(rect.left(), rect.bottom() - textHeight, rect.width(), textHeight)
                                         : rect;
        painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignVCenter, data);
        painter.restore();
    }
}
