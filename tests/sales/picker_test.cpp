// The sale goods picker's rules: the lists by customer, warehouse and stock, the goods added
// without the line dialog with their batch questions, the basket's cells and 确定.

#include "sale_fixture.h"

#include "../support/inventoryset.h"
#include "foundation/basket.h"
#include "sales/salepicker.h"

#include <QSqlQuery>

namespace {

class SalePickerTest : public SaleRulesTest
{
protected:
    void SetUp() override
    {
        SaleRulesTest::SetUp();
        if (IsSkipped())
            return;
        context = entry();
    }
    SalePickerRules rules() { return SalePickerRules(db(), state, clock, notices); }
    // Codes and stock of the list, in the statement's order.
    QString listed(const SalePickerFilters &filters)
    {
        const ListStatement st = SalePickerQuery(state).goods(QStringLiteral("100001"), QStringLiteral("100001"), filters);
        QSqlQuery q = OpenSelect(db(), st.body + QStringLiteral(" order by ") + st.order, st.binds);
        QStringList out;
        while (q.next())
            out << q.value(QStringLiteral("g_sn")).toString() + QLatin1Char('=') + NumberText(q.value(QStringLiteral("kc_sl")).toDouble());
        return out.join(QLatin1Char(' '));
    }
    void goods(const char *sn, const char *name, int disabled = 0)
    {
        InsertRow(db(), "jxc_goods",
                  {{"g_sn", sn}, {"g_name", QString::fromUtf8(name)}, {"g_jm", ""}, {"dw_name", "瓶"}, {"g_sj", 5.0},
                   {"g_jj", 1.0}, {"g_lsj", 6.0}, {"g_sptm", ""}, {"g_kc", 0.0}, {"g_xspl", 0}, {"g_cgpl", 0},
                   {"g_jy", disabled}, {"gc_sn", "1000"}, {"g_zhxs", 1.0}});
    }
    // An audited sale of `goods` to `customer` from `warehouse`.
    void soldBefore(const char *number, const char *customer, const char *warehouse, const char *g)
    {
        PendingSaleHeader(db(), QString::fromLatin1(number), 1, 1,
                          {{"kh_sn", customer}, {"ck_sn", warehouse}, {"ls_status", 1}});
        SaleLine(db(), QString::fromLatin1(number), QString::fromLatin1(g), 1, 1);
    }
    int addDirect(const QList<SalePickedGoods> &g, double quantity)
    {
        return rules().addDirect(context, g, quantity);
    }
    QString basket(const QString &columns)
    {
        return rows(QStringLiteral("select %1 from jxc_tempspxf2 where a_name = 'admin' order by id").arg(columns));
    }
    DocumentContext context;
};

TEST_F(SalePickerTest, TheListsFollowTheCustomerTheWarehouseAndTheStock)
{
    const char *kC = "20000003";
    const char *kD = "20000004";
    goods(kC, "芬达");
    goods(kD, "美年达");
    goods("20000005", "停用", 1);
    AddOpeningStock(db(), kC, "100001", 0, 2.0);
    AddOpeningStock(db(), "20000005", "100001", 5, 2.0);
    RunSql(db(), "update jxc_kcsp set kc_sl = 0 where g_sn = ?", {kC});
    soldBefore("XS25030110001", "100001", "100001", kB);
    soldBefore("XS25030110002", "100001", "100002", kA);
    SaleLine(db(), "XS25030110002", kD, 1, 1);
    soldBefore("XS25030110003", "100002", "100001", kC);

    struct Case { bool customer; bool negative; bool warehouse; const char *rows; };
    const Case cases[] = {
        {false, false, false, "20000001=48 20000002=10"},
        {false, true, false, "20000001=48 20000002=10 20000003=0 20000004=0"},
        {false, true, true, "20000001=48 20000002=10 20000003=0"},
        {true, false, false, "20000002=10"},
        {true, true, false, "20000001=48 20000002=10 20000004=0"},
        {true, true, true, "20000001=48 20000002=10"},
    };
    for (const Case &c : cases) {
        state.AllowNegativeStock = c.negative ? "1" : "0";
        SalePickerFilters f;
        f.customer = c.customer;
        f.warehouse = c.warehouse;
        EXPECT_EQ(listed(f), c.rows) << c.customer << c.negative << c.warehouse;
    }
    // The sale count orders first; a class limits the second page.
    state.AllowNegativeStock = "0";
    RunSql(db(), "update jxc_goods set g_xspl = 9 where g_sn = ?", {kB});
    EXPECT_EQ(listed({}), "20000002=10 20000001=48");
    SalePickerFilters byClass;
    byClass.classSn = "1001";
    EXPECT_EQ(listed(byClass), "");
    EXPECT_EQ(SalePickerQuery::sortExpression("kc_sl"), "b.kc_sl");
    EXPECT_EQ(SalePickerQuery::sortExpression("g_name"), "a.g_name");
}

TEST_F(SalePickerTest, ABatchTakesTheCustomersPriceTheCostAndTheDocumentsFactor)
{
    ASSERT_EQ(addDirect({{kA, 48}, {kB, 10}}, 2), 2);
    EXPECT_EQ(basket("g_sn, ts_dj, ts_sl, ts_zsl, ts_je, ts_zje, ts_cbj, ts_cbj2, ts_zcb, ts_zhdj, ts_lsj, ts_dzl, "
                     "ts_tax, ts_taxdj, dw_name, g_sptm, t_zp, gl_djh2, idck"),
              "20000001|3.5|2|2|7|7|2|2|4|1|4|1|0|3.5|瓶|6901|||0; "
              "20000002|3|2|2|6|6|2.5|2.5|5|1|3.5|1|0|3|瓶|6902|||0");
    EXPECT_TRUE(notices.texts().isEmpty());

    // Tax rate and whole-order factor; amounts unrounded without RoundTotals.
    rules().removeAll();
    state.DefaultTaxRate = "13";
    context.wholeDiscount = 0.9;
    ASSERT_EQ(addDirect({{kA, 48}}, 2), 1);
    const QStringList a = basket("ts_tax, ts_taxdj, ts_dzl, ts_je, ts_taxje, ts_zje").split('|');
    ASSERT_EQ(a.size(), 6);
    EXPECT_DOUBLE_EQ(TextToNumber(a[0]), 13);
    EXPECT_DOUBLE_EQ(TextToNumber(a[1]), 3.96);
    EXPECT_DOUBLE_EQ(TextToNumber(a[2]), 0.9);
    EXPECT_NEAR(TextToNumber(a[3]), 6.3, 1e-8);
    EXPECT_NEAR(TextToNumber(a[4]), 0.819, 1e-8);
    EXPECT_NEAR(TextToNumber(a[5]), 7.119, 1e-8);

    // A quantity of 0 or less is refused before anything.
    rules().removeAll();
    EXPECT_EQ(addDirect({{kA, 48}, {kB, 10}}, 0), -1);
    EXPECT_EQ(notices.texts().last(), "默认添加数量必须大于0！");
    EXPECT_EQ(basket("g_sn"), "");
}

TEST_F(SalePickerTest, ShortagesAndDuplicatesAreAnsweredOncePerBatch)
{
    const char *kC = "20000003";
    const char *kD = "20000004";
    goods(kC, "芬达");
    goods(kD, "美年达");
    // Short goods refused once, the rest of the batch added with the typed quantity.
    EXPECT_EQ(addDirect({{kC, 0.5}, {kB, 10}, {kD, 0}}, 12), 1);
    EXPECT_EQ(notices.texts(), QStringList{"库存数量小于销售数量，不能销售！"});
    EXPECT_EQ(basket("g_sn, ts_sl"), "20000002|12");

    // Negative stock allowed: one question; No leaves every short goods out, Yes takes them all.
    rules().removeAll();
    notices.shown.clear();
    state.AllowNegativeStock = "1";
    notices.script({Notices::Answer::No});
    EXPECT_EQ(addDirect({{kC, 0}, {kD, 0}}, 1), 0);
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(addDirect({{kC, 0}, {kD, 0}}, 1), 2);
    EXPECT_EQ(notices.texts(), QStringList(2, "库存数量小于销售数量，销售后将产生负库存，继续销售吗?"));

    // A goods on another operator's line of the number and one in the basket: one question.
    rules().removeAll();
    notices.shown.clear();
    state.AllowNegativeStock = "0";
    line(kA, 1, 3.5, "op2");
    addDirect({{kB, 10}}, 1);
    notices.script({Notices::Answer::No});
    EXPECT_EQ(addDirect({{kA, 48}, {kB, 10}, {kC, 5}}, 1), 1);
    EXPECT_EQ(notices.texts(), QStringList{"该商品已添加，需要重复添加吗？"});
    EXPECT_EQ(basket("g_sn"), "20000002; 20000003");
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(addDirect({{kA, 48}, {kB, 10}, {kC, 5}}, 1), 3);
    EXPECT_EQ(notices.texts().size(), 2);

    // The single goods for the line dialog: asked when it is on the operator's own lines or in
    // the basket.
    rules().removeAll();
    notices.script({Notices::Answer::No});
    EXPECT_TRUE(rules().mayAddOne(context, kA));  // op2's line only
    line(kA, 1, 3.5);
    EXPECT_FALSE(rules().mayAddOne(context, kA));
}

TEST_F(SalePickerTest, BasketCellsFollowTheSaleArithmetic)
{
    addDirect({{kA, 48}}, 1);
    const qint64 id = scalar("select id from jxc_tempspxf2").toLongLong();
    ASSERT_TRUE(rules().editCell(id, LineCell::Discount, "0.5"));
    EXPECT_EQ(notices.texts().last(),
              "商品的最低折扣为：“0.8”，\r\n\r\n打折率不能低于最低折扣！\r\n\r\n已恢复到无折扣状态！");
    EXPECT_EQ(basket("ts_dzl"), "1");
    notices.shown.clear();
    ASSERT_TRUE(rules().editCell(id, LineCell::Discount, "0"));
    EXPECT_TRUE(notices.texts().isEmpty());
    EXPECT_EQ(basket("ts_dzl"), "1");
    ASSERT_TRUE(rules().editCell(id, LineCell::Quantity, "3"));
    EXPECT_EQ(basket("ts_zsl, ts_zcb, ts_je, ts_zje"), "3|6|10.5|10.5");
}

TEST_F(SalePickerTest, ConfirmCopiesTheBasketInItsOrderAndMovesEarlierLinesToANewNumber)
{
    // Another operator's basket is never touched.
    InsertRow(db(), "jxc_tempspxf2", {{"g_sn", kB}, {"a_name", "op2"}, {"ts_sl", 1.0}, {"ts_dj", 3.0}, {"ts_zje", 3.0}, {"ts_dzl", 1.0}});
    const qint64 earlier = line(kB, 1, 3);
    addDirect({{kA, 48}, {kB, 10}}, 2);
    ASSERT_TRUE(rules().confirm(context).done());
    EXPECT_EQ(lines("g_sn, ls_sl, ls_dj, ls_je, ls_zje, ls_zhje, ls_cksl, ls_zsl, g_zhxs, ls_lsj, ls_cbj, ls_zcb, "
                    "ls_cbj2, g_tmbz, gl_djh3, idck, t_zp, dw_name, g_sptm, a_name"),
              "20000002|1|3|3|3|3|1|1|1|4|2|2|2|||0||瓶||admin; "
              "20000001|2|3.5|7|7|7|2|2|1|4|2|4|2|||0||瓶|6901|admin; "
              "20000002|2|3|6|6|6|2|2|1|3.5|2.5|5|2.5|||0||瓶|6902|admin");
    EXPECT_EQ(basket("g_sn"), "");
    EXPECT_EQ(rows("select g_sn from jxc_tempspxf2 where a_name = 'op2'"), "20000002");
    EXPECT_EQ(linesChanged, 1);
    EXPECT_TRUE(renumbered.isEmpty());

    // The number taken by another operator meanwhile: a new number, the operator's earlier lines
    // moving along with the copied ones.
    line(kA, 1, 3.5, "op2");
    addDirect({{kA, 48}}, 1);
    notices.script({Notices::Answer::Yes});
    const SaleResult r = rules().confirm(context);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, "XS25031410002");
    EXPECT_EQ(renumbered, QStringList{"XS25031410002"});
    EXPECT_EQ(rows("select count(*) from jxc_lsxssp where gl_djh = 'XS25031410002' and a_name = 'admin'"), "4");
    EXPECT_EQ(lines("a_name"), "op2");
    EXPECT_EQ(scalar("select gl_djh from jxc_lsxssp where id = ?", {earlier}), "XS25031410002");

    // SeparateStockOut: nothing leaves stock with the line.
    state.SeparateStockOut = "1";
    addDirect({{kB, 10}}, 1);
    ASSERT_TRUE(rules().confirm(context).done());
    EXPECT_EQ(rows("select ls_cksl from jxc_lsxssp where gl_djh = 'XS25031410002' order by id desc limit 1"), "0");
}

TEST_F(SalePickerTest, ConfirmOnThePendingPageWritesUnderThePendingNumberAndResumsIt)
{
    PendingSaleHeader(db(), "XS25031310001", 3, 3, {{"ls_xsrq", "2025-03-13 09:00"}});
    SaleLine(db(), "XS25031310001", kB, 1, 3, "op2");
    line(kA, 1, 3.5, "op2");  // the entry page's number is taken: the pending page does not care
    DocumentContext pending = entry();
    pending.page = DocPage::Pending;
    pending.number = "XS25031310001";
    pending.day = "2025-03-13";
    addDirect({{kA, 48}}, 2);
    ASSERT_TRUE(rules().confirm(pending).done());
    EXPECT_EQ(rows("select g_sn, ls_sl, a_name from jxc_lsxssp where gl_djh = 'XS25031310001' order by id"),
              "20000002|1|op2; 20000001|2|admin");
    EXPECT_DOUBLE_EQ(number("select ls_yfje from jxc_lsxsd where gl_djh = 'XS25031310001'"), 10);
    EXPECT_TRUE(renumbered.isEmpty());
}

} // namespace
