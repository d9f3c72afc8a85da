// The four look-up lists: codes, sanitised names, combo items, deletes.

#include "masterdata_fixture.h"

#include "masterdata/lookuplistrules.h"

class LookupListTest : public MasterDataTest
{
protected:
    LookupListRules rules(LookupKind k) { return LookupListRules(db(), notices, k); }
};

TEST_F(LookupListTest, AddTrimsNumbersAndRefillsUnitsNewestFirst)
{
    EXPECT_EQ(rules(LookupKind::Unit).add(" 支 "), "100006");
    EXPECT_EQ(scalar("select dw_name from jxc_dw where dw_sn = '100006'"), "支");
    EXPECT_EQ(rules(LookupKind::Unit).comboItems(),
              QStringList({"增加新单位...", "支", "瓶", "箱", "袋", "盒", "张"}));
    rules(LookupKind::Spec).add("500ml(大)");
    EXPECT_EQ(scalar("select gg_name from jxc_ggxh order by id desc limit 1"), "500ml（大）");
    rules(LookupKind::Colour).add("白");
    EXPECT_EQ(count("jxc_color", "color_name = '白'"), 2);
}

TEST_F(LookupListTest, EmptyNamesShowTheMembersMessage)
{
    for (LookupKind k : LookupKinds()) {
        EXPECT_TRUE(rules(k).add("  ").isEmpty());
        EXPECT_EQ(notices.last(), QString::fromUtf8(LookupMemberOf(k).emptyMessage));
    }
}

TEST_F(LookupListTest, DefaultShelfStaysAndUnitDeleteLeavesGoods)
{
    const qint64 shelf = scalar("select id from jxc_hjxx where hj_sn = '100001'").toLongLong();
    EXPECT_FALSE(rules(LookupKind::Shelf).remove(shelf));
    EXPECT_EQ(notices.last(), "默认库位不能删除！");
    rawGoods("G1", "可乐");
    const qint64 bottle = scalar("select id from jxc_dw where dw_name = '瓶'").toLongLong();
    EXPECT_TRUE(rules(LookupKind::Unit).remove(bottle));
    EXPECT_EQ(notices.last(), "您确定要删除该单位信息吗！");
    EXPECT_EQ(scalar("select dw_name from jxc_goods where g_sn = 'G1'"), "瓶");
    EXPECT_EQ(rules(LookupKind::Shelf).comboItems(), QStringList{"默认货架"});
}
