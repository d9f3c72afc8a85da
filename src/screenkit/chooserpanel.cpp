#include "screenkit/chooserpanel.h"

#include "screenkit/datagrid.h"
#include "screenkit/editors.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const char *name, const char *text)
{
    auto *b = new QPushButton(QString::fromUtf8(text), parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setAutoDefault(false);
    return b;
}

} // namespace

ChooserPanel::ChooserPanel(const ChooserOptions &options, int uiFontSize, QWidget *parent)
    : ScreenDialog(uiFontSize, parent), m_options(options)
{
    setWindowTitle(options.caption);
    m_search = new QLineEdit(this);
    m_search->setObjectName(QStringLiteral("searchBox"));
    InstallCharFilter(m_search, CharFilter::Standard);
    keys()->addEnterOwner(m_search);
    auto *top = new QHBoxLayout;
    m_searchLabel = new QLabel(options.searchCaption, this);
    m_searchLabel->setObjectName(QStringLiteral("searchLabel"));
    top->addWidget(m_searchLabel);
    top->addWidget(m_search, 1);
    if (!options.orderItems.isEmpty()) {
        m_order = new QComboBox(this);
        m_order->setObjectName(QStringLiteral("comSx"));
        m_order->addItems(options.orderItems);
        top->addWidget(m_order);
        connect(m_order, &QComboBox::currentIndexChanged, this, [this](int index) {
            if (!orderChanged)
                return;
            orderChanged(index);
            m_grid->reload(ReloadTarget::First);
        });
    }
    if (options.orderButtons) {
        m_asc = button(this, "btnAsc", "编号顺序");
        m_desc = button(this, "btnDesc", "编号倒序");
        top->addWidget(m_asc);
        top->addWidget(m_desc);
        connect(m_asc, &QPushButton::clicked, this, [this] { m_grid->sortBy(m_options.codeField, Qt::AscendingOrder); });
        connect(m_desc, &QPushButton::clicked, this,
                [this] { m_grid->sortBy(m_options.codeField, Qt::DescendingOrder); });
    }
    m_grid = new DataGrid(this);
    m_grid->setObjectName(QStringLiteral("chooserGrid"));
    m_add = button(this, "btnAdd", "添加(F8)");
    m_modify = button(this, "btnModi", "修改(F9)");
    m_ok = button(this, "btnOK", "确定(F5)");
    m_exit = button(this, "btnCancel", "退出(Esc)");
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_add);
    bottom->addWidget(m_modify);
    if (!m_options.allCaption.isEmpty()) {
        m_allBox = new QCheckBox(m_options.allCaption, this);
        m_allBox->setObjectName(QStringLiteral("chkAll"));
        bottom->addWidget(m_allBox);
        connect(m_allBox, &QCheckBox::clicked, this, [this](bool checked) {
            if (!checked)
                return;
            m_all = true;
            m_code.clear();
            m_name.clear();
            accept();
        });
    }
    bottom->addStretch(1);
    bottom->addWidget(m_ok);
    bottom->addWidget(m_exit);
    auto *v = new QVBoxLayout(this);
    v->addLayout(top);
    v->addWidget(m_grid, 1);
    v->addLayout(bottom);

    auto runAdd = [this] {
        if (!addRow)
            return;
        addRow();
        m_grid->reload(ReloadTarget::Last);
    };
    auto runModify = [this] {
        if (!modifyRow || m_grid->currentRow() < 0)
            return;
        modifyRow(m_grid->currentValue(m_options.codeField));
        m_grid->reload(ReloadTarget::KeepKey);
    };
    connect(m_search, &QLineEdit::textChanged, this, [this](const QString &text) {
        m_grid->setFilter(GridFilter::contains(m_options.searchFields, text.trimmed()));
        m_grid->reload(ReloadTarget::First);
    });
    connect(m_search, &QLineEdit::returnPressed, this, [this] { m_grid->view()->setFocus(Qt::OtherFocusReason); });
    connect(m_grid, &DataGrid::rowActivated, this, [this](int) { choose(); });
    connect(m_add, &QPushButton::clicked, this, runAdd);
    connect(m_modify, &QPushButton::clicked, this, runModify);
    connect(m_ok, &QPushButton::clicked, this, &ChooserPanel::choose);
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
    keys()->bind(Qt::Key_F2, [this] {
        m_search->setFocus(Qt::OtherFocusReason);
        m_search->selectAll();
    });
    keys()->bind(Qt::Key_F8, runAdd);
    keys()->bind(Qt::Key_F9, runModify);
    keys()->bind(Qt::Key_F5, [this] {
        if (take)
            take();
        else
            choose();
    });
    keys()->bind(Qt::Key_Escape, [this] { reject(); });
    resize(640, 480);
}

void ChooserPanel::setSearchText(const QString &text)
{
    m_all = false;
    if (m_allBox)
        m_allBox->setChecked(false);
    m_search->setText(text);  // filters through textChanged
    m_search->setFocus(Qt::OtherFocusReason);
    m_search->end(false);
}

void ChooserPanel::embed(QWidget *host)
{
    setParent(host);
    setWindowFlags(Qt::Widget);
    setAutoFillBackground(true);
    setFrameLike();
    hide();
}

void ChooserPanel::addKeyOwner(QWidget *box)
{
    // The box's own key table, consulted before the host's (bound only while the panel shows).
    m_ownerKeys << new ScreenKeys(box);
    syncOwnerKeys();
}

void ChooserPanel::syncOwnerKeys()
{
    for (ScreenKeys *k : std::as_const(m_ownerKeys)) {
        if (isVisible()) {
            k->bind(Qt::Key_F5, [this] {
                if (take)
                    take();
                else
                    choose();
            });
            k->bind(Qt::Key_Escape, [this] { hide(); });
        } else {
            k->unbind(Qt::Key_F5);
            k->unbind(Qt::Key_Escape);
        }
    }
}

void ChooserPanel::setFrameLike()
{
    setStyleSheet(QStringLiteral("ChooserPanel { border: 1px solid palette(mid); }"));
}

void ChooserPanel::showEvent(QShowEvent *event)
{
    ScreenDialog::showEvent(event);
    syncOwnerKeys();
}

void ChooserPanel::hideEvent(QHideEvent *event)
{
    ScreenDialog::hideEvent(event);
    syncOwnerKeys();
}

void ChooserPanel::openBelow(QWidget *anchor, const QString &search)
{
    QWidget *host = parentWidget();
    if (host && anchor) {
        const QPoint at = anchor->mapTo(host, QPoint(0, anchor->height()));
        const int width = qMin(620, host->width());
        const int height = qMin(300, qMax(160, host->height() - at.y() - 4));
        setGeometry(qBound(0, at.x(), qMax(0, host->width() - width)), at.y(), width, height);
    }
    filterBy(search);
    show();
    raise();
}

void ChooserPanel::filterBy(const QString &text)
{
    m_all = false;
    if (m_allBox)
        m_allBox->setChecked(false);
    const QSignalBlocker block(m_search);
    m_search->setText(text.trimmed());
    m_grid->setFilter(GridFilter::contains(m_options.searchFields, text.trimmed()));
    m_grid->reload(ReloadTarget::First);
}

void ChooserPanel::setModel(GridModel *model)
{
    m_grid->setModel(model);
    m_grid->reload(ReloadTarget::First);
}

void ChooserPanel::choose()
{
    if (!m_grid->model() || m_grid->currentRow() < 0)
        return;
    m_all = false;
    m_code = m_grid->currentValue(m_options.codeField).toString();
    m_name = m_options.nameField.isEmpty() ? QString() : m_grid->currentValue(m_options.nameField).toString();
    accept();
}
