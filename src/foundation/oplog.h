#pragma once

// The operation log and the per-employee document counters.

#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// Longest sentence the log keeps, in characters.
inline constexpr int kLogNoteLength = 200;

// Appends one row to jxc_log: log_time "yyyy-MM-dd HH:mm:ss" from the clock, a_name the
// current operator, log_note the sentence cut to its first 200 characters. Raises DbError;
// a failure leaves no row.
void WriteLog(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
              const QString &sentence);

// u_cgpl / u_xspl of the employee `employeeSn` in jxc_user go up by one (an empty count
// counts as 0).
void IncUserPurchaseCount(const QSqlDatabase &db, const QString &employeeSn);
void IncUserSalesCount(const QSqlDatabase &db, const QString &employeeSn);

// The first `length` characters of `text`, never splitting a character that needs two
// UTF-16 units.
QString LeftCharacters(const QString &text, int length);
