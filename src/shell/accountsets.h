#pragma once

// The account-set register (jxc_xtzt on the register connection) and the sets it names:
// create (build first, register last), modify, delete (data first, row last) and the default
// set. A set's zt_dbname ("jxc.db", "jxc_<code>.db") is mapped by the database layer to the
// file under data/ or to the PostgreSQL database, so one register reads the same on both.

#include "foundation/db/liststatement.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"

#include <QSqlDatabase>
#include <QString>

inline constexpr const char *kBuiltInAccountSet = "100001";

struct AccountSetInput
{
    QString name;  // as typed
    QString note;  // as typed
    bool isDefault = false;
    bool forbidden = false;
};

struct AccountSetResult
{
    QString refusal;  // "系统提示" text; empty when done
    QString sn;
    bool ok() const { return refusal.isEmpty(); }
};

// The database name of a new set: "jxc_" + code + ".db".
QString AccountSetDbName(const QString &sn);

// Builds the set with every table and its default rows, then registers it in one register
// transaction. A failure removes what was built, writes no row and returns
// "建立帐套失败！" + the reason. The main connection is not touched.
AccountSetResult CreateAccountSet(const ConnectionSettings &settings, const QSqlDatabase &registerDb,
                                  const Clock &clock, const AccountSetInput &input);

struct AccountSetRow
{
    qint64 id = 0;
    QString sn, name, note, dbname;
    bool isDefault = false;
    bool forbidden = false;
};
AccountSetRow ReadAccountSet(const QSqlDatabase &registerDb, qint64 id);

// Edits the row `id` (the built-in set is never forbidden); a default choice clears every
// other row's flag; then a default set is ensured.
AccountSetResult ModifyAccountSet(const QSqlDatabase &registerDb, qint64 id, const AccountSetInput &input);

// Why the set may not be deleted (default, built-in, in use), or the empty text.
QString AccountSetDeleteRefusal(const AccountSetRow &row, const QString &dbInUse);

// Removes the set's data (SQLite: the file with -wal/-shm; PostgreSQL: DROP DATABASE), then the
// row, then ensures a default set. When the data cannot be removed the row stays and the text
// "帐套数据删除失败，该帐套可能正在被使用！" comes back.
QString DeleteAccountSet(const ConnectionSettings &settings, const QSqlDatabase &registerDb, const AccountSetRow &row);

// When no row is the default, "100001" becomes it.
void EnsureDefaultAccountSet(const QSqlDatabase &registerDb);

// "该帐套为当前正在使用帐套，…" for the set in use, else empty (restore from the manager).
QString AccountSetRestoreRefusal(const AccountSetRow &row, const QString &dbInUse);

// The account-set manager's list: every registered set by id.
ListStatement AccountSetListStatement();
