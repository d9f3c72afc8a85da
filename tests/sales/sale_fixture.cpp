#include "sale_fixture.h"

#include "../support/inventoryset.h"

void SetSaleDefaults(LoginState &state)
{
    SignInAsAdministrator(state);
    state.PriceDecimals = 2;
    state.QtyDecimals = 2;
    state.RoundTotals = QStringLiteral("0");
    state.TotalDecimals = QStringLiteral("2");
    state.DefaultTaxRate = QStringLiteral("0");
    state.AllowNegativeStock = QStringLiteral("0");
    state.UseAuxUnits = QStringLiteral("1");
    state.ScanAddsQty = QStringLiteral("1");
    state.UseTax = QStringLiteral("1");
    state.UseDiscount = QStringLiteral("1");
    state.AllowSalePriceEdit = QStringLiteral("1");
    state.AllowSaleCostEdit = QStringLiteral("0");
    state.SeparateStockOut = QStringLiteral("0");
    state.UseGradePrices = QStringLiteral("0");
    state.SalePriceDefault = QStringLiteral("0");
    state.SalePaidDefault = QStringLiteral("0");
    state.DefaultSettleMode = QStringLiteral("0");
    state.DocDateDefault = QStringLiteral("0");
    state.MinSaleDiscount = QStringLiteral("0.8");
    state.BindOperatorWarehouse = QStringLiteral("0");
    state.BindSalesmanCustomer = QStringLiteral("0");
    state.NoPrintBeforeSave = QStringLiteral("0");
    state.AuditOnSave = QStringLiteral("0");
    state.SettleDiffMode = QStringLiteral("0");
    state.WarnShortPrepayment = QStringLiteral("0");
    state.PrintSaleOnSave = QStringLiteral("0");
    state.ChooseSalesPrintFormat = QStringLiteral("0");
    state.DocDateWithTime = QStringLiteral("0");
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
}

void SeedSaleSet(const QSqlDatabase &db)
{
    InsertRow(db, QStringLiteral("jxc_ckxx"),
              {{"ck_sn", "100002"}, {"ck_name", "分仓库"}, {"ck_jm", "FCK"}, {"ck_aname", ""}, {"ck_asn", ""},
               {"ck_default", 0}, {"ck_pos", 0}});
    auto customer = [&](const char *sn, const char *name, const QVariantMap &extra) {
        QVariantMap c{{"kh_sn", sn}, {"kh_name", QString::fromUtf8(name)}, {"kh_jm", ""}, {"kh_lxr", ""}, {"kh_tele", ""},
                      {"kh_address", ""}, {"kh_lwje", 0.0}, {"kh_default", 0}, {"kh_forbid", 0},
                      {"kh_usn", ""}, {"kt_sn", "1000"}, {"kt_name", "零售客户"}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            c.insert(it.key(), it.value());
        InsertRow(db, QStringLiteral("jxc_khxx"), c);
    };
    customer("100002", "华联超市", {{"kh_jm", "HLCS"}, {"kh_tele", "13800001111"}, {"kh_usn", "100002,"}});
    customer("100003", "百货商店", {{"kh_lxr", "李明"}, {"kh_address", "北京路138号"}});
    InsertRow(db, QStringLiteral("jxc_user"),
              {{"u_sn", "100002"}, {"u_name", "业务员甲"}, {"u_jm", "YWYJ"}, {"u_cg", 1}, {"u_xs", 1}, {"u_kc", 1},
               {"u_jy", 0}, {"ck_sn", "-1"}, {"ck_name", "所有仓库"}});
    auto goods = [&](const char *sn, const char *name, const char *jm, double sj, double lsj, const char *barcode) {
        InsertRow(db, QStringLiteral("jxc_goods"),
                  {{"g_sn", sn}, {"g_name", QString::fromUtf8(name)}, {"g_jm", jm}, {"dw_name", "瓶"}, {"g_sj", sj},
                   {"g_jj", 2.2}, {"g_lsj", lsj}, {"g_sptm", barcode}, {"g_scjj", 0.0}, {"g_pjjj", 0.0},
                   {"g_kc", 0.0}, {"g_xspl", 0}, {"g_cgpl", 0}, {"g_jy", 0}, {"gc_sn", "1000"}, {"g_gdcbj", 0},
                   {"g_zhxs", 1.0}});
    };
    goods(kA, "可乐", "KL", 3.5, 4.0, "6901");
    goods(kB, "雪碧", "XB", 3.0, 3.5, "6902");
    InsertRow(db, QStringLiteral("jxc_goodsdw"),
              {{"g_sn", kA}, {"dw_name", "箱"}, {"g_zhxs", 12.0}, {"g_sj", 40.0}, {"g_lsj", 45.0}, {"g_jj", 26.4},
               {"g_sptm", "6912"}});
    InsertRow(db, QStringLiteral("jxc_goodstm"), {{"g_sn", kA}, {"g_sptm", "6901-2"}, {"g_tmbz", "礼盒装"}});
    AddOpeningStock(db, kA, QStringLiteral("100001"), 48, 2.0);
    AddOpeningStock(db, kB, QStringLiteral("100001"), 10, 2.5);
}

qint64 SaleLine(const QSqlDatabase &db, const QString &number, const QString &goods, double quantity, double price,
                const QString &who, const QVariantMap &extra)
{
    QVariantMap l{{"gl_djh", number},   {"g_sn", goods},         {"a_name", who},      {"ls_sl", quantity},
                  {"ls_zsl", quantity}, {"ls_dj", price},        {"ls_taxdj", price},  {"ls_tax", 0.0},
                  {"ls_dzl", 1.0},      {"ls_je", quantity * price}, {"ls_zje", quantity * price},
                  {"ls_taxje", 0.0},    {"ls_cksl", quantity},   {"dw_name", "瓶"},    {"g_zhxs", 1.0},
                  {"ls_cbj", 2.0},      {"ls_zcb", 2.0 * quantity}, {"ls_cbj2", 2.0}, {"t_zp", ""},
                  {"g_tmbz", ""},       {"ls_lsj", 4.0},         {"ls_zhje", price},   {"idck", 0}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        l.insert(it.key(), it.value());
    return InsertRow(db, QStringLiteral("jxc_lsxssp"), l);
}

qint64 PendingSaleHeader(const QSqlDatabase &db, const QString &number, double due, double received,
                         const QVariantMap &extra)
{
    QVariantMap h{{"gl_djh", number},     {"kh_sn", "100001"}, {"ck_sn", "100001"},   {"ls_xsrq", "2025-03-14 10:30"},
                  {"ls_yfje", due},       {"ls_sfje", received}, {"u_sn", "100001"}, {"ls_note", ""},
                  {"a_name", "admin"},    {"gl_djh2", ""},     {"ls_yhje", 0.0},      {"ls_hkje", 0.0},
                  {"ls_dzl", 1.0},        {"ls_th", 0},        {"ls_crk", 1},         {"ls_qk", 1},
                  {"ls_dhbz", 0},         {"ls_status", 0},    {"ls_checker", ""},    {"ls_chkrq", ""},
                  {"ls_jsfs", 0},         {"ls_kmmc", "现金"}, {"ht_sn", ""},         {"ls_fpno", ""},
                  {"ls_fpje", 0.0},       {"ls_yf", 0.0},      {"ls_bzf", 0.0},       {"ls_yffs", ""}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        h.insert(it.key(), it.value());
    return InsertRow(db, QStringLiteral("jxc_lsxsd"), h);
}

void SaleRulesTest::SetUp()
{
    DbTest::SetUp();
    if (IsSkipped())
        return;
    clock.set(QDateTime(QDate(2025, 3, 14), QTime(10, 30, 0)));
    SignInAsAdministrator(state);
    LoadSysParams(db(), state, clock);
    SetSaleDefaults(state);
    SeedSaleSet(db());
}

DocumentContext SaleRulesTest::entry()
{
    DocumentContext c;
    c.type = SaleDocType();
    c.number = QString::fromLatin1(kSaleNumber);
    c.day = QStringLiteral("2025-03-14");
    c.warehouse = QStringLiteral("100001");
    c.partner = QStringLiteral("100001");
    c.linesChanged = [this] { ++linesChanged; };
    c.numberChanged = [this](const QString &n) { renumbered << n; };
    return c;
}
