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

// Copies source into folder under its own name, replacing an existing copy. The copy is written
// under a temporary name in the folder and renamed over the target, so a failed copy leaves the
// previous one in place. False when nothing was copied.
bool copyFileToDir(const QString &source, const QString &folder);

// Where copyFileToDir puts source: folder + the part of source after its last "\", "/" or ":",
// joined by "/" unless folder already ends with a separator. Empty when folder or the name is
// empty.
QString copyTargetPath(const QString &source, const QString &folder);

// The database column a data-entry field stores into: the part of its name after the first
// underscore ("m3_summa" → "summa"). Empty for a name without an underscore, which names no
// column.
QString columnOf(const QString &fieldName);
