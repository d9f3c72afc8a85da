// POS front desk, member cards and SMS: POS bills and lines, shift handovers, till cash in and
// out, the POS device, receipt, font and hotkey settings, members with their levels, discount
// modes, points rules, top-up bonus rules and money movements, point exchanges, SMS settings
// and messages, and a few tables kept without use (old member levels, point log, shops,
// online payment transactions).

#include "foundation/schema/tabledef.h"

using namespace schema;

std::vector<TableDef> schema::posTables()
{
    return {
        // Online payment transactions; unused.
        {"jxc_wxfk",
         "gl_djh varchar(16), auth_code varchar(32), out_trade_no varchar(32), total_fee numeric, "
         "refund_fee numeric, mch_create_ip varchar(16), service varchar(64), out_refund_no varchar(32), "
         "err_code varchar(32), err_msg nvarchar(32), refund_id varchar(64), trade_type varchar(32), "
         "transaction_id varchar(64), out_transaction_id varchar(64), mch_id varchar(32), "
         "time_end varchar(32), wx_flag varchar(4), wx_time varchar(32), a_name nvarchar(32)"},

        // Member levels by range of total points; "100001" when no range holds a member.
        {"jxc_hyfl",
         "hl_sn varchar(8), hl_name nvarchar(32), hl_zk numeric, hl_jfxx numeric, hl_jfsx numeric",
         {{"hl_sn, hl_name, hl_zk, hl_jfxx, hl_jfsx",
           {
               {"100001", "普通会员", 1, 0, 0},
               {"100002", "初级会员", 1, 1, 999999},
           }}}},

        // Member cards; "100001" is the built-in card-less customer.
        {"jxc_hyxx",
         "hy_sn varchar(8), hy_fsn varchar(8), hy_bh varchar(32), hy_name nvarchar(32), hy_jm varchar(32), "
         "hy_status bit, hl_sn varchar(8), hh_sn varchar(8), hy_mm varchar(16), hy_jf numeric, "
         "hy_zjf numeric, hy_zhje numeric, hy_ye numeric, hy_zje numeric, hy_jrrq varchar(16), "
         "hy_dqrq varchar(16), hy_sj bit, hy_qx bit, hy_cs int, hy_syje numeric, hy_xjsyje numeric, "
         "hy_note nvarchar(200), hy_fd varchar(32), hy_fdzt varchar(32), hy_hyidkh varchar(32), "
         "hy_glnl int, hy_sex nvarchar(2), hy_sr varchar(16), hy_tele varchar(32), hy_mobile varchar(16), "
         "hy_email varchar(64), hy_zjlx nvarchar(64), hy_zjhm nvarchar(64), hy_dwzy nvarchar(64), "
         "hy_address nvarchar(64), hy_qtxx nvarchar(64), hy_cg bit, hy_chk bit",
         {{"hy_sn, hy_bh, hy_name, hl_sn, hh_sn, hy_jf, hy_zhje, hy_ye, hy_zje, hy_sj, hy_qx, hy_cs, "
           "hy_syje, hy_xjsyje, hy_glnl, hy_cg, hy_jrrq, hy_zjf",
           {
               {"100001", "0000", "无卡客户", "100001", "100001", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                "2010-01-01", 0},
           }}}},

        // Old member levels; unused.
        {"jxc_hyjbxx",
         "hj_sn varchar(8), hj_jbid varchar(16), hj_jbmc nvarchar(32), hj_zkl numeric, hj_jfxx numeric, "
         "hj_jfsx numeric"},

        // POS bill headers; pos_note "gd" marks a held bill, returns carry negative amounts.
        {"jxc_posxsd",
         "gl_djh varchar(16), hy_sn varchar(8), pos_xsrq varchar(32), kh_sn varchar(8), ck_sn varchar(8), "
         "pos_yfje numeric, pos_sfje numeric, pos_mlje numeric, a_name nvarchar(32), u_sn varchar(8), "
         "pos_note nvarchar(200), pos_zffs int, pos_xj numeric, pos_czk numeric, pos_yhk numeric, "
         "pos_djq numeric, pos_yhje numeric, pos_yhzkje numeric, pos_wxje numeric, pos_zfbje numeric, "
         "pos_zftype varchar(32), pos_transactionid varchar(64), pos_rjid varchar(50), pos_bcjf numeric, "
         "pos_jfye numeric, pos_zlje numeric, pos_zjf numeric",
         {},
         // Which way the member effects of the bill went (PostPosMember): NULL not recorded,
         // 1 points path, 2 early exit (points base 0); the cancel takes back only that.
         "pos_hyfz int", {"customer:kh_sn", "employee:u_sn", "warehouse:ck_sn"}},

        // POS bill lines.
        {"jxc_posxssp",
         "gl_djh varchar(16), g_sn varchar(32), pos_dj numeric, pos_sl numeric, pos_zje numeric, "
         "t_zp nvarchar(16), a_name nvarchar(32), pos_dzl numeric, pos_cbj numeric, pos_zcb numeric, "
         "pos_lsj numeric, pos_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), "
         "g_zhxs numeric, pos_zhje numeric, idck int, gl_djh2 varchar(16), t_scrq varchar(16), "
         "t_ph varchar(64), t_yxq varchar(16), g_xlh text"},

        // Points rules, one row: points earned on spending, no amount per point yet.
        {"jxc_jfsz",
         "jf_jfgz int, jf_mfje numeric, jf_djjf bit, jf_jsrjf int, jf_hysk bit, jf_qchy bit, jf_xgxf bit, "
         "jf_ick bit, jf_jsrjl int, jf_dbjf int, jf_dbrq1 varchar(32), jf_dbrq2 varchar(32), "
         "jf_srjflx int, jf_srjfbs int, jf_srjfts int, jf_yelj bit, jf_hyr int, jf_hyr1 varchar(32), "
         "jf_hyr2 varchar(32), jf_hyrmy1 varchar(2), jf_hyrmy2 varchar(2), jf_hyrzk numeric, "
         "jf_icktype int",
         {{"jf_jfgz, jf_mfje, jf_djjf, jf_jsrjf, jf_hysk, jf_qchy, jf_xgxf, jf_ick, jf_jsrjl, jf_dbjf, "
           "jf_dbrq1, jf_dbrq2, jf_srjflx, jf_srjfbs, jf_srjfts, jf_yelj, jf_hyr, jf_hyr1, jf_hyr2, "
           "jf_hyrmy1, jf_hyrmy2, jf_hyrzk, jf_icktype",
           {
               {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, "", "", 0, 0, 0, 0, 0, "", "", "", "", 0, 0},
           }}}},

        // Point log; unused.
        {"jxc_jfdh",
         "hy_sn varchar(8), jf_xfjf numeric, jf_rq varchar(32), a_name nvarchar(32), jf_note nvarchar(200)"},

        // POS receipt settings, one row. pp_kd stays empty, which selects the 80 mm template.
        {"jxc_posprint",
         "pp_zjdy bit, pp_dkqx bit, pp_zdqz bit, pp_dyfs int, pp_dyj int, pp_kd int, pp_bt1 nvarchar(64), "
         "pp_bt2 nvarchar(64), pp_jz1 nvarchar(64), pp_jz2 nvarchar(64), pp_khs varchar(2), "
         "pp_fs varchar(4), pp_xfjf bit, pp_fkfs bit, pp_jedx bit, pp_bzxx bit",
         {{"pp_zjdy, pp_dkqx, pp_zdqz, pp_dyfs, pp_dyj, pp_bt1, pp_bt2, pp_jz1, pp_jz2, pp_khs, pp_fs, "
           "pp_xfjf, pp_fkfs, pp_jedx, pp_bzxx",
           {
               {0, 0, 0, 0, 0, "{BRAND}旗舰店", "欢迎惠顾", "欢迎使用{BRAND}进销存", "管理软件 {BRAND}是专家",
                "2", "1", 0, 0, 0, 1},
           }}}},

        // POS function keys: function name and Windows virtual-key code.
        {"jxc_gnb",
         "gn_name nvarchar(32), gn_jz int",
         {{"gn_name, gn_jz",
           {
               {"付款结账", 187}, // = / +
               {"修改折扣", 118}, // F7
               {"修改数量", 115}, // F4
               {"删除当前", 46},  // Delete
               {"删除全部", 34},  // Page Down
               {"选择会员", 113}, // F2
               {"打开钱箱", 117}, // F6
               {"挂单", 119},     // F8
               {"解挂", 120},     // F9
               {"锁定屏幕", 121}, // F10
               {"浏览图片", 122}, // F11
               {"设为赠品", 123}, // F12
           }}}},

        // Font size of the POS grids, one row.
        {"jxc_posfont",
         "font_size varchar(32)",
         {{"font_size", {{"14"}}}}},

        // Shops; unused.
        {"jxc_fd",
         "fd_sn varchar(8), fd_name varchar(64), fd_dcrq varchar(32)",
         {{"fd_sn, fd_name, fd_dcrq",
           {
               {"100001", "{BRAND}旗舰店", ""},
           }}}},

        // Shop details; unused. fd_sn is the one column of the schema declared not null.
        {"jxc_lsfdxx",
         "fd_sn varchar(8) not null, fd_name varchar(64), fd_lxr varchar(32), fd_tele varchar(32), "
         "fd_address varchar(128), fd_note nvarchar(200)"},

        // Cashier shift handovers.
        {"jxc_poshb",
         "jb_begintime varchar(32), jb_endtime varchar(32), a_name nvarchar(32), jb_xjje numeric, "
         "jb_czkje numeric, jb_yhkje numeric, jb_djqje numeric, jb_wxje numeric, jb_zfbje numeric, "
         "jb_zlje numeric, jb_mlje numeric, jb_thje numeric, jb_rkje numeric, jb_ckje numeric, "
         "jb_xsje numeric, jb_xjje2 numeric, jb_yhkje2 numeric, jb_wxje2 numeric, jb_zfbje2 numeric, "
         "jb_zlje2 numeric, jb_xfje numeric, jb_yjje numeric, jb_sjje numeric, jb_note nvarchar(64)"},

        // POS device settings, one row: no drawer, no customer display, scale prefixes 24 and 25.
        {"jxc_poscs",
         "pos_qxjk int, pos_jkzl int, pos_kxjk int, pos_dkqx bit, pos_tmlx int, pos_jzqz varchar(4), "
         "pos_jsqz varchar(4), pos_jews int, pos_djws int, pos_zlws int",
         {{"pos_qxjk, pos_jkzl, pos_dkqx, pos_tmlx, pos_jzqz, pos_jsqz, pos_jews, pos_djws, pos_zlws, "
           "pos_kxjk",
           {
               {0, 0, 1, 0, "24", "25", 2, 2, 2, 0},
           }}}},

        // Discount modes of member cards.
        {"jxc_hyyh",
         "hh_sn varchar(8), hh_name nvarchar(32), hh_zl int, hh_yh1 numeric, hh_yh2 numeric, "
         "hh_yh3 numeric, hh_zlname nvarchar(32), hh_note nvarchar(200)",
         {{"hh_sn, hh_name, hh_zl, hh_yh1, hh_yh2, hh_yh3, hh_zlname, hh_note",
           {
               {"100001", "不优惠", 0, 1, 0, 0, "存款优惠", "实际款=所付存款*1"},
           }}}},

        // Top-up bonus rules.
        {"jxc_hyczzs",
         "hs_sn varchar(8), hs_zsfs int, hs_txt nvarchar(32), hs_myje numeric, hs_czje numeric, "
         "hs_zsje numeric, hs_note nvarchar(200)"},

        // Member card money movements ("XF"): top-ups, transfers, scheduled bonuses.
        {"jxc_hyxf",
         "gl_djh varchar(16), hy_sn varchar(8), xf_rq varchar(32), xf_je numeric, xf_yhje numeric, "
         "xf_xj numeric, xf_czk numeric, xf_xyk numeric, xf_djq numeric, xf_wxje numeric, "
         "xf_zfbje numeric, xf_zlje numeric, xf_note nvarchar(200), xf_zt varchar(32), "
         "xf_fdzt varchar(32), xf_fd varchar(32), xf_zsrq varchar(16), hs_zsfs int, hs_myje numeric, "
         "hs_zsje numeric, xf_id varchar(32), a_name nvarchar(32)",
         {},
         "",
         // Scheduled top-up gifts are read by kind and member.
         {"gift:hs_zsfs,hy_sn"}},

        // Point exchanges for gifts ("DH").
        {"jxc_dhd",
         "gl_djh varchar(16), hy_sn varchar(8), dh_dhrq varchar(32), dh_sl numeric, dh_jf numeric, "
         "dh_note nvarchar(200), a_name nvarchar(32), ck_sn varchar(8)",
         {}, "", {"warehouse:ck_sn"}},

        // Gift lines of a point exchange.
        {"jxc_dhzp",
         "gl_djh varchar(16), g_sn varchar(32), dh_zpjf numeric, dh_sl numeric, dh_jf numeric, "
         "a_name nvarchar(32), idck int, gl_djh2 varchar(16)"},

        // Till cash in ("RK", crk_flag "r") and out ("CK", "c").
        {"jxc_crk",
         "gl_djh varchar(16), crk_rq varchar(32), crk_flag varchar(1), crk_je numeric, "
         "crk_note nvarchar(200), a_name nvarchar(32), a_name2 nvarchar(32)"},

        // SMS messages written by an operator ("SM").
        {"jxc_sms",
         "gl_djh varchar(16), sms_rq varchar(16), sms_note nvarchar(250), a_name nvarchar(32)"},

        // SMS recipients, also the record of every automatic message.
        {"jxc_smshy",
         "gl_djh varchar(16), hy_sn varchar(8), hy_mobile varchar(16), sms_rq varchar(32), "
         "sms_note nvarchar(250), a_name nvarchar(32)"},

        // SMS gateway settings; no row until they are first saved.
        {"jxc_smscs",
         "sms_sign varchar(32), sms_user varchar(32), sms_pwd varchar(32), sms_cznote nvarchar(250), "
         "sms_xfnote nvarchar(250)"},
    };
}
