#pragma once

// A priced line as stored: its figures read by the type's column names, written back as a
// column → value map, and the grid edit of one of its cells (linemath.h, EditLineCell) on the
// stored row. The rules of each document add what is their own (the receipt's stock-in
// quantity) and write the map through DraftLines or Basket.

#include "foundation/doctype.h"
#include "foundation/linemath.h"
#include "foundation/sqlnames.h"

#include <QSqlDatabase>
#include <QStringList>
#include <QVariantMap>

#include <optional>

struct LoginState;

struct StoredLine
{
    LineFigures figures;
    QString goods;  // g_sn
    QString unit;   // dw_name
};

// The line of `table` meeting `where`, or nothing.
std::optional<StoredLine> ReadStoredLine(const QSqlDatabase &db, const QString &table, const LineColumns &columns,
                                         const SqlWhere &where);

// A line dialog's unit list for a stored line: its unit selected; a unit the list lacks (the
// auxiliary units turned off since) is added at its end and keeps the line's own factor
// (base quantity ÷ quantity, 1 when the quantity is 0). No unit: the first.
struct StoredUnitChoice
{
    QStringList units;
    int index = 0;
    double storedFactor = 0.0;  // > 0 only for a unit added to the list
};
StoredUnitChoice ChooseStoredUnit(const QStringList &units, const StoredLine &line);

// The nine figures as column → value (note and stock-in not included).
QVariantMap LineFigureValues(const LineFigures &figures, const LineColumns &columns);

// Base units per unit of a line: the goods' factor of the unit with UseAuxUnits, else 1.
double LineUnitFactor(const QSqlDatabase &db, const LoginState &state, const QString &goods, const QString &unit);

// A typed cell on the stored line: the line after the edit, or nothing when no row meets
// `where`. The quantity's factor is the line's own unit's (LineUnitFactor).
std::optional<LineFigures> EditStoredCell(const QSqlDatabase &db, const LoginState &state, const QString &table,
                                          const LineColumns &columns, const SqlWhere &where, LineCell cell,
                                          const QString &typed, const LineDecimals &decimals);
