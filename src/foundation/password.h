#pragma once

// Operator passwords: stored in jxc_admin.a_pwd as typed, trimmed and passed through
// SafeTextKeepMath; compared the same way with letter case ignored. The comparison runs in
// code on the stored value read with the operator's name bound, never by splicing the
// typed text into SQL.

#include <QSqlDatabase>
#include <QString>

// The form in which a typed password is stored and compared.
QString StoredPasswordForm(const QString &typed);

// Whether the typed password matches the stored one of an operator named `operatorName`
// (any of them, should the name occur twice). An unknown name never matches.
bool PasswordMatches(const QSqlDatabase &db, const QString &operatorName, const QString &typed);
