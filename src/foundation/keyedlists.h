#pragma once

// The items of the drop-down lists that choose warehouses, employees, operators, units, types
// and account sets: each a display text and the record's code (its key), "-1" for an item that
// stands for all records. The screen kit's keyed combo carries each key with its item.
//
// Table, display, key and sort names are checked against the table catalogue and a where
// clause is a condition with bound values (sqlnames.h): a name the catalogue does not know
// raises std::invalid_argument before anything runs. Database errors raise DbError.

#include "foundation/sqlnames.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

struct LoginState;

struct KeyedItem
{
    QString text;
    QString key;

    bool operator==(const KeyedItem &other) const = default;
};
using KeyedItems = QList<KeyedItem>;

inline const QString kAllKey = QStringLiteral("-1");

// The all caption with key "-1" first when given, then every row by `sort`.
KeyedItems LoadKeyedCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                          const QString &key, const QString &sort, const QString &allCaption = QString());

// The rows meeting `where`, then the all caption last, only when both where and caption are given.
KeyedItems LoadKeyedComboWhere(const QSqlDatabase &db, const QString &table, const QString &display,
                               const QString &key, const QString &sort, const SqlWhere &where,
                               const QString &allCaption = QString());

// The first caption with key "-1" when given, then the rows meeting `where`.
KeyedItems LoadKeyedComboWhere2(const QSqlDatabase &db, const QString &table, const QString &display,
                                const QString &key, const QString &sort, const SqlWhere &where,
                                const QString &firstCaption = QString());

// The all item first only when the caption is exactly "所有仓库"; then the rows meeting `where`.
KeyedItems LoadWarehouseCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                              const QString &key, const QString &sort, const SqlWhere &where,
                              const QString &allCaption = QString());

// The warehouses an operator enters documents for (ck_name keyed ck_sn, by id): all of them, or
// with BindOperatorWarehouse "1" and a role other than the administrator's those whose operator
// list names the operator as a whole code.
KeyedItems LoadOperatorWarehouses(const QSqlDatabase &db, const LoginState &state);

// The rows only (the plain list of two screens).
KeyedItems LoadKeyedTCombo(const QSqlDatabase &db, const QString &table, const QString &display,
                           const QString &key, const QString &sort);

// The account sets of the register (jxc_xtzt): forbidden sets hidden, the default set first,
// then by `sortColumn`.
KeyedItems LoadZtCombo(const QSqlDatabase &registerDb, const QString &table, const QString &display,
                       const QString &key, const QString &sortColumn);

// Operators (a_name keyed a_sn, a_jyt 0, by id); the all item first only for the administrator
// role; under the warehouse binding the current operator alone.
KeyedItems LoadAdminCombo(const QSqlDatabase &db, const LoginState &state,
                          const QString &allCaption = QString());

// Employees in service (u_name keyed u_sn, u_jy 0, by id), with `flagColumn` (u_xs, u_cg,
// u_kc) not 0 when given; the all item first when given and the operator is not bound; under
// the binding only employees of "-1" or of the operator's warehouses.
KeyedItems LoadUserCombo(const QSqlDatabase &db, const LoginState &state,
                         const QString &flagColumn = QString(), const QString &allCaption = QString());

// Salesmen (u_jy 0, u_xs not 0): first those named as whole codes in the customer's kh_usn,
// then the others, each part by u_sn; under the binding both parts limited to the operator's
// warehouses; then the last caption with key "-1" when given. The screen selects the first.
KeyedItems LoadSalesmanCombo(const QSqlDatabase &db, const LoginState &state, const QString &display,
                             const QString &key, const QString &lastCaption, const QString &customerSn);

// "按实付款结算" "1", then for "cg" "余款记入应付帐" "2", for "xs" "余款记入应收帐" "2".
// Callers store the item index (0/1) as the settlement kind.
KeyedItems LoadSettleCombo(const QString &kind);

// Texts only: a blank item when blankFlag is "1", the extra item when given, then the rows.
QStringList FillComboTexts(const QSqlDatabase &db, const QString &table, const QString &column,
                           const QString &sort, const QString &blankFlag, const QString &extraItem = QString());

// The extra item first, then the blank item, then the rows.
QStringList FillCxComboTexts(const QSqlDatabase &db, const QString &table, const QString &column,
                             const QString &sort, const QString &blankFlag, const QString &extraItem = QString());

// The blank item; the extra item when there is no where clause; the rows meeting `where`; the
// extra item last when there is one.
QStringList FillCxComboTextsWhere(const QSqlDatabase &db, const QString &table, const QString &column,
                                  const QString &sort, const SqlWhere &where, const QString &blankFlag,
                                  const QString &extraItem = QString());
