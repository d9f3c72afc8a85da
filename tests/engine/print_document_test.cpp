// The common road of a stored document's print: template per document, choice dialog, lines,
// variables, output; the shipped templates checked against what their routines really give on
// a stored document; PDFs of a purchase receipt and a filled sale read back.

#include "print_fixture.h"

#include "../report/reporthelpers.h"
#include "../support/scriptednotices.h"

#include "engine/printdocument.h"
#include "engine/printpos.h"
#include "engine/printtemplates.h"
#include "report/model/reporttemplate.h"
#include "report/printeroutput.h"

#include <QSet>
#include <QTemporaryDir>

namespace {

class ScriptedChoice final : public PrintChoiceDialog
{
public:
    void choose(PrintChoiceKind kind, LoginState &state) override
    {
        kinds.append(kind);
        if (!pick.isEmpty())
            (kind == PrintChoiceKind::Sales ? state.SalesTemplate : state.PurchaseInTemplate) = pick;
    }
    QString pick;
    QList<PrintChoiceKind> kinds;
};

class PrintDocumentTest : public PrintTest
{
protected:
    void addStoredReceipt()
    {
        setBalance(QStringLiteral("ghs"), QStringLiteral("100001"), 500);
        addReceipt(QStringLiteral("CJ23030510001"), {{"1001", 24, 2.35}, {"1002", 10, 4.36}}, 100, 30);
    }
    PrintJob prepare(const QString &number, const QString &templateName)
    {
        QString type, code;
        EXPECT_TRUE(PrintCodesForDocument(number, &type, &code)) << number.toStdString();
        return PrepareStoredDocument(db(), state, clock, number, type, code, templateName, ShippedTemplates());
    }
};

TEST_F(PrintDocumentTest, TemplateForDocument)
{
    LoginState s;
    s.RightShowCost = false;
    s.RightShowSalePrice = false;
    s.UseRetailPrice = QStringLiteral("1");
    s.TransferPriceBasis = QStringLiteral("1");
    const std::pair<const char *, const char *> bare[] = {
        {"CJ", "cgjh2.fr3"}, {"CT", "cgth2.fr3"},  {"CD", "cgd2.fr3"},   {"XS", "spxs4.fr3"},  {"XT", "xsth4.fr3"},
        {"XH", "xshh.fr3"},  {"XD", "xsd2.fr3"},   {"DB", "kcdbd2.fr3"}, {"BS", "bsby2.fr3"},  {"BY", "bsby2.fr3"},
        {"CF", "cfd2.fr3"},  {"KB", "kbd2.fr3"},   {"PD", "kcpdd.fr3"},  {"JH", "khjh.fr3"},   {"HH", "khjh.fr3"},
        {"SC", "scrkd2.fr3"}, {"ST", "sctkd2.fr3"}, {"LY", "bmlyd2.fr3"}, {"LT", "bmthd2.fr3"}, {"LF", "bmbfd2.fr3"},
        {"QQ", ""},
    };
    for (const auto &c : bare)
        EXPECT_EQ(TemplateForDocument(QString::fromLatin1(c.first) + QStringLiteral("23030500001"), s),
                  QString::fromLatin1(c.second))
            << c.first;
    s.RightShowSalePrice = true;
    EXPECT_EQ(TemplateForDocument(QStringLiteral("XS"), s), QStringLiteral("spxs2.fr3"));

    // The login's template names (and the operator's choice stored in them) come first.
    EXPECT_EQ(TemplateForDocument(QStringLiteral("CJ"), state), QStringLiteral("cgjh.fr3"));
    EXPECT_EQ(TemplateForDocument(QStringLiteral("XS"), state), QStringLiteral("spxs.fr3"));
    state.SalesTemplate = QStringLiteral("spxs2.fr3");
    EXPECT_EQ(TemplateForDocument(QStringLiteral("XS"), state), QStringLiteral("spxs2.fr3"));
}

TEST_F(PrintDocumentTest, CommonRoadWithChoiceDialog)
{
    addStoredReceipt();
    state.ChoosePurchasePrintFormat = QStringLiteral("1");
    ScriptedChoice choice;
    choice.pick = QStringLiteral("cgjh2.fr3");
    RecordingReportOutput out;
    PrintOptions options;
    options.choice = &choice;
    options.templateFolder = ShippedTemplates();
    PrintStoredDocument(db(), state, clock, QStringLiteral("CJ23030510001"), QStringLiteral("cgjh"),
                        QStringLiteral("CJ"), QStringLiteral("cgjh.fr3"), out, options);
    ASSERT_EQ(choice.kinds.size(), 1);
    EXPECT_EQ(choice.kinds.first(), PrintChoiceKind::PurchaseIn);
    ASSERT_EQ(out.jobs.size(), 1);
    EXPECT_EQ(out.last().action, RecordingReportOutput::Action::Preview);
    EXPECT_EQ(out.last().job.templateName, QStringLiteral("cgjh2.fr3"));
    EXPECT_TRUE(out.last().job.templateFound);
    EXPECT_EQ(state.PurchaseInTemplate, QStringLiteral("cgjh2.fr3"));
    EXPECT_EQ(out.last().job.dataSets.find(QStringLiteral("Q_GoodsPrin"))->rowCount(), 2);
    EXPECT_EQ(out.last().job.variables.value(QStringLiteral("khqk")), QStringLiteral("430"));
    EXPECT_EQ(scalar(QStringLiteral("select log_note from jxc_log order by id desc limit 1")),
              QStringLiteral("打印采购进货单"));

    // Without the parameter, or without a dialog, nobody is asked.
    state.ChoosePurchasePrintFormat = QStringLiteral("0");
    options.mode = PrintMode::Direct;
    options.copies = 2;
    PrintStoredDocument(db(), state, clock, QStringLiteral("CJ23030510001"), QStringLiteral("cgjh"),
                        QStringLiteral("CJ"), QStringLiteral("cgjh.fr3"), out, options);
    EXPECT_EQ(choice.kinds.size(), 1);
    EXPECT_EQ(out.last().action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(out.last().copies, 2);
    EXPECT_EQ(out.last().job.templateName, QStringLiteral("cgjh.fr3"));

    // Sales ask for their family; the stored choice prints.
    addSale(QStringLiteral("XS23030500001"), {{"1001", 2, 2.5}}, 5, 5);
    state.ChooseSalesPrintFormat = QStringLiteral("1");
    choice.pick = QStringLiteral("spxs4.fr3");
    options.mode = PrintMode::Preview;
    PrintStoredDocument(db(), state, clock, QStringLiteral("XS23030500001"), QStringLiteral("spxs"),
                        QStringLiteral("XS"), QStringLiteral("spxs.fr3"), out, options);
    EXPECT_EQ(choice.kinds.last(), PrintChoiceKind::Sales);
    EXPECT_EQ(out.last().job.templateName, QStringLiteral("spxs4.fr3"));
}

TEST_F(PrintDocumentTest, MissingTemplatePrintsNothingButLogsAndSetsVariables)
{
    addStoredReceipt();
    ScriptedNotices notices;
    PrinterOutput printer(notices);
    QTemporaryDir dir;
    const QString pdf = QDir(dir.path()).filePath(QStringLiteral("x.pdf"));
    const int logs = count(QStringLiteral("select count(*) from jxc_log"));
    for (const char *name : {"../cgjh.fr3", "nothing.fr3"}) {
        PrintOptions options;
        options.mode = PrintMode::Pdf;
        options.pdfFile = pdf;
        options.templateFolder = ShippedTemplates();
        const PrintJob job = PrintStoredDocument(db(), state, clock, QStringLiteral("CJ23030510001"),
                                                 QStringLiteral("cgjh"), QStringLiteral("CJ"),
                                                 QString::fromLatin1(name), printer, options);
        EXPECT_FALSE(job.templateFound);
        EXPECT_EQ(job.variables.value(QStringLiteral("ghsName")), QStringLiteral("普通供货商"));
    }
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log")), logs + 2);
    ASSERT_EQ(notices.shown.size(), 2);
    EXPECT_TRUE(notices.shown.last().text.startsWith(QStringLiteral("打印模板不存在：report/")));
}

TEST_F(PrintDocumentTest, ListReportAddsCompanyAndOwnVariables)
{
    RecordingReportOutput out;
    ReportVariables own;
    own.set(QStringLiteral("date1"), QStringLiteral("2023-03-01"));
    own.set(QStringLiteral("title"), QStringLiteral("销售汇总"));
    const DataSet rows({QStringLiteral("g_sn"), QStringLiteral("je")}, {{QStringLiteral("1001"), QStringLiteral("5")}});
    PrintListReport(state, out, QStringLiteral("spxshzb.fr3"), QStringLiteral("Q_List"), rows, own);
    ASSERT_EQ(out.jobs.size(), 1);
    EXPECT_EQ(out.last().action, RecordingReportOutput::Action::Preview);
    const PrintJob &job = out.last().job;
    EXPECT_EQ(job.variables.value(QStringLiteral("comName")), QStringLiteral("示例商贸有限公司"));
    EXPECT_EQ(job.variables.value(QStringLiteral("title")), QStringLiteral("销售汇总"));
    EXPECT_EQ(job.variables.value(QStringLiteral("date1")), QStringLiteral("2023-03-01"));
    ASSERT_TRUE(job.dataSets.find(QStringLiteral("q_list")));
    EXPECT_EQ(job.dataSets.find(QStringLiteral("Q_List"))->rowCount(), 1);
}

// Every shipped template of this routine family names only variables its routine sets (or it
// declares) and columns its query returns on a stored document.
TEST_F(PrintDocumentTest, ShippedTemplatesNameOnlyWhatTheirRoutinesGive)
{
    addStoredReceipt();
    RunSql(db(), QStringLiteral("insert into jxc_thd (gl_djh, ghs_sn, ck_sn, u_sn, th_yfje, th_sfje) "
                                "values ('CT1', '100001', '100001', '100001', -5, 0)"));
    RunSql(db(), QStringLiteral("insert into jxc_thsp (gl_djh, g_sn, th_sl, th_taxdj, th_zje) values ('CT1', '1001', 2, 2.5, 5)"));
    addReceipt(QStringLiteral("CD1"), {{"1001", 2, 2.5}}, 5, 0, 0, 1, {}, QStringLiteral("jxc_cgd"), QStringLiteral("jxc_cgsp"));
    addSale(QStringLiteral("XS1"), {{"1001", 2, 2.5}}, 5, 5);
    RunSql(db(), QStringLiteral("insert into jxc_xsthd (gl_djh, kh_sn, ck_sn, u_sn, th_yfje, th_sfje) "
                                "values ('XT1', '100001', '100001', '100001', -5, 0)"));
    RunSql(db(), QStringLiteral("insert into jxc_xsthsp (gl_djh, g_sn, th_sl, th_taxdj, th_zje) values ('XT1', '1001', 2, 2.5, 5)"));
    addSale(QStringLiteral("XD1"), {{"1001", 2, 2.5}}, 5, 0, 0, 1, {}, QStringLiteral("jxc_xsd"), QStringLiteral("jxc_xssp"));
    addSale(QStringLiteral("XH1"), {{"1001", 2, 2.5}}, 5, 0, 0, 1, {}, QStringLiteral("jxc_xshhd"), QStringLiteral("jxc_xshhsp"));
    insert(QStringLiteral("jxc_posxsd"), {{"gl_djh", "XS9"}, {"kh_sn", "100001"}, {"u_sn", "100001"}, {"pos_yfje", 5.0}});
    insert(QStringLiteral("jxc_posxssp"), {{"gl_djh", "XS9"}, {"g_sn", "1001"}, {"pos_sl", 2.0}, {"pos_zje", 5.0}});
    insert(QStringLiteral("jxc_txm"), {{"tm_code", "6901234567892"}});

    struct Case
    {
        const char *templateName;
        const char *number;  // "" for the label data set
    } cases[] = {{"cgjh", "CJ23030510001"}, {"cgjh2", "CJ23030510001"}, {"cgth", "CT1"}, {"cgth2", "CT1"},
                 {"cgd", "CD1"},            {"cgd2", "CD1"},           {"spxs", "XS1"},  {"spxs2", "XS1"},
                 {"spxs4", "XS1"},          {"xsth", "XT1"},           {"xsth2", "XT1"}, {"xsth4", "XT1"},
                 {"xsd", "XD1"},            {"xsd2", "XD1"},           {"xshh", "XH1"},  {"posxsd", "XS9"},
                 {"posxp", "XS9"},          {"posxp58", "XS9"},        {"txm", ""}};
    for (const Case &c : cases) {
        const QString name = QString::fromLatin1(c.templateName);
        ReportTemplate t;
        ASSERT_TRUE(LoadTemplate(name, t, ShippedTemplates())) << c.templateName;
        PrintJob job;
        RecordingReportOutput out;
        if (name == QLatin1String("posxsd")) {
            job = PrintPosSlip(db(), state, out, QString::fromLatin1(c.number), ShippedTemplates());
        } else if (name.startsWith(QLatin1String("posxp"))) {
            RunSql(db(), QStringLiteral("update jxc_posprint set pp_kd = ?"), {name == QLatin1String("posxp58") ? 0 : 1});
            job = PrintPosTicket(db(), state, out, QString::fromLatin1(c.number), 1, ShippedTemplates());
            EXPECT_EQ(job.templateName, name + QStringLiteral(".fr3"));
        } else if (name == QLatin1String("txm")) {
            job = PrintJob::forTemplate(name, ShippedTemplates());
            job.setDataSet(QStringLiteral("Q_GoodsPrin"),
                           DataSet::read(db(), QStringLiteral("select a.tm_code, b.* from jxc_txm a, jxc_goods b "
                                                              "where a.tm_code = b.g_sptm order by a.id")));
        } else {
            job = prepare(QString::fromLatin1(c.number), name + QStringLiteral(".fr3"));
        }
        const DataSet *lines = job.dataSets.find(QStringLiteral("Q_GoodsPrin"));
        ASSERT_TRUE(lines) << c.templateName;
        EXPECT_GT(lines->rowCount(), 0) << c.templateName;
        QSet<QString> declared;
        for (const auto &v : t.variables)
            declared.insert(v.first.toLower());

        QStringList texts;
        for (const ReportBand &band : t.bands)
            for (const ReportItem &item : band.items)
                texts << item.text << item.dropIfEmpty;
        for (const QList<RawLine> *raw : {&t.raw.header, &t.raw.detail, &t.raw.footer})
            for (const RawLine &line : *raw) {
                texts << line.dropIfEmpty;
                for (const RawCell &cell : line.cells)
                    texts << cell.text;
            }
        for (const QString &text : texts) {
            for (QString token : TextNames(text)) {
                for (const char *fn : {"PAGESUM(", "SUM("})
                    if (token.startsWith(QLatin1String(fn)) && token.endsWith(QLatin1Char(')')))
                        token = token.mid(qstrlen(fn)).chopped(1);
                if (token == QLatin1String("PAGE") || token == QLatin1String("PAGES") || token == QLatin1String("LINE"))
                    continue;
                if (token.contains(QLatin1Char('.'))) {
                    EXPECT_EQ(token.section(QLatin1Char('.'), 0, 0), QStringLiteral("Q_GoodsPrin")) << c.templateName;
                    EXPECT_GE(lines->columnIndex(token.section(QLatin1Char('.'), 1)), 0)
                        << c.templateName << ": " << token.toStdString();
                } else {
                    EXPECT_TRUE(job.variables.contains(token) || declared.contains(token.toLower()))
                        << c.templateName << ": " << token.toStdString();
                }
            }
        }
    }
}

TEST_F(PrintDocumentTest, PurchaseReceiptPdf)
{
    addStoredReceipt();
    ScriptedNotices notices;
    PrinterOutput printer(notices);
    QTemporaryDir dir;
    const QString full = QDir(dir.path()).filePath(QStringLiteral("cgjh.pdf"));
    const QString bare = QDir(dir.path()).filePath(QStringLiteral("cgjh2.pdf"));
    PrintOptions options;
    options.mode = PrintMode::Pdf;
    options.templateFolder = ShippedTemplates();
    options.pdfFile = full;
    PrintStoredDocument(db(), state, clock, QStringLiteral("CJ23030510001"), QStringLiteral("cgjh"), QStringLiteral("CJ"),
                        QStringLiteral("cgjh.fr3"), printer, options);
    options.pdfFile = bare;
    PrintStoredDocument(db(), state, clock, QStringLiteral("CJ23030510001"), QStringLiteral("cgjh"), QStringLiteral("CJ"),
                        QStringLiteral("cgjh2.fr3"), printer, options);
    EXPECT_TRUE(notices.shown.isEmpty());

    const QString text = PdfPages(full).join(QLatin1Char('\n'));
    for (const char *expected : {"采购进货单", "示例商贸有限公司", "CJ23030510001", "普通供货商", "主仓库", "矿泉水",
                                 "方便面", "2.35", "56.40", "43.60", "壹佰元整", "叁拾元整", "经手人", "430", "500"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    const QString bareText = PdfPages(bare).join(QLatin1Char('\n'));
    for (const char *expected : {"矿泉水", "方便面", "24", "10", "CJ23030510001"})
        EXPECT_TRUE(bareText.contains(QString::fromUtf8(expected))) << expected;
    for (const char *hidden : {"2.35", "56.40", "壹佰元整"})
        EXPECT_FALSE(bareText.contains(QString::fromUtf8(hidden))) << hidden;
    EXPECT_EQ(count(QStringLiteral("select count(*) from jxc_log where log_note = '打印采购进货单'")), 2);
}

TEST_F(PrintDocumentTest, FilledSalePdfHasThreePages)
{
    state.SalesRowsPerPage = QStringLiteral("10");
    std::vector<Line> ls;
    for (int i = 0; i < 23; ++i)
        ls.push_back({i % 2 ? QStringLiteral("1002") : QStringLiteral("1001"), double(i + 1), 2.5});
    double total = 0;
    for (const Line &l : ls)
        total += l.qty * l.price;
    addSale(QStringLiteral("XS23030510001"), ls, total, total);

    ScriptedNotices notices;
    PrinterOutput printer(notices);
    QTemporaryDir dir;
    PrintOptions options;
    options.mode = PrintMode::Pdf;
    options.templateFolder = ShippedTemplates();
    options.pdfFile = QDir(dir.path()).filePath(QStringLiteral("spxs.pdf"));
    const PrintJob job = PrintStoredDocument(db(), state, clock, QStringLiteral("XS23030510001"), QStringLiteral("spxs"),
                                             QStringLiteral("XS"), QStringLiteral("spxs.fr3"), printer, options);
    EXPECT_EQ(job.rowsPerPage, 10);
    EXPECT_TRUE(notices.shown.isEmpty());
    const QStringList pages = PdfPages(options.pdfFile);
    ASSERT_EQ(pages.size(), 3);
    const QString capitals = job.variables.value(QStringLiteral("yf"));
    ASSERT_FALSE(capitals.isEmpty());
    for (int p = 0; p < 3; ++p) {
        EXPECT_TRUE(pages[p].contains(QStringLiteral("XS23030510001"))) << p;
        EXPECT_TRUE(pages[p].contains(QStringLiteral("第%1页 共3页").arg(p + 1))) << pages[p].toStdString();
        EXPECT_EQ(pages[p].contains(capitals), p == 2) << p;
    }
    EXPECT_TRUE(pages[2].contains(QStringLiteral("23")));
}

} // namespace
