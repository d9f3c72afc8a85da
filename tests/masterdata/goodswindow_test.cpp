// The goods window's rules: the list statement and its stock total, search, second-unit
// stock, sort, delete with its refusals, disable, fixed cost, change of class, labels.

#include "masterdata_fixture.h"

#include "foundation/db/dialect.h"
#include "masterdata/goodsclassrules.h"
#include "masterdata/goodslistquery.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using Answer = Notices::Answer;

class GoodsWindowTest : public MasterDataTest
{
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        GoodsClassRules r(db(), notices);
        classA = *r.create(1);    // "1001", key 3
        sub = *r.create(classA.key);  // "1001100", key 4
        rawGoods("30000001", "可乐", classA.sn, 12, 0, {{"g_jm", "KL"}});
        rawGoods("30000002", "百事可乐", sub.sn, 5, 0, {{"g_jm", "BSKL"}});
        rawGoods("20000001", "雪碧", "1000", 7, 0, {{"g_jm", "XB"}});
        rawGoods("20000002", "冰红茶", "1000", 4, 1, {{"g_jm", "BHC"}});
    }

    QStringList names(const GoodsListOptions &o, const QString &order = QString())
    {
        const ListStatement s = GoodsListStatement(db(), state, o, order);
        QSqlQuery q = OpenSelect(db(), s.body + " order by " + s.order, s.binds);
        QStringList out;
        while (q.next())
            out << q.value(q.record().indexOf("g_name")).toString();
        return out;
    }

    GoodsClassRow classA, sub;
};

TEST_F(GoodsWindowTest, ListAndStockTotalByClass)
{
    EXPECT_EQ(names({}), QStringList({"雪碧", "可乐", "百事可乐"}));
    EXPECT_EQ(GoodsStockTotal(db(), "", ""), "24");
    GoodsListOptions all;
    all.showDisabled = true;
    const QStringList withDisabled = names(all);
    EXPECT_EQ(withDisabled.size(), 5);
    EXPECT_TRUE(withDisabled.contains("优惠商品"));
    const ListStatement s = GoodsListStatement(db(), state, all);
    EXPECT_EQ(QueryScalar(db(), "select gc_name from (" + s.body + ") x where g_sn = '00000000'", s.binds), "所有类别");
    GoodsListOptions a;
    a.byClass = true;
    a.classCode = classA.sn;
    EXPECT_EQ(names(a).size(), 2);
    EXPECT_EQ(GoodsStockTotal(db(), "", classA.sn), "17");
}

TEST_F(GoodsWindowTest, SearchOverSixColumnsIgnoresLetterCase)
{
    rawGoods("40000001", "pepsi", "1000", 0, 0, {{"g_jm", "PEPSI"}, {"g_sptm", "x"}});
    struct Case { QString text; QStringList found; };
    const QList<Case> cases{{"kl", {"可乐", "百事可乐"}}, {"雪", {"雪碧"}}, {"3000", {"可乐", "百事可乐"}},
                            {"30000001", {"可乐"}}, {"PEPSI", {"pepsi"}}, {"Pepsi", {"pepsi"}}, {"50%", {}}};
    for (const Case &c : cases) {
        GoodsListOptions o;
        o.search = c.text;
        EXPECT_EQ(names(o), c.found) << c.text.toStdString();
    }
    EXPECT_EQ(GoodsStockTotal(db(), "kl", ""), "17");
}

TEST_F(GoodsWindowTest, SecondUnitStockRoundedAndEmptyWithoutFactor)
{
    rawGoods("50000001", "箱装", "1000", 25, 0, {{"g_zhxs", 12}});
    rawGoods("50000002", "无系数", "1000", 3, 0, {{"g_zhxs", 0}});
    const ListStatement s = GoodsListStatement(db(), state, {});
    EXPECT_EQ(QueryScalar(db(), "select fzkc from (" + s.body + ") x where g_sn = '50000001'", s.binds), "2.08");
    EXPECT_EQ(QueryScalar(db(), "select fzkc from (" + s.body + ") x where g_sn = '50000002'", s.binds), "");
}

TEST_F(GoodsWindowTest, SortOrders)
{
    EXPECT_EQ(names({}, GoodsListOrder("g_name", true)).size(), 3);
    EXPECT_EQ(GoodsListOrder("fzkc", false), "(a.g_kc*1.0)/NULLIF(a.g_zhxs,0)");
    EXPECT_EQ(GoodsListOrder("g_name", true), "a.g_name desc");
}

TEST_F(GoodsWindowTest, DeleteRefusalsNameTheDocument)
{
    const qint64 reserved = scalar("select id from jxc_goods where g_sn = '00000000'").toLongLong();
    EXPECT_FALSE(DeleteGoods(db(), notices, reserved, QString()));
    EXPECT_EQ(notices.last(), "该商品为系统内置商品，不能删除！");

    struct Case { QString table; QVariantMap extra; QString number; };
    const QList<Case> cases{
        {"jxc_jhsp", {}, "CJ25031410001"},
        {"jxc_lsxssp", {}, "XS25031410001"},
        {"jxc_goodslist", {{"gl_flag", "cj"}}, "CJ25031410002"},
        {"jxc_thsp", {}, "CT25031410001"},
        {"jxc_cgsp", {}, "CD25031410001"},
    };
    int n = 0;
    for (const Case &c : cases) {
        const QString code = QString("D%1").arg(++n);
        const qint64 id = rawGoods(code, "删" + code);
        QVariantMap v = c.extra;
        v["g_sn"] = code;
        v["gl_djh"] = c.number;
        insert(c.table, v);
        EXPECT_FALSE(DeleteGoods(db(), notices, id, QString()));
        EXPECT_EQ(notices.last(), "该商品已发生过业务，单据号：" + c.number + " 不能删除！") << c.table.toStdString();
        EXPECT_EQ(count("jxc_goods", "id = ?", {id}), 1);
    }
    const qint64 kit = rawGoods("K1", "套装");
    insert("jxc_plxx", {{"g_sn", "K0"}, {"pl_gsn", "K1"}, {"pl_sl", 1}});
    EXPECT_FALSE(DeleteGoods(db(), notices, kit, QString()));
    EXPECT_EQ(notices.last(), "该商品已用于产品配料，不能删除！");
}

TEST_F(GoodsWindowTest, LineTablesCoverDocumentsOfEveryKind)
{
    const QStringList t = GoodsLineTables();
    for (const char *table : {"jxc_thsp", "jxc_cgsp", "jxc_xssp", "jxc_posxssp", "jxc_dbsp", "jxc_scrksp", "jxc_bmlysp"})
        EXPECT_TRUE(t.contains(table)) << table;
    EXPECT_FALSE(t.contains("jxc_goodslist"));
}

TEST_F(GoodsWindowTest, DeleteRemovesEveryRowAndThePicture)
{
    GoodsInput in = cola();
    in.code = "60000001";
    ASSERT_TRUE(add(in).saved());
    insert("jxc_goodsdw", {{"g_sn", in.code}, {"dw_name", "箱"}, {"g_zhxs", 12}});
    insert("jxc_goodstm", {{"g_sn", in.code}, {"g_sptm", "777"}});
    QTemporaryDir dir;
    QFile pic(QDir(dir.path()).filePath(in.code + ".jpg"));
    ASSERT_TRUE(pic.open(QIODevice::WriteOnly));
    pic.close();
    const qint64 id = scalar("select id from jxc_goods where g_sn = ?", {in.code}).toLongLong();
    notices.script({Answer::No});
    EXPECT_FALSE(DeleteGoods(db(), notices, id, dir.path()));
    EXPECT_EQ(notices.last(), "您确定要删除该商品信息吗！");
    EXPECT_TRUE(pic.exists());
    EXPECT_TRUE(DeleteGoods(db(), notices, id, dir.path()));
    for (const char *t : {"jxc_goods", "jxc_goodstm", "jxc_goodsdw", "jxc_goodslist", "jxc_kcsp"})
        EXPECT_EQ(count(t, "g_sn = ?", {in.code}), 0) << t;
    EXPECT_FALSE(pic.exists());
    EXPECT_EQ(count("jxc_log"), 0);
}

TEST_F(GoodsWindowTest, DisableToggleAndReservedGoodsStaysDisabled)
{
    const qint64 cola = scalar("select id from jxc_goods where g_sn = '30000001'").toLongLong();
    const qint64 tea = scalar("select id from jxc_goods where g_sn = '20000002'").toLongLong();
    const qint64 reserved = scalar("select id from jxc_goods where g_sn = '00000000'").toLongLong();
    SetGoodsDisabled(db(), notices, cola, true);
    EXPECT_EQ(scalar("select g_jy from jxc_goods where id = ?", {cola}), "1");
    SetGoodsDisabled(db(), notices, reserved, false);
    EXPECT_EQ(scalar("select g_jy from jxc_goods where id = ?", {reserved}), "1");
    SetGoodsDisabled(db(), notices, cola, false);
    notices.script({Answer::Yes});
    EXPECT_TRUE(ToggleGoodsDisabled(db(), notices, {cola, tea}));
    EXPECT_EQ(notices.last(), "您的操作将禁用选中的所有商品，\r\n已禁用的商品将会解除禁用。\r\n确认吗？");
    EXPECT_EQ(scalar("select g_jy from jxc_goods where id = ?", {cola}), "1");
    EXPECT_EQ(scalar("select g_jy from jxc_goods where id = ?", {tea}), "0");
}

TEST_F(GoodsWindowTest, FixedCostReportsCount)
{
    const QList<qint64> ids{scalar("select id from jxc_goods where g_sn = '30000001'").toLongLong(),
                            scalar("select id from jxc_goods where g_sn = '30000002'").toLongLong(),
                            scalar("select id from jxc_goods where g_sn = '20000001'").toLongLong()};
    notices.script({Answer::No});
    EXPECT_FALSE(SetGoodsFixedCost(db(), notices, ids, true));
    EXPECT_EQ(count("jxc_goods", "g_gdcbj = 1"), 0);
    EXPECT_TRUE(SetGoodsFixedCost(db(), notices, ids, true));
    EXPECT_EQ(count("jxc_goods", "g_gdcbj = 1"), 3);
    EXPECT_EQ(notices.last(), "成功设置：3  个商品预设进价作为销售成本价。");
}

TEST_F(GoodsWindowTest, ChangeOfClassKeepsCodes)
{
    const QList<qint64> ids{scalar("select id from jxc_goods where g_sn = '20000001'").toLongLong(),
                            scalar("select id from jxc_goods where g_sn = '20000002'").toLongLong()};
    EXPECT_TRUE(ChangeGoodsClass(db(), notices, ids, "1001"));
    EXPECT_EQ(count("jxc_goods", "gc_sn = '1001' and gc_cid = 3 and g_sn like '2000000%'"), 2);
}

TEST_F(GoodsWindowTest, AllLabelsOfAClassLeaveSubClassesOut)
{
    const ListStatement s = AllLabelStatement(db(), state, "", classA.sn, false);
    QSqlQuery q = OpenSelect(db(), s.body + " order by " + s.order, s.binds);
    QStringList codes;
    while (q.next())
        codes << q.value(q.record().indexOf("g_sn")).toString();
    EXPECT_EQ(codes, QStringList{"30000001"});
    const ListStatement sel = SelectedLabelStatement(state, {});
    EXPECT_FALSE(OpenSelect(db(), sel.body, sel.binds).next());
}
