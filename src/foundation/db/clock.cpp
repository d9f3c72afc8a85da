#include "foundation/db/clock.h"

QDateTime Clock::now() const
{
    return QDateTime::currentDateTime();
}

QString Clock::todayText() const
{
    return today().toString(QLatin1String(kDateFormat));
}

QString Clock::nowText() const
{
    return now().toString(QLatin1String(kDateTimeFormat));
}

QString Clock::nowMinuteText() const
{
    return now().toString(QLatin1String(kDateMinuteFormat));
}

const Clock &Clock::system()
{
    static const Clock clock;
    return clock;
}
