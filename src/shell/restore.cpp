#include "shell/restore.h"

#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/statistics.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/schema/catalog.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/backupservice.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QUuid>

#include <sqlite3.h>

namespace {

const QString kNotABackup = QStringLiteral("所选文件不是本系统的帐套备份文件，不能恢复！");

void removeSqliteFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

QString folderWithSlash(QString folder)
{
    folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

// Copies the SQLite database `from` into `to` with the online backup API: the source opened
// read-only, the destination changed in one transaction (it waits for other writers).
// Returns the empty text or the reason of the failure.
QString sqliteCopy(const QString &from, const QString &to, bool destinationMustExist)
{
    sqlite3 *source = nullptr;
    sqlite3 *dest = nullptr;
    QString error;
    int rc = sqlite3_open_v2(QFile::encodeName(from).constData(), &source, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) {
        error = QString::fromUtf8(sqlite3_errmsg(source));
    } else {
        const int flags = SQLITE_OPEN_READWRITE | (destinationMustExist ? 0 : SQLITE_OPEN_CREATE);
        rc = sqlite3_open_v2(QFile::encodeName(to).constData(), &dest, flags, nullptr);
        if (rc != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(dest));
        } else {
            sqlite3_busy_timeout(dest, 10000);
            sqlite3_busy_timeout(source, 10000);
            sqlite3_backup *backup = sqlite3_backup_init(dest, "main", source, "main");
            if (!backup) {
                error = QString::fromUtf8(sqlite3_errmsg(dest));
            } else {
                int step = SQLITE_OK;
                for (int tries = 0; tries < 200; ++tries) {
                    step = sqlite3_backup_step(backup, -1);
                    if (step != SQLITE_BUSY && step != SQLITE_LOCKED)
                        break;
                    QThread::msleep(50);
                }
                sqlite3_backup_finish(backup);
                if (step != SQLITE_DONE)
                    error = QString::fromUtf8(sqlite3_errstr(step));
            }
        }
    }
    if (dest)
        sqlite3_close(dest);
    if (source)
        sqlite3_close(source);
    return error;
}

// Opens an SQLite file on a connection of its own for the scope.
class SqliteFile
{
public:
    explicit SqliteFile(const QString &path)
        : m_name(QStringLiteral("jxc_restore_") + QUuid::createUuid().toString(QUuid::Id128))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        m_open = db.open();
    }
    ~SqliteFile()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    bool isOpen() const { return m_open; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

private:
    QString m_name;
    bool m_open = false;
};

bool verify(const QSqlDatabase &db)
{
    QSqlQuery check(db);
    if (!check.exec(QStringLiteral("PRAGMA quick_check")) || !check.next()
        || check.value(0).toString() != QLatin1String("ok"))
        return false;
    check.finish();
    QStringList have;
    for (const QString &t : db.tables())
        have << t.toLower();
    for (const QString &table : schema::Catalog::instance().creationOrder()) {
        if (!have.contains(table.toLower()))
            return false;
    }
    QSqlQuery parameters(db);
    return parameters.exec(QStringLiteral("select count(*) from jxc_xtcs")) && parameters.next()
           && parameters.value(0).toInt() > 0;
}

// PostgreSQL: every catalogue table of the set emptied and filled from the verified file in
// one transaction; identities moved past the largest id.
void fillPostgres(const ConnectionSettings &settings, const QString &dbname, const QSqlDatabase &source)
{
    const QString name = QStringLiteral("jxc_restore_pg_") + QUuid::createUuid().toString(QUuid::Id128);
    try {
        {
            QSqlDatabase target = OpenConnection(settings, dbname, name);
            Transaction tx(target);
            for (const QString &table : schema::Catalog::instance().creationOrder()) {
                if (!TableExists(target, table))
                    continue;
                RunSql(target, QStringLiteral("delete from %1").arg(table));
                const QStringList targetColumns = TableColumns(target, table);
                QStringList columns;
                for (const QString &c : TableColumns(source, table)) {
                    if (targetColumns.contains(c, Qt::CaseInsensitive))
                        columns << c.toLower();
                }
                if (columns.isEmpty())
                    continue;
                const QString list = columns.join(QLatin1Char(','));
                QSqlQuery read(source);
                read.setForwardOnly(true);
                if (!read.exec(QStringLiteral("select %1 from %2").arg(list, table)))
                    throw DbError(read.lastError().text());
                QStringList marks;
                marks.fill(QStringLiteral("?"), columns.size());
                QSqlQuery insert(target);
                if (!insert.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                        .arg(table, list, marks.join(QLatin1Char(',')))))
                    throw DbError(insert.lastError().text());
                while (read.next()) {
                    for (int i = 0; i < columns.size(); ++i)
                        insert.bindValue(i, read.value(i));
                    if (!insert.exec())
                        throw DbError(insert.lastError().text());
                }
                if (targetColumns.contains(QStringLiteral("id"), Qt::CaseInsensitive)) {
                    QueryScalar(target,
                                QStringLiteral("select setval(pg_get_serial_sequence('%1', 'id'), "
                                               "coalesce((select max(id) from %1), 0) + 1, false)")
                                    .arg(table));
                }
            }
            tx.commit();
        }
        CloseConnection(name);
    } catch (...) {
        CloseConnection(name);
        throw;
    }
}

} // namespace

QStringList BackupDaysChoices()
{
    return {QStringLiteral("5"), QStringLiteral("7"), QStringLiteral("10"), QStringLiteral("15")};
}

BackupSettingsForm ReadBackupSettings(const QSqlDatabase &db)
{
    BackupSettingsForm form;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select back_path, back_auto, back_exit, back_sj, back_days "
                                                "from jxc_backup"));
    if (q.next()) {
        form.folder = ValueText(q.value(0));
        form.autoBackup = q.value(1).toInt() != 0;
        form.onExit = q.value(2).toInt() != 0;
        form.hours = std::clamp(ValueText(q.value(3)).toInt(), 1, 24);
        const QString days = ValueText(q.value(4));
        form.days = BackupDaysChoices().contains(days) ? days : QStringLiteral("7");
    }
    return form;
}

BackupOutcome BackupFromSettings(const BackupContext &context, const BackupSettingsForm &form)
{
    BackupOutcome out;
    const QString folder = form.folder.trimmed();
    if (folder.isEmpty()) {
        out.text = QStringLiteral("备份路径必须填写！");
        return out;
    }
    if (folder.size() > kBackupPathLength) {
        out.text = QStringLiteral("备份路径不能超过200个字符！");
        return out;
    }
    {
        Transaction tx(context.db);
        RunSql(context.db, QStringLiteral("delete from jxc_backup"));
        RunSql(context.db,
               QStringLiteral("insert into jxc_backup (back_auto, back_sj, back_days, back_path, back_exit) "
                              "values (?, ?, ?, ?, ?)"),
               {form.autoBackup ? 1 : 0, form.hours, form.days.toInt(), folder, form.onExit ? 1 : 0});
        tx.commit();
    }
    out.settingsStored = true;
    LoginState &state = *context.state;
    state.BackupAuto = form.autoBackup ? QStringLiteral("1") : QStringLiteral("0");
    state.BackupOnExit = form.onExit ? QStringLiteral("1") : QStringLiteral("0");
    state.BackupHours = form.hours;

    const QString path = folderWithSlash(folder);
    if (!QFileInfo(path).isDir()) {
        out.text = QStringLiteral("备份失败，文件夹不存在！");
        return out;
    }
    const QString file = path + BackupFileName(state.CurrentAccountSetName, context.clock->now());
    try {
        WriteBackupFile(context.settings, state.CurrentAccountSetDb, file);
    } catch (const DbError &e) {
        out.text = QStringLiteral("备份失败！") + e.text();
        return out;
    }
    deleteBackupFiles(context.db, path, *context.clock);
    out.ok = true;
    out.file = file;
    out.text = QStringLiteral("备份完成！");
    return out;
}

BackupOutcome BackupAccountSetTo(const ConnectionSettings &settings, const Clock &clock, const QString &dbname,
                                 const QString &setName, const QString &folder)
{
    BackupOutcome out;
    if (folder.trimmed().isEmpty()) {
        out.text = QStringLiteral("备份路径必须填写！");
        return out;
    }
    const QString path = folderWithSlash(folder.trimmed());
    if (!QFileInfo(path).isDir()) {
        out.text = QStringLiteral("备份失败，文件夹不存在！");
        return out;
    }
    const QString file = path + BackupFileName(setName, clock.now());
    try {
        WriteBackupFile(settings, dbname, file);
    } catch (const DbError &e) {
        out.text = QStringLiteral("备份失败！") + e.text();
        return out;
    }
    out.ok = true;
    out.file = file;
    out.text = QStringLiteral("备份完成！");
    return out;
}

// Copies the user's file (and a write-ahead log left beside it) to `to` byte by byte: the file
// is only read, so nothing (no "-shm", no "-wal") is ever written beside it.
bool copyOfFile(const QString &from, const QString &to)
{
    removeSqliteFiles(to);
    if (!QFile::copy(from, to))
        return false;
    const QString wal = from + QStringLiteral("-wal");
    if (QFileInfo(wal).isFile() && !QFile::copy(wal, to + QStringLiteral("-wal")))
        return false;
    QFile(to).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return true;
}

bool IsAccountSetBackup(const QString &path)
{
    const QString copy = QDir::temp().filePath(QStringLiteral("jxc_check_") + QUuid::createUuid().toString(QUuid::Id128));
    bool ok = false;
    if (copyOfFile(path, copy)) {
        SqliteFile file(copy);
        ok = file.isOpen() && verify(file.db());
    }
    removeSqliteFiles(copy);
    return ok;
}

BackupOutcome RestoreAccountSet(const ConnectionSettings &settings, const QString &dbname, const QString &file)
{
    BackupOutcome out;
    if (file.trimmed().isEmpty()) {
        out.text = QStringLiteral("恢复路径必须填写！");
        return out;
    }
    QDir().mkpath(settings.dataFolder);
    const QString temporary = QDir(settings.dataFolder)
                                  .filePath(QStringLiteral(".restore_") + QUuid::createUuid().toString(QUuid::Id128)
                                            + QStringLiteral(".tmp"));
    struct Cleanup
    {
        QString path;
        ~Cleanup() { removeSqliteFiles(path); }
    } cleanup{temporary};

    if (!QFileInfo(file.trimmed()).isFile() || !copyOfFile(file.trimmed(), temporary)) {
        out.text = kNotABackup;
        return out;
    }
    {
        SqliteFile verified(temporary);
        if (!verified.isOpen() || !verify(verified.db())) {
            out.text = kNotABackup;
            return out;
        }
        if (settings.kind == DbKind::Postgres) {
            try {
                fillPostgres(settings, dbname, verified.db());
            } catch (const DbError &e) {
                out.text = QStringLiteral("恢复失败！") + e.text();
                return out;
            }
        }
    }
    if (settings.kind == DbKind::Sqlite) {
        const QString target = DatabaseTarget(settings, dbname);
        if (!QFileInfo::exists(target)) {
            out.text = QStringLiteral("恢复失败！") + QStringLiteral("数据库文件%1不存在！").arg(target);
            return out;
        }
        const QString error = sqliteCopy(temporary, target, true);
        if (!error.isEmpty()) {
            out.text = QStringLiteral("恢复失败！") + error;
            return out;
        }
    }
    // Every table was rewritten: the planner's statistics are made anew for the restored data.
    try {
        WithConnection(settings, dbname, [](const QSqlDatabase &db) { KeepStatistics(db); });
    } catch (const DbError &) {
        // the data is restored; statistics follow with the next bulk work or autovacuum
    }
    out.ok = true;
    out.text = QStringLiteral("恢复完成！");
    return out;
}

BackupOutcome RestoreSetInUse(const BackupContext &context, const QString &file)
{
    BackupOutcome out = RestoreAccountSet(context.settings, context.state->CurrentAccountSetDb, file);
    if (out.ok) {
        UpgradeSchema(context.db, *context.clock);
        LoadSysParams(context.db, *context.state, *context.clock);
    }
    return out;
}
