#pragma once

// Another workstation on an account set while the object lives: another holder of the set's
// presence lock (SQLite) or a client of another program on its database (PostgreSQL).

#include "../support/testdb.h"

#include "foundation/db/presence.h"

#include <QFile>
#include <QSqlDatabase>
#include <QString>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class ForeignSession
{
public:
    ForeignSession(const QString &setFile, const QString &connectionName) : m_name(connectionName)
    {
        const ConnectionSettings s = TestConnectionSettings();
        if (s.kind == DbKind::Sqlite) {
            m_fd = ::open(QFile::encodeName(PresenceFilePath(DatabaseTarget(s, setFile))).constData(), O_RDONLY);
            m_ok = m_fd >= 0 && ::flock(m_fd, LOCK_SH | LOCK_NB) == 0;
            return;
        }
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_name);
        other.setHostName(s.host);
        other.setPort(s.port);
        other.setUserName(s.user);
        other.setPassword(s.password);
        other.setDatabaseName(DatabaseTarget(s, setFile));
        other.setConnectOptions(QStringLiteral("application_name=jxc:elsewhere:1"));
        m_ok = other.open();
    }
    ~ForeignSession()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        QSqlDatabase::database(m_name, false).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    ForeignSession(const ForeignSession &) = delete;
    ForeignSession &operator=(const ForeignSession &) = delete;

    // Whether the session is there (the lock taken, the connection open).
    bool ok() const { return m_ok; }

private:
    QString m_name;
    int m_fd = -1;
    bool m_ok = false;
};
