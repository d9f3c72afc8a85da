#include "shell/forms/adminscreens.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/filechoice.h"
#include "shell/forms/admin.h"
#include "shell/forms/backup.h"
#include "shell/forms/pwdmodi.h"
#include "shell/forms/role.h"
#include "shell/forms/screenregistry.h"
#include "shell/forms/viewlog.h"
#include "shell/forms/ztgl.h"

namespace {

FileChoice &screenFiles()
{
    static DialogFileChoice files;
    return files;
}

} // namespace

void RegisterAdminScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Admin"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Admin(c.data->mainDb(), *c.state, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Role"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Role(c.data->mainDb(), *c.state, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_PwdModi"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_PwdModi(c.data->mainDb(), *c.state, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_ViewLog"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_ViewLog(c.data->mainDb(), *c.state, *c.clock, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Ztgl"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Ztgl(c.data->settings(), *c.state, *c.clock, *c.notices, screenFiles(), parent);
    });
    registry.registerScreen(QStringLiteral("TF_Backup"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        BackupContext b;
        b.db = c.data->mainDb();
        b.settings = c.data->settings();
        b.state = c.state;
        b.clock = c.clock;
        return new TF_Backup(b, *c.notices, screenFiles(), c.startBackupTimer, c.stopBackupTimer, parent);
    });
}
