#include "foundation/db/numbers.h"

#include <algorithm>
#include <cmath>

QString NumberText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    QString text = QString::number(value, 'g', 15);
    if (text == QLatin1String("-0"))
        text = QStringLiteral("0");
    return text;
}

double RoundTo(double value, int decimals)
{
    // Powers of ten up to 1e10 are exact doubles, so the quotient below is the double nearest
    // to the rounded decimal: the same double its d-decimal text would read back as.
    static constexpr double kScales[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9, 1e10};
    decimals = std::clamp(decimals, 0, 10);
    const double scale = kScales[decimals];
    const double rounded = std::round((value + 0.000000001) * scale) / scale;  // half away from zero
    // A negative value rounding to zero gives 0, never -0 (its text "-0" always read back as 0).
    return rounded == 0 ? 0.0 : rounded;
}

double TextToNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}
