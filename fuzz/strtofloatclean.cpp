// strToFloatClean, both overloads, under a point and a comma locale: always a finite number, and
// an amount the locale prints with two decimals reads back as that amount.
#include "fuzzsupport.h"

#include "app/texthelpers.h"

#include <QLocale>

#include <cmath>

namespace {

void checkPrintedAmountReadsBack(double amount, const QLocale &locale)
{
    if (!std::isfinite(amount) || std::abs(amount) >= 1e12)
        return;
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString printed = plain.toString(amount, 'f', 2);
    const double read = strToFloatClean(printed, locale);
    FUZZ_CHECK(std::abs(read - amount) <= 0.005 + std::abs(amount) * 1e-15, printed);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QLocale point = QLocale::c();
    static const QLocale comma(QLocale::Russian, QLocale::Russia);

    const QString text = fuzzText(data, size);
    for (const QLocale &locale : {point, comma}) {
        FUZZ_CHECK(std::isfinite(strToFloatClean(text, locale)), text);
        checkPrintedAmountReadsBack(fuzzValue<double>(data, size), locale);
    }
    const double system = strToFloatClean(text);
    FUZZ_CHECK(std::isfinite(system), text);
    FUZZ_CHECK(system == strToFloatClean(text, QLocale::system()), text);
    return 0;
}
