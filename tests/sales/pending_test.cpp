// The pending sales: their audit one by one and all at once (questions, refusals, stray copies,
// two operators' copies), the pending list with its filters and warehouse binding, the lines of
// every operator, the header re-sum after a line changed, deleting lines and whole sales.

#include "sale_fixture.h"

#include "sales/pendingsales.h"
#include "sales/saleaudit.h"
#include "sales/saleentry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class PendingSaleTest : public SaleRulesTest
{
protected:
    // A 5 + B 2 pending under `number`: 23.50 due and received.
    void pendingFiveAndTwo(const QString &number = QString::fromLatin1(kSaleNumber), const QVariantMap &extra = {})
    {
        PendingSaleHeader(db(), number, 23.5, 23.5, extra);
        SaleLine(db(), number, kA, 5, 3.5);
        SaleLine(db(), number, kB, 2, 3.0);
    }
    SaleAuditRules audit() { return SaleAuditRules(db(), state, clock, notices); }
    PendingSaleRules pending() { return PendingSaleRules(db(), state, clock, notices); }
    QString listed(const QString &key, const QString &customer, bool descending = false)
    {
        const ListStatement st = pending().list(key, customer, descending);
        return rows(QStringLiteral("select gl_djh from (%1) q order by %2")
                        .arg(st.body, QString(st.order).replace(QStringLiteral("a."), QString())),
                    st.binds);
    }
    QString headers() const { return scalar("select count(*) from jxc_lsxsd"); }
    QString stock() const
    {
        return rows("select kc_sl from jxc_kcsp where ck_sn = '100001' and g_sn in (?, ?) order by g_sn", {kA, kB});
    }
    QString header(const QString &number = QString::fromLatin1(kSaleNumber)) const
    {
        return rows("select ls_yfje, ls_sfje from jxc_lsxsd where gl_djh = ?", {number});
    }
};

TEST_F(PendingSaleTest, CheckDjAuditsOrLeavesTheSalePending)
{
    // No line: nothing shown, nothing written.
    PendingSaleHeader(db(), "XS25031410009", 0, 0);
    EXPECT_EQ(audit().checkDj("XS25031410009"), "");
    EXPECT_TRUE(notices.shown.isEmpty());

    pendingFiveAndTwo();
    notices.script({Notices::Answer::Yes});
    EXPECT_TRUE(audit().auditSelected(kSaleNumber));
    EXPECT_EQ(notices.texts().first(), "您的操作将审核当前选中的单据，确认吗？");
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd where gl_djh = ?", {kSaleNumber}), "1");
    EXPECT_EQ(stock(), "43; 8");
}

TEST_F(PendingSaleTest, ShortStockOrANoToThePrepaymentKeepsItPending)
{
    pendingFiveAndTwo();
    RunSql(db(), "update jxc_kcsp set kc_sl = 3 where g_sn = ?", {kA});
    EXPECT_EQ(audit().checkDj(kSaleNumber), "");
    EXPECT_EQ(notices.texts(), QStringList{"该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能销售！"});
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd"), "0");
    EXPECT_EQ(scalar("select count(*) from jxc_goodslist where gl_djh like 'XS%'"), "0");

    RunSql(db(), "update jxc_kcsp set kc_sl = 48 where g_sn = ?", {kA});
    RunSql(db(), "update jxc_lsxsd set ls_jsfs = 1, ls_sfje = 0");
    state.WarnShortPrepayment = "1";
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_EQ(audit().checkDj(kSaleNumber), "");
    EXPECT_EQ(notices.texts(), QStringList{"该客户当前的预付款余额为：0，\r\n\r\n不足以支付本单的金额。\r\n\r\n继续保存吗？"});
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd"), "0");
}

TEST_F(PendingSaleTest, AuditAllGoesThroughTheListInOrderPastRefusals)
{
    EXPECT_EQ(audit().auditAll({}), 0);
    EXPECT_TRUE(notices.shown.isEmpty());
    const char *numbers[] = {"XS25031410001", "XS25031410002", "XS25031410003"};
    PendingSaleHeader(db(), numbers[0], 17.5, 17.5);
    SaleLine(db(), numbers[0], kA, 5, 3.5);
    PendingSaleHeader(db(), numbers[1], 6, 6);
    SaleLine(db(), numbers[1], kB, 2, 3.0);
    PendingSaleHeader(db(), numbers[2], 175, 175);
    SaleLine(db(), numbers[2], kA, 50, 3.5);
    QList<QPair<QString, QString>> sales;
    for (const char *n : numbers)
        sales << qMakePair(QString::fromLatin1(n), QStringLiteral("2025-03-14 10:30"));
    EXPECT_EQ(audit().auditAll(sales), 2);
    EXPECT_EQ(notices.texts(), (QStringList{"您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n（如需审核某个单据，请按右键！）",
                                            "该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能销售！"}));
    EXPECT_EQ(rows("select gl_djh, ls_status from jxc_lsxsd order by gl_djh"),
              "XS25031410001|1; XS25031410002|1; XS25031410003|0");
    EXPECT_EQ(listed("", ""), "XS25031410003");
}

TEST_F(PendingSaleTest, StrayAndSecondCopiesOfOneNumber)
{
    // Audited first header with a stray pending copy: the copy goes, nothing is posted.
    pendingFiveAndTwo(QString::fromLatin1(kSaleNumber), {{"ls_status", 1}});
    PendingSaleHeader(db(), kSaleNumber, 23.5, 23.5, {{"a_name", "op2"}});
    EXPECT_EQ(audit().checkDj(kSaleNumber), "");
    EXPECT_TRUE(notices.shown.isEmpty());
    EXPECT_EQ(rows("select ls_status from jxc_lsxsd"), "1");
    EXPECT_EQ(scalar("select count(*) from jxc_goodslist where gl_djh like 'XS%'"), "0");

    // Two pending copies by admin (lower id) and op2: admin's is posted, op2's moves on.
    RunSql(db(), "delete from jxc_lsxsd");
    RunSql(db(), "delete from jxc_lsxssp");
    pendingFiveAndTwo();
    PendingSaleHeader(db(), kSaleNumber, 3, 3, {{"a_name", "op2"}});
    SaleLine(db(), kSaleNumber, kB, 1, 3.0, "op2");
    EXPECT_EQ(audit().checkDj(kSaleNumber), kSaleNumber) << notices.texts().join(" / ").toStdString();
    EXPECT_EQ(rows("select gl_djh, a_name, ls_status from jxc_lsxsd order by id"),
              "XS25031410001|admin|1; XS25031410002|op2|0");
    EXPECT_EQ(rows("select distinct gl_djh from jxc_lsxssp where a_name = 'op2'"), "XS25031410002");
    EXPECT_EQ(scalar("select count(*) from jxc_goodslist where gl_djh = ?", {kSaleNumber}), "2");
}

TEST_F(PendingSaleTest, AMissingHandlerStillListsAndItsAuditNamesIt)
{
    pendingFiveAndTwo();
    RunSql(db(), "delete from jxc_user where u_sn = '100001'");
    const ListStatement st = pending().list("", "", false);
    EXPECT_EQ(rows(QStringLiteral("select gl_djh, coalesce(u_name, '') from (%1) q").arg(st.body), st.binds),
              "XS25031410001|");
    notices.script({Notices::Answer::Yes});
    EXPECT_FALSE(audit().auditSelected(kSaleNumber));
    EXPECT_EQ(notices.last(), "单据XS25031410001的经手人、客户或仓库资料不存在，不能审核！");
    EXPECT_EQ(scalar("select ls_status from jxc_lsxsd"), "0");
}

TEST_F(PendingSaleTest, TheListFiltersByCustomerKeyAndWarehouse)
{
    PendingSaleHeader(db(), "XS25031410001", 90, 60, {{"ls_note", "急件"}});
    PendingSaleHeader(db(), "XS25031410002", 10, 10, {{"kh_sn", "100002"}, {"ck_sn", "100002"}});
    PendingSaleHeader(db(), "XS25031410003", 10, 10, {{"kh_sn", "100003"}});
    // An order's pending copy (ls_dhbz 1) is not a pending sale.
    PendingSaleHeader(db(), "XS25031410004", 10, 10, {{"ls_dhbz", 1}});
    const ListStatement st = pending().list("", "", false);
    EXPECT_EQ(rows(QStringLiteral("select wfje from (%1) q where gl_djh = 'XS25031410001'").arg(st.body), st.binds), "30");
    struct Case
    {
        const char *key;
        const char *customer;
        bool descending;
        const char *numbers;
    };
    const Case cases[] = {
        {"", "", false, "XS25031410001; XS25031410002; XS25031410003"},
        {"", "华联", false, "XS25031410002"},
        {"", "全部客户", false, "XS25031410001; XS25031410002; XS25031410003"},
        {"", "当前客户", false, "XS25031410001; XS25031410002; XS25031410003"},
        {"急件", "", false, "XS25031410001"},
        {"分仓", "", false, "XS25031410002"},
        {"%", "", false, ""},  // taken literally
        {"", "", true, "XS25031410003; XS25031410002; XS25031410001"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.key) + "/" + c.customer);
        EXPECT_EQ(listed(QString::fromUtf8(c.key), QString::fromUtf8(c.customer), c.descending), c.numbers);
    }

    state.BindOperatorWarehouse = "1";
    state.CurrentRoleSn = "100002";
    state.CurrentOperatorSn = "100002";
    RunSql(db(), "update jxc_ckxx set ck_asn = '100002,' where ck_sn = '100002'");
    EXPECT_EQ(listed("", ""), "XS25031410002");
    RunSql(db(), "update jxc_ckxx set ck_asn = '1000021,' where ck_sn = '100002'");
    EXPECT_EQ(listed("", ""), "");
}

TEST_F(PendingSaleTest, LinesOfEveryOperatorAndTheHeaderResum)
{
    pendingFiveAndTwo();
    SaleLine(db(), kSaleNumber, kB, 1, 3.0, "op2");
    const ListStatement st = pending().lines(kSaleNumber);
    EXPECT_EQ(rows(QStringLiteral("select a_name from (%1) q").arg(st.body), st.binds), "admin; admin; op2");
    RunSql(db(), "delete from jxc_lsxssp where a_name = 'op2'");

    SaleEntry entry(db(), state, clock, notices);
    const qint64 a = scalar("select id from jxc_lsxssp where g_sn = ?", {kA}).toLongLong();
    ASSERT_TRUE(entry.editCell(SaleCellPlace::Pending, kSaleNumber, a, LineCell::Quantity, "6"));
    pending().updateCheckShdjYfje(kSaleNumber);
    EXPECT_EQ(scalar("select ls_zje from jxc_lsxssp where id = ?", {a}), "21");
    EXPECT_EQ(header(), "27|27");

    // Settled to receivables with SalePaidDefault on: the received amount stays.
    RunSql(db(), "update jxc_lsxsd set ls_jsfs = 1, ls_sfje = 10");
    state.SalePaidDefault = "1";
    pending().updateCheckShdjYfje(kSaleNumber);
    EXPECT_EQ(header(), "27|10");

    // A settlement line counts in the received amount only.
    state.SalePaidDefault = "0";
    SaleLine(db(), kSaleNumber, "00000000", 0, 0, "admin", {{"ls_zje", -2.0}, {"ls_je", -2.0}});
    pending().updateCheckShdjYfje(kSaleNumber);
    EXPECT_EQ(header(), "27|25");
}

TEST_F(PendingSaleTest, DeletingLinesAndWholeSales)
{
    PendingSaleHeader(db(), kSaleNumber, 17.5, 17.5);
    const qint64 only = SaleLine(db(), kSaleNumber, kA, 5, 3.5);
    notices.script({Notices::Answer::Yes});
    PendingEditResult r = pending().deleteLine(kSaleNumber, only);
    EXPECT_TRUE(r.done());
    EXPECT_TRUE(r.number.isEmpty());
    EXPECT_EQ(notices.texts(), QStringList{"您确定要删除当前选中的商品吗！"});
    EXPECT_EQ(headers(), "0");
    EXPECT_EQ(rows("select log_note from jxc_log"), "因删除单据的所有商品而删除商品销售单：XS25031410001");

    pendingFiveAndTwo();
    const qint64 b = scalar("select id from jxc_lsxssp where g_sn = ?", {kB}).toLongLong();
    r = pending().deleteLine(kSaleNumber, b);
    EXPECT_EQ(r.number, kSaleNumber);
    EXPECT_EQ(header(), "17.5|17.5");

    // The whole sale: every operator's lines, the log and the contract with its file.
    QTemporaryDir folder;
    QFile attachment(folder.filePath("ht.pdf"));
    ASSERT_TRUE(attachment.open(QIODevice::WriteOnly));
    attachment.close();
    InsertRow(db(), "jxc_htgl", {{"ht_sn", "100003"}, {"gl_djh", kSaleNumber}, {"ht_path", folder.path() + "/"},
                                 {"ht_fjname", "ht.pdf"}});
    RunSql(db(), "update jxc_lsxsd set ht_sn = '100003'");
    SaleLine(db(), kSaleNumber, kB, 1, 3.0, "op2");
    RunSql(db(), "delete from jxc_log");
    notices.shown.clear();
    r = pending().deleteDocument(kSaleNumber);
    EXPECT_TRUE(r.done());
    EXPECT_EQ(notices.texts(), QStringList{"您确定要删除“待审核”单据吗！"});
    EXPECT_EQ(headers(), "0");
    EXPECT_EQ(scalar("select count(*) from jxc_lsxssp"), "0");
    EXPECT_EQ(rows("select log_note from jxc_log"), "删除商品销售单：XS25031410001");
    EXPECT_EQ(scalar("select count(*) from jxc_htgl"), "0");
    EXPECT_FALSE(QFile::exists(folder.filePath("ht.pdf")));
}

} // namespace
