#include "screenkit/gridmodel.h"

#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/rowreading.h"
#include "foundation/db/sqlroutines.h"
#include "screenkit/numberdisplay.h"

#include <QFont>
#include <QRegularExpression>
#include <QSqlField>
#include <QSqlRecord>

#include <algorithm>

QVariant TypedValue(const QVariant &raw, ColumnKind kind)
{
    if (!raw.isValid() || raw.isNull())
        return QVariant();
    switch (kind) {
    case ColumnKind::Money:
    case ColumnKind::Quantity:
    case ColumnKind::Number:
        if (raw.typeId() == QMetaType::QString)
            return TextToNumber(raw.toString());
        return raw.toDouble();
    case ColumnKind::Integer:
        if (raw.typeId() == QMetaType::QString)
            return qlonglong(TextToNumber(raw.toString()));
        return raw.toLongLong();
    case ColumnKind::Check:
        if (raw.typeId() == QMetaType::QString)
            return raw.toString() == QLatin1String("1")
                   || raw.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
        return raw.toDouble() != 0.0;
    case ColumnKind::Icon:
        return raw.toInt();
    case ColumnKind::Text:
    case ColumnKind::DateText:
        return ValueText(raw);
    }
    return raw;
}

// ---------------------------------------------------------------------------------------------

GridFilter GridFilter::ofTerms(const QList<Term> &terms, bool any)
{
    GridFilter f;
    f.anyTerm = any;
    for (const Term &t : terms) {
        Term kept;
        for (const QString &field : t.fields)
            if (!field.isEmpty() && !kept.fields.contains(field))
                kept.fields << field;
        for (const QString &text : t.texts)
            if (!text.isEmpty() && !kept.texts.contains(text))
                kept.texts << text;
        if (!kept.fields.isEmpty() && !kept.texts.isEmpty())
            f.terms << kept;
    }
    f.kind = f.terms.isEmpty() ? Kind::None : Kind::Terms;
    return f;
}

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent) {}

void GridModel::setColumns(const QList<GridColumn> &columns)
{
    beginResetModel();
    m_columns = columns;
    endResetModel();
}

int GridModel::columnOf(const QString &field) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

GridColumn &GridModel::column(const QString &field)
{
    const int c = columnOf(field);
    Q_ASSERT_X(c >= 0, "GridModel::column", qPrintable(field));
    return m_columns[c];
}

const GridColumn &GridModel::column(const QString &field) const
{
    const int c = columnOf(field);
    Q_ASSERT_X(c >= 0, "GridModel::column", qPrintable(field));
    return m_columns.at(c);
}

void GridModel::setSort(const QString &field, Qt::SortOrder order)
{
    m_sortField = field;
    m_sortOrder = order;
    sortOrFilterChanged();
}

void GridModel::setFilter(const GridFilter &filter)
{
    m_filter = filter;
    sortOrFilterChanged();
}

QVariant GridModel::value(int row, const QString &field) const
{
    const int c = columnOf(field);
    if (c < 0 || row < 0 || row >= rowCount())
        return QVariant();
    return rawValue(row, c);
}

QString GridModel::displayText(int row, const QString &field) const
{
    const int c = columnOf(field);
    if (c < 0)
        return QString();
    return data(index(row, c), Qt::DisplayRole).toString();
}

void GridModel::setHighlightedColumn(int column)
{
    if (column == m_highlighted)
        return;
    const int old = m_highlighted;
    m_highlighted = column;
    if (m_headerHighlight) {
        if (old >= 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, old, old);
        if (column >= 0)
            Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
    }
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= m_columns.size())
        return QVariant();
    const GridColumn &col = m_columns.at(index.column());
    switch (role) {
    case Qt::DisplayRole: {
        const QVariant v = rawValue(index.row(), index.column());
        if (col.kind == ColumnKind::Check || col.kind == ColumnKind::Icon)
            return QVariant();
        if (!v.isValid())
            return QString();
        if (col.isNumber())
            return col.format.isEmpty() ? NumberText(v.toDouble())
                                        : DisplayNumber(v.toDouble(), col.format);
        return v.toString();
    }
    case Qt::EditRole:
        return rawValue(index.row(), index.column());
    case Qt::TextAlignmentRole:
        if (col.isNumber())
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::ForegroundRole: {
        if (cellTextColour) {
            const QColor c = cellTextColour(*this, index.row(), col.field);
            if (c.isValid())
                return c;
        }
        if (rowTextColour) {
            const QColor c = rowTextColour(*this, index.row());
            if (c.isValid())
                return c;
        }
        return QVariant();
    }
    case Qt::ToolTipRole:
        return col.hint.isEmpty() ? QVariant() : QVariant(col.hint);
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical) {
        if (role == Qt::DisplayRole)
            return section + 1;
        return QVariant();
    }
    if (section < 0 || section >= m_columns.size())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return m_columns.at(section).caption;
    case Qt::ToolTipRole:
        return m_columns.at(section).hint.isEmpty() ? QVariant() : m_columns.at(section).hint;
    case Qt::FontRole:
        if (m_headerHighlight && section == m_highlighted) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return QVariant();
    case Qt::ForegroundRole:
        if (m_headerHighlight && section == m_highlighted)
            return QColor(Qt::red);
        return QVariant();
    default:
        return QVariant();
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled
                      | Qt::ItemIsDropEnabled;
    const GridColumn &col = m_columns.at(index.column());
    if (col.editable && col.kind != ColumnKind::Check
        && (!rowEditable || rowEditable(*this, index.row(), col.field)))
        f |= Qt::ItemIsEditable;
    return f;
}

// ---------------------------------------------------------------------------------------------

namespace {

// "b.kc_sl" → "kc_sl": names of the body's tables mean nothing outside it.
QString dropQualifiers(const QString &sql)
{
    static const QRegularExpression qualifier(QStringLiteral("\\b[A-Za-z_][A-Za-z0-9_]*\\.(?=[A-Za-z_])"));
    QString out = sql;
    out.replace(qualifier, QString());
    return out;
}

} // namespace

SqlGridModel::SqlGridModel(const QSqlDatabase &db, QObject *parent)
    : GridModel(parent), m_db(db)
{
}

void SqlGridModel::setStatement(const QString &body, const QString &orderClause,
                                const QVariantList &binds)
{
    m_body = body;
    m_order = orderClause;
    m_binds = binds;
}

QString SqlGridModel::fromSql(QVariantList *binds) const
{
    *binds = m_binds;
    if (m_filter.kind == GridFilter::Kind::Terms && !m_filter.terms.isEmpty())
        return termsSql(binds);
    if (m_filter.kind == GridFilter::Kind::None || m_filter.fields.isEmpty())
        return m_body;
    const Dialect dialect = Dialect::of(m_db);
    QStringList terms;
    if (m_filter.kind == GridFilter::Kind::Contains) {
        for (const QString &field : m_filter.fields) {
            const int c = columnOf(field);
            const QString expr = (c >= 0 && m_columns.at(c).isNumber())
                                     ? dialect.castText(QStringLiteral("q.") + field)
                                     : QStringLiteral("q.") + field;
            terms << dialect.likeClause(expr);
            binds->append(Dialect::containsPattern(m_filter.text));
        }
    } else {
        terms << dialect.likeClause(QStringLiteral("q.") + m_filter.fields.first());
        binds->append(Dialect::startsWithPattern(m_filter.text));
    }
    return QStringLiteral("select * from (%1) q where (%2)").arg(m_body, terms.join(QStringLiteral(" or ")));
}

QString SqlGridModel::filterExpression(const QString &field) const
{
    const int c = columnOf(field);
    const QString expr = QStringLiteral("q.") + field;
    return (c >= 0 && m_columns.at(c).isNumber()) ? Dialect::of(m_db).castText(expr) : expr;
}

QString SqlGridModel::termsSql(QVariantList *binds) const
{
    const Dialect dialect = Dialect::of(m_db);
    QStringList terms;
    for (const GridFilter::Term &term : m_filter.terms) {
        QStringList alternatives;
        for (const QString &field : term.fields) {
            const QString clause = dialect.likeClause(filterExpression(field));
            for (const QString &text : term.texts) {
                alternatives << clause;
                binds->append(Dialect::containsPattern(text));
            }
        }
        terms << QStringLiteral("(") + alternatives.join(QStringLiteral(" or ")) + QLatin1Char(')');
    }
    return QStringLiteral("select * from (%1) q where %2")
        .arg(m_body, terms.join(m_filter.anyTerm ? QStringLiteral(" or ") : QStringLiteral(" and ")));
}

QString SqlGridModel::orderText(bool wrapped) const
{
    QString order;
    if (!m_sortField.isEmpty() && columnOf(m_sortField) >= 0) {
        const GridColumn &col = column(m_sortField);
        const QString expr = col.sortExpression.isEmpty() ? col.field : col.sortExpression;
        const QString dir = m_sortOrder == Qt::DescendingOrder ? QStringLiteral(" desc")
                                                               : QStringLiteral(" asc");
        order = expr + dir;
        if (!m_keyField.isEmpty() && m_keyField.compare(col.field, Qt::CaseInsensitive) != 0)
            order += QStringLiteral(", ") + m_keyField + dir;
    } else {
        order = m_order;
    }
    return wrapped ? dropQualifiers(order) : order;
}

QString SqlGridModel::orderSql(bool wrapped) const
{
    const QString order = orderText(wrapped);
    if (order.isEmpty())
        return QString();
    return QStringLiteral(" order by ") + order;
}

QString SqlGridModel::selectSql(QVariantList *binds) const
{
    const QString from = fromSql(binds);
    return from + orderSql(from != m_body);
}

void SqlGridModel::reload()
{
    beginResetModel();
    m_blocks.clear();
    m_blocksRead = 0;
    m_offsetReads = 0;
    m_plan = KeysetPlan();
    m_count = 0;
    if (!m_body.isEmpty()) {
        buildKeysetPlan();
        if (m_plan.usable) {
            // The key identifies the rows only where it is never NULL: counted in the same pass.
            QSqlQuery q = OpenSelect(m_db,
                                     QStringLiteral("select count(*), count(p.%1) from (%2) p")
                                         .arg(m_plan.keys.last(), m_plan.inner),
                                     m_plan.binds);
            if (q.next()) {
                m_count = q.value(0).toInt();
                m_plan.usable = q.value(1).toInt() == m_count;
            }
        } else {
            QVariantList binds;
            const QString from = fromSql(&binds);
            m_count = QueryScalar(m_db, QStringLiteral("select count(*) from (%1) c").arg(from), binds)
                          .toInt();
        }
    }
    endResetModel();
}

void SqlGridModel::sortOrFilterChanged()
{
    reload();
}

int SqlGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_count;
}

namespace {

// The terms of an order clause ("a.rq desc, a.id"), split at the commas outside brackets.
QStringList orderTerms(const QString &order)
{
    QStringList terms;
    int depth = 0;
    QString current;
    for (const QChar ch : order) {
        if (ch == QLatin1Char('('))
            ++depth;
        else if (ch == QLatin1Char(')'))
            --depth;
        if (ch == QLatin1Char(',') && depth == 0) {
            terms << current.trimmed();
            current.clear();
        } else {
            current += ch;
        }
    }
    if (!current.trimmed().isEmpty())
        terms << current.trimmed();
    return terms;
}

bool isBareName(const QString &expr)
{
    static const QRegularExpression name(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return name.match(expr).hasMatch();
}

// Where NULLs come in an order: SQLite puts them first when ascending, PostgreSQL last.
bool nullsFirst(const Dialect &dialect, bool descending)
{
    return dialect.isSqlite() ? !descending : descending;
}

} // namespace

void SqlGridModel::buildKeysetPlan() const
{
    m_plan = KeysetPlan();
    m_plan.built = true;
    if (m_body.isEmpty())
        return;
    QVariantList binds;
    const QString from = fromSql(&binds);
    const QString order = orderText(from != m_body);
    const QStringList terms = orderTerms(order);
    if (terms.isEmpty() || m_keyField.isEmpty())
        return;
    static const QRegularExpression direction(QStringLiteral("^(.*\\S)\\s+(asc|desc)$"),
                                              QRegularExpression::CaseInsensitiveOption
                                                  | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression unkeyable(QStringLiteral("\\b(nulls|collate)\\b"),
                                              QRegularExpression::CaseInsensitiveOption);
    QStringList exprs;
    QVector<bool> descending;
    for (const QString &term : terms) {
        const QRegularExpressionMatch m = direction.match(term);
        const QString expr = m.hasMatch() ? m.captured(1).trimmed() : term;
        if (expr.isEmpty() || unkeyable.match(expr).hasMatch())
            return;
        exprs << expr;
        descending << (m.hasMatch() && m.captured(2).compare(QLatin1String("desc"), Qt::CaseInsensitive) == 0);
    }
    // The last term must identify the row, or rows of equal order values could be skipped.
    if (dropQualifiers(exprs.last()).compare(m_keyField, Qt::CaseInsensitive) != 0)
        return;

    // The names of the rows' columns: a bare name among them is read from the rows (an order
    // term names the output column before a table's), anything else becomes a column of its own.
    const QSqlRecord rec = OpenSelect(m_db, QStringLiteral("select * from (%1) z limit 0").arg(from), binds).record();
    QStringList outputs;
    for (int i = 0; i < rec.count(); ++i)
        outputs << rec.fieldName(i).toLower();
    QStringList keys;
    QStringList added;
    for (int i = 0; i < exprs.size(); ++i) {
        const QString &expr = exprs.at(i);
        if (isBareName(expr) && outputs.count(expr.toLower()) == 1) {
            keys << expr.toLower();
        } else if (isBareName(expr) && outputs.count(expr.toLower()) > 1) {
            return;
        } else {
            const QString name = QStringLiteral("jxc_k%1").arg(i);
            added << expr + QStringLiteral(" as ") + name;
            keys << name;
        }
    }
    QString inner = from;
    if (!added.isEmpty()) {
        static const QRegularExpression plainSelect(QStringLiteral("^\\s*select\\s+(?!distinct\\b|all\\b)"),
                                                    QRegularExpression::CaseInsensitiveOption);
        static const QRegularExpression compound(QStringLiteral("\\b(union|intersect|except)\\b"),
                                                 QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = plainSelect.match(from);
        if (!m.hasMatch() || compound.match(from).hasMatch())
            return;
        inner = QStringLiteral("select ") + added.join(QStringLiteral(", ")) + QStringLiteral(", ")
                + from.mid(m.capturedEnd());
    }
    m_plan.usable = true;
    m_plan.inner = inner;
    m_plan.binds = binds;
    m_plan.keys = keys;
    m_plan.descending = descending;
}

namespace {

// Where a statement's columns are (found at its first row).
struct RowLayout
{
    bool ready = false;
    QVector<int> positions;  // of the model's columns, -1 when absent
    QVector<bool> exact;     // decimal columns, read as text where the order values are exact
    QVector<int> keyPositions;
};

// Appends the row `q` stands on to `block`, typed by the columns, and keeps the order values of
// the block's first and last row.
template<typename BlockRows>
void addRow(const QSqlQuery &q, BlockRows &block, RowLayout &layout, const QList<GridColumn> &columns,
            const QStringList &keys, int blockSize)
{
    if (!layout.ready) {
        layout.ready = true;
        const QSqlRecord rec = q.record();
        for (const GridColumn &c : columns) {
            layout.positions << rec.indexOf(c.field);
            layout.exact << (layout.positions.last() >= 0
                             && rec.field(layout.positions.last()).metaType().id() == QMetaType::Double);
        }
        for (const QString &k : keys)
            layout.keyPositions << rec.indexOf(k);
        block.rows.reserve(blockSize);
    }
    QVector<QVariant> r(columns.size());
    for (int i = 0; i < columns.size(); ++i) {
        const int p = layout.positions.at(i);
        if (p < 0)
            continue;
        QVariant v = q.value(p);
        // Numbers read as their text (the order values), shown as numbers.
        if (layout.exact.at(i) && !v.isNull() && v.typeId() == QMetaType::QString)
            v = v.toString().toDouble();
        r[i] = TypedValue(v, columns.at(i).kind);
    }
    const bool first = block.rows.isEmpty();
    block.rows.append(std::move(r));
    if (!layout.keyPositions.isEmpty()) {
        QVector<QVariant> key;
        key.reserve(layout.keyPositions.size());
        for (int p : layout.keyPositions)
            key << q.value(p);
        if (first)
            block.firstKey = key;
        block.lastKey = std::move(key);
    }
}

} // namespace

void SqlGridModel::fillBlock(QSqlQuery &q, Block &block, const QStringList &keys) const
{
    RowLayout layout;
    while (q.next())
        addRow(q, block, layout, m_columns, keys, m_blockSize);
}

SqlGridModel::Block SqlGridModel::readByKey(const QVector<QVariant> &from, Read direction, int limit,
                                             int offset) const
{
    const Dialect dialect = Dialect::of(m_db);
    const bool backward = direction == Read::Backward;
    QVariantList binds = m_plan.binds;
    QStringList orderBy;
    for (int i = 0; i < m_plan.keys.size(); ++i) {
        const bool desc = m_plan.descending.at(i) != backward;
        orderBy << QStringLiteral("p.") + m_plan.keys.at(i) + (desc ? QStringLiteral(" desc") : QStringLiteral(" asc"));
    }
    // Rows after `from` in the (possibly reversed) order: for some i, equal on the terms before
    // i and after on term i, NULLs placed where the database sorts them.
    QString where;
    if (!from.isEmpty()) {
        QStringList alternatives;
        QStringList equalSoFar;
        QVariantList equalBinds;
        for (int i = 0; i < m_plan.keys.size(); ++i) {
            const QString col = QStringLiteral("p.") + m_plan.keys.at(i);
            const bool desc = m_plan.descending.at(i) != backward;
            const bool nullFirst = nullsFirst(dialect, desc);
            const QVariant &v = from.at(i);
            const bool key = i == m_plan.keys.size() - 1;  // never NULL (counted on reloading)
            QString after;
            QVariantList afterBinds;
            if (v.isNull()) {
                after = nullFirst ? col + QStringLiteral(" is not null") : QString();
            } else {
                after = col + (desc ? QStringLiteral(" < ?") : QStringLiteral(" > ?"));
                afterBinds << v;
                if (!nullFirst && !key)
                    after = QStringLiteral("(") + after + QStringLiteral(" or ") + col + QStringLiteral(" is null)");
            }
            if (!after.isEmpty()) {
                QStringList parts = equalSoFar;
                parts << after;
                alternatives << QStringLiteral("(") + parts.join(QStringLiteral(" and ")) + QLatin1Char(')');
                binds << equalBinds << afterBinds;
            }
            if (v.isNull()) {
                equalSoFar << col + QStringLiteral(" is null");
            } else {
                equalSoFar << col + QStringLiteral(" = ?");
                equalBinds << v;
            }
        }
        where = alternatives.isEmpty()
                    ? QStringLiteral(" where 1 = 0")
                    : QStringLiteral(" where (") + alternatives.join(QStringLiteral(" or ")) + QLatin1Char(')');
        // A bound on the first value lets the database start at it in an index.
        const bool desc0 = m_plan.descending.at(0) != backward;
        if (m_plan.keys.size() > 1 && !from.at(0).isNull() && nullsFirst(dialect, desc0)) {
            where += QStringLiteral(" and p.") + m_plan.keys.at(0) + (desc0 ? QStringLiteral(" <= ?") : QStringLiteral(" >= ?"));
            binds << from.at(0);
        }
    }
    const QString sql = QStringLiteral("select * from (") + m_plan.inner + QStringLiteral(") p") + where
                        + QStringLiteral(" order by ") + orderBy.join(QStringLiteral(", "))
                        + QStringLiteral(" limit ") + QString::number(limit)
                        + (offset > 0 ? QStringLiteral(" offset ") + QString::number(offset) : QString());
    Block block;
    if (offset > 0) {  // a text of its own for every offset: not worth keeping prepared
        QSqlQuery q(m_db);
        if (dialect.isPostgres())
            q.setNumericalPrecisionPolicy(QSql::HighPrecision);  // order values exactly as stored
        OpenQuery(q, sql, binds);
        fillBlock(q, block, m_plan.keys);
    } else {
        // The block after (or before) another has the same text every time (only its bound
        // values change): kept prepared, so on PostgreSQL each block is one EXECUTE, its rows
        // in one result; order values exactly as stored.
        RowLayout layout;
        ForEachRow(m_db, sql, binds, RowReading{true, true},
                   [&](const QSqlQuery &q) { addRow(q, block, layout, m_columns, m_plan.keys, m_blockSize); });
    }
    if (backward) {
        std::reverse(block.rows.begin(), block.rows.end());
        std::swap(block.firstKey, block.lastKey);
    }
    return block;
}

void SqlGridModel::readByOffset(int block) const
{
    Block b;
    if (m_plan.usable) {
        b = readByKey({}, Read::Forward, m_blockSize, block * m_blockSize);
    } else {
        QVariantList binds;
        const QString sql = selectSql(&binds)
                            + QStringLiteral(" limit %1 offset %2").arg(m_blockSize).arg(block * m_blockSize);
        QSqlQuery q(m_db);
        if (Dialect::of(m_db).isPostgres())
            q.setNumericalPrecisionPolicy(QSql::HighPrecision);
        OpenQuery(q, sql, binds);
        fillBlock(q, b, {});
    }
    ++m_blocksRead;
    ++m_offsetReads;
    m_blocks.insert(block, std::move(b));
}

void SqlGridModel::loadBlock(int block) const
{
    if (!m_plan.built)
        buildKeysetPlan();
    if (!m_plan.usable) {
        readByOffset(block);
        return;
    }
    const int lastBlock = (m_count - 1) / m_blockSize;
    // A block next to a loaded one, the first and the last are read by key.
    const int below = block > 0 && m_blocks.contains(block - 1) ? block - 1 : -1;
    const int above = block < lastBlock && m_blocks.contains(block + 1) ? block + 1 : -1;
    auto forwardFrom = [&](int start) {  // start: a loaded block, or -1 for the first row
        for (int b = start + 1; b <= block; ++b) {
            const QVector<QVariant> from = b == 0 ? QVector<QVariant>() : m_blocks.value(b - 1).lastKey;
            if (b > 0 && (from.isEmpty() || from.last().isNull())) {  // the rows changed under the grid
                readByOffset(b);
                continue;
            }
            Block next = readByKey(from, Read::Forward, m_blockSize);
            ++m_blocksRead;
            m_blocks.insert(b, std::move(next));
        }
    };
    auto backwardFrom = [&](int start) {  // start: a loaded block, or lastBlock + 1 for the end
        for (int b = start - 1; b >= block; --b) {
            const int size = b == lastBlock ? m_count - lastBlock * m_blockSize : m_blockSize;
            const QVector<QVariant> from = b == lastBlock ? QVector<QVariant>() : m_blocks.value(b + 1).firstKey;
            if (b < lastBlock && (from.isEmpty() || from.last().isNull())) {
                readByOffset(b);
                continue;
            }
            Block next = readByKey(from, Read::Backward, size);
            ++m_blocksRead;
            m_blocks.insert(b, std::move(next));
        }
    };
    if (below >= 0)
        forwardFrom(below);
    else if (above >= 0)
        backwardFrom(above);
    else if (block == 0)
        forwardFrom(-1);
    else if (block == lastBlock)
        backwardFrom(lastBlock + 1);
    else
        readByOffset(block);
}

const QVector<QVariant> &SqlGridModel::rowAt(int row) const
{
    static const QVector<QVariant> empty;
    if (row < 0 || row >= m_count)
        return empty;
    const int block = row / m_blockSize;
    auto it = m_blocks.constFind(block);
    if (it == m_blocks.constEnd()) {
        loadBlock(block);
        it = m_blocks.constFind(block);
        if (it == m_blocks.constEnd())
            return empty;
    }
    const int inBlock = row - block * m_blockSize;
    if (inBlock >= it->rows.size())
        return empty;
    return it->rows.at(inBlock);
}

QVariant SqlGridModel::rawValue(int row, int column) const
{
    const QVector<QVariant> &r = rowAt(row);
    return column < r.size() ? r.at(column) : QVariant();
}

QVector<double> SqlGridModel::sums(const QStringList &fields, int *count) const
{
    QVector<double> out(fields.size(), 0.0);
    if (m_body.isEmpty()) {
        if (count)
            *count = 0;
        return out;
    }
    QStringList terms;
    for (const QString &f : fields)
        terms << QStringLiteral("sum(s.%1)").arg(f);
    terms << QStringLiteral("count(*)");
    QVariantList binds;
    const QString from = fromSql(&binds);
    QSqlQuery q = OpenSelect(m_db, QStringLiteral("select %1 from (%2) s").arg(terms.join(QLatin1Char(',')), from),
                             binds);
    if (q.next()) {
        for (int i = 0; i < fields.size(); ++i)
            out[i] = TextToNumber(ValueText(q.value(i)));
        if (count)
            *count = q.value(int(fields.size())).toInt();
    }
    return out;
}

double SqlGridModel::sum(const QString &field) const
{
    return sums({field}, nullptr).value(0);
}

int SqlGridModel::locate(const QString &field, const QVariant &value) const
{
    if (m_body.isEmpty() || columnOf(field) < 0)
        return -1;
    QVariantList binds;
    const QString from = fromSql(&binds);
    const QString order = orderSql(true);
    const QString sql = QStringLiteral("select z.rn from (select l.%1 as f, row_number() over (%2) as rn "
                                       "from (%3) l) z where z.f = ? order by z.rn limit 1")
                            .arg(field, order.trimmed(), from);
    binds.append(value);
    const QString rn = QueryScalar(m_db, sql, binds);
    return rn.isEmpty() ? -1 : rn.toInt() - 1;
}

void SqlGridModel::forEachRow(const std::function<bool(const QVector<QVariant> &)> &visit) const
{
    if (m_body.isEmpty())
        return;
    QVariantList binds;
    QSqlQuery q = OpenSelect(m_db, selectSql(&binds), binds);
    const QSqlRecord rec = q.record();
    QVector<int> positions;
    for (const GridColumn &c : m_columns)
        positions << rec.indexOf(c.field);
    QVector<QVariant> r(m_columns.size());
    while (q.next()) {
        for (int i = 0; i < m_columns.size(); ++i)
            r[i] = positions.at(i) >= 0 ? TypedValue(q.value(positions.at(i)), m_columns.at(i).kind)
                                        : QVariant();
        if (!visit(r))
            return;
    }
}

// ---------------------------------------------------------------------------------------------

RowSetModel::RowSetModel(QObject *parent) : GridModel(parent) {}

void RowSetModel::setRows(const QVector<QVector<QVariant>> &rows)
{
    m_rows.clear();
    m_rows.reserve(rows.size());
    for (const QVector<QVariant> &r : rows) {
        QVector<QVariant> typed(m_columns.size());
        for (int i = 0; i < m_columns.size() && i < r.size(); ++i)
            typed[i] = TypedValue(r.at(i), m_columns.at(i).kind);
        m_rows.append(std::move(typed));
    }
    beginResetModel();
    rebuildView();
    endResetModel();
}

void RowSetModel::setRowMaps(const QList<QVariantMap> &rows)
{
    QVector<QVector<QVariant>> out;
    out.reserve(rows.size());
    for (const QVariantMap &m : rows) {
        QVector<QVariant> r(m_columns.size());
        for (int i = 0; i < m_columns.size(); ++i)
            r[i] = m.value(m_columns.at(i).field);
        out.append(std::move(r));
    }
    setRows(out);
}

void RowSetModel::reload()
{
    if (m_loader) {
        setRowMaps(m_loader());
        return;
    }
    beginResetModel();
    rebuildView();
    endResetModel();
}

void RowSetModel::sortOrFilterChanged()
{
    beginResetModel();
    rebuildView();
    endResetModel();
}

QString RowSetModel::filterText(int row, int column) const
{
    const QVariant &v = m_rows.at(row).at(column);
    return m_columns.at(column).isNumber() && v.isValid() ? NumberText(v.toDouble()) : v.toString();
}

bool RowSetModel::meetsTerms(int row) const
{
    for (const GridFilter::Term &term : m_filter.terms) {
        bool hit = false;
        for (const QString &field : term.fields) {
            const int c = columnOf(field);
            if (c < 0)
                continue;
            const QString text = filterText(row, c);
            for (const QString &wanted : term.texts)
                if (text.contains(wanted, Qt::CaseInsensitive)) {
                    hit = true;
                    break;
                }
            if (hit)
                break;
        }
        if (hit && m_filter.anyTerm)
            return true;
        if (!hit && !m_filter.anyTerm)
            return false;
    }
    return !m_filter.anyTerm;
}

void RowSetModel::rebuildView()
{
    m_view.clear();
    m_view.reserve(m_rows.size());
    QVector<int> fields;
    if (m_filter.kind != GridFilter::Kind::None) {
        for (const QString &f : m_filter.fields)
            fields << columnOf(f);
    }
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_filter.kind == GridFilter::Kind::None) {
            m_view.append(i);
            continue;
        }
        if (m_filter.kind == GridFilter::Kind::Terms) {
            if (meetsTerms(i))
                m_view.append(i);
            continue;
        }
        bool hit = false;
        for (int c : fields) {
            if (c < 0)
                continue;
            const QVariant &v = m_rows.at(i).at(c);
            const QString text = m_columns.at(c).isNumber() && v.isValid() ? NumberText(v.toDouble())
                                                                          : v.toString();
            hit = m_filter.kind == GridFilter::Kind::Contains
                      ? text.contains(m_filter.text, Qt::CaseInsensitive)
                      : text.startsWith(m_filter.text, Qt::CaseInsensitive);
            if (hit || m_filter.kind == GridFilter::Kind::Prefix)
                break;
        }
        if (hit)
            m_view.append(i);
    }
    const int c = m_sortField.isEmpty() ? -1 : columnOf(m_sortField);
    if (c < 0)
        return;
    const bool number = m_columns.at(c).isNumber() || m_columns.at(c).kind == ColumnKind::Check
                        || m_columns.at(c).kind == ColumnKind::Icon;
    const bool desc = m_sortOrder == Qt::DescendingOrder;
    std::stable_sort(m_view.begin(), m_view.end(), [&](int a, int b) {
        const QVariant &va = m_rows.at(a).at(c);
        const QVariant &vb = m_rows.at(b).at(c);
        int cmp;
        if (number) {
            const double x = va.toDouble();
            const double y = vb.toDouble();
            cmp = x < y ? -1 : (x > y ? 1 : 0);
        } else {
            cmp = QString::compare(va.toString(), vb.toString(), Qt::CaseSensitive);
        }
        return desc ? cmp > 0 : cmp < 0;
    });
}

int RowSetModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_view.size());
}

QVariant RowSetModel::rawValue(int row, int column) const
{
    if (row < 0 || row >= m_view.size())
        return QVariant();
    const QVector<QVariant> &r = m_rows.at(m_view.at(row));
    return column < r.size() ? r.at(column) : QVariant();
}

double RowSetModel::sum(const QString &field) const
{
    const int c = columnOf(field);
    if (c < 0)
        return 0.0;
    double total = 0.0;
    for (int i : m_view)
        total += m_rows.at(i).at(c).toDouble();
    return total;
}

int RowSetModel::locate(const QString &field, const QVariant &value) const
{
    const int c = columnOf(field);
    if (c < 0)
        return -1;
    const QVariant want = TypedValue(value, m_columns.at(c).kind);
    for (int row = 0; row < m_view.size(); ++row) {
        const QVariant &v = m_rows.at(m_view.at(row)).at(c);
        if (m_columns.at(c).isNumber() ? v.toDouble() == want.toDouble() : v.toString() == want.toString())
            return row;
    }
    return -1;
}

void RowSetModel::forEachRow(const std::function<bool(const QVector<QVariant> &)> &visit) const
{
    for (int i : m_view) {
        if (!visit(m_rows.at(i)))
            return;
    }
}
