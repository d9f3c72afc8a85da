#pragma once

// Small pieces shared by the postings and cancels: reading one row as texts, inserting a row
// with its texts cut to the column widths, and the default records the postings fall back on.

#include "foundation/columnwidth.h"  // CutToColumn

#include <QHash>
#include <QPair>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

#include <vector>

struct LoginState;

namespace postingsupport {

// One row read as texts, keyed by the lower-case column name; numbers in the canonical number
// text, NULL as the empty text. Empty when the query gives no row.
using RowTexts = QHash<QString, QString>;
RowTexts ReadFirstRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});
QVector<RowTexts> ReadRows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {});

// A number read from a row text; the empty text counts as 0.
double Num(const RowTexts &row, const QString &column);

// The foundation's cut to a column's width (the catalogue's widths, one place).
using ::CutToColumn;
// "substr(<expr>, 1, <width>)" for a text column with a width, else `expr`: for insert-selects.
QString CutSql(const QString &table, const QString &column, const QString &expr);

// Inserts one row; text values are cut to their column widths. Returns the new id.
using ColumnValues = QVector<QPair<QString, QVariant>>;
qint64 InsertRow(const QSqlDatabase &db, const QString &table, const ColumnValues &values);

// The default warehouse (ck_default set, first by id; else the first warehouse). The default
// supplier is the foundation's GetDefaultSupplierSn.
QString DefaultWarehouseSn(const QSqlDatabase &db);
QString DefaultWarehouseName(const QSqlDatabase &db);

// "case when coalesce(den, 0) = 0 then num else num / den end": a zero or NULL divisor (a
// unit factor, a quantity) leaves the numerator as it is instead of failing on PostgreSQL.
QString GuardedDivSql(const QString &num, const QString &den);

// Settlement kind "0" (按实付款结算): the amount owed becomes the amount paid.
bool SettlesByPayment(const QString &jsfsText);

} // namespace postingsupport
