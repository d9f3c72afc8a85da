#include "engine/inventoryposting.h"

#include "engine/auditsupport.h"
#include "engine/postinglocks.h"
#include "engine/stockcheck.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"

#include <QStringList>

#include <cmath>
#include <exception>

namespace inventoryposting_impl {

using namespace postingsupport;

// A refusal, a question or the end of an audited document; unwinding rolls the work back.
struct Stop
{
    AuditResult::Kind kind;
    QString text;
};

[[noreturn]] void refuse(const QString &text)
{
    throw Stop{AuditResult::Kind::Refused, text};
}

QString col(const DocumentKind &k, const char *suffix)
{
    return k.prefix + QLatin1String(suffix);
}

// The copies of the number with their handler and warehouses, oldest first; `jxc_status` the
// status as a number, `jxc_complete` 1 when the handler and the warehouses exist.
QVector<RowTexts> copiesWithRecords(const QSqlDatabase &db, const InventoryKind &kind, const QString &number)
{
    const DocumentKind &k = kind.posting;
    const bool second = !kind.secondWarehouseColumn.isEmpty();
    const QString sql =
        QStringLiteral("select a.*, b.u_name, d.ck_name as jxc_wh_name, %1 as %2, coalesce(a.%3, 0) as jxc_status, "
                       "case when b.u_sn is null or d.ck_sn is null%4 then 0 else 1 end as jxc_complete "
                       "from %5 a left join jxc_user b on b.u_sn = a.u_sn left join jxc_ckxx d on d.ck_sn = a.%6%7 "
                       "where a.gl_djh = ? order by a.id")
            .arg(second ? QStringLiteral("e.ck_name") : QStringLiteral("''"), QLatin1String(kSecondWarehouseName),
                 col(k, "status"), second ? QStringLiteral(" or e.ck_sn is null") : QString(), k.header,
                 kind.warehouseColumn,
                 second ? QStringLiteral(" left join jxc_ckxx e on e.ck_sn = a.") + kind.secondWarehouseColumn
                        : QString());
    QVector<RowTexts> copies;
    for (const RowTexts &r : ReadRows(db, sql, {number})) {
        // A master record kept twice gives the copy twice: the first one counts.
        if (!copies.isEmpty() && copies.last().value(QStringLiteral("id")) == r.value(QStringLiteral("id")))
            continue;
        copies.append(r);
    }
    return copies;
}

void audit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, const InventoryKind &kind,
           const QString &number, bool confirmed)
{
    const DocumentKind &k = kind.posting;
    Transaction tx(db);
    // Before the locks, what to lock: the copies of the number and the goods of its lines.
    QString date;
    bool any = false;
    QStringList goods;
    for (const RowTexts &r :
         ReadRows(db,
                  QStringLiteral("select 'h' as part, id, %1 as docdate, null as g_sn from %2 where gl_djh = ? "
                                 "union all select 'l', null, null, g_sn from (select distinct g_sn from %3 "
                                 "where gl_djh = ?) x order by 1, 2")
                      .arg(k.dateColumn, k.header, k.lines),
                  {number, number})) {
        if (r.value(QStringLiteral("part")) == QLatin1String("h")) {
            any = true;
            date = r.value(QStringLiteral("docdate"));
        } else {
            goods << r.value(QStringLiteral("g_sn"));
        }
    }
    if (!any)
        refuse(QStringLiteral("单据%1不存在，不能审核！").arg(number));
    goods.removeAll(QString());
    goods.sort();
    PostingLockKeys keys;
    keys.headers.push_back({k.header, number});
    keys.goods = goods;
    if (number.size() >= 8)
        keys.numberStems << number.left(8);
    LockForPosting lock(db, keys);

    const QString check = CheckBeforeAudit(number, date);
    if (check != QLatin1String("ok"))
        refuse(check);

    const QVector<RowTexts> copies = copiesWithRecords(db, kind, number);
    if (copies.isEmpty())
        refuse(QStringLiteral("单据%1不存在，不能审核！").arg(number));
    for (const RowTexts &r : copies)
        if (r.value(QStringLiteral("jxc_status")) != QLatin1String("0"))
            throw Stop{AuditResult::Kind::AlreadyAudited, QString()};
    const RowTexts &newest = copies.last();
    const bool goodsMissing =
        !QueryScalar(db,
                     QStringLiteral("select l.id from %1 l left join jxc_goods d on d.g_sn = l.g_sn "
                                    "where l.gl_djh = ? and d.g_sn is null limit 1")
                         .arg(k.lines),
                     {number})
             .isEmpty();
    if (newest.value(QStringLiteral("jxc_complete")) != QLatin1String("1") || goodsMissing)
        refuse(InventoryMissingRecordText(number));

    if (!kind.stockCheck.isEmpty()) {
        const QString sentence =
            CheckNegativeStock(db, state, clock, number, newest.value(kind.warehouseColumn), kind.stockCheck);
        if (!sentence.isEmpty()) {
            if (!IsTrue(state.AllowNegativeStock))
                refuse(sentence);
            if (!confirmed)
                throw Stop{AuditResult::Kind::Question, sentence};
        }
    }

    PostingHeader h = PostingHeaderOf(k, number, newest);
    h.warehouse = newest.value(kind.warehouseColumn);
    h.warehouseName = newest.value(QStringLiteral("jxc_wh_name"));
    h.partner = QStringLiteral("");
    h.partnerName = QStringLiteral("");
    if (kind.prepare) {
        const QString text = kind.prepare(db, state, clock, h);
        if (!text.isEmpty())
            refuse(text);
    }

    const QString newestId = newest.value(QStringLiteral("id"));
    RunSql(db,
           QStringLiteral("update %1 set %2 = 1, %3 = ?, %4 = ? where id = ?")
               .arg(k.header, col(k, "status"), col(k, "checker"), col(k, "chkrq")),
           {CutToColumn(k.header, col(k, "checker"), state.CurrentOperatorName), clock.todayText(), newestId});
    if (copies.size() > 1)
        RunSql(db,
               QStringLiteral("delete from %1 where gl_djh = ? and coalesce(%2, 0) = 0 and id <> ?")
                   .arg(k.header, col(k, "status")),
               {number, newestId});

    PostDocument(db, state, clock, k, h);
    if (!kind.below.type.isEmpty() || !kind.above.type.isEmpty()) {
        const double value = LedgerValueOf(db, number);
        WriteStockDiffValue(db, state, h, value, value < 0 ? kind.below : kind.above);
    }
    tx.commit();
}

} // namespace inventoryposting_impl

QString InventoryMissingRecordText(const QString &number)
{
    return QStringLiteral("单据%1的经手人、仓库或商品资料不存在，不能审核！").arg(number);
}

AuditResult RunInventoryAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                              const InventoryKind &kind, const QString &number, bool confirmedNegativeStock)
{
    using namespace inventoryposting_impl;
    AuditResult result;
    result.number = number;
    try {
        audit(db, state, clock, kind, number, confirmedNegativeStock);
        result.kind = AuditResult::Kind::Audited;
    } catch (const Stop &stop) {
        result.kind = stop.kind;
        result.text = stop.text;
    } catch (const DbError &e) {
        result.kind = AuditResult::Kind::Failed;
        result.text = QStringLiteral("审核失败：") + e.text();
    } catch (const std::exception &e) {
        result.kind = AuditResult::Kind::Failed;
        result.text = QStringLiteral("审核失败：") + QString::fromUtf8(e.what());
    }
    return result;
}

double LedgerValueOf(const QSqlDatabase &db, const QString &number)
{
    return TextToNumber(QueryScalar(db, QStringLiteral("select sum(gl_zje) from jxc_goodslist where gl_djh = ?"), {number}));
}

void WriteStockDiffValue(const QSqlDatabase &db, const LoginState &state, const PostingHeader &h, double amount,
                         const StockDiffValue &value)
{
    if (amount == 0 || value.type.isEmpty())
        return;
    postingsupport::InsertRow(db, QStringLiteral("jxc_yyfy"),
                              {{QStringLiteral("gl_djh"), h.number},
                               {QStringLiteral("fy_rq"), h.date},
                               {QStringLiteral("fy_lx"), value.type},
                               {QStringLiteral("fy_je"), amount},
                               {QStringLiteral("u_sn"), h.handlerSn},
                               {QStringLiteral("fy_note"), value.name + h.number + QStringLiteral("成本差额")},
                               {QStringLiteral("a_name"), state.CurrentOperatorName},
                               {QStringLiteral("fy_sc"), value.section},
                               {QStringLiteral("fy_flag"), value.flag},
                               {QStringLiteral("de_sn"), QStringLiteral("100001")},
                               {QStringLiteral("fy_kmmc"), QStringLiteral("现金")},
                               {QStringLiteral("fy_chk"), QStringLiteral("1")}});
}
