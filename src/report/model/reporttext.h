#pragma once

// Texts of a template: literals mixed with [name] (variable), [ds.field] (current row in a
// detail band, elsewhere the first row whose value is not empty), [SUM(ds.field)],
// [PAGESUM(ds.field)], [LINE], [PAGE], [PAGES]; "[[" prints "[". Names match without regard to
// letter case; unknown names print empty. QtCore only.

#include "report/model/dataset.h"
#include "report/model/reportvariables.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// Decimals behind the named formats "money" (PriceDecimals), "total" (TotalDecimals) and
// "qty" (QtyDecimals) of the login state.
struct ReportDecimals
{
    int price = 2;
    int total = 2;
    int qty = 2;
};

// Data sets by name (looked up without regard to letter case).
class DataSets
{
public:
    void set(const QString &name, const DataSet &rows);
    const DataSet *find(const QString &name) const;
    QStringList names() const { return m_names; }

private:
    QStringList m_names;
    QHash<QString, DataSet> m_sets;  // lower-case name
};

struct TextContext
{
    const ReportVariables *variables = nullptr;
    const DataSets *dataSets = nullptr;
    ReportDecimals decimals;
    // In a detail band: its data set and row; `line` the ordinal of the row among rows holding
    // data (0 on an all-empty row).
    QString detailSet;
    int row = -1;
    int line = 0;
    // Page being drawn (1-based) and the page count; 0 when not paginated (raw receipts).
    int page = 0;
    int pages = 0;
    // Rows of each data set (lower-case name) that the current page shows, for PAGESUM.
    const QHash<QString, QList<int>> *pageRows = nullptr;
};

// The pattern of a format name: "money", "total", "qty" give "0" with the decimals of the
// settings ("0.00" at 2); any other text is the pattern itself.
QString FormatPattern(const QString &format, const ReportDecimals &decimals);
// A value through a format: numbers through FormatNumber, empty text stays empty, other text
// is printed as it is.
QString ApplyFormat(const QString &value, const QString &format, const ReportDecimals &decimals);

// Evaluates a template text; `format` applies to every substituted value (not to LINE, PAGE
// or PAGES).
QString EvaluateText(const QString &text, const TextContext &context, const QString &format = {});

// The bracketed names a text refers to ("comName", "Q_GoodsPrin.g_name", "SUM(ds.f)" …), for
// checking templates against what their print routine supplies.
QStringList TextNames(const QString &text);
