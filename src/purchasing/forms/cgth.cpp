#include "purchasing/forms/cgth.h"

#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/returnrules.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include <memory>

namespace handoff {
// The purchase document query in return mode: in "returnNumber" (this window's number); out,
// when a receipt was chosen, "returnReceipt".
inline constexpr const char *ReturnNumber = "returnNumber";
inline constexpr const char *ReturnReceipt = "returnReceipt";
} // namespace handoff

TF_Cgth::TF_Cgth(const ScreenContext &context, QWidget *parent)
    : TF_Cgjh(PurchaseKind::Return, context, parent)
{
    setObjectName(QStringLiteral("TF_Cgth"));
    addButton()->setText(QStringLiteral("添加商品(F2)"));
    m_wholeReturn = new QPushButton(QStringLiteral("整单退货"), buttonGroup());
    m_wholeReturn->setObjectName(QStringLiteral("btnZdth"));
    m_wholeReturn->setAutoDefault(false);
    static_cast<QHBoxLayout *>(buttonGroup()->layout())->addWidget(m_wholeReturn);
    connect(m_wholeReturn, &QPushButton::clicked, this, &TF_Cgth::wholeReturn);
    // A receipt handed over by the shell is taken once the window has opened.
    connect(this, &ScreenDialog::opened, this, [this] {
        const QString receipt = FollowOn().takeReturnSource();
        if (!receipt.isEmpty())
            loadWholeReceipt(receipt, false);
    });
}

ReturnRules TF_Cgth::rules() const
{
    return ReturnRules(m_db, *m_context.state, *m_context.clock, *m_context.notices);
}

void TF_Cgth::updateTotals()
{
    const double payable = rules().payable(number());
    m_payable->setValue(payable);
    m_paid->setValue(rules().paidAfterChange(payable, m_paid->value()));
    // With lines the supplier and warehouse stay as they are.
    const bool lines = lineCount() > 0;
    m_supplierBox->setEnabled(!lines);
    m_warehouse->setEnabled(!lines);
    m_supplierButton->setVisible(!lines);
}

void TF_Cgth::documentStarted()
{
    m_sourceReceipt.clear();
}

void TF_Cgth::draftDiscarded()
{
    m_sourceReceipt.clear();
}

void TF_Cgth::save()
{
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    const PurchaseSaveResult r = rules().save(number(), lineCount(), headerInput(), m_sourceReceipt);
    if (!r.saved()) {
        reloadLines();
        return;
    }
    startNew();
}

void TF_Cgth::wholeReturn()
{
    Notices &notices = *m_context.notices;
    if (lineCount() > 0) {
        notices.notice(QStringLiteral("请先保存本次的退货单据！"));
        return;
    }
    if (m_supplierBox->text().trimmed().isEmpty()) {
        notices.notice(QStringLiteral("请选择供货商！"));
        return;
    }
    if (m_warehouse->count() == 0) {
        notices.notice(QStringLiteral("请选择仓库！"));
        return;
    }
    if (m_handler->count() == 0) {
        notices.notice(QStringLiteral("请选择经办人！"));
        return;
    }
    std::unique_ptr<QDialog> query(
        m_context.registry->create(QStringLiteral("TF_Jthcx"), QStringLiteral("进退货查询"), m_context, this));
    query->setProperty(handoff::ReturnNumber, number());
    query->exec();
    const QString receipt = query->property(handoff::ReturnReceipt).toString();
    query.reset();
    if (!receipt.isEmpty())
        loadWholeReceipt(receipt, true);
}

void TF_Cgth::loadWholeReceipt(const QString &receipt, bool fromQuery)
{
    const std::optional<WholeReturnSource> s = rules().loadWholeReceipt(receipt, number(), documentDay());
    if (!s) {
        startNew();
        return;
    }
    setNumber(s->number);
    m_sourceReceipt = s->receipt;
    m_supplierSn = s->supplierSn;
    m_supplierBox->setText(s->supplierName);
    m_warehouse->selectText(s->warehouseName);
    m_handler->selectText(s->handlerName);
    m_note->setText(s->note);
    if (fromQuery) {
        m_invoiceNo->setText(s->invoiceNo);
        m_invoiceAmount->setValue(s->invoiceAmount);
    }
    reloadLines();
    updateButtons();
    updateTotals();
    m_payable->setValue(s->payable);
    m_paid->setValue(s->paid);
}
