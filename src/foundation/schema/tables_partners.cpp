// Business partners, staff and contracts: suppliers and customers with their types and
// regions, employees, departments, contracts, contact logs, waybills and carriers.

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::partnerTables()
{
    return {
        {"jxc_ghsxx",
         "ghs_sn varchar(8), ghs_name nvarchar(128), ghs_jm varchar(128), ghs_lxr nvarchar(32), "
         "ghs_tele varchar(64), ghs_address nvarchar(128), ghs_note nvarchar(200), "
         "ghs_lwje numeric, ghs_default bit, ghs_pl int, ck_sn varchar(8), ck_name nvarchar(64), "
         "ghs_forbid bit, gt_name nvarchar(32), z_name nvarchar(32)",
         // The built-in supplier "100001".
         {{"ghs_sn, ghs_name, ghs_jm, ghs_note, ghs_lwje, ghs_default, ghs_pl, ghs_forbid, "
           "ck_sn, ck_name, ghs_lxr, ghs_tele, ghs_address, gt_name, z_name",
           {
               {"100001", "普通供货商", "PTGHS", "普通供货商为一些零碎的,不固定的商品供货商",
                0, 1, 0, 0, "-1", "所有仓库", "", "", "", "", ""},
           }}}, "", {"unique sn:ghs_sn"}},

        {"jxc_ghstype",
         "gt_sn varchar(8), gt_name nvarchar(32), gt_default bit",
         {{"gt_sn, gt_name, gt_default",
           {
               {"100001", "A级供货商", 0},
               {"100002", "B级供货商", 0},
               {"100003", "C级供货商", 0},
           }}}, "", {"unique sn:gt_sn"}},

        {"jxc_zone",
         "z_sn varchar(8), z_name nvarchar(32), z_jm varchar(32), z_default bit",
         {{"z_sn, z_name, z_jm, z_default",
           {
               {"100001", "省会地区", "SHDQ", 0},
               {"100002", "地市区域", "DSDQ", 0},
               {"100003", "其他区域", "QTDQ", 0},
           }}}, "", {"unique sn:z_sn"}},

        {"jxc_ghsfk",
         "gf_sn varchar(16), gf_fkrq varchar(32), gf_fkfs varchar(32), gf_fkje numeric, "
         "gf_note nvarchar(200), gl_djh varchar(16), gf_je numeric, u_sn varchar(8), "
         "a_name nvarchar(32), ghs_sn varchar(8)"},

        {"jxc_khxx",
         "kh_sn varchar(8), kh_name nvarchar(128), kh_jm varchar(128), kh_lxr nvarchar(32), "
         "kh_tele varchar(64), kh_address nvarchar(128), kh_note nvarchar(200), kh_lwje numeric, "
         "kh_default bit, kh_pl int, ck_sn varchar(8), ck_name nvarchar(64), kh_forbid bit, "
         "kh_uname nvarchar(200), kh_usn varchar(200), kt_sn varchar(8), kt_name nvarchar(32), "
         "z_name nvarchar(32)",
         // The built-in retail customer "100001", served by the default employee.
         {{"kh_sn, kh_name, kh_jm, kh_address, kh_lwje, kh_default, kh_pl, kh_forbid, kt_name, "
           "kt_sn, kh_uname, kh_usn, ck_sn, ck_name, kh_lxr, kh_tele, kh_note, z_name",
           {
               {"100001", "普通客户", "PTKH", "系统设置—设置—公司信息修改抬头", 0, 1, 0, 0,
                "零售客户", "1000", "默认员工,", "100001,", "-1", "所有仓库", "", "", "", ""},
           }}}, "", {"unique sn:kh_sn"}},

        // Customer types double as price levels; the six rows are fixed.
        {"jxc_khtype",
         "kt_sn varchar(8), kt_name nvarchar(32), kt_default bit",
         {{"kt_sn, kt_name, kt_default",
           {
               {"1000", "零售客户", 0},
               {"1001", "一级", 0},
               {"1002", "二级", 0},
               {"1003", "三级", 0},
               {"1004", "四级", 0},
               {"1005", "五级", 0},
           }}}},

        {"jxc_khfk",
         "kf_sn varchar(16), kf_fkrq varchar(32), kf_fkfs varchar(32), kf_fkje numeric, "
         "kf_note nvarchar(200), gl_djh varchar(16), kf_je numeric, kf_fdmc varchar(32), "
         "u_sn varchar(8), a_name nvarchar(32), kh_sn varchar(8)"},

        {"jxc_user",
         "u_sn varchar(8), u_name nvarchar(32), u_jm varchar(32), u_duty nvarchar(32), "
         "u_tele varchar(32), u_address nvarchar(128), u_note nvarchar(200), u_tc numeric, "
         "u_cgpl int, u_xspl int, u_cg bit, u_xs bit, u_kc bit, u_jy bit, u_tcfs int, "
         "u_zdlr numeric, u_tctxt nvarchar(8), ck_sn varchar(8), ck_name nvarchar(64), "
         "u_fdmc varchar(64)",
         // The built-in employee "100001".
         {{"u_sn, u_name, u_jm, u_duty, u_tele, u_address, u_tc, u_cgpl, u_xspl, u_cg, u_xs, "
           "u_kc, ck_sn, ck_name, u_jy, u_tcfs, u_zdlr, u_tctxt",
           {
               {"100001", "默认员工", "MRYG", "", "", "", 0, 0, 0, 1, 1, 1, "-1", "所有仓库", 0,
                0, 0, "按销售额提成"},
           }}}, "", {"unique sn:u_sn"}},

        {"jxc_htgl",
         "gl_djh varchar(16), ht_sn varchar(8), ht_rq varchar(32), ht_name nvarchar(64), "
         "ht_jm varchar(32), ht_note text, ht_path nvarchar(128), ht_fujian varchar(32), "
         "ht_fjname nvarchar(64), ht_type varchar(4), a_name nvarchar(32), u_sn varchar(8), "
         "ghs_sn varchar(8)"},

        {"jxc_ftpcs",
         "ftp_ip varchar(32), ftp_user varchar(32), ftp_pwd varchar(32), ftp_port varchar(8), "
         "ftp_folder nvarchar(32)"},

        {"jxc_khhtgl",
         "ht_sn varchar(8), ht_rq varchar(32), ht_name nvarchar(64), ht_path nvarchar(128), "
         "ht_jm varchar(32), u_sn varchar(8), kh_sn varchar(8)"},

        {"jxc_ghslx",
         "lx_rq varchar(32), lx_note text, u_sn varchar(8), ghs_sn varchar(8)"},

        {"jxc_khlx",
         "lx_rq varchar(32), lx_note text, u_sn varchar(8), kh_sn varchar(8)"},

        {"jxc_ywyrz",
         "rz_rq varchar(32), rz_note text, u_sn varchar(8)"},

        {"jxc_jhgl",
         "kh_sn varchar(8), jh_rq varchar(32), gl_djh varchar(16), g_sn varchar(32), "
         "jh_dj numeric, jh_sl numeric, ck_sn varchar(8), u_sn varchar(8), a_name nvarchar(32), "
         "jh_note nvarchar(200), jh_flag varchar(2)"},

        {"jxc_kdd",
         "kd_dh varchar(32), kg_sn varchar(8), kd_rq varchar(32), kd_zl numeric, kd_je numeric, "
         "kd_jjr nvarchar(32), kd_src nvarchar(32), kd_dwmc nvarchar(64), "
         "kd_address nvarchar(200), kd_tele varchar(32), kd_mobile varchar(32), kd_zip varchar(8), "
         "kd_sjr nvarchar(32), kd_dest nvarchar(32), kd_dwmc2 nvarchar(64), "
         "kd_address2 nvarchar(200), kd_tele2 varchar(32), kd_mobile2 varchar(32), "
         "kd_zip2 varchar(8), kd_note nvarchar(200), gl_djh varchar(16), a_name nvarchar(32)"},

        // Express carriers; their codes start at "1001".
        {"jxc_kdgs",
         "kg_sn varchar(8), kg_name nvarchar(64)",
         {{"kg_sn, kg_name",
           {
               {"1001", "EMS"},
               {"1002", "顺丰快递"},
               {"1003", "中通快递"},
               {"1004", "申通快递"},
               {"1005", "天天快递"},
               {"1006", "星晨急便"},
               {"1007", "圆通速递"},
               {"1008", "韵达快运"},
               {"1009", "宅急送"},
               {"1010", "中铁快运"},
               {"1011", "汇通快运"},
               {"1012", "信丰物流"},
               {"1013", "快捷快递"},
               {"1014", "德邦快递"},
               {"1015", "百世快运"},
               {"1016", "优速快递"},
               {"1017", "速腾快递"},
               {"1018", "远成快运"},
               {"1019", "韵达速递"},
               {"1020", "百世快递"},
               {"1021", "全速通国际快递"},
               {"1022", "汇升快递"},
               {"1023", "联合快递"},
           }}}},

        {"jxc_dept",
         "de_sn varchar(8), de_name nvarchar(64)",
         {{"de_sn, de_name",
           {
               {"100001", "默认部门"},
           }}}, "", {"unique sn:de_sn"}},
    };
}
