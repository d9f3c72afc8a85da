#include "purchasing/forms/yfkgl_fk.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TF_Yfkgl_Fk::TF_Yfkgl_Fk(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Yfkgl_Fk"));
    setWindowTitle(QStringLiteral("单据付款"));
    auto *grid = new QGridLayout;
    m_number = WithName(new QLabel(this), "LabelDjh");
    m_supplier = WithName(new QLabel(this), "LabelGhs");
    m_balance = WithName(new QLabel(this), "LabelYfje");
    m_payable = WithName(new MoneyEdit(this), "tyfje");
    m_paid = WithName(new MoneyEdit(this), "tsfje");
    m_paidLater = WithName(new MoneyEdit(this), "thkje");
    for (MoneyEdit *e : {m_payable, m_paid, m_paidLater}) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    m_amount = WithName(new MoneyEdit(this), "tfkje");
    m_date = WithName(new DateEdit(this), "dateFk");
    m_handler = WithName(new KeyedCombo(this), "comUser");
    m_account = WithName(new KeyedCombo(this), "comYhzh");
    m_note = WithName(new QLineEdit(this), "tnote");
    m_note->setMaxLength(64);
    InstallCharFilter(m_note, CharFilter::Standard);
    int row = 0;
    const auto add = [&](const char *caption, QWidget *w) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), this), row, 0);
        grid->addWidget(w, row++, 1);
    };
    add("单据编号：", m_number);
    add("供货商名称：", m_supplier);
    auto *balanceRow = new QWidget(this);
    auto *br = new QHBoxLayout(balanceRow);
    br->setContentsMargins(0, 0, 0, 0);
    br->addWidget(m_balance);
    add("应付金额：", balanceRow);
    add("应付金额：", m_payable);
    add("实付金额：", m_paid);
    add("已付金额：", m_paidLater);
    add("付款金额：", m_amount);
    add("付款日期：", m_date);
    add("经办人：", m_handler);
    add("付款账户：", m_account);
    add("备注：", m_note);
    auto *hint = WithName(new QLabel(QStringLiteral("注：超出本单据应付金额部分，将计入该供货商的应付账款，\r该供货商的应付款将减少。"), this),
                       "LabelHint");
    hint->setWordWrap(true);
    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addWidget(hint);
    v->addLayout(AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                   [this] { save(); }).row);
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, &TF_Yfkgl_Fk::activate);
}

void TF_Yfkgl_Fk::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    FillKeyedCombo(m_handler, m_rules.handlers());
    FillKeyedCombo(m_account, m_rules.accounts(), true);
    SetMoneyEditFormat(m_amount, state);
    for (MoneyEdit *e : {m_payable, m_paid, m_paidLater})
        SetMoneyEditFormat(e, state);
    m_view = m_rules.open(property(handoff::DocumentNumber).toString());
    m_note->clear();
    m_date->setDate(m_context.clock->today());
    m_date->setEnabled(HasRight(db, state, QStringLiteral("wlzk"), 11));
    if (!m_view)
        return;
    m_number->setText(m_view->number);
    m_supplier->setText(m_view->supplierName);
    if (!m_handler->selectText(m_view->handlerName) && m_handler->count() > 0)
        m_handler->setCurrentIndex(0);
    m_account->selectText(m_view->accountName);
    m_payable->setValue(m_view->payable);
    m_paid->setValue(m_view->paid);
    m_paidLater->setValue(m_view->paidLater);
    m_amount->setValue(m_view->amount);
    m_balance->setText(m_view->balance);
    m_amount->setFocus(Qt::OtherFocusReason);
}

void TF_Yfkgl_Fk::save()
{
    if (!m_view)
        return;
    DocPaymentInput in;
    in.amount = m_amount->value();
    in.day = m_date->date().toString(QStringLiteral("yyyy-MM-dd"));
    in.handlerSn = m_handler->currentKey();
    in.accountText = m_account->currentText();
    in.note = m_note->text();
    if (const std::optional<double> saved = m_rules.save(*m_view, in)) {
        setProperty(handoff::PaidAmount, *saved);
        accept();
    }
}
