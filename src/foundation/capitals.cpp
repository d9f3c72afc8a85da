#include "foundation/capitals.h"

#include <cmath>

QString DigitToCapital(const QString &digit)
{
    static const char16_t kDigits[] = u"零壹贰叁肆伍陆柒捌玖";
    if (digit.size() != 1)
        return QString();
    const char16_t c = digit.at(0).unicode();
    if (c < '0' || c > '9')
        return QString();
    return QString(QChar(kDigits[c - '0']));
}

QString PlaceUnitName(int position)
{
    if (position < 1 || position > 30)
        return QString();
    switch (position) {
    case 1: return QStringLiteral("分");
    case 2: return QStringLiteral("角");
    case 3: return QString();
    case 7: return QStringLiteral("万");
    case 11: return QStringLiteral("亿");
    case 15: return QStringLiteral("万亿");
    case 19: return QStringLiteral("亿亿");
    case 23: return QStringLiteral("万亿亿");
    case 27: return QStringLiteral("亿亿亿");
    default: break;
    }
    switch (position % 4) {
    case 0: return QStringLiteral("拾");
    case 1: return QStringLiteral("佰");
    case 2: return QStringLiteral("仟");
    default: return QString();
    }
}

namespace {

// The amount as a string of whole cents, or a null string when the text cannot be one.
QString capitalsCents(const QString &text)
{
    bool ok = false;
    double x = text.toDouble(&ok);
    if (!ok && text.endsWith(QLatin1Char('.')))  // "5." reads 5
        x = (text + QLatin1Char('0')).toDouble(&ok);
    if (!ok)
        x = 0;
    if (text.size() < 4 && x < 1)
        return QString::number(std::llround(x * 100));
    QString t = text;
    qsizetype lead = 0;
    while (lead < t.size() && t.at(lead) == QLatin1Char('0'))
        ++lead;
    t = t.mid(lead);
    if (t.startsWith(QLatin1Char('.')))
        return t.mid(1, 2);
    const qsizetype point = t.indexOf(QLatin1Char('.'));
    if (point < 0 || point == t.size() - 1)
        return t.left(point < 0 ? t.size() : point) + QStringLiteral("00");
    const QString integer = t.left(point);
    const QString decimals = t.mid(point + 1);
    if (decimals.size() == 1)
        return integer + decimals + QLatin1Char('0');
    return integer + decimals.left(2);
}

} // namespace

QString MoneyToCapital(const QString &amount)
{
    QString text = amount;
    QString sign;
    if (text.startsWith(QLatin1Char('-'))) {
        sign = QStringLiteral("负");
        text.remove(0, 1);
    }
    int points = 0;
    for (const QChar c : text) {
        if (c == QLatin1Char('.'))
            ++points;
        else if (c.unicode() < '0' || c.unicode() > '9')
            return QString();
    }
    if (points > 1)
        return QString();

    const QString cents = capitalsCents(text);
    const int m = int(cents.size());
    if (m > 30)
        return QString();

    QString spelled;
    bool zeroPending = false;
    bool unitAllowed = true;
    for (int i = 1; i <= m; ++i) {
        const int p = m - i + 1;
        const QString digit = cents.mid(i - 1, 1);
        const bool groupPosition = p > 4 && (p + 1) % 4 == 0;
        if (digit != QLatin1String("0")) {
            if (zeroPending)
                spelled += QStringLiteral("零");
            spelled += DigitToCapital(digit) + PlaceUnitName(p);
            zeroPending = false;
            unitAllowed = !groupPosition;
        } else {
            zeroPending = true;
            if (groupPosition && unitAllowed) {
                spelled += PlaceUnitName(p);
                zeroPending = false;
                unitAllowed = false;
            }
        }
        if (p == 3) {
            spelled += QStringLiteral("元");
            zeroPending = false;
        }
    }
    if (m >= 2 && cents.endsWith(QLatin1String("00")))
        spelled += QStringLiteral("整");
    // A negative zero ("-.00", "-0") spells as nothing as well: no lone "负".
    if (spelled.isEmpty() || spelled == QStringLiteral("整"))
        return QStringLiteral("零元整");
    return sign + spelled;
}
