#include "shell/exitsequence.h"

#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <QDebug>

bool BackupAtExit(const LoginState &state)
{
    const bool onExit = state.BackupOnExit == QLatin1String("1");
    const bool automatic = state.BackupAuto == QLatin1String("1");
    return onExit || !automatic;
}

QString RunExitSequence(const BackupContext &context)
{
    try {
        WriteLog(context.db, *context.state, *context.clock, QStringLiteral("退出系统"));
    } catch (const std::exception &e) {
        qWarning().noquote() << "exit: log line not written:" << e.what();
    }
    if (!BackupAtExit(*context.state))
        return QString();
    return backupDatabase(context);
}
