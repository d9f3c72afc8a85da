// The schema builder: every table with exactly its columns and default rows, the clean-up
// drivers and the dated upgrade steps, on both kinds of database.

#include "../support/testdb.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/schema/catalog.h"
#include "foundation/schema/creators.h"
#include "foundation/schema/schemabuilder.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

class SchemaTest : public DbTest
{
protected:
    int count(const QString &table, const QString &where = QString(), const QVariantList &binds = {})
    {
        return QueryScalar(db(), QStringLiteral("select count(*) from ") + table
                                     + (where.isEmpty() ? QString() : QStringLiteral(" where ") + where),
                           binds)
            .toInt();
    }
    QString scalar(const QString &sql, const QVariantList &binds = {}) { return QueryScalar(db(), sql, binds); }
    QString marker() { return scalar(QStringLiteral("select cs_employdate from jxc_xtcs")); }

    QStringList jxcTables()
    {
        QStringList out;
        for (const QString &t : TableNames(db())) {
            if (t.startsWith(QLatin1String("jxc_")))
                out << t;
        }
        return out;
    }

    // Rows per table, for comparing a whole set before and after.
    QHash<QString, int> rowCounts()
    {
        QHash<QString, int> counts;
        for (const QString &t : schema::Catalog::instance().creationOrder())
            counts.insert(t, count(t));
        return counts;
    }

    void fillBusinessData()
    {
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, g_kc, ghs_sn, g_jj) values (?,?,?,?,?)"),
               {QStringLiteral("10000001"), QStringLiteral("矿泉水"), 12, QStringLiteral("100002"), 1.5});
        RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl) values (?,?,?)"),
               {QStringLiteral("10000001"), QStringLiteral("100001"), 12});
        RunSql(db(), QStringLiteral("insert into jxc_jhd (gl_djh) values (?)"), {QStringLiteral("CJ24030510001")});
        RunSql(db(), QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn) values (?,?)"),
               {QStringLiteral("CJ24030510001"), QStringLiteral("10000001")});
        RunSql(db(), QStringLiteral("insert into jxc_goodslist (gl_djh, g_sn) values (?,?)"),
               {QStringLiteral("CJ24030510001"), QStringLiteral("10000001")});
        RunSql(db(), QStringLiteral("insert into jxc_log (log_note) values (?)"), {QStringLiteral("登录系统")});
        RunSql(db(), QStringLiteral("insert into jxc_khxx (kh_sn, kh_name) values (?,?)"),
               {QStringLiteral("100002"), QStringLiteral("华联超市")});
        RunSql(db(), QStringLiteral("insert into jxc_admin (a_sn, a_name, r_sn) values (?,?,?)"),
               {QStringLiteral("100002"), QStringLiteral("张三"), QStringLiteral("100001")});
        RunSql(db(), QStringLiteral("update jxc_xtcs set cs_employdate = ?"), {QStringLiteral("2023-10-01")});
    }
};

TEST_F(SchemaTest, EveryTableHasExactlyItsColumnsAndAnAutoNumberedKey)
{
    const schema::Catalog &catalog = schema::Catalog::instance();
    const QStringList tables = jxcTables();
    EXPECT_EQ(tables.size(), 174);
    EXPECT_EQ(catalog.creationOrder().size(), 174);
    EXPECT_EQ(QSet<QString>(tables.begin(), tables.end()),
              QSet<QString>(catalog.creationOrder().begin(), catalog.creationOrder().end()));

    for (const QString &name : catalog.creationOrder()) {
        SCOPED_TRACE(name.toStdString());
        QStringList expected{QStringLiteral("id")};
        for (const schema::Column &c : catalog.tableOrThrow(name).columns)
            expected << c.name;
        EXPECT_EQ(TableColumns(db(), name), expected);
    }

    // The key numbers itself.
    const qint64 a = InsertReturningId(db(), QStringLiteral("insert into jxc_tx (tx_note) values (?)"), {QStringLiteral("a")});
    const qint64 b = InsertReturningId(db(), QStringLiteral("insert into jxc_tx (tx_note) values (?)"), {QStringLiteral("b")});
    EXPECT_GT(a, 0);
    EXPECT_EQ(b, a + 1);
}

TEST_F(SchemaTest, OnlyTheShopSerialRefusesNull)
{
    QStringList notNull;
    for (const QString &name : schema::Catalog::instance().creationOrder()) {
        for (const schema::Column &c : schema::Catalog::instance().tableOrThrow(name).columns) {
            if (c.notNull)
                notNull << name + QLatin1Char('.') + c.name;
        }
    }
    EXPECT_EQ(notNull, QStringList{QStringLiteral("jxc_lsfdxx.fd_sn")});
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_lsfdxx (fd_name) values (?)"), {QStringLiteral("x")}),
                 DbError);
}

TEST_F(SchemaTest, DefaultRowsOfANewSet)
{
    int withRows = 0;
    for (const QString &t : schema::Catalog::instance().creationOrder())
        withRows += count(t) > 0 ? 1 : 0;
    EXPECT_EQ(withRows, 41);

    const std::pair<const char *, int> counts[] = {
        {"jxc_bbgl", 118}, {"jxc_import", 58}, {"jxc_mryt", 16}, {"jxc_backup", 0},
        {"jxc_email", 1},  {"jxc_xtcs", 1},    {"jxc_role", 1},  {"jxc_admin", 1},
        {"jxc_xjyh", 6},   {"jxc_kcsp", 0},    {"jxc_goods", 1},
    };
    for (const auto &[table, n] : counts)
        EXPECT_EQ(count(QString::fromLatin1(table)), n) << table;

    EXPECT_EQ(scalar(QStringLiteral("select r_sn || '|' || r_name from jxc_role")), QStringLiteral("100001|系统管理员"));
    QSqlQuery role = OpenSelect(db(), QStringLiteral("select * from jxc_role"));
    ASSERT_TRUE(role.next());
    int rightStrings = 0;
    for (int i = 0; i < role.record().count(); ++i) {
        const QString field = role.record().fieldName(i);
        if (field == QLatin1String("id") || field == QLatin1String("r_sn") || field == QLatin1String("r_name"))
            continue;
        ++rightStrings;
        EXPECT_EQ(role.value(i).toString(), QString(60, QLatin1Char('1'))) << field.toStdString();
    }
    EXPECT_EQ(rightStrings, 9);

    EXPECT_EQ(scalar(QStringLiteral("select a_name || '|' || coalesce(a_pwd, 'NULL') from jxc_admin")),
              QStringLiteral("admin|"));
    EXPECT_EQ(marker(), QString());

    EXPECT_EQ(scalar(QStringLiteral("select g_name || '|' || g_jm || '|' || g_jy from jxc_goods where g_sn = ?"),
                     {QStringLiteral("00000000")}),
              QStringLiteral("优惠商品|YHSP|1"));
    EXPECT_EQ(scalar(QStringLiteral("select ck_name from jxc_ckxx where ck_sn = ?"), {QStringLiteral("100001")}),
              QStringLiteral("主仓库"));
    EXPECT_EQ(scalar(QStringLiteral("select kh_name from jxc_khxx where kh_sn = ?"), {QStringLiteral("100001")}),
              QStringLiteral("普通客户"));
    EXPECT_EQ(count(QStringLiteral("jxc_ghsxx"), QStringLiteral("ghs_sn = ?"), {QStringLiteral("100001")}), 1);
    // The opening cash rows carry the day the set was made.
    EXPECT_EQ(count(QStringLiteral("jxc_xjyh"), QStringLiteral("xj_rq = ? and xj_dlx = ?"),
                    {QStringLiteral("2024-03-05"), QStringLiteral("期初金额")}),
              6);
    // Texts with the brand word are filled in at creation.
    EXPECT_EQ(count(QStringLiteral("jxc_posprint"), QStringLiteral("pp_bt1 = ?"), {QStringLiteral("Corvel旗舰店")}), 1);
}

TEST_F(SchemaTest, CreateAllTablesTwiceLeavesOnlyDefaults)
{
    const QHash<QString, int> fresh = rowCounts();
    fillBusinessData();
    CreateAllTables(db(), clock);
    EXPECT_EQ(rowCounts(), fresh);
    EXPECT_EQ(marker(), QString());
}

TEST_F(SchemaTest, UniqueIndexesKeepOneStockRowAndOneGoodsCode)
{
    RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values (?,?)"),
           {QStringLiteral("G1"), QStringLiteral("100001")});
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values (?,?)"),
                        {QStringLiteral("G1"), QStringLiteral("100001")}),
                 DbError);
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn) values (?)"), {QStringLiteral("00000000")}),
                 DbError);
    // A creator brings its table's indexes back with it.
    CreateKcspTable(db(), clock);
    RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values (?,?)"),
           {QStringLiteral("G1"), QStringLiteral("100001")});
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values (?,?)"),
                        {QStringLiteral("G1"), QStringLiteral("100001")}),
                 DbError);
}

TEST_F(SchemaTest, ClearBusinessDataKeepsMasterDataAndSettings)
{
    fillBusinessData();
    const int admins = count(QStringLiteral("jxc_admin"));
    const int customers = count(QStringLiteral("jxc_khxx"));
    ClearBusinessData(db(), clock);

    EXPECT_EQ(count(QStringLiteral("jxc_kcsp")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_jhd")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_jhsp")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_goodslist")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_log")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_bbgl")), 118);  // rebuilt with its defaults
    const QVariantList goods{QStringLiteral("10000001")};
    EXPECT_EQ(scalar(QStringLiteral("select g_kc from jxc_goods where g_sn = ?"), goods), QStringLiteral("0"));
    EXPECT_EQ(scalar(QStringLiteral("select ghs_sn from jxc_goods where g_sn = ?"), goods), QStringLiteral("100001"));
    EXPECT_EQ(scalar(QStringLiteral("select g_jj from jxc_goods where g_sn = ?"), goods), QStringLiteral("1.5"));
    EXPECT_EQ(count(QStringLiteral("jxc_goods"), QStringLiteral("g_kc <> 0 or ghs_sn <> '100001'")), 0);
    EXPECT_EQ(count(QStringLiteral("jxc_admin")), admins);
    EXPECT_EQ(count(QStringLiteral("jxc_khxx")), customers);
    EXPECT_EQ(count(QStringLiteral("jxc_role")), 1);
    EXPECT_EQ(marker(), QStringLiteral("2023-10-01"));  // parameters are kept
}

TEST_F(SchemaTest, RecreateBusinessTablesKeepsStockRows)
{
    fillBusinessData();
    RecreateBusinessTables(db(), clock);
    EXPECT_EQ(count(QStringLiteral("jxc_kcsp")), 1);
    EXPECT_EQ(count(QStringLiteral("jxc_jhd")), 0);
}

TEST_F(SchemaTest, UpgradeStepsFollowTheMarker)
{
    struct Case
    {
        const char *marker;
        bool importRebuilt;
        const char *after;
    };
    const Case cases[] = {
        {"", true, "2023-10-01"},
        {"1900-01-01", true, "2023-10-01"},
        {"2023-05-01", true, "2023-10-01"},
        {"2023-10-01", false, "2023-10-01"},
        {"2023/01/01", false, "2023/01/01"},  // '/' sorts after '-': no step runs
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.marker);
        RunSql(db(), QStringLiteral("update jxc_xtcs set cs_employdate = ?"), {QString::fromLatin1(c.marker)});
        RunSql(db(), QStringLiteral("delete from jxc_import"));
        UpgradeSchema(db(), clock);
        EXPECT_EQ(count(QStringLiteral("jxc_import")), c.importRebuilt ? 58 : 0);
        EXPECT_EQ(marker(), QString::fromLatin1(c.after));
    }
}

TEST_F(SchemaTest, UpgradeAddsMissingColumnsOnceAndKeepsData)
{
    // An old set: jxc_company without c_note, the lists without ghs_name, no indexes of ours.
    const Dialect d = Dialect::of(db());
    RunSql(db(), QStringLiteral("drop table jxc_company"));
    RunSql(db(), QStringLiteral("create table jxc_company (%1, c_sn %2, c_name %3)")
                     .arg(d.idColumn(), d.columnType(ColType::Varchar, 8), d.columnType(ColType::NVarchar, 128)));
    RunSql(db(), QStringLiteral("insert into jxc_company (c_sn, c_name) values (?, ?)"),
           {QStringLiteral("100001"), QStringLiteral("老公司")});
    RunSql(db(), QStringLiteral("drop table jxc_rklist"));
    RunSql(db(), QStringLiteral("create table jxc_rklist (%1, gl_djh %2)").arg(d.idColumn(), d.columnType(ColType::Varchar, 16)));
    RunSql(db(), QStringLiteral("drop index jxc_kcsp_goods_ck"));
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_employdate = ?"), {QString()});

    UpgradeSchema(db(), clock);
    EXPECT_TRUE(ColumnExists(db(), QStringLiteral("jxc_company"), QStringLiteral("c_note")));
    EXPECT_TRUE(ColumnExists(db(), QStringLiteral("jxc_rklist"), QStringLiteral("ghs_name")));
    EXPECT_EQ(scalar(QStringLiteral("select c_name from jxc_company")), QStringLiteral("老公司"));
    EXPECT_EQ(marker(), QStringLiteral("2023-10-01"));
    // The index of our own is back.
    RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values ('G','1')"));
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn) values ('G','1')")), DbError);

    // A second run changes nothing.
    const QStringList columns = TableColumns(db(), QStringLiteral("jxc_company"));
    UpgradeSchema(db(), clock);
    EXPECT_EQ(TableColumns(db(), QStringLiteral("jxc_company")), columns);
}

// PostgreSQL: the goods ledger keeps room on its pages for the walks' updates, in a new set and,
// after the upgrade, in an older one.
TEST_F(SchemaTest, GoodsLedgerKeepsRoomOnItsPages)
{
    if (!Dialect::of(db()).isPostgres())
        GTEST_SKIP() << "fill factor: PostgreSQL only";
    const QString options = QStringLiteral("select coalesce(array_to_string(reloptions, ','), '') from pg_class "
                                           "where relname = 'jxc_goodslist'");
    EXPECT_EQ(scalar(options), QStringLiteral("fillfactor=80"));
    RunSql(db(), QStringLiteral("alter table jxc_goodslist reset (fillfactor)"));
    EXPECT_EQ(scalar(options), QString());
    UpgradeSchema(db(), clock);
    EXPECT_EQ(scalar(options), QStringLiteral("fillfactor=80"));
}

TEST_F(SchemaTest, UpgradeOfASetHoldingACodeTwiceGoesOnWithoutItsUniqueIndex)
{
    // An old set where two workstations took one customer code.
    RunSql(db(), QStringLiteral("drop index jxc_khxx_sn"));
    RunSql(db(), QStringLiteral("drop index jxc_ghsxx_sn"));
    for (int i = 0; i < 2; ++i)
        RunSql(db(), QStringLiteral("insert into jxc_khxx (kh_sn, kh_name) values ('100002', ?)"),
               {QStringLiteral("客户%1").arg(i)});
    UpgradeSchema(db(), clock);
    EXPECT_EQ(count(QStringLiteral("jxc_khxx"), QStringLiteral("kh_sn = '100002'")), 2);
    // The other unique indexes came back.
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_ghsxx (ghs_sn) values ('100001')")), DbError);
    // Once the codes are mended the next login adds the index.
    RunSql(db(), QStringLiteral("update jxc_khxx set kh_sn = '100003' where kh_name = ?"), {QStringLiteral("客户1")});
    UpgradeSchema(db(), clock);
    EXPECT_THROW(RunSql(db(), QStringLiteral("insert into jxc_khxx (kh_sn) values ('100002')")), DbError);
}

TEST_F(SchemaTest, FailedUpgradeStepKeepsItsMarkerForTheNextLogin)
{
    RunSql(db(), QStringLiteral("update jxc_xtcs set cs_employdate = ?"), {QStringLiteral("2023-05-01")});
    RunSql(db(), QStringLiteral("delete from jxc_import"));
    // The step "2023-07-25" fails at its first statement.
    RunSql(db(), QStringLiteral("drop table jxc_rklist"));
    EXPECT_THROW(UpgradeSchema(db(), clock), std::exception);
    EXPECT_EQ(marker(), QStringLiteral("2023-05-01"));
    EXPECT_EQ(count(QStringLiteral("jxc_import")), 0);  // later steps wait

    CreateRklistTable(db(), clock);
    UpgradeSchema(db(), clock);
    EXPECT_EQ(marker(), QStringLiteral("2023-10-01"));
    EXPECT_EQ(count(QStringLiteral("jxc_import")), 58);
}

TEST_F(SchemaTest, FailedBuildLeavesNothingHalfWritten)
{
    const QHash<QString, int> before = rowCounts();
    fillBusinessData();
    const QHash<QString, int> filled = rowCounts();
    InjectStatementFailure(db(), 200);
    EXPECT_THROW(CreateAllTables(db(), clock), DbError);
    EXPECT_EQ(rowCounts(), filled);
    EXPECT_NE(filled, before);
}

} // namespace
