#include "foundation/schema/register.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/schema/catalog.h"

namespace {

const char *const kRegisterColumns =
    "zt_sn varchar(8), zt_name nvarchar(32), zt_default bit, zt_forbid bit, zt_note nvarchar(32), "
    "zt_dbname varchar(64), zt_dbpwd varchar(16)";

} // namespace

int RegisterColumnWidth(const QString &column)
{
    static const std::vector<schema::Column> columns = schema::ParseColumns(QString::fromLatin1(kRegisterColumns));
    for (const schema::Column &c : columns) {
        if (c.name.compare(column, Qt::CaseInsensitive) == 0)
            return (c.type == ColType::Varchar || c.type == ColType::NVarchar) ? c.width : 0;
    }
    return 0;
}

void CreateRegisterTables(const QSqlDatabase &db)
{
    const Dialect dialect = Dialect::of(db);
    QStringList parts;
    parts << dialect.idColumn();
    for (const schema::Column &c : schema::ParseColumns(QString::fromLatin1(kRegisterColumns)))
        parts << c.name + QLatin1Char(' ') + dialect.columnType(c.type, c.width) + QStringLiteral(" NULL");
    Transaction tx(db);
    DropTableIfExists(db, QStringLiteral("jxc_xtzt"));
    RunSql(db, QStringLiteral("create table jxc_xtzt (%1)").arg(parts.join(QStringLiteral(", "))));
    RunSql(db,
           QStringLiteral("insert into jxc_xtzt (zt_sn, zt_name, zt_default, zt_forbid, zt_note, "
                          "zt_dbname, zt_dbpwd) values (?, ?, ?, ?, ?, ?, ?)"),
           {QStringLiteral("100001"), QStringLiteral("主帐套"), 1, 0, QStringLiteral(""),
            QStringLiteral("jxc.db"), QStringLiteral("")});
    tx.commit();
}
