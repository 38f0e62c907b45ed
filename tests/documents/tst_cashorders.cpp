#include "registerformpages.h"

#include "documents/cashorders.h"
#include "platform/data/errors.h"

#include <QTest>

class TestCashOrders : public QObject
{
    Q_OBJECT

private slots:
    void goldenDumps_data();
    void goldenDumps();
    void pagesReadAsPaperForm_data();
    void pagesReadAsPaperForm();
    void receiptOrderTakesTheRealRevenue_data();
    void receiptOrderTakesTheRealRevenue();
    void receiptOrderNeedsTheZReportDate();
    void expenseOrderHandsOverTheEncashment_data();
    void expenseOrderHandsOverTheEncashment();
    void expenseOrderWithoutShiftDate();
    void operatorNames_data();
    void operatorNames();
    void receiptOrderBlank();
    void expenseOrderBlank_data();
    void expenseOrderBlank();
};

namespace {

using Bags = QList<std::pair<QString, double>>;

const QString accountant = QStringLiteral("Павлова Т.И.");
const QString cashierInitials = QStringLiteral("Григорьев П.Н.");
const QString cashierName = QStringLiteral("Григорьев Павел Николаевич");

QList<const PreparedItem *> allWith(const PreparedPage &page, const QString &text)
{
    QList<const PreparedItem *> items;
    for (const PreparedItem &item : page.items) {
        if (item.text == text)
            items.append(&item);
    }
    return items;
}

// KO-1's order and receipt lie either side of the cut line under its scissors.
qreal cutLine(const PreparedPage &page)
{
    return found(page, QStringLiteral("✂")).rect.center().x();
}

const PreparedItem *firstStartingWith(const PreparedPage &page, const QString &start,
                                      qreal fromX = 0)
{
    for (const PreparedItem &item : page.items) {
        if (item.text.startsWith(start) && item.rect.left() >= fromX)
            return &item;
    }
    return nullptr;
}

// A words caption as the cash orders print it: the words, then dashes to the end of its cell.
bool dashedToTheEnd(const PreparedItem &item, const QString &words)
{
    const QString dashes = item.text.mid(words.size());
    const qreal room = item.rect.width() - 2 * reportTextPadding;
    return item.text.startsWith(words) && dashes.count(u'-') == dashes.size()
           && printedTextWidth(item.text + u'-', item.style.font.toQFont()) > room;
}

// The amount-in-words lines that end in this kopeck cell: the words' line above it and the
// continuation it ends. Checks that their words, continued, read words and that the dashes
// run to "руб.".
void verifyWordsLines(const PreparedPage &page, const PreparedItem *kopecks, const QString &words)
{
    QVERIFY(kopecks);
    const QList<const PreparedItem *> line = lineOf(page, kopecks);
    const qsizetype at = line.indexOf(kopecks);
    QVERIFY(at >= 2);
    QCOMPARE(line[at - 1]->text, QStringLiteral("руб."));
    QCOMPARE(line[at + 1]->text, QStringLiteral("коп."));
    const PreparedItem *rest = line[at - 2];
    // The words' own line ends where the continuation's "коп." does.
    const qreal lineEnd = line[at + 1]->rect.right();
    const PreparedItem *first = nullptr;
    for (const PreparedItem &item : page.items) {
        if (item.rect.bottom() <= rest->rect.top() && qAbs(item.rect.right() - lineEnd) < 0.5
            && item.style.frame.sides && (!first || item.rect.top() > first->rect.top()))
            first = &item;
    }
    QVERIFY(first);
    QString firstWords = first->text;
    while (firstWords.endsWith(u'-'))
        firstWords.chop(1);
    QVERIFY2(firstWords.size() == first->text.size() || firstWords == words,
             qPrintable(first->text));
    QVERIFY2(words.startsWith(firstWords), qPrintable(first->text));
    QVERIFY2(dashedToTheEnd(*rest, words.mid(firstWords.size())), qPrintable(rest->text));
}

} // namespace

void TestCashOrders::goldenDumps_data()
{
    QTest::addColumn<QString>("name");
    for (const char *name : {"ko1", "ko2", "ko1-blank", "ko2-blank"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

void TestCashOrders::goldenDumps()
{
    QFETCH(QString, name);
    if (QLocale::system().decimalPoint() != u'.')
        QSKIP("the golden dumps print the amounts' decimal points and plain group blanks");
    const QString mismatch = formGoldenMismatch(name);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

void TestCashOrders::pagesReadAsPaperForm_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("nalProd");
    for (const char *name : {"ko1", "ko2", "ko1-blank", "ko2-blank"})
        QTest::newRow(name) << QString::fromLatin1(name) << FormShift().nalProd;
    // The longest words below a million: the receipt's two narrow lines must hold them.
    QTest::newRow("ko1 of 999 999.99") << QStringLiteral("ko1") << 999989.99;
}

void TestCashOrders::pagesReadAsPaperForm()
{
    QFETCH(QString, name);
    QFETCH(double, nalProd);
    ShiftFixture fixture;
    FormShift shift;
    shift.nalProd = nalProd;
    const PreparedReport report = preparedForm(fixture, shift, name);
    QCOMPARE(report.pages.size(), 1);
    const QStringList problems = layoutProblems(report);
    QVERIFY2(problems.isEmpty(), qPrintable(problems.join(u'\n')));
    if (!name.startsWith(QStringLiteral("ko1")))
        return;

    // Nothing of the order or the receipt crosses the cut line, which runs down beside both.
    const PreparedPage &page = report.pages.first();
    const qreal cut = cutLine(page) + 0.01;
    qreal cutBottom = 0;
    qreal formsBottom = 0;
    for (const PreparedItem &item : page.items) {
        if (item.rect.left() <= cut && item.rect.right() > cut) {
            QVERIFY2(item.text.isEmpty() || item.text == QStringLiteral("✂"),
                     qPrintable(item.text));
            cutBottom = qMax(cutBottom, item.rect.bottom());
        } else if (item.rect.top() < 270) {
            formsBottom = qMax(formsBottom, item.rect.bottom());
        }
    }
    QVERIFY(cutBottom >= formsBottom - 3);
    QVERIFY(found(page, QStringLiteral("КВИТАНЦИЯ")).rect.left() > cut);
    QVERIFY(found(page, QStringLiteral("ПРИХОДНЫЙ КАССОВЫЙ ОРДЕР")).rect.right() < cut);
}

void TestCashOrders::receiptOrderTakesTheRealRevenue_data()
{
    QTest::addColumn<QDateTime>("zDate");
    QTest::addColumn<QStringList>("vat");
    QTest::addColumn<QStringList>("day");
    QTest::addColumn<QString>("reference");

    // 15 224.50 of cash sales less 100 of refunds, and 110 that the act moves from card to cash.
    QTest::newRow("VAT at 18 % in 2015")
        << QDateTime(QDate(2015, 8, 24), QTime(20, 10)) << QStringList{"2323", "91"}
        << QStringList{"24", "августа", "2015"}
        << QStringLiteral("№ 125 (08:05 - 20:10) от 24.08.2015");
    QTest::newRow("Z-report after midnight: its own date")
        << QDateTime(QDate(2015, 8, 25), QTime(0, 10)) << QStringList{"2323", "91"}
        << QStringList{"25", "августа", "2015"}
        << QStringLiteral("№ 125 (08:05 - 00:10) от 25.08.2015");
    QTest::newRow("VAT at 20 % in 2019")
        << QDateTime(QDate(2019, 3, 1), QTime(20, 10)) << QStringList{"2539", "08"}
        << QStringList{"01", "марта", "2019"}
        << QStringLiteral("№ 125 (08:05 - 20:10) от 01.03.2019");
}

void TestCashOrders::receiptOrderTakesTheRealRevenue()
{
    QFETCH(QDateTime, zDate);
    QFETCH(QStringList, vat);
    QFETCH(QStringList, day);
    QFETCH(QString, reference);

    ShiftFixture fixture;
    FormShift shift;
    shift.zDate = zDate;
    const PreparedReport report = preparedForm(fixture, shift, QStringLiteral("ko1"));
    const PreparedPage &page = report.pages.first();
    const qreal cut = cutLine(page);
    const QString words = QStringLiteral("Пятнадцать тысяч двести тридцать четыре ");

    // The order: accounts, the amount in figures, in words and its VAT.
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("50.2"))),
             (QStringList{"", "АЗС 17", "90.1", "-", localePoint("15234.50"), "", ""}));
    const PreparedItem *orderWords = firstStartingWith(page, QStringLiteral("Пятнадцать"));
    QVERIFY(orderWords && orderWords->rect.right() < cut);
    QVERIFY2(dashedToTheEnd(*orderWords, words), qPrintable(orderWords->text));
    verifyWordsLines(page, &found(page, QStringLiteral("50")), words);
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("В том числе НДС"))),
             (QStringList{vat[0], "руб.", vat[1], "коп."}));
    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Дата составления")))->text,
             zDate.toString(QStringLiteral("dd.MM.yyyy")));

    // The receipt: the same amount in figures and words, its VAT and the Z-report's date.
    const QList<const PreparedItem *> vatLabels = allWith(page, QStringLiteral("В том числе НДС"));
    QCOMPARE(vatLabels.size(), 2);
    const PreparedItem *receiptVat = allWith(page, vat[0]).last();
    QVERIFY(receiptVat->rect.left() > cut && receiptVat->rect.top() > vatLabels.last()->rect.top());
    QCOMPARE(textsAfter(page, receiptVat), (QStringList{"руб.", vat[1], "коп."}));
    const PreparedItem &receiptSum = *allWith(page, QStringLiteral("Сумма")).last();
    QVERIFY(receiptSum.rect.left() > cut);
    QCOMPARE(textsAfter(page, &receiptSum), (QStringList{"15234", "руб.", "50", "коп."}));
    const PreparedItem *receiptKopecks = nullptr;
    for (const PreparedItem *item : allWith(page, QStringLiteral("50"))) {
        if (item->rect.left() > cut && item->rect.top() > receiptSum.rect.top())
            receiptKopecks = item;
    }
    verifyWordsLines(page, receiptKopecks, words);
    const PreparedItem *month = nullptr;
    for (const PreparedItem *item : allWith(page, day[1]))
        month = item->rect.left() > cut ? item : month;
    QVERIFY(month);
    QStringList date;
    for (const PreparedItem *item : lineOf(page, month))
        date.append(item->text);
    QCOMPARE(date, (QStringList{"\"", day[0], "\"", day[1], day[2], "г."}));

    // The report reference in both parts, and the register at the foot of the page.
    const QList<const PreparedItem *> references = allWith(page, reference);
    QCOMPARE(references.size(), 2);
    QVERIFY(references.first()->rect.right() < cut && references.last()->rect.left() > cut);
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Касса №"))),
             (QStringList{"1", "KKM", "00112233", "№ Рег.", "1473920"}));
    QVERIFY(found(page, QStringLiteral("Касса №")).rect.bottom() > 280);
}

void TestCashOrders::receiptOrderNeedsTheZReportDate()
{
    ShiftFixture fixture;
    const qint32 shift = FormShift().addTo(fixture);
    DocumentContext context = fixture.context(shift, 2); // no Z-report of register 2
    QCOMPARE(context.idZ, 0);
    QVERIFY_THROWS_EXCEPTION(ConvertError, fixture.prepare(QStringLiteral("ko1"), context));
}

void TestCashOrders::expenseOrderHandsOverTheEncashment_data()
{
    QTest::addColumn<double>("inkass");
    QTest::addColumn<bool>("act");
    QTest::addColumn<Bags>("bags");
    QTest::addColumn<QString>("figures");
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("kopecks");
    QTest::addColumn<QString>("bagLine");

    QTest::newRow("corrective encashment of 2 000 on 102 000")
        << 102000.0 << true << Bags{{"6124/1", 60000.0}, {"124/3", 40000.0}}
        << localePoint("100000.00") << QStringLiteral("Сто тысяч ") << QStringLiteral(" 00")
        << QStringLiteral("6124/1, 124/3 от 24.08.2015");
    QTest::newRow("nothing encashed")
        << 0.0 << false << Bags() << localePoint("0.00") << QStringLiteral("ноль ")
        << QStringLiteral(" 00") << QStringLiteral(" от 24.08.2015");
    QTest::newRow("kopecks") << 1234.56 << false << Bags{{"77", 1234.56}} << localePoint("1234.56")
                             << QStringLiteral("Одна тысяча двести тридцать четыре ")
                             << QStringLiteral(" 56") << QStringLiteral("77 от 24.08.2015");
}

void TestCashOrders::expenseOrderHandsOverTheEncashment()
{
    QFETCH(double, inkass);
    QFETCH(bool, act);
    QFETCH(Bags, bags);
    QFETCH(QString, figures);
    QFETCH(QString, words);
    QFETCH(QString, kopecks);
    QFETCH(QString, bagLine);

    ShiftFixture fixture;
    FormShift shift;
    shift.inkass = inkass;
    shift.act = act;
    shift.bags = bags;
    const PreparedPage page = preparedForm(fixture, shift, QStringLiteral("ko2")).pages.first();

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("57.02"))),
             (QStringList{"-", "50.2", figures, "", ""}));
    QCOMPARE(cellBefore(page, &found(page, QStringLiteral("57.02")))->text,
             QStringLiteral("АЗС №  17"));
    const PreparedItem *wordsItem = firstStartingWith(page, words);
    QVERIFY(wordsItem);
    QVERIFY2(dashedToTheEnd(*wordsItem, words), qPrintable(wordsItem->text));
    verifyWordsLines(page, &found(page, kopecks), words);

    QCOMPARE(allWith(page, bagLine).size(), 2);
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Квитанция к сумке"))),
             QStringList{bagLine});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Смотри квитанцию к сумке:"))),
             QStringList{bagLine});
    const PreparedItem &received = found(page, QStringLiteral("00"));
    const QList<const PreparedItem *> receivedLine = lineOf(page, &received);
    QCOMPARE(receivedLine.size(), 4);
    QVERIFY(dashedToTheEnd(*receivedLine.first(), QString()));

    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Дата составления")))->text,
             QStringLiteral("24.08.2015"));
    QStringList dateLine;
    for (const PreparedItem *item : lineOf(page, &found(page, QStringLiteral("Подпись"))))
        dateLine.append(item->text);
    QCOMPARE(dateLine, (QStringList{"\"", "24", "\"", "августа", "2015", "г.", "Подпись", ""}));

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Руководитель организации"))),
             (QStringList{"Управляющий АЗС", "", "Кузнецова О.С."}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Главный бухгалтер"))),
             (QStringList{"", accountant}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Рег.№"))), QStringList{"1473920"});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("KKM"))),
             (QStringList{"00112233", "Рег.№", "1473920"}));
}

void TestCashOrders::expenseOrderWithoutShiftDate()
{
    ShiftFixture fixture;
    DocumentContext context = fixture.context(FormShift().addTo(fixture), 1);
    context.shift.date.clear();
    const PreparedPage page = fixture.prepare(QStringLiteral("ko2"), context).pages.first();
    QCOMPARE(cellUnder(page, &found(page, QStringLiteral("Дата составления")))->text, QString());
    QStringList dateLine;
    for (const PreparedItem *item : lineOf(page, &found(page, QStringLiteral("Подпись"))))
        dateLine.append(item->text);
    QCOMPARE(dateLine, (QStringList{"\"", "", "\"", "", "", "г.", "Подпись", ""}));
}

void TestCashOrders::operatorNames_data()
{
    QTest::addColumn<int>("operator1");
    QTest::addColumn<QString>("fullName");
    QTest::addColumn<QString>("initials");
    QTest::newRow("chosen") << 2 << cashierName << cashierInitials;
    QTest::newRow("none chosen") << 0 << QString() << QString();
}

void TestCashOrders::operatorNames()
{
    QFETCH(int, operator1);
    QFETCH(QString, fullName);
    QFETCH(QString, initials);
    ShiftFixture fixture;
    FormShift shift;
    shift.operator1 = operator1;
    DocumentContext context = fixture.context(shift.addTo(fixture), 1);

    const PreparedReport receipt = fixture.prepare(QStringLiteral("ko1"), context);
    const PreparedPage &ko1 = receipt.pages.first();
    const QList<const PreparedItem *> receivedFrom = allWith(ko1, QStringLiteral("Принято от"));
    QCOMPARE(receivedFrom.size(), 2);
    QCOMPARE(textsAfter(ko1, receivedFrom.first()), QStringList{fullName});
    QCOMPARE(textsAfter(ko1, receivedFrom.last()), QStringList{initials});
    QCOMPARE(textsAfter(ko1, &found(ko1, QStringLiteral("Получил кассир"))),
             (QStringList{"", initials}));
    // The receipt's cashier signs last.
    const PreparedItem *receiptCashier
        = cellAbove(ko1, allWith(ko1, QStringLiteral("(расшифровка подписи)")).last());
    QVERIFY(receiptCashier && receiptCashier->rect.left() > cutLine(ko1));
    QCOMPARE(receiptCashier->text, initials);
    QCOMPARE(allWith(ko1, accountant).size(), 2);

    const PreparedReport expense = fixture.prepare(QStringLiteral("ko2"), context);
    const PreparedPage &ko2 = expense.pages.first();
    QCOMPARE(textsAfter(ko2, &found(ko2, QStringLiteral("ч/з"))), QStringList{fullName});
    QCOMPARE(textsAfter(ko2, &found(ko2, QStringLiteral("Выдал кассир"))),
             (QStringList{"", initials}));
    for (const PreparedReport *report : {&receipt, &expense})
        QVERIFY(!pageTexts(*report).contains(QStringLiteral("ВЫБРАТЬ")));
}

void TestCashOrders::receiptOrderBlank()
{
    ShiftFixture fixture;
    const PreparedReport report = preparedForm(fixture, FormShift(), QStringLiteral("ko1-blank"));
    const PreparedPage &page = report.pages.first();

    QCOMPARE(allWith(page, accountant).size(), 2);
    QVERIFY(findItem(page, QStringLiteral("АЗС 17")));
    QVERIFY(findItem(page, QStringLiteral("ООО \"Велморан-Нефтепродукт\"")));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("50.2"))),
             (QStringList{"", "АЗС 17", "90.1", "-", "", "", ""}));
    QVERIFY(!findItem(page, QStringLiteral("В том числе НДС")));
    QCOMPARE(allWith(page, QStringLiteral("В том числе")).size(), 2);
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("НДС"))),
             (QStringList{"", "руб.", "", "коп."}));
    QVERIFY(!findItem(page, QStringLiteral("Касса №")));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Получил кассир"))),
             (QStringList{"", ""}));
    for (const PreparedItem *item : allWith(page, QStringLiteral("Принято от")))
        QCOMPARE(textsAfter(page, item), QStringList{""});
    const QString texts = pageTexts(report);
    for (const QString &shiftText :
         {QStringLiteral("Григорьев"), QStringLiteral("№ 125"), QStringLiteral("Пятнадцать"),
          QStringLiteral("15234"), QStringLiteral("августа"), QStringLiteral("---")})
        QVERIFY2(!texts.contains(shiftText), qPrintable(shiftText));
}

void TestCashOrders::expenseOrderBlank_data()
{
    QTest::addColumn<bool>("afterAReport");
    QTest::addColumn<QStringList>("registerNumbers");
    QTest::newRow("after register 2's order")
        << true << QStringList{"00112245", "Рег.№", "1473921"};
    QTest::newRow("right after start") << false << QStringList{"", "Рег.№", ""};
}

void TestCashOrders::expenseOrderBlank()
{
    QFETCH(bool, afterAReport);
    QFETCH(QStringList, registerNumbers);
    ShiftFixture fixture;
    const qint32 shift = FormShift().addTo(fixture);
    fixture.addZReport(shift, 2,
                       {{"NZ", 40}, {"ZDate", QDateTime(QDate(2015, 8, 24), QTime(20, 12))}});
    DocumentContext context = fixture.context(shift, 2);
    if (afterAReport)
        fixture.prepare(QStringLiteral("ko2"), context);
    const PreparedReport report = fixture.prepare(QStringLiteral("ko2-blank"), context);
    const PreparedPage &page = report.pages.first();

    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("KKM"))), registerNumbers);
    QVERIFY(findItem(page, QStringLiteral("Череповецкий филиал  филиал, АЗС № 17")));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Квитанция к сумке:"))), QStringList{""});
    QVERIFY(!findItem(page, QStringLiteral("Квитанция к сумке")));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Руководитель организации"))),
             (QStringList{"Управляющий АЗС", "", "Кузнецова О.С."}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Главный бухгалтер"))),
             (QStringList{"", accountant}));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("ч/з"))), QStringList{""});
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("57.02"))),
             (QStringList{"-", "50.2", "", "", ""}));
    const QString texts = pageTexts(report);
    for (const QString &shiftText : {QStringLiteral("Григорьев"), QStringLiteral("24.08.2015")})
        QVERIFY2(!texts.contains(shiftText), qPrintable(shiftText));
    QCOMPARE(textsAfter(page, &found(page, QStringLiteral("Сумма"))), QStringList{""});
    for (const PreparedItem *unit : allWith(page, QStringLiteral("руб.")))
        QCOMPARE(cellBefore(page, unit)->text, QString());
}

QTEST_MAIN(TestCashOrders)
#include "tst_cashorders.moc"
