#include "engine/audit.h"

#include "engine/auditsupport.h"
#include "engine/duplicaterepair.h"
#include "engine/postinglocks.h"
#include "engine/postingkit.h"
#include "engine/postpurchase.h"
#include "engine/postreceipt.h"
#include "engine/postsales.h"
#include "engine/stockcheck.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"

#include <QStringList>

#include <algorithm>
#include <exception>

namespace audit_impl {

using namespace postingsupport;

using PostingRoutine = void (*)(const QSqlDatabase &, const LoginState &, const Clock &,
                                const QString &);

// How one document type is audited: its kind as the posting kit posts it, and the entry's own.
struct DocAudit
{
    const DocumentKind &kind;
    bool discount = false;     // the header's <prefix>yhje takes what settling by payment leaves unpaid
    bool checksStock = false;  // the negative-stock test runs first

    QString column(const char *suffix) const { return kind.prefix + QLatin1String(suffix); }
};

// A refusal or question on the way; unwinding rolls the transaction back.
struct Stop
{
    AuditResult::Kind kind;
    QString text;
};

[[noreturn]] void refuse(const QString &text)
{
    throw Stop{AuditResult::Kind::Refused, text};
}

QString alreadyAuditedText(const QString &number)
{
    return QStringLiteral("单据%1已经审核，不能重复审核！").arg(number);
}

QString notFoundText(const QString &number)
{
    return QStringLiteral("单据%1不存在，不能审核！").arg(number);
}

// "CJ" + yyMMdd of a "yyyy-MM-dd…" date: the stem a number drawn for that date starts with.
QString numberStem(const QString &prefix, const QString &date)
{
    if (date.size() < 10)
        return QString();
    return prefix + date.mid(2, 2) + date.mid(5, 2) + date.mid(8, 2);
}

QStringList sortedUnique(QStringList list)
{
    list.removeAll(QString());
    list.sort();
    list.removeDuplicates();
    return list;
}

template<typename Body>
AuditResult guarded(const QString &number, Body body)
{
    AuditResult result;
    result.number = number;
    try {
        body(result);
        result.kind = AuditResult::Kind::Audited;
        result.text.clear();
    } catch (const Stop &stop) {
        result.kind = stop.kind;
        result.text = stop.text;
        result.number = number;
    } catch (const DbError &e) {
        result.kind = AuditResult::Kind::Failed;
        result.text = QStringLiteral("审核失败：") + e.text();
        result.number = number;
    } catch (const std::exception &e) {
        result.kind = AuditResult::Kind::Failed;
        result.text = QStringLiteral("审核失败：") + QString::fromUtf8(e.what());
        result.number = number;
    }
    return result;
}

// The copies of `number` with their handler, partner and warehouse, one row per copy in id
// order; `status` is the status as a number, `complete` 1 when all three records exist.
QVector<RowTexts> copiesWithRecords(const QSqlDatabase &db, const DocAudit &d, const QString &number)
{
    const DocumentKind &k = d.kind;
    const PartnerSide &p = *k.partner;
    QVector<RowTexts> copies;
    QString lastId;
    for (const RowTexts &r :
         ReadRows(db,
                  QStringLiteral("select a.*, b.u_name, c.%1, d.ck_name, coalesce(a.%2, 0) as jxc_status, "
                                 "case when b.u_sn is null or c.%3 is null or d.ck_sn is null then 0 else 1 end "
                                 "as jxc_complete from %4 a left join jxc_user b on a.u_sn = b.u_sn "
                                 "left join %5 c on a.%3 = c.%3 left join jxc_ckxx d on a.ck_sn = d.ck_sn "
                                 "where a.gl_djh = ? order by a.id")
                      .arg(p.name, d.column("status"), p.key, k.header, p.table),
                  {number})) {
        // A master record kept twice gives the copy twice: the first one counts.
        if (r.value(QStringLiteral("id")) == lastId)
            continue;
        lastId = r.value(QStringLiteral("id"));
        copies.append(r);
    }
    return copies;
}

AuditResult auditDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                          const QString &number, const DocAudit &d, bool confirmed)
{
    const DocumentKind &k = d.kind;
    const PartnerSide &partner = *k.partner;
    return guarded(number, [&](AuditResult &result) {
        Transaction tx(db);
        // Before the locks, what to lock: the copies of the number and the goods of its lines.
        QVector<RowTexts> copies;
        QStringList goods;
        bool hasLines = false;
        for (const RowTexts &r :
             ReadRows(db,
                      QStringLiteral("select 'h' as part, id, %1 as partner, %2 as account, %3 as docdate, "
                                     "coalesce(%4, 0) as status, null as g_sn from %5 where gl_djh = ? "
                                     "union all select 'l', null, null, null, null, null, g_sn from "
                                     "(select distinct g_sn from %6 where gl_djh = ?) x order by 1, 2")
                          .arg(partner.key, d.column("kmmc"), k.dateColumn, d.column("status"), k.header, k.lines),
                      {number, number})) {
            if (r.value(QStringLiteral("part")) == QLatin1String("h")) {
                copies.append(r);
            } else {
                hasLines = true;
                goods << r.value(QStringLiteral("g_sn"));
            }
        }
        if (copies.isEmpty())
            refuse(notFoundText(number));
        goods = sortedUnique(goods);

        PostingLockKeys keys;
        keys.headers.push_back({k.header, number});
        keys.goods = goods;
        keys.partnerType = partner.type;
        const auto pending = std::find_if(copies.begin(), copies.end(), [](const RowTexts &r) {
            return r.value(QStringLiteral("status")) == QLatin1String("0");
        });
        keys.partner = (pending != copies.end() ? *pending : copies.first()).value(QStringLiteral("partner"));
        QStringList accounts, stems;
        for (const RowTexts &r : copies) {
            accounts << r.value(QStringLiteral("account"));
            if (hasLines)
                stems << numberStem(k.code, r.value(QStringLiteral("docdate")));
        }
        keys.cashAccounts = sortedUnique(accounts);
        keys.numberStems = sortedUnique(stems);
        LockForPosting lock(db, keys);

        const QString check = CheckBeforeAudit(number, copies.first().value(QStringLiteral("docdate")));
        if (check != QLatin1String("ok"))
            refuse(check);

        // Under the locks: the copies as they stand, with the records the posting names. Several
        // copies of a number with lines are repaired first (a single copy needs nothing).
        QString current = number;
        QVector<RowTexts> now = copiesWithRecords(db, d, number);
        if (hasLines && now.size() > 1) {
            current = FixDuplicateDjh(db, state, clock, number, k.code, state.CurrentOperatorName);
            now = copiesWithRecords(db, d, current);
        }
        result.number = current;
        for (const RowTexts &r : now) {
            if (r.value(QStringLiteral("jxc_status")) != QLatin1String("0"))
                refuse(alreadyAuditedText(current));
        }
        if (now.isEmpty())
            refuse(notFoundText(current));
        const RowTexts &first = now.first();
        const QString firstId = first.value(QStringLiteral("id"));
        if (first.value(QStringLiteral("jxc_complete")) != QLatin1String("1"))
            refuse(MissingRecordText(k, current));

        if (d.checksStock) {
            const QString sentence = CheckNegativeStock(db, state, clock, current,
                                                        first.value(QStringLiteral("ck_sn")), k.code);
            if (!sentence.isEmpty()) {
                if (!IsTrue(state.AllowNegativeStock))
                    refuse(sentence);
                if (!confirmed)
                    throw Stop{AuditResult::Kind::Question, sentence};
            }
        }

        const QString checker = CutToColumn(k.header, d.column("checker"), state.CurrentOperatorName);
        if (!d.discount) {
            RunSql(db,
                   QStringLiteral("update %1 set %2 = 1, %3 = ?, %4 = ? where id = ?")
                       .arg(k.header, d.column("status"), d.column("checker"), d.column("chkrq")),
                   {checker, clock.todayText(), firstId});
        } else {
            // Settled by payment, what was not paid is the discount; money left on credit is none.
            const double discount = SettlesByPayment(first.value(d.column("jsfs")))
                                        ? Num(first, d.column("yfje")) - Num(first, d.column("sfje"))
                                        : 0.0;
            RunSql(db,
                   QStringLiteral("update %1 set %2 = 1, %3 = ?, %4 = ?, %5 = ? where id = ?")
                       .arg(k.header, d.column("status"), d.column("checker"), d.column("chkrq"), d.column("yhje")),
                   {checker, clock.todayText(), discount, firstId});
        }
        // Other pending copies go (a single copy leaves none).
        if (now.size() > 1)
            RunSql(db,
                   QStringLiteral("delete from %1 where gl_djh = ? and coalesce(%2, 0) = 0 and id <> ?")
                       .arg(k.header, d.column("status")),
                   {current, firstId});

        PostDocument(db, state, clock, k, PostingHeaderOf(k, current, first));
        tx.commit();
    });
}

struct SettlementAudit
{
    QString prefix;          // write-off prefix YS / YF
    const PartnerSide &partner;
    PostingRoutine post;
};

AuditResult auditSettlement(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number, const SettlementAudit &s)
{
    return guarded(number, [&](AuditResult &) {
        Transaction tx(db);
        const QVector<RowTexts> regs = ReadRows(
            db,
            QStringLiteral("select id, k_ghskh, k_fkfs, k_rq, k_mlje from jxc_ysyfk_dj "
                           "where gl_djh = ? order by id"),
            {number});
        if (regs.isEmpty())
            refuse(notFoundText(number));
        const RowTexts &reg = regs.first();

        PostingLockKeys keys;
        keys.headers.push_back({QStringLiteral("jxc_ysyfk_dj"), number});
        keys.partnerType = s.partner.type;
        keys.partner = reg.value(QStringLiteral("k_ghskh"));
        keys.cashAccounts = sortedUnique({reg.value(QStringLiteral("k_fkfs"))});
        if (Num(reg, QStringLiteral("k_mlje")) != 0)
            keys.numberStems = sortedUnique({numberStem(s.prefix, reg.value(QStringLiteral("k_rq")))});
        LockForPosting lock(db, keys);

        const QString check = CheckBeforeAudit(number, reg.value(QStringLiteral("k_rq")));
        if (check != QLatin1String("ok"))
            refuse(check);

        if (!QueryScalar(db,
                         QStringLiteral("select id from jxc_ysyfk_dj where gl_djh = ? "
                                        "and coalesce(k_check, 0) <> 0 limit 1"),
                         {number})
                 .isEmpty())
            refuse(alreadyAuditedText(number));

        const QString found = QueryScalar(
            db,
            QStringLiteral("select a.id from jxc_ysyfk_dj a join jxc_user b on a.u_sn = b.u_sn "
                           "join %1 c on a.k_ghskh = c.%2 where a.id = ? limit 1")
                .arg(s.partner.table, s.partner.key),
            {reg.value(QStringLiteral("id"))});
        if (found.isEmpty())
            refuse(QStringLiteral("单据%1的经手人或%2资料不存在，不能审核！").arg(number, s.partner.title));

        s.post(db, state, clock, number);
        tx.commit();
    });
}

} // namespace audit_impl

AuditResult RunAuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               const QString &number)
{
    return audit_impl::auditDocument(db, state, clock, number, {PurchaseInKind(), true, false}, false);
}

AuditResult RunAuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state,
                                   const Clock &clock, const QString &number,
                                   bool confirmedNegativeStock)
{
    return audit_impl::auditDocument(db, state, clock, number, {PurchaseReturnKind(), false, true},
                                     confirmedNegativeStock);
}

AuditResult RunAuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, bool confirmedNegativeStock)
{
    return audit_impl::auditDocument(db, state, clock, number, {SaleKind(), true, true}, confirmedNegativeStock);
}

AuditResult RunAuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &number)
{
    return audit_impl::auditDocument(db, state, clock, number, {SalesReturnKind(), false, false}, false);
}

AuditResult RunAuditReceipt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number)
{
    return audit_impl::auditSettlement(
        db, state, clock, number,
        {QStringLiteral("YS"), CustomerSide(), &AuditReceipt});
}

AuditResult RunAuditPayment(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number)
{
    return audit_impl::auditSettlement(
        db, state, clock, number,
        {QStringLiteral("YF"), SupplierSide(), &AuditPayment});
}
