#pragma once

// The operation-log viewer's reads and its clearing.

#include <QSqlDatabase>
#include <QString>
#include <QVariantList>

// Rows of jxc_log from `fromDate` ("yyyy-MM-dd") to `toDate` + " 23:59:00", compared as text on
// log_time, whose log_note or a_name contains the key (SafeText applied here; letter case
// ignored); newest first.
struct LogQuery
{
    QString body;
    QString order;
    QVariantList binds;
};
LogQuery LogSearch(const QSqlDatabase &db, const QString &fromDate, const QString &toDate, const QString &typedKey);

// Deletes every row of the log.
void ClearLog(const QSqlDatabase &db);
