#pragma once

// The program folder (JXC_HOME) of one test: set while the object lives, the former value (or
// its absence) back afterwards, so that nothing a screen keeps (layouts, screen sizes,
// pictures) reaches a developer's folder or the build's.

#include <QByteArray>
#include <QString>

class ScopedProgramFolder
{
public:
    explicit ScopedProgramFolder(const QString &folder) : m_old(qgetenv("JXC_HOME"))
    {
        qputenv("JXC_HOME", folder.toLocal8Bit());
    }
    ~ScopedProgramFolder()
    {
        if (m_old.isNull())
            qunsetenv("JXC_HOME");
        else
            qputenv("JXC_HOME", m_old);
    }
    ScopedProgramFolder(const ScopedProgramFolder &) = delete;
    ScopedProgramFolder &operator=(const ScopedProgramFolder &) = delete;

private:
    QByteArray m_old;
};
