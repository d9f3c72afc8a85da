#include "foundation/contracts.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

void LinkContract(const QSqlDatabase &db, const QString &code, const QString &partner, const QString &number)
{
    RunSql(db, QStringLiteral("update jxc_htgl set ghs_sn = ?, gl_djh = ? where ht_sn = ?"), {partner, number, code});
}

void DeleteContract(const QSqlDatabase &db, const QString &code)
{
    QString file;
    {
        QSqlQuery q = OpenSelect(db, QStringLiteral("select ht_path, ht_fjname from jxc_htgl where ht_sn = ?"), {code});
        if (q.next() && q.value(0).toString() != QStringLiteral("远程FTP服务器") && !q.value(0).toString().isEmpty())
            file = q.value(0).toString() + q.value(1).toString();
    }
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_htgl where ht_sn = ?"), {code});
    tx.commit();
    if (!file.isEmpty() && QFileInfo(file).isFile())
        QFile::remove(file);
}
