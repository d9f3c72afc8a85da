#include "shell/forms/foundationscreens.h"

#include "foundation/datamodule.h"
#include "foundation/forms/djbz.h"
#include "foundation/forms/djbz_add.h"
#include "foundation/forms/xtcs.h"
#include "foundation/loginstate.h"
#include "shell/forms/screenregistry.h"

void RegisterFoundationScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Xtcs"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Xtcs(c.data->mainDb(), *c.state, *c.clock, *c.notices, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Djbz"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Djbz(c.data->mainDb(), *c.state, *c.notices, QString(), parent);
    });
    registry.registerScreen(QStringLiteral("TF_Djbz_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Djbz_Add(c.data->mainDb(), *c.state, *c.notices, QString(), QString(), parent);
    });
}
