#include "purchasing/purchaselinemath.h"

#include "engine/enginebatch.h"
#include "foundation/basket.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/draftlines.h"
#include "foundation/linecells.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/pendingdocuments.h"

LineDecimals PurchaseCellDecimals(const LoginState &state)
{
    return {state.PriceDecimals, engine::AmountDecimals(state)};
}

std::optional<int> PurchaseAmountRounding(const LoginState &state)
{
    if (!IsTrue(state.RoundTotals))
        return std::nullopt;
    return engine::AmountDecimals(state);
}

std::optional<double> StockInQuantity(const LoginState &state, PurchaseKind kind, double quantity)
{
    switch (kind) {
    case PurchaseKind::Receipt:
        return IsTrue(state.SeparateStockIn) ? 0.0 : quantity;
    case PurchaseKind::Order:
        return quantity;
    case PurchaseKind::Return:
        break;
    }
    return std::nullopt;
}

std::optional<LineCell> PurchaseCellOf(const QString &field)
{
    return LineCellOfColumn(field);
}

bool EditPurchaseCell(const QSqlDatabase &db, const LoginState &state, Notices &notices, PurchaseKind kind,
                      CellPlace place, const QString &number, qint64 id, LineCell cell, const QString &typed)
{
    const DocType type = PurchaseDocType(kind);
    const bool basket = place == CellPlace::Basket;
    const LineColumns columns = basket ? LineColumns::basket() : type.line;
    const QString table = basket ? type.basketTable : type.linesTable;
    SqlWhere where;
    switch (place) {
    case CellPlace::Draft:
    case CellPlace::Basket:
        where = SqlWhere(QStringLiteral("id = ? and a_name = ?"), {id, state.CurrentOperatorName});
        break;
    case CellPlace::Pending:
        where = SqlWhere(QStringLiteral("id = ? and gl_djh = ?"), {id, number});
        break;
    }
    try {
        Transaction tx(db);
        if (place == CellPlace::Pending)
            RequirePendingPurchase(db, kind, number);
        const std::optional<LineFigures> edited =
            EditStoredCell(db, state, table, columns, where, cell, typed, PurchaseCellDecimals(state));
        if (!edited)
            return false;
        QVariantMap values = LineFigureValues(*edited, columns);
        if (!basket && cell == LineCell::Quantity && !columns.stockIn.isEmpty())
            values.insert(columns.stockIn, *StockInQuantity(state, kind, edited->quantity));
        if (basket) {
            Basket(db, type, state).updateRow(id, values);
        } else if (place == CellPlace::Draft) {
            DraftLines(db, type, state).updateLine(id, values);
        } else {
            DraftLines(db, type, state).updateDocumentLine(number, id, values);
            ResumPendingHeader(db, state, kind, number);
        }
        tx.commit();
    } catch (const PendingStateChanged &e) {
        notices.notice(e.text());
        return false;
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("修改商品失败：") + e.text());
        return false;
    }
    return true;
}
