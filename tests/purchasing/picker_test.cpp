// The rules of the purchase goods pickers: the goods list of each filter and variant, its sort
// expressions, adding without the dialog, the basket commands and 确定.

#include "purchase_fixture.h"

#include "foundation/basket.h"
#include "purchasing/goodspicker.h"

namespace {

// A set holding only the goods A–E (and the reserved one), a second warehouse and:
// A (g_cgpl 5, an audited receipt of 100001 into 100001, stock 5 there), B (g_cgpl 3, an audited
// receipt into 100002, stock 4 only there), C (stock 2 in 100001, no receipt), D (nothing),
// E disabled; a pending receipt of D.
class PickerRulesTest : public PurchaseRulesTest
{
protected:
    void SetUp() override
    {
        PurchaseRulesTest::SetUp();
        RunSql(db(), "delete from jxc_goods where g_sn <> '00000000'");
        RunSql(db(), "delete from jxc_goodsdw");
        insert("jxc_ckxx", {{"ck_sn", "100002"}, {"ck_name", "二号仓"}});
        AddGoods(db(), "A", "可乐", 1, "61", {{"g_cgpl", 5}, {"g_kc", 5.0}, {"g_jm", "KL"}});
        AddGoods(db(), "B", "雪碧", 2, "62", {{"g_cgpl", 3}, {"g_kc", 4.0}});
        AddGoods(db(), "C", "芬达", 3, "63", {{"g_kc", 2.0}});
        AddGoods(db(), "D", "橙汁", 4, "64");
        AddGoods(db(), "E", "停售", 5, "65", {{"g_jy", 1}});
        savedReceipt("CJ25030110001", {{"A", {5, 1}}}, 1);
        savedReceipt("CJ25030110002", {{"B", {4, 2}}}, 1, {{"ck_sn", "100002"}});
        savedReceipt("CJ25031310002", {{"D", {1, 4}}}, 0);
        insert("jxc_kcsp", {{"g_sn", "A"}, {"ck_sn", "100001"}, {"kc_sl", 5.0}});
        insert("jxc_kcsp", {{"g_sn", "B"}, {"ck_sn", "100002"}, {"kc_sl", 4.0}});
        insert("jxc_kcsp", {{"g_sn", "C"}, {"ck_sn", "100001"}, {"kc_sl", 2.0}});
    }
    QString listed(PurchaseKind kind, bool warehouse, bool supplier, const QString &supplierSn = QStringLiteral("100001"),
                   const QString &sort = QString())
    {
        PickerFilters f;
        f.warehouse = warehouse;
        f.supplier = supplier;
        const ListStatement st = PickerGoodsStatement(db(), state, kind, "100001", supplierSn, f);
        const QString order = sort.isEmpty() ? st.order : PickerSortExpression(state, kind, f, sort) + " desc";
        return rows("select a.g_sn, kc_sl from (" + st.body + " order by " + order + ") a", st.binds);
    }
};

TEST_F(PickerRulesTest, ReceiptListsByItsTwoBoxes)
{
    EXPECT_EQ(listed(PurchaseKind::Receipt, false, false), "A|5; B|4; C|2; D|0");
    EXPECT_EQ(listed(PurchaseKind::Receipt, true, false), "A|5; C|2");
    EXPECT_EQ(listed(PurchaseKind::Receipt, false, true), "A|5; B|4");
    EXPECT_EQ(listed(PurchaseKind::Receipt, true, true), "A|5");
    state.BindOperatorWarehouse = "1";
    EXPECT_EQ(listed(PurchaseKind::Receipt, true, false), "A|5; B|; C|2; D|");
    // The order picker reads the orders: none yet.
    state.BindOperatorWarehouse = "0";
    EXPECT_EQ(listed(PurchaseKind::Order, false, true), "");
}

TEST_F(PickerRulesTest, ReturnListsBySupplierLimitAndNegativeStock)
{
    struct Case
    {
        const char *limit, *negative, *expected;
    };
    const Case cases[] = {
        {"1", "1", "A|5; B|0"}, {"1", "0", "A|5"}, {"", "0", "A|5"},
        {"0", "1", "A|5; B|0; C|2; D|0"}, {"0", "0", "A|5; C|2"},
    };
    for (const Case &c : cases) {
        state.ReturnOnlySuppliedGoods = c.limit;
        state.AllowNegativeStock = c.negative;
        EXPECT_EQ(listed(PurchaseKind::Return, false, false), c.expected) << c.limit << "/" << c.negative;
    }
    state.ReturnOnlySuppliedGoods = "1";
    EXPECT_EQ(listed(PurchaseKind::Return, false, false, QString()), "");
}

TEST_F(PickerRulesTest, EachModeSortsTheStockByItsOwnExpression)
{
    EXPECT_EQ(listed(PurchaseKind::Receipt, false, false, "100001", "kc_sl"), "A|5; B|4; C|2; D|0");
    EXPECT_EQ(listed(PurchaseKind::Receipt, true, false, "100001", "kc_sl"), "A|5; C|2");
    EXPECT_EQ(listed(PurchaseKind::Receipt, false, true, "100001", "kc_sl"), "A|5; B|4");
    EXPECT_EQ(listed(PurchaseKind::Receipt, false, false, "100001", "g_sn"), "D|0; C|2; B|4; A|5");
    PickerFilters all;
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Receipt, all, "kc_sl"), "g_kc");
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Receipt, all, "g_name"), "g_name");
    PickerFilters warehouse{true, false, {}};
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Receipt, warehouse, "kc_sl"), "b.kc_sl");
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Receipt, warehouse, "g_name"), "a.g_name");
    PickerFilters supplier{false, true, {}};
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Order, supplier, "kc_sl"), "a.g_kc");
    state.AllowNegativeStock = "1";
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Return, all, "kc_sl"), "b.kc_sl");
    state.AllowNegativeStock = "0";
    EXPECT_EQ(PickerSortExpression(state, PurchaseKind::Return, all, "kc_sl"), "d.kc_sl");
    state.ReturnOnlySuppliedGoods = "0";
    EXPECT_EQ(listed(PurchaseKind::Return, false, false, "100001", "kc_sl"), "A|5; C|2");
}

TEST_F(PickerRulesTest, DirectAddsAskOncePerBatchAndUseTheDefaultQuantity)
{
    GoodsPickerRules rules(db(), state, notices, PurchaseKind::Receipt);
    DocumentContext c = entry();
    RunSql(db(), "update jxc_goods set g_jj = 1.005");
    EXPECT_EQ(rules.addDirect(c, {{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}}, 2), 4);
    EXPECT_EQ(rows("select g_sn, ts_dj, ts_taxdj, ts_sl, ts_zsl, ts_je, ts_zje, ts_tax, ts_dzl from jxc_tempspxf2 order by id"),
              "A|1.01|1.01|2|2|2.02|2.02|0|1; B|1.01|1.01|2|2|2.02|2.02|0|1; C|1.01|1.01|2|2|2.02|2.02|0|1; "
              "D|1.01|1.01|2|2|2.02|2.02|0|1");
    EXPECT_TRUE(notices.shown.isEmpty());

    EXPECT_EQ(rules.addDirect(c, {{"A", ""}, {"B", ""}}, 0), -1);
    EXPECT_EQ(notices.texts(), QStringList{"默认添加数量必须大于0！"});

    // Two of five on the document already: one question; No adds three, Yes five.
    for (const auto &[answer, added] : {std::pair{Notices::Answer::No, 3}, std::pair{Notices::Answer::Yes, 5}}) {
        rules.open();
        notices.shown.clear();
        draftLine(kFirstNumber, "A", 1, 1, "wang");
        draftLine(kFirstNumber, "C", 1, 1);
        AddGoods(db(), "F", "雪梨", 1);
        notices.script({answer});
        EXPECT_EQ(rules.addDirect(c, {{"A", ""}, {"B", ""}, {"C", ""}, {"D", ""}, {"F", ""}}, 1), added);
        EXPECT_EQ(notices.texts(), QStringList{"该商品已添加，需要重复添加吗？"});
        RunSql(db(), "delete from jxc_jhsp where gl_djh = ?", {kFirstNumber});
        RunSql(db(), "delete from jxc_goods where g_sn = 'F'");
    }
    // One goods in the basket already: the dialog's question; No opens nothing.
    rules.open();
    rules.addDirect(c, {{"B", ""}}, 1);
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_FALSE(rules.mayAddOne(c, "B"));
    EXPECT_TRUE(rules.mayAddOne(c, "C"));
    EXPECT_EQ(notices.shown.size(), 1);
}

TEST_F(PickerRulesTest, ReturnDirectAddsTestTheStockOncePerBatch)
{
    GoodsPickerRules rules(db(), state, notices, PurchaseKind::Return);
    DocumentContext c = entry(PurchaseKind::Return);
    const QList<PickedGoods> batch{{"A", "5"}, {"B", "0.5"}, {"C", "2"}, {"D", "0.5"}};
    EXPECT_EQ(rules.addDirect(c, batch, 0), 2);
    EXPECT_EQ(notices.texts(), QStringList{"库存数量小于退货数量，不能退货！"});
    EXPECT_EQ(rows("select g_sn, ts_sl, ts_zje, gl_djh2, idck from jxc_tempspxf2 order by id"), "A|1|1||0; C|1|3||0");
    rules.open();
    notices.shown.clear();
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(rules.addDirect(c, batch, 0), 4);
    EXPECT_EQ(notices.shown.size(), 1);
}

TEST_F(PickerRulesTest, ConfirmCopiesTheBasketInOrderOntoTheEntryOrPendingDocument)
{
    GoodsPickerRules rules(db(), state, notices, PurchaseKind::Receipt);
    DocumentContext c = entry();
    rules.addDirect(c, {{"A", ""}, {"B", ""}}, 3);
    Basket basket(db(), PurchaseDocType(PurchaseKind::Receipt), state);
    basket.addRow({{"g_sn", ""}, {"ts_sl", 1.0}});
    basket.addRow({{"g_sn", "C"}, {"ts_sl", 2.0}, {"ts_dzl", 0.0}, {"ts_zje", 6.0}, {"ts_note", "赠品"}});
    const qint64 first = scalar("select min(id) from jxc_tempspxf2").toLongLong();
    ASSERT_TRUE(rules.editCell(first, LineCell::Price, "4"));
    RunSql(db(), "delete from jxc_jhsp where gl_djh = ?", {kFirstNumber});
    const PurchaseResult r = rules.confirm(c);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(rows("select g_sn, jh_dj, jh_sl, jh_zje, jh_rksl, jh_dzl, jh_bz, a_name from jxc_jhsp where gl_djh = ? "
                   "order by id",
                   {kFirstNumber}),
              "A|4|3|12|3|1||admin; B|2|3|6|3|1||admin; C||2|6|2|0|赠品|admin");
    EXPECT_EQ(scalar("select count(*) from jxc_tempspxf2"), "0");
    EXPECT_EQ(linesChanged, 1);

    // Separate stock-in; and another operator holding the number moves the copy to a new one.
    state.SeparateStockIn = "1";
    draftLine("CJ25031410002", "D", 1, 1, "wang");
    c.number = "CJ25031410002";
    rules.addDirect(c, {{"A", ""}}, 1);
    EXPECT_EQ(rules.confirm(c).number, "CJ25031410003");
    EXPECT_EQ(rows("select jh_rksl from jxc_jhsp where gl_djh = 'CJ25031410003'"), "0");

    // The order's copy takes the quantity as received quantity.
    GoodsPickerRules order(db(), state, notices, PurchaseKind::Order);
    DocumentContext oc = entry(PurchaseKind::Order);
    order.addDirect(oc, {{"A", ""}}, 2);
    order.confirm(oc);
    EXPECT_EQ(rows("select gl_djh, jh_rksl from jxc_cgsp"), "CD25031410001|2");

    // The pending page: under the pending number, no test, the header re-summed with its paid
    // amount kept (settled to payables, PurchasePaidDefault on).
    state.PurchasePaidDefault = "1";
    savedReceipt(kFirstNumber, {{"A", {1, 20}}});
    RunSql(db(), "update jxc_jhd set j_sfje = 1 where gl_djh = ?", {kFirstNumber});
    DocumentContext p = pending(kFirstNumber);
    draftLine(kFirstNumber, "D", 1, 1, "wang");
    rules.addDirect(p, {{"B", ""}}, 1);
    ASSERT_TRUE(rules.confirm(p).done());
    EXPECT_EQ(p.number, kFirstNumber);
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd where gl_djh = ?", {kFirstNumber}), "47|1");
}

TEST_F(PickerRulesTest, ReturnConfirmKeepsRowsWithoutCodeAndTheirSource)
{
    GoodsPickerRules rules(db(), state, notices, PurchaseKind::Return);
    DocumentContext c = entry(PurchaseKind::Return);
    Basket basket(db(), PurchaseDocType(PurchaseKind::Return), state);
    basket.addRow({{"g_sn", "A"}, {"ts_sl", 1.0}, {"gl_djh2", "CJ25030110001"}, {"idck", 3}});
    basket.addRow({{"g_sn", ""}, {"ts_sl", 1.0}});
    ASSERT_TRUE(rules.confirm(c).done());
    EXPECT_EQ(rows("select g_sn, th_sl, gl_djh2, idck from jxc_thsp order by id"), "A|1|CJ25030110001|3; |1||");
}

TEST_F(PickerRulesTest, AFailedConfirmLeavesBasketAndDocumentAsTheyWere)
{
    GoodsPickerRules rules(db(), state, notices, PurchaseKind::Receipt);
    DocumentContext c = entry();
    RunSql(db(), "delete from jxc_jhsp where gl_djh = ?", {kFirstNumber});
    rules.addDirect(c, {{"A", ""}, {"B", ""}, {"C", ""}}, 1);
    for (int n = 1; n <= 12; ++n) {
        notices.shown.clear();
        InjectStatementFailure(db(), n);
        const bool done = rules.confirm(c).done();
        InjectStatementFailure(db(), 0);
        if (done)
            break;
        EXPECT_TRUE(notices.last().startsWith("添加商品失败：")) << n;
        EXPECT_EQ(scalar("select count(*) from jxc_tempspxf2"), "3") << n;
        EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "0") << n;
    }
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "3");
}

} // namespace
