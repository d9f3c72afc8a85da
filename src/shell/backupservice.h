#pragma once

// Backups of the current account set: the file name, the copy, the pruning of old copies and
// the default settings. A backup is always an SQLite database of the account-set schema, so it
// restores on either kind of database: SQLite sets are copied with the online backup API from
// a connection of their own (committed data only), PostgreSQL sets are exported row by row in
// one read-only snapshot. The file is written under a temporary name in the target folder and
// renamed when complete, so a failed backup never leaves a file that looks like one.

#include "foundation/db/connection.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>

class Clock;
struct LoginState;

// What a backup needs: the main connection (settings rows), how to reach the set with a
// connection of its own, the login state and where the program lives.
struct BackupContext
{
    QSqlDatabase db;
    ConnectionSettings settings;
    LoginState *state = nullptr;
    const Clock *clock = nullptr;
    QString programFolder;
};

// <set name> + "yy_MM_dd_HH_mm_ss" + ".DAT".
QString BackupFileName(const QString &accountSetName, const QDateTime &moment);
// Whether `fileName` has the form of a backup of any set (".DAT" in any letter case).
bool IsBackupFileName(const QString &fileName);

// The folder of the default settings: program folder + "数据备份".
QString DefaultBackupFolder(const QString &programFolder);
// A program run from its build or installer folder (path holding "zzinstall", "release" or
// "debug" in any letter case) stores no default settings and makes no default backup.
bool IsBuildFolder(const QString &path);

// Replaces the settings row by the defaults (0, 12, 15, folder + "/", 1) in one transaction.
void StoreDefaultBackupSettings(const QSqlDatabase &db, const QString &folder);

// Writes the account set `accountSetDb` into `targetPath` (replaced when it exists). Raises
// DbError; a failure leaves neither the target nor the temporary file behind.
void WriteBackupFile(const ConnectionSettings &settings, const QString &accountSetDb, const QString &targetPath);

// Deletes the backups of every set in `folder` whose last write lies more than back_days days
// before today at midnight; back_days empty or 0 keeps everything. Returns how many went.
int deleteBackupFiles(const QSqlDatabase &db, const QString &folder, const Clock &clock);

// The backup of the main window (timer, exit): stores the default settings first when no
// backup is set up, then writes the backup into back_path and prunes that folder. Silent:
// failures go to the diagnostic log only. Returns the file written, or the empty text.
QString backupDatabase(const BackupContext &context);

// The automatic-backup timer's interval for `hours`, bounded to 1 … 24 hours.
int BackupTimerInterval(int hours);
