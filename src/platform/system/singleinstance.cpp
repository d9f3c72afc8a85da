#include "platform/system/singleinstance.h"

#include <QDir>
#include <QLockFile>

SingleInstance::SingleInstance(const QString &name)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::tempPath();
    m_path = QDir(folder).filePath(name + QStringLiteral(".lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::acquire()
{
    return m_lock->tryLock(0);
}
