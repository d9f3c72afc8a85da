// Goods ledger and finance: the goods ledger with its running stock and cost columns, the
// partner ledger of receivables and payables with its documents, the cash and bank ledger and
// its accounts, the invoice ledger, expenses and income with their types, the per-operator
// report staging rows, the period-closing summary, and two payment tables kept unused.
// A new account set starts with six accounts, their zero opening rows dated the day of
// creation, five expense and income types and two payment methods.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::ledgerTables()
{
    return {
        // Goods ledger: one row per posted line and warehouse, opening or carried-forward
        // figure, and round-off of a receipt or payment. gl_flag is the movement code.
        {"jxc_goodslist",
         "gl_flag varchar(8), gl_djh varchar(16), gl_kdrq varchar(32), g_sn varchar(32), "
         "g_name nvarchar(128), g_jm varchar(32), dw_name nvarchar(64), gl_dj numeric, gl_cbj numeric, "
         "gl_zcb numeric, gl_sl numeric, gl_dzl numeric, gl_zje numeric, gl_je numeric, gl_tax numeric, "
         "gl_taxdj numeric, gl_taxje numeric, gl_lsj numeric, gl_lr numeric, gl_qxsl numeric, "
         "gl_checker nvarchar(32), gl_chkrq varchar(16), gl_sqsl numeric, gl_sqje numeric, "
         "gl_pjjj numeric, gl_kc numeric, gl_kczje numeric, gl_note nvarchar(200), gl_bz nvarchar(64), "
         "u_name nvarchar(32), a_name nvarchar(32), ck_sn varchar(8), ck_name nvarchar(64), "
         "ghs_sn varchar(8), ghs_name nvarchar(128), gg_name nvarchar(64), color_name nvarchar(64), "
         "gl_sysl numeric, id2 int, idck int, gl_djh2 nvarchar(16), gl_fdmc varchar(64), "
         "gl_dqkc numeric, t_ddh varchar(32), t_ph varchar(64), t_scrq varchar(16), g_xlh text",
         {},
         "",
         // The cost walk reads a goods' rows in a warehouse by date and id; renames of partners,
         // warehouses and employees and the tests whether a record is in use find rows by them.
         // The purchase query pages read a kind's rows of a period.
         {"goods:g_sn,ck_sn,gl_kdrq,id", "source:gl_djh2", "partner:ghs_sn", "warehouse:ck_sn",
          "employee:u_name", "flag_date:gl_flag,gl_kdrq"},
         // The cost walk rewrites the running columns of every later row, none of which is in an
         // index: with a fifth of each page free the new versions stay on their page (HOT).
         80},

        // Cash and bank ledger; xj_ljje is the running balance per account over audited rows.
        {"jxc_xjyh",
         "xj_rq varchar(32), gl_djh varchar(16), xj_dlx nvarchar(32), xj_je numeric, xj_ljje numeric, "
         "xj_chk varchar(1), u_name nvarchar(32), ghs_name nvarchar(128), ghs_sn varchar(8), "
         "ck_name nvarchar(64), xj_kmmc nvarchar(32), xj_note nvarchar(200), a_name nvarchar(32)",
         {{"gl_djh, xj_rq, xj_dlx, u_name, ghs_sn, ghs_name, ck_name, xj_je, a_name, xj_ljje, xj_chk, "
           "xj_kmmc, xj_note",
           {
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "现金", "现金期初数"},
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "工行帐号", "工行期初数"},
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "建行帐号", "建行期初数"},
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "微信", "微信期初数"},
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "支付宝", "支付宝期初数"},
               {"", "{TODAY}", "期初金额", "", "", "", "", 0, "admin", 0, "1", "对账账户",
                "对账账户期初数"},
           }}},
         "",
         // Running balances walk one account's rows by date and id; a partner's rows by its code.
         {"balance:xj_kmmc,xj_rq,id", "partner:ghs_sn"}},

        // Payment methods; nothing reads them.
        {"jxc_fkfs",
         "fk_sn varchar(8), fk_name nvarchar(32)",
         {{"fk_sn, fk_name",
           {
               {"100001", "现金"},
               {"100002", "银行转帐"},
           }}}},

        // Unused.
        {"jxc_fkmx",
         "fk_sn varchar(16), gl_djh varchar(16), fk_je numeric, fk_lx bit"},

        // Cash and bank accounts; documents carry yh_name. "100001" cannot be deleted.
        // Each account type text ends in one blank.
        {"jxc_yhzh",
         "yh_sn varchar(8), yh_type varchar(32), yh_name nvarchar(32), yh_zje numeric, "
         "yh_note nvarchar(200)",
         {{"yh_sn, yh_type, yh_name, yh_zje, yh_note",
           {
               {"100001", "现金 ", "现金", 0, ""},
               {"100002", "工行合计 ", "工行帐号", 0, ""},
               {"100003", "建行合计 ", "建行帐号", 0, ""},
               {"100004", "微信 ", "微信", 0, ""},
               {"100005", "支付宝 ", "支付宝", 0, ""},
               {"100006", "对账账户 ", "对账账户", 0, ""},
           }}}},

        // Expense ("FY", negative) and income ("SR", positive) entries.
        {"jxc_yyfy",
         "fy_rq varchar(32), gl_djh varchar(16), fy_lx nvarchar(64), fy_je numeric, fy_flag varchar(1), "
         "u_sn varchar(8), de_sn varchar(8), fy_kmmc nvarchar(32), fy_chk varchar(1), "
         "fy_note nvarchar(200), a_name nvarchar(32), fy_sc nvarchar(16)"},

        // Expense and income types: fy_fx 0 expense, 1 income.
        {"jxc_fylx",
         "fy_lx nvarchar(64), fy_fx int, fy_note nvarchar(200)",
         {{"fy_lx, fy_fx, fy_note",
           {
               {"费用", 0, "费用支出"},
               {"运费", 0, "运费支出"},
               {"包装费", 0, "包装费支出"},
               {"应付工资", 0, "人员工资支出"},
               {"收入", 1, "收入类型"},
           }}}},

        // Period-closing summary: documents of one kind removed by one closing.
        {"jxc_nj",
         "nj_jsrq varchar(16), nj_year varchar(16), nj_xm nvarchar(32), nj_ds int, nj_sl numeric, "
         "nj_je numeric"},

        // Partner ledger of receivables and payables; k_ljje is the running balance per partner.
        {"jxc_ysyfk",
         "gl_djh varchar(16), k_rq varchar(32), k_fkfs varchar(32), k_yfje numeric, k_sfje numeric, "
         "k_qcje numeric, k_yhje numeric, k_ljje numeric, k_flag int, k_type varchar(4), "
         "k_djlx varchar(4), k_djtxt nvarchar(16), gl_djh2 nvarchar(16), k_note nvarchar(200), "
         "u_sn varchar(8), a_name nvarchar(32), k_ghskh varchar(8)",
         {},
         "",
         // Running balances walk one partner account's rows by date and id; a cancel finds the
         // rows written against a document by its source number; an employee's rows by its code.
         {"balance:k_type,k_ghskh,k_rq,id", "source:gl_djh2", "employee:u_sn"}},

        // Per-operator staging rows of the stock summary, stock queries and commission statistics.
        {"jxc_jxchz",
         "g_sn varchar(32), ck_sn varchar(8), hz_txt1 nvarchar(32), hz_txt2 nvarchar(32), id2 int, "
         "hz_flag varchar(4), hz_kc numeric, hz_kczje numeric, hz_rksl numeric, hz_rkzje numeric, "
         "hz_cksl numeric, hz_ckzje numeric, hz_glkc numeric, hz_glkczje numeric, a_name nvarchar(32)"},

        // Receivable and payable documents ("YS", "YF", "SK", "FK"); audited ones are copied
        // into jxc_ysyfk.
        {"jxc_ysyfk_dj",
         "gl_djh varchar(16), k_rq varchar(32), k_fkfs varchar(32), k_yfje numeric, k_sfje numeric, "
         "k_qcje numeric, k_yhje numeric, k_ljje numeric, k_mlje numeric, k_flag int, k_type varchar(4), "
         "k_djlx varchar(4), k_djtxt nvarchar(16), gl_djh2 nvarchar(16), k_note nvarchar(200), "
         "k_check bit, k_checker nvarchar(32), k_chkrq varchar(16), u_sn varchar(8), "
         "a_name nvarchar(32), k_ghskh varchar(8)",
         {},
         "",
         // A cancel finds the registrations of a document by its source number; a partner's and an
         // employee's registrations by their codes.
         {"source:gl_djh2", "partner:k_type,k_ghskh", "employee:u_sn"}},

        // Invoice ledger; fp_ljje is the amount not yet invoiced per partner.
        {"jxc_fpdjb",
         "gl_djh varchar(16), fp_rq varchar(32), fp_no varchar(32), fp_yfje numeric, fp_sfje numeric, "
         "fp_kpje numeric, fp_qcje numeric, fp_ljje numeric, fp_flag int, fp_type varchar(4), "
         "fp_djlx varchar(4), fp_djtxt nvarchar(16), fp_note nvarchar(200), fp_ghskh varchar(8), "
         "fp_check bit, fp_checker nvarchar(32), fp_chkrq varchar(16), fp_kprq varchar(32), "
         "u_sn varchar(8), a_name nvarchar(32)",
         {},
         "",
         // Running balances walk one invoice account's rows by date and id.
         {"balance:fp_type,fp_ghskh,fp_rq,id"}},
    };
}
