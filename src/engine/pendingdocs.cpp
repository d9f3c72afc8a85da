#include "engine/pendingdocs.h"

#include "engine/enginebatch.h"
#include "engine/pendingdocument.h"
#include "foundation/contracts.h"
#include "foundation/db/dberror.h"
#include "foundation/db/dialect.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/oplog.h"
#include "foundation/rights.h"
#include "foundation/sanitize.h"
#include "foundation/sqlnames.h"

#include <QSqlQuery>

ListStatement PendingListStatement(const QSqlDatabase &db, const LoginState &state, const PendingDocDescription &d,
                                   const QString &key, const QString &partner, bool descending)
{
    const PartnerSide &p = *d.partner;
    ListStatement st;
    const QString owed = d.owed ? QStringLiteral(", a.%1 - a.%2 - a.%3 as wfje")
                                      .arg(d.headerColumn("yfje"), d.headerColumn("sfje"), d.headerColumn("yhje"))
                                : QString();
    st.body = QStringLiteral("select a.*%1, b.%2, c.ck_name, e.u_name "
                             "from %3 a left join %4 b on b.%5 = a.%5 "
                             "left join jxc_ckxx c on c.ck_sn = a.ck_sn left join jxc_user e on e.u_sn = a.u_sn "
                             "where a.%6 = 0")
                  .arg(owed, p.name, d.type.headerTable, p.table, p.key, d.statusColumn);
    st.body += d.listCondition;
    if (state.BindOperatorWarehouse == QLatin1String("1") && !state.isAdministrator())
        st.body += QStringLiteral(" and ") + WarehouseBindingCondition(db, state, QStringLiteral("a.ck_sn"), st.binds);
    QString who = SafeText(partner.trimmed());
    if (d.allPartnersWords.contains(who))
        who.clear();
    st.body += ContainsAnyCondition(db, {QStringLiteral("b.") + p.name, QStringLiteral("b.") + d.partnerShortCode, QStringLiteral("a.") + p.key},
                           who, st.binds);
    st.body += ContainsAnyCondition(db, {QStringLiteral("a.gl_djh"), QStringLiteral("c.ck_name"), QStringLiteral("a.ck_sn"),
                                     QStringLiteral("a.") + d.noteColumn},
                           SafeText(key.trimmed()), st.binds);
    const QString date = QStringLiteral("a.") + d.dateColumn;
    st.order = descending ? date + QStringLiteral(" desc, a.gl_djh desc, a.id desc") : date + QStringLiteral(", a.gl_djh, a.id");
    return st;
}

void ResumPendingDocument(const QSqlDatabase &db, const LoginState &state, const PendingDocDescription &d,
                          const QString &number)
{
    Transaction tx(db);
    const QString dueAmount = d.reservedGoods.isEmpty()
                                  ? d.lineAmount
                                  : QStringLiteral("case when g_sn <> ? then %1 else 0 end").arg(d.lineAmount);
    const QVariantList binds = d.reservedGoods.isEmpty() ? QVariantList{number} : QVariantList{d.reservedGoods, number};
    QSqlQuery sums = OpenSelect(db,
                                QStringLiteral("select sum(%1), sum(%2) from %3 where gl_djh = ?")
                                    .arg(dueAmount, d.lineAmount, d.type.linesTable),
                                binds);
    double due = 0;
    double total = 0;
    if (sums.next()) {
        due = sums.value(0).toDouble();
        total = sums.value(1).toDouble();
    }
    sums.finish();
    if (IsTrue(state.RoundTotals)) {
        const int n = engine::AmountDecimals(state);
        due = RoundTo(due, n);
        total = RoundTo(total, n);
    }
    due *= d.amountSign;
    total *= d.amountSign;
    const QString settle = QueryScalar(
        db, QStringLiteral("select %1 from %2 where gl_djh = ? order by id").arg(d.headerColumn("jsfs"), d.type.headerTable),
        {number});
    const bool keepPaid = settle == QLatin1String("1") && d.paidDefault && IsTrue(state.*d.paidDefault);
    if (keepPaid)
        RunSql(db, QStringLiteral("update %1 set %2 = ? where gl_djh = ?").arg(d.type.headerTable, d.headerColumn("yfje")),
               {due, number});
    else
        RunSql(db,
               QStringLiteral("update %1 set %2 = ?, %3 = ? where gl_djh = ?")
                   .arg(d.type.headerTable, d.headerColumn("yfje"), d.headerColumn("sfje")),
               {due, total, number});
    tx.commit();
}

PendingDocumentEdits::PendingDocumentEdits(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                           Notices &notices, const PendingDocDescription &d)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices), m_doc(d)
{
}

PendingEditResult PendingDocumentEdits::run(const QString &number, const std::function<void(PendingEditResult &)> &write)
{
    PendingEditResult result;
    result.number = number;
    try {
        Transaction tx(m_db);
        const QString refusal = LockPendingDocument(m_db, m_doc.type.headerTable, m_doc.statusColumn, number);
        if (!refusal.isEmpty()) {
            m_notices.notice(refusal);
            result.status = PendingEditResult::Status::Refused;
            return result;
        }
        write(result);
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("删除失败：") + e.text());
        result.status = PendingEditResult::Status::Failed;
    }
    return result;
}

PendingEditResult PendingDocumentEdits::deleteLine(const QString &number, qint64 lineId)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除当前选中的商品吗！")))
        return {PendingEditResult::Status::Declined, number};
    const QString lines = m_doc.type.linesTable;
    return run(number, [&](PendingEditResult &result) {
        RunSql(m_db, QStringLiteral("delete from %1 where id = ? and gl_djh = ?").arg(lines), {lineId, number});
        const int left =
            QueryScalar(m_db, QStringLiteral("select count(*) from %1 where gl_djh = ?").arg(lines), {number}).toInt();
        if (left > 0) {
            ResumPendingDocument(m_db, m_state, m_doc, number);
            return;
        }
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.headerTable), {number});
        if (m_doc.logsEmptiedDocument)
            WriteLog(m_db, m_state, m_clock, QStringLiteral("因删除单据的所有商品而删除%1：%2").arg(m_doc.logName, number));
        if (m_doc.release)
            m_doc.release(m_db, number);
        result.number.clear();
    });
}

PendingEditResult PendingDocumentEdits::deleteDocument(const QString &number)
{
    if (!m_notices.confirm(QStringLiteral("您确定要删除“待审核”单据吗！")))
        return {PendingEditResult::Status::Declined, number};
    return run(number, [&](PendingEditResult &result) {
        QString contract;
        if (m_doc.contracts)
            contract = QueryScalar(m_db,
                                   QStringLiteral("select coalesce(max(ht_sn), '') from %1 where gl_djh = ?")
                                       .arg(m_doc.type.headerTable),
                                   {number})
                           .trimmed();
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.linesTable), {number});
        RunSql(m_db, QStringLiteral("delete from %1 where gl_djh = ?").arg(m_doc.type.headerTable), {number});
        WriteLog(m_db, m_state, m_clock,
                 QStringLiteral("删除%1：%2").arg(m_doc.deleteLogName.isEmpty() ? m_doc.logName : m_doc.deleteLogName, number));
        if (m_doc.release)
            m_doc.release(m_db, number);
        if (!contract.isEmpty())
            DeleteContract(m_db, contract);
        result.number.clear();
    });
}

bool AuditSelectedPending(Notices &notices, const QString &number, const std::function<bool(const QString &)> &audit)
{
    if (number.isEmpty() || !notices.confirm(QStringLiteral("您的操作将审核当前选中的单据，确认吗？")))
        return false;
    return audit(number);
}

int AuditAllPending(Notices &notices, const QList<QPair<QString, QString>> &documents,
                    const std::function<bool(const QString &)> &audit)
{
    if (documents.isEmpty()
        || !notices.confirm(QStringLiteral("您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n"
                                           "（如需审核某个单据，请按右键！）")))
        return 0;
    int audited = 0;
    for (const auto &document : documents) {
        const QString check = CheckBeforeAudit(document.first, document.second);
        if (check != QLatin1String("ok")) {
            notices.notice(check);
            continue;
        }
        if (audit(document.first))
            ++audited;
    }
    return audited;
}
