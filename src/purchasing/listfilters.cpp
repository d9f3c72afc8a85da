#include "purchasing/listfilters.h"

#include "foundation/db/dialect.h"

QString PeriodEnd(const QString &to)
{
    return to + QStringLiteral(" 23:59:00");
}

QString ContainsAny(const QSqlDatabase &db, const QStringList &columns, const QString &text, QVariantList &binds)
{
    if (text.isEmpty())
        return QString();
    const Dialect dialect = Dialect::of(db);
    QStringList terms;
    const QString pattern = Dialect::containsPattern(text);
    for (const QString &c : columns) {
        terms << dialect.likeClause(c);
        binds << pattern;
    }
    return QStringLiteral(" and (") + terms.join(QStringLiteral(" or ")) + QLatin1Char(')');
}
