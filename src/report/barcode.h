#pragma once

// Barcodes of the templates through libzint's vector output, drawn with QPainter so that they
// stay sharp in the PDF and on every printer.

#include <QList>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

struct BarcodeShape
{
    bool ok = false;        // false: the data cannot be encoded in the symbology
    bool square = false;    // 2D symbols keep their aspect ratio
    double width = 0;       // in zint's units
    double height = 0;
    QList<QRectF> bars;     // in zint's units
};

// Code 39 ("code39"), Code 128 ("code128"), EAN-13 ("ean13"), QR ("qr"). Cached per symbology
// and data, so a sheet of labels encodes each code once.
BarcodeShape EncodeBarcode(const QString &symbology, const QString &data);

// Draws the symbol into `rect` (device pixels) with the human-readable text below it when
// `showText`; data that cannot be encoded draws the text alone.
void PaintBarcode(QPainter &painter, const QRectF &rect, const QString &symbology,
                  const QString &data, bool showText, const QFont &font);
