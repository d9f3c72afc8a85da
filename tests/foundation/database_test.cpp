// The database layer on both kinds of database: scalar reads, table drops, transactions,
// rounding and the number text.

#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <gtest/gtest.h>

#include <QSqlRecord>

namespace {

class DatabaseTest : public DbTest
{
protected:
    int logRows() { return QueryScalar(db(), QStringLiteral("select count(*) from jxc_log")).toInt(); }
    void addLog(const QString &text)
    {
        RunSql(db(), QStringLiteral("insert into jxc_log (log_note) values (?)"), {text});
    }
};

TEST_F(DatabaseTest, QueryScalarGivesEmptyTextForNoRowAndNull)
{
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log where id = ?"), {-1}), QString());
    addLog(QString());
    RunSql(db(), QStringLiteral("update jxc_log set log_note = NULL"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log")), QString());
    // Numbers read back in one text form on both kinds.
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select g_zhxs from jxc_goods where g_sn = ?"),
                          {QStringLiteral("00000000")}),
              QStringLiteral("1"));
}

TEST_F(DatabaseTest, UserTextIsBoundNotSpliced)
{
    const QString hostile = QStringLiteral("x'); drop table jxc_log; --");
    addLog(hostile);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log where log_note = ?"), {hostile}),
              hostile);
}

TEST_F(DatabaseTest, DropTableIfExistsIgnoresMissingTable)
{
    const QStringList before = TableNames(db());
    EXPECT_NO_THROW(DropTableIfExists(db(), QStringLiteral("jxc_no_such_table")));
    EXPECT_EQ(TableNames(db()), before);
    DropTableIfExists(db(), QStringLiteral("jxc_tx"));
    EXPECT_FALSE(TableExists(db(), QStringLiteral("jxc_tx")));
}

TEST_F(DatabaseTest, BadStatementRaisesWithDatabaseText)
{
    try {
        RunSql(db(), QStringLiteral("select nothing from jxc_missing"));
        FAIL() << "no error raised";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("数据库操作失败："))) << e.text().toStdString();
    }
}

// ---- The cache of prepared statements ----

// How many statements the PostgreSQL session of `db` holds prepared whose text has `part`; -1 on
// SQLite (the server keeps no list there).
int serverPrepared(const QSqlDatabase &db, const QString &part)
{
    if (!Dialect::of(db).isPostgres())
        return -1;
    return QueryScalar(db, QStringLiteral("select count(*) from pg_prepared_statements where statement like '%")
                               + part + QStringLiteral("%'"))
        .toInt();
}

TEST_F(DatabaseTest, EachConnectionKeepsItsOwnPreparedStatements)
{
    const QString sql = QStringLiteral("select count(*) from jxc_log where log_note = ?");
    QSqlDatabase other = testDb().openSecondConnection();
    const int mine = CachedStatementCount(db());
    const int theirs = CachedStatementCount(other);
    for (const char *note : {"a", "b", "c"})
        EXPECT_EQ(QueryScalar(db(), sql, {QLatin1String(note)}), QStringLiteral("0"));
    EXPECT_EQ(CachedStatementCount(db()), mine + 1);  // prepared once, run three times
    EXPECT_EQ(CachedStatementCount(other), theirs);
    addLog(QStringLiteral("b"));
    EXPECT_EQ(QueryScalar(other, sql, {QStringLiteral("b")}), QStringLiteral("1"));
    EXPECT_EQ(CachedStatementCount(other), theirs + 1);
    if (Dialect::of(db()).isPostgres()) {
        EXPECT_EQ(serverPrepared(db(), QStringLiteral("where log_note = $1")), 1);
        EXPECT_EQ(serverPrepared(other, QStringLiteral("where log_note = $1")), 1);
    }

    // Emptying one connection's cache leaves the other's, and the statement still runs.
    ClearStatementCache(other);
    EXPECT_EQ(CachedStatementCount(other), 0);
    EXPECT_EQ(CachedStatementCount(db()), mine + 2);  // the read and addLog's insert
    if (Dialect::of(db()).isPostgres())
        EXPECT_EQ(serverPrepared(other, QStringLiteral("where log_note = $1")), 0);
    EXPECT_EQ(QueryScalar(other, sql, {QStringLiteral("b")}), QStringLiteral("1"));
}

// A kept statement releases its rows after each use: a read of one row leaves no snapshot open,
// so the connection sees what another one commits next.
TEST_F(DatabaseTest, KeptStatementsHoldNoReadOpen)
{
    QSqlDatabase other = testDb().openSecondConnection();
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log where id > ? order by id"), {0}),
              QString());
    addLog(QStringLiteral("one"));
    addLog(QStringLiteral("two"));
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select log_note from jxc_log where id > ? order by id"), {0}),
              QStringLiteral("one"));
    RunSql(other, QStringLiteral("insert into jxc_log (log_note) values (?)"), {QStringLiteral("three")});
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_log where id > ?"), {0}),
              QStringLiteral("3"));
}

TEST_F(DatabaseTest, FailingStatementLeavesTheCacheUsable)
{
    const QString insert = QStringLiteral("insert into jxc_goods (g_sn, g_name) values (?, ?)");
    const QString count = QStringLiteral("select count(*) from jxc_goods where g_name = ?");
    RunSql(db(), insert, {QStringLiteral("T1"), QStringLiteral("cache")});
    EXPECT_EQ(QueryScalar(db(), count, {QStringLiteral("cache")}), QStringLiteral("1"));
    const int kept = CachedStatementCount(db());

    // The same code again breaks the unique goods code: outside a transaction and inside one.
    EXPECT_THROW(RunSql(db(), insert, {QStringLiteral("T1"), QStringLiteral("cache")}), DbError);
    EXPECT_THROW(
        {
            Transaction tx(db());
            RunSql(db(), insert, {QStringLiteral("T2"), QStringLiteral("cache")});
            RunSql(db(), insert, {QStringLiteral("T1"), QStringLiteral("cache")});
            tx.commit();
        },
        DbError);
    EXPECT_EQ(CachedStatementCount(db()), kept);

    // Both statements run on, inside a transaction too.
    {
        Transaction tx(db());
        RunSql(db(), insert, {QStringLiteral("T3"), QStringLiteral("cache")});
        tx.commit();
    }
    EXPECT_EQ(QueryScalar(db(), count, {QStringLiteral("cache")}), QStringLiteral("2"));
    EXPECT_EQ(CachedStatementCount(db()), kept);
}

TEST_F(DatabaseTest, SchemaChangeAndAccountSetSwitchEmptyTheCache)
{
    const QString read = QStringLiteral("select * from jxc_log where id > ?");
    addLog(QStringLiteral("x"));
    const auto columns = [&] {
        QStringList names;
        ForEachRow(db(), read, {0}, [&](const QSqlQuery &q) {
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i)
                names << rec.fieldName(i).toLower();
        });
        return names;
    };
    EXPECT_FALSE(columns().contains(QStringLiteral("log_extra")));
    EXPECT_GT(CachedStatementCount(db()), 0);

    // A new column: the statement prepared before is prepared again and shows it (PostgreSQL
    // would refuse the kept one: "cached plan must not change result type").
    RunSql(db(), QStringLiteral("alter table jxc_log add column log_extra integer"));
    EXPECT_EQ(CachedStatementCount(db()), 0);
    EXPECT_TRUE(columns().contains(QStringLiteral("log_extra")));

    // Another account set under the same connection name starts with an empty cache.
    const ConnectionSettings settings = TestConnectionSettings();
    const QString name = db().connectionName();
    const QString otherSet = QStringLiteral("cacheswitch.db");
    if (DatabaseExists(settings, otherSet))
        DropDatabase(settings, otherSet);
    CreateEmptyDatabase(settings, otherSet);
    EXPECT_GT(CachedStatementCount(db()), 0);
    {
        QSqlDatabase switched = OpenConnection(settings, otherSet, name);
        EXPECT_EQ(CachedStatementCount(switched), 0);
        RunSql(switched, QStringLiteral("create table jxc_log (id integer, log_note varchar(10))"));
        EXPECT_EQ(QueryScalar(switched, QStringLiteral("select count(*) from jxc_log where id > ?"), {0}),
                  QStringLiteral("0"));
    }
    {
        QSqlDatabase back = OpenConnection(settings, testDb().fileName(), name);
        EXPECT_EQ(CachedStatementCount(back), 0);
        EXPECT_EQ(QueryScalar(back, QStringLiteral("select count(*) from jxc_log where id > ?"), {0}),
                  QStringLiteral("1"));
    }
    DropDatabase(settings, otherSet);
}

TEST_F(DatabaseTest, TransactionWithoutCommitLeavesNothing)
{
    {
        Transaction tx(db());
        addLog(QStringLiteral("a"));
    }
    EXPECT_EQ(logRows(), 0);

    // An error in the middle rolls back what came before it.
    EXPECT_THROW(
        {
            Transaction tx(db());
            addLog(QStringLiteral("b"));
            RunSql(db(), QStringLiteral("insert into jxc_nothing values (1)"));
            tx.commit();
        },
        DbError);
    EXPECT_EQ(logRows(), 0);
}

TEST_F(DatabaseTest, NestedTransactionJoinsAsSavepoint)
{
    Transaction outer(db());
    addLog(QStringLiteral("outer"));
    {
        Transaction inner(db());
        EXPECT_TRUE(inner.isNested());
        addLog(QStringLiteral("inner, rolled back"));
    }
    {
        Transaction inner(db());
        addLog(QStringLiteral("inner, kept"));
        inner.commit();
    }
    outer.commit();
    EXPECT_EQ(logRows(), 2);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_log where log_note = ?"),
                          {QStringLiteral("inner, rolled back")}),
              QStringLiteral("0"));
    EXPECT_FALSE(Transaction::isActive(db()));
}

TEST_F(DatabaseTest, InnerCommitIsUndoneByOuterRollback)
{
    {
        Transaction outer(db());
        Transaction inner(db());
        addLog(QStringLiteral("x"));
        inner.commit();
    }
    EXPECT_EQ(logRows(), 0);
}

// A joined transaction sends no savepoint; its failure dooms the level it joined even when the
// error is caught there, and only that level: an enclosing savepoint undoes it and the outer
// transaction goes on.
TEST_F(DatabaseTest, JoinedTransactionSendsNoSavepointAndItsFailureDoomsItsLevel)
{
    QStringList sent;
    SetStatementObserver(db(), [&](const QString &sql, const QVariantList &) { sent << sql; });
    {
        Transaction outer(db());
        Transaction joined(db(), Transaction::Nesting::Join);
        EXPECT_TRUE(joined.isNested());
        addLog(QStringLiteral("joined"));
        joined.commit();
        outer.commit();
    }
    SetStatementObserver(db(), {});
    EXPECT_EQ(sent.filter(QStringLiteral("SAVEPOINT")), QStringList());
    EXPECT_EQ(logRows(), 1);

    // Caught inside the same level: the commit refuses and nothing stays.
    EXPECT_THROW(
        {
            Transaction outer(db());
            addLog(QStringLiteral("before"));
            try {
                Transaction joined(db(), Transaction::Nesting::Join);
                addLog(QStringLiteral("half"));
                RunSql(db(), QStringLiteral("insert into jxc_nothing values (1)"));
                joined.commit();
            } catch (const DbError &) {
            }
            outer.commit();
        },
        DbError);
    EXPECT_EQ(logRows(), 1);
    EXPECT_FALSE(Transaction::isActive(db()));

    // Behind a savepoint: the savepoint rolls back, the outer work is kept.
    {
        Transaction outer(db());
        addLog(QStringLiteral("kept"));
        try {
            Transaction step(db());
            Transaction joined(db(), Transaction::Nesting::Join);
            addLog(QStringLiteral("undone"));
            RunSql(db(), QStringLiteral("insert into jxc_nothing values (1)"));
            joined.commit();
            step.commit();
        } catch (const DbError &) {
        }
        addLog(QStringLiteral("after"));
        outer.commit();
    }
    EXPECT_EQ(logRows(), 3);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_log where log_note = ?"),
                          {QStringLiteral("undone")}),
              QStringLiteral("0"));
}

TEST_F(DatabaseTest, InjectedFailureHitsTheNthStatement)
{
    InjectStatementFailure(db(), 2);
    addLog(QStringLiteral("first"));
    EXPECT_THROW(addLog(QStringLiteral("second")), DbError);
    addLog(QStringLiteral("third"));  // the hook fires once
    EXPECT_EQ(logRows(), 2);
}

TEST_F(DatabaseTest, SecondConnectionSeesOnlyCommittedWork)
{
    QSqlDatabase other = testDb().openSecondConnection();
    {
        Transaction tx(db());
        addLog(QStringLiteral("pending"));
        tx.commit();
    }
    EXPECT_EQ(QueryScalar(other, QStringLiteral("select count(*) from jxc_log")), QStringLiteral("1"));
}

struct RoundCase
{
    double value;
    int decimals;
    double expected;
};

const RoundCase kRoundCases[] = {
    {2.675, 2, 2.68},   {1.005, 2, 1.01},     {0.125, 2, 0.13},   {-2.5, 0, -2},
    {-2.6, 0, -3},      {10.0 / 3, 4, 3.3333}, {123456.785, 2, 123456.79},
    {0.0449999999, 1, 0.0}, {57, 2, 57},      {1.23456789, 8, 1.23456789},
};

TEST_F(DatabaseTest, RoundingAgreesInCodeAndSql)
{
    const Dialect dialect = Dialect::of(db());
    for (const RoundCase &c : kRoundCases) {
        SCOPED_TRACE(c.value);
        EXPECT_DOUBLE_EQ(RoundTo(c.value, c.decimals), c.expected);
        RunSql(db(), QStringLiteral("delete from jxc_kcsp"));
        RunSql(db(), QStringLiteral("insert into jxc_kcsp (kc_sl) values (?)"), {c.value});
        const QString sql = QStringLiteral("select %1 from jxc_kcsp")
                                .arg(dialect.roundSql(QStringLiteral("kc_sl"), c.decimals));
        EXPECT_DOUBLE_EQ(QueryScalar(db(), sql).toDouble(), c.expected);
    }
}

TEST_F(DatabaseTest, LikeClauseMatchesWildcardsLiterally)
{
    addLog(QStringLiteral("100%_done"));
    addLog(QStringLiteral("100x_done"));
    addLog(QStringLiteral("ABC"));
    const Dialect d = Dialect::of(db());
    auto count = [&](const QString &pattern) {
        return QueryScalar(db(), QStringLiteral("select count(*) from jxc_log where ") + d.likeClause(QStringLiteral("log_note")),
                           {pattern}).toInt();
    };
    EXPECT_EQ(count(Dialect::containsPattern(QStringLiteral("%_"))), 1);
    EXPECT_EQ(count(Dialect::containsPattern(QStringLiteral("abc"))), 1);
    EXPECT_EQ(count(Dialect::startsWithPattern(QStringLiteral("100"))), 2);
}

TEST_F(DatabaseTest, DigitsOnlyTest)
{
    for (const char *t : {"12", "00012", "1e3", " 12", "-5", "", "12a"})
        addLog(QString::fromLatin1(t));
    const QString sql = QStringLiteral("select count(*) from jxc_log where ")
                        + Dialect::of(db()).digitsOnlySql(QStringLiteral("log_note"));
    EXPECT_EQ(QueryScalar(db(), sql), QStringLiteral("2"));
}

TEST(NumberText, CanonicalForm)
{
    const std::pair<double, const char *> cases[] = {
        {24.0, "24"}, {0.1 + 0.2, "0.3"}, {-0.0, "0"}, {1234567.125, "1234567.125"},
        {-3.5, "-3.5"}, {123456789012345.0, "123456789012345"}, {0.00000001, "1e-08"},
    };
    for (const auto &[value, text] : cases)
        EXPECT_EQ(NumberText(value), QString::fromLatin1(text)) << value;
}

TEST(ExcelConnection, ChoosesReaderByExtension)
{
    DataModule dm(ConnectionSettings{}, QStringLiteral("dm_main"), QStringLiteral("dm_reg"));
    const std::pair<const char *, ExcelReaderKind> cases[] = {
        {"A.XLS", ExcelReaderKind::Xls},       {"/tmp/b.xls", ExcelReaderKind::Xls},
        {"a.xlsx", ExcelReaderKind::Xlsx},     {"a.csv", ExcelReaderKind::Xlsx},
        {"noextension", ExcelReaderKind::Xlsx}, {"x.xls.xlsx", ExcelReaderKind::Xlsx},
    };
    for (const auto &[file, kind] : cases)
        EXPECT_EQ(dm.PrepareExcelConnection(QString::fromLatin1(file)), kind) << file;
    dm.CloseExcelConnection();
    EXPECT_EQ(dm.excelReader(), ExcelReaderKind::None);
}

} // namespace
