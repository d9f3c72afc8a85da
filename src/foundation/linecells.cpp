#include "foundation/linecells.h"

#include "foundation/goods.h"
#include "foundation/loginstate.h"
#include "foundation/rowvalues.h"

std::optional<StoredLine> ReadStoredLine(const QSqlDatabase &db, const QString &table, const LineColumns &columns,
                                         const SqlWhere &where)
{
    const QStringList names{columns.price,        columns.quantity, columns.tax,       columns.taxPrice,
                            columns.discount,     columns.amount,   columns.taxAmount, columns.total,
                            columns.baseQuantity, QStringLiteral("g_sn"), QStringLiteral("dw_name")};
    const QVariantMap row = ReadValues(db, table, names, where);
    if (row.isEmpty())
        return std::nullopt;
    StoredLine line;
    LineFigures &f = line.figures;
    f.price = row.value(columns.price).toDouble();
    f.quantity = row.value(columns.quantity).toDouble();
    f.tax = row.value(columns.tax).toDouble();
    f.taxPrice = row.value(columns.taxPrice).toDouble();
    f.discount = row.value(columns.discount).toDouble();
    f.amount = row.value(columns.amount).toDouble();
    f.taxAmount = row.value(columns.taxAmount).toDouble();
    f.total = row.value(columns.total).toDouble();
    f.baseQuantity = row.value(columns.baseQuantity).toDouble();
    line.goods = row.value(QStringLiteral("g_sn")).toString();
    line.unit = row.value(QStringLiteral("dw_name")).toString();
    return line;
}

QVariantMap LineFigureValues(const LineFigures &f, const LineColumns &c)
{
    return {{c.price, f.price},       {c.quantity, f.quantity},   {c.tax, f.tax},
            {c.taxPrice, f.taxPrice}, {c.discount, f.discount},   {c.amount, f.amount},
            {c.taxAmount, f.taxAmount}, {c.total, f.total},       {c.baseQuantity, f.baseQuantity}};
}

double LineUnitFactor(const QSqlDatabase &db, const LoginState &state, const QString &goods, const QString &unit)
{
    return IsTrue(state.UseAuxUnits) ? GetUnitFactor(db, goods, unit) : 1.0;
}

std::optional<LineFigures> EditStoredCell(const QSqlDatabase &db, const LoginState &state, const QString &table,
                                          const LineColumns &columns, const SqlWhere &where, LineCell cell,
                                          const QString &typed, const LineDecimals &decimals)
{
    const std::optional<StoredLine> line = ReadStoredLine(db, table, columns, where);
    if (!line)
        return std::nullopt;
    const double factor = cell == LineCell::Quantity ? LineUnitFactor(db, state, line->goods, line->unit) : 1.0;
    return EditLineCell(line->figures, cell, typed, factor, decimals);
}

StoredUnitChoice ChooseStoredUnit(const QStringList &units, const StoredLine &line)
{
    StoredUnitChoice c;
    c.units = units;
    c.index = int(units.indexOf(line.unit));
    if (c.index < 0 && !line.unit.isEmpty()) {
        c.units << line.unit;
        c.index = int(c.units.size()) - 1;
        const LineFigures &f = line.figures;
        c.storedFactor = f.quantity != 0.0 ? f.baseQuantity / f.quantity : 1.0;
    }
    if (c.index < 0)
        c.index = 0;
    return c;
}
