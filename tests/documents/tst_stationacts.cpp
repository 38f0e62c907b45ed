#include "support/golden.h"
#include "support/preparedpages.h"
#include "support/shiftfixture.h"

#include <QLocale>
#include <QTest>

// Runs once under the C locale and once under ru_RU: amounts print with the system's decimal
// separator. The golden dumps are made under the C locale.

namespace {

const QDate shiftDay(2016, 3, 5);
const QString firstLine = QStringLiteral(" 1. ШТРИХ-ФР-К");
const QString secondLine = QStringLiteral(" 2. ШТРИХ-ФР-К");

// "." stands for the system's decimal separator; blanks are the pattern's trailing ones.
QString amount(QString text, int trailingBlanks = 0)
{
    return text.replace(u'.', QLocale::system().decimalPoint()) + QString(trailingBlanks, u' ');
}

QString transferAmount(const QString &text)
{
    return amount(text, 4);
}

QString revenueAmount(const QString &text)
{
    return amount(text, 5);
}

// Registers 1 and 2 with their Z-reports of the shift; register 2 may carry a correction act.
struct Shift
{
    explicit Shift(const ShiftFixture::Columns &act = {}, double deposit1 = 500, double withdrawal1 = 0,
                   double deposit2 = 0, double withdrawal2 = 500)
    {
        idDovra = fixture.addShift(shiftDay, QStringLiteral("117"));
        firstZ = fixture.addZReport(
            idDovra, 1,
            {{"NZ", 125}, {"ZDOC", "0415"}, {"ZDate", QDateTime(shiftDay, QTime(21, 5))},
             {"NalProd", 15234.5}, {"NalVozvrat", 150.5}, {"KredProd", 8000.0}, {"KredStorno", 100.0},
             {"NarPROD", 1234567.89}, {"VNOS", deposit1}, {"VINOS", withdrawal1},
             {"SumKassReal", 1000.0}});
        secondZ = fixture.addZReport(
            idDovra, 2,
            {{"NZ", 88}, {"ZDOC", "0412"}, {"ZDate", QDateTime(QDate(2016, 3, 6), QTime(0, 10))},
             {"NalProd", 9800.0}, {"NalVozvrat", 0.0}, {"KredProd", 4200.0}, {"KredStorno", 0.0},
             {"NarPROD", 654321.0}, {"VNOS", deposit2}, {"VINOS", withdrawal2},
             {"SumKassReal", 2500.0}});
        if (!act.isEmpty())
            fixture.addAct(secondZ, act);
    }

    PreparedReport prepare(const QString &name, int kassa,
                           const std::function<void()> &recompute = {})
    {
        DocumentContext context = fixture.context(idDovra, kassa);
        context.recomputeBalances = recompute;
        return fixture.prepare(name, context);
    }

    ShiftFixture fixture;
    qint32 idDovra = 0;
    qint32 firstZ = 0;
    qint32 secondZ = 0;
};

// The text printed right of label on its line: a figure's value.
QString valueBeside(const PreparedPage &page, const QString &label)
{
    const PreparedItem *labelItem = findItem(page, label);
    if (!labelItem)
        return QStringLiteral("<no %1>").arg(label);
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.top(), labelItem->rect.top())
            && item.rect.left() >= labelItem->rect.right() - 0.01)
            return item.text;
    }
    return QStringLiteral("<nothing beside %1>").arg(label);
}

// The cell under the heading numbered column on the line whose first cell prints lineStart.
QString cellText(const PreparedPage &page, const QString &lineStart, int column)
{
    const PreparedItem *number = findItem(page, QString::number(column));
    const PreparedItem *line = findItem(page, lineStart);
    if (!number || !line)
        return QStringLiteral("<no cell>");
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.left(), number->rect.left())
            && qFuzzyCompare(item.rect.top(), line->rect.top()))
            return item.text;
    }
    return QStringLiteral("<no cell>");
}

// The value cell under a heading cell of a table.
QString textUnder(const PreparedPage &page, const QString &heading)
{
    const PreparedItem *headingItem = findItem(page, heading);
    if (!headingItem)
        return QStringLiteral("<no %1>").arg(heading);
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.left(), headingItem->rect.left())
            && qFuzzyCompare(item.rect.top(), headingItem->rect.bottom()))
            return item.text;
    }
    return QStringLiteral("<nothing under %1>").arg(heading);
}

// The texts on the line of the Z-report's date, after "от".
QStringList zReportDateLine(const PreparedPage &page)
{
    const PreparedItem *from = findItem(page, QStringLiteral("от"));
    QStringList texts;
    for (const PreparedItem &item : page.items) {
        if (from && qFuzzyCompare(item.rect.top(), from->rect.top())
            && item.rect.left() >= from->rect.right() - 0.01)
            texts.append(item.text);
    }
    return texts;
}

} // namespace

class TestStationActs : public QObject
{
    Q_OBJECT

private slots:
    void transferListsDepositsAndWithdrawals_data();
    void transferListsDepositsAndWithdrawals();
    void transferBlank();
    void revenueAct_data();
    void revenueAct();
    void appendix_data();
    void appendix();
    void registerWithoutZReport_data();
    void registerWithoutZReport();
    void closingBalanceBroughtUpToDate_data();
    void closingBalanceBroughtUpToDate();
    void goldenDumps_data();
    void goldenDumps();
};

void TestStationActs::transferListsDepositsAndWithdrawals_data()
{
    QTest::addColumn<QList<double>>("movements"); // deposit and withdrawal of registers 1 and 2
    QTest::addColumn<QStringList>("printed");     // the same as the lines print them
    QTest::addColumn<QStringList>("totals");      // deposits, withdrawals, difference

    QTest::newRow("one deposits, the other withdraws")
        << QList<double>{500, 0, 0, 500} << QStringList{"500.00", "0.00", "0.00", "500.00"}
        << QStringList{"500.00", "500.00", "0.00"};
    QTest::newRow("deposits only") << QList<double>{1200.5, 0, 300, 0}
                                   << QStringList{"1 200.50", "0.00", "300.00", "0.00"}
                                   << QStringList{"1 500.50", "0.00", "1 500.50"};
    QTest::newRow("more withdrawn") << QList<double>{0, 200, 0, 100}
                                    << QStringList{"0.00", "200.00", "0.00", "100.00"}
                                    << QStringList{"0.00", "300.00", "-300.00"};
}

void TestStationActs::transferListsDepositsAndWithdrawals()
{
    QFETCH(QList<double>, movements);
    QFETCH(QStringList, printed);
    QFETCH(QStringList, totals);
    Shift shift({}, movements[0], movements[1], movements[2], movements[3]);
    const PreparedReport report = shift.prepare(QStringLiteral("transfer"), 1);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    QVERIFY(findItem(page, QStringLiteral("АКТ ПЕРЕНОСА ДЕНЕЖНЫХ СРЕДСТВ МЕЖДУ ККМ")));
    QCOMPARE(textUnder(page, QStringLiteral("Дата\nсоставления")), QStringLiteral("05.03.2016"));
    const QStringList firstCells{"00112233", "1473920", "125", "0415", transferAmount(printed[0]),
                                 transferAmount(printed[1]), {}, {}};
    const QStringList secondCells{"00112245", "1473921", "88", "0412", transferAmount(printed[2]),
                                  transferAmount(printed[3]), {}, {}};
    for (int column = 2; column <= 9; ++column) {
        QCOMPARE(cellText(page, firstLine, column), firstCells.at(column - 2));
        QCOMPARE(cellText(page, secondLine, column), secondCells.at(column - 2));
    }
    const QString total = QStringLiteral("Итого");
    for (int i = 0; i < 3; ++i)
        QCOMPARE(cellText(page, total, 6 + i), transferAmount(totals[i]));
    QVERIFY(findItem(page, QStringLiteral("О.С. Кузнецова")));
    QVERIFY(findItem(page, QStringLiteral("Белова С.А.")));
    QVERIFY(findItem(page, QStringLiteral("Управляющий АЗС")));
    QVERIFY(findItem(page, QStringLiteral("Форма АВВ-50.2 ")));
    QVERIFY(findItem(page, QStringLiteral("Печать с оборотом. Подписи печать на обороте")));
}

void TestStationActs::transferBlank()
{
    Shift shift;
    const QString dateHeading = QStringLiteral("Дата\nсоставления");
    PreparedReport blank = shift.prepare(QStringLiteral("transfer-blank"), 1);
    QCOMPARE(textUnder(blank.pages.first(), dateHeading), QString());

    // After a document of register 2 the blank carries that Z-report's date, and nothing else of
    // the shift but the names.
    shift.prepare(QStringLiteral("revenue-act"), 2);
    blank = shift.prepare(QStringLiteral("transfer-blank"), 1);
    QCOMPARE(textUnder(blank.pages.first(), dateHeading), QStringLiteral("06.03.2016"));
    const QString texts = pageTexts(blank);
    for (const char *absent : {"ШТРИХ", "00112233", "500", "05.03.2016"})
        QVERIFY2(!texts.contains(QString::fromUtf8(absent)), absent);
    QVERIFY(texts.contains(QStringLiteral("О.С. Кузнецова")));
    QVERIFY(texts.contains(QStringLiteral("Белова С.А.")));

    const int blankRows = shift.fixture.station.scalar(QStringLiteral("SELECT COUNT(*) FROM xx")).asInteger();
    int lines = 0;
    for (const PreparedPage &page : blank.pages) {
        const PreparedItem *numberOne = findItem(page, QStringLiteral("1"));
        QVERIFY(numberOne);
        for (const PreparedItem &item : page.items) {
            lines += item.text.isEmpty() && item.rect.top() > numberOne->rect.top()
                     && qFuzzyCompare(item.rect.left(), numberOne->rect.left())
                     && qFuzzyCompare(item.rect.width(), numberOne->rect.width());
        }
    }
    QCOMPARE(lines, blankRows);
}

void TestStationActs::revenueAct_data()
{
    QTest::addColumn<ShiftFixture::Columns>("act");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("cashDifference");
    QTest::addColumn<QString>("cardDifference");
    QTest::addColumn<QString>("cash"); // recognised
    QTest::addColumn<QString>("card");

    QTest::newRow("cash sold as card")
        << ShiftFixture::Columns{{"NAkt", "7"}, {"nalKakBnal", 100.0}} << "7" << "100.00" << "-100.00"
        << "9900.00" << "4100.00";
    QTest::newRow("card refunded as cash")
        << ShiftFixture::Columns{{"NAkt", "8-Б"}, {"vBnalKakNal", 10.0}} << "8-Б" << "10.00"
        << "-10.00" << "9810.00" << "4190.00";
    QTest::newRow("no correction act") << ShiftFixture::Columns{} << "" << "0.00" << "0.00"
                                       << "9800.00" << "4200.00";
}

void TestStationActs::revenueAct()
{
    QFETCH(ShiftFixture::Columns, act);
    QFETCH(QString, number);
    QFETCH(QString, cashDifference);
    QFETCH(QString, cardDifference);
    QFETCH(QString, cash);
    QFETCH(QString, card);

    Shift shift(act);
    const PreparedReport report = shift.prepare(QStringLiteral("revenue-act"), 2);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    QCOMPARE(valueBeside(page, QStringLiteral("АКТ №")), number);
    QCOMPARE(valueBeside(page, QStringLiteral("Кассовый аппарат №")), QStringLiteral("00112245"));
    QCOMPARE(valueBeside(page, QStringLiteral("Z-очет №")), QStringLiteral("88"));
    QCOMPARE(zReportDateLine(page),
             (QStringList{"\"", "06", "\"", "марта", "2016", "г."}));
    const QList<std::pair<QString, QString>> figures{
        {"Показания накопительных счетчиков на момент закрытия смены", "654 321.00"},
        {"Показания накопительных счетчиков на конец предыдущей смены", "640 321.00"},
        {"Итого выручка по показаниям счетчика", "14 000.00"},
        {"Возврат по налу", "0.00"},
        {"Возврат по безналу", "0.00"},
        {"Итого выручка по наличным", "9 800.00"},
        {"Итого выручка по безналу", "4 200.00"},
        {"Сумма наличности в кассе", "2 500.00"},
        {"Сдано платежных документов", "4 200.00"},
        {"Расхождение по наличности", cashDifference},
        {"Расхождение по безналу", cardDifference}};
    for (const auto &[label, value] : figures)
        QCOMPARE(valueBeside(page, label), revenueAmount(value));
    QCOMPARE(valueBeside(page, QStringLiteral("ПРИЗНАТЬ СУММУ НАЛИЧНОЙ ВЫРУЧКИ")), amount(cash));
    QCOMPARE(valueBeside(page, QStringLiteral("ПРИЗНАТЬ СУММУ БЕЗНАЛИЧНОЙ ВЫРУЧКИ")), amount(card));

    // The goods table: framed, its value cells empty.
    for (const char *good : {"  АИ-98", "  АИ-95", "  АИ-92", "  АИ-80", "  Д/Т", "  Прочие товары", "  ИТОГО"}) {
        const PreparedItem *row = findItem(page, QString::fromUtf8(good));
        QVERIFY2(row, good);
        QCOMPARE(row->style.frame.sides, allSides);
        QCOMPARE(valueBeside(page, QString::fromUtf8(good)), QString());
    }
    QVERIFY(findItem(page, QStringLiteral("  ИТОГО"))->style.font.bold);
    QVERIFY(findItem(page, QStringLiteral("Управляющий АЗС")));
}

void TestStationActs::appendix_data()
{
    QTest::addColumn<ShiftFixture::Columns>("act");
    QTest::addColumn<QStringList>("corrections"); // encashment, withdrawal, deposit

    QTest::newRow("corrections") << ShiftFixture::Columns{{"korrInkass", 300.0}, {"korrVinos", 1250.5},
                                                          {"korrVnos", 20.0}}
                                 << QStringList{"300.00", "1 250.50", "20.00"};
    QTest::newRow("act without them") << ShiftFixture::Columns{{"nalKakBnal", 100.0}}
                                      << QStringList{"0.00", "0.00", "0.00"};
    QTest::newRow("no act") << ShiftFixture::Columns{} << QStringList{"0.00", "0.00", "0.00"};
}

void TestStationActs::appendix()
{
    QFETCH(ShiftFixture::Columns, act);
    QFETCH(QStringList, corrections);

    Shift shift(act);
    const PreparedReport report = shift.prepare(QStringLiteral("correction-appendix"), 2);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();
    const QStringList labels{"ИНКАССАЦИЯ (корректирующая) на сумму ",
                             "ВЫНОС (корректирующий)              на сумму ",
                             "ВНОС (корректирующий)                  на сумму "};
    for (int i = 0; i < labels.size(); ++i)
        QCOMPARE(valueBeside(page, labels[i]), amount(corrections[i]));
    QCOMPARE(valueBeside(page, QStringLiteral("Фактический остаток в кассе ")), amount("2 500.00"));
    QCOMPARE(valueBeside(page, QStringLiteral("Кассовый аппарат №")), QStringLiteral("00112245"));
    QCOMPARE(zReportDateLine(page), (QStringList{"\"", "06", "\"", "марта", "2016", "г."}));

    // Each signatory with the surname first, the name before the signature cell.
    const QList<std::pair<QString, QString>> signatories{{"ОПЕРАЦИЮ РАЗРЕШИЛ", "Кузнецова О.С."},
                                                         {"СОГЛАСОВАНО", "Павлова Т.И."},
                                                         {"Оператор-контролер-кассир", "Белова С.А."}};
    for (const auto &[role, name] : signatories) {
        const PreparedItem *roleItem = findItem(page, role);
        const PreparedItem *nameItem = findItem(page, name);
        QVERIFY2(roleItem && nameItem, qPrintable(name));
        QCOMPARE(nameItem->rect.top(), roleItem->rect.top());
        QCOMPARE(roleItem->style.font.bold, role != QStringLiteral("Оператор-контролер-кассир"));
        const PreparedItem *signature = nullptr;
        for (const PreparedItem &item : page.items) {
            if (item.text == QStringLiteral("(подпись)")
                && qFuzzyCompare(item.rect.top(), nameItem->rect.bottom()))
                signature = &item;
        }
        QVERIFY(signature && signature->rect.left() > nameItem->rect.right());
    }
    QVERIFY(findItem(page, QStringLiteral("Гл.бухгалтер")));
}

void TestStationActs::registerWithoutZReport_data()
{
    QTest::addColumn<QString>("document");
    QTest::newRow("revenue act") << "revenue-act";
    QTest::newRow("appendix") << "correction-appendix";
}

// Register 3 has no Z-report in the shift: the act prints with its Z-report's fields and date
// empty instead of stopping on the missing date.
void TestStationActs::registerWithoutZReport()
{
    QFETCH(QString, document);
    Shift shift;
    const PreparedReport report = shift.prepare(document, 3);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();
    QCOMPARE(valueBeside(page, QStringLiteral("Кассовый аппарат №")), QString());
    QCOMPARE(zReportDateLine(page), (QStringList{"\"", "", "\"", "", "", "г."}));
    QVERIFY(page.items.size() > 50);
}

void TestStationActs::closingBalanceBroughtUpToDate_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("label");
    QTest::addColumn<int>("trailingBlanks");
    QTest::newRow("revenue act") << "revenue-act" << "Сумма наличности в кассе" << 5;
    QTest::newRow("appendix") << "correction-appendix" << "Фактический остаток в кассе " << 0;
}

// The window stores the closing balances of an open shift before the acts read them, so that an
// act printed right after the actual cash was typed into the correction act shows it.
void TestStationActs::closingBalanceBroughtUpToDate()
{
    QFETCH(QString, document);
    QFETCH(QString, label);
    QFETCH(int, trailingBlanks);

    Shift shift({{"nal", 4321.0}});
    // The export program cannot store anything: the act reads the balance as stored.
    QCOMPARE(valueBeside(shift.prepare(document, 2).pages.first(), label),
             amount("2 500.00", trailingBlanks));
    const auto recompute = [&shift] {
        shift.fixture.station.run(QStringLiteral("UPDATE ZOTCHET SET SumKassReal = 43210000 WHERE idZ = :z"),
                                  {{QStringLiteral("z"), shift.secondZ}});
    };
    QCOMPARE(valueBeside(shift.prepare(document, 2, recompute).pages.first(), label),
             amount("4 321.00", trailingBlanks));
}

void TestStationActs::goldenDumps_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<int>("kassa");
    QTest::addColumn<QString>("golden");
    QTest::newRow("transfer") << "transfer" << 1 << "transfer.txt";
    QTest::newRow("transfer blank") << "transfer-blank" << 1 << "transfer-blank.txt";
    QTest::newRow("revenue act") << "revenue-act" << 2 << "revenue-act.txt";
    QTest::newRow("appendix") << "correction-appendix" << 2 << "correction-appendix.txt";
}

void TestStationActs::goldenDumps()
{
    QFETCH(QString, document);
    QFETCH(int, kassa);
    QFETCH(QString, golden);
    if (QLocale::system().decimalPoint() != u'.')
        QSKIP("the golden dumps are made under the C locale");

    Shift shift({{"NAkt", "7"}, {"nalKakBnal", 100.0}, {"korrInkass", 300.0}});
    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), golden,
                                            dumpReport(shift.prepare(document, kassa)));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestStationActs)
#include "tst_stationacts.moc"
