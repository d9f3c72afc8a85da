// Stocktaking: the barcode lines and totals, the removal of a goods, the line dialog by mode,
// the save's refusals, header and audit, the picker's additions and 确定, and the save's atomicity.

#include "inventory_fixture.h"

#include "engine/audit.h"
#include "foundation/basket.h"
#include "inventory/inventorypicker.h"
#include "inventory/stocktaking.h"

namespace {

constexpr const char *kPd = "PD24030810001";
const QString kCountedAlready = QStringLiteral("该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！");

class StocktakingTest : public InventoryTest
{
protected:
    StocktakingRules rules() { return StocktakingRules(db(), state, clock, notices); }
    InventoryPickerRules picker() { return InventoryPickerRules(db(), state, clock, notices, InventoryDoc::Stocktaking); }
    DocumentContext counting() { return entry(InventoryDoc::Stocktaking); }
    CountHeaderInput header(const QString &day = QStringLiteral("2024-03-08")) const
    {
        return {QString::fromLatin1(kMainWarehouse), QStringLiteral("100001"), QStringLiteral("默认员工"), day,
                QStringLiteral(" 月底 ")};
    }
    qint64 lineOf(const QString &goods, const QString &number = QString::fromLatin1(kPd))
    {
        return scalar("select id from jxc_kcpdsp where gl_djh = ? and g_sn = ? order by id limit 1", {number, goods}).toLongLong();
    }
    QString line(qint64 id) { return rows("select g_sn, kc_sl, pd_sl, pd_dj, pd_zje, kc_zsl, a_name from jxc_kcpdsp where id = ?", {id}); }
    void addLedgerRow(const QString &goods, const QString &warehouse, const QString &date)
    {
        InsertRow(db(), QStringLiteral("jxc_goodslist"),
                  {{"gl_flag", "xs"}, {"gl_djh", "XS24030810001"}, {"g_sn", goods}, {"ck_sn", warehouse}, {"gl_kdrq", date},
                   {"gl_sl", 0.0}, {"gl_zje", 0.0}});
    }
};

TEST_F(StocktakingTest, BarcodesAddLinesAtTheBookFigures)
{
    DocumentContext c = counting();
    const struct
    {
        const char *typed;
        const char *goods;
        const char *line;
        const char *refusal;
    } cases[] = {
        {"6900001", kInvG1, "20000001|48|48|2.5|0|48|admin", nullptr},
        {"6900001", nullptr, nullptr, "该商品已经存在，不能重复盘点！"},
        {"6900002，9", kInvG2, "20000002|10|10|4|0|10|admin", nullptr},
        {"20000004", kInvG4, "20000004|0|0|0|0|0|admin", nullptr},
        {"6900012", nullptr, nullptr, "没有找到与该条码匹配的商品，请检查！"},
        {"999", nullptr, nullptr, "没有找到与该条码匹配的商品，请检查！"},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.typed);
        notices.shown.clear();
        const auto before = snapshot();
        const InventoryResult r = rules().scan(c, QString::fromUtf8(k.typed));
        if (k.refusal) {
            EXPECT_EQ(r.status, InventoryStatus::Refused);
            EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(k.refusal)});
            EXPECT_EQ(snapshot(), before);
            continue;
        }
        ASSERT_TRUE(r.done());
        EXPECT_EQ(line(r.lineId), QString::fromUtf8(k.line));
        EXPECT_EQ(lineOf(k.goods), r.lineId);
    }
    const CountTotals t = rules().totals(kPd);
    EXPECT_NEAR(t.counted, 58, kEps);
    EXPECT_NEAR(t.book, 58, kEps);
}

TEST_F(StocktakingTest, AnotherOperatorsLinesMoveTheNextScanToAFreshNumber)
{
    AddStocktakingLines(db(), kPd, {{kInvG3, 0, 0, 0, -1, -1e300, QStringLiteral("li")}});
    DocumentContext c = counting();
    const InventoryResult r = rules().scan(c, QStringLiteral("6900001"));
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, QStringLiteral("PD24030810002"));
    EXPECT_EQ(renumbered, QStringList{QStringLiteral("PD24030810002")});
    EXPECT_EQ(lineOf(kInvG1, QStringLiteral("PD24030810002")), r.lineId);
}

TEST_F(StocktakingTest, RemovingAGoodsTakesOnlyTheOperatorsLines)
{
    AddStocktakingLines(db(), kPd, {{kInvG1, 48, 48, 2.5}, {kInvG1, 40, 48, 2.5}, {kInvG1, 41, 48, 2.5, -1, -1e300, "li"}});
    ASSERT_TRUE(rules().removeGoods(kPd, lineOf(kInvG1)));
    EXPECT_EQ(rows("select a_name, pd_sl from jxc_kcpdsp"), QStringLiteral("li|41"));
}

TEST_F(StocktakingTest, LineDialogRenewsTheCostAndKeepsTheBookQuantity)
{
    DocumentContext c = counting();
    ASSERT_TRUE(rules().scan(c, QStringLiteral("6900001")).done());
    const qint64 id = lineOf(kInvG1);
    const CountLineOpening o = rules().open(c, InventoryLineMode::Draft, kInvG1, id);
    EXPECT_EQ(o.goods.name, QStringLiteral("可乐"));
    EXPECT_EQ(o.goods.stock, QStringLiteral("48"));
    EXPECT_NEAR(o.count, 48, kEps);

    const auto write = [&](double q) { return rules().write(c, InventoryLineMode::Draft, kInvG1, id, q); };
    ASSERT_TRUE(write(45).done());
    EXPECT_EQ(line(id), QStringLiteral("20000001|48|45|2.5|-7.5|48|admin"));
    const auto before = snapshot();
    EXPECT_EQ(write(-1).status, InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("数量不能为负数！"));
    EXPECT_EQ(snapshot(), before);
    ASSERT_TRUE(write(0).done());
    EXPECT_EQ(line(id), QStringLiteral("20000001|48|0|2.5|-120|48|admin"));
    RunSql(db(), "update jxc_kcsp set kc_cbj = 2.6 where g_sn = '20000001'");
    ASSERT_TRUE(write(45).done());
    EXPECT_EQ(line(id), QStringLiteral("20000001|48|45|2.6|-7.8|48|admin"));
    RunSql(db(), "update jxc_kcsp set kc_cbj = 2.345 where g_sn = '20000001'");
    ASSERT_TRUE(write(49).done());
    EXPECT_NEAR(number("select pd_zje from jxc_kcpdsp where id = ?", {id}), 2.35, kEps);
    state.RoundTotals = QStringLiteral("0");
    ASSERT_TRUE(write(49).done());
    EXPECT_NEAR(number("select pd_zje from jxc_kcpdsp where id = ?", {id}), 2.345, kEps);
    EXPECT_EQ(rules().open(c, InventoryLineMode::Draft, kInvG1, id).count, 49);

    // A goods without a stock row: shown from jxc_goods, stock 0, cost 0.
    ASSERT_TRUE(rules().scan(c, QStringLiteral("20000004")).done());
    const qint64 g4 = lineOf(kInvG4);
    const CountLineOpening none = rules().open(c, InventoryLineMode::Draft, kInvG4, g4);
    EXPECT_EQ(none.goods.code, QString::fromLatin1(kInvG4));
    EXPECT_EQ(none.goods.stock, QStringLiteral("0"));
    ASSERT_TRUE(rules().write(c, InventoryLineMode::Draft, kInvG4, g4, 3).done());
    EXPECT_EQ(line(g4), QStringLiteral("20000004|0|3|0|0|0|admin"));
}

TEST_F(StocktakingTest, PendingLinesBecomeTheOperatorsAndRefuseAnAuditedDocument)
{
    AddStocktaking(db(), kPd, {{kInvG1, 48, 48, 2.5, -1, -1e300, QStringLiteral("li")}});
    DocumentContext p = pending(kPd);
    const qint64 id = lineOf(kInvG1);
    ASSERT_TRUE(rules().write(p, InventoryLineMode::Pending, kInvG1, id, 45).done());
    EXPECT_EQ(line(id), QStringLiteral("20000001|48|45|2.5|-7.5|48|admin"));
    ASSERT_TRUE(RunAuditStocktaking(db(), state, clock, kPd).audited());
    const auto before = snapshot();
    EXPECT_EQ(rules().write(p, InventoryLineMode::Pending, kInvG1, id, 40).status, InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据PD24030810001的状态已改变，请重新查询！"));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(StocktakingTest, SaveRefusalsWriteNothing)
{
    CountHeaderInput noHandler = header();
    noHandler.handlerSn.clear();
    noHandler.handlerText.clear();
    auto before = snapshot();
    EXPECT_FALSE(rules().save(kPd, 0, header()).saved());
    EXPECT_FALSE(rules().save(kPd, 1, noHandler).saved());
    CountHeaderInput noWarehouse = header();
    noWarehouse.warehouseSn.clear();
    EXPECT_FALSE(rules().save(kPd, 1, noWarehouse).saved());
    EXPECT_EQ(notices.texts(), (QStringList{QStringLiteral("单据中没有业务发生，不能保存！"), QStringLiteral("请选择经办人！"),
                                            QStringLiteral("请选择仓库！")}));
    EXPECT_EQ(snapshot(), before);

    const QString number = QStringLiteral("PD24030710001");
    AddStocktakingLines(db(), number, {{kInvG1, 45, 48, 2.5}});
    AddStocktaking(db(), "PD24030810009", {{kInvG2, 10, 10, 4}}, {{"pd_rq", "2024-03-08 09:00"}});
    before = snapshot();
    notices.shown.clear();
    EXPECT_FALSE(rules().save(number, 1, header(QStringLiteral("2024-03-07"))).saved());
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("在【2024-03-07】日期之后已有盘点单，不能再次盘点！")});
    EXPECT_EQ(snapshot(), before);
    RunSql(db(), "delete from jxc_kcpd where gl_djh = 'PD24030810009'");
    RunSql(db(), "delete from jxc_kcpdsp where gl_djh = 'PD24030810009'");

    addLedgerRow(kInvG1, kMainWarehouse, QStringLiteral("2024-03-08 09:00"));
    before = snapshot();
    notices.shown.clear();
    EXPECT_FALSE(rules().save(number, 1, header(QStringLiteral("2024-03-07"))).saved());
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("在【2024-03-07】日期之后盘点的商品已发生业务，不能盘点！")});
    EXPECT_EQ(snapshot(), before);

    // A later row of another goods or another warehouse, or a document of the row's day, saves.
    const struct
    {
        const char *name;
        const char *goods, *warehouse, *day;
    } saves[] = {{"other goods", kInvG2, kMainWarehouse, "2024-03-07"},
                 {"other warehouse", kInvG1, kBranchWarehouse, "2024-03-07"},
                 {"same day", kInvG1, kMainWarehouse, "2024-03-08"}};
    for (const auto &k : saves) {
        SCOPED_TRACE(k.name);
        RunSql(db(), "delete from jxc_goodslist where gl_djh = 'XS24030810001'");
        addLedgerRow(k.goods, k.warehouse, QStringLiteral("2024-03-08 09:00"));
        const InventorySaveResult r = rules().save(number, 1, header(QString::fromUtf8(k.day)));
        ASSERT_TRUE(r.saved());
        RunSql(db(), "delete from jxc_kcpd");
        RunSql(db(), "update jxc_kcpdsp set gl_djh = ?", {number});
    }
}

TEST_F(StocktakingTest, SaveWritesThePendingHeaderOrAuditsAtOnce)
{
    AddStocktakingLines(db(), kPd, {{kInvG1, 45, 48, 2.5}});
    InventorySaveResult r = rules().save(kPd, 1, header());
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(notices.last(), QStringLiteral("单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的单据，可以在“待审核\r\n\r\n单据”面板中，进行修改及审核操作！"));
    EXPECT_EQ(rows("select gl_djh, ck_sn, pd_rq, pd_sl, kc_sl, pd_status, pd_checker, pd_chkrq, u_sn, a_name, pd_note from jxc_kcpd"),
              QStringLiteral("PD24030810001|100001|2024-03-08 10:15|45|48|0|||100001|admin|月底"));
    EXPECT_EQ(scalar("select log_note from jxc_log order by id desc limit 1"),
              QStringLiteral("增加库存盘点单PD24030810001，共1种商品"));

    // Audit on save, for a role without the audit right, with the book figure renewed: a loss
    // of 3 was audited after the line was written.
    state.AuditOnSave = QStringLiteral("1");
    state.CurrentRoleSn = QStringLiteral("100002");
    const QString next = QStringLiteral("PD24030810002");
    AddStocktakingLines(db(), next, {{kInvG1, 50, 48, 2.5}});
    AddLoss(db(), "BS24030810001", {{kInvG1, 3, 2.5}}, {{"bs_bsrq", "2024-03-08 08:00"}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, "BS24030810001").audited());
    RunSql(db(), "delete from jxc_kcpd");
    notices.shown.clear();
    r = rules().save(next, 1, header());
    ASSERT_TRUE(r.saved());
    EXPECT_TRUE(r.audited);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“库存盘点查询”功能中取消审核！")});
    EXPECT_EQ(rows("select kc_sl, kc_zsl, pd_zje from jxc_kcpdsp where gl_djh = ?", {next}), QStringLiteral("45|45|12.5"));
    EXPECT_EQ(rows("select pd_status, kc_sl, pd_sl from jxc_kcpd where gl_djh = ?", {next}), QStringLiteral("1|45|50"));
    EXPECT_NEAR(stock(kInvG1), 50, kEps);
    EXPECT_NEAR(number("select g_kc from jxc_goods where g_sn = ?", {kInvG1}), 50, kEps);
    EXPECT_EQ(rows("select fy_lx, fy_sc, fy_flag, fy_je from jxc_yyfy where gl_djh = ?", {next}), QStringLiteral("收入|收入|2|12.5"));
}

TEST_F(StocktakingTest, SaveFailingAnywhereLeavesNothing)
{
    AddStocktakingLines(db(), kPd, {{kInvG1, 45, 48, 2.5}});
    const auto before = snapshot();
    int n = 1;
    for (; n < 200; ++n) {
        InjectStatementFailure(db(), n);
        const InventorySaveResult r = rules().save(kPd, 1, header());
        InjectStatementFailure(db(), 0);
        if (r.saved())
            break;
        EXPECT_TRUE(notices.last().startsWith(QStringLiteral("保存失败："))) << n;
        EXPECT_EQ(snapshot(), before) << n;
    }
    EXPECT_GT(n, 3);
    EXPECT_EQ(count("select count(*) from jxc_kcpd"), 1);
}

TEST_F(StocktakingTest, PickerAddsAtTheStockRowOrThroughTheDialog)
{
    DocumentContext c = counting();
    InventoryPickerRules p = picker();
    p.open();
    EXPECT_EQ(rows("select x.g_sn from (" + InventoryPickerGoods(InventoryDoc::Stocktaking, c.warehouse).body
                       + ") x order by x.g_sn",
                   {c.warehouse}),
              QStringLiteral("20000001; 20000002; 20000003; 20000005"));
    ASSERT_EQ(p.addCounted(c, {kInvG1, kInvG2}), 2);
    EXPECT_EQ(rows("select g_sn, ts_dj, ts_sl, ts_dzl, ts_zje, ts_je from jxc_tempspxf order by id"),
              QStringLiteral("20000001|48|48|2.5|0|48; 20000002|10|10|4|0|10"));
    p.removeAll();

    EXPECT_FALSE(p.refuseCounted(c, kInvG2));
    ASSERT_TRUE(rules().write(c, InventoryLineMode::BasketAdd, kInvG2, 0, 7).done());
    const qint64 g2 = scalar("select id from jxc_tempspxf where g_sn = ?", {kInvG2}).toLongLong();
    EXPECT_EQ(rows("select ts_dj, ts_sl, ts_dzl, ts_zje, ts_je from jxc_tempspxf where id = ?", {g2}), QStringLiteral("10|7|4|-12|10"));
    ASSERT_TRUE(p.addCounted(c, {kInvG1}) == 1);
    const qint64 g1 = scalar("select id from jxc_tempspxf where g_sn = ?", {kInvG1}).toLongLong();
    EXPECT_NEAR(rules().open(c, InventoryLineMode::BasketModify, kInvG1, g1).count, 48, kEps);
    ASSERT_TRUE(rules().write(c, InventoryLineMode::BasketModify, kInvG1, g1, 47).done());
    EXPECT_EQ(rows("select ts_dj, ts_sl, ts_zje from jxc_tempspxf where id = ?", {g1}), QStringLiteral("48|47|-2.5"));
    EXPECT_EQ(InventoryBasketStatement(InventoryDoc::Stocktaking, state).order, QStringLiteral("a.id desc"));
}

TEST_F(StocktakingTest, PickerDuplicatesAreShownOnceAndBatchesHoldAtMost300)
{
    DocumentContext c = counting();
    AddStocktakingLines(db(), kPd, {{kInvG2, 10, 10, 4, -1, -1e300, QStringLiteral("li")}});
    InventoryPickerRules p = picker();
    p.open();
    EXPECT_TRUE(p.refuseCounted(c, kInvG2));
    EXPECT_EQ(notices.last(), kCountedAlready);
    ASSERT_EQ(p.addCounted(c, {kInvG1}), 1);
    notices.shown.clear();
    p.clearDuplicateNotice();
    ASSERT_EQ(p.addCounted(c, {kInvG1, kInvG2, kInvG3}), 1);
    EXPECT_EQ(notices.texts(), QStringList{kCountedAlready});
    EXPECT_EQ(rows("select g_sn from jxc_tempspxf order by id"), QStringLiteral("20000001; 20000003"));

    p.removeAll();
    QStringList many;
    for (int i = 0; i < 301; ++i) {
        const QString code = QStringLiteral("3%1").arg(i, 7, 10, QLatin1Char('0'));
        AddInventoryGoods(db(), code, QStringLiteral("货%1").arg(i), QStringLiteral("个"), 1, 1, 1, QString());
        many << code;
    }
    const auto before = snapshot();
    notices.shown.clear();
    EXPECT_EQ(p.addCounted(c, many), -1);
    EXPECT_EQ(notices.texts(), QStringList{QStringLiteral("批量添加不能超过300行！")});
    EXPECT_EQ(snapshot(), before);
    many.removeLast();
    EXPECT_EQ(p.addCounted(c, many), 300);
}

TEST_F(StocktakingTest, PickerConfirmCopiesTheBasketSkippingCountedGoods)
{
    DocumentContext c = counting();
    InventoryPickerRules p = picker();
    p.open();
    EXPECT_TRUE(p.confirm(c).done());
    EXPECT_EQ(count("select count(*) from jxc_kcpdsp"), 0);

    // li's line under the number shown: admin's lines, the one left there and the new ones,
    // go to PD24030810002.
    AddStocktakingLines(db(), kPd, {{kInvG3, 0, 0, 0, -1, -1e300, QStringLiteral("li")}, {kInvG4, 1, 0, 0}});
    ASSERT_TRUE(rules().write(c, InventoryLineMode::BasketAdd, kInvG1, 0, 45).done());
    ASSERT_EQ(p.addCounted(c, {kInvG2, kInvG3}), 1);  // G3 is on the document (li's)
    const InventoryResult r = p.confirm(c);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(r.number, QStringLiteral("PD24030810002"));
    EXPECT_EQ(renumbered, QStringList{QStringLiteral("PD24030810002")});
    EXPECT_EQ(rows("select g_sn, pd_sl, kc_sl, pd_dj, pd_zje, kc_zsl, a_name from jxc_kcpdsp where gl_djh = 'PD24030810002' "
                   "order by id"),
              QStringLiteral("20000004|1|0|0|0|0|admin; 20000001|45|48|2.5|-7.5|48|admin; 20000002|10|10|4|0|10|admin"));
    EXPECT_EQ(count("select count(*) from jxc_tempspxf"), 0);

    // A pending target: a goods li added meanwhile is skipped; an audited one is refused.
    AddStocktaking(db(), "PD24030810005", {{kInvG2, 10, 10, 4}});
    DocumentContext pd = pending(QStringLiteral("PD24030810005"));
    ASSERT_EQ(p.addCounted(pd, {kInvG1, kInvG3}), 2);
    AddStocktakingLines(db(), "PD24030810005", {{kInvG3, 0, 0, 0, -1, -1e300, QStringLiteral("li")}});
    ASSERT_TRUE(p.confirm(pd).done());
    EXPECT_EQ(rows("select g_sn, a_name from jxc_kcpdsp where gl_djh = 'PD24030810005' order by id"),
              QStringLiteral("20000002|admin; 20000003|li; 20000001|admin"));
    ASSERT_EQ(p.addCounted(pd, {kInvG4}), 1);
    ASSERT_TRUE(RunAuditStocktaking(db(), state, clock, "PD24030810005").audited());
    const auto before = snapshot();
    EXPECT_EQ(p.confirm(pd).status, InventoryStatus::Refused);
    EXPECT_EQ(notices.last(), QStringLiteral("单据PD24030810005的状态已改变，请重新查询！"));
    EXPECT_EQ(snapshot(), before);
}

} // namespace
