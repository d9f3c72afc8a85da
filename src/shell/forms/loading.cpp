#include "shell/forms/loading.h"

#include "foundation/productconstants.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

namespace {

QPixmap splashPicture()
{
    QPixmap pix(500, 300);
    QPainter p(&pix);
    QLinearGradient g(0, 0, 500, 300);
    g.setColorAt(0, QColor(0x1f, 0x4e, 0x8c));
    g.setColorAt(1, QColor(0x3a, 0x8f, 0xc9));
    p.fillRect(pix.rect(), g);
    p.setPen(Qt::white);
    QFont title(QStringLiteral("Noto Sans CJK SC"), 30, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(0, 70, 500, 60), Qt::AlignCenter, Product().brandWord + QStringLiteral(" 进销存"));
    QFont sub(QStringLiteral("Noto Sans CJK SC"), 13);
    p.setFont(sub);
    p.drawText(QRect(0, 140, 500, 30), Qt::AlignCenter,
               QStringLiteral("采购 · 销售 · 库存 · 往来 · 前台收银"));
    return pix;
}

} // namespace

TF_Loading::TF_Loading(QWidget *parent)
    : QDialog(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("TF_Loading"));
    setFixedSize(500, 300);

    m_image1 = new QLabel(this);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(0, 0, 500, 300);
    m_image1->setScaledContents(true);
    m_image1->setPixmap(splashPicture());

    m_lMsg = new QLabel(this);
    m_lMsg->setObjectName(QStringLiteral("lMsg"));
    m_lMsg->move(131, 251);
    m_lMsg->resize(340, 30);
    QFont f(QStringLiteral("Noto Sans CJK SC"));
    f.setPixelSize(19);
    f.setBold(true);
    m_lMsg->setFont(f);
    m_lMsg->setStyleSheet(QStringLiteral("color: white;"));

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    connect(m_timer1, &QTimer::timeout, this, &TF_Loading::Timer1Timer);
}

void TF_Loading::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (const QScreen *screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    if (!m_activated) {
        m_activated = true;
        FormActivate();
    }
}

void TF_Loading::FormActivate()
{
    // The program writes and reads every date through its fixed "yyyy-MM-dd" and "HH:mm:ss"
    // forms and never through the locale, so there is no process date format to fix here.
    const ProductConstants &product = SetProductConstants();
    setWindowTitle(product.brandWord + QStringLiteral("Brivant管理系统"));
    m_timer1->start(1000);
    m_lMsg->setText(QStringLiteral("正在装载系统......"));
    // The registry compatibility entry and the copy of the Jet engine library have no meaning
    // on Linux and are left out.
    m_splashStep = 1;
}

void TF_Loading::Timer1Timer()
{
    if (m_splashStep == 3) {
        m_timer1->stop();
        accept();
        return;
    }
    if (m_splashStep == 2) {
        m_lMsg->setText(QStringLiteral("系统即将启动......"));
        m_splashStep = 3;
        return;
    }
    if (m_splashStep == 1) {
        m_lMsg->setText(QStringLiteral("正在设置环境参数......"));
        m_splashStep = 2;
    }
}
