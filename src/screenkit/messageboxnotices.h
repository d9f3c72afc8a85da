#pragma once

#include "foundation/notices.h"

class QWidget;

// The system's message boxes on screen: Chinese button texts, information icon.
class MessageBoxNotices final : public Notices
{
public:
    explicit MessageBoxNotices(QWidget *parent = nullptr) : m_parent(parent) {}

    void notice(const QString &text) override;
    Answer ask(const QString &text, bool withCancel = false) override;
    void error(const QString &text) override;

private:
    QWidget *m_parent;
};
