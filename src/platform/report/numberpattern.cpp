#include "numberpattern.h"

#include "platform/data/money.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

// A number as its decimal digits: ±digits × 10^-scale, with at least one digit before the
// decimal places.
struct Decimal
{
    bool negative = false;
    QString digits;
    int scale = 0;

    static Decimal parse(QString text);
    void roundTo(int places);
    bool isZero() const { return digits.count(QLatin1Char('0')) == digits.size(); }
    QString integerDigits() const;
    QString fractionDigits() const { return digits.right(scale); }
};

Decimal Decimal::parse(QString text)
{
    Decimal decimal;
    decimal.negative = text.startsWith(QLatin1Char('-'));
    if (decimal.negative)
        text.remove(0, 1);
    const qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0) {
        decimal.scale = int(text.size() - point - 1);
        text.remove(point, 1);
    }
    decimal.digits = text.rightJustified(decimal.scale + 1, QLatin1Char('0'));
    return decimal;
}

// Half away from zero, on the decimal digits themselves: 0.125 becomes 0.13.
void Decimal::roundTo(int places)
{
    if (scale <= places) {
        digits += QString(places - scale, QLatin1Char('0'));
        scale = places;
        return;
    }
    const int dropped = scale - places;
    const bool up = digits.at(digits.size() - dropped) >= QLatin1Char('5');
    digits.chop(dropped);
    scale = places;
    if (!up)
        return;
    for (qsizetype i = digits.size() - 1; i >= 0; --i) {
        if (digits[i] != QLatin1Char('9')) {
            digits[i] = QChar(digits[i].unicode() + 1);
            return;
        }
        digits[i] = QLatin1Char('0');
    }
    digits.prepend(QLatin1Char('1'));
}

QString Decimal::integerDigits() const
{
    QString whole = digits.left(digits.size() - scale);
    qsizetype leadingZeros = 0;
    while (leadingZeros < whole.size() && whole.at(leadingZeros) == QLatin1Char('0'))
        ++leadingZeros;
    return whole.mid(leadingZeros);
}

bool isMoney(const QVariant &value)
{
    return value.metaType() == QMetaType::fromType<Money>();
}

std::optional<Decimal> decimalOf(const QVariant &value)
{
    if (isMoney(value))
        return Decimal::parse(value.value<Money>().toString(4));
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::Int:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return Decimal::parse(QString::number(value.toLongLong()));
    case QMetaType::UShort:
    case QMetaType::UInt:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return Decimal::parse(QString::number(value.toULongLong()));
    case QMetaType::Float:
    case QMetaType::Double: {
        const double number = value.toDouble();
        if (!std::isfinite(number))
            return std::nullopt;
        return Decimal::parse(QLocale::c().toString(number, 'f', QLocale::FloatingPointShortest));
    }
    default:
        return std::nullopt;
    }
}

bool isDigitPlace(QChar c)
{
    return c == QLatin1Char('0') || c == QLatin1Char('#');
}

// A pattern cut at its decimal point and after its last digit place.
struct Pattern
{
    QString integerPart;
    QString fractionPart;
    QString suffix;

    explicit Pattern(const QString &pattern);
    bool hasDigitPlaces() const { return !integerPart.isEmpty() || !fractionPart.isEmpty(); }
    int integerPlaces() const;
    // Places from the first '0' of the integer part to its end.
    int forcedIntegerDigits() const;
    int fractionPlaces() const;
    // Places up to the last '0' of the fraction part.
    int forcedFractionDigits() const;
};

Pattern::Pattern(const QString &pattern)
{
    qsizetype last = pattern.size() - 1;
    while (last >= 0 && !isDigitPlace(pattern.at(last)))
        --last;
    if (last < 0)
        return;
    const QString body = pattern.left(last + 1);
    suffix = pattern.mid(last + 1);
    const qsizetype point = body.indexOf(QLatin1Char('.'));
    integerPart = point < 0 ? body : body.left(point);
    fractionPart = point < 0 ? QString() : body.mid(point + 1);
}

int Pattern::integerPlaces() const
{
    return int(std::count_if(integerPart.cbegin(), integerPart.cend(), isDigitPlace));
}

int Pattern::forcedIntegerDigits() const
{
    const qsizetype firstZero = integerPart.indexOf(QLatin1Char('0'));
    if (firstZero < 0)
        return 0;
    return int(std::count_if(integerPart.cbegin() + firstZero, integerPart.cend(), isDigitPlace));
}

int Pattern::fractionPlaces() const
{
    return int(std::count_if(fractionPart.cbegin(), fractionPart.cend(), isDigitPlace));
}

int Pattern::forcedFractionDigits() const
{
    const qsizetype lastZero = fractionPart.lastIndexOf(QLatin1Char('0'));
    if (lastZero < 0)
        return 0;
    return int(
        std::count_if(fractionPart.cbegin(), fractionPart.cbegin() + lastZero + 1, isDigitPlace));
}

QString formatInteger(const Pattern &pattern, const QString &digits)
{
    QString text;
    int placesLeft = pattern.integerPlaces();
    qsizetype printed = 0;
    for (const QChar c : pattern.integerPart) {
        if (isDigitPlace(c)) {
            --placesLeft;
            // The first place takes every digit the pattern has no room for.
            const qsizetype through = digits.size() - placesLeft;
            if (through > printed) {
                text += digits.mid(printed, through - printed);
                printed = through;
            }
        } else if (c != QLatin1Char(' ') || printed > 0) {
            text += c;
        }
    }
    return text + digits.mid(printed);
}

QString formatFraction(const Pattern &pattern, const QString &digits)
{
    QString text;
    qsizetype place = 0;
    for (const QChar c : pattern.fractionPart) {
        if (isDigitPlace(c)) {
            if (place < digits.size())
                text += digits.at(place);
            ++place;
        } else if (c != QLatin1Char(' ') || place < digits.size()) {
            text += c;
        }
    }
    return text;
}

QString plainNumber(const QVariant &value, const QLocale &locale)
{
    if (isMoney(value))
        return value.value<Money>().toString(2).replace(QLatin1Char('.'), locale.decimalPoint());
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return QString::number(value.toDouble(), 'g', 15)
            .replace(QLatin1Char('.'), locale.decimalPoint());
    return value.toString();
}

QString dateText(const QVariant &value)
{
    const QString dateFormat = QStringLiteral("dd.MM.yyyy");
    if (value.typeId() == QMetaType::QDate)
        return value.toDate().toString(dateFormat);
    const QDateTime moment = value.toDateTime();
    if (moment.time() == QTime(0, 0))
        return moment.toString(dateFormat);
    return moment.toString(dateFormat + QStringLiteral(" hh:mm"));
}

} // namespace

QString formatNumber(const QVariant &value, const QString &pattern, const QLocale &locale)
{
    const Pattern parsed(pattern);
    std::optional<Decimal> decimal = decimalOf(value);
    if (!decimal)
        return value.toString();
    if (!parsed.hasDigitPlaces())
        return plainNumber(value, locale);

    decimal->roundTo(parsed.fractionPlaces());
    QString fraction = decimal->fractionDigits();
    while (fraction.size() > parsed.forcedFractionDigits() && fraction.endsWith(QLatin1Char('0')))
        fraction.chop(1);
    const QString integer
        = decimal->integerDigits().rightJustified(parsed.forcedIntegerDigits(), QLatin1Char('0'));
    QString text;
    if (decimal->negative && !decimal->isZero())
        text += QLatin1Char('-');
    text += formatInteger(parsed, integer);
    if (!fraction.isEmpty())
        text += locale.decimalPoint();
    return text + formatFraction(parsed, fraction) + parsed.suffix;
}

QString fieldText(const QVariant &value, const QString &pattern)
{
    if (value.isNull())
        return {};
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        return dateText(value);
    if (!decimalOf(value))
        return value.toString();
    if (pattern.isEmpty())
        return plainNumber(value, QLocale::system());
    return formatNumber(value, pattern);
}
