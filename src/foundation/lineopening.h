#pragma once

// What every priced line dialog (purchase receipt, order and return, sale) opens with, read
// once per opening: the goods' labels, its stock in the document's warehouse, the unit list and
// the unit chosen, and, in a stored-line mode, the stored row's figures, unit and note. The
// document type's rules add their own (prices, retail, cost, source) from the same row.

#include "foundation/doccontext.h"
#include "foundation/linecells.h"
#include "foundation/lineentrymodel.h"
#include "foundation/linemode.h"
#include "foundation/rowvalues.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include <optional>

struct LoginState;

struct LineDialogOpening
{
    // Goods labels.
    QString code, name, spec, baseUnit, maker, colour, note;
    QString stock;  // GetStockQty in the document's warehouse, number text
    // The unit list (base unit first) and the unit chosen; a stored unit the list lacks is
    // added at its end, with the line's own factor.
    QStringList units;
    int unitIndex = 0;
    double storedUnitFactor = 0.0;  // > 0 only for such a stored unit
    LineEntryModel::Values values;  // discount 1 and quantity 1 until a stored row says otherwise
    QString lineNote;
    QString sourceNumber;
    QString sourceLineId = QStringLiteral("0");
};

// The goods' labels, its stock in the context's warehouse and its units (FillGoodsUnits) into
// `o`; the `extra` columns of its jxc_goods row come back in order (nulls when no row).
QVariantList OpenGoodsLabels(const QSqlDatabase &db, const LoginState &state, const DocumentContext &context,
                             const QString &goods, const QStringList &extra, LineDialogOpening &o);

// Where a stored-line mode's row is: the operator's basket row (basket modes), the pending
// document's line `lineId` of the context's number, else the operator's draft line.
struct StoredLineRow
{
    QString table;
    LineColumns columns;
    SqlWhere where;
};
StoredLineRow StoredLineRowOf(const DocType &type, LineMode mode, const QString &number, const QString &operatorName,
                              qint64 lineId);

// A stored mode's row into `o`: price, discount, quantity, rate and tax-inclusive price, the
// unit chosen (ChooseStoredUnit), the note; the `extra` columns come back. Nothing (and `o`
// unchanged) when no row meets the row's condition.
std::optional<QVariantMap> OpenStoredLine(const QSqlDatabase &db, const StoredLineRow &row, const QStringList &extra,
                                          LineDialogOpening &o);
