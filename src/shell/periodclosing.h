#pragma once

// Period closing "数据结算": shrinks an account set to what it holds after a closing date. It
// writes a summary of the documents up to that date into jxc_nj, deletes the documents, lines,
// log entries and ledger rows up to it, and leaves in each running ledger one carried-forward
// row per goods and warehouse, per partner, per invoice account and per cash account, holding
// the balance at that date. All of it runs in one transaction, never while another
// workstation has the set open.

#include "foundation/db/liststatement.h"

#include <QDate>
#include <QHash>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>
#include <vector>

class Clock;
class DataModule;
class Notices;
struct LoginState;

// 31 December of the year of `today` minus twelve months: 2024-03-08 and 2024-01-01 give
// 2023-12-31.
QDate DefaultClosingDate(const QDate &today);

// The bound D of a closing: "yyyy-MM-dd 23:59:00". Every date column is compared with it as
// text (a document at 23:59 of the closing day is included); it is always a bound value.
QString ClosingBound(const QDate &date);

// Whether a summary row of jxc_nj has nj_year at or after `date`.
bool AlreadyClosed(const QSqlDatabase &db, const QDate &date);

// "将删除： " + date + " 及该日期之前的全部数据！": the screen's warning under the date.
QString ClosingWarningText(const QDate &date);

// The refusal while other workstations have the set open (also when PostgreSQL does not grant
// the closing's table lock in time).
QString ClosingRefusalText();

// The summary grid: every jxc_nj row, nj_year descending, then id.
ListStatement ClosingSummaryStatement();
// Deletes one summary row (the grid's current row) by id.
void DeleteClosingSummaryRow(const QSqlDatabase &db, qint64 id);

// One statement of the closing with its bound values (dates and texts).
struct ClosingStatement
{
    QString sql;
    QVariantList binds;
};
using ClosingStatements = std::vector<ClosingStatement>;

// The marker of carried-forward rows in their note and text columns.
inline constexpr const char *kCarriedForwardText = "数据结算结转";

// The closing's statements on one account set. The constructor looks the tables and columns it
// names up in the database's own catalogue (tables such as jxc_fcwxd and jxc_planpd are not
// part of the schema and may be missing): a statement whose table or column is missing is
// skipped, and a summary item whose table or column is missing counts 0. The phases run on
// `db`, each joining an open Transaction or opening its own; RunPeriodClosing runs them all in
// one.
class PeriodClosing
{
public:
    PeriodClosing(const QSqlDatabase &db, const QString &operatorName);

    // Every table the closing inserts into, deletes from or updates, as far as it exists.
    QStringList changedTables() const;

    // 1. The 31 summary items, one jxc_nj row each: nj_jsrq `today`, nj_year `date`.
    void writeSummary(const QDate &date, const QDate &today) const;
    // 2. The documents, their lines, the log and the other dated rows up to D, audited or not.
    void deleteDocuments(const QDate &date) const;
    // 3. The operator's scratch rows, then the carry-forward of the goods, invoice, cash and
    //    partner ledgers.
    void carryForward(const QDate &date) const;
    // 4. The registrations (jxc_ysyfk_dj) and the expenses and income (jxc_yyfy) up to D, then
    //    the summary rows whose quantity and document count are both 0.
    void finish(const QDate &date) const;

    // The statements of the phases, in order: a fixed list whatever the amount of data (no
    // statement per row). carryForward runs ClearOperatorTemp before its statements.
    ClosingStatements summaryStatements(const QDate &date, const QDate &today) const;
    ClosingStatements deletionStatements(const QDate &date) const;
    ClosingStatements carryForwardStatements(const QDate &date) const;
    ClosingStatements finishStatements(const QDate &date) const;

    // Whether `table` exists with every column of `columns` (comma-separated).
    bool has(const QString &table, const QString &columns = QString()) const;

private:
    QSqlDatabase m_db;
    QString m_operator;
    QHash<QString, QStringList> m_columns;  // existing tables named by the closing
};

// The points between the phases of a run (tests act there).
enum class ClosingStep { Summary, Deletion, CarryForward, Finish };

struct ClosingContext
{
    DataModule *data = nullptr;  // the main connection and where the set lives
    LoginState *state = nullptr;
    const Clock *clock = nullptr;
    QString programFolder;       // where the backup before the closing goes
    bool backup = true;          // "结算时备份数据库"
    int lockWaitMs = 5000;        // PostgreSQL: how long the table lock may be waited for
    // Called after the commit, before "结算完成！" shows (the screen reloads its grid).
    std::function<void()> afterCommit;
    // Tests: called inside the transaction before each step, with the connection.
    std::function<void(ClosingStep, const QSqlDatabase &)> beforeStep;
};

enum class ClosingOutcome {
    Done,      // closed and committed; "结算完成！" shown
    Declined,  // No to a question: nothing written
    Refused,   // other sessions on the set: nothing written
    Failed,    // backup or closing failed: the set as before
};

struct ClosingResult
{
    ClosingOutcome outcome = ClosingOutcome::Failed;
    QString text;  // the last message shown
};

// The closing in the screen's order, every message through `notices`:
// 1. Another session on the set: ClosingRefusalText(). Nothing is asked.
// 2. AlreadyClosed: date + "日期已经结算过了，还要重新结算吗？"; No ends.
// 3. "数据结算前将备份数据库。…您确定要进行数据结算吗！"; No ends.
// 4. With `backup`: the backup service writes the set to program folder + set name +
//    "(数据结算)" + "yy_MM_dd_HH_mm_ss" + ".DAT"; "备份成功！备份文件保存在：" + the path, or
//    "备份失败！" + the reason and the closing does not start.
// 5. One Transaction: on PostgreSQL the lock timeout and one LOCK TABLE over changedTables()
//    (not granted in time: the refusal); the presence checked again; then writeSummary,
//    deleteDocuments, carryForward and finish. Any error rolls all of it back and shows
//    "数据结算失败：" + the reason.
// 6. afterCommit, then "结算完成！".
ClosingResult RunPeriodClosing(const ClosingContext &context, const QDate &date, Notices &notices);
