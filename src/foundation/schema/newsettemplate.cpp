#include "foundation/schema/newsettemplate.h"

#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/schemabuilder.h"

#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

namespace {

const QString kStart = QStringLiteral("newset_");

void buildTemplate(const ConnectionSettings &settings, const QString &templateFile, const Clock &clock)
{
    // Not under "newset_": the clean-up below never takes a set still being built.
    const QString building = QStringLiteral("newsetbuild_") + QUuid::createUuid().toString(QUuid::Id128)
                             + QStringLiteral(".db");
    CreateEmptyDatabase(settings, building);
    try {
        WithConnection(settings, building, [&](const QSqlDatabase &db) { CreateAllTables(db, clock); });
        try {
            CopyDatabase(settings, building, templateFile);
        } catch (const DbError &) {
            if (!DatabaseExists(settings, templateFile))  // else another program made it meanwhile
                throw;
        }
    } catch (...) {
        try {
            DropDatabase(settings, building);
        } catch (...) {
        }
        throw;
    }
    DropDatabase(settings, building);
    for (const QString &old : ServerDatabaseFiles(settings, kStart)) {
        if (old == templateFile)
            continue;
        try {
            DropDatabase(settings, old);
        } catch (const DbError &e) {
            qWarning().noquote() << "account sets: old pristine set" << old << "kept:" << e.text();
        }
    }
}

// SQLite: the pristine set is a file of the folder "newset" inside the data folder (out of the
// listing of the data folder's files), built under a name of its own and renamed when complete.
ConnectionSettings sqliteTemplateFolder(const ConnectionSettings &settings)
{
    ConnectionSettings folder = settings;
    folder.dataFolder = QDir(settings.dataFolder).filePath(QStringLiteral("newset"));
    return folder;
}

void removeSqliteFiles(const QString &path)
{
    for (const QString &suffix : {QString(), QStringLiteral("-wal"), QStringLiteral("-shm")})
        QFile::remove(path + suffix);
}

// Every change of the connection into the file itself, so that copying the file copies the set.
void checkpoint(const QSqlDatabase &db)
{
    RunSql(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
}

void buildSqliteTemplate(const ConnectionSettings &folder, const QString &templateFile, const Clock &clock)
{
    const QString building = QStringLiteral("newsetbuild_") + QUuid::createUuid().toString(QUuid::Id128)
                             + QStringLiteral(".db");
    const QString buildingPath = DatabaseTarget(folder, building);
    try {
        CreateEmptyDatabase(folder, building);
        WithConnection(folder, building, [&](const QSqlDatabase &db) {
            CreateAllTables(db, clock);
            checkpoint(db);
        });
        QFile::remove(buildingPath + QStringLiteral("-wal"));
        QFile::remove(buildingPath + QStringLiteral("-shm"));
        // Another program may have made it meanwhile: then ours goes.
        if (!QFile::rename(buildingPath, DatabaseTarget(folder, templateFile))
            && !QFileInfo::exists(DatabaseTarget(folder, templateFile)))
            throw DbError(QStringLiteral("无法写入数据库文件%1").arg(DatabaseTarget(folder, templateFile)));
    } catch (...) {
        removeSqliteFiles(buildingPath);
        throw;
    }
    removeSqliteFiles(buildingPath);
    const QStringList older = QDir(folder.dataFolder).entryList({kStart + QStringLiteral("*.db")}, QDir::Files);
    for (const QString &old : older)
        if (old != templateFile)
            removeSqliteFiles(DatabaseTarget(folder, old));
}

bool createSqliteFromTemplate(const ConnectionSettings &settings, const QString &fileName, const Clock &clock)
{
    const ConnectionSettings folder = sqliteTemplateFolder(settings);
    const QString templateFile = NewSetTemplateFile();
    const QString target = DatabaseTarget(settings, fileName);
    try {
        if (!QFileInfo::exists(DatabaseTarget(folder, templateFile)))
            buildSqliteTemplate(folder, templateFile, clock);
        removeSqliteFiles(target);
        if (!QFile::copy(DatabaseTarget(folder, templateFile), target)) {
            qWarning().noquote() << "account sets: built without the pristine set: it could not be copied";
            removeSqliteFiles(target);
            return false;
        }
        QFile(target).setPermissions(QFile(target).permissions() | QFileDevice::WriteOwner);
    } catch (const DbError &e) {
        qWarning().noquote() << "account sets: built without the pristine set:" << e.text();
        removeSqliteFiles(target);
        return false;
    }
    try {
        WithConnection(settings, fileName, [&](const QSqlDatabase &db) {
            RefreshDatedDefaults(db, clock);
            checkpoint(db);
        });
    } catch (...) {
        removeSqliteFiles(target);
        throw;
    }
    return true;
}

} // namespace

QString NewSetTemplateFile()
{
    return kStart + CatalogueFingerprint() + QStringLiteral(".db");
}

bool CreateSetFromTemplate(const ConnectionSettings &settings, const QString &fileName, const Clock &clock)
{
    if (settings.kind == DbKind::Sqlite)
        return createSqliteFromTemplate(settings, fileName, clock);
    const QString templateFile = NewSetTemplateFile();
    try {
        if (!DatabaseExists(settings, templateFile))
            buildTemplate(settings, templateFile, clock);
        CopyDatabase(settings, templateFile, fileName);
    } catch (const DbError &e) {
        qWarning().noquote() << "account sets: built without the pristine set:" << e.text();
        return false;
    }
    try {
        WithConnection(settings, fileName, [&](const QSqlDatabase &db) { RefreshDatedDefaults(db, clock); });
    } catch (...) {
        try {
            DropDatabase(settings, fileName);
        } catch (...) {
        }
        throw;
    }
    return true;
}
