#pragma once

// The account set of the period-closing tests, written straight into the tables with consistent
// running values. D = "2023-12-31 23:59:00".
//
// Warehouses 100001 and 100002, goods G1 "20000001", customers K1 "100001" and K2 "100002",
// supplier S1 "100001"; the six cash opening rows dated "2023-01-02" (the set made that day).
// Documents: audited CJ 12-05 (50, line 10) and 12-31 23:59 (70, line 10), pending CJ 12-15 (30,
// line 3), audited CJ 2024-01-05 (40, line 5); audited CT 12-28 (−16, line 2); audited XS 12-20
// (40, line 4) and 12-31 23:59 (10, line 1); an expense 12-10 (−10) and an income 12-11 (20); a
// POS bill 12-31 20:00; registrations 2023-12-15 and 2024-01-02; log rows on both sides of D.
// Goods ledger of G1 in 100001 ids 1–5 and in 100002 ids 6–7 (7 back-dated), partner, cash and
// invoice ledgers as the closing tests describe them.

#include "../support/seed.h"

#include "foundation/db/sqlroutines.h"

#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

namespace closingfixture {

inline const QString kGoods = QStringLiteral("20000001");

inline void document(const QSqlDatabase &db, const QString &header, const QString &number, const QVariantMap &fields,
                     const QString &lines, const QVariantMap &line)
{
    QVariantMap h = fields;
    h.insert(QStringLiteral("gl_djh"), number);
    InsertRow(db, header, h);
    QVariantMap l = line;
    l.insert(QStringLiteral("gl_djh"), number);
    l.insert(QStringLiteral("g_sn"), kGoods);
    InsertRow(db, lines, l);
}

// One goods-ledger row: id, code, number, date, warehouse, quantity, amount, unit price, then
// the running values before and after it.
struct GoodsRow
{
    int id;
    const char *flag;
    const char *number;
    const char *date;
    const char *warehouse;
    double qty, amount, price;
    double beforeQty, beforeValue;
    double stock, cost, value;
};

inline void goodsRow(const QSqlDatabase &db, const GoodsRow &r, const QVariantMap &extra = {})
{
    QVariantMap v = extra;
    v.insert(QStringLiteral("id"), r.id);
    v.insert(QStringLiteral("gl_flag"), QString::fromLatin1(r.flag));
    v.insert(QStringLiteral("gl_djh"), QString::fromLatin1(r.number));
    v.insert(QStringLiteral("gl_kdrq"), QString::fromLatin1(r.date));
    v.insert(QStringLiteral("g_sn"), kGoods);
    v.insert(QStringLiteral("g_name"), QStringLiteral("商品一"));
    v.insert(QStringLiteral("ck_sn"), QString::fromLatin1(r.warehouse));
    v.insert(QStringLiteral("gl_sl"), r.qty);
    v.insert(QStringLiteral("gl_je"), r.amount);
    v.insert(QStringLiteral("gl_zje"), r.amount);
    v.insert(QStringLiteral("gl_dj"), r.price);
    v.insert(QStringLiteral("gl_sqsl"), r.beforeQty);
    v.insert(QStringLiteral("gl_sqje"), r.beforeValue);
    v.insert(QStringLiteral("gl_kc"), r.stock);
    v.insert(QStringLiteral("gl_pjjj"), r.cost);
    v.insert(QStringLiteral("gl_kczje"), r.value);
    if (!v.contains(QStringLiteral("ghs_sn")))
        v.insert(QStringLiteral("ghs_sn"), QStringLiteral("100001"));
    v.insert(QStringLiteral("ghs_name"), QStringLiteral("普通供货商"));
    v.insert(QStringLiteral("gl_note"), QStringLiteral("单据备注"));
    InsertRow(db, QStringLiteral("jxc_goodslist"), v);
}

inline void partnerRow(const QSqlDatabase &db, const char *type, const char *partner, const char *date, double owed,
                       double paid, double balance, const QVariantMap &extra = {})
{
    QVariantMap v = extra;
    v.insert(QStringLiteral("k_type"), QString::fromLatin1(type));
    v.insert(QStringLiteral("k_ghskh"), QString::fromLatin1(partner));
    v.insert(QStringLiteral("k_rq"), QString::fromLatin1(date));
    v.insert(QStringLiteral("k_yfje"), owed);
    v.insert(QStringLiteral("k_sfje"), paid);
    if (!v.contains(QStringLiteral("k_qcje")))
        v.insert(QStringLiteral("k_qcje"), 0);
    if (!v.contains(QStringLiteral("k_yhje")))
        v.insert(QStringLiteral("k_yhje"), 0);
    v.insert(QStringLiteral("k_ljje"), balance);
    v.insert(QStringLiteral("gl_djh"), QStringLiteral("XS") + QString::fromLatin1(date).left(10).remove(QLatin1Char('-')));
    v.insert(QStringLiteral("k_djtxt"), QStringLiteral("商品销售单"));
    v.insert(QStringLiteral("k_note"), QStringLiteral("备注"));
    InsertRow(db, QStringLiteral("jxc_ysyfk"), v);
}

inline void cashRow(const QSqlDatabase &db, const char *date, double amount, double balance, const char *audited)
{
    InsertRow(db, QStringLiteral("jxc_xjyh"),
              {{QStringLiteral("xj_kmmc"), QStringLiteral("现金")},
               {QStringLiteral("xj_rq"), QString::fromLatin1(date)},
               {QStringLiteral("xj_je"), amount},
               {QStringLiteral("xj_ljje"), balance},
               {QStringLiteral("xj_chk"), QString::fromLatin1(audited)},
               {QStringLiteral("xj_dlx"), QStringLiteral("商品销售")},
               {QStringLiteral("xj_note"), QStringLiteral("备注")},
               {QStringLiteral("gl_djh"), QStringLiteral("XS") + QString::fromLatin1(date).left(10).remove(QLatin1Char('-'))},
               {QStringLiteral("ghs_sn"), QStringLiteral("100001")},
               {QStringLiteral("ghs_name"), QStringLiteral("普通客户")}});
}

inline void invoiceRow(const QSqlDatabase &db, const char *type, const char *partner, const char *date, double amount,
                       double invoiced, double opening, double balance, int audited)
{
    InsertRow(db, QStringLiteral("jxc_fpdjb"),
              {{QStringLiteral("fp_type"), QString::fromLatin1(type)},
               {QStringLiteral("fp_ghskh"), QString::fromLatin1(partner)},
               {QStringLiteral("fp_rq"), QString::fromLatin1(date)},
               {QStringLiteral("fp_yfje"), amount},
               {QStringLiteral("fp_sfje"), amount},
               {QStringLiteral("fp_kpje"), invoiced},
               {QStringLiteral("fp_qcje"), opening},
               {QStringLiteral("fp_ljje"), balance},
               {QStringLiteral("fp_check"), audited},
               {QStringLiteral("gl_djh"), QStringLiteral("CJ") + QString::fromLatin1(date).left(10).remove(QLatin1Char('-'))},
               {QStringLiteral("fp_djtxt"), QStringLiteral("采购进货单")},
               {QStringLiteral("fp_note"), QStringLiteral("备注")}});
}

inline void SeedClosingData(const QSqlDatabase &db)
{
    RunSql(db, QStringLiteral("update jxc_xjyh set xj_rq = '2023-01-02'"));
    InsertRow(db, QStringLiteral("jxc_ckxx"), {{QStringLiteral("ck_sn"), QStringLiteral("100002")},
                                              {QStringLiteral("ck_name"), QStringLiteral("二号仓")}});
    InsertRow(db, QStringLiteral("jxc_goods"), {{QStringLiteral("g_sn"), kGoods},
                                               {QStringLiteral("g_name"), QStringLiteral("商品一")},
                                               {QStringLiteral("g_pjjj"), 6.6875}});
    InsertRow(db, QStringLiteral("jxc_kcsp"), {{QStringLiteral("g_sn"), kGoods}, {QStringLiteral("ck_sn"), QStringLiteral("100001")},
                                              {QStringLiteral("kc_sl"), 20}, {QStringLiteral("kc_cbj"), 6.6875},
                                              {QStringLiteral("kc_zcb"), 133.75}});
    InsertRow(db, QStringLiteral("jxc_kcsp"), {{QStringLiteral("g_sn"), kGoods}, {QStringLiteral("ck_sn"), QStringLiteral("100002")},
                                              {QStringLiteral("kc_sl"), 5}, {QStringLiteral("kc_cbj"), 10},
                                              {QStringLiteral("kc_zcb"), 50}});
    InsertRow(db, QStringLiteral("jxc_khxx"), {{QStringLiteral("kh_sn"), QStringLiteral("100002")},
                                              {QStringLiteral("kh_name"), QStringLiteral("客户二")}, {QStringLiteral("kh_lwje"), 0}});
    RunSql(db, QStringLiteral("update jxc_khxx set kh_lwje = 60 where kh_sn = '100001'"));
    RunSql(db, QStringLiteral("update jxc_ghsxx set ghs_lwje = 70 where ghs_sn = '100001'"));

    // Documents.
    auto cj = [&](const char *number, const char *date, double amount, double qty, int status) {
        document(db, QStringLiteral("jxc_jhd"), QString::fromLatin1(number),
                 {{QStringLiteral("j_jhrq"), QString::fromLatin1(date)}, {QStringLiteral("j_yfje"), amount},
                  {QStringLiteral("j_status"), status}, {QStringLiteral("ghs_sn"), QStringLiteral("100001")}},
                 QStringLiteral("jxc_jhsp"), {{QStringLiteral("jh_sl"), qty}});
    };
    cj("CJ23120510001", "2023-12-05 10:00", 50, 10, 1);
    cj("CJ23123110001", "2023-12-31 23:59", 70, 10, 1);
    cj("CJ23121510001", "2023-12-15 09:00", 30, 3, 0);
    cj("CJ24010510001", "2024-01-05 10:00", 40, 5, 1);
    document(db, QStringLiteral("jxc_thd"), QStringLiteral("CT23122810001"),
             {{QStringLiteral("th_thrq"), QStringLiteral("2023-12-28 10:00")}, {QStringLiteral("th_yfje"), -16},
              {QStringLiteral("th_status"), 1}},
             QStringLiteral("jxc_thsp"), {{QStringLiteral("th_sl"), 2}});
    auto xs = [&](const char *number, const char *date, double amount, double qty) {
        document(db, QStringLiteral("jxc_lsxsd"), QString::fromLatin1(number),
                 {{QStringLiteral("ls_xsrq"), QString::fromLatin1(date)}, {QStringLiteral("ls_yfje"), amount},
                  {QStringLiteral("ls_status"), 1}, {QStringLiteral("kh_sn"), QStringLiteral("100001")}},
                 QStringLiteral("jxc_lsxssp"), {{QStringLiteral("ls_sl"), qty}});
    };
    xs("XS23122010001", "2023-12-20 15:00", 40, 4);
    xs("XS23123110001", "2023-12-31 23:59", 10, 1);
    InsertRow(db, QStringLiteral("jxc_yyfy"), {{QStringLiteral("fy_rq"), QStringLiteral("2023-12-10")},
                                              {QStringLiteral("fy_flag"), QStringLiteral("1")},
                                              {QStringLiteral("fy_je"), -10},
                                              {QStringLiteral("gl_djh"), QStringLiteral("FY23121010001")}});
    InsertRow(db, QStringLiteral("jxc_yyfy"), {{QStringLiteral("fy_rq"), QStringLiteral("2023-12-11")},
                                              {QStringLiteral("fy_flag"), QStringLiteral("2")},
                                              {QStringLiteral("fy_je"), 20},
                                              {QStringLiteral("gl_djh"), QStringLiteral("SR23121110001")}});
    document(db, QStringLiteral("jxc_posxsd"), QStringLiteral("PS23123110001"),
             {{QStringLiteral("pos_xsrq"), QStringLiteral("2023-12-31 20:00")}, {QStringLiteral("pos_yfje"), 12}},
             QStringLiteral("jxc_posxssp"), {{QStringLiteral("pos_sl"), 1}});
    InsertRow(db, QStringLiteral("jxc_ysyfk_dj"), {{QStringLiteral("gl_djh"), QStringLiteral("YS23121510001")},
                                                  {QStringLiteral("k_rq"), QStringLiteral("2023-12-15")},
                                                  {QStringLiteral("k_type"), QStringLiteral("kh")},
                                                  {QStringLiteral("k_ghskh"), QStringLiteral("100001")}});
    InsertRow(db, QStringLiteral("jxc_ysyfk_dj"), {{QStringLiteral("gl_djh"), QStringLiteral("YS24010210001")},
                                                  {QStringLiteral("k_rq"), QStringLiteral("2024-01-02")},
                                                  {QStringLiteral("k_type"), QStringLiteral("kh")},
                                                  {QStringLiteral("k_ghskh"), QStringLiteral("100001")}});
    for (const char *time : {"2023-12-31 23:58:59", "2023-12-31 23:59:30", "2024-01-01 08:00:00"})
        InsertRow(db, QStringLiteral("jxc_log"), {{QStringLiteral("log_time"), QString::fromLatin1(time)},
                                                 {QStringLiteral("a_name"), QStringLiteral("admin")},
                                                 {QStringLiteral("log_note"), QStringLiteral("登录系统")}});
    // A scratch row of the operator, left by an earlier print.
    InsertRow(db, QStringLiteral("jxc_tempspxf"), {{QStringLiteral("a_name"), QStringLiteral("admin")},
                                                  {QStringLiteral("rid"), 1}});

    // Goods ledger: G1 in 100001, then in 100002 (id 7 back-dated before id 6).
    goodsRow(db, {1, "cj", "CJ23120510001", "2023-12-05 10:00", "100001", 10, 50, 5, 0, 0, 10, 5, 50});
    goodsRow(db, {2, "xs", "XS23122010001", "2023-12-20 15:00", "100001", 4, 40, 10, 10, 50, 6, 5, 30},
             {{QStringLiteral("gl_zcb"), 20}, {QStringLiteral("gl_lr"), 20}});
    goodsRow(db, {3, "cj", "CJ23123110001", "2023-12-31 23:59", "100001", 10, 70, 7, 6, 30, 16, 6.25, 100});
    goodsRow(db, {4, "xs", "XS23123110001", "2023-12-31 23:59", "100001", 1, 10, 10, 16, 100, 15, 6.25, 93.75},
             {{QStringLiteral("gl_zcb"), 6.25},
              {QStringLiteral("gl_lr"), 3.75},
              {QStringLiteral("gl_cbj"), 6.25},
              {QStringLiteral("gl_taxje"), 1.3},
              {QStringLiteral("gl_sysl"), 1},
              {QStringLiteral("id2"), 41},
              {QStringLiteral("idck"), 7},
              {QStringLiteral("gl_djh2"), QStringLiteral("XD23123010001")}});
    goodsRow(db, {5, "cj", "CJ24010510001", "2024-01-05 10:00", "100001", 5, 40, 8, 15, 93.75, 20, 6.6875, 133.75});
    goodsRow(db, {6, "cj", "CJ23121010001", "2023-12-10 09:00", "100002", 3, 30, 10, 2, 20, 5, 10, 50});
    goodsRow(db, {7, "cj", "CJ23120810001", "2023-12-08 09:00", "100002", 2, 20, 10, 0, 0, 2, 10, 20});

    // Partner ledger: customer K1 and K2, supplier S1 of the same code as K1.
    partnerRow(db, "kh", "100001", "2023-11-01 10:00", 100, 0, 100);
    partnerRow(db, "kh", "100001", "2023-12-20 15:00", 40, 30, 110,
               {{QStringLiteral("k_yhje"), 5}, {QStringLiteral("gl_djh2"), QStringLiteral("XS24011010001")}});
    partnerRow(db, "kh", "100001", "2024-01-10 10:00", 0, 50, 60);
    partnerRow(db, "kh", "100002", "2023-12-01", 50, 0, 50);
    partnerRow(db, "kh", "100002", "2023-12-10", 0, 50, 0);
    partnerRow(db, "ghs", "100001", "2023-12-05 10:00", 50, 50, 0);
    partnerRow(db, "ghs", "100001", "2023-12-31 23:59", 70, 0, 70);

    // Cash account 现金 after its opening row of 0.
    cashRow(db, "2023-12-05 10:00", -50, -50, "1");
    cashRow(db, "2023-12-20 15:00", 30, -20, "1");
    cashRow(db, "2023-12-30 09:00", 5, -15, "0");
    cashRow(db, "2024-01-10 10:00", 50, 30, "1");

    // Invoices: S1 invoiced in full, a pending row after; K1 owed 40; K2 an opening amount of 15.
    invoiceRow(db, "ghs", "100001", "2023-12-05 10:00", 50, 0, 0, 50, 1);
    invoiceRow(db, "ghs", "100001", "2023-12-29 10:00", 0, 50, 0, 0, 1);
    invoiceRow(db, "ghs", "100001", "2023-12-30 10:00", 9, 0, 0, 9, 0);
    invoiceRow(db, "kh", "100001", "2023-12-20 15:00", 40, 0, 0, 40, 1);
    invoiceRow(db, "kh", "100002", "2023-12-01", 0, 0, 15, 15, 1);
}

} // namespace closingfixture
