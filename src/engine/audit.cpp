#include "engine/audit.h"

#include "engine/auditsupport.h"
#include "engine/duplicaterepair.h"
#include "engine/postinglocks.h"
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

// How one document type is audited.
struct DocAudit
{
    QString type;            // CJ CT XS XT
    QString header, lines;   // tables
    QString status, checker, checkDate, date;
    QString partnerColumn, partnerTable, partnerKey, partnerType;
    QString account;
    QString discount;        // j_yhje / ls_yhje; empty for returns
    QString due, paid, settlement;
    QString missingText;     // %1 number
    bool checksStock = false;
    PostingRoutine post = nullptr;
};

DocAudit purchaseIn()
{
    return {QStringLiteral("CJ"), QStringLiteral("jxc_jhd"), QStringLiteral("jxc_jhsp"),
            QStringLiteral("j_status"), QStringLiteral("j_checker"), QStringLiteral("j_chkrq"),
            QStringLiteral("j_jhrq"), QStringLiteral("ghs_sn"), QStringLiteral("jxc_ghsxx"),
            QStringLiteral("ghs_sn"), QStringLiteral("ghs"), QStringLiteral("j_kmmc"),
            QStringLiteral("j_yhje"), QStringLiteral("j_yfje"), QStringLiteral("j_sfje"),
            QStringLiteral("j_jsfs"),
            QStringLiteral("单据%1的经手人、供货商或仓库资料不存在，不能审核！"), false, &AuditPurchaseIn};
}

DocAudit purchaseReturn()
{
    return {QStringLiteral("CT"), QStringLiteral("jxc_thd"), QStringLiteral("jxc_thsp"),
            QStringLiteral("th_status"), QStringLiteral("th_checker"), QStringLiteral("th_chkrq"),
            QStringLiteral("th_thrq"), QStringLiteral("ghs_sn"), QStringLiteral("jxc_ghsxx"),
            QStringLiteral("ghs_sn"), QStringLiteral("ghs"), QStringLiteral("th_kmmc"), QString(),
            QStringLiteral("th_yfje"), QStringLiteral("th_sfje"), QStringLiteral("th_jsfs"),
            QStringLiteral("单据%1的经手人、供货商或仓库资料不存在，不能审核！"), true,
            &AuditPurchaseReturn};
}

DocAudit sale()
{
    return {QStringLiteral("XS"), QStringLiteral("jxc_lsxsd"), QStringLiteral("jxc_lsxssp"),
            QStringLiteral("ls_status"), QStringLiteral("ls_checker"), QStringLiteral("ls_chkrq"),
            QStringLiteral("ls_xsrq"), QStringLiteral("kh_sn"), QStringLiteral("jxc_khxx"),
            QStringLiteral("kh_sn"), QStringLiteral("kh"), QStringLiteral("ls_kmmc"),
            QStringLiteral("ls_yhje"), QStringLiteral("ls_yfje"), QStringLiteral("ls_sfje"),
            QStringLiteral("ls_jsfs"),
            QStringLiteral("单据%1的经手人、客户或仓库资料不存在，不能审核！"), true, &AuditSale};
}

DocAudit salesReturn()
{
    return {QStringLiteral("XT"), QStringLiteral("jxc_xsthd"), QStringLiteral("jxc_xsthsp"),
            QStringLiteral("th_status"), QStringLiteral("th_checker"), QStringLiteral("th_chkrq"),
            QStringLiteral("th_xsrq"), QStringLiteral("kh_sn"), QStringLiteral("jxc_khxx"),
            QStringLiteral("kh_sn"), QStringLiteral("kh"), QStringLiteral("th_kmmc"), QString(),
            QStringLiteral("th_yfje"), QStringLiteral("th_sfje"), QStringLiteral("th_jsfs"),
            QStringLiteral("单据%1的经手人、客户或仓库资料不存在，不能审核！"), false,
            &AuditSalesReturn};
}

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

AuditResult auditDocument(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                          const QString &number, const DocAudit &d, bool confirmed)
{
    return guarded(number, [&](AuditResult &result) {
        Transaction tx(db);
        const QVector<RowTexts> copies = ReadRows(
            db,
            QStringLiteral("select id, %1 as partner, %2 as account, %3 as docdate, "
                           "coalesce(%4, 0) as status from %5 where gl_djh = ? order by id")
                .arg(d.partnerColumn, d.account, d.date, d.status, d.header),
            {number});
        if (copies.isEmpty())
            refuse(notFoundText(number));
        const QStringList goods = sortedUnique([&] {
            QStringList list;
            for (const RowTexts &r : ReadRows(db,
                                              QStringLiteral("select distinct g_sn from %1 where gl_djh = ?")
                                                  .arg(d.lines),
                                              {number}))
                list << r.value(QStringLiteral("g_sn"));
            return list;
        }());
        const bool hasLines = !QueryScalar(db, QStringLiteral("select id from %1 where gl_djh = ? limit 1")
                                                   .arg(d.lines),
                                           {number})
                                   .isEmpty();

        PostingLockKeys keys;
        keys.headers.push_back({d.header, number});
        keys.goods = goods;
        keys.partnerType = d.partnerType;
        const auto pending = std::find_if(copies.begin(), copies.end(), [](const RowTexts &r) {
            return r.value(QStringLiteral("status")) == QLatin1String("0");
        });
        keys.partner = (pending != copies.end() ? *pending : copies.first()).value(QStringLiteral("partner"));
        QStringList accounts, stems;
        for (const RowTexts &r : copies) {
            accounts << r.value(QStringLiteral("account"));
            if (hasLines)
                stems << numberStem(d.type, r.value(QStringLiteral("docdate")));
        }
        keys.cashAccounts = sortedUnique(accounts);
        keys.numberStems = sortedUnique(stems);
        LockForPosting lock(db, keys);

        const QString check = CheckBeforeAudit(number, copies.first().value(QStringLiteral("docdate")));
        if (check != QLatin1String("ok"))
            refuse(check);

        QString current = number;
        if (hasLines)
            current = FixDuplicateDjh(db, state, clock, number, d.type, state.CurrentOperatorName);
        result.number = current;

        // The copies of the number as they stand now, under the locks.
        const QVector<RowTexts> now = ReadRows(
            db,
            QStringLiteral("select id, coalesce(%1, 0) as status, ck_sn, %2 as due, %3 as paid, "
                           "%4 as settlement from %5 where gl_djh = ? order by id")
                .arg(d.status, d.due, d.paid, d.settlement, d.header),
            {current});
        for (const RowTexts &r : now) {
            if (r.value(QStringLiteral("status")) != QLatin1String("0"))
                refuse(alreadyAuditedText(current));
        }
        if (now.isEmpty())
            refuse(notFoundText(current));
        const RowTexts &first = now.first();
        const QString firstId = first.value(QStringLiteral("id"));

        const QString found = QueryScalar(
            db,
            QStringLiteral("select a.id from %1 a join jxc_user b on a.u_sn = b.u_sn "
                           "join %2 c on a.%3 = c.%4 join jxc_ckxx d on a.ck_sn = d.ck_sn "
                           "where a.id = ? limit 1")
                .arg(d.header, d.partnerTable, d.partnerColumn, d.partnerKey),
            {firstId});
        if (found.isEmpty())
            refuse(d.missingText.arg(current));

        if (d.checksStock) {
            const QString sentence = CheckNegativeStock(db, state, clock, current,
                                                        first.value(QStringLiteral("ck_sn")), d.type);
            if (!sentence.isEmpty()) {
                if (!IsTrue(state.AllowNegativeStock))
                    refuse(sentence);
                if (!confirmed)
                    throw Stop{AuditResult::Kind::Question, sentence};
            }
        }

        const QString checker = CutToColumn(d.header, d.checker, state.CurrentOperatorName);
        if (d.discount.isEmpty()) {
            RunSql(db,
                   QStringLiteral("update %1 set %2 = 1, %3 = ?, %4 = ? where id = ?")
                       .arg(d.header, d.status, d.checker, d.checkDate),
                   {checker, clock.todayText(), firstId});
        } else {
            // Settled by payment, what was not paid is the discount; money left on credit is none.
            const double discount = SettlesByPayment(first.value(QStringLiteral("settlement")))
                                        ? Num(first, QStringLiteral("due")) - Num(first, QStringLiteral("paid"))
                                        : 0.0;
            RunSql(db,
                   QStringLiteral("update %1 set %2 = 1, %3 = ?, %4 = ?, %5 = ? where id = ?")
                       .arg(d.header, d.status, d.checker, d.checkDate, d.discount),
                   {checker, clock.todayText(), discount, firstId});
        }
        RunSql(db,
               QStringLiteral("delete from %1 where gl_djh = ? and coalesce(%2, 0) = 0 and id <> ?")
                   .arg(d.header, d.status),
               {current, firstId});

        d.post(db, state, clock, current);
        tx.commit();
    });
}

struct SettlementAudit
{
    QString prefix;          // write-off prefix YS / YF
    QString partnerType, partnerTable, partnerKey;
    QString missingText;
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
        keys.partnerType = s.partnerType;
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
                .arg(s.partnerTable, s.partnerKey),
            {reg.value(QStringLiteral("id"))});
        if (found.isEmpty())
            refuse(s.missingText.arg(number));

        s.post(db, state, clock, number);
        tx.commit();
    });
}

} // namespace audit_impl

AuditResult RunAuditPurchaseIn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                               const QString &number)
{
    return audit_impl::auditDocument(db, state, clock, number, audit_impl::purchaseIn(), false);
}

AuditResult RunAuditPurchaseReturn(const QSqlDatabase &db, const LoginState &state,
                                   const Clock &clock, const QString &number,
                                   bool confirmedNegativeStock)
{
    return audit_impl::auditDocument(db, state, clock, number, audit_impl::purchaseReturn(),
                                     confirmedNegativeStock);
}

AuditResult RunAuditSale(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                         const QString &number, bool confirmedNegativeStock)
{
    return audit_impl::auditDocument(db, state, clock, number, audit_impl::sale(),
                                     confirmedNegativeStock);
}

AuditResult RunAuditSalesReturn(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                const QString &number)
{
    return audit_impl::auditDocument(db, state, clock, number, audit_impl::salesReturn(), false);
}

AuditResult RunAuditReceipt(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number)
{
    return audit_impl::auditSettlement(
        db, state, clock, number,
        {QStringLiteral("YS"), QStringLiteral("kh"), QStringLiteral("jxc_khxx"), QStringLiteral("kh_sn"),
         QStringLiteral("单据%1的经手人或客户资料不存在，不能审核！"), &AuditReceipt});
}

AuditResult RunAuditPayment(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                            const QString &number)
{
    return audit_impl::auditSettlement(
        db, state, clock, number,
        {QStringLiteral("YF"), QStringLiteral("ghs"), QStringLiteral("jxc_ghsxx"), QStringLiteral("ghs_sn"),
         QStringLiteral("单据%1的经手人或供货商资料不存在，不能审核！"), &AuditPayment});
}
