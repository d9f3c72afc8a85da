#pragma once

// The link between a contract (jxc_htgl) and the document it belongs to. The purchase-receipt and
// sales forms and their change-of-date dialogs call these.

#include <QSqlDatabase>
#include <QString>

// Marks an attachment kept on the remote server: there is no local file to remove.
inline constexpr const char *kRemoteContractFolder = "远程FTP服务器";

// Deletes the contract `code` (joining the caller's transaction), then removes its attached file
// (ht_path + ht_fjname) unless the folder is the remote server's. Never removes a folder; a file
// that cannot be removed is left without a message. An unknown code changes nothing.
void DeleteContract(const QSqlDatabase &db, const QString &code);

// Links the contract `code` to a partner and a document number. An unknown code changes
// nothing.
void LinkContract(const QSqlDatabase &db, const QString &code, const QString &partner, const QString &number);
