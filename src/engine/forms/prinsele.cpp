#include "engine/forms/prinsele.h"

#include "foundation/loginstate.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

struct Family
{
    const char *captions[3];
    const char *files[3];  // nullptr: the button is hidden
};

const Family &FamilyOf(PrintChoiceKind kind)
{
    static const Family sales = {{"销售单", "销售单(不含售价)", "销售单(含零售价)"},
                                 {"spxs.fr3", "spxs4.fr3", "spxs2.fr3"}};
    static const Family purchase = {{"采购进货单", "采购进货单(无进价)", ""}, {"cgjh.fr3", "cgjh2.fr3", nullptr}};
    return kind == PrintChoiceKind::Sales ? sales : purchase;
}

QString &StoredChoice(PrintChoiceKind kind, LoginState &state)
{
    return kind == PrintChoiceKind::Sales ? state.SalesTemplate : state.PurchaseInTemplate;
}

} // namespace

TF_PrinSele::TF_PrinSele(PrintChoiceKind kind, LoginState &state, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_kind(kind), m_state(state)
{
    setObjectName(QStringLiteral("TF_PrinSele"));
    setWindowTitle(QStringLiteral("选择打印单据样式"));
    setModal(true);

    auto *label = new QLabel(QStringLiteral("请选择需要的单据样式："), this);
    label->setObjectName(QStringLiteral("Label1"));

    const Family &family = FamilyOf(kind);
    QString &stored = StoredChoice(kind, state);
    if (stored.isEmpty())
        stored = QString::fromLatin1(family.files[0]);

    auto *choices = new QVBoxLayout;
    choices->setContentsMargins(24, 4, 8, 4);
    for (int i = 0; i < 3; ++i) {
        m_buttons[i] = new QRadioButton(QString::fromUtf8(family.captions[i]), this);
        m_buttons[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        m_buttons[i]->setVisible(family.files[i] != nullptr);
        if (family.files[i] && stored == QLatin1String(family.files[i]))
            m_buttons[i]->setChecked(true);
        connect(m_buttons[i], &QRadioButton::clicked, this, [this, i] { choose(i); });
        choices->addWidget(m_buttons[i]);
    }

    m_btnOk = new QPushButton(QStringLiteral("确定(F5)"), this);
    m_btnOk->setObjectName(QStringLiteral("btnOk"));
    m_btnExit = new QPushButton(QStringLiteral("退出(Esc)"), this);
    m_btnExit->setObjectName(QStringLiteral("btnExit"));
    connect(m_btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnExit, &QPushButton::clicked, this, &QDialog::reject);
    keys()->bind(Qt::Key_F5, [this] { accept(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnOk);
    buttons->addWidget(m_btnExit);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(label);
    layout->addLayout(choices);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        move(screen->availableGeometry().center() - rect().center());
    }
}

void TF_PrinSele::choose(int index)
{
    const Family &family = FamilyOf(m_kind);
    if (family.files[index])
        StoredChoice(m_kind, m_state) = QString::fromLatin1(family.files[index]);
}

void PrinSeleChoice::choose(PrintChoiceKind kind, LoginState &state)
{
    TF_PrinSele dialog(kind, state, m_parent);
    dialog.exec();
}
