#include "sales/forms/salesscreens.h"

#include "sales/forms/spxs.h"

void RegisterSalesScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Spxs"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxs(c, parent);
    });
}
