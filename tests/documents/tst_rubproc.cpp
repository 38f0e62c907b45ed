#include "documents/rubproc.h"
#include "platform/data/errors.h"

#include <QFontInfo>
#include <QTest>

#include <limits>

class TestRubproc : public QObject
{
    Q_OBJECT

private slots:
    void rubToWords_data();
    void rubToWords();
    void fragments_data();
    void fragments();
    void printedTextWidthIsInMillimetres();
    void rubWordsToLabelsPadsWithDashes_data();
    void rubWordsToLabelsPadsWithDashes();
    void rubWordsToLabelsKeepsCaptionOfTooNarrowLabel();
    void monthGenitive_data();
    void monthGenitive();
    void dateToDocParts_data();
    void dateToDocParts();
    void dateToDocPartsRejectsText_data();
    void dateToDocPartsRejectsText();
    void fioInitials_data();
    void fioInitials();
};

void TestRubproc::rubToWords_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("words");

    const auto row = [](double amount, const char *words) {
        QTest::addRow("%.4f", amount) << amount << QString::fromUtf8(words);
    };
    // Rubles: forms after 1, 2 to 4, 5 to 20, 11 to 14, 21 and 111 to 114.
    row(1, "Один рубль 00 коп.");
    row(2, "Два рубля 00 коп.");
    row(4, "Четыре рубля 00 коп.");
    row(5, "Пять рублей 00 коп.");
    row(10, "Десять рублей 00 коп.");
    row(11, "Одиннадцать рублей 00 коп.");
    row(14, "Четырнадцать рублей 00 коп.");
    row(20, "Двадцать рублей 00 коп.");
    row(21, "Двадцать один рубль 00 коп.");
    row(22, "Двадцать два рубля 00 коп.");
    row(47, "Сорок семь рублей 00 коп.");
    row(90, "Девяносто рублей 00 коп.");
    row(100, "Сто рублей 00 коп.");
    row(111, "Сто одиннадцать рублей 00 коп.");
    row(112, "Сто двенадцать рублей 00 коп.");
    row(114, "Сто четырнадцать рублей 00 коп.");
    row(121, "Сто двадцать один рубль 00 коп.");
    row(999, "Девятьсот девяносто девять рублей 00 коп.");
    // Thousands: feminine one and two.
    row(1000, "Одна тысяча рублей 00 коп.");
    row(2000, "Две тысячи рублей 00 коп.");
    row(3000, "Три тысячи рублей 00 коп.");
    row(5000, "Пять тысяч рублей 00 коп.");
    row(11000, "Одиннадцать тысяч рублей 00 коп.");
    row(14000, "Четырнадцать тысяч рублей 00 коп.");
    row(21000, "Двадцать одна тысяча рублей 00 коп.");
    row(22000, "Двадцать две тысячи рублей 00 коп.");
    row(111000, "Сто одиннадцать тысяч рублей 00 коп.");
    row(112000, "Сто двенадцать тысяч рублей 00 коп.");
    row(114000, "Сто четырнадцать тысяч рублей 00 коп.");
    row(1010, "Одна тысяча десять рублей 00 коп.");
    row(1234.56, "Одна тысяча двести тридцать четыре рубля 56 коп.");
    // Millions: masculine one and two; empty groups write nothing.
    row(1000000, "Один миллион рублей 00 коп.");
    row(2000000, "Два миллиона рублей 00 коп.");
    row(4000000, "Четыре миллиона рублей 00 коп.");
    row(5000000, "Пять миллионов рублей 00 коп.");
    row(12000000, "Двенадцать миллионов рублей 00 коп.");
    row(21000000, "Двадцать один миллион рублей 00 коп.");
    row(23000000, "Двадцать три миллиона рублей 00 коп.");
    row(111000000, "Сто одиннадцать миллионов рублей 00 коп.");
    row(113000000, "Сто тринадцать миллионов рублей 00 коп.");
    row(1000001, "Один миллион один рубль 00 коп.");
    row(2002002, "Два миллиона две тысячи два рубля 00 коп.");
    row(512345678.9, "Пятьсот двенадцать миллионов триста сорок пять тысяч шестьсот семьдесят "
                     "восемь рублей 90 коп.");
    row(999999999.99, "Девятьсот девяносто девять миллионов девятьсот девяносто девять тысяч "
                      "девятьсот девяносто девять рублей 99 коп.");
    // Kopecks and below one ruble.
    row(0, "ноль рублей 00 коп.");
    row(0.01, "ноль рублей 01 коп.");
    row(0.29, "ноль рублей 29 коп.");
    row(0.5, "ноль рублей 50 коп.");
    row(1234.05, "Одна тысяча двести тридцать четыре рубля 05 коп.");
    // Fractions of a kopeck are cut off after adding a tenth of a kopeck.
    row(1.29, "Один рубль 29 коп.");
    row(4.35, "Четыре рубля 35 коп.");
    row(12.3456, "Двенадцать рублей 34 коп.");
    row(1.2985, "Один рубль 29 коп.");
    row(1.2995, "Один рубль 30 коп.");
    row(100.999, "Сто один рубль 00 коп.");
    row(0.999, "Один рубль 00 коп.");
    // Negative amounts; one that rounds to zero has no sign.
    row(-1234.56, "Минус одна тысяча двести тридцать четыре рубля 56 коп.");
    row(-0.5, "Минус ноль рублей 50 коп.");
    row(-0.0001, "ноль рублей 00 коп.");
    // Beyond the millions.
    row(999999999.999, "много");
    row(1000000000, "много");
    row(5e12, "много");
    row(-2e9, "Минус много");
    row(std::numeric_limits<double>::infinity(), "много");
    row(std::numeric_limits<double>::quiet_NaN(), "много");
}

void TestRubproc::rubToWords()
{
    QFETCH(double, amount);
    QFETCH(QString, words);
    QCOMPARE(::rubToWords(amount), words);
}

void TestRubproc::fragments_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("beforeRub");
    QTest::addColumn<QString>("withoutKop");
    QTest::addColumn<QString>("kopecks");

    QTest::newRow("thousands") << 1234.56 << "Одна тысяча двести тридцать четыре "
                               << "Одна тысяча двести тридцать четыре рубля " << "56";
    QTest::newRow("one ruble") << 21.0 << "Двадцать один " << "Двадцать один рубль " << "00";
    QTest::newRow("below one ruble") << 0.07 << "ноль " << "ноль рублей " << "07";
    QTest::newRow("negative") << -3.1 << "Минус три " << "Минус три рубля " << "10";
    QTest::newRow("many") << 1e9 << "" << "" << "";
    QTest::newRow("negative many") << -1e9 << "" << "" << "";
}

void TestRubproc::fragments()
{
    QFETCH(double, amount);
    QFETCH(QString, beforeRub);
    QFETCH(QString, withoutKop);
    QFETCH(QString, kopecks);

    const QString words = ::rubToWords(amount);
    QCOMPARE(wordsBeforeRub(words), beforeRub);
    QCOMPARE(wordsWithoutKop(words), withoutKop);
    QCOMPARE(kopeckDigits(words), kopecks);
}

void TestRubproc::printedTextWidthIsInMillimetres()
{
    QCOMPARE(QFontInfo(defaultWordsFont()).family(), QStringLiteral("Liberation Serif"));
    // A digit of the serif face is half an em wide; at 72 pt an em is one inch.
    QFont font = defaultWordsFont();
    font.setPointSize(72);
    QVERIFY(qAbs(printedTextWidth(QStringLiteral("0000"), font) - 2 * 25.4) < 0.1);
}

void TestRubproc::rubWordsToLabelsPadsWithDashes_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QFont>("font");
    QTest::addColumn<qreal>("width");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("kopecks");

    QFont large(QStringLiteral("Liberation Sans"));
    large.setPointSize(14);
    large.setBold(true);
    const QString twentyOne = QStringLiteral("Двадцать один ");
    QTest::newRow("default font") << 21.5 << defaultWordsFont() << 120.0 << twentyOne << "50";
    QTest::newRow("large font") << 21.5 << large << 120.0 << twentyOne << "50";
    QTest::newRow("room for one dash")
        << 21.5 << defaultWordsFont() << printedTextWidth(twentyOne + u'-', defaultWordsFont())
        << twentyOne << "50";
    QTest::newRow("long words") << 999999999.99 << defaultWordsFont() << 190.0
                                << wordsBeforeRub(::rubToWords(999999999.99)) << "99";
    QTest::newRow("zero") << 0.0 << large << 60.0 << "ноль " << "00";
    QTest::newRow("many") << 2e9 << defaultWordsFont() << 50.0 << "" << "";
}

void TestRubproc::rubWordsToLabelsPadsWithDashes()
{
    QFETCH(double, amount);
    QFETCH(QFont, font);
    QFETCH(qreal, width);
    QFETCH(QString, words);
    QFETCH(QString, kopecks);

    QString wordsCaption = QStringLiteral("прежний текст");
    QString kopeckCaption;
    rubWordsToLabels(wordsCaption, width, kopeckCaption, amount, font);

    QCOMPARE(kopeckCaption, kopecks);
    QVERIFY2(wordsCaption.startsWith(words), qPrintable(wordsCaption));
    const QString dashes = wordsCaption.mid(words.size());
    QVERIFY(!dashes.isEmpty());
    QCOMPARE(dashes, QString(dashes.size(), u'-'));
    const qreal tolerance = 1e-6;
    QVERIFY2(printedTextWidth(wordsCaption, font) <= width + tolerance,
             qPrintable(QString::number(printedTextWidth(wordsCaption, font))));
    QVERIFY(printedTextWidth(wordsCaption + u'-', font) > width - tolerance);
}

void TestRubproc::rubWordsToLabelsKeepsCaptionOfTooNarrowLabel()
{
    const QFont font = defaultWordsFont();
    const qreal narrow = printedTextWidth(QStringLiteral("Двадцать один -"), font) - 0.1;
    QString wordsCaption = QStringLiteral("прежний текст");
    QString kopeckCaption;
    rubWordsToLabels(wordsCaption, narrow, kopeckCaption, 21.5, font);
    QCOMPARE(wordsCaption, QStringLiteral("прежний текст"));
    QCOMPARE(kopeckCaption, QStringLiteral("50"));
}

void TestRubproc::monthGenitive_data()
{
    QTest::addColumn<int>("month");
    QTest::addColumn<QString>("name");

    const char *names[] = {"января", "февраля", "марта", "апреля", "мая", "июня",
                           "июля", "августа", "сентября", "октября", "ноября", "декабря"};
    for (int month = 1; month <= 12; ++month)
        QTest::addRow("%d", month) << month << QString::fromUtf8(names[month - 1]);
    QTest::newRow("0") << 0 << QString();
    QTest::newRow("13") << 13 << QString();
}

void TestRubproc::monthGenitive()
{
    QFETCH(int, month);
    QFETCH(QString, name);
    QCOMPARE(::monthGenitive(month), name);
}

void TestRubproc::dateToDocParts_data()
{
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("day");
    QTest::addColumn<QString>("month");
    QTest::addColumn<QString>("year");

    QTest::newRow("march") << "05.03.2016" << "05" << "марта" << "2016";
    QTest::newRow("january") << "01.01.2020" << "01" << "января" << "2020";
    QTest::newRow("december") << "31.12.1999" << "31" << "декабря" << "1999";
}

void TestRubproc::dateToDocParts()
{
    QFETCH(QString, date);
    QFETCH(QString, day);
    QFETCH(QString, month);
    QFETCH(QString, year);

    const DocDateParts parts = ::dateToDocParts(date);
    QCOMPARE(parts.day, day);
    QCOMPARE(parts.month, month);
    QCOMPARE(parts.year, year);
}

void TestRubproc::dateToDocPartsRejectsText_data()
{
    QTest::addColumn<QString>("date");

    QTest::newRow("empty shift date") << "";
    QTest::newRow("letters") << "05.мр.2016";
    QTest::newRow("month 13") << "05.13.2016";
    QTest::newRow("month 0") << "05.00.2016";
}

void TestRubproc::dateToDocPartsRejectsText()
{
    QFETCH(QString, date);
    QVERIFY_THROWS_EXCEPTION(ConvertError, ::dateToDocParts(date));
}

void TestRubproc::fioInitials_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("surnameFirst");
    QTest::addColumn<QString>("initials");

    const QString full = QStringLiteral("Иванов Иван Петрович");
    QTest::newRow("surname first") << full << true << "Иванов И.П.";
    QTest::newRow("initials first") << full << false << "И.П. Иванов";
    QTest::newRow("extra blanks") << "  Иванов   Иван\tПетрович " << true << "Иванов И.П.";
    QTest::newRow("four words") << "Мамедов Рашид Алиевич оглы" << false << "Р.А. Мамедов";
    QTest::newRow("two words") << "Иванов Иван" << true << "Иванов И.И.";
    QTest::newRow("two words, initials first") << "Иванов Иван" << false << "И.И. Иванов";
    QTest::newRow("no operator chosen") << "ВЫБРАТЬ ОПЕРАТОРА" << true << "ВЫБРАТЬ О.О.";
    QTest::newRow("one word") << " Иванов " << false << "Иванов";
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("letter with a combining breve") << "Ершов И\u0306ван" << true << "Ершов И\u0306.И\u0306.";
    QTest::newRow("letter beyond 16 bits") << "Smith \U0001D504rthur Brian" << false << "\U0001D504.B. Smith";
}

void TestRubproc::fioInitials()
{
    QFETCH(QString, name);
    QFETCH(bool, surnameFirst);
    QFETCH(QString, initials);
    QCOMPARE(::fioInitials(name, surnameFirst), initials);
}

QTEST_MAIN(TestRubproc)
#include "tst_rubproc.moc"
