#include "sales/saleaudit.h"

#include "engine/audit.h"
#include "engine/pendingdocs.h"
#include "engine/stockcheck.h"
#include "foundation/db/dberror.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/loginstate.h"
#include "foundation/notices.h"
#include "foundation/numbering.h"
#include "sales/salesave.h"

#include <QSqlQuery>

SaleAuditRules::SaleAuditRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

QString SaleAuditRules::checkDj(const QString &number)
{
    bool confirmed = false;
    try {
        if (GetFirstId(m_db, QStringLiteral("jxc_lsxssp"), QStringLiteral("gl_djh"), number).isEmpty())
            return QString();
        QSqlQuery header = OpenSelect(m_db,
                                      QStringLiteral("select ls_status, ck_sn, kh_sn, ls_jsfs, ls_yfje, ls_sfje "
                                                     "from jxc_lsxsd where gl_djh = ? order by id"),
                                      {number});
        if (!header.next())
            return QString();
        const int status = header.value(0).toInt();
        const QString warehouse = header.value(1).toString();
        const QString customer = header.value(2).toString();
        const int settle = header.value(3).toInt();
        const double due = header.value(4).toDouble();
        const double received = header.value(5).toDouble();
        header.finish();
        if (status == 1) {
            // Audited already: its stray pending copies go, nothing else happens.
            Transaction tx(m_db);
            RunSql(m_db, QStringLiteral("delete from jxc_lsxsd where gl_djh = ? and ls_status = 0"), {number});
            tx.commit();
            return QString();
        }
        const StockAnswer stock =
            AskNegativeStock(m_db, m_state, m_clock, m_notices, number, warehouse, QStringLiteral("XS"));
        if (stock == StockAnswer::Stopped)
            return QString();
        confirmed = stock == StockAnswer::Confirmed;
        if (settle == 1 && IsTrue(m_state.WarnShortPrepayment)) {
            const QString question = PrepaymentShortQuestion(m_db, m_state, m_clock, customer, due, received);
            if (!question.isEmpty() && !m_notices.confirm(question))
                return QString();
        }
    } catch (const DbError &e) {
        m_notices.notice(QStringLiteral("审核失败：") + e.text());
        return QString();
    }
    AuditResult r = RunAuditSale(m_db, m_state, m_clock, number, confirmed);
    if (r.kind == AuditResult::Kind::Question) {
        // The stock changed meanwhile: asked again, the audit repeated when answered Yes.
        if (!m_notices.confirm(r.text))
            return QString();
        r = RunAuditSale(m_db, m_state, m_clock, number, true);
    }
    if (r.audited())
        return r.number;
    if (!r.text.isEmpty() && r.kind != AuditResult::Kind::Question)
        m_notices.notice(r.text);
    return QString();
}

bool SaleAuditRules::auditSelected(const QString &number)
{
    return AuditSelectedPending(m_notices, number, [this](const QString &n) { return !checkDj(n).isEmpty(); });
}

int SaleAuditRules::auditAll(const QList<QPair<QString, QString>> &sales)
{
    return AuditAllPending(m_notices, sales, [this](const QString &n) { return !checkDj(n).isEmpty(); });
}
