#pragma once

#include "screenkit/screenbase.h"
#include "shell/forms/screenregistry.h"

#include <QList>

class QToolButton;

// "系统维护": six picture buttons that open administration screens through the registry, each
// behind its own test.
class TF_Xtwh final : public ScreenDialog
{
    Q_OBJECT

public:
    TF_Xtwh(const ScreenContext &context, QWidget *parent = nullptr);

    // Clicks the button named `name` (btnBbsj, btnNzjs, btnViewLog, btnSjql, btnTmdy, btnZtgl).
    void buttonClick(const QString &name);
    QToolButton *button(const QString &name) const;

private:
    ScreenContext m_context;
    QList<QToolButton *> m_buttons;
};
