#include "shell/passwordchange.h"

#include "foundation/columnwidth.h"
#include "foundation/db/sqlroutines.h"
#include "foundation/password.h"

PasswordChangeResult ChangePassword(const QSqlDatabase &db, const QString &operatorName, const QString &current,
                                    const QString &newPassword, const QString &repeat)
{
    if (newPassword.trimmed() != repeat.trimmed())
        return {false, QStringLiteral("两次密码输入不一致，不能修改密码！")};
    if (!PasswordMatches(db, operatorName, current))
        return {false, QStringLiteral("当前密码错误，不能修改密码！")};
    const QString tooLong = TooLongRefusal(QStringLiteral("用户密码"), StoredPasswordForm(newPassword),
                                           QStringLiteral("jxc_admin"), QStringLiteral("a_pwd"));
    if (!tooLong.isEmpty())
        return {false, tooLong};
    RunSql(db, QStringLiteral("update jxc_admin set a_pwd = ? where a_name = ?"),
           {StoredPasswordForm(newPassword), operatorName});
    return {true, QStringLiteral("密码修改成功！")};
}
