#include "notecount.h"

#include "platform/data/errors.h"

#include <QStringList>

#include <algorithm>

namespace {

// Nine digits always fit the standard 32-bit conversion.
constexpr int maxGroupDigits = 9;

} // namespace

bool isCountDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

qint64 plusSum(const QString &text)
{
    qint64 notes = 0;
    for (const QString &group : text.split(u'+', Qt::SkipEmptyParts)) {
        const bool valid = group.size() <= maxGroupDigits
                           && std::all_of(group.cbegin(), group.cend(), isCountDigit);
        if (!valid)
            throw ConvertError(QStringLiteral("«%1» не является правильным количеством банкнот").arg(group));
        notes += group.toLongLong();
    }
    return notes;
}
