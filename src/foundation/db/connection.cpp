#include "foundation/db/connection.h"

#include "foundation/db/dberror.h"
#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/statistics.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlDriver>
#include <QSqlError>
#include <QUuid>

#include <sqlite3.h>

namespace {

QString stemOf(const QString &fileName)
{
    QString stem = QFileInfo(fileName).fileName();
    if (stem.endsWith(QLatin1String(".db"), Qt::CaseInsensitive))
        stem.chop(3);
    if (stem == QLatin1String("codeinfo"))
        stem = QStringLiteral("jxc_codeinfo");
    return stem;
}

QString quoteIdent(const QString &name)
{
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

// A short-lived connection to the server's maintenance database.
class MaintenanceConnection
{
public:
    explicit MaintenanceConnection(const ConnectionSettings &s)
        : m_name(QStringLiteral("jxc_maint_") + QUuid::createUuid().toString(QUuid::Id128))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        db.setHostName(s.host);
        db.setPort(s.port);
        db.setUserName(s.user);
        db.setPassword(s.password);
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open()) {
            const QString text = db.lastError().text();
            m_db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_name);
            throw DbError(QStringLiteral("无法连接数据库服务器：%1").arg(text));
        }
        m_db = db;
    }
    ~MaintenanceConnection()
    {
        ClearStatementCache(m_db);
        m_db.close();
        m_db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_name);
    }
    const QSqlDatabase &db() const { return m_db; }

private:
    QString m_name;
    QSqlDatabase m_db;
};

} // namespace

ConnectionSettings ConnectionSettings::load(const QString &dataFolder)
{
    ConnectionSettings s;
    s.dataFolder = dataFolder;
    const QString ini = QDir(dataFolder).filePath(QStringLiteral("database.ini"));
    if (!QFileInfo::exists(ini))
        return s;
    QSettings file(ini, QSettings::IniFormat);
    file.beginGroup(QStringLiteral("database"));
    const QString driver = file.value(QStringLiteral("driver"), QStringLiteral("sqlite")).toString();
    if (driver.compare(QLatin1String("postgres"), Qt::CaseInsensitive) == 0
        || driver.compare(QLatin1String("postgresql"), Qt::CaseInsensitive) == 0)
        s.kind = DbKind::Postgres;
    s.host = file.value(QStringLiteral("host")).toString();
    s.port = file.value(QStringLiteral("port"), 5432).toInt();
    s.user = file.value(QStringLiteral("user")).toString();
    s.password = file.value(QStringLiteral("password")).toString();
    s.prefix = file.value(QStringLiteral("prefix")).toString();
    return s;
}

QString DatabaseTarget(const ConnectionSettings &settings, const QString &fileName)
{
    if (settings.kind == DbKind::Postgres)
        return settings.prefix + stemOf(fileName);
    return QDir(settings.dataFolder).filePath(QFileInfo(fileName).fileName());
}

QSqlDatabase OpenConnection(const ConnectionSettings &settings, const QString &fileName,
                            const QString &connectionName)
{
    CloseConnection(connectionName);
    const QString target = DatabaseTarget(settings, fileName);
    if (settings.kind == DbKind::Sqlite) {
        if (!QFileInfo::exists(target))
            throw DbError(QStringLiteral("数据库文件%1不存在！").arg(target));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(target);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open()) {
            const QString text = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw DbError(QStringLiteral("无法打开数据库%1：%2").arg(target, text));
        }
        try {
            // A file that is not a database fails here, at the first read.
            QueryScalar(db, QStringLiteral("select count(*) from sqlite_master"));
            RunSql(db, QStringLiteral("PRAGMA journal_mode=WAL"));
            RunSql(db, QStringLiteral("PRAGMA foreign_keys=OFF"));
            RunSql(db, QStringLiteral("PRAGMA synchronous=NORMAL"));
        } catch (const DbError &e) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(connectionName);
            throw DbError(QStringLiteral("无法打开数据库%1：%2").arg(target, e.text()));
        }
        return db;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), connectionName);
    db.setHostName(settings.host);
    db.setPort(settings.port);
    db.setUserName(settings.user);
    db.setPassword(settings.password);
    db.setDatabaseName(target);
    // The mark by which OtherSessionsOnSet tells this process's connections from others.
    db.setConnectOptions(QStringLiteral("application_name=") + SessionApplicationName());
    if (!db.open()) {
        const QString text = db.lastError().text();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
        throw DbError(QStringLiteral("无法打开数据库%1：%2").arg(target, text));
    }
    return db;
}

void CloseConnection(const QString &connectionName)
{
    if (!QSqlDatabase::contains(connectionName))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        ClearStatementCache(db);
        OptimizeBeforeClose(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

bool DatabaseExists(const ConnectionSettings &settings, const QString &fileName)
{
    const QString target = DatabaseTarget(settings, fileName);
    if (settings.kind == DbKind::Sqlite)
        return QFileInfo(target).size() > 0;
    MaintenanceConnection m(settings);
    return !QueryScalar(m.db(), QStringLiteral("select 1 from pg_database where datname = ?"),
                        {target})
                .isEmpty();
}

void CreateEmptyDatabase(const ConnectionSettings &settings, const QString &fileName)
{
    const QString target = DatabaseTarget(settings, fileName);
    if (settings.kind == DbKind::Sqlite) {
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        sqlite3 *handle = nullptr;
        const int rc = sqlite3_open(QFile::encodeName(target).constData(), &handle);
        if (rc == SQLITE_OK)
            sqlite3_exec(handle, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        sqlite3_close(handle);
        if (rc != SQLITE_OK)
            throw DbError(QStringLiteral("无法创建数据库文件%1").arg(target));
        return;
    }
    MaintenanceConnection m(settings);
    RunSql(m.db(), QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8' "
                                  "LC_COLLATE 'C' LC_CTYPE 'C'")
                       .arg(quoteIdent(target)));
}

void DropDatabase(const ConnectionSettings &settings, const QString &fileName)
{
    const QString target = DatabaseTarget(settings, fileName);
    if (settings.kind == DbKind::Sqlite) {
        QFile::remove(target);
        QFile::remove(target + QStringLiteral("-wal"));
        QFile::remove(target + QStringLiteral("-shm"));
        QFile::remove(PresenceFilePath(target));
        return;
    }
    MaintenanceConnection m(settings);
    // Looked up first: a DROP … IF EXISTS of a missing database would print a NOTICE.
    if (QueryScalar(m.db(), QStringLiteral("select 1 from pg_database where datname = ?"), {target}).isEmpty())
        return;
    RunSql(m.db(), QStringLiteral("DROP DATABASE IF EXISTS %1").arg(quoteIdent(target)));
}

void CopyDatabase(const ConnectionSettings &settings, const QString &fromFile, const QString &toFile)
{
    if (settings.kind == DbKind::Sqlite) {
        const QString name = QStringLiteral("jxc_copy_") + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase src = OpenConnection(settings, fromFile, name);
            SqliteBackupToFile(src, DatabaseTarget(settings, toFile));
        }
        CloseConnection(name);
        return;
    }
    MaintenanceConnection m(settings);
    RunSql(m.db(), QStringLiteral("CREATE DATABASE %1 TEMPLATE %2")
                       .arg(quoteIdent(DatabaseTarget(settings, toFile)),
                            quoteIdent(DatabaseTarget(settings, fromFile))));
}

void WithConnection(const ConnectionSettings &settings, const QString &fileName,
                    const std::function<void(const QSqlDatabase &)> &work)
{
    const QString connection = QStringLiteral("jxc_own_") + QUuid::createUuid().toString(QUuid::Id128);
    try {
        {
            QSqlDatabase db = OpenConnection(settings, fileName, connection);
            work(db);
        }
        CloseConnection(connection);
    } catch (...) {
        CloseConnection(connection);
        throw;
    }
}

QStringList ServerDatabaseFiles(const ConnectionSettings &settings, const QString &start)
{
    QStringList files;
    if (settings.kind != DbKind::Postgres)
        return files;
    MaintenanceConnection m(settings);
    const QString head = settings.prefix + start;
    QSqlQuery q = OpenSelect(m.db(),
                             QStringLiteral("select datname from pg_database where substr(datname, 1, ?) = ? order by datname"),
                             {int(head.size()), head});
    while (q.next())
        files << q.value(0).toString().mid(settings.prefix.size()) + QStringLiteral(".db");
    return files;
}

void SqliteBackupToFile(const QSqlDatabase &db, const QString &filePath)
{
    const QVariant v = db.driver()->handle();
    if (!v.isValid() || qstrcmp(v.typeName(), "sqlite3*") != 0)
        throw DbError(QStringLiteral("不是SQLite数据库连接"));
    sqlite3 *source = *static_cast<sqlite3 *const *>(v.data());
    QFile::remove(filePath);
    QFile::remove(filePath + QStringLiteral("-wal"));
    QFile::remove(filePath + QStringLiteral("-shm"));
    sqlite3 *dest = nullptr;
    int rc = sqlite3_open(QFile::encodeName(filePath).constData(), &dest);
    if (rc == SQLITE_OK) {
        sqlite3_backup *backup = sqlite3_backup_init(dest, "main", source, "main");
        if (backup) {
            sqlite3_backup_step(backup, -1);
            sqlite3_backup_finish(backup);
        }
        rc = sqlite3_errcode(dest);
    }
    sqlite3_close(dest);
    if (rc != SQLITE_OK)
        throw DbError(QStringLiteral("数据库备份失败：%1").arg(filePath));
}
