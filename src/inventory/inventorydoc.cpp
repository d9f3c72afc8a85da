#include "inventory/inventorydoc.h"

#include "engine/pendingdocument.h"
#include "engine/postinglocks.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/transaction.h"
#include "foundation/doccontext.h"
#include "foundation/draftlines.h"
#include "foundation/formats.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"

#include <QDate>

DocType InventoryDocType(InventoryDoc doc)
{
    DocType t;
    switch (doc) {
    case InventoryDoc::Transfer:
        t.name = QStringLiteral("库存调拨单");
        t.prefix = QStringLiteral("DB");
        t.headerTable = QStringLiteral("jxc_kcdbd");
        t.linesTable = QStringLiteral("jxc_dbsp");
        t.dateField = QStringLiteral("db_dbrq");
        t.quantityField = QStringLiteral("db_sl");
        t.priceField = QStringLiteral("db_dj");
        t.amountField = QStringLiteral("db_zje");
        t.basketTable = QStringLiteral("jxc_tempspxf2");
        t.sourceTag = QStringLiteral("kcdb");
        t.basketColumns = {{QStringLiteral("ts_dzl"), QStringLiteral("db_sj")},
                           {QStringLiteral("ts_zsl"), QStringLiteral("db_zsl")},
                           {QStringLiteral("dw_name"), QStringLiteral("dw_name")},
                           {QStringLiteral("g_sptm"), QStringLiteral("g_sptm")},
                           {QStringLiteral("gl_djh2"), QStringLiteral("gl_djh2")},
                           {QStringLiteral("idck"), QStringLiteral("idck")}};
        break;
    case InventoryDoc::Loss:
    case InventoryDoc::Overflow: {
        const bool loss = doc == InventoryDoc::Loss;
        const QString p = loss ? QStringLiteral("bs_") : QStringLiteral("by_");
        t.name = loss ? QStringLiteral("商品报损单") : QStringLiteral("商品报溢单");
        t.prefix = loss ? QStringLiteral("BS") : QStringLiteral("BY");
        t.headerTable = loss ? QStringLiteral("jxc_bsd") : QStringLiteral("jxc_byd");
        t.linesTable = loss ? QStringLiteral("jxc_bssp") : QStringLiteral("jxc_bysp");
        t.dateField = loss ? QStringLiteral("bs_bsrq") : QStringLiteral("by_byrq");
        t.quantityField = p + QStringLiteral("sl");
        t.priceField = p + QStringLiteral("dj");
        t.amountField = p + QStringLiteral("zje");
        t.basketTable = QStringLiteral("jxc_tempspxf");
        t.sourceTag = QStringLiteral("bsby");
        t.basketColumns = {{QStringLiteral("ts_note"), p + QStringLiteral("note")}};
        if (loss)
            t.basketColumns << qMakePair(QStringLiteral("gl_djh2"), QStringLiteral("gl_djh2"))
                            << qMakePair(QStringLiteral("idck"), QStringLiteral("idck"));
        break;
    }
    case InventoryDoc::Stocktaking:
        // The basket holds the book quantity in ts_dj, the cost in ts_dzl and the stock row's
        // kc_zsl in ts_je; a goods already counted on the number (by anybody) is not copied.
        t.name = QStringLiteral("库存盘点单");
        t.prefix = QStringLiteral("PD");
        t.headerTable = QStringLiteral("jxc_kcpd");
        t.linesTable = QStringLiteral("jxc_kcpdsp");
        t.dateField = QStringLiteral("pd_rq");
        t.quantityField = QStringLiteral("pd_sl");
        t.priceField = QStringLiteral("pd_dj");
        t.amountField = QStringLiteral("pd_zje");
        t.basketTable = QStringLiteral("jxc_tempspxf");
        t.sourceTag = QStringLiteral("kcpd");
        t.basketColumnsOnly = true;
        t.basketSkipsCountedGoods = true;
        t.basketColumns = {{QStringLiteral("ts_sl"), QStringLiteral("pd_sl")},
                           {QStringLiteral("ts_dj"), QStringLiteral("kc_sl")},
                           {QStringLiteral("ts_dzl"), QStringLiteral("pd_dj")},
                           {QStringLiteral("ts_zje"), QStringLiteral("pd_zje")},
                           {QStringLiteral("ts_je"), QStringLiteral("kc_zsl")}};
        break;
    }
    return t;
}

InventoryDoc InventoryDocOf(const QString &numberOrPrefix)
{
    if (numberOrPrefix.startsWith(QLatin1String("DB")))
        return InventoryDoc::Transfer;
    if (numberOrPrefix.startsWith(QLatin1String("BY")))
        return InventoryDoc::Overflow;
    if (numberOrPrefix.startsWith(QLatin1String("PD")))
        return InventoryDoc::Stocktaking;
    return InventoryDoc::Loss;
}

QString InventoryColumnPrefix(InventoryDoc doc)
{
    switch (doc) {
    case InventoryDoc::Transfer:
        return QStringLiteral("db_");
    case InventoryDoc::Overflow:
        return QStringLiteral("by_");
    case InventoryDoc::Stocktaking:
        return QStringLiteral("pd_");
    case InventoryDoc::Loss:
        break;
    }
    return QStringLiteral("bs_");
}

QString InventoryStatusColumn(InventoryDoc doc)
{
    return InventoryColumnPrefix(doc) + QStringLiteral("status");
}

bool RemoveDraftLine(const QSqlDatabase &db, const LoginState &state, Notices &notices, InventoryDoc doc, qint64 lineId)
{
    try {
        return DraftLines(db, InventoryDocType(doc), state).removeLine(lineId);
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("删除失败：") + e.text());
        return false;
    }
}

void DiscardDraft(const QSqlDatabase &db, const LoginState &state, Notices &notices, InventoryDoc doc,
                  const QString &number)
{
    try {
        DraftLines(db, InventoryDocType(doc), state).discard(number);
    } catch (const DbError &e) {
        notices.notice(QStringLiteral("删除失败：") + e.text());
    }
}

namespace {

const char *const kTransferTags[] = {"", "kcdb", "kcdb_add", "kcdb_modi", "modish"};
const char *const kLossTags[] = {"", "bsby", "bsby_add", "bsby_modi", "bsby_sh"};
const char *const kCountTags[] = {"", "kcpd", "kcpd_add", "kcpd_modi", "kcpd_modi2"};

const char *const *tagsOf(InventoryDoc doc)
{
    return doc == InventoryDoc::Transfer ? kTransferTags : doc == InventoryDoc::Stocktaking ? kCountTags : kLossTags;
}

} // namespace

InventoryLineMode InventoryLineModeFromTag(InventoryDoc doc, const QString &tag)
{
    const char *const *tags = tagsOf(doc);
    for (int i = 1; i < 5; ++i)
        if (tag == QLatin1String(tags[i]))
            return static_cast<InventoryLineMode>(i);
    return InventoryLineMode::None;
}

QString InventoryLineModeTag(InventoryDoc doc, InventoryLineMode mode)
{
    const char *const *tags = tagsOf(doc);
    return QLatin1String(tags[int(mode)]);
}

InventoryStatus CheckLineQuantity(Notices &notices, InventoryLineMode mode, double quantity)
{
    if (mode == InventoryLineMode::None)
        return InventoryStatus::Declined;
    if (quantity <= 0) {
        notices.notice(QStringLiteral("数量不能为0或负数，重新输入！"));
        return InventoryStatus::Refused;
    }
    return InventoryStatus::Done;
}

InventoryResult RunLineWrite(const QSqlDatabase &db, Notices &notices, DocumentContext &context, const QString &failure,
                             const std::function<QString()> &write)
{
    InventoryResult result;
    result.number = context.number;
    try {
        Transaction tx(db);
        const QString refusal = write();
        if (!refusal.isEmpty()) {
            tx.rollback();
            notices.notice(refusal);
            result.status = InventoryStatus::Refused;
            return result;
        }
        tx.commit();
    } catch (const DbError &e) {
        notices.notice(failure + e.text());
        result.status = InventoryStatus::Failed;
        return result;
    }
    context.notifyLinesChanged();
    return result;
}

QString UpdateLineByMode(const QSqlDatabase &db, const LoginState &state, InventoryDoc doc, InventoryLineMode mode,
                         const QString &number, qint64 lineId, QVariantMap values)
{
    const DocType type = InventoryDocType(doc);
    DraftLines draft(db, type, state);
    if (mode == InventoryLineMode::Draft) {
        draft.updateLine(lineId, values);
        return QString();
    }
    const QString changed = LockPendingDocument(db, type.headerTable, InventoryStatusColumn(doc), number);
    if (!changed.isEmpty())
        return changed;
    values.insert(QStringLiteral("a_name"), state.CurrentOperatorName);
    draft.updateDocumentLine(number, lineId, values);
    return QString();
}

KeyedItems InventoryWarehouses(const QSqlDatabase &db, const LoginState &state)
{
    return LoadOperatorWarehouses(db, state);
}

KeyedItems AllWarehouses(const QSqlDatabase &db)
{
    return LoadKeyedCombo(db, QStringLiteral("jxc_ckxx"), QStringLiteral("ck_name"), QStringLiteral("ck_sn"),
                          QStringLiteral("id"));
}

KeyedItems StockHandlers(const QSqlDatabase &db, const LoginState &state)
{
    return LoadUserCombo(db, state, QStringLiteral("u_kc"));
}

double TransferAmount(const LoginState &state, double amount)
{
    return IsTrue(state.RoundTotals) ? RoundTo(amount, TotalDecimalsValue(state)) : amount;
}

bool TransferAtSalePrice(const LoginState &state)
{
    return state.TransferPriceBasis == QLatin1String("1");
}

TransferPriceColumns TransferPriceColumnsOf(const LoginState &state)
{
    if (!TransferAtSalePrice(state))
        return {true, false};
    return {false, state.RightShowSalePrice};
}

void LockDayNumbers(const QSqlDatabase &db, const DocType &type, const QString &day)
{
    PostingLockKeys keys;
    keys.numberStems << type.prefix + QDate::fromString(day.left(10), QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
    LockForPosting lock(db, keys);
}

bool AuditAsking(Notices &notices, const AuditCall &audit)
{
    AuditResult r = audit(false);
    if (r.kind == AuditResult::Kind::Question) {
        if (!notices.confirm(r.text))
            return false;
        r = audit(true);
    }
    if (r.audited())
        return true;
    if (!r.text.isEmpty())
        notices.notice(r.text);
    return false;
}

AuditCall InventoryAudit(InventoryDoc doc, const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number)
{
    switch (doc) {
    case InventoryDoc::Transfer:
        return [&db, &state, &clock, number](bool confirmed) { return RunAuditTransfer(db, state, clock, number, confirmed); };
    case InventoryDoc::Overflow:
        return [&db, &state, &clock, number](bool) { return RunAuditOverflow(db, state, clock, number); };
    case InventoryDoc::Stocktaking:
        return [&db, &state, &clock, number](bool) { return RunAuditStocktaking(db, state, clock, number); };
    case InventoryDoc::Loss:
        break;
    }
    return [&db, &state, &clock, number](bool confirmed) { return RunAuditLoss(db, state, clock, number, confirmed); };
}
