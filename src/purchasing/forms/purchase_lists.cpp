#include "purchasing/forms/purchase_lists.h"

#include "engine/bulkunaudit.h"
#include "engine/unaudit.h"
#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/forms/displayformats.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "foundation/forms/combofill.h"
#include "foundation/keyedlists.h"
#include "purchasing/orderaudit.h"
#include "purchasing/purchaselistprint.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/documentwindow.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/gridmodel.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QToolButton>

namespace {

using View = DocumentWindow::QueryView;

QList<GridColumn> DocumentColumns(const PurchaseListDoc &d)
{
    const auto h = [&d](const char *tail) { return d.headerColumn(tail).toLatin1(); };
    const QByteArray date = d.dateColumn.toLatin1(), payable = h("yfje"), paid = h("sfje"), later = h("hkje"),
                     checker = h("checker"), checked = h("chkrq"), note = d.noteColumn.toLatin1();
    QList<GridColumn> c{ListColumn("gl_djh", "单据编号", 120),
                        ListColumn("gtype", "单据类型", 70),
                        ListColumn(date.constData(), "开单日期", 120, ColumnKind::DateText),
                        ListColumn("ghs_name", "供货商", 120),
                        ListColumn("ck_name", "仓库", 80),
                        ListColumn(payable.constData(), "应付金额", 90, ColumnKind::Money),
                        ListColumn(paid.constData(), "实付金额", 90, ColumnKind::Money)};
    c << ListColumn(d.kind == PurchaseKind::Return ? "yhje" : "j_yhje", "优惠金额", 80, ColumnKind::Money);
    c << ListColumn(later.constData(), "付款金额", 80, ColumnKind::Money)
      << ListColumn("wfje", "欠款金额", 90, ColumnKind::Money) << ListColumn("u_name", "经办人", 70)
      << ListColumn("a_name", "操作员", 70) << ListColumn(checker.constData(), "审核人", 70)
      << ListColumn(checked.constData(), "审核日期", 90) << ListColumn(note.constData(), "备注", 150)
      << HiddenColumn("id") << HiddenColumn("ghs_sn") << HiddenColumn("ck_sn");
    return c;
}

QList<GridColumn> SummaryColumns()
{
    return {ListColumn("g_sn", "商品编号", 100),       ListColumn("g_name", "商品名称", 150),
            ListColumn("gg_name", "规格型号", 80),     ListColumn("color_name", "颜色", 60),
            ListColumn("dw_name", "单位", 50),         ListColumn("gc_name", "商品类别", 80),
            ListColumn("sl", "数量", 80, ColumnKind::Quantity), ListColumn("je", "金额", 90, ColumnKind::Money),
            ListColumn("taxje", "税额", 80, ColumnKind::Money), ListColumn("zje", "总金额", 90, ColumnKind::Money),
            ListColumn("g_kc", "库存", 70, ColumnKind::Quantity), ListColumn("g_sccs", "生产厂商", 100),
            ListColumn("g_bz", "备注", 120),           HiddenColumn("id")};
}

QList<GridColumn> LedgerColumns()
{
    return {ListColumn("gl_djh", "单据编号", 120),     ListColumn("gl_kdrq", "开单日期", 120, ColumnKind::DateText),
            ListColumn("g_sn", "商品编号", 100),       ListColumn("g_name", "商品名称", 150),
            ListColumn("gg_name", "规格型号", 80),     ListColumn("color_name", "颜色", 60),
            ListColumn("dw_name", "单位", 50),         ListColumn("gl_dj", "单价", 80, ColumnKind::Money),
            ListColumn("gl_sl", "数量", 80, ColumnKind::Quantity), ListColumn("gl_je", "金额", 90, ColumnKind::Money),
            ListColumn("gl_taxje", "税额", 80, ColumnKind::Money), ListColumn("gl_zje", "总金额", 90, ColumnKind::Money),
            ListColumn("ghs_name", "供货商", 120),     ListColumn("ck_name", "仓库", 80),
            ListColumn("gl_bz", "备注", 120),          HiddenColumn("id")};
}

// The order's audited documents (作废 j_qk included).
QList<GridColumn> OrderDocumentColumns()
{
    return {ListColumn("gl_djh", "单据号", 120),         ListColumn("j_jhrq", "开单日期", 120, ColumnKind::DateText),
            ListColumn("ghs_name", "供货商", 120),       ListColumn("ck_name", "仓库名称", 80),
            ListColumn("j_yfje", "应付金额", 90, ColumnKind::Money), ListColumn("j_sfje", "实付金额", 90, ColumnKind::Money),
            ListColumn("j_checker", "审核人", 70),       ListColumn("j_chkrq", "审核日期", 90),
            ListColumn("gl_djh2", "原始单号", 100),      ListColumn("a_name", "操作员", 70),
            ListColumn("u_name", "经办人", 70),          ListColumn("j_qk", "作废", 40, ColumnKind::Number),
            ListColumn("j_note", "备注", 150),           HiddenColumn("id"),
            HiddenColumn("ghs_sn"),                      HiddenColumn("ck_sn")};
}

// The lines of an audited order with their progress: 采购数量 (received), 订单数量, 剩余数量.
QList<GridColumn> OrderLineColumns()
{
    return {ListColumn("gl_djh", "单据号", 120),         ListColumn("g_sn", "商品编号", 100),
            ListColumn("g_name", "商品名称", 150),       ListColumn("gg_name", "规格型号", 80),
            ListColumn("color_name", "颜色", 60),        ListColumn("dw_name", "单位", 50),
            ListColumn("jh_dj", "单价", 80, ColumnKind::Money), ListColumn("jh_dzl", "折扣", 50, ColumnKind::Number),
            ListColumn("dj", "折后价", 80, ColumnKind::Money), ListColumn("jh_rksl", "采购数量", 70, ColumnKind::Quantity),
            ListColumn("jh_sl", "订单数量", 70, ColumnKind::Quantity), ListColumn("dsl", "剩余数量", 70, ColumnKind::Quantity),
            ListColumn("jh_je", "金额", 90, ColumnKind::Money), ListColumn("jh_tax", "税率", 50, ColumnKind::Number),
            ListColumn("jh_taxdj", "含税单价", 80, ColumnKind::Money), ListColumn("jh_taxje", "税金", 80, ColumnKind::Money),
            ListColumn("jh_zje", "总金额", 90, ColumnKind::Money), ListColumn("a_name", "操作员", 70),
            ListColumn("jh_bz", "备注", 120),            HiddenColumn("id")};
}

// The order's 明细表: audited lines of the period.
QList<GridColumn> OrderDetailColumns()
{
    return {ListColumn("j_jhrq", "开单日期", 120, ColumnKind::DateText), ListColumn("gl_djh", "单据号", 120),
            ListColumn("g_sn", "商品编号", 100),         ListColumn("g_name", "商品名称", 150),
            ListColumn("jh_dj", "单价", 80, ColumnKind::Money), ListColumn("jh_dzl", "折扣", 50, ColumnKind::Number),
            ListColumn("jh_tax", "税率", 50, ColumnKind::Number), ListColumn("jh_taxdj", "含税单价", 80, ColumnKind::Money),
            ListColumn("jh_je", "金额", 90, ColumnKind::Money), ListColumn("jh_taxje", "税额", 80, ColumnKind::Money),
            ListColumn("jh_rksl", "采购数量", 70, ColumnKind::Quantity), ListColumn("jh_sl", "订单数量", 70, ColumnKind::Quantity),
            ListColumn("dsl", "剩余数量", 70, ColumnKind::Quantity), ListColumn("jh_zje", "总金额", 90, ColumnKind::Money),
            ListColumn("j_qk", "作废", 40, ColumnKind::Number), ListColumn("dw_name", "单位", 50),
            ListColumn("gg_name", "规格型号", 80),       ListColumn("ghs_name", "供货商名称", 120),
            ListColumn("ck_name", "仓库名称", 80),       ListColumn("u_name", "经办人", 70),
            ListColumn("j_checker", "审核人", 70),       ListColumn("j_chkrq", "审核日期", 90),
            ListColumn("jh_bz", "备注", 120),            HiddenColumn("id")};
}

// Footers of a list grid: "记录数：" under the first column, the sums of its amounts and
// quantities in the money format.
void SetListFooters(DataGrid &grid, const QList<GridColumn> &columns, const LoginState &state)
{
    grid.setFooter(columns.first().field, FooterKind::TextCount, QStringLiteral("记录数："));
    for (const GridColumn &c : columns) {
        if (c.kind != ColumnKind::Money && c.kind != ColumnKind::Quantity)
            continue;
        // Prices are not summed.
        const bool price = c.field.endsWith(QLatin1String("dj"));
        grid.setFooter(c.field, price ? FooterKind::None : FooterKind::Sum);
        if (c.kind == ColumnKind::Money) {
            SetMoneyColumnFormat(grid, c.field, state);
            if (!price)
                SetMoneyFooterFormat(grid, c.field, state);
        } else {
            SetQtyColumnFormat(grid, c.field, state);
            SetQtyFooterFormat(grid, c.field, state);
        }
    }
}

SqlGridModel *ModelOf(DataGrid *grid)
{
    return static_cast<SqlGridModel *>(grid->model());
}

void Apply(DataGrid *grid, const ListStatement &st)
{
    ModelOf(grid)->setStatement(st.body, st.order, st.binds);
    grid->reload(ReloadTarget::First);
}

} // namespace

PurchaseQueryPage::PurchaseQueryPage(DocumentWindow &window, const ScreenContext &context, const PurchaseListDoc &doc,
                                     std::function<void(const QString &)> viewDocument,
                                     std::function<FileChoice &()> files, std::function<ReportOutput &()> output)
    : QObject(&window), m_window(window), m_context(context), m_doc(doc),
      m_queries(context.data->mainDb(), *context.state, doc), m_viewDocument(std::move(viewDocument)),
      m_files(std::move(files)), m_output(std::move(output))
{
    QWidget *page = window.queryGrid()->parentWidget();
    const bool order = doc.kind == PurchaseKind::Order;
    // The kit's caption of the key box follows the view, unless the kind names it.
    for (QLabel *l : page->findChildren<QLabel *>())
        if (l->text() == QStringLiteral("关键字："))
            m_keyCaption = l;
    if (m_keyCaption) {
        m_keyCaption->setObjectName(QStringLiteral("LabelKey3"));
        if (!doc.queryKeyCaption.isEmpty())
            m_keyCaption->setText(doc.queryKeyCaption);
    }
    window.queryKeyBox()->setObjectName(doc.kind == PurchaseKind::Receipt ? QStringLiteral("tKey3") : QStringLiteral("tchkKey"));
    if (doc.querySupplierBox) {
        m_supplier = new QLineEdit(page);
        m_supplier->setObjectName(QStringLiteral("tGhsname3"));
        m_supplier->setMaxLength(32);
        InstallCharFilter(m_supplier, CharFilter::Standard);
        window.queryBar()->insertWidget(1, new QLabel(QStringLiteral("供货商名称："), page));
        window.queryBar()->insertWidget(2, m_supplier);
        m_supplierButton = new QToolButton(page);
        m_supplierButton->setObjectName(QStringLiteral("btnGhs3"));
        m_supplierButton->setText(QStringLiteral("..."));
        m_supplierButton->setFocusPolicy(Qt::NoFocus);
        window.queryBar()->insertWidget(3, m_supplierButton);
        connect(m_supplier, &QLineEdit::returnPressed, this, &PurchaseQueryPage::search);
    }
    if (order) {
        m_warehouse = new KeyedCombo(page);
        m_warehouse->setObjectName(QStringLiteral("comCk3"));
        window.queryBar()->insertWidget(1, new QLabel(QStringLiteral("收货仓库："), page));
        window.queryBar()->insertWidget(2, m_warehouse);
        m_showVoid = new QCheckBox(QStringLiteral("显示作废单据"), page);
        m_showVoid->setObjectName(QStringLiteral("chkZf"));
    }
    if (!doc.summaryView)
        if (QWidget *summary = page->findChild<QWidget *>(QStringLiteral("queryView1")))
            summary->hide();
    auto *search = new QPushButton(QStringLiteral("查询(F2)"), page);
    search->setObjectName(QStringLiteral("btnSearch3"));
    search->setAutoDefault(false);
    window.queryBar()->addWidget(search);
    connect(search, &QPushButton::clicked, this, &PurchaseQueryPage::search);

    auto *row = new QHBoxLayout;
    const auto add = [&](const char *name, const char *text, void (PurchaseQueryPage::*slot)()) {
        auto *b = new QPushButton(QString::fromUtf8(text), page);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        m_buttons << b;
        connect(b, &QPushButton::clicked, this, slot);
    };
    add("btnView3", "查看单据", &PurchaseQueryPage::view);
    add("btnUnaudit", "取消审核", &PurchaseQueryPage::unauditSelected);
    if (doc.kind == PurchaseKind::Receipt) {
        add("btnUnauditAll", "全部取消", &PurchaseQueryPage::unauditAll);
        add("btnWholeReturn", "整单退货", &PurchaseQueryPage::wholeReturn);
        add("btnWholeIssue", "整单领用", &PurchaseQueryPage::wholeIssue);
        add("btnWholeSale", "整单销售", &PurchaseQueryPage::wholeSale);
    }
    if (!order)
        add("btnPrint3", "打印", &PurchaseQueryPage::print);
    add("btnExport3", "导出", &PurchaseQueryPage::exportView);
    if (m_showVoid)
        row->addWidget(m_showVoid);
    row->addStretch(1);
    auto *exit = new QPushButton(QStringLiteral("退出"), page);
    exit->setObjectName(QStringLiteral("btnExit3"));
    exit->setAutoDefault(false);
    row->addWidget(exit);
    connect(exit, &QPushButton::clicked, &window, &DocumentWindow::close);
    static_cast<QVBoxLayout *>(page->layout())->insertLayout(1, row);

    for (int i = 0; i < 3; ++i)
        m_models << new SqlGridModel(context.data->mainDb(), this);
    auto *detail = new SqlGridModel(context.data->mainDb());
    const QList<GridColumn> lowerColumns = order ? OrderLineColumns() : LedgerColumns();
    detail->setColumns(lowerColumns);
    window.queryDetailGrid()->setModel(detail);
    SetListFooters(*window.queryDetailGrid(), lowerColumns, *context.state);

    connect(window.queryGrid(), &DataGrid::currentRowChanged, this, [this](int) { showDetail(); });
    connect(window.queryGrid(), &DataGrid::rowDoubleClicked, this, [this](int) {
        if (m_window.queryView() != View::Summary)
            view();
    });
    auto *menu = new QMenu(window.queryGrid());
    if (order) {
        // One item, by the current order's void flag.
        QAction *voidItem = menu->addAction(QStringLiteral("单据作废(&Z)"));
        voidItem->setObjectName(QStringLiteral("actVoid"));
        connect(voidItem, &QAction::triggered, this, &PurchaseQueryPage::toggleVoid);
        window.queryGrid()->setPopupMenu(menu, [this, voidItem](QMenu *) {
            const bool voided = m_window.queryGrid()->currentValue(QStringLiteral("j_qk")).toInt() != 0;
            voidItem->setText(voided ? QStringLiteral("取消作废(&Z)") : QStringLiteral("单据作废(&Z)"));
            voidItem->setEnabled(m_window.queryView() == View::Documents && m_window.queryGrid()->rowCount() > 0);
        });
        return;
    }
    QAction *viewItem = menu->addAction(QStringLiteral("查看单据(&Y)"));
    QAction *unauditItem = menu->addAction(QStringLiteral("取消审核(&Z)"));
    connect(viewItem, &QAction::triggered, this, &PurchaseQueryPage::view);
    connect(unauditItem, &QAction::triggered, this, &PurchaseQueryPage::unauditSelected);
    window.queryGrid()->setPopupMenu(menu, [this, unauditItem](QMenu *) {
        unauditItem->setEnabled(button(QStringLiteral("btnUnaudit"))->isEnabled());
    });
}

QPushButton *PurchaseQueryPage::button(const QString &objectName) const
{
    for (QPushButton *b : m_buttons)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

void PurchaseQueryPage::applyRights()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    if (QPushButton *b = button(QStringLiteral("btnPrint3")))
        b->setEnabled(state.RightShowCost);
    const bool unaudit = HasRight(db, state, QStringLiteral("cggl"), m_doc.unauditRight);
    button(QStringLiteral("btnUnaudit"))->setEnabled(unaudit);
    if (QPushButton *b = button(QStringLiteral("btnUnauditAll")))
        b->setEnabled(unaudit);
    const auto any = [&](const char *module, std::initializer_list<int> rights) {
        for (int r : rights)
            if (HasRight(db, state, QString::fromLatin1(module), r))
                return true;
        return false;
    };
    if (QPushButton *b = button(QStringLiteral("btnWholeReturn")))
        b->setEnabled(any("cggl", {4, 5, 6}));
    if (QPushButton *b = button(QStringLiteral("btnWholeIssue")))
        b->setEnabled(any("xsgl", {10, 11, 12}));
    if (QPushButton *b = button(QStringLiteral("btnWholeSale")))
        b->setEnabled(any("xsgl", {1, 2, 3}));
}

void PurchaseQueryPage::open()
{
    const QDate today = m_context.clock->today();
    const QDate first(today.year(), today.month(), 1);
    m_window.periodBar()->startEdit()->setDate(m_doc.kind == PurchaseKind::Return ? first.addMonths(-1) : first);
    m_window.periodBar()->endEdit()->setDate(today);
    m_window.queryKeyBox()->clear();
    m_window.setQueryView(View::Documents);
    if (m_warehouse) {
        const LoginState &state = *m_context.state;
        KeyedItems items;
        // Operators bound to warehouses choose among theirs only.
        if (state.BindOperatorWarehouse != QLatin1String("1") || state.isAdministrator())
            items << KeyedItem{QStringLiteral("所有仓库"), kAllKey};
        items << LoadOperatorWarehouses(m_context.data->mainDb(), state);
        FillKeyedCombo(m_warehouse, items, true);
    }
    if (m_showVoid)
        m_showVoid->setChecked(false);
    applyRights();
}

void PurchaseQueryPage::activate()
{
    if (m_doc.kind == PurchaseKind::Receipt) {
        const QDate today = m_context.clock->today();
        m_window.periodBar()->startEdit()->setDate(QDate(today.year(), today.month(), 1));
        m_window.periodBar()->endEdit()->setDate(today);
        m_supplier->clear();
        m_window.setQueryView(View::Documents);
    } else if (m_doc.kind == PurchaseKind::Return) {
        m_window.queryKeyBox()->clear();
    }
    applyRights();
    search();
}

PurchaseQueryCriteria PurchaseQueryPage::criteria() const
{
    PurchaseQueryCriteria c{m_window.periodBar()->startEdit()->date().toString(QStringLiteral("yyyy-MM-dd")),
                            m_window.periodBar()->endEdit()->date().toString(QStringLiteral("yyyy-MM-dd")),
                            m_supplier ? m_supplier->text() : QString(), m_window.queryKeyBox()->text()};
    if (m_warehouse && m_warehouse->currentIndex() >= 0)
        c.warehouse = m_warehouse->currentKey();
    if (m_showVoid)
        c.showVoid = m_showVoid->isChecked();
    return c;
}

void PurchaseQueryPage::setViewColumns()
{
    const View v = m_window.queryView();
    if (int(v) == m_shownView)
        return;
    m_shownView = int(v);
    DataGrid *grid = m_window.queryGrid();
    const bool order = m_doc.kind == PurchaseKind::Order;
    const QList<GridColumn> columns = v == View::Documents ? (order ? OrderDocumentColumns() : DocumentColumns(m_doc))
                                      : v == View::Summary ? SummaryColumns()
                                      : order              ? OrderDetailColumns()
                                                           : LedgerColumns();
    SqlGridModel *model = m_models.at(int(v));
    if (model->columns().isEmpty())
        model->setColumns(columns);
    grid->setModel(model);
    SetListFooters(*grid, columns, *m_context.state);
    if (m_keyCaption && m_doc.queryKeyCaption.isEmpty()) {
        m_keyCaption->setText(v == View::Documents ? QStringLiteral("单据编号或备注：") : QStringLiteral("商品名称或编码："));
        m_keyCaption->setMinimumWidth(m_keyCaption->sizeHint().width());
    }
}

void PurchaseQueryPage::search()
{
    setViewColumns();
    const PurchaseQueryCriteria c = criteria();
    const View v = m_window.queryView();
    Apply(m_window.queryGrid(), v == View::Documents ? m_queries.documents(c)
                                : v == View::Summary ? m_queries.summary(c)
                                                     : m_queries.details(c));
    showDetail();
}

void PurchaseQueryPage::showDetail()
{
    DataGrid *grid = m_window.queryGrid();
    const View v = m_window.queryView();
    if (v == View::Details)
        return;
    if (grid->rowCount() == 0) {
        m_window.queryDetailLabel()->clear();
        Apply(m_window.queryDetailGrid(), m_queries.documentRows(QString()));
        return;
    }
    if (v == View::Documents) {
        const QString number = grid->currentValue(QStringLiteral("gl_djh")).toString();
        const QString supplier = grid->currentValue(QStringLiteral("ghs_name")).toString();
        m_window.queryDetailLabel()->setText(m_doc.kind == PurchaseKind::Order    ? QStringLiteral("单据的详细信息：") + supplier
                                             : m_doc.kind == PurchaseKind::Return ? QStringLiteral("单据详细信息：") + number
                                                                                        + QStringLiteral("  ") + supplier
                                                                                  : number + QLatin1Char(' ') + supplier);
        Apply(m_window.queryDetailGrid(), m_queries.documentRows(number));
    } else {
        m_window.queryDetailLabel()->setText(grid->currentValue(QStringLiteral("g_name")).toString());
        Apply(m_window.queryDetailGrid(),
              m_queries.goodsRows(criteria(), grid->currentValue(QStringLiteral("g_sn")).toString()));
    }
}

QString PurchaseQueryPage::currentNumber() const
{
    const DataGrid *grid = m_window.queryView() == View::Summary ? m_window.queryDetailGrid() : m_window.queryGrid();
    if (grid->rowCount() == 0)
        return QString();
    return grid->currentValue(QStringLiteral("gl_djh")).toString();
}

void PurchaseQueryPage::view()
{
    const QString number = currentNumber();
    if (!number.isEmpty() && m_viewDocument)
        m_viewDocument(number);
}

void PurchaseQueryPage::unauditSelected()
{
    if (!button(QStringLiteral("btnUnaudit"))->isEnabled())
        return;
    Notices &notices = *m_context.notices;
    if (m_window.queryView() != View::Documents) {
        notices.notice(m_doc.unauditOutsideDocuments);
        return;
    }
    if (m_window.queryGrid()->rowCount() == 0)
        return;
    const QString number = m_window.queryGrid()->currentValue(QStringLiteral("gl_djh")).toString();
    if (m_doc.kind == PurchaseKind::Order) {
        if (OrderAudit(m_context.data->mainDb(), *m_context.state, *m_context.clock, notices).cancelAudit(number, false))
            search();
        return;
    }
    if (UnauditByNumber(m_context.data->mainDb(), *m_context.state, *m_context.clock, notices, number)
        == UnauditOutcome::Done)
        search();
}

void PurchaseQueryPage::unauditAll()
{
    if (!button(QStringLiteral("btnUnauditAll"))->isEnabled())
        return;
    if (m_window.queryView() != View::Documents) {
        m_context.notices->notice(QStringLiteral("取消审核只能在单据表进行！"));
        return;
    }
    QStringList numbers;
    const int column = ModelOf(m_window.queryGrid())->columnOf(QStringLiteral("gl_djh"));
    ModelOf(m_window.queryGrid())->forEachRow([&](const QVector<QVariant> &row) {
        numbers << row.at(column).toString();
        return true;
    });
    if (RunBulkUnaudit(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, numbers) >= 0)
        search();
}

void PurchaseQueryPage::handOff(const char *refusal, QString FollowOnRequests::*slot, bool returning)
{
    if (m_window.queryView() != View::Documents || m_window.queryGrid()->rowCount() == 0) {
        m_context.notices->notice(QString::fromUtf8(refusal));
        return;
    }
    const QString number = m_window.queryGrid()->currentValue(QStringLiteral("gl_djh")).toString();
    if (returning) {
        const QString why = WholeReturnRefusal(m_context.data->mainDb(), number);
        if (!why.isEmpty()) {
            m_context.notices->notice(why);
            return;
        }
    }
    if (m_context.followOn)
        m_context.followOn->*slot = number;
    m_window.close();
}

void PurchaseQueryPage::wholeReturn()
{
    if (button(QStringLiteral("btnWholeReturn"))->isEnabled())
        handOff("整单退货只能在单据表进行！", &FollowOnRequests::ReturnSourceNo, true);
}

void PurchaseQueryPage::wholeIssue()
{
    if (button(QStringLiteral("btnWholeIssue"))->isEnabled())
        handOff("整单领用只能在单据表进行！", &FollowOnRequests::IssueSourceNo, false);
}

void PurchaseQueryPage::wholeSale()
{
    if (button(QStringLiteral("btnWholeSale"))->isEnabled())
        handOff("整单销售只能在单据表进行！", &FollowOnRequests::SaleSourceNo, false);
}

void PurchaseQueryPage::exportView()
{
    if (m_window.queryGrid()->rowCount() == 0)
        return;
    ExportGrid(*m_window.queryGrid(), m_files(), *m_context.notices, &m_window);
}

void PurchaseQueryPage::toggleVoid()
{
    if (m_doc.kind != PurchaseKind::Order || m_window.queryView() != View::Documents || m_window.queryGrid()->rowCount() == 0)
        return;
    DataGrid *grid = m_window.queryGrid();
    if (OrderAudit(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices)
            .toggleVoid(grid->currentValue(QStringLiteral("gl_djh")).toString(),
                        grid->currentValue(QStringLiteral("j_qk")).toInt() != 0))
        search();
}

void PurchaseQueryPage::print()
{
    QPushButton *printButton = button(QStringLiteral("btnPrint3"));
    if (!printButton || !printButton->isEnabled())
        return;
    const View v = m_window.queryView();
    if (v == View::Documents && m_window.queryGrid()->rowCount() == 0)
        return;
    QVariantList binds;
    const QString sql = ModelOf(m_window.queryGrid())->selectSql(&binds);
    const PurchaseQueryCriteria c = criteria();
    PurchaseListPrint(m_context.data->mainDb(), *m_context.state, *m_context.clock, m_doc)
        .printQuery(v == View::Documents ? PurchaseQueryView::Documents
                    : v == View::Summary ? PurchaseQueryView::Summary
                                         : PurchaseQueryView::Details,
                    m_output(), sql, binds, c.from, c.to);
}
