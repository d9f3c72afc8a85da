// Goods master data: classes, goods, units, specifications, colours, warehouses, stock,
// extra barcodes, auxiliary units, shelves, bills of material and quotes.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::goodsTables()
{
    return {
        {"jxc_goodsclass",
         "gc_sn varchar(32), gc_name nvarchar(64), gc_jm varchar(32), gc_key int, gc_pid int, gc_cid int",
         {{"gc_name, gc_pid, gc_cid, gc_sn, gc_jm, gc_key",
           {
               {"所有类别", 0, 1, "", "SYLB", 1},
               {"默认类别", 1, 2, "1000", "MRLB", 2},
           }}}},

        {"jxc_goods",
         "g_sn varchar(32), g_name nvarchar(128), g_jm varchar(32), g_jj numeric, g_sj numeric, "
         "g_sj1 numeric, g_sj2 numeric, g_sj3 numeric, g_sj4 numeric, g_sj5 numeric, g_lsj numeric, "
         "g_zdkc int, g_tjsp bit, g_sccs nvarchar(200), g_bz nvarchar(200), g_kc numeric, "
         "g_zhxs numeric, g_gdcbj bit, dw_name2 nvarchar(64), g_scjj numeric, g_cbj numeric, "
         "g_cgpl int, g_xspl int, g_jgpl int, g_plpl int, g_lx varchar(16), g_jy bit, bl int, "
         "g_sptm nvarchar(64), g_sptm2 nvarchar(64), g_pjjj numeric, g_zbq varchar(64), "
         "g_dzll numeric, g_hyj numeric, g_tj numeric, g_tjqx bit, g_ks varchar(32), "
         "g_js varchar(32), g_dxdz bit, g_updatepos varchar(64), g_iszp bit, g_zpjf numeric, "
         "g_zpck varchar(8), g_clxs numeric, g_yjlx nvarchar(64), g_tym nvarchar(64), "
         "g_cx nvarchar(64), g_sy bit, g_tcje numeric, g_bzq numeric, g_tclb int, g_tclr numeric, "
         "g_tc numeric, g_rgf numeric, g_tssp bit, g_hyrdz bit, g_tsjf numeric, gc_cid int, "
         "gc_sn varchar(32), dw_name nvarchar(64), gg_name nvarchar(64), color_name nvarchar(64), "
         "hj_name nvarchar(64), gg_jm varchar(64), color_jm varchar(64), ghs_sn varchar(8)",
         // The reserved goods "00000000": balances document totals against their lines.
         {{"g_sn, g_name, g_jm, g_zhxs, g_bz, g_jy, ghs_sn, gc_cid, g_dzll, "
           "g_sccs, g_sptm, gc_sn, dw_name, gg_name, color_name, g_lx, hj_name, "
           "g_jj, g_sj, g_zdkc, g_tjsp, g_kc, g_scjj, g_cbj, g_cgpl, g_xspl, g_pjjj, g_hyj, "
           "g_tj, g_tjqx, g_dxdz, g_iszp, g_zpjf, g_jgpl, g_plpl, "
           "g_sj1, g_sj2, g_sj3, g_sj4, g_sj5, g_lsj, g_tclb, g_tc, g_sy, g_rgf",
           {
               {"00000000", "优惠商品", "YHSP", 1, "在销售或进货有优惠时,平衡商品总额!", 1,
                "100001", 2, 1,
                "", "", "", "", "", "", "", "",
                0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0,
                0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
           }}},
         "",
         // Scanned barcodes find their goods by g_sptm here, in jxc_goodsdw and in jxc_goodstm.
         {"unique sn:g_sn", "barcode:g_sptm"}},

        {"jxc_goodsprice",
         "gp_name varchar(32), gp_price numeric, g_sn varchar(32)"},

        {"jxc_goodstmp",
         "g_sn varchar(32), g_tmbz nvarchar(32), g_sptm varchar(64), a_name nvarchar(32)"},

        {"jxc_color",
         "color_sn varchar(8), color_name nvarchar(64)",
         {{"color_sn, color_name",
           {
               {"100001", "透明"},
               {"100002", "绿"},
               {"100003", "橙"},
               {"100004", "白"},
           }}}},

        {"jxc_dw",
         "dw_sn varchar(8), dw_name nvarchar(64)",
         {{"dw_sn, dw_name",
           {
               {"100001", "张"},
               {"100002", "盒"},
               {"100003", "袋"},
               {"100004", "箱"},
               {"100005", "瓶"},
           }}}},

        {"jxc_ggxh",
         "gg_sn varchar(8), gg_name nvarchar(64)",
         {{"gg_sn, gg_name",
           {
               {"100001", "500ml"},
               {"100002", "100ml"},
               {"100003", "100g*24袋"},
           }}}},

        {"jxc_ckxx",
         "ck_sn varchar(8), ck_name nvarchar(64), ck_jm varchar(32), ck_fzr varchar(32), "
         "ck_aname nvarchar(200), ck_asn varchar(200), ck_tele varchar(32), "
         "ck_address nvarchar(64), ck_note nvarchar(200), ck_default bit, ck_pos bit",
         // The main warehouse, bound to the administrator; it cannot be deleted.
         {{"ck_sn, ck_name, ck_jm, ck_fzr, ck_aname, ck_asn, ck_default, ck_pos, ck_note",
           {
               {"100001", "主仓库", "ZCK", "王强", "admin,", "100001,", 1, 1, "各种商品"},
           }}}, "", {"unique sn:ck_sn"}},

        {"jxc_kcsp",
         "kc_sl numeric, kc_cbj numeric, kc_zsl numeric, kc_xssl numeric, kc_zcb numeric, "
         "g_sn varchar(32), ck_sn varchar(8)",
         {},
         "",
         // One stock row per goods and warehouse.
         {"unique goods_ck:g_sn,ck_sn"}},

        {"jxc_goodsremind",
         "gr_mode varchar(1), gr_date varchar(64), gr_note text, gr_time varchar(32), "
         "gr_obj varchar(8), a_name nvarchar(32), g_sn varchar(32)"},

        {"jxc_ghsbj",
         "g_sn varchar(32), gb_bj numeric, ghs_sn varchar(8), gb_bjrq varchar(32), u_sn varchar(8), "
         "a_name nvarchar(32), gb_note nvarchar(200)"},

        {"jxc_khbj",
         "g_sn varchar(32), kb_bj numeric, kh_sn varchar(8), kb_bjrq varchar(32), u_sn varchar(8), "
         "a_name nvarchar(32), kb_note nvarchar(200)",
         {},
         "",
         // A customer's quoted price of a goods (sale price proposal).
         {"customer_goods:kh_sn,g_sn"}},

        {"jxc_goodstm",
         "g_sn varchar(32), g_tmbz nvarchar(32), g_sptm varchar(64)", {}, "", {"barcode:g_sptm"}},

        {"jxc_goodsdw",
         "g_sn varchar(32), dw_name nvarchar(64), g_sptm varchar(64), g_zhxs numeric, g_jj numeric, "
         "g_sj numeric, g_sj1 numeric, g_sj2 numeric, g_sj3 numeric, g_sj4 numeric, g_sj5 numeric, "
         "g_lsj numeric, g_scjj numeric, g_cbj numeric, g_pjjj numeric", {}, "", {"barcode:g_sptm"}},

        // Same columns as jxc_goodsdw, plus the operator who is entering the rows.
        {"jxc_goodsdwtmp",
         "g_sn varchar(32), dw_name nvarchar(64), g_sptm varchar(64), g_zhxs numeric, g_jj numeric, "
         "g_sj numeric, g_sj1 numeric, g_sj2 numeric, g_sj3 numeric, g_sj4 numeric, g_sj5 numeric, "
         "g_lsj numeric, g_scjj numeric, g_cbj numeric, g_pjjj numeric, a_name nvarchar(32)"},

        {"jxc_hjxx",
         "hj_sn varchar(8), hj_name nvarchar(64), hj_wz nvarchar(32), hj_flag varchar(1)",
         {{"hj_sn, hj_name, hj_wz, hj_flag",
           {
               {"100001", "默认货架", "默认位置", "1"},
           }}}},

        {"jxc_plxx",
         "g_sn varchar(32), pl_gsn varchar(32), ck_sn varchar(8), pl_sl numeric, "
         "pl_wh nvarchar(255), pl_note nvarchar(200), pl_flag varchar(1)"},

        {"jxc_plxxtmp",
         "g_sn varchar(32), pl_gsn varchar(32), ck_sn varchar(8), pl_sl numeric, "
         "pl_wh nvarchar(255), pl_note nvarchar(200), pl_dzl numeric, ck_name nvarchar(64), "
         "pl_msg nvarchar(32), pl_flag varchar(1), a_name nvarchar(32)"},
    };
}
