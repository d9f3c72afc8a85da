#pragma once

#include "screenkit/filechoice.h"

#include <QQueue>
#include <QStringList>

// Answers file and folder questions from a script (an empty answer is Cancel) and records
// the questions asked.
class ScriptedFileChoice final : public FileChoice
{
public:
    void script(const QStringList &answers)
    {
        for (const QString &a : answers)
            m_answers.enqueue(a);
    }
    QString saveFileName(QWidget *, const QString &caption, const QString &filter,
                         const QString &suggested) override
    {
        asked << caption;
        filters << filter;
        suggestions << suggested;
        return next();
    }
    QString openFileName(QWidget *, const QString &caption, const QString &filter) override
    {
        asked << caption;
        filters << filter;
        return next();
    }
    QString folder(QWidget *, const QString &caption, const QString &) override
    {
        asked << caption;
        return next();
    }

    QStringList asked;
    QStringList filters;
    QStringList suggestions;

private:
    QString next() { return m_answers.isEmpty() ? QString() : m_answers.dequeue(); }
    QQueue<QString> m_answers;
};
