#include "shell/periodclosing.h"

#include "foundation/datamodule.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/presence.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/statistics.h"
#include "foundation/db/transaction.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "shell/backupservice.h"

#include <QDir>
#include <QSet>

#include <vector>

namespace {

// ---- The summary -------------------------------------------------------------------------

// Documents of one kind up to D: the header table, its date column, the condition beside the
// date ("audited", a number prefix, an expense flag) and the columns that condition reads.
struct Scope
{
    const char *header;
    const char *date;
    const char *filter;
    const char *filterColumns;
};

// One figure of an item: an aggregate over the scope's headers (lines null) or over the lines
// that belong to them by gl_djh. A null expression is the figure 0.
struct Figure
{
    const char *expr;
    const char *lines;
    const char *columns;  // the columns `expr` reads
    Scope scope;
};

struct SummaryItem
{
    const char *name;
    Figure count;
    Figure quantity;
    Figure amount;
};

constexpr Figure kZero{nullptr, nullptr, "", {nullptr, nullptr, nullptr, nullptr}};

constexpr Figure countOf(Scope s)
{
    return {"count(*)", nullptr, "", s};
}
constexpr Figure headerSum(const char *expr, const char *columns, Scope s)
{
    return {expr, nullptr, columns, s};
}
constexpr Figure lineSum(const char *expr, const char *lines, const char *columns, Scope s)
{
    return {expr, lines, columns, s};
}

constexpr Scope kJhd{"jxc_jhd", "j_jhrq", "j_status = 1", "j_status"};
constexpr Scope kThd{"jxc_thd", "th_thrq", "th_status = 1", "th_status"};
constexpr Scope kLsxsd{"jxc_lsxsd", "ls_xsrq", "ls_status = 1", "ls_status"};
constexpr Scope kXsthd{"jxc_xsthd", "th_xsrq", "th_status = 1", "th_status"};
constexpr Scope kRkd{"jxc_rkd", "rk_rq", "rk_status = 1", "rk_status"};
constexpr Scope kCkd{"jxc_ckd", "ck_rq", "ck_status = 1", "ck_status"};
constexpr Scope kKcdbd{"jxc_kcdbd", "db_dbrq", "db_status = 1", "db_status"};
constexpr Scope kBsd{"jxc_bsd", "bs_bsrq", "bs_status = 1", "bs_status"};
constexpr Scope kByd{"jxc_byd", "by_byrq", "by_status = 1", "by_status"};
constexpr Scope kCfd{"jxc_cfd", "cf_cfrq", "cf_status = 1", "cf_status"};
constexpr Scope kKbd{"jxc_kbd", "kb_kbrq", "kb_status = 1", "kb_status"};
constexpr Scope kKcpd{"jxc_kcpd", "pd_rq", "pd_status = 1", "pd_status"};
constexpr Scope kKhjh{"jxc_khjh", "jh_rq", "", ""};
constexpr Scope kExpense{"jxc_yyfy", "fy_rq", "fy_flag = '1'", "fy_flag"};
constexpr Scope kIncome{"jxc_yyfy", "fy_rq", "fy_flag = '2'", "fy_flag"};
constexpr Scope kDhd{"jxc_dhd", "dh_dhrq", "", ""};
constexpr Scope kCgd{"jxc_cgd", "j_jhrq", "j_status = 1", "j_status"};
constexpr Scope kXsd{"jxc_xsd", "ls_xsrq", "ls_status = 1", "ls_status"};
constexpr Scope kLy{"jxc_bmlyd", "ly_rq", "ly_status = 1 and substr(gl_djh, 1, 2) = 'LY'", "ly_status,gl_djh"};
constexpr Scope kLt{"jxc_bmlyd", "ly_rq", "ly_status = 1 and substr(gl_djh, 1, 2) = 'LT'", "ly_status,gl_djh"};
constexpr Scope kSc{"jxc_scrkd", "sc_rq", "sc_status = 1 and substr(gl_djh, 1, 2) = 'SC'", "sc_status,gl_djh"};
constexpr Scope kSt{"jxc_scrkd", "sc_rq", "sc_status = 1 and substr(gl_djh, 1, 2) = 'ST'", "sc_status,gl_djh"};
constexpr Scope kScjgd{"jxc_scjgd", "jg_scrq", "jg_status = 1", "jg_status"};
constexpr Scope kWfjgd{"jxc_wfjgd", "wf_fdrq", "wf_status = 1", "wf_status"};
constexpr Scope kWfshd{"jxc_wfshd", "ws_shrq", "ws_status = 1", "ws_status"};
constexpr Scope kWftzd{"jxc_wftzd", "wt_rq", "wt_status = 1", "wt_status"};
constexpr Scope kPlan{"jxc_plan", "jg_rq", "jg_status = 1", "jg_status"};
constexpr Scope kFcwxd{"jxc_fcwxd", "wx_rq", "", ""};

// The 31 items, in the order they are written. An item "as item n" counts item n's documents.
const std::vector<SummaryItem> &summaryItems()
{
    static const std::vector<SummaryItem> items{
        {"采购进货单", countOf(kJhd), lineSum("sum(jh_sl)", "jxc_jhsp", "jh_sl", kJhd),
         headerSum("sum(j_yfje)", "j_yfje", kJhd)},
        {"采购退货单", countOf(kThd), lineSum("sum(th_sl)", "jxc_thsp", "th_sl", kThd),
         headerSum("sum(-1 * th_yfje)", "th_yfje", kThd)},
        {"商品销售单", countOf(kLsxsd), lineSum("sum(ls_sl)", "jxc_lsxssp", "ls_sl", kLsxsd),
         headerSum("sum(ls_yfje)", "ls_yfje", kLsxsd)},
        {"销售退货单", countOf(kXsthd), lineSum("sum(th_sl)", "jxc_xsthsp", "th_sl", kXsthd),
         headerSum("sum(-1 * th_yfje)", "th_yfje", kXsthd)},
        {"商品入库单", countOf(kRkd), lineSum("sum(rk_sl)", "jxc_rksp", "rk_sl", kRkd), kZero},
        {"商品出库单", countOf(kCkd), lineSum("sum(ck_sl)", "jxc_cksp", "ck_sl", kCkd), kZero},
        {"库存调拨单", countOf(kKcdbd), lineSum("sum(db_sl)", "jxc_dbsp", "db_sl", kKcdbd), kZero},
        {"商品报损单", countOf(kBsd), lineSum("sum(bs_sl)", "jxc_bssp", "bs_sl", kBsd),
         lineSum("sum(bs_zje)", "jxc_bssp", "bs_zje", kBsd)},
        {"商品报溢单", countOf(kByd), lineSum("sum(by_sl)", "jxc_bysp", "by_sl", kByd),
         lineSum("sum(by_zje)", "jxc_bysp", "by_zje", kByd)},
        {"被拆分商品", countOf(kCfd), headerSum("sum(cf_sl)", "cf_sl", kCfd),
         headerSum("sum(cf_sl * cf_cbj)", "cf_sl,cf_cbj", kCfd)},
        {"拆分成的商品", countOf(kCfd), lineSum("sum(cf_sl)", "jxc_cfsp", "cf_sl", kCfd),
         lineSum("sum(cf_zje)", "jxc_cfsp", "cf_zje", kCfd)},
        {"捆绑成的商品", countOf(kKbd), headerSum("sum(kb_sl)", "kb_sl", kKbd),
         headerSum("sum(kb_sl * kb_cbj)", "kb_sl,kb_cbj", kKbd)},
        {"被捆绑的商品", countOf(kKbd), lineSum("sum(kb_sl)", "jxc_kbsp", "kb_sl", kKbd),
         lineSum("sum(kb_zje)", "jxc_kbsp", "kb_zje", kKbd)},
        // The counted quantity, and as "amount" the book quantity.
        {"库存盘点单", countOf(kKcpd), headerSum("sum(pd_sl)", "pd_sl", kKcpd), headerSum("sum(kc_sl)", "kc_sl", kKcpd)},
        {"客户借货单", countOf(kKhjh), lineSum("sum(jh_sl)", "jxc_khjhsp", "jh_sl", kKhjh),
         lineSum("sum(jh_zje)", "jxc_khjhsp", "jh_zje", kKhjh)},
        {"费用及收入--费用", countOf(kExpense), kZero, headerSum("sum(fy_je)", "fy_je", kExpense)},
        {"费用及收入--收入", countOf(kIncome), kZero, headerSum("sum(fy_je)", "fy_je", kIncome)},
        {"赠品兑换单", countOf(kDhd), headerSum("sum(dh_sl)", "dh_sl", kDhd), kZero},
        {"采购订单", countOf(kCgd), lineSum("sum(jh_sl)", "jxc_cgsp", "jh_sl", kCgd),
         headerSum("sum(j_yfje)", "j_yfje", kCgd)},
        {"销售订单", countOf(kXsd), lineSum("sum(ls_sl)", "jxc_xssp", "ls_sl", kXsd),
         headerSum("sum(ls_yfje)", "ls_yfje", kXsd)},
        {"部门领用单", countOf(kLy), lineSum("sum(ly_sl)", "jxc_bmlysp", "ly_sl", kLy),
         headerSum("sum(ly_zje)", "ly_zje", kLy)},
        {"部门退回单", countOf(kLt), lineSum("sum(ly_sl)", "jxc_bmlysp", "ly_sl", kLt),
         headerSum("sum(-1 * ly_zje)", "ly_zje", kLt)},
        {"生产入库单", countOf(kSc), lineSum("sum(sc_sl)", "jxc_scrksp", "sc_sl", kSc),
         headerSum("sum(sc_yfje)", "sc_yfje", kSc)},
        {"生产退库单", countOf(kSt), lineSum("sum(sc_sl)", "jxc_scrksp", "sc_sl", kSt),
         headerSum("sum(-1 * sc_yfje)", "sc_yfje", kSt)},
        {"生产加工单", countOf(kScjgd), lineSum("sum(jg_sl)", "jxc_scjgdlb", "jg_sl", kScjgd),
         lineSum("sum(jg_zcb)", "jxc_scjgdlb", "jg_zcb", kScjgd)},
        {"外发加工单", countOf(kWfjgd), headerSum("sum(wf_sl)", "wf_sl", kWfjgd),
         headerSum("sum(wf_yfje)", "wf_yfje", kWfjgd)},
        {"外发加工单配料", countOf(kWfjgd), lineSum("sum(pl_zsl)", "jxc_wfjgdpl", "pl_zsl", kWfjgd),
         lineSum("sum(pl_zcb)", "jxc_wfjgdpl", "pl_zcb", kWfjgd)},
        {"外发收货单", countOf(kWfshd), headerSum("sum(ws_sl)", "ws_sl", kWfshd),
         headerSum("sum(ws_yfje)", "ws_yfje", kWfshd)},
        // Counted as the receipts of item 28; the figures are the adjustments' material lines.
        {"外发加工单配料调整", countOf(kWfshd), lineSum("sum(pl_zsl)", "jxc_wftzdpl", "pl_zsl", kWftzd),
         lineSum("sum(pl_zcb)", "jxc_wftzdpl", "pl_zcb", kWftzd)},
        {"生产计划单", countOf(kPlan), lineSum("sum(jg_sl)", "jxc_planlb", "jg_sl", kPlan),
         lineSum("sum(jg_zcb)", "jxc_planlb", "jg_zcb", kPlan)},
        {"返厂维修单", countOf(kFcwxd), headerSum("sum(wx_sl)", "wx_sl", kFcwxd), kZero},
    };
    return items;
}

// ---- The deletions -----------------------------------------------------------------------

// Rows of `table` up to D by its own date column (header null), or lines of `table` whose
// gl_djh belongs to a header of `header` up to D by the header's date column.
struct Deletion
{
    const char *table;
    const char *date;
    const char *header;
};

// The seven groups, in order: lines first, then their headers.
const std::vector<Deletion> &deletions()
{
    static const std::vector<Deletion> list{
        // 1
        {"jxc_log", "log_time", nullptr},
        // 2
        {"jxc_jhsp", "j_jhrq", "jxc_jhd"},
        {"jxc_jhd", "j_jhrq", nullptr},
        {"jxc_thsp", "th_thrq", "jxc_thd"},
        {"jxc_thd", "th_thrq", nullptr},
        // 3
        {"jxc_lsxssp", "ls_xsrq", "jxc_lsxsd"},
        {"jxc_planpd", "ls_xsrq", "jxc_lsxsd"},
        {"jxc_lsxsd", "ls_xsrq", nullptr},
        // 4
        {"jxc_xsthsp", "th_xsrq", "jxc_xsthd"},
        {"jxc_xsthd", "th_xsrq", nullptr},
        {"jxc_rksp", "rk_rq", "jxc_rkd"},
        {"jxc_rkd", "rk_rq", nullptr},
        {"jxc_cksp", "ck_rq", "jxc_ckd"},
        {"jxc_ckd", "ck_rq", nullptr},
        {"jxc_dbsp", "db_dbrq", "jxc_kcdbd"},
        {"jxc_kcdbd", "db_dbrq", nullptr},
        {"jxc_bssp", "bs_bsrq", "jxc_bsd"},
        {"jxc_bsd", "bs_bsrq", nullptr},
        {"jxc_bysp", "by_byrq", "jxc_byd"},
        {"jxc_byd", "by_byrq", nullptr},
        {"jxc_cfsp", "cf_cfrq", "jxc_cfd"},
        {"jxc_cfd", "cf_cfrq", nullptr},
        {"jxc_kbsp", "kb_kbrq", "jxc_kbd"},
        {"jxc_kbd", "kb_kbrq", nullptr},
        // 5
        {"jxc_jhgl", "jh_rq", nullptr},
        {"jxc_kcpdsp", "pd_rq", "jxc_kcpd"},
        {"jxc_kcpd", "pd_rq", nullptr},
        {"jxc_kcjs", "js_rq", nullptr},
        {"jxc_posxssp", "pos_xsrq", "jxc_posxsd"},
        {"jxc_posxsd", "pos_xsrq", nullptr},
        {"jxc_cgsp", "j_jhrq", "jxc_cgd"},
        {"jxc_cgd", "j_jhrq", nullptr},
        {"jxc_xssp", "ls_xsrq", "jxc_xsd"},
        {"jxc_xsd", "ls_xsrq", nullptr},
        {"jxc_tempspbd", "t_rq", nullptr},
        // Repair orders by the day they were received, the order's own date (an open order has
        // no day of collection yet).
        {"jxc_wxsp", "wx_wxrq", "jxc_wxd"},
        {"jxc_wxd", "wx_wxrq", nullptr},
        {"jxc_bmlysp", "ly_rq", "jxc_bmlyd"},
        {"jxc_bmlyd", "ly_rq", nullptr},
        {"jxc_fcwxd", "wx_rq", nullptr},
        // 6
        {"jxc_scjgdlb", "jg_scrq", "jxc_scjgd"},
        {"jxc_scjgdpl", "jg_scrq", "jxc_scjgd"},
        {"jxc_scjgd", "jg_scrq", nullptr},
        {"jxc_scrksp", "sc_rq", "jxc_scrkd"},
        {"jxc_scrkd", "sc_rq", nullptr},
        {"jxc_wfjgdpl", "wf_fdrq", "jxc_wfjgd"},
        {"jxc_wfjgd", "wf_fdrq", nullptr},
        {"jxc_wftzdpl", "wt_rq", "jxc_wftzd"},
        {"jxc_wftzd", "wt_rq", nullptr},
        {"jxc_wfshd", "ws_shrq", nullptr},
        {"jxc_planlb", "jg_rq", "jxc_plan"},
        {"jxc_planpl", "jg_rq", "jxc_plan"},
        {"jxc_plan", "jg_rq", nullptr},
        {"jxc_dhzp", "dh_dhrq", "jxc_dhd"},
        {"jxc_dhd", "dh_dhrq", nullptr},
        // 7
        {"jxc_crk", "crk_rq", nullptr},
        {"jxc_kdd", "kd_rq", nullptr},
        {"jxc_planpd", "plan_yqrq", nullptr},
    };
    return list;
}

// After the carry-forwards: the registrations and the expenses and income.
const std::vector<Deletion> &finalDeletions()
{
    static const std::vector<Deletion> list{{"jxc_ysyfk_dj", "k_rq", nullptr}, {"jxc_yyfy", "fy_rq", nullptr}};
    return list;
}

// ---- The carry-forwards ------------------------------------------------------------------

// One running ledger. Its key columns are compared one by one. The row kept per key is, among
// its counted rows up to D, the one of the latest date and, among rows of that date, the
// largest id; every other row up to D goes (uncounted ones too). Rows whose balance is 0 go as
// well where `zeroBalance` names the balance column. `carry` turns the kept row into the
// carried-forward row; its "?" take the marker text, then D.
struct Ledger
{
    const char *table;
    const char *date;
    QStringList keys;
    const char *counted;  // condition on a row, "%1" before each column (the row's alias), empty: all
    const char *zeroBalance;
    const char *carry;
    int markerBinds;
};

// The goods row becomes an opening row ('qc') of the running stock, average cost and value at
// D. gl_kc, gl_pjjj and gl_kczje stay, so later rows and the stock row stay right untouched. An
// opening row carries no partner, profit, cost, tax or document link.
const Ledger kGoodsLedger{
    "jxc_goodslist", "gl_kdrq", {"g_sn", "ck_sn"}, "", nullptr,
    "gl_sl = gl_kc, gl_dj = gl_pjjj, gl_zje = gl_kczje, gl_je = gl_kczje, gl_sqje = 0, gl_sqsl = 0, "
    "gl_djh = '', gl_flag = 'qc', ghs_name = ?, gl_note = ?, gl_kdrq = ?, ghs_sn = '', gl_lr = 0, "
    "gl_zcb = 0, gl_taxje = 0, gl_sysl = gl_kc, id2 = NULL, idck = NULL, gl_djh2 = ''",
    2};

// The opening amount goes to 0 too: the balance walk adds fp_qcje + fp_yfje − fp_kpje, and the
// carried amount is all in fp_yfje.
const Ledger kInvoiceLedger{
    "jxc_fpdjb", "fp_rq", {"fp_type", "fp_ghskh"}, "coalesce(%1fp_check, 0) <> 0", "fp_ljje",
    "gl_djh = '', fp_yfje = fp_ljje, fp_sfje = 0, fp_kpje = 0, fp_qcje = 0, fp_djtxt = ?, fp_note = ?, fp_rq = ?",
    2};

// Zero balances are carried too: the account keeps its row.
const Ledger kCashLedger{
    "jxc_xjyh", "xj_rq", {"xj_kmmc"}, "coalesce(%1xj_chk, '') = '1'", nullptr,
    "xj_je = xj_ljje, gl_djh = '', xj_note = ?, xj_dlx = ?, ghs_name = '', ghs_sn = '', xj_rq = ?", 2};

// A customer and a supplier of one code are two accounts. The settled document's number goes
// with the rest: a cancel deletes the partner rows that name it.
const Ledger kPartnerLedger{
    "jxc_ysyfk", "k_rq", {"k_type", "k_ghskh"}, "", "k_ljje",
    "gl_djh = '', gl_djh2 = '', k_yfje = k_ljje, k_sfje = 0, k_yhje = 0, k_qcje = 0, k_djtxt = ?, k_note = ?, "
    "k_rq = ?",
    2};

const std::vector<const Ledger *> &ledgers()
{
    static const std::vector<const Ledger *> list{&kGoodsLedger, &kInvoiceLedger, &kCashLedger, &kPartnerLedger};
    return list;
}

QStringList columnList(const QString &columns)
{
    QStringList out;
    for (const QString &c : columns.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << c.trimmed();
    return out;
}

QString latin(const char *text)
{
    return QString::fromLatin1(text);
}

// Every table the closing reads or changes.
QStringList namedTables()
{
    QSet<QString> tables{QStringLiteral("jxc_nj"), QStringLiteral("jxc_tempspxf"), QStringLiteral("jxc_tempspxf2")};
    for (const SummaryItem &item : summaryItems()) {
        for (const Figure *f : {&item.count, &item.quantity, &item.amount}) {
            if (f->lines)
                tables.insert(latin(f->lines));
            if (f->scope.header)
                tables.insert(latin(f->scope.header));
        }
    }
    for (const std::vector<Deletion> *list : {&deletions(), &finalDeletions()}) {
        for (const Deletion &d : *list) {
            tables.insert(latin(d.table));
            if (d.header)
                tables.insert(latin(d.header));
        }
    }
    for (const Ledger *l : ledgers())
        tables.insert(latin(l->table));
    return QStringList(tables.cbegin(), tables.cend());
}

QString wherePart(const Scope &s)
{
    const QString filter = latin(s.filter);
    return (filter.isEmpty() ? QString() : filter + QStringLiteral(" and ")) + latin(s.date) + QStringLiteral(" <= ?");
}

// "(select <expr> from …)" for one figure; the date bound once.
QString figureSql(const Figure &f)
{
    const QString scope = wherePart(f.scope);
    if (!f.lines)
        return QStringLiteral("(select %1 from %2 where %3)").arg(latin(f.expr), latin(f.scope.header), scope);
    return QStringLiteral("(select %1 from %2 where gl_djh in (select gl_djh from %3 where %4))")
        .arg(latin(f.expr), latin(f.lines), latin(f.scope.header), scope);
}

// The condition "a later counted row of the same key up to D exists" on the ledger's rows.
QString laterRowExists(const Ledger &l)
{
    const QString t = latin(l.table);
    const QString date = latin(l.date);
    QStringList same;
    for (const QString &k : l.keys)
        same << QStringLiteral("k.%1 = %2.%1").arg(k, t);
    const QString counted = latin(l.counted).isEmpty() ? QString() : QStringLiteral(" and ") + latin(l.counted).arg(QStringLiteral("k."));
    const QString key = same.join(QStringLiteral(" and ")) + counted;
    return QStringLiteral("exists (select 1 from %1 k where %2 and k.%3 > %1.%3 and k.%3 <= ?) "
                          "or exists (select 1 from %1 k where %2 and k.%3 = %1.%3 and k.id > %1.id)")
        .arg(t, key, date);
}

void addCarryStatements(ClosingStatements &out, const Ledger &l, const QString &bound)
{
    const QString t = latin(l.table);
    const QString date = latin(l.date);
    // Every row up to D but the kept one: the uncounted rows and those a later counted row of
    // their key follows.
    const QString uncounted = latin(l.counted).isEmpty()
                                  ? QString()
                                  : QStringLiteral("not (%1) or ").arg(latin(l.counted).arg(QString()));
    out.push_back({QStringLiteral("delete from %1 where %2 <= ? and (%3%4)").arg(t, date, uncounted, laterRowExists(l)),
                   {bound, bound}});
    if (l.zeroBalance)
        out.push_back({QStringLiteral("delete from %1 where %2 = 0 and %3 <= ?").arg(t, latin(l.zeroBalance), date), {bound}});
    QVariantList binds;
    for (int i = 0; i < l.markerBinds; ++i)
        binds << QString::fromUtf8(kCarriedForwardText);
    binds << bound << bound;
    out.push_back({QStringLiteral("update %1 set %2 where %3 <= ?").arg(t, latin(l.carry), date), binds});
}

void addDeletions(ClosingStatements &out, const PeriodClosing &closing, const std::vector<Deletion> &list,
                  const QString &bound)
{
    for (const Deletion &d : list) {
        const QString table = latin(d.table);
        const QString date = latin(d.date);
        if (!d.header) {
            if (closing.has(table, date))
                out.push_back({QStringLiteral("delete from %1 where %2 <= ?").arg(table, date), {bound}});
            continue;
        }
        const QString header = latin(d.header);
        if (closing.has(table, QStringLiteral("gl_djh")) && closing.has(header, QStringLiteral("gl_djh,") + date))
            out.push_back(
                {QStringLiteral("delete from %1 where gl_djh in (select gl_djh from %2 where %3 <= ?)").arg(table, header, date),
                 {bound}});
    }
}

void runAll(const QSqlDatabase &db, const ClosingStatements &statements)
{
    for (const ClosingStatement &s : statements)
        RunSql(db, s.sql, s.binds);
}

QString dateText(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM-dd"));
}

} // namespace

QDate DefaultClosingDate(const QDate &today)
{
    return QDate(today.addMonths(-12).year(), 12, 31);
}

QString ClosingBound(const QDate &date)
{
    return dateText(date) + QStringLiteral(" 23:59:00");
}

bool AlreadyClosed(const QSqlDatabase &db, const QDate &date)
{
    return !QueryScalar(db, QStringLiteral("select nj_year from jxc_nj where nj_year >= ? limit 1"), {dateText(date)})
                .isEmpty();
}

QString ClosingWarningText(const QDate &date)
{
    return QStringLiteral("将删除： ") + dateText(date) + QStringLiteral(" 及该日期之前的全部数据！");
}

QString ClosingRefusalText()
{
    return QStringLiteral("当前帐套正在被其他工作站使用，不能进行数据结算！\r\n\r\n请其他工作站退出本系统后再操作。");
}

ListStatement ClosingSummaryStatement()
{
    return {QStringLiteral("select id, nj_jsrq, nj_year, nj_xm, nj_ds, nj_sl, nj_je from jxc_nj"),
            QStringLiteral("nj_year desc, id"),
            {}};
}

void DeleteClosingSummaryRow(const QSqlDatabase &db, qint64 id)
{
    RunSql(db, QStringLiteral("delete from jxc_nj where id = ?"), {id});
}

// ---- PeriodClosing -------------------------------------------------------------------------

PeriodClosing::PeriodClosing(const QSqlDatabase &db, const QString &operatorName) : m_db(db), m_operator(operatorName)
{
    m_columns = ExistingTableColumns(m_db, namedTables());
}

bool PeriodClosing::has(const QString &table, const QString &columns) const
{
    const auto it = m_columns.constFind(table);
    if (it == m_columns.constEnd())
        return false;
    for (const QString &c : columnList(columns)) {
        if (!it->contains(c))
            return false;
    }
    return true;
}

QStringList PeriodClosing::changedTables() const
{
    QSet<QString> tables{QStringLiteral("jxc_nj"), QStringLiteral("jxc_tempspxf"), QStringLiteral("jxc_tempspxf2")};
    for (const std::vector<Deletion> *list : {&deletions(), &finalDeletions()}) {
        for (const Deletion &d : *list)
            tables.insert(latin(d.table));
    }
    for (const Ledger *l : ledgers())
        tables.insert(latin(l->table));
    QStringList out;
    for (const QString &t : tables) {
        if (has(t))
            out << t;
    }
    out.sort();
    return out;
}

ClosingStatements PeriodClosing::summaryStatements(const QDate &date, const QDate &today) const
{
    const QString bound = ClosingBound(date);
    ClosingStatements out;
    for (const SummaryItem &item : summaryItems()) {
        // A figure whose table or columns the set lacks makes the item count 0.
        bool present = true;
        for (const Figure *f : {&item.count, &item.quantity, &item.amount}) {
            if (!f->expr)
                continue;
            QString headerColumns = latin(f->scope.filterColumns) + QLatin1Char(',') + latin(f->scope.date);
            if (f->lines) {
                present = present && has(latin(f->lines), latin(f->columns) + QStringLiteral(",gl_djh"));
                headerColumns += QStringLiteral(",gl_djh");
            } else {
                headerColumns += QLatin1Char(',') + latin(f->columns);
            }
            present = present && has(latin(f->scope.header), headerColumns);
        }
        QVariantList binds{dateText(today), dateText(date), QString::fromUtf8(item.name)};
        if (!present) {
            out.push_back({QStringLiteral("insert into jxc_nj (nj_jsrq, nj_year, nj_xm, nj_ds, nj_sl, nj_je) "
                                          "values (?, ?, ?, 0, 0, 0)"),
                           binds});
            continue;
        }
        QStringList values;
        for (const Figure *f : {&item.count, &item.quantity, &item.amount}) {
            if (!f->expr) {
                values << QStringLiteral("0");
                continue;
            }
            values << QStringLiteral("coalesce(%1, 0)").arg(figureSql(*f));
            binds << bound;
        }
        out.push_back({QStringLiteral("insert into jxc_nj (nj_jsrq, nj_year, nj_xm, nj_ds, nj_sl, nj_je) select ?, ?, ?, %1")
                           .arg(values.join(QStringLiteral(", "))),
                       binds});
    }
    return out;
}

ClosingStatements PeriodClosing::deletionStatements(const QDate &date) const
{
    ClosingStatements out;
    addDeletions(out, *this, deletions(), ClosingBound(date));
    return out;
}

ClosingStatements PeriodClosing::carryForwardStatements(const QDate &date) const
{
    ClosingStatements out;
    for (const Ledger *l : ledgers())
        addCarryStatements(out, *l, ClosingBound(date));
    return out;
}

ClosingStatements PeriodClosing::finishStatements(const QDate &date) const
{
    ClosingStatements out;
    addDeletions(out, *this, finalDeletions(), ClosingBound(date));
    out.push_back({QStringLiteral("delete from jxc_nj where nj_sl = 0 and nj_ds = 0"), {}});
    return out;
}

void PeriodClosing::writeSummary(const QDate &date, const QDate &today) const
{
    Transaction tx(m_db);
    runAll(m_db, summaryStatements(date, today));
    tx.commit();
}

void PeriodClosing::deleteDocuments(const QDate &date) const
{
    Transaction tx(m_db);
    runAll(m_db, deletionStatements(date));
    tx.commit();
}

void PeriodClosing::carryForward(const QDate &date) const
{
    Transaction tx(m_db);
    ClearOperatorTemp(m_db, m_operator);
    runAll(m_db, carryForwardStatements(date));
    tx.commit();
}

void PeriodClosing::finish(const QDate &date) const
{
    Transaction tx(m_db);
    runAll(m_db, finishStatements(date));
    tx.commit();
}

// ---- The run -------------------------------------------------------------------------------

namespace {

// The lock was not granted in time, or another session arrived: nothing written.
struct SessionsPresent
{
};

void closeInOneTransaction(const ClosingContext &c, const QDate &date)
{
    const QSqlDatabase db = c.data->mainDb();
    const LoginState &state = *c.state;
    // The catalogue is read before the transaction: no statement probes a missing table.
    const PeriodClosing closing(db, state.CurrentOperatorName);
    auto step = [&](ClosingStep s) {
        if (c.beforeStep)
            c.beforeStep(s, db);
    };
    Transaction tx(db);
    const Dialect dialect = Dialect::of(db);
    const QString timeout = dialect.lockTimeoutStatement(c.lockWaitMs);
    if (!timeout.isEmpty())
        RunSql(db, timeout);
    const QString lock = dialect.lockTablesStatement(closing.changedTables(), TableLock::Exclusive);
    if (!lock.isEmpty()) {
        try {
            RunSql(db, lock);
        } catch (const DbError &) {
            throw SessionsPresent{};
        }
    }
    if (OtherSessionsOnSet(db) > 0)
        throw SessionsPresent{};
    step(ClosingStep::Summary);
    closing.writeSummary(date, c.clock->today());
    step(ClosingStep::Deletion);
    closing.deleteDocuments(date);
    step(ClosingStep::CarryForward);
    closing.carryForward(date);
    step(ClosingStep::Finish);
    closing.finish(date);
    tx.commit();
}

ClosingResult shown(Notices &notices, ClosingOutcome outcome, const QString &text)
{
    notices.notice(text);
    return {outcome, text};
}

} // namespace

ClosingResult RunPeriodClosing(const ClosingContext &c, const QDate &date, Notices &notices)
{
    const QSqlDatabase db = c.data->mainDb();
    const QString failed = QStringLiteral("数据结算失败：");
    try {
        if (OtherSessionsOnSet(db) > 0)
            return shown(notices, ClosingOutcome::Refused, ClosingRefusalText());
        if (AlreadyClosed(db, date)
            && notices.ask(dateText(date) + QStringLiteral("日期已经结算过了，还要重新结算吗？")) != Notices::Answer::Yes)
            return {ClosingOutcome::Declined, QString()};
    } catch (const DbError &e) {
        return shown(notices, ClosingOutcome::Failed, failed + e.text());
    }
    if (notices.ask(QStringLiteral("数据结算前将备份数据库。\r\n\r\n结算日期【") + dateText(date)
                    + QStringLiteral("】及之前的所有数据将被删除。\r\n\r\n您确定要进行数据结算吗！"))
        != Notices::Answer::Yes)
        return {ClosingOutcome::Declined, QString()};

    if (c.backup) {
        const QString path = QDir(c.programFolder)
                                 .filePath(BackupFileName(c.state->CurrentAccountSetName + QStringLiteral("(数据结算)"),
                                                          c.clock->now()));
        try {
            WriteBackupFile(c.data->settings(), c.data->mainFileName(), path);
        } catch (const DbError &e) {
            return shown(notices, ClosingOutcome::Failed, QStringLiteral("备份失败！") + e.text());
        }
        notices.notice(QStringLiteral("备份成功！备份文件保存在：") + QDir::toNativeSeparators(path));
    }

    try {
        closeInOneTransaction(c, date);
    } catch (const SessionsPresent &) {
        return shown(notices, ClosingOutcome::Refused, ClosingRefusalText());
    } catch (const DbError &e) {
        return shown(notices, ClosingOutcome::Failed, failed + e.text());
    }
    // The closing removed most of the ledgers' rows: the planner's statistics are made anew.
    KeepStatistics(db);
    if (c.afterCommit)
        c.afterCommit();
    return shown(notices, ClosingOutcome::Done, QStringLiteral("结算完成！"));
}
