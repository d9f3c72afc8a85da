// The database layer on both kinds of database: scalar reads, table drops, transactions,
// rounding and the number text.

#include "../support/testdb.h"

#include "foundation/datamodule.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <gtest/gtest.h>

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
