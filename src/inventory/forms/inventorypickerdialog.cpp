#include "inventory/forms/inventorypickerdialog.h"

#include "foundation/datamodule.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/trees.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <memory>

PickerOptions InventoryPickerOptions(const QString &caption, int basketWidth)
{
    PickerOptions o;
    o.caption = caption;
    o.searchFields = {QStringLiteral("g_name"), QStringLiteral("g_jm"), QStringLiteral("g_sn"), QStringLiteral("g_sptm"),
                      QStringLiteral("gg_name")};
    o.classTreePage = true;
    o.enterStays = true;  // Enter always searches, the focus staying in the box
    o.basketWidth = basketWidth;
    o.f8Adds = false;
    o.unsavedQuestion = QStringLiteral("所选商品还未保存，是否保存？");
    return o;
}

QList<GridColumn> PickerGoodsColumns()
{
    return {ListColumn("g_sn", "商品编号", 100), ListColumn("g_name", "商品名称", 150), ListColumn("dw_name", "单位", 50),
            ListColumn("gg_name", "规格型号", 80), ListColumn("color_name", "颜色", 60)};
}

QList<GridColumn> PickerBasketGoodsColumns()
{
    return {ListColumn("g_name", "商品名称", 125), ListColumn("dw_name", "单位", 45), ListColumn("gg_name", "规格型号", 70),
            ListColumn("color_name", "颜色", 50)};
}

InventoryPickerDialog::InventoryPickerDialog(const PickerOptions &options, InventoryDoc doc, const ScreenContext &context,
                                             const QList<GridColumn> &listColumns,
                                             const QList<GridColumn> &basketColumns, QWidget *parent)
    : PickRowsDialog(options, *context.notices, context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.clock, *context.notices, doc), m_kind(doc)
{
    const QSqlDatabase db = context.data->mainDb();
    searchBox()->setObjectName(QStringLiteral("tkey"));
    searchBox()->setToolTip(QStringLiteral("可以输入商品编号、商品名称、名称简码进行查询"));
    addButton()->setObjectName(QStringLiteral("btnSele"));
    basketGroup()->setTitle(QStringLiteral("所选商品"));

    m_listModel = new SqlGridModel(db);
    m_treeListModel = new SqlGridModel(db);
    for (SqlGridModel *m : {m_listModel, m_treeListModel}) {
        m->setColumns(listColumns);
        m->setKeyField(QStringLiteral("g_sn"));
        m->setBlockSize(400);
        for (const GridColumn &c : listColumns)
            m->column(c.field).sortExpression = InventoryPickerSortExpression(c.field);
    }
    listGrid()->setModel(m_listModel);
    treeListGrid()->setModel(m_treeListModel);
    m_basketModel = new SqlGridModel(db);
    m_basketModel->setColumns(basketColumns);
    basketGrid()->setModel(m_basketModel);

    connect(listPages(), &QTabWidget::currentChanged, this, &InventoryPickerDialog::loadList);
    connect(classTree(), &QTreeWidget::itemClicked, this, [this] { loadList(); });
    connect(basketGrid(), &DataGrid::rowActivated, this, [this] { modifyButton()->click(); });

    modify = [this](const QVariant &key) {
        openLineDialog(InventoryLineMode::BasketModify, basketGrid()->currentValue(QStringLiteral("g_sn")).toString(),
                       key.toLongLong());
        searchBox()->setFocus(Qt::OtherFocusReason);
    };
    remove = [this](const QVariant &key) {
        if (m_context.notices->confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
            m_rules.removeRow(key.toLongLong());
    };
    confirm = [this] {
        const InventoryResult r = m_rules.confirm(*m_doc);
        reloadBasket();
        return r.done();
    };
    discard = [this] { m_rules.discard(); };
    basketCount = [this] { return m_rules.basketCount(); };
    connect(this, &ScreenDialog::opened, this, &InventoryPickerDialog::activate);
}

InventoryPickerDialog::~InventoryPickerDialog() = default;

void InventoryPickerDialog::activate()
{
    const LoginState &state = *m_context.state;
    m_doc = DocumentContextOr(this, m_ownDoc, InventoryDocType(m_kind));
    resetGoodsSearch(IsTrue(state.PickerEnterSearch));
    loadTree();
    loadList();
    m_rules.open();
    const ListStatement basket = InventoryBasketStatement(m_kind, state);
    m_basketModel->setStatement(basket.body, basket.order, basket.binds);
    basketGrid()->reload(ReloadTarget::First);
    afterActivate();
    searchBox()->setFocus(Qt::OtherFocusReason);
}

void InventoryPickerDialog::loadTree()
{
    FillGoodsClassTree(classTree(), m_context.data->mainDb());
}

void InventoryPickerDialog::loadList()
{
    if (!m_doc)
        return;
    const bool tree = listPages()->currentIndex() == 1;
    const QString classSn = tree ? classTree()->currentPayload(QStringLiteral("gc_sn")).toString() : QString();
    if (tree && classSn.isEmpty()) {
        m_treeListModel->setStatement(QString(), QString());
        treeListGrid()->reload(ReloadTarget::First);
        return;
    }
    const ListStatement st = InventoryPickerGoods(m_kind, m_doc->warehouse, classSn);
    (tree ? m_treeListModel : m_listModel)->setStatement(st.body, st.order, st.binds);
    (tree ? treeListGrid() : listGrid())->reload(ReloadTarget::First);
    search();
}

QList<int> InventoryPickerDialog::chosenRows() const
{
    DataGrid *grid = frontGrid();
    QList<int> rows = grid->selectedRows();
    if (rows.isEmpty() && grid->currentRow() >= 0)
        rows << grid->currentRow();
    return rows;
}

void InventoryPickerDialog::openLineDialog(InventoryLineMode mode, const QString &goods, qint64 rowId)
{
    const InventoryDoc doc = InventoryDocOf(m_doc->type.prefix);
    QString screen = QStringLiteral("TF_Bsby_Sele");
    QString caption = doc == InventoryDoc::Overflow ? QStringLiteral("商品信息(商品报溢)") : QStringLiteral("商品信息(商品报损)");
    if (m_kind == InventoryDoc::Transfer) {
        screen = QStringLiteral("TF_Kcdb_Sele");
        caption = QStringLiteral("商品信息(库存调拨)");
    } else if (m_kind == InventoryDoc::Stocktaking) {
        screen = QStringLiteral("TF_Kcpd_Sele");
        caption = QStringLiteral("盘点商品设置");
    }
    std::unique_ptr<QDialog> dialog(m_context.registry->create(screen, caption, m_context, this));
    SetDocumentContext(dialog.get(), m_doc);
    dialog->setProperty(handoff::LineTag, InventoryLineModeTag(m_kind, mode));
    dialog->setProperty(handoff::GoodsCode, goods);
    dialog->setProperty(handoff::LineId, rowId);
    dialog->exec();
    reloadBasket();
}

QGroupBox *InventoryPickerDialog::placeListGroup(const QStringList &prompts)
{
    QWidget *left = listPages()->parentWidget();
    auto *group = new QGroupBox(QStringLiteral("查询商品列表"), this);
    group->setObjectName(QStringLiteral("RzGroupBox1"));
    if (auto *h = qobject_cast<QBoxLayout *>(layout())) {
        const int at = h->indexOf(left);
        h->insertWidget(at, group, 1);
        auto *v = new QVBoxLayout(group);
        v->setContentsMargins(4, 4, 4, 4);
        for (int i = 0; i < prompts.size(); ++i) {
            auto *prompt = new QLabel(prompts.at(i), group);
            prompt->setObjectName(i == 0 ? QStringLiteral("LabelHint") : QStringLiteral("LabelHint%1").arg(i + 1));
            v->addWidget(prompt);
        }
        v->addWidget(left, 1);
    }
    return group;
}

QMenu *InventoryPickerDialog::installPickerMenus()
{
    removeAll = [this] { m_rules.removeAll(); };
    return installGoodsMenus();
}
