// The audit of stocktakings (InventoryPosting with the count's own steps): the ledger rows of the
// differing lines, the stock set to the count, the goods total and the walk, the value row; the
// book figures renewed under the locks, stock rows created, refusals; the pre-audit check; the
// landed cancel taking the audit back.

#include "inventoryposting_fixture.h"

#include "../support/scriptednotices.h"

#include "engine/audit.h"
#include "engine/poststocktaking.h"
#include "engine/unaudit.h"

namespace {

constexpr const char *kPd = "PD24030810001";

class StocktakingPostingTest : public InventoryPostingFixture
{
protected:
    AuditResult audit(bool check = false)
    {
        return RunAuditStocktaking(db(), state, clock, kPd, StocktakingAuditOptions{.preAuditCheck = check});
    }
    void addLedgerRow(const QString &number, const QString &goods, const QString &warehouse, const QString &date,
                      const char *flag = "xs")
    {
        InsertRow(db(), QStringLiteral("jxc_goodslist"),
                  {{"gl_flag", flag}, {"gl_djh", number}, {"g_sn", goods}, {"ck_sn", warehouse}, {"gl_kdrq", date},
                   {"gl_sl", 0.0}, {"gl_dj", 0.0}, {"gl_zje", 0.0}});
    }

    ScriptedNotices notices;
};

TEST_F(StocktakingPostingTest, ACountBelowTheBooksPostsTheDifferenceAndBooksTheExpense)
{
    AddStocktaking(db(), kPd, {{kInvG1, 45, 48, 2.5}});
    const AuditResult r = audit();
    ASSERT_EQ(r.kind, AuditResult::Kind::Audited) << r.text.toStdString();
    EXPECT_EQ(row("select pd_status, pd_checker, pd_chkrq from jxc_kcpd where gl_djh = ?", {kPd}),
              (QVariantMap{{"pd_status", "1"}, {"pd_checker", "admin"}, {"pd_chkrq", "2024-03-08"}}));
    const QString lineId = scalar("select id from jxc_kcpdsp where gl_djh = ?", {kPd});
    EXPECT_EQ(scalar("select id2 from jxc_kcpdsp where gl_djh = ?", {kPd}), lineId);
    EXPECT_EQ(ledger(kPd, "gl_flag, g_sn, gl_sl, gl_zje, gl_je, gl_dj, gl_taxdj, gl_pjjj, gl_sysl, ghs_name, ghs_sn, gl_kdrq, "
                          "u_name, gl_checker, gl_chkrq, ck_sn, ck_name, gl_dzl, gl_lr, gl_fdmc, id2, gl_kc, gl_pjjj, gl_kczje"),
              QStringList{QStringLiteral("pd|20000001|-3|-7.5|-7.5|2.5|2.5|2.5|45|库存盘点||2024-03-08 10:15|默认员工|admin|"
                                         "2024-03-08|100001|主仓库|1|0||")
                          + lineId + QStringLiteral("|45|2.5|112.5")});
    EXPECT_EQ(row("select kc_sl, kc_zsl, kc_cbj, kc_zcb from jxc_kcsp where g_sn = ? and ck_sn = '100001'", {kInvG1}),
              (QVariantMap{{"kc_sl", "45"}, {"kc_zsl", "45"}, {"kc_cbj", "2.5"}, {"kc_zcb", "112.5"}}));
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 45, kEps);
    EXPECT_EQ(row("select gl_djh, fy_rq, fy_lx, fy_sc, fy_flag, fy_je, fy_note, u_sn, de_sn, fy_kmmc, fy_chk, a_name "
                  "from jxc_yyfy"),
              (QVariantMap{{"gl_djh", kPd}, {"fy_rq", "2024-03-08 10:15"}, {"fy_lx", "费用"}, {"fy_sc", "费用"},
                           {"fy_flag", "1"}, {"fy_je", "-7.5"}, {"fy_note", "商品盘点单PD24030810001成本差额"},
                           {"u_sn", "100001"}, {"de_sn", "100001"}, {"fy_kmmc", "现金"}, {"fy_chk", "1"}, {"a_name", "admin"}}));
    EXPECT_EQ(lastLog(), QStringLiteral("库存盘点单通过PD24030810001审核，共1个商品"));
    EXPECT_EQ(count("select count(*) from jxc_xjyh where gl_djh = ?", {kPd}), 0);
    EXPECT_EQ(count("select count(*) from jxc_ysyfk where gl_djh = ?", {kPd}), 0);
    EXPECT_EQ(count("select count(*) from jxc_kcjs"), 0);

    const auto before = snapshot();
    EXPECT_EQ(audit().kind, AuditResult::Kind::AlreadyAudited);
    EXPECT_EQ(snapshot(), before);

    ASSERT_EQ(UnauditStocktaking(db(), state, clock, notices, kPd, UnauditOptions{.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 48, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zsl"), 48, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 48, kEps);
    EXPECT_EQ(count("select count(*) from jxc_yyfy"), 0);
}

TEST_F(StocktakingPostingTest, CountsEqualToTheBooksPostNothingButTheStatus)
{
    AddStocktaking(db(), kPd, {{kInvG1, 48, 48, 2.5}, {kInvG2, 10, 10, 4}});
    ASSERT_TRUE(audit().audited());
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = ?", {kPd}), 0);
    EXPECT_EQ(count("select count(*) from jxc_yyfy"), 0);
    EXPECT_EQ(lastLog(), QStringLiteral("库存盘点单通过PD24030810001审核，共0个商品"));
    EXPECT_EQ(scalar("select pd_status from jxc_kcpd"), "1");
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 48, kEps);
}

TEST_F(StocktakingPostingTest, GainsAndLossesThatCancelBookNoValueRow)
{
    AddStocktaking(db(), kPd, {{kInvG1, 56, 48, 2.5}, {kInvG2, 5, 10, 4}});
    ASSERT_TRUE(audit().audited());
    EXPECT_EQ(ledger(kPd, "g_sn, gl_sl, gl_zje"), (QStringList{"20000001|8|20", "20000002|-5|-20"}));
    EXPECT_EQ(count("select count(*) from jxc_yyfy"), 0);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 56, kEps);
    EXPECT_NEAR(stock(kInvG2, "kc_sl"), 5, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zcb"), 140, kEps);
    EXPECT_NEAR(stock(kInvG2, "kc_zcb"), 20, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 56, kEps);
    EXPECT_NEAR(goods(kInvG2, "g_kc"), 5, kEps);
}

TEST_F(StocktakingPostingTest, AGoodsWithoutAStockRowGetsOne)
{
    AddStocktaking(db(), kPd, {{kInvG4, 3, 0, 0}});
    ASSERT_TRUE(audit().audited());
    EXPECT_NEAR(stock(kInvG4, "kc_sl"), 3, kEps);
    EXPECT_NEAR(stock(kInvG4, "kc_zsl"), 3, kEps);
    EXPECT_NEAR(goods(kInvG4, "g_kc"), 3, kEps);
    EXPECT_EQ(ledger(kPd, "g_sn, gl_sl, gl_zje"), QStringList{"20000004|3|0"});
}

// Stock moved between the line's entry and the audit: the line takes the book figures of now,
// so that stock row, goods total, ledger and the cancel agree.
TEST_F(StocktakingPostingTest, StaleBookFiguresAreRenewedUnderTheLocks)
{
    AddStocktaking(db(), kPd, {{kInvG1, 50, 48, 2.5}});
    AddLoss(db(), "BS24030810001", {{kInvG1, 3, 2.5}}, {{"bs_bsrq", "2024-03-08 10:00"}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, "BS24030810001").audited());
    ASSERT_TRUE(audit().audited());
    EXPECT_EQ(row("select kc_sl, kc_zsl, pd_zje from jxc_kcpdsp where gl_djh = ?", {kPd}),
              (QVariantMap{{"kc_sl", "45"}, {"kc_zsl", "45"}, {"pd_zje", "12.5"}}));
    EXPECT_EQ(row("select kc_sl, pd_sl from jxc_kcpd where gl_djh = ?", {kPd}), (QVariantMap{{"kc_sl", "45"}, {"pd_sl", "50"}}));
    EXPECT_EQ(ledger(kPd, "gl_sl, gl_zje, gl_kc, gl_pjjj, gl_kczje"), QStringList{"5|12.5|50|2.5|125"});
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 50, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zsl"), 50, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 50, kEps);
    EXPECT_EQ(row("select fy_lx, fy_sc, fy_flag, fy_je from jxc_yyfy where gl_djh = ?", {kPd}),
              (QVariantMap{{"fy_lx", "收入"}, {"fy_sc", "收入"}, {"fy_flag", "2"}, {"fy_je", "12.5"}}));
    ASSERT_EQ(UnauditStocktaking(db(), state, clock, notices, kPd, UnauditOptions{.bulk = true}), UnauditOutcome::Done);
    EXPECT_NEAR(stock(kInvG1, "kc_sl"), 45, kEps);
    EXPECT_NEAR(stock(kInvG1, "kc_zsl"), 45, kEps);
    EXPECT_NEAR(goods(kInvG1, "g_kc"), 45, kEps);
}

TEST_F(StocktakingPostingTest, MissingRecordsAndRepeatedGoodsAreRefusedWritingNothing)
{
    AddStocktaking(db(), kPd, {{kInvG1, 45, 48, 2.5}});
    RunSql(db(), "delete from jxc_user where u_sn = '100001'");
    auto before = snapshot();
    AuditResult r = audit();
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, QStringLiteral("单据PD24030810001的经手人、仓库或商品资料不存在，不能审核！"));
    EXPECT_EQ(snapshot(), before);

    const char *other = "PD24030810002";
    AddStocktaking(db(), other, {{kInvG1, 45, 48, 2.5}, {kInvG1, 40, 48, 2.5, -1, -1e300, QStringLiteral("li")}},
                   {{"u_sn", "100002"}});
    InsertRow(db(), QStringLiteral("jxc_user"), {{"u_sn", "100002"}, {"u_name", "李四"}, {"u_kc", 1}});
    before = snapshot();
    r = RunAuditStocktaking(db(), state, clock, other);
    EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
    EXPECT_EQ(r.text, QStringLiteral("单据PD24030810002中商品“20000001”重复，不能审核！"));
    EXPECT_EQ(snapshot(), before);
}

TEST_F(StocktakingPostingTest, PreAuditCheckFindsLaterBusinessOfCountedGoods)
{
    AddStocktaking(db(), kPd, {{kInvG1, 45, 48, 2.5}}, {{"pd_rq", "2024-03-08 09:00"}});
    const QString refusal = QStringLiteral("在【2024-03-08 09:00】日期之后盘点的商品已发生业务，，\r\n\r\n单号为：【XS24030810001】，"
                                           "\r\n\r\n不能盘点，该盘点单 PD24030810001 已作废！");
    const struct
    {
        const char *name;
        const char *number, *goods, *warehouse, *date, *flag;
        bool found;
    } cases[] = {
        {"later sale", "XS24030810001", kInvG1, kMainWarehouse, "2024-03-08 11:00", "xs", true},
        {"same time", "XS24030810001", kInvG1, kMainWarehouse, "2024-03-08 09:00", "xs", false},
        {"other goods", "XS24030810001", kInvG2, kMainWarehouse, "2024-03-08 11:00", "xs", false},
        {"other warehouse", "XS24030810001", kInvG1, kBranchWarehouse, "2024-03-08 11:00", "xs", false},
        {"opening row without number", "", kInvG1, kMainWarehouse, "2024-03-08 12:00", "qc", false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        addLedgerRow(QString::fromUtf8(c.number), c.goods, c.warehouse, c.date, c.flag);
        const auto before = snapshot();
        EXPECT_EQ(GetPdMsg(db(), kPd, QStringLiteral("2024-03-08 09:00"), kMainWarehouse), c.found ? refusal : QString());
        EXPECT_EQ(snapshot(), before);
        if (c.found) {
            const AuditResult r = audit(true);
            EXPECT_EQ(r.kind, AuditResult::Kind::Refused);
            EXPECT_EQ(r.text, refusal);
            EXPECT_EQ(snapshot(), before);
        }
        RunSql(db(), "delete from jxc_goodslist where gl_kdrq like '2024-03-08%'");
    }
    addLedgerRow(QStringLiteral("XS24030810001"), kInvG1, kMainWarehouse, QStringLiteral("2024-03-08 11:00"));
    EXPECT_TRUE(audit(false).audited());
}

} // namespace
