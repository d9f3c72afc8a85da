// One audit is one transaction: a statement failing anywhere in an audit entry leaves every
// table as it was, the header pending, and the result "审核失败：…"; an entry inside an outer
// transaction joins it.

#include "posting_fixture.h"

#include "../support/inventoryset.h"

#include "engine/audit.h"
#include "foundation/db/transaction.h"

#include <functional>

namespace {

class AuditAtomicityTest : public PostingTest
{
protected:
    using Entry = std::function<AuditResult()>;

    // The number of counted statements an entry runs: the smallest failure point that no
    // longer fails it, less one. Every probe runs inside an outer transaction rolled back.
    int statementsOf(const Entry &entry)
    {
        int lo = 1, hi = 8192;
        while (lo < hi) {
            const int mid = (lo + hi) / 2;
            bool ok = false;
            {
                Transaction outer(db());
                InjectStatementFailure(db(), mid);
                ok = entry().audited();
                InjectStatementFailure(db(), 0);
            }
            if (ok)
                hi = mid;
            else
                lo = mid + 1;
        }
        return lo - 1;
    }

    void expectFailureLeavesNothing(const Entry &entry, const QList<int> &points,
                                    const QStringList &tables = {})
    {
        const auto before = snapshot(tables);
        for (int n : points) {
            InjectStatementFailure(db(), n);
            const AuditResult r = entry();
            InjectStatementFailure(db(), 0);
            EXPECT_EQ(r.kind, AuditResult::Kind::Failed) << "statement " << n;
            EXPECT_TRUE(r.text.startsWith(QStringLiteral("审核失败："))) << r.text.toStdString();
            EXPECT_EQ(snapshot(tables), before) << "statement " << n;
        }
    }

    static QList<int> firstMiddleLast(int total) { return {1, (total + 1) / 2, total}; }

    const QStringList postingTables{"jxc_jhd", "jxc_jhsp", "jxc_goodslist", "jxc_kcsp", "jxc_goods",
                                    "jxc_xjyh", "jxc_ysyfk", "jxc_fpdjb", "jxc_yyfy", "jxc_log",
                                    "jxc_user", "jxc_ghsxx", "jxc_cgsp"};
};

TEST_F(AuditAtomicityTest, PurchaseReceiptFailingAtAnyStatementLeavesNothing)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
    addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 7.0}, {"G2", 3, 2.0}}, 76, 10,
               {{"j_yffs", "我方付运费"}, {"j_yf", 4.0}});
    ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030610001").audited());
    // Back-dated before the receipt already posted: its walk rewrites the later row.
    const Entry entry = [&] { return RunAuditPurchaseIn(db(), state, clock, "CJ24030510001"); };
    const int total = statementsOf(entry);
    ASSERT_GT(total, 10);
    QList<int> every;
    for (int n = 1; n <= total; ++n)
        every << n;
    expectFailureLeavesNothing(entry, every, postingTables);
    expectFailureLeavesNothing(entry, firstMiddleLast(total));
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ24030510001'"), "0");
    EXPECT_TRUE(entry().audited());
}

TEST_F(AuditAtomicityTest, SaleFailingLeavesNothing)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
    ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030510001").audited());
    addSale("XS24030610001", "2024-03-06 15:00", {{"G1", 4, 10.0, 5.0}}, 40, 30);
    const Entry entry = [&] { return RunAuditSale(db(), state, clock, "XS24030610001"); };
    const int total = statementsOf(entry);
    ASSERT_GT(total, 10);
    expectFailureLeavesNothing(entry, firstMiddleLast(total));
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd"), "0");
}

TEST_F(AuditAtomicityTest, ReceiptFailingLeavesNothing)
{
    insert("jxc_ysyfk_dj", {{"gl_djh", "SK24030810001"}, {"k_rq", "2024-03-08 10:00"}, {"k_fkfs", "现金"},
                            {"k_sfje", 100.0}, {"k_yfje", 0.0}, {"k_qcje", 0.0}, {"k_yhje", 0.0},
                            {"k_mlje", 0.3}, {"k_flag", 1}, {"k_type", "kh"}, {"k_djlx", "SK"},
                            {"k_check", 0}, {"u_sn", "100001"}, {"a_name", "admin"}, {"k_ghskh", "100001"}});
    const Entry entry = [&] { return RunAuditReceipt(db(), state, clock, "SK24030810001"); };
    const int total = statementsOf(entry);
    ASSERT_GT(total, 5);
    expectFailureLeavesNothing(entry, firstMiddleLast(total));
    EXPECT_EQ(scalar("select k_check from jxc_ysyfk_dj"), "0");
}

TEST_F(AuditAtomicityTest, EntryJoinsAnOuterTransaction)
{
    addReceipt("CJ24030510001", "2024-03-05 10:00", {{"G1", 10, 5.0}}, 50, 50);
    addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 7.0}}, 70, 70);
    const auto before = snapshot();
    {
        Transaction outer(db());
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030510001").audited());
    }
    EXPECT_EQ(snapshot(), before);

    // A failed entry undoes only its own work; the outer transaction goes on.
    {
        Transaction outer(db());
        InjectStatementFailure(db(), 5);
        EXPECT_EQ(RunAuditPurchaseIn(db(), state, clock, "CJ24030510001").kind, AuditResult::Kind::Failed);
        InjectStatementFailure(db(), 0);
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ24030610001").audited());
        outer.commit();
    }
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ24030510001'"), "0");
    EXPECT_EQ(scalar("select j_status from jxc_jhd where gl_djh = 'CJ24030610001'"), "1");
    EXPECT_EQ(count("select count(*) from jxc_goodslist"), 1);
    EXPECT_NEAR(stock("G1", "kc_sl"), 10, kEps);
}

// The inventory audits, each after a posted document of the same goods (so that the walk
// rewrites later rows too): a statement failing anywhere leaves every table as it was.
TEST_F(AuditAtomicityTest, InventoryAuditsFailingLeaveNothing)
{
    SeedInventorySet(db(), clock, state);
    AddLoss(db(), "BS24030810001", {{kInvG1, 1, 2.5}}, {{"bs_bsrq", "2024-03-08 11:00"}});
    ASSERT_TRUE(RunAuditLoss(db(), state, clock, "BS24030810001").audited());
    AddTransfer(db(), "DB24030710001", {{kInvG1, 2, 30, 12, QStringLiteral("箱")}, {kInvG2, 1, 4}},
                {{"db_dbrq", "2024-03-07 09:00"}});
    AddLoss(db(), "BS24030710001", {{kInvG1, 3, 2.5}, {kInvG2, 1, 4}}, {{"bs_bsrq", "2024-03-07 09:30"}});
    AddOverflow(db(), "BY24030710001", {{kInvG1, 3, 2.5}, {kInvG4, 1, 2}}, {{"by_byrq", "2024-03-07 09:45"}});
    // A count whose G1 book figure went stale (renewed first), a gain, and a goods without a stock row.
    AddStocktaking(db(), "PD24030710001", {{kInvG1, 40, 47, 2.5}, {kInvG2, 12, 10, 4}, {kInvG3, 1, 0, 0}},
                   {{"pd_rq", "2024-03-07 10:00"}});
    const struct
    {
        const char *name;
        Entry entry;
    } entries[] = {
        {"transfer", [&] { return RunAuditTransfer(db(), state, clock, "DB24030710001"); }},
        {"loss", [&] { return RunAuditLoss(db(), state, clock, "BS24030710001"); }},
        {"overflow", [&] { return RunAuditOverflow(db(), state, clock, "BY24030710001"); }},
        {"stocktaking", [&] { return RunAuditStocktaking(db(), state, clock, "PD24030710001"); }},
    };
    for (const auto &e : entries) {
        SCOPED_TRACE(e.name);
        const int total = statementsOf(e.entry);
        ASSERT_GT(total, 8);
        expectFailureLeavesNothing(e.entry, firstMiddleLast(total));
        ASSERT_TRUE(e.entry().audited());
    }
}

} // namespace
