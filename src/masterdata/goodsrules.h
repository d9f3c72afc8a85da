#pragma once

// The goods record: saving a new goods with its staged units, barcodes and opening stock,
// saving a changed goods, deleting, disabling, the fixed sales cost, the change of class and
// the test whether a goods is in use. Refusals ("系统提示") and questions ("信息提醒") go
// through the notice service in the order the screens show them; a refusal or a No writes
// nothing. Every action is one transaction; a database error writes nothing and is shown.
// QtCore + QtSql.

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QVariantMap>

class Clock;
class Notices;
struct LoginState;

inline constexpr const char *kNewUnitItem = "增加新单位...";
inline constexpr const char *kNewSpecItem = "增加新规格型号...";
inline constexpr const char *kNewColourItem = "增加新颜色...";
inline constexpr const char *kReservedGoodsSn = "00000000";

// Where the add dialog was opened from: the goods window, a document's entry or pending page.
inline constexpr const char *kSourceGoodsWindow = "spxxgl";

// What the add and modify dialogs gather.
struct GoodsInput
{
    QString className;  // the class box; empty: no class chosen
    QString classSn;    // gc_sn
    int classCid = 0;   // gc_cid
    QString code;
    QString name;
    QString barcode;
    QString unit;
    QString spec;
    QString colour;
    QString shelf;
    QString maker;  // 生产厂商
    QString note;   // 备注
    int minStock = 0;
    double purchasePrice = 0;  // 预设进价
    double salePrice = 0;      // 预设售价
    double levelPrices[5] = {0, 0, 0, 0, 0};
    double retailPrice = 0;
    int commissionKind = 0;  // 0 不提成, 1 按件数提成, 2 按金额比例提成, 3 按毛利提成
    double commission = 0;
    bool gift = false;
    bool fixedCost = false;
    bool nameWarning = false;  // "重名提醒"
    // Add dialog only.
    double openingQty = 0;
    QString warehouseSn;
    QString warehouseName;
    // Modify dialog only: "当前类别采用相同提成".
    bool sameCommissionForClass = false;
};

enum class SaveStatus { Saved, Refused, Declined, Failed };

struct GoodsSaveResult
{
    SaveStatus status = SaveStatus::Refused;
    QString code;        // the stored code
    QString openingQty;  // canonical number text (add only)
    QString focus;       // the field to focus afterwards: "purchasePrice" (after a No), "openingQty"

    bool saved() const { return status == SaveStatus::Saved; }
};

// Whether the AutoGoodsCode flag is on: only "0" and "False" mean off.
bool AutoGoodsCodeOn(const LoginState &state);

// The opening ledger row's date: 1 January five years before today's year.
QString OpeningLedgerDate(const Clock &clock);

// Saves a new goods (add dialog), `source` being the caller's tag ("spxxgl", "cgjh", "cgjhsh",
// "spxs", "spxssh" or another).
GoodsSaveResult SaveNewGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             Notices &notices, const QString &source, const GoodsInput &input);

// Saves the goods row `id` (modify dialog).
GoodsSaveResult SaveModifiedGoods(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                  Notices &notices, qint64 id, const GoodsInput &input);

// The input of a copy (粘贴): class, a new generated code, name, unit, specification, colour,
// minimum stock, both preset prices, maker and note; nothing else. Empty input for no goods.
GoodsInput GoodsCopyInput(const QSqlDatabase &db, qint64 id);

// One goods row with its class name (every column by name), empty when there is none.
QVariantMap GoodsRecord(const QSqlDatabase &db, qint64 id);
QVariantMap GoodsRecordBySn(const QSqlDatabase &db, const QString &code);

// The document number that keeps a goods from being deleted: pending or saved document lines
// of every kind, ledger rows other than the opening stock. Empty when none.
QString GoodsBusinessNumber(const QSqlDatabase &db, const QString &code);
// Whether the goods is a kit or a component of a bill of materials.
bool GoodsInBillOfMaterials(const QSqlDatabase &db, const QString &code);
// Whether the goods' code must stay: business, bill of materials or stock rows. Every goods
// the add dialog makes has its opening stock row, so its code is fixed from the start.
bool GoodsCodeLocked(const QSqlDatabase &db, const QString &code);
// Why the code must stay, for the locked code box ("该商品已建立库存记录（含期初库存），商品编号
// 不能修改。" …); empty when it may change.
QString GoodsCodeLockReason(const QSqlDatabase &db, const QString &code);
// The document-line tables looked at, besides jxc_jhsp and jxc_lsxssp.
QStringList GoodsLineTables();

// Deletes the goods after its refusals and question, with its barcodes, units, opening rows,
// stock rows and, after the commit, `pictureFolder`/<code>.jpg. True when deleted.
bool DeleteGoods(const QSqlDatabase &db, Notices &notices, qint64 id, const QString &pictureFolder);

// 禁用(&S): disables (`disabled` true) or enables one goods; the reserved goods stays disabled.
bool SetGoodsDisabled(const QSqlDatabase &db, Notices &notices, qint64 id, bool disabled);
// 批量禁用(&T): asks, then toggles every goods. True when done.
bool ToggleGoodsDisabled(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids);
// 预设进价作为销售成本价 / 取消…: asks, sets g_gdcbj, reports the count. True when done.
bool SetGoodsFixedCost(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids, bool on);
// 修改类别(&P): the goods get the class code and its class number; codes stay.
bool ChangeGoodsClass(const QSqlDatabase &db, Notices &notices, const QList<qint64> &ids,
                      const QString &classSn);
