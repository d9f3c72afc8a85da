#pragma once

#include <QString>

// What the program does with an error that no routine handled.
struct UnhandledErrorOutcome
{
    QString text;      // shown in a "系统提示" box without icon
    bool terminate;    // end the program after the box
};

// Letters A to Z of the message in lower case; a message naming the default account set's
// database (`defaultDbName`, any letter case) ends the program with the format message.
UnhandledErrorOutcome HandleUnhandledError(const QString &message,
                                           const QString &defaultDbName = QStringLiteral("jxc.db"));

// The message that ends the program when the default account set cannot be opened.
QString DatabaseUnreadableText();

// Qt's message handler writing to standard error and to <dataFolder>/jxc.log; used for the
// errors that must not stop the flow.
void InstallDiagnosticLog(const QString &dataFolder);
