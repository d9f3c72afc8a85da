#pragma once

// "全部取消" of the audited-document lists: every document of the list cancelled in list order,
// each in its own transaction through the routine of its number (UnauditByNumber) without the
// per-document confirmation; refused ones are counted as not cancelled and the run goes on.

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class Clock;
class Notices;
struct LoginState;

// Nothing on an empty list. Asks "您的操作将取消当前界面中所有已审核的单据，…" once; on Yes
// cancels each number and then shows "取消审核完成，共 <t> 个单据，…取消审核 <c> 个单据，…".
// Returns c, or −1 when nothing ran (no rows, or No).
int RunBulkUnaudit(const QSqlDatabase &db, const LoginState &state, const Clock &clock, Notices &notices,
                   const QStringList &numbers);

// The report shown at the end of a bulk cancel.
QString BulkUnauditReport(int total, int cancelled);
