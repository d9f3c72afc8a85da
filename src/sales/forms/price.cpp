#include "sales/forms/price.h"

#include "foundation/datamodule.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "sales/salelinewriter.h"
#include "screenkit/editors.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TF_Price::TF_Price(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context)
{
    setObjectName(QString::fromLatin1(sales::kPriceChooser));
    setWindowTitle(QString::fromUtf8(sales::kPriceCaption));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto *grid = new QGridLayout;
    m_code = new QLabel(this);
    m_code->setObjectName(QStringLiteral("lsn"));
    m_name = new QLabel(this);
    m_name->setObjectName(QStringLiteral("lname"));
    grid->addWidget(new QLabel(QStringLiteral("商品编号："), this), 0, 0);
    grid->addWidget(m_code, 0, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("商品名称："), this), 1, 0);
    grid->addWidget(m_name, 1, 1, 1, 2);
    const char *const captions[] = {"0.预设售价：",   "1.一级批发价：", "2.二级批发价：",
                                    "3.三级批发价：", "4.四级批发价：", "5.五级批发价："};
    for (int i = 0; i < 6; ++i) {
        auto *box = new MoneyEdit(this);
        box->setObjectName(i == 0 ? QStringLiteral("tsj") : QStringLiteral("tsj%1").arg(i));
        box->setReadOnly(true);
        box->installEventFilter(this);
        m_prices[size_t(i)] = box;
        auto *pick = new QPushButton(QStringLiteral("..."), this);
        pick->setObjectName(i == 0 ? QStringLiteral("btnSpsj") : QStringLiteral("btnSpsj%1").arg(i));
        pick->setAutoDefault(false);
        connect(pick, &QPushButton::clicked, this, [this, i] { choose(i); });
        grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), i + 2, 0);
        grid->addWidget(box, i + 2, 1);
        grid->addWidget(pick, i + 2, 2);
    }
    auto *hint = new QLabel(QStringLiteral("双击价格或点击价格后的按钮选择售价"), this);
    hint->setObjectName(QStringLiteral("LabelHint"));
    auto *exit = new QPushButton(QStringLiteral("退出(Esc)"), this);
    exit->setObjectName(QStringLiteral("btnCancel"));
    exit->setAutoDefault(false);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(hint, 1);
    buttons->addWidget(exit);
    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addLayout(buttons);
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Price::activate);
}

void TF_Price::activate()
{
    const QString goods = property(handoff::GoodsCode).toString();
    m_code->setText(goods);
    m_name->setText(property(handoff::GoodsName).toString());
    const SaleLineWriter rules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices);
    const std::array<double, 6> prices = rules.presetPrices(goods);
    for (int i = 0; i < 6; ++i) {
        SetMoneyEditFormat(m_prices[size_t(i)], *m_context.state);
        m_prices[size_t(i)]->setValue(prices[size_t(i)]);
    }
}

void TF_Price::choose(int level)
{
    setProperty(handoff::ChosenPrice, m_prices[size_t(level)]->value());
    accept();
}

bool TF_Price::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick)
        for (int i = 0; i < 6; ++i)
            if (watched == m_prices[size_t(i)]) {
                choose(i);
                return true;
            }
    return ScreenDialog::eventFilter(watched, event);
}
