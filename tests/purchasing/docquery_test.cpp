// The purchase document query without a window: receipts and returns as one document table
// (order, type filters, what is owed, the advanced search's filters), the summary and line
// table over both ledger kinds (returns counted negative, the owing filter), the payment and
// whole-return tests, a bulk cancel over both kinds, and the change of date of an order.

#include "purchase_fixture.h"

#include "engine/bulkunaudit.h"
#include "engine/postpurchase.h"
#include "foundation/db/sqlroutines.h"
#include "purchasing/docdatechange.h"
#include "purchasing/purchasedocquery.h"
#include "purchasing/receiptaudit.h"

#include <QRegularExpression>

namespace {

constexpr const char *kR1 = "CJ25030310001";
constexpr const char *kR2 = "CJ25030510001";
constexpr const char *kT1 = "CT25030510001";

class DocQueryTest : public PurchaseRulesTest
{
protected:
    PurchaseDocQuery query() { return PurchaseDocQuery(db(), state); }
    QString listed(const ListStatement &st, const QStringList &columns) const
    {
        QString order = st.order;
        order.remove(QRegularExpression("\\b[a-z]\\."));
        if (columns == QStringList{"count(*)"})  // a count has no order
            return rows(QStringLiteral("select count(*) from (%1) z").arg(st.body), st.binds);
        return rows(QStringLiteral("select %1 from (%2) z order by %3").arg(columns.join(", "), st.body, order), st.binds);
    }
    void audit(const QString &number)
    {
        ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(number), number) << notices.texts().join("/").toStdString();
    }
    // A pending return of G1 (quantity × price, refunded `refund`), audited through the engine.
    void auditedReturn(const QString &number, const QString &when, double quantity, double price, double refund,
                       const QString &warehouse = QStringLiteral("100001"))
    {
        const double total = quantity * price;
        insert("jxc_thd", {{"gl_djh", number}, {"ghs_sn", "100001"}, {"ck_sn", warehouse}, {"u_sn", "100001"},
                           {"th_thrq", when}, {"th_yfje", -total}, {"th_sfje", -refund}, {"th_hkje", 0.0},
                           {"th_status", 0}, {"th_jsfs", 1}, {"th_note", ""}, {"th_kmmc", "现金"}, {"a_name", "admin"}});
        insert("jxc_thsp", {{"gl_djh", number}, {"g_sn", kG1}, {"th_sl", quantity}, {"th_zsl", quantity}, {"th_dj", price},
                            {"th_je", total}, {"th_zje", total}, {"th_dzl", 1.0}, {"th_tax", 0.0}, {"th_taxdj", price},
                            {"th_taxje", 0.0}, {"dw_name", "瓶"}, {"a_name", "admin"}, {"id2", 0}, {"idck", 0}});
        AuditPurchaseReturn(db(), state, clock, number);
        RunSql(db(), "update jxc_thd set th_status = 1, th_checker = 'admin', th_chkrq = ? where gl_djh = ?",
               {when.left(10), number});
    }
    // R1 (03-03 09:00, G1 10 × 10.00, paid 30, kind 1), R2 (03-05 09:00, G2 5 × 10.00, paid
    // 50), T1 (03-05 09:00, G1 4 × 15.00, refunded 25).
    void threeDocuments()
    {
        savedReceipt(kR1, {{kG1, {10, 10}}}, 0, {{"j_jhrq", "2025-03-03 09:00"}, {"j_sfje", 30.0}, {"j_jsfs", 1}});
        savedReceipt(kR2, {{kG2, {5, 10}}}, 0, {{"j_jhrq", "2025-03-05 09:00"}, {"j_sfje", 50.0}, {"j_jsfs", 1}});
        audit(kR1);
        audit(kR2);
        auditedReturn(kT1, "2025-03-05 09:00", 4, 15, 25);
    }
    DocQueryCriteria month() const
    {
        DocQueryCriteria c;
        c.from = "2025-03-01";
        c.to = "2025-03-14";
        return c;
    }
};

TEST_F(DocQueryTest, DocumentTableListsReceiptsAndReturnsInEitherOrder)
{
    threeDocuments();
    DocQueryCriteria c = month();
    EXPECT_EQ(listed(query().documents(c), {"djh", "gtype", "wfje"}),
              "CJ25030510001|采购进货|0; CT25030510001|采购退货|-35; CJ25030310001|采购进货|70");
    c.descending = false;
    EXPECT_EQ(listed(query().documents(c), {"djh"}), "CJ25030310001; CJ25030510001; CT25030510001");
    // The return's typed NULL keeps the union valid on both databases.
    EXPECT_EQ(listed(query().documents(c), {"djh", "coalesce(j_th, -1)"}),
              "CJ25030310001|-1; CJ25030510001|-1; CT25030510001|-1");

    const QList<QPair<DocQueryType, QString>> filters{{DocQueryType::Receipts, "CJ25030310001; CJ25030510001"},
                                                      {DocQueryType::Returns, "CT25030510001"},
                                                      {DocQueryType::Owing, "CJ25030310001"}};
    for (const auto &f : filters) {
        c.type = f.first;
        EXPECT_EQ(listed(query().documents(c), {"djh"}), f.second) << int(f.first);
    }
    c.type = DocQueryType::All;
    c.key = "CT2503";
    EXPECT_EQ(listed(query().documents(c), {"djh"}), "CT25030510001");
    c.key = "ptghs";  // the supplier's short code, letter case ignored
    EXPECT_EQ(listed(query().documents(c), {"count(*)"}), "3");
}

TEST_F(DocQueryTest, ADocumentWhoseSupplierRowIsGoneStillShows)
{
    threeDocuments();
    RunSql(db(), "delete from jxc_ghsxx where ghs_sn = '100001'");
    EXPECT_EQ(listed(query().documents(month()), {"count(*)"}), "3");
}

TEST_F(DocQueryTest, SummaryCountsReturnsNegativeAndFollowsTheOwingFilter)
{
    threeDocuments();
    DocQueryCriteria c = month();
    EXPECT_EQ(listed(query().summary(c), {"g_sn", "sl", "zje"}), "20000001|6|40; 20000002|5|50");
    c.type = DocQueryType::Owing;
    EXPECT_EQ(listed(query().summary(c), {"g_sn", "sl", "zje"}), "20000001|10|100");
    EXPECT_EQ(listed(query().lines(c), {"gl_djh"}), "CJ25030310001");
    c.type = DocQueryType::Returns;
    EXPECT_EQ(listed(query().lines(c), {"gl_djh", "gl_sl"}), "CT25030510001|-4");
    c.type = DocQueryType::All;
    c.descending = false;
    EXPECT_EQ(listed(query().lines(c), {"gl_djh"}), "CJ25030310001; CJ25030510001; CT25030510001");
    EXPECT_EQ(listed(query().goodsRows(c, kG1), {"gl_djh"}), "CJ25030310001; CT25030510001");
}

TEST_F(DocQueryTest, AdvancedSearchLimitsWarehouseOperatorAndClass)
{
    threeDocuments();
    insert("jxc_ckxx", {{"ck_sn", "100002"}, {"ck_name", "分仓"}});
    insert("jxc_goodsclass", {{"gc_sn", "1001"}, {"gc_name", "饮料"}, {"gc_key", 3}, {"gc_pid", 2}, {"gc_cid", 3}});
    RunSql(db(), "update jxc_goods set gc_sn = '1001' where g_sn = ?", {kG2});
    RunSql(db(), "update jxc_jhd set ck_sn = '100002' where gl_djh = ?", {kR2});
    DocQueryCriteria c = month();
    DocSearchCriteria s{"2025-03-01", "2025-03-14", "", "-1", "所有操作员", ""};
    ApplyDocSearch(c, s);
    EXPECT_EQ(listed(query().documents(c), {"count(*)"}), "3");
    s.warehouse = "100002";
    ApplyDocSearch(c, s);
    EXPECT_EQ(listed(query().documents(c), {"djh"}), "CJ25030510001");
    s.warehouse = "-1";
    s.classCode = "1001";
    ApplyDocSearch(c, s);
    EXPECT_EQ(listed(query().summary(c), {"g_sn"}), "20000002");
    EXPECT_EQ(listed(query().lines(c), {"g_sn"}), "20000002");
    s.classCode.clear();
    s.operatorText = "li";
    ApplyDocSearch(c, s);
    EXPECT_EQ(listed(query().documents(c), {"count(*)"}), "0");
    EXPECT_EQ(listed(query().summary(c), {"count(*)"}), "0");
}

TEST_F(DocQueryTest, PaymentIsRefusedOnceADocumentIsSettled)
{
    struct Case { const char *number; double yfje, sfje, yhje, hkje; bool refused; };
    const Case cases[] = {
        {"CJ25030510001", 50, 50, 0, 0, true},   {"CJ25030310001", 100, 30, 0, 0, false},
        {"CJ25030310001", 100, 30, 0, 70, true}, {"CJ25030310001", 100, 30, 10, 50, false},
        {"CT25030510001", -60, -25, 0, 0, false}, {"CT25030510001", -60, -25, 0, -35, true},
    };
    for (const Case &k : cases)
        EXPECT_EQ(DocPaymentRefusal(k.number, k.yfje, k.sfje, k.yhje, k.hkje).isEmpty(), !k.refused) << k.number << k.hkje;
    EXPECT_EQ(DocPaymentRefusal("CJ25030510001", 50, 50, 0, 0), "该单据不需要付款！");
}

TEST_F(DocQueryTest, WholeReturnTakesOnlyAReceiptNotReturnedBefore)
{
    threeDocuments();
    RunSql(db(), "update jxc_jhd set j_th = 1 where gl_djh = ?", {kR2});
    bool found = false;
    EXPECT_EQ(DocWholeReturnRefusal(db(), kT1, &found), "单据CT25030510001不能退货，只有“CJ”开头的单据才能退货！");
    EXPECT_EQ(DocWholeReturnRefusal(db(), kR2, &found), "该单据已经进行过整单退货，不能重复退货！");
    EXPECT_EQ(DocWholeReturnRefusal(db(), kR1, &found), "");
    EXPECT_TRUE(found);
    EXPECT_EQ(DocWholeReturnRefusal(db(), "CJ25030910009", &found), "");
    EXPECT_FALSE(found);
}

TEST_F(DocQueryTest, CancellingAllTakesReceiptsAndReturnsEachThroughItsRoutine)
{
    threeDocuments();
    RunSql(db(), "delete from jxc_log");
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(RunBulkUnaudit(db(), state, clock, notices, {kR2, kT1, kR1}), 3);
    EXPECT_EQ(rows("select gl_djh, j_status from jxc_jhd order by gl_djh"), "CJ25030310001|0; CJ25030510001|0");
    EXPECT_EQ(scalar("select th_status from jxc_thd"), "0");
    EXPECT_EQ(scalar("select count(*) from jxc_log where log_note like '取消审核采购退货单CT25030510001%'"), "1");
    EXPECT_EQ(scalar("select count(*) from jxc_goodslist"), "0");
}

TEST_F(DocQueryTest, AnOrderIsRedatedOnHeaderAndLinesWithItsAmountsKept)
{
    insert("jxc_cgd", {{"gl_djh", "CD25031410001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"u_sn", "100001"},
                       {"j_jhrq", "2025-03-14 08:00"}, {"j_yfje", 80.0}, {"j_sfje", 20.0}, {"j_yhje", 0.0},
                       {"j_hkje", 0.0}, {"j_status", 0}, {"j_jsfs", 1}, {"j_note", "订"}, {"j_kmmc", "现金"},
                       {"gl_djh2", "Y1"}, {"a_name", "admin"}});
    draftLine("CD25031410001", kG1, 8, 10, "admin", "jxc_cgsp");
    draftLine("CD25031410001", kG2, 1, 0, "li", "jxc_cgsp");
    DocDateChangeRules rules(db(), state, clock, notices);
    const std::optional<DateChangeDoc> d = rules.open("CD25031410001");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->kind, PurchaseKind::Order);
    EXPECT_EQ(rules.numberForDay(*d, "2025-03-10"), "CD25031010001");
    DateChangeInput in;
    in.day = "2025-03-10";
    in.warehouseSn = "100001";
    in.supplierSn = d->supplierSn;
    in.supplierName = in.supplierText = d->supplierName;
    in.handlerSn = "100001";
    in.note = d->note;
    in.settleIndex = d->settleIndex;
    in.accountText = d->accountName;
    in.payable = d->payable;
    in.paid = d->paid;
    in.originalNo = d->originalNo;
    const PurchaseResult r = rules.save(*d, "CD25031010001", in);
    ASSERT_TRUE(r.done()) << notices.texts().join("/").toStdString();
    EXPECT_EQ(r.number, "CD25031010001");
    EXPECT_EQ(rows("select gl_djh, j_jhrq, j_yfje, j_sfje, j_note, gl_djh2, j_status from jxc_cgd"),
              "CD25031010001|2025-03-10 09:30|80|20|订|Y1|0");
    EXPECT_EQ(scalar("select count(*) from jxc_cgsp where gl_djh = 'CD25031010001'"), "2");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp"), "0");
}

} // namespace
