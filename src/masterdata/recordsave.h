#pragma once

// What the rules of the partner, warehouse, employee, department, type and region records
// share: the result of a save, the stored form of typed text, the case-blind name test, the
// comma lists of salesmen and operators, and the rerun of a save whose new code another
// workstation took meanwhile. QtCore + QtSql.

#include "masterdata/goodsrules.h"

#include "foundation/keyedlists.h"

class Notices;

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>
#include <tuple>
#include <vector>

struct RecordSaveResult
{
    SaveStatus status = SaveStatus::Refused;
    QString code;  // the record's code (the new one after an add)

    bool saved() const { return status == SaveStatus::Saved; }
    static RecordSaveResult refused() { return {}; }
    static RecordSaveResult declined() { return {SaveStatus::Declined, {}}; }
    static RecordSaveResult failed() { return {SaveStatus::Failed, {}}; }
    static RecordSaveResult savedAs(const QString &code) { return {SaveStatus::Saved, code}; }
};

// How a column keeps typed text: without control characters and trimmed, then as typed, through
// SafeText or through SafeTextKeepMath, then cut to the column's declared width.
enum class TextForm { AsTyped, Safe, KeepMath };
QString StoredText(const QString &table, const QString &column, const QString &typed, TextForm form);

// The first row of a select, columns by lower-case name, values as texts (numbers in the
// canonical number text); empty when there is none.
QVariantMap RecordMap(const QSqlDatabase &db, const QString &sql, const QVariantList &binds);

// Sets the flag `column` of the row `id` (禁用 of a list's menu); a database error is shown after
// `failedText`. True when written.
bool WriteFlag(const QSqlDatabase &db, Notices &notices, const QString &failedText, const QString &table,
               const QString &column, qint64 id, bool on);

// Whether a row other than `exceptId` has `column` equal to `name`, letter case ignored.
bool NameTaken(const QSqlDatabase &db, const QString &table, const QString &column, const QString &name,
               qint64 exceptId = 0);

// "张三,李四," from the entries in order.
QString CommaList(const QStringList &entries);
// The entries of a stored comma list, empty ones dropped.
QStringList CommaEntries(const QString &list);

// Which of `children` (text, key) a stored list ticks: every child whose name the name list or
// whose code the code list holds, in any order.
QList<bool> TickedChildren(const KeyedItems &children, const QString &storedNames, const QString &storedCodes);

// The codes one attempt of a save drew from GetNewSn, so that a failure caused by another
// workstation storing the same code meanwhile can be told from any other failure.
class CodeDraws
{
public:
    explicit CodeDraws(const QSqlDatabase &db) : m_db(db) {}
    // The next code of table.column, remembered.
    QString draw(const QString &table, const QString &column);
    // Remembers the next code of table.column without drawing it (a routine below draws it).
    void note(const QString &table, const QString &column);
    // Whether any remembered next code has moved on since (read after the rollback).
    bool moved() const;

private:
    QSqlDatabase m_db;
    std::vector<std::tuple<QString, QString, QString>> m_seen;
};

// Runs `attempt`, one whole transaction; when it fails and a code it drew was taken meanwhile,
// runs it once more with fresh codes, unseen by the operator. Any other failure, and a second
// one, raise the DbError.
void RunWithFreshCodes(const QSqlDatabase &db, const std::function<void(CodeDraws &)> &attempt);
