// Report variables of stored documents: company header, header and partner fields, capitals,
// balances, and the rules of which print types clear and which keep the template's values.

#include "print_fixture.h"

#include "engine/printvariables.h"

namespace {

class PrintVariablesTest : public PrintTest
{
protected:
    ReportVariables run(const QString &number, const QString &type, ReportVariables v = {})
    {
        SetPrintVariables(db(), state, clock, v, number, type);
        return v;
    }
    static ReportVariables declared(std::initializer_list<std::pair<const char *, const char *>> values)
    {
        ReportVariables v;
        for (const auto &p : values)
            v.set(QString::fromUtf8(p.first), QString::fromUtf8(p.second));
        return v;
    }
};

TEST_F(PrintVariablesTest, PurchaseReceiptBalancesFollowStatusAndMode)
{
    setBalance(QStringLiteral("ghs"), QStringLiteral("100001"), 500);
    struct Case
    {
        int status, mode;
        const char *khqk, *ljqkje;
    } cases[] = {{1, 1, "430", "500"}, {0, 1, "500", "570"}, {1, 0, "500", "500"}, {0, 0, "500", "500"}};
    int n = 0;
    for (const Case &c : cases) {
        const QString number = QStringLiteral("CJ2303050000%1").arg(++n);
        addReceipt(number, {{"1001", 24, 2.35}}, 100, 30, c.status, c.mode);
        const ReportVariables v = run(number, QStringLiteral("cgjh"));
        EXPECT_EQ(v.value(QStringLiteral("khqk")), QString::fromLatin1(c.khqk)) << c.status << c.mode;
        EXPECT_EQ(v.value(QStringLiteral("ljqkje")), QString::fromLatin1(c.ljqkje)) << c.status << c.mode;
        EXPECT_EQ(v.value(QStringLiteral("yf")), QStringLiteral("壹佰元整"));
        EXPECT_EQ(v.value(QStringLiteral("sf")), QStringLiteral("叁拾元整"));
        EXPECT_EQ(v.value(QStringLiteral("xxyf")), QStringLiteral("100"));
        EXPECT_EQ(v.value(QStringLiteral("ghsName")), QStringLiteral("普通供货商"));
        EXPECT_EQ(v.value(QStringLiteral("ckName")), QStringLiteral("主仓库"));
        EXPECT_EQ(v.value(QStringLiteral("uName")), QStringLiteral("默认员工"));
        EXPECT_EQ(v.value(QStringLiteral("comName")), QStringLiteral("示例商贸有限公司"));
        EXPECT_EQ(v.value(QStringLiteral("Note")), QStringLiteral("到货"));
    }
}

TEST_F(PrintVariablesTest, SalesReturnUsesNegatedAmountsAndOrderKeepsTheBalance)
{
    setBalance(QStringLiteral("kh"), QStringLiteral("100001"), 300);
    insert(QStringLiteral("jxc_xsthd"),
           {{"gl_djh", "XT23030500001"}, {"kh_sn", "100001"}, {"ck_sn", "100001"}, {"th_xsrq", "2023-03-05"},
            {"th_yfje", -80.0}, {"th_sfje", -20.0}, {"u_sn", "100001"}, {"th_status", 1}, {"th_jsfs", 1},
            {"a_name", "admin"}});
    ReportVariables v = run(QStringLiteral("XT23030500001"), QStringLiteral("xsth"));
    EXPECT_EQ(v.value(QStringLiteral("khqk")), QStringLiteral("360"));
    EXPECT_EQ(v.value(QStringLiteral("ljqkje")), QStringLiteral("300"));
    EXPECT_EQ(v.value(QStringLiteral("yf")), QStringLiteral("捌拾元整"));
    EXPECT_EQ(v.value(QStringLiteral("sf")), QStringLiteral("贰拾元整"));
    EXPECT_EQ(v.value(QStringLiteral("khName")), QStringLiteral("普通客户"));

    // A purchase return stores its amounts negative as well: the capitals read as the amounts.
    insert(QStringLiteral("jxc_thd"),
           {{"gl_djh", "CT23030500001"}, {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"th_thrq", "2023-03-05"},
            {"th_yfje", -100.0}, {"th_sfje", -30.0}, {"u_sn", "100001"}, {"th_status", 1}, {"th_jsfs", 1}});
    v = run(QStringLiteral("CT23030500001"), QStringLiteral("cgth"));
    EXPECT_EQ(v.value(QStringLiteral("yf")), QStringLiteral("壹佰元整"));
    EXPECT_EQ(v.value(QStringLiteral("sf")), QStringLiteral("叁拾元整"));

    addSale(QStringLiteral("XD23030500001"), {{"1001", 2, 2.5}}, 5, 0, 0, 1, {}, QStringLiteral("jxc_xsd"),
            QStringLiteral("jxc_xssp"));
    v = run(QStringLiteral("XD23030500001"), QStringLiteral("spdd"));
    EXPECT_EQ(v.value(QStringLiteral("khqk")), QStringLiteral("300"));
    EXPECT_EQ(v.value(QStringLiteral("ljqkje")), QStringLiteral("300"));
}

TEST_F(PrintVariablesTest, SaleLineTotalInCapitals)
{
    addSale(QStringLiteral("XS23030500001"), {}, 0, 0);
    EXPECT_EQ(run(QStringLiteral("XS23030500001"), QStringLiteral("spxs")).value(QStringLiteral("yf2")),
              QStringLiteral("零元整"));
    addSale(QStringLiteral("XS23030500002"), {{"1001", 16, 2.5}, {"1002", 10, 5}}, 90, 90);
    const ReportVariables v = run(QStringLiteral("XS23030500002"), QStringLiteral("spxs"));
    EXPECT_EQ(v.value(QStringLiteral("yf2")), QStringLiteral("玖拾元整"));
    EXPECT_EQ(v.value(QStringLiteral("xxyf")), QStringLiteral("90"));
}

TEST_F(PrintVariablesTest, NamesPerPrintTypeAndUnknownNumber)
{
    struct Case
    {
        const char *type;
        int names;
    } cases[] = {{"cgjh", 28}, {"cgth", 18}, {"cgd", 24},  {"spxs", 31}, {"xsth", 20}, {"xshh", 24},
                 {"spdd", 25}, {"kcdb", 11}, {"spcf", 18}, {"spkb", 18}, {"spbs", 11}, {"spby", 11},
                 {"kcpd", 8},  {"khjh", 14}, {"SC", 10},   {"LY", 12}};
    const QStringList companyAndFixed = {QStringLiteral("comName"), QStringLiteral("comTele"),
                                         QStringLiteral("comLxr"),  QStringLiteral("comNote"),
                                         QStringLiteral("comAddress"), QStringLiteral("title"),
                                         QStringLiteral("djName")};
    for (const Case &c : cases) {
        const QString type = QString::fromLatin1(c.type);
        const ReportVariables v = run(QStringLiteral("NONE'1"), type);
        EXPECT_EQ(v.size(), c.names) << c.type << ": " << v.names().join(QLatin1Char(' ')).toStdString();
        for (const auto &item : v.items()) {
            const QString &name = item.first;
            if (companyAndFixed.contains(name))
                continue;
            if (name == QLatin1String("khqk") || name == QLatin1String("ljqkje"))
                EXPECT_EQ(item.second, QStringLiteral("0")) << c.type << " " << name.toStdString();
            else if (name == QLatin1String("yf") || name == QLatin1String("sf") || name == QLatin1String("yf2"))
                EXPECT_EQ(item.second, QStringLiteral("零元整")) << c.type << " " << name.toStdString();
            else
                EXPECT_EQ(item.second, QString()) << c.type << " " << name.toStdString();
        }
    }
    const ReportVariables cgd = run(QStringLiteral("x"), QStringLiteral("cgd"));
    EXPECT_TRUE(cgd.contains(QStringLiteral("uTele")));
    EXPECT_TRUE(cgd.contains(QStringLiteral("ghsBh")));
    EXPECT_FALSE(run(QStringLiteral("x"), QStringLiteral("xshh")).contains(QStringLiteral("Kmmc")));
    const ReportVariables sc = run(QStringLiteral("x"), QStringLiteral("SC"));
    EXPECT_FALSE(sc.contains(QStringLiteral("comLxr")));
    EXPECT_FALSE(sc.contains(QStringLiteral("comNote")));
}

TEST_F(PrintVariablesTest, WhichTypesClearAndWhichKeepTheTemplatesValues)
{
    const ReportVariables template_ = declared({{"comLxr", "模板值"}, {"ckName", "模板仓库"}, {"extra", "保留"}});
    for (const char *type : {"CGJH", "JG", "WF", "Spxs", ""})
        EXPECT_EQ(run(QStringLiteral("x"), QString::fromLatin1(type), template_), template_) << type;

    ReportVariables v = run(QStringLiteral("x"), QStringLiteral("SC"), template_);
    EXPECT_EQ(v.value(QStringLiteral("comLxr")), QStringLiteral("模板值"));
    EXPECT_EQ(v.value(QStringLiteral("extra")), QStringLiteral("保留"));
    v = run(QStringLiteral("x"), QStringLiteral("kcdb"), template_);
    EXPECT_EQ(v.value(QStringLiteral("ckName")), QStringLiteral("模板仓库"));
    EXPECT_EQ(v.value(QStringLiteral("comLxr")), QStringLiteral("张经理"));
    for (const char *type : {"cgjh", "spxs", "khjh"})
        EXPECT_FALSE(run(QStringLiteral("x"), QString::fromLatin1(type), template_).contains(QStringLiteral("extra")))
            << type;
}

TEST_F(PrintVariablesTest, FixedTextsOfStockAndLoanDocuments)
{
    EXPECT_EQ(run(QStringLiteral("HH23030500001"), QStringLiteral("khjh")).value(QStringLiteral("djName")),
              QStringLiteral("还货"));
    EXPECT_EQ(run(QStringLiteral("JH23030500001"), QStringLiteral("khjh")).value(QStringLiteral("djName")),
              QStringLiteral("借货"));
    EXPECT_EQ(run(QStringLiteral("BS1"), QStringLiteral("spbs")).value(QStringLiteral("title")), QStringLiteral("商品报损单"));
    EXPECT_EQ(run(QStringLiteral("BY1"), QStringLiteral("spby")).value(QStringLiteral("title")), QStringLiteral("商品报溢单"));

    insert(QStringLiteral("jxc_khjh"), {{"gl_djh", "JH23030500001"}, {"kh_sn", "100001"}, {"ck_sn", "100001"},
                                        {"u_sn", "100001"}, {"jh_rq", "2023-03-05"}, {"jh_note", "借出"}});
    const ReportVariables v = run(QStringLiteral("JH23030500001"), QStringLiteral("khjh"));
    EXPECT_EQ(v.value(QStringLiteral("ckName")), QStringLiteral("主仓库"));
    EXPECT_EQ(v.value(QStringLiteral("khName")), QStringLiteral("普通客户"));
    EXPECT_EQ(v.value(QStringLiteral("Note")), QStringLiteral("借出"));
}

TEST_F(PrintVariablesTest, TransferValueAtSalePrices)
{
    addGoods(QStringLiteral("1003"), QStringLiteral("无价商品"), QVariant());
    addGoods(QStringLiteral("1004"), QStringLiteral("饼干"), 12.5);
    insert(QStringLiteral("jxc_ckxx"), {{"ck_sn", "100002"}, {"ck_name", "分仓库"}});
    insert(QStringLiteral("jxc_kcdbd"), {{"gl_djh", "DB23030500001"}, {"ck_out", "100001"}, {"ck_in", "100002"},
                                         {"u_sn", "100001"}, {"db_dbrq", "2023-03-05"}, {"db_note", "调拨"}});
    insert(QStringLiteral("jxc_dbsp"), {{"gl_djh", "DB23030500001"}, {"g_sn", "1004"}, {"db_sl", 3.0}});
    insert(QStringLiteral("jxc_dbsp"), {{"gl_djh", "DB23030500001"}, {"g_sn", "1003"}, {"db_sl", 2.0}});
    ReportVariables v = run(QStringLiteral("DB23030500001"), QStringLiteral("kcdb"));
    EXPECT_EQ(v.value(QStringLiteral("yf")), QStringLiteral("叁拾柒元伍角"));
    EXPECT_EQ(v.value(QStringLiteral("ckOut")), QStringLiteral("主仓库"));
    EXPECT_EQ(v.value(QStringLiteral("ckIn")), QStringLiteral("分仓库"));
    EXPECT_EQ(v.value(QStringLiteral("Note")), QStringLiteral("调拨"));
    EXPECT_EQ(run(QStringLiteral("DB23030500002"), QStringLiteral("kcdb")).value(QStringLiteral("yf")),
              QStringLiteral("零元整"));
}

TEST_F(PrintVariablesTest, SplitWithTwoHeadersUsesTheNewer)
{
    for (const double qty : {1.0, 4.0})
        insert(QStringLiteral("jxc_cfd"), {{"gl_djh", "CF23030500001"}, {"ck_sn", "100001"}, {"g_sn", "1001"},
                                           {"cf_cbj", 2.5}, {"cf_sl", qty}, {"u_sn", "100001"},
                                           {"cf_cfrq", "2023-03-05"}, {"a_name", "admin"}});
    const ReportVariables v = run(QStringLiteral("CF23030500001"), QStringLiteral("spcf"));
    EXPECT_EQ(v.value(QStringLiteral("cfSl")), QStringLiteral("4"));
    EXPECT_EQ(v.value(QStringLiteral("cfZje")), QStringLiteral("10"));
    EXPECT_EQ(v.value(QStringLiteral("gName")), QStringLiteral("矿泉水"));
    EXPECT_EQ(v.value(QStringLiteral("aName")), QStringLiteral("admin"));
}

TEST_F(PrintVariablesTest, ValuesArePlainTextAndNumbersAreBound)
{
    addReceipt(QStringLiteral("CJ23030500001"), {}, 100, 30, 1, 1, {{"j_note", "到'货[x]"}});
    ReportVariables v = run(QStringLiteral("CJ23030500001"), QStringLiteral("cgjh"));
    EXPECT_EQ(v.value(QStringLiteral("Note")), QStringLiteral("到'货[x]"));

    // A number with an apostrophe finds nothing and raises nothing.
    addSale(QStringLiteral("XS1"), {}, 10, 0);
    EXPECT_NO_THROW(v = run(QStringLiteral("XS'1"), QStringLiteral("spxs")));
    EXPECT_EQ(v.value(QStringLiteral("khName")), QString());
    EXPECT_NO_THROW(v = run(QStringLiteral("XS' or '1'='1"), QStringLiteral("spxs")));
    EXPECT_EQ(v.value(QStringLiteral("ckName")), QString());
}

TEST_F(PrintVariablesTest, MissingHandlerLeavesHeaderEmpty)
{
    addReceipt(QStringLiteral("CJ23030500001"), {{"1001", 1, 1}}, 100, 30, 1, 1, {{"u_sn", "999999"}});
    const ReportVariables v = run(QStringLiteral("CJ23030500001"), QStringLiteral("cgjh"));
    EXPECT_EQ(v.value(QStringLiteral("ckName")), QString());
    EXPECT_EQ(v.value(QStringLiteral("ghsName")), QString());
    EXPECT_EQ(v.value(QStringLiteral("yf")), QStringLiteral("零元整"));
}

} // namespace
