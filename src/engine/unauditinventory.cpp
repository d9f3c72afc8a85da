// Cancel-audit of inventory and production documents: transfers (DB), stocktakings (PD), splits
// (CF), bundles (KB), losses (BS), overflows (BY), customer borrow notes (JH) and their returns
// (HH), production receipts (SC) and returns (ST), department requisitions (LY) and returns (LT,
// LF). One pattern over the cancel kit (cancelkit.h); the table below holds each type's
// differences.

#include "engine/cancelkit.h"
#include "engine/reversalsupport.h"
#include "engine/stockcheck.h"
#include "engine/unauditphases.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

namespace unauditinventory_impl {

using namespace reversal;

struct InventoryType
{
    UnauditKind kind;
    const char *table;
    const char *prefix;       // column prefix of the header: "db_" → db_status …
    const char *module;
    int position;
    const char *name;         // in the refusal and the log sentence
    const char *stockType;    // stock test type, or "" for none
    bool stockBeforeConfirm;  // SC, LT: before the question; DB: after it
    bool goodsTotal;          // g_kc moves with the stock (not for transfers)
    bool expenses;            // jxc_yyfy rows of the number deleted
    bool zeroRows;            // EnsureZeroGoodsStock
    bool documentWarehouse;   // stock moved in the header's warehouse instead of the row's
};

const InventoryType kTypes[] = {
    {UnauditKind::Transfer, "jxc_kcdbd", "db_", "kcgl", 4, "库存调拨单", "DB", false, false, false, false, false},
    {UnauditKind::Stocktaking, "jxc_kcpd", "pd_", "kcgl", 7, "库存盘点单", "", false, true, true, false, false},
    {UnauditKind::StocktakingFromLedger, "jxc_kcpd", "pd_", "kcgl", 7, "库存盘点单", "", false, true, true, false, false},
    {UnauditKind::Split, "jxc_cfd", "cf_", "kcgl", 15, "商品拆分单", "", false, true, true, false, false},
    {UnauditKind::Bundle, "jxc_kbd", "kb_", "kcgl", 15, "商品捆绑单", "", false, true, true, false, false},
    {UnauditKind::Loss, "jxc_bsd", "bs_", "kcgl", 10, "商品报损单", "", false, true, true, false, false},
    {UnauditKind::Overflow, "jxc_byd", "by_", "kcgl", 10, "商品报溢单", "", false, true, true, false, false},
    {UnauditKind::CustomerBorrow, "jxc_khjh", "jh_", "rcgl", 4, "客户借货单", "", false, true, false, false, false},
    {UnauditKind::CustomerReturnBorrow, "jxc_khjh", "jh_", "rcgl", 4, "客户还货单", "", false, true, true, false, false},
    {UnauditKind::ProductionIn, "jxc_scrkd", "sc_", "cggl", 9, "生产入库单", "SC", true, true, false, true, true},
    {UnauditKind::ProductionReturn, "jxc_scrkd", "sc_", "cggl", 12, "生产退库单", "", false, true, false, true, false},
    {UnauditKind::DeptIssue, "jxc_bmlyd", "ly_", "xsgl", 9, "部门领用单", "", false, true, true, true, false},
    {UnauditKind::DeptReturn, "jxc_bmlyd", "ly_", "xsgl", 12, "部门退回单", "LT", true, true, true, true, true},
};

const InventoryType &typeOf(UnauditKind kind)
{
    for (const InventoryType &t : kTypes)
        if (t.kind == kind)
            return t;
    throw UnauditRefusal(QStringLiteral("未知的单据类型"));
}

QString col(const InventoryType &t, const char *suffix)
{
    return QLatin1String(t.prefix) + QLatin1String(suffix);
}

bool isStocktaking(UnauditKind kind)
{
    return kind == UnauditKind::Stocktaking || kind == UnauditKind::StocktakingFromLedger;
}

// Codes whose posting lowered stock: their cancel adds gl_sl back; all others subtract it.
bool lowersStock(const QString &flag)
{
    return flag == QLatin1String("jh") || flag == QLatin1String("ly") || flag == QLatin1String("lt");
}

RowTexts inventoryHeader(const InventoryType &t, const QSqlDatabase &db, const QString &number)
{
    return AuditedHeader(db, QLatin1String(t.table), col(t, "status"), number);
}

// The warehouse the stock test of the type looks at.
QString stockTestWarehouse(const InventoryType &t, const RowTexts &header)
{
    if (t.kind == UnauditKind::Transfer)
        return header.value(QStringLiteral("ck_in"));
    return header.value(QStringLiteral("ck_sn"));
}

// The later-business refusal of a stocktaking: a document of a counted goods in the warehouse
// dated on or after the count and entered after its rows; and, when the count moved goods, any
// row of those goods in the warehouse entered after its last row, whatever its date.
QString laterBusiness(const QSqlDatabase &db, const QString &number, const RowTexts &header)
{
    const QString countDate = header.value(QStringLiteral("pd_rq"));
    const QString warehouse = header.value(QStringLiteral("ck_sn"));
    QString lastId = QueryScalar(db, QStringLiteral("select max(id) from jxc_goodslist where gl_djh = ?"), {number});
    if (lastId.isEmpty())
        lastId = QStringLiteral("0");
    const qint64 last = lastId.toLongLong();
    QString found = QueryScalar(
        db,
        QStringLiteral("select gl_djh from jxc_goodslist where ck_sn = ? and gl_kdrq >= ? and id > ? "
                       "and g_sn in (select distinct g_sn from jxc_kcpdsp where gl_djh = ?) order by id limit 1"),
        {warehouse, countDate, last, number});
    if (found.isEmpty() && last > 0)
        found = QueryScalar(
            db,
            QStringLiteral("select gl_djh from jxc_goodslist where ck_sn = ? and id > ? "
                           "and g_sn in (select distinct g_sn from jxc_goodslist where gl_djh = ?) order by id limit 1"),
            {warehouse, last, number});
    if (found.isEmpty())
        return QString();
    return QStringLiteral("在【") + countDate + QStringLiteral("】日期之后盘点商品已发生业务，\r\n\r\n单号为：【") + found
           + QStringLiteral("】，\r\n\r\n该盘点单 ") + number + QStringLiteral(" 不能撤销！");
}

// What a row of the type does to stock and goods when it is taken back.
StockStep stepOf(UnauditKind kind, const InventoryType &t, bool fifo, const RowTexts &row,
                 const QString &documentWarehouse)
{
    const double qty = Num(row, QStringLiteral("gl_sl"));
    const double change = lowersStock(row.value(QStringLiteral("gl_flag"))) ? qty : -qty;
    StockStep st;
    st.ledgerId = row.value(QStringLiteral("id"));
    st.goods = row.value(QStringLiteral("g_sn"));
    st.warehouse = t.documentWarehouse ? documentWarehouse : row.value(QStringLiteral("ck_sn"));
    st.rowKnown = true;
    st.rowWarehouse = row.value(QStringLiteral("ck_sn"));
    st.rowDate = row.value(QStringLiteral("gl_kdrq"));
    st.rowNumber = row.value(QStringLiteral("gl_djh"));
    st.onHand = st.book = st.total = change;
    st.price = Num(row, QStringLiteral("gl_dj"));
    if (isStocktaking(kind)) {
        st.total = -qty;
        if (fifo) {
            st.onHand = st.book = -qty;
        } else {  // the stock the count found
            st.onHand = Num(row, QStringLiteral("line_sl"));
            st.book = Num(row, QStringLiteral("line_zsl"));
        }
    }
    // A split sets the average of the goods it made only.
    st.average = kind != UnauditKind::Split || qty > 0;
    return st;
}

// The type's own rows besides stock and goods: the month's stocktaking totals, the borrow note
// and the department issue the rows came from.
void ownRowWork(UnauditKind kind, const QSqlDatabase &db, const QString &number, const RowTexts &row,
                const QString &warehouse)
{
    const double qty = Num(row, QStringLiteral("gl_sl"));
    if (kind == UnauditKind::Stocktaking) {
        RunSql(db,
               QStringLiteral("update jxc_kcjs set js_sl = coalesce(js_sl, 0) - ?, js_zje = coalesce(js_zje, 0) - ? "
                              "where js_rq = ? and ck_sn = ?"),
               {qty, Num(row, QStringLiteral("gl_zje")), row.value(QStringLiteral("gl_kdrq")).left(7), warehouse});
    } else if (kind == UnauditKind::CustomerReturnBorrow) {
        const QString sub = row.value(QStringLiteral("gl_fdmc"));
        const QString column = sub == QLatin1String("hh")   ? QStringLiteral("jh_hhsl")
                               : sub == QLatin1String("xs") ? QStringLiteral("jh_xssl")
                                                            : QString();
        if (!column.isEmpty())
            RunSql(db,
                   QStringLiteral("update jxc_khjhsp set %1 = case when coalesce(%1, 0) - ? < 0 then 0 "
                                  "else coalesce(%1, 0) - ? end where id = ?")
                       .arg(column),
                   {qty, qty, row.value(QStringLiteral("id2")).toLongLong()});
    } else if (kind == UnauditKind::DeptReturn && !number.startsWith(QLatin1String("LF"))) {
        RunSql(db, QStringLiteral("update jxc_bmlysp set ly_hhsl = coalesce(ly_hhsl, 0) + ? where id = ?"),
               {qty, row.value(QStringLiteral("id2")).toLongLong()});
    }
}

// First in, first out: the batches the count took come back as it found them.
void restoreCountedBatches(const QSqlDatabase &db, const QString &number, const QString &warehouse)
{
    RunSql(db, QStringLiteral("delete from jxc_rklist where gl_djh = ?"), {number});
    for (const RowTexts &line :
         Rows(db,
              QStringLiteral("select g_sn, gl_djh2, pd_rkrq, pd_dj, kc_sl, idck from jxc_kcpdsp "
                             "where gl_djh = ? order by id"),
              {number})) {
        const double qty = Num(line, QStringLiteral("kc_sl"));
        const double price = Num(line, QStringLiteral("pd_dj"));
        const QString idck = line.value(QStringLiteral("idck"));
        RunSql(db,
               QStringLiteral("insert into jxc_rklist (gl_flag, gl_djh, gl_kdrq, g_sn, gl_dj, gl_sl, gl_zje, "
                              "ck_sn, gl_sysl, gl_dqkc, id2) values ('pd', ?, ?, ?, ?, ?, ?, ?, ?, 0, ?)"),
               {line.value(QStringLiteral("gl_djh2")), line.value(QStringLiteral("pd_rkrq")),
                line.value(QStringLiteral("g_sn")), price, qty, price * qty, warehouse, qty,
                idck.isEmpty() ? QVariant() : QVariant(idck.toLongLong())});
    }
}

} // namespace unauditinventory_impl

namespace unauditphases {

using namespace reversal;
using namespace unauditinventory_impl;

UnauditOutcome CheckInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                              const Clock &clock, Notices &notices, const QString &number,
                              const UnauditOptions &options)
{
    const InventoryType &t = typeOf(kind);
    UnauditOutcome o = RequireRight(db, state, notices, QLatin1String(t.module), t.position,
                                    QString::fromUtf8(t.name));
    if (o != UnauditOutcome::Done)
        return o;
    const RowTexts header = inventoryHeader(t, db, number);
    if (header.isEmpty())
        return Refuse(notices, NotAuditedText(number));
    if (!isStocktaking(kind) && (o = BeforeUnauditHook(notices, number)) != UnauditOutcome::Done)
        return o;
    const QString stockType = QString::fromUtf8(t.stockType);
    auto stockTest = [&]() {
        return StockTestOutcome(state, notices,
                                CheckNegativeStock(db, state, clock, number, stockTestWarehouse(t, header), stockType));
    };
    if (!stockType.isEmpty() && t.stockBeforeConfirm && (o = stockTest()) != UnauditOutcome::Done)
        return o;
    const QString question = isStocktaking(kind) ? QStringLiteral("您的操作将取消当前的单据，确认吗？")
                                                 : ConfirmText(number);
    if ((o = Confirm(notices, options, question)) != UnauditOutcome::Done)
        return o;
    if (isStocktaking(kind)) {
        const QString refusal = laterBusiness(db, number, header);
        if (!refusal.isEmpty())
            return Refuse(notices, refusal);
    }
    if (!stockType.isEmpty() && !t.stockBeforeConfirm && (o = stockTest()) != UnauditOutcome::Done)
        return o;
    return UnauditOutcome::Done;
}

void ApplyInventory(UnauditKind kind, const QSqlDatabase &db, const LoginState &state,
                    const Clock &clock, const QString &number, const UnauditOptions &options)
{
    const InventoryType &t = typeOf(kind);
    const bool stocktaking = isStocktaking(kind);
    const bool fifo = kind == UnauditKind::StocktakingFromLedger && state.CostMethod == QLatin1String("1");
    QVector<RowTexts> rows;

    CancelKind c;
    c.header = QLatin1String(t.table);
    c.prefix = QLatin1String(t.prefix);
    c.logText = stocktaking ? QStringLiteral("取消审核库存盘点单：") : QStringLiteral("取消审核") + QString::fromUtf8(t.name);
    c.steps = [&](const CancelContext &x) {
        rows = Rows(x.db,
                    stocktaking
                        ? QStringLiteral("select a.id, a.gl_flag, a.g_sn, a.ck_sn, a.gl_sl, a.gl_dj, a.gl_zje, "
                                         "a.gl_kdrq, a.gl_djh, a.id2, a.gl_fdmc, b.kc_sl as line_sl, b.kc_zsl as line_zsl "
                                         "from jxc_goodslist a join jxc_kcpdsp b on b.gl_djh = a.gl_djh "
                                         "and b.id2 = a.id2 where a.gl_djh = ? order by a.id")
                        : QStringLiteral("select id, gl_flag, g_sn, ck_sn, gl_sl, gl_dj, gl_zje, gl_kdrq, gl_djh, id2, "
                                         "gl_fdmc "
                                         "from jxc_goodslist where gl_djh = ? order by id"),
                    {x.number});
        std::vector<StockStep> steps;
        for (const RowTexts &row : rows)
            steps.push_back(stepOf(kind, t, fifo, row, x.header.value(QStringLiteral("ck_sn"))));
        return steps;
    };
    c.moves.setStock = stocktaking && !fifo;
    c.moves.movesGoodsTotal = t.goodsTotal;
    c.moves.average = kind == UnauditKind::Split || kind == UnauditKind::Bundle || kind == UnauditKind::ProductionIn
                      || kind == UnauditKind::ProductionReturn;
    c.moves.zeroWithoutStock = true;
    c.own = [&](const CancelContext &x) {
        for (const RowTexts &row : rows)
            ownRowWork(kind, x.db, x.number, row,
                       t.documentWarehouse ? x.header.value(QStringLiteral("ck_sn")) : row.value(QStringLiteral("ck_sn")));
    };
    if (kind != UnauditKind::CustomerReturnBorrow)
        c.reset = QStringLiteral("%1 = 0, %2 = '', %3 = ''").arg(col(t, "status"), col(t, "checker"), col(t, "chkrq"));
    c.keepAuditedKeepsHeader = false;
    c.expenses = t.expenses;
    c.zeroRows = t.zeroRows;
    c.after = [&](const CancelContext &x) {
        if (kind == UnauditKind::CustomerReturnBorrow) {
            RunSql(x.db, QStringLiteral("delete from jxc_khjhsp where gl_djh = ?"), {x.number});
            RunSql(x.db, QStringLiteral("delete from jxc_khjh where gl_djh = ?"), {x.number});
        }
        if (fifo)
            restoreCountedBatches(x.db, x.number, x.header.value(QStringLiteral("ck_sn")));
    };
    CancelDocument(db, state, clock, number, options, c);
}

} // namespace unauditphases
