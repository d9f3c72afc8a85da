// The moving-average cost walks: the running values of the goods ledger and the stock row's
// cost, the same-date rule, exclusion of a document, the full walk's row costs and its
// write-back into the documents, and atomicity of the batched write.

#include "walkfixture.h"

#include "engine/costwalk.h"
#include "foundation/db/transaction.h"

namespace {

class CostWalkTest : public WalkTest
{
protected:
    void SetUp() override
    {
        WalkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addGoods(QStringLiteral("G1"));
        addGoods(QStringLiteral("G2"));
    }
    void walk(qint64 id, const char *exclusion = "0")
    {
        RecalcStockCost(db(), state, clock, QString::number(id), QLatin1String(exclusion));
    }
};

struct WalkCase
{
    const char *name;
    bool hasBefore;
    double bQ, bA, bP;
    const char *flag;
    double s, j, d, c;
    double q, p, a;
    bool roundTotalsToUnits = false;
};

TEST_F(CostWalkTest, OneRowAfterAnEarlierState)
{
    const WalkCase cases[] = {
        {"first purchase", false, 0, 0, 0, "cj", 10, 50, 5, 0, 10, 5, 50},
        {"purchase blends", true, 10, 50, 5, "cj", 10, 70, 7, 0, 20, 6, 120},
        {"sale at stored cost", true, 10, 100, 10, "xs", 4, 40, 10, 40, 6, 10, 60},
        {"sale into negative", true, 10, 100, 10, "xs", 12, 180, 15, 120, -2, 280.0 / 22, -25.45},
        {"sale into negative, whole totals", true, 10, 100, 10, "xs", 12, 180, 15, 120, -2, 280.0 / 22, -25, true},
        {"purchase into negative stock", true, -5, -50, 10, "cj", 3, 36, 12, 0, -2, 122.0 / 11, -22.18},
        {"return to zero takes own price", true, 10, 100, 10, "ct", -10, -80, 8.125, 0, 0, 8.13, 0},
        {"transfer in to zero", true, -3, -30, 10, "db", 3, 36, 12, 0, 0, 12, 0},
        {"transfer out to zero keeps price", true, 3, 30, 10, "db", -3, -36, 12, 0, 0, 10, 0},
        {"points gift lowers amount by its amount", true, 10, 100, 10, "dh", 2, 20, 10, 0, 8, 10, 80},
        {"unknown code adds amount only", true, 10, 100, 10, "zz", 0, 5, 0, 0, 10, 10.5, 105},
    };
    int n = 0;
    for (const WalkCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString goods = QStringLiteral("W%1").arg(++n);
        addGoods(goods);
        addStock(goods, QStringLiteral("100001"), 0);
        if (c.hasBefore) {
            Ledger before{QStringLiteral("qc"), QStringLiteral("2024-03-04 10:00")};
            before.goods = goods;
            before.kc = c.bQ;
            before.kczje = c.bA;
            before.pjjj = c.bP;
            addLedger(before);
        }
        Ledger row{QLatin1String(c.flag), QStringLiteral("2024-03-05 10:00"), c.s, c.j, c.d, c.c};
        row.goods = goods;
        row.kc = 999;  // stale values the walk must replace
        row.pjjj = 999;
        row.kczje = 999;
        const qint64 id = addLedger(row);
        LoginState s = state;
        if (c.roundTotalsToUnits) {
            s.RoundTotals = QStringLiteral("1");
            s.TotalDecimals = QStringLiteral("0");
        }
        RecalcStockCost(db(), s, clock, QString::number(id), QStringLiteral("0"));
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_kc")), c.q);
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_pjjj")), c.p);
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_kczje")), c.a);
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_sqsl")), c.hasBefore ? c.bQ : 0);
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_sqje")), c.hasBefore ? c.bA : 0);
        EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj"), goods), c.p);
        EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb"), goods), c.a);
        // the walk touches no quantity of the stock row
        EXPECT_AMOUNT(stock(QStringLiteral("kc_sl"), goods), 0);
    }
}

TEST_F(CostWalkTest, OpeningPriceComesFromGoodsAverageWhenNoEarlierRow)
{
    RunSql(db(), QStringLiteral("update jxc_goods set g_pjjj = 7 where g_sn = 'G1'"));
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 0);
    // a quantity-0 row sets no price: the opening g_pjjj stays
    const qint64 id = addLedger({QStringLiteral("zz"), QStringLiteral("2024-03-05 10:00")});
    walk(id);
    EXPECT_AMOUNT(col(id, QStringLiteral("gl_pjjj")), 7);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj")), 7);
}

TEST_F(CostWalkTest, RowsOfTheStartDateAreWalkedAgain)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 20);
    Ledger first{QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5};
    first.kc = 999;
    const qint64 a = addLedger(first);
    const qint64 b = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 70, 7});
    walk(b);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_kc")), 10);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_pjjj")), 5);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_kczje")), 50);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_kc")), 20);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_pjjj")), 6);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_kczje")), 120);
}

TEST_F(CostWalkTest, ExclusionLeavesTheDocumentOut)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 5);
    Ledger a{QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5};
    a.number = QStringLiteral("A");
    a.kc = 10;
    a.pjjj = 5;
    a.kczje = 50;
    addLedger(a);
    Ledger b{QStringLiteral("cj"), QStringLiteral("2024-03-06 10:00"), 10, 70, 7};
    b.number = QStringLiteral("B");
    b.kc = 20;
    b.pjjj = 6;
    b.kczje = 120;
    const qint64 bid = addLedger(b);
    Ledger sale{QStringLiteral("xs"), QStringLiteral("2024-03-07 10:00"), 5, 60, 12, 30};
    sale.number = QStringLiteral("S");
    const qint64 sid = addLedger(sale);
    Ledger opening{QStringLiteral("qc"), QStringLiteral("2024-03-07 11:00")};
    opening.number = QString();  // NULL number: never the document's row
    const qint64 qid = addLedger(opening);

    walk(bid, "1");
    EXPECT_AMOUNT(col(bid, QStringLiteral("gl_kc")), 20);
    EXPECT_AMOUNT(col(bid, QStringLiteral("gl_pjjj")), 6);
    EXPECT_AMOUNT(col(bid, QStringLiteral("gl_kczje")), 120);
    EXPECT_AMOUNT(col(sid, QStringLiteral("gl_sqsl")), 10);
    EXPECT_AMOUNT(col(sid, QStringLiteral("gl_sqje")), 50);
    EXPECT_AMOUNT(col(sid, QStringLiteral("gl_kc")), 5);
    EXPECT_AMOUNT(col(sid, QStringLiteral("gl_pjjj")), 4);
    EXPECT_AMOUNT(col(sid, QStringLiteral("gl_kczje")), 20);
    EXPECT_AMOUNT(col(qid, QStringLiteral("gl_sqsl")), 5);
    EXPECT_AMOUNT(col(qid, QStringLiteral("gl_kc")), 5);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj")), 4);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb")), 20);
}

TEST_F(CostWalkTest, ExclusionWithAnEmptyNumberExcludesNothing)
{
    for (const QVariant &number : {QVariant(QString()), QVariant(QStringLiteral(""))}) {
        SCOPED_TRACE(number.isNull() ? "NULL" : "empty");
        RunSql(db(), QStringLiteral("delete from jxc_goodslist"));
        Ledger r{QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5};
        const qint64 id = addLedger(r);
        RunSql(db(), QStringLiteral("update jxc_goodslist set gl_djh = ? where id = ?"), {number, id});
        const qint64 other = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-06 10:00"), 10, 70, 7});
        RunSql(db(), QStringLiteral("update jxc_goodslist set gl_djh = ? where id = ?"), {number, other});
        walk(id, "1");
        EXPECT_AMOUNT(col(id, QStringLiteral("gl_kc")), 10);
        EXPECT_AMOUNT(col(other, QStringLiteral("gl_kc")), 20);
        EXPECT_AMOUNT(col(other, QStringLiteral("gl_pjjj")), 6);
    }
}

TEST_F(CostWalkTest, UnknownIdChangesNothingAndMissingStockRowIsNotCreated)
{
    const qint64 id = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5});
    const QStringList before = dump(QStringLiteral("jxc_goodslist"));
    for (const char *bad : {"999999", "", "abc"})
        RecalcStockCost(db(), state, clock, QLatin1String(bad), QStringLiteral("0"));
    RecalcStockCostFull(db(), state, clock, QStringLiteral("999999"), QStringLiteral("1"));
    EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")), before);

    walk(id);
    EXPECT_AMOUNT(col(id, QStringLiteral("gl_kc")), 10);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_kcsp where g_sn = 'G1'")), "0");
}

TEST_F(CostWalkTest, BackDatedReceiptRewritesLaterRows)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 30);
    Ledger r1{QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5};
    r1.kc = 10, r1.pjjj = 5, r1.kczje = 50;
    const qint64 a = addLedger(r1);
    Ledger r2{QStringLiteral("cj"), QStringLiteral("2024-03-06 10:00"), 10, 70, 7};
    r2.kc = 20, r2.pjjj = 6, r2.kczje = 120;
    const qint64 b = addLedger(r2);
    const qint64 c = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-04 09:00"), 10, 20, 2});
    walk(c);
    EXPECT_AMOUNT(col(c, QStringLiteral("gl_kc")), 10);
    EXPECT_AMOUNT(col(c, QStringLiteral("gl_pjjj")), 2);
    EXPECT_AMOUNT(col(c, QStringLiteral("gl_kczje")), 20);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_kc")), 20);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_pjjj")), 3.5);
    EXPECT_AMOUNT(col(a, QStringLiteral("gl_kczje")), 70);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_kc")), 30);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_pjjj")), 14.0 / 3);
    EXPECT_AMOUNT(col(b, QStringLiteral("gl_kczje")), 140);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj")), 14.0 / 3);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb")), 140);
}

TEST_F(CostWalkTest, OtherGoodsAndWarehousesAreNotWalked)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 0);
    addStock(QStringLiteral("G1"), QStringLiteral("100002"), 0, 3, 33);
    Ledger elsewhere{QStringLiteral("cj"), QStringLiteral("2024-03-06 10:00"), 1, 3, 3};
    elsewhere.warehouse = QStringLiteral("100002");
    elsewhere.kc = 11;
    const qint64 e = addLedger(elsewhere);
    Ledger g2{QStringLiteral("cj"), QStringLiteral("2024-03-06 10:00"), 1, 3, 3};
    g2.goods = QStringLiteral("G2");
    g2.kc = 11;
    const qint64 f = addLedger(g2);
    walk(addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5}));
    EXPECT_AMOUNT(col(e, QStringLiteral("gl_kc")), 11);
    EXPECT_AMOUNT(col(f, QStringLiteral("gl_kc")), 11);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb"), QStringLiteral("G1"), QStringLiteral("100002")), 33);
}

TEST_F(CostWalkTest, LongWalkIsWrittenInBatches)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 0);
    const int rows = 1234;
    {
        Transaction tx(db());
        for (int i = 0; i < rows; ++i) {
            const QString date = QStringLiteral("2024-03-05 %1:%2").arg(10 + i / 60, 2, 10, QLatin1Char('0'))
                                     .arg(i % 60, 2, 10, QLatin1Char('0'));
            addLedger({QStringLiteral("cj"), date, 1, double(i + 1), double(i + 1)});
        }
        tx.commit();
    }
    const qint64 first = num(QStringLiteral("select min(id) from jxc_goodslist"));
    const qint64 last = num(QStringLiteral("select max(id) from jxc_goodslist"));
    walk(first);
    const double total = rows * (rows + 1) / 2.0;
    EXPECT_AMOUNT(col(last, QStringLiteral("gl_kc")), rows);
    EXPECT_AMOUNT(col(last, QStringLiteral("gl_sqsl")), rows - 1);
    EXPECT_AMOUNT(col(last, QStringLiteral("gl_kczje")), total);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb")), total);
    EXPECT_EQ(QueryScalar(db(), QStringLiteral("select count(*) from jxc_goodslist where gl_kc is null or gl_kc = 0")),
              "0");
    // the walk did not send a statement per row: no row is left with its old zero running values
    EXPECT_AMOUNT(num(QStringLiteral("select sum(gl_kc) from jxc_goodslist")), total);
}

TEST_F(CostWalkTest, FailedWriteBackLeavesEverythingAsItWas)
{
    addStock(QStringLiteral("G1"), QStringLiteral("100001"), 0);
    const qint64 a = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 50, 5});
    addLedger({QStringLiteral("xs"), QStringLiteral("2024-03-06 10:00"), 4, 60, 15, 20});
    const QStringList ledger = dump(QStringLiteral("jxc_goodslist"));
    const QStringList stockRows = dump(QStringLiteral("jxc_kcsp"));
    int failures = 0;
    for (int n = 1; n < 40; ++n) {
        InjectStatementFailure(db(), n);
        bool failed = false;
        try {
            walk(a);
        } catch (const DbError &) {
            failed = true;
        }
        InjectStatementFailure(db(), 0);
        if (!failed)
            break;
        ++failures;
        SCOPED_TRACE(n);
        EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")), ledger);
        EXPECT_EQ(dump(QStringLiteral("jxc_kcsp")), stockRows);
    }
    EXPECT_GT(failures, 3);
    // and inside an outer transaction that rolls back, nothing stays either
    RunSql(db(), QStringLiteral("update jxc_goodslist set gl_kc = 999"));
    const QStringList spoiled = dump(QStringLiteral("jxc_goodslist"));
    const QStringList stockNow = dump(QStringLiteral("jxc_kcsp"));
    {
        Transaction outer(db());
        walk(a);
        RecalcStockCostFull(db(), state, clock, QString::number(a), QStringLiteral("1"));
    }
    EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")), spoiled);
    EXPECT_EQ(dump(QStringLiteral("jxc_kcsp")), stockNow);
}

// The walks of a document's goods run together (RecalcStockCostRows); every ledger row and stock
// row must come out as from the single walks in turn: goods met twice on one date, a goods met
// again on a later date, a goods opening at its average, two warehouses, unknown ids.
TEST_F(CostWalkTest, WalksTogetherEqualTheSingleWalksInTurn)
{
    RunSql(db(), QStringLiteral("update jxc_goods set g_pjjj = 7.123456789 where g_sn = 'G2'"));
    addGoods(QStringLiteral("G3"));
    for (const char *g : {"G1", "G2", "G3"})
        addStock(QLatin1String(g), QStringLiteral("100001"), 0);
    addStock(QStringLiteral("G1"), QStringLiteral("100002"), 0);
    Ledger earlier{QStringLiteral("cj"), QStringLiteral("2024-03-01 10:00"), 3, 10, 10.0 / 3};
    earlier.number = QStringLiteral("X0");
    addLedger(earlier);
    const QString d = QStringLiteral("2024-03-05 10:00");
    auto row = [&](const char *flag, const char *goods, const char *number, double qty, double amount,
                   const QString &date, const char *warehouse = "100001") {
        Ledger r{QLatin1String(flag), date, qty, amount, qty != 0 ? amount / qty : 0, amount / 2};
        r.goods = QLatin1String(goods);
        r.number = QLatin1String(number);
        r.warehouse = QLatin1String(warehouse);
        r.kc = r.pjjj = r.kczje = 999;
        return QString::number(addLedger(r));
    };
    const QString a1 = row("cj", "G1", "X1", 7, 23.33, d);
    const QString b1 = row("cj", "G2", "X1", 2.5, 9.99, d);
    const QString a2 = row("xs", "G1", "X1", 4, 50, d);
    const QString c1 = row("cj", "G1", "X1", 1, 1.01, d, "100002");
    const QString a3 = row("cj", "G1", "X2", 5, 17.77, QStringLiteral("2024-03-07 09:00"));
    const QString e1 = row("xs", "G3", "X1", 6, 13.13, d);
    row("ct", "G2", "X3", -1, -3.3, QStringLiteral("2024-03-08 10:00"));
    const QStringList ids{a1, b1, a2, c1, QStringLiteral("999999"), a3, QStringLiteral("x"), e1, b1};

    for (const char *exclusion : {"0", "1"}) {
        SCOPED_TRACE(exclusion);
        QStringList ledger, stockRows;
        {
            Transaction tx(db());
            for (const QString &id : ids)
                RecalcStockCost(db(), state, clock, id, QLatin1String(exclusion));
            ledger = dump(QStringLiteral("jxc_goodslist"));
            stockRows = dump(QStringLiteral("jxc_kcsp"));
        }
        ASSERT_NE(ledger, dump(QStringLiteral("jxc_goodslist")));
        Transaction tx(db());
        RecalcStockCostRows(db(), state, clock, ids, QLatin1String(exclusion));
        EXPECT_EQ(dump(QStringLiteral("jxc_goodslist")), ledger);
        EXPECT_EQ(dump(QStringLiteral("jxc_kcsp")), stockRows);
    }
}

// ---- the full walk -------------------------------------------------------------------------

class FullWalkTest : public CostWalkTest
{
protected:
    void SetUp() override
    {
        CostWalkTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        addStock(QStringLiteral("G1"), QStringLiteral("100001"), 7);
        first = addLedger({QStringLiteral("cj"), QStringLiteral("2024-03-05 10:00"), 10, 100, 10});
        Ledger sale{QStringLiteral("xs"), QStringLiteral("2024-03-06 10:00"), 4, 60, 15, 0};
        sale.number = QStringLiteral("XS24030610001");
        saleRow = addLedger(sale);
        Ledger ret{QStringLiteral("xt"), QStringLiteral("2024-03-07 10:00"), -1, -15, 15, 0};
        ret.number = QStringLiteral("XT24030710001");
        returnRow = addLedger(ret);
        RunSql(db(), QStringLiteral("insert into jxc_lsxsd (gl_djh, ls_lr) values ('XS24030610001', 0)"));
        RunSql(db(), QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, g_zhxs, ls_je, ls_cbj, "
                                    "ls_cbj2, ls_zcb) values ('XS24030610001', 'G1', 4, 4, 1, 60, 0, 0, 0)"));
        RunSql(db(), QStringLiteral("insert into jxc_xsthd (gl_djh, th_lr) values ('XT24030710001', 0)"));
        RunSql(db(), QStringLiteral("insert into jxc_xsthsp (gl_djh, g_sn, th_sl, th_zsl, g_zhxs, th_je, th_cbj, "
                                    "th_zcb) values ('XT24030710001', 'G1', 1, 1, 1, 15, 0, 0)"));
    }
    void full(const char *writeBack)
    {
        RecalcStockCostFull(db(), state, clock, QString::number(first), QLatin1String(writeBack));
    }
    double doc(const QString &sql) { return num(sql); }

    qint64 first = 0, saleRow = 0, returnRow = 0;
};

TEST_F(FullWalkTest, RevaluesSalesAndReturnsAtTheAverageBeforeThem)
{
    full("0");
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_cbj")), 10);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_zcb")), 40);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_lr")), 20);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_kc")), 6);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_pjjj")), 10);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_kczje")), 60);
    EXPECT_AMOUNT(col(returnRow, QStringLiteral("gl_cbj")), 10);
    EXPECT_AMOUNT(col(returnRow, QStringLiteral("gl_zcb")), -10);
    EXPECT_AMOUNT(col(returnRow, QStringLiteral("gl_lr")), -5);
    EXPECT_AMOUNT(col(returnRow, QStringLiteral("gl_kc")), 7);
    EXPECT_AMOUNT(col(returnRow, QStringLiteral("gl_kczje")), 70);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_cbj")), 10);
    EXPECT_AMOUNT(stock(QStringLiteral("kc_zcb")), 70);
    // write-back "0" leaves the documents alone
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_zcb from jxc_lsxssp")), 0);
    EXPECT_AMOUNT(doc(QStringLiteral("select th_zcb from jxc_xsthsp")), 0);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_lr from jxc_lsxsd")), 0);
}

TEST_F(FullWalkTest, WriteBackGivesReturnLinesPositiveCostAndLineUnitPrices)
{
    full("1");
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_cbj from jxc_lsxssp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_cbj2 from jxc_lsxssp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_zcb from jxc_lsxssp")), 40);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_lr from jxc_lsxsd")), 20);
    EXPECT_AMOUNT(doc(QStringLiteral("select th_cbj from jxc_xsthsp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select th_zcb from jxc_xsthsp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select th_lr from jxc_xsthd")), -5);

    // the sale line as 2 boxes of 2: the line's cost price is per box, ls_cbj2 per piece
    RunSql(db(), QStringLiteral("update jxc_lsxssp set ls_sl = 2, g_zhxs = 2, dw_name = '盒'"));
    full("1");
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_cbj from jxc_lsxssp")), 20);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_cbj2 from jxc_lsxssp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_zcb from jxc_lsxssp")), 40);
}

TEST_F(FullWalkTest, LossIssueAndReturnLinesKeepPositiveTotals)
{
    Ledger loss{QStringLiteral("bs"), QStringLiteral("2024-03-08 08:00"), -2, -20, 10};
    loss.number = QStringLiteral("BS1");
    const qint64 lossRow = addLedger(loss);
    Ledger issue{QStringLiteral("ly"), QStringLiteral("2024-03-08 09:00"), 2, 1, 0.5};
    issue.number = QStringLiteral("LY1");
    addLedger(issue);
    Ledger back{QStringLiteral("lt"), QStringLiteral("2024-03-08 10:00"), -1, -1, 0.5};
    back.number = QStringLiteral("LT1");
    const qint64 backRow = addLedger(back);
    RunSql(db(), QStringLiteral("insert into jxc_bssp (gl_djh, g_sn, bs_sl, bs_dj, bs_zje) values ('BS1', 'G1', 2, 0.5, 1)"));
    RunSql(db(), QStringLiteral("insert into jxc_bmlysp (gl_djh, g_sn, ly_sl, g_zhxs, ly_dj, ly_zje) "
                                "values ('LY1', 'G1', 1, 2, 1, 1), ('LT1', 'G1', 1, 1, 1, 1)"));
    full("1");
    // the ledger keeps the signs of the movements
    EXPECT_AMOUNT(col(lossRow, QStringLiteral("gl_je")), -20);
    EXPECT_AMOUNT(col(lossRow, QStringLiteral("gl_dj")), 10);
    EXPECT_AMOUNT(col(backRow, QStringLiteral("gl_je")), -10);
    // the documents hold positive totals and prices per line unit
    EXPECT_AMOUNT(doc(QStringLiteral("select bs_zje from jxc_bssp")), 20);
    EXPECT_AMOUNT(doc(QStringLiteral("select bs_dj from jxc_bssp")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ly_zje from jxc_bmlysp where gl_djh = 'LY1'")), 20);
    EXPECT_AMOUNT(doc(QStringLiteral("select ly_dj from jxc_bmlysp where gl_djh = 'LY1'")), 20);
    EXPECT_AMOUNT(doc(QStringLiteral("select ly_zje from jxc_bmlysp where gl_djh = 'LT1'")), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ly_dj from jxc_bmlysp where gl_djh = 'LT1'")), 10);
}

TEST_F(FullWalkTest, TwoSaleLinesOfOneGoodsKeepTheirOwnCost)
{
    RunSql(db(), QStringLiteral("update jxc_lsxssp set id2 = id"));
    const qint64 line1 = num(QStringLiteral("select id from jxc_lsxssp"));
    RunSql(db(), QStringLiteral("update jxc_goodslist set id2 = ? where id = ?"), {line1, saleRow});
    RunSql(db(), QStringLiteral("insert into jxc_lsxssp (gl_djh, g_sn, ls_sl, ls_zsl, g_zhxs, ls_je) "
                                "values ('XS24030610001', 'G1', 1, 1, 1, 20)"));
    const qint64 line2 = num(QStringLiteral("select max(id) from jxc_lsxssp"));
    RunSql(db(), QStringLiteral("update jxc_lsxssp set id2 = id where id = ?"), {line2});
    Ledger second{QStringLiteral("xs"), QStringLiteral("2024-03-06 10:00"), 1, 20, 20, 0};
    second.number = QStringLiteral("XS24030610001");
    const qint64 secondRow = addLedger(second);
    RunSql(db(), QStringLiteral("update jxc_goodslist set id2 = ? where id = ?"), {line2, secondRow});
    full("1");
    EXPECT_AMOUNT(num(QStringLiteral("select ls_zcb from jxc_lsxssp where id = ?"), {line1}), 40);
    EXPECT_AMOUNT(num(QStringLiteral("select ls_zcb from jxc_lsxssp where id = ?"), {line2}), 10);
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_lr from jxc_lsxsd")), (60 - 40) + (20 - 10));
}

TEST_F(FullWalkTest, FixedCostGoodsKeepTheirSaleCost)
{
    RunSql(db(), QStringLiteral("update jxc_goods set g_gdcbj = 1 where g_sn = 'G1'"));
    RunSql(db(), QStringLiteral("update jxc_goodslist set gl_zcb = 32, gl_cbj = 8 where id = ?"), {saleRow});
    full("1");
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_zcb")), 32);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_cbj")), 8);
    EXPECT_AMOUNT(col(saleRow, QStringLiteral("gl_kczje")), 68);  // 100 − 32
    EXPECT_AMOUNT(doc(QStringLiteral("select ls_zcb from jxc_lsxssp")), 0);
}

} // namespace
