#pragma once

// Writes into a saved, pending document (a line dialog or a picker serving a pending page):
// inside the caller's Transaction, the posting locks of the number's header rows, then the
// headers read again. Another workstation may have audited the document meanwhile; its lines
// must then stay as they were posted.

#include <QSqlDatabase>
#include <QString>

// "" when the number still has headers in `headerTable` and none of them has `statusColumn`
// other than 0; else "单据" + number + "的状态已改变，请重新查询！". Raises DbError outside a
// Transaction or on a database error.
QString LockPendingDocument(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                            const QString &number);

// The same guard for a write that needs the document audited (an order's cancel-audit or void):
// "" when the number has a header with `statusColumn` 1, else the same text.
QString LockAuditedDocument(const QSqlDatabase &db, const QString &headerTable, const QString &statusColumn,
                            const QString &number);
