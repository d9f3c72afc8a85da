// The audits of transfers, losses and overflows (InventoryPosting): the ledger rows with their
// columns and order, stock rows created or moved, the running cost, goods totals, the value row,
// the log; refusals, questions, documents already audited, missing records, and the landed
// cancels taking the postings back.

#include "inventoryposting_fixture.h"

#include "../support/scriptednotices.h"

#include "engine/audit.h"
#include "engine/unaudit.h"
#include "foundation/db/transaction.h"

#include <functional>

namespace {

constexpr const char *kDb = "DB24030810001";
constexpr const char *kBs = "BS24030810001";
constexpr const char *kBy = "BY24030810001";

class InventoryPostingTest : public InventoryPostingFixture
{
protected:

    const InventoryLine twoBoxes{kInvG1, 2, 30, 12, QStringLiteral("箱")};
};

TEST_F(InventoryPostingTest, TransferPostsInRowsThenOutRowsAtTheLineCost)
{
    AddTransfer(db(), kDb, {twoBoxes});
    const AuditResult r = RunAuditTransfer(db(), state, clock, kDb);
    ASSERT_EQ(r.kind, AuditResult::Kind::Audited) << r.text.toStdString();
    const QString columns = QStringLiteral("ck_sn, g_sn, gl_sl, gl_dj, gl_zje, gl_je, gl_sysl, gl_taxdj, ghs_name, ghs_sn, "
                                           "gl_kdrq, u_name, gl_checker, gl_chkrq, gl_kc, gl_pjjj, gl_kczje, gl_sqsl, gl_sqje, "
                                           "gl_djh2, idck, gl_flag, ck_name");
    EXPECT_EQ(ledger(kDb, columns),
              (QStringList{"100002|20000001|24|2.5|60|60|2|30|调拨入库||2024-03-08 10:15|默认员工|admin|2024-03-08|24|2.5|60|"
                           "0|0||0|db|分仓",
                           "100001|20000001|-24|2.5|-60|-60|2|30|调拨出库||2024-03-08 10:15|默认员工|admin|2024-03-08|24|2.5|"
                           "60|48|120||0|db|主仓库"}));
    EXPECT_EQ(row("select kc_sl, kc_zsl, kc_cbj, kc_zcb from jxc_kcsp where g_sn = '20000001' and ck_sn = '100001'"),
              (QVariantMap{{"kc_sl", "24"}, {"kc_zsl", "24"}, {"kc_cbj", "2.5"}, {"kc_zcb", "60"}}));
    EXPECT_EQ(row("select kc_sl, kc_zsl, kc_cbj, kc_zcb, kc_xssl from jxc_kcsp where g_sn = '20000001' and ck_sn = '100002'"),
              (QVariantMap{{"kc_sl", "24"}, {"kc_zsl", "24"}, {"kc_cbj", "2.5"}, {"kc_zcb", "60"}, {"kc_xssl", "0"}}));
    EXPECT_EQ(count("select count(*) from jxc_kcsp where g_sn = '00000000' and ck_sn = '100002'"), 1);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 48, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_pjjj"), 2.5, kEps);
    EXPECT_EQ(row("select db_status, db_checker, db_chkrq from jxc_kcdbd where gl_djh = ?", {kDb}),
              (QVariantMap{{"db_status", "1"}, {"db_checker", "admin"}, {"db_chkrq", "2024-03-08"}}));
    EXPECT_EQ(lastLog(), QStringLiteral("增加已审核库存调拨单DB24030810001，共1种商品"));

    // A second audit changes nothing and has nothing to say.
    const auto before = snapshot();
    const AuditResult again = RunAuditTransfer(db(), state, clock, kDb);
    EXPECT_EQ(again.kind, AuditResult::Kind::AlreadyAudited);
    EXPECT_TRUE(again.text.isEmpty());
    EXPECT_EQ(snapshot(), before);

    // The landed cancel takes it all back.
    ScriptedNotices notices;
    ASSERT_EQ(UnauditTransfer(db(), state, clock, notices, kDb, UnauditOptions{.bulk = true}), UnauditOutcome::Done)
        << notices.texts().join("\n").toStdString();
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 48, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_cbj"), 2.5, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zcb"), 120, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_sl", kBranchWarehouse), 0, kEps);
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = ?", {kDb}), 0);
    EXPECT_EQ(scalar("select db_status from jxc_kcdbd where gl_djh = ?", {kDb}), "0");
}

TEST_F(InventoryPostingTest, TransferOfSeveralLinesKeepsLineOrderAndIgnoresThePriceMode)
{
    state.TransferPriceBasis = QStringLiteral("1");
    AddTransfer(db(), kDb,
                {{kInvG1, 1, 2.5, 1, QStringLiteral("瓶")},
                 {kInvG2, 2, 4, 1, QStringLiteral("包")},
                 // Valued at the sale price in the lines, posted at the cost.
                 {kInvG1, 1, 30, 12, QStringLiteral("箱"), 40}});
    ASSERT_TRUE(RunAuditTransfer(db(), state, clock, kDb).audited());
    EXPECT_EQ(ledger(kDb, "ck_sn, g_sn, gl_sl, gl_zje"),
              (QStringList{"100002|20000001|1|2.5", "100002|20000002|2|8", "100002|20000001|12|30",
                           "100001|20000001|-1|-2.5", "100001|20000002|-2|-8", "100001|20000001|-12|-30"}));
    EXPECT_EQ(lastLog(), QStringLiteral("增加已审核库存调拨单DB24030810001，共3种商品"));
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 35, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_sl", kBranchWarehouse), 13, kEps);
    EXPECT_NEAR(stock(kInvG2, "kc_sl", kBranchWarehouse), 2, kEps);
}

TEST_F(InventoryPostingTest, ShortagesAreRefusedOrAskedAndPendingCopiesStay)
{
    RunSql(db(), "update jxc_kcsp set kc_sl = 20 where g_sn = '20000001' and ck_sn = '100001'");
    AddTransfer(db(), kDb, {twoBoxes});
    // A stray pending copy of li's.
    AddTransfer(db(), kDb, {}, {{"a_name", "li"}});
    const auto before = snapshot();
    AuditResult r = RunAuditTransfer(db(), state, clock, kDb);
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能出库！"));
    EXPECT_EQ(snapshot(), before);

    state.AllowNegativeStock = QStringLiteral("1");
    r = RunAuditTransfer(db(), state, clock, kDb);
    EXPECT_EQ(r.kind, AuditResult::Kind::Question);
    EXPECT_EQ(r.text, QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：出库将会出现负库存，是否继续？"));
    EXPECT_EQ(snapshot(), before);
    ASSERT_TRUE(RunAuditTransfer(db(), state, clock, kDb, true).audited());
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), -4, kEps);
    // The newest copy is the audited one; the other pending copy went.
    EXPECT_EQ(count("select count(*) from jxc_kcdbd where gl_djh = ?", {kDb}), 1);
    EXPECT_EQ(scalar("select a_name from jxc_kcdbd where gl_djh = ?", {kDb}), "li");
}

TEST_F(InventoryPostingTest, MissingRecordsAndStrayCopiesOfAnAuditedNumberPostNothing)
{
    struct Case
    {
        const char *name;
        std::function<void()> spoil;
    };
    const Case cases[] = {
        {"handler", [&] { RunSql(db(), "delete from jxc_user where u_sn = '100001'"); }},
        {"in warehouse", [&] { RunSql(db(), "delete from jxc_ckxx where ck_sn = '100002'"); }},
        {"goods", [&] { AddTransferLines(db(), kDb, {{QStringLiteral("29999999"), 1, 1}}); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Transaction scratch(db());
        AddTransfer(db(), kDb, {twoBoxes});
        c.spoil();
        const auto before = snapshot();
        const AuditResult r = RunAuditTransfer(db(), state, clock, kDb);
        EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
        EXPECT_EQ(r.text, QStringLiteral("单据DB24030810001的经手人、仓库或商品资料不存在，不能审核！"));
        EXPECT_EQ(snapshot(), before);
    }

    // An audited header and a stray pending copy of its number: never posted twice.
    AddTransfer(db(), kDb, {twoBoxes}, {{"db_status", 1}, {"db_checker", "li"}});
    AddTransfer(db(), kDb, {}, {{"a_name", "li"}});
    const auto before = snapshot();
    EXPECT_EQ(RunAuditTransfer(db(), state, clock, kDb).kind, AuditResult::Kind::AlreadyAudited);
    EXPECT_EQ(snapshot(), before);
}

TEST_F(InventoryPostingTest, LossLowersStockAndBooksTheExpense)
{
    AddLoss(db(), kBs, {{kInvG1, 3, 2.5, 1, {}, 7.5, QStringLiteral("破损")}}, {{"bs_note", "月底盘查"}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, kBs).audited());
    EXPECT_EQ(ledger(kBs, "gl_flag, ck_sn, gl_sl, gl_zje, gl_je, gl_sysl, gl_dj, gl_taxdj, ghs_name, gl_bz, gl_note, gl_kc, "
                          "gl_kczje, gl_djh2, idck"),
              QStringList{"bs|100001|-3|-7.5|-7.5|3|2.5|2.5|商品报损|破损|月底盘查|45|112.5||0"});
    EXPECT_EQ(row("select kc_sl, kc_zsl, kc_cbj, kc_zcb from jxc_kcsp where g_sn = '20000001' and ck_sn = '100001'"),
              (QVariantMap{{"kc_sl", "45"}, {"kc_zsl", "45"}, {"kc_cbj", "2.5"}, {"kc_zcb", "112.5"}}));
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 45, kEps);
    EXPECT_EQ(row("select gl_djh, fy_rq, fy_lx, fy_sc, fy_flag, fy_je, u_sn, de_sn, fy_kmmc, fy_chk, fy_note, a_name "
                  "from jxc_yyfy where gl_djh = ?",
                  {kBs}),
              (QVariantMap{{"gl_djh", kBs},     {"fy_rq", "2024-03-08 10:15"}, {"fy_lx", "费用"}, {"fy_sc", "费用"},
                           {"fy_flag", "1"},    {"fy_je", "-7.5"},             {"u_sn", "100001"}, {"de_sn", "100001"},
                           {"fy_kmmc", "现金"}, {"fy_chk", "1"},               {"fy_note", "报损单BS24030810001成本差额"},
                           {"a_name", "admin"}}));
    EXPECT_EQ(lastLog(), QStringLiteral("增加已审核商品报损单BS24030810001，共1种商品"));
    EXPECT_EQ(row("select bs_status, bs_checker, bs_chkrq from jxc_bsd where gl_djh = ?", {kBs}),
              (QVariantMap{{"bs_status", "1"}, {"bs_checker", "admin"}, {"bs_chkrq", "2024-03-08"}}));

    ScriptedNotices notices;
    ASSERT_EQ(UnauditLoss(db(), state, clock, notices, kBs, UnauditOptions{.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 48, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zcb"), 120, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 48, kEps);
    EXPECT_EQ(count("select count(*) from jxc_yyfy where gl_djh = ?", {kBs}), 0);
}

TEST_F(InventoryPostingTest, OverflowRaisesStockWithoutAStockTestAndBooksTheIncome)
{
    AddOverflow(db(), kBy, {{kInvG2, 2, 4}});
    ASSERT_TRUE(RunAuditOverflow(db(), state, clock, kBy).audited());
    const QString lineId = scalar("select id from jxc_bysp where gl_djh = ?", {kBy});
    EXPECT_EQ(scalar("select idck from jxc_bysp where gl_djh = ?", {kBy}), lineId);
    EXPECT_EQ(ledger(kBy, "gl_flag, gl_sl, gl_zje, ghs_name, idck, coalesce(gl_djh2, 'null')"),
              QStringList{"by|2|8|商品报溢|" + lineId + "|null"});
    EXPECT_NEAR(stock(kInvG2, "kc_sl"), 12, kEps);
    EXPECT_NEAR(stock(kInvG2, "kc_zcb"), 48, kEps);
    EXPECT_NEAR(goods(kInvG2, "g_kc"), 12, kEps);
    EXPECT_EQ(row("select fy_je, fy_lx, fy_sc, fy_flag, fy_note from jxc_yyfy where gl_djh = ?", {kBy}),
              (QVariantMap{{"fy_je", "8"}, {"fy_lx", "收入"}, {"fy_sc", "收入"}, {"fy_flag", "2"},
                           {"fy_note", "报溢单BY24030810001成本差额"}}));
    EXPECT_EQ(lastLog(), QStringLiteral("增加已审核商品报溢单BY24030810001，共1种商品"));

    // No stock test, whatever the quantity.
    AddOverflow(db(), "BY24030810002", {{kInvG3, 1000, 3}});
    EXPECT_TRUE(RunAuditOverflow(db(), state, clock, "BY24030810002").audited());
    EXPECT_NEAR(stock(kInvG3, "kc_sl"), 1000, kEps);
}

TEST_F(InventoryPostingTest, LossShortagesNewStockRowsAndValuelessDocuments)
{
    AddLoss(db(), kBs, {{kInvG1, 50, 2.5}});
    const auto before = snapshot();
    AuditResult r = RunAuditLoss(db(), state, clock, kBs);
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能报损！"));
    EXPECT_EQ(snapshot(), before);
    state.AllowNegativeStock = QStringLiteral("1");
    r = RunAuditLoss(db(), state, clock, kBs);
    EXPECT_EQ(r.kind, AuditResult::Kind::Question);
    EXPECT_EQ(r.text, QStringLiteral("该单据中至少一种商品库存不足，\r\n\r\n“20000001”：报损将会出现负库存，是否继续？"));
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, kBs, true).audited());
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), -2, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), -2, kEps);

    // A goods without a stock row gets one; a document worth nothing books no value row.
    state.AllowNegativeStock = QStringLiteral("0");
    AddLoss(db(), "BS24030810002", {{kInvG4, 2, 1}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, "BS24030810002").audited());
    EXPECT_EQ(row("select kc_sl, kc_zsl, kc_cbj from jxc_kcsp where g_sn = '20000004' and ck_sn = '100001'"),
              (QVariantMap{{"kc_sl", "-2"}, {"kc_zsl", "-2"}, {"kc_cbj", "1"}}));
    EXPECT_NEAR(goods(kInvG4, "g_kc"), -2, kEps);
    AddLoss(db(), "BS24030810003", {{kInvG2, 1, 0}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, "BS24030810003").audited());
    EXPECT_EQ(count("select count(*) from jxc_yyfy where gl_djh = 'BS24030810003'"), 0);
}

} // namespace
