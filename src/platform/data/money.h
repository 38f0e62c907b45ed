#pragma once

#include <QMetaType>
#include <QString>

#include <compare>

// An exact amount of money: a whole count of ten-thousandths of a ruble, as the currency
// columns store it. Doubles meet it only at the edges (typed text, computed checks).
class Money
{
public:
    static constexpr qint64 unitsPerRuble = 10000;

    constexpr Money() = default;
    static constexpr Money fromUnits(qint64 units) { return Money(units); }
    // Rounds to the nearest ten-thousandth, halves away from zero; a value that is not
    // finite or does not fit is a ConvertError.
    static Money fromDouble(double rubles);

    constexpr qint64 units() const { return m_units; }
    double toDouble() const { return double(m_units) / unitsPerRuble; }
    // Fixed notation with '.' and the given number of decimals, rounded half away from zero.
    QString toString(int decimals = 2) const;

    constexpr Money operator+(Money other) const { return Money(m_units + other.m_units); }
    constexpr Money operator-(Money other) const { return Money(m_units - other.m_units); }
    constexpr Money operator-() const { return Money(-m_units); }
    Money &operator+=(Money other) { m_units += other.m_units; return *this; }
    Money &operator-=(Money other) { m_units -= other.m_units; return *this; }
    constexpr bool operator==(const Money &) const = default;
    constexpr auto operator<=>(const Money &) const = default;

private:
    constexpr explicit Money(qint64 units) : m_units(units) {}
    qint64 m_units = 0;
};

Q_DECLARE_METATYPE(Money)
