#include "purchase_fixture.h"

#include <QSqlRecord>

void SetPurchaseDefaults(LoginState &state)
{
    SignInAsAdministrator(state);
    state.PriceDecimals = 2;
    state.QtyDecimals = 2;
    state.RoundTotals = QStringLiteral("0");
    state.TotalDecimals = QStringLiteral("2");
    state.AuditOnSave = QStringLiteral("0");
    state.SettleDiffMode = QStringLiteral("1");
    state.DefaultSettleMode = QStringLiteral("1");
    state.PurchasePaidDefault = QStringLiteral("0");
    state.PurchasePriceDefault = QStringLiteral("2");
    state.ShowSupplierHistory = QStringLiteral("1");
    state.UseTax = QStringLiteral("0");
    state.UseDiscount = QStringLiteral("0");
    state.UseAuxUnits = QStringLiteral("0");
    state.DefaultTaxRate = QStringLiteral("0");
    state.SeparateStockIn = QStringLiteral("0");
    state.ScanAddsQty = QStringLiteral("0");
    state.AllowNegativeStock = QStringLiteral("0");
    state.BindOperatorWarehouse = QStringLiteral("0");
    state.PickerEnterSearch = QStringLiteral("0");
    state.PickerDblClickSelect = QStringLiteral("0");
    state.DocDateDefault = QStringLiteral("0");
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
}

void AddGoods(const QSqlDatabase &db, const QString &code, const QString &name, double presetPrice,
              const QString &barcode, const QVariantMap &extra)
{
    QVariantMap g{{"g_sn", code},      {"g_name", name},   {"g_jm", code},       {"dw_name", QStringLiteral("瓶")},
                  {"g_jj", presetPrice}, {"g_sptm", barcode}, {"g_scjj", 0.0},     {"g_pjjj", 0.0},
                  {"g_kc", 0.0},         {"g_cgpl", 0},       {"g_jy", 0},         {"gc_sn", QStringLiteral("1000")},
                  {"g_gdcbj", 0},        {"g_zhxs", 1.0}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        g.insert(it.key(), it.value());
    InsertRow(db, QStringLiteral("jxc_goods"), g);
}

void AddPurchaseGoods(const QSqlDatabase &db)
{
    AddGoods(db, kG1, QStringLiteral("可乐"), 2.345, QStringLiteral("6901"), {{"g_jm", "KL"}});
    AddGoods(db, kG2, QStringLiteral("雪碧"), 3, QStringLiteral("6902"), {{"g_jm", "XB"}});
    AddGoods(db, kG3, QStringLiteral("橙汁"), 2.5, QStringLiteral("6903"), {{"g_jm", "CZ"}});
    InsertRow(db, QStringLiteral("jxc_goodsdw"),
              {{"g_sn", kG3}, {"dw_name", QStringLiteral("箱")}, {"g_zhxs", 12.0}, {"g_jj", 30.0}, {"g_scjj", 28.0},
               {"g_pjjj", 27.0}, {"g_sptm", QStringLiteral("16903")}});
}

void PurchaseRulesTest::SetUp()
{
    DbTest::SetUp();
    if (IsSkipped())
        return;
    clock.set(QDateTime(QDate(2025, 3, 14), QTime(9, 30, 0)));
    SignInAsAdministrator(state);
    LoadSysParams(db(), state, clock);
    SetPurchaseDefaults(state);
    AddPurchaseGoods(db());
}

QString PurchaseRulesTest::row(const QString &table, const QStringList &columns, qint64 id) const
{
    QSqlQuery q = OpenSelect(db(), QStringLiteral("select %1 from %2 where id = ?").arg(columns.join(", "), table), {id});
    if (!q.next())
        return QStringLiteral("<none>");
    QStringList out;
    for (int i = 0; i < columns.size(); ++i)
        out << ValueText(q.value(i));
    return out.join(QLatin1Char('|'));
}

QString PurchaseRulesTest::rows(const QString &sql, const QVariantList &binds) const
{
    QSqlQuery q = OpenSelect(db(), sql, binds);
    QStringList all;
    while (q.next()) {
        QStringList out;
        for (int i = 0; i < q.record().count(); ++i)
            out << ValueText(q.value(i));
        all << out.join(QLatin1Char('|'));
    }
    return all.join(QStringLiteral("; "));
}

DocumentContext PurchaseRulesTest::entry(PurchaseKind kind)
{
    DocumentContext c;
    c.type = PurchaseDocType(kind);
    c.page = DocPage::Entry;
    c.number = c.type.prefix + QStringLiteral("25031410001");
    c.day = QStringLiteral("2025-03-14");
    c.warehouse = QStringLiteral("100001");
    c.partner = QStringLiteral("100001");
    c.linesChanged = [this] { ++linesChanged; };
    c.numberChanged = [this](const QString &n) { renumbered << n; };
    return c;
}

DocumentContext PurchaseRulesTest::pending(const QString &number, PurchaseKind kind)
{
    DocumentContext c = entry(kind);
    c.page = DocPage::Pending;
    c.number = number;
    return c;
}

qint64 DraftLine(const QSqlDatabase &db, const QString &number, const QString &goods, double quantity, double price,
                 const QString &who, const QString &table)
{
    return InsertRow(db, table, {{"gl_djh", number},   {"g_sn", goods},       {"a_name", who},       {"jh_sl", quantity},
                          {"jh_zsl", quantity}, {"jh_dj", price},      {"jh_taxdj", price},   {"jh_tax", 0.0},
                          {"jh_dzl", 1.0},      {"jh_je", quantity * price}, {"jh_zje", quantity * price},
                          {"jh_taxje", 0.0},    {"jh_rksl", quantity}, {"dw_name", QStringLiteral("瓶")}});
}

void SavedReceipt(const QSqlDatabase &db, const QString &number, const QList<QPair<QString, QPair<double, double>>> &lines,
                  int status, const QVariantMap &extra)
{
    double total = 0;
    for (const auto &l : lines) {
        DraftLine(db, number, l.first, l.second.first, l.second.second);
        total += l.second.first * l.second.second;
    }
    QVariantMap h{{"gl_djh", number},  {"ghs_sn", "100001"},  {"ck_sn", "100001"}, {"j_jhrq", "2025-03-14 09:00"},
                  {"j_yfje", total},   {"j_sfje", total},     {"u_sn", "100001"},  {"j_note", ""},
                  {"a_name", "admin"}, {"j_status", status},  {"j_jsfs", 1},       {"j_kmmc", "现金"},
                  {"j_yhje", 0.0},     {"j_hkje", 0.0},       {"j_yf", 0.0},       {"j_bzf", 0.0},
                  {"j_fpje", 0.0},     {"j_crk", 1},          {"j_qk", 1}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        h.insert(it.key(), it.value());
    InsertRow(db, QStringLiteral("jxc_jhd"), h);
}

void SavedOrderHeader(const QSqlDatabase &db, const QString &number, int status, const QVariantMap &extra)
{
    QVariantMap h{{"gl_djh", number},   {"ghs_sn", "100001"}, {"ck_sn", "100001"}, {"j_jhrq", "2025-03-10 09:00"},
                  {"j_yfje", 0.0},      {"j_sfje", 0.0},      {"u_sn", "100001"},  {"j_note", ""},
                  {"a_name", "admin"},  {"j_status", status}, {"j_jsfs", 1},       {"j_kmmc", "现金"},
                  {"j_qk", 0},          {"j_checker", ""},    {"j_chkrq", ""},   {"j_yhje", 0.0},
                  {"j_hkje", 0.0}};
    for (auto it = extra.begin(); it != extra.end(); ++it)
        h.insert(it.key(), it.value());
    InsertRow(db, QStringLiteral("jxc_cgd"), h);
}
