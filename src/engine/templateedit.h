#pragma once

// What the template editor (报表设计) does besides showing: the page check before a save, the
// atomic save that keeps the previous file as <file>.bak, the shipped copy for "恢复默认", and
// the plain-line form in which it edits a receipt's raw layout. QtCore only.

#include "report/model/reporttemplate.h"

#include <QString>

// Where the template of a stored name lives (report/<stem>.json of `folder`, the program's
// report/ when empty), whether it exists or not; "" for a name with a path.
QString TemplatePathFor(const QString &name, const QString &folder = {});

// The first item outside the page or with a negative size: its band (index into bands) and
// its ordinal within the band, 1-based. An item must lie inside its band's height and the
// printable width (a label column's width when the band has several columns).
struct TemplateCheck
{
    int band = -1;
    int item = 0;  // 0: every item fits
    bool ok() const { return item == 0; }
    // "第 n 项超出页面范围，请修改！"
    QString text() const;
};
TemplateCheck CheckTemplateItems(const ReportTemplate &report);

// Writes the template to `path` atomically: the previous file, when there is one, is copied to
// "<path>.bak" first, then the new text replaces it in one rename. False with the reason when
// nothing was written.
bool SaveTemplateFile(const QString &path, const ReportTemplate &report, QString *error = nullptr);

// The shipped copy of a template (compiled into the program); false when there is none.
bool ShippedTemplate(const QString &name, ReportTemplate &out);

// A new empty template for a name that has no file yet: A4, 10 mm margins, no bands.
ReportTemplate EmptyTemplate(const QString &name);

// ---- Raw receipt layout as plain lines ----
// One text line per printed line; cells separated by "|"; a cell is "<spec>:<text>" where the
// spec is an optional width in display columns, an optional alignment letter L, C or R and an
// optional "@" + format ("16L:[Q_GoodsPrin.g_name]|6R:[Q_GoodsPrin.pos_sl]|10R@0.00:[…]");
// a cell without a valid spec is all text, left-aligned, taking the rest of the line. A line
// beginning with "?" + an expression + a space is left out when the expression is empty
// ("?[zlje] 10L:找零：|0R:[zlje]"). An empty text line is an empty printed line.
QString RawLinesText(const QList<RawLine> &lines);
QList<RawLine> ParseRawLines(const QString &text);
