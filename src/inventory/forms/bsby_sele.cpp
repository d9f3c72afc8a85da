#include "inventory/forms/bsby_sele.h"

#include "foundation/datamodule.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/editors.h"

#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTabWidget>

TF_Bsby_Sele::TF_Bsby_Sele(const ScreenContext &context, QWidget *parent)
    : InventoryLineDialog(QStringLiteral("商品信息(商品报损)"), context, true, parent),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Bsby_Sele"));
    m_quantity = new MoneyEdit(this);
    m_quantity->setObjectName(QStringLiteral("tsl"));
    m_quantity->setMinusIgnored(false);
    QFont bold = m_quantity->font();
    bold.setBold(true);
    m_quantity->setFont(bold);
    QPalette red = m_quantity->palette();
    red.setColor(QPalette::Text, Qt::red);
    m_quantity->setPalette(red);
    addEdit(QStringLiteral("数量："), m_quantity);
    m_note = new QLineEdit(this);
    m_note->setObjectName(QStringLiteral("tnote"));
    m_note->setMaxLength(64);
    InstallCharFilter(m_note, CharFilter::Standard);
    addEdit(QStringLiteral("备注："), m_note);
    m_cost = new MoneyEdit(this);
    m_cost->setObjectName(QStringLiteral("tcbj"));
    m_cost->setDecimals(8);
    addEdit(QStringLiteral("单价："), m_cost);
    m_batch = new QLineEdit(this);
    m_batch->setObjectName(QStringLiteral("pcdjh"));
    addEdit(QStringLiteral("批次单号："), m_batch);
    m_available = new MoneyEdit(this);
    m_available->setObjectName(QStringLiteral("tsysl"));
    addEdit(QStringLiteral("可用数量："), m_available);
    for (QWidget *hidden : {static_cast<QWidget *>(m_cost), static_cast<QWidget *>(m_batch), static_cast<QWidget *>(m_available)})
        setEditRowVisible(hidden, false);

    confirm = [this] { return confirmLine(); };
    connect(this, &ScreenDialog::opened, this, &TF_Bsby_Sele::activate);
    resize(600, 280);
}

TF_Bsby_Sele::~TF_Bsby_Sele() = default;

void TF_Bsby_Sele::activate()
{
    const LoginState &state = *m_context.state;
    readInputs(InventoryDoc::Loss);
    setWindowTitle(InventoryDocOf(m_doc->type.prefix) == InventoryDoc::Overflow ? QStringLiteral("商品信息(商品报溢)")
                                                                                : QStringLiteral("商品信息(商品报损)"));

    const LossLineOpening o = m_rules.open(*m_doc, m_mode, m_goods, m_lineId);
    showGoods(o.goods);
    SetQtyEditFormat(m_quantity, state);
    SetQtyEditFormat(m_available, state);
    m_quantity->setValue(o.quantity);
    m_note->setText(o.note);
    m_costValue = o.cost;
    m_cost->setValue(o.cost);
    m_batch->setText(o.batchNumber);
    m_available->setValue(0);
    m_batchId = o.batchId;
    m_quantity->setFocus(Qt::OtherFocusReason);
    m_quantity->selectAll();
}

bool TF_Bsby_Sele::confirmLine()
{
    LossLineInput in;
    in.quantity = m_quantity->value();
    in.cost = m_costValue;
    in.note = m_note->text();
    in.batchNumber = m_batch->text();
    in.batchId = m_batchId;
    const InventoryResult r = m_rules.write(*m_doc, m_mode, m_goods, m_lineId, in);
    if (!r.done())
        m_quantity->setFocus(Qt::OtherFocusReason);
    return r.done();
}
