// The purchase receipt's list pages without a window: changes to pending receipts (lines,
// whole documents) and their guard against a document audited meanwhile, the query views,
// cancel-audit of the whole list and the whole-return check.

#include "purchase_fixture.h"

#include "engine/bulkunaudit.h"
#include "foundation/db/sqlroutines.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchaselinemath.h"
#include "purchasing/purchaselistqueries.h"
#include "purchasing/receiptaudit.h"

#include <QRegularExpression>

namespace {

class PurchaseListsTest : public PurchaseRulesTest
{
protected:
    PendingDocEdits edits() { return PendingDocEdits(db(), state, clock, notices, PurchaseListDocOf(PurchaseKind::Receipt)); }
    PurchaseListQueries queries() { return PurchaseListQueries(db(), state, PurchaseListDocOf(PurchaseKind::Receipt)); }
    QString logs() const { return rows("select log_note from jxc_log order by id"); }
    // The rows of a list statement, the named columns joined.
    QString listed(const ListStatement &st, const QStringList &columns) const
    {
        return rows(QStringLiteral("select %1 from (%2) z order by %3")
                        .arg(columns.join(", "), st.body, QString(st.order).remove(QRegularExpression("\\b[a-z]\\."))),
                    st.binds);
    }
    void audit(const QString &number) { ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(number), number) << notices.texts().join("/").toStdString(); }
    QString owner(const QString &number) const { return scalar("select count(*) from jxc_jhd where gl_djh = ?", {number}); }
};

constexpr const char *kSecond = "CJ25031410002";

TEST_F(PurchaseListsTest, DeletingTheLastLineDeletesTheDocument)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}});
    const qint64 line = scalar("select id from jxc_jhsp where gl_djh = ?", {kFirstNumber}).toLongLong();
    notices.script({Notices::Answer::Yes});
    const PurchaseResult r = edits().deleteLine(kFirstNumber, line);
    EXPECT_TRUE(r.done());
    EXPECT_TRUE(r.number.isEmpty());
    EXPECT_EQ(notices.texts(), QStringList{"您确定要删除当前选中的商品吗！"});
    EXPECT_EQ(owner(kFirstNumber), "0");
    EXPECT_EQ(logs(), "因删除单据的所有商品而删除采购进货单：CJ25031410001");
}

TEST_F(PurchaseListsTest, DeletingOneOfTwoLinesResumsTheHeader)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}, {kG2, {1, 5}}});
    const qint64 line = scalar("select max(id) from jxc_jhsp where gl_djh = ?", {kFirstNumber}).toLongLong();
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits().deleteLine(kFirstNumber, line).done());
    EXPECT_EQ(rows("select j_yfje, j_sfje from jxc_jhd where gl_djh = ?", {kFirstNumber}), "20|20");
    EXPECT_EQ(logs(), "");
    notices.script({Notices::Answer::No});
    EXPECT_EQ(edits().deleteLine(kFirstNumber, line - 1).status, PurchaseStatus::Declined);
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "1");
}

TEST_F(PurchaseListsTest, DeletingTheDocumentTakesEveryLineAndItsContract)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}}, 0, {{"ht_sn", "100003"}});
    draftLine(kFirstNumber, kG2, 1, 5, "li");
    insert("jxc_htgl", {{"ht_sn", "100003"}, {"gl_djh", kFirstNumber}, {"ht_path", ""}, {"ht_fjname", ""}});
    notices.script({Notices::Answer::No});
    EXPECT_EQ(edits().deleteDocument(kFirstNumber).status, PurchaseStatus::Declined);
    EXPECT_EQ(owner(kFirstNumber), "1");

    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(edits().deleteDocument(kFirstNumber).done());
    EXPECT_EQ(notices.last(), "您确定要删除“待审核”单据吗！");
    EXPECT_EQ(owner(kFirstNumber), "0");
    EXPECT_EQ(scalar("select count(*) from jxc_jhsp where gl_djh = ?", {kFirstNumber}), "0");
    EXPECT_EQ(scalar("select count(*) from jxc_htgl where ht_sn = '100003'"), "0");
    EXPECT_EQ(logs(), "删除采购进货单：CJ25031410001");
}

TEST_F(PurchaseListsTest, EveryPendingWriteRefusesADocumentAuditedMeanwhile)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}, {kG2, {1, 5}}});
    const qint64 line = scalar("select min(id) from jxc_jhsp where gl_djh = ?", {kFirstNumber}).toLongLong();
    // Another workstation audits it after the list was read.
    audit(kFirstNumber);
    notices.shown.clear();
    const QString before = rows("select * from jxc_jhsp order by id") + rows("select * from jxc_jhd");
    const QString refusal = "单据CJ25031410001的状态已改变，请重新查询！";

    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(edits().deleteLine(kFirstNumber, line).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), refusal);
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(edits().deleteDocument(kFirstNumber).status, PurchaseStatus::Refused);
    EXPECT_EQ(notices.last(), refusal);
    EXPECT_FALSE(EditPurchaseCell(db(), state, notices, PurchaseKind::Receipt, CellPlace::Pending, kFirstNumber, line,
                                  LineCell::Quantity, "3"));
    EXPECT_EQ(notices.last(), refusal);
    EXPECT_EQ(rows("select * from jxc_jhsp order by id") + rows("select * from jxc_jhd"), before);
}

TEST_F(PurchaseListsTest, DocumentTableShowsWhatIsStillOwed)
{
    savedReceipt(kFirstNumber, {{kG1, {10, 10}}}, 0, {{"j_sfje", 30.0}, {"j_jsfs", 1}});
    audit(kFirstNumber);
    RunSql(db(), "update jxc_jhd set j_hkje = 20");
    PurchaseQueryCriteria c{"2025-03-01", "2025-03-14", "", ""};
    EXPECT_EQ(listed(queries().documents(c), {"gl_djh", "wfje", "gtype", "ghs_name"}), "CJ25031410001|50|采购进货|普通供货商");
    c.supplier = "PTGHS";
    EXPECT_EQ(listed(queries().documents(c), {"gl_djh"}), "CJ25031410001");
    c.supplier = "某某";
    EXPECT_EQ(listed(queries().documents(c), {"gl_djh"}), "");
}

TEST_F(PurchaseListsTest, SummaryAndDetailsOverTheLedgerRowsOfThePeriod)
{
    savedReceipt("CJ25030510001", {{kG1, {10, 5}}}, 0, {{"j_jhrq", "2025-03-05 10:00"}});
    savedReceipt("CJ25030610001", {{kG1, {4, 7}}}, 0, {{"j_jhrq", "2025-03-06 10:00"}});
    savedReceipt("CJ25022810001", {{kG2, {1, 3}}}, 0, {{"j_jhrq", "2025-02-28 18:00"}});
    for (const char *n : {"CJ25030510001", "CJ25030610001", "CJ25022810001"})
        audit(n);
    const PurchaseQueryCriteria month{"2025-03-01", "2025-03-14", "", ""};
    EXPECT_EQ(listed(queries().summary(month), {"g_sn", "sl", "je", "zje"}), "20000001|14|78|78");
    EXPECT_EQ(listed(queries().details(month), {"gl_djh", "g_sn"}), "CJ25030510001|20000001; CJ25030610001|20000001");
    EXPECT_EQ(listed(queries().goodsRows(month, kG1), {"gl_djh"}), "CJ25030510001; CJ25030610001");
    EXPECT_EQ(listed(queries().documents(month), {"gl_djh"}), "CJ25030610001; CJ25030510001");
    const PurchaseQueryCriteria last{"2025-02-01", "2025-02-28", "", ""};
    EXPECT_EQ(listed(queries().documents(last), {"gl_djh"}), "CJ25022810001");
    PurchaseQueryCriteria keyed = month;
    keyed.key = "20000002";
    EXPECT_EQ(listed(queries().summary(keyed), {"g_sn"}), "");
    EXPECT_EQ(listed(queries().documentRows("CJ25030610001"), {"g_sn", "gl_sl"}), "20000001|4");
}

TEST_F(PurchaseListsTest, CancellingTheWholeListCountsOnlyWhatWasCancelled)
{
    for (const char *n : {"CJ25031410001", "CJ25031410002", "CJ25031410003"}) {
        savedReceipt(n, {{kG1, {1, 10}}});
        audit(n);
    }
    insert("jxc_rksp", {{"gl_djh", "CJ25031410002"}, {"g_sn", kG1}});
    notices.shown.clear();
    notices.script({Notices::Answer::Yes, Notices::Answer::No});
    EXPECT_EQ(RunBulkUnaudit(db(), state, clock, notices, {"CJ25031410001", "CJ25031410002", "CJ25031410003"}), 2);
    const QStringList shown = notices.texts();
    ASSERT_EQ(shown.size(), 3) << shown.join("/").toStdString();
    EXPECT_TRUE(shown[0].startsWith("您的操作将取消当前界面中所有已审核的单据"));
    EXPECT_EQ(shown[2], "取消审核完成，共 3 个单据，\r\n\r\n取消审核 2 个单据，\r\n\r\n如果有未取消审核的单据，\r\n\r\n请单独取消审核！");
    EXPECT_EQ(rows("select gl_djh, j_status, j_checker, j_hkje from jxc_jhd order by gl_djh"),
              "CJ25031410001|0||0; CJ25031410002|1|admin|0; CJ25031410003|0||0");
    notices.script({Notices::Answer::No});
    EXPECT_EQ(RunBulkUnaudit(db(), state, clock, notices, {"CJ25031410002"}), -1);
}

TEST_F(PurchaseListsTest, AWholeReturnNeedsAReceiptNotReturnedBefore)
{
    savedReceipt(kFirstNumber, {{kG1, {1, 10}}}, 1);
    savedReceipt(kSecond, {{kG1, {1, 10}}}, 1, {{"j_th", 1}});
    EXPECT_EQ(WholeReturnRefusal(db(), kFirstNumber), "");
    EXPECT_EQ(WholeReturnRefusal(db(), kSecond), "该单据已经进行过整单退货，不能重复退货！");
    EXPECT_EQ(WholeReturnRefusal(db(), "CT25030510001"), "单据CT25030510001不能退货，只有“CJ”开头的单据才能退货！");
}

} // namespace
