#include "purchasing/forms/modidatejh.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/forms/supplierpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/screenshapes.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TF_ModiDateJh::TF_ModiDateJh(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices), m_fields(this)
{
    setObjectName(QStringLiteral("TF_ModiDateJh"));
    setWindowTitle(QStringLiteral("修改开单日期"));
    m_supplier = WithName(new QLineEdit(this), "tGhsName");
    m_supplier->setMaxLength(64);
    InstallCharFilter(m_supplier, CharFilter::Standard);
    m_supplier->setPlaceholderText(QStringLiteral("回车键开始查询"));
    auto *supplierButton = WithName(new QToolButton(this), "btnGhs");
    supplierButton->setText(QStringLiteral("..."));
    supplierButton->setFocusPolicy(Qt::NoFocus);
    auto *supplierRow = new QWidget(this);
    auto *supplierLayout = new QHBoxLayout(supplierRow);
    supplierLayout->setContentsMargins(0, 0, 0, 0);
    supplierLayout->addWidget(m_supplier, 1);
    supplierLayout->addWidget(supplierButton);
    m_freight = WithName(new MoneyEdit(this), "tyf");
    m_freight->setMaxLength(9);
    m_packing = WithName(new MoneyEdit(this), "tbzf");
    m_packing->setMaxLength(9);
    m_wePay = WithName(new QCheckBox(QStringLiteral("我方付费"), this), "chkYf");
    m_wePay->hide();
    m_invoiceNo = WithName(new QLineEdit(this), "tfpno");
    m_invoiceNo->setMaxLength(32);
    m_invoiceAmount = WithName(new MoneyEdit(this), "tfpje");
    m_invoiceAmount->setMaxLength(10);
    m_fields.addHeadRows(supplierRow);
    m_freightRows = m_fields.addRow("运费：", m_freight);
    m_freightRows += m_fields.addRow("包装费：", m_packing);
    m_invoiceRows = m_fields.addRow("发票号码：", m_invoiceNo);
    m_invoiceRows += m_fields.addRow("发票金额：", m_invoiceAmount);
    m_fields.finish([this] { save(); });
    connect(m_fields.date, &QDateEdit::dateChanged, this, &TF_ModiDateJh::onDateChanged);

    ChooserOptions o;
    o.caption = QStringLiteral("选择供货商");
    o.searchCaption = QStringLiteral("查找供货商(F2)：");
    o.searchFields = {QStringLiteral("ghs_name"), QStringLiteral("ghs_jm"), QStringLiteral("ghs_sn")};
    m_panel = NewSupplierChooser(o, m_suppliers, context.state->UiFontSize);
    m_panel->setObjectName(QStringLiteral("RzPanelGhs"));
    m_panel->embed(this);
    m_panel->addKeyOwner(m_supplier);
    const auto takeRow = [this] {
        if (m_panel->grid()->rowCount() == 0)
            return false;
        m_supplierSn = m_panel->grid()->currentValue(QStringLiteral("ghs_sn")).toString();
        m_supplierName = m_panel->grid()->currentValue(QStringLiteral("ghs_name")).toString();
        m_supplier->setText(m_supplierName);
        m_panel->hide();
        return true;
    };
    connect(m_panel, &QDialog::accepted, this, [this] {
        m_supplierSn = m_panel->chosenCode();
        m_supplierName = m_panel->chosenName();
        m_supplier->setText(m_supplierName);
    });
    // F5 while the panel shows: the supplier taken, the panel closed, then the save.
    m_panel->take = [this, takeRow] {
        if (takeRow())
            save();
    };
    connect(supplierButton, &QToolButton::clicked, this, [this] { m_panel->openBelow(m_supplier, QString()); });
    connect(m_supplier, &QLineEdit::textEdited, this, [this](const QString &text) { m_panel->openBelow(m_supplier, text); });
    keys()->setEnterMovesFocus(true);
    connect(this, &ScreenDialog::opened, this, &TF_ModiDateJh::activate);
}

void TF_ModiDateJh::activate()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    m_filling = true;
    m_fields.fillLists(db, state);
    OpenSupplierList(db, state, m_suppliers, QStringLiteral("0"));
    m_panel->grid()->reload(ReloadTarget::First);
    m_panel->hide();
    for (MoneyEdit *e : {m_freight, m_packing, m_invoiceAmount})
        SetMoneyEditFormat(e, state);
    m_doc = m_rules.open(property(handoff::DocumentNumber).toString());
    if (m_doc) {
        const DateChangeDoc &d = *m_doc;
        m_fields.show(d);
        m_supplier->setText(d.supplierName);
        m_supplierSn = d.supplierSn;
        m_supplierName = d.supplierName;
        m_freight->setValue(d.freight);
        m_packing->setValue(d.packing);
        m_wePay->setChecked(d.wePay);
        m_invoiceNo->setText(d.invoiceNo);
        m_invoiceAmount->setValue(d.invoiceAmount);
    }
    const bool ret = m_doc && m_doc->kind == PurchaseKind::Return;
    const auto show = [](const QList<QWidget *> &ws, bool on) {
        for (QWidget *w : ws)
            w->setVisible(on);
    };
    show(m_fields.settleRow, !ret);
    show(m_fields.accountRow, IsTrue(state.UseCashBank));
    show(m_fields.amountRows, state.RightShowCost);
    show(m_freightRows, !ret && IsTrue(state.UseFreight));
    show(m_invoiceRows, IsTrue(state.UseInvoice));
    show(m_fields.originalRow, !ret && IsTrue(state.UseOriginalDocNo));
    m_filling = false;
}

void ShowNumberForDay(const ScreenContext &context, const DocDateChangeRules &rules, const DateChangeDoc &doc,
                      DateEdit *dateBox, QLabel *numberLabel, bool &filling, const QDate &date)
{
    const QDate today = context.clock->today();
    if (date > today && !context.notices->confirm(FutureDateQuestion(date, today))) {
        filling = true;
        dateBox->setDate(QDate::fromString(doc.oldDay, QStringLiteral("yyyy-MM-dd")));
        filling = false;
        numberLabel->setText(doc.oldNumber);
        return;
    }
    numberLabel->setText(rules.numberForDay(doc, date.toString(QStringLiteral("yyyy-MM-dd"))));
}

void TF_ModiDateJh::onDateChanged(const QDate &date)
{
    if (!m_filling && m_doc)
        ShowNumberForDay(m_context, m_rules, *m_doc, m_fields.date, m_fields.number, m_filling, date);
}

void TF_ModiDateJh::save()
{
    if (!m_doc)
        return;
    DateChangeInput in;
    m_fields.read(in);
    in.supplierText = m_supplier->text();
    in.supplierSn = m_supplierSn;
    in.supplierName = m_supplierName;
    if (m_doc->kind == PurchaseKind::Return)
        in.settleIndex = m_doc->settleIndex;
    in.freight = m_freight->value();
    in.packing = m_packing->value();
    in.wePay = m_wePay->isChecked();
    in.invoiceNo = m_invoiceNo->text();
    in.invoiceAmount = m_invoiceAmount->value();
    const DateChangeMode mode = property(handoff::DateChangeModeTag).toString() == QStringLiteral("audited")
                                    ? DateChangeMode::Audited
                                    : DateChangeMode::Pending;
    const PurchaseResult r = m_rules.save(*m_doc, m_fields.number->text(), in, mode);
    if (r.done()) {
        setProperty(handoff::NewNumber, r.number);
        accept();
    } else if (mode == DateChangeMode::Pending
               && (r.status == PurchaseStatus::Declined
                   || (r.status == PurchaseStatus::Refused && m_doc->kind == PurchaseKind::Return
                       && in.supplierText.trimmed() == in.supplierName))) {
        reject();  // the return's stock test closes the dialog
    }
}
