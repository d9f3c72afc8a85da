// Saving a changed goods: code lock, duplicate checks, log line, ledger renames, commission
// for the class, barcode rule inputs and the costs that postings own.

#include "masterdata_fixture.h"

#include "masterdata/goodsclassrules.h"

using Answer = Notices::Answer;

class GoodsModifyTest : public MasterDataTest
{
protected:
    void SetUp() override
    {
        MasterDataTest::SetUp();
        GoodsInput in = cola();
        in.spec = "500ml";
        ASSERT_TRUE(add(in).saved());
        id = scalar("select id from jxc_goods where g_sn = '20000001'").toLongLong();
        notices.shown.clear();
    }

    GoodsInput current()
    {
        GoodsInput in = cola();
        in.code = "20000001";
        in.spec = "500ml";
        return in;
    }
    GoodsSaveResult save(const GoodsInput &in) { return SaveModifiedGoods(db(), state, clock, notices, id, in); }

    qint64 id = 0;
};

TEST_F(GoodsModifyTest, CodeLockedByStockRowsButFreeWithout)
{
    // Made by the add dialog: its opening stock row fixes the code, and the reason says so.
    EXPECT_TRUE(GoodsCodeLocked(db(), "20000001"));
    EXPECT_EQ(GoodsCodeLockReason(db(), "20000001"), "该商品已建立库存记录（含期初库存），商品编号不能修改。");
    const qint64 free = rawGoods("F1", "自由");
    insert("jxc_goodsdw", {{"g_sn", "F1"}, {"dw_name", "箱"}, {"g_zhxs", 6}});
    insert("jxc_goodstm", {{"g_sn", "F1"}, {"g_sptm", "999"}});
    EXPECT_FALSE(GoodsCodeLocked(db(), "F1"));
    EXPECT_EQ(GoodsCodeLockReason(db(), "F1"), "");
    GoodsInput in = current();
    in.name = "自由";
    in.code = "F2";
    ASSERT_TRUE(SaveModifiedGoods(db(), state, clock, notices, free, in).saved());
    EXPECT_EQ(count("jxc_goodsdw", "g_sn = 'F2'"), 1);
    EXPECT_EQ(count("jxc_goodstm", "g_sn = 'F2'"), 1);
    in.code = "20000001";
    EXPECT_EQ(SaveModifiedGoods(db(), state, clock, notices, free, in).status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "商品编号已存在！");
}

TEST_F(GoodsModifyTest, UnchangedAsksNothing)
{
    GoodsInput in = current();
    in.nameWarning = true;
    in.barcode = "";
    ASSERT_TRUE(save(in).saved());
    EXPECT_TRUE(notices.texts().isEmpty());
}

TEST_F(GoodsModifyTest, RenameLogsAndRenamesLedger)
{
    GoodsInput in = current();
    in.name = "百事可乐";
    ASSERT_TRUE(save(in).saved());
    EXPECT_EQ(scalar("select log_note from jxc_log"),
              "修改商品，原商品信息，编号：20000001，名称：可乐，规格型号：500ml。新商品信息，编号：20000001，名称：百事可乐，规格型号：500ml。");
    EXPECT_EQ(scalar("select g_jm from jxc_goods where id = ?", {id}), "BSKL");
    EXPECT_EQ(scalar("select g_name from jxc_goodslist where g_sn = '20000001'"), "百事可乐");
    in.unit = "听";
    in.spec = "500ml~600ml";
    ASSERT_TRUE(save(in).saved());
    EXPECT_EQ(scalar("select dw_name from jxc_goodslist where g_sn = '20000001'"), "听");
    EXPECT_EQ(scalar("select gg_name from jxc_goods where id = ?", {id}), "500ml~600ml");
    EXPECT_EQ(scalar("select gg_name from jxc_goodslist where g_sn = '20000001'"), "500ml~600ml");
}

TEST_F(GoodsModifyTest, SameCommissionForTheClassOnly)
{
    const auto sub = GoodsClassRules(db(), notices).create(2);
    rawGoods("S1", "同类", "1000");
    rawGoods("S2", "子类", sub->sn, 0, 0, {{"g_tclb", 1}, {"g_tc", 3}});
    GoodsInput in = current();
    in.commissionKind = 2;
    in.commission = 5;
    in.sameCommissionForClass = true;
    ASSERT_TRUE(save(in).saved());
    EXPECT_EQ(count("jxc_goods", "gc_sn = '1000' and g_tclb = 2 and g_tc = 5"), 2);
    EXPECT_EQ(scalar("select g_tclb from jxc_goods where g_sn = 'S2'"), "1");
    EXPECT_EQ(scalar("select g_tc from jxc_goods where g_sn = 'S2'"), "3");
}

TEST_F(GoodsModifyTest, PostedCostsAreKept)
{
    GoodsInput in = current();
    in.purchasePrice = 2.8;
    ASSERT_TRUE(save(in).saved());
    EXPECT_EQ(scalar("select g_scjj from jxc_goods where id = ?", {id}), "2.8");
    EXPECT_EQ(scalar("select g_pjjj from jxc_goods where id = ?", {id}), "2.8");
    EXPECT_EQ(scalar("select g_cbj from jxc_goods where id = ?", {id}), "2.5");
    insert("jxc_goodslist", {{"g_sn", "20000001"}, {"gl_flag", "cj"}, {"gl_djh", "CJ25031410001"}});
    in.purchasePrice = 3.1;
    ASSERT_TRUE(save(in).saved());
    EXPECT_EQ(scalar("select g_jj from jxc_goods where id = ?", {id}), "3.1");
    EXPECT_EQ(scalar("select g_scjj from jxc_goods where id = ?", {id}), "2.8");
    EXPECT_EQ(scalar("select g_pjjj from jxc_goods where id = ?", {id}), "2.8");
}

TEST_F(GoodsModifyTest, FailureMidSaveWritesNothing)
{
    GoodsInput in = current();
    in.name = "百事可乐";
    DropTableIfExists(db(), "jxc_log");
    EXPECT_EQ(save(in).status, SaveStatus::Failed);
    EXPECT_EQ(scalar("select g_name from jxc_goods where id = ?", {id}), "可乐");
}
