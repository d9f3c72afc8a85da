#pragma once

// The backup screens' rules: the settings row of jxc_backup, a backup made on the spot (of the
// set in use or of any registered set) and the restore of a set from a backup file.
//
// A restore never copies bytes over a live database and never writes beside the chosen file:
// the file (with a write-ahead log left beside it) is copied byte by byte into a temporary
// file in data/, which alone is opened, verified (an SQLite
// database that passes quick_check, holds every table of the catalogue and a parameter row),
// then swapped in all or nothing (SQLite: the backup API into the set's database, one
// transaction on the destination; PostgreSQL: one transaction that empties every table and
// inserts the file's rows, ids kept). The temporary file is always removed.

#include "foundation/db/clock.h"
#include "foundation/db/connection.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct BackupContext;
struct LoginState;

// The days the settings offer; a stored value not among them shows as "7".
QStringList BackupDaysChoices();

inline constexpr int kBackupPathLength = 200;

// The controls of the backup page.
struct BackupSettingsForm
{
    QString folder;
    bool autoBackup = false;
    int hours = 1;
    QString days = QStringLiteral("7");
    bool onExit = false;
};

// The stored settings (defaults when there is no row): days "7" unless the stored value is
// one of the choices, hours bounded to 1 … 24.
BackupSettingsForm ReadBackupSettings(const QSqlDatabase &db);

// The outcome of a backup or restore command: the text to show and whether it succeeded.
struct BackupOutcome
{
    bool ok = false;
    QString text;   // "备份完成！", "恢复完成！" or the refusal / failure
    QString file;   // the backup written
    bool settingsStored = false;
};

// "确定" on the backup page: refuses an empty folder and one of more than 200 characters;
// stores the settings row (delete and insert in one transaction) and the login state's
// BackupAuto / BackupOnExit / BackupHours; refuses a missing folder; writes the backup of the
// set in use named after its display name; prunes that folder. The caller starts or stops the
// automatic-backup timer when settingsStored is true.
BackupOutcome BackupFromSettings(const BackupContext &context, const BackupSettingsForm &form);

// A backup of the set `dbname` named after `setName` into `folder`: no settings, no pruning.
BackupOutcome BackupAccountSetTo(const ConnectionSettings &settings, const Clock &clock, const QString &dbname,
                                 const QString &setName, const QString &folder);

// Restores the set `dbname` from `file` (see above). "恢复完成！" on success, "所选文件不是本系统的
// 帐套备份文件，不能恢复！" for a file that fails the verification, "恢复失败！" + the reason when the
// swap fails (the set stays as it was).
BackupOutcome RestoreAccountSet(const ConnectionSettings &settings, const QString &dbname, const QString &file);

// The restore of the set in use: RestoreAccountSet, then UpgradeSchema and LoadSysParams on the
// main connection.
BackupOutcome RestoreSetInUse(const BackupContext &context, const QString &file);

// Whether the SQLite file `path` is a backup of an account set (the verification above).
bool IsAccountSetBackup(const QString &path);
