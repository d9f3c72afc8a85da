#include "screenkit/numberdisplay.h"

#include "foundation/db/numbers.h"
#include "platform/format/formatnumber.h"

QString DisplayNumber(double value, const QString &format)
{
    if (format.isEmpty())
        return NumberText(value);
    return FormatNumber(value, format);
}

int FormatDecimals(const QString &format)
{
    const QString first = format.section(QLatin1Char(';'), 0, 0);
    const int point = first.indexOf(QLatin1Char('.'));
    if (point < 0)
        return 0;
    int n = 0;
    for (int i = point + 1; i < first.size(); ++i) {
        const QChar c = first.at(i);
        if (c == QLatin1Char('0') || c == QLatin1Char('#'))
            ++n;
        else if (c != QLatin1Char(','))
            break;
    }
    return n;
}
