#include "foundation/schema/catalog.h"

#include <QRegularExpression>

#include <stdexcept>

namespace schema {

namespace {

const char *const kOrder[] = {
#include "foundation/schema/order.inc"
};

const char *const kKept[] = {
#include "foundation/schema/kept.inc"
};

ColType parseType(const QString &word, int *width)
{
    static const QRegularExpression sized(QStringLiteral("^(n?varchar)\\((\\d+)\\)$"));
    const QString w = word.toLower();
    *width = 0;
    const auto m = sized.match(w);
    if (m.hasMatch()) {
        *width = m.captured(2).toInt();
        return m.captured(1) == QLatin1String("varchar") ? ColType::Varchar : ColType::NVarchar;
    }
    if (w == QLatin1String("numeric") || w == QLatin1String("numeric(28,8)"))
        return ColType::Numeric;
    if (w == QLatin1String("int") || w == QLatin1String("integer"))
        return ColType::Int;
    if (w == QLatin1String("bit"))
        return ColType::Bit;
    if (w == QLatin1String("text"))
        return ColType::Text;
    throw std::invalid_argument("unknown column type: " + word.toStdString());
}

} // namespace

std::vector<Column> ParseColumns(const QString &spec)
{
    std::vector<Column> columns;
    const QStringList parts = spec.split(QLatin1Char(','), Qt::SkipEmptyParts);
    // "numeric(28,8)" would be split at its comma; join such pieces back.
    QStringList items;
    for (const QString &p : parts) {
        if (!items.isEmpty() && items.last().contains(QLatin1Char('('))
            && !items.last().contains(QLatin1Char(')')))
            items.last() += QLatin1Char(',') + p;
        else
            items << p;
    }
    for (const QString &item : items) {
        const QStringList words = item.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.size() < 2)
            throw std::invalid_argument("bad column: " + item.toStdString());
        Column c;
        c.name = words.at(0).toLower();
        c.type = parseType(words.at(1), &c.width);
        c.notNull = words.size() >= 4 && words.at(2).toLower() == QLatin1String("not")
                    && words.at(3).toLower() == QLatin1String("null");
        columns.push_back(c);
    }
    return columns;
}

Index ParseIndex(const QString &spec)
{
    Index index;
    QString s = spec.trimmed();
    if (s.startsWith(QLatin1String("unique "))) {
        index.unique = true;
        s = s.mid(7).trimmed();
    }
    const int colon = s.indexOf(QLatin1Char(':'));
    if (colon <= 0)
        throw std::invalid_argument("bad index: " + spec.toStdString());
    index.name = s.left(colon).trimmed();
    for (const QString &c : s.mid(colon + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        index.columns << c.trimmed().toLower();
    return index;
}

const Column *Table::column(const QString &name) const
{
    const QString n = name.toLower();
    for (const Column &c : columns) {
        if (c.name == n)
            return &c;
    }
    return nullptr;
}

Catalog::Catalog()
{
    for (auto group : {goodsTables, partnerTables, tradeTables, inventoryTables, ledgerTables,
                       posTables, settingsTables, assetTables}) {
        for (TableDef &def : group())
            m_defs.push_back(std::move(def));
    }
    for (const TableDef &def : m_defs) {
        Table t;
        t.name = QString::fromLatin1(def.name);
        t.def = &def;
        t.columns = ParseColumns(QString::fromUtf8(def.columns));
        for (Column c : ParseColumns(QString::fromUtf8(def.ownColumns))) {
            c.own = true;
            t.columns.push_back(c);
        }
        for (const char *ix : def.indexes)
            t.indexes.push_back(ParseIndex(QString::fromLatin1(ix)));
        // Every document header and line table is looked up by its document number.
        if (t.hasColumn(QStringLiteral("gl_djh"))) {
            bool covered = false;
            for (const Index &ix : t.indexes)
                covered = covered || ix.columns.value(0) == QLatin1String("gl_djh");
            if (!covered)
                t.indexes.push_back({QStringLiteral("djh"), {QStringLiteral("gl_djh")}, false});
        }
        m_tables.insert(t.name, t);
    }
    for (const char *name : kOrder)
        m_order << QString::fromLatin1(name);
    for (const char *name : kKept)
        m_kept << QString::fromLatin1(name);
}

const Catalog &Catalog::instance()
{
    static const Catalog catalog;
    return catalog;
}

const Table *Catalog::table(const QString &name) const
{
    auto it = m_tables.constFind(name.toLower());
    return it == m_tables.constEnd() ? nullptr : &it.value();
}

const Table &Catalog::tableOrThrow(const QString &name) const
{
    const Table *t = table(name);
    if (!t)
        throw std::invalid_argument("unknown table: " + name.toStdString());
    return *t;
}

bool Catalog::knows(const QString &name, const QString &column) const
{
    const Table *t = table(name);
    return t && (column.isEmpty() || column.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0
                 || t->hasColumn(column));
}

} // namespace schema
