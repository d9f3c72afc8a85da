#pragma once

#include <QSqlDatabase>

// The account-set register jxc_xtzt with its one built-in set "100001" "主帐套" (jxc.db).
void CreateRegisterTables(const QSqlDatabase &db);
