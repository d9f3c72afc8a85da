#pragma once

// Goods classes, goods codes, units, barcodes and the small stock routines that goods screens,
// document forms, imports and postings share. Values are bound; database errors raise DbError.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
struct LoginState;

// The code of a new class whose row has gc_key `classKey`: "1000", "1001" … under the root
// (the parent key 1); the parent's code plus "100", "101" … under another class. Gives the
// empty text, and the caller writes nothing, for an unknown key or parent, for a tail past 999
// and for a root code past 9999.
QString GetNewGoodsClassSn(const QSqlDatabase &db, const QString &classKey);

// The next automatic goods code under a class number: "2" → "20000001", then "20000002" …
// (the prefix padded to three characters, eight digits in all). Only codes of digits take part.
// A prefix that is not a number raises std::invalid_argument.
QString GetNewGoodsSn(const QSqlDatabase &db, const QString &prefix);

// Gives the new class row (by id) its code, short code and gc_cid := gc_key. Returns the code;
// the empty text when no code can be given, in which case nothing was written.
QString PostGoodsClass(const QSqlDatabase &db, qint64 classRowId);

// Renames a class and renews its short code; its code and its goods' codes stay.
void RenameGoodsClass(const QSqlDatabase &db, qint64 classRowId, const QString &name);

// The column of `table` that an Excel header caption maps to (jxc_import); empty when none.
QString GetImportFieldId(const QSqlDatabase &db, const QString &caption, const QString &table);

// The units of a goods for its unit list: the base unit, then (UseAuxUnits on) the auxiliary
// units in the order they were added, each name once.
QStringList FillGoodsUnits(const QSqlDatabase &db, const LoginState &state, const QString &goodsSn);

// Base units per `unit` of the goods: 1 for the base unit, an unknown unit or a NULL factor;
// a stored 0 stays 0.
double GetUnitFactor(const QSqlDatabase &db, const QString &goodsSn, const QString &unit);

// The barcode of the goods in `unit`: with UseAuxUnits the unit's own barcode, else the goods'
// barcode, else that of its first extra barcode row; without, the goods' barcode only.
QString GetUnitBarcode(const QSqlDatabase &db, const LoginState &state, const QString &goodsSn,
                       const QString &unit);

// Sets the goods' second unit and factor from its first auxiliary unit with a positive factor,
// or to the base unit and 1 when it has none.
void SetGoodsAuxUnit(const QSqlDatabase &db, const QString &goodsSn);

// Stock on hand of the goods in the warehouse as number text; "0" without a stock row.
QString GetStockQty(const QSqlDatabase &db, const QString &warehouseSn, const QString &goodsSn);

// Replaces the goods' stock row in the warehouse by its opening balance (the first "qc" ledger
// row): quantity and book quantity, cost price, total cost, nothing sold. Without an opening
// row the stock row is only deleted. One transaction, joining the caller's.
void ResetStockFromOpening(const QSqlDatabase &db, const QString &goodsSn, const QString &warehouseSn);

// Ends the promotions whose last day (g_js) lies before today.
void ExpirePromotions(const QSqlDatabase &db, const Clock &clock);

// Gives every warehouse its one stock row of the reserved goods "00000000" (zeros, no total
// cost). The month callers pass is not needed.
void EnsureZeroGoodsStock(const QSqlDatabase &db, const QString &month = QString());

// Deletes the operator's rows of the scratch tables jxc_tempspxf and jxc_tempspxf2.
void ClearOperatorTemp(const QSqlDatabase &db, const QString &operatorName);

// The 1-based position of the n-th occurrence of `pattern` in `text` (occurrences may
// overlap); the last one when there are fewer; 0 when there is none or n < 1. Case-sensitive.
int PosNth(const QString &pattern, const QString &text, int n);
