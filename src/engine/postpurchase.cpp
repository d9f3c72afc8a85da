#include "engine/postpurchase.h"

#include "engine/settledifference.h"
#include "foundation/oplog.h"

namespace postpurchase_impl {

// Ledger columns of a purchase line: its figures, prices per base unit from its quantities
// (purchase lines keep no unit factor), its quantity in its own unit, the amount it moves in stock.
QVector<QPair<QString, QString>> purchaseLedgerColumns(const QString &p, bool negative, const QString &ownUnitQty,
                                                       const QString &stockAmount)
{
    return TradeLineFigures(p, negative)
           + QVector<QPair<QString, QString>>{
               {QStringLiteral("gl_dj"), PricePerBaseUnitSql(p)}, {QStringLiteral("gl_taxdj"), TaxedPricePerBaseUnitSql(p)},
               {QStringLiteral("gl_sysl"), ownUnitQty},          {QStringLiteral("gl_kczje"), stockAmount},
               {QStringLiteral("gl_lr"), QStringLiteral("0")},   {QStringLiteral("gl_lsj"), QStringLiteral("0")}};
}

// Stock rows created where missing, the purchase counter by `step`, the goods' average; a
// receipt also sets the latest purchase price and supplier.
StockMoves purchaseMoves(int step, bool lastPurchase)
{
    StockMoves m;
    m.createRows = true;
    m.frequency = QStringLiteral("g_cgpl");
    m.frequencyStep = step;
    m.average = true;
    m.lastPurchase = lastPurchase;
    return m;
}

} // namespace postpurchase_impl

const DocumentKind &PurchaseInKind()
{
    using namespace postpurchase_impl;
    static const DocumentKind kind{
        .code = QStringLiteral("CJ"), .name = QStringLiteral("采购进货单"),
        .header = QStringLiteral("jxc_jhd"), .lines = QStringLiteral("jxc_jhsp"), .prefix = QStringLiteral("j_"),
        .dateColumn = QStringLiteral("j_jhrq"), .partner = &SupplierSide(), .cashText = QStringLiteral("采购进货"),
        // Settled by payment, the amount owed is what was paid.
        .cashSign = -1, .owesWhatWasPaid = true, .freightNote = QStringLiteral("采购单"),
        .countHandler = &IncUserPurchaseCount, .freezeColumn = QStringLiteral("jh_qxsl"),
        // One ledger row per line, the reserved goods included; stock moves for the others, on hand
        // only for lines taken in.
        .ledger = {QStringLiteral("cj"), QStringLiteral("jxc_jhsp"), false,
                   purchaseLedgerColumns(QStringLiteral("jh_"), false, QStringLiteral("l.jh_sl"), QStringLiteral("l.jh_je"))
                       << qMakePair(QStringLiteral("id2"), QStringLiteral("l.id2"))
                       << qMakePair(QStringLiteral("gl_qxsl"), QStringLiteral("l.jh_qxsl"))
                       << qMakePair(QStringLiteral("idck"), QStringLiteral("l.id2"))},
        .steps = {.flag = QStringLiteral("cj"), .lines = QStringLiteral("jxc_jhsp"),
                  .onHand = QStringLiteral("case when coalesce(l.jh_rksl, 0) = 0 then 0 else coalesce(l.jh_zsl, 0) end")},
        .moves = purchaseMoves(1, true), .logText = QStringLiteral("审核采购进货单%1，共%2种商品"),
        .orders = {QStringLiteral("jxc_cgsp"), QStringLiteral("jh_sl"), QStringLiteral("jh_rksl"),
                   QStringLiteral("jh_qxsl"), &LoginState::UsePurchaseOrder},
    };
    return kind;
}

const DocumentKind &PurchaseReturnKind()
{
    using namespace postpurchase_impl;
    // The return stores its quantities and amounts negative: a refund is money in.
    static const DocumentKind kind{
        .code = QStringLiteral("CT"), .name = QStringLiteral("采购退货单"), .header = QStringLiteral("jxc_thd"),
        .lines = QStringLiteral("jxc_thsp"), .prefix = QStringLiteral("th_"), .dateColumn = QStringLiteral("th_thrq"),
        .partner = &SupplierSide(), .cashText = QStringLiteral("采购退货"), .cashSign = -1,
        .countHandler = &IncUserPurchaseCount,
        .ledger = {QStringLiteral("ct"), QStringLiteral("jxc_thsp"), false,
                   purchaseLedgerColumns(QStringLiteral("th_"), true, QStringLiteral("-l.th_sl"), QStringLiteral("0"))
                       << qMakePair(QStringLiteral("idck"), QStringLiteral("l.idck"))},
        // Every row of the return moves stock, the reserved goods included.
        .steps = {.flag = QStringLiteral("ct"), .reserved = true},
        .moves = purchaseMoves(-1, false), .logText = QStringLiteral("增加采购退货单%1，共%2种商品"),
    };
    return kind;
}

void AuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                     const QString &number)
{
    PostDocument(db, state, clock, PurchaseInKind(), number);
}

void AuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number)
{
    PostDocument(db, state, clock, PurchaseReturnKind(), number);
}

void ApplyPurchaseAdjust(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, double paid, double due)
{
    Q_UNUSED(clock)
    static const SettledLines lines{QStringLiteral("jxc_jhd"), QStringLiteral("j_"), QStringLiteral("jxc_jhsp"),
                                    QStringLiteral("jh_"), false, [](const QSqlDatabase &) {
                                        return postingsupport::ColumnValues{{QStringLiteral("jh_rksl"), 0.0}};
                                    }};
    ApplySettleDifference(db, state, lines, number, paid, due);
}
