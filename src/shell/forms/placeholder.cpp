#include "shell/forms/placeholder.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

TF_Placeholder::TF_Placeholder(const QString &screenClass, const QString &caption, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(screenClass);
    setProperty("jxcPlaceholder", true);
    setWindowTitle(caption);
    setModal(true);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("Image1"));
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));

    m_lMsg = new QLabel(QString::fromUtf8(kPlaceholderText), this);
    m_lMsg->setObjectName(QStringLiteral("lMsg"));
    m_lMsg->setWordWrap(true);

    m_btnClose = new QPushButton(QStringLiteral("关闭(Esc)"), this);
    m_btnClose->setObjectName(QStringLiteral("btnClose"));
    m_btnClose->setMinimumWidth(96);
    connect(m_btnClose, &QPushButton::clicked, this, &QDialog::reject);

    auto *text = new QHBoxLayout;
    text->addWidget(icon, 0, Qt::AlignTop);
    text->addSpacing(12);
    text->addWidget(m_lMsg, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_btnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 16);
    layout->addLayout(text);
    layout->addSpacing(16);
    layout->addLayout(buttons);
    setMinimumWidth(380);
}
