#pragma once

#include <QColor>
#include <QList>
#include <QPair>
#include <QString>
#include <QVariant>

// What a grid column shows. Columns are addressed by field name everywhere; a position is only
// ever the grid's business.
enum class ColumnKind {
    Text,      // shown as stored; "00000000" stays text
    Money,     // number with the money format
    Quantity,  // number with the quantity format
    Number,    // number with `decimals`
    Integer,   // whole number
    DateText,  // "yyyy-MM-dd[ HH:mm]" as stored
    Check,     // 0/1 painted as a check box
    Icon,      // small whole number painted as one of the column's icons (import status 0/1/2)
};

enum class FooterKind {
    None,
    Sum,        // sum over every row of the filtered result
    Count,      // number of rows of the filtered result
    Text,       // fixed text ("合计：")
    TextCount,  // text followed by the count ("记录数：5")
    Supplied,   // text the screen computes at every recompute
};

struct GridColumn
{
    QString field;
    QString caption;
    int width = 80;
    ColumnKind kind = ColumnKind::Text;
    QString format;        // display format of number kinds ("#0.00;-#.00"); empty: plain number
    int decimals = 2;      // decimals an editor of a number column accepts
    bool visible = true;   // designed visibility; a layout may change it
    bool gated = false;    // set by the screen from rights and parameters: never shown
    bool editable = false;
    bool focusable = true; // false: Enter skips it while moving to the next editable cell
    QString sortExpression;  // SQL expression the database sorts by; empty: the field
    QString hint;
    QString band;          // caption of the band above it (banded grids)
    QList<QPair<QString, QString>> lookup;  // look-up editor: (text, key) per item

    bool isNumber() const
    {
        return kind == ColumnKind::Money || kind == ColumnKind::Quantity
               || kind == ColumnKind::Number || kind == ColumnKind::Integer;
    }
};

// A value read from a row as the column's kind says, whatever the driver delivered:
// numbers as double (Integer as qlonglong), checks as bool, text as text (numbers in
// the canonical number text).
QVariant TypedValue(const QVariant &raw, ColumnKind kind);
