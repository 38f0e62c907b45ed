#include "rubproc.h"

#include "platform/data/errors.h"

#include <QFontMetricsF>
#include <QImage>
#include <QStringList>

#include <array>
#include <cmath>

namespace {

using Words = std::array<QStringView, 10>;

const Words unitsMasculine{u"", u"один", u"два", u"три", u"четыре",
                           u"пять", u"шесть", u"семь", u"восемь", u"девять"};
const Words unitsFeminine{u"", u"одна", u"две", u"три", u"четыре",
                          u"пять", u"шесть", u"семь", u"восемь", u"девять"};
const Words teens{u"десять", u"одиннадцать", u"двенадцать", u"тринадцать", u"четырнадцать",
                  u"пятнадцать", u"шестнадцать", u"семнадцать", u"восемнадцать", u"девятнадцать"};
const Words tens{u"", u"десять", u"двадцать", u"тридцать", u"сорок",
                 u"пятьдесят", u"шестьдесят", u"семьдесят", u"восемьдесят", u"девяносто"};
const Words hundreds{u"", u"сто", u"двести", u"триста", u"четыреста",
                     u"пятьсот", u"шестьсот", u"семьсот", u"восемьсот", u"девятьсот"};

// One group of three digits: the gender its number takes, the noun after 1, after 2 to 4 and
// otherwise, and whether the noun is written when the group is 0.
struct Group
{
    const Words &units;
    std::array<QStringView, 3> nouns;
    bool namedWhenZero;
};

const Group millionsGroup{unitsMasculine, {u"миллион", u"миллиона", u"миллионов"}, false};
const Group thousandsGroup{unitsFeminine, {u"тысяча", u"тысячи", u"тысяч"}, false};
const Group rublesGroup{unitsMasculine, {u"рубль", u"рубля", u"рублей"}, true};

constexpr QStringView lowerAlphabet = u"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
constexpr QStringView upperAlphabet = u"АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ";

const QString many = QStringLiteral("много");
const QString kopeckEnd = QStringLiteral(" коп.");
// The two kopeck digits, the blank and "коп." that end every text with kopecks.
constexpr qsizetype kopeckTailLength = 7;

// A tenth of a kopeck: keeps 1.29, held as 1.2899…, at 29 kopecks when the rest is cut off.
constexpr double kopeckAllowance = 0.001;
// One milliard rubles: the first amount the words cannot name.
constexpr double manyKopecks = 1e11;

constexpr int measuringDpi = 1200;
constexpr qreal millimetresPerInch = 25.4;

QString replaceFirstLetter(QString text, QStringView from, QStringView to)
{
    const qsizetype index = text.isEmpty() ? -1 : from.indexOf(text.at(0));
    if (index >= 0)
        text[0] = to.at(index);
    return text;
}

QString belowHundredToWords(int n, const Words &units)
{
    if (n < 10)
        return units[n].toString();
    if (n % 10 == 0)
        return tens[n / 10].toString();
    if (n < 20)
        return teens[n - 10].toString();
    return tens[n / 10].toString() + u' ' + units[n % 10].toString();
}

// 1 and 21 take the first noun form, 2 to 4 and 22 to 24 the second, the rest (11 to 14 too)
// the third.
int nounForm(int n)
{
    const int lastDigits = n > 20 ? n % 10 : n;
    if (lastDigits == 1)
        return 0;
    return lastDigits >= 2 && lastDigits <= 4 ? 1 : 2;
}

void groupToWords(QStringList &words, int n, const Group &group)
{
    if (n == 0 && !group.namedWhenZero)
        return;
    const int rest = n % 100;
    if (n >= 100)
        words << hundreds[n / 100].toString();
    if (rest > 0)
        words << belowHundredToWords(rest, group.units);
    words << group.nouns[nounForm(rest)].toString();
}

QString kopecksToWords(qint64 kopecks)
{
    const qint64 rubles = kopecks / 100;
    const QString kopeckPart = QStringLiteral(" %1").arg(kopecks % 100, 2, 10, QChar(u'0'))
                               + kopeckEnd;
    if (rubles == 0)
        return QStringLiteral("ноль рублей") + kopeckPart;
    QStringList words;
    groupToWords(words, int(rubles / 1000000), millionsGroup);
    groupToWords(words, int(rubles / 1000 % 1000), thousandsGroup);
    groupToWords(words, int(rubles % 1000), rublesGroup);
    return replaceFirstLetter(words.join(u' ') + kopeckPart, lowerAlphabet, upperAlphabet);
}

// How many UTF-16 units the character at index takes: 2 for a surrogate pair, else 1.
qsizetype unitsAt(const QString &text, qsizetype index)
{
    return text.at(index).isHighSurrogate() && index + 1 < text.size() && text.at(index + 1).isLowSurrogate()
               ? 2
               : 1;
}

// The first letter of a word as a reader sees it: a whole character, never half of a surrogate
// pair, with the combining marks that follow it (a decomposed «Й» is «И» and a breve).
QString initialOf(const QString &word)
{
    qsizetype end = unitsAt(word, 0);
    while (end < word.size()) {
        const qsizetype units = unitsAt(word, end);
        const char32_t c = units == 2 ? QChar::surrogateToUcs4(word.at(end), word.at(end + 1))
                                      : char32_t(word.at(end).unicode());
        if (!QChar::isMark(c))
            break;
        end += units;
    }
    return word.left(end);
}

bool hasKopecks(const QString &words)
{
    return words.size() >= kopeckTailLength && words.endsWith(kopeckEnd);
}

} // namespace

QString rubToWords(double amount)
{
    const double kopecks = std::trunc((std::abs(amount) + kopeckAllowance) * 100);
    const QString words = kopecks < manyKopecks ? kopecksToWords(qint64(kopecks)) : many;
    if (amount < 0 && kopecks != 0)
        return QStringLiteral("Минус ") + replaceFirstLetter(words, upperAlphabet, lowerAlphabet);
    return words;
}

QString wordsBeforeRub(const QString &words)
{
    const qsizetype rubleNoun = words.indexOf(u" руб");
    return hasKopecks(words) && rubleNoun >= 0 ? words.left(rubleNoun + 1) : QString();
}

QString wordsWithoutKop(const QString &words)
{
    return hasKopecks(words) ? words.chopped(kopeckTailLength) : QString();
}

QString kopeckDigits(const QString &words)
{
    return hasKopecks(words) ? words.right(kopeckTailLength).left(2) : QString();
}

QFont defaultWordsFont()
{
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPointSizeF(10);
    return font;
}

qreal printedTextWidth(const QString &text, const QFont &font)
{
    // Measured at printer resolution, where hinting no longer bends the widths.
    QImage device(1, 1, QImage::Format_Mono);
    const int dotsPerMeter = qRound(measuringDpi * 1000 / millimetresPerInch);
    device.setDotsPerMeterX(dotsPerMeter);
    device.setDotsPerMeterY(dotsPerMeter);
    return QFontMetricsF(font, &device).horizontalAdvance(text) * millimetresPerInch / measuringDpi;
}

void rubWordsToLabels(QString &wordsCaption, qreal wordsWidth, QString &kopeckCaption,
                      double amount, const QFont &font)
{
    const QString words = rubToWords(amount);
    kopeckCaption = kopeckDigits(words);
    if (const std::optional<QString> padded = padWithDashes(wordsBeforeRub(words), wordsWidth, font))
        wordsCaption = *padded;
}

std::optional<QString> padWithDashes(const QString &text, qreal width, const QFont &font)
{
    if (printedTextWidth(text + u'-', font) > width)
        return std::nullopt;
    const qreal dash = printedTextWidth(QStringLiteral("-"), font);
    int dashes = qMax(1, int((width - printedTextWidth(text, font)) / dash));
    // Widths do not quite add up once kerned: take off what still overruns.
    while (dashes > 1 && printedTextWidth(text + QString(dashes, u'-'), font) > width)
        --dashes;
    return text + QString(dashes, u'-');
}

QString monthGenitive(int month)
{
    static const std::array<QStringView, 12> names{
        u"января", u"февраля", u"марта", u"апреля", u"мая", u"июня",
        u"июля", u"августа", u"сентября", u"октября", u"ноября", u"декабря"};
    return month >= 1 && month <= 12 ? names[month - 1].toString() : QString();
}

DocDateParts dateToDocParts(const QString &date)
{
    bool ok = false;
    const int month = date.mid(3, 2).toInt(&ok);
    const QString monthName = ok ? monthGenitive(month) : QString();
    if (monthName.isEmpty())
        throw ConvertError(QStringLiteral("«%1» не является правильной датой").arg(date));
    return {date.left(2), monthName, date.mid(6, 4)};
}

QString fioInitials(const QString &fullName, bool surnameFirst)
{
    const QStringList words = fullName.simplified().split(u' ', Qt::SkipEmptyParts);
    if (words.size() < 2)
        return words.value(0);
    // Without a patronymic the first initial stands twice, as the printed forms have always shown
    // it («ВЫБРАТЬ О.О.» for an operator not chosen).
    const QString patronymic = words.size() > 2 ? words[2] : words[1];
    const QString initials = initialOf(words[1]) + u'.' + initialOf(patronymic) + u'.';
    return surnameFirst ? words[0] + u' ' + initials : initials + u' ' + words[0];
}
