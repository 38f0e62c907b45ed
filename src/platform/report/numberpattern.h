#pragma once

#include <QLocale>
#include <QString>
#include <QVariant>

// Digit patterns of the printed forms, such as "### ### ##0.00":
//   '0'  a digit that always prints (leading or trailing zero if need be);
//   '#'  a digit that prints only when significant;
//   '.'  the decimal separator, printed as the locale's;
//   ' '  a group blank, kept only after a printed integer digit or before a printed decimal;
//   any other character prints as it stands, and so do the characters after the last digit
//   place ("### ### ##0.00    " ends in four blanks).
// Integer digits beyond the pattern's places all print at its first place; the value is
// rounded half away from zero to the decimal places. A negative value takes a leading '-'
// unless it rounds to zero. Values are ints, doubles or Money; anything else prints as text.
QString formatNumber(const QVariant &value, const QString &pattern,
                     const QLocale &locale = QLocale::system());

// The text a data field prints: empty for null, numbers after the pattern (without one:
// integers plainly, Money with two decimals, doubles in shortest form, each with the system's
// decimal separator), dates dd.MM.yyyy (with hh:mm when the time is not midnight).
QString fieldText(const QVariant &value, const QString &pattern = {});
