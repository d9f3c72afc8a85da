// Saving a new goods: the written rows, the opening stock, the checks and questions by
// source, copies, and atomicity.

#include "masterdata_fixture.h"

#include "foundation/goods.h"
#include "masterdata/auxunitrules.h"
#include "masterdata/goodsclassrules.h"

using Answer = Notices::Answer;

class GoodsAddTest : public MasterDataTest
{
};

TEST_F(GoodsAddTest, SavesGoodsOpeningRowAndStock)
{
    const GoodsSaveResult r = add(cola());
    ASSERT_TRUE(r.saved()) << notices.texts().join("|").toStdString();
    EXPECT_EQ(r.code, "20000001");
    EXPECT_EQ(r.openingQty, "12");
    const QVariantMap g = GoodsRecordBySn(db(), "20000001");
    EXPECT_EQ(g["g_jm"], "KL");
    EXPECT_EQ(g["g_kc"], "12");
    EXPECT_EQ(g["g_scjj"], "2.5");
    EXPECT_EQ(g["g_cbj"], "2.5");
    EXPECT_EQ(g["g_pjjj"], "2.5");
    EXPECT_EQ(g["dw_name2"], "瓶");
    EXPECT_EQ(g["g_zhxs"], "1");
    EXPECT_EQ(g["g_dzll"], "1");
    EXPECT_EQ(g["g_lx"], "其他");
    EXPECT_EQ(g["ghs_sn"], "100001");
    EXPECT_EQ(g["gc_sn"], "1000");
    EXPECT_EQ(g["gc_cid"], "2");

    ASSERT_EQ(count("jxc_goodslist", "g_sn = '20000001'"), 1);
    QSqlQuery q = OpenSelect(db(), "select gl_flag, gl_djh, gl_kdrq, gl_sl, gl_dj, gl_zje, gl_je, gl_kczje, gl_dzl, "
                                   "ghs_name, ck_sn, u_name, a_name, gl_checker, gl_chkrq from jxc_goodslist "
                                   "where g_sn = '20000001'");
    ASSERT_TRUE(q.next());
    const QStringList expected{"qc", "", "2020-01-01", "12", "2.5", "30", "30", "30", "1",
                               "期初建账", "100001", "默认员工", "admin", "admin", "2025-03-14"};
    for (int i = 0; i < expected.size(); ++i)
        EXPECT_EQ(ValueText(q.value(i)), expected.at(i)) << i;

    EXPECT_EQ(count("jxc_kcsp"), 2);
    QSqlQuery k = OpenSelect(db(), "select kc_sl, kc_zsl, kc_cbj, kc_xssl, kc_zcb from jxc_kcsp "
                                   "where g_sn = '20000001' and ck_sn = '100001'");
    ASSERT_TRUE(k.next());
    EXPECT_EQ(ValueText(k.value(0)), "12");
    EXPECT_EQ(ValueText(k.value(1)), "12");
    EXPECT_EQ(ValueText(k.value(2)), "2.5");
    EXPECT_EQ(ValueText(k.value(3)), "0");
    EXPECT_EQ(ValueText(k.value(4)), "30");
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = '00000000' and ck_sn = '100001'"), "0");
    EXPECT_EQ(count("jxc_log"), 0);
    EXPECT_EQ(GetNewGoodsSn(db(), "2"), "20000002");
}

TEST_F(GoodsAddTest, FirstGoodsOfClassThreeStartsWithThree)
{
    const auto cls = GoodsClassRules(db(), notices).create(1);
    GoodsInput in = cola();
    in.classSn = cls->sn;
    in.classCid = cls->cid;
    in.className = cls->name;
    in.code = GetNewGoodsSnFor(cls->cid);
    EXPECT_EQ(add(in).code, "30000001");
}

TEST_F(GoodsAddTest, OpeningAmountRoundsUpAtTheHalf)
{
    struct Case { QString roundTotals; int jews; QString amount; };
    const QList<Case> cases{{"0", 2, "1.01"}, {"1", 0, "1"}, {"1", 3, "1.005"}};
    int n = 0;
    for (const Case &c : cases) {
        RunSql(db(), "update jxc_xtcs set cs_zjews = ?, cs_jews = ?", {c.roundTotals.toInt(), c.jews});
        reload();
        GoodsInput in = cola();
        in.code = QString("R%1").arg(++n);
        in.purchasePrice = 2.01;
        in.openingQty = 0.5;
        ASSERT_TRUE(add(in).saved());
        EXPECT_EQ(scalar("select gl_zje from jxc_goodslist where g_sn = ?", {in.code}), c.amount) << n;
        EXPECT_EQ(scalar("select kc_zcb from jxc_kcsp where g_sn = ?", {in.code}), c.amount) << n;
        EXPECT_EQ(scalar("select kc_cbj from jxc_kcsp where g_sn = ?", {in.code}), "2.01") << n;
    }
}

TEST_F(GoodsAddTest, AutoGoodsCodeFlag)
{
    for (const char *on : {"", "1", "True"}) {
        state.AutoGoodsCode = on;
        EXPECT_TRUE(AutoGoodsCodeOn(state)) << on;
    }
    for (const char *off : {"0", "False"}) {
        state.AutoGoodsCode = off;
        EXPECT_FALSE(AutoGoodsCodeOn(state)) << off;
    }
}

TEST_F(GoodsAddTest, RefusalsWriteNothing)
{
    add(cola());
    const int goods = count("jxc_goods");
    struct Case { std::function<void(GoodsInput &)> change; QString text; };
    const QList<Case> cases{
        {[](GoodsInput &i) { i.className.clear(); i.classSn.clear(); }, "类别名称必须填写！"},
        {[](GoodsInput &i) { i.code = "   "; }, "商品编号必须填写！"},
        {[](GoodsInput &i) { i.name = " "; }, "商品名称必须填写！"},
        {[](GoodsInput &i) { i.unit = ""; }, "商品单位必须填写！"},
        {[](GoodsInput &i) { i.unit = "增加新单位..."; }, "商品单位必须填写！"},
        {[](GoodsInput &i) { i.spec = "增加新规格型号..."; }, "商品规格型号错误，请重新填写！"},
        {[](GoodsInput &i) { i.colour = "增加新颜色..."; }, "商品颜色错误，请重新填写！"},
        {[](GoodsInput &i) { i.code = "20000001"; }, "商品编号已经存在，请重新输入！"},
        {[](GoodsInput &i) { i.openingQty = -5; }, "期初库存数量不能小于零！"},
    };
    for (const Case &c : cases) {
        GoodsInput in = cola();
        in.code = "X1";
        c.change(in);
        notices.shown.clear();
        EXPECT_EQ(add(in).status, SaveStatus::Refused);
        EXPECT_EQ(notices.texts(), QStringList{c.text});
    }
    EXPECT_EQ(count("jxc_goods"), goods);
    EXPECT_EQ(count("jxc_goodslist"), 1);
}

TEST_F(GoodsAddTest, QuestionsNoWritesNothingYesSaves)
{
    GoodsInput first = cola();
    first.barcode = "690";
    add(first);
    const QString priceQuestion = QStringLiteral("建立期初库存时，预设价格将作为商品成品价格。您确定是否继续保存？\r\n\r\n"
                                                 "点击“是”保存数据，点击“否”修改预设进价。");
    struct Case { std::function<void(GoodsInput &)> change; QString question; };
    const QList<Case> cases{
        {[](GoodsInput &i) { i.barcode = "690"; }, "商品条码已经存在，确认输入吗？"},
        {[](GoodsInput &i) { i.nameWarning = true; }, "商品名称已经存在，确认输入吗？"},
        {[](GoodsInput &i) { i.name = "雪碧"; i.purchasePrice = 0; i.openingQty = 5; }, priceQuestion},
    };
    int n = 0;
    for (const Case &c : cases) {
        GoodsInput in = cola();
        in.code = QString("Q%1").arg(++n);
        c.change(in);
        notices.shown.clear();
        notices.script({Answer::No});
        const GoodsSaveResult no = add(in);
        EXPECT_EQ(no.status, SaveStatus::Declined);
        EXPECT_EQ(notices.texts(), QStringList{c.question});
        EXPECT_EQ(count("jxc_goods", "g_sn = ?", {in.code}), 0);
        if (c.question == priceQuestion)
            EXPECT_EQ(no.focus, "purchasePrice");
        notices.script({Answer::Yes});
        EXPECT_TRUE(add(in).saved());
    }
}

TEST_F(GoodsAddTest, SalesSourceOpeningChecks)
{
    GoodsInput in = cola();
    in.openingQty = 0;
    in.purchasePrice = 0;
    setParam("cs_kc", 0);
    EXPECT_EQ(add(in, "spxs").status, SaveStatus::Refused);
    EXPECT_EQ(notices.last(), "期初库存数量必须大于零！");
    setParam("cs_kc", 1);
    notices.shown.clear();
    notices.script({Answer::Yes, Answer::Yes});
    const GoodsSaveResult r = add(in, "spxs");
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(notices.texts(), QStringList({"库存为零，销售后将产生负库存，继续销售吗?", "预设进价、预设售价应该大于零，确认保存吗？"}));
    EXPECT_EQ(r.openingQty, "0");

    // Below zero: the sales window's own refusal without negative stock, ours with it (no
    // question first), and from every other source.
    in.code = "S2";
    in.openingQty = -5;
    setParam("cs_kc", 0);
    notices.shown.clear();
    EXPECT_EQ(add(in, "spxs").status, SaveStatus::Refused);
    EXPECT_EQ(notices.texts(), QStringList{"期初库存数量必须大于零！"});
    for (const char *source : {"spxs", "spxxgl", "cgjhsh"}) {
        setParam("cs_kc", 1);
        notices.shown.clear();
        const GoodsSaveResult refused = add(in, source);
        EXPECT_EQ(refused.status, SaveStatus::Refused) << source;
        EXPECT_EQ(refused.focus, "openingQty") << source;
        EXPECT_EQ(notices.texts(), QStringList{"期初库存数量不能小于零！"}) << source;
    }
    EXPECT_EQ(count("jxc_goods", "g_sn = 'S2'"), 0);
}

TEST_F(GoodsAddTest, GoodsWindowSourceWithZeroOpeningStillWritesStock)
{
    GoodsInput in = cola();
    in.openingQty = 0;
    ASSERT_TRUE(add(in).saved());
    EXPECT_EQ(count("jxc_goodslist", "gl_flag = 'qc'"), 1);
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {in.code}), "0");
}

TEST_F(GoodsAddTest, PurchaseEntrySourceIgnoresOpening)
{
    GoodsInput in = cola();
    const GoodsSaveResult r = add(in, "cgjh");
    EXPECT_EQ(r.openingQty, "0");
    EXPECT_EQ(scalar("select g_kc from jxc_goods where g_sn = ?", {in.code}), "0");
    in.code = "P2";
    in.openingQty = 3;
    EXPECT_EQ(add(in, "cgjhsh").openingQty, "3");
}

TEST_F(GoodsAddTest, DatabaseErrorMidWriteLeavesNothing)
{
    AuxUnitRules aux(db(), notices);
    AuxContext ctx;
    ctx.operatorName = "admin";
    ctx.baseUnit = "瓶";
    AuxUnitInput unit;
    unit.unit = "箱";
    unit.factor = 12;
    ASSERT_TRUE(aux.saveUnit(ctx, unit));
    ASSERT_TRUE(aux.saveBarcode(ctx, "7001", ""));
    DropTableIfExists(db(), "jxc_kcsp");
    const GoodsSaveResult r = add(cola());
    EXPECT_EQ(r.status, SaveStatus::Failed);
    EXPECT_TRUE(notices.last().startsWith("保存商品信息失败：")) << notices.last().toStdString();
    EXPECT_EQ(count("jxc_goods"), 1);
    EXPECT_EQ(count("jxc_goodsdw"), 0);
    EXPECT_EQ(count("jxc_goodstm"), 0);
    EXPECT_EQ(count("jxc_goodslist"), 0);
}

TEST_F(GoodsAddTest, CopyTakesTheListedFieldsAndANewCode)
{
    GoodsInput in = cola();
    in.spec = "500ml";
    in.colour = "白";
    in.minStock = 4;
    in.maker = "厂";
    in.note = "注";
    in.levelPrices[0] = 9;
    in.retailPrice = 8;
    in.barcode = "690";
    in.shelf = "默认货架";
    in.gift = true;
    in.commissionKind = 1;
    in.commission = 2;
    add(in);
    state.AutoGoodsCode = "0";
    const qint64 id = scalar("select id from jxc_goods where g_sn = '20000001'").toLongLong();
    const GoodsInput copy = GoodsCopyInput(db(), id);
    EXPECT_EQ(copy.code, "20000002");
    EXPECT_EQ(copy.classSn, "1000");
    EXPECT_EQ(copy.className, "默认类别");
    EXPECT_EQ(copy.name, "可乐");
    EXPECT_EQ(copy.unit, "瓶");
    EXPECT_EQ(copy.spec, "500ml");
    EXPECT_EQ(copy.colour, "白");
    EXPECT_EQ(copy.minStock, 4);
    EXPECT_EQ(copy.purchasePrice, 2.5);
    EXPECT_EQ(copy.salePrice, 3.5);
    EXPECT_EQ(copy.maker, "厂");
    EXPECT_EQ(copy.note, "注");
    EXPECT_EQ(copy.levelPrices[0], 0);
    EXPECT_EQ(copy.retailPrice, 0);
    EXPECT_TRUE(copy.barcode.isEmpty());
    EXPECT_TRUE(copy.shelf.isEmpty());
    EXPECT_FALSE(copy.gift);
    EXPECT_EQ(copy.commissionKind, 0);
}
