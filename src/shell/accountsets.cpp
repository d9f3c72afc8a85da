#include "shell/accountsets.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dberror.h"
#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"
#include "foundation/schema/newsettemplate.h"
#include "foundation/schema/schemabuilder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>

namespace {

void removeSqliteFiles(const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QFile::remove(path + QStringLiteral("-journal"));
}

// Builds every table with its default rows in the database `fileName` (already created).
void buildTables(const ConnectionSettings &settings, const QString &fileName, const Clock &clock)
{
    WithConnection(settings, fileName, [&](const QSqlDatabase &db) {
        CreateAllTables(db, clock);
        if (settings.kind == DbKind::Sqlite)
            RunSql(db, QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    });
}

QString accountSetTooLong(const AccountSetInput &input)
{
    return FirstTooLong({{"帐套名称", SafeText(input.name.trimmed()), "jxc_xtzt", "zt_name"},
                         {"帐套备注", SafeText(input.note.trimmed()), "jxc_xtzt", "zt_note"}});
}

} // namespace

QString AccountSetDbName(const QString &sn)
{
    return QStringLiteral("jxc_") + sn + QStringLiteral(".db");
}

AccountSetResult CreateAccountSet(const ConnectionSettings &settings, const QSqlDatabase &registerDb,
                                  const Clock &clock, const AccountSetInput &input)
{
    AccountSetResult result;
    if (input.name.trimmed().isEmpty()) {
        result.refusal = QStringLiteral("帐套名称必须填写！");
        return result;
    }
    result.refusal = accountSetTooLong(input);
    if (!result.refusal.isEmpty())
        return result;
    const QString sn = GetNewSnZT(registerDb, QStringLiteral("jxc_xtzt"), QStringLiteral("zt_sn"));
    const QString dbname = AccountSetDbName(sn);
    const QString target = DatabaseTarget(settings, dbname);
    bool built = false;
    try {
        if (settings.kind == DbKind::Sqlite) {
            // Copied from the pristine set (or built) under a temporary name, renamed when complete.
            const QString temporary = QStringLiteral(".building_") + QUuid::createUuid().toString(QUuid::Id128)
                                      + QStringLiteral(".db");
            const QString temporaryPath = DatabaseTarget(settings, temporary);
            try {
                if (!QFileInfo(settings.dataFolder).isDir() || !QFileInfo(settings.dataFolder).isWritable())
                    throw DbError(QStringLiteral("数据文件夹不可写入：%1").arg(settings.dataFolder));
                if (!CreateSetFromTemplate(settings, temporary, clock)) {
                    CreateEmptyDatabase(settings, temporary);
                    if (!QFileInfo::exists(temporaryPath))
                        throw DbError(QStringLiteral("无法创建数据库文件%1").arg(temporaryPath));
                    buildTables(settings, temporary, clock);
                }
                removeSqliteFiles(target);
                QFile::remove(temporaryPath + QStringLiteral("-wal"));
                QFile::remove(temporaryPath + QStringLiteral("-shm"));
                if (!QFile::rename(temporaryPath, target))
                    throw DbError(QStringLiteral("无法写入数据库文件%1").arg(target));
            } catch (...) {
                removeSqliteFiles(temporaryPath);
                throw;
            }
        } else {
            if (DatabaseExists(settings, dbname))
                DropDatabase(settings, dbname);  // left over, registered nowhere
            if (!CreateSetFromTemplate(settings, dbname, clock)) {
                CreateEmptyDatabase(settings, dbname);
                built = true;
                buildTables(settings, dbname, clock);
            }
        }
        built = true;

        Transaction tx(registerDb);
        if (input.isDefault)
            RunSql(registerDb, QStringLiteral("update jxc_xtzt set zt_default = 0"));
        RunSql(registerDb,
               QStringLiteral("insert into jxc_xtzt (zt_sn, zt_name, zt_default, zt_forbid, zt_note, zt_dbname, zt_dbpwd) "
                              "values (?, ?, ?, ?, ?, ?, '')"),
               {sn, SafeText(input.name.trimmed()), input.isDefault ? 1 : 0, input.forbidden ? 1 : 0,
                SafeText(input.note.trimmed()), dbname});
        tx.commit();
    } catch (const DbError &e) {
        if (built) {
            try {
                DropDatabase(settings, dbname);
            } catch (...) {
            }
        }
        result.refusal = QStringLiteral("建立帐套失败！") + e.text();
        return result;
    }
    result.sn = sn;
    return result;
}

AccountSetRow ReadAccountSet(const QSqlDatabase &registerDb, qint64 id)
{
    AccountSetRow row;
    QSqlQuery q = OpenSelect(registerDb,
                             QStringLiteral("select id, zt_sn, zt_name, zt_note, zt_dbname, zt_default, zt_forbid "
                                            "from jxc_xtzt where id = ?"),
                             {id});
    if (q.next()) {
        row.id = q.value(0).toLongLong();
        row.sn = ValueText(q.value(1));
        row.name = ValueText(q.value(2));
        row.note = ValueText(q.value(3));
        row.dbname = ValueText(q.value(4));
        row.isDefault = q.value(5).toInt() != 0;
        row.forbidden = q.value(6).toInt() != 0;
    }
    return row;
}

AccountSetResult ModifyAccountSet(const QSqlDatabase &registerDb, qint64 id, const AccountSetInput &input)
{
    AccountSetResult result;
    if (input.name.trimmed().isEmpty()) {
        result.refusal = QStringLiteral("帐套名称必须填写！");
        return result;
    }
    result.refusal = accountSetTooLong(input);
    if (!result.refusal.isEmpty())
        return result;
    const AccountSetRow row = ReadAccountSet(registerDb, id);
    const bool forbidden = row.sn == QLatin1String(kBuiltInAccountSet) ? false : input.forbidden;
    Transaction tx(registerDb);
    RunSql(registerDb,
           QStringLiteral("update jxc_xtzt set zt_name = ?, zt_note = ?, zt_default = ?, zt_forbid = ? where id = ?"),
           {SafeText(input.name.trimmed()), SafeText(input.note.trimmed()), input.isDefault ? 1 : 0,
            forbidden ? 1 : 0, id});
    if (input.isDefault)
        RunSql(registerDb, QStringLiteral("update jxc_xtzt set zt_default = 0 where id <> ?"), {id});
    EnsureDefaultAccountSet(registerDb);
    tx.commit();
    result.sn = row.sn;
    return result;
}

QString AccountSetDeleteRefusal(const AccountSetRow &row, const QString &dbInUse)
{
    if (row.isDefault)
        return QStringLiteral("默认帐套不能删除！");
    if (row.sn == QLatin1String(kBuiltInAccountSet))
        return QStringLiteral("系统内置帐套不能删除！");
    if (row.dbname.compare(dbInUse, Qt::CaseInsensitive) == 0)
        return QStringLiteral("该帐套为当前正在使用帐套，不能删除！");
    return QString();
}

QString DeleteAccountSet(const ConnectionSettings &settings, const QSqlDatabase &registerDb, const AccountSetRow &row)
{
    const QString failed = QStringLiteral("帐套数据删除失败，该帐套可能正在被使用！");
    try {
        if (settings.kind == DbKind::Sqlite) {
            const QString path = DatabaseTarget(settings, row.dbname);
            removeSqliteFiles(path);
            QFile::remove(PresenceFilePath(path));
            if (QFileInfo::exists(path))
                return failed;
        } else {
            DropDatabase(settings, row.dbname);
            if (DatabaseExists(settings, row.dbname))
                return failed;
        }
    } catch (const DbError &) {
        return failed;
    }
    Transaction tx(registerDb);
    RunSql(registerDb, QStringLiteral("delete from jxc_xtzt where id = ?"), {row.id});
    EnsureDefaultAccountSet(registerDb);
    tx.commit();
    return QString();
}

void EnsureDefaultAccountSet(const QSqlDatabase &registerDb)
{
    if (QueryScalar(registerDb, QStringLiteral("select zt_sn from jxc_xtzt where zt_default <> 0")).isEmpty())
        RunSql(registerDb, QStringLiteral("update jxc_xtzt set zt_default = 1 where zt_sn = ?"),
               {QString::fromLatin1(kBuiltInAccountSet)});
}

QString AccountSetRestoreRefusal(const AccountSetRow &row, const QString &dbInUse)
{
    if (row.dbname.compare(dbInUse, Qt::CaseInsensitive) == 0)
        return QStringLiteral("该帐套为当前正在使用帐套，请在软件“系统维护”窗口，\r\n\r\n打开“备份恢复数据”窗口进行恢复操作！");
    return QString();
}

ListStatement AccountSetListStatement()
{
    return {QStringLiteral("select id, zt_sn, zt_name, zt_default, zt_forbid, zt_note from jxc_xtzt"),
            QStringLiteral("id"), {}};
}
