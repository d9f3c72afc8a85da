#include "foundation/db/numbers.h"

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
    if (decimals < 0)
        decimals = 0;
    if (decimals > 10)
        decimals = 10;
    const double scale = std::pow(10.0, decimals);
    const double shifted = (value + 0.000000001) * scale;
    const double rounded = std::round(shifted) / scale;  // std::round: half away from zero
    // Back through text so that 0.1 + 0.2 style tails never survive.
    return QString::number(rounded, 'f', decimals).toDouble();
}

double TextToNumber(const QString &text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok ? v : 0.0;
}
