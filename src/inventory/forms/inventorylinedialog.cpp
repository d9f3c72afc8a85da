#include "inventory/forms/inventorylinedialog.h"

#include "foundation/loginstate.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"

#include <QPushButton>
#include <QTabWidget>

InventoryLineDialog::InventoryLineDialog(const QString &caption, const ScreenContext &context, bool stockLast,
                                         QWidget *parent)
    : LineDialog(caption, context.state->UiFontSize, parent), m_context(context)
{
    addInfo(QStringLiteral("g_sn"), QStringLiteral("商品编号："));
    addInfo(QStringLiteral("g_name"), QStringLiteral("商品名称："));
    addInfo(QStringLiteral("gg_name"), QStringLiteral("规格型号："));
    addInfo(QStringLiteral("dw_name"), QStringLiteral("单        位："));
    addInfo(QStringLiteral("g_sccs"), QStringLiteral("生产厂商："));
    addInfo(QStringLiteral("color_name"), QStringLiteral("颜        色："));
    if (!stockLast)
        addInfo(QStringLiteral("kc_sl"), QStringLiteral("当前库存："));
    addInfo(QStringLiteral("g_bz"), QStringLiteral("备        注："));
    if (stockLast)
        addInfo(QStringLiteral("kc_sl"), QStringLiteral("当前库存："));
    // No history page and no picture here.
    pages()->hide();
    pictureButton()->hide();
    keys()->unbind(Qt::Key_F4);
}

InventoryLineDialog::~InventoryLineDialog() = default;

void InventoryLineDialog::readInputs(InventoryDoc doc)
{
    m_doc = DocumentContextOr(this, m_ownDoc, InventoryDocType(doc));
    m_mode = InventoryLineModeFromTag(InventoryDocOf(m_doc->type.prefix), property(handoff::LineTag).toString());
    m_goods = property(handoff::GoodsCode).toString();
    m_lineId = property(handoff::LineId).toLongLong();
}

void InventoryLineDialog::showGoods(const InventoryGoodsLabels &goods, const QString &unit)
{
    setInfo({{QStringLiteral("g_sn"), goods.code},
             {QStringLiteral("g_name"), goods.name},
             {QStringLiteral("gg_name"), goods.spec},
             {QStringLiteral("dw_name"), unit.isEmpty() ? goods.baseUnit : unit},
             {QStringLiteral("g_sccs"), goods.maker},
             {QStringLiteral("color_name"), goods.colour},
             {QStringLiteral("kc_sl"), goods.stock},
             {QStringLiteral("g_bz"), goods.note}});
    setInfoRowVisible(QStringLiteral("color_name"), IsTrue(m_context.state->UseGoodsColour));
}
