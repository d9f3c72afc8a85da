#pragma once

// The line query of a stored document for printing (data set Q_GoodsPrin), with the page
// filling of pre-printed purchase receipts and sales, and the log row of every print.

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

class Clock;
struct LoginState;

struct PrintLinesQuery
{
    QString sql;          // empty: the code has no line query (JG, WF, WS, WT, unknown codes)
    QVariantList binds;
    int rowsPerPage = 0;  // N when the lines were filled up to whole pages of N rows, else 0

    bool isEmpty() const { return sql.isEmpty(); }
};

// The statement listing the lines of document `number` for code `code` (compared exactly):
// "CJ", "CT", "XS", "XT", "XH", "CD", "XD", "DB", "BS", "BY", "CF", "KB", "PD", "khjh",
// "SC"/"ST", "LY"/"LT". "CJ", "XS", "CD" and "XD" follow PrintLineOrder ("0" entry order, "1"
// goods code, "2" goods name; any other value entry order as well); "PD" lists the newest line
// first; the others are in entry order.
//
// Page filling ("CJ" with PurchaseRowsPerPage, "XS" with SalesRowsPerPage, on when the text is
// a whole number above 0): the operator's scratch rows are rewritten in one transaction
// (ClearOperatorTemp, one row per line of the number in entry order, blank rows up to a whole
// multiple of N) and the statement lists them left-joined to the lines: a line the filter
// leaves out (no goods code, discount rate 0) and a blank row both print as an all-empty row,
// and blank rows sort first under the goods code and goods name orders on both databases.
//
// Writes one log row per call with the kind of document printed ("打印采购进货单" …; an
// unknown code logs an empty note). Database errors raise DbError.
PrintLinesQuery GetPrintLinesSql(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                 const QString &number, const QString &code);

// The log note of a line-query code ("" for an unknown code).
QString PrintLogNote(const QString &code);
