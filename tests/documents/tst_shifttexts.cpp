#include "documents/shifttexts.h"
#include "support/shiftfixture.h"

#include <QLocale>
#include <QTest>

// The texts of a shift read from the file must be what the main window would show for it.
class TestShiftTexts : public QObject
{
    Q_OBJECT

private slots:
    void shiftWithEverything();
    void shiftWithNothingChosen();
};

namespace {

QString withPoint(QString text)
{
    return text.replace(u'.', QLocale::system().decimalPoint());
}

} // namespace

void TestShiftTexts::shiftWithEverything()
{
    ShiftFixture fixture;
    const qint32 shift = fixture.addShift(QDate(2015, 8, 24), QStringLiteral("125"), 2, 3);
    const qint32 idZ = fixture.addZReport(shift, 1, {{"NZ", 125}, {"INKASS", 102000.0}});
    fixture.addZReport(shift, 2, {{"NZ", 40}, {"INKASS", 500.5}});
    fixture.addAct(idZ, {{"NAkt", "7"}, {"korrInkass", 2000.0}});
    fixture.addEncashment(shift, QDate(2015, 8, 24),
                          {{"6124/1", 100000.0}, {"77", 0.0}, {"124/3", 500.5}});

    const ShiftTexts texts = readShiftTexts(*fixture.station.dm, shift);
    QCOMPARE(texts.number, QStringLiteral("125"));
    QCOMPARE(texts.date, QStringLiteral("24.08.2015"));
    QCOMPARE(texts.operator1, QStringLiteral("Григорьев Павел Николаевич"));
    QCOMPARE(texts.operator2, QStringLiteral("Никитина Анна Сергеевна"));
    QCOMPARE(texts.inkassDate, QStringLiteral("24.08.2015"));
    QCOMPARE(texts.bagList, QStringLiteral("6124/1, 124/3"));
    QCOMPARE(texts.inkassTotal, withPoint(QStringLiteral("100500.50")));
    QCOMPARE(texts.inkassTotalShown, QLocale::system().toString(100500.5, 'f', 2));
    QCOMPARE(texts.registersInkass, QLocale::system().toString(102500.5, 'f', 2));
    QCOMPARE(texts.correctiveInkass, QLocale::system().toString(2000.0, 'f', 2));
}

void TestShiftTexts::shiftWithNothingChosen()
{
    ShiftFixture fixture;
    const qint32 shift = fixture.addShift(QDate(2016, 3, 5), QStringLiteral("7"), 0, 0);
    const ShiftTexts texts = readShiftTexts(*fixture.station.dm, shift);
    QCOMPARE(texts.operator1, chooseOperatorText);
    QCOMPARE(texts.operator2, chooseOperatorText);
    QCOMPARE(texts.inkassDate, QString());
    QCOMPARE(texts.bagList, QString());
    QCOMPARE(texts.inkassTotal, withPoint(QStringLiteral("0.00")));
    QCOMPARE(texts.registersInkass, QLocale::system().toString(0.0, 'f', 2));
}

QTEST_MAIN(TestShiftTexts)
#include "tst_shifttexts.moc"
