#pragma once

#include <QString>

// The system's message boxes. Rules that must ask in the middle of their work receive this
// interface; screens use the widget implementation, tests a scripted double.
class Notices
{
public:
    enum class Answer { Ok, Yes, No, Cancel };

    virtual ~Notices() = default;

    // A notice or refusal: title "系统提示", information icon, button "确定".
    virtual void notice(const QString &text) = 0;
    // A question: title "信息提醒", information icon, buttons "是" and "否" (and "取消").
    virtual Answer ask(const QString &text, bool withCancel = false) = 0;
    // The unhandled-error box: title "系统提示", no icon, button "确定".
    virtual void error(const QString &text) = 0;

    bool confirm(const QString &text) { return ask(text) == Answer::Yes; }
};

inline constexpr const char *kNoticeTitle = "系统提示";
inline constexpr const char *kQuestionTitle = "信息提醒";
