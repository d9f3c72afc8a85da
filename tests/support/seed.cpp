#include "seed.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

qint64 InsertRow(const QSqlDatabase &db, const QString &table, const QVariantMap &values)
{
    QStringList cols, marks;
    QVariantList binds;
    for (auto it = values.begin(); it != values.end(); ++it) {
        cols << it.key();
        marks << QStringLiteral("?");
        binds << it.value();
    }
    return InsertReturningId(db,
                             QStringLiteral("insert into %1 (%2) values (%3)")
                                 .arg(table, cols.join(QLatin1Char(',')), marks.join(QLatin1Char(','))),
                             binds);
}

void SignInAsAdministrator(LoginState &state, const QString &name)
{
    state.CurrentOperatorName = name;
    state.CurrentOperatorSn = QStringLiteral("100001");
    state.CurrentRoleSn = QStringLiteral("100001");
}

QString RowsText(const QSqlDatabase &db, const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = OpenSelect(db, sql, binds);
    QStringList all;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i)
            cells << ValueText(q.value(i));
        all << cells.join(QLatin1Char('|'));
    }
    return all.join(QStringLiteral("; "));
}

QMap<QString, QString> AllRows(const QSqlDatabase &db)
{
    QMap<QString, QString> out;
    for (const QString &table : TableNames(db)) {
        const bool hasId = ColumnExists(db, table, QStringLiteral("id"));
        out.insert(table.toLower(),
                   RowsText(db, QStringLiteral("select * from %1%2").arg(table, hasId ? QStringLiteral(" order by id") : QString())));
    }
    return out;
}
