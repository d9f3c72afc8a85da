#include "foundation/forms/skin.h"

#include "foundation/loginstate.h"
#include "foundation/skinstore.h"
#include "screenkit/skins.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

TF_Skin::TF_Skin(const QSqlDatabase &db, const LoginState &login, QWidget *parent)
    : QDialog(parent), m_db(db), m_login(login)
{
    setObjectName(QStringLiteral("TF_Skin"));
    setWindowTitle(QStringLiteral("更换皮肤"));
    auto *layout = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    auto *label = new QLabel(QStringLiteral("请选择皮肤："), this);
    label->setObjectName(QStringLiteral("Label1"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("cbSkin"));
    m_list->addItems(SkinNames());
    m_list->setEditable(false);
    row->addWidget(label);
    row->addWidget(m_list, 1);
    layout->addLayout(row);
    m_ok = new QPushButton(QStringLiteral("确定更换"), this);
    m_ok->setObjectName(QStringLiteral("btnOK"));
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    connect(m_list, &QComboBox::currentTextChanged, this, [this](const QString &name) {
        if (!name.isEmpty())
            ChangeSkin(name);  // preview at once
    });
    connect(m_ok, &QPushButton::clicked, this, &TF_Skin::btnOKClick);
}

void TF_Skin::ChangeSkin(const QString &name)
{
    if (ApplySkin(name))
        return;
    ApplySkin(QString::fromLatin1(kDefaultSkin));
    if (!m_login.CurrentOperatorName.isEmpty())
        StoreOperatorSkin(m_db, m_login.CurrentOperatorName, QString::fromLatin1(kDefaultSkin));
}

void TF_Skin::setAdminSkin()
{
    const QString name = ReadOrInsertOperatorSkin(m_db, m_login.CurrentOperatorName);
    ApplySkin(name);
}

void TF_Skin::btnOKClick()
{
    if (m_list->currentIndex() >= 0)
        StoreOperatorSkin(m_db, m_login.CurrentOperatorName, m_list->currentText());
    accept();
}

void TF_Skin::FormActivate()
{
    QFont f = font();
    f.setPointSize(m_login.UiFontSize > 0 ? m_login.UiFontSize : 10);
    setFont(f);
    const QString name = ReadOrInsertOperatorSkin(m_db, m_login.CurrentOperatorName);
    const QSignalBlocker block(m_list);  // selecting the stored skin is no preview
    m_list->setCurrentIndex(int(SkinNames().indexOf(name)));
}

void TF_Skin::showEvent(QShowEvent *event)
{
    FormActivate();
    QDialog::showEvent(event);
}
