#include "screenkit/datagrid.h"

#include "foundation/db/numbers.h"
#include "screenkit/numberdisplay.h"

#include <QApplication>
#include <QComboBox>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const char *kRowMime = "application/x-jxc-grid-row";

// The footer and band bars: painted strips aligned with the view's columns.
class GridStrip final : public QWidget
{
public:
    enum class Kind { Footer, Band };
    GridStrip(DataGrid *grid, Kind kind) : QWidget(grid), m_grid(grid), m_kind(kind)
    {
        setObjectName(kind == Kind::Footer ? QStringLiteral("gridFooter") : QStringLiteral("gridBands"));
    }

    // Left and right of a column in this strip's coordinates; empty when hidden.
    QRect cellRect(int logical) const
    {
        QTableView *view = m_grid->view();
        QHeaderView *header = view->horizontalHeader();
        if (logical < 0 || header->isSectionHidden(logical))
            return QRect();
        const int viewportLeft = view->viewport()->mapTo(m_grid, QPoint(0, 0)).x() - x();
        const int left = viewportLeft + header->sectionViewportPosition(logical);
        return QRect(left, 0, header->sectionSize(logical), height());
    }

    QSize sizeHint() const override
    {
        return QSize(100, fontMetrics().height() + 8);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Window));
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(0, 0, width(), 0);
        GridModel *model = m_grid->model();
        if (!model)
            return;
        QTableView *view = m_grid->view();
        const int viewportLeft = view->viewport()->mapTo(m_grid, QPoint(0, 0)).x() - x();
        p.setClipRect(QRect(viewportLeft, 0, view->viewport()->width(), height()));
        if (m_kind == Kind::Footer) {
            QFont f = font();
            f.setBold(true);
            p.setFont(f);
            for (const GridColumn &c : model->columns()) {
                const QRect r = cellRect(model->columnOf(c.field));
                if (r.isEmpty())
                    continue;
                const QString text = m_grid->footerText(c.field);
                if (text.isEmpty())
                    continue;
                p.setPen(QColor(Qt::red));
                const FooterKind k = m_grid->footerKind(c.field);
                // Numbers stand right, as in their column (a supplied total of a number column too).
                const bool right = k == FooterKind::Sum || k == FooterKind::Count
                                   || (k == FooterKind::Supplied && c.isNumber());
                p.drawText(r.adjusted(4, 0, -4, 0), Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft),
                           text);
            }
            return;
        }
        for (const GridBand &band : m_grid->bands()) {
            if (!band.visible)
                continue;
            QRect span;
            for (const QString &field : band.fields) {
                const QRect r = cellRect(model->columnOf(field));
                if (!r.isEmpty())
                    span = span.isNull() ? r : span.united(r);
            }
            if (span.isNull())
                continue;
            p.setPen(palette().color(QPalette::Mid));
            p.drawRect(span.adjusted(0, 0, -1, -1));
            p.setPen(palette().color(QPalette::WindowText));
            p.drawText(span, Qt::AlignCenter, band.caption);
        }
    }

private:
    DataGrid *m_grid;
    Kind m_kind;
};

} // namespace

// ---------------------------------------------------------------------------------------------

NumberValidator::NumberValidator(int decimals, bool allowMinus, QObject *parent)
    : QValidator(parent), m_decimals(decimals), m_allowMinus(allowMinus)
{
}

QValidator::State NumberValidator::validate(QString &input, int &) const
{
    int i = 0;
    if (i < input.size() && input.at(i) == QLatin1Char('-')) {
        if (!m_allowMinus)
            return Invalid;
        ++i;
    }
    bool point = false;
    int decimals = 0;
    for (; i < input.size(); ++i) {
        const QChar c = input.at(i);
        if (c == QLatin1Char('.')) {
            if (point || m_decimals <= 0)
                return Invalid;
            point = true;
        } else if (c.isDigit() && c.unicode() < 128) {
            if (point && ++decimals > m_decimals)
                return Invalid;
        } else {
            return Invalid;
        }
    }
    return Acceptable;
}

// ---------------------------------------------------------------------------------------------

GridDelegate::GridDelegate(DataGrid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const
{
    const GridModel *model = m_grid->model();
    const GridColumn &col = model->columns().at(index.column());
    if (col.kind != ColumnKind::Check && col.kind != ColumnKind::Icon) {
        QStyleOptionViewItem opt(option);
        const QVariant fg = index.data(Qt::ForegroundRole);
        if (fg.isValid()) {
            // The screen's text colour stays visible on the selected row too.
            opt.palette.setColor(QPalette::Text, fg.value<QColor>());
            opt.palette.setColor(QPalette::HighlightedText, fg.value<QColor>());
        }
        QStyledItemDelegate::paint(painter, opt, index);
        return;
    }
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    QStyle *style = opt.widget ? opt.widget->style() : QApplication::style();
    style->drawPrimitive(QStyle::PE_PanelItemViewItem, &opt, painter, opt.widget);
    const QVariant v = index.data(Qt::EditRole);
    if (col.kind == ColumnKind::Check) {
        QStyleOptionButton box;
        const int side = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, opt.widget);
        box.rect = QRect(opt.rect.center().x() - side / 2, opt.rect.center().y() - side / 2, side, side);
        box.state = QStyle::State_Enabled | (v.toBool() ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, opt.widget);
        return;
    }
    // Icon columns: 0 nothing yet, 1 done, 2 failed (import status); other values as digits.
    QIcon icon;
    switch (v.toInt()) {
    case 1:
        icon = style->standardIcon(QStyle::SP_DialogApplyButton);
        break;
    case 2:
        icon = style->standardIcon(QStyle::SP_MessageBoxCritical);
        break;
    default:
        break;
    }
    if (!icon.isNull()) {
        const int side = qMin(opt.rect.height() - 2, 16);
        icon.paint(painter, QRect(opt.rect.center().x() - side / 2, opt.rect.center().y() - side / 2, side, side));
    }
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const
{
    const GridColumn &col = m_grid->model()->columns().at(index.column());
    if (!col.lookup.isEmpty()) {
        auto *combo = new QComboBox(parent);
        combo->setObjectName(QStringLiteral("gridLookupEditor"));
        for (const auto &item : col.lookup)
            combo->addItem(item.first, item.second);
        return combo;
    }
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("gridEditor"));
    edit->setFrame(false);
    if (col.isNumber()) {
        edit->setValidator(new NumberValidator(col.kind == ColumnKind::Integer ? 0 : col.decimals, true, edit));
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    return edit;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const GridColumn &col = m_grid->model()->columns().at(index.column());
    const QVariant v = index.data(Qt::EditRole);
    if (auto *combo = qobject_cast<QComboBox *>(editor)) {
        combo->setCurrentIndex(combo->findData(v.toString()));
        return;
    }
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit)
        return;
    edit->setText(col.isNumber() && v.isValid() ? NumberText(v.toDouble()) : v.toString());
    edit->selectAll();
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &index) const
{
    QString text;
    if (auto *combo = qobject_cast<QComboBox *>(editor))
        text = combo->currentData().toString();
    else if (auto *edit = qobject_cast<QLineEdit *>(editor))
        text = edit->text();
    m_grid->stageCommit(index, text);
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Tab:
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::EditNextItem);
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (qobject_cast<QComboBox *>(editor))
                break;  // the list's own arrows
            m_grid->m_pendingMove = key->key() == Qt::Key_Up ? -1 : 1;
            Q_EMIT commitData(editor);
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
            return true;
        case Qt::Key_Escape:
            Q_EMIT closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            return true;
        default:
            break;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}

// ---------------------------------------------------------------------------------------------

DataGridView::DataGridView(DataGrid *grid) : QTableView(grid), m_grid(grid)
{
    setObjectName(QStringLiteral("gridView"));
}

void DataGridView::keyPressEvent(QKeyEvent *event)
{
    const QModelIndex current = currentIndex();
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (state() != EditingState) {
            if (!m_grid->hasEditableColumns()) {
                if (current.isValid())
                    Q_EMIT m_grid->rowActivated(current.row());
            } else {
                m_grid->moveToNextEditable();
            }
            event->accept();
            return;
        }
        break;
    case Qt::Key_Space:
        if (current.isValid() && m_grid->model()->columns().at(current.column()).kind == ColumnKind::Check) {
            m_grid->toggleCheck(current);
            event->accept();
            return;
        }
        break;
    case Qt::Key_Home:
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            m_grid->goFirst();
            event->accept();
            return;
        }
        break;
    case Qt::Key_End:
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            m_grid->goLast();
            event->accept();
            return;
        }
        break;
    default:
        break;
    }
    QTableView::keyPressEvent(event);
}

void DataGridView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()
        && m_grid->model()->columns().at(index.column()).kind == ColumnKind::Check
        && m_grid->isCellEditable(index.row(), index.column())) {
        QTableView::mousePressEvent(event);
        m_grid->toggleCheck(m_grid->model()->index(index.row(), index.column()));
        return;
    }
    QTableView::mousePressEvent(event);
}

void DataGridView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::RightButton) {
        m_grid->openPopup(event->globalPosition().toPoint());
        event->accept();
        return;
    }
    QTableView::mouseReleaseEvent(event);
}

void DataGridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid()) {
        Q_EMIT m_grid->rowDoubleClicked(index.row());
        if (m_grid->m_doubleClickActivates)
            Q_EMIT m_grid->rowActivated(index.row());
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
}

void DataGridView::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    QTableView::closeEditor(editor, QAbstractItemDelegate::NoHint);
    m_grid->afterEditClosed(hint);
}

void DataGridView::startDrag(Qt::DropActions)
{
    auto *drag = new QDrag(this);
    drag->setMimeData(m_grid->dragData());
    drag->exec(Qt::CopyAction);
}

void DataGridView::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kRowMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DataGridView::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasFormat(QLatin1String(kRowMime)))
        event->acceptProposedAction();
    else
        event->ignore();
}

void DataGridView::dropEvent(QDropEvent *event)
{
    if (m_grid->acceptDrop(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
}

// ---------------------------------------------------------------------------------------------

DataGrid::DataGrid(QWidget *parent) : QWidget(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_bandBar = new GridStrip(this, GridStrip::Kind::Band);
    m_view = new DataGridView(this);
    m_footerBar = new GridStrip(this, GridStrip::Kind::Footer);
    layout->addWidget(m_bandBar);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_footerBar);
    m_bandBar->hide();
    m_footerBar->hide();

    m_view->setItemDelegate(new GridDelegate(this));
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked
                            | QAbstractItemView::EditKeyPressed);
    m_view->setContextMenuPolicy(Qt::PreventContextMenu);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->setVisible(false);
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 8);
    m_view->horizontalHeader()->setSectionsMovable(true);
    m_view->horizontalHeader()->setSectionsClickable(true);
    m_view->horizontalHeader()->setHighlightSections(false);
    m_view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView *header = m_view->horizontalHeader();
    connect(header, &QHeaderView::sectionClicked, this, &DataGrid::onHeaderClicked);
    connect(header, &QHeaderView::sectionResized, this, &DataGrid::updateBars);
    connect(header, &QHeaderView::sectionMoved, this, &DataGrid::updateBars);
    connect(header, &QHeaderView::geometriesChanged, this, &DataGrid::updateBars);
    connect(m_view->horizontalScrollBar(), &QScrollBar::valueChanged, this, &DataGrid::updateBars);
}

DataGrid::~DataGrid()
{
    // The view and the model die after this object: no signal of theirs may reach it.
    if (m_view->selectionModel())
        m_view->selectionModel()->disconnect(this);
    if (m_model)
        m_model->disconnect(this);
    m_view->horizontalHeader()->disconnect(this);
    m_view->horizontalScrollBar()->disconnect(this);
}

QTableView *DataGrid::view() const
{
    return m_view;
}

QWidget *DataGrid::footerBar() const
{
    return m_footerBar;
}

QWidget *DataGrid::bandBar() const
{
    return m_bandBar;
}

void DataGrid::setModel(GridModel *model)
{
    m_model = model;
    if (!model->parent())
        model->setParent(this);
    m_view->setModel(model);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DataGrid::onCurrentChanged);
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &DataGrid::onSelectionChanged);
    connect(model, &QAbstractItemModel::modelReset, this, [this] { m_selectionOrder.clear(); });
    m_visible.clear();
    for (const GridColumn &c : model->columns()) {
        m_visible.insert(c.field, c.visible);
        m_gated.insert(c.field, c.gated);
        m_view->setColumnWidth(model->columnOf(c.field), c.width);
    }
    applyColumnVisibility();
}

// ---- Columns -------------------------------------------------------------------------------

bool DataGrid::isColumnShown(const QString &field) const
{
    const int c = m_model ? m_model->columnOf(field) : -1;
    return c >= 0 && !m_view->isColumnHidden(c);
}

bool DataGrid::isColumnVisible(const QString &field) const
{
    return m_visible.value(field, true);
}

void DataGrid::setColumnVisible(const QString &field, bool visible)
{
    m_visible.insert(field, visible);
    applyColumnVisibility();
}

void DataGrid::setColumnGated(const QString &field, bool gated)
{
    m_gated.insert(field, gated);
    applyColumnVisibility();
}

bool DataGrid::isColumnGated(const QString &field) const
{
    return m_gated.value(field, false);
}

void DataGrid::applyColumnVisibility()
{
    if (!m_model)
        return;
    for (const GridColumn &c : m_model->columns()) {
        bool shown = m_visible.value(c.field, c.visible) && !m_gated.value(c.field, false);
        for (const GridBand &b : m_bands) {
            if (!b.visible && b.fields.contains(c.field, Qt::CaseInsensitive))
                shown = false;
        }
        m_view->setColumnHidden(m_model->columnOf(c.field), !shown);
    }
    updateBars();
}

void DataGrid::setColumnWidth(const QString &field, int width)
{
    const int c = m_model->columnOf(field);
    if (c >= 0)
        m_view->horizontalHeader()->resizeSection(c, width);
}

int DataGrid::columnWidth(const QString &field) const
{
    const int c = m_model->columnOf(field);
    return c >= 0 ? m_view->horizontalHeader()->sectionSize(c) : 0;
}

void DataGrid::moveColumn(const QString &field, int visualIndex)
{
    const int c = m_model->columnOf(field);
    if (c < 0)
        return;
    QHeaderView *header = m_view->horizontalHeader();
    header->moveSection(header->visualIndex(c), qBound(0, visualIndex, header->count() - 1));
}

QStringList DataGrid::fieldsInVisualOrder() const
{
    QStringList out;
    if (!m_model)
        return out;
    QHeaderView *header = m_view->horizontalHeader();
    for (int v = 0; v < header->count(); ++v)
        out << m_model->columns().at(header->logicalIndex(v)).field;
    return out;
}

QStringList DataGrid::shownFieldsInOrder() const
{
    QStringList out;
    for (const QString &f : fieldsInVisualOrder()) {
        if (isColumnShown(f))
            out << f;
    }
    return out;
}

void DataGrid::setAutoColumnWidth(bool on)
{
    m_autoWidth = on;
    QHeaderView *header = m_view->horizontalHeader();
    if (on) {
        header->setSectionResizeMode(QHeaderView::Stretch);
    } else {
        // Keep the widths the stretch gave, then let the operator drag them one by one.
        QVector<int> widths;
        for (int i = 0; i < header->count(); ++i)
            widths << header->sectionSize(i);
        header->setSectionResizeMode(QHeaderView::Interactive);
        for (int i = 0; i < header->count(); ++i)
            header->resizeSection(i, widths.at(i));
    }
    updateBars();
}

// ---- Footer --------------------------------------------------------------------------------

void DataGrid::setFooter(const QString &field, FooterKind kind, const QString &text,
                         const QString &format)
{
    FooterSpec &spec = m_footers[field];
    spec.kind = kind;
    spec.text = text;
    spec.format = format;
    m_footerBar->setVisible(true);
    recomputeFooter();
}

void DataGrid::setFooterFormat(const QString &field, const QString &format)
{
    m_footers[field].format = format;
    if (m_footers[field].kind == FooterKind::None)
        m_footers[field].kind = FooterKind::Sum;
    m_footerBar->setVisible(true);
    recomputeFooter();
}

QString DataGrid::footerFormat(const QString &field) const
{
    return m_footers.value(field).format;
}

void DataGrid::setFooterSupplier(const QString &field, std::function<QString()> supplier)
{
    FooterSpec &spec = m_footers[field];
    spec.kind = FooterKind::Supplied;
    spec.supplier = std::move(supplier);
    m_footerBar->setVisible(true);
    recomputeFooter();
}

FooterKind DataGrid::footerKind(const QString &field) const
{
    return m_footers.value(field).kind;
}

QString DataGrid::footerText(const QString &field) const
{
    return m_footerTexts.value(field);
}

QVariant DataGrid::footerValue(const QString &field) const
{
    return m_footerValues.value(field);
}

void DataGrid::recomputeFooter()
{
    m_footerValues.clear();
    m_footerTexts.clear();
    if (!m_model || m_footers.isEmpty())
        return;
    QStringList sumFields;
    for (auto it = m_footers.cbegin(); it != m_footers.cend(); ++it) {
        if (it.value().kind == FooterKind::Sum && m_model->hasField(it.key()))
            sumFields << it.key();
    }
    QVector<double> sums;
    if (auto *sql = qobject_cast<SqlGridModel *>(m_model); sql && !sumFields.isEmpty()) {
        sums = sql->sums(sumFields, nullptr);
    } else {
        for (const QString &f : sumFields)
            sums << m_model->sum(f);
    }
    const int count = m_model->totalCount();
    for (auto it = m_footers.cbegin(); it != m_footers.cend(); ++it) {
        const FooterSpec &spec = it.value();
        QString text;
        switch (spec.kind) {
        case FooterKind::None:
            continue;
        case FooterKind::Sum: {
            const double v = sums.value(int(sumFields.indexOf(it.key())));
            m_footerValues.insert(it.key(), v);
            QString format = spec.format;
            if (format.isEmpty() && m_model->hasField(it.key()))
                format = m_model->column(it.key()).format;
            text = format.isEmpty() ? NumberText(v) : DisplayNumber(v, format);
            break;
        }
        case FooterKind::Count:
            m_footerValues.insert(it.key(), count);
            text = spec.format.isEmpty() ? QString::number(count) : DisplayNumber(count, spec.format);
            break;
        case FooterKind::Text:
            text = spec.text;
            m_footerValues.insert(it.key(), text);
            break;
        case FooterKind::TextCount:
            text = spec.text + QString::number(count);
            m_footerValues.insert(it.key(), text);
            break;
        case FooterKind::Supplied:
            text = spec.supplier ? spec.supplier() : QString();
            m_footerValues.insert(it.key(), text);
            break;
        }
        m_footerTexts.insert(it.key(), text);
    }
    m_footerBar->update();
    Q_EMIT footerRecomputed();
}

QRect DataGrid::footerCellRect(const QString &field) const
{
    return static_cast<GridStrip *>(m_footerBar)->cellRect(m_model->columnOf(field));
}

// ---- Bands ---------------------------------------------------------------------------------

void DataGrid::setBands(const QList<GridBand> &bands)
{
    m_bands = bands;
    m_bandBar->setVisible(!bands.isEmpty());
    applyColumnVisibility();
}

void DataGrid::setBandVisible(const QString &caption, bool visible)
{
    for (GridBand &b : m_bands) {
        if (b.caption == caption)
            b.visible = visible;
    }
    applyColumnVisibility();
}

void DataGrid::updateBars()
{
    m_footerBar->update();
    m_bandBar->update();
}

// ---- Sorting, filtering, reloading ---------------------------------------------------------

void DataGrid::onHeaderClicked(int logical)
{
    if (!m_model)
        return;
    confirmEdit();
    const QString field = m_model->columns().at(logical).field;
    if (QApplication::keyboardModifiers() & Qt::ControlModifier) {
        clearSort();
        return;
    }
    Qt::SortOrder order = Qt::AscendingOrder;
    if (m_model->sortField().compare(field, Qt::CaseInsensitive) == 0
        && m_model->sortOrder() == Qt::AscendingOrder)
        order = Qt::DescendingOrder;
    sortBy(field, order);
}

void DataGrid::sortBy(const QString &field, Qt::SortOrder order)
{
    const QVariant key = currentValue(m_model->keyField());
    m_reloading = true;
    m_model->setSort(field, order);
    m_reloading = false;
    m_view->horizontalHeader()->setSortIndicatorShown(true);
    m_view->horizontalHeader()->setSortIndicator(m_model->columnOf(field), order);
    if (key.isValid())
        locate(m_model->keyField(), key);
    else
        goFirst();
    recomputeFooter();
}

void DataGrid::clearSort()
{
    const QVariant key = currentValue(m_model->keyField());
    m_reloading = true;
    m_model->clearSort();
    m_reloading = false;
    m_view->horizontalHeader()->setSortIndicatorShown(false);
    if (key.isValid())
        locate(m_model->keyField(), key);
    else
        goFirst();
    recomputeFooter();
}

void DataGrid::setFilter(const GridFilter &filter)
{
    m_reloading = true;
    m_model->setFilter(filter);
    m_reloading = false;
    goFirst();
    recomputeFooter();
}

void DataGrid::reload(ReloadTarget target)
{
    if (!m_model)
        return;
    const QVariant key = currentValue(m_model->keyField());
    const int column = m_view->currentIndex().isValid() ? m_view->currentIndex().column() : -1;
    m_reloading = true;
    m_model->reload();
    m_reloading = false;
    int row = 0;
    if (target == ReloadTarget::Last)
        row = rowCount() - 1;
    else if (target == ReloadTarget::KeepKey && key.isValid())
        row = qMax(0, m_model->locate(m_model->keyField(), key));
    if (rowCount() > 0) {
        const int col = column >= 0 ? column : firstShownColumn();
        m_view->selectionModel()->setCurrentIndex(m_model->index(row, col),
                                                  QItemSelectionModel::ClearAndSelect
                                                      | QItemSelectionModel::Rows);
        m_view->scrollTo(m_model->index(row, col));
    } else if (m_lastRow != -1) {
        m_lastRow = -1;
        Q_EMIT currentRowChanged(-1);
    }
    recomputeFooter();
}

// ---- Current row and selection ---------------------------------------------------------------

int DataGrid::rowCount() const
{
    return m_model ? m_model->rowCount() : 0;
}

int DataGrid::currentRow() const
{
    const QModelIndex i = m_view->currentIndex();
    return i.isValid() ? i.row() : -1;
}

int DataGrid::firstShownColumn() const
{
    QHeaderView *header = m_view->horizontalHeader();
    for (int v = 0; v < header->count(); ++v) {
        const int logical = header->logicalIndex(v);
        if (!header->isSectionHidden(logical))
            return logical;
    }
    return 0;
}

void DataGrid::setCurrentRow(int row)
{
    if (!m_model || row < 0 || row >= rowCount())
        return;
    const QModelIndex cur = m_view->currentIndex();
    const int col = cur.isValid() ? cur.column() : firstShownColumn();
    const QModelIndex target = m_model->index(row, col);
    m_view->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect
                                                          | QItemSelectionModel::Rows);
    m_view->scrollTo(target);
}

QVariant DataGrid::currentValue(const QString &field) const
{
    return value(currentRow(), field);
}

QVariant DataGrid::value(int row, const QString &field) const
{
    if (!m_model || row < 0)
        return QVariant();
    return m_model->value(row, field);
}

bool DataGrid::locate(const QString &field, const QVariant &value)
{
    const int row = m_model->locate(field, value);
    if (row < 0)
        return false;
    setCurrentRow(row);
    return true;
}

void DataGrid::goFirst()
{
    setCurrentRow(0);
}

void DataGrid::goLast()
{
    setCurrentRow(rowCount() - 1);
}

void DataGrid::onCurrentChanged(const QModelIndex &current, const QModelIndex &)
{
    if (m_model)
        m_model->setHighlightedColumn(current.isValid() ? current.column() : -1);
    if (m_reloading)
        return;
    const int row = current.isValid() ? current.row() : -1;
    if (row == m_lastRow)
        return;
    m_lastRow = row;
    Q_EMIT currentRowChanged(row);
}

void DataGrid::onSelectionChanged(const QItemSelection &, const QItemSelection &)
{
    QItemSelectionModel *sm = m_view->selectionModel();
    QList<int> now;
    for (const QModelIndex &i : sm->selectedRows())
        now << i.row();
    std::sort(now.begin(), now.end());
    QList<int> kept;
    for (int r : std::as_const(m_selectionOrder)) {
        if (std::binary_search(now.begin(), now.end(), r))
            kept << r;
    }
    for (int r : std::as_const(now)) {
        if (!kept.contains(r))
            kept << r;
    }
    m_selectionOrder = kept;
}

QList<int> DataGrid::selectedRows() const
{
    return m_selectionOrder;
}

QVariantList DataGrid::selectedKeys() const
{
    QVariantList out;
    for (int r : m_selectionOrder)
        out << value(r, m_model->keyField());
    return out;
}

// ---- Editing -------------------------------------------------------------------------------

bool DataGrid::hasEditableColumns() const
{
    if (!m_model)
        return false;
    for (const GridColumn &c : m_model->columns()) {
        if (c.editable && isColumnShown(c.field))
            return true;
    }
    return false;
}

bool DataGrid::isCellEditable(int row, int column) const
{
    if (!m_model || column < 0 || column >= m_model->columns().size())
        return false;
    const GridColumn &c = m_model->columns().at(column);
    if (!c.editable || !isColumnShown(c.field))
        return false;
    return !m_model->rowEditable || m_model->rowEditable(*m_model, row, c.field);
}

bool DataGrid::isEditing() const
{
    return m_view->editing();
}

bool DataGrid::confirmEdit()
{
    if (!isEditing())
        return false;
    QWidget *editor = m_view->indexWidget(m_view->currentIndex());
    if (!editor) {
        editor = QApplication::focusWidget();
        if (!editor || !m_view->isAncestorOf(editor))
            return false;
        while (editor->parentWidget() && editor->parentWidget() != m_view->viewport())
            editor = editor->parentWidget();
    }
    auto *delegate = static_cast<GridDelegate *>(m_view->itemDelegate());
    Q_EMIT delegate->commitData(editor);
    Q_EMIT delegate->closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

void DataGrid::stageCommit(const QModelIndex &index, const QString &text)
{
    m_staged.set = true;
    m_staged.row = index.row();
    m_staged.field = m_model->columns().at(index.column()).field;
    m_staged.text = text;
}

void DataGrid::afterEditClosed(QAbstractItemDelegate::EndEditHint hint)
{
    const Staged staged = m_staged;
    m_staged = Staged();
    const int move = m_pendingMove;
    m_pendingMove = 0;
    if (staged.set)
        runCommit(staged.row, staged.field, staged.text);
    if (hint == QAbstractItemDelegate::EditNextItem) {
        moveToNextEditable();
    } else if (move != 0) {
        const int row = currentRow() + move;
        if (row >= 0 && row < rowCount())
            setCurrentRow(row);
    }
    m_view->setFocus();
}

void DataGrid::runCommit(int row, const QString &field, const QString &text)
{
    const QVariant key = value(row, m_model->keyField());
    if (m_commit)
        m_commit(key, field, text);
    // Back to the edited row, whatever its position after the reload.
    const int column = m_model->columnOf(field);
    m_reloading = true;
    m_model->reload();
    m_reloading = false;
    int target = m_model->locate(m_model->keyField(), key);
    if (target < 0)
        target = qMin(row, rowCount() - 1);
    if (target >= 0) {
        m_view->selectionModel()->setCurrentIndex(m_model->index(target, column),
                                                  QItemSelectionModel::ClearAndSelect
                                                      | QItemSelectionModel::Rows);
        if (target != m_lastRow) {
            m_lastRow = target;
            Q_EMIT currentRowChanged(target);
        }
    }
    recomputeFooter();
}

void DataGrid::toggleCheck(const QModelIndex &index)
{
    if (!isCellEditable(index.row(), index.column()))
        return;
    const bool now = m_model->data(index, Qt::EditRole).toBool();
    runCommit(index.row(), m_model->columns().at(index.column()).field,
              now ? QStringLiteral("0") : QStringLiteral("1"));
}

bool DataGrid::moveToNextEditable()
{
    const QModelIndex cur = m_view->currentIndex();
    if (!cur.isValid())
        return false;
    QHeaderView *header = m_view->horizontalHeader();
    const int count = header->count();
    auto focusable = [&](int row, int logical) {
        return isCellEditable(row, logical) && m_model->columns().at(logical).focusable;
    };
    for (int v = header->visualIndex(cur.column()) + 1; v < count; ++v) {
        const int logical = header->logicalIndex(v);
        if (focusable(cur.row(), logical)) {
            m_view->setCurrentIndex(m_model->index(cur.row(), logical));
            return true;
        }
    }
    for (int row = cur.row() + 1; row < rowCount(); ++row) {
        for (int v = 0; v < count; ++v) {
            const int logical = header->logicalIndex(v);
            if (focusable(row, logical)) {
                m_view->selectionModel()->setCurrentIndex(m_model->index(row, logical),
                                                          QItemSelectionModel::ClearAndSelect
                                                              | QItemSelectionModel::Rows);
                return true;
            }
        }
    }
    return false;
}

// ---- Appearance ----------------------------------------------------------------------------

void DataGrid::setRowIndicator(bool on)
{
    m_view->verticalHeader()->setVisible(on);
}

void DataGrid::setCurrentColumnHeaderHighlight(bool on)
{
    if (m_model)
        m_model->setHeaderHighlight(on);
}

void DataGrid::setRowHeight(int pixels)
{
    m_view->verticalHeader()->setDefaultSectionSize(pixels);
}

void DataGrid::setFontPointSize(int points)
{
    QFont f = font();
    f.setPointSize(points > 0 ? points : 10);
    setFont(f);
    m_view->setFont(f);
    m_view->verticalHeader()->setDefaultSectionSize(QFontMetrics(f).height() + 8);
}

// ---- Popup and drag ------------------------------------------------------------------------

void DataGrid::setPopupMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow)
{
    m_menu = menu;
    m_beforePopup = std::move(beforeShow);
}

void DataGrid::openPopup(const QPoint &globalPos)
{
    confirmEdit();
    if (!m_menu)
        return;
    if (m_beforePopup)
        m_beforePopup(m_menu);
    m_menu->popup(globalPos);
}

void DataGrid::setRowDragSource(bool on)
{
    m_view->setDragEnabled(on);
    m_view->setDragDropMode(on ? (m_view->acceptDrops() ? QAbstractItemView::DragDrop
                                                        : QAbstractItemView::DragOnly)
                               : (m_view->acceptDrops() ? QAbstractItemView::DropOnly
                                                        : QAbstractItemView::NoDragDrop));
}

void DataGrid::setRowDropTarget(bool on)
{
    m_view->setAcceptDrops(on);
    m_view->viewport()->setAcceptDrops(on);
    setRowDragSource(m_view->dragEnabled());
}

QMimeData *DataGrid::dragData() const
{
    auto *data = new QMimeData;
    const QVariant key = currentValue(m_model->keyField());
    data->setData(QLatin1String(kRowMime),
                  (QString::number(quintptr(this)) + QLatin1Char('\n') + key.toString()).toUtf8());
    return data;
}

bool DataGrid::acceptDrop(const QMimeData *data)
{
    if (!data || !data->hasFormat(QLatin1String(kRowMime)))
        return false;
    const QString text = QString::fromUtf8(data->data(QLatin1String(kRowMime)));
    const int nl = text.indexOf(QLatin1Char('\n'));
    if (nl < 0)
        return false;
    DataGrid *source = nullptr;
    const quintptr address = text.left(nl).toULongLong();
    for (QWidget *w : QApplication::allWidgets()) {
        if (quintptr(w) == address)
            source = qobject_cast<DataGrid *>(w);
    }
    Q_EMIT rowDropped(text.mid(nl + 1), source);
    return true;
}
