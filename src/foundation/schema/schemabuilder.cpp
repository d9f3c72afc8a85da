#include "foundation/schema/schemabuilder.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/productconstants.h"
#include "foundation/schema/catalog.h"

#include <QSqlQuery>

using schema::Catalog;
using schema::Column;
using schema::Index;
using schema::Table;

namespace {

QString columnSql(const Dialect &dialect, const Column &c)
{
    return c.name + QLatin1Char(' ') + dialect.columnType(c.type, c.width)
           + (c.notNull ? QStringLiteral(" NOT NULL") : QStringLiteral(" NULL"));
}

QString indexName(const Table &t, const Index &ix)
{
    return t.name + QLatin1Char('_') + ix.name;
}

QString createIndexSql(const Table &t, const Index &ix, bool ifNotExists)
{
    return QStringLiteral("CREATE %1INDEX %2%3 ON %4 (%5)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(),
             ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(), indexName(t, ix), t.name,
             ix.columns.join(QStringLiteral(", ")));
}

QVariant resolve(const QVariant &value, const Clock &clock)
{
    if (value.typeId() != QMetaType::QString)
        return value;
    QString text = value.toString();
    if (!text.contains(QLatin1Char('{')))
        return value;
    const ProductConstants &p = Product();
    text.replace(QStringLiteral("{TODAY}"), clock.todayText());
    text.replace(QStringLiteral("{NOW}"), clock.nowText());
    text.replace(QStringLiteral("{BRAND}"), p.brandWord);
    text.replace(QStringLiteral("{VERSION}"), p.versionText);
    text.replace(QStringLiteral("{MAKER_COMPANY}"), p.makerCompanyName);
    text.replace(QStringLiteral("{MAKER_SOFTWARE}"), p.makerSoftwareName);
    text.replace(QStringLiteral("{MAKER_PHONE}"), p.makerPhone);
    text.replace(QStringLiteral("{MAKER_WEB}"), p.makerWebAddress);
    return text;
}

void insertDefaultRows(const QSqlDatabase &db, const Table &t, const Clock &clock)
{
    for (const schema::DefaultRows &group : t.def->defaults) {
        QStringList cols;
        for (const QString &c : QString::fromLatin1(group.columns).split(QLatin1Char(','), Qt::SkipEmptyParts))
            cols << c.trimmed();
        QStringList marks;
        for (int i = 0; i < cols.size(); ++i)
            marks << QStringLiteral("?");
        const QString sql = QStringLiteral("insert into %1 (%2) values (%3)")
                                .arg(t.name, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(',')));
        for (const std::vector<schema::Val> &row : group.rows) {
            QVariantList binds;
            for (const schema::Val &v : row)
                binds << resolve(v.value(), clock);
            while (binds.size() < cols.size())
                binds << QVariant();
            RunSql(db, sql, binds);
        }
    }
}

void createTable(const QSqlDatabase &db, const Table &t, bool withRows, const Clock &clock)
{
    DropTableIfExists(db, t.name);
    RunSql(db, CreateTableSql(db, t.name));
    for (const Index &ix : t.indexes)
        RunSql(db, createIndexSql(t, ix, false));
    if (withRows)
        insertDefaultRows(db, t, clock);
}

// The dated steps, each with the change it brings.
struct UpgradeStep
{
    const char *date;
    void (*apply)(const QSqlDatabase &db, const Clock &clock);
};

void addColumnIfMissing(const QSqlDatabase &db, const QString &table, const QString &column)
{
    if (ColumnExists(db, table, column))
        return;
    const Column *c = Catalog::instance().tableOrThrow(table).column(column);
    RunSql(db, QStringLiteral("alter table %1 add column %2")
                   .arg(table, columnSql(Dialect::of(db), *c)));
}

void stepCompanyNote(const QSqlDatabase &db, const Clock &)
{
    addColumnIfMissing(db, QStringLiteral("jxc_company"), QStringLiteral("c_note"));
}

void stepListSupplierName(const QSqlDatabase &db, const Clock &)
{
    addColumnIfMissing(db, QStringLiteral("jxc_rklist"), QStringLiteral("ghs_name"));
    addColumnIfMissing(db, QStringLiteral("jxc_cklist"), QStringLiteral("ghs_name"));
}

void stepImportTable(const QSqlDatabase &db, const Clock &clock)
{
    CreateCatalogTable(db, QStringLiteral("jxc_import"), clock);
}

const UpgradeStep kSteps[] = {
    {"2023-04-30", stepCompanyNote},
    {"2023-07-25", stepListSupplierName},
    {"2023-10-01", stepImportTable},
};

void addOwnColumnsAndIndexes(const QSqlDatabase &db)
{
    const Catalog &catalog = Catalog::instance();
    for (const QString &name : catalog.creationOrder()) {
        const Table &t = catalog.tableOrThrow(name);
        if (!TableExists(db, t.name))
            continue;
        for (const Column &c : t.columns) {
            if (c.own)
                addColumnIfMissing(db, t.name, c.name);
        }
        for (const Index &ix : t.indexes) {
            if (!ix.unique) {
                RunSql(db, createIndexSql(t, ix, true));
                continue;
            }
            // An older set may hold a code twice (two workstations took it); its unique index
            // waits until the codes are mended, and the login goes on.
            try {
                Transaction one(db);
                RunSql(db, createIndexSql(t, ix, true));
                one.commit();
            } catch (const DbError &e) {
                qWarning("%s", qPrintable(QStringLiteral("索引%1未建立：%2").arg(indexName(t, ix), e.text())));
            }
        }
    }
}

} // namespace

QString CreateTableSql(const QSqlDatabase &db, const QString &table)
{
    const Dialect dialect = Dialect::of(db);
    const Table &t = Catalog::instance().tableOrThrow(table);
    QStringList parts;
    parts << dialect.idColumn();
    for (const Column &c : t.columns)
        parts << columnSql(dialect, c);
    return QStringLiteral("create table %1 (%2)").arg(t.name, parts.join(QStringLiteral(", ")));
}

void CreateCatalogTable(const QSqlDatabase &db, const QString &table, const Clock &clock)
{
    Transaction tx(db);
    createTable(db, Catalog::instance().tableOrThrow(table), true, clock);
    tx.commit();
}

void CreateAllTables(const QSqlDatabase &db, const Clock &clock)
{
    const Catalog &catalog = Catalog::instance();
    Transaction tx(db);
    for (const QString &name : catalog.creationOrder())
        createTable(db, catalog.tableOrThrow(name), true, clock);
    tx.commit();
}

void CreateTablesWithoutRows(const QSqlDatabase &db)
{
    const Catalog &catalog = Catalog::instance();
    Transaction tx(db);
    for (const QString &name : catalog.creationOrder())
        createTable(db, catalog.tableOrThrow(name), false, Clock::system());
    tx.commit();
}

void RecreateBusinessTables(const QSqlDatabase &db, const Clock &clock)
{
    const Catalog &catalog = Catalog::instance();
    Transaction tx(db);
    RunSql(db, QStringLiteral("update jxc_goods set g_kc=0,ghs_sn='100001'"));
    for (const QString &name : catalog.creationOrder()) {
        if (!catalog.keptTables().contains(name))
            createTable(db, catalog.tableOrThrow(name), true, clock);
    }
    tx.commit();
}

void ClearBusinessData(const QSqlDatabase &db, const Clock &clock)
{
    Transaction tx(db);
    RecreateBusinessTables(db, clock);
    createTable(db, Catalog::instance().tableOrThrow(QStringLiteral("jxc_kcsp")), true, clock);
    tx.commit();
}

QString LatestSchemaStep()
{
    return QString::fromLatin1(std::end(kSteps)[-1].date);
}

void UpgradeSchema(const QSqlDatabase &db, const Clock &clock)
{
    const QString marker = QueryScalar(db, QStringLiteral("select cs_employdate from jxc_xtcs"));
    for (const UpgradeStep &step : kSteps) {
        const QString date = QString::fromLatin1(step.date);
        if (!(marker < date))  // ordinal comparison of the texts; empty is less than any date
            continue;
        // The marker moves only once the step's change has succeeded, so a failed change is
        // tried again at the next login; later steps wait for it.
        Transaction tx(db);
        step.apply(db, clock);
        RunSql(db, QStringLiteral("update jxc_xtcs set cs_employdate=?"), {date});
        tx.commit();
    }
    Transaction tx(db);
    addOwnColumnsAndIndexes(db);
    tx.commit();
}
