#pragma once

#include "zreport/zfieldinput.h"

#include <QString>

// Whether text is what a Z-report field of this kind can hold: digits, at most one mark (none in
// a number) with at most two characters after it, within maxLength characters.
inline bool isFieldText(const QString &text, zfield::Input input, int maxLength)
{
    const bool withMark = input == zfield::Input::Amount || input == zfield::Input::Time;
    const QChar mark = input == zfield::Input::Time ? QChar(u':') : zfield::decimalMark();
    if (text.size() > maxLength)
        return false;
    const qsizetype markAt = withMark ? text.indexOf(mark) : -1;
    if (markAt >= 0 && (text.indexOf(mark, markAt + 1) >= 0 || text.size() - markAt - 1 > 2))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (i != markAt && (text.at(i) < u'0' || text.at(i) > u'9'))
            return false;
    }
    return true;
}
