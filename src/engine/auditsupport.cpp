#include "engine/auditsupport.h"

#include "engine/enginebatch.h"
#include "foundation/db/numbers.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/oplog.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <cmath>

namespace postingsupport {

namespace {

// The rows of `sql` as texts, the column names read once.
void readTexts(const QSqlDatabase &db, const QString &sql, const QVariantList &binds, bool firstOnly,
               QVector<RowTexts> &rows)
{
    QStringList names;
    ForEachRow(db, sql, binds, [&](const QSqlQuery &query) {
        if (firstOnly && !rows.isEmpty())
            return;
        if (names.isEmpty()) {
            const QSqlRecord rec = query.record();
            for (int i = 0; i < rec.count(); ++i)
                names << rec.fieldName(i).toLower();
        }
        RowTexts row;
        row.reserve(names.size());
        for (int i = 0; i < names.size(); ++i)
            row.insert(names.at(i), ValueText(query.value(i)));
        rows.append(row);
    });
}

} // namespace

RowTexts ReadFirstRow(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QVector<RowTexts> rows;
    readTexts(db, sql, binds, true, rows);
    return rows.isEmpty() ? RowTexts() : rows.first();
}

QVector<RowTexts> ReadRows(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QVector<RowTexts> rows;
    readTexts(db, sql, binds, false, rows);
    return rows;
}

double Num(const RowTexts &row, const QString &column)
{
    return TextToNumber(row.value(column));
}

QString CutSql(const QString &table, const QString &column, const QString &expr)
{
    const int width = ColumnWidth(table, column);
    if (width <= 0)
        return expr;
    return QStringLiteral("substr(%1, 1, %2)").arg(expr).arg(width);
}

qint64 InsertRow(const QSqlDatabase &db, const QString &table, const ColumnValues &values)
{
    QStringList columns;
    QStringList marks;
    QVariantList binds;
    for (const auto &cv : values) {
        columns << cv.first;
        marks << QStringLiteral("?");
        if (cv.second.typeId() == QMetaType::QString)
            binds << CutToColumn(table, cv.first, cv.second.toString());
        else
            binds << cv.second;
    }
    return InsertReturningId(db,
                             QStringLiteral("insert into %1 (%2) values (%3)")
                                 .arg(table, columns.join(QStringLiteral(", ")),
                                      marks.join(QStringLiteral(", "))),
                             binds);
}

namespace {

// A column of the default warehouse: the first marked default, else the first of all.
QString defaultWarehouse(const QSqlDatabase &db, const QString &column)
{
    QString value = QueryScalar(
        db, QStringLiteral("select %1 from jxc_ckxx where ck_default <> 0 order by id limit 1").arg(column));
    if (value.isEmpty())
        value = QueryScalar(db, QStringLiteral("select %1 from jxc_ckxx order by id limit 1").arg(column));
    return value;
}

} // namespace

QString DefaultWarehouseSn(const QSqlDatabase &db)
{
    return defaultWarehouse(db, QStringLiteral("ck_sn"));
}

QString DefaultWarehouseName(const QSqlDatabase &db)
{
    return defaultWarehouse(db, QStringLiteral("ck_name"));
}

bool SettlesByPayment(const QString &jsfsText)
{
    return jsfsText.trimmed() == QLatin1String("0");
}

QString GuardedDivSql(const QString &num, const QString &den)
{
    return QStringLiteral("(case when coalesce(%2, 0) = 0 then %1 else %1 / %2 end)").arg(num, den);
}

} // namespace postingsupport
