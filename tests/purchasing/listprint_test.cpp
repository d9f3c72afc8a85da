// Printing from the receipt window's list pages: the pending list, the query views, the
// continuous print, and the list templates naming only what their print supplies.

#include "purchase_fixture.h"

#include "../support/recordingoutput.h"
#include "../support/templatecheck.h"
#include "purchasing/docqueryprint.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchasedocquery.h"
#include "purchasing/purchaselistprint.h"
#include "purchasing/purchaselistqueries.h"
#include "purchasing/receiptaudit.h"
#include "report/printeroutput.h"

#include <QFile>

namespace {

class ListPrintTest : public PurchaseRulesTest
{
protected:
    PurchaseListPrint print() { return PurchaseListPrint(db(), state, clock, PurchaseListDocOf(PurchaseKind::Receipt)); }
    static QString Sql(const ListStatement &st) { return st.body + " order by " + st.order; }
};

TEST_F(ListPrintTest, PendingListAndQueryViewsPrintTheirRowsWithTheirVariables)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}});
    savedReceipt("CJ25031410002", {{kG2, {1, 5}}});
    RecordingReportOutput output;
    print().printPending(output, Sql(PendingReceipts(db(), state).list("", "", false)), {});
    ASSERT_EQ(output.jobs.size(), 1);
    EXPECT_EQ(output.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(output.last().job.templateName, "cgjhdsh");
    EXPECT_EQ(output.last().job.dataSets.find("cgjhdsh")->rowCount(), 2);
    ExpectSupplied(output.last().job);

    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(kFirstNumber), kFirstNumber);
    const PurchaseListQueries q(db(), state, PurchaseListDocOf(PurchaseKind::Receipt));
    const PurchaseQueryCriteria c{"2025-03-01", "2025-03-14", "", ""};
    struct Case
    {
        PurchaseQueryView view;
        ListStatement st;
        const char *name;
    };
    for (const Case &k : {Case{PurchaseQueryView::Documents, q.documents(c), "cgjhdjb"},
                          Case{PurchaseQueryView::Summary, q.summary(c), "cgjhhzb"},
                          Case{PurchaseQueryView::Details, q.details(c), "cgjhmxb"}}) {
        const ListStatement st = k.st;
        print().printQuery(k.view, output, Sql(st), st.binds, c.from, c.to);
        const PrintJob &job = output.last().job;
        EXPECT_EQ(job.templateName, k.name);
        EXPECT_EQ(job.dataSets.find(k.name)->rowCount(), 1) << k.name;
        EXPECT_EQ(job.variables.value("date1"), "2025-03-01");
        EXPECT_EQ(job.variables.value("date2"), "2025-03-14");
        EXPECT_TRUE(job.variables.contains("comName"));
        ExpectSupplied(job);
    }
    EXPECT_EQ(output.jobs[1].job.variables.value("bTitle"), "供货商采购业务单据表");
}

TEST_F(ListPrintTest, DocumentQueryListsPrintTheirRowsWithTheirVariables)
{
    savedReceipt(kFirstNumber, {{kG1, {2, 10}}, {kG2, {1, 5}}});
    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj(kFirstNumber), kFirstNumber);
    RecordingReportOutput output;
    const PurchaseDocQuery q(db(), state);
    DocQueryCriteria c;
    c.from = "2025-03-01";
    c.to = "2025-03-14";
    struct Case
    {
        DocQueryView view;
        ListStatement st;
        const char *name;
        int rows;
    };
    for (const Case &k : {Case{DocQueryView::Documents, q.documents(c), "jthcxdjb", 1},
                          Case{DocQueryView::Summary, q.summary(c), "jthcxhzb", 2},
                          Case{DocQueryView::Lines, q.lines(c), "jthmxb", 2}}) {
        DocQueryPrint(db(), state, clock).printList(k.view, output, Sql(k.st), k.st.binds, c.from, c.to);
        const PrintJob &job = output.last().job;
        EXPECT_EQ(job.templateName, k.name);
        EXPECT_EQ(job.dataSets.find(k.name)->rowCount(), k.rows) << k.name;
        EXPECT_EQ(job.variables.value("date1"), "2025-03-01");
        EXPECT_EQ(job.variables.value("date2"), "2025-03-14");
        ExpectSupplied(job);
        // For a look at the pages: JXC_PDF_DIR=<folder> writes each list there.
        if (const QByteArray dir = qgetenv("JXC_PDF_DIR"); !dir.isEmpty())
            PrinterOutput(notices).exportPdf(job, QString::fromLocal8Bit(dir) + "/" + k.name + ".pdf");
    }
}

TEST_F(ListPrintTest, ContinuousPrintAsksOnceAndPrintsEachDirectlyInOrder)
{
    state.ChoosePurchasePrintFormat = "1";
    const QStringList numbers{"CJ25031410003", kFirstNumber, "CJ25031410002"};
    for (const QString &n : numbers)
        savedReceipt(n, {{kG1, {1, 10}}});
    RecordingReportOutput output;
    notices.script({Notices::Answer::No});
    EXPECT_EQ(print().printContinuously(notices, numbers, output, ContinuousPrintQuestion(false)), 0);
    EXPECT_TRUE(output.jobs.isEmpty());
    notices.shown.clear();
    notices.script({Notices::Answer::Yes});
    EXPECT_EQ(print().printContinuously(notices, numbers, output, ContinuousPrintQuestion(false)), 3);
    EXPECT_EQ(notices.texts(), QStringList{"您的操作将打印当前查询中的所有单据，\r\n\r\n将直接打印不做预览，确认打印吗?"});
    ASSERT_EQ(output.jobs.size(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(output.jobs[i].action, RecordingReportOutput::Action::PrintDirect);
        const DataSet *lines = output.jobs[i].job.dataSets.find("Q_GoodsPrin");
        ASSERT_TRUE(lines);
        EXPECT_EQ(lines->value(0, "gl_djh"), numbers[i]);
    }
}

} // namespace
