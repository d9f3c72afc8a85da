#pragma once

// The logged-in operator's change of his or her own password.

#include <QSqlDatabase>
#include <QString>

// Returns "密码修改成功！" when stored, else the refusal. The new password is stored in the
// login's form (StoredPasswordForm); the current one is compared as the login does.
struct PasswordChangeResult
{
    bool changed = false;
    QString text;
};
PasswordChangeResult ChangePassword(const QSqlDatabase &db, const QString &operatorName, const QString &current,
                                    const QString &newPassword, const QString &repeat);
