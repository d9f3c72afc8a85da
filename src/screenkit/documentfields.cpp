#include "screenkit/documentfields.h"

#include "screenkit/editors.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

namespace {

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QLabel *Caption(const char *text, QWidget *parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

} // namespace

QToolButton *NewBoxButton(QWidget *parent, const char *objectName)
{
    auto *b = Named(new QToolButton(parent), objectName);
    b->setText(QStringLiteral("..."));
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

PartnerField NewPartnerField(QWidget *parent, const char *boxName, const char *buttonName, int maxLength)
{
    PartnerField f;
    f.row = new QWidget(parent);
    auto *layout = new QHBoxLayout(f.row);
    layout->setContentsMargins(0, 0, 0, 0);
    f.box = Named(new QLineEdit(f.row), boxName);
    f.box->setMaxLength(maxLength);
    f.box->setToolTip(QStringLiteral("输入编号,名称,拼音简码,联系电话,联系地址进行查询"));
    InstallCharFilter(f.box, CharFilter::Standard);
    f.button = NewBoxButton(f.row, buttonName);
    layout->addWidget(f.box, 1);
    layout->addWidget(f.button);
    return f;
}

DocumentBottom::DocumentBottom(QWidget *bottom, const DocumentBottomOptions &options, QObject *parent)
    : QObject(parent), m_options(options)
{
    m_grid = new QGridLayout;
    static_cast<QBoxLayout *>(bottom->layout())->addLayout(m_grid, 1);
    payable = Named(new MoneyEdit(bottom), "tyfje");
    payable->setReadOnly(true);
    paid = Named(new MoneyEdit(bottom), options.paidName);
    settle = Named(new KeyedCombo(bottom), "comJsfs");
    handler = Named(new KeyedCombo(bottom), "comUser");
    handlerButton = NewBoxButton(bottom, "btnUser");
    handlerButton->hide();
    originalNo = Named(new QLineEdit(bottom), "tsn2");
    originalNo->setMaxLength(16);
    originalNoLabel = Caption("原始单号：", bottom);
    note = Named(new QLineEdit(bottom), "tnote");
    note->setMaxLength(200);
    noteButton = NewBoxButton(bottom, "btnDjbz");
    noteButton->hide();
    invoiceNo = Named(new QLineEdit(bottom), "tfpno");
    invoiceNo->setMaxLength(32);
    invoiceAmount = Named(new MoneyEdit(bottom), "tfpje");
    freight = Named(new MoneyEdit(bottom), "tyf");
    packing = Named(new MoneyEdit(bottom), "tbzf");
    wePay = Named(new QCheckBox(QStringLiteral("我方付费"), bottom), "chkYf");
    wePay->setChecked(true);
    wePay->hide();
    for (QLineEdit *e : {originalNo, note, invoiceNo})
        InstallCharFilter(e, CharFilter::Standard);

    auto *handlerRow = new QHBoxLayout;
    handlerRow->addWidget(handler, 1);
    handlerRow->addWidget(handlerButton);
    auto *noteRow = new QHBoxLayout;
    noteRow->addWidget(note, 1);
    noteRow->addWidget(noteButton);
    payableLabel = Caption(options.payableCaption, bottom);
    paidLabel = Caption(options.paidCaption, bottom);
    QLabel *invoiceNoLabel = Caption("发票号：", bottom);
    QLabel *invoiceLabel = Caption("发票金额：", bottom);
    QLabel *freightLabel = Caption("运费：", bottom);
    QLabel *packingLabel = Caption("包装费：", bottom);
    m_grid->addWidget(payableLabel, 0, 0);
    m_grid->addWidget(payable, 0, 1);
    m_grid->addWidget(paidLabel, 0, 2);
    m_grid->addWidget(paid, 0, 3);
    settleLabel = Caption(options.settleCaption, bottom);
    m_grid->addWidget(settleLabel, 0, 4);
    m_grid->addWidget(settle, 0, 5);
    settle->setVisible(options.settleBox);
    m_grid->addWidget(Caption("经办人：", bottom), 0, 6);
    m_grid->addLayout(handlerRow, 0, 7);
    m_grid->addWidget(originalNoLabel, 1, 0);
    m_grid->addWidget(originalNo, 1, 1);
    m_grid->addWidget(Caption(options.noteCaption, bottom), 1, 2);
    m_grid->addLayout(noteRow, 1, 3, 1, options.noteSpan);
    m_grid->addWidget(invoiceNoLabel, 2, 0);
    m_grid->addWidget(invoiceNo, 2, 1);
    m_grid->addWidget(invoiceLabel, 2, 2);
    m_grid->addWidget(invoiceAmount, 2, 3);
    m_grid->addWidget(freightLabel, 2, 4);
    m_grid->addWidget(freight, 2, 5);
    m_grid->addWidget(packingLabel, 2, 6);
    m_grid->addWidget(packing, 2, 7);
    m_grid->addWidget(wePay, 2, 8);
    if (options.invoice)
        invoiceWidgets = {invoiceNoLabel, invoiceNo, invoiceLabel, invoiceAmount};
    else
        for (QWidget *w : {static_cast<QWidget *>(invoiceNoLabel), static_cast<QWidget *>(invoiceNo),
                           static_cast<QWidget *>(invoiceLabel), static_cast<QWidget *>(invoiceAmount)})
            w->hide();
    freightWidgets = {freightLabel, freight, packingLabel, packing};
    amountWidgets = {payableLabel, payable, paidLabel, paid};

    accountPanel = Named(new QFrame(bottom), options.accountPanelName);
    accountPanel->setFrameShape(QFrame::StyledPanel);
    auto *ap = new QHBoxLayout(accountPanel);
    ap->setContentsMargins(4, 2, 4, 2);
    account = Named(new KeyedCombo(accountPanel), "comYhzh");
    auto *close = Named(new QToolButton(accountPanel), "btnYhzhClose");
    close->setText(QStringLiteral("X"));
    accountCaption = Caption(options.accountCaption, accountPanel);
    ap->addWidget(accountCaption);
    ap->addWidget(account, 1);
    ap->addWidget(close);
    m_grid->addWidget(accountPanel, 3, 2, 1, 4);
    accountPanel->hide();
    connect(close, &QToolButton::clicked, this, [this] { setAccountPanelShown(false); });

    // The handler's and the note's buttons follow the focus.
    for (QWidget *w : {static_cast<QWidget *>(handler), static_cast<QWidget *>(settle), static_cast<QWidget *>(note)})
        watch(w);
}

void DocumentBottom::watch(QWidget *w)
{
    if (m_watched.contains(w))
        return;
    m_watched << w;
    w->installEventFilter(this);
}

void DocumentBottom::showAccountOn(const QList<QWidget *> &show)
{
    for (QWidget *w : show) {
        m_show << w;
        watch(w);
    }
}

void DocumentBottom::hideAccountOn(const QList<QWidget *> &hide)
{
    for (QWidget *w : hide) {
        m_hide << w;
        watch(w);
    }
}

void DocumentBottom::setAccountPanelShown(bool shown)
{
    accountPanel->setVisible(shown && (!m_accountsInUse || m_accountsInUse()));
}

void DocumentBottom::clearFields()
{
    for (MoneyEdit *e : moneyEdits())
        e->setValue(0);
    note->clear();
    invoiceNo->clear();
}

QList<MoneyEdit *> DocumentBottom::moneyEdits() const
{
    return {payable, paid, invoiceAmount, freight, packing};
}

bool DocumentBottom::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (m_show.contains(static_cast<QWidget *>(watched)))
            setAccountPanelShown(true);
        else if (m_hide.contains(static_cast<QWidget *>(watched)))
            setAccountPanelShown(false);
        handlerButton->setVisible(watched == handler || watched == settle);
        noteButton->setVisible(watched == note && m_options.noteButton);
    } else if (event->type() == QEvent::FocusOut) {
        if (watched == handler || watched == settle)
            handlerButton->setVisible(false);
        if (watched == note)
            noteButton->setVisible(false);
    }
    return QObject::eventFilter(watched, event);
}
