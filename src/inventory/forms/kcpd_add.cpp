#include "inventory/forms/kcpd_add.h"

#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

namespace {

PickerOptions Options()
{
    PickerOptions o = InventoryPickerOptions(QStringLiteral("盘点商品添加"), 457);
    o.rowLimit = true;
    o.f8Adds = true;
    o.unsavedQuestion = QString::fromUtf8(kDefaultUnsavedQuestion);
    return o;
}

QList<GridColumn> ListColumns()
{
    return PickerGoodsColumns() << ListColumn("kc_sl", "库存数", 70, ColumnKind::Quantity)
                                << HiddenColumn("g_jm", ColumnKind::Text, 60) << HiddenColumn("g_sptm", ColumnKind::Text, 90);
}

QList<GridColumn> BasketColumns()
{
    return QList<GridColumn>{ListColumn("g_sn", "商品编号", 80)} + PickerBasketGoodsColumns()
           << ListColumn("ts_dj", "库存数量", 65, ColumnKind::Quantity) << ListColumn("ts_sl", "盘点数量", 65, ColumnKind::Quantity)
           << HiddenColumn("id", ColumnKind::Integer, 40);
}

} // namespace

TF_Kcpd_Add::TF_Kcpd_Add(const ScreenContext &context, QWidget *parent)
    : InventoryPickerDialog(Options(), InventoryDoc::Stocktaking, context, ListColumns(), BasketColumns(), parent)
{
    setObjectName(QStringLiteral("TF_Kcpd_Add"));
    placeListGroup({QStringLiteral("请输入商品编号或名称查询商品,双击列表可以直接选择商品"),
                    QStringLiteral("可以按住[CTRL]或[Shift]键,用鼠标点击列表中的商品实现多选")});
    addButton()->setToolTip(QStringLiteral("把左侧选中的的商品添加到当前的采购单据上!--快捷键 F8"));
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("记录数："));
        grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    }
    basketGrid()->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    basketGrid()->setFooter(QStringLiteral("ts_dj"), FooterKind::Sum);
    basketGrid()->setFooter(QStringLiteral("ts_sl"), FooterKind::Sum);
    m_basketMenu = installPickerMenus();

    add = [this](const QVariantList &) { addRows(); };
    setDoubleClickAdds(m_context.state, [this](DataGrid *grid, int row) { addDirect(grid, {row}); });
}

TF_Kcpd_Add::~TF_Kcpd_Add() = default;

void TF_Kcpd_Add::afterActivate()
{
    const LoginState &state = *m_context.state;
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
        SetQtyColumnFormat(*grid, QStringLiteral("kc_sl"), state);
    }
    DataGrid *b = basketGrid();
    b->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    for (const char *f : {"ts_dj", "ts_sl"}) {
        SetQtyColumnFormat(*b, QString::fromLatin1(f), state);
        SetQtyFooterFormat(*b, QString::fromLatin1(f), state);
    }
}

void TF_Kcpd_Add::addRows()
{
    m_rules.clearDuplicateNotice();
    const QList<int> rows = chosenRows();
    if (rows.isEmpty())
        return;
    if (rows.size() >= 2) {
        addDirect(frontGrid(), rows);
        return;
    }
    const QString goods = frontGrid()->value(rows.first(), QStringLiteral("g_sn")).toString();
    if (m_rules.refuseCounted(*m_doc, goods))
        return;
    openLineDialog(InventoryLineMode::BasketAdd, goods, 0);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Kcpd_Add::addDirect(DataGrid *grid, const QList<int> &rows)
{
    if (rows.size() == 1)
        m_rules.clearDuplicateNotice();
    QStringList goods;
    for (int row : rows)
        goods << grid->value(row, QStringLiteral("g_sn")).toString();
    m_rules.addCounted(*m_doc, goods);
    reloadBasket();
}
