#include "inventory/forms/inventoryscreens.h"

#include "inventory/forms/bsby.h"
#include "inventory/forms/bsby_add.h"
#include "inventory/forms/bsby_sele.h"
#include "inventory/forms/kcdb.h"
#include "inventory/forms/kcdb_add.h"
#include "inventory/forms/kcdb_sele.h"
#include "inventory/forms/kcpd.h"
#include "inventory/forms/kcpd_add.h"
#include "inventory/forms/kcpd_sele.h"

void RegisterInventoryScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Kcdb"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcdb(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Kcdb_Sele"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcdb_Sele(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Kcdb_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcdb_Add(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Bsby"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Bsby(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Bsby_Sele"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Bsby_Sele(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Bsby_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Bsby_Add(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Kcpd"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcpd(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Kcpd_Sele"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcpd_Sele(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Kcpd_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Kcpd_Add(c, parent);
    });
}
