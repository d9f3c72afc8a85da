#pragma once

// Look-ups of the default records that prefill a new document, a row-exists test, the names of
// the POS hotkeys and the automatic registration of a region typed into a partner record.
// Values are bound; database errors raise DbError.

#include "foundation/sqlnames.h"

#include <QSqlDatabase>
#include <QString>

// The flagged default supplier (not forbidden, first by id), else the first supplier that is
// not forbidden; empty when there is none.
QString GetDefaultSupplierSn(const QSqlDatabase &db);
QString GetDefaultSupplierName(const QSqlDatabase &db);
QString GetDefaultCustomerSn(const QSqlDatabase &db);
QString GetDefaultCustomerName(const QSqlDatabase &db);
// The flagged default warehouse, else the first warehouse by id.
QString GetDefaultWarehouseSn(const QSqlDatabase &db);
QString GetDefaultWarehouseName(const QSqlDatabase &db);
// The first employee by id.
QString GetDefaultUserSn(const QSqlDatabase &db);
QString GetDefaultUserName(const QSqlDatabase &db);

// Whether the first row meeting `where` has a non-empty `column` (NULL or "" count as missing).
bool RecordExists(const QSqlDatabase &db, const QString &table, const QString &column, const SqlWhere &where);

// The display name of a virtual-key code ("Space", "F1" … "F12", "=" …); "" for others.
QString KeyCodeName(int keyCode);

// The key name of a POS function of jxc_gnb ("付款结账" → "="); "" when unknown or unset.
QString GetHotKeyName(const QSqlDatabase &db, const QString &functionName);

// Adds a region of that name (next z_sn, pinyin short code, not default) unless the name is
// empty or already listed. One transaction, joining the caller's. True when a row was added.
bool EnsureZone(const QSqlDatabase &db, const QString &name);
