#include "inventory/forms/kcpd_sele.h"

#include "foundation/datamodule.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "screenkit/editors.h"

#include <QPalette>

TF_Kcpd_Sele::TF_Kcpd_Sele(const ScreenContext &context, QWidget *parent)
    : InventoryLineDialog(QStringLiteral("盘点商品设置"), context, false, parent),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Kcpd_Sele"));
    m_count = new MoneyEdit(this);
    m_count->setObjectName(QStringLiteral("tsl"));
    m_count->setMinusIgnored(false);
    QFont bold = m_count->font();
    bold.setBold(true);
    m_count->setFont(bold);
    QPalette red = m_count->palette();
    red.setColor(QPalette::Text, Qt::red);
    m_count->setPalette(red);
    addEdit(QStringLiteral("盘点数量："), m_count);

    confirm = [this] { return confirmLine(); };
    connect(this, &ScreenDialog::opened, this, &TF_Kcpd_Sele::activate);
    resize(600, 280);
}

TF_Kcpd_Sele::~TF_Kcpd_Sele() = default;

void TF_Kcpd_Sele::activate()
{
    readInputs(InventoryDoc::Stocktaking);
    const CountLineOpening o = m_rules.open(*m_doc, m_mode, m_goods, m_lineId);
    showGoods(o.goods);
    SetQtyEditFormat(m_count, *m_context.state);
    m_count->setValue(o.count);
    m_count->setFocus(Qt::OtherFocusReason);
    m_count->selectAll();
}

bool TF_Kcpd_Sele::confirmLine()
{
    const InventoryResult r = m_rules.write(*m_doc, m_mode, m_goods, m_lineId, m_count->value());
    if (!r.done())
        m_count->setFocus(Qt::OtherFocusReason);
    return r.done();
}
