#include "foundation/rowvalues.h"

#include "foundation/db/sqlroutines.h"

#include <QSqlQuery>

namespace {

QVariant stored(const QString &table, const QString &column, const QVariant &value)
{
    CheckColumnName(table, column);
    if (value.typeId() == QMetaType::QString)
        return CutToColumn(table, column, value.toString());
    return value;
}

} // namespace

qint64 InsertValues(const QSqlDatabase &db, const QString &table, const QVariantMap &values)
{
    CheckTableName(table);
    QStringList columns;
    QStringList marks;
    QVariantList binds;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        binds << stored(table, it.key(), it.value());
        columns << it.key();
        marks << QStringLiteral("?");
    }
    return InsertReturningId(db,
                             QStringLiteral("insert into %1 (%2) values (%3)")
                                 .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
                             binds);
}

int UpdateValues(const QSqlDatabase &db, const QString &table, const QVariantMap &values, const SqlWhere &where)
{
    CheckTableName(table);
    if (values.isEmpty())
        return 0;
    QStringList sets;
    QVariantList binds;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        binds << stored(table, it.key(), it.value());
        sets << it.key() + QStringLiteral(" = ?");
    }
    binds << where.binds;
    return RunSql(db, QStringLiteral("update %1 set %2%3").arg(table, sets.join(QStringLiteral(", ")), CheckedWhere(where)),
                  binds);
}

QVariantMap ReadValues(const QSqlDatabase &db, const QString &table, const QStringList &columns, const SqlWhere &where)
{
    CheckTableName(table);
    for (const QString &c : columns)
        CheckColumnName(table, c);
    QSqlQuery q = OpenSelect(db,
                             QStringLiteral("select %1 from %2%3").arg(columns.join(QStringLiteral(", ")), table,
                                                                        CheckedWhere(where)),
                             where.binds);
    QVariantMap out;
    if (!q.next())
        return out;
    for (int i = 0; i < columns.size(); ++i)
        out.insert(columns.at(i), q.value(i));
    return out;
}
