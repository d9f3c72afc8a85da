#include "inventory/forms/bsby_add.h"

#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

PickerOptions Options()
{
    PickerOptions o = InventoryPickerOptions(QStringLiteral("增加商品(商品报损)"), 488);
    o.singleSelection = true;
    return o;
}

QList<GridColumn> ListColumns()
{
    return PickerGoodsColumns() << ListColumn("kc_sl", "库存", 70, ColumnKind::Quantity)
                                << HiddenColumn("g_jm", ColumnKind::Text, 60) << HiddenColumn("g_sptm", ColumnKind::Text, 90);
}

QList<GridColumn> BasketColumns()
{
    return PickerBasketGoodsColumns() << ListColumn("ts_sl", "数量", 60, ColumnKind::Quantity)
                                      << ListColumn("ts_note", "备注", 90) << HiddenColumn("id", ColumnKind::Integer, 40)
                                      << HiddenColumn("g_sn", ColumnKind::Text, 80);
}

} // namespace

TF_Bsby_Add::TF_Bsby_Add(const ScreenContext &context, QWidget *parent)
    : InventoryPickerDialog(Options(), InventoryDoc::Loss, context, ListColumns(), BasketColumns(), parent)
{
    setObjectName(QStringLiteral("TF_Bsby_Add"));
    m_listGroup = placeListGroup({QStringLiteral("请输入商品编号或名称查询商品,双击列表可以直接选择商品")});
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("商品数："));
        grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    }
    basketGrid()->setFooter(QStringLiteral("g_name"), FooterKind::TextCount, QStringLiteral("商品数："));
    basketGrid()->setFooter(QStringLiteral("ts_sl"), FooterKind::Sum);

    add = [this](const QVariantList &) { addCurrent(); };
    doubleClick = [this](DataGrid *grid, int row) {
        if (!IsTrue(m_context.state->PickerDblClickSelect)) {
            addCurrent();
            return;
        }
        m_rules.addAtCost(*m_doc, grid->value(row, QStringLiteral("g_sn")).toString());
        reloadBasket();
    };
}

TF_Bsby_Add::~TF_Bsby_Add() = default;

void TF_Bsby_Add::afterActivate()
{
    const LoginState &state = *m_context.state;
    setWindowTitle(InventoryDocOf(m_doc->type.prefix) == InventoryDoc::Overflow ? QStringLiteral("增加商品(商品报溢)")
                                                                                : QStringLiteral("增加商品(商品报损)"));
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
        SetQtyColumnFormat(*grid, QStringLiteral("kc_sl"), state);
    }
    basketGrid()->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    SetQtyColumnFormat(*basketGrid(), QStringLiteral("ts_sl"), state);
    SetQtyFooterFormat(*basketGrid(), QStringLiteral("ts_sl"), state);
}

void TF_Bsby_Add::addCurrent()
{
    DataGrid *grid = frontGrid();
    if (grid->rowCount() == 0 || grid->currentRow() < 0)
        return;
    openLineDialog(InventoryLineMode::BasketAdd, grid->currentValue(QStringLiteral("g_sn")).toString(), 0);
    searchBox()->setFocus(Qt::OtherFocusReason);
}
