// Stock sufficiency sentences, the cost price look-up and the repair of document numbers that
// several operators saved at once.

#include "walkfixture.h"

#include "engine/costprice.h"
#include "engine/duplicaterepair.h"
#include "engine/stockcheck.h"

#include <utility>
#include <vector>

namespace {

class StockCheckTest : public WalkTest
{
protected:
    void SetUp() override
    {
        WalkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods(QStringLiteral("G1"));
        addGoods(QStringLiteral("A001"));
        addGoods(QStringLiteral("A002"));
        addStock(QStringLiteral("G1"), QStringLiteral("100001"), 5);
    }
    void line(const QString &table, const QString &qtyColumn, const QString &number, const QString &goods,
              double qty, const QString &who = QStringLiteral("admin"))
    {
        RunSql(db(), QStringLiteral("insert into %1 (gl_djh, g_sn, %2, a_name) values (?, ?, ?, ?)").arg(table, qtyColumn),
               {number, goods, qty, who});
    }
    QString check(const QString &number, const QString &type, bool allowNegative)
    {
        LoginState s = state;
        s.AllowNegativeStock = allowNegative ? QStringLiteral("1") : QStringLiteral("0");
        return CheckNegativeStock(db(), s, clock, number, QStringLiteral("100001"), type);
    }
};

const QString kPrefix = QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“");

TEST_F(StockCheckTest, SaleCountsEveryOperatorsLines)
{
    line(QStringLiteral("jxc_lsxssp"), QStringLiteral("ls_zsl"), QStringLiteral("XS1"), QStringLiteral("G1"), 3);
    line(QStringLiteral("jxc_lsxssp"), QStringLiteral("ls_zsl"), QStringLiteral("XS1"), QStringLiteral("G1"), 2,
         QStringLiteral("li"));
    EXPECT_EQ(check(QStringLiteral("XS1"), QStringLiteral("XS"), false), QString());  // 5 of 5 pass
    line(QStringLiteral("jxc_lsxssp"), QStringLiteral("ls_zsl"), QStringLiteral("XS2"), QStringLiteral("G1"), 3);
    line(QStringLiteral("jxc_lsxssp"), QStringLiteral("ls_zsl"), QStringLiteral("XS2"), QStringLiteral("G1"), 3,
         QStringLiteral("li"));
    EXPECT_EQ(check(QStringLiteral("XS2"), QStringLiteral("XS"), false), kPrefix + QStringLiteral("G1”：不能销售！"));
    EXPECT_EQ(check(QStringLiteral("XS2"), QStringLiteral("XS"), true),
              kPrefix + QStringLiteral("G1”：销售将会出现负库存，是否继续？"));
}

TEST_F(StockCheckTest, EveryTypeReadsItsLinesAndSaysItsSentence)
{
    struct Case
    {
        const char *type, *table, *qty, *ask, *refuse;
    };
    const Case cases[] = {
        {"CJ", "jxc_jhsp", "jh_zsl", "”：出库将会出现负库存，是否继续？", "”：不能出库！"},
        {"CT", "jxc_thsp", "th_zsl", "”：退货将会出现负库存，是否继续？", "”：不能退货！"},
        {"XT", "jxc_xsthsp", "th_zsl", "”：出库将会出现负库存，是否继续？", "”：不能出库！"},
        {"DB", "jxc_dbsp", "db_zsl", "”：出库将会出现负库存，是否继续？", "”：不能出库！"},
        {"BS", "jxc_bssp", "bs_sl", "”：报损将会出现负库存，是否继续？", "”：不能报损！"},
        {"LY", "jxc_bmlysp", "ly_sl", "”：领用将会出现负库存，是否继续？", "”：不能领用！"},
        {"LT", "jxc_bmlysp", "ly_zsl", "”：出库将会出现负库存，是否继续？", "”：不能出库！"},
        {"SC", "jxc_scrksp", "sc_sl", "”：出库将会出现负库存，是否继续？", "”：不能出库！"},
        {"ST", "jxc_scrksp", "sc_sl", "”：退货将会出现负库存，是否继续？", "”：不能退货！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const QString number = QLatin1String(c.type) + QStringLiteral("24030810001");
        line(QLatin1String(c.table), QLatin1String(c.qty), number, QStringLiteral("G1"), 6);
        if (QLatin1String(c.type) == QLatin1String("CJ"))  // a receipt line put on hand
            RunSql(db(), QStringLiteral("update jxc_jhsp set jh_rksl = jh_zsl where gl_djh = ?"), {number});
        EXPECT_EQ(check(number, QLatin1String(c.type), true), kPrefix + QStringLiteral("G1") + QString::fromUtf8(c.ask));
        EXPECT_EQ(check(number, QLatin1String(c.type), false),
                  kPrefix + QStringLiteral("G1") + QString::fromUtf8(c.refuse));
    }
}

// The cancel of a receipt takes from kc_sl only what its lines put on hand (jh_rksl <> 0); the
// cancel of a department return compares base quantities (ly_zsl), not line units (ly_sl).
TEST_F(StockCheckTest, CancelTypesCountWhatTheCancelTakesBack)
{
    struct Case
    {
        const char *name, *type;
        std::vector<std::pair<double, double>> lines;  // CJ: (jh_zsl, jh_rksl); LT: (ly_sl, ly_zsl)
        bool short_;
    };
    const Case cases[] = {
        {"receipt line not put on hand", "CJ", {{6, 0}}, false},
        {"receipt lines put on hand and not", "CJ", {{4, 4}, {6, 0}}, false},
        {"receipt lines put on hand", "CJ", {{4, 4}, {2, 2}}, true},
        {"receipt line put on hand in part", "CJ", {{6, 3}}, true},
        {"return of 2 boxes of 3", "LT", {{2, 6}}, true},
        {"return of 6 pieces as 1 pack", "LT", {{1, 6}}, true},
        {"return of 3 in 2 boxes", "LT", {{2, 3}}, false},
    };
    int n = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString number = QLatin1String(c.type) + QStringLiteral("2403081%1").arg(++n, 4, 10, QLatin1Char('0'));
        for (const auto &[a, b] : c.lines) {
            if (QLatin1String(c.type) == QLatin1String("CJ"))
                RunSql(db(), QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, jh_sl, jh_zsl, jh_rksl, a_name) "
                                            "values (?, 'G1', ?, ?, ?, 'admin')"),
                       {number, a, a, b});
            else
                RunSql(db(), QStringLiteral("insert into jxc_bmlysp (gl_djh, g_sn, ly_sl, ly_zsl, a_name) "
                                            "values (?, 'G1', ?, ?, 'admin')"),
                       {number, a, b});
        }
        EXPECT_EQ(check(number, QLatin1String(c.type), false),
                  c.short_ ? kPrefix + QStringLiteral("G1”：不能出库！") : QString());
    }
    // with stock below zero a receipt that put nothing on hand is still no shortage
    RunSql(db(), QStringLiteral("update jxc_kcsp set kc_sl = -2 where g_sn = 'G1'"));
    EXPECT_EQ(check(QStringLiteral("CJ24030810001"), QStringLiteral("CJ"), false), QString());
}

TEST_F(StockCheckTest, LowestShortCodeIsNamedAndUncomparableGoodsPass)
{
    addStock(QStringLiteral("A001"), QStringLiteral("100001"), 1);
    addStock(QStringLiteral("A002"), QStringLiteral("100001"), 1);
    const QString t = QStringLiteral("jxc_lsxssp"), q = QStringLiteral("ls_zsl");
    line(t, q, QStringLiteral("XS3"), QStringLiteral("A002"), 2);
    line(t, q, QStringLiteral("XS3"), QStringLiteral("A001"), 2);
    EXPECT_EQ(check(QStringLiteral("XS3"), QStringLiteral("XS"), false), kPrefix + QStringLiteral("A001”：不能销售！"));

    // no stock row in the warehouse, the reserved goods, an unknown type: nothing to say
    addGoods(QStringLiteral("N1"));
    line(t, q, QStringLiteral("XS4"), QStringLiteral("N1"), 50);
    line(t, q, QStringLiteral("XS4"), QStringLiteral("00000000"), 50);
    addStock(QStringLiteral("00000000"), QStringLiteral("100001"), 0);
    EXPECT_EQ(check(QStringLiteral("XS4"), QStringLiteral("XS"), false), QString());
    line(t, q, QStringLiteral("XS5"), QStringLiteral("G1"), 50);
    EXPECT_EQ(check(QStringLiteral("XS5"), QStringLiteral("ZZ"), false), QString());
    // stock in another warehouse does not count
    EXPECT_EQ(CheckNegativeStock(db(), state, clock, QStringLiteral("XS5"), QStringLiteral("100002"),
                                 QStringLiteral("XS")),
              QString());
}

// ---- cost price --------------------------------------------------------------------------

TEST_F(StockCheckTest, CostPriceFallsThroughItsSources)
{
    const QString wh = QStringLiteral("100001");
    // fixed cost: the purchase price, rounded
    RunSql(db(), QStringLiteral("update jxc_goods set g_gdcbj = 1, g_jj = 3.145 where g_sn = 'A001'"));
    EXPECT_AMOUNT(GetCostPrice(db(), state, clock, QStringLiteral("A001"), wh, QStringLiteral("2024-03-08")), 3.15);

    // ledger rows up to the moment; a bare day counts up to the clock's time
    clock.set(QDateTime(QDate(2024, 3, 1), QTime(15, 20, 5)));
    Ledger a{QStringLiteral("cj"), QStringLiteral("2024-03-01 15:20")};
    a.pjjj = 7;
    addLedger(a);
    Ledger b{QStringLiteral("cj"), QStringLiteral("2024-03-01 15:21")};
    b.pjjj = 9;
    addLedger(b);
    EXPECT_AMOUNT(GetCostPrice(db(), state, clock, QStringLiteral("G1"), wh, QStringLiteral("2024-03-01")), 7);
    EXPECT_AMOUNT(GetCostPrice(db(), state, clock, QStringLiteral("G1"), wh, QStringLiteral("2024-03-01 15:21")), 9);

    // the stock row's cost when asked to skip the ledger
    RunSql(db(), QStringLiteral("update jxc_kcsp set kc_cbj = 6.666 where g_sn = 'G1'"));
    LoginState s = state;
    s.CostFromStockRow = QStringLiteral("1");
    EXPECT_AMOUNT(GetCostPrice(db(), s, clock, QStringLiteral("G1"), wh, QStringLiteral("2024-03-01")), 6.67);

    // only the goods average; then nothing at all
    RunSql(db(), QStringLiteral("update jxc_goods set g_pjjj = 4 where g_sn = 'A002'"));
    EXPECT_AMOUNT(GetCostPrice(db(), state, clock, QStringLiteral("A002"), wh, QStringLiteral("2024-03-08")), 4);
    EXPECT_AMOUNT(GetCostPrice(db(), state, clock, QStringLiteral("NONE"), wh, QStringLiteral("2024-03-08")), 0);
}

// ---- duplicate numbers -------------------------------------------------------------------

class DuplicateTest : public WalkTest
{
protected:
    qint64 header(const QString &number, const QString &who, int status, const QString &date = QStringLiteral("2024-03-05 10:00"))
    {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_jhd (gl_djh, a_name, j_status, j_jhrq) values (?, ?, ?, ?)"),
                                 {number, who, status, date});
    }
    void line(const QString &number, const QString &who)
    {
        RunSql(db(), QStringLiteral("insert into jxc_jhsp (gl_djh, g_sn, jh_sl, a_name) values (?, 'G1', 1, ?)"),
               {number, who});
    }
    QString numberOf(qint64 id)
    {
        return QueryScalar(db(), QStringLiteral("select gl_djh from jxc_jhd where id = ?"), {id});
    }
    int count(const QString &sql, const QVariantList &binds = {})
    {
        return QueryScalar(db(), sql, binds).toInt();
    }
    QString fix(const QString &number, const QString &type, const QString &who)
    {
        return FixDuplicateDjh(db(), state, clock, number, type, who);
    }
    const QString N = QStringLiteral("CJ24030510001");
    const QString N2 = QStringLiteral("CJ24030510002");
};

TEST_F(DuplicateTest, AuditedCopyKeepsTheNumberAndOthersMove)
{
    const qint64 audited = header(N, QStringLiteral("admin"), 1);
    line(N, QStringLiteral("admin"));
    header(N, QStringLiteral("admin"), 0);
    const qint64 li = header(N, QStringLiteral("li"), 0, QStringLiteral("2024-03-05 11:00"));
    line(N, QStringLiteral("li"));
    line(N, QStringLiteral("li"));

    EXPECT_EQ(fix(N, QStringLiteral("CJ"), QStringLiteral("li")), N2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd")), 2);  // admin's pending copy went
    EXPECT_EQ(numberOf(audited), N);
    EXPECT_EQ(numberOf(li), N2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhsp where gl_djh = ? and a_name = 'li'"), {N2}), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhsp where gl_djh = ? and a_name = 'admin'"), {N}), 1);
    // repeated: nothing more to do
    EXPECT_EQ(fix(N, QStringLiteral("CJ"), QStringLiteral("li")), N);
}

TEST_F(DuplicateTest, FirstSaverKeepsAndEachOtherOperatorGetsAFreshNumber)
{
    const qint64 admin = header(N, QStringLiteral("admin"), 0);
    const qint64 li = header(N, QStringLiteral("li"), 0);
    const qint64 wang = header(N, QStringLiteral("wang"), 0, QStringLiteral("2024-03-06 09:00"));
    // li and wang have no lines: their fresh numbers must still differ
    EXPECT_EQ(fix(N, QStringLiteral("CJ"), QStringLiteral("admin")), N);
    EXPECT_EQ(numberOf(admin), N);
    EXPECT_EQ(numberOf(li), N2);
    EXPECT_EQ(numberOf(wang), QStringLiteral("CJ24030610001"));

    const QString M = QStringLiteral("CJ24030510005");
    header(M, QStringLiteral("admin"), 0);
    header(M, QStringLiteral("li"), 0);
    header(M, QStringLiteral("zhao"), 0);
    const QString liNumber = fix(M, QStringLiteral("CJ"), QStringLiteral("li"));
    // fresh numbers follow the largest serial of the day in the headers as well
    EXPECT_EQ(liNumber, QStringLiteral("CJ24030510006"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd where gl_djh = 'CJ24030510007' and a_name = 'zhao'")), 1);
}

TEST_F(DuplicateTest, NothingToRepair)
{
    header(N, QStringLiteral("li"), 0);
    EXPECT_EQ(fix(N, QStringLiteral("CJ"), QStringLiteral("li")), N);  // one header
    header(N, QStringLiteral("admin"), 0);
    EXPECT_EQ(fix(N, QStringLiteral("DB"), QStringLiteral("admin")), N);  // not a repaired type
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd where gl_djh = ?"), {N}), 2);

    // two pending copies of the operator who keeps the number both stay
    const QString M = QStringLiteral("CJ24030510007");
    header(M, QStringLiteral("admin"), 0);
    header(M, QStringLiteral("admin"), 0);
    EXPECT_EQ(fix(M, QStringLiteral("CJ"), QStringLiteral("admin")), M);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_jhd where gl_djh = ?"), {M}), 2);
}

TEST_F(DuplicateTest, EveryRepairedTypeUsesItsOwnTables)
{
    struct Case
    {
        const char *type, *header, *lines, *status, *date;
    };
    const Case cases[] = {
        {"CT", "jxc_thd", "jxc_thsp", "th_status", "th_thrq"},
        {"XS", "jxc_lsxsd", "jxc_lsxssp", "ls_status", "ls_xsrq"},
        {"XT", "jxc_xsthd", "jxc_xsthsp", "th_status", "th_xsrq"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.type);
        const QString number = QLatin1String(c.type) + QStringLiteral("24030710001");
        for (const char *who : {"admin", "li"}) {
            RunSql(db(), QStringLiteral("insert into %1 (gl_djh, a_name, %2, %3) values (?, ?, 0, '2024-03-07 10:00')")
                             .arg(QLatin1String(c.header), QLatin1String(c.status), QLatin1String(c.date)),
                   {number, QLatin1String(who)});
            RunSql(db(), QStringLiteral("insert into %1 (gl_djh, g_sn, a_name) values (?, 'G1', ?)").arg(QLatin1String(c.lines)),
                   {number, QLatin1String(who)});
        }
        const QString fresh = QLatin1String(c.type) + QStringLiteral("24030710002");
        EXPECT_EQ(FixDuplicateDjh(db(), state, clock, number, QLatin1String(c.type), QStringLiteral("li")), fresh);
        EXPECT_EQ(QueryScalar(db(), QStringLiteral("select a_name from %1 where gl_djh = ?").arg(QLatin1String(c.lines)),
                              {fresh}),
                  QStringLiteral("li"));
    }
}

} // namespace
