// The list pages of purchase returns and purchase orders without a window: pending returns
// re-summed, deleted line by line or whole (a whole return freeing its receipt), audited one by
// one or all with the stock test; the return query's views; pending orders deleted and guarded
// against a list gone stale; the audited orders with their progress, warehouse and void filters.

#include "purchase_fixture.h"

#include "engine/audit.h"
#include "foundation/db/sqlroutines.h"
#include "purchasing/orderaudit.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselinemath.h"
#include "purchasing/purchaselistqueries.h"
#include "purchasing/receiptaudit.h"

#include <QRegularExpression>

namespace {

const char *kReturn = "CT25031410001";
const char *kOrder = "CD25031410001";
const char *kReceipt = "CJ25031010001";

class KindListsTest : public PurchaseRulesTest
{
protected:
    PendingDocEdits edits(PurchaseKind kind) { return PendingDocEdits(db(), state, clock, notices, PurchaseListDocOf(kind)); }
    PurchaseListQueries queries(PurchaseKind kind) { return PurchaseListQueries(db(), state, PurchaseListDocOf(kind)); }
    QString logs() const { return rows("select log_note from jxc_log order by id"); }
    QString listed(const ListStatement &st, const QStringList &columns) const
    {
        return rows(QStringLiteral("select %1 from (%2) z order by %3")
                        .arg(columns.join(", "), st.body, QString(st.order).remove(QRegularExpression("\\b[a-z]\\."))),
                    st.binds);
    }

    // A pending (or audited) return header of supplier, warehouse and handler "100001".
    void returnHeader(const QString &number, double payable, double paid, const QVariantMap &extra = {})
    {
        QVariantMap h{{"gl_djh", number},  {"ghs_sn", "100001"}, {"ck_sn", "100001"},   {"th_thrq", "2025-03-14 10:30"},
                      {"th_yfje", payable}, {"th_sfje", paid},   {"th_hkje", 0.0},      {"u_sn", "100001"},
                      {"th_note", ""},     {"th_status", 0},     {"th_checker", ""},    {"th_chkrq", ""},
                      {"th_jsfs", 1},      {"th_kmmc", "现金"},  {"a_name", "admin"},   {"th_qk", 0}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            h.insert(it.key(), it.value());
        insert("jxc_thd", h);
    }
    qint64 returnLine(const QString &number, const QString &goods, double quantity, double price)
    {
        return insert("jxc_thsp", {{"gl_djh", number},  {"g_sn", goods},       {"a_name", "admin"},  {"th_sl", quantity},
                                   {"th_zsl", quantity}, {"th_dj", price},     {"th_taxdj", price},  {"th_tax", 0.0},
                                   {"th_dzl", 1.0},     {"th_je", quantity * price}, {"th_zje", quantity * price},
                                   {"th_taxje", 0.0},   {"dw_name", "瓶"},    {"id2", 0}});
    }
    // A pending return of one line, saved as the entry page saves it.
    void pendingReturn(const QString &number, const QString &goods, double quantity, double price)
    {
        returnLine(number, goods, quantity, price);
        returnHeader(number, -quantity * price, -quantity * price);
    }
    void stock(const QString &receipt, const QString &goods, double quantity)
    {
        savedReceipt(receipt, {{goods, {quantity, 12.0}}}, 0, {{"j_jhrq", "2025-03-10 09:00"}});
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(receipt), receipt);
        RunSql(db(), "delete from jxc_log");
    }

    void orderHeader(const QString &number, int status, const QVariantMap &extra = {})
    {
        SavedOrderHeader(db(), number, status, extra);
    }
    qint64 orderLine(const QString &number, const QString &goods, double quantity, double price)
    {
        return draftLine(number, goods, quantity, price, "admin", "jxc_cgsp");
    }
};

// ---- Returns --------------------------------------------------------------------------------

TEST_F(KindListsTest, APendingReturnIsResummedNegatedAndKeepsItsRefundAsTheParameterSays)
{
    // 4 × 15.00 refunded 25, the line then changed to 2.
    for (const auto &[paidDefault, expected] : {std::pair<const char *, const char *>{"0", "-30|-30"}, {"1", "-30|-25"}}) {
        RunSql(db(), "delete from jxc_thd");
        RunSql(db(), "delete from jxc_thsp");
        state.PurchasePaidDefault = paidDefault;
        returnHeader(kReturn, -60, -25);
        const qint64 line = returnLine(kReturn, kG1, 4, 15);
        RunSql(db(), "update jxc_thsp set th_sl = 2, th_zsl = 2, th_je = 30, th_zje = 30 where id = ?", {line});
        ResumPendingHeader(db(), state, PurchaseKind::Return, kReturn);
        EXPECT_EQ(rows("select th_yfje, th_sfje from jxc_thd"), expected) << paidDefault;
    }
}

TEST_F(KindListsTest, DeletingAWholeReturnFreesItsReceiptWithOrWithoutALogLine)
{
    stock(kReceipt, kG1, 10);
    const auto wholeReturn = [&] {
        pendingReturn(kReturn, kG1, 10, 12);
        RunSql(db(), "update jxc_jhd set j_th = 1, j_dhdid = ? where gl_djh = ?", {kReturn, kReceipt});
    };
    // 删除单据: the log line and the receipt free again.
    wholeReturn();
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits(PurchaseKind::Return).deleteDocument(kReturn).done());
    EXPECT_EQ(logs(), "删除采购退货单：CT25031410001");
    EXPECT_EQ(rows("select j_th, j_dhdid from jxc_jhd"), "0|");
    EXPECT_EQ(scalar("select count(*) from jxc_thsp"), "0");

    // Its last line deleted: the header goes too, no log line, and the receipt is free as well.
    wholeReturn();
    const qint64 line = scalar("select min(id) from jxc_thsp").toLongLong();
    notices.script({Notices::Answer::Yes});
    const PurchaseResult r = edits(PurchaseKind::Return).deleteLine(kReturn, line);
    EXPECT_TRUE(r.done());
    EXPECT_TRUE(r.number.isEmpty());
    EXPECT_EQ(scalar("select count(*) from jxc_thd"), "0");
    EXPECT_EQ(logs(), "删除采购退货单：CT25031410001");
    EXPECT_EQ(rows("select j_th, j_dhdid from jxc_jhd"), "0|");
}

TEST_F(KindListsTest, AuditingAllReturnsLeavesTheOneShortOfStockPending)
{
    stock(kReceipt, kG1, 10);
    stock("CJ25031010002", kG2, 5);
    pendingReturn("CT25031410001", kG1, 4, 15);
    pendingReturn("CT25031410002", kG2, 6, 15);
    pendingReturn("CT25031410003", kG1, 2, 15);
    state.AllowNegativeStock = "0";
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    const QList<QPair<QString, QString>> list{{"CT25031410001", "2025-03-14 10:30"},
                                              {"CT25031410002", "2025-03-14 10:30"},
                                              {"CT25031410003", "2025-03-14 10:30"}};
    EXPECT_EQ(ReceiptAudit(db(), state, clock, notices, PurchaseKind::Return).auditAll(list), 2);
    EXPECT_EQ(notices.texts(), (QStringList{"您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n（如需审核某个单据，请按右键！）",
                                            "该单据中至少一种商品库存不足，\r\n\r\n“20000002”：不能退货！"}));
    EXPECT_EQ(rows("select gl_djh, th_status from jxc_thd order by gl_djh"),
              "CT25031410001|1; CT25031410002|0; CT25031410003|1");
    EXPECT_EQ(scalar("select kc_sl from jxc_kcsp where g_sn = ?", {kG1}).toDouble(), 4);

    // 审核单据(&W) asks its own question.
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_FALSE(ReceiptAudit(db(), state, clock, notices, PurchaseKind::Return).auditSelected("CT25031410002"));
    EXPECT_EQ(notices.texts(), QStringList{"您的操作将审核当前选中的单据，确认吗？"});
}

TEST_F(KindListsTest, TheReturnQueryListsWholeDaysOwedAmountsAndNegativeSums)
{
    stock(kReceipt, kG1, 10);
    pendingReturn("CT25031410001", kG1, 4, 15);
    pendingReturn("CT25031410002", kG1, 2, 15);
    for (const char *n : {"CT25031410001", "CT25031410002"})
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices, PurchaseKind::Return).checkDj(n), n);
    // Refunded 25 of the first; the second stored at the last minute of the day.
    RunSql(db(), "update jxc_thd set th_sfje = -25 where gl_djh = 'CT25031410001'");
    RunSql(db(), "update jxc_thd set th_thrq = '2025-03-14 23:59' where gl_djh = 'CT25031410002'");
    PurchaseQueryCriteria day{"2025-03-14", "2025-03-14", "", ""};
    EXPECT_EQ(listed(queries(PurchaseKind::Return).documents(day), {"gl_djh", "wfje", "yhje", "gtype"}),
              "CT25031410002|0|0|采购退货; CT25031410001|-35|0|采购退货");
    EXPECT_EQ(listed(queries(PurchaseKind::Return).summary(day), {"g_sn", "sl", "zje"}), "20000001|-6|-90");
    EXPECT_EQ(listed(queries(PurchaseKind::Return).details(day), {"gl_djh", "gl_sl"}),
              "CT25031410001|-4; CT25031410002|-2");
    EXPECT_EQ(listed(queries(PurchaseKind::Return).goodsRows(day, kG1), {"gl_djh"}), "CT25031410001; CT25031410002");
    // The key box holds a number or a supplier, taken literally.
    for (const auto &[key, listedNumbers] : {std::pair<const char *, const char *>{"10002", "CT25031410002"},
                                             {"PTGHS", "CT25031410002; CT25031410001"},
                                             {"%", ""}}) {
        PurchaseQueryCriteria keyed = day;
        keyed.key = key;
        EXPECT_EQ(listed(queries(PurchaseKind::Return).documents(keyed), {"gl_djh"}), listedNumbers) << key;
    }
    const PurchaseQueryCriteria before{"2025-03-13", "2025-03-13", "", ""};
    EXPECT_EQ(listed(queries(PurchaseKind::Return).documents(before), {"gl_djh"}), "");
    EXPECT_EQ(listed(queries(PurchaseKind::Return).summary(before), {"g_sn"}), "");
}

TEST_F(KindListsTest, PendingListsOfReturnsAndOrdersSearchTheirOwnTables)
{
    pendingReturn(kReturn, kG1, 4, 15);
    orderHeader(kOrder, 0, {{"j_note", "三月订货"}});
    orderLine(kOrder, kG1, 3, 20);
    orderHeader("CD25031410002", 1);
    const PendingPurchases returns(db(), state, PurchaseListDocOf(PurchaseKind::Return));
    const PendingPurchases orders(db(), state, PurchaseListDocOf(PurchaseKind::Order));
    EXPECT_EQ(listed(returns.list("", "全部供货商", false), {"gl_djh", "th_yfje", "ghs_name"}), "CT25031410001|-60|普通供货商");
    EXPECT_EQ(listed(returns.lines(kReturn), {"g_sn", "th_sl", "g_name"}), "20000001|4|可乐");
    EXPECT_EQ(listed(orders.list("三月", "", true), {"gl_djh", "wfje"}), "CD25031410001|0");
    EXPECT_EQ(listed(orders.list("四月", "", false), {"gl_djh"}), "");
    EXPECT_EQ(listed(orders.lines(kOrder), {"g_sn", "jh_sl", "dj"}), "20000001|3|20");
}

// ---- Orders ---------------------------------------------------------------------------------

TEST_F(KindListsTest, APendingOrderGoesWithoutALogByItsLastLineAndWithOneWhole)
{
    orderHeader(kOrder, 0);
    const qint64 first = orderLine(kOrder, kG1, 3, 20);
    orderLine(kOrder, kG2, 2, 20);
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits(PurchaseKind::Order).deleteLine(kOrder, first).done());
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_cgd"), "40|40");
    const qint64 second = scalar("select id from jxc_cgsp").toLongLong();
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits(PurchaseKind::Order).deleteLine(kOrder, second).number.isEmpty());
    EXPECT_EQ(scalar("select count(*) from jxc_cgd"), "0");
    EXPECT_EQ(logs(), "");

    orderHeader(kOrder, 0);
    orderLine(kOrder, kG1, 3, 20);
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits(PurchaseKind::Order).deleteDocument(kOrder).done());
    EXPECT_EQ(logs(), "删除采购进货单：CD25031410001");
    EXPECT_EQ(scalar("select count(*) from jxc_cgsp"), "0");
}

TEST_F(KindListsTest, AnOrderAuditedElsewhereRefusesThePendingWrites)
{
    orderHeader(kOrder, 0);
    const qint64 line = orderLine(kOrder, kG1, 3, 20);
    // A second workstation audits it after this one read the pending list.
    ASSERT_TRUE(OrderAudit(db(), state, clock, notices).audit(kOrder));
    const QString before = rows("select * from jxc_cgsp order by id") + rows("select * from jxc_cgd");
    const QString refusal = "单据CD25031410001的状态已改变，请重新查询！";
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(edits(PurchaseKind::Order).deleteDocument(kOrder).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), refusal);
    EXPECT_FALSE(EditPurchaseCell(db(), state, notices, PurchaseKind::Order, CellPlace::Pending, kOrder, line,
                                  LineCell::Quantity, "5"));
    EXPECT_EQ(notices.last(), refusal);
    EXPECT_EQ(rows("select * from jxc_cgsp order by id") + rows("select * from jxc_cgd"), before);
    // An order no longer there is refused by the audited writes alike.
    notices.script({Notices::Answer::Yes});
    EXPECT_FALSE(OrderAudit(db(), state, clock, notices).toggleVoid("CD25031410009", false));
    EXPECT_EQ(notices.last(), "单据CD25031410009的状态已改变，请重新查询！");
}

TEST_F(KindListsTest, AuditedOrdersShowTheirProgressAndHideVoidOnes)
{
    orderHeader(kOrder, 1, {{"j_note", "三月订货"}});
    orderLine(kOrder, kG1, 10, 2);
    RunSql(db(), "update jxc_cgsp set jh_rksl = 4");
    orderHeader("CD25031010002", 1, {{"ck_sn", "100002"}, {"j_jhrq", "2025-03-10 23:58"}});
    orderLine("CD25031010002", kG2, 5, 3);
    orderHeader("CD25031010003", 1, {{"j_qk", 1}});
    orderLine("CD25031010003", kG2, 1, 3);
    orderHeader("CD25031010004", 0);
    // Nothing received yet but on the first order.
    RunSql(db(), "update jxc_cgsp set jh_rksl = 0 where gl_djh <> ?", {kOrder});

    PurchaseQueryCriteria c{"2025-03-01", "2025-03-10", "", ""};
    const PurchaseListQueries q = queries(PurchaseKind::Order);
    EXPECT_EQ(listed(q.documents(c), {"gl_djh"}), "CD25031010002; CD25031410001");
    EXPECT_EQ(listed(q.documentRows(kOrder), {"g_sn", "jh_rksl", "jh_sl", "dsl"}), "20000001|4|10|6");
    EXPECT_EQ(listed(q.details(c), {"gl_djh", "dsl", "j_qk"}), "CD25031410001|6|0; CD25031010002|5|0");
    c.showVoid = true;
    EXPECT_EQ(listed(q.documents(c), {"gl_djh", "j_qk"}), "CD25031010003|1; CD25031010002|0; CD25031410001|0");
    c.warehouse = "100002";
    EXPECT_EQ(listed(q.documents(c), {"gl_djh"}), "CD25031010002");
    EXPECT_EQ(listed(q.details(c), {"gl_djh"}), "CD25031010002");
    c.warehouse = "-1";
    c.key = "三月";
    EXPECT_EQ(listed(q.documents(c), {"gl_djh"}), "CD25031410001");
    c.key = "雪碧";
    EXPECT_EQ(listed(q.details(c), {"gl_djh"}), "CD25031010003; CD25031010002");
}

} // namespace
