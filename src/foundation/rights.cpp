#include "foundation/rights.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/loginstate.h"
#include "foundation/schema/catalog.h"

#include <QSqlQuery>

#include <stdexcept>

namespace {

void requireRightsModule(const QString &module)
{
    static const QStringList modules = {
        QStringLiteral("cggl"), QStringLiteral("xsgl"), QStringLiteral("scjg"),
        QStringLiteral("scjh"), QStringLiteral("kcgl"), QStringLiteral("wlzk"),
        QStringLiteral("tjgl"), QStringLiteral("rcgl"), QStringLiteral("qtcz")};
    if (!modules.contains(module) || !schema::Catalog::instance().knows(QStringLiteral("jxc_role"), module))
        throw std::invalid_argument("unknown rights module: " + module.toStdString());
}

bool rightHeld(const QString &rights, int position)
{
    return position >= 1 && position <= rights.size() && rights.at(position - 1) == QLatin1Char('1');
}

} // namespace

bool WarehouseBindsOperator(const QString &ckAsn, const QString &operatorSn)
{
    const QString code = operatorSn.trimmed();
    if (code.isEmpty())
        return false;
    const QStringList codes = ckAsn.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &c : codes) {
        if (c.trimmed() == code)
            return true;
    }
    return false;
}

QStringList WarehousesOfOperator(const QSqlDatabase &db, const QString &operatorSn)
{
    QStringList result;
    if (operatorSn.trimmed().isEmpty())
        return result;
    // Narrow by substring in SQL, then match whole codes here.
    const Dialect dialect = Dialect::of(db);
    QSqlQuery rows = OpenSelect(db,
                                QStringLiteral("select ck_sn, ck_asn from jxc_ckxx where %1 order by ck_sn")
                                    .arg(dialect.likeClause(QStringLiteral("ck_asn"))),
                                {Dialect::containsPattern(operatorSn.trimmed())});
    while (rows.next()) {
        if (WarehouseBindsOperator(ValueText(rows.value(1)), operatorSn))
            result << ValueText(rows.value(0));
    }
    return result;
}

bool HasRight(const QSqlDatabase &db, const LoginState &state, const QString &module, int position)
{
    requireRightsModule(module);
    if (state.BindOperatorWarehouse == QLatin1String("1") && !state.isAdministrator()
        && WarehousesOfOperator(db, state.CurrentOperatorSn).isEmpty())
        return false;
    const QString rights = QueryScalar(
        db, QStringLiteral("select %1 from jxc_role where r_sn = ?").arg(module), {state.CurrentRoleSn});
    return rightHeld(rights, position);
}

bool UserHasRight(const QSqlDatabase &db, const QString &module, int position,
                  const QString &operatorName)
{
    requireRightsModule(module);
    const QString rights = QueryScalar(
        db,
        QStringLiteral("select a.%1 from jxc_role a, jxc_admin b where a.r_sn = b.r_sn and b.a_name = ?")
            .arg(module),
        {operatorName});
    return rightHeld(rights, position);
}

QString CheckBeforeAudit(const QString &number, const QString &date)
{
    Q_UNUSED(number)
    Q_UNUSED(date)
    return QStringLiteral("ok");
}

QString CheckBeforeUnaudit(const QString &number)
{
    Q_UNUSED(number)
    return QStringLiteral("ok");
}
