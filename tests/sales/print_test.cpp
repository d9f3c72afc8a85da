// Printing sales: the sale being entered with the window's values (mode "1"), a saved sale
// through the stored-document road (mode "2"), the template choice, continuous printing of the
// pending sales and the pending list report.

#include "sale_fixture.h"

#include "../support/recordingoutput.h"
#include "../support/scriptedchoice.h"
#include "../support/templatecheck.h"

#include "sales/pendingsales.h"
#include "sales/saleprint.h"

namespace {

class SalePrintTest : public SaleRulesTest
{
protected:
    // An unsaved sale for 华联超市: A 20 × 3.50 and B 10 × 3.00, received 60, freight 5.
    SaleDraftPrint draft()
    {
        line(kA, 20, 3.5);
        line(kB, 10, 3.0);
        SaleDraftPrint p;
        p.partnerText = QStringLiteral(" 华联超市 ");
        p.partnerSn = QStringLiteral("100002");
        p.warehouseText = QStringLiteral("主仓库");
        p.date = QStringLiteral("2025-03-14");
        p.note = QStringLiteral("送货上门");
        p.handlerText = QStringLiteral("默认员工");
        p.accountText = QStringLiteral("现金");
        p.freight = 5;
        p.due = 100;
        p.paid = 60;
        return p;
    }
    SalePrintRules print() { return SalePrintRules(db(), state, clock); }
    QString writes() const
    {
        return scalar("select count(*) from jxc_lsxsd") + "/" + scalar("select count(*) from jxc_goodslist where gl_djh like 'XS%'");
    }
    RecordingReportOutput output;
};

TEST_F(SalePrintTest, TheSaleBeingEnteredPrintsTheWindowsValues)
{
    InsertRow(db(), "jxc_ysyfk", {{"k_rq", "2025-03-01"}, {"k_ljje", 20.0}, {"k_type", "kh"}, {"k_ghskh", "100002"},
                                  {"k_yfje", 20.0}, {"k_sfje", 0.0}, {"k_qcje", 0.0}, {"k_yhje", 0.0}});
    const SaleDraftPrint sale = draft();
    const int logsBefore = scalar("select count(*) from jxc_log").toInt();
    print().printDraft(kSaleNumber, sale, output, PrintOptions{});
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    const PrintJob &job = output.last().job;
    EXPECT_EQ(job.templateName, "spxs.fr3");
    const QList<QPair<const char *, const char *>> expected{
        {"khName", "华联超市"}, {"khTele", "13800001111"}, {"ckName", "主仓库"}, {"jhDate", "2025-03-14"},
        {"Note", "送货上门"},   {"aName", "admin"},         {"uName", "默认员工"}, {"Kmmc", "现金"},
        {"yunfei", "5"},        {"xxyf", "100"},            {"xxsf", "60"},       {"checker", ""},
        {"chkrq", ""},          {"xxyh", ""},               {"khqk", "20"},       {"ljqkje", "60"},
        {"yf", "壹佰元整"},     {"sf", "陆拾元整"},         {"yf2", "壹佰元整"}};
    for (const auto &v : expected)
        EXPECT_EQ(job.variables.value(v.first), QString::fromUtf8(v.second)) << v.first;
    ASSERT_NE(job.dataSets.find("Q_GoodsPrin"), nullptr);
    EXPECT_GE(job.dataSets.find("Q_GoodsPrin")->rowCount(), 2);
    // Nothing written but the print log row.
    EXPECT_EQ(writes(), "0/0");
    EXPECT_LE(scalar("select count(*) from jxc_log").toInt(), logsBefore + 1);

    state.DocDateWithTime = "1";
    print().printDraft(kSaleNumber, sale, output, PrintOptions{});
    EXPECT_EQ(output.last().job.variables.value("jhDate"), "2025-03-14 10:30:00");
}

TEST_F(SalePrintTest, TheTemplateIsChosenFirstWhenAskedFor)
{
    const SaleDraftPrint sale = draft();
    ScriptedPrintChoice choice(PrintChoiceKind::Sales, QStringLiteral("spxs2.fr3"));
    PrintOptions options;
    options.choice = &choice;
    print().printDraft(kSaleNumber, sale, output, options);
    EXPECT_EQ(choice.asked, 0);
    state.ChooseSalesPrintFormat = "1";
    print().printDraft(kSaleNumber, sale, output, options);
    EXPECT_EQ(choice.asked, 1);
    EXPECT_EQ(output.last().job.templateName, "spxs2.fr3");
    // Continuous printing never asks.
    PendingSaleHeader(db(), kSaleNumber, 100, 60);
    print().printContinuously(notices, {QString::fromLatin1(kSaleNumber)}, output);
    EXPECT_EQ(choice.asked, 1);
}

TEST_F(SalePrintTest, ContinuousPrintingPrintsEachSaleDirectlyInOrder)
{
    const char *numbers[] = {"XS25031410001", "XS25031410002", "XS25031410003"};
    for (int i = 0; i < 3; ++i) {
        PendingSaleHeader(db(), numbers[i], 3.5 * (i + 1), 3.5 * (i + 1));
        SaleLine(db(), numbers[i], kA, i + 1, 3.5);
    }
    const QStringList list{numbers[0], numbers[1], numbers[2]};
    notices.script({Notices::Answer::No});
    EXPECT_EQ(print().printContinuously(notices, list, output), 0);
    EXPECT_TRUE(output.jobs.isEmpty());
    EXPECT_EQ(notices.texts(), QStringList{"您的操作将打印当前查询中的所有单据，\r\n\r\n将直接打印不做预览，确认打印吗？"});
    EXPECT_EQ(print().printContinuously(notices, list, output), 3);
    ASSERT_EQ(output.jobs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(output.jobs[i].action, RecordingReportOutput::Action::PrintDirect);
        EXPECT_EQ(output.jobs[i].copies, 1);
        EXPECT_EQ(output.jobs[i].job.variables.value("xxyf"), NumberText(3.5 * (i + 1)));
    }
    notices.shown.clear();
    EXPECT_EQ(print().printContinuously(notices, {}, output), 0);
    EXPECT_TRUE(notices.shown.isEmpty());

    // A saved sale by number: mode "2", the preview.
    print().printSaved(numbers[1], output, PrintOptions{});
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(output.last().job.variables.value("xxyf"), "7");
}

TEST_F(SalePrintTest, ThePendingListReportPrintsTheShownRows)
{
    PendingSaleHeader(db(), "XS25031410001", 90, 60);
    PendingSaleHeader(db(), "XS25031410002", 10, 10, {{"kh_sn", "100002"}});
    const ListStatement st = PendingSaleRules(db(), state, clock, notices).list("", "华联", false);
    print().printPendingList(output, st.body + " order by " + st.order, st.binds);
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    const PrintJob &job = output.last().job;
    EXPECT_EQ(job.templateName, "spxsdsh");
    ASSERT_NE(job.dataSets.find("spxsdsh"), nullptr);
    EXPECT_EQ(job.dataSets.find("spxsdsh")->rowCount(), 1);
    EXPECT_EQ(job.variables.value("comName"), state.CompanyName);
    ExpectSupplied(job);
}

} // namespace
