#include "purchasing/docdatechange.h"

#include "engine/postinglocks.h"
#include "engine/unaudit.h"
#include "engine/postpurchase.h"
#include "engine/stockcheck.h"
#include "foundation/contracts.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "foundation/rowvalues.h"
#include "foundation/sanitize.h"
#include "purchasing/pendingdocedits.h"
#include "purchasing/purchaselistdoc.h"

#include <QSqlQuery>

DocDateChangeRules::DocDateChangeRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                       Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

std::optional<DateChangeDoc> DocDateChangeRules::open(const QString &number) const
{
    DateChangeDoc d;
    d.kind = number.startsWith(QLatin1String("CT"))   ? PurchaseKind::Return
             : number.startsWith(QLatin1String("CD")) ? PurchaseKind::Order
                                                      : PurchaseKind::Receipt;
    const PurchaseListDoc doc = PurchaseListDocOf(d.kind);
    const bool ret = d.kind == PurchaseKind::Return;
    const QString p = doc.headerPrefix;
    // The order keeps no invoice and no freight; the return no contract, freight or source number.
    const QString invoice = d.kind == PurchaseKind::Order ? QStringLiteral("'' as fpno, 0 as fpje")
                                                          : QStringLiteral("a.%1fpno, a.%1fpje").arg(p);
    const QString receiptOnly = ret ? QStringLiteral("'' as ht_sn, 0 as yf, 0 as bzf, '' as yffs, '' as sn2")
                                : d.kind == PurchaseKind::Order
                                    ? QStringLiteral("a.ht_sn, 0 as yf, 0 as bzf, '' as yffs, a.gl_djh2")
                                    : QStringLiteral("a.ht_sn, a.j_yf, a.j_bzf, a.j_yffs, a.gl_djh2");
    QSqlQuery q = OpenSelect(m_db,
                             QStringLiteral("select a.%1, a.ghs_sn, b.ghs_name, c.ck_name, e.u_name, a.%2note, a.%2jsfs, "
                                            "a.%2kmmc, a.%2yfje, a.%2sfje, %5, %3 from %4 a "
                                            "left join jxc_ghsxx b on b.ghs_sn = a.ghs_sn left join jxc_ckxx c on c.ck_sn = a.ck_sn "
                                            "left join jxc_user e on e.u_sn = a.u_sn where a.gl_djh = ? order by a.id")
                                 .arg(doc.dateColumn, p, receiptOnly, doc.type.headerTable, invoice),
                             {number});
    if (!q.next())
        return std::nullopt;
    const double sign = ret ? -1.0 : 1.0;
    d.oldNumber = number;
    d.storedDateTime = q.value(0).toString();
    d.oldDay = d.storedDateTime.left(10);
    d.supplierSn = q.value(1).toString();
    d.supplierName = q.value(2).toString();
    d.warehouseName = q.value(3).toString();
    d.handlerName = q.value(4).toString();
    d.note = q.value(5).toString();
    d.settleIndex = q.value(6).toInt();
    d.accountName = q.value(7).toString();
    d.payable = sign * q.value(8).toDouble();
    d.paid = sign * q.value(9).toDouble();
    d.invoiceNo = q.value(10).toString();
    d.invoiceAmount = q.value(11).toDouble();
    d.contract = q.value(12).toString().trimmed();
    d.freight = q.value(13).toDouble();
    d.packing = q.value(14).toDouble();
    d.wePay = q.value(15).toString() == QStringLiteral("我方付运费");
    d.originalNo = q.value(16).toString();
    return d;
}

QString DocDateChangeRules::numberForDay(const DateChangeDoc &doc, const QString &day) const
{
    if (day == doc.oldDay)
        return doc.oldNumber;
    const DocType type = PurchaseDocType(doc.kind);
    return GetNewDjhByDate(m_db, type.linesTable, QStringLiteral("gl_djh"), type.prefix, day);
}

PurchaseResult DocDateChangeRules::save(const DateChangeDoc &doc, const QString &shownNumber, const DateChangeInput &in,
                                        DateChangeMode mode)
{
    try {
        return run(doc, shownNumber, in, mode);
    } catch (const DbError &e) {
        // A read before the transaction failed.
        m_notices.notice(QStringLiteral("更改日期失败：") + e.text());
        return {PurchaseStatus::Failed, doc.oldNumber, 0};
    }
}

PurchaseResult DocDateChangeRules::run(const DateChangeDoc &doc, const QString &shownNumber, const DateChangeInput &in,
                                       DateChangeMode mode)
{
    const bool audited = mode == DateChangeMode::Audited;
    PurchaseResult result;
    result.number = doc.oldNumber;
    if (in.supplierSn.isEmpty() || in.supplierText.trimmed() != in.supplierName) {
        m_notices.notice(QStringLiteral("请选择供货商！"));
        result.status = PurchaseStatus::Refused;
        return result;
    }
    const bool ret = doc.kind == PurchaseKind::Return;
    const bool order = doc.kind == PurchaseKind::Order;
    const UnauditKind unauditKind = ret ? UnauditKind::PurchaseReturn : UnauditKind::PurchaseIn;
    UnauditOptions unaudit;
    unaudit.keepAudited = true;
    bool returnStockTest = ret;
    if (audited && !order) {
        if (QueryScalar(m_db, QStringLiteral("select count(*) from jxc_ysyfk_dj where gl_djh2 = ?"), {doc.oldNumber}) != QLatin1String("0")) {
            m_notices.notice(QStringLiteral("单据%1已有付款登记，不能修改日期！").arg(doc.oldNumber));
            result.status = PurchaseStatus::Refused;
            return result;
        }
        const QString oldWarehouse = QueryScalar(
            m_db, QStringLiteral("select max(ck_sn) from %1 where gl_djh = ?").arg(PurchaseDocType(doc.kind).headerTable), {doc.oldNumber});
        // Re-posted in the same warehouse, reversal and posting cancel out: no stock test. Moved,
        // the cancel tests the old warehouse (a receipt) and the return the new one below.
        unaudit.skipStockTest = ret || oldWarehouse == in.warehouseSn;
        const UnauditOutcome check = UnauditCheck(unauditKind, m_db, m_state, m_clock, m_notices, doc.oldNumber, unaudit);
        if (check != UnauditOutcome::Done) {
            result.status = check == UnauditOutcome::Declined ? PurchaseStatus::Declined
                            : check == UnauditOutcome::Failed ? PurchaseStatus::Failed
                                                               : PurchaseStatus::Refused;
            return result;
        }
        returnStockTest = ret && oldWarehouse != in.warehouseSn;
    }
    if (returnStockTest) {
        const QString stock = CheckNegativeStock(m_db, m_state, m_clock, doc.oldNumber, in.warehouseSn, QStringLiteral("CT"));
        if (!stock.isEmpty()) {
            if (IsTrue(m_state.AllowNegativeStock)) {
                if (!m_notices.confirm(stock)) {
                    result.status = PurchaseStatus::Declined;
                    return result;
                }
            } else {
                m_notices.notice(stock);
                result.status = PurchaseStatus::Refused;
                return result;
            }
        }
    }
    const PurchaseListDoc listDoc = PurchaseListDocOf(doc.kind);
    const DocType type = listDoc.type;
    const QString p = listDoc.headerPrefix;
    const bool dateChanged = in.day != doc.oldDay;
    QString number = dateChanged ? shownNumber : doc.oldNumber;
    try {
        Transaction tx(m_db);
        PostingLockKeys keys;
        keys.headers.push_back({type.headerTable, doc.oldNumber});
        keys.numberStems << type.prefix + QDate::fromString(in.day, QStringLiteral("yyyy-MM-dd")).toString(QStringLiteral("yyMMdd"));
        LockForPosting lock(m_db, keys);
        if (audited && !order)
            UnauditApply(unauditKind, m_db, m_state, m_clock, doc.oldNumber, unaudit);
        else
            RequirePendingPurchase(m_db, doc.kind, doc.oldNumber);
        if (dateChanged
            && (number.isEmpty() || DjhUsedByOther(m_db, m_state, type.linesTable, QStringLiteral("gl_djh"), number)
                || QueryScalar(m_db, QStringLiteral("select count(*) from %1 where gl_djh = ?").arg(type.headerTable), {number}) != QLatin1String("0")))
            number = GetNewDjhByDate(m_db, type.linesTable, QStringLiteral("gl_djh"), type.prefix, in.day);
        const QString when = dateChanged ? in.day + QLatin1Char(' ') + m_clock.now().toString(QStringLiteral("HH:mm"))
                                         : doc.storedDateTime;
        QVariantMap values{{QStringLiteral("gl_djh"), number},
                           {QStringLiteral("ghs_sn"), in.supplierSn},
                           {QStringLiteral("ck_sn"), in.warehouseSn},
                           {QStringLiteral("u_sn"), in.handlerSn},
                           {listDoc.dateColumn, when},
                           {p + QStringLiteral("note"), SafeTextKeepMath(in.note.trimmed()).left(200)},
                           {p + QStringLiteral("kmmc"), in.accountText}};
        if (!order) {
            values.insert(p + QStringLiteral("fpno"), SafeText(in.invoiceNo.trimmed()));
            values.insert(p + QStringLiteral("fpje"), in.invoiceAmount);
        }
        if (order) {
            values.insert(QStringLiteral("j_yfje"), in.payable);
            values.insert(QStringLiteral("j_sfje"), in.paid);
            values.insert(QStringLiteral("j_jsfs"), in.settleIndex);
            values.insert(QStringLiteral("gl_djh2"), SafeText(in.originalNo.trimmed()));
        } else if (ret) {
            values.insert(QStringLiteral("th_yfje"), -in.payable);
            values.insert(QStringLiteral("th_sfje"), -in.paid);
        } else {
            QString payer;
            if (in.freight > 0 || in.packing > 0)
                payer = in.wePay ? QStringLiteral("我方付运费") : QStringLiteral("对方付运费");
            values.insert(QStringLiteral("j_yfje"), in.payable);
            values.insert(QStringLiteral("j_sfje"), in.paid);
            values.insert(QStringLiteral("j_yf"), in.freight);
            values.insert(QStringLiteral("j_bzf"), in.packing);
            values.insert(QStringLiteral("j_yffs"), payer);
            values.insert(QStringLiteral("j_jsfs"), in.settleIndex);
            values.insert(QStringLiteral("gl_djh2"), SafeText(in.originalNo.trimmed()));
        }
        UpdateValues(m_db, type.headerTable, values, SqlWhere(QStringLiteral("gl_djh = ?"), {doc.oldNumber}));
        RunSql(m_db, QStringLiteral("update %1 set gl_djh = ? where gl_djh = ?").arg(type.linesTable), {number, doc.oldNumber});
        if (doc.kind == PurchaseKind::Receipt && in.settleIndex == 0 && in.payable != in.paid)
            ApplyPurchaseAdjust(m_db, m_state, m_clock, number, in.paid, in.payable);
        if (doc.kind == PurchaseKind::Receipt && !doc.contract.isEmpty())
            LinkContract(m_db, doc.contract, in.supplierSn, number);
        if (ret && number != doc.oldNumber)
            RunSql(m_db, QStringLiteral("update jxc_jhd set j_dhdid = ? where j_dhdid = ?"), {number, doc.oldNumber});
        if (audited && !order) {
            if (ret) {
                AuditPurchaseReturn(m_db, m_state, m_clock, number);
            } else {
                // The discount as the audit fixes it: what was not paid of a receipt settled by paid amount.
                RunSql(m_db, QStringLiteral("update jxc_jhd set j_yhje = case when j_jsfs = 0 then j_yfje - j_sfje else 0 end "
                                            "where gl_djh = ?"),
                       {number});
                AuditPurchaseIn(m_db, m_state, m_clock, number);
            }
        }
        tx.commit();
    } catch (const PendingStateChanged &e) {
        m_notices.notice(e.text());
        result.status = PurchaseStatus::Refused;
        return result;
    } catch (const UnauditRefusal &e) {
        m_notices.notice(e.text());
        result.status = PurchaseStatus::Refused;
        return result;
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("更改日期失败：") + e.text());
        result.status = PurchaseStatus::Failed;
        return result;
    }
    result.number = number;
    return result;
}
