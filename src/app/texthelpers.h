#pragma once

#include <QLocale>
#include <QString>

// 0 for an empty text or one that is not a decimal 32-bit integer (blanks around the digits are
// allowed, group separators and hexadecimal are not).
qint32 strToIntSafe(const QString &text);

// The text without its blanks (32), line feeds (10), carriage returns (13) and backspaces (8).
QString stripBlanks(const QString &text);

// A typed amount: blanks stripped first, then converted with the decimal separator of the
// system locale. Group separators are rejected (as the locale's standard conversion never took
// them), and so are infinities and NaN; a rejected or empty text gives 0.
double strToFloatClean(const QString &text);
double strToFloatClean(const QString &text, const QLocale &locale);
// An amount as the main window's totals show it: two decimals, digits grouped by the locale.
QString groupedAmountText(double amount);

// The standard conversion of a number typed with the system's decimal separator (blanks around
// it allowed); a text it rejects is a ConvertError.
double strToFloat(const QString &text);

// The database column a data-entry field stores into: the part of its name after the first
// underscore ("m3_summa" → "summa"). Empty for a name without an underscore, which names no
// column.
QString columnOf(const QString &fieldName);
