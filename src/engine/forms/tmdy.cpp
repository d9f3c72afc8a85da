#include "engine/forms/tmdy.h"

#include "engine/forms/reportdesign.h"
#include "engine/labelqueue.h"
#include "engine/printsupport.h"
#include "foundation/db/dberror.h"
#include "foundation/forms/displayformats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/sanitize.h"
#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

// ---- TF_Tmdy_Modi ----

TF_Tmdy_Modi::TF_Tmdy_Modi(const QSqlDatabase &db, Notices &notices, const QVariant &queueId, const QString &goods,
                           const QString &count, int uiFontSize, QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_db(db), m_notices(notices), m_id(queueId)
{
    setObjectName(QStringLiteral("TF_Tmdy_Modi"));
    setWindowTitle(QStringLiteral("条码数量"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto *layout = new QVBoxLayout(this);
    auto *prompt = new QLabel(QStringLiteral("请输入所选商品要打印条码的数量"), this);
    layout->addWidget(prompt);
    auto *form = new QGridLayout;
    form->addWidget(new QLabel(QStringLiteral("商品编号："), this), 0, 0);
    auto *code = new QLineEdit(goods, this);
    code->setObjectName(QStringLiteral("edt_Gsn"));
    code->setReadOnly(true);
    form->addWidget(code, 0, 1);
    form->addWidget(new QLabel(QStringLiteral("条码数量："), this), 1, 0);
    m_count = new QLineEdit(this);
    m_count->setObjectName(QStringLiteral("edt_Tmsl"));
    // Whole numbers of up to four digits; a leading minus can be typed and is refused on saving.
    m_count->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?\\d{0,4}")), m_count));
    m_count->setText(count);
    form->addWidget(m_count, 1, 1);
    layout->addLayout(form);

    auto *buttons = new QHBoxLayout;
    auto *saveButton = new QPushButton(QStringLiteral("保存(F5)"), this);
    saveButton->setObjectName(QStringLiteral("btn_Save"));
    auto *exitButton = new QPushButton(QStringLiteral("退出(Esc)"), this);
    exitButton->setObjectName(QStringLiteral("btn_Exit"));
    buttons->addStretch();
    buttons->addWidget(saveButton);
    buttons->addWidget(exitButton);
    layout->addLayout(buttons);
    setFixedSize(sizeHint());

    connect(saveButton, &QPushButton::clicked, this, &TF_Tmdy_Modi::save);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);
    keys()->bind(Qt::Key_F5, [this] { save(); });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    m_count->setFocus();
    m_count->selectAll();
}

void TF_Tmdy_Modi::save()
{
    QString refusal;
    try {
        refusal = SetLabelCount(m_db, m_id, m_count->text());
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        m_count->setFocus();
        return;
    }
    accept();
}

// ---- TF_Tmdy ----

namespace {

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TF_Tmdy::TF_Tmdy(const QSqlDatabase &db, const LoginState &state, Notices &notices, ReportOutput &output,
                 const QString &templateFolder, QWidget *parent)
    : ScreenDialog(state.UiFontSize, parent), m_db(db), m_state(state), m_notices(notices), m_output(output),
      m_folder(templateFolder)
{
    setObjectName(QStringLiteral("TF_Tmdy"));
    setWindowTitle(QStringLiteral("条码打印"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    resize(760, 520);

    auto *layout = new QVBoxLayout(this);

    // Search box, picker button, quantity, 增加.
    auto *top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("商品："), this));
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("edt_Search"));
    m_search->setPlaceholderText(QStringLiteral("回车键开始查询"));
    InstallCharFilter(m_search, CharFilter::Standard);
    keys()->addEnterOwner(m_search);
    top->addWidget(m_search, 1);
    m_searchButton = MakeButton(this, "btn_Search", QStringLiteral("…"));
    m_searchButton->setFixedWidth(28);
    top->addWidget(m_searchButton);
    top->addSpacing(12);
    top->addWidget(new QLabel(QStringLiteral("打印数量(F3)："), this));
    m_quantity = new QLineEdit(this);
    m_quantity->setObjectName(QStringLiteral("edt_Sl"));
    m_quantity->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,3}")), m_quantity));
    m_quantity->setMaxLength(3);
    m_quantity->setFixedWidth(60);
    top->addWidget(m_quantity);
    auto *addButton = MakeButton(this, "btn_Add", QStringLiteral("增加(F4)"));
    top->addWidget(addButton);
    layout->addLayout(top);

    // The goods picker, shown over the queue while searching.
    m_pickerPanel = new QFrame(this);
    m_pickerPanel->setObjectName(QStringLiteral("panel_Goods"));
    m_pickerPanel->setFrameShape(QFrame::StyledPanel);
    auto *pickerLayout = new QVBoxLayout(m_pickerPanel);
    m_picker = new DataGrid(m_pickerPanel);
    m_picker->setObjectName(QStringLiteral("grid_Goods"));
    m_pickerModel = new SqlGridModel(m_db);
    m_pickerModel->setKeyField(QStringLiteral("g_sn"));
    {
        GridColumn sn{QStringLiteral("g_sn"), QStringLiteral("商品编号"), 100};
        GridColumn name{QStringLiteral("g_name"), QStringLiteral("商品名称"), 200};
        GridColumn jm{QStringLiteral("g_jm"), QStringLiteral("简码"), 80};
        GridColumn tm{QStringLiteral("g_sptm"), QStringLiteral("商品条码"), 130};
        GridColumn sj{QStringLiteral("g_sj"), QStringLiteral("零售价"), 80, ColumnKind::Money};
        m_pickerModel->setColumns({sn, name, jm, tm, sj});
    }
    m_pickerModel->setStatement(LabelPickerSql(), LabelPickerOrder());
    m_picker->setModel(m_pickerModel);
    m_picker->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("商品合计:"));
    SetMoneyColumnFormat(*m_picker, QStringLiteral("g_sj"), state);
    pickerLayout->addWidget(m_picker);
    auto *pickerButtons = new QHBoxLayout;
    auto *pickOk = MakeButton(m_pickerPanel, "btn_PickOk", QStringLiteral("确定(F5)"));
    auto *pickExit = MakeButton(m_pickerPanel, "btn_PickExit", QStringLiteral("退出(Esc)"));
    pickerButtons->addStretch();
    pickerButtons->addWidget(pickOk);
    pickerButtons->addWidget(pickExit);
    pickerLayout->addLayout(pickerButtons);
    m_pickerPanel->hide();
    layout->addWidget(m_pickerPanel, 1);

    // The queue.
    m_queue = new DataGrid(this);
    m_queue->setObjectName(QStringLiteral("grid_Tm"));
    m_queueModel = new SqlGridModel(m_db);
    m_queueModel->setKeyField(QStringLiteral("id"));
    {
        GridColumn id{QStringLiteral("id"), QStringLiteral("ID"), 40, ColumnKind::Integer};
        id.visible = false;
        GridColumn sn{QStringLiteral("g_sn"), QStringLiteral("商品编号"), 100};
        GridColumn name{QStringLiteral("g_name"), QStringLiteral("商品名称"), 200};
        GridColumn tm{QStringLiteral("g_sptm"), QStringLiteral("商品条码"), 130};
        GridColumn sj{QStringLiteral("g_sj"), QStringLiteral("零售价"), 80, ColumnKind::Money};
        GridColumn sl{QStringLiteral("tm_sl"), QStringLiteral("数量"), 70, ColumnKind::Quantity};
        m_queueModel->setColumns({id, sn, name, tm, sj, sl});
    }
    m_queueModel->setStatement(LabelQueueSql(), LabelQueueOrder());
    m_queue->setModel(m_queueModel);
    m_queue->setFooter(QStringLiteral("g_sn"), FooterKind::TextCount, QStringLiteral("商品合计："));
    m_queue->setFooter(QStringLiteral("tm_sl"), FooterKind::Sum);
    SetMoneyColumnFormat(*m_queue, QStringLiteral("g_sj"), state);
    SetQtyColumnFormat(*m_queue, QStringLiteral("tm_sl"), state);
    SetQtyFooterFormat(*m_queue, QStringLiteral("tm_sl"), state);
    layout->addWidget(m_queue, 1);

    auto *bottom = new QHBoxLayout;
    auto *modiButton = MakeButton(this, "btn_Modi", QStringLiteral("修改"));
    auto *delButton = MakeButton(this, "btn_Del", QStringLiteral("删除"));
    auto *printButton = MakeButton(this, "btn_Print", QStringLiteral("打印"));
    auto *designButton = MakeButton(this, "btn_Design", QStringLiteral("条码设置"));
    auto *exitButton = MakeButton(this, "btn_Exit", QStringLiteral("退出"));
    bottom->addWidget(modiButton);
    bottom->addWidget(delButton);
    bottom->addStretch();
    bottom->addWidget(printButton);
    bottom->addWidget(designButton);
    bottom->addWidget(exitButton);
    layout->addLayout(bottom);

    openDesigner = [this](const QString &name) {
        TF_ReportDesign designer(name, m_notices, m_state.UiFontSize, m_folder, this);
        designer.sampleData = [this](PrintJob &job) {
            try {
                job.setDataSet(QString::fromLatin1(kLabelDataSet), ReadLabelRows(m_db).rows);
                job.decimals = PrintDecimals(m_state);
            } catch (const DbError &) {
                // The preview shows the template without rows.
            }
        };
        designer.refreshPreview();
        designer.exec();
    };
    runModifyDialog = [](TF_Tmdy_Modi &dialog) { dialog.exec(); };

    connect(m_search, &QLineEdit::textEdited, this, &TF_Tmdy::onSearchEdited);
    connect(m_search, &QLineEdit::returnPressed, this, [this] {
        showPicker();
        m_picker->view()->setFocus();
    });
    connect(m_searchButton, &QPushButton::clicked, this, [this] {
        if (!m_search->text().isEmpty())
            return;  // the picker opens from the button only for an empty box
        showPicker();
        m_picker->view()->setFocus();
    });
    connect(addButton, &QPushButton::clicked, this, &TF_Tmdy::addByCode);
    connect(pickOk, &QPushButton::clicked, this, &TF_Tmdy::addPicked);
    connect(pickExit, &QPushButton::clicked, this, &TF_Tmdy::hidePicker);
    connect(m_picker, &DataGrid::rowActivated, this, &TF_Tmdy::pickRow);
    connect(modiButton, &QPushButton::clicked, this, &TF_Tmdy::modifyCurrent);
    connect(delButton, &QPushButton::clicked, this, &TF_Tmdy::deleteCurrent);
    connect(printButton, &QPushButton::clicked, this, &TF_Tmdy::printLabels);
    connect(designButton, &QPushButton::clicked, this, &TF_Tmdy::designLabels);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::reject);

    // F2 to F4 wait while the picker is shown.
    keys()->bind(Qt::Key_F2, [this] {
        if (!pickerShown())
            clearSearch();
    });
    keys()->bind(Qt::Key_F3, [this] {
        if (!pickerShown())
            resetQuantity();
    });
    keys()->bind(Qt::Key_F4, [this] {
        if (!pickerShown())
            addByCode();
    });
    keys()->bind(Qt::Key_F5, [this] {
        if (pickerShown())
            addPicked();
    });
    keys()->bind(Qt::Key_Escape, [this] {
        if (pickerShown())
            hidePicker();
        else
            reject();
    });

    // Entering the queue or the quantity box hides the picker.
    m_queue->view()->installEventFilter(this);
    m_quantity->installEventFilter(this);

    connect(this, &ScreenDialog::opened, this, &TF_Tmdy::activate);
    activate();
}

void TF_Tmdy::activate()
{
    m_search->clear();
    m_quantity->setText(QStringLiteral("1"));
    hidePicker();
    m_picker->reload(ReloadTarget::First);
    reloadQueue();
    m_search->setFocus();
}

bool TF_Tmdy::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_queue->view() || watched == m_quantity))
        hidePicker();
    return ScreenDialog::eventFilter(watched, event);
}

bool TF_Tmdy::pickerShown() const
{
    return !m_pickerPanel->isHidden();
}

void TF_Tmdy::showPicker()
{
    m_pickerPanel->show();
    m_queue->hide();
}

void TF_Tmdy::hidePicker()
{
    m_pickerPanel->hide();
    m_queue->show();
}

void TF_Tmdy::reloadQueue()
{
    m_queue->reload(ReloadTarget::KeepKey);
}

void TF_Tmdy::onSearchEdited(const QString &text)
{
    showPicker();
    m_picker->setFilter(GridFilter::contains(
        {QStringLiteral("g_name"), QStringLiteral("g_jm"), QStringLiteral("g_sn"), QStringLiteral("g_sptm")},
        text.trimmed()));
}

void TF_Tmdy::pickRow(int row)
{
    if (row < 0 || row >= m_picker->rowCount())
        return;
    m_search->setText(m_picker->value(row, QStringLiteral("g_sn")).toString());
    hidePicker();
    m_quantity->setFocus();
    m_quantity->selectAll();
}

void TF_Tmdy::resetQuantity()
{
    m_quantity->setText(QStringLiteral("1"));
    m_quantity->setFocus();
    m_quantity->selectAll();
}

void TF_Tmdy::clearSearch()
{
    m_search->clear();
    m_picker->setFilter(GridFilter());
    m_search->setFocus();
}

void TF_Tmdy::addByCode()
{
    LabelAddResult result;
    try {
        result = AddLabelByCode(m_db, m_notices, m_search->text(), m_quantity->text());
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    if (result.outcome == LabelAddOutcome::Refused) {
        m_notices.notice(result.text);
        if (result.text == QStringLiteral("请输入打印数量！"))
            m_quantity->setFocus();
        else
            m_search->setFocus();
        return;
    }
    if (result.outcome == LabelAddOutcome::Declined)
        return;
    reloadQueue();
    m_queue->locate(QStringLiteral("g_sn"), SafeText(m_search->text().trimmed()));
    clearSearch();
}

void TF_Tmdy::addPicked()
{
    QStringList codes;
    QList<int> rows = m_picker->selectedRows();
    if (rows.isEmpty() && m_picker->currentRow() >= 0)
        rows << m_picker->currentRow();
    for (int row : rows)
        codes << m_picker->value(row, QStringLiteral("g_sn")).toString();
    if (codes.isEmpty())
        return;
    QString refusal;
    try {
        refusal = AddPickedLabels(m_db, codes, m_quantity->text());
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    if (!refusal.isEmpty()) {
        m_notices.notice(refusal);
        return;
    }
    hidePicker();
    reloadQueue();
    m_search->clear();
    m_picker->setFilter(GridFilter());
    m_search->setFocus();
}

void TF_Tmdy::modifyCurrent()
{
    const int row = m_queue->currentRow();
    if (m_queue->rowCount() == 0 || row < 0)
        return;
    TF_Tmdy_Modi dialog(m_db, m_notices, m_queue->value(row, QStringLiteral("id")),
                        m_queue->value(row, QStringLiteral("g_sn")).toString(),
                        QString::number(qint64(m_queue->value(row, QStringLiteral("tm_sl")).toDouble())),
                        m_state.UiFontSize, this);
    runModifyDialog(dialog);
    reloadQueue();
}

void TF_Tmdy::deleteCurrent()
{
    const int row = m_queue->currentRow();
    if (m_queue->rowCount() == 0 || row < 0)
        return;
    if (!m_notices.confirm(QStringLiteral("您确定要删除选中的商品条码吗？")))
        return;
    try {
        DeleteQueuedLabel(m_db, m_queue->value(row, QStringLiteral("id")));
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    reloadQueue();
}

void TF_Tmdy::printLabels()
{
    if (m_queue->rowCount() == 0)
        return;
    LabelRun run;
    try {
        run = PrepareLabelRun(m_db);
    } catch (const DbError &e) {
        m_notices.notice(e.text());
        return;
    }
    const QString skipped = run.skippedNotice();
    if (!skipped.isEmpty())
        m_notices.notice(skipped);
    if (run.rows.rowCount() == 0)
        return;
    m_output.preview(LabelPrintJob(run, m_state, m_folder));
}

void TF_Tmdy::designLabels()
{
    if (openDesigner)
        openDesigner(QString::fromLatin1(kLabelTemplate));
}
