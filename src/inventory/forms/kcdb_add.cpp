#include "inventory/forms/kcdb_add.h"

#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

PickerOptions Options()
{
    PickerOptions o = InventoryPickerOptions(QStringLiteral("增加商品(库存调拨)"), 476);
    o.rowLimit = true;
    return o;
}

QList<GridColumn> ListColumns()
{
    return PickerGoodsColumns() << ListColumn("g_jj", "单价", 70, ColumnKind::Money)
                                << ListColumn("kc_cbj", "单价", 70, ColumnKind::Money)
                                << ListColumn("g_sj", "售价", 70, ColumnKind::Money)
                                << ListColumn("kc_sl", "库存量", 70, ColumnKind::Quantity)
                                << HiddenColumn("g_jm", ColumnKind::Text, 60) << HiddenColumn("g_sptm", ColumnKind::Text, 90);
}

QList<GridColumn> BasketColumns()
{
    return PickerBasketGoodsColumns() << ListColumn("ts_dj", "单价", 65, ColumnKind::Money)
                                      << ListColumn("ts_dzl", "售价", 65, ColumnKind::Money)
                                      << ListColumn("ts_sl", "数量", 60, ColumnKind::Quantity)
                                      << HiddenColumn("id", ColumnKind::Integer, 40) << HiddenColumn("g_sn", ColumnKind::Text, 80);
}

} // namespace

TF_Kcdb_Add::TF_Kcdb_Add(const ScreenContext &context, QWidget *parent)
    : InventoryPickerDialog(Options(), InventoryDoc::Transfer, context, ListColumns(), BasketColumns(), parent)
{
    setObjectName(QStringLiteral("TF_Kcdb_Add"));
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_quantity = new MoneyEdit(bar);
    m_quantity->setObjectName(QStringLiteral("tsl"));
    row->addWidget(new QLabel(QStringLiteral("默认添加数量："), bar));
    row->addWidget(m_quantity);
    row->addStretch(1);
    if (auto *left = qobject_cast<QVBoxLayout *>(listPages()->parentWidget()->layout()))
        left->insertWidget(0, bar);

    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("商品数"));
        grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    }
    basketGrid()->setFooter(QStringLiteral("g_name"), FooterKind::TextCount, QStringLiteral("记录数:"));
    basketGrid()->setFooter(QStringLiteral("ts_sl"), FooterKind::Sum);
    m_basketMenu = installPickerMenus();

    add = [this](const QVariantList &) { addRows(); };
    setDoubleClickAdds(m_context.state, [this](DataGrid *grid, int row) { addDirect(grid, {row}); });
}

TF_Kcdb_Add::~TF_Kcdb_Add() = default;

void TF_Kcdb_Add::afterActivate()
{
    const LoginState &state = *m_context.state;
    // The price columns by the valuation of the lines and the rights.
    const QString mode = state.TransferPriceBasis;
    const bool cost = state.RightShowCost;
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setColumnGated(QStringLiteral("kc_cbj"), !(mode != QLatin1String("1") && mode != QLatin1String("2") && cost));
        grid->setColumnGated(QStringLiteral("g_sj"), !(mode == QLatin1String("1") && state.RightShowSalePrice));
        grid->setColumnGated(QStringLiteral("g_jj"), !(mode == QLatin1String("2") && cost));
        grid->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
        for (const char *f : {"g_jj", "kc_cbj", "g_sj"})
            SetMoneyColumnFormat(*grid, QString::fromLatin1(f), state);
        SetQtyColumnFormat(*grid, QStringLiteral("kc_sl"), state);
    }
    DataGrid *b = basketGrid();
    b->setColumnGated(QStringLiteral("ts_dj"), !(mode != QLatin1String("1") && cost));
    b->setColumnGated(QStringLiteral("ts_dzl"), !(mode == QLatin1String("1") && state.RightShowSalePrice));
    b->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    SetMoneyColumnFormat(*b, QStringLiteral("ts_dj"), state);
    SetMoneyColumnFormat(*b, QStringLiteral("ts_dzl"), state);
    SetQtyColumnFormat(*b, QStringLiteral("ts_sl"), state);
    SetQtyFooterFormat(*b, QStringLiteral("ts_sl"), state);
    SetQtyEditFormat(m_quantity, state);
    m_quantity->setValue(1);
}

void TF_Kcdb_Add::addRows()
{
    const QList<int> rows = chosenRows();
    if (rows.isEmpty())
        return;
    if (rows.size() >= 2) {
        addDirect(frontGrid(), rows);
        return;
    }
    openLineDialog(InventoryLineMode::BasketAdd, frontGrid()->value(rows.first(), QStringLiteral("g_sn")).toString(), 0);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Kcdb_Add::addDirect(DataGrid *grid, const QList<int> &rows)
{
    QList<PickedGoods> goods;
    for (int row : rows)
        goods << PickedGoods{grid->value(row, QStringLiteral("g_sn")).toString(),
                             grid->value(row, QStringLiteral("kc_sl")).toDouble()};
    m_rules.addTransferGoods(*m_doc, goods, m_quantity->value());
    reloadBasket();
}
