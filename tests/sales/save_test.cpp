// Saving the sale of the entry page and auditing pending sales: refusals and questions in order,
// the header as written, settlement differences, the prepayment question, numbers another
// operator took, audit on save, atomicity and two workstations saving one number at once.

#include "sale_fixture.h"

#include "../support/stations.h"

#include "sales/saleaudit.h"
#include "sales/salesave.h"

namespace {

class SaleSaveTest : public SaleRulesTest
{
protected:
    SaleHeaderInput header(double due, double received = -1) const
    {
        SaleHeaderInput in;
        in.customerText = QStringLiteral("普通客户");
        in.customerSn = QStringLiteral("100001");
        in.warehouseSn = QStringLiteral("100001");
        in.handlerText = QStringLiteral("默认员工");
        in.handlerSn = QStringLiteral("100001");
        in.day = QStringLiteral("2025-03-14");
        in.due = due;
        in.received = received < 0 ? due : received;
        in.settleIndex = 0;
        in.accountText = QStringLiteral("现金");
        return in;
    }
    // A 5 + B 2: due 23.50.
    void fiveAndTwo(const QString &who = QStringLiteral("admin"))
    {
        line(kA, 5, 3.5, who);
        line(kB, 2, 3.0, who, {{"ls_cbj", 2.5}, {"ls_zcb", 5.0}});
    }
    SaleSaveResult save(const SaleHeaderInput &in, const QString &number = QString::fromLatin1(kSaleNumber))
    {
        const int count =
            scalar("select count(*) from jxc_lsxssp where gl_djh = ? and a_name = 'admin'", {number}).toInt();
        return SaleSaveRules(db(), state, clock, notices).save(number, count, in);
    }
    void setBalance(const QString &customer, double balance)
    {
        InsertRow(db(), "jxc_ysyfk", {{"gl_djh", ""}, {"k_rq", "2025-03-01"}, {"k_yfje", 0.0}, {"k_sfje", 0.0},
                                      {"k_qcje", balance}, {"k_yhje", 0.0}, {"k_ljje", balance}, {"k_flag", 0},
                                      {"k_type", "kh"}, {"k_ghskh", customer}, {"k_djlx", "QC"}});
    }
    // Drafts, headers, log and balances gone (nothing audited).
    void clearSales()
    {
        for (const char *table : {"jxc_lsxsd", "jxc_lsxssp", "jxc_log", "jxc_ysyfk"})
            RunSql(db(), QStringLiteral("delete from %1").arg(QString::fromLatin1(table)));
        notices.shown.clear();
    }
    void saveWithAudit(const char *mode)
    {
        fiveAndTwo();
        state.AuditOnSave = QString::fromLatin1(mode);
        SaleHeaderInput in = header(23.5, 10);
        in.settleIndex = 1;
        const SaleSaveResult r = save(in);
        ASSERT_TRUE(r.saved());
        EXPECT_TRUE(r.audited) << notices.texts().join(" / ").toStdString();
        EXPECT_EQ(notices.texts().first(),
                  "单据保存后将直接审核，是否确认保存？\r\n\r\n保存后如果有问题可以在“销售退货查询”功能中取消审核！");
        EXPECT_EQ(rows("select ls_jsfs, ls_yfje, ls_sfje, ls_status, ls_checker, ls_chkrq, ls_yhje, ls_lr from jxc_lsxsd"),
                  "1|23.5|10|1|admin|2025-03-14|0|8.5");
        EXPECT_EQ(stock(), "43; 8");
        EXPECT_EQ(scalar("select kh_lwje from jxc_khxx where kh_sn = '100001'"), "13.5");
        EXPECT_EQ(rows("select log_note from jxc_log where log_note like '%销售单%'"), "审核销售单XS25031410001，共2种商品");
    }
    QString headers() const { return scalar("select count(*) from jxc_lsxsd"); }
    QString stock() const
    {
        return rows("select kc_sl from jxc_kcsp where ck_sn = '100001' and g_sn in (?, ?) order by g_sn", {kA, kB});
    }
    QString logs() const { return rows("select log_note from jxc_log order by id"); }
};

TEST_F(SaleSaveTest, RefusalsComeInOrderAndWriteNothing)
{
    struct Case
    {
        bool lines;
        void (*change)(SaleHeaderInput &);
        const char *text;
    };
    const Case cases[] = {
        {false, [](SaleHeaderInput &) {}, "单据中没有业务发生，不能保存！"},
        {true, [](SaleHeaderInput &in) { in.customerText = "   "; }, "请选择客户！"},
        // A name typed without choosing would post to the customer chosen before.
        {true, [](SaleHeaderInput &in) { in.customerText = "某某"; }, "请选择客户！"},
        {true, [](SaleHeaderInput &in) { in.handlerText.clear(); in.handlerSn.clear(); }, "请选择经办人！"},
        {true, [](SaleHeaderInput &in) { in.warehouseSn.clear(); }, "请选择仓库！"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        RunSql(db(), "delete from jxc_lsxssp");
        if (c.lines)
            line(kA, 1, 3.5);
        notices.shown.clear();
        SaleHeaderInput in = header(3.5);
        c.change(in);
        const SaleSaveResult r = save(in);
        EXPECT_EQ(r.status, SaleStatus::Refused);
        EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.text)});
        EXPECT_EQ(headers(), "0");
    }
}

TEST_F(SaleSaveTest, ShortStockIsRefusedOrAskedAndNoWritesNothing)
{
    line(kA, 5, 3.5, "admin", {{"ls_zsl", 60.0}, {"dw_name", "箱"}, {"g_zhxs", 12.0}});
    EXPECT_EQ(save(header(17.5)).status, SaleStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{"该单据中至少一种商品库存不足，\r\n\r\n“20000001”：不能销售！"});
    state.AllowNegativeStock = "1";
    notices.shown.clear();
    notices.script({Notices::Answer::No});
    EXPECT_EQ(save(header(17.5)).status, SaleStatus::Declined);
    EXPECT_EQ(notices.texts(), QStringList{"该单据中至少一种商品库存不足，\r\n\r\n“20000001”：销售将会出现负库存，是否继续？"});
    EXPECT_EQ(headers(), "0");
    EXPECT_EQ(logs(), "");
}

TEST_F(SaleSaveTest, APendingSaveWritesTheHeaderAndLeavesStockAlone)
{
    line(kA, 2, 3.5);
    line(kB, 1, 3.0);
    const SaleSaveResult r = save(header(10));
    ASSERT_TRUE(r.saved());
    EXPECT_FALSE(r.audited);
    EXPECT_EQ(notices.texts().first(),
              "单据保存后处于“未审核”状态，是否确认保存？\r\n\r\n处于“未审核”状态的销售单，可以在“待审核销\r\n\r\n"
              "售单”面板中，进行修改及审核操作！");
    EXPECT_EQ(rows("select gl_djh, kh_sn, ck_sn, ls_xsrq, ls_yfje, ls_sfje, ls_status, ls_jsfs, ls_kmmc, ls_crk, "
                   "ls_qk, ls_yhje, ls_hkje, ls_th, ls_dhbz, ls_yffs, ls_dzl, ls_checker, ls_chkrq, u_sn, a_name "
                   "from jxc_lsxsd"),
              "XS25031410001|100001|100001|2025-03-14 10:30|10|10|0|0|现金|1|1|0|0|0|0||1|||100001|admin");
    EXPECT_EQ(logs(), "增加未审核销售单XS25031410001，共2种商品");
    EXPECT_EQ(stock(), "48; 10");

    RunSql(db(), "delete from jxc_lsxsd");
    RunSql(db(), "update jxc_lsxssp set gl_djh = 'XS25031410002'");
    SaleHeaderInput freight = header(10);
    freight.freight = 5;
    ASSERT_TRUE(save(freight, "XS25031410002").saved());
    EXPECT_EQ(scalar("select ls_yffs from jxc_lsxsd"), "我方付运费");
}

TEST_F(SaleSaveTest, ASettlementDifferenceIsSpreadOrBookedOnALine)
{
    fiveAndTwo();
    ASSERT_TRUE(save(header(23.5, 21.5)).saved());
    EXPECT_EQ(rows("select ls_yfje, ls_sfje from jxc_lsxsd"), "21.5|21.5");
    EXPECT_EQ(lines("g_sn, ls_zje, ls_dj, ls_taxdj, ls_je"), "20000001|16.5|3.3|3.3|16.5; 20000002|5|2.5|2.5|5");

    clearSales();
    fiveAndTwo();
    state.SettleDiffMode = "1";
    ASSERT_TRUE(save(header(23.5, 21.5)).saved());
    EXPECT_EQ(rows("select ls_yfje, ls_sfje from jxc_lsxsd"), "23.5|21.5");
    EXPECT_EQ(rows("select ls_zje, ls_je, ls_sl, ghs_sn from jxc_lsxssp where g_sn = '00000000'"), "-2|-2|0|100001");
    EXPECT_EQ(SaleAuditRules(db(), state, clock, notices).checkDj(kSaleNumber), kSaleNumber);
    EXPECT_EQ(scalar("select ls_yhje from jxc_lsxsd"), "2");
}

TEST_F(SaleSaveTest, SavingWithAuditPostsTheSale)
{
    saveWithAudit("1");
}

// Only "0" and "False" turn the audit on saving off.
TEST_F(SaleSaveTest, AnEmptyAuditOnSaveAuditsToo)
{
    saveWithAudit("");
}

TEST_F(SaleSaveTest, TheShortPrepaymentIsAskedOnlyWhenItFallsShort)
{
    state.WarnShortPrepayment = "1";
    struct Case
    {
        double balance;
        int settle;
        const char *question;  // nullptr: not asked
    };
    const Case cases[] = {
        {-20, 1, "该客户当前的预付款余额为：20，\r\n\r\n不足以支付本单的金额。\r\n\r\n继续保存吗？"},
        {-30, 1, nullptr},
        {0, 1, "该客户当前的预付款余额为：0，\r\n\r\n不足以支付本单的金额。\r\n\r\n继续保存吗？"},
        {-20, 0, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.balance);
        clearSales();
        fiveAndTwo();
        if (c.balance != 0)
            setBalance("100001", c.balance);
        notices.script({Notices::Answer::No});
        SaleHeaderInput in = header(23.5, 0);
        in.settleIndex = c.settle;
        save(in);
        if (c.question) {
            EXPECT_EQ(notices.texts(), QStringList{QString::fromUtf8(c.question)});
            EXPECT_EQ(headers(), "0");
        } else {
            // Not asked: the No went to the confirmation.
            ASSERT_EQ(notices.texts().size(), 1);
            EXPECT_TRUE(notices.texts().first().startsWith("单据保存后")) << notices.texts().first().toStdString();
        }
    }
}

TEST_F(SaleSaveTest, AHeaderSavedMeanwhileMovesTheSaleToTheNextNumber)
{
    InsertRow(db(), "jxc_lsxsd", {{"gl_djh", kSaleNumber}, {"kh_sn", "100001"}, {"ck_sn", "100001"},
                                  {"ls_status", 0}, {"ls_dhbz", 0}, {"a_name", "op2"}});
    line(kB, 1, 3.0, "op2");
    fiveAndTwo();
    const SaleSaveResult r = save(header(23.5));
    ASSERT_TRUE(r.saved());
    EXPECT_EQ(r.number, "XS25031410002");
    EXPECT_EQ(rows("select gl_djh, a_name from jxc_lsxssp order by id"),
              "XS25031410001|op2; XS25031410002|admin; XS25031410002|admin");
    EXPECT_EQ(logs(), "增加未审核销售单XS25031410002，共2种商品");
}

TEST_F(SaleSaveTest, AFailureAnywhereInTheSaveWritesNothing)
{
    fiveAndTwo();
    const QString before = lines("gl_djh, g_sn, ls_zje, ls_dj");
    int failures = 0;
    // The settlement difference is spread on the lines too.
    for (int n = 1; n <= 60; ++n) {
        SCOPED_TRACE(n);
        notices.shown.clear();
        notices.script({Notices::Answer::Yes});
        InjectStatementFailure(db(), n);
        const SaleSaveResult r = SaleSaveRules(db(), state, clock, notices).save(kSaleNumber, 2, header(23.5, 21.5));
        InjectStatementFailure(db(), 0);
        if (r.saved())
            break;
        ++failures;
        ASSERT_EQ(r.status, SaleStatus::Failed);
        EXPECT_TRUE(notices.last().startsWith("保存失败：")) << notices.last().toStdString();
        EXPECT_EQ(headers(), "0");
        EXPECT_EQ(lines("gl_djh, g_sn, ls_zje, ls_dj"), before);
        EXPECT_EQ(logs(), "");
    }
    EXPECT_GT(failures, 5);
    EXPECT_EQ(headers(), "1");
}

TEST_F(SaleSaveTest, TwoSavesOfOneNumberEndUnderTwoNumbers)
{
    line(kA, 1, 3.5, "admin");
    line(kB, 2, 3.0, "li");
    const QStringList who{QStringLiteral("admin"), QStringLiteral("li")};
    const QStringList errors = SaveAtOnce(
        testDb(), 2, QStringLiteral("insert into jxc_lsxsd"),
        [&](const QSqlDatabase &c, int s) {
            LoginState mine = state;
            mine.CurrentOperatorName = who.at(s);
            ScriptedNotices answers;
            SaleHeaderInput in = header(s == 0 ? 3.5 : 6);
            const SaleSaveResult r = SaleSaveRules(c, mine, clock, answers).save(kSaleNumber, 1, in);
            if (!r.saved())
                ADD_FAILURE() << who.at(s).toStdString() << ": " << answers.texts().join(" / ").toStdString();
        },
        true);
    ASSERT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(rows("select count(distinct gl_djh), count(*) from jxc_lsxsd"), "2|2");
    EXPECT_EQ(LinesUnderOwnHeaders(db(), "jxc_lsxsd", "jxc_lsxssp"), "admin|1; li|1 / 0");
}

} // namespace
