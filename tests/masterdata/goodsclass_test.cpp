// The class tree's rules: codes and keys of new classes, the depth limit, rename, delete.

#include "masterdata_fixture.h"

#include "masterdata/goodsclassrules.h"

using Answer = Notices::Answer;

class GoodsClassTest : public MasterDataTest
{
protected:
    GoodsClassRules rules() { return GoodsClassRules(db(), notices); }
    int keyOf(const QString &sn) { return scalar("select gc_key from jxc_goodsclass where gc_sn = ?", {sn}).toInt(); }
};

TEST_F(GoodsClassTest, CreateUnderRootGivesKeyCodeAndShortCode)
{
    const auto row = rules().create(1);
    ASSERT_TRUE(row.has_value());
    EXPECT_EQ(row->key, 3);
    EXPECT_EQ(row->parent, 1);
    EXPECT_EQ(row->cid, 3);
    EXPECT_EQ(row->sn, "1001");
    EXPECT_EQ(row->name, "新类别");
    EXPECT_EQ(row->jm, "XLB");
}

TEST_F(GoodsClassTest, CodesGrowThreeDigitsPerLevelUntilSixteen)
{
    auto r = rules();
    EXPECT_EQ(r.create(2)->sn, "1000100");
    EXPECT_EQ(r.create(2)->sn, "1000101");
    const auto l3 = r.create(keyOf("1000100"));
    EXPECT_EQ(l3->sn, "1000100100");
    const auto l4 = r.create(l3->key);
    EXPECT_EQ(l4->sn, "1000100100100");
    const auto l5 = r.create(l4->key);
    ASSERT_TRUE(l5.has_value());
    EXPECT_EQ(l5->sn, "1000100100100100");
    const int before = count("jxc_goodsclass");
    EXPECT_FALSE(r.create(l5->key).has_value());
    EXPECT_EQ(notices.last(), "该类别层数已到底层，不能添加下级类别！");
    EXPECT_EQ(count("jxc_goodsclass"), before);
}

TEST_F(GoodsClassTest, KeyTwentyIsNeverKept)
{
    auto r = rules();
    QList<int> keys;
    std::optional<GoodsClassRow> last;
    for (int i = 0; i < 18; ++i) {
        last = r.create(1);
        keys << last->key;
    }
    EXPECT_FALSE(keys.contains(20));
    EXPECT_EQ(keys.first(), 3);
    EXPECT_EQ(keys.at(16), 19);
    EXPECT_EQ(last->key, 21);
    EXPECT_EQ(last->cid, 21);
    EXPECT_EQ(last->sn, "1018");
}

TEST_F(GoodsClassTest, RenameSetsShortCodeAndEmptyKeepsOld)
{
    const auto row = rules().create(1);
    EXPECT_TRUE(rules().rename(row->key, "饮料"));
    EXPECT_EQ(scalar("select gc_jm from jxc_goodsclass where gc_key = ?", {row->key}), "YL");
    EXPECT_FALSE(rules().rename(row->key, "   "));
    EXPECT_EQ(scalar("select gc_name from jxc_goodsclass where gc_key = ?", {row->key}), "饮料");
}

TEST_F(GoodsClassTest, DeleteRefusalsInOrder)
{
    auto r = rules();
    EXPECT_FALSE(r.remove(1));
    EXPECT_FALSE(r.remove(2));
    const auto a = r.create(1);
    const auto sub = r.create(a->key);
    rawGoods("G1", "商品", sub->sn);
    EXPECT_FALSE(r.remove(a->key));
    EXPECT_EQ(notices.texts(), QStringList({"该类别是系统内置类别，不能删除！", "该类别是系统内置类别，不能删除！",
                                            "该类别下有商品信息，不能删除！"}));
}

TEST_F(GoodsClassTest, DeleteAsksAndRemovesSubClasses)
{
    auto r = rules();
    const auto a = r.create(1);
    const auto sub = r.create(a->key);
    notices.script({Answer::No});
    EXPECT_FALSE(r.remove(a->key));
    EXPECT_EQ(notices.last(), "您确定要删除当前类别吗?");
    EXPECT_EQ(count("jxc_goodsclass"), 4);
    notices.script({Answer::Yes});
    EXPECT_TRUE(r.remove(a->key));
    EXPECT_EQ(count("jxc_goodsclass"), 2);
    EXPECT_EQ(count("jxc_goodsclass", "gc_key = ?", {sub->key}), 0);
}

TEST_F(GoodsClassTest, SearchWhileTypingSkipsRootButtonMayFindIt)
{
    const auto a = rules().create(1);
    rules().rename(a->key, "饮料");
    EXPECT_EQ(rules().search("y", true), "饮料");
    EXPECT_EQ(rules().search("默认", true), "默认类别");
    EXPECT_EQ(rules().search("SY", true), "");
    EXPECT_EQ(rules().search("sy", false), "所有类别");
}
