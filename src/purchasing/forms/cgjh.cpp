#include "purchasing/forms/cgjh.h"

#include "foundation/contracts.h"
#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/defaultrecords.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "purchasing/forms/purchase_lists.h"
#include "purchasing/purchaselinemath.h"
#include "purchasing/receiptprint.h"
#include "purchasing/receiptsave.h"
#include "purchasing/returnrules.h"
#include "report/printeroutput.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/documentfields.h"
#include "screenkit/partnerchooser.h"
#include "screenkit/editors.h"
#include "screenkit/filechoice.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

GridColumn Column(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text,
                  bool editable = false)
{
    GridColumn c = ListColumn(field, caption, width, kind);
    c.editable = editable;
    c.focusable = editable;
    return c;
}

// The priced columns of a kind's lines, 单价 to 总金额, as both the entry grid and the pending
// lines show them. The receipt's and the order's cells are edited in place (单价, 数量, 税率,
// 含税单价, 折扣); the return's lines change only through the line dialog.
QList<GridColumn> PricedColumns(PurchaseKind kind, const char *taxCaption)
{
    const LineColumns l = PurchaseDocType(kind).line;
    const QByteArray price = l.price.toLatin1(), quantity = l.quantity.toLatin1(), tax = l.tax.toLatin1(),
                     taxPrice = l.taxPrice.toLatin1(), discount = l.discount.toLatin1(), amount = l.amount.toLatin1(),
                     taxAmount = l.taxAmount.toLatin1(), total = l.total.toLatin1();
    const bool edit = kind != PurchaseKind::Return;
    QList<GridColumn> c{Column(price.constData(), "单价", 80, ColumnKind::Money, edit)};
    if (kind == PurchaseKind::Return) {
        c << Column(discount.constData(), "打折率", 50, ColumnKind::Number)
          << Column(quantity.constData(), "数量", 70, ColumnKind::Quantity);
    } else if (kind == PurchaseKind::Order) {
        c << Column(discount.constData(), "折扣", 50, ColumnKind::Number, true) << Column("dj", "折后价", 80, ColumnKind::Money)
          << Column(quantity.constData(), "订单数量", 70, ColumnKind::Quantity, true);
    } else {
        c << Column(quantity.constData(), "数量", 70, ColumnKind::Quantity, true);
    }
    if (kind == PurchaseKind::Receipt)
        c << Column(tax.constData(), "税率", 50, ColumnKind::Number, true)
          << Column(taxPrice.constData(), "含税单价", 80, ColumnKind::Money, true)
          << Column(discount.constData(), "折扣", 50, ColumnKind::Number, true) << Column("dj", "折后价", 80, ColumnKind::Money)
          << Column(amount.constData(), "金额", 90, ColumnKind::Money);
    else
        c << Column(amount.constData(), "金额", 90, ColumnKind::Money)
          << Column(tax.constData(), "税率", 50, ColumnKind::Number, edit)
          << Column(taxPrice.constData(), "含税单价", 80, ColumnKind::Money, edit);
    c << Column(taxAmount.constData(), taxCaption, 80, ColumnKind::Money) << Column(total.constData(), "总金额", 90, ColumnKind::Money);
    for (GridColumn &col : c) {
        if (col.field == l.price || col.field == l.taxPrice)
            col.decimals = 8;
        else if (col.field == l.tax || col.field == l.discount)
            col.decimals = 4;
    }
    return c;
}

// The entry grid of a kind.
QList<GridColumn> EntryColumns(PurchaseKind kind)
{
    const QByteArray note = PurchaseDocType(kind).line.note.toLatin1();
    QList<GridColumn> c{Column("g_sn", "商品编号", 100), Column("g_name", "商品名称", 150), Column("dw_name", "单位", 50),
                        Column("gg_name", "规格型号", 80), Column("color_name", "颜色", 60)};
    c << PricedColumns(kind, "税额");
    if (kind == PurchaseKind::Receipt)
        c << Column("gl_djh2", "订单编号", 110);
    c << Column(note.constData(), "备注", 120);
    const QList<const char *> hidden =
        kind == PurchaseKind::Return
            ? QList<const char *>{"id", "g_jm", "g_kc", "gl_djh", "a_name"}
            : QList<const char *>{"id", "g_jm", "a_name", "g_sccs", "g_kc", "t_ph", "t_scrq", "jh_rksl", "jh_zsl", "g_sptm"};
    for (const char *f : hidden)
        c << HiddenColumn(f);
    return c;
}

DocumentShape PurchaseShape(PurchaseKind kind)
{
    DocumentShape shape;
    shape.type = PurchaseDocType(kind);
    shape.lineColumns = EntryColumns(kind);
    if (kind == PurchaseKind::Return) {
        shape.caption = shape.entryPage = QStringLiteral("采购退货");
        shape.title = QStringLiteral("采购退货单");
        shape.pendingPage = QStringLiteral("待审核退货单");
        shape.queryPage = QStringLiteral("退货查询");
        shape.dateCaption = QStringLiteral("退货日期：");
        shape.barcodePanel = false;
    } else if (kind == PurchaseKind::Order) {
        shape.caption = shape.entryPage = QStringLiteral("采购订单");
        shape.title = QStringLiteral("采购订单");
        shape.pendingPage = QStringLiteral("待审核采购订单");
        shape.queryPage = QStringLiteral("采购订单查询");
        shape.dateCaption = QStringLiteral("订购日期：");
    } else {
        shape.caption = shape.entryPage = QStringLiteral("采购进货");
        shape.title = QStringLiteral("采购进货单");
        shape.pendingPage = QStringLiteral("待审核采购单");
        shape.queryPage = QStringLiteral("采购进货查询");
        shape.dateCaption = QStringLiteral("进货日期：");
    }
    shape.summaryDetail = kind != PurchaseKind::Order;
    return shape;
}

// The rights of a kind: entering lines, adding new goods, auditing (cggl).
struct KindRights
{
    int entry;
    int newGoods;
    int audit;
};

KindRights RightsOf(PurchaseKind kind)
{
    switch (kind) {
    case PurchaseKind::Return:
        return {4, 0, 5};
    case PurchaseKind::Order:
        return {18, 18, 19};
    case PurchaseKind::Receipt:
        break;
    }
    return {1, 17, 2};
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

TF_Cgjh::TF_Cgjh(const ScreenContext &context, QWidget *parent)
    : TF_Cgjh(PurchaseKind::Receipt, context, parent)
{
}

TF_Cgjh::TF_Cgjh(PurchaseKind kind, const ScreenContext &context, QWidget *parent)
    : DocumentWindow(PurchaseShape(kind), context.data->mainDb(), *context.state, *context.clock, *context.notices, parent),
      m_kind(kind), m_context(context), m_db(context.data->mainDb()), m_entry(m_db, *context.state, *context.notices, kind),
      m_print(*context.notices, this)
{
    setObjectName(QStringLiteral("TF_Cgjh"));
    numberLabel()->setObjectName(QStringLiteral("jsn"));
    numberLabel()->setMinimumWidth(numberLabel()->fontMetrics().horizontalAdvance(QStringLiteral("CD25031410001")) + 12);
    m_ctx.type = shape().type;
    m_ctx.numberChanged = [this](const QString &n) { setNumber(n); };
    m_ctx.linesChanged = [this] { onLinesChanged(); };
    m_pendingCtx.type = shape().type;
    m_pendingCtx.page = DocPage::Pending;
    m_pendingCtx.linesChanged = [this] { reloadPendingKept(); };

    buildHeader();
    buildBottom();
    buildButtons();
    buildPendingPage();
    m_query = new PurchaseQueryPage(
        *this, context, PurchaseListDocOf(kind), [this](const QString &n) { viewStored(n); },
        [this]() -> FileChoice & { return files(); }, [this]() -> ReportOutput & { return output(); });
    buildSupplierFilter();

    DataGrid *lines = linesGrid();
    lines->setFooter(QStringLiteral("g_sn"), FooterKind::None);
    const LineColumns &l = shape().type.line;
    for (const QString &f : {l.quantity, l.total, l.amount, l.taxAmount})
        lines->setFooter(f, FooterKind::Sum);
    lines->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        if (const std::optional<LineCell> cell = PurchaseCellOf(field))
            EditPurchaseCell(m_db, *m_context.state, *m_context.notices, m_kind, CellPlace::Draft, number(),
                             key.toLongLong(), *cell, text);
        updateTotals();
    });

    DocumentHooks &h = hooks();
    h.opening = [this] { opening(); };
    h.started = [this] { startDocument(); };
    if (kind == PurchaseKind::Return)
        h.linesStatement = [this](const QString &n) {
            return ReturnRules(m_db, *m_context.state, *m_context.clock, *m_context.notices).linesStatement(n);
        };
    else
        h.linesStatement = [this](const QString &n) { return m_entry.linesStatement(n); };
    h.add = [this] { addOld(); };
    h.modify = [this](const QVariant &) { modifyLine(); };
    h.remove = [this](const QVariant &) { deleteLine(); };
    h.save = [this] { save(); };
    h.discard = [this] { discardDraft(); };
    if (kind != PurchaseKind::Return)
        h.barcode = [this](const QString &code) { onScanned(code); };
    h.refreshPending = [this] { refreshPending(); };
    h.pendingSelected = [this](const QString &n) { showPendingLines(n); };
    h.runQuery = [this] {
        if (m_query)
            m_query->search();
    };
    connect(this, &ScreenDialog::opened, this, &TF_Cgjh::afterOpening);
    connect(pages(), &QTabWidget::currentChanged, this, [this](int page) {
        if (page == PendingPage) {
            pendingKeyBox()->clear();
            if (m_pendingSupplierBox)
                m_pendingSupplierBox->clear();
            refreshPending();
            pendingGrid()->view()->setFocus(Qt::OtherFocusReason);
        } else if (page == QueryPage && m_query) {
            m_query->activate();
        }
    });
    keys()->bind(Qt::Key_F9, [this] {
        if (pages()->currentIndex() == EntryPage && m_addNew->isVisibleTo(this) && m_addNew->isEnabled())
            addNew();
    });
    resize(1000, 640);
}

TF_Cgjh::~TF_Cgjh() = default;

// ---- Building ------------------------------------------------------------------------------

void TF_Cgjh::buildHeader()
{
    QWidget *box = headerLayout()->parentWidget();
    const PartnerField supplier =
        NewPartnerField(box, "tghs", m_kind == PurchaseKind::Receipt ? "btnGhs" : "btnSeleGhs", 32);
    m_supplierBox = supplier.box;
    m_supplierButton = supplier.button;
    m_warehouse = Named(new KeyedCombo(box), "comCk");
    headerLayout()->addWidget(Caption("供货商：", box), 1, 0);
    headerLayout()->addWidget(supplier.row, 1, 1);
    m_warehouseLabel = Caption(m_kind == PurchaseKind::Return  ? "出货仓库："
                               : m_kind == PurchaseKind::Order ? "收货仓库："
                                                               : "仓库：",
                               box);
    headerLayout()->addWidget(m_warehouseLabel, 1, 2);
    headerLayout()->addWidget(m_warehouse, 1, 3);
    connect(m_supplierBox, &QLineEdit::textEdited, this, [this](const QString &text) { chooseSupplier(text.trimmed()); });
    connect(m_supplierButton, &QToolButton::clicked, this, [this] {
        setAccountPanelShown(false);
        chooseSupplier(QString());
    });
}

void TF_Cgjh::buildBottom()
{
    const bool isReturn = m_kind == PurchaseKind::Return;
    DocumentBottomOptions o;
    if (isReturn) {
        o.payableCaption = "应收金额：";
        o.paidCaption = "实收金额：";
        o.settleCaption = "余款记入应付帐款";
        o.settleBox = false;
        o.accountCaption = "同时选择收款账户：";
    }
    // The order keeps no invoice and has no note presets.
    o.invoice = m_kind != PurchaseKind::Order;
    o.noteButton = m_kind != PurchaseKind::Order;
    auto *b = new DocumentBottom(bottomArea(), o, this);
    m_bottom = b;
    m_payable = b->payable, m_paid = b->paid, m_settle = b->settle, m_handler = b->handler;
    m_handlerButton = b->handlerButton, m_noteButton = b->noteButton, m_note = b->note;
    m_originalNo = b->originalNo, m_originalNoLabel = b->originalNoLabel;
    m_invoiceNo = b->invoiceNo, m_invoiceAmount = b->invoiceAmount, m_freight = b->freight, m_packing = b->packing;
    m_wePay = b->wePay, m_accountPanel = b->accountPanel, m_account = b->account;
    m_payableLabel = b->payableLabel, m_paidLabel = b->paidLabel, m_settleLabel = b->settleLabel;
    m_accountCaption = b->accountCaption;
    m_invoiceWidgets = b->invoiceWidgets;
    m_freightWidgets = b->freightWidgets;
    m_costWidgets = b->amountWidgets;
    b->setAccountsInUse([this] { return IsNotOff(m_context.state->UseCashBank); });
    b->showAccountOn({m_paid});
    b->hideAccountOn({m_supplierBox, m_warehouse, dateEdit(), linesGrid()->view(), m_handler, m_settle, m_note});
    connect(m_handlerButton, &QToolButton::clicked, this, &TF_Cgjh::chooseHandler);
    connect(m_noteButton, &QToolButton::clicked, this, &TF_Cgjh::chooseNote);
}

void TF_Cgjh::buildButtons()
{
    QPushButton *addOldButton = addButton();
    addOldButton->setText(QStringLiteral("老商品添加(F2)"));
    addOldButton->setObjectName(QStringLiteral("btnAddOld"));
    auto *row = static_cast<QHBoxLayout *>(buttonGroup()->layout());
    m_addNew = Named(new QPushButton(QStringLiteral("新商品添加(F9)"), buttonGroup()), "btnAddNew");
    m_inOut = Named(new QToolButton(buttonGroup()), "btnInOut");
    m_inOut->setText(QStringLiteral("导入、导出"));
    m_inOut->setToolTip(QStringLiteral("模板中标题为红色的列,要求必须输入！"));
    m_inOut->setPopupMode(QToolButton::InstantPopup);
    auto *inOut = new QMenu(m_inOut);
    connect(inOut->addAction(QStringLiteral("从Excel导入采购进货单(&E)")), &QAction::triggered, this, &TF_Cgjh::importExcel);
    connect(inOut->addAction(QStringLiteral("导出采购进货单到Excel(&X)")), &QAction::triggered, this, &TF_Cgjh::exportExcel);
    m_inOut->setMenu(inOut);
    m_importOrders = Named(new QPushButton(QStringLiteral("导入订单"), buttonGroup()), "btnCgdImport");
    m_importKit = Named(new QPushButton(QStringLiteral("材料套料入库"), buttonGroup()), "btnImportCl");
    row->insertWidget(1, m_addNew);
    row->insertWidget(2, m_inOut);
    row->addWidget(m_importOrders);
    row->addWidget(m_importKit);
    for (QPushButton *b : {m_addNew, m_importOrders, m_importKit})
        b->setAutoDefault(false);
    // The return enters no new goods and imports nothing; the order imports no orders.
    if (m_kind == PurchaseKind::Return)
        for (QWidget *w : {static_cast<QWidget *>(m_addNew), static_cast<QWidget *>(m_inOut),
                           static_cast<QWidget *>(m_importKit)})
            w->hide();
    if (m_kind != PurchaseKind::Receipt)
        m_importOrders->hide();
    connect(m_addNew, &QPushButton::clicked, this, &TF_Cgjh::addNew);
    connect(m_importOrders, &QPushButton::clicked, this, &TF_Cgjh::importOrders);
    connect(m_importKit, &QPushButton::clicked, this, &TF_Cgjh::importKit);

    printButton()->setObjectName(QStringLiteral("btnPrin"));
    m_printMenu = new QMenu(printButton());
    connect(m_printMenu->addAction(QStringLiteral("打印单据(&W)")), &QAction::triggered, this, [this] { printDraft(false); });
    connect(m_printMenu->addAction(QStringLiteral("预览单据(&X)")), &QAction::triggered, this, [this] { printDraft(true); });
    printButton()->setMenu(m_printMenu);

    // The lines' popup in this window's words, with the print items.
    QMenu *menu = linesMenu();
    const QList<QAction *> items = menu->actions();
    items.at(0)->setText(QStringLiteral("新增商品(&V)"));
    items.at(1)->setText(QStringLiteral("修改商品(&W)"));
    items.at(2)->setText(QStringLiteral("删除商品(&X)"));
    m_popupPrint = new QMenu(QStringLiteral("打印单据(&Y)"), menu);
    m_popupPrint->setObjectName(QStringLiteral("popupPrint"));
    connect(m_popupPrint->addAction(QStringLiteral("打印单据(&Y)")), &QAction::triggered, this, [this] { printDraft(false); });
    connect(m_popupPrint->addAction(QStringLiteral("预览单据(&Z)")), &QAction::triggered, this, [this] { printDraft(true); });
    menu->insertMenu(items.at(3), m_popupPrint);
    connect(menu, &QMenu::aboutToShow, this, [this, items] {
        const bool lines = lineCount() > 0;
        items.at(1)->setEnabled(lines);
        items.at(2)->setEnabled(lines);
        m_popupPrint->menuAction()->setEnabled(lines && !IsTrue(m_context.state->NoPrintBeforeSave));
    });
}

namespace {

// The pending list of a kind: the receipt's with its debt, discount, freight and contract, the
// return's with its (negative) amounts and settlement, the order's with its original number.
QList<GridColumn> PendingColumns(PurchaseKind kind)
{
    if (kind == PurchaseKind::Return) {
        QList<GridColumn> c{Column("gl_djh", "单据号", 120),
                            Column("th_thrq", "开单日期", 120, ColumnKind::DateText),
                            Column("ghs_name", "供货商", 120),
                            Column("ck_name", "仓库名称", 90),
                            Column("th_yfje", "应收金额", 90, ColumnKind::Money),
                            Column("th_sfje", "实收金额", 90, ColumnKind::Money),
                            Column("th_kmmc", "结算方式", 80),
                            Column("u_name", "经办人", 70),
                            Column("a_name", "操作员", 70),
                            Column("th_note", "备注", 150)};
        for (const char *f : {"th_chkrq", "th_qk", "th_status", "th_checker", "th_jsfs", "id", "ghs_sn", "ck_sn", "u_sn"})
            c << HiddenColumn(f);
        return c;
    }
    if (kind == PurchaseKind::Order) {
        QList<GridColumn> c{Column("gl_djh", "单据号", 120),
                            Column("j_jhrq", "开单日期", 120, ColumnKind::DateText),
                            Column("ghs_name", "供货商", 120),
                            Column("ck_name", "仓库名称", 90),
                            Column("j_yfje", "应付金额", 90, ColumnKind::Money),
                            Column("j_sfje", "实付金额", 90, ColumnKind::Money),
                            Column("a_name", "操作员", 70),
                            Column("u_name", "经办人", 70),
                            Column("gl_djh2", "原始单号", 100),
                            Column("j_note", "备注", 150)};
        for (const char *f : {"id", "j_qk", "ck_sn", "u_sn", "j_status", "j_jsfs", "ghs_sn"})
            c << HiddenColumn(f);
        return c;
    }
    QList<GridColumn> c{Column("gl_djh", "单据号", 120),
                        Column("j_jhrq", "开单日期", 120, ColumnKind::DateText),
                        Column("ghs_name", "供货商", 120),
                        Column("ck_name", "仓库名称", 90),
                        Column("j_yfje", "应付金额", 90, ColumnKind::Money),
                        Column("j_sfje", "实付金额", 90, ColumnKind::Money),
                        Column("wfje", "欠款金额", 90, ColumnKind::Money),
                        Column("j_yhje", "优惠金额", 80, ColumnKind::Money),
                        Column("j_kmmc", "结算方式", 80),
                        Column("gl_djh2", "原始单号", 100),
                        Column("j_yf", "运费", 70, ColumnKind::Money),
                        Column("j_bzf", "包装费", 70, ColumnKind::Money),
                        Column("a_name", "操作员", 70),
                        Column("u_name", "经办人", 70),
                        Column("j_note", "备注", 150)};
    GridColumn payer = Column("j_yffs", "付费方式", 80);
    GridColumn contract = Column("ht_sn", "合同编号", 80);
    payer.visible = contract.visible = false;
    c << payer << contract << HiddenColumn("id") << HiddenColumn("ghs_sn") << HiddenColumn("ck_sn") << HiddenColumn("u_sn");
    return c;
}

// The lines of the chosen pending document.
QList<GridColumn> PendingLineColumns(PurchaseKind kind)
{
    const QByteArray note = PurchaseDocType(kind).line.note.toLatin1();
    QList<GridColumn> c{Column("gl_djh", "单据号", 120), Column("g_sn", "商品编号", 100), Column("g_name", "商品名称", 150),
                        Column("gg_name", "规格型号", 80)};
    if (kind == PurchaseKind::Return)
        c << Column("dw_name", "单位", 50) << Column("color_name", "颜色", 60);
    else
        c << Column("color_name", "颜色", 60) << Column("dw_name", "单位", 50);
    c << PricedColumns(kind, kind == PurchaseKind::Return ? "税额" : "税金") << Column("a_name", "操作员", 70);
    if (kind == PurchaseKind::Receipt)
        c << Column("gl_djh2", "订单编号", 110);
    c << Column(note.constData(), "备注", 120) << HiddenColumn("id");
    return c;
}

} // namespace

void TF_Cgjh::buildPendingPage()
{
    const PurchaseListDoc doc = PurchaseListDocOf(m_kind);
    const bool isReturn = m_kind == PurchaseKind::Return;
    const bool isOrder = m_kind == PurchaseKind::Order;
    const LineColumns &l = shape().type.line;
    auto *list = new SqlGridModel(m_db);
    list->setColumns(PendingColumns(m_kind));
    pendingGrid()->setModel(list);
    pendingGrid()->setFooter(QStringLiteral("gl_djh"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const QString &f : pendingAmountFields())
        pendingGrid()->setFooter(f, FooterKind::Sum);

    auto *lines = static_cast<SqlGridModel *>(pendingLinesGrid()->model());
    lines->setColumns(PendingLineColumns(m_kind));
    pendingLinesGrid()->setFooter(QStringLiteral("gl_djh"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const QString &f : {l.quantity, l.amount, l.taxAmount, l.total})
        pendingLinesGrid()->setFooter(f, FooterKind::Sum);
    pendingLinesGrid()->setCommitHook([this](const QVariant &key, const QString &field, const QString &text) {
        if (const std::optional<LineCell> cell = PurchaseCellOf(field))
            EditPurchaseCell(m_db, *m_context.state, *m_context.notices, m_kind, CellPlace::Pending,
                             m_pendingCtx.number, key.toLongLong(), *cell, text);
        reloadPendingKept();
    });
    m_pendingSupplier = Named(new QLabel(pendingLowerBar()->parentWidget()), "LabelGhs");
    pendingLowerBar()->addWidget(Caption("供货商：", pendingLowerBar()->parentWidget()));
    pendingLowerBar()->addWidget(m_pendingSupplier, 1);

    QWidget *lowerStrip = pendingLowerBar()->parentWidget();
    const auto lowerButton = [&](const char *name, const char *text, void (TF_Cgjh::*slot)()) {
        auto *b = Named(new QPushButton(QString::fromUtf8(text), lowerStrip), name);
        b->setAutoDefault(false);
        pendingLowerBar()->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_pendingAdd = lowerButton("btnAddsh", "新增商品", &TF_Cgjh::addPendingGoods);
    m_pendingModify = lowerButton("btnModish", "修改商品", &TF_Cgjh::modifyPendingLine);
    m_pendingDelete = lowerButton("btnDelsh", "删除商品", &TF_Cgjh::deletePendingLine);

    const auto barButton = [&](const char *name, const char *text, void (TF_Cgjh::*slot)()) {
        auto *b = Named(new QPushButton(QString::fromUtf8(text), this), name);
        b->setAutoDefault(false);
        pendingBar()->addWidget(b);
        connect(b, &QPushButton::clicked, this, slot);
        return b;
    };
    m_pendingSupplierBox = Named(new QLineEdit(this), "tGhsName");
    m_pendingSupplierBox->setMaxLength(64);
    m_pendingSupplierBox->setMinimumWidth(110);
    pendingKeyBox()->setMinimumWidth(110);
    if (isReturn)
        pendingKeyBox()->setObjectName(QStringLiteral("tchkkey2"));
    InstallCharFilter(m_pendingSupplierBox, CharFilter::Standard);
    pendingBar()->insertWidget(0, Caption("供货商名称：", this));
    pendingBar()->insertWidget(1, m_pendingSupplierBox);
    connect(m_pendingSupplierBox, &QLineEdit::returnPressed, this, &TF_Cgjh::refreshPending);
    if (!isOrder) {
        const QString what = isReturn ? QStringLiteral("退货单") : QStringLiteral("采购单");
        auto *explain = Named(new QLabel(QStringLiteral("说明：\n“待审核”的%1只有变成“已审核”状态后，\n"
                                                        "才能使库存量、账务等信息发生变化。“已审核”状态\n"
                                                        "的单据不允许再修改，“待审核”的允许修改。")
                                             .arg(what),
                                         pendingLowerBar()->parentWidget()),
                              "LabelExplain");
        // The strip above the lines holds one line: the note shows in full as its tip.
        explain->setToolTip(explain->text());
        explain->setText(QStringLiteral("说明：“待审核”的%1只有变成“已审核”状态后，…").arg(what));
        pendingLowerBar()->addWidget(explain);
    }
    barButton("btnView2", "查看单据", &TF_Cgjh::viewPending);
    m_deleteDocument = barButton("btnDel2", "删除单据", &TF_Cgjh::deletePendingDocument);
    if (!isOrder)
        m_pendingPrint = barButton("btnPrint2", "打印", &TF_Cgjh::printPendingList);
    m_redate = barButton("btnModi2", isReturn ? "更改" : "修改", &TF_Cgjh::redatePending);
    m_checkAll = barButton("btn_Check", "审核全部", &TF_Cgjh::auditAll);
    barButton("btnExport2", "导出", &TF_Cgjh::exportPending);
    if (m_kind == PurchaseKind::Receipt)
        barButton("btnPrintAll2", "连续打印", &TF_Cgjh::printPendingContinuously);
    else {
        auto *exit = Named(new QPushButton(QStringLiteral("退出"), this), "btnExit2");
        exit->setAutoDefault(false);
        pendingBar()->addWidget(exit);
        connect(exit, &QPushButton::clicked, this, &TF_Cgjh::close);
    }
    // The popup's items in the kind's words and accelerators.
    const char *const auditText = isReturn ? "审核单据(&W)" : isOrder ? "单据审核(&V)" : "单据审核(&W)";
    const QChar first = isOrder ? QLatin1Char('W') : QLatin1Char('X');
    const auto item = [&](const char *text, int step) {
        return QStringLiteral("%1(&%2)").arg(QString::fromUtf8(text), QChar(first.unicode() + step));
    };
    m_pendingMenu = new QMenu(pendingGrid());
    QAction *audit = m_pendingMenu->addAction(QString::fromUtf8(auditText));
    audit->setObjectName(QStringLiteral("actAudit"));
    connect(audit, &QAction::triggered, this, &TF_Cgjh::auditSelected);
    QAction *viewItem = m_pendingMenu->addAction(item("查看单据", 0));
    connect(viewItem, &QAction::triggered, this, &TF_Cgjh::viewPending);
    QAction *deleteItem = m_pendingMenu->addAction(item("删除单据", 1));
    connect(deleteItem, &QAction::triggered, this, &TF_Cgjh::deletePendingDocument);
    QAction *redateItem = m_pendingMenu->addAction(item("更改日期", 2));
    connect(redateItem, &QAction::triggered, this, &TF_Cgjh::redatePending);
    QAction *exportItem = m_pendingMenu->addAction(QStringLiteral("导出Excel表(&E)"));
    connect(exportItem, &QAction::triggered, this, &TF_Cgjh::exportPending);
    pendingGrid()->setPopupMenu(m_pendingMenu, [this, audit, deleteItem, redateItem](QMenu *) {
        redateItem->setEnabled(m_redate->isEnabled() && pendingGrid()->rowCount() > 0);
        audit->setEnabled(m_checkAll->isEnabled() && pendingGrid()->rowCount() > 0);
        deleteItem->setEnabled(m_deleteDocument->isEnabled() && pendingGrid()->rowCount() > 0);
    });
    auto *linesMenu = new QMenu(pendingLinesGrid());
    QAction *addItem = linesMenu->addAction(QStringLiteral("增加商品(&X)"));
    QAction *modifyItem = linesMenu->addAction(QStringLiteral("修改商品(&Y)"));
    QAction *removeItem = linesMenu->addAction(QStringLiteral("删除商品 (&Z)"));
    connect(addItem, &QAction::triggered, this, &TF_Cgjh::addPendingGoods);
    connect(modifyItem, &QAction::triggered, this, &TF_Cgjh::modifyPendingLine);
    connect(removeItem, &QAction::triggered, this, &TF_Cgjh::deletePendingLine);
    pendingLinesGrid()->setPopupMenu(linesMenu, [this, addItem, modifyItem, removeItem](QMenu *) {
        addItem->setEnabled(m_pendingAdd->isEnabled());
        modifyItem->setEnabled(m_pendingModify->isEnabled());
        removeItem->setEnabled(m_pendingDelete->isEnabled());
    });
    connect(pendingGrid(), &DataGrid::rowDoubleClicked, this, [this](int) { viewPending(); });
    connect(pendingLinesGrid(), &DataGrid::rowDoubleClicked, this, [this](int) { modifyPendingLine(); });
}

QStringList TF_Cgjh::pendingAmountFields() const
{
    switch (m_kind) {
    case PurchaseKind::Return:
        return {QStringLiteral("th_yfje"), QStringLiteral("th_sfje")};
    case PurchaseKind::Order:
        return {QStringLiteral("j_yfje"), QStringLiteral("j_sfje")};
    case PurchaseKind::Receipt:
        break;
    }
    return {QStringLiteral("j_yfje"), QStringLiteral("j_sfje"), QStringLiteral("wfje"), QStringLiteral("j_yhje"),
            QStringLiteral("j_yf"), QStringLiteral("j_bzf")};
}

// ---- Opening and the new document ----------------------------------------------------------

void TF_Cgjh::opening()
{
    const LoginState &state = *m_context.state;
    m_originalNo->clear();
    const bool original = m_kind != PurchaseKind::Return && IsTrue(state.UseOriginalDocNo);
    m_originalNo->setVisible(original);
    m_originalNoLabel->setVisible(original);
    m_importOrders->setVisible(m_kind == PurchaseKind::Receipt && IsTrue(state.UsePurchaseOrder));
    m_paid->setValue(0);
    setAccountPanelShown(false);
    FillKeyedCombo(m_handler, LoadUserCombo(m_db, state, QStringLiteral("u_cg")), true);
    FillKeyedCombo(m_settle, LoadSettleCombo(QStringLiteral("cg")));
    FillKeyedCombo(m_warehouse, m_entry.warehouses());
    FillKeyedCombo(m_account, LoadKeyedCombo(m_db, QStringLiteral("jxc_yhzh"), QStringLiteral("yh_name"),
                                             QStringLiteral("yh_sn"), QStringLiteral("id")),
                   true);
    OpenSupplierList(m_db, state, m_suppliers, QStringLiteral("0"));
}

void TF_Cgjh::startDocument()
{
    const LoginState &state = *m_context.state;
    m_originalNo->clear();
    m_supplierSn = GetDefaultSupplierSn(m_db);
    m_supplierBox->setText(GetDefaultSupplierName(m_db));
    for (MoneyEdit *e : {m_payable, m_paid, m_invoiceAmount, m_freight, m_packing})
        e->setValue(0);
    m_note->clear();
    m_invoiceNo->clear();
    m_contractCode.clear();
    m_settle->setCurrentIndex(state.DefaultSettleMode.toInt());
    if (m_settle->currentIndex() < 0 && m_settle->count() > 0)
        m_settle->setCurrentIndex(0);
    if (!m_warehouse->selectText(GetDefaultWarehouseName(m_db)) && m_warehouse->count() > 0)
        m_warehouse->setCurrentIndex(0);
    m_warehouse->setEnabled(true);
    if (m_account->count() > 0)
        m_account->setCurrentIndex(0);
    documentStarted();
    updateTotals();
}

void TF_Cgjh::afterOpening()
{
    applyRights();
    applyFormats();
    m_query->open();
    if (m_entryRight && barcodePanel()) {
        setBarcodePanelShown(true);
        barcodePanel()->entryBox()->setFocus(Qt::OtherFocusReason);
    }
}

void TF_Cgjh::applyRights()
{
    const LoginState &state = *m_context.state;
    const KindRights rights = RightsOf(m_kind);
    m_entryRight = HasRight(m_db, state, QStringLiteral("cggl"), rights.entry);
    setEntryAllowed(m_entryRight);
    if (m_kind == PurchaseKind::Order)
        m_addNew->setVisible(m_entryRight && HasRight(m_db, state, QStringLiteral("qtcz"), 1));
    else if (m_kind == PurchaseKind::Receipt)
        m_addNew->setVisible(m_entryRight && HasRight(m_db, state, QStringLiteral("cggl"), rights.newGoods));
    setPrintBeforeSave(!IsTrue(state.NoPrintBeforeSave));
    const PurchaseListDoc doc = PurchaseListDocOf(m_kind);
    const auto gated = [&](int right) { return right == 0 || HasRight(m_db, state, QStringLiteral("cggl"), right); };
    m_checkAll->setEnabled(gated(rights.audit));
    m_deleteDocument->setEnabled(gated(doc.deleteRight));
    if (m_pendingPrint)
        m_pendingPrint->setEnabled(state.RightShowCost);
    m_redate->setEnabled(state.RightChangeDocDate);
    m_pendingAddRight = gated(doc.addLinesRight);
    if (barcodePanel())
        barcodePanel()->setEnabled(m_entryRight);

    const bool cost = state.RightShowCost;
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("cj"));
    const bool discount = IsTrue(state.UseDiscount) && cost;
    const bool colour = IsTrue(state.UseGoodsColour);
    const bool freight = m_kind == PurchaseKind::Receipt && IsTrue(state.UseFreight);
    const bool orders = IsTrue(state.UsePurchaseOrder);
    const LineColumns &l = shape().type.line;
    for (DataGrid *g : {linesGrid(), pendingLinesGrid()}) {
        g->setColumnGated(l.price, !cost);
        g->setColumnGated(l.total, !cost);
        g->setColumnGated(QStringLiteral("dj"), !cost || !discount);
        for (const QString &f : {l.amount, l.tax, l.taxPrice, l.taxAmount})
            g->setColumnGated(f, !tax);
        g->setColumnGated(l.discount, !discount);
        g->setColumnGated(QStringLiteral("color_name"), !colour);
        g->setColumnGated(QStringLiteral("gl_djh2"), !orders);
    }
    for (const QString &f : pendingAmountFields())
        pendingGrid()->setColumnGated(f, !cost);
    if (m_kind == PurchaseKind::Receipt)
        for (const char *f : {"j_yf", "j_bzf"})
            pendingGrid()->setColumnGated(QString::fromLatin1(f), !freight);
    if (m_kind != PurchaseKind::Return)
        pendingGrid()->setColumnGated(QStringLiteral("gl_djh2"), !IsTrue(state.UseOriginalDocNo));
    for (QWidget *w : std::as_const(m_costWidgets))
        w->setVisible(cost);
    for (QWidget *w : std::as_const(m_freightWidgets))
        w->setVisible(freight);
    for (QWidget *w : std::as_const(m_invoiceWidgets))
        w->setVisible(IsTrue(state.UseInvoice));
}

void TF_Cgjh::applyFormats()
{
    const LoginState &state = *m_context.state;
    for (MoneyEdit *e : {m_payable, m_paid, m_invoiceAmount, m_freight, m_packing})
        SetMoneyEditFormat(e, state);
    const LineColumns &l = shape().type.line;
    for (DataGrid *g : {linesGrid(), pendingLinesGrid()}) {
        for (const QString &f : {l.price, l.taxPrice, QStringLiteral("dj"), l.amount, l.taxAmount, l.total})
            SetMoneyColumnFormat(*g, f, state);
        for (const QString &f : {l.amount, l.taxAmount, l.total})
            SetMoneyFooterFormat(*g, f, state);
        SetQtyColumnFormat(*g, l.quantity, state);
        SetQtyFooterFormat(*g, l.quantity, state);
    }
    for (const QString &f : pendingAmountFields()) {
        SetMoneyColumnFormat(*pendingGrid(), f, state);
        SetMoneyFooterFormat(*pendingGrid(), f, state);
    }
}

DocumentContext &TF_Cgjh::documentContext()
{
    m_ctx.number = number();
    m_ctx.day = documentDay();
    m_ctx.warehouse = m_warehouse->currentKey();
    m_ctx.partner = m_supplierSn;
    return m_ctx;
}

void TF_Cgjh::onLinesChanged()
{
    reloadLines();
    updateTotals();
}

void TF_Cgjh::updateTotals()
{
    const double payable = m_entry.payable(number());
    m_payable->setValue(payable);
    m_paid->setValue(m_entry.paidAfterChange(payable, m_paid->value()));
}

// ---- Save ----------------------------------------------------------------------------------

ReceiptHeaderInput TF_Cgjh::headerInput() const
{
    ReceiptHeaderInput in;
    in.supplierText = m_supplierBox->text();
    in.supplierSn = m_supplierSn;
    in.warehouseSn = m_warehouse->currentKey();
    in.handlerText = m_handler->currentText();
    in.handlerSn = m_handler->currentKey();
    in.day = documentDay();
    in.payable = m_payable->value();
    in.paid = m_paid->value();
    in.settleIndex = m_settle->currentIndex();
    in.accountText = m_account->currentText();
    in.note = m_note->text();
    in.originalNo = m_originalNo->text();
    in.invoiceNo = m_invoiceNo->text();
    in.invoiceAmount = m_invoiceAmount->value();
    in.freight = m_freight->value();
    in.packing = m_packing->value();
    in.wePayFreight = m_wePay->isChecked();
    in.contractCode = m_contractCode;
    return in;
}

void TF_Cgjh::save()
{
    BusyGuard busy(saveButton());
    if (!busy.acquired())
        return;
    ConfirmGridEdits(this);
    LoginState &state = *m_context.state;
    const ReceiptSaveResult r =
        ReceiptSave(m_db, state, *m_context.clock, *m_context.notices, m_kind).save(number(), lineCount(), headerInput());
    if (!r.saved()) {
        reloadLines();
        return;
    }
    m_contractCode.clear();
    // The receipt prints on save with PrintPurchaseOnSave, the order with PrintSaleOnSave.
    if ((m_kind == PurchaseKind::Receipt && IsTrue(state.PrintPurchaseOnSave))
        || (m_kind == PurchaseKind::Order && IsTrue(state.PrintSaleOnSave))) {
        PrintOptions direct;
        direct.mode = PrintMode::Direct;
        direct.copies = 1;
        direct.choice = printChoice();
        ReceiptPrint(m_db, state, *m_context.clock, m_kind).printSaved(r.number, output(), direct);
    }
    startNew(state.DocDateDefault != QLatin1String("0"));
}

void TF_Cgjh::discardDraft()
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
    draftDiscarded();
}

// ---- Events --------------------------------------------------------------------------------

void TF_Cgjh::setAccountPanelShown(bool shown)
{
    m_bottom->setAccountPanelShown(shown);
}

ReportOutput &TF_Cgjh::output()
{
    return m_print.output();
}

PrintChoiceDialog *TF_Cgjh::printChoice()
{
    return m_print.choice();
}
