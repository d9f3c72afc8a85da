// POS prints: the page slip and the till receipt of one bill.

#include "print_fixture.h"

#include "engine/printpos.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

class PrintPosTest : public PrintTest
{
protected:
    void addBill(const QString &number, const QVariantMap &values = {}, bool withLine = true)
    {
        QVariantMap h{{"gl_djh", number}, {"kh_sn", "100001"}, {"u_sn", "100001"}, {"ck_sn", "100001"},
                      {"pos_xsrq", "2023-03-05 10:00:00"}, {"pos_yfje", 80.0}, {"pos_sfje", 80.0},
                      {"pos_zlje", 0.0}, {"pos_mlje", 0.0}, {"pos_xj", 80.0}, {"pos_czk", 0.0}, {"pos_yhk", 0.0},
                      {"pos_djq", 0.0}, {"pos_wxje", 0.0}, {"pos_zfbje", 0.0}, {"hy_sn", ""}, {"pos_bcjf", 0.0},
                      {"pos_zjf", 0.0}, {"pos_note", ""}, {"a_name", "admin"}};
        for (auto it = values.begin(); it != values.end(); ++it)
            h.insert(it.key(), it.value());
        insert(QStringLiteral("jxc_posxsd"), h);
        if (withLine)
            insert(QStringLiteral("jxc_posxssp"), {{"gl_djh", number}, {"g_sn", "1001"}, {"pos_dj", 2.5},
                                                   {"pos_dzl", 0.8}, {"pos_sl", 2.0}, {"pos_zje", 4.0},
                                                   {"g_tmbz", QVariant()}, {"t_zp", "赠品"}});
    }
    void addMember()
    {
        insert(QStringLiteral("jxc_hyxx"), {{"hy_sn", "000001"}, {"hy_bh", "8001"}, {"hy_name", "李四"},
                                            {"hy_jf", 120.0}, {"hy_zjf", 900.0}, {"hy_zhje", 55.5},
                                            {"hy_tele", "010-1"}, {"hy_mobile", "13800000000"}});
    }
    ReportVariables ticket(const QString &number)
    {
        RecordingReportOutput out;
        return PrintPosTicket(db(), state, out, number, 1).variables;
    }
};

TEST_F(PrintPosTest, PaymentKindAndAmounts)
{
    struct Case
    {
        const char *number;
        QVariantMap values;
        const char *zffs, *fkje, *sfje, *zlje;
    } cases[] = {
        {"XS23030500001", {{"pos_xj", 50.0}, {"pos_czk", 30.0}}, "联合结账", "80", "80", ""},
        {"XS23030500002", {{"pos_xj", 0.0}, {"pos_wxje", 80.0}}, "微信结账", "80", "80", ""},
        {"XS23030500003", {{"pos_xj", 0.0}}, "", "0", "80", ""},
        {"XS23030500004", {{"pos_sfje", 95.0}, {"pos_zlje", 5.0}, {"pos_xj", 100.0}}, "现金结账", "100", "100", "5"},
        {"XS23030500005", {{"pos_xj", QVariant()}, {"pos_zfbje", 80.0}}, "支付宝结账", "80", "80", ""},
        {"XT23030500001", {{"pos_yfje", -50.0}, {"pos_sfje", -50.0}, {"pos_zlje", 3.0}, {"pos_xj", -50.0}}, "", "-50",
         "-50", "3"},
    };
    for (const Case &c : cases) {
        addBill(QString::fromLatin1(c.number), c.values);
        const ReportVariables v = ticket(QString::fromLatin1(c.number));
        EXPECT_EQ(v.value(QStringLiteral("zffs")), QString::fromUtf8(c.zffs)) << c.number;
        EXPECT_EQ(v.value(QStringLiteral("fkje")), QString::fromLatin1(c.fkje)) << c.number;
        EXPECT_EQ(v.value(QStringLiteral("sfje")), QString::fromLatin1(c.sfje)) << c.number;
        EXPECT_EQ(v.value(QStringLiteral("zlje")), QString::fromLatin1(c.zlje)) << c.number;
        EXPECT_EQ(v.value(QStringLiteral("khName")), QStringLiteral("普通客户"));
        EXPECT_EQ(v.value(QStringLiteral("uName")), QStringLiteral("默认员工"));
    }
    const ReportVariables unknown = ticket(QStringLiteral("XS'9"));
    EXPECT_EQ(unknown.value(QStringLiteral("sfje")), QStringLiteral("0"));
    EXPECT_EQ(unknown.value(QStringLiteral("zffs")), QString());
    EXPECT_EQ(unknown.value(QStringLiteral("zlje")), QString());
    EXPECT_EQ(unknown.value(QStringLiteral("khName")), QString());
}

TEST_F(PrintPosTest, MemberVariables)
{
    addMember();
    addBill(QStringLiteral("XS23030500001"));
    addBill(QStringLiteral("XS23030500002"), {{"hy_sn", "000001"}, {"pos_bcjf", 12.0}, {"pos_zjf", 300.0}});

    ReportVariables v = ticket(QStringLiteral("XS23030500001"));
    for (const char *name : {"bcjf", "zjf", "hybh", "hyye", "hyjf", "hytele", "hymobile", "hyname"}) {
        EXPECT_TRUE(v.contains(QString::fromLatin1(name))) << name;
        EXPECT_EQ(v.value(QString::fromLatin1(name)), QString()) << name;
    }
    v = ticket(QStringLiteral("XS23030500002"));
    EXPECT_EQ(v.value(QStringLiteral("bcjf")), QStringLiteral("12"));
    EXPECT_EQ(v.value(QStringLiteral("zjf")), QStringLiteral("312"));
    EXPECT_EQ(v.value(QStringLiteral("hyjf")), QStringLiteral("120"));
    EXPECT_EQ(v.value(QStringLiteral("hyye")), QStringLiteral("55.5"));
    EXPECT_EQ(v.value(QStringLiteral("hyname")), QStringLiteral("李四"));
    EXPECT_EQ(v.value(QStringLiteral("hytele")), QStringLiteral("010-1"));

    RecordingReportOutput out;
    PrintPosSlip(db(), state, out, QStringLiteral("XS23030500002"));
    ASSERT_EQ(out.jobs.size(), 1);
    EXPECT_EQ(out.last().action, RecordingReportOutput::Action::Preview);
    const PrintJob &slip = out.last().job;
    EXPECT_EQ(slip.templateName, QStringLiteral("posxsd.fr3"));
    EXPECT_EQ(slip.variables.value(QStringLiteral("hyjf")), QStringLiteral("900"));
    EXPECT_EQ(slip.variables.value(QStringLiteral("hybh")), QStringLiteral("8001"));
    EXPECT_EQ(slip.variables.value(QStringLiteral("sTitle")), QStringLiteral("POS销售单"));
    EXPECT_EQ(slip.variables.value(QStringLiteral("yf")), QStringLiteral("捌拾元整"));
    EXPECT_FALSE(slip.variables.contains(QStringLiteral("comName")));
    const DataSet *lines = slip.dataSets.find(QStringLiteral("Q_GoodsPrin"));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->rowCount(), 1);
    EXPECT_EQ(lines->value(0, QStringLiteral("zhdj")), QStringLiteral("2"));
    EXPECT_EQ(lines->value(0, QStringLiteral("pos_xsrq")), QStringLiteral("2023-03-05 10:00:00"));

    for (const auto &[number, title] : {std::pair{"XT23030500001", "POS退货单"}, std::pair{"AB1", ""}}) {
        PrintPosSlip(db(), state, out, QString::fromLatin1(number));
        EXPECT_EQ(out.last().job.variables.value(QStringLiteral("sTitle")), QString::fromUtf8(title));
        EXPECT_EQ(out.last().job.variables.value(QStringLiteral("yf")), QStringLiteral("零元整"));
    }
}

TEST_F(PrintPosTest, TemplateAndOutputFollowTheReceiptSettings)
{
    addBill(QStringLiteral("XS23030500001"));
    struct Case
    {
        QVariant kd;
        const char *templateName;
    } cases[] = {{0, "posxp58.fr3"}, {1, "posxp.fr3"}, {QVariant(), "posxp.fr3"}};
    for (const Case &c : cases) {
        RunSql(db(), QStringLiteral("update jxc_posprint set pp_kd = ?, pp_bzxx = 1"), {c.kd});
        RecordingReportOutput out;
        PrintPosTicket(db(), state, out, QStringLiteral("XS23030500001"), 3);
        ASSERT_EQ(out.jobs.size(), 1);
        EXPECT_EQ(out.last().action, RecordingReportOutput::Action::Preview);
        EXPECT_EQ(out.last().job.templateName, QString::fromLatin1(c.templateName));
        EXPECT_EQ(out.last().job.variables.value(QStringLiteral("bt2")), QStringLiteral("欢迎惠顾"));
    }

    RunSql(db(), QStringLiteral("update jxc_posprint set pp_bzxx = 0"));
    RecordingReportOutput out;
    PrintPosTicket(db(), state, out, QStringLiteral("XS23030500001"), 3);
    ASSERT_EQ(out.jobs.size(), 3);
    for (const auto &job : out.jobs)
        EXPECT_EQ(job.action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(out.directCopies(), 3);
    RecordingReportOutput none;
    PrintPosTicket(db(), state, none, QStringLiteral("XS23030500001"), 0);
    PrintPosTicket(db(), state, none, QStringLiteral("XS23030500001"), -2);
    EXPECT_TRUE(none.jobs.isEmpty());

    // No settings row: the 80 mm template, empty titles, direct printing.
    RunSql(db(), QStringLiteral("delete from jxc_posprint"));
    RecordingReportOutput bare;
    PrintPosTicket(db(), state, bare, QStringLiteral("XS23030500001"), 1);
    ASSERT_EQ(bare.jobs.size(), 1);
    EXPECT_EQ(bare.last().action, RecordingReportOutput::Action::PrintDirect);
    EXPECT_EQ(bare.last().job.templateName, QStringLiteral("posxp.fr3"));
    EXPECT_EQ(bare.last().job.variables.value(QStringLiteral("bt1")), QString());
    const DataSet *lines = bare.last().job.dataSets.find(QStringLiteral("Q_GoodsPrin"));
    ASSERT_TRUE(lines);
    ASSERT_EQ(lines->rowCount(), 1);
    EXPECT_EQ(lines->value(0, QStringLiteral("g_name")), QStringLiteral("矿泉水赠品"));
}

TEST_F(PrintPosTest, VariablesAddToTheTemplatesOwn)
{
    QTemporaryDir folder;
    QFile file(QDir(folder.path()).filePath(QStringLiteral("posxp.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"format": 1, "kind": "receipt", "page": {"size": "roll80"},
                   "variables": [{"name": "keep", "value": "模板"}, {"name": "bt1", "value": "旧标题"}], "bands": []})");
    file.close();
    addBill(QStringLiteral("XS23030500001"));
    RecordingReportOutput out;
    const PrintJob job = PrintPosTicket(db(), state, out, QStringLiteral("XS23030500001"), 1, folder.path());
    EXPECT_TRUE(job.templateFound);
    EXPECT_EQ(job.variables.value(QStringLiteral("keep")), QStringLiteral("模板"));
    EXPECT_EQ(job.variables.value(QStringLiteral("bt1")), QStringLiteral("Corvel旗舰店"));
    EXPECT_FALSE(job.variables.contains(QStringLiteral("comName")));
}

} // namespace
