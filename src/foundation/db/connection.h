#pragma once

#include "foundation/db/dialect.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

#include <functional>

// Where the account sets live. Without data/database.ini (or with driver=sqlite) every account
// set is an SQLite file in data/; with driver=postgres each is a database on the server.
//
// data/database.ini:
//   [database]
//   driver=postgres
//   host=127.0.0.1        (or a socket folder such as /var/run/postgresql)
//   port=5432
//   user=jxc
//   password=secret
//   prefix=shop1_         (optional, put before every database name)
struct ConnectionSettings
{
    DbKind kind = DbKind::Sqlite;
    QString dataFolder;  // the data/ folder of the program (SQLite files)
    QString host;
    int port = 5432;
    QString user;
    QString password;
    QString prefix;

    static ConnectionSettings load(const QString &dataFolder);
};

// The account-set "file" names of the system ("jxc.db", "jxc_100002.db", "codeinfo.db") map to
// a database: on SQLite the file in the data folder, on PostgreSQL prefix + stem, the register
// being "jxc_codeinfo".
QString DatabaseTarget(const ConnectionSettings &settings, const QString &fileName);

// Opens (without creating anything on PostgreSQL) the account set `fileName` under the given
// connection name, replacing a connection of that name. Raises DbError with a Chinese message.
QSqlDatabase OpenConnection(const ConnectionSettings &settings, const QString &fileName,
                            const QString &connectionName);
void CloseConnection(const QString &connectionName);

bool DatabaseExists(const ConnectionSettings &settings, const QString &fileName);
// Creates an empty database (PostgreSQL: C collation, UTF-8; SQLite: an empty file).
void CreateEmptyDatabase(const ConnectionSettings &settings, const QString &fileName);
void DropDatabase(const ConnectionSettings &settings, const QString &fileName);
// Creates `toFile` as a copy of `fromFile` (PostgreSQL: CREATE DATABASE … TEMPLATE, which needs
// no open connection on the source; SQLite: the online backup API).
void CopyDatabase(const ConnectionSettings &settings, const QString &fromFile, const QString &toFile);

// Runs `work` on a connection of its own to the set `fileName`, closed again afterwards (also
// when `work` throws).
void WithConnection(const ConnectionSettings &settings, const QString &fileName,
                    const std::function<void(const QSqlDatabase &)> &work);

// PostgreSQL: the server's databases whose names start with the settings' prefix + `start`, as
// the file names the routines above take ("newset_1a2b.db"). SQLite: none.
QStringList ServerDatabaseFiles(const ConnectionSettings &settings, const QString &start);

// SQLite online backup of an open connection into a file (replaced when it exists).
void SqliteBackupToFile(const QSqlDatabase &db, const QString &filePath);
