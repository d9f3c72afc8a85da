#pragma once

#include "foundation/db/liststatement.h"

// Operators (jxc_admin): add, modify, delete, copy and paste, search, and the warehouses'
// operator-name lists kept in step with a change of name. Passwords stay plain text in the
// form the login compares (StoredPasswordForm); names are unique with letter case ignored.

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

inline constexpr const char *kBuiltInOperator = "100001";

// What the add and modify dialogs hand over.
struct OperatorInput
{
    QString name;        // as typed
    QString roleSn;      // key of the chosen role
    QString password;    // first password box, as typed
    QString repeat;      // second password box, as typed
    double roundOff = 0; // 抹零金额
    bool pos = false;    // POS柜长
    bool forbidden = false;  // 停用 (modify only)
};

struct OperatorSaveResult
{
    QString refusal;  // "系统提示" text; empty when saved
    QString sn;
    bool saved() const { return refusal.isEmpty(); }
};

OperatorSaveResult AddOperator(const QSqlDatabase &db, const OperatorInput &input);

// Modifies the row `id`. Both password boxes empty keep the stored password. A change of name
// replaces the old name in every warehouse's ck_aname (whole entries, letter case ignored).
// For "100001" the role and the forbidden flag stay as stored.
OperatorSaveResult ModifyOperator(const QSqlDatabase &db, qint64 id, const OperatorInput &input);

// One stored operator, as the modify dialog shows it.
struct OperatorRow
{
    qint64 id = 0;
    QString sn, name, roleSn, roleName, password;
    double roundOff = 0;
    bool pos = false;
    bool forbidden = false;
};
OperatorRow ReadOperator(const QSqlDatabase &db, qint64 id);

// Why the operator may not be deleted (business under the current name, then "100001"), or
// the empty text.
QString OperatorDeleteRefusal(const QSqlDatabase &db, const QString &sn);
void DeleteOperator(const QSqlDatabase &db, const QString &sn);

// The copy buffer of the operator list.
struct OperatorCopy
{
    bool copied = false;
    QString name;      // "复制 " + the copied name
    QString roleSn;
    QString password;
    QString roundOff;  // as text
};
OperatorCopy CopyOperator(const QSqlDatabase &db, qint64 id);
// Inserts the buffer as a new operator named buffer name + new code; returns the code.
QString PasteOperator(const QSqlDatabase &db, const OperatorCopy &copy);

// The warehouse operator list `list` ("li,zhang,") with every whole entry equal to `oldName`
// (letter case ignored) replaced by `newName`.
QString RenameInOperatorList(const QString &list, const QString &oldName, const QString &newName);

// The list's statement: operators joined to their roles, by a_jyt then id, and for a search
// key (SafeText applied here) the rows whose a_name or a_sn contains it, letter case ignored.
ListStatement OperatorList(const QSqlDatabase &db, const QString &typedKey = QString());
