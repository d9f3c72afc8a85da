#pragma once

// Auxiliary units and extra barcodes of a goods, in their four modes: staged per operator
// (goods code "-1") while a goods is added, stored at once while a goods is modified. Every
// check and message of the unit and barcode dialogs, the price rule of a factor change, the
// deletes, and the move of the staged rows when the new goods is saved. Refusals are
// "系统提示" notices that leave the dialog open; each stored write is one transaction with
// SetGoodsAuxUnit. QtCore + QtSql.

#include <QSqlDatabase>
#include <QString>

class Notices;
struct ListStatement;

enum class AuxMode {
    StagedNew,   // "spxxgl_add"
    StagedEdit,  // "spxxgl_modi"
    StoredNew,   // "spxxgl_add2"
    StoredEdit,  // "spxxgl_modi2"
};

// The mode of a hand-off tag; StagedNew for an unknown tag.
AuxMode AuxModeFromTag(const QString &tag);
QString AuxModeTag(AuxMode mode);
inline bool IsStaged(AuxMode mode) { return mode == AuxMode::StagedNew || mode == AuxMode::StagedEdit; }
inline bool IsEdit(AuxMode mode) { return mode == AuxMode::StagedEdit || mode == AuxMode::StoredEdit; }

// What the unit and barcode dialogs know of their caller.
struct AuxContext
{
    AuxMode mode = AuxMode::StagedNew;
    qint64 rowId = 0;        // the row edited (edit modes)
    QString operatorName;    // staged rows' a_name
    QString goodsCode;       // stored modes
    QString baseUnit;        // the calling dialog's unit
    QString mainBarcode;     // the calling dialog's barcode
};

// Prices of one unit: preset purchase, preset sale, five level prices, retail.
struct UnitPrices
{
    double purchase = 0;
    double sale = 0;
    double levels[5] = {0, 0, 0, 0, 0};
    double retail = 0;

    UnitPrices times(double factor) const;
};

struct AuxUnitInput
{
    QString unit;
    QString barcode;
    double factor = 1;
    UnitPrices prices;
};

// The statements of the two grids: the operator's staged rows, or the goods' stored rows.
ListStatement AuxUnitStatement(const AuxContext &context);
ListStatement ExtraBarcodeStatement(const AuxContext &context);

// A row of a grid as the dialogs load it (edit modes); empty map when gone.
QVariantMap AuxUnitRow(const QSqlDatabase &db, AuxMode mode, qint64 rowId);
QVariantMap ExtraBarcodeRow(const QSqlDatabase &db, AuxMode mode, qint64 rowId);

// Deletes the operator's staged units and barcodes (add dialog opening and reset).
void ClearStagedAux(const QSqlDatabase &db, const QString &operatorName);

class AuxUnitRules
{
public:
    AuxUnitRules(const QSqlDatabase &db, Notices &notices) : m_db(db), m_notices(notices) {}

    // Unit dialog "保存(F5)". True when written (the dialog closes).
    bool saveUnit(const AuxContext &context, const AuxUnitInput &input);
    // Barcode dialog "保存(F5)".
    bool saveBarcode(const AuxContext &context, const QString &barcode, const QString &note);
    // 删除 of the grids: the question, then the row (stored units: SetGoodsAuxUnit).
    bool deleteUnit(const AuxContext &context, qint64 rowId);
    bool deleteBarcode(const AuxContext &context, qint64 rowId);

private:
    bool barcodeTaken(const AuxContext &context, const QString &barcode, bool unitDialog) const;
    QSqlDatabase m_db;
    Notices &m_notices;
};

// Moves the operator's staged rows to the new goods `code` (joins the caller's transaction):
// extra barcodes used anywhere else or equal to the main barcode stay behind, units whose
// barcode is taken or that repeat the base unit stay behind; then SetGoodsAuxUnit.
void MoveStagedToGoods(const QSqlDatabase &db, const QString &operatorName, const QString &code,
                       const QString &mainBarcode, const QString &baseUnit);
