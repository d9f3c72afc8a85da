#pragma once

#include <QSqlDatabase>
#include <QString>

// The account-set register jxc_xtzt with its one built-in set "100001" "主帐套" (jxc.db).
void CreateRegisterTables(const QSqlDatabase &db);

// Width in characters of a text column of jxc_xtzt; 0 for other columns.
int RegisterColumnWidth(const QString &column);
