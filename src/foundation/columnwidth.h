#pragma once

// Texts held to their column's width, the same way on both kinds of database. The widths are
// those of the table catalogue (varchar(n) and nvarchar(n) hold n characters): SQLite would
// store a text of any length and PostgreSQL would refuse it with its own message, so a rule
// checks typed values before it writes (and refuses with its own Chinese text) or cuts the
// values that are cut by design (names copied into ledgers, short codes).

#include <QString>

#include <initializer_list>

// Width of a text column in characters; 0 for a column without one (text, numbers) and for a
// table or column the catalogue does not know. The register jxc_xtzt is known too.
int ColumnWidth(const QString &table, const QString &column);

// The length of a text as the database counts it: a character outside the BMP counts once.
int TextLength(const QString &text);

// The text cut to the column's width (unchanged for a column without one): for the values
// that are cut by design, so that they never fail a save on PostgreSQL.
QString CutToColumn(const QString &table, const QString &column, const QString &text);

// "<label>的长度不能超过<n>个字符！" when the text is longer than the column, else empty.
QString TooLongRefusal(const QString &label, const QString &text, const QString &table,
                       const QString &column);

// One typed value to check: what the user calls it, the value as it will be stored, where.
struct WidthCheck
{
    const char *label;  // UTF-8, e.g. "商品编号"
    QString text;
    const char *table;
    const char *column;
};

// The refusal of the first value that is too long, in the order given; empty when all fit.
QString FirstTooLong(std::initializer_list<WidthCheck> checks);
