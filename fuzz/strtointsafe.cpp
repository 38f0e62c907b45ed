// strToIntSafe: the value of a decimal 32-bit integer with ASCII white space around it, 0 for anything else;
// the decimal text of any int reads back as that int.
#include "fuzzsupport.h"

#include "app/texthelpers.h"

#include <optional>

namespace {

// The value of [+-]digits within 32 bits, worked out digit by digit.
std::optional<qint32> decimalValue(const QString &text)
{
    qsizetype i = 0;
    const bool negative = text.startsWith(u'-');
    if (negative || text.startsWith(u'+'))
        i = 1;
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
        if (value > qint64(1) << 32)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

// The text without the ASCII white space around it, which the standard conversion skips (other
// blanks, such as the ideographic space, it rejects).
QString withoutOuterSpace(const QString &text)
{
    const auto isSpace = [](QChar c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isSpace(text.at(begin)))
        ++begin;
    while (end > begin && isSpace(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    FUZZ_CHECK(strToIntSafe(text) == decimalValue(withoutOuterSpace(text)).value_or(0), text);

    const qint32 number = fuzzValue<qint32>(data, size);
    const QString written = QString::number(number);
    FUZZ_CHECK(strToIntSafe(written) == number, written);
    FUZZ_CHECK(strToIntSafe(u' ' + written + u'\t') == number, written);
    return 0;
}
