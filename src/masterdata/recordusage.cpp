#include "masterdata/recordusage.h"

#include "foundation/db/sqlroutines.h"
#include "foundation/schema/catalog.h"

#include <QSqlQuery>

namespace {

// The document headers of the account set.
const QStringList &HeaderTables()
{
    static const QStringList tables{
        // purchase and sales
        QStringLiteral("jxc_jhd"), QStringLiteral("jxc_shdj"), QStringLiteral("jxc_thd"), QStringLiteral("jxc_lsxsd"),
        QStringLiteral("jxc_xsthd"), QStringLiteral("jxc_rkd"), QStringLiteral("jxc_ckd"), QStringLiteral("jxc_khjh"),
        QStringLiteral("jxc_xshhd"), QStringLiteral("jxc_cgd"), QStringLiteral("jxc_xsd"),
        // inventory and production
        QStringLiteral("jxc_kcdbd"), QStringLiteral("jxc_cfd"), QStringLiteral("jxc_kbd"), QStringLiteral("jxc_bsd"),
        QStringLiteral("jxc_byd"), QStringLiteral("jxc_kcpd"), QStringLiteral("jxc_scrkd"), QStringLiteral("jxc_bmlyd"),
        // POS and members
        QStringLiteral("jxc_posxsd"), QStringLiteral("jxc_dhd"), QStringLiteral("jxc_crk"), QStringLiteral("jxc_hyxf"),
        QStringLiteral("jxc_sms")};
    return tables;
}

}  // namespace

QStringList HeaderTablesWith(const QString &column)
{
    QStringList out;
    const schema::Catalog &catalog = schema::Catalog::instance();
    for (const QString &t : HeaderTables())
        if (catalog.knows(t, column))
            out << t;
    return out;
}

bool HeadersUse(const QSqlDatabase &db, const QStringList &columns, const QString &code)
{
    QStringList selects;
    QVariantList binds;
    for (const QString &column : columns)
        for (const QString &t : HeaderTablesWith(column)) {
            selects << QStringLiteral("select 1 from %1 where %2 = ?").arg(t, column);
            binds << code;
        }
    return AnyRow(db, selects, binds);
}

bool AnyRow(const QSqlDatabase &db, const QStringList &selects, const QVariantList &binds)
{
    if (selects.isEmpty())
        return false;
    // Each part stops at its first row; the union stops at the first part that has one.
    QStringList parts;
    for (const QString &s : selects)
        parts << QStringLiteral("select * from (") + s + QStringLiteral(" limit 1) u") + QString::number(parts.size());
    QSqlQuery q = OpenSelect(db, parts.join(QStringLiteral(" union all ")) + QStringLiteral(" limit 1"), binds);
    return q.next();
}
