#pragma once

// The "绑定仓库：" list of the partner and employee dialogs. With operators bound to warehouses
// (BindOperatorWarehouse "1") and a role other than the administrator's: the operator's
// warehouses (whole codes), then "所有仓库" (key "-1"), the first chosen; otherwise "所有仓库"
// first, then every warehouse by id, "所有仓库" chosen. The list is filled also while it is
// hidden, so a bound operator's new record takes his first warehouse. QtCore + QtSql.

#include "foundation/keyedlists.h"

#include <QSqlDatabase>

struct LoginState;

struct BindingList
{
    KeyedItems items;  // ck_name keyed ck_sn
    int chosen = 0;
};

BindingList WarehouseBindingList(const QSqlDatabase &db, const LoginState &state);
