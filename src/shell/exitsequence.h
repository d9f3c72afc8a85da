#pragma once

// What the main window does once the operator confirmed the exit: the log line "退出系统"
// (an error is ignored), then a backup when backup on exit is set up or when no backup is set
// up at all (which stores the default settings first).

#include "shell/backupservice.h"

inline constexpr const char *kExitQuestion = "是否要退出系统？";

// Whether the exit makes a backup under the current settings.
bool BackupAtExit(const LoginState &state);

// Runs the exit's work; returns the backup file written, or the empty text.
QString RunExitSequence(const BackupContext &context);
