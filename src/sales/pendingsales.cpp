#include "sales/pendingsales.h"

#include "foundation/loginstate.h"
#include "sales/saledoc.h"

PendingDocDescription SalePendingDescription()
{
    PendingDocDescription d;
    d.type = SaleDocType();
    d.headerPrefix = QStringLiteral("ls_");
    d.dateColumn = QStringLiteral("ls_xsrq");
    d.statusColumn = QStringLiteral("ls_status");
    d.noteColumn = QStringLiteral("ls_note");
    d.lineAmount = QStringLiteral("ls_zje");
    d.partner = &CustomerSide();
    d.partnerShortCode = QStringLiteral("kh_jm");
    d.allPartnersWords = {QStringLiteral("全部客户"), QStringLiteral("当前客户")};
    d.listCondition = QStringLiteral(" and a.ls_dhbz = 0");
    d.logName = QStringLiteral("商品销售单");
    d.paidDefault = &LoginState::SalePaidDefault;
    return d;
}

PendingSaleRules::PendingSaleRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
                                   Notices &notices)
    : m_db(db), m_state(state), m_clock(clock), m_notices(notices)
{
}

ListStatement PendingSaleRules::list(const QString &key, const QString &customer, bool descending) const
{
    return PendingListStatement(m_db, m_state, SalePendingDescription(), key, customer, descending);
}

ListStatement PendingSaleRules::lines(const QString &number) const
{
    return SaleLinesStatement(number);
}

void PendingSaleRules::updateCheckShdjYfje(const QString &number)
{
    ResumPendingDocument(m_db, m_state, SalePendingDescription(), number);
}

PendingEditResult PendingSaleRules::deleteLine(const QString &number, qint64 lineId)
{
    return PendingDocumentEdits(m_db, m_state, m_clock, m_notices, SalePendingDescription()).deleteLine(number, lineId);
}

PendingEditResult PendingSaleRules::deleteDocument(const QString &number)
{
    return PendingDocumentEdits(m_db, m_state, m_clock, m_notices, SalePendingDescription()).deleteDocument(number);
}
