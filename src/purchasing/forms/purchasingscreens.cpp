#include "purchasing/forms/purchasingscreens.h"

#include "purchasing/forms/cgjh.h"
#include "purchasing/forms/cgjh_add.h"
#include "purchasing/forms/cgjh_sele.h"

void RegisterPurchasingScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Cgjh"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Cgjh(c, parent);
    });
    const struct
    {
        const char *dialog;
        const char *picker;
        PurchaseKind kind;
    } variants[] = {{"TF_Cgjh_Sele", "TF_Cgjh_Add", PurchaseKind::Receipt},
                    {"TF_Cgth_Sele", "TF_Cgth_Add", PurchaseKind::Return},
                    {"TF_Cgd_Sele", "TF_Cgd_Add", PurchaseKind::Order}};
    for (const auto &v : variants) {
        const PurchaseKind kind = v.kind;
        registry.registerScreen(QString::fromLatin1(v.dialog), [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
            return new TF_Cgjh_Sele(kind, c, parent);
        });
        registry.registerScreen(QString::fromLatin1(v.picker), [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
            return new TF_Cgjh_Add(kind, c, parent);
        });
    }
}
