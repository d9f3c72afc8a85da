#pragma once

#include <QString>
#include <QStringList>

// Writes every file of a compiled-in resource folder (":/report") that `target` lacks into
// `target` (created when missing); files already there stay as they are, since an operator may
// have edited them. Returns the files written; a file that cannot be written is reported in
// `failures` (when given) and the others are still tried.
QStringList WriteMissingFiles(const QString &resourceFolder, const QString &target,
                              QStringList *failures = nullptr);
