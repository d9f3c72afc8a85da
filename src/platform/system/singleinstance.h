#pragma once

#include <QString>

#include <memory>

class QLockFile;

// One running copy per user session: a lock file in the runtime folder ($XDG_RUNTIME_DIR, or
// the temporary folder) named after the guard. The lock is held until the object dies; a lock
// left by a crashed copy is taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &name = QStringLiteral("kvtlmrq"));
    ~SingleInstance();

    // False when another copy holds the lock.
    bool acquire();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};
