#include "masterdata/forms/spxxgl_add.h"

#include "masterdata/forms/goodsclasstree.h"
#include "masterdata/forms/masterdatascreens.h"
#include "masterdata/goodslistquery.h"
#include "masterdata/lookuplistrules.h"

#include "foundation/datamodule.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/displayformats.h"
#include "foundation/goods.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"
#include "screenkit/trees.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <array>
#include <memory>

namespace {

template <typename W>
W *named(W *w, const char *name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QComboBox *editableCombo(QWidget *parent, const char *name, int maxLength)
{
    auto *c = named(new QComboBox(parent), name);
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->lineEdit()->setMaxLength(maxLength);
    InstallCharFilter(c->lineEdit(), CharFilter::Standard);
    return c;
}

void fillCombo(QComboBox *combo, const QStringList &items)
{
    const QString keep = combo->currentText();
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    combo->setEditText(QString());
    Q_UNUSED(keep);
}

GridColumn column(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text,
                  bool visible = true)
{
    GridColumn c;
    c.field = QString::fromUtf8(field);
    c.caption = QString::fromUtf8(caption);
    c.width = width;
    c.kind = kind;
    c.visible = visible;
    return c;
}

}  // namespace

GoodsEditDialog::GoodsEditDialog(Mode mode, const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state ? context.state->UiFontSize : 0, parent), m_context(context), m_mode(mode),
      m_db(context.data->mainDb())
{
    resize(760, 560);
    auto *outer = new QVBoxLayout(this);
    m_tabs = named(new QTabWidget(this), "PageControl1");
    outer->addWidget(m_tabs, 1);

    // ---- Tab 1 ----
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    int row = 0;
    auto label = [&](const char *text) { return new QLabel(QString::fromUtf8(text), page); };
    auto money = [&](const char *name) {
        auto *m = named(new MoneyEdit(page), name);
        return m;
    };

    m_class = named(new QLineEdit(page), "tclass");
    m_class->setReadOnly(true);
    m_class->setPlaceholderText(QStringLiteral("请点击红色按钮,选择商品分类!"));
    m_class->setToolTip(QStringLiteral("请点击红色按钮,选择商品分类!"));
    m_classButton = named(new QPushButton(QStringLiteral("…"), page), "btnClass");
    m_classButton->setStyleSheet(QStringLiteral("color: white; background: #d02020;"));
    m_classButton->setFixedWidth(28);
    grid->addWidget(label("商品类别："), row, 0);
    auto *classRow = new QHBoxLayout;
    classRow->addWidget(m_class);
    classRow->addWidget(m_classButton);
    grid->addLayout(classRow, row, 1);
    m_name = named(new QLineEdit(page), "tname");
    m_name->setMaxLength(128);
    InstallCharFilter(m_name, CharFilter::Standard);
    grid->addWidget(label("商品名称："), row, 2);
    grid->addWidget(m_name, row++, 3);

    m_code = named(new QLineEdit(page), "tsn");
    m_code->setMaxLength(32);
    InstallCharFilter(m_code, CharFilter::Standard);
    grid->addWidget(label("商品编号："), row, 0);
    grid->addWidget(m_code, row, 1);
    m_barcode = named(new QLineEdit(page), "ttm");
    m_barcode->setMaxLength(64);
    InstallCharFilter(m_barcode, CharFilter::Standard);
    grid->addWidget(label("商品条码："), row, 2);
    grid->addWidget(m_barcode, row++, 3);

    m_unit = editableCombo(page, "comDw", 32);
    grid->addWidget(label("商品单位："), row, 0);
    grid->addWidget(m_unit, row, 1);
    m_spec = editableCombo(page, "comGg", 64);
    auto *specButton = named(new QPushButton(QStringLiteral("…"), page), "btnGg");
    specButton->setFixedWidth(28);
    grid->addWidget(label("规格型号："), row, 2);
    auto *specRow = new QHBoxLayout;
    specRow->addWidget(m_spec, 1);
    specRow->addWidget(specButton);
    grid->addLayout(specRow, row++, 3);

    m_colour = editableCombo(page, "comColor", 64);
    m_colourButton = named(new QPushButton(QStringLiteral("…"), page), "btnColor");
    m_colourButton->setFixedWidth(28);
    m_colourLabel = label("商品颜色：");
    grid->addWidget(m_colourLabel, row, 0);
    auto *colourRow = new QHBoxLayout;
    colourRow->addWidget(m_colour, 1);
    colourRow->addWidget(m_colourButton);
    grid->addLayout(colourRow, row, 1);
    m_shelf = editableCombo(page, "comHj", 64);
    m_shelfButton = named(new QPushButton(QStringLiteral("…"), page), "btnHj");
    m_shelfButton->setFixedWidth(28);
    m_shelfLabel = label("所在货架：");
    grid->addWidget(m_shelfLabel, row, 2);
    auto *shelfRow = new QHBoxLayout;
    shelfRow->addWidget(m_shelf, 1);
    shelfRow->addWidget(m_shelfButton);
    grid->addLayout(shelfRow, row++, 3);

    m_minStock = money("tzdkc");
    m_minStock->setDecimals(0);
    m_minStock->setMaxLength(6);
    m_minStock->setMinusIgnored(true);
    grid->addWidget(label("库存下限："), row, 0);
    grid->addWidget(m_minStock, row, 1);
    if (mode == Mode::Add) {
        m_openingLabel = label("期初库存：");
        m_opening = money("tqckc");
        m_opening->installEventFilter(this);
        grid->addWidget(m_openingLabel, row, 2);
        grid->addWidget(m_opening, row, 3);
    }
    ++row;

    m_jj = money("tjj");
    m_jjLabel = label("预设进价：");
    grid->addWidget(m_jjLabel, row, 0);
    grid->addWidget(m_jj, row, 1);
    m_sj = money("tsj");
    m_sjLabel = label("预设售价：");
    grid->addWidget(m_sjLabel, row, 2);
    grid->addWidget(m_sj, row++, 3);

    static const char *levelNames[] = {"一级批发价：", "二级批发价：", "三级批发价：", "四级批发价：", "五级批发价："};
    static const char *levelObjects[] = {"tsj1", "tsj2", "tsj3", "tsj4", "tsj5"};
    for (int i = 0; i < 5; ++i) {
        m_levels[i] = money(levelObjects[i]);
        m_levelLabels[i] = label(levelNames[i]);
        grid->addWidget(m_levelLabels[i], row + i / 2, (i % 2) * 2);
        grid->addWidget(m_levels[i], row + i / 2, (i % 2) * 2 + 1);
    }
    m_retail = money("tlsj");
    m_retailLabel = label("零售价：");
    m_retail->setToolTip(QStringLiteral("零售价不参与任何业务，可以打印。"));
    grid->addWidget(m_retailLabel, row + 2, 2);
    grid->addWidget(m_retail, row + 2, 3);
    row += 3;

    m_tclb = named(new QComboBox(page), "comTclb");
    m_tclb->addItems({QStringLiteral("不提成"), QStringLiteral("按件数提成"), QStringLiteral("按金额比例提成"),
                      QStringLiteral("按毛利提成")});
    grid->addWidget(label("提成方式："), row, 0);
    grid->addWidget(m_tclb, row, 1);
    m_tcCaption = named(label("提成金额："), "lblTc");
    m_tc = money("ttc");
    m_tcUnit = named(label(""), "lblTcUnit");
    grid->addWidget(m_tcCaption, row, 2);
    auto *tcRow = new QHBoxLayout;
    tcRow->addWidget(m_tc, 1);
    tcRow->addWidget(m_tcUnit);
    grid->addLayout(tcRow, row++, 3);

    m_maker = named(new QLineEdit(page), "tsccs");
    m_maker->setMaxLength(60);
    InstallCharFilter(m_maker, CharFilter::Standard);
    grid->addWidget(label("生产厂商："), row, 0);
    grid->addWidget(m_maker, row, 1, 1, 3);
    ++row;
    m_note = named(new QLineEdit(page), "tbz");
    m_note->setMaxLength(200);
    InstallCharFilter(m_note, CharFilter::Standard);
    grid->addWidget(label("备注："), row, 0);
    grid->addWidget(m_note, row, 1, 1, 3);
    ++row;

    auto *checks = new QHBoxLayout;
    m_gift = named(new QCheckBox(QStringLiteral("该商品可作为赠品"), page), "chkZp");
    m_fixedCost = named(new QCheckBox(QStringLiteral("预设进价作为销售成本价"), page), "chkGdcbj");
    m_nameWarning = named(new QCheckBox(QStringLiteral("重名提醒"), page), "chkCmtx");
    checks->addWidget(m_gift);
    checks->addWidget(m_fixedCost);
    checks->addWidget(m_nameWarning);
    if (mode == Mode::Modify) {
        m_sameCommission = named(new QCheckBox(QStringLiteral("当前类别采用相同提成"), page), "chkSameTc");
        checks->addWidget(m_sameCommission);
    }
    checks->addStretch();
    grid->addLayout(checks, row++, 0, 1, 4);

    m_picture = named(new QLabel(page), "Image1");
    m_picture->setFixedSize(120, 120);
    m_picture->setFrameShape(QFrame::Box);
    m_picture->setScaledContents(true);
    grid->addWidget(m_picture, 0, 4, 5, 1);
    m_tabs->addTab(page, QStringLiteral("商品基本信息"));

    // Class panel, over the first tab.
    m_classPanel = named(new QFrame(page), "PanelClass");
    m_classPanel->setFrameShape(QFrame::Panel);
    m_classPanel->setAutoFillBackground(true);
    auto *cp = new QVBoxLayout(m_classPanel);
    m_tree = new GoodsClassTree(m_db, *m_context.notices, GoodsClassTree::Place::Dialog, m_classPanel);
    cp->addWidget(m_tree, 1);
    auto *cpButtons = new QHBoxLayout;
    auto *menuButton = named(new QPushButton(QStringLiteral("操作"), m_classPanel), "btnClassMenu");
    auto *okButton = named(new QPushButton(QStringLiteral("确认"), m_classPanel), "btnClassOk");
    auto *exitButton = named(new QPushButton(QStringLiteral("退出"), m_classPanel), "btnClassExit");
    cpButtons->addWidget(menuButton);
    cpButtons->addWidget(okButton);
    cpButtons->addWidget(exitButton);
    cp->addLayout(cpButtons);
    m_classPanel->setGeometry(90, 40, 260, 330);
    m_classPanel->hide();

    if (mode == Mode::Add) {
        m_whPanel = named(new QFrame(page), "PanelCk");
        m_whPanel->setFrameShape(QFrame::Panel);
        m_whPanel->setAutoFillBackground(true);
        auto *wl = new QHBoxLayout(m_whPanel);
        wl->addWidget(new QLabel(QStringLiteral("期初仓库："), m_whPanel));
        m_warehouse = named(new KeyedCombo(m_whPanel), "comCk");
        wl->addWidget(m_warehouse, 1);
        auto *x = named(new QPushButton(QStringLiteral("X"), m_whPanel), "btnCkX");
        x->setFixedWidth(24);
        wl->addWidget(x);
        m_whPanel->setGeometry(400, 150, 260, 40);
        m_whPanel->hide();
        connect(x, &QPushButton::clicked, m_whPanel, &QWidget::hide);
    }

    // ---- Tab 2 ----
    auto *aux = new QWidget;
    auto *al = new QVBoxLayout(aux);
    auto gridBox = [&](const char *title, DataGrid *&g, SqlGridModel *&model, const char *gname,
                       const QList<GridColumn> &cols, const char *note, const char *addName, const char *modiName,
                       const char *deleName) {
        auto *box = new QGroupBox(QString::fromUtf8(title), aux);
        auto *bl = new QHBoxLayout(box);
        g = named(new DataGrid(box), gname);
        model = new SqlGridModel(m_db, g);
        model->setColumns(cols);
        g->setModel(model);
        bl->addWidget(g, 1);
        auto *side = new QVBoxLayout;
        QPushButton *b1 = named(new QPushButton(QStringLiteral("增加"), box), addName);
        QPushButton *b2 = named(new QPushButton(QStringLiteral("修改"), box), modiName);
        QPushButton *b3 = named(new QPushButton(QStringLiteral("删除"), box), deleName);
        side->addWidget(b1);
        side->addWidget(b2);
        side->addWidget(b3);
        auto *n = new QLabel(QString::fromUtf8(note), box);
        n->setWordWrap(true);
        n->setStyleSheet(QStringLiteral("color: #c00000;"));
        side->addWidget(n);
        side->addStretch();
        bl->addLayout(side);
        al->addWidget(box, 1);
        return std::array<QPushButton *, 3>{b1, b2, b3};
    };
    const auto unitButtons = gridBox(
        "辅助单位", m_unitGrid, m_unitModel, "DBGridDw",
        {column("dw_name", "单位名称", 80), column("g_zhxs", "转换系数", 70, ColumnKind::Number),
         column("g_sptm", "商品条码", 110), column("g_jj", "预设进价", 70, ColumnKind::Money),
         column("g_sj", "预设售价", 70, ColumnKind::Money), column("g_lsj", "零售价", 70, ColumnKind::Money),
         column("g_sj1", "一级价格", 70, ColumnKind::Money), column("g_sj2", "二级价格", 70, ColumnKind::Money),
         column("g_sj3", "三级价格", 70, ColumnKind::Money), column("g_sj4", "四级价格", 70, ColumnKind::Money),
         column("g_sj5", "五级价格", 70, ColumnKind::Money), column("id", "id", 40, ColumnKind::Integer, false),
         column("g_scjj", "g_scjj", 40, ColumnKind::Money, false), column("g_cbj", "g_cbj", 40, ColumnKind::Money, false),
         column("g_pjjj", "g_pjjj", 40, ColumnKind::Money, false), column("g_sn", "g_sn", 40, ColumnKind::Text, false)},
        "单位和条码不能重复，否则保存时将自动删除。", "btnDwAdd", "btnDwModi", "btnDwDele");
    const auto tmButtons = gridBox("一品多码", m_tmGrid, m_tmModel, "DBGridTm",
                                   {column("g_sptm", "商品条码", 150), column("g_tmbz", "条码备注", 150),
                                    column("g_sn", "商品编号", 80, ColumnKind::Text, false),
                                    column("id", "id", 40, ColumnKind::Integer, false)},
                                   "条码不能重复，否则保存时将自动删除。", "btnTmAdd", "btnTmModi", "btnTmDele");
    m_unitGrid->setFooter(QStringLiteral("dw_name"), FooterKind::Text, QStringLiteral("记录数:"));
    m_unitGrid->setFooter(QStringLiteral("g_zhxs"), FooterKind::Count);
    m_tmGrid->setFooter(QStringLiteral("g_sptm"), FooterKind::TextCount, QStringLiteral("记录数:"));
    m_tabs->addTab(aux, QStringLiteral("辅助单位/一品多码"));

    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    auto *saveButton = named(new QPushButton(QStringLiteral("保存(F5)"), this), "btnSave");
    auto *exitDialog = named(new QPushButton(QStringLiteral("退出(Esc)"), this), "btnExit");
    bottom->addWidget(saveButton);
    bottom->addWidget(exitDialog);
    outer->addLayout(bottom);

    keys()->setEnterMovesFocus(true);
    keys()->bind(Qt::Key_F5, [this] { save(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(saveButton, &QPushButton::clicked, this, &GoodsEditDialog::save);
    connect(exitDialog, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_classButton, &QPushButton::clicked, this, &GoodsEditDialog::showClassPanel);
    connect(okButton, &QPushButton::clicked, this, &GoodsEditDialog::chooseClass);
    connect(exitButton, &QPushButton::clicked, m_classPanel, &QWidget::hide);
    connect(menuButton, &QPushButton::clicked, this, [this, menuButton] {
        m_tree->menu()->popup(menuButton->mapToGlobal(QPoint(0, menuButton->height())));
    });
    connect(m_tree, &GoodsClassTree::classActivated, this, &GoodsEditDialog::chooseClass);
    connect(m_unit, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        if (m_unit->itemText(index) == QString::fromUtf8(kNewUnitItem))
            openLookup(QStringLiteral("TF_Dwgl"), m_unit);
    });
    connect(specButton, &QPushButton::clicked, this, [this] { openLookup(QStringLiteral("TF_Ggxh"), m_spec); });
    connect(m_colourButton, &QPushButton::clicked, this, [this] { openLookup(QStringLiteral("TF_Color"), m_colour); });
    connect(m_shelfButton, &QPushButton::clicked, this, [this] {
        m_shelf->setEditText(QString());
        openLookup(QStringLiteral("TF_HJxx"), m_shelf);
    });
    connect(m_tclb, qOverload<int>(&QComboBox::activated), this, [this](int kind) {
        reloadCommissionKind(kind);
        m_tc->setValue(0);
    });
    connect(unitButtons[0], &QPushButton::clicked, this, &GoodsEditDialog::addUnit);
    connect(unitButtons[1], &QPushButton::clicked, this, &GoodsEditDialog::modifyUnit);
    connect(unitButtons[2], &QPushButton::clicked, this, &GoodsEditDialog::deleteUnit);
    connect(tmButtons[0], &QPushButton::clicked, this, &GoodsEditDialog::addBarcode);
    connect(tmButtons[1], &QPushButton::clicked, this, &GoodsEditDialog::modifyBarcode);
    connect(tmButtons[2], &QPushButton::clicked, this, &GoodsEditDialog::deleteBarcode);
    connect(m_unitGrid, &DataGrid::rowActivated, this, &GoodsEditDialog::modifyUnit);
    connect(m_tmGrid, &DataGrid::rowActivated, this, &GoodsEditDialog::modifyBarcode);
    connect(this, &ScreenDialog::opened, this, [this] { activate(); });
}

bool GoodsEditDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_opening && m_whPanel
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::FocusIn)) {
        m_whPanel->show();
        m_whPanel->raise();
    }
    return ScreenDialog::eventFilter(watched, event);
}

void GoodsEditDialog::reloadCommissionKind(int kind)
{
    m_tclb->setCurrentIndex(kind);
    const bool right = HasRight(m_db, *m_context.state, QStringLiteral("qtcz"), 15);
    m_tclb->setEnabled(right);
    m_tc->setEnabled(kind != 0 && right);
    if (kind == 0) {
        m_tc->setValue(0);
        m_tcUnit->hide();
        m_tcCaption->setText(QStringLiteral("提成金额："));
    } else if (kind == 1) {
        m_tcUnit->setText(QStringLiteral("元"));
        m_tcUnit->show();
        m_tcCaption->setText(QStringLiteral("每件提成："));
    } else {
        m_tcUnit->setText(QStringLiteral("%"));
        m_tcUnit->show();
        m_tcCaption->setText(QStringLiteral("提成比例："));
    }
    if (m_sameCommission)
        m_sameCommission->setEnabled(right);
}

void GoodsEditDialog::fillLists(bool presetShelf)
{
    fillCombo(m_spec, LookupListRules(m_db, *m_context.notices, LookupKind::Spec).comboItems());
    fillCombo(m_colour, LookupListRules(m_db, *m_context.notices, LookupKind::Colour).comboItems());
    const QStringList units = LookupListRules(m_db, *m_context.notices, LookupKind::Unit).comboItems();
    fillCombo(m_unit, units);
    if (units.size() <= 1)
        m_context.notices->notice(QStringLiteral("请添加商品单位！"));
    fillCombo(m_shelf, LookupListRules(m_db, *m_context.notices, LookupKind::Shelf).comboItems());
    if (presetShelf)
        m_shelf->setCurrentIndex(m_shelf->count() > 1 ? 1 : -1);
}

void GoodsEditDialog::clearFields()
{
    for (QLineEdit *e : {m_class, m_name, m_code, m_barcode, m_maker, m_note})
        e->clear();
    m_unit->setCurrentIndex(-1);
    m_spec->setCurrentIndex(-1);
    m_spec->setEditText(QString());
    m_colour->setCurrentIndex(-1);
    m_colour->setEditText(QString());
    for (MoneyEdit *m : {m_minStock, m_jj, m_sj, m_retail, m_tc})
        m->setValue(0);
    for (MoneyEdit *m : m_levels)
        m->setValue(0);
    if (m_opening)
        m_opening->setValue(0);
    reloadCommissionKind(0);
    for (QCheckBox *c : {m_gift, m_fixedCost, m_nameWarning})
        c->setChecked(false);
    if (m_whPanel)
        m_whPanel->hide();
    m_picture->clear();
}

void GoodsEditDialog::applyVisibility()
{
    const LoginState &s = *m_context.state;
    const bool retail = IsTrue(s.UseRetailPrice);
    m_retail->setVisible(retail);
    m_retailLabel->setVisible(retail);
    const bool colour = IsTrue(s.UseGoodsColour);
    for (QWidget *w : {static_cast<QWidget *>(m_colourLabel), static_cast<QWidget *>(m_colour),
                       static_cast<QWidget *>(m_colourButton)})
        w->setVisible(colour);
    const bool levels = IsTrue(s.UseGradePrices);
    for (int i = 0; i < 5; ++i) {
        m_levels[i]->setVisible(levels);
        m_levelLabels[i]->setVisible(levels);
    }
    const bool shelf = IsTrue(s.UseGoodsShelf);
    for (QWidget *w : {static_cast<QWidget *>(m_shelfLabel), static_cast<QWidget *>(m_shelf),
                       static_cast<QWidget *>(m_shelfButton)})
        w->setVisible(shelf);
    m_jj->setVisible(s.RightShowCost);
    m_jjLabel->setVisible(s.RightShowCost);
    m_sj->setVisible(s.RightShowSalePrice);
    m_sjLabel->setVisible(s.RightShowSalePrice);
    m_fixedCost->setVisible(s.RightShowCost && s.RightShowSalePrice);
    for (MoneyEdit *m : {m_jj, m_sj, m_retail})
        SetMoneyEditFormat(m, s);
    for (MoneyEdit *m : m_levels)
        SetMoneyEditFormat(m, s);
    if (m_opening)
        SetQtyEditFormat(m_opening, s);
    m_unitGrid->setColumnGated(QStringLiteral("g_lsj"), !retail);
    for (const char *f : {"g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5"})
        m_unitGrid->setColumnGated(QString::fromLatin1(f), !levels);
    for (const char *f : {"g_jj", "g_sj", "g_lsj", "g_sj1", "g_sj2", "g_sj3", "g_sj4", "g_sj5"})
        SetMoneyColumnFormat(*m_unitGrid, QString::fromLatin1(f), s);
    m_tabs->setTabVisible(1, IsTrue(s.UseAuxUnits));
}

void GoodsEditDialog::openAuxGrids()
{
    const AuxContext c = auxContext();
    const ListStatement u = AuxUnitStatement(c);
    m_unitModel->setStatement(u.body, u.order, u.binds);
    m_unitGrid->reload();
    m_unitGrid->recomputeFooter();
    const ListStatement t = ExtraBarcodeStatement(c);
    m_tmModel->setStatement(t.body, t.order, t.binds);
    m_tmGrid->reload();
    m_tmGrid->recomputeFooter();
}

void GoodsEditDialog::selectUnit(const QString &unit)
{
    const int i = m_unit->findText(unit);
    if (i >= 0)
        m_unit->setCurrentIndex(i);
    else
        m_unit->setEditText(unit);
}

GoodsInput GoodsEditDialog::gather() const
{
    GoodsInput in;
    in.className = m_class->text();
    in.classSn = m_classSn;
    in.classCid = m_classCid;
    in.code = m_code->text();
    in.name = m_name->text();
    in.barcode = m_barcode->text();
    in.unit = m_unit->currentText();
    in.spec = m_spec->currentText();
    in.colour = m_colour->currentText();
    in.shelf = m_shelf->currentText();
    in.maker = m_maker->text();
    in.note = m_note->text();
    in.minStock = int(m_minStock->value());
    in.purchasePrice = m_jj->value();
    in.salePrice = m_sj->value();
    for (int i = 0; i < 5; ++i)
        in.levelPrices[i] = m_levels[i]->value();
    in.retailPrice = m_retail->value();
    in.commissionKind = m_tclb->currentIndex() < 0 ? 0 : m_tclb->currentIndex();
    in.commission = m_tc->value();
    in.gift = m_gift->isChecked();
    in.fixedCost = m_fixedCost->isChecked();
    in.nameWarning = m_nameWarning->isChecked();
    if (m_opening)
        in.openingQty = m_opening->isHidden() ? 0 : m_opening->value();
    if (m_warehouse) {
        in.warehouseSn = m_warehouse->currentKey();
        in.warehouseName = m_warehouse->currentText();
    }
    if (m_sameCommission)
        in.sameCommissionForClass = m_sameCommission->isChecked();
    return in;
}

void GoodsEditDialog::save()
{
    saveInput(gather());
}

void GoodsEditDialog::showClassPanel()
{
    if (m_tree->isEmpty()) {
        m_context.notices->notice(QStringLiteral("请添加商品类别！"));
        return;
    }
    m_tabs->setCurrentIndex(0);
    m_classPanel->show();
    m_classPanel->raise();
    m_tree->tree()->setFocus();
}

void GoodsEditDialog::chooseClass()
{
    const auto c = m_tree->current();
    if (!c || c->isRoot())
        return;
    m_class->setText(c->name);
    m_classSn = c->sn;
    m_classCid = c->cid;
    onClassChosen(*c);
}

void GoodsEditDialog::openLookup(const QString &listClass, QComboBox *combo)
{
    OpenLookupList(m_context, this, listClass, combo, listClass != QLatin1String("TF_HJxx"));
}

void GoodsEditDialog::runAuxDialog(const QString &screenClass, const QString &caption, AuxMode mode, qint64 row)
{
    std::unique_ptr<QDialog> d(m_context.registry->create(screenClass, caption, m_context, this));
    const AuxContext c = auxContext();
    d->setProperty(handoff::AuxMode, AuxModeTag(mode));
    d->setProperty(handoff::RowId, row);
    d->setProperty(handoff::GoodsCode, c.goodsCode);
    d->setProperty(handoff::BaseUnit, m_unit->currentText().trimmed());
    d->setProperty(handoff::MainBarcode, m_barcode->text().trimmed());
    QVariantList prices{m_jj->value(), m_sj->value()};
    for (MoneyEdit *m : m_levels)
        prices << m->value();
    prices << m_retail->value();
    d->setProperty(handoff::BasePrices, prices);
    d->exec();
    openAuxGrids();
}

void GoodsEditDialog::addUnit()
{
    runAuxDialog(QStringLiteral("TF_Spxxgl_Dw"), QStringLiteral("辅助单位设置"),
                 m_mode == Mode::Add ? AuxMode::StagedNew : AuxMode::StoredNew, 0);
}

void GoodsEditDialog::modifyUnit()
{
    if (m_unitGrid->rowCount() == 0)
        return;
    runAuxDialog(QStringLiteral("TF_Spxxgl_Dw"), QStringLiteral("辅助单位设置"),
                 m_mode == Mode::Add ? AuxMode::StagedEdit : AuxMode::StoredEdit,
                 m_unitGrid->currentValue(QStringLiteral("id")).toLongLong());
}

void GoodsEditDialog::deleteUnit()
{
    if (m_unitGrid->rowCount() == 0)
        return;
    AuxUnitRules rules(m_db, *m_context.notices);
    if (rules.deleteUnit(auxContext(), m_unitGrid->currentValue(QStringLiteral("id")).toLongLong()))
        openAuxGrids();
}

void GoodsEditDialog::addBarcode()
{
    runAuxDialog(QStringLiteral("TF_Spxxgl_Tm"), QStringLiteral("一品多码设置"),
                 m_mode == Mode::Add ? AuxMode::StagedNew : AuxMode::StoredNew, 0);
}

void GoodsEditDialog::modifyBarcode()
{
    if (m_tmGrid->rowCount() == 0)
        return;
    runAuxDialog(QStringLiteral("TF_Spxxgl_Tm"), QStringLiteral("一品多码设置"),
                 m_mode == Mode::Add ? AuxMode::StagedEdit : AuxMode::StoredEdit,
                 m_tmGrid->currentValue(QStringLiteral("id")).toLongLong());
}

void GoodsEditDialog::deleteBarcode()
{
    if (m_tmGrid->rowCount() == 0)
        return;
    AuxUnitRules rules(m_db, *m_context.notices);
    if (rules.deleteBarcode(auxContext(), m_tmGrid->currentValue(QStringLiteral("id")).toLongLong()))
        openAuxGrids();
}

// ---------------------------------------------------------------------------------------------

TF_Spxxgl_Add::TF_Spxxgl_Add(const ScreenContext &context, QWidget *parent)
    : GoodsEditDialog(Mode::Add, context, parent)
{
    setObjectName(QStringLiteral("TF_Spxxgl_Add"));
    setWindowTitle(QStringLiteral("增加商品"));
}

QString TF_Spxxgl_Add::source() const { return property(handoff::Source).toString(); }

AuxContext TF_Spxxgl_Add::auxContext() const
{
    AuxContext c;
    c.mode = AuxMode::StagedNew;
    c.operatorName = m_context.state->CurrentOperatorName;
    c.baseUnit = m_unit->currentText().trimmed();
    c.mainBarcode = m_barcode->text().trimmed();
    return c;
}

void TF_Spxxgl_Add::activate()
{
    const bool purchaseEntry = source() == QLatin1String("cgjh");
    m_openingLabel->setVisible(!purchaseEntry);
    m_opening->setVisible(!purchaseEntry);
    setProperty(handoff::GoodsCode, QVariant());
    setProperty(handoff::OpeningQty, QVariant());
    m_tabs->setCurrentIndex(0);
    m_classPanel->hide();

    m_tree->reload();
    if (m_tree->isEmpty()) {
        m_context.notices->notice(QStringLiteral("请添加商品类别！"));
        return;
    }
    fillLists(true);
    const KeyedItems warehouses = LoadKeyedTCombo(m_db, QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"),
                                                  QStringLiteral("ck_sn"), QStringLiteral("id"));
    m_warehouse->clear();
    for (const KeyedItem &w : warehouses)
        m_warehouse->addKeyed(w.text, w.key);
    if (warehouses.isEmpty()) {
        m_context.notices->notice(QStringLiteral("请添加仓库信息！"));
        return;
    }
    m_warehouse->selectText(GetDefaultWarehouseName(m_db));
    m_tree->selectSecond();
    clearFields();
    m_classSn.clear();
    m_classCid = 0;
    ClearStagedAux(m_db, m_context.state->CurrentOperatorName);
    openAuxGrids();
    applyVisibility();

    bool ok = false;
    const qint64 copyId = property(handoff::CopyGoodsId).toLongLong(&ok);
    if (ok && copyId > 0 && source() == QLatin1String(kSourceGoodsWindow)) {
        const GoodsInput in = GoodsCopyInput(m_db, copyId);
        if (!in.classSn.isEmpty()) {
            m_classSn = in.classSn;
            m_classCid = in.classCid;
            m_code->setText(in.code);
            m_class->setText(in.className);
            m_name->setText(in.name);
            m_spec->setEditText(in.spec);
            selectUnit(in.unit);
            m_colour->setEditText(in.colour);
            m_minStock->setValue(in.minStock);
            m_jj->setValue(in.purchasePrice);
            m_sj->setValue(in.salePrice);
            m_maker->setText(in.maker);
            m_note->setText(in.note);
            m_tree->selectBySn(in.classSn);
        }
    }
}

void TF_Spxxgl_Add::onClassChosen(const GoodsClassRow &row)
{
    if (AutoGoodsCodeOn(*m_context.state))
        m_code->setText(GetNewGoodsSn(m_db, QString::number(row.cid)));
    m_classPanel->hide();
    if (IsTrue(m_context.state->CodeAsBarcode))
        m_barcode->setText(m_code->text().trimmed());
}

void TF_Spxxgl_Add::saveInput(const GoodsInput &input)
{
    const GoodsSaveResult r = SaveNewGoods(m_db, *m_context.state, *m_context.clock, *m_context.notices, source(), input);
    if (!r.saved()) {
        if (r.focus == QLatin1String("purchasePrice"))
            m_jj->setFocus();
        else if (r.focus == QLatin1String("openingQty") && m_opening)
            m_opening->setFocus();
        return;
    }
    const QString s = source();
    if (s == QLatin1String(kSourceGoodsWindow)) {
        resetForNext();
    } else if (s == QLatin1String("cgjh") || s == QLatin1String("cgjhsh") || s == QLatin1String("spxs")
               || s == QLatin1String("spxssh")) {
        setProperty(handoff::OpeningQty, r.openingQty);
        setProperty(handoff::GoodsCode, r.code);
        accept();
    }
}

void TF_Spxxgl_Add::resetForNext()
{
    m_whPanel->hide();
    for (QLineEdit *e : {m_code, m_name, m_barcode})
        e->clear();
    m_spec->setEditText(QString());
    m_spec->setCurrentIndex(-1);
    for (MoneyEdit *m : {m_minStock, m_jj, m_sj, m_retail, m_opening})
        m->setValue(0);
    for (MoneyEdit *m : m_levels)
        m->setValue(0);
    for (QCheckBox *c : {m_gift, m_fixedCost, m_nameWarning})
        c->setChecked(false);
    reloadCommissionKind(0);
    m_picture->clear();
    ClearStagedAux(m_db, m_context.state->CurrentOperatorName);
    openAuxGrids();
    if (!m_classSn.isEmpty()) {
        GoodsClassRow row;
        row.sn = m_classSn;
        row.cid = m_classCid;
        onClassChosen(row);
    }
    m_name->setFocus();
}

void TF_Spxxgl_Add::done(int result)
{
    setProperty(handoff::CopyGoodsId, QVariant());
    GoodsEditDialog::done(result);
}
