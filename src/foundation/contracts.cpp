#include "foundation/contracts.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/sqlnames.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>

void DeleteContract(const QSqlDatabase &db, const QString &code)
{
    QString path;
    {
        // As the folder and the name joined; a missing part leaves no path.
        QSqlQuery q = OpenSelect(db,
                                 QStringLiteral("select ht_path, ht_fjname from jxc_htgl where ht_sn = ? "
                                                "and ht_path <> ? order by id limit 1"),
                                 {code, QString::fromUtf8(kRemoteContractFolder)});
        if (q.next() && !q.value(0).isNull() && !q.value(1).isNull())
            path = ValueText(q.value(0)) + ValueText(q.value(1));
    }
    Transaction tx(db);
    RunSql(db, QStringLiteral("delete from jxc_htgl where ht_sn = ?"), {code});
    tx.commit();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        QFile::remove(path);  // a file that cannot be removed stays, without a message
}

void LinkContract(const QSqlDatabase &db, const QString &code, const QString &partner, const QString &number)
{
    RunSql(db, QStringLiteral("update jxc_htgl set ghs_sn = ?, gl_djh = ? where ht_sn = ?"),
           {CutToColumn(QStringLiteral("jxc_htgl"), QStringLiteral("ghs_sn"), partner),
            CutToColumn(QStringLiteral("jxc_htgl"), QStringLiteral("gl_djh"), number), code});
}
