#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// Where "now" comes from. Rules take a Clock so that tests can fix the day.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const;
    QDate today() const { return now().date(); }

    // The fixed text forms of the system; it never formats dates through the locale.
    QString todayText() const;       // yyyy-MM-dd
    QString nowText() const;         // yyyy-MM-dd HH:mm:ss
    QString nowMinuteText() const;   // yyyy-MM-dd HH:mm

    static const Clock &system();
};

class FixedClock : public Clock
{
public:
    explicit FixedClock(const QDateTime &now) : m_now(now) {}
    QDateTime now() const override { return m_now; }
    void set(const QDateTime &now) { m_now = now; }

private:
    QDateTime m_now;
};

inline constexpr const char *kDateFormat = "yyyy-MM-dd";
inline constexpr const char *kTimeFormat = "HH:mm:ss";
inline constexpr const char *kDateTimeFormat = "yyyy-MM-dd HH:mm:ss";
inline constexpr const char *kDateMinuteFormat = "yyyy-MM-dd HH:mm";
