// The program block: one copy per user session, the splash, the data module on the default
// account set, then the main window and the message loop.

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/errorhandler.h"
#include "foundation/firststart.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/productconstants.h"
#include "platform/system/programfolder.h"
#include "platform/system/singleinstance.h"
#include "platform/widgets/desktopurlopener.h"
#include "platform/widgets/messageboxnotices.h"
#include "shell/forms/application.h"
#include "shell/forms/loading.h"
#include "shell/forms/mainform.h"
#include "shell/forms/screenregistry.h"

#include <QDebug>
#include <QTimer>

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

    SetProductConstants();
    DataModule dataModule(ConnectionSettings::load(DataFolder()));
    LoginState loginState;
    DesktopUrlOpener urls;
    // The main window is created hidden; its first show runs the login once the message loop
    // has started.
    TF_MainForm mainForm(dataModule, loginState, Clock::system(), notices, urls, ScreenRegistry::instance(),
                         FollowOn());
    try {
        EnsureDefaultDatabases(dataModule.settings());
        dataModule.OpenMainDatabase(QString::fromLatin1(kDefaultAccountSetFile));
    } catch (const DbError &e) {
        qWarning().noquote() << e.text();
        notices.error(DatabaseUnreadableText());
        return 1;
    }

    QTimer::singleShot(0, &mainForm, &TF_MainForm::start);
    return app.exec();
}
