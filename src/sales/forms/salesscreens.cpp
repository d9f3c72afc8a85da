#include "sales/forms/salesscreens.h"

#include "sales/forms/price.h"
#include "sales/forms/spxs.h"
#include "sales/forms/spxs_sele.h"

void RegisterSalesScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Spxs"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxs(c, parent);
    });
    registry.registerScreen(QString::fromLatin1(sales::kLineDialog), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxs_Sele(c, parent);
    });
    registry.registerScreen(QString::fromLatin1(sales::kPriceChooser), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Price(c, parent);
    });
}
