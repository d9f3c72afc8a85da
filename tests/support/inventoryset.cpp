#include "inventoryset.h"

#include "seed.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

void SetInventoryDefaults(LoginState &state)
{
    SignInAsAdministrator(state);
    state.PriceDecimals = 2;
    state.QtyDecimals = 2;
    state.RoundTotals = QStringLiteral("1");
    state.TotalDecimals = QStringLiteral("2");
    state.AuditOnSave = QStringLiteral("0");
    state.AllowNegativeStock = QStringLiteral("0");
    state.UseAuxUnits = QStringLiteral("1");
    state.ScanAddsQty = QStringLiteral("1");
    state.TransferPriceBasis = QStringLiteral("0");
    state.BindOperatorWarehouse = QStringLiteral("0");
    state.NoPrintBeforeSave = QStringLiteral("0");
    state.PickerEnterSearch = QStringLiteral("0");
    state.PickerDblClickSelect = QStringLiteral("0");
    state.UseGoodsColour = QStringLiteral("1");
    state.RightShowCost = true;
    state.RightShowSalePrice = true;
}

void AddInventoryGoods(const QSqlDatabase &db, const QString &code, const QString &name, const QString &unit,
                       double sale, double purchase, double average, const QString &barcode)
{
    InsertRow(db, QStringLiteral("jxc_goods"),
              {{"g_sn", code},     {"g_name", name},      {"g_jm", code},    {"dw_name", unit},
               {"g_sj", sale},     {"g_jj", purchase},    {"g_pjjj", average}, {"g_sptm", barcode},
               {"g_kc", 0.0},      {"g_zhxs", 1.0},       {"g_gdcbj", 0},    {"g_jy", 0},
               {"gc_sn", "1000"},  {"g_cgpl", 0},         {"g_xspl", 0},     {"gg_name", ""},
               {"color_name", ""}, {"g_sccs", ""},        {"g_bz", ""}});
}

void AddOpeningStock(const QSqlDatabase &db, const QString &goods, const QString &warehouse, double quantity,
                     double price)
{
    const QString name = QueryScalar(db, QStringLiteral("select ck_name from jxc_ckxx where ck_sn = ?"), {warehouse});
    InsertRow(db, QStringLiteral("jxc_goodslist"),
              {{"gl_flag", "qc"},          {"gl_djh", ""},          {"gl_kdrq", "2019-01-01 00:00"},
               {"g_sn", goods},            {"gl_dj", price},        {"gl_sl", quantity},
               {"gl_zje", quantity * price}, {"gl_je", quantity * price}, {"gl_pjjj", price},
               {"gl_kc", quantity},        {"gl_kczje", quantity * price}, {"gl_dqkc", 0.0},
               {"gl_sqsl", 0.0},           {"gl_sqje", 0.0},        {"ck_sn", warehouse},
               {"ck_name", name},          {"ghs_name", "期初建账"}, {"a_name", "admin"}});
    InsertRow(db, QStringLiteral("jxc_kcsp"),
              {{"g_sn", goods}, {"ck_sn", warehouse}, {"kc_sl", quantity}, {"kc_zsl", quantity},
               {"kc_cbj", price}, {"kc_zcb", quantity * price}, {"kc_xssl", 0.0}});
    RunSql(db, QStringLiteral("update jxc_goods set g_kc = coalesce(g_kc, 0) + ? where g_sn = ?"), {quantity, goods});
}

void SeedInventorySet(const QSqlDatabase &db, FixedClock &clock, LoginState &state)
{
    clock.set(QDateTime(QDate(2024, 3, 8), QTime(10, 15, 0)));
    LoadSysParams(db, state, clock);
    SetInventoryDefaults(state);
    InsertRow(db, QStringLiteral("jxc_ckxx"),
              {{"ck_sn", kBranchWarehouse}, {"ck_name", "分仓"}, {"ck_jm", "FC"}, {"ck_aname", ""},
               {"ck_asn", ""}, {"ck_default", 0}, {"ck_pos", 0}});
    AddInventoryGoods(db, kInvG1, QStringLiteral("可乐"), QStringLiteral("瓶"), 3.5, 2.5, 2.5, QStringLiteral("6900001"));
    RunSql(db, QStringLiteral("update jxc_goods set g_jm = 'KL' where g_sn = ?"), {kInvG1});
    InsertRow(db, QStringLiteral("jxc_goodsdw"),
              {{"g_sn", kInvG1}, {"dw_name", "箱"}, {"g_zhxs", 12.0}, {"g_sj", 40.0}, {"g_jj", 28.0},
               {"g_sptm", "6900012"}});
    AddInventoryGoods(db, kInvG2, QStringLiteral("饼干"), QStringLiteral("包"), 6, 4, 4, QStringLiteral("6900002"));
    AddInventoryGoods(db, kInvG3, QStringLiteral("橙汁"), QStringLiteral("瓶"), 5, 3, 3, QStringLiteral("6900003"));
    AddInventoryGoods(db, kInvG4, QStringLiteral("雪碧"), QStringLiteral("瓶"), 3, 2, 2, QStringLiteral("6900004"));
    AddInventoryGoods(db, kInvG5, QStringLiteral("面包"), QStringLiteral("个"), 8, 5, 5, QStringLiteral("6900005"));
    AddOpeningStock(db, kInvG1, kMainWarehouse, 48, 2.5);
    AddOpeningStock(db, kInvG2, kMainWarehouse, 10, 4);
    InsertRow(db, QStringLiteral("jxc_kcsp"),
              {{"g_sn", kInvG3}, {"ck_sn", kMainWarehouse}, {"kc_sl", 0.0}, {"kc_zsl", 0.0}, {"kc_cbj", 3.0},
               {"kc_zcb", 0.0}, {"kc_xssl", 0.0}});
    InsertRow(db, QStringLiteral("jxc_kcsp"),
              {{"g_sn", kInvG5}, {"ck_sn", kMainWarehouse}, {"kc_sl", 0.5}, {"kc_zsl", 0.5}, {"kc_cbj", 5.0},
               {"kc_zcb", 2.5}, {"kc_xssl", 0.0}});
    RunSql(db, QStringLiteral("update jxc_goods set g_kc = 0.5 where g_sn = ?"), {kInvG5});
}

namespace {

qint64 addHeader(const QSqlDatabase &db, const QString &table, QVariantMap row, const QVariantMap &extra)
{
    for (auto it = extra.begin(); it != extra.end(); ++it)
        row.insert(it.key(), it.value());
    return InsertRow(db, table, row);
}

} // namespace

void AddTransferLines(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines)
{
    for (const InventoryLine &l : lines)
        InsertRow(db, QStringLiteral("jxc_dbsp"),
                  {{"gl_djh", number},
                   {"g_sn", l.goods},
                   {"db_sl", l.quantity},
                   {"db_zsl", l.quantity * l.factor},
                   {"db_dj", l.price},
                   {"db_sj", 0.0},
                   {"db_zje", l.amount < 0 ? l.quantity * l.price : l.amount},
                   {"dw_name", l.unit},
                   {"g_sptm", ""},
                   {"gl_djh2", ""},
                   {"idck", 0},
                   {"a_name", l.who}});
}

void AddLossLines(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines, bool overflow)
{
    const QString p = overflow ? QStringLiteral("by_") : QStringLiteral("bs_");
    for (const InventoryLine &l : lines) {
        QVariantMap row{{"gl_djh", number},
                        {"g_sn", l.goods},
                        {p + "sl", l.quantity},
                        {p + "dj", l.price},
                        {p + "zje", l.amount < 0 ? l.quantity * l.price : l.amount},
                        {p + "note", l.note},
                        {"a_name", l.who}};
        if (!overflow) {
            row.insert(QStringLiteral("gl_djh2"), QStringLiteral(""));
            row.insert(QStringLiteral("idck"), 0);
        }
        InsertRow(db, overflow ? QStringLiteral("jxc_bysp") : QStringLiteral("jxc_bssp"), row);
    }
}

qint64 AddTransfer(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines,
                   const QVariantMap &header)
{
    AddTransferLines(db, number, lines);
    return addHeader(db, QStringLiteral("jxc_kcdbd"),
                     {{"gl_djh", number}, {"ck_out", kMainWarehouse}, {"ck_in", kBranchWarehouse},
                      {"db_dbrq", "2024-03-08 10:15"}, {"u_sn", "100001"}, {"db_note", ""}, {"a_name", "admin"},
                      {"db_status", 0}, {"db_checker", ""}, {"db_chkrq", ""}},
                     header);
}

qint64 AddLoss(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines, const QVariantMap &header)
{
    AddLossLines(db, number, lines, false);
    return addHeader(db, QStringLiteral("jxc_bsd"),
                     {{"gl_djh", number}, {"ck_sn", kMainWarehouse}, {"bs_bsrq", "2024-03-08 10:15"}, {"u_sn", "100001"},
                      {"bs_note", ""}, {"a_name", "admin"}, {"bs_status", 0}, {"bs_checker", ""}, {"bs_chkrq", ""}},
                     header);
}

qint64 AddOverflow(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines,
                   const QVariantMap &header)
{
    AddLossLines(db, number, lines, true);
    return addHeader(db, QStringLiteral("jxc_byd"),
                     {{"gl_djh", number}, {"ck_sn", kMainWarehouse}, {"by_byrq", "2024-03-08 10:15"}, {"u_sn", "100001"},
                      {"by_note", ""}, {"a_name", "admin"}, {"by_status", 0}, {"by_checker", ""}, {"by_chkrq", ""}},
                     header);
}

void AddStocktakingLines(const QSqlDatabase &db, const QString &number, const QList<CountLine> &lines)
{
    for (const CountLine &l : lines)
        InsertRow(db, QStringLiteral("jxc_kcpdsp"),
                  {{"gl_djh", number},
                   {"g_sn", l.goods},
                   {"pd_sl", l.count},
                   {"kc_sl", l.book},
                   {"kc_zsl", l.bookZsl < 0 ? l.book : l.bookZsl},
                   {"pd_dj", l.price},
                   {"pd_zje", l.value < -1e299 ? (l.count - l.book) * l.price : l.value},
                   {"a_name", l.who}});
}

qint64 AddStocktaking(const QSqlDatabase &db, const QString &number, const QList<CountLine> &lines,
                      const QVariantMap &header)
{
    AddStocktakingLines(db, number, lines);
    double counted = 0, book = 0;
    for (const CountLine &l : lines) {
        counted += l.count;
        book += l.book;
    }
    return addHeader(db, QStringLiteral("jxc_kcpd"),
                     {{"gl_djh", number}, {"ck_sn", kMainWarehouse}, {"pd_rq", "2024-03-08 10:15"}, {"u_sn", "100001"},
                      {"pd_note", ""}, {"a_name", "admin"}, {"pd_status", 0}, {"pd_checker", ""}, {"pd_chkrq", ""},
                      {"pd_sl", counted}, {"kc_sl", book}},
                     header);
}

