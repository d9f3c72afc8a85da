#include "foundation/lineopening.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/goods.h"
#include "foundation/loginstate.h"

#include <QSqlQuery>

QVariantList OpenGoodsLabels(const QSqlDatabase &db, const LoginState &state, const DocumentContext &context,
                             const QString &goods, const QStringList &extra, LineDialogOpening &o)
{
    o.units = FillGoodsUnits(db, state, goods);
    QStringList columns{QStringLiteral("g_sn"), QStringLiteral("g_name"), QStringLiteral("gg_name"),
                        QStringLiteral("dw_name"), QStringLiteral("g_sccs"), QStringLiteral("color_name"),
                        QStringLiteral("g_bz")};
    const qsizetype own = columns.size();
    columns += extra;
    QSqlQuery row = OpenSelect(
        db, QStringLiteral("select %1 from jxc_goods where g_sn = ?").arg(columns.join(QStringLiteral(", "))), {goods});
    QVariantList more;
    if (row.next()) {
        o.code = row.value(0).toString();
        o.name = row.value(1).toString();
        o.spec = row.value(2).toString();
        o.baseUnit = row.value(3).toString();
        o.maker = row.value(4).toString();
        o.colour = row.value(5).toString();
        o.note = row.value(6).toString();
        for (qsizetype i = own; i < columns.size(); ++i)
            more << row.value(int(i));
    } else {
        for (qsizetype i = 0; i < extra.size(); ++i)
            more << QVariant();
    }
    o.stock = GetStockQty(db, context.warehouse, goods);
    return more;
}

StoredLineRow StoredLineRowOf(const DocType &type, LineMode mode, const QString &number, const QString &operatorName,
                              qint64 lineId)
{
    const bool basket = IsBasketMode(mode);
    return {basket ? type.basketTable : type.linesTable, basket ? LineColumns::basket() : type.line,
            mode == LineMode::Pending ? SqlWhere(QStringLiteral("id = ? and gl_djh = ?"), {lineId, number})
                                      : SqlWhere(QStringLiteral("id = ? and a_name = ?"), {lineId, operatorName})};
}

std::optional<QVariantMap> OpenStoredLine(const QSqlDatabase &db, const StoredLineRow &row, const QStringList &extra,
                                          LineDialogOpening &o)
{
    const std::optional<StoredLine> line = ReadStoredLine(db, row.table, row.columns, row.where);
    if (!line)
        return std::nullopt;
    const LineFigures &f = line->figures;
    o.values.price = f.price;
    o.values.discount = f.discount;
    o.values.quantity = f.quantity;
    o.values.rate = f.tax;
    o.values.taxPrice = f.taxPrice;
    QVariantMap more = ReadValues(db, row.table, QStringList{row.columns.note} + extra, row.where);
    o.lineNote = more.value(row.columns.note).toString();
    const StoredUnitChoice unit = ChooseStoredUnit(o.units, *line);
    o.units = unit.units;
    o.unitIndex = unit.index;
    o.storedUnitFactor = unit.storedFactor;
    return more;
}
