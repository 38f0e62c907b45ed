#include "platform/data/money.h"
#include "platform/report/numberpattern.h"

#include <QDateTime>
#include <QTest>

namespace {

// Expected texts are written with '.'; the program prints the system's separator.
QString withSystemSeparator(QString text)
{
    return text.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

QVariant money(double rubles)
{
    return QVariant::fromValue(Money::fromDouble(rubles));
}

} // namespace

class TestNumberPattern : public QObject
{
    Q_OBJECT

private slots:
    void systemSeparatorFollowsTheLocale()
    {
        const bool russian = qEnvironmentVariable("LC_ALL").startsWith(QLatin1String("ru_RU"));
        QCOMPARE(QLocale::system().decimalPoint(),
                 russian ? QStringLiteral(",") : QStringLiteral("."));
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");

        const QString amount = QStringLiteral("### ### ##0.00");
        QTest::newRow("groups") << amount << QVariant(1234567.891) << "1 234 567.89";
        QTest::newRow("no leading blanks") << amount << QVariant(12.5) << "12.50";
        QTest::newRow("zero forced before the point") << amount << QVariant(0.0) << "0.00";
        QTest::newRow("half away from zero") << amount << QVariant(0.125) << "0.13";
        QTest::newRow("carry across a group") << amount << QVariant(999999.995) << "1 000 000.00";
        QTest::newRow("negative") << amount << QVariant(-1234.5) << "-1 234.50";
        QTest::newRow("negative rounding to zero") << amount << QVariant(-0.004) << "0.00";
        QTest::newRow("more digits than places")
            << amount << QVariant(12345678901.5) << "12345 678 901.50";
        QTest::newRow("integer") << amount << QVariant(100000) << "100 000.00";
        QTest::newRow("money") << amount << money(15234.5) << "15 234.50";
        QTest::newRow("money rounds exactly")
            << amount << QVariant::fromValue(Money::fromUnits(50050)) << "5.01";
        QTest::newRow("binary noise") << amount << QVariant(0.1 + 0.2) << "0.30";
        QTest::newRow("trailing blanks kept")
            << QStringLiteral("### ### ##0.00    ") << QVariant(12.3) << "12.30    ";

        QTest::newRow("no grouping")
            << QStringLiteral("########0.00") << money(100000) << "100000.00";
        QTest::newRow("no decimals") << QStringLiteral("########0") << QVariant(2323.91) << "2324";
        QTest::newRow("kopecks padded") << QStringLiteral("00") << QVariant(5) << "05";
        QTest::newRow("kopecks") << QStringLiteral("00") << QVariant(50) << "50";
        QTest::newRow("kopecks zero") << QStringLiteral("00") << QVariant(0) << "00";
        QTest::newRow("wider than the places") << QStringLiteral("00") << QVariant(123) << "123";

        const QString optional = QStringLiteral("### ###.00");
        QTest::newRow("optional zero") << optional << QVariant(0) << ".00";
        QTest::newRow("optional below one") << optional << money(0.5) << ".50";
        QTest::newRow("optional grouped") << optional << money(102000) << "102 000.00";

        QTest::newRow("optional decimals trimmed")
            << QStringLiteral("0.##") << QVariant(1.5) << "1.5";
        QTest::newRow("no decimals left, no point")
            << QStringLiteral("0.##") << QVariant(2.0) << "2";
        QTest::newRow("other literals stay")
            << QStringLiteral("0.00 руб") << QVariant(3) << "3.00 руб";
        QTest::newRow("text is not a number") << amount << QVariant(QStringLiteral("abc")) << "abc";
    }
    void patterns()
    {
        QFETCH(QString, pattern);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(formatNumber(value, pattern), withSystemSeparator(text));
    }

    void fieldTexts_data()
    {
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("text");
        QTest::newRow("null") << QVariant() << "### ##0.00"
                              << "";
        QTest::newRow("typed null") << QVariant(QMetaType::fromType<double>()) << "### ##0.00"
                                    << "";
        QTest::newRow("money plain") << money(1234.5) << ""
                                     << "1234.50";
        QTest::newRow("double plain") << QVariant(2.5) << ""
                                      << "2.5";
        QTest::newRow("double without noise") << QVariant(0.1 + 0.2) << ""
                                              << "0.3";
        QTest::newRow("integer plain") << QVariant(qint64(125)) << ""
                                       << "125";
        QTest::newRow("with pattern") << money(110) << "### ##0.00"
                                      << "110.00";
        QTest::newRow("date") << QVariant(QDate(2015, 8, 24)) << ""
                              << "24.08.2015";
        QTest::newRow("midnight") << QVariant(QDateTime(QDate(2015, 8, 4), QTime(0, 0))) << ""
                                  << "04.08.2015";
        QTest::newRow("with time") << QVariant(QDateTime(QDate(2015, 8, 4), QTime(20, 10))) << ""
                                   << "04.08.2015 20:10";
        QTest::newRow("text") << QVariant(QStringLiteral("Иванова")) << ""
                              << "Иванова";
    }
    void fieldTexts()
    {
        QFETCH(QVariant, value);
        QFETCH(QString, pattern);
        QFETCH(QString, text);
        const bool isDateValue
            = value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime;
        QCOMPARE(fieldText(value, pattern), isDateValue ? text : withSystemSeparator(text));
    }
};

QTEST_APPLESS_MAIN(TestNumberPattern)
#include "tst_numberpattern.moc"
