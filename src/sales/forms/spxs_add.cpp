#include "sales/forms/spxs_add.h"

#include "foundation/datamodule.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/salesscreens.h"
#include "sales/saleentry.h"
#include "sales/salelinewriter.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

namespace {

PickerOptions Options(const LoginState &state)
{
    PickerOptions o;
    o.caption = QString::fromUtf8(sales::kPickerCaption);
    o.searchFields = {QStringLiteral("g_name"), QStringLiteral("g_jm"), QStringLiteral("g_sn"),
                      QStringLiteral("g_sptm"), QStringLiteral("gg_name"), QStringLiteral("color_name")};
    o.classTreePage = true;
    o.enterSearch = IsTrue(state.PickerEnterSearch);
    o.rowLimit = true;
    o.basketWidth = 499;
    o.unsavedQuestion = QStringLiteral("所选商品还未保存，是否保存？");
    return o;
}

QList<GridColumn> GoodsColumns()
{
    GridColumn jm = ListColumn("g_jm", "简码", 60);
    GridColumn barcode = ListColumn("g_sptm", "条码", 90);
    for (GridColumn *hidden : {&jm, &barcode})
        hidden->visible = false;
    return {ListColumn("g_sn", "商品编号", 100),
            ListColumn("g_name", "商品名称", 150),
            ListColumn("dw_name", "单位", 50),
            ListColumn("gg_name", "规格型号", 80),
            ListColumn("color_name", "颜色", 60),
            ListColumn("g_sj", "预设售价", 80, ColumnKind::Money),
            ListColumn("kc_sl", "库存数", 80, ColumnKind::Quantity),
            jm,
            barcode};
}

QList<GridColumn> BasketColumns()
{
    GridColumn id = ListColumn("id", "ID", 40, ColumnKind::Integer);
    GridColumn code = ListColumn("g_sn", "商品编号", 80);
    id.visible = code.visible = false;
    auto edit = [](GridColumn c) {
        c.editable = true;
        return c;
    };
    GridColumn discount = edit(ListColumn("ts_dzl", "打折率", 60, ColumnKind::Number));
    discount.format = QStringLiteral("0.0000");
    return {ListColumn("g_name", "商品名称", 120),
            ListColumn("dw_name", "单位", 50),
            ListColumn("gg_name", "规格型号", 70),
            ListColumn("color_name", "颜色", 50),
            edit(ListColumn("ts_dj", "单价", 70, ColumnKind::Money)),
            edit(ListColumn("ts_sl", "数量", 60, ColumnKind::Quantity)),
            edit(ListColumn("ts_taxdj", "含税单价", 70, ColumnKind::Money)),
            discount,
            ListColumn("g_sj", "折后价", 70, ColumnKind::Money),
            ListColumn("ts_zje", "总金额", 80, ColumnKind::Money),
            id,
            code};
}

} // namespace

TF_Spxs_Add::TF_Spxs_Add(const ScreenContext &context, QWidget *parent)
    : PickRowsDialog(Options(*context.state), *context.notices, context.state->UiFontSize, parent), m_context(context),
      m_query(*context.state), m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    setObjectName(QString::fromLatin1(sales::kPicker));
    const QSqlDatabase db = context.data->mainDb();
    basketGroup()->setTitle(QStringLiteral("所选商品"));
    listPages()->parentWidget()->setObjectName(QStringLiteral("queryGroup"));
    addButton()->setObjectName(QStringLiteral("btnSele"));
    searchBox()->setObjectName(QStringLiteral("tkey"));
    searchBox()->setToolTip(QStringLiteral("可以输入商品编号、商品名称、名称简码进行查询"));
    searchLabel()->setObjectName(QStringLiteral("Label5"));

    // The boxes over the lists: the two filters, the quantity of a direct add, adding new goods.
    auto *title = new QLabel(QStringLiteral("查询商品列表"), this);
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_chkKh = new QCheckBox(QStringLiteral("显示当前客户的商品"), bar);
    m_chkKh->setObjectName(QStringLiteral("chkKh"));
    m_chkCk = new QCheckBox(QStringLiteral("显示当前仓库的商品"), bar);
    m_chkCk->setObjectName(QStringLiteral("chkCk"));
    m_quantity = new MoneyEdit(bar);
    m_quantity->setObjectName(QStringLiteral("tsl"));
    m_quantity->setMaximumWidth(90);
    m_newGoods = new QPushButton(QStringLiteral("添加新商品"), bar);
    m_newGoods->setObjectName(QStringLiteral("btnAdd"));
    m_newGoods->setAutoDefault(false);
    row->addWidget(m_chkKh);
    row->addWidget(m_chkCk);
    row->addWidget(new QLabel(QStringLiteral("添加数量："), bar));
    row->addWidget(m_quantity);
    row->addStretch(1);
    row->addWidget(m_newGoods);
    if (auto *left = qobject_cast<QVBoxLayout *>(listPages()->parentWidget()->layout())) {
        left->insertWidget(0, title);
        left->insertWidget(1, bar);
    }
    connect(m_chkKh, &QCheckBox::clicked, this, &TF_Spxs_Add::loadList);
    connect(m_chkCk, &QCheckBox::clicked, this, &TF_Spxs_Add::loadList);
    connect(m_newGoods, &QPushButton::clicked, this, &TF_Spxs_Add::addNewGoods);
    connect(listPages(), &QTabWidget::currentChanged, this, &TF_Spxs_Add::loadList);
    connect(classTree(), &QTreeWidget::itemClicked, this, [this] { loadList(); });

    // The goods lists, fetched in blocks of 400 and sorted by the database; the basket.
    m_listModel = new SqlGridModel(db);
    m_treeListModel = new SqlGridModel(db);
    for (SqlGridModel *m : {m_listModel, m_treeListModel}) {
        m->setColumns(GoodsColumns());
        m->setKeyField(QStringLiteral("g_sn"));
        m->setBlockSize(400);
        for (const GridColumn &c : m->columns())
            m->column(c.field).sortExpression = SalePickerQuery::sortExpression(c.field);
    }
    listGrid()->setModel(m_listModel);
    treeListGrid()->setModel(m_treeListModel);
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("商品数："));
        grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    }
    m_basketModel = new SqlGridModel(db);
    m_basketModel->setColumns(BasketColumns());
    basketGrid()->setModel(m_basketModel);
    basketGrid()->setFooter(QStringLiteral("g_name"), FooterKind::TextCount, QStringLiteral("记录数："));
    basketGrid()->setFooter(QStringLiteral("ts_sl"), FooterKind::Sum);
    basketGrid()->setFooter(QStringLiteral("ts_zje"), FooterKind::Sum);
    basketGrid()->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        if (const std::optional<LineCell> cell = SaleCellOf(field))
            m_rules.editCell(key.toLongLong(), *cell, text);
    });
    m_basketMenu = installGoodsMenus();
    connect(basketGrid(), &DataGrid::rowActivated, this, [this] { modifyButton()->click(); });

    add = [this](const QVariantList &) { addRows(); };
    setDoubleClickAdds(m_context.state, [this](DataGrid *grid, int row) { addDirect(grid, {row}); });
    modify = [this](const QVariant &key) {
        openLineDialog(LineMode::BasketModify, basketGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                       key.toLongLong());
        searchBox()->setFocus(Qt::OtherFocusReason);
    };
    remove = [this](const QVariant &key) {
        if (m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
            m_rules.removeRow(key.toLongLong());
    };
    removeAll = [this] { m_rules.removeAll(); };
    confirm = [this] {
        const SaleResult r = m_rules.confirm(*m_doc);
        reloadBasket();
        return r.done();
    };
    discard = [this] { m_rules.discard(); };
    basketCount = [this] { return m_rules.basketCount(); };
    connect(this, &ScreenDialog::opened, this, &TF_Spxs_Add::activate);
}

TF_Spxs_Add::~TF_Spxs_Add() = default;

SalePickerFilters TF_Spxs_Add::filters() const
{
    SalePickerFilters f;
    f.customer = m_chkKh->isChecked();
    f.warehouse = m_chkCk->isVisible() && m_chkCk->isChecked();
    if (listPages()->currentIndex() == 1)
        f.classSn = classTree()->currentPayload(QStringLiteral("gc_sn")).toString();
    return f;
}

void TF_Spxs_Add::activate()
{
    const LoginState &state = *m_context.state;
    m_doc = DocumentContextOr(this, m_ownDoc, SaleDocType());
    resetGoodsSearch(IsTrue(state.PickerEnterSearch));
    FillGoodsClassTree(classTree(), m_context.data->mainDb());
    m_chkCk->setVisible(IsTrue(state.AllowNegativeStock));
    m_chkKh->setChecked(false);
    loadList();
    m_rules.open();
    const ListStatement basket = m_query.basket();
    m_basketModel->setStatement(basket.body, basket.order, basket.binds);
    basketGrid()->reload(ReloadTarget::First);
    m_newGoods->setVisible(HasRight(m_context.data->mainDb(), state, QStringLiteral("qtcz"), 1));
    applyVisibility();
    m_quantity->setValue(1);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Spxs_Add::loadList()
{
    if (!m_doc)
        return;
    const bool tree = listPages()->currentIndex() == 1;
    SqlGridModel *model = tree ? m_treeListModel : m_listModel;
    const ListStatement st = m_query.goods(m_doc->warehouse, m_doc->partner, filters());
    model->setStatement(st.body, st.order, st.binds);
    (tree ? treeListGrid() : listGrid())->reload(ReloadTarget::First);
}

void TF_Spxs_Add::addRows()
{
    DataGrid *grid = frontGrid();
    QList<int> rows = grid->selectedRows();
    if (rows.isEmpty() && grid->currentRow() >= 0)
        rows << grid->currentRow();
    if (rows.isEmpty())
        return;
    if (rows.size() >= 2) {
        addDirect(grid, rows);
        return;
    }
    const QString goods = grid->value(rows.first(), QStringLiteral("g_sn")).toString();
    if (m_rules.mayAddOne(*m_doc, goods))
        openLineDialog(LineMode::BasketAdd, goods, 0);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Spxs_Add::addDirect(DataGrid *grid, const QList<int> &rows)
{
    QList<SalePickedGoods> goods;
    for (int row : rows)
        goods << SalePickedGoods{grid->value(row, QStringLiteral("g_sn")).toString(),
                                 grid->value(row, QStringLiteral("kc_sl")).toDouble()};
    m_rules.addDirect(*m_doc, goods, m_quantity->value());
    reloadBasket();
}

void TF_Spxs_Add::openLineDialog(LineMode mode, const QString &goods, qint64 rowId)
{
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QString::fromLatin1(sales::kLineDialog),
                                                               QString::fromUtf8(sales::kLineCaption), m_context, this));
    SetDocumentContext(dialog.get(), m_doc);
    dialog->setProperty(handoff::LineTag, SaleLineModeTag(mode));
    dialog->setProperty(handoff::GoodsCode, goods);
    dialog->setProperty(handoff::LineId, rowId);
    dialog->exec();
    reloadBasket();
}

void TF_Spxs_Add::addNewGoods()
{
    if (!m_newGoods->isVisible())
        return;
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxxgl_Add"), QStringLiteral("增加商品"), m_context, this));
    dialog->setProperty(handoff::Source, m_doc->pageTag());
    dialog->exec();
    const QString code = dialog->property(handoff::GoodsCode).toString();
    dialog.reset();
    if (!code.isEmpty())
        openLineDialog(LineMode::BasketAdd, code, 0);
    FillGoodsClassTree(classTree(), m_context.data->mainDb());
    loadList();
}

void TF_Spxs_Add::applyVisibility()
{
    const LoginState &state = *m_context.state;
    const bool price = state.RightShowSalePrice;
    const bool tax = IsTrue(state.UseTax);
    const bool discount = IsTrue(state.UseDiscount) && price;
    const bool colour = IsTrue(state.UseGoodsColour);
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setColumnGated(QStringLiteral("g_sj"), !price);
        grid->setColumnGated(QStringLiteral("color_name"), !colour);
        SetMoneyColumnFormat(*grid, QStringLiteral("g_sj"), state);
        SetQtyColumnFormat(*grid, QStringLiteral("kc_sl"), state);
    }
    DataGrid *b = basketGrid();
    b->setColumnGated(QStringLiteral("ts_dj"), !price);
    b->setColumnGated(QStringLiteral("ts_zje"), !price);
    b->setColumnGated(QStringLiteral("ts_taxdj"), !tax);
    b->setColumnGated(QStringLiteral("ts_dzl"), !discount);
    b->setColumnGated(QStringLiteral("g_sj"), !discount);
    b->setColumnGated(QStringLiteral("color_name"), !colour);
    const bool priceEdit = IsTrue(state.AllowSalePriceEdit);
    for (const char *f : {"ts_dj", "ts_taxdj"}) {
        GridColumn &c = m_basketModel->column(QString::fromLatin1(f));
        c.editable = c.focusable = priceEdit;
    }
    for (const char *f : {"ts_dj", "ts_taxdj", "ts_zje"})
        SetMoneyColumnFormat(*b, QString::fromLatin1(f), state);
    SetQtyColumnFormat(*b, QStringLiteral("ts_sl"), state);
    SetMoneyFooterFormat(*b, QStringLiteral("ts_zje"), state);
    SetQtyFooterFormat(*b, QStringLiteral("ts_sl"), state);
    SetQtyEditFormat(m_quantity, state);
    m_quantity->setMaxLength(9);
}
