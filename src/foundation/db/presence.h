#pragma once

// Who else has an account set open: other copies of the program (on this or another machine)
// and, on PostgreSQL, other clients of the set's database. The clean-up and the period closing
// refuse to run while anyone else works on the set.
//
// PostgreSQL: every connection the layer opens carries the application name "jxc:" + host name
// + ":" + process id (SessionApplicationName); the other sessions are the client backends on the
// same database with another application name, so this process's own connections never count.
//
// SQLite: while a set is the main database of a process, the process holds a shared flock on
// "<set file>.inuse" beside it (SetPresence). The check turns that lock into an exclusive one
// without waiting and back into a shared one; a failed try means another process holds the set.
// The system drops the lock when a process ends, so a crash leaves no stale mark.

#include "foundation/db/connection.h"

#include <QSqlDatabase>
#include <QString>

// "jxc:" + host name + ":" + process id.
QString SessionApplicationName();

// The presence file of an SQLite set file: "<path>.inuse".
QString PresenceFilePath(const QString &setFilePath);

// Marks this process as a user of an account set while the object lives (SQLite: the shared
// lock on the presence file, counted per file within the process; PostgreSQL: nothing, the
// connection is the mark). Never raises: a folder where the file cannot be made leaves no mark
// (a warning goes to the diagnostic log).
class SetPresence
{
public:
    SetPresence(const ConnectionSettings &settings, const QString &fileName);
    ~SetPresence();
    SetPresence(const SetPresence &) = delete;
    SetPresence &operator=(const SetPresence &) = delete;

    // The presence file held, empty when none.
    const QString &path() const { return m_path; }

private:
    QString m_path;
};

// How many other sessions have the account set of `db` open: program instances and, on
// PostgreSQL, other clients. 0 when nobody else is there. Raises DbError when the database
// cannot be asked.
int OtherSessionsOnSet(const QSqlDatabase &db);
