#include "purchasing/forms/cgjh_add.h"

#include "foundation/datamodule.h"
#include "foundation/db/numbers.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "purchasing/purchaselinemath.h"
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

PickerOptions Options(PurchaseKind kind, const LoginState &state)
{
    PickerOptions o;
    o.caption = QString::fromUtf8(PurchaseScreensOf(kind).pickerCaption);
    o.searchFields = {QStringLiteral("g_name"), QStringLiteral("g_jm"), QStringLiteral("g_sn"),
                      QStringLiteral("g_sptm"), QStringLiteral("gg_name"), QStringLiteral("color_name")};
    o.classTreePage = true;
    o.enterSearch = IsTrue(state.PickerEnterSearch);
    o.enterStays = kind == PurchaseKind::Return;
    o.rowLimit = kind != PurchaseKind::Return;
    o.basketWidth = kind == PurchaseKind::Return ? 457 : 509;
    return o;
}

QList<GridColumn> GoodsColumns(PurchaseKind kind)
{
    GridColumn id = ListColumn("id", "ID", 40, ColumnKind::Integer);
    GridColumn jm = ListColumn("g_jm", "简码", 60);
    GridColumn barcode = ListColumn("g_sptm", "条码", 90);
    for (GridColumn *hidden : {&id, &jm, &barcode})
        hidden->visible = false;
    return {ListColumn("g_sn", "商品编号", 100),
            ListColumn("g_name", "商品名称", 150),
            ListColumn("dw_name", "单位", 50),
            ListColumn("gg_name", kind == PurchaseKind::Return ? "规格" : "规格型号", 80),
            ListColumn("color_name", "颜色", 60),
            ListColumn("g_jj", "参考进价", 80, ColumnKind::Money),
            ListColumn("kc_sl", "库存数", 80, ColumnKind::Quantity),
            id,
            jm,
            barcode};
}

QList<GridColumn> BasketColumns(PurchaseKind kind)
{
    GridColumn id = ListColumn("id", "ID", 40, ColumnKind::Integer);
    id.visible = false;
    const bool editable = kind != PurchaseKind::Return;
    auto edit = [editable](GridColumn c) {
        c.editable = editable;
        return c;
    };
    const GridColumn price = edit(ListColumn("ts_dj", "进价", 70, ColumnKind::Money));
    const GridColumn quantity = edit(ListColumn("ts_sl", "数量", 60, ColumnKind::Quantity));
    const GridColumn rate = edit(ListColumn("ts_tax", "税率", 50, ColumnKind::Number));
    const GridColumn taxPrice = edit(ListColumn("ts_taxdj", "含税单价", 70, ColumnKind::Money));
    const GridColumn discount = edit(ListColumn("ts_dzl", "打折率", 60, ColumnKind::Number));
    const GridColumn net = ListColumn("g_sj", "折后价", 70, ColumnKind::Money);
    const GridColumn total = ListColumn("ts_zje", "总金额", 80, ColumnKind::Money);
    QList<GridColumn> columns{ListColumn("g_name", "商品名称", 120), ListColumn("dw_name", "单位", 50),
                              ListColumn("gg_name", "规格型号", 70), ListColumn("color_name", "颜色", 50)};
    switch (kind) {
    case PurchaseKind::Receipt:
        columns << price << quantity << rate << taxPrice << discount << net << total;
        break;
    case PurchaseKind::Order:
        columns << price << discount << net << rate << taxPrice << quantity << total;
        break;
    case PurchaseKind::Return:
        columns << price << discount << rate << taxPrice << quantity << total;
        break;
    }
    columns << id;
    return columns;
}

} // namespace

TF_Cgjh_Add::TF_Cgjh_Add(PurchaseKind kind, const ScreenContext &context, QWidget *parent)
    : PickRowsDialog(Options(kind, *context.state), *context.notices, context.state->UiFontSize, parent), m_kind(kind),
      m_context(context), m_rules(context.data->mainDb(), *context.state, *context.notices, kind)
{
    setObjectName(QString::fromLatin1(PurchaseScreensOf(kind).picker));
    const QSqlDatabase db = context.data->mainDb();
    const bool isReturn = kind == PurchaseKind::Return;
    basketGroup()->setTitle(QStringLiteral("所选商品"));
    addButton()->setObjectName(QStringLiteral("btnSele"));
    addButton()->setToolTip(QStringLiteral("把左侧选中的的商品添加到当前的采购单据上!--快捷键 F8"));
    searchBox()->setObjectName(QStringLiteral("tkey"));
    searchBox()->setToolTip(QStringLiteral("可以输入商品编号、商品名称、名称简码进行查询"));

    // The boxes over the lists: default quantity, the two filters, adding new goods.
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    m_quantity = new MoneyEdit(bar);
    m_quantity->setObjectName(QStringLiteral("tsl"));
    m_chkGhs = new QCheckBox(QStringLiteral("只显示当前供货商的商品信息"), bar);
    m_chkGhs->setObjectName(QStringLiteral("chkGhs"));
    m_chkCk = new QCheckBox(QStringLiteral("只显示所选仓库的商品信息"), bar);
    m_chkCk->setObjectName(QStringLiteral("chkCk"));
    m_newGoods = new QPushButton(QStringLiteral("添加新商品"), bar);
    m_newGoods->setObjectName(QStringLiteral("btnAdd"));
    m_newGoods->setAutoDefault(false);
    m_newGoods->setToolTip(QStringLiteral("如果是新的商品,即商品名称不在列表中,请点"));
    if (!isReturn) {
        row->addWidget(new QLabel(QStringLiteral("默认添加数量："), bar));
        row->addWidget(m_quantity);
        row->addWidget(m_chkGhs);
        row->addWidget(m_chkCk);
        row->addStretch(1);
        row->addWidget(m_newGoods);
    } else {
        for (QWidget *w : {static_cast<QWidget *>(m_quantity), static_cast<QWidget *>(m_chkGhs),
                           static_cast<QWidget *>(m_chkCk), static_cast<QWidget *>(m_newGoods)})
            w->hide();
    }
    auto *hint = new QLabel(isReturn ? QStringLiteral("请输入商品编号或名称查询商品,双击列表可以选择商品")
                                     : QStringLiteral("请输入商品编号或名称查询商品,双击列表或按回车键可以选择商品"),
                            bar);
    hint->setObjectName(QStringLiteral("LabelHint"));
    if (auto *left = qobject_cast<QVBoxLayout *>(listPages()->parentWidget()->layout())) {
        left->insertWidget(0, bar);
        left->insertWidget(2, hint);
        if (!isReturn)
            left->insertWidget(3, new QLabel(QStringLiteral("可以按住[CTRL]或[Shift]键,用鼠标点击列表中的商品实现多选"), this));
    }
    connect(m_chkGhs, &QCheckBox::clicked, this, &TF_Cgjh_Add::loadList);
    connect(m_chkCk, &QCheckBox::clicked, this, &TF_Cgjh_Add::loadList);
    connect(m_newGoods, &QPushButton::clicked, this, &TF_Cgjh_Add::addNewGoods);
    connect(listPages(), &QTabWidget::currentChanged, this, &TF_Cgjh_Add::loadList);
    connect(classTree(), &QTreeWidget::itemClicked, this, [this] { loadList(); });

    // The goods lists, fetched in blocks; the basket.
    m_listModel = new SqlGridModel(db);
    m_treeListModel = new SqlGridModel(db);
    for (SqlGridModel *m : {m_listModel, m_treeListModel}) {
        m->setColumns(GoodsColumns(kind));
        m->setKeyField(QStringLiteral("g_sn"));
        m->setBlockSize(isReturn ? 100 : 400);
    }
    listGrid()->setModel(m_listModel);
    treeListGrid()->setModel(m_treeListModel);
    listGrid()->setFooter(QStringLiteral("g_sn"), FooterKind::Text, isReturn ? QStringLiteral("合计数量") : QStringLiteral("合计："));
    treeListGrid()->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("合计数量"));
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    }
    m_basketModel = new SqlGridModel(db);
    m_basketModel->setColumns(BasketColumns(kind));
    basketGrid()->setModel(m_basketModel);
    basketGrid()->setFooter(QStringLiteral("g_name"), FooterKind::TextCount, QStringLiteral("记录数："));
    basketGrid()->setFooter(QStringLiteral("ts_sl"), FooterKind::Sum);
    basketGrid()->setFooter(QStringLiteral("ts_zje"), FooterKind::Sum);
    if (!isReturn) {
        basketGrid()->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
            if (const std::optional<LineCell> cell = PurchaseCellOf(field))
                m_rules.editCell(key.toLongLong(), *cell, text);
        });
    }
    m_basketMenu = installGoodsMenus();
    removeAll = [this] { m_rules.removeAll(); };
    connect(basketGrid(), &DataGrid::rowActivated, this, [this] { modifyButton()->click(); });

    add = [this](const QVariantList &keys) { addRows(keys); };
    setDoubleClickAdds(m_context.state, [this](DataGrid *grid, int row) { addDirect(grid, {row}); });
    this->modify = [this](const QVariant &key) { modifyRow(key); };
    this->remove = [this](const QVariant &key) { removeRow(key); };
    confirm = [this] {
        const PurchaseResult r = m_rules.confirm(*m_doc);
        reloadBasket();
        return r.done();
    };
    discard = [this] { m_rules.discard(); };
    if (isReturn) {
        // The return picker drops the filtered characters in every box.
        for (QLineEdit *edit : findChildren<QLineEdit *>())
            if (edit != searchBox())
                InstallCharFilter(edit, CharFilter::Standard);
    }
    connect(this, &ScreenDialog::opened, this, &TF_Cgjh_Add::activate);
}

TF_Cgjh_Add::~TF_Cgjh_Add() = default;

PickerFilters TF_Cgjh_Add::filters() const
{
    PickerFilters f;
    f.warehouse = m_chkCk->isChecked();
    f.supplier = m_chkGhs->isChecked();
    if (listPages()->currentIndex() == 1)
        f.classSn = classTree()->currentPayload(QStringLiteral("gc_sn")).toString();
    return f;
}

void TF_Cgjh_Add::activate()
{
    const LoginState &state = *m_context.state;
    m_doc = DocumentContextOr(this, m_ownDoc, PurchaseDocType(m_kind));
    resetGoodsSearch(IsTrue(state.PickerEnterSearch));
    loadTree();
    const bool bound = IsTrue(state.BindOperatorWarehouse);
    m_chkCk->setChecked(bound);
    m_chkCk->setEnabled(!bound);
    m_chkGhs->setChecked(false);
    loadList();
    m_rules.open();
    const ListStatement basket = PickerBasketStatement(PurchaseDocType(m_kind), state);
    m_basketModel->setStatement(basket.body, basket.order, basket.binds);
    basketGrid()->reload(ReloadTarget::First);
    m_newGoods->setVisible(m_kind != PurchaseKind::Return
                           && HasRight(m_context.data->mainDb(), state, QStringLiteral("qtcz"), 1));
    applyVisibility();
    m_quantity->setValue(1);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Cgjh_Add::loadTree()
{
    FillGoodsClassTree(classTree(), m_context.data->mainDb());
}

void TF_Cgjh_Add::loadList()
{
    const PickerFilters f = filters();
    const bool tree = listPages()->currentIndex() == 1;
    SqlGridModel *model = tree ? m_treeListModel : m_listModel;
    const ListStatement st = PickerGoodsStatement(m_context.data->mainDb(), *m_context.state, m_kind, m_doc->warehouse,
                                                  m_doc->partner, f);
    for (const GridColumn &c : model->columns())
        model->column(c.field).sortExpression = PickerSortExpression(*m_context.state, m_kind, f, c.field);
    model->setStatement(st.body, st.order, st.binds);
    (tree ? treeListGrid() : listGrid())->reload(ReloadTarget::First);
}

void TF_Cgjh_Add::addRows(const QVariantList &keys)
{
    DataGrid *grid = frontGrid();
    QList<int> rows = grid->selectedRows();
    if (rows.isEmpty() && grid->currentRow() >= 0)
        rows << grid->currentRow();
    if (rows.isEmpty() || keys.isEmpty())
        return;
    if (rows.size() >= 2) {
        addDirect(grid, rows);
        return;
    }
    const QString goods = grid->value(rows.first(), QStringLiteral("g_sn")).toString();
    if (!m_rules.mayAddOne(*m_doc, goods))
        return;
    openLineDialog(LineMode::BasketAdd, goods, 0);
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Cgjh_Add::addDirect(DataGrid *grid, const QList<int> &rows)
{
    QList<PickedGoods> goods;
    for (int row : rows) {
        const QVariant stock = grid->value(row, QStringLiteral("kc_sl"));
        goods << PickedGoods{grid->value(row, QStringLiteral("g_sn")).toString(),
                             stock.isNull() ? QString() : NumberText(stock.toDouble())};
    }
    m_rules.addDirect(*m_doc, goods, m_quantity->value());
    reloadBasket();
}

void TF_Cgjh_Add::openLineDialog(LineMode mode, const QString &goods, qint64 rowId)
{
    const PurchaseScreens &names = PurchaseScreensOf(m_kind);
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QString::fromLatin1(names.lineDialog),
                                                               QString::fromUtf8(names.lineCaption), m_context, this));
    SetDocumentContext(dialog.get(), m_doc);
    dialog->setProperty(handoff::LineTag, LineModeTag(m_kind, mode));
    dialog->setProperty(handoff::GoodsCode, goods);
    dialog->setProperty(handoff::LineId, rowId);
    dialog->exec();
    reloadBasket();
}

void TF_Cgjh_Add::modifyRow(const QVariant &rowId)
{
    const QString goods = basketGrid()->currentValue(QStringLiteral("g_sn")).toString();
    openLineDialog(LineMode::BasketModify, goods, rowId.toLongLong());
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void TF_Cgjh_Add::removeRow(const QVariant &rowId)
{
    if (m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        m_rules.removeRow(rowId.toLongLong());
}

void TF_Cgjh_Add::addNewGoods()
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
    loadTree();
    loadList();
}

void TF_Cgjh_Add::applyVisibility()
{
    const LoginState &state = *m_context.state;
    const bool cost = state.RightShowCost;
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("cj"));
    const bool discount = IsTrueWithCostRight(state, state.UseDiscount, QStringLiteral("cj"));
    const bool colour = IsTrue(state.UseGoodsColour);
    for (DataGrid *grid : {listGrid(), treeListGrid()}) {
        grid->setColumnGated(QStringLiteral("g_jj"), !cost);
        grid->setColumnGated(QStringLiteral("color_name"), !colour);
        SetMoneyColumnFormat(*grid, QStringLiteral("g_jj"), state);
        SetQtyColumnFormat(*grid, QStringLiteral("kc_sl"), state);
    }
    DataGrid *b = basketGrid();
    b->setColumnGated(QStringLiteral("ts_dj"), !cost);
    b->setColumnGated(QStringLiteral("ts_zje"), !cost);
    b->setColumnGated(QStringLiteral("ts_tax"), !tax);
    b->setColumnGated(QStringLiteral("ts_taxdj"), !tax);
    b->setColumnGated(QStringLiteral("ts_dzl"), !discount);
    if (m_kind != PurchaseKind::Return)
        b->setColumnGated(QStringLiteral("g_sj"), !discount);
    b->setColumnGated(QStringLiteral("color_name"), !colour);
    for (const char *f : {"ts_dj", "ts_taxdj", "g_sj", "ts_zje"})
        SetMoneyColumnFormat(*b, QString::fromLatin1(f), state);
    SetQtyColumnFormat(*b, QStringLiteral("ts_sl"), state);
    SetMoneyFooterFormat(*b, QStringLiteral("ts_zje"), state);
    SetQtyFooterFormat(*b, QStringLiteral("ts_sl"), state);
    SetQtyEditFormat(m_quantity, state);
}
