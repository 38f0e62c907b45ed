// rubToWords on any double, taken from the raw input bytes (NaN, infinities, denormals, huge and
// negative ones included): never empty, "много" exactly when the amount is too large to name or
// not a number, and otherwise words with the kopecks in two figures. An amount of whole kopecks
// shows those kopecks, however its double falls.
#include "fuzzsupport.h"

#include "documents/rubproc.h"

#include <cmath>

namespace {

const QString many = QStringLiteral("много");

void checkWords(double amount)
{
    const QString words = rubToWords(amount);
    const QString shown = QString::number(amount, 'g', 17) + u'|' + words;
    FUZZ_CHECK(!words.isEmpty(), shown);
    // Only amounts clear of the limits: at a limit the double's own error decides.
    const bool tooLarge = std::isnan(amount) || std::abs(amount) >= 1e9;
    if (tooLarge || std::abs(amount) < 999999999.99)
        FUZZ_CHECK(words.endsWith(many) == tooLarge, shown);
    const bool minus = words.startsWith(QStringLiteral("Минус "));
    if (amount <= -0.01)
        FUZZ_CHECK(minus, shown);
    if (std::isnan(amount) || amount > -0.009)
        FUZZ_CHECK(!minus, shown);
    if (words.endsWith(many)) {
        FUZZ_CHECK(kopeckDigits(words).isEmpty() && wordsBeforeRub(words).isEmpty(), shown);
        return;
    }
    const QString kopecks = kopeckDigits(words);
    FUZZ_CHECK(kopecks.size() == 2 && kopecks.at(0).isDigit() && kopecks.at(1).isDigit(), shown);
    FUZZ_CHECK(!wordsBeforeRub(words).trimmed().isEmpty(), shown);
    FUZZ_CHECK(wordsWithoutKop(words) + kopecks + QStringLiteral(" коп.") == words, shown);
    FUZZ_CHECK(words.at(0).isUpper() || words.startsWith(QStringLiteral("ноль")), shown);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    checkWords(fuzzValue<double>(data, size));

    const qint64 wholeKopecks = fuzzValue<qint64>(data, size) % 100000000000LL;
    const double amount = double(wholeKopecks) / 100;
    checkWords(amount);
    const QString expected = QStringLiteral("%1").arg(std::abs(wholeKopecks) % 100, 2, 10, QChar(u'0'));
    FUZZ_CHECK(kopeckDigits(rubToWords(amount)) == expected, rubToWords(amount));
    return 0;
}
