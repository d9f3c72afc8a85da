#include "foundation/db/presence.h"

#include "foundation/db/dialect.h"
#include "foundation/db/sqlroutines.h"

#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

// The presence files this process holds: one descriptor per file, shared by every SetPresence
// of that file, with its count.
struct HeldFile
{
    int fd = -1;
    int users = 0;
};

QMutex &heldGuard()
{
    static QMutex mutex;
    return mutex;
}

QHash<QString, HeldFile> &heldFiles()
{
    static QHash<QString, HeldFile> files;
    return files;
}

QString normalised(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

int lockRetrying(int fd, int operation)
{
    int rc;
    do {
        rc = ::flock(fd, operation);
    } while (rc != 0 && errno == EINTR);
    return rc;
}

// Whether a process other than the holder of `fd` holds the file: the shared lock is turned into
// an exclusive one without waiting and then back into a shared one. On Linux a failed
// conversion drops the shared lock, so it is always taken again.
bool othersHold(int fd)
{
    const bool alone = lockRetrying(fd, LOCK_EX | LOCK_NB) == 0;
    lockRetrying(fd, LOCK_SH);
    return !alone;
}

// The same without a lock of our own: a fresh descriptor tries the exclusive lock.
bool anyoneHolds(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;  // no file: nobody ever marked the set
    const bool free = lockRetrying(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);  // closing drops the lock
    return !free;
}

} // namespace

QString SessionApplicationName()
{
    // PostgreSQL keeps 63 bytes of printable ASCII; the name must come back as it was sent.
    QString host;
    for (const QChar c : QSysInfo::machineHostName()) {
        const bool plain = c.unicode() < 128 && (c.isLetterOrNumber() || c == QLatin1Char('.') || c == QLatin1Char('-'));
        host += plain ? c : QLatin1Char('_');
    }
    const QString pid = QString::number(QCoreApplication::applicationPid());
    const int room = 63 - 4 - 1 - int(pid.size());
    return QStringLiteral("jxc:") + host.left(room) + QLatin1Char(':') + pid;
}

QString PresenceFilePath(const QString &setFilePath)
{
    return setFilePath + QStringLiteral(".inuse");
}

SetPresence::SetPresence(const ConnectionSettings &settings, const QString &fileName)
{
    if (settings.kind != DbKind::Sqlite)
        return;
    const QString path = normalised(PresenceFilePath(DatabaseTarget(settings, fileName)));
    QMutexLocker lock(&heldGuard());
    HeldFile &held = heldFiles()[path];
    if (held.users == 0) {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0 || lockRetrying(fd, LOCK_SH) != 0) {
            qWarning().noquote() << "presence: cannot hold" << path << ":" << qt_error_string(errno);
            if (fd >= 0)
                ::close(fd);
            heldFiles().remove(path);
            return;
        }
        held.fd = fd;
    }
    ++held.users;
    m_path = path;
}

SetPresence::~SetPresence()
{
    if (m_path.isEmpty())
        return;
    QMutexLocker lock(&heldGuard());
    auto it = heldFiles().find(m_path);
    if (it == heldFiles().end())
        return;
    if (--it->users == 0) {
        ::close(it->fd);
        heldFiles().erase(it);
    }
}

int OtherSessionsOnSet(const QSqlDatabase &db)
{
    if (Dialect::of(db).isPostgres()) {
        return QueryScalar(db,
                           QStringLiteral("select count(*) from pg_stat_activity where datname = current_database() "
                                          "and backend_type = 'client backend' and pid <> pg_backend_pid() "
                                          "and coalesce(application_name, '') <> ?"),
                           {SessionApplicationName()})
            .toInt();
    }
    const QString path = normalised(PresenceFilePath(db.databaseName()));
    QMutexLocker lock(&heldGuard());
    const auto it = heldFiles().constFind(path);
    if (it != heldFiles().constEnd())
        return othersHold(it->fd) ? 1 : 0;
    return anyoneHolds(path) ? 1 : 0;
}
