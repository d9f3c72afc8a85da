// The shipped templates: each loads from report/ and from the compiled-in copy, and names only
// variables its print routine sets and columns its line query returns.

#include "reporthelpers.h"

#include "report/model/reporttemplate.h"
#include "report/model/reporttext.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {

QSet<QString> Names(const char *spaceSeparated)
{
    QSet<QString> out;
    for (const QString &n : QString::fromLatin1(spaceSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts))
        out.insert(n.toLower());
    return out;
}

const char *const kCompany = "comName comTele comLxr comNote comAddress ";

struct Shipped
{
    const char *name;
    const char *variables;  // what the routine sets
    const char *columns;    // what the line query returns (the table's own columns and the joins)
};

// Line columns of the documents.
const char *const kJhsp = "gl_djh jh_dj jh_sl jh_je jh_tax jh_taxdj jh_taxje jh_zje jh_bz dw_name g_sptm g_sn "
                          "g_name gg_name color_name g_bz g_sccs gc_name hj_name gzhxs";
const char *const kThsp = "gl_djh a_name g_sn th_dj th_sl th_dzl th_bz th_je th_tax th_taxdj th_taxje th_zje dw_name "
                          "g_sptm g_name gg_name color_name g_bz g_sccs gc_name hj_name";
const char *const kLsxssp = "gl_djh g_sn ls_dj ls_sl ls_je ls_tax ls_taxdj ls_taxje ls_lsj ls_zje ls_dzl ls_bz "
                            "dw_name g_sptm g_name gg_name color_name sj g_bz g_sccs gc_name hj_name dw_name2 gzhxs";
const char *const kXsthsp = "gl_djh a_name g_sn th_dj th_sl th_je th_tax th_taxdj th_taxje th_zje th_lsj th_dzl th_bz "
                            "dw_name g_sptm g_name gg_name color_name g_bz g_sccs gc_name hj_name";
const char *const kXshhsp = "gl_djh g_sn ls_dj ls_sl ls_je ls_taxdj ls_lsj ls_zje ls_dzl ls_bz g_name gg_name "
                            "color_name dw_name g_bz g_sccs gc_name hj_name g_sptm";

const char *const kCgjh = "ckName jhDate uName Kmmc Note gldjh2 yunfei baozfei fpno checker chkrq xxyh xxyf "
                          "xxsf aName khqk ljqkje ghsName ghsLxr ghsTele ghsAddress yf sf";
const char *const kCgth = "ckName jhDate uName Kmmc Note checker chkrq ghsName ghsLxr ghsTele ghsAddress yf sf";
const char *const kCgd = "ckName jhDate uName uTele Kmmc Note gldjh2 checker chkrq xxyf xxsf aName ghsBh "
                         "ghsName ghsLxr ghsTele ghsAddress yf sf";
const char *const kSpxs = "ckName jhDate uName Kmmc Note gldjh2 yunfei baozfei fpno fpje checker chkrq xxyh xxyf "
                          "xxsf aName khqk ljqkje khName khLxr khTele khAddress khNote yf yf2 sf";
const char *const kXsth = "ckName jhDate uName Kmmc Note checker chkrq khqk ljqkje khName khLxr khTele "
                          "khAddress yf sf";
const char *const kXshh = "ckName jhDate uName Note gldjh2 checker chkrq xxyf xxsf aName khqk ljqkje khName "
                          "khLxr khTele khAddress khNote yf sf";
const char *const kSpdd = "ckName jhDate uName Kmmc Note gldjh2 checker chkrq xxyf xxsf aName khqk ljqkje "
                          "khName khLxr khTele khAddress khNote yf sf";
const char *const kTicket = "bt1 bt2 jz1 jz2 jhDate khName yfje sfje mlje fkje zlje zffs uName bcjf zjf Note "
                            "hybh hyye hyjf hytele hymobile hyname";
const char *const kSlip = "sTitle yf sf hybh hyye hyjf hyname hymobile";
const char *const kSlipLines = "g_sn pos_dj pos_dzl pos_sl pos_zje zhdj g_name gl_djh pos_xsrq a_name pos_yfje "
                               "pos_sfje pos_zlje pos_note pos_mlje";
const char *const kTicketLines = "gl_djh g_sn pos_dj pos_sl pos_zje pos_dzl pos_lsj t_zp g_name g_sccs gg_name "
                                 "color_name dw_name";
const char *const kLabelLines = "tm_code g_sn g_name g_jm g_sj g_sptm dw_name gg_name";

std::string Join(const std::initializer_list<const char *> parts)
{
    std::string s;
    for (const char *p : parts)
        s += p, s += ' ';
    return s;
}

TEST(ShippedTemplates, LoadAndNameOnlyWhatTheirRoutinesSupply)
{
    const std::string company = kCompany;
    const std::pair<const char *, std::string> vars[] = {
        {"cgjh", company + kCgjh}, {"cgjh2", company + kCgjh}, {"cgth", company + kCgth},
        {"cgth2", company + kCgth}, {"cgd", company + kCgd},   {"cgd2", company + kCgd},
        {"spxs", company + kSpxs}, {"spxs2", company + kSpxs}, {"spxs4", company + kSpxs},
        {"xsth", company + kXsth}, {"xsth2", company + kXsth}, {"xsth4", company + kXsth},
        {"xsd", company + kSpdd},  {"xsd2", company + kSpdd},  {"xshh", company + kXshh},
        {"posxsd", kSlip},         {"posxp", kTicket},         {"posxp58", kTicket},
        {"txm", ""},
    };
    const std::pair<const char *, const char *> columns[] = {
        {"cgjh", kJhsp},     {"cgjh2", kJhsp},    {"cgth", kThsp},     {"cgth2", kThsp},
        {"cgd", kJhsp},      {"cgd2", kJhsp},     {"spxs", kLsxssp},   {"spxs2", kLsxssp},
        {"spxs4", kLsxssp},  {"xsth", kXsthsp},   {"xsth2", kXsthsp},  {"xsth4", kXsthsp},
        {"xsd", kLsxssp},    {"xsd2", kLsxssp},   {"xshh", kXshhsp},   {"posxsd", kSlipLines},
        {"posxp", kTicketLines}, {"posxp58", kTicketLines}, {"txm", kLabelLines},
    };
    for (int i = 0; i < int(std::size(vars)); ++i) {
        const QString name = QString::fromLatin1(vars[i].first);
        ReportTemplate onDisk;
        ASSERT_TRUE(LoadTemplate(name + QStringLiteral(".fr3"), onDisk, ShippedTemplates())) << vars[i].first;
        QFile builtIn(BuiltInTemplateFile(name));
        ASSERT_TRUE(builtIn.open(QIODevice::ReadOnly)) << vars[i].first;
        ReportTemplate compiled;
        ASSERT_TRUE(ParseTemplate(builtIn.readAll(), compiled)) << vars[i].first;
        EXPECT_EQ(WriteTemplate(compiled), WriteTemplate(onDisk)) << vars[i].first;
        // Writing and reading again keeps the template.
        ReportTemplate again;
        ASSERT_TRUE(ParseTemplate(WriteTemplate(onDisk), again));
        EXPECT_EQ(WriteTemplate(again), WriteTemplate(onDisk)) << vars[i].first;

        QSet<QString> allowedVars = Names(vars[i].second.c_str());
        for (const auto &declared : onDisk.variables)
            allowedVars.insert(declared.first.toLower());
        const QSet<QString> allowedColumns = Names(columns[i].second);
        QStringList texts;
        for (const ReportBand &band : onDisk.bands)
            for (const ReportItem &item : band.items)
                texts << item.text << item.dropIfEmpty;
        for (const QList<RawLine> *lines : {&onDisk.raw.header, &onDisk.raw.detail, &onDisk.raw.footer})
            for (const RawLine &line : *lines) {
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
                    EXPECT_TRUE(token.startsWith(QLatin1String("Q_GoodsPrin.")))
                        << vars[i].first << ": " << token.toStdString();
                    EXPECT_TRUE(allowedColumns.contains(token.section(QLatin1Char('.'), 1).toLower()))
                        << vars[i].first << ": " << token.toStdString();
                } else {
                    EXPECT_TRUE(allowedVars.contains(token.toLower())) << vars[i].first << ": " << token.toStdString();
                }
            }
        }
    }
}

TEST(ShippedTemplates, VariantsWithoutPricesShowNoPriceAmountOrCapitals)
{
    for (const char *name : {"cgjh2", "cgth2", "cgd2", "spxs4", "xsth4", "xsd2"}) {
        ReportTemplate t;
        ASSERT_TRUE(LoadTemplate(QString::fromLatin1(name), t, ShippedTemplates()));
        QString all;
        for (const ReportBand &band : t.bands)
            for (const ReportItem &item : band.items)
                all += item.text + QLatin1Char('\n');
        for (const char *hidden : {"单价", "金额", "大写", "taxdj", "zje", "[sj]", ".sj]", "[yf]", "[sf]", "[yf2]",
                                   "xxyf", "xxsf", "khqk", "ljqkje", "lsj", "零售价"})
            EXPECT_FALSE(all.contains(QString::fromUtf8(hidden))) << name << " " << hidden;
    }
    for (const char *name : {"spxs2", "xsth2"}) {
        ReportTemplate t;
        ASSERT_TRUE(LoadTemplate(QString::fromLatin1(name), t, ShippedTemplates()));
        EXPECT_TRUE(QString::fromUtf8(WriteTemplate(t)).contains(QStringLiteral("零售价"))) << name;
    }
}

TEST(ShippedTemplates, PageSizes)
{
    struct Case
    {
        const char *size;
        bool landscape;
        double width, height;
    } cases[] = {{"A4", false, 210, 297},     {"A4", true, 297, 210},       {"A5L", false, 210, 148},
                 {"241x280", false, 241, 280}, {"241x140", false, 241, 140}, {"roll58", false, 58, 0},
                 {"roll80", false, 80, 0}};
    for (const Case &c : cases) {
        PageSetup page;
        page.size = QString::fromLatin1(c.size);
        page.landscape = c.landscape;
        ASSERT_TRUE(ResolvePageSize(page)) << c.size;
        EXPECT_EQ(page.width, c.width) << c.size;
        EXPECT_EQ(page.height, c.height) << c.size;
    }
    PageSetup unknown;
    unknown.size = QStringLiteral("B5");
    EXPECT_FALSE(ResolvePageSize(unknown));
    ReportTemplate t;
    EXPECT_FALSE(ParseTemplate("{\"page\":{\"size\":\"B5\"}}", t));
    EXPECT_FALSE(ParseTemplate("not json", t));
    EXPECT_FALSE(ParseTemplate(R"({"bands":[{"kind":"middle"}]})", t));
}

} // namespace
