#include "foundation/oplog.h"

#include "foundation/db/clock.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

QString LeftCharacters(const QString &text, int length)
{
    int units = 0;
    for (int taken = 0; taken < length && units < text.size(); ++taken) {
        if (text.at(units).isHighSurrogate() && units + 1 < text.size()
            && text.at(units + 1).isLowSurrogate())
            units += 2;
        else
            units += 1;
    }
    return text.left(units);
}

void WriteLog(const QSqlDatabase &db, const LoginState &state, const Clock &clock,
              const QString &sentence)
{
    RunSql(db, QStringLiteral("insert into jxc_log (log_time, a_name, log_note) values (?, ?, ?)"),
           {clock.nowText(), state.CurrentOperatorName, LeftCharacters(sentence, kLogNoteLength)});
}

void IncUserPurchaseCount(const QSqlDatabase &db, const QString &employeeSn)
{
    RunSql(db, QStringLiteral("update jxc_user set u_cgpl = coalesce(u_cgpl, 0) + 1 where u_sn = ?"),
           {employeeSn});
}

void IncUserSalesCount(const QSqlDatabase &db, const QString &employeeSn)
{
    RunSql(db, QStringLiteral("update jxc_user set u_xspl = coalesce(u_xspl, 0) + 1 where u_sn = ?"),
           {employeeSn});
}
