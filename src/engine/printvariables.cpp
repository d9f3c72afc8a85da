#include "engine/printvariables.h"

#include "engine/balances.h"
#include "engine/printsupport.h"
#include "foundation/capitals.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "platform/format/formatnumber.h"
#include "report/model/reportvariables.h"

#include <vector>

namespace {

struct Field
{
    const char *variable;
    const char *column;
};

void SetFields(ReportVariables &variables, const PrintRow &row, const std::vector<Field> &fields)
{
    for (const Field &f : fields)
        variables.set(QString::fromLatin1(f.variable), row[QString::fromLatin1(f.column)]);
}

// ---- Purchase and sales documents ----

enum class Balances { None, Rule, Plain };

struct TradeType
{
    const char *code;
    const char *headerTable;
    bool handlerTele;               // "cgd": the handler's telephone as well
    std::vector<Field> header;      // in the order they are set
    const char *partnerKind;        // "ghs" or "kh"
    std::vector<Field> partner;
    const char *due;
    const char *paid;
    const char *status;
    const char *mode;
    Balances balances;
    bool negated;    // returns store their amounts negative: capitals of the negated texts
    bool lineTotal;  // "yf2": capitals of the lines' total
};

const std::vector<Field> kSupplier = {{"ghsName", "ghs_name"}, {"ghsLxr", "ghs_lxr"},
                                      {"ghsTele", "ghs_tele"}, {"ghsAddress", "ghs_address"}};
const std::vector<Field> kCustomer = {{"khName", "kh_name"}, {"khLxr", "kh_lxr"}, {"khTele", "kh_tele"},
                                      {"khAddress", "kh_address"}};
const std::vector<Field> kCustomerWithNote = {{"khName", "kh_name"},       {"khLxr", "kh_lxr"},
                                              {"khTele", "kh_tele"},       {"khAddress", "kh_address"},
                                              {"khNote", "kh_note"}};

const std::vector<TradeType> &TradeTypes()
{
    static const std::vector<TradeType> types = {
        {"cgjh", "jxc_jhd", false,
         {{"ckName", "ck_name"}, {"jhDate", "j_jhrq"}, {"uName", "u_name"}, {"Kmmc", "j_kmmc"},
          {"Note", "j_note"}, {"gldjh2", "gl_djh2"}, {"yunfei", "j_yf"}, {"baozfei", "j_bzf"},
          {"fpno", "j_fpno"}, {"checker", "j_checker"}, {"chkrq", "j_chkrq"}, {"xxyh", "j_yhje"},
          {"xxyf", "j_yfje"}, {"xxsf", "j_sfje"}, {"aName", "a_name"}},
         "ghs", kSupplier, "j_yfje", "j_sfje", "j_status", "j_jsfs", Balances::Rule, false, false},
        // A purchase return stores its amounts negative; its capitals are those of the amounts
        // as the slip shows them, as for sales returns.
        {"cgth", "jxc_thd", false,
         {{"ckName", "ck_name"}, {"jhDate", "th_thrq"}, {"uName", "u_name"}, {"Kmmc", "th_kmmc"},
          {"Note", "th_note"}, {"checker", "th_checker"}, {"chkrq", "th_chkrq"}},
         "ghs", kSupplier, "th_yfje", "th_sfje", "th_status", "th_jsfs", Balances::None, true, false},
        {"cgd", "jxc_cgd", true,
         {{"ckName", "ck_name"}, {"jhDate", "j_jhrq"}, {"uName", "u_name"}, {"uTele", "u_tele"},
          {"Kmmc", "j_kmmc"}, {"Note", "j_note"}, {"gldjh2", "gl_djh2"}, {"checker", "j_checker"},
          {"chkrq", "j_chkrq"}, {"xxyf", "j_yfje"}, {"xxsf", "j_sfje"}, {"aName", "a_name"}},
         "ghs",
         {{"ghsBh", "ghs_sn"}, {"ghsName", "ghs_name"}, {"ghsLxr", "ghs_lxr"}, {"ghsTele", "ghs_tele"},
          {"ghsAddress", "ghs_address"}},
         "j_yfje", "j_sfje", "j_status", "j_jsfs", Balances::None, false, false},
        {"spxs", "jxc_lsxsd", false,
         {{"ckName", "ck_name"}, {"jhDate", "ls_xsrq"}, {"uName", "u_name"}, {"Kmmc", "ls_kmmc"},
          {"Note", "ls_note"}, {"gldjh2", "gl_djh2"}, {"yunfei", "ls_yf"}, {"baozfei", "ls_bzf"},
          {"fpno", "ls_fpno"}, {"fpje", "ls_fpje"}, {"checker", "ls_checker"}, {"chkrq", "ls_chkrq"},
          {"xxyh", "ls_yhje"}, {"xxyf", "ls_yfje"}, {"xxsf", "ls_sfje"}, {"aName", "a_name"}},
         "kh", kCustomerWithNote, "ls_yfje", "ls_sfje", "ls_status", "ls_jsfs", Balances::Rule, false, true},
        {"xsth", "jxc_xsthd", false,
         {{"ckName", "ck_name"}, {"jhDate", "th_xsrq"}, {"uName", "u_name"}, {"Kmmc", "th_kmmc"},
          {"Note", "th_note"}, {"checker", "th_checker"}, {"chkrq", "th_chkrq"}},
         "kh", kCustomer, "th_yfje", "th_sfje", "th_status", "th_jsfs", Balances::Rule, true, false},
        {"xshh", "jxc_xshhd", false,
         {{"ckName", "ck_name"}, {"jhDate", "ls_xsrq"}, {"uName", "u_name"}, {"Note", "ls_note"},
          {"gldjh2", "gl_djh2"}, {"checker", "ls_checker"}, {"chkrq", "ls_chkrq"}, {"xxyf", "ls_yfje"},
          {"xxsf", "ls_sfje"}, {"aName", "a_name"}},
         "kh", kCustomerWithNote, "ls_yfje", "ls_sfje", "ls_status", "ls_jsfs", Balances::Rule, false, false},
        {"spdd", "jxc_xsd", false,
         {{"ckName", "ck_name"}, {"jhDate", "ls_xsrq"}, {"uName", "u_name"}, {"Kmmc", "ls_kmmc"},
          {"Note", "ls_note"}, {"gldjh2", "gl_djh2"}, {"checker", "ls_checker"}, {"chkrq", "ls_chkrq"},
          {"xxyf", "ls_yfje"}, {"xxsf", "ls_sfje"}, {"aName", "a_name"}},
         "kh", kCustomerWithNote, "ls_yfje", "ls_sfje", "ls_status", "ls_jsfs", Balances::Plain, false, false},
    };
    return types;
}

// The text of a stored amount with its sign turned; the empty text stays empty.
QString Negated(const QString &amount)
{
    return amount.isEmpty() ? amount : NumberText(-TextToNumber(amount));
}

void SetTradeVariables(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                       ReportVariables &variables, const QString &number, const TradeType &type)
{
    variables.clear();
    SetCompanyVariables(variables, state);

    const QString sql = QStringLiteral("select a.*, b.ck_name, c.u_name%1 from %2 a, jxc_ckxx b, jxc_user c "
                                       "where a.ck_sn = b.ck_sn and a.u_sn = c.u_sn and a.gl_djh = ? "
                                       "order by a.id")
                            .arg(type.handlerTele ? QStringLiteral(", c.u_tele") : QString(),
                                 QString::fromLatin1(type.headerTable));
    const PrintRow header = PrintRow::read(db, sql, {number});
    SetFields(variables, header, type.header);

    const QString kind = QString::fromLatin1(type.partnerKind);
    const QString partnerColumn = kind + QStringLiteral("_sn");
    const QString partnerCode = header[partnerColumn];
    const QString due = header[QString::fromLatin1(type.due)];
    const QString paid = header[QString::fromLatin1(type.paid)];

    if (type.balances != Balances::None) {
        const QString b = GetPartnerBalance(db, state, clock, partnerCode, kind);
        QString without = b;
        QString with = b;
        if (type.balances == Balances::Rule) {
            const QString status = header[QString::fromLatin1(type.status)];
            const QString mode = header[QString::fromLatin1(type.mode)];
            const double balance = TextToNumber(b);
            const double y = TextToNumber(due);
            const double s = TextToNumber(paid);
            if (status == QLatin1String("1") && mode == QLatin1String("1"))
                without = NumberText(balance - y + s);
            if (status == QLatin1String("0") && mode == QLatin1String("1"))
                with = NumberText(balance + y - s);
        }
        variables.set(QStringLiteral("khqk"), without);
        variables.set(QStringLiteral("ljqkje"), with);
    }

    // The partner row; without a partner code there is none to read.
    PrintRow partner;
    if (!partnerCode.isEmpty())
        partner = PrintRow::read(db,
                                 QStringLiteral("select * from %1 where %2 = ?")
                                     .arg(kind == QLatin1String("ghs") ? QStringLiteral("jxc_ghsxx")
                                                                       : QStringLiteral("jxc_khxx"),
                                          partnerColumn),
                                 {partnerCode});
    SetFields(variables, partner, type.partner);

    variables.set(QStringLiteral("yf"), MoneyToCapital(type.negated ? Negated(due) : due));
    if (type.lineTotal) {
        QString total = QueryScalar(db, QStringLiteral("select sum(ls_je) as je from jxc_lsxssp where gl_djh = ?"),
                                    {number});
        if (total.isEmpty())
            total = QStringLiteral("0");
        variables.set(QStringLiteral("yf2"), MoneyToCapital(FormatNumber(TextToNumber(total), QStringLiteral("#.00"))));
    }
    variables.set(QStringLiteral("sf"), MoneyToCapital(type.negated ? Negated(paid) : paid));
}

// ---- Stock, loan and production documents ----

void SetStockVariables(const QSqlDatabase &db, const LoginState &state, ReportVariables &variables,
                       const QString &number, const QString &type)
{
    if (type == QLatin1String("khjh"))
        variables.clear();
    SetCompanyVariables(variables, state, type != QLatin1String("SC"));

    if (type == QLatin1String("spbs"))
        variables.set(QStringLiteral("title"), QStringLiteral("商品报损单"));
    else if (type == QLatin1String("spby"))
        variables.set(QStringLiteral("title"), QStringLiteral("商品报溢单"));
    else if (type == QLatin1String("khjh"))
        variables.set(QStringLiteral("djName"),
                      number.left(2) == QLatin1String("HH") ? QStringLiteral("还货") : QStringLiteral("借货"));

    QString yf;
    if (type == QLatin1String("kcdb")) {
        // Goods without a sale price count as 0.
        const QString total = QueryScalar(db,
                                          QStringLiteral("select sum(a.db_sl * coalesce(b.g_sj, 0)) as zje "
                                                         "from jxc_dbsp a, jxc_goods b "
                                                         "where a.g_sn = b.g_sn and a.gl_djh = ?"),
                                          {number});
        yf = MoneyToCapital(total);
    }

    QString sql;
    std::vector<Field> fields;
    if (type == QLatin1String("kcdb")) {
        sql = QStringLiteral("select b.ck_name as dcck, c.ck_name as drck, d.u_name, a.* "
                             "from jxc_kcdbd a, jxc_ckxx b, jxc_ckxx c, jxc_user d "
                             "where a.ck_out = b.ck_sn and a.ck_in = c.ck_sn and a.u_sn = d.u_sn and a.gl_djh = ? "
                             "order by a.id");
        fields = {{"ckOut", "dcck"}, {"ckIn", "drck"}, {"jhDate", "db_dbrq"}, {"uName", "u_name"}, {"Note", "db_note"}};
    } else if (type == QLatin1String("spcf") || type == QLatin1String("spkb")) {
        const bool split = type == QLatin1String("spcf");
        const QString p = split ? QStringLiteral("cf") : QStringLiteral("kb");
        // A note saved twice under one number: the newest header.
        sql = QStringLiteral("select a.*, b.g_name, b.g_jm, c.ck_name, b.dw_name, b.gg_name, b.color_name, "
                             "a.%1_cbj * a.%1_sl as zje, d.u_name, b.g_sccs "
                             "from %2 a, jxc_goods b, jxc_ckxx c, jxc_user d "
                             "where a.g_sn = b.g_sn and a.ck_sn = c.ck_sn and a.u_sn = d.u_sn and a.gl_djh = ? "
                             "order by a.id desc")
                  .arg(p, split ? QStringLiteral("jxc_cfd") : QStringLiteral("jxc_kbd"));
        fields = {{"ckName", "ck_name"}, {"jhDate", split ? "cf_cfrq" : "kb_kbrq"}, {"uName", "u_name"},
                  {"aName", "a_name"}, {"gName", "g_name"}, {"gSn", "g_sn"}, {"dwName", "dw_name"},
                  {"ggName", "gg_name"}, {"colorName", "color_name"}, {"cfCbj", split ? "cf_cbj" : "kb_cbj"},
                  {"cfSl", split ? "cf_sl" : "kb_sl"}, {"cfZje", "zje"}, {"cfNote", split ? "cf_note" : "kb_note"}};
    } else if (type == QLatin1String("spbs") || type == QLatin1String("spby")) {
        const bool loss = type == QLatin1String("spbs");
        sql = loss ? QStringLiteral("select a.bs_bsrq as rq, a.bs_note as dnote, a.a_name, b.ck_name, c.u_name "
                                    "from jxc_bsd a, jxc_ckxx b, jxc_user c "
                                    "where a.ck_sn = b.ck_sn and a.u_sn = c.u_sn and a.gl_djh = ? order by a.id")
                   : QStringLiteral("select a.by_byrq as rq, a.by_note as dnote, a.a_name, b.ck_name, c.u_name "
                                    "from jxc_byd a, jxc_ckxx b, jxc_user c "
                                    "where a.ck_sn = b.ck_sn and a.u_sn = c.u_sn and a.gl_djh = ? order by a.id");
        fields = {{"ckName", "ck_name"}, {"jhDate", "rq"}, {"uName", "u_name"}, {"aName", "a_name"}, {"dNote", "dnote"}};
    } else if (type == QLatin1String("kcpd")) {
        sql = QStringLiteral("select a.*, b.ck_name from jxc_kcpd a, jxc_ckxx b "
                             "where a.ck_sn = b.ck_sn and a.gl_djh = ? order by a.id");
        fields = {{"ckName", "ck_name"}, {"jhDate", "pd_rq"}, {"Note", "pd_note"}};
    } else if (type == QLatin1String("khjh")) {
        sql = QStringLiteral("select a.*, b.ck_name as ckname, c.u_name, d.* "
                             "from jxc_khjh a, jxc_ckxx b, jxc_user c, jxc_khxx d "
                             "where a.ck_sn = b.ck_sn and a.u_sn = c.u_sn and a.kh_sn = d.kh_sn and a.gl_djh = ? "
                             "order by a.id");
        fields = {{"ckName", "ckname"}, {"jhDate", "jh_rq"}, {"uName", "u_name"}, {"Note", "jh_note"},
                  {"khName", "kh_name"}, {"khLxr", "kh_lxr"}, {"khTele", "kh_tele"}, {"khAddress", "kh_address"}};
    } else {  // "SC", "LY"
        const bool production = type == QLatin1String("SC");
        sql = QStringLiteral("select a.*, b.ck_name, c.de_name, d.u_name from %1 a, jxc_ckxx b, jxc_dept c, jxc_user d "
                             "where a.ck_sn = b.ck_sn and a.de_sn = c.de_sn and a.u_sn = d.u_sn and a.gl_djh = ? "
                             "order by a.id")
                  .arg(production ? QStringLiteral("jxc_scrkd") : QStringLiteral("jxc_bmlyd"));
        fields = {{"ckName", "ck_name"},
                  {"jhDate", production ? "sc_rq" : "ly_rq"},
                  {"uName", "u_name"},
                  {"deName", "de_name"},
                  {"checker", production ? "sc_checker" : "ly_checker"},
                  {"chkrq", production ? "sc_chkrq" : "ly_chkrq"},
                  {"Note", production ? "sc_note" : "ly_note"}};
    }
    SetFields(variables, PrintRow::read(db, sql, {number}), fields);
    if (type == QLatin1String("kcdb"))
        variables.set(QStringLiteral("yf"), yf);
}

bool IsStockType(const QString &type)
{
    static const QStringList types = {QStringLiteral("kcdb"), QStringLiteral("spcf"), QStringLiteral("spkb"),
                                      QStringLiteral("spbs"), QStringLiteral("spby"), QStringLiteral("kcpd"),
                                      QStringLiteral("khjh"), QStringLiteral("SC"),   QStringLiteral("LY")};
    return types.contains(type);  // exact, letter case included
}

} // namespace

void SetPrintVariables(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                       ReportVariables &variables, const QString &number, const QString &printType)
{
    for (const TradeType &type : TradeTypes()) {
        if (printType == QLatin1String(type.code)) {
            SetTradeVariables(db, state, clock, variables, number, type);
            return;
        }
    }
    if (IsStockType(printType))
        SetStockVariables(db, state, variables, number, printType);
}
