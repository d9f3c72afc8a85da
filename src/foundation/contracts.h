#pragma once

// Contracts attached to documents (jxc_htgl): binding a contract to the partner and document
// that use it, and dropping one a document no longer holds. Values are bound; database errors
// raise DbError. Each joins the caller's transaction.

#include <QSqlDatabase>
#include <QString>

// Sets ghs_sn and gl_djh of contract `code`; an unknown code changes nothing.
void LinkContract(const QSqlDatabase &db, const QString &code, const QString &partner, const QString &number);

// Deletes contract `code`, then its attached file (ht_path + ht_fjname) unless the path is
// "远程FTP服务器" or empty; never a folder, and a file that cannot be removed stays silently.
void DeleteContract(const QSqlDatabase &db, const QString &code);
