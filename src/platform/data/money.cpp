#include "money.h"

#include "errors.h"

#include <cmath>
#include <limits>

Money Money::fromDouble(double rubles)
{
    const double units = std::round(rubles * unitsPerRuble);
    // 2^63 is exactly representable; anything at or beyond it would overflow the count.
    constexpr double limit = 9223372036854775808.0;
    if (!std::isfinite(units) || units >= limit || units < -limit)
        throw ConvertError(QStringLiteral("Сумма %1 не может быть записана как денежное значение")
                               .arg(rubles));
    return Money(qint64(units));
}

QString Money::toString(int decimals) const
{
    decimals = qBound(0, decimals, 4);
    qint64 divisor = 1;
    for (int i = decimals; i < 4; ++i)
        divisor *= 10;
    const bool negative = m_units < 0;
    // Work on the magnitude as unsigned so that the most negative count still rounds.
    quint64 magnitude = negative ? quint64(-(m_units + 1)) + 1 : quint64(m_units);
    magnitude = (magnitude + quint64(divisor) / 2) / quint64(divisor);
    qint64 scale = 1;
    for (int i = 0; i < decimals; ++i)
        scale *= 10;
    const quint64 whole = magnitude / quint64(scale);
    const quint64 fraction = magnitude % quint64(scale);
    QString text = QString::number(whole);
    if (decimals > 0)
        text += QLatin1Char('.') + QString::number(fraction).rightJustified(decimals, QLatin1Char('0'));
    if (negative && magnitude != 0)
        text.prepend(QLatin1Char('-'));
    return text;
}
