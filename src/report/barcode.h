#pragma once

// Barcodes of the templates through libzint's vector output, drawn with QPainter so that they
// stay sharp in the PDF and on every printer. Every symbol keeps the quiet zones its standard
// requires (EAN-13: 11 modules left, 7 right; EAN-8: 7 and 7; Code 128 and Code 39: 10); EAN
// prints its digits in the standard layout: the first digit of EAN-13 left of the bars, the
// groups under their halves between the guard bars, which reach down into the digits' line.

#include <QList>
#include <QRectF>
#include <QString>

class QFont;
class QPainter;

// A text of the symbol's standard layout, in zint's units.
struct BarcodeText
{
    QString text;
    double x = 0;       // anchor: the text's centre, or its right end when `rightAligned`
    double width = 0;   // room the standard gives it
    bool rightAligned = false;
};

struct BarcodeShape
{
    bool ok = false;        // false: the data cannot be encoded in the symbology
    bool square = false;    // 2D symbols keep their aspect ratio
    double width = 0;       // in zint's units, quiet zones included
    double height = 0;
    double barHeight = 0;   // the ordinary bars (EAN guard bars are longer)
    QList<QRectF> bars;     // in zint's units
    QList<BarcodeText> texts;  // EAN's digits; empty for the others (their data is the text)
};

// Code 39 ("code39"), Code 128 ("code128"), EAN-13 ("ean13"), EAN-8 ("ean8"; both EAN names
// take 12 or 13 digits for EAN-13 and 7 or 8 for EAN-8), QR ("qr"). Cached per symbology and
// data, so a sheet of labels encodes each code once.
BarcodeShape EncodeBarcode(const QString &symbology, const QString &data);

// Draws the symbol into `rect` (device pixels) with the human-readable text below it when
// `showText`; data that cannot be encoded draws the text alone.
void PaintBarcode(QPainter &painter, const QRectF &rect, const QString &symbology,
                  const QString &data, bool showText, const QFont &font);
