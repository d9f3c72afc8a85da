#include "foundation/sqlnames.h"

#include "foundation/db/dialect.h"
#include "foundation/loginstate.h"
#include "foundation/rights.h"
#include "foundation/schema/catalog.h"

#include <QRegularExpression>

#include <stdexcept>

namespace {

[[noreturn]] void sqlnamesRefuse(const QString &what)
{
    throw std::invalid_argument(what.toStdString());
}

} // namespace

bool SqlWhere::isEmpty() const
{
    QString t = text.trimmed();
    if (t.compare(QLatin1String("where"), Qt::CaseInsensitive) == 0)
        return true;
    return t.isEmpty();
}

void CheckTableName(const QString &table)
{
    if (!schema::Catalog::instance().knows(table))
        sqlnamesRefuse(QStringLiteral("未知的数据表：") + table);
}

void CheckColumnName(const QString &table, const QString &column)
{
    CheckTableName(table);
    if (column.compare(QLatin1String("id"), Qt::CaseInsensitive) == 0)
        return;
    if (!schema::Catalog::instance().knows(table, column))
        sqlnamesRefuse(QStringLiteral("未知的数据列：") + table + QLatin1Char('.') + column);
}

QString CheckedSort(const QString &table, const QString &sort)
{
    static const QRegularExpression item(
        QStringLiteral("^\\s*([A-Za-z_][A-Za-z0-9_]*)(\\s+(asc|desc))?\\s*$"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList parts = sort.split(QLatin1Char(','));
    for (const QString &part : parts) {
        const QRegularExpressionMatch m = item.match(part);
        if (!m.hasMatch())
            sqlnamesRefuse(QStringLiteral("无效的排序：") + sort);
        CheckColumnName(table, m.captured(1));
    }
    return sort.trimmed();
}

QString CheckedWhere(const SqlWhere &where)
{
    if (where.isEmpty())
        return QString();
    QString t = where.text.trimmed();
    static const QRegularExpression lead(QStringLiteral("^where\\s+"),
                                         QRegularExpression::CaseInsensitiveOption);
    t.remove(lead);
    if (t.contains(QLatin1Char('\'')) || t.contains(QLatin1Char('"')) || t.contains(QLatin1Char(';'))
        || t.contains(QLatin1String("--")) || t.contains(QLatin1String("/*")))
        sqlnamesRefuse(QStringLiteral("条件中不能直接写入数值：") + where.text);
    if (t.count(QLatin1Char('?')) != where.binds.size())
        sqlnamesRefuse(QStringLiteral("条件的参数个数不符：") + where.text);
    return QStringLiteral(" where ") + t;
}

bool PartnerBindingApplies(const LoginState &state)
{
    return IsTrue(state.BindPartnersToWarehouse) && !state.isAdministrator();
}

QString WarehouseBindingCondition(const QSqlDatabase &db, const LoginState &state,
                                  const QString &column, QVariantList &binds)
{
    const QStringList codes = WarehousesOfOperator(db, state.CurrentOperatorSn);
    QString sql = QStringLiteral("(") + column + QStringLiteral(" = '-1'");
    if (!codes.isEmpty()) {
        QStringList marks;
        for (const QString &code : codes) {
            marks << QStringLiteral("?");
            binds << code;
        }
        sql += QStringLiteral(" or ") + column + QStringLiteral(" in (") + marks.join(QStringLiteral(", "))
               + QLatin1Char(')');
    }
    return sql + QLatin1Char(')');
}

QString ContainsAnyCondition(const QSqlDatabase &db, const QStringList &columns, const QString &text,
                             QVariantList &binds)
{
    if (text.isEmpty())
        return QString();
    const Dialect dialect = Dialect::of(db);
    const QString pattern = Dialect::containsPattern(text);
    QStringList terms;
    for (const QString &c : columns) {
        terms << dialect.likeClause(c);
        binds << pattern;
    }
    return QStringLiteral(" and (") + terms.join(QStringLiteral(" or ")) + QLatin1Char(')');
}
