#pragma once

#include <QString>

// The program folder: the folder of the executable, or the folder named by JXC_HOME.
// data/, report/, Layout/ and the backups live below it.
QString ProgramFolder();
QString DataFolder();
QString ProgramFile(const QString &relative);
