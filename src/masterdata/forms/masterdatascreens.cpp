#include "masterdata/forms/masterdatascreens.h"

#include "masterdata/forms/dwgl.h"
#include "masterdata/forms/spxxgl.h"
#include "masterdata/forms/spxxgl_add.h"
#include "masterdata/forms/spxxgl_dw.h"
#include "masterdata/forms/spxxgl_modi.h"

void RegisterMasterdataScreens(ScreenRegistry &registry)
{
    registry.registerScreen(QStringLiteral("TF_Spxxgl"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Add"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Add(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Modi"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Modi(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Dw"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Dw(c, parent);
    });
    registry.registerScreen(QStringLiteral("TF_Spxxgl_Tm"), [](const ScreenContext &c, QWidget *parent) -> QDialog * {
        return new TF_Spxxgl_Tm(c, parent);
    });
    for (LookupKind kind : LookupKinds()) {
        const LookupMember &m = LookupMemberOf(kind);
        registry.registerScreen(QString::fromLatin1(m.listClass),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_LookupList(kind, c, parent);
                                });
        registry.registerScreen(QString::fromLatin1(m.addClass),
                                [kind](const ScreenContext &c, QWidget *parent) -> QDialog * {
                                    return new TF_LookupAdd(kind, c, parent);
                                });
    }
}
