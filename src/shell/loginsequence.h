#pragma once

// The rules of the login: the lists it offers, the password test and the steps of a successful
// login. The chosen account set is read through a connection of its own; the main connection
// moves to it only when a login succeeds, so a cancelled change of operator leaves the set of
// the current login open and named.

#include "foundation/keyedlists.h"

#include <QSqlDatabase>
#include <QString>

class Clock;
class DataModule;
struct LoginState;

// Start-up (closing the dialog without a login ends the program) or change of operator
// (closing it returns to the main window).
enum class LoginMode { StartUp, ChangeOperator };

// The account sets the login offers: not forbidden, the default set first, then by zt_sn.
KeyedItems LoginAccountSets(const QSqlDatabase &registerDb);

// Operators with a_jyt 0 by id; when that read fails, every operator's name by id (then the
// keys are empty).
KeyedItems LoginOperators(const QSqlDatabase &db);

// Whether the operator's stored password is the empty text (the hint "初始密码为空").
bool StoredPasswordIsEmpty(const QSqlDatabase &db, const QString &operatorName);

inline constexpr const char *kInitialPasswordHint = "初始密码为空";
inline constexpr const char *kWrongPasswordText = "用户密码不正确，请重新输入！";
inline constexpr const char *kNoAccountSetText = "没有可用的帐套！";
inline constexpr const char *kAccountSetUnreadableText = "帐套数据无法打开！";

struct LoginChoice
{
    QString accountSetDb;    // zt_dbname of the chosen set
    QString accountSetName;  // its displayed name
    QString operatorName;
};

// Moves the main connection to the chosen set once the password test has passed on the
// login's own connection. When the set cannot be opened the set of the current login is
// opened again and DbError raised.
void OpenChosenSet(DataModule &data, const LoginState &state, const QString &accountSetDb);
// After a login on the chosen set failed: the main connection goes back to the set of the
// current login (none at start-up: it stays where it is).
void ReturnToCurrentSet(DataModule &data, const LoginState &state, const QString &chosenSetDb);

// What the steps of a login came to.
struct LoginOutcome
{
    bool ok = false;
    QString message;  // when not ok: shown under "系统提示" (the failed step and why); the
                      // operator may try again
    QString notice;   // when ok and not empty: shown once under "系统提示"
};

// The steps of a successful login on the main connection `db` (already on the chosen set):
// the five login fields, the log line "登录系统", the parameters (errors ignored), the repair
// of duplicate stock rows while the stock table lacks its unique index (a failure is logged
// and tried again at the next login), the upgrade of the schema and the top-up gifts (their
// failure is logged). `state` changes only when the login completes: a failed upgrade or
// database error leaves it as it was and returns the message.
LoginOutcome CompleteLogin(const QSqlDatabase &db, LoginState &state, const Clock &clock, const LoginChoice &choice);
