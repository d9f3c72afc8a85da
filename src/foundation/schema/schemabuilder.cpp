#include "foundation/schema/schemabuilder.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/productconstants.h"
#include "foundation/schema/catalog.h"

#include <QDebug>
#include <QSet>
#include <QSqlQuery>

#include <functional>
#include <optional>

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

QString createIndexSql(const Table &t, const Index &ix)
{
    return QStringLiteral("CREATE %1INDEX %2 ON %3 (%4)")
        .arg(ix.unique ? QStringLiteral("UNIQUE ") : QString(), indexName(t, ix), t.name,
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
        RunSql(db, createIndexSql(t, ix));
    if (withRows)
        insertDefaultRows(db, t, clock);
}

// ---- the upgrade ------------------------------------------------------------------------------

enum class ChangeOutcome { Done, Busy, NotMade };

// Runs one change in a transaction of its own, after locking `tables` under the short lock
// timeout (PostgreSQL). Busy when the transaction or the lock could not be had: another
// workstation holds the tables. `work` returns false when it decided not to change anything.
ChangeOutcome runChange(const QSqlDatabase &db, const QStringList &tables, TableLock mode,
                        const std::function<bool()> &work)
{
    const Dialect dialect = Dialect::of(db);
    std::optional<Transaction> tx;
    try {
        tx.emplace(db);
    } catch (const DbError &) {
        return ChangeOutcome::Busy;  // SQLite: another writer kept the set past the busy timeout
    }
    const QString timeout = dialect.lockTimeoutStatement(kUpgradeLockTimeoutMs);
    if (!timeout.isEmpty())
        RunSql(db, timeout);
    const QString lock = dialect.lockTablesStatement(tables, mode);
    if (!lock.isEmpty()) {
        try {
            RunSql(db, lock);
        } catch (const DbError &) {
            return ChangeOutcome::Busy;  // rolled back
        }
    }
    if (!work())
        return ChangeOutcome::NotMade;
    tx->commit();
    return ChangeOutcome::Done;
}

// Runs a change and records it; a failure raises SchemaUpgradeError naming the step.
ChangeOutcome change(const QSqlDatabase &db, SchemaUpgradeReport &report, const QString &step,
                     const QStringList &tables, TableLock mode, const std::function<bool()> &work)
{
    ChangeOutcome outcome;
    try {
        outcome = runChange(db, tables, mode, work);
    } catch (const DbError &e) {
        throw SchemaUpgradeError(step, e.text());
    }
    if (outcome == ChangeOutcome::Done) {
        report.applied << step;
    } else if (outcome == ChangeOutcome::Busy) {
        report.deferred << step;
        qWarning().noquote() << "schema:" << step << "left for the next login: its table is in use";
    }
    return outcome;
}

QSet<QString> lowerSet(const QStringList &names)
{
    QSet<QString> out;
    for (const QString &n : names)
        out.insert(n.toLower());
    return out;
}

// The dated steps: the tables each changes, and the change.
struct UpgradeStep
{
    const char *date;
    const char *tables[2];  // the tables it changes (nullptr: none)
    void (*apply)(const QSqlDatabase &db, const Clock &clock);
};

void addColumn(const QSqlDatabase &db, const QString &table, const QString &column)
{
    const Column *c = Catalog::instance().tableOrThrow(table).column(column);
    RunSql(db, QStringLiteral("alter table %1 add column %2")
                   .arg(table, columnSql(Dialect::of(db), *c)));
}

void addColumnIfMissing(const QSqlDatabase &db, const QString &table, const QString &column)
{
    if (!ColumnExists(db, table, column))
        addColumn(db, table, column);
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
    {"2023-04-30", {"jxc_company", nullptr}, stepCompanyNote},
    {"2023-07-25", {"jxc_rklist", "jxc_cklist"}, stepListSupplierName},
    {"2023-10-01", {"jxc_import", nullptr}, stepImportTable},
};

// Whether rows of the table share the index's key (rows with a NULL in it never clash).
bool keyShared(const QSqlDatabase &db, const Table &t, const Index &ix)
{
    QStringList notNull;
    for (const QString &c : ix.columns)
        notNull << c + QStringLiteral(" is not null");
    const QString cols = ix.columns.join(QStringLiteral(", "));
    return !QueryScalar(db, QStringLiteral("select 1 from %1 where %2 group by %3 having count(*) > 1 limit 1")
                                .arg(t.name, notNull.join(QStringLiteral(" and ")), cols))
                .isEmpty();
}

// The notice of goods codes used by several goods: up to ten codes with their names.
QString sharedGoodsCodesNotice(const QSqlDatabase &db)
{
    constexpr int kListed = 10;
    QStringList codes;
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select g_sn from jxc_goods where g_sn is not null group by g_sn "
                                                    "having count(*) > 1 order by g_sn limit %1")
                                         .arg(kListed + 1));
        while (q.next())
            codes << q.value(0).toString();
    }
    QStringList lines;
    for (const QString &code : codes.mid(0, kListed)) {
        QStringList names;
        QSqlQuery q = OpenSelect(db, QStringLiteral("select g_name from jxc_goods where g_sn = ? order by id"), {code});
        while (q.next())
            names << ValueText(q.value(0));
        lines << QStringLiteral("%1：%2").arg(code, names.join(QStringLiteral("、")));
    }
    if (codes.size() > kListed)
        lines << QStringLiteral("……");
    return QStringLiteral("以下商品编号被多个商品使用：\r\n") + lines.join(QStringLiteral("\r\n"))
           + QStringLiteral("\r\n\r\n请在商品信息管理中修改重复的商品编号，使每个商品的编号唯一。");
}

// PostgreSQL: a table of an older set gets its fill factor (pages written from then on).
void keepFillFactor(const QSqlDatabase &db, const Table &t, SchemaUpgradeReport &report)
{
    const int percent = t.def ? t.def->fillFactor : 0;
    const QString statement = Dialect::of(db).fillFactorStatement(t.name, percent);
    if (statement.isEmpty())
        return;
    const QString options = QueryScalar(
        db, QStringLiteral("select array_to_string(reloptions, ',') from pg_class where relname = ? "
                           "and relnamespace = cast(current_schema() as regnamespace)"),
        {t.name});
    if (options.contains(QStringLiteral("fillfactor=%1").arg(percent)))
        return;
    change(db, report, QStringLiteral("设置填充因子 %1").arg(t.name), {t.name}, TableLock::Share, [&] {
        RunSql(db, statement);
        return true;
    });
}

void addOwnColumnsAndIndexes(const QSqlDatabase &db, SchemaUpgradeReport &report)
{
    const Catalog &catalog = Catalog::instance();
    QSet<QString> tables, indexes;
    try {
        tables = lowerSet(TableNames(db));
        indexes = lowerSet(IndexNames(db));
    } catch (const DbError &e) {
        throw SchemaUpgradeError(QStringLiteral("读取数据库结构"), e.text());
    }
    for (const QString &name : catalog.creationOrder()) {
        const Table &t = catalog.tableOrThrow(name);
        if (!tables.contains(t.name))
            continue;
        bool hasOwn = false;
        for (const Column &c : t.columns)
            hasOwn = hasOwn || c.own;
        if (hasOwn) {
            const QSet<QString> present = lowerSet(TableColumns(db, t.name));
            for (const Column &c : t.columns) {
                if (!c.own || present.contains(c.name))
                    continue;
                change(db, report, QStringLiteral("增加字段 %1.%2").arg(t.name, c.name), {t.name},
                       TableLock::AccessExclusive, [&] {
                           addColumn(db, t.name, c.name);
                           return true;
                       });
            }
        }
        keepFillFactor(db, t, report);
        for (const Index &ix : t.indexes) {
            const QString full = indexName(t, ix);
            if (indexes.contains(full))
                continue;
            const QString step = QStringLiteral("建立索引 ") + full;
            if (ix.unique && keyShared(db, t, ix)) {
                report.skipped << step;
                qWarning().noquote() << "schema:" << step << "waits: rows share its key";
                if (t.name == QLatin1String("jxc_goods"))
                    report.notice = sharedGoodsCodesNotice(db);
                continue;
            }
            change(db, report, step, {t.name}, TableLock::Share, [&] {
                // Under the lock nobody writes the table: a key shared meanwhile is seen here.
                if (ix.unique && keyShared(db, t, ix))
                    return false;
                RunSql(db, createIndexSql(t, ix));
                return true;
            });
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
    return QStringLiteral("create table %1 (%2)%3")
        .arg(t.name, parts.join(QStringLiteral(", ")), dialect.fillFactorClause(t.def ? t.def->fillFactor : 0));
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

SchemaUpgradeError::SchemaUpgradeError(const QString &step, const QString &cause)
    : DbError(QStringLiteral("帐套升级失败！\r\n步骤：%1\r\n原因：%2\r\n\r\n请稍后重新登录。").arg(step, cause))
    , m_step(step)
{
}

SchemaUpgradeReport UpgradeSchema(const QSqlDatabase &db, const Clock &clock)
{
    SchemaUpgradeReport report;
    QString marker;
    QSet<QString> tables;
    try {
        marker = QueryScalar(db, QStringLiteral("select cs_employdate from jxc_xtcs"));
        tables = lowerSet(TableNames(db));
    } catch (const DbError &e) {
        throw SchemaUpgradeError(QStringLiteral("读取升级标记"), e.text());
    }
    for (const UpgradeStep &step : kSteps) {
        const QString date = QString::fromLatin1(step.date);
        if (!(marker < date))  // ordinal comparison of the texts; empty is less than any date
            continue;
        // The marker moves only once the step's change has succeeded, so a failed change is
        // tried again at the next login; later steps wait for it.
        QStringList locked;
        for (const char *t : step.tables) {
            if (t && tables.contains(QLatin1String(t)))
                locked << QLatin1String(t);
        }
        const ChangeOutcome outcome = change(db, report, QStringLiteral("升级步骤 ") + date, locked,
                                             TableLock::AccessExclusive, [&] {
                                                 step.apply(db, clock);
                                                 RunSql(db, QStringLiteral("update jxc_xtcs set cs_employdate=?"), {date});
                                                 return true;
                                             });
        if (outcome != ChangeOutcome::Done)
            break;
    }
    addOwnColumnsAndIndexes(db, report);
    return report;
}
