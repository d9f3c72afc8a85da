#include "purchasing/orderaudit.h"

#include "engine/postinglocks.h"
#include "foundation/db/clock.h"
#include "foundation/db/dberror.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "purchasing/pendingdocedits.h"

#include <QSqlQuery>

#include <functional>

namespace {

PostingLockKeys OrderHeaders(const QString &number)
{
    PostingLockKeys keys;
    keys.headers.emplace_back(QStringLiteral("jxc_cgd"), number);
    return keys;
}

// The first header of the number (lowest id): its id and status; id 0 when there is none.
std::pair<qint64, int> FirstHeader(const QSqlDatabase &db, const QString &number)
{
    QSqlQuery q = OpenSelect(db, QStringLiteral("select id, j_status from jxc_cgd where gl_djh = ? order by id limit 1"),
                             {number});
    if (!q.next())
        return {0, 0};
    return {q.value(0).toLongLong(), q.value(1).toInt()};
}

} // namespace

OrderAudit::OrderAudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

bool OrderAudit::audit(const QString &number)
{
    bool audited = false;
    try {
        Transaction tx(m_db);
        LockForPosting lock(m_db, OrderHeaders(number));
        const auto [first, status] = FirstHeader(m_db, number);
        if (first == 0)
            return false;
        if (status == 1) {
            RunSql(m_db, QStringLiteral("delete from jxc_cgd where gl_djh = ? and id <> ? and j_status <> 1"), {number, first});
        } else {
            RunSql(m_db, QStringLiteral("update jxc_cgd set j_status = 1, j_checker = ?, j_chkrq = ? where id = ?"),
                   {m_state.CurrentOperatorName, m_clock.todayText(), first});
            RunSql(m_db, QStringLiteral("delete from jxc_cgd where gl_djh = ? and id <> ?"), {number, first});
            RunSql(m_db, QStringLiteral("update jxc_cgsp set jh_qxsl = 0, jh_rksl = 0, id2 = id where gl_djh = ?"), {number});
            audited = true;
        }
        tx.commit();
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("审核失败：") + e.text());
        m_failed = true;
        return false;
    }
    return audited;
}

bool OrderAudit::auditSelected(const QString &number)
{
    if (number.isEmpty() || !m_notices.confirm(QStringLiteral("您确认审核当前单据吗？")))
        return false;
    return audit(number);
}

int OrderAudit::auditAll(const QStringList &numbers)
{
    if (numbers.isEmpty()
        || !m_notices.confirm(QStringLiteral("您的操作将审核当前列表中所有未审核的单据，确认吗？\r\n\r\n"
                                             "（如需审核某个单据，请按右键！）")))
        return 0;
    int audited = 0;
    for (const QString &number : numbers) {
        m_failed = false;
        if (audit(number))
            ++audited;
        if (m_failed)
            break;
    }
    return audited;
}

bool OrderAudit::onAudited(const QString &number, const QString &failure, const std::function<void()> &write)
{
    try {
        Transaction tx(m_db);
        RequireAuditedPurchase(m_db, PurchaseKind::Order, number);
        write();
        tx.commit();
    } catch (const PendingStateChanged &e) {
        m_notices.notice(e.text());
        return false;
    } catch (const DbError &e) {
        m_notices.notice(failure + e.text());
        return false;
    }
    return true;
}

bool OrderAudit::cancelAudit(const QString &number, bool detailView)
{
    if (detailView) {
        m_notices.notice(QStringLiteral("取消审核操作只能在“单据表”进行。"));
        return false;
    }
    if (number.isEmpty())
        return false;
    try {
        if (!QueryScalar(m_db, QStringLiteral("select id from jxc_cgsp where gl_djh = ? and jh_rksl > 0 limit 1"), {number})
                 .isEmpty()) {
            m_notices.notice(QStringLiteral("该订单") + number + QStringLiteral("已有进货信息，不能取消审核！"));
            return false;
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("取消审核失败：") + e.text());
        return false;
    }
    if (!m_notices.confirm(QStringLiteral("您的操作将取消审核当前的单据，确认吗？")))
        return false;
    return onAudited(number, QStringLiteral("取消审核失败："), [&] {
        // Goods received between the question and the lock keep the order audited.
        if (!QueryScalar(m_db, QStringLiteral("select id from jxc_cgsp where gl_djh = ? and jh_rksl > 0 limit 1"), {number})
                 .isEmpty())
            throw DbError(QStringLiteral("该订单") + number + QStringLiteral("已有进货信息，不能取消审核！"));
        RunSql(m_db, QStringLiteral("update jxc_cgd set j_status = 0, j_checker = '', j_chkrq = '' where gl_djh = ?"), {number});
    });
}

bool OrderAudit::toggleVoid(const QString &number, bool voided)
{
    if (number.isEmpty())
        return false;
    const QString question = voided ? QStringLiteral("您的操作将取消该单据的作废状态，确认吗？")
                                    : QStringLiteral("单据作废后不能继续导入到采购进货，确认吗？");
    if (!m_notices.confirm(question))
        return false;
    return onAudited(number, QStringLiteral("作废失败："), [&] {
        RunSql(m_db, QStringLiteral("update jxc_cgd set j_qk = ? where gl_djh = ?"), {voided ? 0 : 1, number});
    });
}
