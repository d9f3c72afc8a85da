#include "masterdata/forms/ghsgl_jm.h"

#include "masterdata/forms/masterdatascreens.h"

#include "foundation/loginstate.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Ghsgl_Jm::TF_Ghsgl_Jm(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent)
{
    setObjectName(QStringLiteral("TF_Ghsgl_Jm"));
    setWindowTitle(QStringLiteral("修改简码"));
    auto *layout = new QVBoxLayout(this);
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lname"));
    m_code = new QLineEdit(this);
    m_code->setObjectName(QStringLiteral("tjm"));
    m_code->setMaxLength(20);
    InstallCharFilter(m_code, CharFilter::Standard);
    layout->addWidget(m_name);
    layout->addWidget(m_code);
    const ConfirmButtons b = AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                               [this] { save(); });
    b.ok->setObjectName(QStringLiteral("btnSave"));
    layout->addLayout(b.row);
    connect(this, &ScreenDialog::opened, this, [this] {
        m_name->setText(property(handoff::RecordName).toString());
        m_code->setText(property(handoff::ShortCode).toString());
        m_code->setFocus();
        m_code->selectAll();
    });
}

void TF_Ghsgl_Jm::save()
{
    setProperty(handoff::NewShortCode, m_code->text());
    accept();
}
