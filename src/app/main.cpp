// The program block: one copy per user session, the splash, the data module on the default
// account set, then the main window and the message loop.

#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/errorhandler.h"
#include "foundation/firststart.h"
#include "foundation/productconstants.h"
#include "platform/system/programfolder.h"
#include "platform/system/singleinstance.h"
#include "platform/widgets/messageboxnotices.h"
#include "shell/forms/application.h"
#include "shell/forms/loading.h"

#include <QDebug>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    SingleInstance guard;
    if (!guard.acquire())
        return 0;  // another copy runs: end at once, without a window or a message

    JxcApplication app(argc, argv);
    InstallDiagnosticLog(DataFolder());
    MessageBoxNotices notices;
    app.setNotices(&notices);

    {
        TF_Loading splash;
        splash.exec();
    }

    const ProductConstants &product = SetProductConstants();
    QMainWindow mainWindow;
    mainWindow.setWindowTitle(product.brandWord + QStringLiteral("进销存管理系统 ") + product.versionText);

    DataModule dataModule(ConnectionSettings::load(DataFolder()));
    try {
        EnsureDefaultDatabases(dataModule.settings());
        dataModule.OpenMainDatabase(QString::fromLatin1(kDefaultAccountSetFile));
    } catch (const DbError &e) {
        qWarning().noquote() << e.text();
        notices.error(DatabaseUnreadableText());
        return 1;
    }

    auto *label = new QLabel(QStringLiteral("帐套已打开：%1").arg(dataModule.mainFileName()));
    label->setAlignment(Qt::AlignCenter);
    mainWindow.setCentralWidget(label);
    mainWindow.resize(1024, 700);
    mainWindow.show();
    return app.exec();
}
