#pragma once

// Master codes and document numbers.
//
// A master code is a text of decimal digits: "100001" for the first row of a table, then the
// largest existing code plus one. A document number is a two-letter prefix, the document date
// as "yyMMdd" and a daily serial from 10001 upwards: CJ23030510001. Numbers are computed from
// what the tables hold at the moment of the call and are not reserved; the document screens
// test them again with DjhUsedByOther when they save.
//
// Largest codes and serials are taken on the number, not the text, so a day past serial 99999
// goes on with 100000, 100001 … and never hands out the same number twice. Codes or serials
// that are not made of digits are not counted.
//
// Table and column names are checked against the table catalogue (std::invalid_argument for a
// name it does not know); values are bound. Database errors raise DbError.

#include <QSqlDatabase>
#include <QString>

#include <vector>

class Clock;
struct LoginState;

// One document-number prefix and the tables that hold its numbers (column gl_djh).
struct DocNumberPrefix
{
    const char *prefix;
    const char *document;     // what the number names
    const char *headerTable;  // the table the document screens pass
    const char *linesTable;   // the lines table, or nullptr
};

// The 38 prefixes that are numbered (ZS numbers jxc_zsd, which arrives with the POS gifts).
const std::vector<DocNumberPrefix> &DocNumberPrefixes();

// The next master code of `table`.`column`.
QString GetNewSn(const QSqlDatabase &db, const QString &table, const QString &column);

// The same on the account-set register (jxc_xtzt).
QString GetNewSnZT(const QSqlDatabase &registerDb, const QString &table, const QString &column);

// The next number of `prefix` for today.
QString GetNewDjh(const QSqlDatabase &db, const Clock &clock, const QString &table,
                  const QString &column, const QString &prefix);

// The next number of `prefix` for the date in the first ten characters of `dateText`
// ("yyyy-MM-dd", a time may follow). Sales ("XS") count the POS lines and the staged sales
// lines too; "YS", "SK", "YF" and "FK" count jxc_ysyfk_dj too. A date that cannot be read
// raises std::invalid_argument.
QString GetNewDjhByDate(const QSqlDatabase &db, const QString &table, const QString &column,
                        const QString &prefix, const QString &dateText);

// Whether `number` is already taken by another operator than state.CurrentOperatorName (or,
// for a sale number, by the POS lines or the staged sales lines, whoever wrote them).
bool DjhUsedByOther(const QSqlDatabase &db, const LoginState &state, const QString &table,
                    const QString &column, const QString &number);

// The smallest id of a row whose `column` equals `value`; the empty text when there is none.
QString GetFirstId(const QSqlDatabase &db, const QString &table, const QString &column,
                   const QVariant &value);

// Whether a row has `column` equal to `value`.
bool FieldValueExists(const QSqlDatabase &db, const QString &table, const QString &column,
                      const QVariant &value);
