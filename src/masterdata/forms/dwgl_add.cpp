#include "masterdata/forms/dwgl.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_LookupAdd::TF_LookupAdd(LookupKind kind, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_kind(kind)
{
    const LookupMember &m = LookupMemberOf(kind);
    setObjectName(QString::fromLatin1(m.addClass));
    setWindowTitle(QString::fromUtf8(m.addCaption));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QString::fromUtf8(m.nameLabel), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("tname"));
    m_name->setMaxLength(m.nameLength);
    // Specifications refuse the characters that act as quotes or wildcards.
    if (kind == LookupKind::Spec)
        InstallCharFilter(m_name, CharFilter::Standard);
    row->addWidget(m_name, 1);
    layout->addLayout(row);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *save = new QPushButton(QStringLiteral("保存(F5)"), this);
    save->setObjectName(QStringLiteral("btnSave"));
    auto *quit = new QPushButton(QStringLiteral("退出(Esc)"), this);
    quit->setObjectName(QStringLiteral("btnExit"));
    buttons->addWidget(save);
    buttons->addWidget(quit);
    layout->addLayout(buttons);
    keys()->bind(Qt::Key_F5, [this] { this->save(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(save, &QPushButton::clicked, this, &TF_LookupAdd::save);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(this, &ScreenDialog::opened, this, [this] {
        m_name->clear();
        m_name->setFocus();
    });
}

void TF_LookupAdd::save()
{
    LookupListRules rules(m_context.data->mainDb(), *m_context.notices, m_kind);
    m_saved = rules.add(m_name->text());
    if (!m_saved.isEmpty())
        accept();
}
