#include "app/texthelpers.h"
#include "platform/data/errors.h"

#include <QTest>

// This program runs once under the C locale and once under ru_RU (see CMakeLists.txt), so the
// conversion with the system locale is checked with both decimal separators.
class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void strToIntSafe_data();
    void strToIntSafe();

    void stripBlanks_data();
    void stripBlanks();

    void strToFloatCleanWithLocale_data();
    void strToFloatCleanWithLocale();
    void strToFloatCleanUsesSystemLocale_data();
    void strToFloatCleanUsesSystemLocale();

    void strToFloatIsStrict();

    void columnOf_data();
    void columnOf();

};

void TestTextHelpers::strToIntSafe_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("expected");

    QTest::newRow("empty") << "" << 0;
    QTest::newRow("digits") << "42" << 42;
    QTest::newRow("negative") << "-17" << -17;
    QTest::newRow("plus sign") << "+5" << 5;
    QTest::newRow("surrounding blanks") << " 12 " << 12;
    QTest::newRow("leading zeros stay decimal") << "010" << 10;
    QTest::newRow("largest") << "2147483647" << 2147483647;
    QTest::newRow("smallest") << "-2147483648" << qint32(-2147483647 - 1);
    QTest::newRow("overflow") << "2147483648" << 0;
    QTest::newRow("trailing letters") << "12a" << 0;
    QTest::newRow("decimal fraction") << "1.5" << 0;
    QTest::newRow("inner blank") << "1 000" << 0;
    QTest::newRow("hexadecimal") << "0x10" << 0;
    QTest::newRow("blank only") << " " << 0;
    QTest::newRow("NUL and text after the digits") << QStringLiteral("12") + QChar(QChar::Null) + QStringLiteral("abc") << 0;
    QTest::newRow("NUL after the digits") << QStringLiteral("7") + QChar(QChar::Null) << 0;
}

void TestTextHelpers::strToIntSafe()
{
    QFETCH(QString, text);
    QFETCH(qint32, expected);
    QCOMPARE(::strToIntSafe(text), expected);
}

void TestTextHelpers::stripBlanks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << "" << "";
    QTest::newRow("nothing to strip") << "1234,5" << "1234,5";
    QTest::newRow("blanks, line breaks, backspace")
        << " 1 2\n3\r\n4\b5 " << "12345";
    QTest::newRow("tab and no-break space stay") << "1\t2\u00A03" << "1\t2\u00A03";
    QTest::newRow("only stripped characters") << " \r\n\b " << "";
}

void TestTextHelpers::stripBlanks()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(::stripBlanks(text), expected);
}

// Each row: the text and what it gives under a comma locale (ru_RU) and a point locale (C).
static void amountTable()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("withComma");
    QTest::addColumn<double>("withPoint");

    QTest::newRow("empty") << "" << 0.0 << 0.0;
    QTest::newRow("blanks only") << " \r\n" << 0.0 << 0.0;
    QTest::newRow("integer") << "1500" << 1500.0 << 1500.0;
    QTest::newRow("comma") << "12,5" << 12.5 << 0.0;
    QTest::newRow("point") << "12.5" << 0.0 << 12.5;
    QTest::newRow("negative comma") << "-0,75" << -0.75 << 0.0;
    QTest::newRow("negative point") << "-0.75" << 0.0 << -0.75;
    QTest::newRow("blanks stripped first") << " 1 234,56\r\n" << 1234.56 << 0.0;
    QTest::newRow("group separator of ru_RU") << "1\u00A0234,5" << 0.0 << 0.0;
    QTest::newRow("point groups under comma") << "1.234,5" << 0.0 << 0.0;
    QTest::newRow("comma groups under point") << "1,234.5" << 0.0 << 0.0;
    QTest::newRow("exponent") << "1e3" << 1000.0 << 1000.0;
    QTest::newRow("letters") << "12р" << 0.0 << 0.0;
    QTest::newRow("two separators") << "1,2,3" << 0.0 << 0.0;
    QTest::newRow("infinity") << "inf" << 0.0 << 0.0;
    QTest::newRow("not a number") << "nan" << 0.0 << 0.0;
    QTest::newRow("overflow") << "1e999" << 0.0 << 0.0;
}

void TestTextHelpers::strToFloatCleanWithLocale_data()
{
    amountTable();
}

void TestTextHelpers::strToFloatCleanWithLocale()
{
    QFETCH(QString, text);
    QFETCH(double, withComma);
    QFETCH(double, withPoint);

    QCOMPARE(::strToFloatClean(text, QLocale(QLocale::Russian, QLocale::Russia)), withComma);
    QCOMPARE(::strToFloatClean(text, QLocale::c()), withPoint);
}

void TestTextHelpers::strToFloatCleanUsesSystemLocale_data()
{
    amountTable();
}

void TestTextHelpers::strToFloatCleanUsesSystemLocale()
{
    QFETCH(QString, text);
    QFETCH(double, withComma);
    QFETCH(double, withPoint);

    const QString separator = QLocale::system().decimalPoint();
    QVERIFY2(separator == "," || separator == ".", qPrintable(separator));
    const bool commaSystem = separator == ",";

    // The application's default locale must not stand in for the system's.
    const QLocale previousDefault;
    QLocale::setDefault(commaSystem ? QLocale::c() : QLocale(QLocale::Russian, QLocale::Russia));
    const double result = ::strToFloatClean(text);
    QLocale::setDefault(previousDefault);

    QCOMPARE(result, commaSystem ? withComma : withPoint);
}

void TestTextHelpers::strToFloatIsStrict()
{
    const QString mark = QLocale::system().decimalPoint();
    QCOMPARE(::strToFloat(" 1500 "), 1500.0);
    QCOMPARE(::strToFloat("-12" + mark + "5"), -12.5);
    for (const QString &bad : {QString(), QStringLiteral("abc"), QStringLiteral("1 500"),
                               QStringLiteral("12;5"), QStringLiteral("inf")})
        QVERIFY_THROWS_EXCEPTION(ConvertError, ::strToFloat(bad));
}

void TestTextHelpers::columnOf_data()
{
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("expected");

    QTest::newRow("template field") << "ed_SumNal" << "SumNal";
    QTest::newRow("copied field") << "m12_SumNal" << "SumNal";
    QTest::newRow("only the first underscore splits") << "m3_Sum_Vozvr" << "Sum_Vozvr";
    QTest::newRow("no underscore") << "edSumNal" << "";
    QTest::newRow("trailing underscore") << "m3_" << "";
    QTest::newRow("empty") << "" << "";
}

void TestTextHelpers::columnOf()
{
    QFETCH(QString, fieldName);
    QFETCH(QString, expected);
    QCOMPARE(::columnOf(fieldName), expected);
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
