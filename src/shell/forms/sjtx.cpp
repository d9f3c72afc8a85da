#include "shell/forms/sjtx.h"

#include "foundation/db/dberror.h"
#include "foundation/forms/combofill.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/rights.h"
#include "report/model/reportoutput.h"
#include "screenkit/chooserpanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/excel/exportaction.h"
#include "screenkit/excel/gridexport.h"
#include "screenkit/filechoice.h"
#include "screenkit/partnergridmodel.h"
#include "screenkit/trees.h"
#include "shell/forms/pictures.h"
#include "shell/reminderqueries.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

GridColumn column(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text)
{
    return GridColumn{QString::fromLatin1(field), QString::fromUtf8(caption), width, kind};
}

// The popup of a grid: "导出到Excel(&E)", enabled while the grid has rows.
void addExportPopup(DataGrid *grid, FileChoice &files, Notices &notices)
{
    auto *menu = new QMenu(grid);
    QAction *item = AddExportGridItem(menu, grid, files, notices, QStringLiteral("导出到Excel(&E)"));
    grid->setPopupMenu(menu, [grid, item](QMenu *) { item->setEnabled(grid->rowCount() > 0); });
}

} // namespace

TF_Sjtx::TF_Sjtx(const QSqlDatabase &db, const LoginState &state, Notices &notices, FileChoice &files,
                 ReportOutput &output, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices), m_files(files),
      m_output(output)
{
    setObjectName(QStringLiteral("TF_Sjtx"));
    setWindowTitle(QStringLiteral("今日事件提醒"));
    resize(860, 560);

    btnPrint = NamedButton(this, "btnPrint", QStringLiteral("打印"));
    btnExport = NamedButton(this, "btnExport", QStringLiteral("导出"));
    btnExit = NamedButton(this, "btnExit", QStringLiteral("退出"));
    for (QPushButton *b : {btnPrint, btnExport, btnExit})
        b->setAutoDefault(false);

    // Stock alarm.
    auto *stockPage = new QWidget(this);
    stockPage->setObjectName(QStringLiteral("tsStock"));
    cbWarehouse = new KeyedCombo(stockPage);
    cbWarehouse->setObjectName(QStringLiteral("cbWarehouse"));
    cbWarehouse->setMinimumWidth(140);
    edSearch = new QLineEdit(stockPage);
    edSearch->setObjectName(QStringLiteral("edSearch"));
    InstallCharFilter(edSearch, CharFilter::StandardParen);
    btnSearch = NamedButton(stockPage, "btnSearch", QStringLiteral("查询(F2)"));
    btnSearch->setAutoDefault(false);
    m_stock = new SqlGridModel(m_db);  // the grids take their models
    m_stock->setColumns({column("g_sn", "商品编号", 110), column("g_name", "商品名称", 200), column("dw_name", "单位", 50),
                         column("gg_name", "规格型号", 100), column("color_name", "颜色", 60),
                         column("kc", "当前库存", 80, ColumnKind::Quantity),
                         column("g_zdkc", "最低库存", 80, ColumnKind::Quantity)});
    m_stock->setKeyField(QStringLiteral("g_sn"));
    gridStock = new DataGrid(stockPage);
    gridStock->setObjectName(QStringLiteral("gridStock"));
    gridStock->setModel(m_stock);
    gridStock->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("商品合计："));
    SetQtyColumnFormat(*gridStock, QStringLiteral("kc"), m_state);
    SetQtyColumnFormat(*gridStock, QStringLiteral("g_zdkc"), m_state);
    auto *stockBar = new QHBoxLayout;
    stockBar->addWidget(new QLabel(QStringLiteral("仓库："), stockPage));
    stockBar->addWidget(cbWarehouse);
    stockBar->addWidget(new QLabel(QStringLiteral("查找："), stockPage));
    stockBar->addWidget(edSearch, 1);
    stockBar->addWidget(btnSearch);
    auto *stockLayout = new QVBoxLayout(stockPage);
    stockLayout->addLayout(stockBar);
    stockLayout->addWidget(gridStock, 1);

    // Receivables.
    auto *duePage = new QWidget(this);
    duePage->setObjectName(QStringLiteral("tsReceivables"));
    edCustomer = new QLineEdit(duePage);
    edCustomer->setObjectName(QStringLiteral("edCustomer"));
    InstallCharFilter(edCustomer, CharFilter::Standard);
    btnCustomer = new QToolButton(duePage);
    btnCustomer->setObjectName(QStringLiteral("btnCustomer"));
    btnCustomer->setText(QStringLiteral("…"));
    chkAllCustomers = new QCheckBox(QStringLiteral("查询全部客户"), duePage);
    chkAllCustomers->setObjectName(QStringLiteral("chkAllCustomers"));
    ChooserOptions options;
    options.caption = QStringLiteral("选择客户");
    options.searchFields = {QStringLiteral("kh_name"), QStringLiteral("kh_jm"), QStringLiteral("kh_sn")};
    options.codeField = QStringLiteral("kh_sn");
    options.nameField = QStringLiteral("kh_name");
    picker = new ChooserPanel(options, m_state.UiFontSize, duePage);
    picker->setObjectName(QStringLiteral("picker"));
    picker->setWindowFlags(Qt::Widget);  // a panel inside the screen
    picker->addButton()->hide();
    picker->modifyButton()->hide();
    RowSetModel *customers = NewPartnerGridModel(
        m_customers, {column("kh_sn", "客户编号", 90), column("kh_name", "客户名称", 220), column("kh_jm", "简码", 90)});
    customers->setKeyField(QStringLiteral("kh_sn"));
    picker->setModel(customers);
    picker->setMaximumHeight(260);
    picker->hide();
    m_receivables = new SqlGridModel(m_db);
    m_receivables->setColumns({HiddenColumn("id", ColumnKind::Integer), column("kh_name", "客户名称", 160),
                               column("gl_djh", "单据号", 120), column("k_rq", "日期", 120, ColumnKind::DateText),
                               column("k_ljje", "欠款金额", 90, ColumnKind::Money), column("k_fkfs", "付款方式", 80),
                               column("u_name", "经办人", 70), column("k_djtxt", "单据类型", 90),
                               column("k_note", "备注", 140)});
    gridReceivables = new DataGrid(duePage);
    gridReceivables->setObjectName(QStringLiteral("gridReceivables"));
    gridReceivables->setModel(m_receivables);
    gridReceivables->setFooter(QStringLiteral("kh_name"), FooterKind::TextCount, QStringLiteral("记录数："));
    SetMoneyColumnFormat(*gridReceivables, QStringLiteral("k_ljje"), m_state);
    auto *dueBar = new QHBoxLayout;
    dueBar->addWidget(new QLabel(QStringLiteral("客户："), duePage));
    dueBar->addWidget(edCustomer, 1);
    dueBar->addWidget(btnCustomer);
    dueBar->addWidget(chkAllCustomers);
    auto *dueLayout = new QVBoxLayout(duePage);
    dueLayout->addLayout(dueBar);
    dueLayout->addWidget(picker);
    dueLayout->addWidget(gridReceivables, 1);

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("pages"));
    pages->addTab(stockPage, QStringLiteral("商品库存量报警"));
    pages->addTab(duePage, QStringLiteral("我方收款提醒"));

    panes = new StatusPanes(2, this);
    panes->setObjectName(QStringLiteral("panes"));
    picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picture"));
    picture->setPixmap(ReminderBell(48));
    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(btnPrint);
    top->addWidget(btnExport);
    top->addWidget(btnExit);
    top->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(pages, 1);
    layout->addWidget(panes);

    addExportPopup(gridStock, m_files, m_notices);
    addExportPopup(gridReceivables, m_files, m_notices);

    connect(btnPrint, &QPushButton::clicked, this, &TF_Sjtx::btnPrintClick);
    connect(btnExport, &QPushButton::clicked, this, &TF_Sjtx::btnExportClick);
    connect(btnExit, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSearch, &QPushButton::clicked, this, &TF_Sjtx::stockSearch);
    connect(edSearch, &QLineEdit::returnPressed, this, &TF_Sjtx::stockSearch);
    connect(cbWarehouse, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_filling)
            stockSearch();
    });
    connect(pages, &QTabWidget::currentChanged, this, [this](int index) {
        if (index == 1)
            receivablesSearch();
    });
    connect(edCustomer, &QLineEdit::textEdited, this, [this](const QString &text) {
        m_customerSn.clear();  // the typed text no longer names the picked customer
        openPicker(text);
    });
    connect(btnCustomer, &QToolButton::clicked, this, [this] { openPicker(edCustomer->text()); });
    connect(chkAllCustomers, &QCheckBox::toggled, this, [this](bool on) {
        if (!on)
            return;
        edCustomer->clear();
        m_customerSn.clear();
        closePicker();
        receivablesSearch();
    });
    connect(picker, &QDialog::accepted, this, [this] {
        edCustomer->setText(picker->chosenName());
        m_customerSn = picker->chosenCode();
        receivablesSearch();
    });
    keys()->addEnterOwner(edSearch);
    keys()->bind(Qt::Key_F2, [this] {
        if (pages->currentIndex() == 1)
            receivablesSearch();
        else
            stockSearch();
    });
    keys()->bind(Qt::Key_F5, [this] {
        if (pickerOpen())
            takeCustomer();
    });
    keys()->bind(Qt::Key_Escape, [this] {
        if (pickerOpen())
            closePicker();
        else
            reject();
    });
    connect(this, &ScreenDialog::opened, this, &TF_Sjtx::FormActivate);
}

void TF_Sjtx::FormActivate()
{
    try {
        OpenCustomerList(m_db, m_state, m_customers, QStringLiteral("0"));
        picker->grid()->reload(ReloadTarget::First);
        m_filling = true;
        FillKeyedCombo(cbWarehouse, ReminderWarehouses(m_db, m_state), true);
        m_filling = false;
        edSearch->clear();
        edCustomer->clear();
        m_customerSn.clear();
        closePicker();
        stockSearch();
        panes->setPaneText(1, QString());
        if (gridStock->rowCount() > 0)
            pages->setCurrentIndex(0);
        pages->setTabVisible(1, HasRight(m_db, m_state, QStringLiteral("wlzk"), 3));
    } catch (const DbError &e) {
        m_filling = false;
        m_notices.notice(e.text());
    }
}

void TF_Sjtx::search(SqlGridModel *model, DataGrid *grid, int pane, const QString &caption,
                     const std::function<ListStatement()> &statement)
{
    try {
        const ListStatement s = statement();
        model->setStatement(s.body, s.order, s.binds);
        grid->reload(ReloadTarget::First);
        grid->recomputeFooter();
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
    panes->setPaneText(pane, caption + QStringLiteral("%1 条").arg(grid->rowCount()));
}

void TF_Sjtx::stockSearch()
{
    search(m_stock, gridStock, 0, QStringLiteral("库存提醒："),
           [this] { return StockAlarmStatement(m_db, cbWarehouse->currentKey(), edSearch->text()); });
}

void TF_Sjtx::receivablesSearch()
{
    const QString customer = edCustomer->text().isEmpty() ? QString() : m_customerSn;
    search(m_receivables, gridReceivables, 1, QStringLiteral("欠款提醒："),
           [this, customer] { return ReceivablesStatement(m_db, m_state, customer); });
}

DataGrid *TF_Sjtx::activeGrid() const
{
    return pages->currentIndex() == 1 ? gridReceivables : gridStock;
}

void TF_Sjtx::btnPrintClick()
{
    if (pages->currentIndex() != 0 || gridStock->rowCount() == 0)
        return;
    try {
        PrintStockAlarm(m_db, m_state, m_output, cbWarehouse->currentKey(), edSearch->text(), cbWarehouse->currentText());
    } catch (const DbError &e) {
        m_notices.notice(e.text());
    }
}

void TF_Sjtx::btnExportClick()
{
    DataGrid *grid = activeGrid();
    if (grid->rowCount() > 0)
        ExportGrid(*grid, m_files, m_notices, this);
}

void TF_Sjtx::openPicker(const QString &text)
{
    chkAllCustomers->setChecked(false);
    picker->searchBox()->setText(text.trimmed());
    picker->show();
}

void TF_Sjtx::takeCustomer()
{
    picker->okButton()->click();
}

void TF_Sjtx::closePicker()
{
    picker->hide();
}

bool TF_Sjtx::pickerOpen() const
{
    return picker->isVisible();
}
