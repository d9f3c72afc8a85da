#include "platform/system/qttranslation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// Where Qt's translation keeps an older form, the form our screens use ("撤销", not "撤消").
class TermOverrides final : public QTranslator
{
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char *context, const char *source, const char *, int) const override
    {
        const QByteArray c(context);
        if ((c == "QLineEdit" || c == "QWidgetTextControl") && qstrcmp(source, "&Undo") == 0)
            return QStringLiteral("撤销(&U)");
        return QString();
    }
};

} // namespace

QStringList QtTranslationFolders()
{
    return {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))};
}

bool InstallQtChineseTranslation(QCoreApplication &app, const QStringList &folders)
{
    for (const QString &folder : folders) {
        auto *translator = new QTranslator(&app);
        if (translator->load(QStringLiteral("qtbase_zh_CN"), folder) && QCoreApplication::installTranslator(translator)) {
            QCoreApplication::installTranslator(new TermOverrides(&app));
            return true;
        }
        delete translator;
    }
    return false;
}
