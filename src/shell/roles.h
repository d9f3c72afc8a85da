#pragma once

// Roles: the rows of jxc_role that the role list and its dialog maintain. A role's rights are
// the texts of the rights catalogue (rightscatalog.h); the built-in administrator role
// "100001" can be neither changed nor deleted here.

#include "shell/rightscatalog.h"
#include "foundation/db/liststatement.h"

#include <QSqlDatabase>
#include <QString>

inline constexpr const char *kAdministratorRole = "100001";

enum class RoleDialogMode { Add, Modify };

struct RoleSaveResult
{
    QString refusal;  // shown under "系统提示"; empty when saved
    QString sn;       // the role's code
    bool saved() const { return refusal.isEmpty(); }
};

// The name as stored: trimmed and passed through SafeTextKeepMath.
QString StoredRoleName(const QString &typed);

// Saves a role from the tree's states (every right in tree order). Add: a new code from
// GetNewSn, scjg and scjh empty. Modify: the row `id`, its code kept. Both: rcgl empty and
// every other text as long as its group. Names are unique with letter case ignored.
RoleSaveResult SaveRole(const QSqlDatabase &db, RoleDialogMode mode, qint64 id, const QString &typedName,
                        const QList<bool> &states);

// The rights texts and the name of the row `id`.
RoleRights ReadRoleRights(const QSqlDatabase &db, qint64 id, QString *name = nullptr);

// Why the role `sn` may not be deleted ("该角色已在使用，不能删除！", "系统管理员不能删除！"), or
// the empty text.
QString RoleDeleteRefusal(const QSqlDatabase &db, const QString &sn);
void DeleteRole(const QSqlDatabase &db, const QString &sn);

// "系统管理员不能修改！" for "100001", else empty.
QString RoleModifyRefusal(const QString &sn);

// The role list: every role by id.
ListStatement RoleListStatement();
