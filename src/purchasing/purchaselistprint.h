#pragma once

// Printing from the purchase documents' list pages, for the kind the description names: the
// pending list ("打印"), every pending document printed directly ("连续打印"), and the three
// query views ("打印"). List prints go through PrintListReport (company variables, preview);
// the rows are the statement a grid shows.

#include "engine/printdocument.h"
#include "purchasing/purchaselistdoc.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct LoginState;

enum class PurchaseQueryView { Documents, Summary, Details };

class PurchaseListPrint
{
public:
    PurchaseListPrint(const QSqlDatabase &db, LoginState &state, const Clock &clock, const PurchaseListDoc &doc);

    // The pending list: its template and data set (cgjhdsh), no variables of its own.
    PrintJob printPending(ReportOutput &output, const QString &sql, const QVariantList &binds);

    // A query view: 单据表 (cgjhdjb, bTitle, date1, date2), 汇总表 (cgjhhzb) and 明细表 (cgjhmxb)
    // with date1 and date2 ("yyyy-MM-dd").
    PrintJob printQuery(PurchaseQueryView view, ReportOutput &output, const QString &sql, const QVariantList &binds,
                        const QString &date1, const QString &date2);

    // "连续打印": nothing without numbers; asks "您的操作将打印当前查询中的所有单据，…确认打印吗?"
    // once, then prints every stored document directly, in order, with the kind's template and
    // no choice dialog. Returns how many were printed.
    int printContinuously(Notices &notices, const QStringList &numbers, ReportOutput &output,
                          const QString &question);

private:
    QSqlDatabase m_db;
    LoginState &m_state;
    const Clock &m_clock;
    PurchaseListDoc m_doc;
};

