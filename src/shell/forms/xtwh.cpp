#include "shell/forms/xtwh.h"

#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "shell/forms/pictures.h"
#include "shell/maintenancegate.h"

#include <QDialog>
#include <QFrame>
#include <QGridLayout>
#include <QToolButton>
#include <QVBoxLayout>

#include <memory>

namespace {

const char *const kGlyphs[] = {"表", "结", "志", "清", "码", "套"};
const QColor kColours[] = {QColor(52, 120, 200), QColor(200, 110, 40), QColor(70, 150, 90),
                           QColor(190, 60, 60),  QColor(110, 90, 180), QColor(40, 140, 150)};

} // namespace

TF_Xtwh::TF_Xtwh(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Xtwh"));
    setWindowTitle(QStringLiteral("系统维护"));

    auto *frame = new QFrame(this);
    frame->setFrameShape(QFrame::StyledPanel);
    auto *grid = new QGridLayout(frame);
    int i = 0;
    for (const MaintenanceButton &b : MaintenanceButtons()) {
        auto *button = new QToolButton(frame);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setText(QString::fromUtf8(b.caption));
        button->setIcon(QIcon(GlyphTile(QString::fromUtf8(kGlyphs[i]), kColours[i], 64)));
        button->setIconSize(QSize(64, 64));
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setAutoRaise(true);
        button->setMinimumSize(110, 100);
        grid->addWidget(button, i / 3, i % 3);
        const QString name = button->objectName();
        connect(button, &QToolButton::clicked, this, [this, name] { buttonClick(name); });
        m_buttons << button;
        ++i;
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
}

QToolButton *TF_Xtwh::button(const QString &name) const
{
    for (QToolButton *b : m_buttons) {
        if (b->objectName() == name)
            return b;
    }
    return nullptr;
}

void TF_Xtwh::buttonClick(const QString &name)
{
    for (const MaintenanceButton &b : MaintenanceButtons()) {
        if (name != QLatin1String(b.name))
            continue;
        QString refusal;
        try {
            refusal = MaintenanceRefusal(m_context.data->mainDb(), *m_context.state, b);
        } catch (const DbError &e) {
            refusal = e.text();
        }
        if (!refusal.isEmpty()) {
            m_context.notices->notice(refusal);
            return;
        }
        // Created on the click, modal, freed when it closes.
        std::unique_ptr<QDialog> screen(
            m_context.registry->create(QString::fromLatin1(b.screenClass), QString::fromUtf8(b.caption), m_context, this));
        screen->exec();
        return;
    }
}
