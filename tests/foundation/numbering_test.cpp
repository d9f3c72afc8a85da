// Master codes and document numbers: first and next values, counting on the number rather
// than the text, the tables counted together, and the taken-by-another-operator test.

#include "../support/testdb.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/numbering.h"
#include "foundation/schema/catalog.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class NumberingTest : public DbTest
{
protected:
    void addNumber(const QString &table, const QString &number, const QString &operatorName = QStringLiteral("admin"))
    {
        RunSql(db(), QStringLiteral("insert into %1 (gl_djh, a_name) values (?, ?)").arg(table),
               {number, operatorName});
    }
    void addWarehouse(const QString &code, const QString &name = QString())
    {
        RunSql(db(), QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name) values (?, ?)"),
               {code, name.isEmpty() ? code : name});
    }
    QString djh(const QString &table, const QString &prefix, const QString &date)
    {
        return GetNewDjhByDate(db(), table, QStringLiteral("gl_djh"), prefix, date);
    }
};

TEST_F(NumberingTest, MasterCodeStartsAt100001AndCountsOnTheNumber)
{
    RunSql(db(), QStringLiteral("delete from jxc_ckxx"));
    EXPECT_EQ(GetNewSn(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_sn")), QStringLiteral("100001"));
    addWarehouse(QStringLiteral("100009"));
    EXPECT_EQ(GetNewSn(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_sn")), QStringLiteral("100010"));
    // Past six digits the text maximum would stay at 999999 and repeat 1000000.
    addWarehouse(QStringLiteral("999999"));
    addWarehouse(QStringLiteral("1000000"));
    EXPECT_EQ(GetNewSn(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_sn")), QStringLiteral("1000001"));
    // A code that is not a number does not stop the numbering.
    addWarehouse(QStringLiteral("ABC"));
    EXPECT_EQ(GetNewSn(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("ck_sn")), QStringLiteral("1000001"));
}

TEST_F(NumberingTest, DefaultRowsGiveTheNextCode)
{
    // jxc_admin holds the administrator 100001.
    EXPECT_EQ(GetNewSn(db(), QStringLiteral("jxc_admin"), QStringLiteral("a_sn")), QStringLiteral("100002"));
}

TEST_F(NumberingTest, DocumentNumberFirstNextAndDateForms)
{
    EXPECT_EQ(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05 14:20")),
              QStringLiteral("CJ23030510001"));
    addNumber(QStringLiteral("jxc_jhd"), QStringLiteral("CJ23030510007"));
    addNumber(QStringLiteral("jxc_jhd"), QStringLiteral("CJ23030610020"));  // another day
    addNumber(QStringLiteral("jxc_jhd"), QStringLiteral("CT23030510030"));  // another prefix
    EXPECT_EQ(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05 14:20")),
              QStringLiteral("CJ23030510008"));
    EXPECT_EQ(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05")),
              QStringLiteral("CJ23030510008"));
    // Today's number comes from the clock (2024-03-05).
    EXPECT_EQ(GetNewDjh(db(), clock, QStringLiteral("jxc_jhd"), QStringLiteral("gl_djh"), QStringLiteral("CJ")),
              QStringLiteral("CJ24030510001"));
}

TEST_F(NumberingTest, SerialBelow10000GivesTheFirstSerial)
{
    addNumber(QStringLiteral("jxc_jhd"), QStringLiteral("CJ23030500042"));
    EXPECT_EQ(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05")),
              QStringLiteral("CJ23030510001"));
}

TEST_F(NumberingTest, SerialPast99999NeverRepeats)
{
    addNumber(QStringLiteral("jxc_jhd"), QStringLiteral("CJ23030599999"));
    const QString first = djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05"));
    EXPECT_EQ(first, QStringLiteral("CJ230305100000"));
    addNumber(QStringLiteral("jxc_jhd"), first);
    EXPECT_EQ(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-03-05")),
              QStringLiteral("CJ230305100001"));
}

TEST_F(NumberingTest, SalesCountPosAndStagedLines)
{
    addNumber(QStringLiteral("jxc_lsxsd"), QStringLiteral("XS23030510003"));
    addNumber(QStringLiteral("jxc_posxssp"), QStringLiteral("XS23030510012"));
    EXPECT_EQ(djh(QStringLiteral("jxc_lsxsd"), QStringLiteral("XS"), QStringLiteral("2023-03-05")),
              QStringLiteral("XS23030510013"));
    addNumber(QStringLiteral("jxc_lsxssptemp"), QStringLiteral("XS23030510040"));
    EXPECT_EQ(djh(QStringLiteral("jxc_lsxssp"), QStringLiteral("XS"), QStringLiteral("2023-03-05")),
              QStringLiteral("XS23030510041"));
    // Other prefixes do not look at the POS lines.
    addNumber(QStringLiteral("jxc_posxssp"), QStringLiteral("XT23030510050"));
    EXPECT_EQ(djh(QStringLiteral("jxc_xsthd"), QStringLiteral("XT"), QStringLiteral("2023-03-05")),
              QStringLiteral("XT23030510001"));
}

TEST_F(NumberingTest, ReceivablesAndPayablesCountTheirRegister)
{
    addNumber(QStringLiteral("jxc_ysyfk_dj"), QStringLiteral("SK23030510005"));
    for (const char *prefix : {"YS", "SK", "YF", "FK"}) {
        const QString p = QString::fromLatin1(prefix);
        addNumber(QStringLiteral("jxc_ysyfk_dj"), p + QStringLiteral("23030510009"));
        // The caller may name another table (its own ledger), the register still counts.
        EXPECT_EQ(djh(QStringLiteral("jxc_ysyfk"), p, QStringLiteral("2023-03-05")), p + QStringLiteral("23030510010"))
            << prefix;
    }
}

TEST_F(NumberingTest, EveryPrefixNumbersItsTables)
{
    const auto &prefixes = DocNumberPrefixes();
    EXPECT_EQ(prefixes.size(), 38u);
    for (const DocNumberPrefix &p : prefixes) {
        const QString prefix = QString::fromLatin1(p.prefix);
        if (prefix == QLatin1String("ZS"))
            continue;  // jxc_zsd arrives with the POS gifts
        for (const char *table : {p.headerTable, p.linesTable}) {
            if (!table)
                continue;
            const QString t = QString::fromLatin1(table);
            SCOPED_TRACE((prefix + QLatin1Char(' ') + t).toStdString());
            ASSERT_TRUE(schema::Catalog::instance().knows(t, QStringLiteral("gl_djh")));
            EXPECT_EQ(djh(t, prefix, QStringLiteral("2023-03-05")), prefix + QStringLiteral("23030510001"));
            RunSql(db(), QStringLiteral("insert into %1 (gl_djh) values (?)").arg(t),
                   {prefix + QStringLiteral("23030510021")});
            EXPECT_EQ(djh(t, prefix, QStringLiteral("2023-03-05")), prefix + QStringLiteral("23030510022"));
            RunSql(db(), QStringLiteral("delete from %1").arg(t));
        }
    }
}

TEST_F(NumberingTest, BadDateOrNamesRaise)
{
    EXPECT_THROW(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("2023-13-05")),
                 std::invalid_argument);
    EXPECT_THROW(djh(QStringLiteral("jxc_jhd"), QStringLiteral("CJ"), QStringLiteral("05.03.2023")),
                 std::invalid_argument);
    EXPECT_THROW(djh(QStringLiteral("jxc_jhd"), QStringLiteral("C'"), QStringLiteral("2023-03-05")),
                 std::invalid_argument);
    EXPECT_THROW(djh(QStringLiteral("jxc_jhd; drop table jxc_log"), QStringLiteral("CJ"), QStringLiteral("2023-03-05")),
                 std::invalid_argument);
    EXPECT_THROW(GetNewSn(db(), QStringLiteral("jxc_ckxx"), QStringLiteral("max(ck_sn)) from jxc_log --")),
                 std::invalid_argument);
    EXPECT_THROW(FieldValueExists(db(), QStringLiteral("jxc_nothing"), QStringLiteral("x"), 1),
                 std::invalid_argument);
}

TEST_F(NumberingTest, NumberTakenByAnotherOperator)
{
    LoginState me;
    me.CurrentOperatorName = QStringLiteral("张三");
    const QString jhd = QStringLiteral("jxc_jhd");
    const QString n = QStringLiteral("CJ23030510001");
    const auto used = [&](const QString &table, const QString &number) {
        return DjhUsedByOther(db(), me, table, QStringLiteral("gl_djh"), number);
    };

    EXPECT_FALSE(used(jhd, n));
    addNumber(jhd, n, me.CurrentOperatorName);
    addNumber(QStringLiteral("jxc_jhsp"), n, me.CurrentOperatorName);
    EXPECT_FALSE(used(jhd, n));
    EXPECT_FALSE(used(QStringLiteral("jxc_jhsp"), n));
    addNumber(jhd, n, QStringLiteral("李四"));
    EXPECT_TRUE(used(jhd, n));
    // Only another operator's rows carry it.
    EXPECT_FALSE(used(QStringLiteral("jxc_thd"), QStringLiteral("CT23030510001")));
    addNumber(QStringLiteral("jxc_thd"), QStringLiteral("CT23030510001"), QStringLiteral("李四"));
    EXPECT_TRUE(used(QStringLiteral("jxc_thd"), QStringLiteral("CT23030510001")));
}

TEST_F(NumberingTest, SaleNumberTakenByPosOrStagedLines)
{
    LoginState me;
    me.CurrentOperatorName = QStringLiteral("admin");
    const QString n = QStringLiteral("XS23030510001");
    addNumber(QStringLiteral("jxc_lsxsd"), n, me.CurrentOperatorName);
    EXPECT_FALSE(DjhUsedByOther(db(), me, QStringLiteral("jxc_lsxsd"), QStringLiteral("gl_djh"), n));
    addNumber(QStringLiteral("jxc_posxssp"), n, me.CurrentOperatorName);  // whoever wrote it
    EXPECT_TRUE(DjhUsedByOther(db(), me, QStringLiteral("jxc_lsxsd"), QStringLiteral("gl_djh"), n));

    const QString m = QStringLiteral("XS23030510002");
    EXPECT_FALSE(DjhUsedByOther(db(), me, QStringLiteral("jxc_lsxsd"), QStringLiteral("gl_djh"), m));
    addNumber(QStringLiteral("jxc_lsxssptemp"), m, me.CurrentOperatorName);
    EXPECT_TRUE(DjhUsedByOther(db(), me, QStringLiteral("jxc_lsxsd"), QStringLiteral("gl_djh"), m));
}

TEST_F(NumberingTest, FirstIdAndValueExistence)
{
    const QString table = QStringLiteral("jxc_ckxx");
    const QString column = QStringLiteral("ck_name");
    EXPECT_EQ(GetFirstId(db(), table, column, QStringLiteral("分仓")), QString());
    EXPECT_FALSE(FieldValueExists(db(), table, column, QStringLiteral("分仓")));
    addWarehouse(QStringLiteral("100002"), QStringLiteral("分仓"));
    const QString firstId = QueryScalar(db(), QStringLiteral("select id from jxc_ckxx where ck_name = ?"),
                                        {QStringLiteral("分仓")});
    addWarehouse(QStringLiteral("100003"), QStringLiteral("分仓"));
    EXPECT_EQ(GetFirstId(db(), table, column, QStringLiteral("分仓")), firstId);
    EXPECT_TRUE(FieldValueExists(db(), table, column, QStringLiteral("分仓")));
    // A value with quotes is compared as it is.
    EXPECT_FALSE(FieldValueExists(db(), table, column, QStringLiteral("x' or '1'='1")));
}

} // namespace
