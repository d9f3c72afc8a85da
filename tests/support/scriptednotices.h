#pragma once

#include "qtprinters.h"

#include "foundation/notices.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

// Records every box a rule or screen shows and answers questions from a script.
class ScriptedNotices final : public Notices
{
public:
    enum class Kind { Notice, Question, Error };
    struct Shown
    {
        Kind kind;
        QString text;
    };

    // Answers for the coming questions, in order; when the script runs out, `fallback`.
    void script(std::initializer_list<Answer> answers)
    {
        for (Answer a : answers)
            m_answers.enqueue(a);
    }
    Answer fallback = Answer::Yes;

    void notice(const QString &text) override { shown.append({Kind::Notice, text}); }
    Answer ask(const QString &text, bool) override
    {
        shown.append({Kind::Question, text});
        return m_answers.isEmpty() ? fallback : m_answers.dequeue();
    }
    void error(const QString &text) override { shown.append({Kind::Error, text}); }

    QStringList texts() const
    {
        QStringList out;
        for (const Shown &s : shown)
            out << s.text;
        return out;
    }
    QString last() const { return shown.isEmpty() ? QString() : shown.last().text; }

    QList<Shown> shown;

private:
    QQueue<Answer> m_answers;
};
