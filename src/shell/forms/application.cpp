#include "shell/forms/application.h"

#include "foundation/db/dberror.h"
#include "foundation/errorhandler.h"
#include "foundation/notices.h"
#include "platform/system/qttranslation.h"
#include "screenkit/fontchain.h"

#include <QDebug>

JxcApplication::JxcApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
    ApplyInterfaceFontChain(*this);
    if (!InstallQtChineseTranslation(*this))
        qWarning().noquote() << "qtbase_zh_CN.qm not found: Qt's own dialogs stay in English";
}

bool JxcApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const DbError &e) {
        if (reportUnhandled(e.text()))
            ::exit(1);
    } catch (const std::exception &e) {
        if (reportUnhandled(QString::fromUtf8(e.what())))
            ::exit(1);
    }
    return false;
}

bool JxcApplication::reportUnhandled(const QString &message)
{
    const UnhandledErrorOutcome outcome = HandleUnhandledError(message);
    qWarning().noquote() << "unhandled error:" << message;
    if (m_notices)
        m_notices->error(outcome.text);
    return outcome.terminate;
}
