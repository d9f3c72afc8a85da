// The posting kit serves kinds beyond purchases and sales: a document without a partner,
// described as the inventory postings will be, writes no money rows, moves stock through its
// ledger rows, and the existing cancel of its kind takes all of that back.

#include "unaudit_fixture.h"

#include "engine/postingkit.h"

namespace {

// A loss report over the kit: the lines leave the header's warehouse.
const DocumentKind &lossKind()
{
    static const DocumentKind kind{
        .code = "BS", .name = "商品报损单", .header = "jxc_bsd", .lines = "jxc_bssp", .prefix = "bs_",
        .dateColumn = "bs_bsrq",
        .ledger = {"bs", "jxc_bssp", true,
                   {{"gl_sl", "-l.bs_sl"}, {"gl_dj", "l.bs_dj"}, {"gl_zje", "-l.bs_zje"}, {"gl_je", "-l.bs_zje"}}},
        .steps = {.flag = "bs"},
        .moves = {.createRows = true},
        .logText = "审核商品报损单%1，共%2种商品",
    };
    return kind;
}

class PostingKitTest : public UnauditTest
{
};

TEST_F(PostingKitTest, KindWithoutPartnerMovesGoodsOnlyAndItsCancelTakesItBack)
{
    addReceipt("CJ24030610001", "2024-03-06 10:00", {{"G1", 10, 7.0}, {"G2", 4, 3.0}}, 82, 0);
    postReceipt("CJ24030610001");
    insert("jxc_bsd", {{"gl_djh", "BS24030710001"}, {"ck_sn", "100001"}, {"bs_bsrq", "2024-03-07 10:00"},
                       {"bs_status", 1}, {"bs_checker", "admin"}, {"u_sn", "100001"}});
    for (const auto &[goodsSn, qty, price] : {std::tuple{"G1", 2.0, 7.0}, {"G2", 1.0, 3.0}, {"G1", 1.0, 7.0}})
        insert("jxc_bssp", {{"gl_djh", "BS24030710001"}, {"g_sn", goodsSn}, {"bs_sl", qty}, {"bs_dj", price},
                            {"bs_zje", qty * price}, {"a_name", "admin"}});
    const QStringList moved{"jxc_kcsp", "jxc_goods", "jxc_goodslist", "jxc_xjyh", "jxc_ysyfk", "jxc_fpdjb"};
    const auto before = snapshot(moved);

    PostDocument(db(), state, clock, lossKind(), "BS24030710001");
    // Stock rows and goods totals after 3 of G1 (at 7) and 1 of G2 left.
    const struct { const char *goodsSn; const char *column; double value; } left[] = {
        {"G1", "kc_sl", 7}, {"G1", "kc_zsl", 7}, {"G1", "kc_zcb", 49}, {"G2", "kc_sl", 3}, {"G1", "g_kc", 7}};
    for (const auto &l : left) {
        const bool goodsColumn = QLatin1String(l.column).startsWith(QLatin1String("g_"));
        EXPECT_NEAR(goodsColumn ? goods(l.goodsSn, l.column) : stock(l.goodsSn, l.column), l.value, kEps) << l.column;
    }
    EXPECT_EQ(count("select count(*) from jxc_goodslist where gl_djh = 'BS24030710001' and ck_sn = '100001'"), 3);
    EXPECT_NEAR(num("select sum(gl_sl) from jxc_goodslist where gl_djh = 'BS24030710001' and g_sn = 'G1'"), -3, kEps);
    for (const char *table : {"jxc_xjyh", "jxc_ysyfk", "jxc_fpdjb", "jxc_yyfy"})
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where gl_djh = 'BS24030710001'").arg(table)), 0) << table;
    EXPECT_EQ(lastLog(), "审核商品报损单BS24030710001，共3种商品");

    EXPECT_EQ(cancel("BS24030710001", {.bulk = true}), UnauditOutcome::Done);
    EXPECT_TRUE(snapshot(moved) == before);
}

// A header whose handler or warehouse is missing is refused before anything is written.
TEST_F(PostingKitTest, KindWithoutPartnerNeedsHandlerAndWarehouse)
{
    insert("jxc_bsd", {{"gl_djh", "BS24030710001"}, {"ck_sn", "999999"}, {"bs_bsrq", "2024-03-07 10:00"},
                       {"bs_status", 1}, {"u_sn", "100001"}});
    insert("jxc_bssp", {{"gl_djh", "BS24030710001"}, {"g_sn", "G1"}, {"bs_sl", 1.0}, {"bs_dj", 7.0}});
    const auto before = snapshot();
    try {
        PostDocument(db(), state, clock, lossKind(), "BS24030710001");
        ADD_FAILURE() << "posted";
    } catch (const DbError &e) {
        EXPECT_EQ(e.text(), "单据BS24030710001的经手人或仓库资料不存在，不能审核！");
    }
    EXPECT_TRUE(snapshot() == before);
}

} // namespace
