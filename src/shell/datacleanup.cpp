#include "shell/datacleanup.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/connection.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/schema/schemabuilder.h"
#include "shell/backupservice.h"

#include <QDebug>
#include <QDir>

namespace {

const QString kConnection = QStringLiteral("jxc_cleanup");

// Seconds a PostgreSQL lock may be waited for before the clean-up gives up.
constexpr int kLockWaitSeconds = 5;

// Closes the clean-up's connection however the clean-up ends.
struct OwnConnection
{
    QSqlDatabase db;
    ~OwnConnection()
    {
        db = QSqlDatabase();
        CloseConnection(kConnection);
    }
};

// Runs the driver; false when another session arrived meanwhile (nothing written).
bool runDriver(const CleanupContext &c, CleanupMode mode)
{
    OwnConnection own;
    own.db = OpenConnection(c.data->settings(), c.data->mainFileName(), kConnection);
    if (c.connectionOpened)
        c.connectionOpened(own.db);
    Transaction tx(own.db);
    const QString timeout = Dialect::of(own.db).lockTimeoutStatement(kLockWaitSeconds * 1000);
    if (!timeout.isEmpty())
        RunSql(own.db, timeout);
    if (OtherSessionsOnSet(own.db) > 0)
        return false;
    if (mode == CleanupMode::KeepBasicData)
        ClearBusinessData(own.db, *c.clock);
    else
        CreateAllTables(own.db, *c.clock);
    tx.commit();
    return true;
}

} // namespace

QString CleanupRefusalText()
{
    return QStringLiteral("当前帐套正在被其他工作站使用，不能进行系统初始化！\r\n\r\n请其他工作站退出本系统后再操作。");
}

CleanupOutcome RunDataCleanup(const CleanupContext &c, CleanupMode mode, Notices &notices)
{
    const QSqlDatabase db = c.data->mainDb();
    try {
        if (OtherSessionsOnSet(db) > 0) {
            notices.notice(CleanupRefusalText());
            return CleanupOutcome::Refused;
        }
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("系统初始化失败：") + e.text());
        return CleanupOutcome::Failed;
    }

    if (notices.ask(QStringLiteral("系统初始化之前建议先备份数据库，现在是否备份数据库？")) == Notices::Answer::Yes) {
        const QString path = QDir(c.programFolder).filePath(BackupFileName(c.state->CurrentAccountSetName, c.clock->now()));
        try {
            WriteBackupFile(c.data->settings(), c.data->mainFileName(), path);
        } catch (const DbError &e) {
            notices.notice(QStringLiteral("备份失败！") + e.text());
            return CleanupOutcome::Failed;
        }
        notices.notice(QStringLiteral("备份成功！备份文件保存在") + QDir::toNativeSeparators(path));
    }

    if (notices.ask(QStringLiteral("是否要删除所有营业数据？")) != Notices::Answer::Yes)
        return CleanupOutcome::Declined;

    try {
        if (!runDriver(c, mode)) {
            notices.notice(CleanupRefusalText());
            return CleanupOutcome::Refused;
        }
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("系统初始化失败：") + e.text());
        return CleanupOutcome::Failed;
    }
    // "删除所有数据" puts the parameter row back to its defaults: the decimals and switches of
    // the login follow at once. The set is emptied whatever this read does.
    try {
        LoadSysParams(db, *c.state, *c.clock);
    } catch (const DbError &e) {
        qWarning().noquote() << "clean-up: parameters not reloaded:" << e.text();
    }
    notices.notice(QStringLiteral("删除完成！"));
    return CleanupOutcome::Done;
}
