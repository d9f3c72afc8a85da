#include "sales/forms/spxs.h"

#include "foundation/contracts.h"
#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/handoff.h"
#include "foundation/keyedlists.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/documentfields.h"
#include "screenkit/partnerchooser.h"
#include "screenkit/editors.h"
#include "screenkit/filechoice.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

const char *kNotFinished = "此功能尚未完成，将在后续版本中提供。";

GridColumn Column(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text,
                  bool editable = false)
{
    GridColumn c = ListColumn(field, caption, width, kind);
    c.editable = editable;
    c.focusable = editable;
    return c;
}

QList<GridColumn> EntryColumns()
{
    QList<GridColumn> c{Column("g_sn", "商品编号", 100),
                        Column("g_name", "商品名称", 150),
                        Column("gg_name", "规格型号", 80),
                        Column("color_name", "颜色", 60),
                        Column("dw_name", "单位", 50),
                        Column("ls_lsj", "零售价", 70, ColumnKind::Money),
                        Column("ls_dj", "单价", 80, ColumnKind::Money, true),
                        Column("ls_sl", "数量", 70, ColumnKind::Quantity, true),
                        Column("ls_tax", "税率", 50, ColumnKind::Number, true),
                        Column("ls_taxdj", "含税单价", 80, ColumnKind::Money, true),
                        Column("ls_dzl", "折扣", 50, ColumnKind::Number, true),
                        Column("sj", "折后价", 80, ColumnKind::Money),
                        Column("ls_je", "金额", 90, ColumnKind::Money),
                        Column("ls_taxje", "税额", 80, ColumnKind::Money),
                        Column("ls_zje", "总金额", 90, ColumnKind::Money),
                        Column("gl_djh2", "订单编号", 110),
                        Column("ls_bz", "备注", 120)};
    for (const char *f : {"id", "g_jm", "a_name", "t_zp", "ls_zsl", "g_sptm", "ls_cbj", "ls_zcb"})
        c << HiddenColumn(f);
    c[6].decimals = c[9].decimals = 8;
    c[8].decimals = c[10].decimals = 4;
    return c;
}

DocumentShape SaleShape()
{
    DocumentShape shape;
    shape.type = SaleDocType();
    shape.caption = QStringLiteral("商品销售");
    shape.title = QStringLiteral("商品销售单");
    shape.entryPage = QStringLiteral("商品销售");
    shape.pendingPage = QStringLiteral("待审核销售单");
    shape.queryPage = QStringLiteral("商品销售查询");
    shape.dateCaption = QStringLiteral("销售日期：");
    shape.lineColumns = EntryColumns();
    return shape;
}

QLabel *Caption(const char *text, QWidget *parent)
{
    return new QLabel(QString::fromUtf8(text), parent);
}

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TF_Spxs::TF_Spxs(const ScreenContext &context, QWidget *parent)
    : DocumentWindow(SaleShape(), context.data->mainDb(), *context.state, *context.clock, *context.notices, parent),
      m_context(context), m_db(context.data->mainDb()),
      m_entry(m_db, *context.state, *context.clock, *context.notices), m_print(*context.notices, this)
{
    setObjectName(QStringLiteral("TF_Spxs"));
    const char *pageNames[] = {"cxTab1", "cxTab2", "cxTab3"};
    for (int i = 0; i < 3; ++i)
        pages()->widget(i)->setObjectName(QString::fromLatin1(pageNames[i]));
    m_ctx.type = shape().type;
    m_ctx.numberChanged = [this](const QString &n) { setNumber(n); };
    m_ctx.linesChanged = [this] { onLinesChanged(); };

    buildHeader();
    buildBottom();
    buildButtons();

    // The query page comes with its own work; until then it says so.
    auto *queryLater = Named(new QLabel(QString::fromUtf8(kNotFinished), this), "LabelQueryLater");
    queryBar()->insertWidget(0, queryLater);

    DataGrid *lines = linesGrid();
    lines->setFooter(QStringLiteral("g_sn"), FooterKind::None);
    for (const char *f : {"ls_sl", "ls_je", "ls_taxje", "ls_zje"})
        lines->setFooter(QString::fromLatin1(f), FooterKind::Sum);
    lines->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        if (const std::optional<LineCell> cell = SaleCellOf(field))
            m_entry.editCell(SaleCellPlace::Draft, number(), key.toLongLong(), *cell, text);
        reloadLines();
        linesGrid()->locate(QStringLiteral("id"), key);
        updateTotals();
    });

    DocumentHooks &h = hooks();
    h.opening = [this] { opening(); };
    h.started = [this] { startDocument(); };
    h.linesStatement = [this](const QString &n) { return m_entry.linesStatement(n); };
    h.linesReloaded = [this] { onLinesReloaded(); };
    h.add = [this] { addOld(); };
    h.modify = [this](const QVariant &) { modifyLine(); };
    h.remove = [this](const QVariant &) { deleteLine(); };
    h.print = [this] { print(false); };
    h.save = [this] { save(); };
    h.discard = [this] { discardDraft(); };
    h.barcode = [this](const QString &code) { onScanned(code); };
    h.runQuery = [] {};
    installSaveAndPrint();
    connect(this, &ScreenDialog::opened, this, &TF_Spxs::afterOpening);
    resize(1000, 640);
}

TF_Spxs::~TF_Spxs() = default;

// ---- Building ------------------------------------------------------------------------------

void TF_Spxs::buildHeader()
{
    QWidget *box = headerLayout()->parentWidget();
    const PartnerField customer = NewPartnerField(box, "tkh", "btnSeleKh", 128);
    m_customerBox = customer.box;
    m_customerButton = customer.button;
    m_warehouse = Named(new KeyedCombo(box), "comCk");
    headerLayout()->addWidget(Caption("客户名称：", box), 1, 0);
    headerLayout()->addWidget(customer.row, 1, 1);
    headerLayout()->addWidget(Caption("仓库：", box), 1, 2);
    headerLayout()->addWidget(m_warehouse, 1, 3);
    dateEdit()->setFixedWidth(140);
    connect(m_customerBox, &QLineEdit::textEdited, this, [this](const QString &text) { chooseCustomer(text.trimmed()); });
    connect(m_customerButton, &QToolButton::clicked, this, [this] {
        setAccountPanelShown(false);
        chooseCustomer(QString());
    });
}

void TF_Spxs::buildBottom()
{
    DocumentBottomOptions o;
    o.payableCaption = "应收金额：";
    o.paidCaption = "实收金额：";
    o.paidName = "tssje";
    o.noteCaption = "备         注：";
    o.noteSpan = 3;
    o.accountPanelName = "RzPanel_Yhzh";
    o.accountCaption = "同时选择收款账户：";
    m_bottom = new DocumentBottom(bottomArea(), o, this);
    DocumentBottom &b = *m_bottom;
    m_due = b.payable;
    m_received = b.paid;
    m_settle = b.settle;
    m_handler = b.handler;
    m_originalNo = b.originalNo;
    m_originalNoLabel = b.originalNoLabel;
    m_note = b.note;
    m_invoiceNo = b.invoiceNo;
    m_invoiceAmount = b.invoiceAmount;
    m_freight = b.freight;
    m_packing = b.packing;
    m_wePay = b.wePay;
    m_account = b.account;
    m_accountPanel = b.accountPanel;
    b.setAccountsInUse([this] { return IsNotOff(m_context.state->UseCashBank); });
    b.showAccountOn({m_due, m_received});
    b.hideAccountOn({m_customerBox, m_warehouse, dateEdit(), linesGrid()->view(), m_handler, m_note});

    QWidget *bottom = bottomArea();
    m_discount = Named(new MoneyEdit(bottom), "tdzl");
    m_discount->setDecimals(4);
    m_discount->setMinusIgnored(true);
    m_discount->setToolTip(QStringLiteral("使用整单折扣会忽略商品折扣"));
    m_discount->setPlaceholderText(QStringLiteral("使用整单折扣会忽略商品折扣"));
    b.grid()->addWidget(Caption("整单折扣：", bottom), 1, 6);
    b.grid()->addWidget(m_discount, 1, 7);

    connect(b.handlerButton, &QToolButton::clicked, this, &TF_Spxs::chooseHandler);
    connect(b.noteButton, &QToolButton::clicked, this, &TF_Spxs::chooseNote);
    m_discount->installEventFilter(this);
}

void TF_Spxs::buildButtons()
{
    addButton()->setText(QStringLiteral("商品添加(F2)"));
    auto *row = static_cast<QHBoxLayout *>(buttonGroup()->layout());
    m_addNew = Named(new QPushButton(QStringLiteral("新商品添加"), buttonGroup()), "btnAddNew");
    m_inOut = Named(new QToolButton(buttonGroup()), "btnInOut");
    m_inOut->setText(QStringLiteral("导入导出"));
    m_inOut->setPopupMode(QToolButton::InstantPopup);
    auto *inOut = new QMenu(m_inOut);
    connect(inOut->addAction(QStringLiteral("从Excel导入商品销售单(&E)")), &QAction::triggered, this, &TF_Spxs::importExcel);
    connect(inOut->addAction(QStringLiteral("导出商品销售单到Excel(&X)")), &QAction::triggered, this, &TF_Spxs::exportExcel);
    m_inOut->setMenu(inOut);
    m_addGift = Named(new QPushButton(QStringLiteral("添加赠品"), buttonGroup()), "btnAddZp");
    m_importOrders = Named(new QPushButton(QStringLiteral("导入订单"), buttonGroup()), "btnXsdImport");
    m_kit = Named(new QPushButton(QStringLiteral("材料套料销售"), buttonGroup()), "btnImportCl");
    row->insertWidget(1, m_addNew);
    row->insertWidget(2, m_inOut);
    row->insertWidget(3, m_addGift);
    row->addWidget(m_importOrders);
    row->addWidget(m_kit);
    for (QPushButton *b : {m_addNew, m_addGift, m_importOrders, m_kit})
        b->setAutoDefault(false);
    connect(m_addNew, &QPushButton::clicked, this, &TF_Spxs::addNew);
    connect(m_addGift, &QPushButton::clicked, this, &TF_Spxs::addGift);
    connect(m_importOrders, &QPushButton::clicked, this, &TF_Spxs::importOrders);
    connect(m_kit, &QPushButton::clicked, this, &TF_Spxs::sellKit);

    m_printMenu = new QMenu(printButton());
    connect(m_printMenu->addAction(QStringLiteral("打印单据(&W)")), &QAction::triggered, this, [this] { print(false); });
    connect(m_printMenu->addAction(QStringLiteral("预览单据(&X)")), &QAction::triggered, this, [this] { print(true); });
    printButton()->setMenu(m_printMenu);

    QMenu *menu = linesMenu();
    const QList<QAction *> items = menu->actions();
    items.at(0)->setText(QStringLiteral("增加商品(&V)"));
    items.at(1)->setText(QStringLiteral("修改商品(&W)"));
    items.at(2)->setText(QStringLiteral("删除商品(&X)"));
    m_popupPrint = new QMenu(QStringLiteral("打印单据(&Y)"), menu);
    m_popupPrint->setObjectName(QStringLiteral("popupPrint"));
    connect(m_popupPrint->addAction(QStringLiteral("打印单据(&X)")), &QAction::triggered, this, [this] { print(false); });
    connect(m_popupPrint->addAction(QStringLiteral("预览单据(&Z)")), &QAction::triggered, this, [this] { print(true); });
    menu->insertMenu(items.at(3), m_popupPrint);
    connect(menu, &QMenu::aboutToShow, this, [this, items] {
        const bool lines = lineCount() > 0;
        items.at(1)->setEnabled(lines);
        items.at(2)->setEnabled(lines);
        m_popupPrint->menuAction()->setEnabled(lines && !IsTrue(m_context.state->NoPrintBeforeSave));
    });
}

// ---- Opening and the new document ----------------------------------------------------------

void TF_Spxs::opening()
{
    const LoginState &state = *m_context.state;
    m_originalNo->clear();
    const bool original = IsTrue(state.UseOriginalDocNo);
    m_originalNo->setVisible(original);
    m_originalNoLabel->setVisible(original);
    m_importOrders->setVisible(IsTrue(state.UseSalesOrder));
    m_customerSn = GetDefaultCustomerSn(m_db);
    loadHandlers();
    FillKeyedCombo(m_settle, LoadSettleCombo(QStringLiteral("xs")));
    FillKeyedCombo(m_warehouse, m_entry.warehouses());
    FillKeyedCombo(m_account, LoadKeyedCombo(m_db, QStringLiteral("jxc_yhzh"), QStringLiteral("yh_name"),
                                             QStringLiteral("yh_sn"), QStringLiteral("id")),
                   true);
    OpenCustomerList(m_db, state, m_customers, QStringLiteral("0"));
    setPrintBeforeSave(!IsTrue(state.NoPrintBeforeSave));
}

void TF_Spxs::loadHandlers()
{
    const LoginState &state = *m_context.state;
    if (state.BindSalesmanCustomer == QLatin1String("1"))
        FillKeyedCombo(m_handler,
                       LoadSalesmanCombo(m_db, state, QStringLiteral("u_name"), QStringLiteral("u_sn"), QString(), m_customerSn),
                       true);
    else
        FillKeyedCombo(m_handler, LoadUserCombo(m_db, state, QStringLiteral("u_xs")), true);
}

void TF_Spxs::startDocument()
{
    const LoginState &state = *m_context.state;
    saveButton()->setEnabled(true);
    m_originalNo->clear();
    setAccountPanelShown(false);
    m_customerBox->setEnabled(true);
    m_customerButton->setEnabled(true);
    m_customerSn = GetDefaultCustomerSn(m_db);
    m_customerBox->setText(GetDefaultCustomerName(m_db));
    m_bottom->clearFields();
    m_discount->setValue(1);
    m_contractCode.clear();
    m_settle->setCurrentIndex(state.DefaultSettleMode.toInt());
    if (m_settle->currentIndex() < 0 && m_settle->count() > 0)
        m_settle->setCurrentIndex(0);
    if (!m_warehouse->selectText(GetDefaultWarehouseName(m_db)) && m_warehouse->count() > 0)
        m_warehouse->setCurrentIndex(0);
    m_warehouse->setEnabled(true);
    if (m_account->count() > 0)
        m_account->setCurrentIndex(0);
    onLinesReloaded();
    updateTotals();
}

void TF_Spxs::afterOpening()
{
    // A receipt handed over by the main window is taken (and so emptied) whatever follows.
    const QString source = m_context.followOn ? m_context.followOn->takeSaleSource() : QString();
    if (!source.isEmpty())
        copySource(source);
    applyRights();
    applyFormats();
    m_wePay->setChecked(true);
    m_wePay->hide();
    if (m_entryRight) {
        setBarcodePanelShown(true);
        barcodePanel()->entryBox()->setFocus(Qt::OtherFocusReason);
    } else {
        setBarcodePanelShown(false);
    }
}

void TF_Spxs::copySource(const QString &source)
{
    pages()->setCurrentIndex(EntryPage);
    const CopiedReceipt copy = m_entry.copyReceipt(documentContext(), source);
    if (!copy.result.done() || !copy.headerFound)
        return;
    m_due->setValue(copy.amount);
    m_received->setValue(copy.amount);
    m_note->setText(copy.note);
    m_warehouse->selectText(copy.warehouseName);
    m_handler->selectText(copy.handlerName);
    reloadLines();
    m_warehouse->setEnabled(false);
}

void TF_Spxs::applyRights()
{
    const LoginState &state = *m_context.state;
    m_entryRight = HasRight(m_db, state, QStringLiteral("xsgl"), 1);
    setEntryAllowed(m_entryRight);
    m_addNew->setVisible(HasRight(m_db, state, QStringLiteral("qtcz"), 1));
    for (QWidget *w : {static_cast<QWidget *>(m_addNew), static_cast<QWidget *>(m_inOut), static_cast<QWidget *>(m_addGift),
                       static_cast<QWidget *>(m_importOrders), static_cast<QWidget *>(m_kit)})
        w->setEnabled(m_entryRight);
    linesMenu()->actions().at(0)->setEnabled(m_entryRight);
    if (barcodePanel())
        barcodePanel()->setEnabled(m_entryRight);

    const bool price = state.RightShowSalePrice;
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("xs"));
    const bool discount = IsTrue(state.UseDiscount) && price;
    DataGrid *g = linesGrid();
    for (const char *f : {"ls_dj", "ls_zje"})
        g->setColumnGated(QString::fromLatin1(f), !price);
    for (const char *f : {"ls_je", "ls_tax", "ls_taxdj", "ls_taxje"})
        g->setColumnGated(QString::fromLatin1(f), !tax);
    g->setColumnGated(QStringLiteral("ls_dzl"), !discount);
    g->setColumnGated(QStringLiteral("sj"), !discount);
    g->setColumnGated(QStringLiteral("ls_lsj"), !IsTrue(state.UseRetailPrice));
    g->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
    g->setColumnGated(QStringLiteral("gl_djh2"), !IsTrue(state.UseSalesOrder));
    const bool priceEdit = IsTrue(state.AllowSalePriceEdit);
    for (const char *f : {"ls_dj", "ls_taxdj"}) {
        GridColumn &c = g->model()->column(QString::fromLatin1(f));
        c.editable = c.focusable = priceEdit;
    }
    for (QWidget *w : std::as_const(m_bottom->amountWidgets))
        w->setVisible(price);
    for (QWidget *w : std::as_const(m_bottom->freightWidgets))
        w->setVisible(IsTrue(state.UseFreight));
    for (QWidget *w : std::as_const(m_bottom->invoiceWidgets))
        w->setVisible(IsTrue(state.UseInvoice));
}

void TF_Spxs::applyFormats()
{
    const LoginState &state = *m_context.state;
    for (MoneyEdit *e : m_bottom->moneyEdits())
        SetMoneyEditFormat(e, state);
    DataGrid &g = *linesGrid();
    for (const char *f : {"ls_lsj", "ls_dj", "ls_taxdj", "sj", "ls_je", "ls_taxje", "ls_zje"})
        SetMoneyColumnFormat(g, QString::fromLatin1(f), state);
    for (const char *f : {"ls_je", "ls_taxje", "ls_zje"})
        SetMoneyFooterFormat(g, QString::fromLatin1(f), state);
    SetQtyColumnFormat(g, QStringLiteral("ls_sl"), state);
    SetQtyFooterFormat(g, QStringLiteral("ls_sl"), state);
}

DocumentContext &TF_Spxs::documentContext()
{
    m_ctx.number = number();
    m_ctx.day = documentDay();
    m_ctx.warehouse = m_warehouse->currentKey();
    m_ctx.partner = m_customerSn;
    return m_ctx;
}

void TF_Spxs::onLinesChanged()
{
    reloadLines();
    updateTotals();
}

void TF_Spxs::onLinesReloaded()
{
    // The warehouse is fixed while the sale has lines.
    const bool empty = lineCount() == 0;
    if (!m_warehouse)
        return;
    m_warehouse->setEnabled(empty);
    if (empty) {
        m_customerBox->setEnabled(true);
        m_customerButton->setEnabled(true);
    }
}

void TF_Spxs::updateTotals()
{
    const double due = m_entry.due(number());
    m_due->setValue(due);
    m_received->setValue(m_entry.receivedAfterChange(due, m_received->value()));
}

// ---- Save and closing ----------------------------------------------------------------------

void TF_Spxs::save()
{
    ConfirmGridEdits(this);
    if (m_saveAction)
        m_saveAction();
}

void TF_Spxs::print(bool preview)
{
    if (lineCount() == 0 || IsTrue(m_context.state->NoPrintBeforeSave))
        return;
    if (m_printAction)
        m_printAction(preview);
}

void TF_Spxs::discardDraft()
{
    try {
        m_entry.discard(number());
    } catch (const DbError &e) {
        m_context.notices->notice(QStringLiteral("删除商品失败：") + e.text());
    }
    if (!m_contractCode.isEmpty()) {
        try {
            DeleteContract(m_db, m_contractCode);
        } catch (const DbError &) {
        }
        m_contractCode.clear();
    }
}

// ---- Events --------------------------------------------------------------------------------

void TF_Spxs::setAccountPanelShown(bool shown)
{
    m_bottom->setAccountPanelShown(shown);
}

bool TF_Spxs::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyRelease && watched == m_discount) {
        // Every key released in 整单折扣 applies the factor to the whole sale.
        m_entry.applyWholeDiscount(documentContext(), m_discount->plainText());
    }
    return DocumentWindow::eventFilter(watched, event);
}
