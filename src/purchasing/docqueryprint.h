#pragma once

// Printing from the purchase document query: one document (a receipt through ReceiptPrint with
// its template choice, a return with PurchaseReturnTemplate), every listed document directly
// ("连续打印"), and the three views' lists (jthcxdjb, jthcxhzb, jthmxb with date1 and date2).

#include "engine/printdocument.h"

#include <QSqlDatabase>
#include <QStringList>

class Clock;
class Notices;
struct LoginState;

enum class DocQueryView { Documents, Summary, Lines };

class DocQueryPrint
{
public:
    DocQueryPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock)
        : m_db(db), m_state(state), m_clock(clock) {}

    // "CJ" numbers as receipts, any other as a return.
    PrintJob printDocument(const QString &number, ReportOutput &output, const PrintOptions &options);
    // Asks the full-width continuous-print question; on Yes every number printed directly, no
    // template choice. Returns how many were printed.
    int printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output);
    PrintJob printList(DocQueryView view, ReportOutput &output, const QString &sql, const QVariantList &binds,
                       const QString &date1, const QString &date2);

private:
    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
};
