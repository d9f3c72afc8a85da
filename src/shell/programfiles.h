#pragma once

#include <QString>
#include <QStringList>

// The files of the program folder that the program carries compiled in: the print templates
// (report/<name>.json) and the help pages (readme.htm for F1, readme2.htm for 入门操作). At
// every start the missing ones are written out, so a fresh program folder prints and shows its
// help; files already there (an edited template) stay. Returns the files written; one that
// cannot be written is logged and skipped.
QStringList WriteMissingProgramFiles(const QString &programFolder);
