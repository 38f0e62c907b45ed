#include "registerformpages.h"

#include "documents/km6form.h"
#include "platform/data/errors.h"

#include <QTest>

class TestKm6Form : public QObject
{
    Q_OBJECT

private slots:
    void goldenDumps_data();
    void goldenDumps();
    void pagesReadAsPaperForm_data();
    void pagesReadAsPaperForm();
    void correctionColumn_data();
    void correctionColumn();
    void signatories_data();
    void signatories();
    void workingHours_data();
    void workingHours();
    void encashment_data();
    void encashment();
    void shiftDateMustBeADate_data();
    void shiftDateMustBeADate();
    void blankAfterAReport();
    void blankRightAfterStart();
};

namespace {

} // namespace

void TestKm6Form::goldenDumps_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("report") << QStringLiteral("km6");
    QTest::newRow("blank") << QStringLiteral("km6-blank");
}

void TestKm6Form::goldenDumps()
{
    QFETCH(QString, name);
    if (QLocale::system().decimalPoint() != u'.')
        QSKIP("the golden dumps print the amounts' decimal points and plain group blanks");
    const QString mismatch = formGoldenMismatch(name);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestKm6Form::pagesReadAsPaperForm_data()
{
    goldenDumps_data();
}

void TestKm6Form::pagesReadAsPaperForm()
{
    QFETCH(QString, name);
    ShiftFixture fixture;
    const PreparedReport report = preparedForm(fixture, FormShift(), name);
    QCOMPARE(report.pages.size(), 1);
    const QStringList problems = layoutProblems(report);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));

    // The form's table: ten numbered columns, framed, side by side over the full width.
    const PreparedPage &page = report.pages.first();
    const QList<const PreparedItem *> numbers = lineOf(page, &found(page, QStringLiteral("1")));
    QCOMPARE(numbers.size(), 10);
    QCOMPARE(numbers.first()->rect.left(), 10.0);
    QCOMPARE(numbers.last()->rect.right(), 200.0);
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        QCOMPARE(numbers[i]->text, QString::number(i + 1));
        QCOMPARE(numbers[i]->style.frame.sides, allSides);
        if (i > 0)
            QCOMPARE(numbers[i]->rect.left(), numbers[i - 1]->rect.right());
    }
    const PreparedItem &footnote
        = found(page, QStringLiteral("Печать с оборотом. Подписи печать на обороте"));
    QCOMPARE(footnote.rect.bottom(), 287.0);
}

void TestKm6Form::correctionColumn_data()
{
    QTest::addColumn<QVariantHash>("act");
    QTest::addColumn<QString>("cash");
    QTest::addColumn<QString>("card");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("words");

    QTest::newRow("no act") << QVariantHash() << QStringLiteral("-") << QStringLiteral("-")
                            << QStringLiteral("-")
                            << QStringLiteral("Пятнадцать тысяч сто двадцать четыре рубля 50 коп.");
    QTest::newRow("110.00 from card to cash")
        << QVariantHash{{"NAkt", "7"}, {"nalKakBnal", 100.0}, {"vBnalKakNal", 10.0}}
        << localePoint(QStringLiteral("110.00  ")) << localePoint(QStringLiteral("-110.00  "))
        << QStringLiteral("Акт № 7")
        << QStringLiteral("Пятнадцать тысяч двести тридцать четыре рубля 50 коп.");
    QTest::newRow("act correcting the encashment only")
        << QVariantHash{{"NAkt", "8"}, {"korrInkass", 2000.0}} << QStringLiteral("-")
        << QStringLiteral("-") << QStringLiteral("-")
        << QStringLiteral("Пятнадцать тысяч сто двадцать четыре рубля 50 коп.");
}

void TestKm6Form::correctionColumn()
{
    QFETCH(QVariantHash, act);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, label);
    QFETCH(QString, words);

    ShiftFixture fixture;
    FormShift shift;
    shift.act = false;
    DocumentContext context = fixture.context(shift.addTo(fixture), 1);
    if (!act.isEmpty())
        fixture.addAct(context.idZ, act);
    const PreparedPage page = fixture.prepare(QStringLiteral("km6"), context).pages.first();

    const PreparedItem *cashCell
        = cellBefore(page, &found(page, QStringLiteral("     Выручка нал")));
    const PreparedItem *cardCell
        = cellBefore(page, &found(page, QStringLiteral("     Выручка безнал")));
    const PreparedItem *labelCell
        = cellBefore(page, &found(page, QStringLiteral("Вид реализации")));
    QVERIFY(cashCell && cardCell && labelCell);
    QCOMPARE(cashCell->text, cash);
    QCOMPARE(cardCell->text, card);
    QCOMPARE(labelCell->text, label);
    // A "-" stands in the middle of its cell, an amount at its right edge.
    for (const PreparedItem *cell : {cashCell, cardCell}) {
        const Qt::Alignment horizontal = cell->style.alignment & Qt::AlignHorizontal_Mask;
        QCOMPARE(horizontal, Qt::Alignment(cell->text == QStringLiteral("-") ? Qt::AlignHCenter
                                                                             : Qt::AlignRight));
    }
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Итого выручка в сумме"))),
             QStringList{words});
}

void TestKm6Form::signatories_data()
{
    QTest::addColumn<int>("operator2");
    QTest::addColumn<QString>("cashierOperator");
    QTest::newRow("second operator chosen") << 3 << QStringLiteral("Никитина А.С.");
    QTest::newRow("no second operator") << 0 << QString();
}

void TestKm6Form::signatories()
{
    QFETCH(int, operator2);
    QFETCH(QString, cashierOperator);
    ShiftFixture fixture;
    FormShift shift;
    shift.operator2 = operator2;
    const PreparedReport report = preparedForm(fixture, shift, QStringLiteral("km6"));
    const PreparedPage &page = report.pages.first();

    const QString cashier = QStringLiteral("Григорьев П.Н.");
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Кассир"))), QStringList{cashier});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Смена"))), QStringList{"125"});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("1:1"))),
             (QStringList{"-", "-", localePoint("1 211 343.39"), localePoint("1 234 567.89"),
                          localePoint("23 224.50"), localePoint("150.00"), cashier, ""}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Старший кассир"))),
             (QStringList{"", cashier}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Кассир-операционист"))),
             (QStringList{"", cashierOperator}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Руководитель"))),
             (QStringList{"Управляющий АЗС", "", "Кузнецова О.С."}));
    QVERIFY(!pageTexts(report).contains(QStringLiteral("ВЫБРАТЬ")));
}

void TestKm6Form::workingHours_data()
{
    QTest::addColumn<bool>("previousZReport");
    QTest::addColumn<QString>("from");
    QTest::newRow("after the register's previous shift") << true << QStringLiteral("08:05");
    QTest::newRow("first Z-report of the register") << false << QString();
}

void TestKm6Form::workingHours()
{
    QFETCH(bool, previousZReport);
    QFETCH(QString, from);
    ShiftFixture fixture;
    FormShift shift;
    shift.previousZReport = previousZReport;
    const PreparedPage page = preparedForm(fixture, shift, QStringLiteral("km6")).pages.first();
    const PreparedItem *fromCell = cellUnder(page, &found(page, QStringLiteral("с")));
    const PreparedItem *toCell = cellUnder(page, &found(page, QStringLiteral("по")));
    QVERIFY(fromCell && toCell);
    QCOMPARE(fromCell->text, from);
    QCOMPARE(toCell->text, QStringLiteral("20:10"));
    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Номер документа")))->text,
             QStringLiteral("125"));
    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Дата составления")))->text,
             QStringLiteral("24.08.2015"));
}

void TestKm6Form::encashment_data()
{
    QTest::addColumn<bool>("encashment");
    QTest::addColumn<double>("inkass");
    QTest::addColumn<QString>("bags");
    QTest::addColumn<QStringList>("date");
    QTest::addColumn<QString>("registerInkass");
    QTest::addColumn<QString>("correction");

    const QStringList encashed{"\"", "24", "\"", "августа", "2015", "г."};
    const QStringList none{"\"", "", "\"", "", "", "г."};
    QTest::newRow("bags handed over")
        << true << 102000.0 << QStringLiteral("6124/1, 124/3") << encashed
        << localePoint(QStringLiteral("102 000.00")) << localePoint(QStringLiteral("2 000.00"));
    // The "### ###.00" pattern of the register's encashment has no digit before the point.
    QTest::newRow("no encashment")
        << false << 0.0 << QString() << none << localePoint(QStringLiteral(".00"))
        << localePoint(QStringLiteral("2 000.00"));
}

void TestKm6Form::encashment()
{
    QFETCH(bool, encashment);
    QFETCH(double, inkass);
    QFETCH(QString, bags);
    QFETCH(QStringList, date);
    QFETCH(QString, registerInkass);
    QFETCH(QString, correction);

    ShiftFixture fixture;
    FormShift shift;
    shift.encashment = encashment;
    shift.inkass = inkass;
    DocumentContext context = fixture.context(shift.addTo(fixture), 1);
    const PreparedPage page = fixture.prepare(QStringLiteral("km6"), context).pages.first();

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Квитанция №"))),
             QStringList{bags} + date);
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("к/с"))),
             QStringList{"30101810900000000644"} + date);
    // The receipt order is of the shift's day, encashed or not.
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("по приходному кассовому ордеру №"))),
             (QStringList{"", "\"", "24", "\"", "августа", "2015", "г."}));

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("по сумкам"))),
             (QStringList{context.shift.inkassTotalShown, " руб."}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("по всем кассам"))),
             (QStringList{context.shift.registersInkass, " руб.", "сум.кор.инкасс.",
                          context.shift.correctiveInkass, " руб."}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("по кассе №"))),
             (QStringList{"1", registerInkass, " руб.", "кор.инкассация", correction, " руб."}));
}

void TestKm6Form::shiftDateMustBeADate_data()
{
    QTest::addColumn<QString>("date");
    QTest::newRow("empty") << QString();
    QTest::newRow("not dd.mm.yyyy") << QStringLiteral("2015-08-24");
}

void TestKm6Form::shiftDateMustBeADate()
{
    QFETCH(QString, date);
    ShiftFixture fixture;
    DocumentContext context = fixture.context(FormShift().addTo(fixture), 1);
    context.shift.date = date;
    QVERIFY_THROWS_EXCEPTION(ConvertError, fixture.prepare(QStringLiteral("km6"), context));
}

void TestKm6Form::blankAfterAReport()
{
    ShiftFixture fixture;
    const PreparedReport report = preparedForm(fixture, FormShift(), QStringLiteral("km6-blank"));
    const PreparedPage &page = report.pages.first();

    // The station's requisites, the register of the report opened last and the manager print.
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("производителя"))),
             QStringList{"00112233"});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("регистрационный"))),
             QStringList{"1473920"});
    for (const QString &text :
         {QStringLiteral("ООО \"Велморан-Нефтепродукт\""), QStringLiteral("41782315"),
          QStringLiteral("ШТРИХ-ФР-К"), QStringLiteral("40702810512000004187")})
        QVERIFY2(findItem(page, text), qPrintable(text));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Руководитель"))),
             (QStringList{"Управляющий АЗС", "", "Кузнецова О.С."}));

    // Everything of the shift is left to the hand.
    for (const QString &caption :
         {QStringLiteral("Кассир"), QStringLiteral("Смена"), QStringLiteral("Старший кассир"),
          QStringLiteral("Кассир-операционист"), QStringLiteral("Итого выручка в сумме")}) {
        const QStringList after = textsAfter(page, &found(page, caption));
        QVERIFY2(after.join(QString()).isEmpty(), qPrintable(caption));
    }
    QVERIFY(cellBefore(page, &found(page, QStringLiteral("     Выручка нал")))->text.isEmpty());
    QVERIFY(cellBefore(page, &found(page, QStringLiteral("Вид реализации")))->text.isEmpty());
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Квитанция №"))),
             (QStringList{"", "\"", "", "\"", "", "", "г."}));
    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Дата составления")))->text, QString());
    const QString texts = pageTexts(report);
    for (const QString &shiftText : {QStringLiteral("Григорьев"), QStringLiteral("24.08.2015"),
                                     QStringLiteral("Акт №"), QStringLiteral("Пятнадцать")})
        QVERIFY2(!texts.contains(shiftText), qPrintable(shiftText));

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Примечание, общая сумма инкассации:"))),
             (QStringList{"", " руб."}));
    QVERIFY(!findItem(page, QStringLiteral("по сумкам")));
}

void TestKm6Form::blankRightAfterStart()
{
    ShiftFixture fixture;
    DocumentContext context = fixture.context(FormShift().addTo(fixture), 1);
    const PreparedPage page = fixture.prepare(QStringLiteral("km6-blank"), context).pages.first();
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("производителя"))), QStringList{""});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("регистрационный"))), QStringList{""});
    QVERIFY(findItem(page, QStringLiteral("41782315")));
}

QTEST_MAIN(TestKm6Form)
#include "tst_km6form.moc"
