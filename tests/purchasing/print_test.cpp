// Printing one purchase receipt: the draft of the entry page with the screen's values, a saved
// receipt through the stored-document road, the template choice first when asked for.

#include "purchase_fixture.h"

#include "../support/recordingoutput.h"
#include "../support/scriptedchoice.h"

#include "purchasing/receiptprint.h"

namespace {

class ReceiptPrintTest : public PurchaseRulesTest
{
protected:
    DraftReceiptHeader draft() const
    {
        DraftReceiptHeader h;
        h.partnerText = QStringLiteral(" 普通供货商 ");
        h.partnerSn = QStringLiteral("100001");
        h.warehouseText = QStringLiteral("主仓库");
        h.date = QStringLiteral("2025-03-14");
        h.handlerText = QStringLiteral("默认员工");
        h.accountText = QStringLiteral("现金");
        h.due = 100;
        h.paid = 30;
        return h;
    }
    RecordingReportOutput output;
};

TEST_F(ReceiptPrintTest, TheDraftPrintsTheScreensValuesAndItsLines)
{
    AddGoods(db(), "20000005", "果汁", 2.5);
    draftLine(kFirstNumber, "20000005", 40, 2.5);
    ReceiptPrint print(db(), state, clock);
    PrintOptions preview;
    print.printDraft(kFirstNumber, draft(), output, preview);
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    const PrintJob &job = output.last().job;
    EXPECT_EQ(job.templateName, "cgjh.fr3");
    const QList<QPair<const char *, const char *>> expected{
        {"ghsName", "普通供货商"}, {"ckName", "主仓库"}, {"jhDate", "2025-03-14"}, {"uName", "默认员工"},
        {"Kmmc", "现金"},         {"aName", "admin"},   {"khqk", "0"},          {"xxyf", "100"},
        {"xxsf", "30"},           {"ljqkje", "70"},     {"yf", "壹佰元整"},      {"sf", "叁拾元整"},
        {"checker", ""}};
    for (const auto &v : expected)
        EXPECT_EQ(job.variables.value(v.first), QString::fromUtf8(v.second)) << v.first;
    ASSERT_NE(job.dataSets.find("Q_GoodsPrin"), nullptr);
    EXPECT_EQ(job.dataSets.find("Q_GoodsPrin")->rowCount(), 1);

    // A role without cost prices prints the template without them.
    state.RightShowCost = false;
    state.PurchaseInTemplate = "cgjh2.fr3";
    print.printDraft(kFirstNumber, draft(), output, preview);
    EXPECT_EQ(output.last().job.templateName, "cgjh2.fr3");
}

TEST_F(ReceiptPrintTest, ASavedReceiptPrintsDirectlyAfterTheChoiceWhenAskedFor)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 5}}});
    ReceiptPrint print(db(), state, clock);
    PrintOptions direct;
    direct.mode = PrintMode::Direct;
    ScriptedPrintChoice choice(PrintChoiceKind::PurchaseIn, QStringLiteral("cgjh2.fr3"));
    direct.choice = &choice;
    print.printSaved(kFirstNumber, output, direct);
    EXPECT_EQ(choice.asked, 0);  // ChoosePurchasePrintFormat off
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(output.last().copies, 1);
    EXPECT_EQ(output.last().job.templateName, "cgjh.fr3");
    state.ChoosePurchasePrintFormat = "1";
    print.printSaved(kFirstNumber, output, direct);
    EXPECT_EQ(choice.asked, 1);
    EXPECT_EQ(output.last().job.templateName, "cgjh2.fr3");
    // The draft asks the same way.
    print.printDraft(kFirstNumber, draft(), output, direct);
    EXPECT_EQ(choice.asked, 2);
}

} // namespace
