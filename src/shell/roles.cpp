#include "shell/roles.h"

#include "foundation/columnwidth.h"
#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/db/transaction.h"
#include "foundation/numbering.h"
#include "foundation/sanitize.h"

#include <QSqlQuery>

QString StoredRoleName(const QString &typed)
{
    return SafeTextKeepMath(typed.trimmed());
}

RoleSaveResult SaveRole(const QSqlDatabase &db, RoleDialogMode mode, qint64 id, const QString &typedName,
                        const QList<bool> &states)
{
    RoleSaveResult result;
    if (typedName.trimmed().isEmpty()) {
        result.refusal = QStringLiteral("角色名称必须填写！");
        return result;
    }
    const QString name = StoredRoleName(typedName);
    result.refusal = TooLongRefusal(QStringLiteral("角色名称"), name, QStringLiteral("jxc_role"), QStringLiteral("r_name"));
    if (!result.refusal.isEmpty())
        return result;
    const RoleRights rights = RoleRightsFrom(states);
    const Dialect dialect = Dialect::of(db);

    Transaction tx(db);
    QString duplicate = QStringLiteral("select 1 from jxc_role where ") + dialect.likeClause(QStringLiteral("r_name"));
    QVariantList binds{Dialect::escapeLike(name)};
    if (mode == RoleDialogMode::Modify) {
        duplicate += QStringLiteral(" and id <> ?");
        binds << id;
    }
    if (!QueryScalar(db, duplicate, binds).isEmpty()) {
        result.refusal = QStringLiteral("角色名称已经存在，请重新输入！");
        return result;
    }
    const QVariantList texts{rights.cggl, rights.xsgl, rights.kcgl, rights.wlzk, rights.tjgl, QString(), rights.qtcz};
    if (mode == RoleDialogMode::Add) {
        result.sn = GetNewSn(db, QStringLiteral("jxc_role"), QStringLiteral("r_sn"));
        RunSql(db,
               QStringLiteral("insert into jxc_role (r_sn, r_name, cggl, xsgl, kcgl, wlzk, tjgl, rcgl, qtcz, scjg, scjh) "
                              "values (?, ?, ?, ?, ?, ?, ?, ?, ?, '', '')"),
               QVariantList{result.sn, name} + texts);
    } else {
        result.sn = QueryScalar(db, QStringLiteral("select r_sn from jxc_role where id = ?"), {id});
        RunSql(db,
               QStringLiteral("update jxc_role set r_name = ?, cggl = ?, xsgl = ?, kcgl = ?, wlzk = ?, tjgl = ?, "
                              "rcgl = ?, qtcz = ? where id = ?"),
               QVariantList{name} + texts + QVariantList{id});
    }
    tx.commit();
    return result;
}

RoleRights ReadRoleRights(const QSqlDatabase &db, qint64 id, QString *name)
{
    RoleRights r;
    QSqlQuery q = OpenSelect(db, QStringLiteral("select r_name, cggl, xsgl, kcgl, wlzk, tjgl, rcgl, qtcz "
                                                "from jxc_role where id = ?"),
                             {id});
    if (q.next()) {
        if (name)
            *name = ValueText(q.value(0));
        r.cggl = ValueText(q.value(1));
        r.xsgl = ValueText(q.value(2));
        r.kcgl = ValueText(q.value(3));
        r.wlzk = ValueText(q.value(4));
        r.tjgl = ValueText(q.value(5));
        r.rcgl = ValueText(q.value(6));
        r.qtcz = ValueText(q.value(7));
    }
    return r;
}

QString RoleDeleteRefusal(const QSqlDatabase &db, const QString &sn)
{
    if (!QueryScalar(db, QStringLiteral("select 1 where exists (select 1 from jxc_admin where r_sn = ?)"), {sn})
             .isEmpty())
        return QStringLiteral("该角色已在使用，不能删除！");
    if (sn == QLatin1String(kAdministratorRole))
        return QStringLiteral("系统管理员不能删除！");
    return QString();
}

void DeleteRole(const QSqlDatabase &db, const QString &sn)
{
    RunSql(db, QStringLiteral("delete from jxc_role where r_sn = ?"), {sn});
}

QString RoleModifyRefusal(const QString &sn)
{
    return sn == QLatin1String(kAdministratorRole) ? QStringLiteral("系统管理员不能修改！") : QString();
}

ListStatement RoleListStatement()
{
    return {QStringLiteral("select id, r_sn, r_name from jxc_role"), QStringLiteral("id"), {}};
}
