#include "platform/data/errors.h"
#include "platform/data/money.h"

#include <QTest>

#include <limits>

class TestMoney : public QObject
{
    Q_OBJECT

private slots:
    void fromDoubleRoundsToTenThousandths_data()
    {
        QTest::addColumn<double>("rubles");
        QTest::addColumn<qint64>("units");
        QTest::newRow("zero") << 0.0 << qint64(0);
        QTest::newRow("kopecks") << 1.11 << qint64(11100);
        QTest::newRow("binary fraction noise") << 0.1 + 0.2 << qint64(3000);
        QTest::newRow("half away from zero") << 0.00005 << qint64(1);
        QTest::newRow("negative half") << -0.00005 << qint64(-1);
        QTest::newRow("large") << 9999999999.99 << qint64(99999999999900);
    }
    void fromDoubleRoundsToTenThousandths()
    {
        QFETCH(double, rubles);
        QFETCH(qint64, units);
        QCOMPARE(Money::fromDouble(rubles).units(), units);
    }

    void fromDoubleRejectsWhatDoesNotFit()
    {
        QVERIFY_THROWS_EXCEPTION(ConvertError, Money::fromDouble(std::numeric_limits<double>::infinity()));
        QVERIFY_THROWS_EXCEPTION(ConvertError, Money::fromDouble(std::numeric_limits<double>::quiet_NaN()));
        QVERIFY_THROWS_EXCEPTION(ConvertError, Money::fromDouble(1e30));
    }

    void toStringIsFixedWithRounding_data()
    {
        QTest::addColumn<qint64>("units");
        QTest::addColumn<int>("decimals");
        QTest::addColumn<QString>("text");
        QTest::newRow("two decimals") << qint64(12345600) << 2 << "1234.56";
        QTest::newRow("rounds up") << qint64(12345650) << 2 << "1234.57";
        QTest::newRow("negative") << qint64(-5000) << 2 << "-0.50";
        QTest::newRow("negative rounding to zero") << qint64(-49) << 2 << "0.00";
        QTest::newRow("four decimals") << qint64(11100) << 4 << "1.1100";
        QTest::newRow("no decimals") << qint64(15000) << 0 << "2";
        QTest::newRow("most negative")
            << std::numeric_limits<qint64>::min() << 2 << "-922337203685477.58";
    }
    void toStringIsFixedWithRounding()
    {
        QFETCH(qint64, units);
        QFETCH(int, decimals);
        QFETCH(QString, text);
        QCOMPARE(Money::fromUnits(units).toString(decimals), text);
    }

    void sumsAreExact()
    {
        Money total;
        for (int i = 0; i < 1000; ++i)
            total += Money::fromDouble(0.1);
        QCOMPARE(total, Money::fromDouble(100.0));
        QCOMPARE((Money::fromDouble(10.0) - Money::fromDouble(0.01)).toString(), QStringLiteral("9.99"));
    }
};

QTEST_APPLESS_MAIN(TestMoney)
#include "tst_money.moc"
