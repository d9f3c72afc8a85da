#pragma once

// The gate every command of the main window passes: the rights in turn (the first one held
// lets it through), the administrator role, or nothing to test. A refused command opens
// nothing; the caller shows the refusal text.

#include "shell/commandtable.h"

#include <QSqlDatabase>
#include <QString>

struct LoginState;

struct GateResult
{
    bool allowed = false;
    QString refusal;  // the text of the notice when refused
};

GateResult PassCommandGate(const QSqlDatabase &db, const LoginState &state, const ShellCommand &command);

// "您没有权限进行" + the command's refusal text + a blank line + "或者没有可用的仓库。"
QString RightRefusalText(const QString &commandRefusal);
// The refusal of the administrator-only commands.
QString AdministratorOnlyText();
