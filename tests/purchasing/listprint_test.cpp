// Printing from the receipt window's list pages: the pending list, the query views, the
// continuous print, and the list templates naming only what their print supplies.

#include "purchase_fixture.h"

#include "../support/recordingoutput.h"
#include "../support/templatecheck.h"
#include "engine/printtemplates.h"
#include "purchasing/docqueryprint.h"
#include "purchasing/pendingdocuments.h"
#include "purchasing/purchasedocquery.h"
#include "purchasing/purchaselistprint.h"
#include "purchasing/purchaselistqueries.h"
#include "purchasing/receiptaudit.h"
#include "purchasing/receiptprint.h"
#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"
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
    print().printPending(output, Sql(PendingPurchases(db(), state, PurchaseListDocOf(PurchaseKind::Receipt)).list("", "", false)), {});
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

TEST_F(ListPrintTest, ReturnListsPrintTheirOwnTemplates)
{
    savedReceipt("CJ25031010001", {{kG1, {10, 12}}});
    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices).checkDj("CJ25031010001"), "CJ25031010001");
    for (const char *n : {"CT25031410001", "CT25031410002"}) {
        insert("jxc_thsp", {{"gl_djh", n},    {"g_sn", kG1},    {"a_name", "admin"}, {"th_sl", 2.0},   {"th_zsl", 2.0},
                            {"th_dj", 15.0},  {"th_taxdj", 15.0}, {"th_tax", 0.0},   {"th_dzl", 1.0},  {"th_je", 30.0},
                            {"th_zje", 30.0}, {"th_taxje", 0.0}, {"dw_name", "瓶"}, {"id2", 0}});
        insert("jxc_thd", {{"gl_djh", n},         {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"th_thrq", "2025-03-14 10:30"},
                           {"th_yfje", -30.0},    {"th_sfje", -30.0},   {"th_hkje", 0.0},    {"u_sn", "100001"},
                           {"th_status", 0},      {"th_jsfs", 1},       {"th_kmmc", "现金"}, {"a_name", "admin"},
                           {"th_note", ""},       {"th_checker", ""},   {"th_chkrq", ""},    {"th_qk", 0}});
    }
    const PurchaseListDoc doc = PurchaseListDocOf(PurchaseKind::Return);
    PurchaseListPrint returns(db(), state, clock, doc);
    RecordingReportOutput output;
    returns.printPending(output, Sql(PendingPurchases(db(), state, doc).list("", "", false)), {});
    EXPECT_EQ(output.last().job.templateName, "cgthdsh");
    EXPECT_EQ(output.last().job.dataSets.find("cgthdsh")->rowCount(), 2);
    ExpectSupplied(output.last().job);

    ASSERT_EQ(ReceiptAudit(db(), state, clock, notices, PurchaseKind::Return).checkDj("CT25031410001"), "CT25031410001");
    const PurchaseListQueries q(db(), state, doc);
    const PurchaseQueryCriteria c{"2025-02-01", "2025-03-14", "", ""};
    const QList<std::tuple<PurchaseQueryView, ListStatement, const char *>> views{
        {PurchaseQueryView::Documents, q.documents(c), "cgthdjb"},
        {PurchaseQueryView::Summary, q.summary(c), "cgthhzb"},
        {PurchaseQueryView::Details, q.details(c), "cgthmxb"}};
    for (const auto &[view, st, name] : views) {
        returns.printQuery(view, output, Sql(st), st.binds, c.from, c.to);
        const PrintJob &job = output.last().job;
        EXPECT_EQ(job.templateName, name);
        EXPECT_EQ(job.dataSets.find(name)->rowCount(), 1) << name;
        EXPECT_EQ(job.variables.value("date1"), "2025-02-01");
        ExpectSupplied(job);
        // JXC_PDF_DIR: the pages written for a look.
        if (const QByteArray dir = qgetenv("JXC_PDF_DIR"); !dir.isEmpty())
            PrinterOutput(notices).exportPdf(job, QString::fromLocal8Bit(dir) + "/" + name + ".pdf");
    }
    if (const QByteArray dir = qgetenv("JXC_PDF_DIR"); !dir.isEmpty())
        PrinterOutput(notices).exportPdf(output.jobs.first().job, QString::fromLocal8Bit(dir) + "/cgthdsh.pdf");
}

TEST_F(ListPrintTest, TheEntryDraftOfAReturnAndAnOrderCarriesTheWindowsValues)
{
    DraftReceiptHeader h;
    h.partnerText = "普通供货商";
    h.partnerSn = "100001";
    h.warehouseText = "主仓库";
    h.date = "2025-03-14";
    h.handlerText = "默认员工";
    h.handlerSn = "100001";
    h.accountText = "现金";
    h.due = 60;
    h.paid = 25;
    insert("jxc_thsp", {{"gl_djh", "CT25031410001"}, {"g_sn", kG1}, {"a_name", "admin"}, {"th_sl", 4.0}, {"th_dj", 15.0},
                        {"th_zje", 60.0}, {"th_je", 60.0}, {"th_dzl", 1.0}, {"id2", 0}});
    RecordingReportOutput output;
    PrintOptions preview;
    for (const bool cost : {true, false}) {
        state.RightShowCost = cost;
        const PrintJob job = ReceiptPrint(db(), state, clock, PurchaseKind::Return).printDraft("CT25031410001", h, output, preview);
        EXPECT_EQ(job.templateName, TemplateForDocument("CT", state));
        EXPECT_EQ(job.dataSets.find("Q_GoodsPrin")->rowCount(), 1);
        for (const auto &[name, value] : {std::pair<const char *, const char *>{"ghsName", "普通供货商"}, {"ckName", "主仓库"},
                                          {"jhDate", "2025-03-14"}, {"uName", "默认员工"}, {"Kmmc", "现金"},
                                          {"checker", ""}, {"yf", "陆拾元整"}, {"sf", "贰拾伍元整"}})
            EXPECT_EQ(job.variables.value(name), value) << name;
    }
    state.RightShowCost = true;
    h.due = 100;
    h.paid = 80;
    const PrintJob order = ReceiptPrint(db(), state, clock, PurchaseKind::Order).printDraft("CD25031410001", h, output, preview);
    EXPECT_EQ(order.templateName, TemplateForDocument("CD", state));
    EXPECT_TRUE(order.templateFound);
    for (const auto &[name, value] : {std::pair<const char *, const char *>{"ghsBh", "100001"}, {"xxyf", "100"},
                                      {"xxsf", "80"}, {"yf", "壹佰元整"}, {"sf", "捌拾元整"}, {"checker", ""}})
        EXPECT_EQ(order.variables.value(name), value) << name;
    EXPECT_TRUE(order.variables.contains("uTele"));
}

} // namespace
