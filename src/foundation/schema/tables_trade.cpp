// Purchase and sales documents: orders, receipts, returns, sales, and the document kinds
// kept without an entry form (exchanges, customer borrowing, separate goods-in/goods-out,
// inbound batch lists, the receipt register). Headers and lines share gl_djh. None of these
// tables has default rows.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::tradeTables()
{
    return {
        // Purchase receipt lines ("CJ").
        {"jxc_jhsp",
         "gl_djh varchar(16), jh_dj numeric, jh_sl numeric, jh_je numeric, jh_tax numeric, jh_taxdj numeric, "
         "jh_taxje numeric, jh_zje numeric, jh_rksl numeric, jh_qxsl numeric, jh_zsl numeric, jh_dzl numeric, "
         "gl_djh2 nvarchar(16), jh_bz nvarchar(64), id2 int, id3 int, g_tmbz nvarchar(32), "
         "dw_name nvarchar(64), g_sptm varchar(64), g_sn varchar(32), a_name nvarchar(32), t_ph varchar(64), "
         "t_scrq varchar(16), g_xlh text",
         {},
         "",
         // The operator's draft lines of a number; the lines of a goods (duplicates, history).
         {"draft:gl_djh,a_name", "goods:g_sn"}},
        // Purchase receipt headers.
        {"jxc_jhd",
         "gl_djh varchar(16), ghs_sn varchar(8), ck_sn varchar(8), j_jhrq varchar(32), j_yfje numeric, "
         "j_sfje numeric, u_sn varchar(8), j_note nvarchar(200), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "j_yhje numeric, j_hkje numeric, j_th int, j_crk bit, j_qk bit, j_fpno varchar(32), j_fpje numeric, "
         "j_yf numeric, j_bzf numeric, j_yffs varchar(16), j_dhdid varchar(16), j_status int, "
         "j_checker nvarchar(32), j_chkrq varchar(16), j_jsfs int, j_kmmc nvarchar(32), ht_sn varchar(8), "
         "j_dhbz int", {}, "",
         // The audited receipts of a period (the receipt query page, the purchase document query).
         {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn", "status_date:j_status,j_jhrq"}},
        // Receipt register headers (kept, unused).
        {"jxc_shdj",
         "gl_djh varchar(16), ghs_sn varchar(8), ck_sn varchar(8), sh_rq varchar(32), sh_yfje numeric, "
         "sh_sfje numeric, sh_yhje numeric, u_sn varchar(8), sh_note nvarchar(200), a_name nvarchar(32), "
         "gl_djh2 nvarchar(16), sh_th int, sh_flag varchar(8), sh_djzt int, sh_kmmc nvarchar(32)",
         {}, "", {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Receipt register lines (kept, unused).
        {"jxc_shsp",
         "gl_djh varchar(16), g_sn varchar(32), sh_dj numeric, sh_sl numeric, sh_zje numeric, sh_dzl numeric, "
         "sh_zhje numeric, a_name nvarchar(32)"},
        // Purchase return headers ("CT"); th_yfje, th_sfje and th_fpje are stored negative.
        {"jxc_thd",
         "gl_djh varchar(16), ghs_sn varchar(8), ck_sn varchar(8), th_thrq varchar(32), th_yfje numeric, "
         "th_sfje numeric, th_hkje numeric, u_sn varchar(8), th_note nvarchar(200), th_status int, "
         "th_checker nvarchar(32), th_chkrq varchar(16), th_jsfs int, th_kmmc nvarchar(32), "
         "th_fpno varchar(32), th_fpje numeric, a_name nvarchar(32), th_qk bit",
         {}, "",
         // The audited returns of a period (the return query page, the purchase document query).
         {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn", "status_date:th_status,th_thrq"}},
        // Purchase return lines.
        {"jxc_thsp",
         "gl_djh varchar(16), g_sn varchar(32), th_dj numeric, th_sl numeric, th_dzl numeric, "
         "th_bz nvarchar(64), id2 int, th_je numeric, th_tax numeric, th_taxdj numeric, th_taxje numeric, "
         "th_zje numeric, th_zsl numeric, dw_name nvarchar(64), g_sptm varchar(64), idck int, "
         "gl_djh2 varchar(16), a_name nvarchar(32), t_ph varchar(64), t_scrq varchar(16), g_xlh text",
         {},
         "",
         {"draft:gl_djh,a_name", "goods:g_sn"}},
        // Sales lines ("XS"), also the POS working lines.
        {"jxc_lsxssp",
         "gl_djh varchar(16), g_sn varchar(32), ls_dj numeric, ls_sl numeric, ls_je numeric, ls_cbj numeric, "
         "ls_zcb numeric, ls_cbj2 numeric, ls_tax numeric, ls_taxdj numeric, ls_taxje numeric, "
         "ls_lsj numeric, ls_zje numeric, ls_cksl numeric, ls_qxsl numeric, a_name nvarchar(32), "
         "ls_dzl numeric, ls_bz nvarchar(64), id2 int, id3 int, ls_zhje numeric, ls_dhdj numeric, "
         "ls_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), g_zhxs numeric, "
         "ls_dhbz int, t_zp nvarchar(16), ghs_sn varchar(8), gl_djh2 nvarchar(16), idck int, "
         "gl_djh3 nvarchar(16), t_ddh varchar(32), t_yjrq varchar(16), t_jhrq varchar(32), t_ph varchar(64), "
         "t_scrq varchar(16), ls_ygmc nvarchar(64), g_xlh text",
         {},
         "",
         // The last price a goods was sold at in a unit (sale price proposal); the operator's
         // lines of a sale being entered.
         {"goods_unit:g_sn,dw_name", "draft:gl_djh,a_name"}},
        // Sales headers, including bills settled at the POS.
        {"jxc_lsxsd",
         "gl_djh varchar(16), kh_sn varchar(8), ck_sn varchar(8), ls_xsrq varchar(32), ls_yfje numeric, "
         "ls_sfje numeric, u_sn varchar(8), ls_note nvarchar(200), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "ls_yhje numeric, ls_hkje numeric, ls_dzl numeric, ls_th int, ls_crk bit, ls_qk bit, "
         "ls_fdmc varchar(32), ls_hy varchar(32), ls_ckrq varchar(16), ls_dhbz int, ls_status int, "
         "ls_checker nvarchar(32), ls_chkrq varchar(16), ls_zftype varchar(32), ls_transactionid varchar(64), "
         "ls_jsfs int, ls_kmmc nvarchar(32), ht_sn varchar(8), ls_fpno varchar(32), ls_fpje numeric, "
         "ls_yf numeric, ls_bzf numeric, ls_yffs varchar(16), ls_lr numeric, ls_zt varchar(8), "
         "hy_sn varchar(8), pos_xfcs int, pos_sdjf int, pos_zffs int, pos_xj numeric, pos_czk numeric, "
         "pos_yhk numeric, pos_djq numeric, pos_rjid varchar(32), hy_fdzt varchar(32), hy_fd varchar(32)",
         {},
         "",
         // A customer's sales history, and its audited sales newest day first (sale price proposal).
         {"customer:kh_sn", "customer_day:kh_sn,ls_status,ls_xsrq", "employee:u_sn", "warehouse:ck_sn"}},
        // Sales return lines ("XT"), also POS return lines.
        {"jxc_xsthsp",
         "gl_djh varchar(16), g_sn varchar(32), th_dj numeric, th_cbj numeric, th_zcb numeric, th_sl numeric, "
         "id2 int, th_je numeric, th_tax numeric, th_taxdj numeric, th_taxje numeric, th_zje numeric, "
         "th_lsj numeric, a_name nvarchar(32), th_dzl numeric, th_bz nvarchar(64), th_zhje numeric, "
         "th_zsl numeric, dw_name nvarchar(64), g_sptm varchar(64), g_zhxs numeric, t_ph varchar(64), "
         "t_scrq varchar(16), idck int, gl_djh2 nvarchar(16), g_xlh text"},
        // Sales return headers; th_yfje and th_sfje are stored negative.
        {"jxc_xsthd",
         "gl_djh varchar(16), kh_sn varchar(8), ck_sn varchar(8), th_xsrq varchar(32), th_yfje numeric, "
         "th_sfje numeric, th_hkje numeric, u_sn varchar(8), th_note nvarchar(200), th_status int, "
         "th_checker nvarchar(32), th_chkrq varchar(16), th_jsfs int, th_kmmc nvarchar(32), "
         "th_fpno varchar(32), th_fpje numeric, a_name nvarchar(32), th_qk bit, th_zt varchar(32), "
         "th_fdmc varchar(50), th_lr numeric, hy_sn varchar(8), pos_zffs int, pos_xj numeric, "
         "pos_czk numeric, pos_yhk numeric, pos_djq numeric, pos_yhje numeric, pos_sdjf int, "
         "pos_rjid varchar(50)", {}, "", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Sales lines held outside the sales table.
        {"jxc_lsxssptemp",
         "gl_djh varchar(16), g_sn varchar(32), ls_dj numeric, ls_sl numeric, ls_zje numeric, "
         "a_name nvarchar(32), ls_dzl numeric, ls_bz nvarchar(64), id2 int, id3 int, ls_zhje numeric, "
         "ls_dhdj numeric, ls_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), "
         "g_zhxs numeric, ls_dhbz int, ls_flag varchar(8), ghs_sn varchar(8), idck int, gl_djh2 nvarchar(16), "
         "ls_xsrq varchar(32), t_ph varchar(64), t_scrq varchar(16), g_xlh text"},
        // Separate goods-in lines.
        {"jxc_rksp",
         "gl_djh varchar(16), rk_sl numeric, g_sn varchar(32), a_name nvarchar(32), gl_djh2 varchar(16), "
         "id2 int, t_jhrq varchar(32), rk_zsl numeric, dw_name nvarchar(64), g_sptm varchar(64), "
         "t_ph varchar(64), t_scrq varchar(16), g_xlh text"},
        // Separate goods-in headers.
        {"jxc_rkd",
         "gl_djh varchar(16), rk_rq varchar(32), rk_zsl numeric, ck_sn varchar(8), ghs_sn varchar(8), "
         "u_sn varchar(8), rk_note nvarchar(200), a_name nvarchar(32), rk_status int, "
         "rk_checker nvarchar(32), rk_chkrq varchar(16)",
         {}, "", {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Separate goods-out lines.
        {"jxc_cksp",
         "gl_djh varchar(16), ck_sl numeric, g_sn varchar(32), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "id2 int, t_jhrq varchar(32), ck_zsl numeric, dw_name nvarchar(64), g_sptm varchar(64), "
         "t_ph varchar(64), t_scrq varchar(16), idck int, g_xlh text"},
        // Separate goods-out headers.
        {"jxc_ckd",
         "gl_djh varchar(16), ck_rq varchar(32), ck_zsl numeric, ck_sn varchar(8), kh_sn varchar(8), "
         "u_sn varchar(8), ck_note nvarchar(200), a_name nvarchar(32), ck_status int, "
         "ck_checker nvarchar(32), ck_chkrq varchar(16)",
         {}, "", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Customer borrow ("JH") and borrow-return ("HH") headers.
        {"jxc_khjh",
         "kh_sn varchar(8), jh_rq varchar(32), gl_djh varchar(16), ck_sn varchar(8), u_sn varchar(8), "
         "jh_status int, jh_flag varchar(2), jh_checker nvarchar(32), jh_chkrq varchar(16), "
         "a_name nvarchar(32), jh_note nvarchar(200)",
         {}, "", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Customer borrow and borrow-return lines.
        {"jxc_khjhsp",
         "gl_djh varchar(16), g_sn varchar(32), jh_dj numeric, jh_zje numeric, jh_sl numeric, "
         "jh_hhsl numeric, jh_xssl numeric, jh_sl2 numeric, jh_yj numeric, jh_yj2 numeric, jh_zj numeric, "
         "jh_ts numeric, jh_zzj numeric, jh_thyj numeric, gl_djh2 nvarchar(16), jh_flag varchar(4), "
         "jh_kmmc nvarchar(32), t_ph varchar(64), t_mjph varchar(64), t_scrq varchar(16), t_yxq varchar(16), "
         "g_xlh text, id2 int, a_name nvarchar(32)"},
        // Borrow lines in preparation; same columns as jxc_khjhsp.
        {"jxc_khjhsptmp",
         "gl_djh varchar(16), g_sn varchar(32), jh_dj numeric, jh_zje numeric, jh_sl numeric, "
         "jh_hhsl numeric, jh_xssl numeric, jh_sl2 numeric, jh_yj numeric, jh_yj2 numeric, jh_zj numeric, "
         "jh_ts numeric, jh_zzj numeric, jh_thyj numeric, gl_djh2 nvarchar(16), jh_flag varchar(4), "
         "jh_kmmc nvarchar(32), t_ph varchar(64), t_mjph varchar(64), t_scrq varchar(16), t_yxq varchar(16), "
         "g_xlh text, id2 int, a_name nvarchar(32)"},
        // Sales exchange lines.
        {"jxc_xshhsp",
         "gl_djh varchar(16), g_sn varchar(32), ls_dj numeric, ls_dj2 numeric, ls_sl numeric, ls_sl2 numeric, "
         "ls_je numeric, ls_cbj numeric, ls_zcb numeric, ls_cbj2 numeric, ls_tax numeric, ls_taxdj numeric, "
         "ls_taxje numeric, ls_lsj numeric, ls_zje numeric, a_name nvarchar(32), ls_dzl numeric, "
         "ls_bz nvarchar(64), id2 int, id3 int, ls_zhje numeric, ls_dhdj numeric, ls_dhbz int, "
         "t_zp nvarchar(16), ghs_sn varchar(8), gl_djh2 nvarchar(16)"},
        // Sales exchange headers ("XH").
        {"jxc_xshhd",
         "gl_djh varchar(16), kh_sn varchar(8), ck_sn varchar(8), ls_xsrq varchar(32), ls_yfje numeric, "
         "ls_sfje numeric, u_sn varchar(8), ls_note nvarchar(200), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "ls_yhje numeric, ls_yf numeric, ls_bzf numeric, ls_yffs varchar(16), ls_fdmc varchar(50), "
         "ls_ckrq varchar(16), ls_status int, ls_checker nvarchar(32), ls_chkrq varchar(16), "
         "ls_zftype varchar(32), ls_transactionid varchar(64), ls_jsfs int, ls_kmmc nvarchar(32), ls_dhbz int",
         {}, "", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Purchase order lines ("CD"); same columns as jxc_jhsp.
        {"jxc_cgsp",
         "gl_djh varchar(16), jh_dj numeric, jh_sl numeric, jh_je numeric, jh_tax numeric, jh_taxdj numeric, "
         "jh_taxje numeric, jh_zje numeric, jh_rksl numeric, jh_qxsl numeric, jh_zsl numeric, jh_dzl numeric, "
         "gl_djh2 nvarchar(16), jh_bz nvarchar(64), id2 int, id3 int, g_tmbz nvarchar(32), "
         "dw_name nvarchar(64), g_sptm varchar(64), g_sn varchar(32), a_name nvarchar(32), t_ph varchar(64), "
         "t_scrq varchar(16), g_xlh text",
         {},
         "",
         // Order progress: receipts and their cancels update the order line by id2.
         {"order_progress:id2", "draft:gl_djh,a_name", "goods:g_sn"}},
        // Purchase order headers.
        {"jxc_cgd",
         "gl_djh varchar(16), ghs_sn varchar(8), ck_sn varchar(8), j_jhrq varchar(32), j_yfje numeric, "
         "j_sfje numeric, u_sn varchar(8), j_note nvarchar(200), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "j_yhje numeric, j_hkje numeric, j_th int, j_crk bit, j_qk bit, j_status int, "
         "j_checker nvarchar(32), j_chkrq varchar(16), j_jsfs int, j_kmmc nvarchar(32), ht_sn varchar(8), "
         "j_dhbz int", {}, "",
         // The audited orders of a period (order import, order lists).
         {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn", "status_date:j_status,j_jhrq"}},
        // Sales order lines ("XD"); the columns of jxc_lsxssp without idck and gl_djh3.
        {"jxc_xssp",
         "gl_djh varchar(16), g_sn varchar(32), ls_dj numeric, ls_sl numeric, ls_je numeric, ls_cbj numeric, "
         "ls_zcb numeric, ls_cbj2 numeric, ls_tax numeric, ls_taxdj numeric, ls_taxje numeric, "
         "ls_lsj numeric, ls_zje numeric, ls_cksl numeric, ls_qxsl numeric, a_name nvarchar(32), "
         "ls_dzl numeric, ls_bz nvarchar(64), id2 int, id3 int, ls_zhje numeric, ls_dhdj numeric, "
         "ls_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), g_zhxs numeric, "
         "ls_dhbz int, t_zp nvarchar(16), ghs_sn varchar(8), gl_djh2 nvarchar(16), t_ddh varchar(32), "
         "t_yjrq varchar(16), t_jhrq varchar(32), t_ph varchar(64), t_scrq varchar(16), ls_ygmc nvarchar(64), "
         "g_xlh text",
         {},
         "",
         // Order progress: sales and their cancels update the order line by id2.
         {"order_progress:id2"}},
        // Sales order headers.
        {"jxc_xsd",
         "gl_djh varchar(16), kh_sn varchar(8), ck_sn varchar(8), ls_xsrq varchar(32), ls_yfje numeric, "
         "ls_sfje numeric, u_sn varchar(8), ls_note nvarchar(200), a_name nvarchar(32), gl_djh2 nvarchar(16), "
         "ls_yhje numeric, ls_hkje numeric, ls_th int, ls_crk bit, ls_qk bit, ls_fdmc varchar(50), "
         "ls_hy varchar(50), hy_sn varchar(8), ls_ckrq varchar(16), ls_status int, ls_checker nvarchar(32), "
         "ls_chkrq varchar(16), ls_jsfs int, ls_kmmc nvarchar(32), ht_sn varchar(8), ls_dhbz int",
         {}, "", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},
        // Inbound batches and what is left of them.
        {"jxc_rklist",
         "gl_flag varchar(8), gl_djh varchar(16), gl_kdrq varchar(32), ghs_name nvarchar(128), "
         "g_sn varchar(32), gl_dj numeric, gl_sl numeric, gl_zje numeric, gl_sysl numeric, gl_dqkc numeric, "
         "ck_sn varchar(8), id2 int"},
        // Outbound allocations against inbound batches.
        {"jxc_cklist",
         "gl_flag varchar(8), gl_djh varchar(16), gl_kdrq varchar(32), ghs_name nvarchar(128), "
         "g_sn varchar(32), gl_sl numeric, gl_cbj numeric, gl_zcb numeric, gl_djh2 varchar(16), "
         "gl_sysl numeric, ck_sn varchar(8), id2 int, rkid int, ckid int"},
    };
}
