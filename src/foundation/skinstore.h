#pragma once

#include <QSqlDatabase>
#include <QString>

// The operator's skin in jxc_skin (one row per operator).

// The operator's stored skin name; an operator without a row gets ("iMaginary", operator)
// inserted and "iMaginary" back.
QString ReadOrInsertOperatorSkin(const QSqlDatabase &db, const QString &operatorName);
// Stores the operator's choice; other operators' rows stay as they are.
void StoreOperatorSkin(const QSqlDatabase &db, const QString &operatorName, const QString &skin);
