#pragma once

#include "screenkit/gridmodel.h"

#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QValidator>
#include <QWidget>

#include <functional>

class QMimeData;
class DataGrid;

// Captions over groups of columns.
struct GridBand
{
    QString caption;
    QStringList fields;
    bool visible = true;
};

// Number typing: digits, one point, a leading minus (unless refused), at most `decimals`
// decimals. Used by grid editors and MoneyEdit.
class NumberValidator final : public QValidator
{
    Q_OBJECT

public:
    NumberValidator(int decimals, bool allowMinus, QObject *parent = nullptr);
    void setDecimals(int decimals) { m_decimals = decimals; }
    void setAllowMinus(bool allow) { m_allowMinus = allow; }
    State validate(QString &input, int &pos) const override;

private:
    int m_decimals;
    bool m_allowMinus;
};

// The table part of a DataGrid (found by tests as the grid's QTableView).
class DataGridView final : public QTableView
{
    Q_OBJECT

public:
    explicit DataGridView(DataGrid *grid);
    bool editing() const { return state() == EditingState; }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    DataGrid *m_grid;
};

// The one grid of the system: a model (statement or row set), columns by field name, footer,
// bands, sorting, filtering, editing through a commit hook, selection in the operator's order.
class DataGrid final : public QWidget
{
    Q_OBJECT

public:
    explicit DataGrid(QWidget *parent = nullptr);
    ~DataGrid() override;

    // The grid takes the model as a child when it has no parent.
    void setModel(GridModel *model);
    GridModel *model() const { return m_model; }
    QTableView *view() const;

    // ---- Columns (by field) ----
    // Shown = designed or laid-out visibility, not gated, its band visible.
    bool isColumnShown(const QString &field) const;
    void setColumnVisible(const QString &field, bool visible);
    bool isColumnVisible(const QString &field) const;
    // A gated column never shows, whatever a layout says.
    void setColumnGated(const QString &field, bool gated);
    bool isColumnGated(const QString &field) const;
    void setColumnWidth(const QString &field, int width);
    int columnWidth(const QString &field) const;
    // Moves a column to a visual position among all columns (0 = first).
    void moveColumn(const QString &field, int visualIndex);
    QStringList fieldsInVisualOrder() const;   // every column
    QStringList shownFieldsInOrder() const;    // what the operator sees, left to right
    void setAutoColumnWidth(bool on);
    bool autoColumnWidth() const { return m_autoWidth; }

    // ---- Footer ----
    void setFooter(const QString &field, FooterKind kind, const QString &text = QString(),
                   const QString &format = QString());
    void setFooterFormat(const QString &field, const QString &format);
    QString footerFormat(const QString &field) const;
    void setFooterSupplier(const QString &field, std::function<QString()> supplier);
    QString footerText(const QString &field) const;   // as shown
    QVariant footerValue(const QString &field) const; // number for sums and counts, else text
    FooterKind footerKind(const QString &field) const;
    bool hasFooter() const { return !m_footers.isEmpty(); }
    void recomputeFooter();
    QWidget *footerBar() const;
    // Where a footer cell is painted, in the footer bar's coordinates (tests of alignment).
    QRect footerCellRect(const QString &field) const;

    // ---- Bands ----
    void setBands(const QList<GridBand> &bands);
    const QList<GridBand> &bands() const { return m_bands; }
    void setBandVisible(const QString &caption, bool visible);
    QWidget *bandBar() const;

    // ---- Sorting, filtering, reloading ----
    void sortBy(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);
    void clearSort();
    void setFilter(const GridFilter &filter);
    // Reads the rows again; keeps the current row by the key field or goes to first/last.
    void reload(ReloadTarget target = ReloadTarget::KeepKey);

    // ---- Current row and selection ----
    int rowCount() const;
    int currentRow() const;
    void setCurrentRow(int row);
    QVariant currentValue(const QString &field) const;
    QVariant value(int row, const QString &field) const;
    bool locate(const QString &field, const QVariant &value);
    void goFirst();
    void goLast();
    // Selected rows in the order the operator selected them (a Shift range in row order).
    QList<int> selectedRows() const;
    QVariantList selectedKeys() const;

    // ---- Editing ----
    // Called on confirming an edit: row key, field, the text as typed (empty included); for
    // check columns "1" or "0". The grid writes nothing itself; it reloads on the same key
    // and recomputes its footer afterwards.
    using CommitHook = std::function<void(const QVariant &key, const QString &field, const QString &text)>;
    void setCommitHook(CommitHook hook) { m_commit = std::move(hook); }
    bool isEditing() const;
    // Confirms an open edit (window commands call it first); false when none was open.
    bool confirmEdit();
    bool hasEditableColumns() const;

    // Whether a double click emits rowActivated too (it always emits rowDoubleClicked); off,
    // a screen tells the two apart (the goods pickers' direct add).
    void setDoubleClickActivates(bool on) { m_doubleClickActivates = on; }

    // ---- Appearance ----
    void setRowIndicator(bool on);
    void setCurrentColumnHeaderHighlight(bool on);
    void setRowHeight(int pixels);
    void setFontPointSize(int points);

    // ---- Popup and drag ----
    // The menu opens on right-button release after `beforeShow` enabled and re-captioned items.
    void setPopupMenu(QMenu *menu, std::function<void(QMenu *)> beforeShow = {});
    QMenu *popupMenu() const { return m_menu; }
    void openPopup(const QPoint &globalPos);
    void setRowDragSource(bool on);
    void setRowDropTarget(bool on);
    // Mime data of a row drag from this grid (the current row's key).
    QMimeData *dragData() const;
    // A row dropped from a grid: emits rowDropped with the key. False when not a grid row.
    bool acceptDrop(const QMimeData *data);

Q_SIGNALS:
    void currentRowChanged(int row);
    // Enter on a read-only grid, double-click on any: the screen's signal (line dialog …).
    void rowActivated(int row);
    void rowDoubleClicked(int row);
    void rowDropped(const QVariant &key, DataGrid *source);
    void footerRecomputed();

private:
    friend class DataGridView;
    friend class GridDelegate;
    struct FooterSpec
    {
        FooterKind kind = FooterKind::None;
        QString text;
        QString format;
        std::function<QString()> supplier;
    };

    void applyColumnVisibility();
    void onCurrentChanged(const QModelIndex &current, const QModelIndex &previous);
    void onSelectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void onHeaderClicked(int logical);
    void stageCommit(const QModelIndex &index, const QString &text);
    void afterEditClosed(QAbstractItemDelegate::EndEditHint hint);
    void runCommit(int row, const QString &field, const QString &text);
    void toggleCheck(const QModelIndex &index);
    bool moveToNextEditable();
    bool isCellEditable(int row, int column) const;
    void updateBars();
    int firstShownColumn() const;

    DataGridView *m_view = nullptr;
    QWidget *m_bandBar = nullptr;
    QWidget *m_footerBar = nullptr;
    // A screen may own its grids' models and lose them before the grid (children die in order
    // of birth): the grid never reaches a model that is gone.
    QPointer<GridModel> m_model;
    QHash<QString, bool> m_visible;
    QHash<QString, bool> m_gated;
    QHash<QString, FooterSpec> m_footers;
    QHash<QString, QVariant> m_footerValues;
    QHash<QString, QString> m_footerTexts;
    QList<GridBand> m_bands;
    QList<int> m_selectionOrder;
    CommitHook m_commit;
    struct Staged
    {
        bool set = false;
        int row = -1;
        QString field;
        QString text;
    } m_staged;
    int m_pendingMove = 0;  // -1 up, +1 down after an edit closes
    bool m_autoWidth = false;
    bool m_doubleClickActivates = true;
    bool m_reloading = false;
    int m_lastRow = -1;
    QPointer<QMenu> m_menu;
    std::function<void(QMenu *)> m_beforePopup;
};

// Paints and edits the cells of a DataGrid by column kind (no widget per row or cell).
class GridDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit GridDelegate(DataGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    DataGrid *m_grid;
};
