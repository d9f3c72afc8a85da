#include "screenkit/pickrows.h"

#include "foundation/basket.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/datagrid.h"
#include "screenkit/documentwindow.h"
#include "screenkit/editors.h"
#include "screenkit/screenshapes.h"
#include "screenkit/trees.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const char *name, const char *text)
{
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

PickRowsDialog::PickRowsDialog(const PickerOptions &options, Notices &notices, int uiFontSize, QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_options(options), m_notices(notices)
{
    setWindowTitle(options.caption);

    // Left: the list page and the class-tree page.
    auto *left = new QWidget(this);
    m_pages = new QTabWidget(left);
    m_pages->setObjectName(QStringLiteral("listPages"));
    auto *listPage = new QWidget;
    m_search = new QLineEdit(listPage);
    m_search->setObjectName(QStringLiteral("searchBox"));
    InstallCharFilter(m_search, CharFilter::Standard);
    keys()->addEnterOwner(m_search);
    m_list = new DataGrid(listPage);
    m_list->setObjectName(QStringLiteral("listGrid"));
    auto *searchRow = new QHBoxLayout;
    m_searchLabel = new QLabel(options.searchCaption, listPage);
    m_searchLabel->setObjectName(QStringLiteral("searchLabel"));
    searchRow->addWidget(m_searchLabel);
    searchRow->addWidget(m_search, 1);
    auto *lv = new QVBoxLayout(listPage);
    lv->addLayout(searchRow);
    lv->addWidget(m_list, 1);
    m_pages->addTab(listPage, QStringLiteral("商品清单"));
    if (options.classTreePage) {
        auto *treePage = new QWidget;
        auto *split = new QSplitter(treePage);
        m_tree = new KeyTree(split);
        m_tree->setObjectName(QStringLiteral("classTree"));
        m_treeList = new DataGrid(split);
        m_treeList->setObjectName(QStringLiteral("treeListGrid"));
        split->setStretchFactor(1, 1);
        auto *tv = new QVBoxLayout(treePage);
        tv->addWidget(split);
        m_pages->addTab(treePage, QStringLiteral("商品列表"));
        connect(m_treeList, &DataGrid::rowActivated, this, [this](int) { addSelected(); });
        m_treeList->setDoubleClickActivates(false);
        connect(m_treeList, &DataGrid::rowDoubleClicked, this, [this](int row) {
            if (doubleClick)
                doubleClick(m_treeList, row);
            else
                addSelected();
        });
    }
    m_add = button(left, "btnAddSele", "加入所选商品");
    auto *leftV = new QVBoxLayout(left);
    leftV->setContentsMargins(0, 0, 0, 0);
    leftV->addWidget(m_pages, 1);
    leftV->addWidget(m_add, 0, Qt::AlignRight);

    // Right: the basket.
    m_basketGroup = new QGroupBox(this);
    m_basketGroup->setObjectName(QStringLiteral("basketGroup"));
    m_basketGrid = new DataGrid(m_basketGroup);
    m_basketGrid->setObjectName(QStringLiteral("basketGrid"));
    m_modify = button(m_basketGroup, "btnModi", "修改(F9)");
    m_delete = button(m_basketGroup, "btnDel", "删除(Del)");
    m_ok = button(m_basketGroup, "btnOK", "确定(F5)");
    m_cancel = button(m_basketGroup, "btnCancel", "取消(Esc)");
    auto *bRow = new QHBoxLayout;
    for (QPushButton *b : {m_modify, m_delete, m_ok, m_cancel})
        bRow->addWidget(b);
    auto *bv = new QVBoxLayout(m_basketGroup);
    bv->addWidget(m_basketGrid, 1);
    bv->addLayout(bRow);
    m_basketGroup->setFixedWidth(BasketWidth(width(), options.basketWidth));

    auto *h = new QHBoxLayout(this);
    h->addWidget(left, 1);
    h->addWidget(m_basketGroup);

    auto runModify = [this] {
        if (modify && m_basketGrid->rowCount() > 0)
            modify(m_basketGrid->currentValue(QStringLiteral("id")));
        reloadBasket();
    };
    auto runDelete = [this] {
        if (remove && m_basketGrid->rowCount() > 0)
            remove(m_basketGrid->currentValue(QStringLiteral("id")));
        reloadBasket();
    };
    auto runConfirm = [this] {
        BusyGuard busy(m_ok);
        if (!busy.acquired())
            return;
        if (!confirm || confirm()) {
            m_confirmed = true;
            accept();
        }
    };
    connect(m_add, &QPushButton::clicked, this, &PickRowsDialog::addSelected);
    connect(m_modify, &QPushButton::clicked, this, runModify);
    connect(m_delete, &QPushButton::clicked, this, runDelete);
    connect(m_ok, &QPushButton::clicked, this, runConfirm);
    connect(m_cancel, &QPushButton::clicked, this, &QWidget::close);
    if (options.f8Adds)
        keys()->bind(Qt::Key_F8, [this] { addSelected(); });
    keys()->bind(Qt::Key_F9, runModify);
    keys()->bind(Qt::Key_Delete, runDelete);
    keys()->bind(Qt::Key_F5, runConfirm);
    keys()->bind(Qt::Key_Escape, [this] { close(); });

    // Searching: on every change, or with PickerEnterSearch on Enter, which then hands the
    // focus to the grid without adding (the grid's Enter adds).
    connect(m_search, &QLineEdit::textChanged, this, [this] {
        if (!m_options.enterSearch)
            search();
    });
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        if (m_options.enterStays) {
            search();
            return;
        }
        if (m_options.enterSearch)
            search();
        DataGrid *grid = frontGrid();
        grid->view()->setFocus(Qt::OtherFocusReason);
        if (grid->currentRow() < 0 && grid->rowCount() > 0)
            grid->setCurrentRow(0);
    });
    connect(m_list, &DataGrid::rowActivated, this, [this](int) { addSelected(); });
    m_list->setDoubleClickActivates(false);
    connect(m_list, &DataGrid::rowDoubleClicked, this, [this](int row) {
        if (doubleClick)
            doubleClick(m_list, row);
        else
            addSelected();
    });
    if (options.singleSelection)
        for (DataGrid *grid : {m_list, m_treeList})
            if (grid)
                grid->view()->setSelectionMode(QAbstractItemView::SingleSelection);
    // A kept picker confirms anew at every showing: the closing question is asked again.
    connect(this, &ScreenDialog::opened, this, [this] { m_confirmed = false; });
    resize(1000, 560);
}

QMenu *PickRowsDialog::installGoodsMenus()
{
    for (DataGrid *grid : {m_list, m_treeList}) {
        if (!grid)
            continue;
        auto *menu = new QMenu(grid);
        connect(menu->addAction(QStringLiteral("加入选中商品(&Z)")), &QAction::triggered, this, &PickRowsDialog::addSelected);
        grid->setPopupMenu(menu);
    }
    auto *basket = new QMenu(m_basketGrid);
    connect(basket->addAction(QStringLiteral("修改(&X)")), &QAction::triggered, m_modify, &QPushButton::click);
    connect(basket->addAction(QStringLiteral("删除(&Y)")), &QAction::triggered, m_delete, &QPushButton::click);
    connect(basket->addAction(QStringLiteral("删除全部(&Z)")), &QAction::triggered, this, &PickRowsDialog::removeAllRows);
    m_basketGrid->setPopupMenu(basket);
    return basket;
}

void PickRowsDialog::removeAllRows()
{
    if (m_basketGrid->rowCount() == 0)
        return;
    if (removeAll && m_notices.confirm(QStringLiteral("您确定要删除当前全部商品吗！")))
        removeAll();
    reloadBasket();
}

PickRowsDialog::~PickRowsDialog() = default;

void PickRowsDialog::setDoubleClickAdds(const LoginState *state, std::function<void(DataGrid *, int)> direct)
{
    doubleClick = [this, state, direct = std::move(direct)](DataGrid *grid, int row) {
        if (IsTrue(state->PickerDblClickSelect))
            direct(grid, row);
        else
            addSelected();
    };
}

void PickRowsDialog::resetGoodsSearch(bool enterSearch)
{
    setEnterSearch(enterSearch);
    m_searchLabel->setText(enterSearch ? QStringLiteral("输入商品编号或名称,回车查询：")
                                       : QStringLiteral("输入商品编号或名称查询商品："));
    {
        const QSignalBlocker block(m_search);
        m_search->clear();
    }
    for (DataGrid *grid : {m_list, m_treeList})
        if (grid && grid->model())
            grid->setFilter(GridFilter());
    const QSignalBlocker block(m_pages);
    m_pages->setCurrentIndex(0);
}

void PickRowsDialog::search()
{
    DataGrid *grid = frontGrid();
    if (!grid->model())
        return;
    grid->setFilter(GridFilter::contains(m_options.searchFields, m_search->text().trimmed()));
    grid->reload(ReloadTarget::First);
}

DataGrid *PickRowsDialog::frontGrid() const
{
    return (m_treeList && m_pages->currentIndex() == 1) ? m_treeList : m_list;
}

void PickRowsDialog::addSelected()
{
    DataGrid *grid = frontGrid();
    if (!grid->model())
        return;
    QList<int> rows = grid->selectedRows();
    if (rows.isEmpty() && grid->currentRow() >= 0)
        rows << grid->currentRow();
    if (rows.isEmpty())
        return;
    if (m_options.rowLimit && rows.size() > kPickerRowLimit) {
        m_notices.notice(QString::fromUtf8(kPickerLimitText));
        return;
    }
    QVariantList keys;
    for (int row : rows)
        keys << grid->value(row, m_options.listKeyField);
    if (add) {
        add(keys);
    } else if (m_basket) {
        QList<BasketItem> items;
        for (int row : rows) {
            BasketItem item;
            item.goods = grid->value(row, m_options.listKeyField).toString();
            if (!m_options.priceField.isEmpty())
                item.price = grid->value(row, m_options.priceField).toDouble();
            items << item;
        }
        m_basket->add(items);
    }
    reloadBasket();
}

void PickRowsDialog::reloadBasket()
{
    if (m_basketGrid->model())
        m_basketGrid->reload(ReloadTarget::Last);
}

void PickRowsDialog::useBasket(const QSqlDatabase &db, const DocType &type, const LoginState &state,
                               const QString &number)
{
    m_basket = std::make_unique<Basket>(db, type, state);
    m_basket->clear();
    auto *model = new SqlGridModel(db);
    model->setColumns(DefaultLineColumns());
    model->setStatement(m_basket->rowsBody(), m_basket->rowsOrder(), m_basket->rowsBinds());
    m_basketGrid->setModel(model);
    m_basketGrid->setFooter(QStringLiteral("sl"), FooterKind::Sum);
    m_basketGrid->setFooter(QStringLiteral("zje"), FooterKind::Sum);
    m_basketGrid->reload(ReloadTarget::First);
    Basket *basket = m_basket.get();
    remove = [basket](const QVariant &key) { basket->remove(key.toLongLong()); };
    confirm = [basket, number] {
        basket->copyInto(number);
        return true;
    };
    discard = [basket] { basket->clear(); };
    basketCount = [basket] { return basket->count(); };
}

void PickRowsDialog::closeEvent(QCloseEvent *event)
{
    const int rows = basketCount ? basketCount() : m_basketGrid->rowCount();
    if (m_confirmed || rows == 0) {
        event->accept();
        return;
    }
    switch (m_notices.ask(m_options.unsavedQuestion, true)) {
    case Notices::Answer::Cancel:
        event->ignore();
        return;
    case Notices::Answer::Yes:
        if (confirm && !confirm()) {
            event->ignore();
            return;
        }
        m_confirmed = true;
        setResult(QDialog::Accepted);
        break;
    default:
        if (discard)
            discard();
        break;
    }
    event->accept();
}

void PickRowsDialog::resizeEvent(QResizeEvent *event)
{
    ScreenDialog::resizeEvent(event);
    m_basketGroup->setFixedWidth(BasketWidth(width(), m_options.basketWidth));
}
