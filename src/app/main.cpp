// The program block: one copy per user session, the application object and the subsystems'
// screens; the start sequence itself (splash, account sets, main window, message loop) is
// RunProgram (shell/forms/program.h).

#include "inventory/forms/inventoryscreens.h"
#include "masterdata/forms/masterdatascreens.h"
#include "platform/system/singleinstance.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "shell/forms/adminscreens.h"
#include "shell/forms/application.h"
#include "shell/forms/enginescreens.h"
#include "shell/forms/foundationscreens.h"
#include "shell/forms/program.h"
#include "shell/forms/screenregistry.h"
#include "shell/forms/shellscreens.h"

int main(int argc, char *argv[])
{
    SingleInstance guard;
    if (!guard.acquire())
        return 0;  // another copy runs: end at once, without a window or a message

    JxcApplication app(argc, argv);

    // Each subsystem registers its screens (the placeholder stands in for the others).
    ScreenRegistry &registry = ScreenRegistry::instance();
    Q_UNUSED(registry)
    RegisterEngineScreens(registry);
    RegisterFoundationScreens(registry);
    RegisterAdminScreens(registry);
    RegisterShellScreens(registry);
    RegisterMasterdataScreens(registry);
    RegisterPurchasingScreens(registry);
    RegisterSalesScreens(registry);
    RegisterInventoryScreens(registry);

    return RunProgram(app);
}
