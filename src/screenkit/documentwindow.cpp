#include "screenkit/documentwindow.h"

#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "screenkit/barcodepanel.h"
#include "screenkit/datagrid.h"
#include "screenkit/dialogparts.h"
#include "screenkit/editors.h"
#include "screenkit/screenshapes.h"

#include <QAction>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

GridColumn col(const char *field, const char *caption, int width, ColumnKind kind = ColumnKind::Text)
{
    GridColumn c = ListColumn(field, caption, width, kind);
    // Until the screen applies the login state's formats (Set…Format adapters).
    if (kind == ColumnKind::Money)
        c.format = QStringLiteral("#,0.00;-#,0.00");
    else if (kind == ColumnKind::Quantity)
        c.format = QStringLiteral("#0.00;-#.00");
    return c;
}

QPushButton *button(QWidget *parent, const char *name, const char *text)
{
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

constexpr const char *kDeleteLineQuestion = "您确定要删除当前选中的商品吗！";

} // namespace

QList<GridColumn> DefaultLineColumns()
{
    GridColumn id = col("id", "ID", 40, ColumnKind::Integer);
    id.visible = false;
    return {id,
            col("g_sn", "商品编号", 100),
            col("g_name", "商品名称", 160),
            col("dw_name", "单位", 50),
            col("dj", "单价", 80, ColumnKind::Money),
            col("sl", "数量", 80, ColumnKind::Quantity),
            col("zje", "总金额", 100, ColumnKind::Money)};
}

DocumentWindow::DocumentWindow(const DocumentShape &shape, const QSqlDatabase &db, const LoginState &state,
                               const Clock &clock, Notices &notices, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_shape(shape), m_db(db), m_state(state), m_clock(clock),
      m_notices(notices), m_draft(std::make_unique<DraftLines>(db, shape.type, state))
{
    setWindowTitle(shape.caption);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("cxPage"));
    m_entryPage = new QWidget;
    m_entryPage->setObjectName(QStringLiteral("cxTab1"));
    auto *pendingPage = new QWidget;
    pendingPage->setObjectName(QStringLiteral("cxTab2"));
    auto *queryPage = new QWidget;
    queryPage->setObjectName(QStringLiteral("cxTab3"));
    m_pages->addTab(m_entryPage, shape.entryPage);
    m_pages->addTab(pendingPage, shape.pendingPage);
    m_pages->addTab(queryPage, shape.queryPage);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pages);

    buildEntryPage(m_entryPage);
    buildPendingPage(pendingPage);
    buildQueryPage(queryPage);

    keys()->bind(Qt::Key_F2, [this] { onF2(); });
    keys()->bind(Qt::Key_F5, [this] {
        // F5 leaves no field: a date being typed is taken first, as leaving the field would.
        if (m_shape.renumberOnDateExit && m_date->hasFocus())
            onDateLeft();
        if (m_hooks.save)
            m_hooks.save();
    });
    keys()->bind(Qt::Key_Escape, [this] { close(); });
    connect(this, &ScreenDialog::opened, this, [this] {
        if (m_hooks.opening)
            m_hooks.opening();
        startNew();
    });
    resize(960, 600);
}

DocumentWindow::~DocumentWindow() = default;

void DocumentWindow::buildEntryPage(QWidget *page)
{
    m_title = new QLabel(m_shape.title, page);
    m_title->setObjectName(QStringLiteral("LabelTitle"));
    QFont big = m_title->font();
    big.setPointSize(big.pointSize() + 6);
    big.setBold(true);
    m_title->setFont(big);
    m_title->setAlignment(Qt::AlignCenter);

    auto *headerBox = new QWidget(page);
    m_header = new QGridLayout(headerBox);
    m_header->setContentsMargins(8, 0, 8, 0);
    auto *dateLabel = new QLabel(m_shape.dateCaption, headerBox);
    dateLabel->setObjectName(QStringLiteral("LabelRq"));
    m_date = new DateEdit(headerBox);
    m_date->setObjectName(QStringLiteral("dateCg"));
    m_date->setKeyboardTracking(false);
    m_numberLabel = new QLabel(headerBox);
    m_numberLabel->setObjectName(QStringLiteral("gldjh"));
    m_header->addWidget(dateLabel, 0, 0);
    m_header->addWidget(m_date, 0, 1);
    m_header->addWidget(new QLabel(QStringLiteral("单号："), headerBox), 0, 2);
    m_header->addWidget(m_numberLabel, 0, 3);
    m_header->setColumnStretch(4, 1);
    connect(m_date, &QDateEdit::dateChanged, this, &DocumentWindow::onDateChanged);
    connect(m_date, &QDateEdit::editingFinished, this, [this] {
        if (m_shape.renumberOnDateExit && !m_askingDate)
            onDateLeft();
    });

    m_lines = new DataGrid(page);
    m_lines->setObjectName(QStringLiteral("cxGrid"));
    auto *model = new SqlGridModel(m_db);
    model->setColumns(m_shape.lineColumns);
    m_lines->setModel(model);
    if (model->hasField(QStringLiteral("g_sn")))
        m_lines->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("记录数："));
    for (const char *f : {"sl", "zje"})
        if (model->hasField(QString::fromLatin1(f)))
            m_lines->setFooter(QString::fromLatin1(f), FooterKind::Sum);
    connect(m_lines, &DataGrid::rowActivated, this, [this](int) {
        if (m_hooks.modify && lineCount() > 0 && m_modify->isEnabled())
            m_hooks.modify(m_lines->currentValue(QStringLiteral("id")));
    });

    m_bottom = new QWidget(page);
    m_bottom->setObjectName(QStringLiteral("bottomArea"));
    new QHBoxLayout(m_bottom);
    m_bottom->layout()->setContentsMargins(8, 0, 8, 0);

    m_buttons = new QGroupBox(page);
    m_buttons->setObjectName(QStringLiteral("RzGroupBox_Btns"));
    auto *row = new QHBoxLayout(m_buttons);
    m_add = button(m_buttons, "btnAdd", "添加商品(F2)");
    m_modify = button(m_buttons, "btnModi", "修改");
    m_delete = button(m_buttons, "btnDel", "删除");
    m_print = button(m_buttons, "btnPrint", "打印");
    for (QPushButton *b : {m_add, m_modify, m_delete, m_print})
        row->addWidget(b);
    m_save = button(page, "btnOK", "保存(F5)");
    m_exit = button(page, "btnCancel", "退出(Esc)");
    connect(m_add, &QPushButton::clicked, this, [this] {
        if (m_hooks.add)
            m_hooks.add();
    });
    connect(m_modify, &QPushButton::clicked, this, [this] {
        if (m_hooks.modify && lineCount() > 0)
            m_hooks.modify(m_lines->currentValue(QStringLiteral("id")));
    });
    connect(m_delete, &QPushButton::clicked, this, &DocumentWindow::removeCurrentLine);
    connect(m_print, &QPushButton::clicked, this, [this] {
        if (m_hooks.print)
            m_hooks.print();
    });
    connect(m_save, &QPushButton::clicked, this, [this] {
        ConfirmGridEdits(this);
        if (m_hooks.save)
            m_hooks.save();
    });
    connect(m_exit, &QPushButton::clicked, this, &QWidget::close);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_buttons);
    buttonRow->addStretch(1);
    buttonRow->addWidget(m_save);
    buttonRow->addWidget(m_exit);

    auto *v = new QVBoxLayout(page);
    v->addWidget(m_title);
    v->addWidget(headerBox);
    v->addWidget(m_lines, 1);
    v->addWidget(m_bottom);
    v->addLayout(buttonRow);

    // The lines' popup: the entry commands and the barcode panel.
    m_linesMenu = new QMenu(this);
    QAction *addItem = m_linesMenu->addAction(QStringLiteral("增加商品(&W)"));
    QAction *modItem = m_linesMenu->addAction(QStringLiteral("修改商品(&X)"));
    QAction *delItem = m_linesMenu->addAction(QStringLiteral("删除商品(&Y)"));
    connect(addItem, &QAction::triggered, m_add, &QPushButton::click);
    connect(modItem, &QAction::triggered, m_modify, &QPushButton::click);
    connect(delItem, &QAction::triggered, m_delete, &QPushButton::click);
    m_linesMenu->addSeparator();
    m_barcodeAction = m_linesMenu->addAction(QString());
    m_barcodeAction->setObjectName(QStringLiteral("barcodeToggle"));
    connect(m_barcodeAction, &QAction::triggered, this, [this] { setBarcodePanelShown(!m_barcodeShown); });
    m_lines->setPopupMenu(m_linesMenu, [this, addItem, modItem, delItem](QMenu *) {
        const bool lines = lineCount() > 0;
        addItem->setEnabled(m_entryAllowed);
        modItem->setEnabled(lines && m_entryAllowed);
        delItem->setEnabled(lines && m_entryAllowed);
        m_barcodeAction->setVisible(m_barcode != nullptr);
        m_barcodeAction->setText(barcodeToggleText());
    });

    if (m_shape.barcodePanel) {
        m_barcode = new BarcodePanel(page, m_shape.barcodeRepeatsItem, m_shape.barcodeEditorItem);
        keys()->addEnterOwner(m_barcode->entryBox());
        connect(m_barcode, &BarcodePanel::hideRequested, this, [this] { setBarcodePanelShown(false); });
        connect(m_barcode, &BarcodePanel::barcodeEntered, this, [this](const QString &code) {
            if (m_hooks.barcode && m_entryAllowed)
                m_hooks.barcode(code);
        });
        page->installEventFilter(this);
        m_barcode->raise();
    } else {
        m_barcodeShown = false;
    }
    m_barcodeAction->setText(barcodeToggleText());
    updateButtons();
}

QString DocumentWindow::barcodeToggleText() const
{
    return (m_barcodeShown ? QStringLiteral("隐藏条码输入面板(&") : QStringLiteral("显示条码输入面板(&"))
           + m_shape.barcodeToggleKey + QLatin1Char(')');
}

void DocumentWindow::setDocType(const DocType &type)
{
    m_draft = std::make_unique<DraftLines>(m_db, type, m_state);
    m_shape.type = type;
}

void DocumentWindow::buildPendingPage(QWidget *page)
{
    m_pendingBar = new QHBoxLayout;
    m_pendingKey = new QLineEdit(page);
    m_pendingKey->setObjectName(QStringLiteral("tchkKey"));
    InstallCharFilter(m_pendingKey, CharFilter::Standard);
    keys()->addEnterOwner(m_pendingKey);
    m_pendingOrder = new QComboBox(page);
    m_pendingOrder->setObjectName(QStringLiteral("comSort"));
    m_pendingOrder->addItems({QStringLiteral("顺序"), QStringLiteral("倒序")});
    m_pendingSearch = button(page, "btnSearch2", "查询(F2)");
    m_pendingBar->addWidget(new QLabel(m_shape.pendingKeyCaption, page));
    m_pendingBar->addWidget(m_pendingKey, 1);
    m_pendingBar->addWidget(new QLabel(QStringLiteral("日期排列："), page));
    m_pendingBar->addWidget(m_pendingOrder);
    m_pendingBar->addWidget(m_pendingSearch);
    connect(m_pendingSearch, &QPushButton::clicked, this, &DocumentWindow::runPendingSearch);
    connect(m_pendingKey, &QLineEdit::returnPressed, this, &DocumentWindow::runPendingSearch);
    connect(m_pendingOrder, &QComboBox::currentIndexChanged, this, &DocumentWindow::runPendingSearch);

    m_pending = new DataGrid(page);
    m_pending->setObjectName(QStringLiteral("pendingGrid"));
    m_pendingLower = new QFrame(page);
    m_pendingLower->setObjectName(QStringLiteral("pendingLower"));
    m_pendingLowerStrip = new QWidget(m_pendingLower);
    m_pendingLowerStrip->setObjectName(QStringLiteral("pendingLowerStrip"));
    m_pendingLowerStrip->setGeometry(0, 0, 800, 34);
    m_pendingLowerBar = new QHBoxLayout(m_pendingLowerStrip);
    m_pendingLowerBar->setContentsMargins(4, 2, 4, 2);
    m_pendingLines = new DataGrid(m_pendingLower);
    m_pendingLines->setObjectName(QStringLiteral("pendingLinesGrid"));
    auto *linesModel = new SqlGridModel(m_db);
    linesModel->setColumns(m_shape.lineColumns);
    m_pendingLines->setModel(linesModel);
    for (const char *f : {"sl", "zje"})
        if (linesModel->hasField(QString::fromLatin1(f)))
            m_pendingLines->setFooter(QString::fromLatin1(f), FooterKind::Sum);
    m_pendingLines->move(0, 36);
    m_pendingLower->installEventFilter(this);

    connect(m_pending, &DataGrid::currentRowChanged, this, [this](int row) {
        const QString number = row >= 0 ? m_pending->value(row, DocType::numberField()).toString() : QString();
        if (m_hooks.pendingSelected) {
            m_hooks.pendingSelected(number);
            return;
        }
        auto *model = static_cast<SqlGridModel *>(m_pendingLines->model());
        model->setStatement(m_draft->documentLinesBody(), m_draft->linesOrder(), {number});
        m_pendingLines->reload(ReloadTarget::First);
    });
    auto *v = new QVBoxLayout(page);
    v->addLayout(m_pendingBar);
    v->addWidget(m_pending, 1);
    v->addWidget(m_pendingLower);
}

void DocumentWindow::buildQueryPage(QWidget *page)
{
    m_period = new DateRangeBar(m_clock, false, page);
    m_period->setObjectName(QStringLiteral("periodBar"));
    m_queryKey = new QLineEdit(page);
    m_queryKey->setObjectName(QStringLiteral("queryKey"));
    InstallCharFilter(m_queryKey, CharFilter::Standard);
    keys()->addEnterOwner(m_queryKey);
    m_views = new QButtonGroup(page);
    auto *top = new QHBoxLayout;
    m_queryBar = top;
    top->addWidget(m_period);
    top->addWidget(new QLabel(QStringLiteral("关键字："), page));
    top->addWidget(m_queryKey);
    int id = 0;
    for (const char *text : {"单据表", "汇总表", "明细表"}) {
        auto *r = new QRadioButton(QString::fromUtf8(text), page);
        r->setObjectName(QStringLiteral("queryView%1").arg(id));
        m_views->addButton(r, id++);
        top->addWidget(r);
    }
    m_views->button(0)->setChecked(true);
    top->addStretch(1);
    m_query = new DataGrid(page);
    m_query->setObjectName(QStringLiteral("queryGrid"));
    m_queryLower = new QFrame(page);
    m_queryLower->setObjectName(QStringLiteral("queryLower"));
    m_queryDetailLabel = new QLabel(m_queryLower);
    m_queryDetailLabel->setObjectName(QStringLiteral("queryDetailLabel"));
    m_queryDetail = new DataGrid(m_queryLower);
    m_queryDetail->setObjectName(QStringLiteral("queryDetailGrid"));
    auto *lower = new QVBoxLayout(m_queryLower);
    lower->setContentsMargins(0, 0, 0, 0);
    lower->setSpacing(0);
    m_queryDetailLabel->setFixedHeight(36);
    lower->addWidget(m_queryDetailLabel);
    lower->addWidget(m_queryDetail, 1);
    auto *v = new QVBoxLayout(page);
    v->addLayout(top);
    v->addWidget(m_query, 1);
    v->addWidget(m_queryLower);

    auto run = [this] {
        const QueryView view = queryView();
        m_queryLower->setVisible(view == QueryView::Documents || (view == QueryView::Summary && m_shape.summaryDetail));
        if (m_hooks.runQuery)
            m_hooks.runQuery();
    };
    connect(m_period, &DateRangeBar::periodChosen, this, run);
    connect(m_queryKey, &QLineEdit::returnPressed, this, run);
    connect(m_views, &QButtonGroup::idClicked, this, run);
}

// ---- Entry page ---------------------------------------------------------------------------

void DocumentWindow::setNumber(const QString &number)
{
    m_number = number;
    m_numberLabel->setText(number);
    reloadLines();
}

QDate DocumentWindow::documentDate() const
{
    return m_date->date();
}

QString DocumentWindow::documentDay() const
{
    return m_date->date().toString(QStringLiteral("yyyy-MM-dd"));
}

void DocumentWindow::startNew(bool keepDate)
{
    const QDateTime now = m_clock.now();
    const QDate day = keepDate ? m_date->date() : now.date();
    {
        // The time shows where the documents carry it (DateEdit::setShowsTime).
        const QSignalBlocker block(m_date);
        m_date->setDateTime(QDateTime(day, now.time()));
    }
    m_lastDate = day;
    m_pages->setCurrentIndex(EntryPage);
    setNumber(m_draft->newNumber(documentDay()));
    if (m_hooks.started)
        m_hooks.started();
}

void DocumentWindow::reloadLines()
{
    auto *model = static_cast<SqlGridModel *>(m_lines->model());
    if (m_hooks.linesStatement) {
        const ListStatement st = m_hooks.linesStatement(m_number);
        model->setStatement(st.body, st.order, st.binds);
    } else {
        model->setStatement(m_draft->linesBody(), m_draft->linesOrder(), m_draft->linesBinds(m_number));
    }
    m_lines->reload(ReloadTarget::KeepKey);
    updateButtons();
    if (m_hooks.linesReloaded)
        m_hooks.linesReloaded();
}

int DocumentWindow::lineCount() const
{
    return m_lines->rowCount();
}

void DocumentWindow::setEntryAllowed(bool allowed)
{
    m_entryAllowed = allowed;
    m_buttons->setEnabled(allowed);
}

void DocumentWindow::setPrintBeforeSave(bool allowed)
{
    m_printBeforeSave = allowed;
    updateButtons();
}

void DocumentWindow::updateButtons()
{
    const bool lines = lineCount() > 0;
    m_modify->setVisible(lines);
    m_delete->setVisible(lines);
    m_print->setVisible(lines && m_printBeforeSave);
}

void DocumentWindow::removeCurrentLine()
{
    if (lineCount() == 0)
        return;
    const QVariant id = m_lines->currentValue(QStringLiteral("id"));
    if (m_hooks.remove) {
        m_hooks.remove(id);
    } else {
        if (!m_notices.confirm(QString::fromUtf8(kDeleteLineQuestion)))
            return;
        m_draft->removeLine(id.toLongLong());
    }
    reloadLines();
}

void DocumentWindow::onF2()
{
    switch (m_pages->currentIndex()) {
    case EntryPage:
        if (m_entryAllowed && m_hooks.add)
            m_hooks.add();
        break;
    case PendingPage:
        runPendingSearch();
        break;
    default:
        m_queryDetail->setVisible(queryView() == QueryView::Documents);
        if (m_hooks.runQuery)
            m_hooks.runQuery();
        break;
    }
}

void DocumentWindow::onDateChanged(const QDate &date)
{
    const QDate today = m_clock.today();
    if (date > today) {
        m_askingDate = true;
        const bool taken = m_notices.confirm(FutureDateQuestion(date, today));
        m_askingDate = false;
        if (!taken) {
            const QSignalBlocker block(m_date);
            m_date->setDate(m_shape.todayOnRefusedDate ? today : m_lastDate);
            if (!m_shape.renumberOnDateExit && m_date->date() != m_lastDate)
                renumberForDate(DraftLines::SameDay::Keep);
            return;
        }
    }
    if (m_shape.renumberOnDateExit || date == m_lastDate)
        return;
    renumberForDate(DraftLines::SameDay::Keep);
}

void DocumentWindow::onDateLeft()
{
    renumberForDate(DraftLines::SameDay::Redraw);
}

bool DocumentWindow::renumberForDate(DraftLines::SameDay sameDay)
{
    const QString before = m_number;
    QString after;
    try {
        after = m_draft->renumberForDay(before, documentDay(), sameDay);
    } catch (const DbError &e) {
        // The move ran in one transaction: the lines stay under the number shown.
        m_notices.notice(QStringLiteral("更改日期失败：") + e.text());
        const QSignalBlocker block(m_date);
        m_date->setDate(m_lastDate);
        return false;
    }
    m_lastDate = m_date->date();
    if (after != before) {
        setNumber(after);
        if (m_hooks.renumbered)
            m_hooks.renumbered(before, after);
    }
    return true;
}

void DocumentWindow::setBarcodePanelShown(bool shown)
{
    if (!m_barcode)
        return;
    m_barcodeShown = shown;
    m_barcode->setVisible(shown);
    if (shown) {
        placeBarcodePanel();
        m_barcode->raise();
    }
}

void DocumentWindow::placeBarcodePanel()
{
    if (m_barcode)
        m_barcode->move(kBarcodePanelLeft, BarcodePanelTop(height(), m_entryPage->height()));
}

void DocumentWindow::placePendingLower()
{
    m_pendingLower->setFixedHeight(PendingLowerHeight(height()));
    if (m_queryLower)
        m_queryLower->setFixedHeight(PendingLowerHeight(height()));
    m_pendingLines->setGeometry(0, 36, m_pendingLower->width(), PendingLowerGridHeight(height()));
}

// ---- Pending and query pages --------------------------------------------------------------

bool DocumentWindow::pendingDescending() const
{
    return m_pendingOrder->currentIndex() == 1;
}

void DocumentWindow::runPendingSearch()
{
    if (m_hooks.refreshPending)
        m_hooks.refreshPending();
}

DocumentWindow::QueryView DocumentWindow::queryView() const
{
    return static_cast<QueryView>(m_views->checkedId());
}

void DocumentWindow::setQueryView(QueryView view)
{
    m_views->button(int(view))->setChecked(true);
    m_queryLower->setVisible(view == QueryView::Documents || (view == QueryView::Summary && m_shape.summaryDetail));
}

// ---- Window --------------------------------------------------------------------------------

void DocumentWindow::reject()
{
    if (m_closing) {
        ScreenDialog::reject();
        return;
    }
    close();
}

void DocumentWindow::closeEvent(QCloseEvent *event)
{
    ConfirmGridEdits(this);
    if (lineCount() > 0) {
        switch (m_notices.ask(m_shape.type.unsavedQuestion, true)) {
        case Notices::Answer::Cancel:
            event->ignore();
            return;
        case Notices::Answer::Yes:
            // Closes whatever the save's outcome, as the operator asked to leave.
            if (m_hooks.save)
                m_hooks.save();
            break;
        default:
            if (m_hooks.discard)
                m_hooks.discard();
            else
                m_draft->discard(m_number);
            reloadLines();
            break;
        }
    }
    m_closing = true;
    ScreenDialog::closeEvent(event);
    m_closing = false;
}

void DocumentWindow::resizeEvent(QResizeEvent *event)
{
    ScreenDialog::resizeEvent(event);
    placePendingLower();
    placeBarcodePanel();
}

bool DocumentWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_entryPage && event->type() == QEvent::Resize)
        placeBarcodePanel();
    if (watched == m_pendingLower && event->type() == QEvent::Resize) {
        m_pendingLines->setGeometry(0, 36, m_pendingLower->width(), PendingLowerGridHeight(height()));
        m_pendingLowerStrip->setGeometry(0, 0, m_pendingLower->width(), 34);
    }
    return ScreenDialog::eventFilter(watched, event);
}
