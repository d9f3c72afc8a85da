#pragma once

// The account set of the inventory documents' tests (transfers, losses, overflows, stocktaking):
// the clock at 2024-03-08 10:15; "admin" of the administrator role; PriceDecimals and
// QtyDecimals 2, RoundTotals on with TotalDecimals 2, AuditOnSave "0", AllowNegativeStock "0",
// UseAuxUnits and ScanAddsQty on, TransferPriceBasis "0", every right to see costs and prices;
// warehouses "100001" 主仓库 (default) and "100002" 分仓; the handler "100001" 默认员工;
//   G1 "20000001" 可乐 (KL), 瓶, sale 3.50, purchase 2.50, average 2.50, barcode "6900001",
//      unit 箱 × 12 (sale 40.00, purchase 28.00, barcode "6900012");
//   G2 "20000002" 饼干, 包, sale 6.00, purchase 4.00, average 4.00, barcode "6900002";
//   G3 "20000003" (barcode "6900003") with a 主仓库 stock row of 0;
//   G4 "20000004" (barcode "6900004") without stock rows;
//   G5 "20000005" with 0.5 in 主仓库;
// and the opening stock of 主仓库 as "qc" ledger rows dated "2019-01-01 00:00": G1 48 at 2.50
// (120), G2 10 at 4.00 (40), with their stock rows and g_kc.

#include "foundation/db/clock.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

struct LoginState;

inline constexpr const char *kInvG1 = "20000001";
inline constexpr const char *kInvG2 = "20000002";
inline constexpr const char *kInvG3 = "20000003";
inline constexpr const char *kInvG4 = "20000004";
inline constexpr const char *kInvG5 = "20000005";
inline constexpr const char *kMainWarehouse = "100001";
inline constexpr const char *kBranchWarehouse = "100002";

void SeedInventorySet(const QSqlDatabase &db, FixedClock &clock, LoginState &state);
// Sets the parameters of the set (after a LoadSysParams).
void SetInventoryDefaults(LoginState &state);
// A goods row of the set's shape (class 1000, enabled, no stock).
void AddInventoryGoods(const QSqlDatabase &db, const QString &code, const QString &name, const QString &unit,
                       double sale, double purchase, double average, const QString &barcode);
// An opening "qc" row and the stock row it gives (g_kc moves too).
void AddOpeningStock(const QSqlDatabase &db, const QString &goods, const QString &warehouse, double quantity,
                     double price);

// Documents written directly (as a saved, pending document of "admin" unless the values say
// otherwise): a header row of `table` and its lines.
struct InventoryLine
{
    QString goods;
    double quantity = 1;       // in the line's unit
    double price = 0;          // per line unit
    double factor = 1;         // base units per line unit (transfers)
    QString unit{};            // dw_name (transfers)
    double amount = -1;        // -1: quantity × price
    QString note{};
    QString who = QStringLiteral("admin");
};
// DB: ck_out 100001 → ck_in 100002, dated "2024-03-08 10:15", handler 100001, note "".
qint64 AddTransfer(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines,
                   const QVariantMap &header = {});
// BS / BY: warehouse 100001, dated "2024-03-08 10:15", handler 100001.
qint64 AddLoss(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines,
               const QVariantMap &header = {});
qint64 AddOverflow(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines,
                   const QVariantMap &header = {});
// Only the lines (no header): an unsaved document of `line.who`.
void AddTransferLines(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines);
void AddLossLines(const QSqlDatabase &db, const QString &number, const QList<InventoryLine> &lines, bool overflow = false);

// A stocktaking line: the count beside the book figures the line holds, valued at `price`
// (value (count − book) × price unless given).
struct CountLine
{
    QString goods;
    double count = 0;
    double book = 0;
    double price = 0;
    double bookZsl = -1;      // kc_zsl; -1: the book quantity
    double value = -1e300;    // pd_zje; unset: (count − book) × price
    QString who = QStringLiteral("admin");
};
// PD: warehouse 100001, dated "2024-03-08 10:15", handler 100001, pd_sl and kc_sl the lines' sums.
qint64 AddStocktaking(const QSqlDatabase &db, const QString &number, const QList<CountLine> &lines,
                      const QVariantMap &header = {});
void AddStocktakingLines(const QSqlDatabase &db, const QString &number, const QList<CountLine> &lines);

