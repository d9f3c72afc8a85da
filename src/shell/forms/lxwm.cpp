#include "shell/forms/lxwm.h"

#include "foundation/loginstate.h"
#include "foundation/productconstants.h"
#include "platform/system/urlopener.h"
#include "screenkit/dialogparts.h"
#include "shell/forms/pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

QStringList ContactLines()
{
    const ProductConstants &p = Product();
    return {QStringLiteral("用心做好每一款软件，让您的生意更简单。"),
            QStringLiteral("官方网站：") + p.makerWebAddress,
            QStringLiteral("客服微信：扫描右侧二维码添加客服，工作日全天在线。"),
            QStringLiteral("服务热线：") + p.makerPhone,
            QStringLiteral("使用中遇到任何问题，欢迎随时与我们联系。"),
            QStringLiteral("感谢您的支持，祝您生意兴隆！")};
}

TF_Lxwm::TF_Lxwm(const LoginState &state, UrlOpener &urls, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_urls(urls)
{
    setObjectName(QStringLiteral("TF_Lxwm"));
    setWindowTitle(QStringLiteral("联系我们"));
    setStayOnTop(true);

    memo = new QPlainTextEdit(this);
    memo->setObjectName(QStringLiteral("memo"));
    memo->setReadOnly(true);
    memo->setPlainText(ContactLines().join(QLatin1Char('\n')));
    memo->setMinimumWidth(420);

    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(QrPicture(Product().makerWebAddress, 140));
    auto *caption = new QLabel(QStringLiteral("微信扫描咨询"), this);
    caption->setAlignment(Qt::AlignCenter);
    auto *code = new QVBoxLayout;
    code->addWidget(picture);
    code->addWidget(caption);
    code->addStretch();

    auto *top = new QHBoxLayout;
    top->addWidget(memo, 1);
    top->addLayout(code);

    btnWeb = NamedButton(this, "btnWeb", QStringLiteral("官方网站"));
    btnClose = NamedButton(this, "btnClose", QStringLiteral("关闭(Esc)"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnWeb);
    buttons->addWidget(btnClose);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(buttons);

    connect(btnWeb, &QPushButton::clicked, this, &TF_Lxwm::btnWebClick);
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
}

void TF_Lxwm::btnWebClick()
{
    m_urls.openUrl(Product().makerWebAddress);
}
