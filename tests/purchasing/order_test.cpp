// Purchase orders: scanning and the kit on the order's lines, the save (settlement, pending or
// audited at once, a header saved under the number meanwhile), the audit that opens the lines,
// cancel-audit and void with their refusals, and the import of open order lines into a receipt
// with the order's progress through the receipt's audit and its cancel.

#include "purchase_fixture.h"

#include "engine/audit.h"
#include "engine/unaudit.h"
#include "foundation/numbering.h"
#include "purchasing/orderaudit.h"
#include "purchasing/orderimport.h"
#include "purchasing/receiptentry.h"
#include "purchasing/receiptsave.h"

namespace {

const char *kOrder = "CD25031410001";

class OrderRulesTest : public PurchaseRulesTest
{
protected:
    PurchaseHeaderInput header(double payable, double paid, int settle = 1) const
    {
        return FixtureHeader(payable, paid, settle);
    }
    qint64 orderLine(const QString &number, const QString &goods, double quantity, double price,
                     const QString &who = QStringLiteral("admin"))
    {
        return draftLine(number, goods, quantity, price, who, QStringLiteral("jxc_cgsp"));
    }
    PurchaseSaveResult save(const PurchaseHeaderInput &in, const QString &number = kOrder)
    {
        const int lines = scalar("select count(*) from jxc_cgsp where gl_djh = ? and a_name = 'admin'", {number}).toInt();
        return ReceiptSave(db(), state, clock, notices, PurchaseKind::Order).save(number, lines, in);
    }
    // A saved order header (pending unless status 1).
    void orderHeader(const QString &number, int status, const QVariantMap &extra = {})
    {
        SavedOrderHeader(db(), number, status, extra);
    }
    OrderAudit audit() { return OrderAudit(db(), state, clock, notices); }
};

TEST_F(OrderRulesTest, ScanAppendsALineOfOneEveryTimeAndTheKitReceivesItsQuantity)
{
    DocumentContext c = entry(PurchaseKind::Order);
    ReceiptEntry e(db(), state, notices, PurchaseKind::Order);
    state.SeparateStockIn = "1";
    state.ScanAddsQty = "1";
    const PurchaseResult r = e.scan(c, "6901", false);
    ASSERT_TRUE(r.done());
    EXPECT_EQ(row("jxc_cgsp", {"gl_djh", "jh_dj", "jh_taxdj", "jh_sl", "jh_zsl", "jh_je", "jh_zje", "jh_tax", "jh_taxje",
                               "jh_dzl", "jh_rksl", "dw_name", "g_sptm"},
                  r.lineId),
              "CD25031410001|2.35|2.35|1|1|2.35|2.35|0|0|1|1|瓶|6901");
    ASSERT_TRUE(e.scan(c, "6901", false).done());
    EXPECT_EQ(scalar("select count(*) from jxc_cgsp"), "2");
    EXPECT_FALSE(e.scan(c, "6901", true).done());
    EXPECT_EQ(notices.texts().last(), "该商品已添加，不能重复添加，\r\n\r\n可以修改已添加商品的数量！");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp"), "0");

    insert("jxc_plxx", {{"g_sn", "30000001"}, {"pl_gsn", kG2}, {"pl_sl", 3.0}});
    QString note;
    ASSERT_TRUE(e.addKit(c, {"30000001", "礼盒", "2"}, &note).done());
    EXPECT_EQ(rows("select jh_sl, jh_zsl, jh_rksl, jh_dj, jh_je, jh_zje from jxc_cgsp where g_sn = ?", {kG2}), "6|6|6|3|18|18");
    EXPECT_EQ(note, "礼盒：【数量：2】  配料入库。");
    // Totals leave the reserved settlement line out.
    orderLine(kOrder, "00000000", 0, 0);
    RunSql(db(), "update jxc_cgsp set jh_zje = -5 where g_sn = '00000000'");
    EXPECT_NEAR(e.payable(kOrder), 2.35 * 2 + 18, 1e-8);
}

TEST_F(OrderRulesTest, SettlementDecidesWhatIsDue)
{
    struct Case
    {
        int settle;
        const char *diffMode;
        const char *stored;
    };
    const Case cases[] = {{0, "0", "80|80"}, {0, "1", "100|80"}, {1, "0", "100|80"}};
    for (const Case &c : cases) {
        RunSql(db(), "delete from jxc_cgd");
        RunSql(db(), "delete from jxc_cgsp");
        orderLine(kOrder, kG1, 4, 25);
        state.SettleDiffMode = c.diffMode;
        notices.script({Notices::Answer::Yes});
        ASSERT_TRUE(save(header(100, 80, c.settle)).saved());
        EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_cgd"), c.stored) << c.settle << c.diffMode;
    }
}

TEST_F(OrderRulesTest, PendingSaveAndAuditOnSave)
{
    orderLine(kOrder, kG1, 4, 25);
    notices.script({Notices::Answer::Yes});
    PurchaseSaveResult r = save(header(100, 100));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(notices.texts().first(), "单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的采购订单，可以在“待审核"
                                       "\r\n\r\n采购订单”面板中，进行修改及审核操作！");
    EXPECT_EQ(rows("select j_status, j_qk, j_jhrq, j_th, j_yhje, j_hkje, j_checker from jxc_cgd"),
              "0|0|2025-03-14 09:30|0|0|0|");
    EXPECT_EQ(scalar("select log_note from jxc_log where log_note like '增加未审核采购订单%'"),
              "增加未审核采购订单CD25031410001，共1种商品");
    EXPECT_EQ(GetNewDjhByDate(db(), "jxc_cgd", "gl_djh", "CD", "2025-03-14"), "CD25031410002");

    // Audited at once: the lines open, nothing is logged.
    state.AuditOnSave = "1";
    const qint64 line = orderLine("CD25031410002", kG2, 2, 3);
    RunSql(db(), "update jxc_cgsp set jh_rksl = 2, jh_qxsl = 1 where id = ?", {line});
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    r = save(header(6, 6), "CD25031410002");
    ASSERT_TRUE(r.saved());
    EXPECT_TRUE(r.audited);
    EXPECT_EQ(notices.texts().first(), "单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“采购订单查询”功能中取消审核！");
    EXPECT_EQ(rows("select j_status, j_checker, j_chkrq from jxc_cgd where gl_djh = 'CD25031410002'"), "1|admin|2025-03-14");
    EXPECT_EQ(row("jxc_cgsp", {"jh_rksl", "jh_qxsl", "case when id2 = id then 'same' else 'other' end"}, line), "0|0|same");
    EXPECT_EQ(scalar("select count(*) from jxc_log where log_note like '%CD25031410002%'"), "0");
}

TEST_F(OrderRulesTest, AHeaderSavedUnderTheNumberMovesTheSave)
{
    orderLine(kOrder, kG1, 4, 25);
    orderHeader(kOrder, 0, {{"a_name", "wang"}});
    notices.script({Notices::Answer::Yes});
    const PurchaseSaveResult r = save(header(100, 100));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.number, "CD25031410002");
    EXPECT_EQ(scalar("select gl_djh from jxc_cgsp"), "CD25031410002");
    EXPECT_EQ(rows("select gl_djh, a_name from jxc_cgd order by id"), "CD25031410001|wang; CD25031410002|admin");
}

TEST_F(OrderRulesTest, AuditKeepsTheFirstHeaderAndOpensEveryLine)
{
    orderHeader(kOrder, 0);
    orderHeader(kOrder, 0, {{"a_name", "wang"}});
    const qint64 a = orderLine(kOrder, kG1, 3, 20);
    const qint64 b = orderLine(kOrder, kG2, 2, 20, "wang");
    RunSql(db(), "update jxc_cgsp set jh_rksl = 1, jh_qxsl = 1");
    const QString first = scalar("select min(id) from jxc_cgd");
    ASSERT_TRUE(audit().audit(kOrder));
    EXPECT_EQ(rows("select id, j_status, j_checker, j_chkrq from jxc_cgd"), first + "|1|admin|2025-03-14");
    for (qint64 id : {a, b})
        EXPECT_EQ(row("jxc_cgsp", {"jh_rksl", "jh_qxsl", "case when id2 = id then 'same' else 'other' end"}, id), "0|0|same");
    // Audited already: a pending copy saved meanwhile goes, nothing else changes.
    RunSql(db(), "update jxc_cgsp set jh_rksl = 1");
    orderHeader(kOrder, 0);
    EXPECT_FALSE(audit().audit(kOrder));
    EXPECT_EQ(scalar("select count(*) from jxc_cgd"), "1");
    EXPECT_EQ(scalar("select sum(jh_rksl) from jxc_cgsp"), "2");
    EXPECT_EQ(scalar("select count(*) from jxc_log"), "0");
}

TEST_F(OrderRulesTest, CancelAuditRefusesReceivedOrdersAndKeepsLinesAndVoid)
{
    orderHeader(kOrder, 0);
    const qint64 line = orderLine(kOrder, kG1, 10, 2);
    ASSERT_TRUE(audit().audit(kOrder));

    EXPECT_FALSE(audit().cancelAudit(kOrder, true));
    EXPECT_EQ(notices.texts().last(), "取消审核操作只能在“单据表”进行。");

    RunSql(db(), "update jxc_cgsp set jh_rksl = 4");
    notices.shown.clear();
    EXPECT_FALSE(audit().cancelAudit(kOrder, false));
    EXPECT_EQ(notices.texts(), QStringList{"该订单CD25031410001已有进货信息，不能取消审核！"});
    EXPECT_EQ(scalar("select j_status from jxc_cgd"), "1");

    // Void, then cancel and audit again: the void flag stays.
    RunSql(db(), "update jxc_cgsp set jh_rksl = 0");
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(audit().toggleVoid(kOrder, false));
    EXPECT_EQ(notices.texts(), QStringList{"单据作废后不能继续导入到采购进货，确认吗？"});
    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(audit().cancelAudit(kOrder, false));
    EXPECT_EQ(notices.texts().last(), "您的操作将取消审核当前的单据，确认吗？");
    EXPECT_EQ(rows("select j_status, j_checker, j_chkrq, j_qk from jxc_cgd"), "0|||1");
    EXPECT_EQ(row("jxc_cgsp", {"case when id2 = id then 'same' else 'other' end"}, line), "same");
    ASSERT_TRUE(audit().audit(kOrder));
    EXPECT_EQ(scalar("select j_qk from jxc_cgd"), "1");
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(audit().toggleVoid(kOrder, true));
    EXPECT_EQ(notices.texts(), QStringList{"您的操作将取消该单据的作废状态，确认吗？"});
    EXPECT_EQ(scalar("select j_qk from jxc_cgd"), "0");
}

TEST_F(OrderRulesTest, AStaleListChangesNothing)
{
    orderHeader(kOrder, 0);
    orderLine(kOrder, kG1, 10, 2);
    RunSql(db(), "update jxc_cgsp set jh_rksl = 0");
    // Another workstation cancelled the audit after this one read its audited list.
    notices.script({Notices::Answer::Yes});
    EXPECT_FALSE(audit().toggleVoid(kOrder, false));
    EXPECT_EQ(notices.texts().last(), "单据CD25031410001的状态已改变，请重新查询！");
    notices.script({Notices::Answer::Yes});
    EXPECT_FALSE(audit().cancelAudit(kOrder, false));
    EXPECT_EQ(notices.texts().last(), "单据CD25031410001的状态已改变，请重新查询！");
    EXPECT_EQ(rows("select j_status, j_qk from jxc_cgd"), "0|0");
}

TEST_F(OrderRulesTest, AuditAllGoesOverEveryOrderAfterOneQuestion)
{
    orderHeader(kOrder, 0);
    orderHeader("CD25031410002", 0);
    orderLine(kOrder, kG1, 1, 2);
    orderLine("CD25031410002", kG1, 1, 2);
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(audit().auditAll({kOrder, "CD25031410002"}), 2);
    EXPECT_EQ(notices.texts(), QStringList{"您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n（如需审核某个单据，请按右键！）"});
    EXPECT_EQ(scalar("select count(*) from jxc_cgd where j_status = 1"), "2");
}

// The import of open order lines and the order's progress.
class OrderImportTest : public OrderRulesTest
{
protected:
    void SetUp() override
    {
        OrderRulesTest::SetUp();
        if (IsSkipped())
            return;
        state.UsePurchaseOrder = "1";
        orderHeader("CD25031010001", 0, {{"j_note", "三月订货"}});
        m_orderLine = orderLine("CD25031010001", kG1, 8, 12.5);
        ASSERT_TRUE(audit().audit("CD25031010001"));
        // 3 received through an audited receipt.
        DocumentContext r = entry();
        r.number = "CJ25031210001";
        r.day = "2025-03-12";
        ASSERT_TRUE(importer().importDocument(r, "CD25031010001", false).has_value());
        RunSql(db(), "update jxc_jhsp set jh_sl = 3, jh_zsl = 3, jh_rksl = 3, jh_je = 37.5, jh_zje = 37.5");
        savedReceiptHeader("CJ25031210001");
        ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, "CJ25031210001").audited());
    }
    void savedReceiptHeader(const QString &number)
    {
        insert("jxc_jhd", {{"gl_djh", number}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"j_jhrq", "2025-03-12 09:00"},
                           {"j_yfje", 0.0},    {"j_sfje", 0.0},      {"u_sn", "100001"},  {"a_name", "admin"},
                           {"j_status", 0},    {"j_jsfs", 1},        {"j_kmmc", "现金"},  {"j_yhje", 0.0},
                           {"j_hkje", 0.0},    {"j_crk", 1},         {"j_qk", 1},         {"j_th", 0}});
    }
    OrderImportRules importer() { return OrderImportRules(db(), state, notices); }
    OrderImportFilter period(bool finished = false) const
    {
        OrderImportFilter f;
        f.from = "2025-03-01";
        f.to = "2025-03-14";
        f.showFinished = finished;
        return f;
    }
    QString listed(const ListStatement &st, const QString &columns) const
    {
        return rows(QStringLiteral("select %1 from (%2) x order by %3").arg(columns, st.body, QStringLiteral("1")), st.binds);
    }
    qint64 m_orderLine = 0;
};

TEST_F(OrderImportTest, ViewsShowWhatRemains)
{
    EXPECT_EQ(row("jxc_cgsp", {"jh_rksl", "jh_qxsl"}, m_orderLine), "3|0");
    EXPECT_EQ(listed(importer().documents(period()), "gl_djh, ck_name, j_note"), "CD25031010001|主仓库|三月订货");
    EXPECT_EQ(listed(importer().orderLines("CD25031010001"), "jh_rksl, jh_sl, dsl"), "3|8|5");
    EXPECT_EQ(listed(importer().lines(period()), "gl_djh, jh_rksl, jh_sl, dsl, ghs_name"), "CD25031010001|3|8|5|普通供货商");
    OrderImportFilter f = period();
    f.key = "三月";  // not a searched field
    EXPECT_EQ(listed(importer().documents(f), "gl_djh"), "");
    f.key = "cd2503";
    EXPECT_EQ(listed(importer().documents(f), "gl_djh"), "CD25031010001");
    f = period();
    f.warehouse = "100002";
    EXPECT_EQ(listed(importer().lines(f), "gl_djh"), "");
}

TEST_F(OrderImportTest, DocumentReplacesTheDraftWithTheRemainingQuantities)
{
    DocumentContext r = entry();
    draftLine(r.number, kG2, 1, 3);
    const int heard = linesChanged;
    const std::optional<ImportedOrderHeader> h = importer().importDocument(r, "CD25031010001", false);
    ASSERT_TRUE(h.has_value());
    EXPECT_TRUE(h->wholeDocument);
    EXPECT_EQ(h->note, "三月订货");
    EXPECT_EQ(h->supplierName, "普通供货商");
    EXPECT_EQ(h->warehouseName, "主仓库");
    EXPECT_EQ(h->accountText, "现金");
    EXPECT_EQ(linesChanged, heard + 1);
    EXPECT_EQ(rows("select g_sn, jh_sl, jh_je, jh_zje, jh_taxje, jh_zsl, jh_rksl, gl_djh2, "
                   "case when id3 = ? then 'ok' else 'bad' end from jxc_jhsp where gl_djh = ?",
                   {scalar("select id2 from jxc_cgsp where id = ?", {m_orderLine}), r.number}),
              "20000001|5|62.5|62.5|0|5|5|CD25031010001|ok");

    ASSERT_TRUE(importer().importDocument(r, "CD25031010001", true).has_value());
    EXPECT_EQ(rows("select jh_sl, jh_zje from jxc_jhsp where gl_djh = ?", {r.number}), "8|100");
    state.SeparateStockIn = "1";
    ASSERT_TRUE(importer().importDocument(r, "CD25031010001", false).has_value());
    EXPECT_EQ(rows("select jh_sl, jh_rksl from jxc_jhsp where gl_djh = ?", {r.number}), "5|0");
}

TEST_F(OrderImportTest, BaseQuantitiesScaleAndAnotherOperatorsNumberMovesTheLines)
{
    orderHeader("CD25031010002", 0);
    const qint64 box = orderLine("CD25031010002", kG3, 10, 30);
    RunSql(db(), "update jxc_cgsp set jh_zsl = 120, dw_name = '箱' where id = ?", {box});
    ASSERT_TRUE(audit().audit("CD25031010002"));
    RunSql(db(), "update jxc_cgsp set jh_rksl = 4 where id = ?", {box});
    DocumentContext r = entry();
    draftLine(r.number, kG2, 1, 3, "wang");
    ASSERT_TRUE(importer().importDocument(r, "CD25031010002", false).has_value());
    EXPECT_EQ(renumbered, QStringList{"CJ25031410002"});
    EXPECT_EQ(rows("select jh_sl, jh_zsl, dw_name from jxc_jhsp where gl_djh = 'CJ25031410002'"), "6|72|箱");
}

TEST_F(OrderImportTest, LinesAreAppendedInSelectionOrderWithTheFirstOrdersHeader)
{
    orderHeader("CD25031010002", 0, {{"j_note", "第二张"}});
    const qint64 other = orderLine("CD25031010002", kG2, 4, 3);
    ASSERT_TRUE(audit().audit("CD25031010002"));
    DocumentContext r = entry();
    draftLine(r.number, kG3, 1, 2.5);
    EXPECT_FALSE(importer().importLines(r, {}, false).has_value());
    const std::optional<ImportedOrderHeader> h = importer().importLines(r, {other, m_orderLine, m_orderLine}, false);
    ASSERT_TRUE(h.has_value());
    EXPECT_FALSE(h->wholeDocument);
    EXPECT_EQ(h->note, "第二张");
    EXPECT_EQ(rows("select g_sn, jh_sl, gl_djh2 from jxc_jhsp where gl_djh = ? order by id", {r.number}),
              "20000003|1|; 20000002|4|CD25031010002; 20000001|5|CD25031010001; 20000001|5|CD25031010001");
}

TEST_F(OrderImportTest, ProgressFollowsTheReceiptsAuditAndItsCancel)
{
    DocumentContext r = entry();
    ASSERT_TRUE(importer().importDocument(r, "CD25031010001", false).has_value());
    savedReceiptHeader(r.number);
    ASSERT_TRUE(RunAuditPurchaseIn(db(), state, clock, r.number).audited());
    EXPECT_EQ(row("jxc_cgsp", {"jh_rksl", "jh_qxsl"}, m_orderLine), "8|1");
    EXPECT_EQ(listed(importer().documents(period()), "gl_djh"), "");
    EXPECT_EQ(listed(importer().lines(period()), "gl_djh"), "");
    EXPECT_EQ(listed(importer().documents(period(true)), "gl_djh"), "CD25031010001");
    // A finished order writes no line but still hands its header back.
    DocumentContext next = entry();
    next.number = "CJ25031410009";
    ASSERT_TRUE(importer().importDocument(next, "CD25031010001", false).has_value());
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = 'CJ25031410009'"), "0");

    notices.script({Notices::Answer::Yes, Notices::Answer::Yes});
    ASSERT_EQ(UnauditPurchaseIn(db(), state, clock, notices, r.number), UnauditOutcome::Done);
    EXPECT_EQ(row("jxc_cgsp", {"jh_rksl", "jh_qxsl"}, m_orderLine), "3|0");
    EXPECT_EQ(listed(importer().orderLines("CD25031010001"), "dsl"), "5");
}

TEST_F(OrderImportTest, VoidOrdersAreNeverOffered)
{
    notices.script({Notices::Answer::Yes});
    ASSERT_TRUE(audit().toggleVoid("CD25031010001", false));
    for (bool finished : {false, true}) {
        EXPECT_EQ(listed(importer().documents(period(finished)), "gl_djh"), "");
        EXPECT_EQ(listed(importer().lines(period(finished)), "gl_djh"), "");
    }
}

} // namespace
