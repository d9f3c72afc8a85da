#include "shell/commandgate.h"

#include "foundation/loginstate.h"
#include "foundation/rights.h"

QString RightRefusalText(const QString &commandRefusal)
{
    return QStringLiteral("您没有权限进行") + commandRefusal + QStringLiteral("\r\n\r\n")
           + QStringLiteral("或者没有可用的仓库。");
}

QString AdministratorOnlyText()
{
    return QStringLiteral("只有系统管理员才能使用此功能！");
}

GateResult PassCommandGate(const QSqlDatabase &db, const LoginState &state, const ShellCommand &command)
{
    switch (command.gate) {
    case CommandGate::Open:
        return {true, {}};
    case CommandGate::AdministratorOnly:
        if (state.isAdministrator())
            return {true, {}};
        return {false, AdministratorOnlyText()};
    case CommandGate::Rights:
        for (int position : command.positions) {
            if (HasRight(db, state, command.module, position))
                return {true, {}};
        }
        return {false, RightRefusalText(command.refusal)};
    }
    return {false, RightRefusalText(command.refusal)};
}
