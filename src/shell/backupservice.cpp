#include "shell/backupservice.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/schema/catalog.h"
#include "foundation/schema/schemabuilder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

QString uniqueConnectionName(const char *what)
{
    return QString::fromLatin1(what) + QUuid::createUuid().toString(QUuid::Id128);
}

// Closes a connection of its own when the scope ends.
class OwnConnection
{
public:
    explicit OwnConnection(QString name) : m_name(std::move(name)) {}
    ~OwnConnection() { CloseConnection(m_name); }
    const QString &name() const { return m_name; }

private:
    QString m_name;
};

void exportPostgres(const QSqlDatabase &source, const QString &targetPath)
{
    const QString targetName = uniqueConnectionName("jxc_export_");
    {
        QSqlDatabase target = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), targetName);
        target.setDatabaseName(targetPath);
        if (!target.open()) {
            const QString text = target.lastError().text();
            target = QSqlDatabase();
            QSqlDatabase::removeDatabase(targetName);
            throw DbError(QStringLiteral("无法创建备份文件：%1").arg(text));
        }
        try {
            CreateTablesWithoutRows(target);

            // Every row in one consistent moment.
            RunSql(source, QStringLiteral("begin transaction isolation level repeatable read read only"));
            Transaction write(target);
            const schema::Catalog &catalog = schema::Catalog::instance();
            for (const QString &table : catalog.creationOrder()) {
                if (!TableExists(source, table))
                    continue;
                const QStringList have = TableColumns(source, table);
                QStringList columns;
                for (const QString &c : TableColumns(target, table)) {
                    if (have.contains(c, Qt::CaseInsensitive))
                        columns << c;
                }
                if (columns.isEmpty())
                    continue;
                const QString list = columns.join(QLatin1Char(','));
                QSqlQuery read(source);
                read.setForwardOnly(true);
                read.setNumericalPrecisionPolicy(QSql::HighPrecision);
                if (!read.exec(QStringLiteral("select %1 from %2 order by id").arg(list, table)))
                    throw DbError(read.lastError().text());
                QSqlQuery insert(target);
                QStringList marks;
                marks.fill(QStringLiteral("?"), columns.size());
                if (!insert.prepare(QStringLiteral("insert into %1 (%2) values (%3)")
                                        .arg(table, list, marks.join(QLatin1Char(',')))))
                    throw DbError(insert.lastError().text());
                while (read.next()) {
                    for (int i = 0; i < columns.size(); ++i)
                        insert.bindValue(i, read.value(i));
                    if (!insert.exec())
                        throw DbError(insert.lastError().text());
                }
            }
            write.commit();
            RunSql(source, QStringLiteral("rollback"));
        } catch (...) {
            QSqlQuery(source).exec(QStringLiteral("rollback"));
            target.close();
            target = QSqlDatabase();
            QSqlDatabase::removeDatabase(targetName);
            throw;
        }
        target.close();
    }
    QSqlDatabase::removeDatabase(targetName);
}

void removeQuietly(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

} // namespace

QString BackupFileName(const QString &accountSetName, const QDateTime &moment)
{
    return accountSetName + moment.toString(QStringLiteral("yy_MM_dd_HH_mm_ss")) + QStringLiteral(".DAT");
}

bool IsBackupFileName(const QString &fileName)
{
    static const QRegularExpression form(
        QStringLiteral("^.+\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d_\\d\\d\\.dat$"),
        QRegularExpression::CaseInsensitiveOption);
    return form.match(fileName).hasMatch();
}

QString DefaultBackupFolder(const QString &programFolder)
{
    QString folder = programFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder + QStringLiteral("数据备份");
}

bool IsBuildFolder(const QString &path)
{
    const QString lower = path.toLower();
    return lower.contains(QLatin1String("zzinstall")) || lower.contains(QLatin1String("release"))
           || lower.contains(QLatin1String("debug"));
}

void StoreDefaultBackupSettings(const QSqlDatabase &db, const QString &folder)
{
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_backup"));
    RunSql(db, QStringLiteral("insert into jxc_backup (back_auto,back_sj,back_days,back_path,back_exit) "
                              "values (?,?,?,?,?)"),
           {0, 12, 15, path, 1});
    tx.commit();
}

void WriteBackupFile(const ConnectionSettings &settings, const QString &accountSetDb, const QString &targetPath)
{
    const QFileInfo target(targetPath);
    const QString temporary = target.absolutePath() + QStringLiteral("/.") + target.fileName()
                              + QStringLiteral(".") + QUuid::createUuid().toString(QUuid::Id128)
                              + QStringLiteral(".part");
    try {
        OwnConnection own(uniqueConnectionName("jxc_backup_"));
        {
            QSqlDatabase source = OpenConnection(settings, accountSetDb, own.name());
            if (Dialect::of(source).isPostgres())
                exportPostgres(source, temporary);
            else
                SqliteBackupToFile(source, temporary);
        }
        if (QFile::exists(targetPath) && !QFile::remove(targetPath))
            throw DbError(QStringLiteral("无法替换备份文件：%1").arg(targetPath));
        if (!QFile::rename(temporary, targetPath))
            throw DbError(QStringLiteral("无法写入备份文件：%1").arg(targetPath));
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
}

int deleteBackupFiles(const QSqlDatabase &db, const QString &folder, const Clock &clock)
{
    const int days = QueryScalar(db, QStringLiteral("select back_days from jxc_backup")).toInt();
    if (days <= 0)
        return 0;
    const QDateTime midnight(clock.today(), QTime(0, 0));
    const qint64 limit = qint64(days) * 24 * 3600;
    int deleted = 0;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden);
    for (const QFileInfo &file : files) {
        if (!IsBackupFileName(file.fileName()))
            continue;
        if (file.lastModified().secsTo(midnight) > limit && QFile::remove(file.absoluteFilePath()))
            ++deleted;
    }
    return deleted;
}

QString backupDatabase(const BackupContext &context)
{
    LoginState &state = *context.state;
    try {
        if (state.BackupOnExit != QLatin1String("1") && state.BackupAuto != QLatin1String("1")) {
            // No backup set up: the defaults, unless the program runs from a build folder.
            const QString folder = DefaultBackupFolder(context.programFolder);
            if (IsBuildFolder(folder))
                return QString();
            QDir().mkpath(folder);
            StoreDefaultBackupSettings(context.db, folder);
            state.BackupAuto = QStringLiteral("0");
            state.BackupOnExit = QStringLiteral("1");
            state.BackupHours = 12;
        }
        QString folder = QueryScalar(context.db, QStringLiteral("select back_path from jxc_backup"));
        if (folder.isEmpty())
            return QString();
        folder.replace(QLatin1Char('\\'), QLatin1Char('/'));
        if (!folder.endsWith(QLatin1Char('/')))
            folder += QLatin1Char('/');
        QDir().mkpath(folder);
        const QString file = folder + BackupFileName(state.CurrentAccountSetName, context.clock->now());
        WriteBackupFile(context.settings, state.CurrentAccountSetDb, file);
        deleteBackupFiles(context.db, folder, *context.clock);
        return file;
    } catch (const DbError &e) {
        qWarning().noquote() << "backup failed:" << e.text();
    } catch (const std::exception &e) {
        qWarning().noquote() << "backup failed:" << e.what();
    }
    return QString();
}

int BackupTimerInterval(int hours)
{
    return std::clamp(hours, 1, 24) * 3600 * 1000;
}
