#include "engine/postinventory.h"

#include "engine/auditsupport.h"
#include "foundation/db/sqlroutines.h"

namespace postinventory_impl {

using Columns = QVector<QPair<QString, QString>>;

const QString kLedger = QStringLiteral("jxc_goodslist");

// The ledger columns these documents leave at zero or one.
Columns plainColumns(const QString &partnerName)
{
    return {{QStringLiteral("ghs_sn"), QStringLiteral("''")},
            {QStringLiteral("ghs_name"), QLatin1Char('\'') + partnerName + QLatin1Char('\'')},
            {QStringLiteral("gl_lr"), QStringLiteral("0")},
            {QStringLiteral("gl_dzl"), QStringLiteral("1")},
            {QStringLiteral("gl_tax"), QStringLiteral("0")},
            {QStringLiteral("gl_taxje"), QStringLiteral("0")},
            {QStringLiteral("gl_lsj"), QStringLiteral("0")},
            {QStringLiteral("gl_kczje"), QStringLiteral("0")}};
}

// A transfer line's rows: into ck_in (in) or out of ck_out.
LedgerLines transferLines(bool in)
{
    const QString sign = in ? QString() : QStringLiteral("-");
    Columns c = plainColumns(in ? QStringLiteral("调拨入库") : QStringLiteral("调拨出库"));
    c << qMakePair(QStringLiteral("gl_sl"), sign + QStringLiteral("l.db_zsl"))
      << qMakePair(QStringLiteral("gl_zje"), sign + QStringLiteral("(l.db_dj * l.db_sl)"))
      << qMakePair(QStringLiteral("gl_je"), sign + QStringLiteral("(l.db_dj * l.db_sl)"))
      << qMakePair(QStringLiteral("gl_dj"), PricePerBaseUnitSql(QStringLiteral("db_")))
      << qMakePair(QStringLiteral("gl_taxdj"), QStringLiteral("l.db_dj"))
      << qMakePair(QStringLiteral("gl_sysl"), QStringLiteral("l.db_sl"));
    if (in)
        c << qMakePair(QStringLiteral("gl_djh2"), QStringLiteral("''")) << qMakePair(QStringLiteral("idck"), QStringLiteral("0"));
    else
        c << qMakePair(QStringLiteral("idck"), QStringLiteral("l.idck"));
    return {QStringLiteral("db"), QStringLiteral("jxc_dbsp"), true, c};
}

// The in rows come first, each in the receiving warehouse.
void insertTransferInRows(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const PostingHeader &h)
{
    PostingHeader in = h;
    in.warehouse = h.row.value(QStringLiteral("ck_in"));
    in.warehouseName = h.row.value(QLatin1String(kSecondWarehouseName));
    InsertLedgerRows(db, state, clock, transferLines(true), in);
}

// A loss (negative) or overflow line's row.
LedgerLines lossLines(bool loss)
{
    const QString p = loss ? QStringLiteral("l.bs_") : QStringLiteral("l.by_");
    const QString sign = loss ? QStringLiteral("-") : QString();
    Columns c = plainColumns(loss ? QStringLiteral("商品报损") : QStringLiteral("商品报溢"));
    c << qMakePair(QStringLiteral("gl_sl"), sign + p + QStringLiteral("sl"))
      << qMakePair(QStringLiteral("gl_zje"), sign + p + QStringLiteral("zje"))
      << qMakePair(QStringLiteral("gl_je"), sign + p + QStringLiteral("zje"))
      << qMakePair(QStringLiteral("gl_dj"), p + QStringLiteral("dj"))
      << qMakePair(QStringLiteral("gl_taxdj"), p + QStringLiteral("dj"))
      << qMakePair(QStringLiteral("gl_sysl"), p + QStringLiteral("sl"))
      << qMakePair(QStringLiteral("gl_bz"), postingsupport::CutSql(kLedger, QStringLiteral("gl_bz"), p + QStringLiteral("note")))
      << qMakePair(QStringLiteral("idck"), QStringLiteral("l.idck"));
    if (!loss)
        c << qMakePair(QStringLiteral("gl_djh2"), QStringLiteral("null"));
    return {loss ? QStringLiteral("bs") : QStringLiteral("by"), loss ? QStringLiteral("jxc_bssp") : QStringLiteral("jxc_bysp"),
            true, c};
}

// Each overflow line takes its own id as its batch id before the rows are written.
void overflowBatchIds(const QSqlDatabase &db, const LoginState &, const Clock &, const PostingHeader &h)
{
    RunSql(db, QStringLiteral("update jxc_bysp set idck = id where gl_djh = ?"), {h.number});
}

StockMoves inventoryMoves(bool goodsTotal)
{
    StockMoves m;
    m.createRows = true;
    m.movesGoodsTotal = goodsTotal;
    return m;
}

} // namespace postinventory_impl

const InventoryKind &TransferInventoryKind()
{
    using namespace postinventory_impl;
    static const DocumentKind posting{
        .code = QStringLiteral("DB"), .name = QStringLiteral("库存调拨单"), .header = QStringLiteral("jxc_kcdbd"),
        .lines = QStringLiteral("jxc_dbsp"), .prefix = QStringLiteral("db_"), .dateColumn = QStringLiteral("db_dbrq"),
        .beforeLedger = &insertTransferInRows, .ledger = transferLines(false),
        .steps = {.flag = QStringLiteral("db"), .rowWarehouse = true}, .moves = inventoryMoves(false),
        .logText = QStringLiteral("增加已审核库存调拨单%1，共%2种商品"), .ledgerRowsPerLine = 2,
    };
    static const InventoryKind kind{.posting = posting, .warehouseColumn = QStringLiteral("ck_out"),
                                    .secondWarehouseColumn = QStringLiteral("ck_in"), .stockCheck = QStringLiteral("DB")};
    return kind;
}

const InventoryKind &LossInventoryKind()
{
    using namespace postinventory_impl;
    static const DocumentKind posting{
        .code = QStringLiteral("BS"), .name = QStringLiteral("商品报损单"), .header = QStringLiteral("jxc_bsd"),
        .lines = QStringLiteral("jxc_bssp"), .prefix = QStringLiteral("bs_"), .dateColumn = QStringLiteral("bs_bsrq"),
        .ledger = lossLines(true), .steps = {.flag = QStringLiteral("bs")}, .moves = inventoryMoves(true),
        .logText = QStringLiteral("增加已审核商品报损单%1，共%2种商品"),
    };
    static const StockDiffValue expense{QStringLiteral("费用"), QStringLiteral("费用"), QStringLiteral("1"),
                                        QStringLiteral("报损单")};
    static const InventoryKind kind{.posting = posting, .stockCheck = QStringLiteral("BS"), .below = expense,
                                    .above = expense};
    return kind;
}

const InventoryKind &OverflowInventoryKind()
{
    using namespace postinventory_impl;
    static const DocumentKind posting{
        .code = QStringLiteral("BY"), .name = QStringLiteral("商品报溢单"), .header = QStringLiteral("jxc_byd"),
        .lines = QStringLiteral("jxc_bysp"), .prefix = QStringLiteral("by_"), .dateColumn = QStringLiteral("by_byrq"),
        .beforeLedger = &overflowBatchIds, .ledger = lossLines(false), .steps = {.flag = QStringLiteral("by")},
        .moves = inventoryMoves(true), .logText = QStringLiteral("增加已审核商品报溢单%1，共%2种商品"),
    };
    static const StockDiffValue income{QStringLiteral("收入"), QStringLiteral("收入"), QStringLiteral("2"),
                                       QStringLiteral("报溢单")};
    static const InventoryKind kind{.posting = posting, .below = income, .above = income};
    return kind;
}

AuditResult RunAuditTransfer(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             const QString &number, bool confirmedNegativeStock)
{
    return RunInventoryAudit(db, state, clock, TransferInventoryKind(), number, confirmedNegativeStock);
}

AuditResult RunAuditLoss(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const QString &number,
                         bool confirmedNegativeStock)
{
    return RunInventoryAudit(db, state, clock, LossInventoryKind(), number, confirmedNegativeStock);
}

AuditResult RunAuditOverflow(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                             const QString &number)
{
    return RunInventoryAudit(db, state, clock, OverflowInventoryKind(), number, false);
}
