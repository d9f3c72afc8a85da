#pragma once

// Raw printing of a receipt template on an ESC/POS printer: the template's text layout laid out
// in display columns (wide and full-width characters count 2), encoded in GB18030.
// QtCore only.

#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// Display columns of a character (2 for East Asian wide and full-width ones) and of a text.
int DisplayWidth(char32_t ucs4);
int DisplayWidth(const QString &text);

// The text cut on whole characters to `width` columns and padded with spaces by alignment
// ("left", "center" (left pad = floor), "right").
QString FitCell(const QString &text, int width, const QString &align);

// The text with every control character (C0, DEL, C1) as a space: nothing a goods name holds
// can reach the printer as a command.
QString RawPrintableText(const QString &text);

// The text in pieces of at most `width` columns, cut on whole characters (one piece at least).
QStringList SplitCell(const QString &text, int width);

// The lines of the text layout: header once, detail per row of the layout's data set holding
// data, footer once; a line whose dropIfEmpty expression is empty is left out; trailing
// spaces are dropped. A cell's text longer than its width goes on in the same columns of the
// following lines (the other cells empty there); control characters print as spaces. Empty
// when the template has no text layout.
QStringList RawReceiptLines(const ReportTemplate &report, const ReportVariables &variables,
                            const DataSets &dataSets, const ReportDecimals &decimals);

// ESC @, FS & (Chinese mode), each line (control characters as spaces) in GB18030 followed by
// LF, `feed` more LFs, GS V 1 when `cut`.
QByteArray EscPosBytes(const QStringList &lines, int feed, bool cut);
