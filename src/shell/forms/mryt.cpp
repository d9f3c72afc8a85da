#include "shell/forms/mryt.h"

#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/dialogparts.h"
#include "shell/tiprules.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TF_Mryt::TF_Mryt(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_clock(clock), m_notices(notices)
{
    setObjectName(QStringLiteral("TF_Mryt"));
    setWindowTitle(QStringLiteral("每日一贴"));

    auto *group = new QGroupBox(QStringLiteral("操作提示"), this);
    lbTip = new QLabel(group);
    lbTip->setObjectName(QStringLiteral("lbTip"));
    lbTip->setWordWrap(true);
    lbTip->setFixedWidth(290);
    lbTip->setMinimumHeight(120);
    lbTip->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *inner = new QVBoxLayout(group);
    inner->addWidget(lbTip);

    chkDisp = new QCheckBox(QStringLiteral("启动时显示"), this);
    chkDisp->setObjectName(QStringLiteral("chkDisp"));
    btnPrev = NamedButton(this, "btnPrev", QStringLiteral("上一贴"));
    btnNext = NamedButton(this, "btnNext", QStringLiteral("下一贴"));
    btnExit = NamedButton(this, "btnExit", QStringLiteral("退出"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(chkDisp);
    buttons->addStretch();
    buttons->addWidget(btnPrev);
    buttons->addWidget(btnNext);
    buttons->addWidget(btnExit);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnPrev, &QPushButton::clicked, this, &TF_Mryt::btnPrevClick);
    connect(btnNext, &QPushButton::clicked, this, &TF_Mryt::btnNextClick);
    connect(btnExit, &QPushButton::clicked, this, &TF_Mryt::reject);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Mryt::FormActivate);
}

void TF_Mryt::FormActivate()
{
    m_tipId = 0;
    try {
        chkDisp->setChecked(TipBoxTicked(m_db));
        const Tip tip = OpenTipOfTheDay(m_db, m_clock);
        m_tipId = tip.id;
        storeBox();
        lbTip->setText(tip.text);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
}

void TF_Mryt::move(bool forward)
{
    try {
        const Tip tip = NextTip(m_db, m_clock, m_tipId, forward);
        if (tip.id == 0)
            return;  // no tips at all
        m_tipId = tip.id;
        storeBox();
        lbTip->setText(tip.text);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
}

void TF_Mryt::btnPrevClick()
{
    move(false);
}

void TF_Mryt::btnNextClick()
{
    move(true);
}

void TF_Mryt::storeBox()
{
    StoreTipBox(m_db, chkDisp->isChecked());
}

void TF_Mryt::reject()
{
    try {
        storeBox();
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
    ScreenDialog::reject();
}
