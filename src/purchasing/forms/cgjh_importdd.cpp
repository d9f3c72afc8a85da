#include "purchasing/forms/cgjh_importdd.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/doccontext.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"
#include "screenkit/gridmodel.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

template <typename T>
T *Named(T *widget, const char *name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

DataGrid *ListGrid(const QSqlDatabase &db, const QList<GridColumn> &columns, QWidget *parent)
{
    auto *grid = new DataGrid(parent);
    auto *model = new SqlGridModel(db);
    model->setColumns(columns);
    model->setKeyField(QStringLiteral("id"));
    grid->setModel(model);
    return grid;
}

void Open(DataGrid *grid, const ListStatement &st)
{
    static_cast<SqlGridModel *>(grid->model())->setStatement(st.body, st.order, st.binds);
    grid->reload(ReloadTarget::First);
}

QList<GridColumn> OrderLineColumns(bool withOrder)
{
    QList<GridColumn> c;
    if (withOrder)
        c << ListColumn("gl_djh", "单据号", 120) << ListColumn("j_jhrq", "日期", 110, ColumnKind::DateText);
    c << ListColumn("g_sn", "商品编号", 100) << ListColumn("g_name", "商品名称", 150) << ListColumn("dw_name", "单位", 50)
      << ListColumn("gg_name", "产品规格", 80) << ListColumn("color_name", "颜色", 60);
    if (!withOrder)
        c << ListColumn("jh_dj", "单价", 80, ColumnKind::Money) << ListColumn("jh_dzl", "折扣", 50, ColumnKind::Number);
    c << ListColumn("jh_rksl", "采购数量", 70, ColumnKind::Quantity) << ListColumn("jh_sl", "订单数量", 70, ColumnKind::Quantity)
      << ListColumn("dsl", "剩余数量", 70, ColumnKind::Quantity);
    if (withOrder)
        c << ListColumn("jh_dj", "单价", 80, ColumnKind::Money) << ListColumn("jh_dzl", "折扣", 50, ColumnKind::Number);
    c << ListColumn("jh_zje", "总金额", 90, ColumnKind::Money);
    if (withOrder)
        c << ListColumn("ghs_name", "供货商", 120) << ListColumn("ck_name", "仓库", 90);
    for (const char *f : {"jh_je", "jh_tax", "jh_taxdj", "jh_taxje", "id"})
        c << HiddenColumn(f);
    return c;
}

} // namespace

TF_Cgjh_ImportDD::TF_Cgjh_ImportDD(const ScreenContext &context, QWidget *parent)
    : ScreenDialog(context.state->UiFontSize, parent), m_context(context),
      m_rules(context.data->mainDb(), *context.state, *context.notices)
{
    setObjectName(QStringLiteral("TF_Cgjh_ImportDD"));
    setWindowTitle(QStringLiteral("导入采购订单"));
    const QSqlDatabase db = context.data->mainDb();
    auto *layout = new QVBoxLayout(this);

    auto *top = new QHBoxLayout;
    m_warehouse = Named(new KeyedCombo(this), "comCk3");
    m_key = Named(new QLineEdit(this), "tKey3");
    m_period = new DateRangeBar(*context.clock, false, this);
    m_period->startEdit()->setObjectName(QStringLiteral("tdate31"));
    m_period->endEdit()->setObjectName(QStringLiteral("tdate32"));
    m_period->menuButton()->setObjectName(QStringLiteral("btnMenu"));
    auto *searchButton = Named(new QPushButton(QStringLiteral("查询(F2)"), this), "btnSearch3");
    m_finished = Named(new QCheckBox(QStringLiteral("显示已完成单据"), this), "chkDr");
    top->addWidget(new QLabel(QStringLiteral("收货仓库："), this));
    top->addWidget(m_warehouse);
    top->addWidget(new QLabel(QStringLiteral("供货商/单据号："), this));
    top->addWidget(m_key, 1);
    top->addWidget(new QLabel(QStringLiteral("查询时间："), this));
    top->addWidget(m_period);
    top->addWidget(searchButton);
    top->addWidget(m_finished);
    layout->addLayout(top);

    m_views = new QStackedWidget(this);
    auto *documentPanel = new QWidget(m_views);
    auto *dp = new QVBoxLayout(documentPanel);
    dp->setContentsMargins(0, 0, 0, 0);
    m_documents = ListGrid(db,
                           {ListColumn("ghs_name", "供货商名称", 120), ListColumn("gl_djh", "单据号", 120),
                            ListColumn("j_jhrq", "开单日期", 130, ColumnKind::DateText), ListColumn("ck_name", "入库仓库", 90),
                            ListColumn("j_yfje", "订单金额", 90, ColumnKind::Money), ListColumn("j_qk", "已导入", 50),
                            ListColumn("j_checker", "审核人", 70), ListColumn("j_chkrq", "审核时间", 90),
                            ListColumn("u_name", "经办人", 70), ListColumn("a_name", "操作员", 70),
                            ListColumn("j_note", "备注", 150), ListColumn("gl_djh2", "原始单号", 100), HiddenColumn("id")},
                           documentPanel);
    m_documents->setObjectName(QStringLiteral("cxGrid1"));
    m_documents->setFooter(QStringLiteral("ghs_name"), FooterKind::TextCount, QStringLiteral("记录数："));
    m_documents->setFooter(QStringLiteral("j_yfje"), FooterKind::Sum);
    auto *detailBar = new QHBoxLayout;
    detailBar->addWidget(new QLabel(QStringLiteral("单据的详细信息："), documentPanel));
    m_message = Named(new QLabel(documentPanel), "LMsg");
    detailBar->addWidget(m_message, 1);
    m_orderLines = ListGrid(db, OrderLineColumns(false), documentPanel);
    m_orderLines->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    m_lines = ListGrid(db, OrderLineColumns(true), m_views);
    m_lines->setObjectName(QStringLiteral("cxGrid2"));
    m_lines->setFooter(QStringLiteral("gl_djh"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (DataGrid *g : {m_orderLines, m_lines})
        for (const char *f : {"jh_rksl", "jh_sl", "dsl", "jh_zje", "jh_je", "jh_taxje"})
            g->setFooter(QString::fromLatin1(f), FooterKind::Sum);
    dp->addWidget(m_documents, 3);
    dp->addLayout(detailBar);
    dp->addWidget(m_orderLines, 2);
    m_views->addWidget(documentPanel);
    m_views->addWidget(m_lines);
    layout->addWidget(m_views, 1);

    auto *bottom = new QHBoxLayout;
    auto *hints = new QVBoxLayout;
    hints->addWidget(new QLabel(QStringLiteral("明细表可以按住[CTRL]或[Shift]键,用鼠标点击列表中的商品实现多选，"), this));
    hints->addWidget(new QLabel(QStringLiteral("点击【确定】按钮或者右键添加     明细表可以查询商品信息"), this));
    bottom->addLayout(hints, 1);
    m_documentView = Named(new QRadioButton(QStringLiteral("单据表"), this), "rDjb");
    m_lineView = Named(new QRadioButton(QStringLiteral("明细表"), this), "rMxb");
    m_ordered = Named(new QCheckBox(QStringLiteral("导入单据的原始数量"), this), "chkYs");
    auto *ok = Named(new QPushButton(QStringLiteral("确定"), this), "btn_OK3");
    auto *exportButton = Named(new QPushButton(QStringLiteral("导出"), this), "btn_Export3");
    auto *exit = Named(new QPushButton(QStringLiteral("退出"), this), "btn_Exit3");
    exportButton->setAutoDefault(false);
    connect(exportButton, &QPushButton::clicked, this, &TF_Cgjh_ImportDD::exportList);
    for (QWidget *w : {static_cast<QWidget *>(m_documentView), static_cast<QWidget *>(m_lineView),
                       static_cast<QWidget *>(m_ordered), static_cast<QWidget *>(ok), static_cast<QWidget *>(exportButton),
                       static_cast<QWidget *>(exit)})
        bottom->addWidget(w);
    layout->addLayout(bottom);

    auto *popup = new QMenu(m_lines);
    connect(popup->addAction(QStringLiteral("添加选中商品(&Z)")), &QAction::triggered, this, [this] { addSelected(); });
    m_lines->setPopupMenu(popup);

    connect(searchButton, &QPushButton::clicked, this, &TF_Cgjh_ImportDD::search);
    connect(m_period, &DateRangeBar::periodChosen, this, &TF_Cgjh_ImportDD::search);
    connect(m_documentView, &QRadioButton::toggled, this, [this](bool on) {
        m_views->setCurrentIndex(on ? 0 : 1);
        search();
    });
    connect(m_documents, &DataGrid::currentRowChanged, this, [this](int) { showOrderLines(); });
    connect(ok, &QPushButton::clicked, this, &TF_Cgjh_ImportDD::accept);
    connect(exit, &QPushButton::clicked, this, &QDialog::reject);
    keys()->bind(Qt::Key_F2, [this] { search(); });
    connect(this, &ScreenDialog::opened, this, &TF_Cgjh_ImportDD::activate);
    resize(900, 560);
}

TF_Cgjh_ImportDD::~TF_Cgjh_ImportDD() = default;

QString TF_Cgjh_ImportDD::exportList()
{
    // The list the view shows: the orders (单据表) or the open lines (明细表).
    const DataGrid &grid = lineView() ? *m_lines : *m_documents;
    if (grid.rowCount() == 0)
        return QString();
    if (!m_files) {
        m_ownFiles = std::make_unique<DialogFileChoice>();
        m_files = m_ownFiles.get();
    }
    return ExportGrid(grid, *m_files, *m_context.notices, this);
}

DocumentContext *TF_Cgjh_ImportDD::receipt() const
{
    return DocumentContextOf(this);
}

void TF_Cgjh_ImportDD::activate()
{
    const LoginState &state = *m_context.state;
    FillKeyedCombo(m_warehouse, m_rules.warehouses(), true);
    const QDate today = m_context.clock->today();
    m_period->startEdit()->setDate(QDate(today.year(), today.month(), 1));
    m_period->endEdit()->setDate(today);
    m_key->clear();
    m_ordered->setChecked(false);
    m_finished->setChecked(false);
    const bool cost = state.RightShowCost;
    const bool discount = IsTrue(state.UseDiscount) && cost;
    m_documents->setColumnGated(QStringLiteral("j_yfje"), !cost);
    m_documents->setColumnGated(QStringLiteral("gl_djh2"), !IsTrue(state.UseOriginalDocNo));
    SetMoneyColumnFormat(*m_documents, QStringLiteral("j_yfje"), state);
    SetMoneyFooterFormat(*m_documents, QStringLiteral("j_yfje"), state);
    for (DataGrid *g : {m_orderLines, m_lines}) {
        g->setColumnGated(QStringLiteral("jh_dj"), !cost);
        g->setColumnGated(QStringLiteral("jh_zje"), !cost);
        g->setColumnGated(QStringLiteral("jh_dzl"), !discount);
        g->setColumnGated(QStringLiteral("color_name"), !IsTrue(state.UseGoodsColour));
        SetMoneyColumnFormat(*g, QStringLiteral("jh_dj"), state);
        SetMoneyColumnFormat(*g, QStringLiteral("jh_zje"), state);
        SetMoneyFooterFormat(*g, QStringLiteral("jh_zje"), state);
        for (const char *f : {"jh_rksl", "jh_sl", "dsl"}) {
            SetQtyColumnFormat(*g, QString::fromLatin1(f), state);
            SetQtyFooterFormat(*g, QString::fromLatin1(f), state);
        }
    }
    if (m_documentView->isChecked())
        search();
    else
        m_documentView->setChecked(true);  // shows its panel and searches
}

bool TF_Cgjh_ImportDD::lineView() const
{
    return m_lineView->isChecked();
}

void TF_Cgjh_ImportDD::setLineView(bool lines)
{
    (lines ? m_lineView : m_documentView)->setChecked(true);
}

OrderImportFilter TF_Cgjh_ImportDD::filter() const
{
    OrderImportFilter f;
    f.from = m_period->startEdit()->dateText();
    f.to = m_period->endEdit()->dateText();
    f.warehouse = m_warehouse->currentKey();
    f.key = m_key->text();
    f.showFinished = m_finished->isChecked();
    return f;
}

void TF_Cgjh_ImportDD::search()
{
    if (lineView()) {
        Open(m_lines, m_rules.lines(filter()));
        return;
    }
    Open(m_documents, m_rules.documents(filter()));
    showOrderLines();
}

void TF_Cgjh_ImportDD::showOrderLines()
{
    m_message->clear();
    if (m_documents->rowCount() == 0) {
        Open(m_orderLines, m_rules.orderLines(QString()));
        return;
    }
    const QString order = m_documents->currentValue(QStringLiteral("gl_djh")).toString();
    m_message->setText(order + QLatin1Char(' ') + m_documents->currentValue(QStringLiteral("ck_name")).toString());
    Open(m_orderLines, m_rules.orderLines(order));
}

bool TF_Cgjh_ImportDD::addSelected()
{
    DocumentContext *context = receipt();
    QList<qint64> ids;
    for (const QVariant &key : m_lines->selectedKeys())
        ids << key.toLongLong();
    if (!context || ids.isEmpty())
        return false;
    if (std::optional<ImportedOrderHeader> h = m_rules.importLines(*context, ids, m_ordered->isChecked())) {
        m_imported = h;
        return true;
    }
    return false;
}

void TF_Cgjh_ImportDD::accept()
{
    DocumentContext *context = receipt();
    if (!lineView()) {
        if (!context || m_documents->rowCount() == 0)
            return;
        const QString order = m_documents->currentValue(QStringLiteral("gl_djh")).toString();
        if (std::optional<ImportedOrderHeader> h = m_rules.importDocument(*context, order, m_ordered->isChecked()))
            m_imported = h;
        else
            return;
    } else {
        addSelected();
    }
    ScreenDialog::accept();
}
