#include "shell/forms/screenregistry.h"

#include "foundation/loginstate.h"
#include "screenkit/screenbase.h"
#include "screenkit/screengeometry.h"
#include "shell/forms/placeholder.h"

void ScreenRegistry::registerScreen(const QString &screenClass, ScreenFactory factory)
{
    m_factories.insert(screenClass, std::move(factory));
}

void ScreenRegistry::unregisterScreen(const QString &screenClass)
{
    m_factories.remove(screenClass);
}

QDialog *ScreenRegistry::create(const QString &screenClass, const QString &caption,
                                const ScreenContext &context, QWidget *parent) const
{
    const auto it = m_factories.constFind(screenClass);
    if (it != m_factories.constEnd() && *it) {
        QDialog *dialog = (*it)(context, parent);
        if (dialog) {
            if (dialog->objectName().isEmpty())
                dialog->setObjectName(screenClass);
            // Screens of the kit keep their size and position per operator.
            if (qobject_cast<ScreenDialog *>(dialog) && context.state)
                RememberScreenGeometry(dialog, context.state->CurrentOperatorName);
            return dialog;
        }
    }
    return new TF_Placeholder(screenClass, caption, parent);
}

ScreenRegistry &ScreenRegistry::instance()
{
    static ScreenRegistry registry;
    return registry;
}

bool IsPlaceholderScreen(const QDialog *dialog)
{
    return dialog && dialog->property("jxcPlaceholder").toBool();
}
