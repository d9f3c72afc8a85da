#include "purchasing/forms/cgd_modi.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/sqlnames.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

TF_Cgd_Modi::TF_Cgd_Modi(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Cgd_Modi"));
    setWindowTitle(QStringLiteral("修改开单日期"));
    m_number = WithName(new QLabel(this), "gldjh");
    m_date = WithName(new DateEdit(this), "dateCg");
    m_date->setKeyboardTracking(false);
    m_warehouse = WithName(new KeyedCombo(this), "comCk2");
    m_supplier = WithName(new KeyedCombo(this), "comGhs");
    m_handler = WithName(new KeyedCombo(this), "comUser");
    m_note = WithName(new QLineEdit(this), "tnote");
    m_note->setMaxLength(200);
    m_settle = WithName(new KeyedCombo(this), "comJsfs");
    m_account = WithName(new KeyedCombo(this), "comYhzh");
    m_payable = WithName(new MoneyEdit(this), "tyfje");
    m_payable->setReadOnly(true);
    m_payable->setMaxLength(10);
    m_paid = WithName(new MoneyEdit(this), "tsfje");
    m_paid->setMaxLength(9);
    m_originalNo = WithName(new QLineEdit(this), "tsn2");
    m_originalNo->setMaxLength(32);

    auto *grid = new QGridLayout;
    int row = 0;
    const auto add = [&](const char *caption, QWidget *w) {
        auto *label = new QLabel(QString::fromUtf8(caption), this);
        grid->addWidget(label, row, 0);
        grid->addWidget(w, row++, 1);
        return QList<QWidget *>{label, w};
    };
    add("单号：", m_number);
    add("开单日期：", m_date);
    add("进货仓库：", m_warehouse);
    add("供货商名称：", m_supplier);
    add("经办人：", m_handler);
    add("单据备注：", m_note);
    add("结算方式：", m_settle);
    m_accountRow = add("付款账户：", m_account);
    m_amountRows = add("应付金额：", m_payable) + add("实付金额：", m_paid);
    add("原始单号：", m_originalNo);
    auto *v = new QVBoxLayout(this);
    v->addLayout(grid);
    v->addLayout(AddConfirmButtons(this, QStringLiteral("保存(F5)"), "btnExit", QStringLiteral("退出(Esc)"),
                                   [this] { save(); }).row);
    connect(m_date, &QDateEdit::dateChanged, this, &TF_Cgd_Modi::onDateChanged);
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, &TF_Cgd_Modi::activate);
}

void TF_Cgd_Modi::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    m_filling = true;
    FillKeyedCombo(m_settle, LoadSettleCombo(QStringLiteral("cg")));
    FillKeyedCombo(m_account, LoadKeyedCombo(db, QStringLiteral("jxc_yhzh"), QStringLiteral("yh_name"), QStringLiteral("yh_sn"),
                                             QStringLiteral("id")));
    FillKeyedCombo(m_warehouse, LoadOperatorWarehouses(db, state), true);
    FillKeyedCombo(m_supplier, LoadKeyedComboWhere(db, QStringLiteral("jxc_ghsxx"), QStringLiteral("ghs_name"),
                                                   QStringLiteral("ghs_sn"), QStringLiteral("id"),
                                                   SqlWhere(QStringLiteral("ghs_forbid = 0"), {})),
                   true);
    FillKeyedCombo(m_handler, LoadUserCombo(db, state, QStringLiteral("u_cg")), true);
    SetMoneyEditFormat(m_payable, state);
    SetMoneyEditFormat(m_paid, state);
    m_doc = m_rules.open(property(handoff::DocumentNumber).toString());
    if (m_doc) {
        const DateChangeDoc &d = *m_doc;
        m_number->setText(d.oldNumber);
        m_date->setDate(QDate::fromString(d.oldDay, QStringLiteral("yyyy-MM-dd")));
        for (KeyedCombo *combo : {m_warehouse, m_supplier})
            if (!combo->selectText(combo == m_warehouse ? d.warehouseName : d.supplierName) && combo->count() > 0)
                combo->setCurrentIndex(0);
        m_handler->selectText(d.handlerName);
        m_note->setText(d.note);
        m_settle->setCurrentIndex(d.settleIndex);
        m_account->selectText(d.accountName);
        m_payable->setValue(d.payable);
        m_paid->setValue(d.paid);
        m_originalNo->setText(d.originalNo);
    }
    for (QWidget *w : std::as_const(m_accountRow))
        w->setVisible(IsTrue(state.UseCashBank));
    for (QWidget *w : std::as_const(m_amountRows))
        w->setVisible(state.RightShowCost);
    m_filling = false;
}

void TF_Cgd_Modi::onDateChanged(const QDate &date)
{
    if (!m_filling && m_doc)
        ShowNumberForDay(m_context, m_rules, *m_doc, m_date, m_number, m_filling, date);
}

void TF_Cgd_Modi::save()
{
    if (!m_doc)
        return;
    DateChangeInput in;
    in.day = m_date->date().toString(QStringLiteral("yyyy-MM-dd"));
    in.warehouseSn = m_warehouse->currentKey();
    in.supplierSn = m_supplier->currentKey();
    in.supplierName = m_supplier->currentText();
    in.supplierText = in.supplierName;
    in.handlerSn = m_handler->currentKey();
    in.note = m_note->text();
    in.settleIndex = m_settle->currentIndex();
    in.accountText = m_account->currentText();
    in.payable = m_payable->value();
    in.paid = m_paid->value();
    in.originalNo = m_originalNo->text();
    const PurchaseResult r = m_rules.save(*m_doc, m_number->text(), in);
    if (r.done()) {
        setProperty(handoff::NewNumber, r.number);
        accept();
    }
}
