#include "sales/forms/spxs_pending.h"

#include "foundation/datamodule.h"
#include "foundation/db/dberror.h"
#include "foundation/forms/displayformats.h"
#include "foundation/forms/handoffnames.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "masterdata/forms/masterdatascreens.h"
#include "purchasing/forms/purchasingscreens.h"
#include "sales/forms/customerfilterpanel.h"
#include "sales/forms/salesscreens.h"
#include "sales/pendingsales.h"
#include "sales/saleaudit.h"
#include "sales/saleprint.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/documentwindow.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/gridmodel.h"

#include <QAction>
#include <QBoxLayout>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

#include <memory>

namespace {

QList<GridColumn> PendingListColumns()
{
    return {ListColumn("gl_djh", "单据号", 124),
            ListColumn("ls_xsrq", "开单日期", 138, ColumnKind::DateText),
            ListColumn("kh_name", "客户名称", 180),
            ListColumn("ck_name", "仓库名称", 80),
            ListColumn("ls_yfje", "应收金额", 90, ColumnKind::Money),
            ListColumn("ls_sfje", "实收金额", 90, ColumnKind::Money),
            ListColumn("ls_yhje", "优惠金额", 80, ColumnKind::Money),
            ListColumn("wfje", "欠款金额", 90, ColumnKind::Money),
            ListColumn("ls_dzl", "折扣", 50, ColumnKind::Number),
            ListColumn("ls_kmmc", "结算方式", 80),
            ListColumn("ls_yf", "运费", 70, ColumnKind::Money),
            ListColumn("ls_bzf", "包装费", 70, ColumnKind::Money),
            ListColumn("ls_yffs", "付费方式", 80),
            ListColumn("ht_sn", "合同编号", 80),
            ListColumn("u_name", "经办人", 70),
            ListColumn("a_name", "操作员", 70),
            ListColumn("gl_djh2", "原始单号", 100),
            ListColumn("ls_note", "备注", 150),
            HiddenColumn("id"),
            HiddenColumn("kh_sn"),
            HiddenColumn("ck_sn"),
            HiddenColumn("ls_jsfs")};
}

GridColumn Editable(GridColumn c)
{
    c.editable = c.focusable = true;
    return c;
}

QList<GridColumn> PendingLineColumns()
{
    QList<GridColumn> c{ListColumn("g_sn", "商品编号", 100),
                        ListColumn("g_name", "商品名称", 150),
                        ListColumn("gg_name", "规格型号", 80),
                        ListColumn("color_name", "颜色", 60),
                        ListColumn("dw_name", "单位", 50),
                        ListColumn("ls_cbj", "成本价", 70, ColumnKind::Money),
                        ListColumn("ls_lsj", "零售价", 70, ColumnKind::Money),
                        Editable(ListColumn("ls_dj", "单价", 80, ColumnKind::Money)),
                        Editable(ListColumn("ls_sl", "数量", 70, ColumnKind::Quantity)),
                        Editable(ListColumn("ls_tax", "税率", 50, ColumnKind::Number)),
                        Editable(ListColumn("ls_taxdj", "含税单价", 80, ColumnKind::Money)),
                        Editable(ListColumn("ls_dzl", "打折率", 50, ColumnKind::Number)),
                        ListColumn("ls_zcb", "总成本", 80, ColumnKind::Money),
                        ListColumn("ls_je", "金额", 90, ColumnKind::Money),
                        ListColumn("ls_taxje", "税额", 80, ColumnKind::Money),
                        ListColumn("ls_zje", "总金额", 90, ColumnKind::Money),
                        ListColumn("gl_djh2", "订单编号", 110),
                        ListColumn("ls_bz", "备注", 120),
                        ListColumn("a_name", "操作员", 70)};
    for (const char *f : {"id", "t_zp", "g_sptm"})
        c << HiddenColumn(f);
    c[7].decimals = c[10].decimals = 8;
    c[9].decimals = c[11].decimals = 4;
    return c;
}

SqlGridModel *ModelOf(DataGrid *grid)
{
    return static_cast<SqlGridModel *>(grid->model());
}

void Apply(DataGrid *grid, const ListStatement &st, ReloadTarget target = ReloadTarget::First)
{
    ModelOf(grid)->setStatement(st.body, st.order, st.binds);
    grid->reload(target);
}

QLabel *Note(const char *text, QWidget *parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

} // namespace

SalePendingPage::SalePendingPage(DocumentWindow &window, const ScreenContext &context, SalePageServices services)
    : QObject(&window), m_window(window), m_context(context), m_services(std::move(services)),
      m_entry(context.data->mainDb(), *context.state, *context.clock, *context.notices)
{
    m_ctx.type = window.shape().type;
    m_ctx.page = DocPage::Pending;
    m_ctx.linesChanged = [this] { onLinesChanged(); };
    buildBars();
    buildGrids();
    buildMenus();

    DocumentHooks &h = window.hooks();
    h.refreshPending = [this] { search(); };
    h.pendingSelected = [this](const QString &number) { showLines(number); };
    connect(window.pages(), &QTabWidget::currentChanged, this, [this](int page) {
        if (page == DocumentWindow::PendingPage)
            activate();
    });
}

QPushButton *SalePendingPage::button(const QString &objectName) const
{
    for (QPushButton *b : m_buttons)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void SalePendingPage::addButton(QBoxLayout *row, QWidget *parent, const char *name, const char *text,
                                void (SalePendingPage::*slot)())
{
    QPushButton *b = NamedButton(parent, name, QString::fromUtf8(text));
    b->setAutoDefault(false);
    row->addWidget(b);
    m_buttons << b;
    connect(b, &QPushButton::clicked, this, slot);
}

void SalePendingPage::buildBars()
{
    QWidget *page = m_window.pendingGrid()->parentWidget();
    // The note above the list.
    auto *note = new QHBoxLayout;
    const char *texts[] = {"说明：", "“待审核”的销售单不会使库存减少，", "不影响帐务，且允许修改。“已审核”的单据会影响",
                           "帐务，且不允许修改。"};
    const char *names[] = {"Label1", "Label2", "Label3", "Label4"};
    for (int i = 0; i < 4; ++i) {
        QLabel *l = Note(texts[i], page);
        l->setObjectName(QString::fromLatin1(names[i]));
        note->addWidget(l);
    }
    note->addStretch(1);
    static_cast<QVBoxLayout *>(page->layout())->insertLayout(0, note);

    m_customerBox = new QLineEdit(page);
    m_customerBox->setObjectName(QStringLiteral("tGhsName"));
    m_customerBox->setMaxLength(64);
    m_customerBox->setMinimumWidth(110);
    InstallCharFilter(m_customerBox, CharFilter::Standard);
    m_customerButton = new QToolButton(page);
    m_customerButton->setObjectName(QStringLiteral("btnSeleKh2"));
    m_customerButton->setText(QStringLiteral("..."));
    m_customerButton->setFocusPolicy(Qt::NoFocus);
    m_window.pendingBar()->insertWidget(0, Note("客户名称：", page));
    m_window.pendingBar()->insertWidget(1, m_customerBox);
    m_window.pendingBar()->insertWidget(2, m_customerButton);
    m_window.pendingKeyBox()->setMinimumWidth(110);
    m_panel = new CustomerFilterPanel(m_context.data->mainDb(), *m_context.state, m_customerBox, &m_window);
    connect(m_customerBox, &QLineEdit::textEdited, this, [this] { chooseCustomer(true); });
    connect(m_customerButton, &QToolButton::clicked, this, [this] { chooseCustomer(false); });
    connect(m_customerBox, &QLineEdit::returnPressed, this, &SalePendingPage::search);

    auto *row = new QHBoxLayout;
    const auto add = [&](const char *name, const char *text, void (SalePendingPage::*slot)()) {
        addButton(row, page, name, text, slot);
    };
    add("btnView2", "查看单据", &SalePendingPage::view);
    add("btnPrint2", "打印", &SalePendingPage::printList);
    add("btnPrintAll2", "连续打印", &SalePendingPage::printContinuously);
    add("btn_Check", "审核全部", &SalePendingPage::auditAll);
    add("btnDel2", "删除单据", &SalePendingPage::deleteDocument);
    add("btnModi2", "修改", &SalePendingPage::redate);
    add("btnExport2", "导出", &SalePendingPage::exportList);
    row->addStretch(1);
    auto *exit = new QPushButton(QStringLiteral("退出"), page);
    exit->setObjectName(QStringLiteral("btnExit2"));
    exit->setAutoDefault(false);
    row->addWidget(exit);
    connect(exit, &QPushButton::clicked, &m_window, &DocumentWindow::close);
    static_cast<QVBoxLayout *>(page->layout())->insertLayout(2, row);

    QWidget *strip = m_window.pendingLowerBar()->parentWidget();
    const auto lower = [&](const char *name, const char *text, void (SalePendingPage::*slot)()) {
        addButton(m_window.pendingLowerBar(), strip, name, text, slot);
    };
    lower("btnAddsh", "新增商品", &SalePendingPage::addGoods);
    lower("btnModish", "修改商品", &SalePendingPage::modifyLine);
    lower("btnDelsh", "删除商品", &SalePendingPage::deleteLine);
    lower("btnAddZpsh", "添加赠品", &SalePendingPage::addGift);
    m_window.pendingLowerBar()->addWidget(Note("客户名称：", strip));
    m_customerName = new QLabel(strip);
    m_customerName->setObjectName(QStringLiteral("LabelKh"));
    m_window.pendingLowerBar()->addWidget(m_customerName, 1);
}

void SalePendingPage::buildGrids()
{
    const LoginState &state = *m_context.state;
    const QSqlDatabase db = m_context.data->mainDb();
    DataGrid *list = m_window.pendingGrid();
    auto *listModel = new SqlGridModel(db, this);
    listModel->setColumns(PendingListColumns());
    list->setModel(listModel);
    list->setFooter(QStringLiteral("gl_djh"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const char *f : {"ls_yfje", "ls_sfje", "ls_yhje", "wfje", "ls_yf", "ls_bzf"}) {
        list->setFooter(QString::fromLatin1(f), FooterKind::Sum);
        SetMoneyColumnFormat(*list, QString::fromLatin1(f), state);
        SetMoneyFooterFormat(*list, QString::fromLatin1(f), state);
    }

    DataGrid *lines = m_window.pendingLinesGrid();
    auto *linesModel = new SqlGridModel(db, this);
    linesModel->setColumns(PendingLineColumns());
    linesModel->setKeyField(QStringLiteral("id"));
    lines->setModel(linesModel);
    lines->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const char *f : {"ls_sl", "ls_zcb", "ls_je", "ls_taxje", "ls_zje"})
        lines->setFooter(QString::fromLatin1(f), FooterKind::Sum);
    for (const char *f : {"ls_cbj", "ls_lsj", "ls_dj", "ls_taxdj", "ls_zcb", "ls_je", "ls_taxje", "ls_zje"})
        SetMoneyColumnFormat(*lines, QString::fromLatin1(f), state);
    for (const char *f : {"ls_zcb", "ls_je", "ls_taxje", "ls_zje"})
        SetMoneyFooterFormat(*lines, QString::fromLatin1(f), state);
    SetQtyColumnFormat(*lines, QStringLiteral("ls_sl"), state);
    SetQtyFooterFormat(*lines, QStringLiteral("ls_sl"), state);
    lines->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        if (const std::optional<LineCell> cell = SaleCellOf(field)) {
            if (m_entry.editCell(SaleCellPlace::Pending, m_ctx.number, key.toLongLong(), *cell, text))
                onLinesChanged();
        }
        reloadKept();
    });
    connect(list, &DataGrid::rowDoubleClicked, this, [this](int) { view(); });
    connect(lines, &DataGrid::rowDoubleClicked, this, [this](int) { modifyLine(); });
}

void SalePendingPage::buildMenus()
{
    m_listMenu = new QMenu(m_window.pendingGrid());
    m_listMenu->setObjectName(QStringLiteral("PopupMenu2"));
    QAction *audit = m_listMenu->addAction(QStringLiteral("单据审核(&W)"));
    QAction *viewItem = m_listMenu->addAction(QStringLiteral("查看单据(&X)"));
    QAction *deleteItem = m_listMenu->addAction(QStringLiteral("删除单据(&Y)"));
    QAction *redateItem = m_listMenu->addAction(QStringLiteral("更改日期(&Z)"));
    QAction *exportItem = m_listMenu->addAction(QStringLiteral("导出Excel表(&E)"));
    connect(audit, &QAction::triggered, this, &SalePendingPage::auditSelected);
    connect(viewItem, &QAction::triggered, this, &SalePendingPage::view);
    connect(deleteItem, &QAction::triggered, this, &SalePendingPage::deleteDocument);
    connect(redateItem, &QAction::triggered, this, &SalePendingPage::redate);
    connect(exportItem, &QAction::triggered, this, &SalePendingPage::exportList);
    m_window.pendingGrid()->setPopupMenu(m_listMenu, [this, audit, deleteItem, redateItem](QMenu *) {
        audit->setEnabled(button(QStringLiteral("btn_Check"))->isEnabled());
        deleteItem->setEnabled(button(QStringLiteral("btnDel2"))->isEnabled());
        redateItem->setEnabled(button(QStringLiteral("btnModi2"))->isEnabled());
    });

    m_linesMenu = new QMenu(m_window.pendingLinesGrid());
    m_linesMenu->setObjectName(QStringLiteral("PopupMenu3"));
    QAction *addItem = m_linesMenu->addAction(QStringLiteral("增加商品(&X)"));
    QAction *modifyItem = m_linesMenu->addAction(QStringLiteral("修改商品(&Y)"));
    QAction *removeItem = m_linesMenu->addAction(QStringLiteral("删除商品(&Z)"));
    connect(addItem, &QAction::triggered, this, &SalePendingPage::addGoods);
    connect(modifyItem, &QAction::triggered, this, &SalePendingPage::modifyLine);
    connect(removeItem, &QAction::triggered, this, &SalePendingPage::deleteLine);
    m_window.pendingLinesGrid()->setPopupMenu(m_linesMenu, [this, addItem, modifyItem, removeItem](QMenu *) {
        addItem->setEnabled(button(QStringLiteral("btnAddsh"))->isEnabled());
        modifyItem->setEnabled(button(QStringLiteral("btnModish"))->isEnabled());
        removeItem->setEnabled(button(QStringLiteral("btnDelsh"))->isEnabled());
    });
}

void SalePendingPage::applyRights()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    button(QStringLiteral("btn_Check"))->setEnabled(HasRight(db, state, QStringLiteral("xsgl"), 2));
    button(QStringLiteral("btnDel2"))->setEnabled(HasRight(db, state, QStringLiteral("xsgl"), 17));
    button(QStringLiteral("btnModi2"))->setEnabled(state.RightChangeDocDate);
    button(QStringLiteral("btnPrint2"))->setEnabled(state.RightShowCost && state.RightShowSalePrice);
    // Adding goods to a pending sale is its own right (xsgl 16), on every refresh alike.
    m_addRight = HasRight(db, state, QStringLiteral("xsgl"), 16);

    const bool price = state.RightShowSalePrice;
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("xs")) && price;
    const bool discount = IsTrue(state.UseDiscount) && price;
    DataGrid *lines = m_window.pendingLinesGrid();
    for (const char *f : {"ls_dj", "ls_zje"})
        lines->setColumnGated(QString::fromLatin1(f), !price);
    for (const char *f : {"ls_je", "ls_tax", "ls_taxdj", "ls_taxje"})
        lines->setColumnGated(QString::fromLatin1(f), !tax);
    lines->setColumnGated(QStringLiteral("ls_dzl"), !discount);
    for (const char *f : {"ls_cbj", "ls_zcb"})
        lines->setColumnGated(QString::fromLatin1(f), !state.RightShowCost);
    lines->setColumnGated(QStringLiteral("ls_lsj"), !IsTrue(state.UseRetailPrice));
    lines->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    lines->setColumnGated(QStringLiteral("gl_djh2"), !IsTrue(state.UseSalesOrder));
    const bool priceEdit = IsTrue(state.AllowSalePriceEdit);
    for (const char *f : {"ls_dj", "ls_taxdj"}) {
        GridColumn &c = lines->model()->column(QString::fromLatin1(f));
        c.editable = c.focusable = priceEdit;
    }
    DataGrid *list = m_window.pendingGrid();
    for (const char *f : {"ls_yfje", "ls_sfje", "ls_yhje", "wfje"})
        list->setColumnGated(QString::fromLatin1(f), !price);
    list->setColumnGated(QStringLiteral("ls_dzl"), !discount);
    const bool freight = IsTrue(state.UseFreight);
    for (const char *f : {"ls_yf", "ls_bzf", "ls_yffs"})
        list->setColumnGated(QString::fromLatin1(f), !freight);
    list->setColumnGated(QStringLiteral("gl_djh2"), !IsTrue(state.UseOriginalDocNo));
    list->setColumnGated(QStringLiteral("ht_sn"), !IsTrue(state.UseContractNo));
}

void SalePendingPage::activate()
{
    applyRights();
    search();
    m_window.pendingGrid()->view()->setFocus(Qt::OtherFocusReason);
}

void SalePendingPage::search()
{
    const ListStatement st =
        PendingSaleRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
            .list(m_window.pendingKeyBox()->text(), m_customerBox->text(), m_window.pendingDescending());
    try {
        Apply(m_window.pendingGrid(), st);
    } catch (const DbError &e) {
        m_context.notices->notice(e.text());
    }
    showLines(currentNumber());
}

bool SalePendingPage::hasRows() const
{
    return m_window.pendingGrid()->rowCount() > 0;
}

QString SalePendingPage::currentNumber() const
{
    return hasRows() ? m_window.pendingGrid()->currentValue(QStringLiteral("gl_djh")).toString() : QString();
}

void SalePendingPage::showLines(const QString &number)
{
    DataGrid *list = m_window.pendingGrid();
    Apply(m_window.pendingLinesGrid(),
          PendingSaleRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices).lines(number));
    const bool any = !number.isEmpty();
    m_customerName->setText(any ? list->currentValue(QStringLiteral("kh_name")).toString() : QString());
    m_ctx.number = number;
    m_ctx.day = any ? list->currentValue(QStringLiteral("ls_xsrq")).toString().left(10) : QString();
    m_ctx.warehouse = any ? list->currentValue(QStringLiteral("ck_sn")).toString() : QString();
    m_ctx.partner = any ? list->currentValue(QStringLiteral("kh_sn")).toString() : QString();
    updateLineButtons();
}

void SalePendingPage::updateLineButtons()
{
    const bool lines = m_window.pendingLinesGrid()->rowCount() > 0;
    button(QStringLiteral("btnAddsh"))->setEnabled(lines && m_addRight);
    button(QStringLiteral("btnAddZpsh"))->setEnabled(lines && m_addRight);
    button(QStringLiteral("btnModish"))->setEnabled(lines);
    button(QStringLiteral("btnDelsh"))->setEnabled(lines && button(QStringLiteral("btnDel2"))->isEnabled());
}

void SalePendingPage::onLinesChanged()
{
    if (m_ctx.number.isEmpty())
        return;
    try {
        PendingSaleRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
            .updateCheckShdjYfje(m_ctx.number);
    } catch (const DbError &e) {
        m_context.notices->notice(QStringLiteral("修改商品失败：") + e.text());
    }
    reloadKept();
}

void SalePendingPage::reloadKept()
{
    DataGrid *list = m_window.pendingGrid();
    const QString kept = m_ctx.number;
    list->reload(ReloadTarget::KeepKey);
    if (!kept.isEmpty() && currentNumber() != kept)
        list->locate(QStringLiteral("gl_djh"), kept);
    const QString number = currentNumber();
    if (number != m_ctx.number) {
        showLines(number);
        return;
    }
    m_window.pendingLinesGrid()->reload(ReloadTarget::KeepKey);
    updateLineButtons();
}

QList<QPair<QString, QString>> SalePendingPage::listedSales() const
{
    QList<QPair<QString, QString>> sales;
    const GridModel *model = m_window.pendingGrid()->model();
    const int number = model->columnOf(QStringLiteral("gl_djh"));
    const int date = model->columnOf(QStringLiteral("ls_xsrq"));
    model->forEachRow([&](const QVector<QVariant> &row) {
        sales << qMakePair(row.at(number).toString(), row.at(date).toString());
        return true;
    });
    return sales;
}

// ---- List commands -------------------------------------------------------------------------

void SalePendingPage::view()
{
    const QString number = currentNumber();
    if (number.isEmpty())
        return;
    PrintOptions options;
    options.choice = m_services.choice();
    SalePrintRules(m_context.data->mainDb(), *m_context.state, *m_context.clock)
        .printSaved(number, m_services.output(), options);
}

void SalePendingPage::printList()
{
    if (!button(QStringLiteral("btnPrint2"))->isEnabled() || !hasRows())
        return;
    QVariantList binds;
    const QString sql = ModelOf(m_window.pendingGrid())->selectSql(&binds);
    SalePrintRules(m_context.data->mainDb(), *m_context.state, *m_context.clock)
        .printPendingList(m_services.output(), sql, binds);
}

void SalePendingPage::printContinuously()
{
    QStringList numbers;
    for (const auto &sale : listedSales())
        numbers << sale.first;
    SalePrintRules(m_context.data->mainDb(), *m_context.state, *m_context.clock)
        .printContinuously(*m_context.notices, numbers, m_services.output());
}

void SalePendingPage::auditAll()
{
    if (!button(QStringLiteral("btn_Check"))->isEnabled() || !hasRows())
        return;
    SaleAuditRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
        .auditAll(listedSales());
    search();
}

void SalePendingPage::auditSelected()
{
    if (!button(QStringLiteral("btn_Check"))->isEnabled() || !hasRows())
        return;
    SaleAuditRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
        .auditSelected(currentNumber());
    search();
}

void SalePendingPage::deleteDocument()
{
    if (!button(QStringLiteral("btnDel2"))->isEnabled() || !hasRows())
        return;
    const PendingEditResult r =
        PendingSaleRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
            .deleteDocument(currentNumber());
    if (r.status != PendingEditResult::Status::Declined)
        search();
}

void SalePendingPage::redate()
{
    if (!button(QStringLiteral("btnModi2"))->isEnabled() || !hasRows())
        return;
    std::unique_ptr<QDialog> dialog(m_context.registry->create(QStringLiteral("TF_ModiDateXs"), QStringLiteral("修改开单日期"),
                                                               m_context, &m_window));
    dialog->setProperty(handoff::DocumentNumber, currentNumber());
    dialog->setProperty(handoff::CallerTag, QStringLiteral("cgjh"));
    dialog->exec();
    dialog.reset();
    search();
    m_window.reloadLines();
}

void SalePendingPage::exportList()
{
    if (hasRows())
        ExportGrid(*m_window.pendingGrid(), m_services.files(), *m_context.notices, &m_window);
}

// ---- Lines ---------------------------------------------------------------------------------

void SalePendingPage::openLineDialog(const char *screen, const char *caption, const QString &tag)
{
    DataGrid *lines = m_window.pendingLinesGrid();
    const qint64 id = lines->currentValue(QStringLiteral("id")).toLongLong();
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QString::fromLatin1(screen), QString::fromUtf8(caption), m_context, &m_window));
    SetDocumentContext(dialog.get(), &m_ctx);
    dialog->setProperty(handoff::LineTag, tag);
    dialog->setProperty(handoff::GoodsCode, lines->currentValue(QStringLiteral("g_sn")).toString());
    dialog->setProperty(handoff::LineId, id);
    dialog->exec();
    dialog.reset();
    reloadKept();
    lines->locate(QStringLiteral("id"), id);
}

void SalePendingPage::addGoods()
{
    if (!button(QStringLiteral("btnAddsh"))->isEnabled() || m_ctx.number.isEmpty())
        return;
    std::unique_ptr<QDialog> picker(m_context.registry->create(
        QString::fromLatin1(sales::kPicker), QString::fromUtf8(sales::kPickerCaption), m_context, &m_window));
    SetDocumentContext(picker.get(), &m_ctx);
    picker->exec();
    picker.reset();
    reloadKept();
}

void SalePendingPage::addGift()
{
    if (!button(QStringLiteral("btnAddZpsh"))->isEnabled() || m_ctx.number.isEmpty())
        return;
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Spxs_Add2"), QStringLiteral("添加赠品"), m_context, &m_window));
    SetDocumentContext(dialog.get(), &m_ctx);
    dialog->exec();
    dialog.reset();
    reloadKept();
}

void SalePendingPage::modifyLine()
{
    if (m_window.pendingLinesGrid()->rowCount() == 0)
        return;
    if (m_window.pendingLinesGrid()->currentValue(QStringLiteral("t_zp")).toString() == QLatin1String("(赠品)"))
        openLineDialog("TF_Spxs_Sele2", "赠品信息", QStringLiteral("spxs_modish"));
    else
        openLineDialog(sales::kLineDialog, sales::kLineCaption, QStringLiteral("spxs_modish"));
}

void SalePendingPage::deleteLine()
{
    if (!button(QStringLiteral("btnDelsh"))->isEnabled() || m_window.pendingLinesGrid()->rowCount() == 0)
        return;
    const PendingEditResult r =
        PendingSaleRules(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
            .deleteLine(m_ctx.number, m_window.pendingLinesGrid()->currentValue(QStringLiteral("id")).toLongLong());
    if (r.status == PendingEditResult::Status::Declined)
        return;
    if (r.done() && r.number.isEmpty())
        search();
    else
        reloadKept();
}

// ---- Customer panel ------------------------------------------------------------------------

void SalePendingPage::chooseCustomer(bool filtered)
{
    const CustomerFilterPanel::Outcome outcome = m_panel->run(filtered);
    if (outcome == CustomerFilterPanel::Outcome::None)
        return;
    if (outcome == CustomerFilterPanel::Outcome::All)
        m_window.pendingGrid()->setFilter(GridFilter());
    search();
}
