#include "shell/forms/program.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/errorhandler.h"
#include "foundation/firststart.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/productconstants.h"
#include "platform/system/programfolder.h"
#include "screenkit/desktopurlopener.h"
#include "screenkit/messageboxnotices.h"
#include "shell/forms/application.h"
#include "shell/forms/loading.h"
#include "shell/forms/mainform.h"
#include "shell/forms/screenregistry.h"
#include "shell/programfiles.h"

#include <QApplication>
#include <QDebug>
#include <QTimer>

#include <memory>

int RunProgram(QApplication &app, const ProgramEnvironment &environment)
{
    if (environment.installDiagnosticLog)
        InstallDiagnosticLog(DataFolder());
    WriteMissingProgramFiles(ProgramFolder());

    std::unique_ptr<MessageBoxNotices> ownNotices;
    Notices *notices = environment.notices;
    if (!notices) {
        ownNotices = std::make_unique<MessageBoxNotices>();
        notices = ownNotices.get();
    }
    std::unique_ptr<DesktopUrlOpener> ownUrls;
    UrlOpener *urls = environment.urls;
    if (!urls) {
        ownUrls = std::make_unique<DesktopUrlOpener>();
        urls = ownUrls.get();
    }
    const Clock &clock = environment.clock ? *environment.clock : Clock::system();
    ScreenRegistry &registry = environment.registry ? *environment.registry : ScreenRegistry::instance();

    // Unhandled errors are shown through the same notices; the previous ones come back when the
    // program block ends (the smoke test's notices die with it).
    auto *jxcApp = qobject_cast<JxcApplication *>(&app);
    if (jxcApp)
        jxcApp->setNotices(notices);
    struct NoticesReset
    {
        JxcApplication *app;
        ~NoticesReset()
        {
            if (app)
                app->setNotices(nullptr);
        }
    } reset{jxcApp};

    if (environment.registerScreens)
        environment.registerScreens(registry);

    {
        TF_Loading splash;
        if (environment.splashStarting)
            environment.splashStarting(splash);
        splash.exec();
    }

    SetProductConstants();
    DataModule dataModule(ConnectionSettings::load(DataFolder()));
    LoginState loginState;
    // The main window is created hidden; its first show runs the login once the message loop
    // has started.
    TF_MainForm mainForm(dataModule, loginState, clock, *notices, *urls, registry, FollowOn());
    try {
        EnsureDefaultDatabases(dataModule.settings(), clock);
        dataModule.OpenMainDatabase(QString::fromLatin1(kDefaultAccountSetFile));
    } catch (const DbError &e) {
        qWarning().noquote() << e.text();
        notices->error(DatabaseUnreadableText());
        return 1;
    }
    if (environment.mainFormReady)
        environment.mainFormReady(mainForm, dataModule);

    QTimer::singleShot(0, &mainForm, &TF_MainForm::start);
    return app.exec();
}
