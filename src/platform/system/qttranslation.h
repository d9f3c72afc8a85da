#pragma once

#include <QString>
#include <QStringList>

class QCoreApplication;

// Qt's own texts (file dialogs, the text boxes' context menu: 撤销, 剪切, 粘贴 …) in Chinese.
// The folders looked in for qtbase_zh_CN.qm: Qt's translations folder (Debian package
// qt6-translations-l10n), then translations/ beside the program, where the build puts a copy.
QStringList QtTranslationFolders();

// Installs qtbase_zh_CN from the first of `folders` that has it; false when none has.
bool InstallQtChineseTranslation(QCoreApplication &app, const QStringList &folders = QtTranslationFolders());
