// System settings and housekeeping: the parameter row and the other single-row settings
// (company, backup, mail, start-up windows), operators, roles and skins, the operation log,
// the report-template catalogue and the label queue, tips, reminders and notes, document-note
// presets, the Excel import catalogue with its staging tables, the per-operator scratch
// tables, and two tables kept without use.

#include "foundation/schema/tabledef.h"

using namespace schema;

namespace {

// Right string granting every right of a module: sixty "1".
const char *const kAllRights = "111111111111111111111111111111111111111111111111111111111111";

} // namespace

std::vector<TableDef> schema::settingsTables()
{
    return {
        // Skin chosen by each operator.
        {"jxc_skin",
         "skin_name varchar(64), a_name nvarchar(32)",
         {{"skin_name, a_name",
           {
               {"iMaginary", "admin"},
           }}}},

        // Catalogue of importable fields: Excel column header -> column of the target table.
        {"jxc_import",
         "i_fieldid varchar(32), i_fieldname nvarchar(32), i_tablename varchar(32)",
         {{"i_fieldid, i_fieldname, i_tablename",
           {
               // jxc_goods
               {"g_sn", "商品编码", "jxc_goods"},
               {"g_name", "商品名称", "jxc_goods"},
               {"dw_name", "单位", "jxc_goods"},
               {"gg_name", "规格型号", "jxc_goods"},
               {"color_name", "颜色", "jxc_goods"},
               {"g_sptm", "商品条码", "jxc_goods"},
               {"g_zdkc", "最低库存", "jxc_goods"},
               {"g_kc", "期初库存", "jxc_goods"},
               {"g_jj", "预设进价", "jxc_goods"},
               {"g_sj", "预设售价", "jxc_goods"},
               {"g_sj1", "一级价格", "jxc_goods"},
               {"g_sj2", "二级价格", "jxc_goods"},
               {"g_sj3", "三级价格", "jxc_goods"},
               {"g_sj4", "四级价格", "jxc_goods"},
               {"g_sj5", "五级价格", "jxc_goods"},
               {"g_lsj", "零售价", "jxc_goods"},
               {"g_sccs", "生产厂商", "jxc_goods"},
               {"hj_name", "所在货架", "jxc_goods"},
               {"gc_name", "商品类别", "jxc_goods"},
               {"g_bz", "备注", "jxc_goods"},
               // jxc_ghsxx
               {"ghs_name", "供货商名称", "jxc_ghsxx"},
               {"ghs_lxr", "联系人", "jxc_ghsxx"},
               {"ghs_tele", "联系电话", "jxc_ghsxx"},
               {"ghs_lwje", "期初应付", "jxc_ghsxx"},
               {"gt_name", "供货商类型", "jxc_ghsxx"},
               {"z_name", "所属地区", "jxc_ghsxx"},
               {"ghs_address", "联系地址", "jxc_ghsxx"},
               {"ghs_note", "备注", "jxc_ghsxx"},
               // jxc_khxx
               {"kh_name", "客户名称", "jxc_khxx"},
               {"kh_lxr", "联系人", "jxc_khxx"},
               {"kh_tele", "联系电话", "jxc_khxx"},
               {"kh_lwje", "期初应收", "jxc_khxx"},
               {"kt_name", "客户类型", "jxc_khxx"},
               {"z_name", "所属地区", "jxc_khxx"},
               {"kh_address", "联系地址", "jxc_khxx"},
               {"kh_note", "备注", "jxc_khxx"},
               // jxc_hyxx
               {"hy_bh", "会员卡号", "jxc_hyxx"},
               {"hy_name", "会员姓名", "jxc_hyxx"},
               {"hy_mm", "会员密码", "jxc_hyxx"},
               {"hy_sex", "性别", "jxc_hyxx"},
               {"hy_sr", "出生日期", "jxc_hyxx"},
               {"hy_jf", "会员积分", "jxc_hyxx"},
               {"hy_zhje", "卡内金额", "jxc_hyxx"},
               {"hy_zje", "累计消费", "jxc_hyxx"},
               {"hy_jrrq", "加入日期", "jxc_hyxx"},
               {"hy_dwzy", "单位职业", "jxc_hyxx"},
               {"hy_mobile", "移动电话", "jxc_hyxx"},
               {"hy_tele", "固定电话", "jxc_hyxx"},
               {"hy_email", "电子邮件", "jxc_hyxx"},
               {"hy_zjlx", "证件类型", "jxc_hyxx"},
               {"hy_zjhm", "证件号码", "jxc_hyxx"},
               {"hy_address", "联系地址", "jxc_hyxx"},
               // jxc_dbsp
               {"g_sn", "商品编号", "jxc_dbsp"},
               {"g_name", "名称", "jxc_dbsp"},
               {"dw_name", "单位", "jxc_dbsp"},
               {"gg_name", "规格型号", "jxc_dbsp"},
               {"color_name", "颜色", "jxc_dbsp"},
               {"db_sl", "数量", "jxc_dbsp"},
           }}}},

        // Excel columns of an import in progress, per operator.
        {"jxc_importchk",
         "i_fieldid nvarchar(32), i_excelfield nvarchar(64), i_sele bit, i_image int, a_name nvarchar(32)"},

        // Excel data rows of an import in progress, per operator.
        {"jxc_importdata",
         "id_exceldata nvarchar(128), id_status nvarchar(64), id_sele bit, id_image int, "
         "a_name nvarchar(32)"},

        // Operators; "100001" is the built-in administrator, without a password.
        {"jxc_admin",
         "a_sn varchar(8), a_name nvarchar(32), r_sn varchar(8), a_zreoje numeric, a_pos bit, "
         "a_pwd varchar(32), a_jy bit, a_jyt int, a_dbsn varchar(8), a_ip varchar(32), "
         "a_time varchar(64), a_fdmc varchar(64)",
         {{"a_sn, a_name, r_sn, a_pwd, a_zreoje, a_pos, a_jy, a_jyt",
           {
               {"100001", "admin", "100001", "", 0, 1, 0, 0},
           }}}},

        // The company owning the account set, one row: the printed document header.
        {"jxc_company",
         "c_sn varchar(8), c_name nvarchar(64), c_jc nvarchar(32), c_lxr nvarchar(32), "
         "c_tele nvarchar(32), c_address nvarchar(128), c_note nvarchar(200)",
         {{"c_sn, c_name, c_jc, c_tele",
           {
               {"100001", "{MAKER_COMPANY}", "{MAKER_SOFTWARE}", "{MAKER_PHONE}"},
           }}}},

        // Document-note presets.
        {"jxc_djbz",
         "dj_sn varchar(8), dj_name nvarchar(64), dj_pl int"},

        // Per-operator comparison rows; nothing fills them.
        {"jxc_tempspbd",
         "t_rq varchar(32), g_sn varchar(32), g_name nvarchar(128), t_cg numeric, t_ct numeric, "
         "t_cj numeric, t_xs numeric, t_xt numeric, t_xj numeric, a_name nvarchar(32)"},

        // Per-operator scratch lines: print padding, import staging, ledger row id lists.
        {"jxc_tempspxf",
         "g_sn varchar(32), ts_dj numeric, ts_cbj numeric, ts_zcb numeric, ts_cbj2 numeric, "
         "ts_sl numeric, id3 int, rid int, ts_je numeric, ts_tax numeric, ts_taxdj numeric, "
         "ts_taxje numeric, ts_lsj numeric, ts_zje numeric, a_name nvarchar(32), ts_dzl numeric, "
         "t_jhrq varchar(32), ts_zhdj numeric, ts_note nvarchar(200), t_zp nvarchar(16), "
         "ghs_sn varchar(8), t_ddh nvarchar(32), t_ph varchar(64), t_scrq varchar(16), idck int, "
         "gl_djh2 nvarchar(16), hy_sn varchar(8), g_xlh text"},

        // Per-operator daily analysis rows; unused.
        {"jxc_tempyyfx",
         "yy_rq varchar(32), yy_cgsl numeric, yy_cgje numeric, yy_xssl numeric, yy_xsje numeric, "
         "yy_xscb numeric, yy_xslr numeric, a_name nvarchar(32)"},

        // Operation log.
        {"jxc_log",
         "log_time varchar(32), a_name nvarchar(32), log_note nvarchar(200)"},

        // Report-template catalogue; b_sn is (kind + 1) * 100000 + serial. There is no kind 5.
        {"jxc_bbgl",
         "b_sn varchar(8), b_lx int, b_lxmc nvarchar(8), b_name nvarchar(32), b_file varchar(32)",
         {{"b_sn, b_lx, b_lxmc, b_name, b_file",
           {
               // 进货管理
               {"100001", 0, "进货管理", "采购进货单", "cgjh.fr3"},
               {"100002", 0, "进货管理", "采购进货单(无进价)", "cgjh2.fr3"},
               {"100003", 0, "进货管理", "采购退货单", "cgth.fr3"},
               {"100004", 0, "进货管理", "采购退货单(无进价)", "cgth2.fr3"},
               {"100005", 0, "进货管理", "采购订单", "cgd.fr3"},
               {"100006", 0, "进货管理", "采购订单(无进价)", "cgd2.fr3"},
               {"100007", 0, "进货管理", "采购进货待审核表", "cgjhdsh.fr3"},
               {"100008", 0, "进货管理", "采购进货单据表", "cgjhdjb.fr3"},
               {"100009", 0, "进货管理", "采购进货汇总表", "cgjhhzb.fr3"},
               {"100010", 0, "进货管理", "采购进货明细表", "cgjhmxb.fr3"},
               {"100011", 0, "进货管理", "采购退货待审核表", "cgthdsh.fr3"},
               {"100012", 0, "进货管理", "采购退货单据表", "cgthdjb.fr3"},
               {"100013", 0, "进货管理", "采购退货汇总表", "cgthhzb.fr3"},
               {"100014", 0, "进货管理", "采购退货明细表", "cgthmxb.fr3"},
               {"100015", 0, "进货管理", "生产入库单", "scrkd.fr3"},
               {"100016", 0, "进货管理", "生产入库单(无进价)", "scrkd2.fr3"},
               {"100017", 0, "进货管理", "生产退库单", "sctkd.fr3"},
               {"100018", 0, "进货管理", "生产退库单(无进价)", "sctkd2.fr3"},
               {"100019", 0, "进货管理", "生产入库待审核表", "scrkdsh.fr3"},
               {"100020", 0, "进货管理", "生产入库单据表", "scrkdjb.fr3"},
               {"100021", 0, "进货管理", "生产入库汇总表", "scrkhzb.fr3"},
               {"100022", 0, "进货管理", "生产入库明细表", "scrkmxb.fr3"},
               {"100023", 0, "进货管理", "生产退库待审核表", "sctkdsh.fr3"},
               {"100024", 0, "进货管理", "生产退库单据表", "sctkdjb.fr3"},
               {"100025", 0, "进货管理", "生产退库汇总表", "sctkhzb.fr3"},
               {"100026", 0, "进货管理", "生产退库明细表", "sctkmxb.fr3"},
               {"100027", 0, "进货管理", "入库统计表", "rktjb.fr3"},
               {"100028", 0, "进货管理", "退货统计表", "thtjb.fr3"},
               // 销售管理
               {"200001", 1, "销售管理", "销售单", "spxs.fr3"},
               {"200002", 1, "销售管理", "销售单(含零售价)", "spxs2.fr3"},
               {"200003", 1, "销售管理", "销售单(不含售价)", "spxs4.fr3"},
               {"200004", 1, "销售管理", "销售退货单", "xsth.fr3"},
               {"200005", 1, "销售管理", "销售退货单(含零售价)", "xsth2.fr3"},
               {"200006", 1, "销售管理", "销售退货单(不含售价)", "xsth4.fr3"},
               {"200007", 1, "销售管理", "销售订单", "xsd.fr3"},
               {"200008", 1, "销售管理", "销售订单(不含售价)", "xsd2.fr3"},
               {"200009", 1, "销售管理", "商品销售待审核表", "spxsdsh.fr3"},
               {"200010", 1, "销售管理", "商品销售单据表", "spxsdjb.fr3"},
               {"200011", 1, "销售管理", "商品销售汇总表", "spxshzb.fr3"},
               {"200012", 1, "销售管理", "商品销售明细表", "spxsmxb.fr3"},
               {"200013", 1, "销售管理", "销售退货待审核表", "xsthdsh.fr3"},
               {"200014", 1, "销售管理", "销售退货单据表", "xsthdjb.fr3"},
               {"200015", 1, "销售管理", "销售退货汇总表", "xsthhzb.fr3"},
               {"200016", 1, "销售管理", "销售退货明细表", "xsthmxb.fr3"},
               {"200017", 1, "销售管理", "部门领用单", "bmlyd.fr3"},
               {"200018", 1, "销售管理", "部门领用单(无进价)", "bmlyd2.fr3"},
               {"200019", 1, "销售管理", "部门退回单", "bmthd.fr3"},
               {"200020", 1, "销售管理", "部门退回单(无进价)", "bmthd2.fr3"},
               {"200021", 1, "销售管理", "部门领用待审核表", "bmlydsh.fr3"},
               {"200022", 1, "销售管理", "部门领用单据表", "bmlydjb.fr3"},
               {"200023", 1, "销售管理", "部门领用汇总表", "bmlyhzb.fr3"},
               {"200024", 1, "销售管理", "部门领用明细表", "bmlymxb.fr3"},
               {"200025", 1, "销售管理", "部门领用部门汇总表", "bmlyhzbbm.fr3"},
               {"200026", 1, "销售管理", "部门领用综合查询", "bmlycx.fr3"},
               {"200027", 1, "销售管理", "部门退回待审核表", "bmthdsh.fr3"},
               {"200028", 1, "销售管理", "部门退回单据表", "bmthdjb.fr3"},
               {"200029", 1, "销售管理", "部门退回汇总表", "bmthhzb.fr3"},
               {"200030", 1, "销售管理", "部门退回明细表", "bmthmxb.fr3"},
               {"200031", 1, "销售管理", "出库统计表", "cktjb.fr3"},
               {"200032", 1, "销售管理", "退库统计表", "tktjb.fr3"},
               // 库存管理
               {"300001", 2, "库存管理", "库存调拨单", "kcdbd.fr3"},
               {"300002", 2, "库存管理", "库存调拨单(预设售价)", "kcdbd2.fr3"},
               {"300003", 2, "库存管理", "库存盘点单", "kcpdd.fr3"},
               {"300004", 2, "库存管理", "商品报损报溢单", "bsby.fr3"},
               {"300005", 2, "库存管理", "商品报损报溢单(无进价)", "bsby2.fr3"},
               {"300006", 2, "库存管理", "库存查询表", "kccx.fr3"},
               {"300007", 2, "库存管理", "库存调拨待审核表", "kcdbdsh.fr3"},
               {"300008", 2, "库存管理", "库存调拨单据表", "kcdbdjb.fr3"},
               {"300009", 2, "库存管理", "库存调拨汇总表", "kcdbhzb.fr3"},
               {"300010", 2, "库存管理", "库存调拨明细表", "kcdbmxb.fr3"},
               {"300011", 2, "库存管理", "库存盘点待审核表", "kcpddsh.fr3"},
               {"300012", 2, "库存管理", "库存盘点单据表", "kcpddjb.fr3"},
               {"300013", 2, "库存管理", "库存盘点明细表", "kcpdmxb.fr3"},
               {"300014", 2, "库存管理", "报损报溢待审核表", "bsbydsh.fr3"},
               {"300015", 2, "库存管理", "报损报溢单据表", "bsbydjb.fr3"},
               {"300016", 2, "库存管理", "报损报溢汇总表", "bsbyhzb.fr3"},
               {"300017", 2, "库存管理", "报损报溢明细表", "bsbymxb.fr3"},
               // 往来账款
               {"400001", 3, "往来账款", "欠款单", "ysyfyfk.fr3"},
               {"400002", 3, "往来账款", "供货商付款单", "ysyffkd.fr3"},
               {"400003", 3, "往来账款", "客户欠款单", "ysyfysk.fr3"},
               {"400004", 3, "往来账款", "客户收款单", "ysyfskd.fr3"},
               {"400005", 3, "往来账款", "应付款登记表", "yfkdj.fr3"},
               {"400006", 3, "往来账款", "付款登记表", "yfkfk.fr3"},
               {"400007", 3, "往来账款", "应付款单据表", "yfkmxb.fr3"},
               {"400008", 3, "往来账款", "应付款汇总表", "yfkglhzb.fr3"},
               {"400009", 3, "往来账款", "应付款明细表", "yfkglmxb.fr3"},
               {"400010", 3, "往来账款", "应收款登记表", "yskdj.fr3"},
               {"400011", 3, "往来账款", "收款登记表", "ysksk.fr3"},
               {"400012", 3, "往来账款", "应收款单据表", "yskmxb.fr3"},
               {"400013", 3, "往来账款", "应收款汇总表", "yskglhzb.fr3"},
               {"400014", 3, "往来账款", "应收款明细表", "yskglmxb.fr3"},
               {"400015", 3, "往来账款", "费用、收入单", "fyd.fr3"},
               {"400016", 3, "往来账款", "费用及收入待审核表", "fyjsrdsh.fr3"},
               {"400017", 3, "往来账款", "费用及收入明细表", "fyjsrmxb.fr3"},
               {"400018", 3, "往来账款", "费用及收入汇总表", "fyjsrhzb.fr3"},
               {"400019", 3, "往来账款", "现金银行出款、入款单", "xjyhd.fr3"},
               {"400020", 3, "往来账款", "现金银行待审核表", "xjyhdsh.fr3"},
               {"400021", 3, "往来账款", "现金银行明细表", "xjyhmxb.fr3"},
               {"400022", 3, "往来账款", "现金银行汇总表", "xjyhhzb.fr3"},
               // 统计报表
               {"500001", 4, "统计报表", "进销存统计明细表", "jxctjmxb.fr3"},
               {"500002", 4, "统计报表", "进销存统计汇总表", "jxctjhzb.fr3"},
               {"500003", 4, "统计报表", "收货对账单", "shdzd.fr3"},
               {"500004", 4, "统计报表", "发货对账单", "fhdzd.fr3"},
               {"500005", 4, "统计报表", "发货成本单据表", "fhcbdjb.fr3"},
               {"500006", 4, "统计报表", "发货成本汇总表", "fhcbhzb.fr3"},
               {"500007", 4, "统计报表", "销售毛利单据表", "xsmldjb.fr3"},
               {"500008", 4, "统计报表", "销售毛利汇总表", "xsmlhzb.fr3"},
               {"500009", 4, "统计报表", "业务员销售单据表", "ywyxsdjb.fr3"},
               {"500010", 4, "统计报表", "业务员销售汇总表", "ywyxshzb.fr3"},
               {"500011", 4, "统计报表", "业务员销售明细表", "ywyxsmxb.fr3"},
               {"500012", 4, "统计报表", "业务员提成汇总表", "ywyxstc.fr3"},
               {"500013", 4, "统计报表", "业务员提成明细表", "ywylrtc.fr3"},
               // 系统设置
               {"700001", 6, "系统设置", "商品信息表", "spxxgl.fr3"},
               {"700002", 6, "系统设置", "供货商信息表", "ghsgl.fr3"},
               {"700003", 6, "系统设置", "客户信息表", "khgl.fr3"},
               {"700004", 6, "系统设置", "员工信息表", "user.fr3"},
               {"700005", 6, "系统设置", "仓库信息表", "ckgl.fr3"},
               {"700006", 6, "系统设置", "商品标价签", "goodsprice.fr3"},
           }}}},

        // Goods reminders shown in the reminder window.
        {"jxc_tx",
         "tx_dx varchar(8), tx_fs int, tx_lb int, tx_sj varchar(64), tx_note text, tx_tjsj varchar(32), "
         "a_name nvarchar(32), g_sn varchar(32)"},

        // Automatic-backup settings; no row until they are first saved.
        {"jxc_backup",
         "back_auto bit, back_sj int, back_days int, back_path nvarchar(200), back_exit bit"},

        // Barcode-label print queue.
        {"jxc_tm",
         "g_sn varchar(32), tm_sl numeric"},

        // Label texts of one label print run.
        {"jxc_txm",
         "tm_code varchar(64)"},

        // Label layout, one row; no screen uses it.
        {"jxc_tmdy",
         "tm_width int, tm_height int, tm_num int, tm_padding int, tm_titledisp bit, "
         "tm_title varchar(64), tm_titleleft int, tm_titletop int, tm_titlepadding int, "
         "tm_titlealign int, tm_code varchar(64), tm_codeleft int, tm_codetop int, tm_codeheight int, "
         "tm_codetype int, tm_codedisp bit, tm_footdisp bit, tm_foot varchar(64), tm_footleft int, "
         "tm_foottop int, tm_footpadding int, tm_footalign int",
         {{"tm_width, tm_height, tm_num, tm_padding, tm_titledisp, tm_title, tm_titleleft, tm_titletop, "
           "tm_titlepadding, tm_titlealign, tm_code, tm_codeleft, tm_codetop, tm_codeheight, "
           "tm_codetype, tm_codedisp, tm_footdisp, tm_foot, tm_footleft, tm_foottop, tm_footpadding, "
           "tm_footalign",
           {
               {100, 30, 1, 150, 1, "{BRAND}软件标题", 2, 2, 2, 0, "1234567890", 2, 50, 50, 14, 1, 1,
                "{BRAND}软件脚注", 2, 100, 2, 0},
           }}}},

        // Daily report mail settings, one row; nothing sends mail.
        {"jxc_email",
         "e_smtp nvarchar(64), e_sqpwd nvarchar(64), e_email nvarchar(64), e_lx int, e_fj1 bit, "
         "e_fj2 bit, e_fj3 bit, e_fj4 bit, e_fj5 bit, e_fj6 bit, e_fj7 bit, e_fj8 bit, e_fj9 bit, "
         "e_send bit, e_date varchar(16)",
         {{"e_smtp, e_sqpwd, e_email, e_lx, e_fj1, e_fj2, e_fj3, e_fj4, e_fj5, e_fj6, e_fj7, e_fj8, "
           "e_fj9, e_send, e_date",
           {
               {"", "", "", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, ""},
           }}}},

        // Unused.
        {"jxc_numeric",
         "nu_zd nvarchar(64), nu_biao nvarchar(64)"},

        // Roles with one right string per module; "100001" is the system administrator.
        {"jxc_role",
         "r_sn varchar(8), r_name nvarchar(32), cggl varchar(64), xsgl varchar(64), scjg varchar(64), "
         "scjh varchar(64), kcgl varchar(64), wlzk varchar(64), tjgl varchar(64), rcgl varchar(64), "
         "qtcz varchar(64)",
         {{"r_sn, r_name, cggl, xsgl, scjg, scjh, kcgl, wlzk, tjgl, rcgl, qtcz",
           {
               {"100001", "系统管理员", kAllRights, kAllRights, kAllRights, kAllRights, kAllRights,
                kAllRights, kAllRights, kAllRights, kAllRights},
           }}}},

        // Tips of the day; mr_state "1" marks the tip shown last.
        {"jxc_mryt",
         "mr_ts nvarchar(200), mr_state varchar(1), mr_rq varchar(32)",
         {{"mr_ts, mr_state, mr_rq",
           {
               {"同一个操作员不可以同时在不同的机器上登录，因为系统要记录正在操作的操作员。保存单据时会保存呢操作员的信息，如果同时登录可能会造成单据信息的重复。",
                "0", "2011-1-1"},
               {"增加商品时，系统可以自动生成商品编号，也可以手工输入编号，但同一编号不能重复使用。",
                "0", "2011-1-1"},
               {"仓库、供货商和客户都可以设置一个默认项，开单时系统会自动带出默认的仓库、供货商和客户。",
                "0", "2011-1-1"},
               {"系统内置了“普通供货商”和“普通客户”，零散、不固定的进货和销售可以直接使用，不必逐一建立档案。",
                "0", "2011-1-1"},
               {"经办人是指单据的业务经手人，在员工信息中添加后即可在单据中选择，便于统计业务员的业绩。",
                "0", "2011-1-1"},
               {"初次使用系统时，请先录入商品的期初库存和期初金额，系统以期初数据作为库存和成本计算的起点。",
                "0", "2011-1-1"},
               {"为了数据安全，请各操作员及时修改自己的登录密码，并妥善保管，不要告诉他人。",
                "0", "2011-1-1"},
               {"商品的基本单位请设为最小的计量单位，其他单位可设为辅助单位，系统按换算比例自动折算数量。",
                "0", "2011-1-1"},
               {"新增供货商和客户时可以录入期初应付款和期初应收款，系统会自动记入往来账款。",
                "0", "2011-1-1"},
               {"单据的录入和审核可以分别授权，由不同的操作员分别负责录入和审核，便于相互监督。",
                "0", "2011-1-1"},
               {"系统对商品成本价，采用加权平均算法! ",
                "0", "2011-1-1"},
               {"往来账款中可以查询每个供货商、客户的应付应收明细和余额，随时掌握往来情况。",
                "0", "2011-1-1"},
               {"进销存统计报表可以按时间段统计商品的进货、销售和库存变化，为经营决策提供依据。",
                "0", "2011-1-1"},
               {"已审核的单据不能直接删除，如确需删除，请先取消审核后再删除。",
                "0", "2011-1-1"},
               {"单据取消审核后，它对库存、成本和往来账款的影响将被撤销，修改后可以重新审核。",
                "0", "2011-1-1"},
               {"系统中的商品进价可以屏蔽，使有些用户不能看到进价，确保某些信息的保密与安全。 ",
                "0", "2011-1-1"},
           }}}},

        // Shift handovers of an older design; unused.
        {"jxc_jbgl",
         "jb_time varchar(32), jb_curruser nvarchar(32), jb_nextuser nvarchar(32), jb_jjzje numeric, "
         "jb_bbskzje numeric, jb_sjyyk numeric, jb_xfyyk numeric, jb_note nvarchar(200)"},

        // System parameters, exactly one row. cs_employdate is the schema upgrade marker and
        // starts empty, so the first login runs every upgrade step.
        {"jxc_xtcs",
         "cs_cgdj int, cs_xsdj int, cs_xgdj bit, cs_kc bit, cs_ysdh bit, cs_spbh bit, cs_ct bit, "
         "cs_xt bit, cs_cgyh int, cs_xsyh int, cs_shdj bit, cs_shtc bit, cs_xjyh bit, cs_cbjs int, "
         "cs_xsws int, cs_zjews bit, cs_jews int, cs_ts varchar(64), cs_hbfh nvarchar(4), cs_posdj bit, "
         "cs_tjcyjf bit, cs_posfkws int, cs_posblur bit, cs_poshooktoday bit, cs_barcode bit, "
         "cs_barunique bit, cs_zerocost bit, cs_possk bit, cs_xsjgts int, cs_djsh int, cs_employ bit, "
         "cs_employts int, cs_employdate varchar(20), cs_wxzf bit, cs_mchid varchar(64), "
         "cs_key varchar(64), cs_kp bit, cs_hs bit, cs_tax numeric, cs_sms bit, cs_hcj bit, cs_sprk bit, "
         "cs_spck bit, cs_lsj bit, cs_scjh bit, cs_scrk bit, cs_spcz bit, cs_dbdj int, cs_jhzk bit, "
         "cs_zdzk numeric, cs_ht bit, cs_kddy bit, cs_fzdw bit, cs_cgje int, cs_xsje int, cs_activate bit, "
         "cs_activatets int, cs_djrq int, cs_dysx int, cs_cs001 bit, cs_cs002 bit, cs_cs003 bit, "
         "cs_cs004 int, cs_cs005 int, cs_cs006 int, cs_cs007 bit, cs_cs008 bit, cs_cs009 bit, "
         "cs_cs010 bit, cs_cs011 bit, cs_cs012 bit, cs_cs013 bit, cs_cs014 bit, cs_cs015 bit, "
         "cs_cs016 bit, cs_cs017 bit, cs_cs018 bit, cs_cs019 bit, cs_cs020 bit, cs_cs021 bit, "
         "cs_cs022 bit, cs_cs023 bit, cs_cs024 bit, cs_cs025 bit, cs_cs026 bit, cs_cs027 bit, "
         "cs_cs028 bit, cs_cs029 bit, cs_cs030 bit, cs_cs031 int, cs_cs032 int, cs_cs033 int, "
         "cs_bcqdy bit, cs_djzddy bit, cs_djzddysl int, cs_tmzdsc bit, cs_tmscff int, cs_rgf bit, "
         "cs_posrq bit, cs_tx bit, cs_mryt bit",
         {{"cs_cgdj, cs_xsdj, cs_xgdj, cs_kc, cs_ysdh, cs_spbh, cs_ct, cs_xt, cs_cgyh, cs_xsyh, cs_shdj, "
           "cs_shtc, cs_xjyh, cs_cbjs, cs_xsws, cs_zjews, cs_jews, cs_ts, cs_hbfh, cs_posdj, cs_tjcyjf, "
           "cs_posfkws, cs_posblur, cs_poshooktoday, cs_barcode, cs_barunique, cs_zerocost, cs_possk, "
           "cs_xsjgts, cs_djsh, cs_employ, cs_employts, cs_employdate, cs_wxzf, cs_mchid, cs_key, cs_kp, "
           "cs_hs, cs_tax, cs_sms, cs_hcj, cs_sprk, cs_spck, cs_lsj, cs_scjh, cs_scrk, cs_spcz, cs_dbdj, "
           "cs_jhzk, cs_zdzk, cs_ht, cs_kddy, cs_fzdw, cs_cgje, cs_xsje, cs_activate, cs_activatets, "
           "cs_djrq, cs_dysx, cs_cs001, cs_cs002, cs_cs003, cs_cs004, cs_cs005, cs_cs006, cs_cs007, "
           "cs_cs008, cs_cs009, cs_cs010, cs_cs011, cs_cs012, cs_cs013, cs_cs014, cs_cs015, cs_cs016, "
           "cs_cs017, cs_cs018, cs_cs019, cs_cs020, cs_cs021, cs_cs022, cs_cs023, cs_cs024, cs_cs025, "
           "cs_cs026, cs_cs027, cs_cs028, cs_cs029, cs_cs030, cs_cs031, cs_cs032, cs_cs033, cs_bcqdy, "
           "cs_djzddy, cs_djzddysl, cs_tmzdsc, cs_tmscff, cs_rgf, cs_posrq, cs_tx, cs_mryt",
           {
               {2, 0, 1, 1, 0, 1,  // cs_cgdj, cs_xsdj, cs_xgdj, cs_kc, cs_ysdh, cs_spbh
                0, 0, 0, 0, 0, 0,  // cs_ct, cs_xt, cs_cgyh, cs_xsyh, cs_shdj, cs_shtc
                1, 2, 2, 0, 0, "",  // cs_xjyh, cs_cbjs, cs_xsws, cs_zjews, cs_jews, cs_ts
                "￥", 0, 0, 2, 0, 1,  // cs_hbfh, cs_posdj, cs_tjcyjf, cs_posfkws, cs_posblur, cs_poshooktoday
                0, 0, 0, 0, 1, 0,  // cs_barcode, cs_barunique, cs_zerocost, cs_possk, cs_xsjgts, cs_djsh
                1, 0, "", 0, "", "",  // cs_employ, cs_employts, cs_employdate, cs_wxzf, cs_mchid, cs_key
                0, 0, 0, 0, 0, 0,  // cs_kp, cs_hs, cs_tax, cs_sms, cs_hcj, cs_sprk
                0, 0, 0, 0, 0, 0,  // cs_spck, cs_lsj, cs_scjh, cs_scrk, cs_spcz, cs_dbdj
                0, 0, 0, 0, 0, 0,  // cs_jhzk, cs_zdzk, cs_ht, cs_kddy, cs_fzdw, cs_cgje
                0, 1, 1, 0, 0, 0,  // cs_xsje, cs_activate, cs_activatets, cs_djrq, cs_dysx, cs_cs001
                0, 0, 0, 0, 0, 0,  // cs_cs002, cs_cs003, cs_cs004, cs_cs005, cs_cs006, cs_cs007
                0, 0, 0, 0, 1, 0,  // cs_cs008, cs_cs009, cs_cs010, cs_cs011, cs_cs012, cs_cs013
                0, 0, 0, 0, 0, 0,  // cs_cs014, cs_cs015, cs_cs016, cs_cs017, cs_cs018, cs_cs019
                0, 0, 0, 0, 0, 0,  // cs_cs020, cs_cs021, cs_cs022, cs_cs023, cs_cs024, cs_cs025
                0, 0, 0, 0, 0, 2,  // cs_cs026, cs_cs027, cs_cs028, cs_cs029, cs_cs030, cs_cs031
                0, 0, 0, 0, 0, 0,  // cs_cs032, cs_cs033, cs_bcqdy, cs_djzddy, cs_djzddysl, cs_tmzdsc
                0, 0, 0, 1, 0}, // cs_tmscff, cs_rgf, cs_posrq, cs_tx, cs_mryt
           }}}},

        // Start-up boxes of the tip window and the reminder window, one row.
        {"jxc_txdisp",
         "t_mryt varchar(1), t_sjtx varchar(1)",
         {{"t_mryt, t_sjtx",
           {
               {"1", "0"},
           }}}},

        // Note pad; nothing reads or writes it.
        {"jxc_bqjl",
         "bq_txt text, bq_flag varchar(8)"},

        // Per-operator basket lines of the add-goods dialogs and the line imports.
        {"jxc_tempspxf2",
         "g_sn varchar(32), ts_dj numeric, ts_cbj numeric, ts_zcb numeric, ts_cbj2 numeric, "
         "ts_sl numeric, id3 int, rid int, ts_je numeric, ts_tax numeric, ts_taxdj numeric, "
         "ts_taxje numeric, ts_lsj numeric, ts_zje numeric, a_name nvarchar(32), ts_dzl numeric, "
         "t_jhrq varchar(32), ts_zhdj numeric, ts_note nvarchar(200), t_zp nvarchar(16), "
         "ts_zsl numeric, g_tmbz nvarchar(32), dw_name nvarchar(64), g_sptm varchar(64), "
         "ghs_sn varchar(8), t_ph varchar(64), t_scrq varchar(16), t_yxq varchar(16), "
         "t_ddh nvarchar(32), idck int, gl_djh2 nvarchar(16), hy_sn varchar(8), g_xlh text",
         {},
         "",
         {"operator:a_name"}},
    };
}
