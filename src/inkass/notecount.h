#pragma once

#include <QString>

// Counts of banknotes as the calculator takes them.

// "0" to "9": the only characters of a count.
bool isCountDigit(QChar c);

// The number of notes of a count expression: the numbers between the plus signs added up, 0 when
// there is none. A group that is not a decimal number of at most nine digits is a ConvertError:
// a count has no sign, blank or letter.
qint64 plusSum(const QString &text);
