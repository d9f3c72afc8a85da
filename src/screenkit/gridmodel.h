#pragma once

#include "screenkit/gridcolumn.h"

#include <QAbstractTableModel>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <functional>

// Where the grid goes after a reload.
enum class ReloadTarget { KeepKey, First, Last };

// What a search box asks of a grid.
struct GridFilter
{
    enum class Kind { None, Contains, Prefix, Terms };
    // One term of a Terms filter: a row meets it when one of `texts` occurs in one of `fields`
    // (literally, letter case ignored).
    struct Term
    {
        QStringList fields;
        QStringList texts;
    };

    Kind kind = Kind::None;
    QStringList fields;  // Contains: any of these; Prefix: the first
    QString text;        // matched literally, letter case ignored ("%" and "_" are characters)
    QList<Term> terms;   // Terms: all of them, or any of them with `anyTerm`
    bool anyTerm = false;

    static GridFilter contains(const QStringList &fields, const QString &text)
    {
        return {text.isEmpty() ? Kind::None : Kind::Contains, fields, text, {}, false};
    }
    static GridFilter prefix(const QString &field, const QString &text)
    {
        return {text.isEmpty() ? Kind::None : Kind::Prefix, {field}, text, {}, false};
    }
    // Rows meeting every term (search criteria) or at least one (a keyword over several
    // columns is one term). Empty texts and duplicates are dropped, a term left without fields
    // or texts is left out, and no term left filters nothing.
    static GridFilter allOf(const QList<Term> &terms) { return ofTerms(terms, false); }
    static GridFilter anyOf(const QList<Term> &terms) { return ofTerms(terms, true); }

private:
    static GridFilter ofTerms(const QList<Term> &terms, bool any);
};

// The data of one grid: its columns, the rows of its filtered and sorted result, footer
// figures over all those rows. Two kinds: rows from a statement (SqlGridModel) and rows
// computed by rules (RowSetModel).
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit GridModel(QObject *parent = nullptr);

    void setColumns(const QList<GridColumn> &columns);
    const QList<GridColumn> &columns() const { return m_columns; }
    GridColumn &column(const QString &field);
    const GridColumn &column(const QString &field) const;
    int columnOf(const QString &field) const;  // -1 when unknown
    bool hasField(const QString &field) const { return columnOf(field) >= 0; }

    // The field that identifies a row (id, g_sn …): reloads keep the current row by it.
    void setKeyField(const QString &field) { m_keyField = field; }
    QString keyField() const { return m_keyField; }

    // Sorting by one column; an empty field returns to the rows' own order.
    void setSort(const QString &field, Qt::SortOrder order = Qt::AscendingOrder);
    void clearSort() { setSort(QString()); }
    QString sortField() const { return m_sortField; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }

    void setFilter(const GridFilter &filter);
    const GridFilter &filter() const { return m_filter; }

    // Reads the rows again (statement run again, rules asked again) with filter and sort.
    virtual void reload() = 0;

    // The value of a row by field name, typed by the column's kind.
    virtual QVariant value(int row, const QString &field) const;
    // The text a cell shows (format applied).
    QString displayText(int row, const QString &field) const;

    // Footer figures over every row of the filtered result.
    virtual double sum(const QString &field) const = 0;
    virtual int totalCount() const = 0;

    // Position of the first row whose field equals value in the current order, or -1.
    virtual int locate(const QString &field, const QVariant &value) const = 0;

    // Every row of the filtered and sorted result, in order, typed, one vector per row in
    // column order; the visitor returns false to stop. Rows need not be loaded.
    virtual void forEachRow(const std::function<bool(const QVector<QVariant> &)> &visit) const = 0;

    // Appearance rules the screen supplies.
    std::function<QColor(const GridModel &, int row)> rowTextColour;
    std::function<QColor(const GridModel &, int row, const QString &field)> cellTextColour;
    // Per-row editability (4.112: only ticked rows); empty: every row.
    std::function<bool(const GridModel &, int row, const QString &field)> rowEditable;

    void setHighlightedColumn(int column);  // header drawn bold red; -1 none
    void setHeaderHighlight(bool on) { m_headerHighlight = on; }

    // QAbstractTableModel
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

protected:
    virtual QVariant rawValue(int row, int column) const = 0;
    virtual void sortOrFilterChanged() = 0;

    QList<GridColumn> m_columns;
    QString m_keyField = QStringLiteral("id");
    QString m_sortField;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    GridFilter m_filter;
    int m_highlighted = -1;
    bool m_headerHighlight = false;
};

// Rows of a select statement, counted on opening and fetched in blocks as they are shown.
// The statement is given as its body ("select … from … where …") and its own order clause
// ("a.id desc"); filter and sort are applied by the database with bound values. Sort
// expressions and the filter name the statement's output columns (with a filter the body is
// read as a subquery; a qualifier such as "b." is then dropped).
//
// Blocks are read by key: when the order ends with the key field (a sort always does), the
// block after a loaded one is the rows after its last row's order values, the block before one
// the rows before its first row's values read backwards, and the last block is read backwards
// from the end; so every block costs the same however deep it lies. A block with no loaded
// neighbour (a scroll-bar drag to the middle) is read by its offset, and so is every block of an
// order the model cannot key (one that does not end with the key field, or whose values are
// expressions over a body that is no plain select).
class SqlGridModel final : public GridModel
{
    Q_OBJECT

public:
    explicit SqlGridModel(const QSqlDatabase &db, QObject *parent = nullptr);

    void setStatement(const QString &body, const QString &orderClause,
                      const QVariantList &binds = {});
    void setBlockSize(int rows) { m_blockSize = rows > 0 ? rows : 400; }
    int blockSize() const { return m_blockSize; }
    // Blocks read since the last reload (tests and benchmarks), and how many of them were read
    // by their offset instead of by key.
    int blocksRead() const { return m_blocksRead; }
    int blocksReadByOffset() const { return m_offsetReads; }

    void reload() override;
    double sum(const QString &field) const override;
    // Sums of several fields and the count in one statement.
    QVector<double> sums(const QStringList &fields, int *count) const;
    int totalCount() const override { return m_count; }
    int locate(const QString &field, const QVariant &value) const override;
    void forEachRow(const std::function<bool(const QVector<QVariant> &)> &visit) const override;

    int rowCount(const QModelIndex &parent = {}) const override;

    // The statement and values a read of all rows runs (for the report renderer).
    QString selectSql(QVariantList *binds) const;

protected:
    QVariant rawValue(int row, int column) const override;
    void sortOrFilterChanged() override;

private:
    QString fromSql(QVariantList *binds) const;   // body, wrapped with the filter when set
    QString termsSql(QVariantList *binds) const;  // body wrapped with a Terms filter
    QString filterExpression(const QString &field) const;
    QString orderText(bool wrapped) const;
    QString orderSql(bool wrapped) const;
    const QVector<QVariant> &rowAt(int row) const;

    // How blocks are read by key (built at the first read after a reload).
    struct KeysetPlan
    {
        bool built = false;
        bool usable = false;
        QString inner;        // the rows with the order values as columns
        QVariantList binds;   // of `inner`
        QStringList keys;     // the order values' column names in `inner`
        QVector<bool> descending;
    };
    struct Block
    {
        QVector<QVector<QVariant>> rows;
        QVector<QVariant> firstKey;  // order values of the first and last row
        QVector<QVariant> lastKey;
    };
    enum class Read { Forward, Backward };
    void buildKeysetPlan() const;
    void loadBlock(int block) const;
    void readByOffset(int block) const;
    // Reads up to `limit` rows after (Forward) or before (Backward) `from` in the order; an
    // empty `from` starts at the first (Forward) or last (Backward) row, `offset` rows on.
    Block readByKey(const QVector<QVariant> &from, Read direction, int limit, int offset = 0) const;
    void fillBlock(QSqlQuery &q, Block &block, const QStringList &keys) const;

    QSqlDatabase m_db;
    QString m_body;
    QString m_order;
    QVariantList m_binds;
    int m_blockSize = 400;
    int m_count = 0;
    mutable int m_blocksRead = 0;
    mutable int m_offsetReads = 0;
    mutable QHash<int, Block> m_blocks;
    mutable KeysetPlan m_plan;
};

// Rows computed by rules: set whole (or by a loader that reload() calls again); filtered and
// sorted in memory, numbers as numbers and text by code point.
class RowSetModel final : public GridModel
{
    Q_OBJECT

public:
    explicit RowSetModel(QObject *parent = nullptr);

    // Rows in column order.
    void setRows(const QVector<QVector<QVariant>> &rows);
    // Rows as field maps (fields not in the map stay empty).
    void setRowMaps(const QList<QVariantMap> &rows);
    void setLoader(std::function<QList<QVariantMap>()> loader) { m_loader = std::move(loader); }

    void reload() override;
    double sum(const QString &field) const override;
    int totalCount() const override { return int(m_view.size()); }
    int locate(const QString &field, const QVariant &value) const override;
    void forEachRow(const std::function<bool(const QVector<QVariant> &)> &visit) const override;

    int rowCount(const QModelIndex &parent = {}) const override;

protected:
    QVariant rawValue(int row, int column) const override;
    void sortOrFilterChanged() override;

private:
    void rebuildView();
    bool meetsTerms(int row) const;
    QString filterText(int row, int column) const;

    QVector<QVector<QVariant>> m_rows;  // typed
    QVector<int> m_view;                // rows of the filtered, sorted result
    std::function<QList<QVariantMap>()> m_loader;
};
