#include "purchasing/forms/jthcx.h"

#include "engine/bulkunaudit.h"
#include "engine/forms/prinsele.h"
#include "engine/unaudit.h"
#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/forms/displayformats.h"
#include "foundation/handoff.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "purchasing/docqueryprint.h"
#include "purchasing/forms/cgth_zdth_search.h"
#include "purchasing/forms/modidatejh.h"
#include "purchasing/forms/purchasingscreens.h"
#include "purchasing/forms/yfkgl_fk.h"
#include "report/printeroutput.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"
#include "screenkit/gridmodel.h"
#include "screenkit/screenshapes.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

inline constexpr const char *ReturnNumber = "returnNumber";
inline constexpr const char *ReturnReceipt = "returnReceipt";

GridColumn Col(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text)
{
    return ListColumn(field, caption, width, kind);
}

QList<GridColumn> DocumentColumns()
{
    return {Col("djh", "单据号", 110),          Col("rq", "开单日期", 115, ColumnKind::DateText),
            Col("ghs_name", "供货商名称", 130),  Col("ck_name", "仓库名称", 80),
            Col("yfje", "应付金额", 85, ColumnKind::Money), Col("sfje", "实付金额", 85, ColumnKind::Money),
            Col("wfje", "欠款金额", 85, ColumnKind::Money), Col("hkje", "付款金额", 85, ColumnKind::Money),
            Col("yhje", "优惠金额", 80, ColumnKind::Money), Col("gtype", "单据类型", 70),
            Col("j_yf", "运费", 70, ColumnKind::Money),  Col("j_bzf", "包装费", 70, ColumnKind::Money),
            Col("j_yffs", "付费方式", 80),        Col("ht_sn", "合同编号", 80),
            Col("checker", "审核人", 70),         Col("chkrq", "审核日期", 90),
            Col("u_name", "经办人", 70),          Col("a_name", "操作员", 70),
            Col("gl_djh2", "原始单号", 100),      Col("dnote", "备注", 150),
            HiddenColumn("j_th", ColumnKind::Integer), HiddenColumn("dsort"), HiddenColumn("ghs_sn"),
            HiddenColumn("ck_sn")};
}

QList<GridColumn> DocumentLineColumns()
{
    return {Col("g_sn", "商品编号", 100),        Col("g_name", "商品名称", 150),
            Col("dw_name", "单位", 50),          Col("gl_dj", "单价", 80, ColumnKind::Money),
            Col("gl_dzl", "打折率", 60, ColumnKind::Number), Col("gl_sl", "数量", 70, ColumnKind::Quantity),
            Col("gl_je", "金额", 85, ColumnKind::Money), Col("gl_tax", "税率", 50, ColumnKind::Number),
            Col("gl_taxdj", "含税单价", 80, ColumnKind::Money), Col("gl_taxje", "税额", 75, ColumnKind::Money),
            Col("gl_zje", "总金额", 85, ColumnKind::Money), Col("gg_name", "规格型号", 80),
            Col("color_name", "颜色", 60),       Col("a_name", "操作员", 70),
            Col("gl_bz", "备注", 120),           HiddenColumn("id", ColumnKind::Integer), HiddenColumn("gl_djh")};
}

QList<GridColumn> SummaryColumns()
{
    return {Col("g_sn", "商品编号", 100),        Col("g_name", "商品名称", 150),
            Col("dw_name", "单位", 50),          Col("sl", "数量", 75, ColumnKind::Quantity),
            Col("je", "金额", 85, ColumnKind::Money), Col("taxje", "税额", 75, ColumnKind::Money),
            Col("zje", "总金额", 85, ColumnKind::Money), Col("g_kc", "库存数量", 75, ColumnKind::Quantity),
            Col("gg_name", "规格型号", 80),      Col("color_name", "颜色", 60),
            Col("gc_name", "商品类别", 80),      Col("g_bz", "备注", 120),
            HiddenColumn("id", ColumnKind::Integer)};
}

QList<GridColumn> GoodsRowColumns()
{
    return {Col("ghs_name", "供货商名称", 120),  Col("gl_kdrq", "开单日期", 115, ColumnKind::DateText),
            Col("gl_djh", "单据号", 110),        Col("g_sn", "商品编号", 100),
            Col("g_name", "商品名称", 150),      Col("gl_dj", "单价", 80, ColumnKind::Money),
            Col("gl_sl", "数量", 70, ColumnKind::Quantity), Col("gl_je", "金额", 85, ColumnKind::Money),
            Col("gl_tax", "税率", 50, ColumnKind::Number), Col("gl_taxdj", "含税单价", 80, ColumnKind::Money),
            Col("gl_taxje", "税额", 75, ColumnKind::Money), Col("gl_zje", "总金额", 85, ColumnKind::Money),
            Col("dw_name", "单位", 50),          Col("gg_name", "规格型号", 80),
            Col("color_name", "颜色", 60),       Col("gc_name", "商品类别", 80),
            Col("ck_name", "仓库名称", 80),      Col("gl_checker", "审核人", 70),
            Col("gl_chkrq", "审核日期", 90),     Col("u_name", "经办人", 70),
            HiddenColumn("id", ColumnKind::Integer)};
}

QList<GridColumn> LineTableColumns()
{
    return {Col("gl_kdrq", "开单日期", 115, ColumnKind::DateText), Col("gl_djh", "单据号", 110),
            Col("g_sn", "商品编号", 100),        Col("g_name", "商品名称", 150),
            Col("gl_dj", "单价", 80, ColumnKind::Money), Col("gl_sl", "数量", 70, ColumnKind::Quantity),
            Col("gl_je", "金额", 85, ColumnKind::Money), Col("gl_tax", "税率", 50, ColumnKind::Number),
            Col("gl_taxdj", "含税单价", 80, ColumnKind::Money), Col("gl_taxje", "税额", 75, ColumnKind::Money),
            Col("gl_zje", "总金额", 85, ColumnKind::Money), Col("dw_name", "单位", 50),
            Col("gg_name", "规格型号", 80),      Col("color_name", "颜色", 60),
            Col("gc_name", "商品类别", 80),      Col("ck_name", "仓库", 80),
            Col("ysdh", "原始单号", 100),        Col("gl_checker", "审核人", 70),
            Col("gl_chkrq", "审核日期", 90),     Col("u_name", "经办人", 70),
            Col("ghs_name", "供货商名称", 120),  Col("gl_bz", "商品备注", 120),
            Col("dnote", "单据备注", 150),       HiddenColumn("id", ColumnKind::Integer)};
}

SqlGridModel *NewModel(const QSqlDatabase &db, const QList<GridColumn> &columns, const char *key, QObject *parent)
{
    auto *m = new SqlGridModel(db, parent);
    m->setColumns(columns);
    m->setKeyField(QString::fromLatin1(key));
    return m;
}

void Apply(DataGrid *grid, const ListStatement &st)
{
    static_cast<SqlGridModel *>(grid->model())->setStatement(st.body, st.order, st.binds);
    grid->reload(ReloadTarget::First);
}

} // namespace

TF_Jthcx::TF_Jthcx(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context), m_query(context.data->mainDb(), *context.state)
{
    setObjectName(QStringLiteral("TF_Jthcx"));
    setWindowTitle(QStringLiteral("进退货查询"));
    const QSqlDatabase db = context.data->mainDb();

    // Filter bar.
    m_period = WithName(new DateRangeBar(*context.clock, false, this), "period");
    m_key = WithName(new QLineEdit(this), "tKey");
    m_key->setPlaceholderText(QStringLiteral("回车键开始查询"));
    m_key->setMaxLength(64);
    InstallCharFilter(m_key, CharFilter::Standard);
    keys()->addEnterOwner(m_key);
    auto *searchButton = WithName(new QPushButton(QStringLiteral("查询(F2)"), this), "btnSearch");
    searchButton->setAutoDefault(false);
    m_views = new QButtonGroup(this);
    auto *filterBar = new QHBoxLayout;
    filterBar->addWidget(new QLabel(QStringLiteral("查询日期："), this));
    filterBar->addWidget(m_period);
    filterBar->addWidget(new QLabel(QStringLiteral("按供货商/单据号/单据备注查询："), this));
    filterBar->addWidget(m_key, 1);
    filterBar->addWidget(searchButton);
    int id = 0;
    for (const char *text : {"汇总表", "明细表", "单据表"}) {
        auto *r = new QRadioButton(QString::fromUtf8(text), this);
        m_views->addButton(r, id++);
        filterBar->addWidget(r);
    }
    m_views->button(Documents)->setChecked(true);

    // Button bar.
    m_order = WithName(new QComboBox(this), "comSort");
    m_order->addItems({QStringLiteral("倒序"), QStringLiteral("顺序")});
    m_dateKind = WithName(new QComboBox(this), "comDate");
    m_dateKind->addItems({QStringLiteral("开单日期"), QStringLiteral("审核日期")});
    auto *buttonBar = new QHBoxLayout;
    buttonBar->addWidget(new QLabel(QStringLiteral("日期排列："), this));
    buttonBar->addWidget(m_order);
    buttonBar->addWidget(new QLabel(QStringLiteral("查询日期："), this));
    buttonBar->addWidget(m_dateKind);
    const auto add = [&](const char *name, const char *text, std::function<void()> action) {
        auto *b = WithName(new QPushButton(QString::fromUtf8(text), this), name);
        b->setAutoDefault(false);
        buttonBar->addWidget(b);
        m_buttons << b;
        connect(b, &QPushButton::clicked, this, std::move(action));
        return b;
    };
    add("btnView", "查看单据", [this] { viewDocument(); });
    add("btnAdvanced", "高级查询", [this] { advancedSearch(); });
    add("btnPay", "采购付款", [this] { pay(); });
    add("btnExit", "退出", [this] { reject(); });
    add("btnPrint", "打印", [this] { printList(); });
    add("btnWholeReturn", "整单退货", [this] { wholeReturn(); });
    QPushButton *exportButton = add("btnExport", "导出", [] {});
    QPushButton *filter = add("btnFilter", "数据过滤", [] {});
    add("btnUnaudit", "取消审核", [this] { unauditSelected(); });
    add("btnUnauditAll", "全部取消", [this] { unauditAll(); });
    add("btnContinuous", "连续打印", [this] { printContinuously(); });
    add("btnModify", "修改", [this] { redate(); });
    buttonBar->addStretch(1);

    m_filterMenu = new QMenu(filter);
    const QList<QPair<const char *, DocQueryType>> filters{{"所有单据(&W)", DocQueryType::All},
                                                            {"进货单(&X)", DocQueryType::Receipts},
                                                            {"退货单(&Y)", DocQueryType::Returns},
                                                            {"欠款单据查询(&Z)", DocQueryType::Owing}};
    for (const auto &f : filters) {
        const DocQueryType type = f.second;
        connect(m_filterMenu->addAction(QString::fromUtf8(f.first)), &QAction::triggered, this,
                [this, type] { setTypeFilter(type); });
    }
    filter->setMenu(m_filterMenu);
    auto *exportMenu = new QMenu(exportButton);
    QAction *exportUpper = exportMenu->addAction(QString());
    QAction *exportLower = exportMenu->addAction(QString());
    connect(exportUpper, &QAction::triggered, this, [this] { exportView(0); });
    connect(exportLower, &QAction::triggered, this, [this] { exportView(1); });
    disconnect(exportButton, &QPushButton::clicked, nullptr, nullptr);
    connect(exportButton, &QPushButton::clicked, this, [this, exportButton, exportMenu, exportUpper, exportLower] {
        if (view() == Lines) {
            exportView(0);
            return;
        }
        const bool documents = view() == Documents;
        exportUpper->setText(documents ? QStringLiteral("采购单据表(&Y)") : QStringLiteral("汇总表(&Y)"));
        exportLower->setText(documents ? QStringLiteral("单据的详细信息(&Z)") : QStringLiteral("商品采购明细表(&Z)"));
        exportMenu->popup(exportButton->mapToGlobal(QPoint(0, exportButton->height())));
    });

    // Grids.
    m_models << NewModel(db, SummaryColumns(), "g_sn", this) << NewModel(db, LineTableColumns(), "id", this)
             << NewModel(db, DocumentColumns(), "djh", this);
    m_models.at(Documents)->cellTextColour = [](const GridModel &m, int row, const QString &field) -> QColor {
        if (field == QLatin1String("gtype") && m.value(row, QStringLiteral("j_th")).toInt() == 1)
            return QColor(Qt::red);
        if (field == QLatin1String("hkje") && m.value(row, field).toDouble() != 0.0)
            return QColor(Qt::blue);
        if (field == QLatin1String("wfje") && m.value(row, field).toDouble() != 0.0)
            return QColor(Qt::red);
        return QColor();
    };
    m_documentRows = NewModel(db, DocumentLineColumns(), "id", this);
    m_goodsRows = NewModel(db, GoodsRowColumns(), "id", this);
    m_hint = WithName(new QLabel(QStringLiteral("已做过“整单退货”的采购单，“类型”字段显示为红色文字。"), this), "LabelHint");
    m_grid = WithName(new DataGrid(this), "gridMain");
    m_grid->setModel(m_models.at(Documents));
    auto *lower = WithName(new QFrame(this), "PanelLower");
    m_lower = lower;
    m_detailLabel = WithName(new QLabel(lower), "LabelDetail");
    m_detail = WithName(new DataGrid(lower), "gridDetail");
    m_detail->setModel(m_documentRows);
    auto *lowerBar = new QHBoxLayout;
    lowerBar->addWidget(new QLabel(QStringLiteral("单据详细信息："), lower));
    lowerBar->addWidget(m_detailLabel, 1);
    auto *lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addLayout(lowerBar);
    lowerLayout->addWidget(m_detail, 1);

    auto *v = new QVBoxLayout(this);
    v->addLayout(filterBar);
    v->addLayout(buttonBar);
    v->addWidget(m_hint);
    v->addWidget(m_grid, 1);
    v->addWidget(lower);

    // Popups.
    m_documentMenu = new QMenu(m_grid);
    QAction *unauditItem = m_documentMenu->addAction(QStringLiteral("取消审核(&W)"));
    QAction *returnItem = m_documentMenu->addAction(QStringLiteral("整单退货(&X)"));
    QAction *payItem = m_documentMenu->addAction(QStringLiteral("单据付款(&Y)"));
    connect(unauditItem, &QAction::triggered, this, [this] { unauditSelected(); });
    connect(returnItem, &QAction::triggered, this, [this] { wholeReturn(); });
    connect(payItem, &QAction::triggered, this, [this] { pay(); });
    m_grid->setPopupMenu(m_documentMenu, [this, unauditItem, returnItem, payItem](QMenu *) {
        unauditItem->setEnabled(button(QStringLiteral("btnUnaudit"))->isEnabled());
        returnItem->setEnabled(button(QStringLiteral("btnWholeReturn"))->isEnabled());
        payItem->setVisible(!button(QStringLiteral("btnPay"))->isHidden());
    });
    auto *linesMenu = new QMenu(m_detail);
    QAction *returnLine = linesMenu->addAction(QStringLiteral("退货(&Z)"));
    connect(returnLine, &QAction::triggered, this, [this] { wholeReturn(true); });
    m_detail->setPopupMenu(linesMenu, [this, returnLine](QMenu *) {
        returnLine->setEnabled(m_detail->rowCount() > 0 && button(QStringLiteral("btnWholeReturn"))->isEnabled());
    });

    connect(searchButton, &QPushButton::clicked, this, &TF_Jthcx::search);
    connect(m_key, &QLineEdit::returnPressed, this, &TF_Jthcx::search);
    connect(m_period, &DateRangeBar::periodChosen, this, &TF_Jthcx::search);
    connect(m_order, &QComboBox::currentIndexChanged, this, [this](int) { search(); });
    connect(m_dateKind, &QComboBox::currentIndexChanged, this, [this](int) { search(); });
    connect(m_views, &QButtonGroup::idClicked, this, [this](int) { search(); });
    connect(m_grid, &DataGrid::currentRowChanged, this, [this](int) { showDetail(); });
    connect(m_grid, &DataGrid::rowDoubleClicked, this, [this](int) { viewDocument(); });
    connect(m_detail, &DataGrid::rowDoubleClicked, this, [this](int) {
        if (view() == Summary)
            viewDocument();
    });
    keys()->bind(Qt::Key_F2, [this] { search(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    connect(this, &ScreenDialog::opened, this, &TF_Jthcx::activate);
    resize(1000, 640);
}

TF_Jthcx::~TF_Jthcx() = default;

void TF_Jthcx::resizeEvent(QResizeEvent *event)
{
    ScreenDialog::resizeEvent(event);
    // The lower half as on the purchase windows' list pages.
    m_lower->setFixedHeight(PendingLowerHeight(height()));
}

QPushButton *TF_Jthcx::button(const QString &objectName) const
{
    for (QPushButton *b : m_buttons)
        if (b->objectName() == objectName)
            return b;
    return nullptr;
}

TF_Jthcx::View TF_Jthcx::view() const
{
    return static_cast<View>(m_views->checkedId());
}

void TF_Jthcx::setView(View view)
{
    m_views->button(view)->setChecked(true);
    search();
}

void TF_Jthcx::activate()
{
    const QDate today = m_context.clock->today();
    m_criteria = DocQueryCriteria();
    {
        const QSignalBlocker b1(m_order), b2(m_dateKind);
        m_order->setCurrentIndex(0);
        m_dateKind->setCurrentIndex(0);
    }
    m_period->startEdit()->setDate(QDate(today.year(), today.month(), 1));
    m_period->endEdit()->setDate(today);
    m_views->button(Documents)->setChecked(true);
    applyRights();
    search();
}

void TF_Jthcx::applyRights()
{
    const QSqlDatabase db = m_context.data->mainDb();
    const LoginState &state = *m_context.state;
    const bool r10 = HasRight(db, state, QStringLiteral("cggl"), 10);
    const bool r11 = HasRight(db, state, QStringLiteral("cggl"), 11);
    button(QStringLiteral("btnUnaudit"))->setEnabled(r10 || r11);
    button(QStringLiteral("btnUnauditAll"))->setEnabled(r10 && r11);
    button(QStringLiteral("btnWholeReturn"))->setEnabled(HasRight(db, state, QStringLiteral("cggl"), 2));
    button(QStringLiteral("btnModify"))->setEnabled(state.RightChangeDocDate);
    button(QStringLiteral("btnPrint"))->setEnabled(state.RightShowCost);
    button(QStringLiteral("btnPay"))->setVisible(IsTrue(state.UseDocPayment) && HasRight(db, state, QStringLiteral("wlzk"), 5));
}

void TF_Jthcx::setViewColumns()
{
    const View v = view();
    m_hint->setVisible(v == Documents);
    m_detail->parentWidget()->setVisible(v != Lines);
    if (int(v) == m_shownView)
        return;
    m_shownView = int(v);
    m_grid->setModel(m_models.at(v));
    m_detail->setModel(v == Summary ? m_goodsRows : m_documentRows);
    const LoginState &state = *m_context.state;
    const bool cost = state.RightShowCost;
    const bool tax = IsTrueWithCostRight(state, state.UseTax, QStringLiteral("cj"));
    const QList<QPair<const char *, bool>> gates{
        {"yfje", cost},     {"sfje", cost},     {"wfje", cost},      {"yhje", cost},
        {"gl_dj", cost},    {"gl_zje", cost},   {"gl_je", tax},      {"gl_tax", tax},
        {"gl_taxdj", tax},  {"gl_taxje", tax},  {"gl_dzl", IsTrue(state.UseDiscount) && cost},
        {"j_yf", IsTrue(state.UseFreight)},     {"j_bzf", IsTrue(state.UseFreight)},
        {"j_yffs", IsTrue(state.UseFreight)},   {"ht_sn", IsTrue(state.UseContractNo)},
        {"ysdh", IsTrue(state.UseOriginalDocNo)}, {"hkje", !button(QStringLiteral("btnPay"))->isHidden()}};
    for (DataGrid *grid : {m_grid, m_detail}) {
        const GridModel *model = grid->model();
        QString first;
        for (const GridColumn &c : model->columns()) {
            if (first.isEmpty() && c.visible)
                first = c.field;
            if (c.kind == ColumnKind::Money) {
                SetMoneyColumnFormat(*grid, c.field, state);
                SetMoneyFooterFormat(*grid, c.field, state);
                grid->setFooter(c.field, FooterKind::Sum);
            } else if (c.kind == ColumnKind::Quantity) {
                SetQtyColumnFormat(*grid, c.field, state);
                SetQtyFooterFormat(*grid, c.field, state);
                grid->setFooter(c.field, FooterKind::Sum);
            }
        }
        grid->setFooter(first, FooterKind::TextCount, QStringLiteral("记录数："));
        for (const auto &g : gates)
            if (model->hasField(QString::fromLatin1(g.first)))
                grid->setColumnVisible(QString::fromLatin1(g.first), g.second);
    }
}

void TF_Jthcx::search()
{
    m_criteria.from = m_period->startEdit()->date().toString(QStringLiteral("yyyy-MM-dd"));
    m_criteria.to = m_period->endEdit()->date().toString(QStringLiteral("yyyy-MM-dd"));
    m_criteria.key = m_key->text();
    m_criteria.byCheckDate = m_dateKind->currentIndex() == 1;
    m_criteria.descending = m_order->currentIndex() == 0;
    setViewColumns();
    const View v = view();
    Apply(m_grid, v == Documents ? m_query.documents(m_criteria)
                  : v == Summary ? m_query.summary(m_criteria)
                                 : m_query.lines(m_criteria));
    showDetail();
    m_grid->view()->setFocus(Qt::OtherFocusReason);
}

void TF_Jthcx::setTypeFilter(DocQueryType type)
{
    m_criteria.type = type;
    search();
}

void TF_Jthcx::showDetail()
{
    const View v = view();
    if (v == Lines)
        return;
    if (m_grid->rowCount() == 0) {
        m_detailLabel->clear();
        Apply(m_detail, m_query.documentRows(QString()));
        return;
    }
    if (v == Documents) {
        const QString number = m_grid->currentValue(QStringLiteral("djh")).toString();
        m_detailLabel->setText(number + QStringLiteral("  ") + m_grid->currentValue(QStringLiteral("ghs_name")).toString());
        Apply(m_detail, m_query.documentRows(number));
    } else {
        m_detailLabel->setText(m_grid->currentValue(QStringLiteral("g_name")).toString());
        Apply(m_detail, m_query.goodsRows(m_criteria, m_grid->currentValue(QStringLiteral("g_sn")).toString()));
    }
}

QStringList TF_Jthcx::listedNumbers() const
{
    QStringList numbers;
    const int column = m_grid->model()->columnOf(QStringLiteral("djh"));
    m_grid->model()->forEachRow([&](const QVector<QVariant> &row) {
        numbers << row.at(column).toString();
        return true;
    });
    return numbers;
}

QString TF_Jthcx::currentNumber(bool fromLines) const
{
    const View v = view();
    const DataGrid *grid = (v == Summary || fromLines) ? m_detail : m_grid;
    if (grid->rowCount() == 0)
        return QString();
    return grid->currentValue(v == Documents && !fromLines ? QStringLiteral("djh") : QStringLiteral("gl_djh")).toString();
}

ReportOutput &TF_Jthcx::output()
{
    if (!m_output) {
        m_ownOutput = std::make_unique<PrinterOutput>(*m_context.notices, this);
        m_output = m_ownOutput.get();
    }
    return *m_output;
}

FileChoice &TF_Jthcx::files()
{
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    return *m_files;
}

PrintChoiceDialog *TF_Jthcx::printChoice()
{
    if (!m_choice) {
        m_ownChoice = std::make_unique<PrinSeleChoice>(this);
        m_choice = m_ownChoice.get();
    }
    return m_choice;
}

void TF_Jthcx::viewDocument()
{
    const QString number = currentNumber(false);
    if (number.isEmpty())
        return;
    PrintOptions options;
    options.choice = printChoice();
    DocQueryPrint(m_context.data->mainDb(), *m_context.state, *m_context.clock).printDocument(number, output(), options);
}

void TF_Jthcx::printContinuously()
{
    if (view() != Documents) {
        m_context.notices->notice(QStringLiteral("连续打印只能在“单据表”进行。"));
        return;
    }
    const QStringList numbers = listedNumbers();
    m_continuous = true;
    DocQueryPrint(m_context.data->mainDb(), *m_context.state, *m_context.clock)
        .printContinuously(*m_context.notices, numbers, output());
    m_continuous = false;
}

void TF_Jthcx::printList()
{
    if (!button(QStringLiteral("btnPrint"))->isEnabled())
        return;
    QVariantList binds;
    const QString sql = static_cast<SqlGridModel *>(m_grid->model())->selectSql(&binds);
    const View v = view();
    DocQueryPrint(m_context.data->mainDb(), *m_context.state, *m_context.clock)
        .printList(v == Documents ? DocQueryView::Documents : v == Summary ? DocQueryView::Summary : DocQueryView::Lines,
                   output(), sql, binds, m_criteria.from, m_criteria.to);
}

void TF_Jthcx::exportView(int which)
{
    DataGrid *grid = which == 1 && view() != Lines ? m_detail : m_grid;
    if (grid->rowCount() > 0)
        ExportGrid(*grid, files(), *m_context.notices, this);
}

void TF_Jthcx::unauditSelected()
{
    if (!button(QStringLiteral("btnUnaudit"))->isEnabled())
        return;
    if (view() != Documents) {
        m_context.notices->notice(QStringLiteral("取消审核操作只能在“单据表”进行。"));
        return;
    }
    if (m_grid->rowCount() == 0)
        return;
    const QString number = m_grid->currentValue(QStringLiteral("djh")).toString();
    if (UnauditByNumber(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, number)
        == UnauditOutcome::Done)
        search();
}

void TF_Jthcx::unauditAll()
{
    if (!button(QStringLiteral("btnUnauditAll"))->isEnabled())
        return;
    if (view() != Documents) {
        m_context.notices->notice(QStringLiteral("取消审核只能在单据表进行！"));
        return;
    }
    const QStringList numbers = listedNumbers();
    if (RunBulkUnaudit(m_context.data->mainDb(), *m_context.state, *m_context.clock, *m_context.notices, numbers) >= 0)
        search();
}

void TF_Jthcx::pay()
{
    if (button(QStringLiteral("btnPay"))->isHidden())
        return;
    if (view() != Documents) {
        m_context.notices->notice(QStringLiteral("付款只能在“单据表”进行！"));
        return;
    }
    if (m_grid->rowCount() == 0)
        return;
    const auto value = [this](const char *f) { return m_grid->currentValue(QString::fromLatin1(f)).toDouble(); };
    const QString number = m_grid->currentValue(QStringLiteral("djh")).toString();
    const QString refusal = DocPaymentRefusal(number, value("yfje"), value("sfje"), value("yhje"), value("hkje"));
    if (!refusal.isEmpty()) {
        m_context.notices->notice(refusal);
        return;
    }
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Yfkgl_Fk"), QStringLiteral("单据付款"), m_context, this));
    dialog->setProperty(handoff::DocumentNumber, number);
    dialog->exec();
    const bool paid = dialog->property(handoff::PaidAmount).isValid();
    dialog.reset();
    if (!paid)
        return;
    search();
    const int row = m_grid->model()->locate(QStringLiteral("djh"), number);
    if (row >= 0)
        m_grid->setCurrentRow(row);
}

void TF_Jthcx::redate()
{
    if (!button(QStringLiteral("btnModify"))->isEnabled() || view() != Documents || m_grid->rowCount() == 0)
        return;
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_ModiDateJh"), QStringLiteral("修改开单日期"), m_context, this));
    dialog->setProperty(handoff::DocumentNumber, m_grid->currentValue(QStringLiteral("djh")).toString());
    dialog->setProperty(handoff::DateChangeModeTag, QStringLiteral("audited"));
    dialog->exec();
    const QString saved = dialog->property(handoff::NewNumber).toString();
    dialog.reset();
    if (saved.isEmpty())
        return;
    search();
    const int row = m_grid->model()->locate(QStringLiteral("djh"), saved);
    if (row >= 0) {
        m_grid->setCurrentRow(row);
        showDetail();
    }
}

void TF_Jthcx::advancedSearch()
{
    std::unique_ptr<QDialog> dialog(
        m_context.registry->create(QStringLiteral("TF_Cgth_Zdth_Search"), QStringLiteral("高级查询"), m_context, this));
    if (dialog->exec() != QDialog::Accepted)
        return;
    const std::optional<DocSearchCriteria> s = SearchCriteriaOf(dialog.get());
    dialog.reset();
    if (!s)
        return;
    ApplyDocSearch(m_criteria, *s);
    m_period->startEdit()->setDate(QDate::fromString(s->from, QStringLiteral("yyyy-MM-dd")));
    m_period->endEdit()->setDate(QDate::fromString(s->to, QStringLiteral("yyyy-MM-dd")));
    m_key->setText(s->supplier.trimmed());
    search();
}

void TF_Jthcx::wholeReturn(bool fromLines)
{
    if (!button(QStringLiteral("btnWholeReturn"))->isEnabled())
        return;
    const QString number = currentNumber(fromLines);
    if (number.isEmpty())
        return;
    bool found = true;
    const QString refusal = DocWholeReturnRefusal(m_context.data->mainDb(), number, &found);
    if (!refusal.isEmpty()) {
        m_context.notices->notice(refusal);
        return;
    }
    if (!found)
        return;
    if (!property(ReturnNumber).toString().isEmpty()) {
        setProperty(ReturnReceipt, number);
        accept();
        return;
    }
    if (m_context.followOn)
        m_context.followOn->ReturnSourceNo = number;
    accept();
}
