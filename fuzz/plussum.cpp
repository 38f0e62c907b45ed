// plusSum: a count expression either adds up to a sum no group can make negative or too large,
// or is refused with a ConvertError because it holds something besides digits and plus signs or a
// group of more than nine digits.
#include "fuzzsupport.h"

#include "inkass/notecount.h"
#include "platform/data/errors.h"

#include <QStringList>

namespace {

bool isCountText(const QString &text)
{
    for (const QString &group : text.split(u'+', Qt::SkipEmptyParts)) {
        if (group.size() > 9)
            return false;
        for (const QChar c : group) {
            if (c < u'0' || c > u'9')
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const bool valid = isCountText(text);
    try {
        const qint64 notes = plusSum(text);
        FUZZ_CHECK(valid, text);
        FUZZ_CHECK(notes >= 0 && notes <= 999999999LL * (text.count(u'+') + 1), text);
        FUZZ_CHECK(plusSum(text + u'+' + text) == 2 * notes, text);
    } catch (const ConvertError &error) {
        FUZZ_CHECK(!valid, text);
        FUZZ_CHECK(!error.message().isEmpty(), text);
    }
    return 0;
}
