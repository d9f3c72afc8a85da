// Auxiliary units and extra barcodes: the four modes' checks, the price rule, the move at
// the goods save and the second unit that follows the stored units.

#include "masterdata_fixture.h"

#include "masterdata/auxunitrules.h"

using Answer = Notices::Answer;

class AuxUnitTest : public MasterDataTest
{
protected:
    AuxContext staged(AuxMode mode = AuxMode::StagedNew, qint64 row = 0)
    {
        AuxContext c;
        c.mode = mode;
        c.rowId = row;
        c.operatorName = state.CurrentOperatorName;
        c.baseUnit = "瓶";
        return c;
    }
    AuxContext stored(AuxMode mode = AuxMode::StoredNew, qint64 row = 0)
    {
        AuxContext c = staged(mode, row);
        c.goodsCode = "20000001";
        c.mainBarcode = "690";
        return c;
    }
    AuxUnitInput unit(const QString &name, double factor, const QString &barcode = QString())
    {
        AuxUnitInput u;
        u.unit = name;
        u.factor = factor;
        u.barcode = barcode;
        return u;
    }
    AuxUnitRules rules() { return AuxUnitRules(db(), notices); }
};

TEST_F(AuxUnitTest, FactorScalesTheDialogsPrices)
{
    UnitPrices base;
    base.purchase = 2;
    base.sale = 2.5;
    const UnitPrices p = base.times(12);
    EXPECT_DOUBLE_EQ(p.purchase, 24);
    EXPECT_DOUBLE_EQ(p.sale, 30);
}

TEST_F(AuxUnitTest, StagedUnitsMoveWithTheGoods)
{
    AuxUnitInput box = unit("箱", 12, "6902001");
    box.prices.purchase = 24;
    box.prices.sale = 30;
    ASSERT_TRUE(rules().saveUnit(staged(), box));
    ASSERT_TRUE(rules().saveUnit(staged(), unit("盒", 6)));
    EXPECT_FALSE(rules().saveUnit(staged(), unit("瓶", 2)));
    EXPECT_EQ(notices.last(), "辅助单位不能与主单位重复！");
    EXPECT_FALSE(rules().saveUnit(staged(), unit("袋", 2, "6902001")));
    EXPECT_EQ(notices.last(), "您添加的商品条码已经存在，不能重复添加！");
    EXPECT_FALSE(rules().saveUnit(staged(), unit("盒", 2)));
    EXPECT_EQ(notices.last(), "您添加的单位已经存在，不能重复添加！");
    GoodsInput in = cola();
    in.purchasePrice = 2;
    in.salePrice = 2.5;
    ASSERT_TRUE(add(in).saved());
    EXPECT_EQ(count("jxc_goodsdw", "g_sn = '20000001'"), 2);
    EXPECT_EQ(scalar("select g_jj from jxc_goodsdw where dw_name = '箱'"), "24");
    EXPECT_EQ(scalar("select g_sj from jxc_goodsdw where dw_name = '箱'"), "30");
    EXPECT_EQ(scalar("select g_pjjj from jxc_goodsdw where dw_name = '箱'"), "24");
    EXPECT_EQ(scalar("select dw_name2 from jxc_goods where g_sn = '20000001'"), "箱");
    EXPECT_EQ(scalar("select g_zhxs from jxc_goods where g_sn = '20000001'"), "12");
}

TEST_F(AuxUnitTest, TakenBarcodesAreDroppedAtSave)
{
    rawGoods("OTHER", "别的", "1000", 0, 0, {{"g_sptm", "555"}});
    ASSERT_TRUE(rules().saveBarcode(staged(), "690", "主码"));
    ASSERT_TRUE(rules().saveBarcode(staged(), "555", "别人的"));
    ASSERT_TRUE(rules().saveBarcode(staged(), "777", "好的"));
    EXPECT_FALSE(rules().saveBarcode(staged(), "777", ""));
    GoodsInput in = cola();
    in.barcode = "690";
    ASSERT_TRUE(add(in).saved());
    EXPECT_EQ(scalar("select g_sptm from jxc_goodstm where g_sn = '20000001'"), "777");
    EXPECT_EQ(count("jxc_goodstm"), 1);
}

TEST_F(AuxUnitTest, StagedEditComparesOwnRowsOnly)
{
    LoginState wang = state;
    wang.CurrentOperatorName = "wang";
    AuxContext w = staged();
    w.operatorName = "wang";
    ASSERT_TRUE(rules().saveUnit(w, unit("箱", 12)));
    ASSERT_TRUE(rules().saveUnit(staged(), unit("盒", 6)));
    const qint64 row = scalar("select id from jxc_goodsdwtmp where a_name = 'admin'").toLongLong();
    EXPECT_TRUE(rules().saveUnit(staged(AuxMode::StagedEdit, row), unit("箱", 6)));
    EXPECT_EQ(scalar("select dw_name from jxc_goodsdwtmp where id = ?", {row}), "箱");
}

TEST_F(AuxUnitTest, StoredModesChecksAndSecondUnit)
{
    GoodsInput in = cola();
    in.barcode = "690";
    ASSERT_TRUE(add(in).saved());
    rawGoods("OTHER", "别的");
    insert("jxc_goodsdw", {{"g_sn", "OTHER"}, {"dw_name", "包"}, {"g_sptm", "888"}, {"g_zhxs", 2}});
    ASSERT_TRUE(rules().saveUnit(stored(), unit("箱", 12, "7001")));
    ASSERT_TRUE(rules().saveUnit(stored(), unit("盒", 6)));
    struct Case { AuxUnitInput input; QString text; };
    const QList<Case> cases{{unit("瓶", 2), "您添加的单位已经存在，不能重复添加！"},
                            {unit("箱", 2), "您添加的单位已经存在，不能重复添加！"},
                            {unit("袋", 2, "690"), "您添加的商品条码已经存在，不能重复添加！"},
                            {unit("袋", 2, "888"), "您添加的商品条码已经存在，不能重复添加！"},
                            {unit("袋", 0), "转换系数必须大于0！"},
                            {unit("增加新单位...", 2), "商品单位必须填写！"}};
    for (const Case &c : cases) {
        EXPECT_FALSE(rules().saveUnit(stored(), c.input));
        EXPECT_EQ(notices.last(), c.text);
    }
    const qint64 box = scalar("select id from jxc_goodsdw where dw_name = '箱'").toLongLong();
    EXPECT_TRUE(rules().saveUnit(stored(AuxMode::StoredEdit, box), unit("箱", 24, "7001")));
    EXPECT_FALSE(rules().saveBarcode(stored(), "690", ""));
    EXPECT_FALSE(rules().saveBarcode(stored(), "888", ""));
    EXPECT_FALSE(rules().saveBarcode(stored(), " ", ""));
    EXPECT_EQ(notices.last(), "商品条码不能为空！");

    EXPECT_TRUE(rules().deleteUnit(stored(), box));
    EXPECT_EQ(scalar("select dw_name2 from jxc_goods where g_sn = '20000001'"), "盒");
    EXPECT_EQ(scalar("select g_zhxs from jxc_goods where g_sn = '20000001'"), "6");
    const qint64 pack = scalar("select id from jxc_goodsdw where dw_name = '盒'").toLongLong();
    notices.script({Answer::No});
    EXPECT_FALSE(rules().deleteUnit(stored(), pack));
    EXPECT_EQ(notices.last(), "您确定要删除该辅助单位吗！");
    EXPECT_TRUE(rules().deleteUnit(stored(), pack));
    EXPECT_EQ(scalar("select dw_name2 from jxc_goods where g_sn = '20000001'"), "瓶");
    EXPECT_EQ(scalar("select g_zhxs from jxc_goods where g_sn = '20000001'"), "1");
}
