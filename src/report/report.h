#pragma once

// The renderer of our print templates. Load a template (a missing or refused name gives an
// empty report, remembered for the output's notice), set variables and data sets, choose rows
// per page, lay out once, then paint the same pages on the preview, a printer or a PDF.
// Receipt templates also give their raw ESC/POS bytes.

#include "report/model/dataset.h"
#include "report/model/reportoutput.h"
#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"
#include "report/model/reportvariables.h"
#include "report/reportfont.h"

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QPainter;
class QPrinter;

class Report
{
public:
    Report() = default;
    // The job's template, variables (replacing the declared ones), data sets and rows per page.
    explicit Report(const PrintJob &job);

    // Replaces the template and the variables with the template's declared ones; false (empty
    // report) when the name is refused, the file missing or malformed.
    bool load(const QString &name, const QString &folder = {});
    // A template held in memory (the editor's live preview).
    void setTemplate(const ReportTemplate &report, const QString &folder = {});

    bool isEmpty() const { return !m_loaded; }
    const QString &templateName() const { return m_name; }
    // "打印模板不存在：report/<name>.json" for an empty report, else empty.
    QString missingNotice() const;
    const ReportTemplate &reportTemplate() const { return m_template; }

    ReportVariables &variables() { m_prepared = false; return m_variables; }
    const ReportVariables &variables() const { return m_variables; }
    void setVariable(const QString &name, const QString &value);
    void clearVariables();
    void setDataSet(const QString &name, const DataSet &rows);
    const DataSets &dataSets() const { return m_dataSets; }
    void setRowsPerPage(int rows);
    void setDecimals(const ReportDecimals &decimals);

    // Lays the pages out (once until something changes); returns the page count.
    int prepare();
    int pageCount();
    // Paper size in mm of the laid-out report (a roll's height follows the content).
    QSizeF pageSizeMm();
    // Paints one page; the painter's origin is the paper's top-left corner.
    void paintPage(QPainter &painter, int page);
    // Sets the printer's paper to the template's (full page, no printer margins).
    void setupPrinter(QPrinter &printer);
    // Paints every page on the printer; false when the printer cannot be opened.
    bool render(QPrinter &printer);
    bool writePdf(const QString &file);

    // "document", "label" or "receipt": which printer of the settings takes it.
    QString kind() const { return m_template.kind; }
    bool hasRawLayout() const { return m_loaded && m_template.raw.present; }
    QStringList rawLines() const;
    QByteArray rawBytes() const;

private:
    struct Placed
    {
        int band = 0;
        double x = 0, y = 0;  // mm, band's top-left
        int row = -1;
        int line = 0;
        // Growth of the band for texts that wrap onto more lines than their cells hold: items
        // reaching down to `growFrom` (mm from the band's top) stretch, items below it move.
        double extra = 0;
        double growFrom = 0;
    };
    struct Page
    {
        QList<Placed> bands;
        QHash<QString, QList<int>> rows;  // lower-case data set -> rows shown on the page
    };

    void layout();
    // How far a band must grow for the texts it shows in `context`.
    void measureGrowth(const ReportBand &band, const TextContext &context, Placed &placed) const;
    // A text item as drawn: evaluated, made drawable and fitted into its cell `height` mm high;
    // no lines when it is empty. `font` receives the item's font at its own size.
    FittedText fitItemText(const ReportItem &item, const TextContext &context, double height, bool mayGrow,
                           QFont &font) const;
    void drawText(QPainter &painter, const QRectF &rect, int flags, const QString &text);
    void paintBand(QPainter &painter, const Placed &placed, const TextContext &context, double pxX,
                   double pxY);

    QString m_name;
    QString m_folder;
    bool m_loaded = false;
    ReportTemplate m_template;
    ReportVariables m_variables;
    DataSets m_dataSets;
    ReportDecimals m_decimals;
    int m_rowsPerPage = 0;
    bool m_prepared = false;
    QList<Page> m_pages;
    double m_pageHeight = 0;
    QStringList *m_drawn = nullptr;  // while a PDF is written: every text drawn, in order
};
