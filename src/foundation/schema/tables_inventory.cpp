// Inventory and production documents: transfers, loss and overflow reports, stocktaking,
// production receipts and returns, department issue and return, goods splits and bundles,
// and the monthly stock balances. Headers and lines share gl_djh. None of these tables has
// default rows.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::inventoryTables()
{
    return {
        // Stock transfer lines.
        {"jxc_dbsp",
         "gl_djh varchar(16), g_sn varchar(32), db_sl numeric, db_dj numeric, db_sj numeric, db_zje numeric, "
         "db_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), a_name nvarchar(32), "
         "t_ph varchar(64), t_scrq varchar(16), idck int, gl_djh2 varchar(16), g_xlh text"},
        // Stock transfer headers ("DB"): out of ck_out, into ck_in.
        {"jxc_kcdbd",
         "gl_djh varchar(16), ck_out varchar(8), ck_in varchar(8), db_dbrq varchar(32), db_status int, "
         "db_checker nvarchar(32), db_chkrq varchar(16), u_sn varchar(8), db_note nvarchar(200), "
         "a_name nvarchar(32)",
         {}, "", {"employee:u_sn", "warehouse_out:ck_out", "warehouse_in:ck_in"}},
        // Goods split headers ("CF").
        {"jxc_cfd",
         "gl_djh varchar(16), ck_sn varchar(8), cf_cfrq varchar(32), g_sn varchar(32), cf_cbj numeric, "
         "cf_sl numeric, cf_status int, cf_checker nvarchar(32), cf_chkrq varchar(16), u_sn varchar(8), "
         "a_name nvarchar(32), cf_note nvarchar(200)",
         {}, "", {"employee:u_sn", "warehouse:ck_sn"}},
        // Goods split component lines.
        {"jxc_cfsp",
         "gl_djh varchar(16), g_sn varchar(32), cf_dj numeric, cf_sl numeric, cf_zje numeric, "
         "ck_sn varchar(8), a_name nvarchar(32)"},
        // Goods bundle headers ("KB").
        {"jxc_kbd",
         "gl_djh varchar(16), ck_sn varchar(8), kb_kbrq varchar(32), g_sn varchar(32), kb_cbj numeric, "
         "kb_sl numeric, kb_status int, kb_checker nvarchar(32), kb_chkrq varchar(16), u_sn varchar(8), "
         "a_name nvarchar(32), kb_note nvarchar(200)",
         {}, "", {"employee:u_sn", "warehouse:ck_sn"}},
        // Goods bundle component lines.
        {"jxc_kbsp",
         "gl_djh varchar(16), g_sn varchar(32), kb_dj numeric, kb_sl numeric, kb_zje numeric, "
         "ck_sn varchar(8), a_name nvarchar(32)"},
        // Per-operator working rows for splits.
        {"jxc_cfsptmp",
         "g_sn varchar(32), g_name nvarchar(128), tmp_cksl numeric, tmp_ckje numeric, tmp_rksl numeric, "
         "tmp_rkje numeric, tmp_currkc numeric, tmp_kc numeric, a_name nvarchar(32)"},
        // Loss report headers ("BS").
        {"jxc_bsd",
         "gl_djh varchar(16), ck_sn varchar(8), bs_bsrq varchar(32), bs_status int, bs_checker nvarchar(32), "
         "bs_chkrq varchar(16), u_sn varchar(8), bs_note nvarchar(200), a_name nvarchar(32)",
         {}, "", {"employee:u_sn", "warehouse:ck_sn"}},
        // Loss report lines.
        {"jxc_bssp",
         "gl_djh varchar(16), g_sn varchar(32), bs_sl numeric, bs_dj numeric, bs_zje numeric, "
         "bs_note nvarchar(200), idck int, gl_djh2 varchar(16), a_name nvarchar(32), g_xlh text"},
        // Overflow report headers ("BY"); jxc_bsd with by_ for bs_.
        {"jxc_byd",
         "gl_djh varchar(16), ck_sn varchar(8), by_byrq varchar(32), by_status int, by_checker nvarchar(32), "
         "by_chkrq varchar(16), u_sn varchar(8), by_note nvarchar(200), a_name nvarchar(32)",
         {}, "", {"employee:u_sn", "warehouse:ck_sn"}},
        // Overflow report lines.
        {"jxc_bysp",
         "gl_djh varchar(16), g_sn varchar(32), by_sl numeric, by_dj numeric, by_zje numeric, "
         "by_note nvarchar(200), idck int, gl_djh2 varchar(16), a_name nvarchar(32), t_ph varchar(64), "
         "t_scrq varchar(16), g_xlh text"},
        // Stocktaking headers ("PD"), one warehouse each.
        {"jxc_kcpd",
         "gl_djh varchar(16), pd_sl numeric, kc_sl numeric, pd_rq varchar(32), pd_note nvarchar(200), "
         "pd_status int, pd_checker nvarchar(32), pd_chkrq varchar(16), ck_sn varchar(8), u_sn varchar(8), "
         "a_name nvarchar(32)", {}, "", {"employee:u_sn", "warehouse:ck_sn"}},
        // Stocktaking lines.
        {"jxc_kcpdsp",
         "gl_djh varchar(16), g_sn varchar(32), pd_sl numeric, pd_dj numeric, pd_zje numeric, id2 int, "
         "kc_sl numeric, kc_zsl numeric, idck int, gl_djh2 varchar(16), pd_rkrq varchar(16), "
         "a_name nvarchar(32)"},
        // Per-operator stocktaking summary rows.
        {"jxc_kcpdtemp",
         "gl_djh varchar(16), pd_sl numeric, sp_sl numeric, ck_name varchar(32), pd_rq varchar(32), "
         "pd_status bit, a_name nvarchar(32)"},
        // Goods lent out or returned, by partner name.
        {"jxc_ckjth",
         "g_sn varchar(32), jt_sl numeric, ghs_name nvarchar(128), jt_flag varchar(1), jt_rq varchar(32)"},
        // Stock and business totals of a warehouse per month ("yyyy-MM").
        {"jxc_kcjs",
         "js_rq varchar(16), js_sl numeric, js_zje numeric, js_xssl numeric, js_xsje numeric, "
         "js_cgsl numeric, js_cgje numeric, js_xslr numeric, js_xscb numeric, ck_sn varchar(8)"},
        // Split and bundle template lines.
        {"jxc_cfkbmb",
         "g_sn varchar(32), pl_gsn varchar(32), ck_sn varchar(8), pl_sl numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), pl_flag varchar(2)"},
        // Production receipt ("SC", sc_flag 1) and production return ("ST", sc_flag -1) headers.
        {"jxc_scrkd",
         "gl_djh varchar(16), ghs_sn varchar(8), de_sn varchar(8), ck_sn varchar(8), sc_rq varchar(16), "
         "sc_flag int, sc_yfje numeric, sc_sfje numeric, sc_status int, sc_checker nvarchar(32), "
         "sc_chkrq varchar(16), u_sn varchar(8), sc_note nvarchar(200), a_name nvarchar(32), "
         "sc_sn2 varchar(16), sc_yhje numeric",
         {}, "", {"supplier:ghs_sn", "employee:u_sn", "warehouse:ck_sn", "department:de_sn"}},
        // Production receipt and return lines.
        {"jxc_scrksp",
         "gl_djh varchar(16), sc_dj numeric, sc_sl numeric, sc_zje numeric, sc_flag int, sc_bz nvarchar(64), "
         "g_sn varchar(32), a_name nvarchar(32), t_ph varchar(64), t_scrq varchar(16), idck int, "
         "gl_djh2 varchar(16), g_xlh text"},
        // Department issue ("LY", ly_flag 1) and return ("LT", "LF", ly_flag -1) headers.
        {"jxc_bmlyd",
         "gl_djh varchar(16), ck_sn varchar(8), de_sn varchar(8), ly_rq varchar(32), ly_zje numeric, "
         "ly_status int, ly_checker nvarchar(32), ly_chkrq varchar(16), u_sn varchar(8), "
         "ly_note nvarchar(200), ly_flag int, a_name nvarchar(32)",
         {}, "", {"employee:u_sn", "warehouse:ck_sn", "department:de_sn"}},
        // Department issue and return lines.
        {"jxc_bmlysp",
         "gl_djh varchar(16), g_sn varchar(32), ly_sl numeric, ly_hhsl numeric, ly_qxsl numeric, "
         "ly_dj numeric, ly_zje numeric, ly_flag int, id2 int, idck int, gl_djh2 nvarchar(16), "
         "ly_zsl numeric, g_zhxs numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), "
         "a_name nvarchar(32), t_ph varchar(64), t_scrq varchar(16), g_xlh text"},
    };
}
