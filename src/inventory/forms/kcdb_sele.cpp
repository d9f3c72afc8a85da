#include "inventory/forms/kcdb_sele.h"

#include "foundation/datamodule.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/editors.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

TF_Kcdb_Sele::TF_Kcdb_Sele(const ScreenContext &context, QWidget *parent)
    : InventoryLineDialog(QStringLiteral("商品信息(库存调拨)"), context, false, parent),
      m_writer(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QStringLiteral("TF_Kcdb_Sele"));
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("comDw"));
    addEdit(QStringLiteral("单位："), m_unit);
    m_price = new MoneyEdit(this);
    m_price->setObjectName(QStringLiteral("tgpjjj"));
    addEdit(QStringLiteral("单价："), m_price);
    m_salePrice = new MoneyEdit(this);
    m_salePrice->setObjectName(QStringLiteral("tgsj"));
    m_salePrice->setEnabled(false);
    addEdit(QStringLiteral("售价："), m_salePrice);
    m_quantity = new MoneyEdit(this);
    m_quantity->setObjectName(QStringLiteral("tsl"));
    m_quantity->setMinusIgnored(false);
    addEdit(QStringLiteral("数量："), m_quantity);
    m_batch = new QLineEdit(this);
    m_batch->setObjectName(QStringLiteral("pcdjh"));
    addEdit(QStringLiteral("批次单号："), m_batch);
    setEditRowVisible(m_batch, false);
    m_available = new MoneyEdit(this);
    m_available->setObjectName(QStringLiteral("tsysl"));
    addEdit(QStringLiteral("可用数量："), m_available);
    setEditRowVisible(m_available, false);

    connect(m_unit, &QComboBox::currentIndexChanged, this, &TF_Kcdb_Sele::onUnitChosen);
    confirm = [this] { return confirmLine(); };
    connect(this, &ScreenDialog::opened, this, &TF_Kcdb_Sele::activate);
    resize(620, 300);
}

TF_Kcdb_Sele::~TF_Kcdb_Sele() = default;

void TF_Kcdb_Sele::activate()
{
    const LoginState &state = *m_context.state;
    readInputs(InventoryDoc::Transfer);

    const TransferLineOpening o = m_writer.open(*m_doc, m_mode, m_goods, m_lineId);
    m_filling = true;
    showGoods(o.goods, o.units.value(o.unitIndex));
    m_unit->clear();
    m_unit->addItems(o.units);
    m_unit->setCurrentIndex(o.unitIndex);
    SetMoneyEditFormat(m_price, state);
    SetMoneyEditFormat(m_salePrice, state);
    SetQtyEditFormat(m_quantity, state);
    SetQtyEditFormat(m_available, state);
    m_price->setValue(o.price);
    m_salePrice->setValue(o.salePrice);
    m_quantity->setValue(o.quantity);
    m_available->setValue(0);
    m_batch->setText(o.batchNumber);
    m_sourceId = o.sourceId;
    m_filling = false;

    const bool atSale = TransferAtSalePrice(state);
    setEditRowVisible(m_price, !atSale && state.RightShowCost);
    setEditRowVisible(m_salePrice, atSale);
    setEditRowVisible(m_unit, IsTrue(state.UseAuxUnits));
    m_quantity->setFocus(Qt::OtherFocusReason);
    m_quantity->selectAll();
}

void TF_Kcdb_Sele::onUnitChosen(int index)
{
    if (m_filling || index < 0)
        return;
    const TransferUnitPrices p = m_writer.unitPrices(*m_doc, m_goods, m_unit->itemText(index), index == 0);
    m_price->setValue(p.price);
    m_salePrice->setValue(p.salePrice);
    if (QLabel *unit = infoLabel(QStringLiteral("dw_name")))
        unit->setText(m_unit->itemText(index));
}

bool TF_Kcdb_Sele::confirmLine()
{
    TransferLineInput in;
    in.quantity = m_quantity->value();
    in.price = m_price->value();
    in.salePrice = m_salePrice->value();
    in.unit = m_unit->currentText();
    in.stockText = infoText(QStringLiteral("kc_sl"));
    in.batchNumber = m_batch->text();
    in.sourceId = m_sourceId;
    const InventoryResult r = m_writer.write(*m_doc, m_mode, m_goods, m_lineId, in);
    if (!r.done())
        m_quantity->setFocus(Qt::OtherFocusReason);
    return r.done();
}
