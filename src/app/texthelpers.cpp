#include "texthelpers.h"

#include "platform/data/errors.h"


#include <cmath>

qint32 strToIntSafe(const QString &text)
{
    // The standard conversion ends at a NUL character and takes "12\0abc" for 12.
    if (text.contains(QChar::Null))
        return 0;
    bool ok = false;
    const qint32 value = text.toInt(&ok, 10);
    return ok ? value : 0;
}

QString stripBlanks(const QString &text)
{
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c != u' ' && c != u'\n' && c != u'\r' && c != u'\b')
            result += c;
    }
    return result;
}

namespace {

QLocale strictNumbers(const QLocale &locale)
{
    QLocale strict = locale;
    strict.setNumberOptions(strict.numberOptions() | QLocale::RejectGroupSeparator);
    return strict;
}

// The system's conventions by name, read once: a locale tied to the system asks the system for
// its separators at every conversion, which costs more than the conversion itself.
const QLocale &strictSystemNumbers()
{
    static const QLocale locale = strictNumbers(QLocale(QLocale::system().name()));
    return locale;
}

// The locale's standard conversion: its decimal separator, no group separators, finite values.
bool convertNumber(const QString &text, const QLocale &strict, double &value)
{
    bool ok = false;
    value = strict.toDouble(text, &ok);
    return ok && std::isfinite(value);
}

double cleanNumber(const QString &text, const QLocale &strict)
{
    const QString stripped = stripBlanks(text);
    double value = 0;
    return !stripped.isEmpty() && convertNumber(stripped, strict, value) ? value : 0;
}

} // namespace

double strToFloatClean(const QString &text)
{
    return cleanNumber(text, strictSystemNumbers());
}

double strToFloatClean(const QString &text, const QLocale &locale)
{
    return cleanNumber(text, strictNumbers(locale));
}

double strToFloat(const QString &text)
{
    double value = 0;
    if (!convertNumber(text.trimmed(), strictSystemNumbers(), value))
        throw ConvertError(QStringLiteral("«%1» не является правильным числом").arg(text));
    return value;
}

QString columnOf(const QString &fieldName)
{
    const qsizetype underscore = fieldName.indexOf(u'_');
    return underscore < 0 ? QString() : fieldName.mid(underscore + 1);
}

QString groupedAmountText(double amount)
{
    return QLocale::system().toString(amount, 'f', 2);
}
