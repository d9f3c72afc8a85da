// Fixed assets, production processing, outsourced processing, production plans and repair
// orders. No screen edits these records; the tables exist so that the generic document
// code (closing, costing, numbering, queries) finds them in every account set.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::assetTables()
{
    return {
        // Fixed assets.
        {"jxc_gdzc",
         "zc_sn varchar(8), zc_bh nvarchar(32), zc_mc nvarchar(64), zc_ggxh nvarchar(32), "
         "zc_lx nvarchar(32), zc_ms nvarchar(200), zc_sccs nvarchar(64), zc_bm nvarchar(32), "
         "zc_cfdd nvarchar(64), zc_bgr nvarchar(32), zc_zt nvarchar(16), zc_syr nvarchar(32), "
         "zc_zsl numeric, zc_sl numeric, zc_jcsl numeric, zc_bfsl numeric, zc_dj numeric, "
         "zc_je numeric, zc_dw nvarchar(32), zc_czlv numeric, zc_czje numeric, "
         "zc_zjfs nvarchar(32), zc_rq varchar(16), zc_djrq varchar(16), zc_syrq varchar(16), "
         "zc_zjys varchar(2), zc_zjtxt nvarchar(16), zc_tm nvarchar(32), zc_synx int, zc_ns int, "
         "zc_ys int, zc_byjz numeric, zc_ljzj numeric, zc_byzj numeric, zc_bf bit, "
         "zc_bz nvarchar(200), zc_note nvarchar(200), zc_fj nvarchar(32), zc_fjname nvarchar(128), "
         "u_name nvarchar(32), a_name nvarchar(32)"},

        {"jxc_gdzcbf",
         "gl_djh varchar(16), zc_bh nvarchar(32), bf_rq varchar(16), bf_fs nvarchar(32), "
         "bf_sl numeric, bf_yy nvarchar(200), bf_bz nvarchar(32), a_name nvarchar(32)"},

        {"jxc_gdzcbg",
         "gl_djh varchar(16), zc_bh nvarchar(32), bg_rq varchar(16), bg_yy nvarchar(200), "
         "bg_qzt nvarchar(32), bg_hzt nvarchar(32), bg_qbgr nvarchar(32), bg_hbgr nvarchar(32), "
         "bg_qsyr nvarchar(32), bg_hsyr nvarchar(32), bg_qbm nvarchar(32), bg_hbm nvarchar(32), "
         "bg_qje numeric, bg_hje numeric, bg_qcfdd nvarchar(32), bg_hcfdd nvarchar(32), "
         "bg_qsl numeric, bg_hsl numeric, bg_qtxx nvarchar(200), bg_note nvarchar(200), "
         "bg_shr nvarchar(32), bg_status int, a_name nvarchar(32)"},

        {"jxc_gdzcjy",
         "gl_djh varchar(16), zc_bh nvarchar(32), jy_cbm nvarchar(32), jy_cbgr nvarchar(32), "
         "jy_syr nvarchar(32), jy_bm nvarchar(32), jy_rq varchar(32), jy_nghrq varchar(32), "
         "jy_ghrq varchar(32), jy_sl numeric, jy_shr nvarchar(32), jy_note nvarchar(200), "
         "jy_bz nvarchar(200), jy_gh nvarchar(1), jy_ghtxt nvarchar(4), jy_status int, "
         "a_name nvarchar(32)"},

        {"jxc_gdzcwx",
         "gl_djh varchar(16), zc_bh nvarchar(32), wx_sxrq varchar(16), wx_gzms nvarchar(200), "
         "wx_wxrq varchar(16), wx_xlms nvarchar(200), wx_sl numeric, wx_je numeric, "
         "wx_note nvarchar(200), wx_sqr nvarchar(32), wx_ztxt nvarchar(32), wx_zt nvarchar(1), "
         "a_name nvarchar(32)"},

        {"jxc_gdzclb",
         "lb_sn varchar(8), lb_name nvarchar(32)",
         {{"lb_sn, lb_name",
           {
               {"100001", "默认类别"},
           }}}},

        // Pick lists of the asset records; gs_flag tells the list.
        {"jxc_gdzccs",
         "gs_sn varchar(8), gs_name nvarchar(32), gs_flag varchar(4)",
         {{"gs_sn, gs_name, gs_flag",
           {
               {"100001", "默认部门", "1"},
               {"100002", "默认保管人", "2"},
               {"100003", "默认使用人", "3"},
               {"100004", "台", "4"},
               {"100005", "默认审核人", "5"},
           }}}},

        // Per-operator staging copy of jxc_gdzc (without the depreciation figures).
        {"jxc_gdzctmp",
         "zc_sn nvarchar(8), zc_bh nvarchar(32), zc_mc nvarchar(64), zc_ggxh nvarchar(32), "
         "zc_lx nvarchar(32), zc_ms nvarchar(200), zc_sccs nvarchar(64), zc_bm nvarchar(32), "
         "zc_cfdd nvarchar(64), zc_bgr nvarchar(32), zc_zt nvarchar(16), zc_syr nvarchar(32), "
         "zc_zsl numeric, zc_sl numeric, zc_jcsl numeric, zc_bfsl numeric, zc_dj numeric, "
         "zc_je numeric, zc_dw nvarchar(32), zc_czlv numeric, zc_czje numeric, "
         "zc_zjfs nvarchar(32), zc_rq varchar(16), zc_djrq varchar(16), zc_syrq varchar(16), "
         "zc_zjys varchar(2), zc_zjtxt nvarchar(16), zc_synx int, zc_tm nvarchar(32), zc_bf bit, "
         "zc_bz nvarchar(200), zc_note nvarchar(200), zc_fj nvarchar(32), zc_fjname nvarchar(128), "
         "zc_flag nvarchar(2), a_name nvarchar(32)"},

        // Dated amounts booked to an employee, referred to by name.
        {"jxc_zcmx",
         "zc_rq varchar(32), zc_je numeric, zc_lx nvarchar(32), zc_note nvarchar(200), "
         "u_name nvarchar(32), a_name nvarchar(32)"},

        // Production processing orders ("JG").
        {"jxc_scjgd",
         "gl_djh varchar(16), ck_sn varchar(8), de_sn varchar(8), jg_scrq varchar(32), "
         "jg_note nvarchar(200), jg_status int, jg_checker nvarchar(32), jg_chkrq varchar(16), "
         "u_sn varchar(8), a_name nvarchar(32)"},

        {"jxc_scjgdlb",
         "gl_djh varchar(16), g_sn varchar(32), jg_sl numeric, jg_rksl numeric, jg_bfsl numeric, "
         "jg_cb numeric, jg_zcb numeric, jg_rgf numeric, jg_zrgf numeric, id2 int, "
         "jg_zzdh varchar(32), jg_bz nvarchar(64), pl_flag varchar(1), a_name nvarchar(32)"},

        {"jxc_scjgdpl",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_zcb numeric, jg_rksl numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), id2 int, pl_flag varchar(1), ck_sn varchar(8), idck int, "
         "gl_djh2 varchar(16), a_name nvarchar(32)"},

        {"jxc_scjgdwsh",
         "gl_djh varchar(16), ck_sn varchar(8), de_sn varchar(8), jg_scrq varchar(32), "
         "jg_note nvarchar(200), u_sn varchar(8), a_name nvarchar(32), jg_zt int"},

        {"jxc_scjgdwshlb",
         "gl_djh varchar(16), g_sn varchar(32), jg_sl numeric, jg_bfsl numeric, jg_cb numeric, "
         "jg_zcb numeric, pl_flag varchar(1), a_name nvarchar(32)"},

        {"jxc_scjgdwshpl",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_zcb numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), pl_flag varchar(1), ck_sn varchar(8), a_name nvarchar(32)"},

        {"jxc_scjgdpltmp",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_zcb numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), pl_flag varchar(1), ck_sn varchar(8), a_name nvarchar(32)"},

        // Processing receipts ("JR").
        {"jxc_jgrkd",
         "gl_djh varchar(16), ghs_sn varchar(8), de_sn varchar(8), ck_sn varchar(8), "
         "sc_rq varchar(16), sc_zsl numeric, sc_flag int, sc_yfje numeric, sc_sfje numeric, "
         "sc_status int, sc_checker nvarchar(32), sc_chkrq varchar(16), u_sn varchar(8), "
         "sc_note nvarchar(200), a_name nvarchar(32), sc_sn2 varchar(16), sc_yhje numeric"},

        {"jxc_jgrksp",
         "gl_djh varchar(16), sc_dj numeric, sc_sl numeric, sc_zje numeric, sc_flag int, "
         "g_sn varchar(32), a_name nvarchar(32), gl_djh2 nvarchar(16), id2 int, t_ph varchar(64), "
         "t_scrq varchar(16), g_xlh text"},

        // Outsourced processing: orders ("WF"), receipts ("WS") and adjustments ("WT").
        {"jxc_wfjgd",
         "gl_djh varchar(16), g_sn varchar(32), ghs_sn varchar(8), de_sn varchar(8), "
         "ck_sn varchar(8), wf_fdrq varchar(32), wf_wcrq varchar(16), wf_sl numeric, "
         "wf_cb numeric, wf_zcb numeric, wf_dj numeric, wf_yfje numeric, wf_sfje numeric, "
         "wf_shsl numeric, wf_thsl numeric, wf_status int, wf_checker nvarchar(32), "
         "wf_chkrq varchar(16), wf_flag varchar(1), id2 int, wf_bz nvarchar(64), "
         "wf_note nvarchar(200), wf_zzdh varchar(32), u_sn varchar(8), wf_pl varchar(1), "
         "a_name nvarchar(32)"},

        {"jxc_wfjgdpl",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_zcb numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), ck_sn varchar(8), idck int, gl_djh2 varchar(16), "
         "a_name nvarchar(32)"},

        {"jxc_wfshd",
         "gl_djh varchar(16), g_sn varchar(32), ck_sn varchar(8), ws_shrq varchar(32), "
         "ws_sl numeric, ws_dj numeric, ws_bfsl numeric, ws_yfje numeric, ws_sfje numeric, "
         "ws_cb numeric, ws_zcb numeric, ws_bz nvarchar(64), ws_note nvarchar(200), "
         "ws_status int, ws_checker nvarchar(32), ws_chkrq varchar(16), ws_kmmc nvarchar(32), "
         "ws_shbz int, id2 int, ghs_sn varchar(8), u_sn varchar(8), a_name nvarchar(32), "
         "gl_djh2 nvarchar(16)"},

        {"jxc_wftzd",
         "gl_djh varchar(16), ck_sn varchar(8), ghs_sn varchar(8), wt_rq varchar(32), "
         "wt_note nvarchar(200), wt_status int, wt_checker nvarchar(32), wt_chkrq varchar(16), "
         "u_sn varchar(8), a_name nvarchar(32)"},

        {"jxc_wftzdpl",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_zcb numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), ck_sn varchar(8), a_name nvarchar(32), idck int, "
         "gl_djh2 nvarchar(16)"},

        // Production plans.
        {"jxc_plan",
         "gl_djh varchar(16), jg_ddh nvarchar(64), jg_ddbh varchar(32), jg_khbh varchar(32), "
         "jg_jhrq varchar(16), jg_rq varchar(16), jg_note nvarchar(200), jg_jsyq text, "
         "jg_status int, jg_checker nvarchar(32), jg_chkrq varchar(16), kh_sn varchar(8), "
         "de_sn varchar(8), u_sn varchar(8), a_name nvarchar(32)"},

        {"jxc_planlb",
         "gl_djh varchar(16), g_sn varchar(32), jg_sl numeric, jg_scsl numeric, g_tsjf numeric, "
         "jg_cb numeric, jg_zcb numeric, id2 int, a_name nvarchar(32)"},

        {"jxc_planpl",
         "gl_djh varchar(16), g_sn varchar(32), pl_gsn varchar(32), pl_sl numeric, pl_dj numeric, "
         "pl_cb numeric, pl_zsl numeric, pl_jgzsl numeric, pl_zcb numeric, pl_wh nvarchar(255), "
         "pl_note nvarchar(200), ck_sn varchar(8), a_name nvarchar(32)"},

        // Repair orders.
        {"jxc_wxcs",
         "cs_sn varchar(8), cs_name nvarchar(200), cs_flag varchar(1)"},

        {"jxc_wxsp",
         "gl_djh varchar(16), g_sn varchar(32), wx_dj numeric, wx_sl numeric, wx_zje numeric, "
         "wx_gs numeric, wx_gsf numeric, wx_zgsf numeric, wx_pj int, wx_pjtxt nvarchar(8), "
         "wx_xmmc nvarchar(32), wx_bz nvarchar(64), wx_dzl numeric, wx_zhje numeric, "
         "g_xlh text, a_name nvarchar(32), idck int, gl_djh2 nvarchar(16)"},

        {"jxc_wxd",
         "gl_djh varchar(16), wx_khmc nvarchar(64), wx_lxr nvarchar(32), wx_tele varchar(32), "
         "wx_address nvarchar(64), wx_spmc nvarchar(64), wx_ggxh nvarchar(64), wx_dw nvarchar(16), "
         "wx_color nvarchar(16), wx_wxrq varchar(32), wx_bxlx nvarchar(8), wx_wxlx nvarchar(8), "
         "wx_bcxx nvarchar(64), wx_cppz nvarchar(200), wx_sjfj nvarchar(200), "
         "wx_gzms nvarchar(200), wx_wxqk nvarchar(200), wx_zt nvarchar(8), wx_qz nvarchar(4), "
         "wx_bxqx nvarchar(8), wx_wxcs int, wx_pjfy numeric, wx_wxfy numeric, wx_hjfy numeric, "
         "wx_gmrq varchar(32), wx_gdlx nvarchar(8), wx_wxry nvarchar(16), wx_note nvarchar(200), "
         "wx_qjrq varchar(32), wx_kmmc varchar(32), wx_jsfs int, wx_sfje numeric, "
         "wx_status int, wx_checker nvarchar(32), wx_chkrq varchar(16), wx_bxdh nvarchar(32), "
         "wx_jszt nvarchar(32), wx_jsrq nvarchar(16), wx_wxrdh nvarchar(16), "
         "wx_clmc nvarchar(64), wx_clje numeric, wx_gssl numeric, wx_gsje numeric, "
         "wx_cph nvarchar(16), wx_cx nvarchar(32), wx_cjh nvarchar(32), wx_fdjh nvarchar(32), "
         "wx_xslc nvarchar(16), gl_djh2 nvarchar(16), ck_sn varchar(8), kh_sn varchar(8), "
         "u_sn varchar(32), a_name nvarchar(32)"},
    };
}
