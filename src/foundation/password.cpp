#include "foundation/password.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>

QString StoredPasswordForm(const QString &typed)
{
    return SafeTextKeepMath(typed.trimmed());
}

bool PasswordMatches(const QSqlDatabase &db, const QString &operatorName, const QString &typed)
{
    const QString given = StoredPasswordForm(typed);
    QSqlQuery rows = OpenSelect(db, QStringLiteral("select a_pwd from jxc_admin where a_name = ?"),
                                {operatorName});
    while (rows.next()) {
        if (ValueText(rows.value(0)).compare(given, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
