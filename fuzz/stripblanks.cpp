// stripBlanks: nothing of the four blanks left, every other character kept in its order.
#include "fuzzsupport.h"

#include "app/texthelpers.h"

namespace {

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\n' || c == u'\r' || c == u'\b';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = fuzzText(data, size);
    const QString stripped = stripBlanks(text);

    qsizetype kept = 0;
    for (const QChar c : text) {
        if (isBlank(c))
            continue;
        FUZZ_CHECK(kept < stripped.size() && stripped.at(kept) == c, text);
        ++kept;
    }
    FUZZ_CHECK(kept == stripped.size(), text);
    return 0;
}
