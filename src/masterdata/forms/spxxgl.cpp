#include "masterdata/forms/spxxgl.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/goodslistquery.h"
#include "masterdata/goodsprint.h"
#include "masterdata/goodsrules.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/numbers.h"
#include "platform/format/formatnumber.h"
#include "foundation/defaultrecords.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/forms/displayformats.h"
#include "foundation/forms/gridmsg.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/excel/gridexport.h"
#include "report/printeroutput.h"
#include "platform/system/programfolder.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/filechoice.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QEvent>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const QString &name, const QString &text)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QString pictureFolder() { return QDir(ProgramFolder()).filePath(QStringLiteral("picture")); }

// Drops the grid's filter before the list is loaded again, without reading the old list once
// more: the model holds no statement meanwhile. Its reset leaves the grid without a current row,
// so the next load starts on the first row.
void dropFilter(SqlGridModel &model)
{
    model.setStatement(QString(), QString(), {});
    model.setFilter(GridFilter());
}

}  // namespace

TF_Spxxgl::TF_Spxxgl(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context)
{
    setObjectName(QStringLiteral("TF_Spxxgl"));
    setWindowTitle(QStringLiteral("商品信息管理"));
    resize(1000, 640);
    buildScreen();
    buildPopup();
    keys()->bind(Qt::Key_F6, [this] { m_key->setFocus(); m_key->selectAll(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Spxxgl::activate);
}

TF_Spxxgl::~TF_Spxxgl() = default;

void TF_Spxxgl::buildScreen()
{
    const QSqlDatabase db = m_context.data->mainDb();
    auto *layout = new QHBoxLayout(this);

    auto *left = new QGroupBox(QStringLiteral("商品类别"), this);
    left->setObjectName(QStringLiteral("GroupBox1"));
    left->setFixedWidth(220);
    auto *ll = new QVBoxLayout(left);
    auto *findRow = new QHBoxLayout;
    m_classBox = new QLineEdit(left);
    m_classBox->setObjectName(QStringLiteral("tclass"));
    auto *classFind = button(left, QStringLiteral("btnClassFind"), QStringLiteral("查找"));
    findRow->addWidget(m_classBox);
    findRow->addWidget(classFind);
    ll->addLayout(findRow);
    m_tree = new GoodsClassTree(db, *m_context.notices, GoodsClassTree::Place::Window, left);
    ll->addWidget(m_tree, 1);
    for (const char *hint : {"单击右键,在弹出菜单中选择不同", "菜单项进行类别的添加,删除,修改", "等操作"})
        ll->addWidget(new QLabel(QString::fromUtf8(hint), left));
    layout->addWidget(left);

    auto *right = new QGroupBox(QStringLiteral("商品列表"), this);
    right->setObjectName(QStringLiteral("GroupBox2"));
    auto *rl = new QVBoxLayout(right);
    auto *buttons = new QHBoxLayout;
    auto *other = new QToolButton(right);
    other->setObjectName(QStringLiteral("btnOtherImport"));
    other->setText(QStringLiteral("其他导入操作"));
    other->setPopupMode(QToolButton::InstantPopup);
    m_importMenu = new QMenu(other);
    m_importAux = m_importMenu->addAction(QStringLiteral("导入辅助单位(&X)"));
    QAction *importPrice = m_importMenu->addAction(QStringLiteral("导入商品单价(&Y)"));
    m_importShelf = m_importMenu->addAction(QStringLiteral("导入商品库位(&Z)"));
    other->setMenu(m_importMenu);
    buttons->addWidget(other);
    QPushButton *kit = button(right, QStringLiteral("btnCppl"), QStringLiteral("产品配料"));
    QPushButton *del = button(right, QStringLiteral("btnDelete"), QStringLiteral("删除"));
    QPushButton *modi = button(right, QStringLiteral("btnModi"), QStringLiteral("修改"));
    QPushButton *add = button(right, QStringLiteral("btnAdd"), QStringLiteral("增加"));
    QPushButton *exp = button(right, QStringLiteral("btnExport"), QStringLiteral("导出"));
    QPushButton *imp = button(right, QStringLiteral("btnImport"), QStringLiteral("导入"));
    QPushButton *quit = button(right, QStringLiteral("btnExit"), QStringLiteral("退出"));
    for (QPushButton *b : {kit, del, modi, add, exp, imp, quit})
        buttons->addWidget(b);
    buttons->addStretch();
    rl->addLayout(buttons);

    auto *searchRow = new QHBoxLayout;
    m_keyLabel = new QLabel(right);
    m_keyLabel->setObjectName(QStringLiteral("Label1"));
    m_key = new QLineEdit(right);
    m_key->setObjectName(QStringLiteral("tkey"));
    m_key->setToolTip(QStringLiteral("可以输入商品编号、商品名称、名称简码进行查询"));
    InstallCharFilter(m_key, CharFilter::Standard);
    keys()->addEnterOwner(m_key);
    auto *find = button(right, QStringLiteral("btnFind"), QStringLiteral("查询"));
    m_showDisabled = new QCheckBox(QStringLiteral("显示禁用商品"), right);
    m_showDisabled->setObjectName(QStringLiteral("chkJy"));
    m_clickPicture = new QCheckBox(QStringLiteral("单击显示图片"), right);
    m_clickPicture->setObjectName(QStringLiteral("chkPic"));
    searchRow->addWidget(m_keyLabel);
    searchRow->addWidget(m_key, 1);
    searchRow->addWidget(find);
    searchRow->addWidget(m_showDisabled);
    searchRow->addWidget(m_clickPicture);
    rl->addLayout(searchRow);

    m_grid = new DataGrid(right);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setToolTip(QStringLiteral("在右键菜单中禁用商品信息，打印商品信息"));
    m_model = new SqlGridModel(db, m_grid);
    auto col = [](const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text,
                  bool visible = true) {
        GridColumn c;
        c.field = QString::fromUtf8(field);
        c.caption = QString::fromUtf8(caption);
        c.width = width;
        c.kind = kind;
        c.visible = visible;
        return c;
    };
    QList<GridColumn> columns{
        col("g_sn", "商品编码", 90), col("g_name", "商品名称", 150), col("gc_name", "商品类别", 90),
        col("g_jy", "禁用", 40, ColumnKind::Check), col("g_iszp", "赠品", 40, ColumnKind::Check),
        col("dw_name", "单位", 50), col("gg_name", "规格型号", 80), col("color_name", "颜色", 60),
        col("hj_name", "所在货架", 80), col("g_zdkc", "最低库存", 70, ColumnKind::Integer),
        col("g_kc", "当前库存", 80, ColumnKind::Quantity), col("dw_name2", "单位2", 50),
        col("fzkc", "单位2库存", 80, ColumnKind::Quantity), col("g_zhxs", "转换系数", 70, ColumnKind::Number),
        col("g_jj", "预设进价", 80, ColumnKind::Money), col("g_sj", "预设售价", 80, ColumnKind::Money),
        col("g_lsj", "零售价", 80, ColumnKind::Money), col("g_sj1", "一级价格", 80, ColumnKind::Money),
        col("g_sj2", "二级价格", 80, ColumnKind::Money), col("g_sj3", "三级价格", 80, ColumnKind::Money),
        col("g_sj4", "四级价格", 80, ColumnKind::Money), col("g_sj5", "五级价格", 80, ColumnKind::Money),
        col("g_dzll", "销售折扣", 70, ColumnKind::Number, false), col("g_gdcbj", "销售成本价", 70, ColumnKind::Check),
        col("g_tc", "提成", 70, ColumnKind::Number), col("g_sptm", "商品条码", 110), col("g_jm", "名称简码", 80),
        col("g_sccs", "生产厂商", 100), col("g_bz", "备注", 120), col("id", "id", 40, ColumnKind::Integer, false),
        col("g_scjj", "g_scjj", 60, ColumnKind::Money, false), col("g_cbj", "g_cbj", 60, ColumnKind::Money, false),
        col("g_pjjj", "g_pjjj", 60, ColumnKind::Money, false), col("gc_cid", "gc_cid", 40, ColumnKind::Integer, false),
        col("gc_sn", "gc_sn", 60, ColumnKind::Text, false), col("ghs_sn", "ghs_sn", 60, ColumnKind::Text, false),
        col("g_tclb", "g_tclb", 40, ColumnKind::Integer, false)};
    for (GridColumn &c : columns) {
        if (c.field == QLatin1String("g_tc"))
            c.format = QStringLiteral("0.0000");
        if (c.field == QLatin1String("fzkc"))
            c.sortExpression = QStringLiteral("(g_kc*1.0)/NULLIF(g_zhxs,0)");
    }
    m_model->setColumns(columns);
    m_model->setKeyField(QStringLiteral("id"));
    m_grid->setModel(m_model);
    m_grid->setRowHeight(26);
    m_grid->setFooter(QStringLiteral("g_sn"), FooterKind::Text, QStringLiteral("商品合计:"));
    m_grid->setFooter(QStringLiteral("g_name"), FooterKind::Count);
    m_grid->setFooter(QStringLiteral("g_kc"), FooterKind::Supplied);
    m_grid->setFooterSupplier(QStringLiteral("g_kc"), [this] { return stockTotal(); });
    m_grid->view()->setSelectionMode(QAbstractItemView::ExtendedSelection);
    rl->addWidget(m_grid, 1);
    m_picture = new QLabel(this);
    m_picture->setObjectName(QStringLiteral("Image1"));
    m_picture->setFixedSize(200, 200);
    m_picture->setScaledContents(true);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->hide();
    layout->addWidget(right, 1);

    connect(m_tree, &GoodsClassTree::classClicked, this, &TF_Spxxgl::classClicked);
    connect(m_tree, &GoodsClassTree::classesChanged, this, &TF_Spxxgl::loadList);
    connect(m_tree, &GoodsClassTree::moveRequested, this,
            [this] { openRegistered(QStringLiteral("TF_Spxxgl_Move"), QStringLiteral("类别移动"), false); });
    connect(classFind, &QPushButton::clicked, this, [this] { searchClass(false); });
    connect(m_classBox, &QLineEdit::textEdited, this, [this] { searchClass(true); });
    connect(add, &QPushButton::clicked, this, &TF_Spxxgl::addGoods);
    connect(modi, &QPushButton::clicked, this, &TF_Spxxgl::modifyGoods);
    connect(del, &QPushButton::clicked, this, &TF_Spxxgl::deleteGoods);
    connect(exp, &QPushButton::clicked, this, &TF_Spxxgl::exportList);
    connect(quit, &QPushButton::clicked, this, &QDialog::reject);
    connect(imp, &QPushButton::clicked, this,
            [this] { openRegistered(QStringLiteral("TF_Spxxgl_Import"), QStringLiteral("导入"), false); });
    connect(kit, &QPushButton::clicked, this,
            [this] { openRegistered(QStringLiteral("TF_Cppl"), QStringLiteral("产品配料"), true); });
    connect(m_importAux, &QAction::triggered, this,
            [this] { openRegistered(QStringLiteral("TF_Spxxgl_ImportFzdw"), QStringLiteral("导入辅助单位"), true); });
    connect(importPrice, &QAction::triggered, this,
            [this] { openRegistered(QStringLiteral("TF_Spxxgl_ImportDj"), QStringLiteral("导入商品单价"), true); });
    connect(find, &QPushButton::clicked, this, [this] {
        if (IsTrue(m_context.state->PickerEnterSearch))
            onSearchEnter();
        else
            onSearchEdited(m_key->text());
    });
    connect(m_key, &QLineEdit::textEdited, this, &TF_Spxxgl::onSearchEdited);
    connect(m_key, &QLineEdit::returnPressed, this, &TF_Spxxgl::onSearchEnter);
    connect(m_showDisabled, &QCheckBox::clicked, this, &TF_Spxxgl::loadList);
    // The picture: a click on a row shows it (the current row too, after the picture was
    // hidden), a click on the picture or on the check box hides it.
    connect(m_clickPicture, &QCheckBox::clicked, m_picture, &QWidget::hide);
    m_picture->installEventFilter(this);
    connect(m_grid, &DataGrid::rowActivated, this, [this] { modifyGoods(); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this] {
        if (m_clickPicture->isChecked())
            showPicture();
    });
    connect(m_grid->view(), &QAbstractItemView::clicked, this, [this] {
        if (m_clickPicture->isChecked())
            showPicture();
    });
    connect(m_grid->view()->horizontalHeader(), &QHeaderView::sortIndicatorChanged, this,
            [this](int section, Qt::SortOrder order) {
                if (section < 0 || section >= m_model->columns().size() || m_model->sortField().isEmpty())
                    return;
                m_order = GoodsListOrder(m_model->sortField(), order == Qt::DescendingOrder);
            });
}

void TF_Spxxgl::buildPopup()
{
    m_popup = new QMenu(this);
    auto item = [this](const char *text, auto slot) {
        QAction *a = m_popup->addAction(QString::fromUtf8(text));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    item("增加(&I)", [this] { addGoods(); });
    item("修改(&L)", [this] { modifyGoods(); });
    item("删除(&M)", [this] { deleteGoods(); });
    m_popup->addSeparator();
    item("复制(&N)", [this] { copyGoods(); });
    m_paste = item("粘贴(&O)", [this] { pasteGoods(); });
    m_popup->addSeparator();
    item("修改类别(&P)", [this] { changeClass(); });
    item("批量删除(&Q)", [this] { openRegistered(QStringLiteral("TF_Spxxgl_Dele"), QStringLiteral("批量删除"), true); });
    item("修改最低库存(&R)",
         [this] { openRegistered(QStringLiteral("TF_Spxxgl_Zdkc"), QStringLiteral("修改最低库存"), true); });
    m_popup->addSeparator();
    m_disable = item("禁用(&S)", [this] { toggleDisabled(); });
    m_disable->setCheckable(true);
    item("批量禁用(&T)", [this] { batchDisable(); });
    m_popup->addSeparator();
    item("修改简码(&U)", [this] { openRegistered(QStringLiteral("TF_Spxxgl_JmModi"), QStringLiteral("修改简码"), true); });
    item("显示该类别商品(&V)", [this] { showThisClass(); });
    item("批量定义批发价(&W)",
         [this] { openRegistered(QStringLiteral("TF_Spxxgl_Pfj"), QStringLiteral("批量定义批发价"), true); });
    item("预设进价作为销售成本价(&G)", [this] { setFixedCost(true); });
    item("取消预设进价作为销售成本价(&H)", [this] { setFixedCost(false); });
    m_popup->addSeparator();
    item("打印被选择商品的标价签(&X)", [this] { printSelectedLabels(); });
    item("打印所有商品的标价签(&Y)", [this] { printAllLabels(); });
    item("打印商品信息(&Z)", [this] { printList(); });
    item("查看图片(&D)", [this] {
        if (m_grid->rowCount() == 0)
            return;
        QPointer<QDialog> d = m_context.registry->create(QStringLiteral("TF_Spxxgl_Pic2"), QStringLiteral("查看图片"),
                                                         m_context, this);
        d->setProperty("pictureFile", m_grid->currentValue(QStringLiteral("g_sn")).toString() + QStringLiteral(".jpg"));
        d->exec();
        delete d;
    });
    AddGridLayoutItem(m_popup, m_grid, QStringLiteral("spxxgl"), m_context.notices, m_context.state->UiFontSize);
    m_grid->setPopupMenu(m_popup, [this](QMenu *) {
        m_paste->setEnabled(m_copyWaiting);
        m_disable->setChecked(m_grid->rowCount() > 0 && m_grid->currentValue(QStringLiteral("g_jy")).toBool());
    });
}

QAction *TF_Spxxgl::action(const QString &text) const
{
    for (QMenu *menu : {m_popup, m_tree->menu(), m_importMenu})
        for (QAction *a : menu->actions())
            if (a->text() == text)
                return a;
    return nullptr;
}

void TF_Spxxgl::applyColumnGates()
{
    const LoginState &s = *m_context.state;
    auto gate = [this](const char *field, bool shown) { m_grid->setColumnGated(QString::fromUtf8(field), !shown); };
    gate("g_kc", !(s.BindOperatorWarehouse == QLatin1String("1") && !s.isAdministrator()));
    const bool aux = IsTrue(s.ShowFirstAuxQty);
    gate("dw_name2", aux);
    gate("fzkc", aux);
    gate("g_zhxs", aux);
    gate("g_jj", s.RightShowCost);
    gate("g_sj", s.RightShowSalePrice);
    gate("g_gdcbj", s.RightShowCost && s.RightShowSalePrice);
    gate("g_lsj", IsTrue(s.UseRetailPrice));
    for (const char *f : {"g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5"})
        gate(f, IsTrue(s.UseGradePrices));
    gate("hj_name", IsTrue(s.UseGoodsShelf));
    gate("color_name", IsTrue(s.UseGoodsColour));
    for (const char *f : {"g_jj", "g_sj", "g_lsj", "g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5"})
        SetMoneyColumnFormat(*m_grid, QString::fromUtf8(f), s);
    SetQtyColumnFormat(*m_grid, QStringLiteral("g_kc"), s);
    SetQtyFooterFormat(*m_grid, QStringLiteral("g_kc"), s);
    SetQtyColumnFormat(*m_grid, QStringLiteral("fzkc"), s);
}

void TF_Spxxgl::activate()
{
    m_search.clear();
    m_listSearch.clear();
    m_classCondition.clear();
    m_copyWaiting = false;
    m_copiedId = 0;
    m_key->clear();
    m_picture->hide();
    m_clickPicture->setChecked(false);
    RestoreGridLayout(QStringLiteral("spxxgl"), *m_grid);
    const bool enter = IsTrue(m_context.state->PickerEnterSearch);
    m_keyLabel->setText(enter ? QStringLiteral("输入商品相关信息,回车查询(F6)：")
                              : QStringLiteral("输入商品相关信息查询商品(F6)："));
    m_importAux->setVisible(IsTrue(m_context.state->UseAuxUnits));
    m_importShelf->setVisible(false);
    dropFilter(*m_model);
    applyColumnGates();
    m_tree->reload();
    m_tree->selectRoot();
    loadList();
}

void TF_Spxxgl::loadList()
{
    GoodsListOptions o;
    o.showDisabled = m_showDisabled->isChecked();
    o.search = m_listSearch;
    o.classCode = m_classCondition;
    o.byClass = !m_classCondition.isEmpty();
    const ListStatement s = GoodsListStatement(m_context.data->mainDb(), *m_context.state, o, m_order);
    m_model->setStatement(s.body, s.order, s.binds);
    m_grid->reload();  // the footer with it
}

QString TF_Spxxgl::stockTotal() const
{
    const auto c = m_tree->current();
    const QString total = GoodsStockTotal(m_context.data->mainDb(), m_search, c ? c->sn : QString());
    const QString format = m_grid->footerFormat(QStringLiteral("g_kc"));
    return format.isEmpty() ? total : FormatNumber(TextToNumber(total), format);
}

void TF_Spxxgl::onSearchEdited(const QString &text)
{
    if (IsTrue(m_context.state->PickerEnterSearch))
        return;
    const QString t = text.trimmed().toUpper();
    m_search = t;
    m_grid->setFilter(GridFilter::contains({QStringLiteral("g_jm"), QStringLiteral("g_name"), QStringLiteral("g_sn"),
                                            QStringLiteral("gg_name"), QStringLiteral("g_sptm"),
                                            QStringLiteral("color_name")},
                                           t));
}

void TF_Spxxgl::onSearchEnter()
{
    if (!IsTrue(m_context.state->PickerEnterSearch)) {
        onSearchEdited(m_key->text());
        return;
    }
    m_listSearch = m_key->text();
    m_classCondition.clear();
    dropFilter(*m_model);
    loadList();
}

void TF_Spxxgl::classClicked()
{
    m_key->clear();
    m_search.clear();
    m_listSearch.clear();
    const auto c = m_tree->current();
    const QString code = c ? c->sn : QString();
    if (IsTrue(m_context.state->PickerEnterSearch)) {
        m_classCondition = code;
        dropFilter(*m_model);
        loadList();
    } else {
        // The class filter takes the place of any other; the grid reads the list and its footer once.
        m_classCondition.clear();
        m_grid->setFilter(code.isEmpty() ? GridFilter() : GridFilter::prefix(QStringLiteral("gc_sn"), code));
    }
}

void TF_Spxxgl::searchClass(bool perKey)
{
    GoodsClassRules rules(m_context.data->mainDb(), *m_context.notices);
    const QString name = rules.search(m_classBox->text(), perKey);
    if (!name.isEmpty() && name != QLatin1String("0"))
        m_tree->selectByName(name);
    else if (!perKey)
        m_tree->selectSecond();
}

bool TF_Spxxgl::hasWarehouse() const
{
    return RecordExists(m_context.data->mainDb(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_sn"), SqlWhere());
}

void TF_Spxxgl::openAddDialog(qint64 copyId)
{
    if (!hasWarehouse()) {
        m_context.notices->notice(QStringLiteral("请先添加仓库信息！"));
        return;
    }
    std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Spxxgl_Add"), QStringLiteral("增加商品"),
                                                          m_context, this));
    d->setProperty(handoff::Source, QString::fromLatin1(kSourceGoodsWindow));
    if (copyId > 0)
        d->setProperty(handoff::CopyGoodsId, copyId);
    d->exec();
    m_tree->reload();
    loadList();
}

void TF_Spxxgl::addGoods() { openAddDialog(0); }

void TF_Spxxgl::pasteGoods()
{
    if (!m_copyWaiting)
        return;
    const qint64 id = m_copiedId;
    m_copyWaiting = false;
    m_copiedId = 0;
    openAddDialog(id);
}

void TF_Spxxgl::copyGoods()
{
    if (m_grid->rowCount() == 0)
        return;
    m_copiedId = currentId();
    m_copyWaiting = m_copiedId > 0;
}

qint64 TF_Spxxgl::currentId() const { return m_grid->currentValue(QStringLiteral("id")).toLongLong(); }

QList<qint64> TF_Spxxgl::selectedIds() const
{
    QList<qint64> ids;
    for (int row : m_grid->selectedRows())
        ids << m_grid->value(row, QStringLiteral("id")).toLongLong();
    if (ids.isEmpty() && m_grid->rowCount() > 0)
        ids << currentId();
    return ids;
}

void TF_Spxxgl::positionOn(const QString &code)
{
    if (!code.isEmpty())
        m_grid->locate(QStringLiteral("g_sn"), code);
}

void TF_Spxxgl::modifyGoods()
{
    if (m_grid->rowCount() == 0)
        return;
    const QString code = m_grid->currentValue(QStringLiteral("g_sn")).toString();
    std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Spxxgl_Modi"), QStringLiteral("修改商品"),
                                                          m_context, this));
    d->setProperty(handoff::Source, QString::fromLatin1(kSourceGoodsWindow));
    d->setProperty(handoff::GoodsId, currentId());
    d->exec();
    const QString after = d->property(handoff::GoodsCode).toString();
    m_tree->reload();
    loadList();
    positionOn(after.isEmpty() ? code : after);
}

void TF_Spxxgl::deleteGoods()
{
    if (m_grid->rowCount() == 0)
        return;
    if (DeleteGoods(m_context.data->mainDb(), *m_context.notices, currentId(), pictureFolder()))
        loadList();
}

void TF_Spxxgl::toggleDisabled()
{
    if (m_grid->rowCount() == 0)
        return;
    const bool disabled = m_grid->currentValue(QStringLiteral("g_jy")).toBool();
    if (!SetGoodsDisabled(m_context.data->mainDb(), *m_context.notices, currentId(), !disabled))
        return;
    m_showDisabled->setChecked(true);
    loadList();
}

void TF_Spxxgl::batchDisable()
{
    if (m_grid->rowCount() == 0)
        return;
    if (!ToggleGoodsDisabled(m_context.data->mainDb(), *m_context.notices, selectedIds()))
        return;
    m_showDisabled->setChecked(true);
    loadList();
}

void TF_Spxxgl::setFixedCost(bool on)
{
    if (m_grid->rowCount() == 0)
        return;
    const QList<qint64> ids = selectedIds();
    const QVariant key = m_grid->currentValue(QStringLiteral("id"));
    QSqlDatabase db = m_context.data->mainDb();
    // The report comes after the list is read again.
    struct Deferred final : Notices {
        Notices &inner;
        QStringList held;
        explicit Deferred(Notices &n) : inner(n) {}
        void notice(const QString &t) override { held << t; }
        Answer ask(const QString &t, bool c) override { return inner.ask(t, c); }
        void error(const QString &t) override { inner.error(t); }
    } deferred(*m_context.notices);
    const bool done = SetGoodsFixedCost(db, deferred, ids, on);
    if (done)
        loadList();
    for (const QString &t : deferred.held)
        m_context.notices->notice(t);
}

void TF_Spxxgl::changeClass()
{
    if (m_grid->rowCount() == 0)
        return;
    const QList<qint64> ids = selectedIds();
    std::unique_ptr<QDialog> d(m_context.registry->create(QStringLiteral("TF_Spxxgl_Class"), QStringLiteral("修改类别"),
                                                          m_context, this));
    d->setProperty(handoff::SelectedCount, int(ids.size()));
    d->exec();
    const QString code = d->property(handoff::ClassCode).toString();
    if (!code.isEmpty() && ChangeGoodsClass(m_context.data->mainDb(), *m_context.notices, ids, code))
        loadList();
}

void TF_Spxxgl::showThisClass()
{
    if (m_grid->rowCount() == 0)
        return;
    const QString code = m_grid->currentValue(QStringLiteral("gc_sn")).toString();
    m_grid->setFilter(GridFilter::contains({QStringLiteral("gc_sn")}, code));
}

void TF_Spxxgl::openRegistered(const QString &screenClass, const QString &caption, bool needsRows)
{
    if (needsRows && m_grid->rowCount() == 0)
        return;
    std::unique_ptr<QDialog> d(m_context.registry->create(screenClass, caption, m_context, this));
    d->exec();
    loadList();
}

void TF_Spxxgl::exportList()
{
    if (m_grid->rowCount() == 0)
        return;
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    ExportGrid(*m_grid, *m_files, *m_context.notices, this);
}

bool TF_Spxxgl::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_picture && event->type() == QEvent::MouseButtonPress) {
        m_picture->hide();
        return true;
    }
    return ScreenDialog::eventFilter(watched, event);
}

void TF_Spxxgl::showPicture()
{
    const QString file = QDir(pictureFolder()).filePath(m_grid->currentValue(QStringLiteral("g_sn")).toString()
                                                        + QStringLiteral(".jpg"));
    QPixmap pixmap;
    if (!QFile::exists(file) || !pixmap.load(file)) {
        m_picture->hide();
        return;
    }
    m_picture->setPixmap(pixmap);
    if (height() > 650)
        m_picture->move(width() - 603, height() - 290);
    else
        m_picture->move(382, 309);
    m_picture->show();
    m_picture->raise();
}

void TF_Spxxgl::printSelectedLabels()
{
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(*m_context.notices, this);
        m_output = m_ownOutput.get();
    }
    QList<qint64> ids;
    for (int row : m_grid->selectedRows())
        ids << m_grid->value(row, QStringLiteral("id")).toLongLong();
    m_output->preview(GoodsLabelJob(m_context.data->mainDb(), *m_context.state,
                                    SelectedLabelStatement(*m_context.state, ids)));
}

void TF_Spxxgl::printAllLabels()
{
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(*m_context.notices, this);
        m_output = m_ownOutput.get();
    }
    const auto c = m_tree->current();
    m_output->preview(GoodsLabelJob(m_context.data->mainDb(), *m_context.state,
                                    AllLabelStatement(m_context.data->mainDb(), *m_context.state, m_key->text(),
                                                      c ? c->sn : QString(), m_showDisabled->isChecked())));
}

void TF_Spxxgl::printList()
{
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(*m_context.notices, this);
        m_output = m_ownOutput.get();
    }
    QVariantList binds;
    const QString sql = m_model->selectSql(&binds);
    const auto c = m_tree->current();
    m_output->preview(GoodsListJob(m_context.data->mainDb(), *m_context.state, sql, binds, c ? c->name : QString(),
                                   m_context.clock->now().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))));
}
