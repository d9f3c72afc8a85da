#pragma once

#include "foundation/notices.h"

class QWidget;

// The narrowest a message box gets, so that its title ("系统提示", "信息提醒") shows whole.
inline constexpr int kMessageBoxMinimumWidth = 260;

// The system's message boxes on screen: Chinese button texts, information icon, never narrower
// than their title needs.
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
