#pragma once

// The pending sales (saved, not audited) as the page "待审核销售单" shows and changes them,
// through the shared pending-document rules (engine/pendingdocs.h) with the sale's description:
// the list and the lines of its current row, the header re-sum after a line changed
// ("updateCheckShdjYfje"), the deletion of a line or of the whole sale.

#include "engine/pendingdocs.h"
#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class Notices;
struct LoginState;

// The sale described to the pending-document rules: jxc_lsxsd (ls_ columns, ls_xsrq, ls_status,
// ls_note, ls_dhbz 0 in the list), lines ls_zje, the customer side (kh_jm; "全部客户" and
// "当前客户" mean every customer), "商品销售单" in the log, contracts, SalePaidDefault.
PendingDocDescription SalePendingDescription();

class PendingSaleRules
{
public:
    PendingSaleRules(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices);

    // "btnSearch2Click": the pending sales with wfje, kh_name, ck_name and u_name.
    ListStatement list(const QString &key, const QString &customer, bool descending) const;
    // "setShspList": every operator's lines of `number`, by id.
    ListStatement lines(const QString &number) const;

    // "updateCheckShdjYfje": due and received of the header from its lines (received kept for a
    // sale settled to receivables with SalePaidDefault on). Joins an open transaction.
    void updateCheckShdjYfje(const QString &number);

    // "删除商品" and "删除单据".
    PendingEditResult deleteLine(const QString &number, qint64 lineId);
    PendingEditResult deleteDocument(const QString &number);

private:
    QSqlDatabase m_db;
    const LoginState &m_state;
    const Clock &m_clock;
    Notices &m_notices;
};
