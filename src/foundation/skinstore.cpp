#include "foundation/skinstore.h"

#include "foundation/db/sqlroutines.h"

QString ReadOrInsertOperatorSkin(const QSqlDatabase &db, const QString &operatorName)
{
    QSqlQuery q = OpenSelect(db, QStringLiteral("select skin_name from jxc_skin where a_name = ?"),
                             {operatorName});
    if (q.next())
        return ValueText(q.value(0));
    RunSql(db, QStringLiteral("insert into jxc_skin (skin_name, a_name) values (?, ?)"),
           {QStringLiteral("iMaginary"), operatorName});
    return QStringLiteral("iMaginary");
}

void StoreOperatorSkin(const QSqlDatabase &db, const QString &operatorName, const QString &skin)
{
    RunSql(db, QStringLiteral("update jxc_skin set skin_name = ? where a_name = ?"), {skin, operatorName});
}
