// Goods classes and codes, units and barcodes, stock rows of the goods, promotions and scratch
// rows, on both kinds of database.

#include "../support/testdb.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class GoodsTest : public DbTest
{
protected:
    qint64 addClass(int key, int parentKey, const QString &name, const QString &sn = QString())
    {
        return InsertReturningId(db(),
                                 QStringLiteral("insert into jxc_goodsclass (gc_key, gc_pid, gc_name, gc_sn) "
                                                "values (?, ?, ?, ?)"),
                                 {key, parentKey, name, sn.isEmpty() ? QVariant() : QVariant(sn)});
    }
    void addGoods(const QString &sn, const QString &unit = QStringLiteral("瓶"))
    {
        RunSql(db(), QStringLiteral("insert into jxc_goods (g_sn, g_name, dw_name) values (?, ?, ?)"),
               {sn, QStringLiteral("商品") + sn, unit});
    }
    void addUnit(const QString &goods, const QString &unit, const QVariant &factor,
                 const QString &barcode = QString())
    {
        RunSql(db(), QStringLiteral("insert into jxc_goodsdw (g_sn, dw_name, g_zhxs, g_sptm) values (?, ?, ?, ?)"),
               {goods, unit, factor, barcode});
    }
    QString goodsValue(const QString &column, const QString &sn)
    {
        return QueryScalar(db(), QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(column), {sn});
    }
    QString classValue(const QString &column, qint64 id)
    {
        return QueryScalar(db(), QStringLiteral("select %1 from jxc_goodsclass where id = ?").arg(column), {id});
    }
    int count(const QString &sql, const QVariantList &binds = {})
    {
        return QueryScalar(db(), sql, binds).toInt();
    }
};

TEST_F(GoodsTest, ClassCodesUnderTheRootAndUnderAClass)
{
    addClass(3, 1, QStringLiteral("新类别"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("3")), QStringLiteral("1001"));

    const qint64 first = addClass(4, 2, QStringLiteral("子类一"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("4")), QStringLiteral("1000100"));
    PostGoodsClass(db(), first);
    addClass(5, 2, QStringLiteral("子类二"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("5")), QStringLiteral("1000101"));
    addClass(6, 4, QStringLiteral("孙类"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("6")), QStringLiteral("1000100100"));
}

TEST_F(GoodsTest, ClassCodesPastTheirRangeOrOfUnknownKeysAreEmpty)
{
    addClass(3, 2, QStringLiteral("满"), QStringLiteral("1000999"));
    const qint64 next = addClass(4, 2, QStringLiteral("再加"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("4")), QString());
    // The caller refuses: nothing is written.
    EXPECT_EQ(PostGoodsClass(db(), next), QString());
    EXPECT_EQ(classValue(QStringLiteral("gc_sn"), next), QString());
    EXPECT_EQ(classValue(QStringLiteral("gc_jm"), next), QString());

    addClass(5, 1, QStringLiteral("末"), QStringLiteral("9999"));
    addClass(6, 1, QStringLiteral("根下"));
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("6")), QString());
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("99")), QString());
    EXPECT_EQ(GetNewGoodsClassSn(db(), QStringLiteral("x")), QString());
}

TEST_F(GoodsTest, PostAndRenameClass)
{
    const qint64 id = addClass(3, 1, QStringLiteral("饮料"));
    EXPECT_EQ(PostGoodsClass(db(), id), QStringLiteral("1001"));
    EXPECT_EQ(classValue(QStringLiteral("gc_sn"), id), QStringLiteral("1001"));
    EXPECT_EQ(classValue(QStringLiteral("gc_jm"), id), QStringLiteral("YL"));
    EXPECT_EQ(classValue(QStringLiteral("gc_cid"), id), QStringLiteral("3"));

    RenameGoodsClass(db(), id, QStringLiteral("酒水"));
    EXPECT_EQ(classValue(QStringLiteral("gc_name"), id), QStringLiteral("酒水"));
    EXPECT_EQ(classValue(QStringLiteral("gc_jm"), id), QStringLiteral("JS"));
    EXPECT_EQ(classValue(QStringLiteral("gc_sn"), id), QStringLiteral("1001"));
}

TEST_F(GoodsTest, LongClassNamesGetShortCodesCutToTheColumn)
{
    // 40 characters of name, gc_jm holds 32: the save must not fail on PostgreSQL.
    const QString name = QString(40, QChar(u'饮'));
    const qint64 id = addClass(3, 1, name);
    EXPECT_EQ(PostGoodsClass(db(), id), QStringLiteral("1001"));
    EXPECT_EQ(classValue(QStringLiteral("gc_jm"), id), QString(32, QLatin1Char('Y')));
    RenameGoodsClass(db(), id, QString(64, QChar(u'酒')));
    EXPECT_EQ(classValue(QStringLiteral("gc_jm"), id), QString(32, QLatin1Char('J')));
}

struct SnCase
{
    const char *prefix;
    std::vector<const char *> present;  // by id
    const char *next;
};

TEST_F(GoodsTest, NewGoodsCodes)
{
    const SnCase cases[] = {
        {"2", {}, "20000001"},
        {"2", {"20000007"}, "20000008"},
        {"2", {"20000007", "200ABC"}, "20000008"},
        {"2", {"20099999"}, "20100001"},
        {"2", {"20100005", "20099999"}, "20100006"},
        {"15", {"15000003"}, "15000004"},
        {"150", {"15000003"}, "15000004"},  // 15 and 150 share the sequence
        {"2", {"20000007", "2005"}, "2006"},
        {"2", {"20000007", "2000000X", "1e3"}, "20000008"},
        {"1000", {}, "10000001"},
        {"12345", {}, "12345001"},
        {"12345", {"12345001"}, "12345002"},
    };
    for (const SnCase &c : cases) {
        RunSql(db(), QStringLiteral("delete from jxc_goods where g_sn <> '00000000'"));
        for (const char *sn : c.present)
            addGoods(QString::fromLatin1(sn));
        EXPECT_EQ(GetNewGoodsSn(db(), QString::fromLatin1(c.prefix)), QString::fromLatin1(c.next))
            << c.prefix << " after " << c.present.size() << " codes";
    }
    EXPECT_THROW(GetNewGoodsSn(db(), QStringLiteral("AB")), std::invalid_argument);
}

TEST_F(GoodsTest, AuxiliaryUnitsAndFactors)
{
    addGoods(QStringLiteral("G1"));
    addUnit(QStringLiteral("G1"), QStringLiteral("盒"), 0);
    addUnit(QStringLiteral("G1"), QStringLiteral("箱"), 24);
    addUnit(QStringLiteral("G1"), QStringLiteral("件"), 12);
    SetGoodsAuxUnit(db(), QStringLiteral("G1"));
    EXPECT_EQ(goodsValue(QStringLiteral("dw_name2"), QStringLiteral("G1")), QStringLiteral("箱"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_zhxs"), QStringLiteral("G1")), QStringLiteral("24"));

    addGoods(QStringLiteral("G2"), QStringLiteral("个"));
    addUnit(QStringLiteral("G2"), QStringLiteral("盒"), 0);
    addUnit(QStringLiteral("G2"), QStringLiteral("袋"), QVariant());
    SetGoodsAuxUnit(db(), QStringLiteral("G2"));
    EXPECT_EQ(goodsValue(QStringLiteral("dw_name2"), QStringLiteral("G2")), QStringLiteral("个"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_zhxs"), QStringLiteral("G2")), QStringLiteral("1"));

    EXPECT_EQ(GetUnitFactor(db(), QStringLiteral("G1"), QStringLiteral("箱")), 24.0);
    EXPECT_EQ(GetUnitFactor(db(), QStringLiteral("G1"), QStringLiteral("瓶")), 1.0);
    EXPECT_EQ(GetUnitFactor(db(), QStringLiteral("G1"), QStringLiteral("吨")), 1.0);
    EXPECT_EQ(GetUnitFactor(db(), QStringLiteral("G1"), QStringLiteral("盒")), 0.0);  // a stored 0 stays
    EXPECT_EQ(GetUnitFactor(db(), QStringLiteral("G2"), QStringLiteral("袋")), 1.0);  // NULL counts as 1
}

TEST_F(GoodsTest, SetGoodsAuxUnitLetsDatabaseErrorsThrough)
{
    addGoods(QStringLiteral("G1"));
    InjectStatementFailure(db(), 2);  // the update after the look-up
    addUnit(QStringLiteral("G1"), QStringLiteral("箱"), 24);
    EXPECT_THROW(SetGoodsAuxUnit(db(), QStringLiteral("G1")), DbError);
    InjectStatementFailure(db(), 0);
}

TEST_F(GoodsTest, UnitListsTheBaseThenTheAuxiliaryUnitsOnce)
{
    addGoods(QStringLiteral("G1"));
    addUnit(QStringLiteral("G1"), QStringLiteral("盒"), 0);
    addUnit(QStringLiteral("G1"), QStringLiteral("箱"), 24);
    addUnit(QStringLiteral("G1"), QStringLiteral("件"), 12);
    addUnit(QStringLiteral("G1"), QStringLiteral("箱"), 20);  // repeated name
    addUnit(QStringLiteral("G1"), QStringLiteral("瓶"), 1);   // the base unit again
    LoginState state;
    state.UseAuxUnits = QStringLiteral("0");
    EXPECT_EQ(FillGoodsUnits(db(), state, QStringLiteral("G1")), QStringList{QStringLiteral("瓶")});
    state.UseAuxUnits = QStringLiteral("1");
    EXPECT_EQ(FillGoodsUnits(db(), state, QStringLiteral("G1")),
              (QStringList{QStringLiteral("瓶"), QStringLiteral("盒"), QStringLiteral("箱"), QStringLiteral("件")}));
    EXPECT_EQ(FillGoodsUnits(db(), state, QStringLiteral("none")), QStringList());
}

TEST_F(GoodsTest, UnitBarcodeFallsFromUnitToGoodsToFirstExtraBarcode)
{
    addGoods(QStringLiteral("G1"));
    addUnit(QStringLiteral("G1"), QStringLiteral("箱"), 24, QStringLiteral("6900000000024"));
    addUnit(QStringLiteral("G1"), QStringLiteral("盒"), 6, QString());
    RunSql(db(), QStringLiteral("insert into jxc_goodstm (g_sn, g_sptm) values (?, ?)"),
           {QStringLiteral("G1"), QStringLiteral("EXTRA1")});
    RunSql(db(), QStringLiteral("insert into jxc_goodstm (g_sn, g_sptm) values (?, ?)"),
           {QStringLiteral("G1"), QStringLiteral("EXTRA2")});
    LoginState on;
    on.UseAuxUnits = QStringLiteral("1");
    LoginState off;
    off.UseAuxUnits = QStringLiteral("0");

    EXPECT_EQ(GetUnitBarcode(db(), on, QStringLiteral("G1"), QStringLiteral("箱")), QStringLiteral("6900000000024"));
    EXPECT_EQ(GetUnitBarcode(db(), on, QStringLiteral("G1"), QStringLiteral("盒")), QStringLiteral("EXTRA1"));
    RunSql(db(), QStringLiteral("update jxc_goods set g_sptm = ? where g_sn = ?"),
           {QStringLiteral("6900000000001"), QStringLiteral("G1")});
    EXPECT_EQ(GetUnitBarcode(db(), on, QStringLiteral("G1"), QStringLiteral("盒")), QStringLiteral("6900000000001"));
    EXPECT_EQ(GetUnitBarcode(db(), off, QStringLiteral("G1"), QStringLiteral("箱")), QStringLiteral("6900000000001"));
    RunSql(db(), QStringLiteral("update jxc_goods set g_sptm = NULL where g_sn = ?"), {QStringLiteral("G1")});
    EXPECT_EQ(GetUnitBarcode(db(), off, QStringLiteral("G1"), QStringLiteral("盒")), QString());
}

TEST_F(GoodsTest, StockQuantityAsNumberText)
{
    EXPECT_EQ(GetStockQty(db(), QStringLiteral("100001"), QStringLiteral("G1")), QStringLiteral("0"));
    RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl) values (?, ?, ?)"),
           {QStringLiteral("G1"), QStringLiteral("100001"), 12.5});
    EXPECT_EQ(GetStockQty(db(), QStringLiteral("100001"), QStringLiteral("G1")), QStringLiteral("12.5"));
    EXPECT_EQ(GetStockQty(db(), QStringLiteral("100002"), QStringLiteral("G1")), QStringLiteral("0"));
}

class StockResetTest : public GoodsTest
{
protected:
    void SetUp() override
    {
        GoodsTest::SetUp();
        RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl) "
                                    "values ('G1', '100001', 3, 3, 9, 27, 5)"));
    }
    void addOpening(double qty, double price, double amount)
    {
        RunSql(db(), QStringLiteral("insert into jxc_goodslist (gl_flag, g_sn, ck_sn, gl_sl, gl_dj, gl_zje) "
                                    "values ('qc', 'G1', '100001', ?, ?, ?)"),
               {qty, price, amount});
    }
    int stockRows()
    {
        return count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = 'G1' and ck_sn = '100001'"));
    }
    QString stock(const QString &column)
    {
        return QueryScalar(db(), QStringLiteral("select %1 from jxc_kcsp where g_sn = 'G1' and ck_sn = '100001'").arg(column));
    }
};

TEST_F(StockResetTest, StockRowComesFromTheFirstOpeningRow)
{
    addOpening(10, 2.5, 25);
    addOpening(99, 1, 99);
    ResetStockFromOpening(db(), QStringLiteral("G1"), QStringLiteral("100001"));
    ASSERT_EQ(stockRows(), 1);
    EXPECT_EQ(stock(QStringLiteral("kc_sl")), QStringLiteral("10"));
    EXPECT_EQ(stock(QStringLiteral("kc_zsl")), QStringLiteral("10"));
    EXPECT_EQ(stock(QStringLiteral("kc_cbj")), QStringLiteral("2.5"));
    EXPECT_EQ(stock(QStringLiteral("kc_zcb")), QStringLiteral("25"));
    EXPECT_EQ(stock(QStringLiteral("kc_xssl")), QStringLiteral("0"));
}

TEST_F(StockResetTest, WithoutOpeningRowTheStockRowGoes)
{
    ResetStockFromOpening(db(), QStringLiteral("G1"), QStringLiteral("100001"));
    EXPECT_EQ(stockRows(), 0);
}

TEST_F(StockResetTest, FailureKeepsTheOldRowAndTheCallersTransactionDecides)
{
    addOpening(10, 2.5, 25);
    InjectStatementFailure(db(), 2);  // the insert after the delete
    EXPECT_THROW(ResetStockFromOpening(db(), QStringLiteral("G1"), QStringLiteral("100001")), DbError);
    EXPECT_EQ(stock(QStringLiteral("kc_sl")), QStringLiteral("3"));

    {
        Transaction outer(db());
        ResetStockFromOpening(db(), QStringLiteral("G1"), QStringLiteral("100001"));
        EXPECT_EQ(stock(QStringLiteral("kc_sl")), QStringLiteral("10"));
        // outer rolls back
    }
    EXPECT_EQ(stock(QStringLiteral("kc_sl")), QStringLiteral("3"));
}

TEST_F(GoodsTest, ExpiredPromotionsEnd)
{
    const auto addPromotion = [this](const QString &sn, int limited, const QString &until) {
        addGoods(sn);
        RunSql(db(), QStringLiteral("update jxc_goods set g_tjsp = 1, g_tjqx = ?, g_ks = '2024-03-01', g_js = ? "
                                    "where g_sn = ?"),
               {limited, until, sn});
    };
    addPromotion(QStringLiteral("P1"), 1, QStringLiteral("2024-03-09"));
    addPromotion(QStringLiteral("P2"), 1, QStringLiteral("2024-03-10"));
    addPromotion(QStringLiteral("P3"), 0, QStringLiteral("2024-03-01"));
    clock.set(QDateTime(QDate(2024, 3, 10), QTime(9, 0)));
    ExpirePromotions(db(), clock);

    EXPECT_EQ(goodsValue(QStringLiteral("g_tjsp"), QStringLiteral("P1")), QStringLiteral("0"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_tjqx"), QStringLiteral("P1")), QStringLiteral("0"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_goods where g_sn = 'P1' and g_ks is null and g_js is null")), 1);
    EXPECT_EQ(goodsValue(QStringLiteral("g_tjsp"), QStringLiteral("P2")), QStringLiteral("1"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_js"), QStringLiteral("P2")), QStringLiteral("2024-03-10"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_tjsp"), QStringLiteral("P3")), QStringLiteral("1"));
    EXPECT_EQ(goodsValue(QStringLiteral("g_js"), QStringLiteral("P3")), QStringLiteral("2024-03-01"));
}

TEST_F(GoodsTest, EveryWarehouseHoldsOneZeroRowOfTheReservedGoods)
{
    RunSql(db(), QStringLiteral("insert into jxc_ckxx (ck_sn, ck_name) values ('100002', '分仓库')"));
    RunSql(db(), QStringLiteral("insert into jxc_kcsp (g_sn, ck_sn, kc_sl) values ('G1', '100002', 4)"));
    EnsureZeroGoodsStock(db(), QStringLiteral("2024-03"));
    EnsureZeroGoodsStock(db());
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = '00000000'")), 2);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = '00000000' and ck_sn = '100002' "
                                   "and kc_sl = 0 and kc_cbj = 0 and kc_xssl = 0 and kc_zsl = 0 and kc_zcb is null")),
              1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_kcsp where g_sn = 'G1'")), 1);
}

TEST_F(GoodsTest, ClearOperatorTempLeavesOtherOperators)
{
    for (const char *table : {"jxc_tempspxf", "jxc_tempspxf2"})
        for (const char *name : {"admin", "op2"})
            RunSql(db(), QStringLiteral("insert into %1 (g_sn, a_name) values ('G1', ?)").arg(QLatin1String(table)),
                   {QString::fromLatin1(name)});
    // A failure of the second delete leaves the first undone too.
    InjectStatementFailure(db(), 2);
    EXPECT_THROW(ClearOperatorTemp(db(), QStringLiteral("admin")), DbError);
    InjectStatementFailure(db(), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf where a_name = 'admin'")), 1);
    ClearOperatorTemp(db(), QStringLiteral("admin"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf where a_name = 'admin'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'admin'")), 0);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf where a_name = 'op2'")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_tempspxf2 where a_name = 'op2'")), 1);
}

TEST_F(GoodsTest, ImportCaptionsMapToColumns)
{
    EXPECT_EQ(GetImportFieldId(db(), QStringLiteral("商品编码"), QStringLiteral("jxc_goods")), QStringLiteral("g_sn"));
    EXPECT_EQ(GetImportFieldId(db(), QStringLiteral("备注"), QStringLiteral("jxc_khxx")), QStringLiteral("kh_note"));
    EXPECT_EQ(GetImportFieldId(db(), QStringLiteral("商品编号"), QStringLiteral("jxc_goods")), QString());
    EXPECT_EQ(GetImportFieldId(db(), QStringLiteral("x' or '1'='1"), QStringLiteral("jxc_goods")), QString());
}

TEST(PosNth, PositionOfTheNthOccurrence)
{
    const QString sql = QStringLiteral("select * from t order by id");  // "order" at 17
    ASSERT_EQ(sql.indexOf(QStringLiteral("order")) + 1, 17);
    EXPECT_EQ(PosNth(QStringLiteral("order"), sql, 4), 17);
    EXPECT_EQ(PosNth(QStringLiteral("group"), sql, 4), 0);
    EXPECT_EQ(PosNth(QStringLiteral("order"), sql, 0), 0);
    EXPECT_EQ(PosNth(QStringLiteral("order"), sql, -1), 0);
    EXPECT_EQ(PosNth(QStringLiteral("aa"), QStringLiteral("aaaa"), 5), 3);
    EXPECT_EQ(PosNth(QStringLiteral("ab"), QStringLiteral("abxab"), 2), 4);
    EXPECT_EQ(PosNth(QStringLiteral("ORDER"), sql, 1), 0);  // case counts
    EXPECT_EQ(PosNth(QString(), sql, 1), 0);
}

} // namespace
