#pragma once

// A print template: one JSON file per template in report/ beside the program, also compiled in
// as a resource (":/report/<stem>.json") so that the editor can restore the shipped one.
// The format is described in docs/REPORT_TEMPLATES.md. QtCore only: the print rules read the
// declared variables, the renderer (report/report.h) draws the bands.

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// Page in millimetres.
struct PageSetup
{
    QString size = QStringLiteral("A4");  // A4, A5L, 241x280, 241x140, 241x93, roll58, roll80, custom
    double width = 210;                   // resolved paper size (orientation applied)
    double height = 297;                  // 0 on rolls: the height follows the content
    bool landscape = false;
    double left = 10, top = 10, right = 10, bottom = 10;

    bool isRoll() const { return height <= 0; }
};

enum class BandKind { PageHeader, Header, Detail, Footer, PageFooter };
enum class ItemKind { Text, Line, Box, Barcode, Image };
enum class TextFit { Clip, Shrink, Wrap };

struct ReportItem
{
    ItemKind kind = ItemKind::Text;
    double x = 0, y = 0, w = 0, h = 0;  // mm from the band's top-left corner
    QString text;                        // text; barcode data; image file under report/images/
    QString fontFamily;                  // empty: the template's
    double fontSize = 0;                 // points; 0: the template's
    bool bold = false;
    QString align = QStringLiteral("left");  // left, center, right
    QString valign = QStringLiteral("middle");  // top, middle, bottom
    QString border;                      // any of "L", "T", "R", "B"; "LTRB" a full box
    TextFit fit = TextFit::Clip;
    QString format;                      // money, total, qty or a pattern ("#,0.00")
    double lineWidth = 0.2;              // mm, lines, boxes and borders
    QString symbology;                   // code39, code128, ean13, ean8, qr
    bool showText = true;                // barcode: human-readable text below the bars
    QString dropIfEmpty;                 // an expression; the item is not drawn when it is empty
};

struct ReportBand
{
    BandKind kind = BandKind::Detail;
    double height = 0;           // mm
    bool firstPageOnly = false;  // document header: only on the first page
    QString dataSet;             // detail: the data set whose rows it repeats for
    int columns = 1;             // detail: labels across the page, filled across then down
    double columnWidth = 0;      // mm per column
    QList<ReportItem> items;
};

// Text layout for raw printing on a receipt printer (ESC/POS).
struct RawCell
{
    int width = 0;  // display columns; 0: the rest of the line
    QString align = QStringLiteral("left");
    QString text;
    QString format;
};

struct RawLine
{
    QList<RawCell> cells;
    QString dropIfEmpty;  // a [name] or [ds.field] expression; the line is left out when empty
};

struct RawLayout
{
    bool present = false;
    int columns = 32;  // 32 on 58 mm paper, 48 on 80 mm
    QString dataSet = QStringLiteral("Q_GoodsPrin");
    QList<RawLine> header, detail, footer;
    int feed = 0;      // empty lines after the footer
    bool cut = false;  // paper cut at the end
};

struct ReportTemplate
{
    QString name;   // the stem: "cgjh2"
    QString title;  // what it prints, for the catalogue and the editor
    QString kind = QStringLiteral("document");  // document, label, receipt: chooses the printer
    PageSetup page;
    QString fontFamily;  // empty: the system's print font
    double fontSize = 9;
    QList<std::pair<QString, QString>> variables;  // declared, with default values
    QList<ReportBand> bands;
    RawLayout raw;
};

// Applies the fixed size of page.size (and the orientation) to width and height; "custom"
// keeps the given ones. False for an unknown size.
bool ResolvePageSize(PageSetup &page);

// Reads a template; false with a reason on malformed JSON or an unknown page size or kind.
bool ParseTemplate(const QByteArray &json, ReportTemplate &out, QString *error = nullptr);
// Writes it back in the same format (the editor saves through this).
QByteArray WriteTemplate(const ReportTemplate &report);

// ---- Names ----

// The file stem of a stored or computed template name: a final ".fr3" or ".json" (any letter
// case) dropped. Empty when the name holds "/", "\" or "..": such a name never reaches the
// file system.
QString TemplateStem(const QString &name);
// report/ of the program folder.
QString TemplateFolder();
// The existing file for a name in `folder` (TemplateFolder() when empty): <stem>.json, else the
// lower-case stem. Empty when refused or missing.
QString TemplateFile(const QString &name, const QString &folder = {});
// The shipped copy compiled into the program (":/report/<stem>.json"); empty when none.
QString BuiltInTemplateFile(const QString &name);
// The notice for a template that cannot be loaded: "打印模板不存在：report/<name>.json".
QString MissingTemplateNotice(const QString &name);

// Loads a template by name from `folder` (TemplateFolder() when empty), or the compiled-in copy
// when the folder lacks it; false (and `out` empty) when refused, missing in both or malformed.
bool LoadTemplate(const QString &name, ReportTemplate &out, const QString &folder = {});
