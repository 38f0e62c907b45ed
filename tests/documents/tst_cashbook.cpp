#include "support/golden.h"
#include "support/preparedpages.h"
#include "support/shiftfixture.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString opening = QStringLiteral("Остаток на начало дня    ");
const QString revenue = QStringLiteral("50.02");
const QString deposit = QStringLiteral("  внос в ККМ  ");
const QString withdrawal = QStringLiteral("  вынос из ККМ    ");
const QString encashment = QStringLiteral("57.02");
const QString dayTotal = QStringLiteral("Итого за день");
const QString closing = QStringLiteral("Остаток на конец дня");
const QString wages = QStringLiteral("в том числе на заработную плату, выплаты социального "
                                     "характера и стипендии");
const QString receiptsHeading = QStringLiteral("Приход руб.коп.");
const QString paymentsHeading = QStringLiteral("Расход руб.коп.");
const QString station = QStringLiteral("Череповецкий филиал  филиал, АЗС № 17");

QDateTime at(int year, int month, int day, int hour, int minute)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute));
}

// A shift of two registers after an accepted one. Register 1 closes the shift past midnight
// with a correction act; its previous Z-report had none. Register 2 has a hand-entered opening
// balance, which the shift-wide sheet must not count. Every figure of the shift is typed, as the
// closing balance needs.
class TwoRegisterShift
{
public:
    TwoRegisterShift()
    {
        const qint32 previous = fixture.addShift(QDate(2015, 8, 23), QStringLiteral("124"), 1, 0, true);
        fixture.addZReport(previous, 1, {{"NZ", 124}, {"ZDate", at(2015, 8, 23, 23, 50)},
                                         {"NalProd", 10000.0}, {"INKASS", 8000.0},
                                         {"SumKass", 2000.0}, {"SumKassReal", 2000.0},
                                         {"NarPROD", 500000.0}});
        fixture.addZReport(previous, 2, {{"NZ", 39}, {"ZDate", at(2015, 8, 23, 23, 55)},
                                         {"NalProd", 1500.0}, {"SumKass", 1500.0},
                                         {"SumKassReal", 1500.0}});

        shift = fixture.addShift(QDate(2015, 8, 24), QStringLiteral("125"), 2, 3);
        register1 = fixture.addZReport(shift, 1, {{"NZ", 125}, {"ZDate", at(2015, 8, 25, 0, 30)},
                                                  {"NalProd", 15234.5}, {"NalVozvrat", 234.5},
                                                  {"KredProd", 5000.0}, {"KredStorno", 100.0},
                                                  {"VNOS", 1000.0}, {"VINOS", 500.0},
                                                  {"INKASS", 12000.0}, {"SumKass", 5500.0},
                                                  {"NarPROD", 520000.0}});
        fixture.addAct(register1, {{"NAkt", "7"}, {"nalKakBnal", 300.0}, {"BnalKakNal", 100.0},
                                   {"vNalKakBnal", 50.0}, {"vBnalKakNal", 20.0},
                                   {"korrInkass", 500.0}, {"korrVnos", 200.0}, {"korrVinos", 100.0}});
        fixture.addZReport(shift, 2, {{"NZ", 40}, {"ZDate", at(2015, 8, 24, 23, 40)},
                                      {"NalProd", 3000.0}, {"NalVozvrat", 0.0}, {"VNOS", 0.0},
                                      {"VINOS", 0.0}, {"INKASS", 2000.0}, {"SumKass", 2500.0},
                                      {"nssit", true}, {"SumKassNS", 9999.0}});
    }

    // The main window's context: the balances are recomputed as its updateRealSum does.
    DocumentContext context(int kassa)
    {
        DocumentContext context = fixture.context(shift, kassa);
        context.recomputeBalances = [this] {
            fixture.station.main->curIdDovra = shift;
            fixture.station.main->updateRealSum();
        };
        return context;
    }

    PreparedReport prepare(const QString &name, int kassa = 1)
    {
        DocumentContext context = this->context(kassa);
        return fixture.prepare(name, context);
    }

    ShiftFixture fixture;
    qint32 shift = 0;
    qint32 register1 = 0;
};

double amountOf(QString text)
{
    bool ok = false;
    const double value = text.remove(u' ').replace(QLocale::system().decimalPoint(), u"."_s).toDouble(&ok);
    if (!ok)
        qWarning("not an amount: %s", qPrintable(text));
    return value;
}

// The text of the table's line that anchor names, in the column under heading.
QString cellText(const PreparedPage &page, const QString &anchor, const QString &heading)
{
    const PreparedItem *line = findItem(page, anchor);
    const PreparedItem *column = findItem(page, heading);
    if (!line || !column)
        return QStringLiteral("<no line %1>").arg(anchor);
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.left(), column->rect.left())
            && qFuzzyCompare(item.rect.top(), line->rect.top()))
            return item.text;
    }
    return QStringLiteral("<no cell>");
}

QString receipt(const PreparedPage &page, const QString &anchor)
{
    return cellText(page, anchor, receiptsHeading);
}

QString payment(const PreparedPage &page, const QString &anchor)
{
    return cellText(page, anchor, paymentsHeading);
}

// An amount as the form prints it, written here with a point: "15 170.00".
QString printed(QString amount)
{
    return amount.replace(u'.', QLocale::system().decimalPoint());
}

} // namespace

class TestCashBook : public QObject
{
    Q_OBJECT

private slots:
    void registerSheetBalancesAfterTheAct();
    void correctiveEncashmentLeavesTheExpenseOrder();
    void shiftSheetSumsTheRegisters();
    void blankPrintsOnlyRequisitesAndTheLastRegister();
    void titlePages();
    void pagesMatchTheirReference_data();
    void pagesMatchTheirReference();
};

void TestCashBook::registerSheetBalancesAfterTheAct()
{
    TwoRegisterShift shift;
    QVERIFY(shift.fixture.station
                .scalar("SELECT SumKassReal FROM ZOTCHET WHERE idZ = :z", {{"z", shift.register1}})
                .isNull());
    const PreparedReport report = shift.prepare(QStringLiteral("ko4"));
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    // Revenue after the act: 15 000 + (300 − 100) − (50 − 20); deposit, withdrawal and
    // encashment less their corrections.
    QCOMPARE(receipt(page, opening), printed(u"2 000.00"_s));
    QCOMPARE(payment(page, opening), u"х"_s);
    QCOMPARE(receipt(page, revenue), printed(u"15 170.00"_s));
    QCOMPARE(receipt(page, deposit), printed(u"800.00"_s));
    QCOMPARE(payment(page, withdrawal), printed(u"400.00"_s));
    QCOMPARE(payment(page, encashment), printed(u"11 500.00"_s));
    QCOMPARE(receipt(page, dayTotal), printed(u"15 970.00"_s));
    QCOMPARE(payment(page, dayTotal), printed(u"11 900.00"_s));
    QCOMPARE(payment(page, closing), u"х"_s);
    QCOMPARE(payment(page, wages), u"х"_s);

    // The closing balance is the one just stored, and the sheet balances.
    const double closingBalance = amountOf(receipt(page, closing));
    QCOMPARE(closingBalance, 6070.0);
    QCOMPARE(amountOf(receipt(page, opening)) + amountOf(receipt(page, dayTotal))
                 - amountOf(payment(page, dayTotal)),
             closingBalance);

    QVERIFY(findItem(page, u"КАССА ЗА 25.08.2015"_s));
    QVERIFY(findItem(page, u"П.Н. Григорьев"_s));
    QVERIFY(findItem(page, u"Т.И. Павлова"_s));
    const PreparedItem *note = findItem(
        page, u"Примечание: корректирующая инкассация отражается в строке \"вынос\""_s);
    QVERIFY(note);

    // Both count lines say "один" and dash out the rest of their cell.
    int counts = 0;
    for (const PreparedItem &item : page.items) {
        if (item.text.startsWith(u"один-"_s)) {
            ++counts;
            QCOMPARE(item.text.mid(4), QString(item.text.size() - 4, u'-'));
            QVERIFY(item.text.size() > 30);
        }
    }
    QCOMPARE(counts, 2);

    // The bottom line: the station and the register's numbers, below everything else.
    for (const QString &part : {station, u"KKM"_s, u"00112233"_s, u"Рег.№"_s, u"1473920"_s}) {
        const PreparedItem *item = findItem(page, part);
        QVERIFY2(item, qPrintable(part));
        QVERIFY(item->rect.bottom() > note->rect.bottom() + 50);
        QCOMPARE(item->rect.bottom(), 287.0);
    }
}

void TestCashBook::correctiveEncashmentLeavesTheExpenseOrder()
{
    ShiftFixture fixture;
    const qint32 shift = fixture.addShift(QDate(2015, 8, 24), QStringLiteral("125"), 2);
    const qint32 idZ = fixture.addZReport(shift, 1, {{"NZ", 125}, {"ZDate", at(2015, 8, 24, 22, 0)},
                                                     {"NalProd", 102500.0}, {"VINOS", 300.0},
                                                     {"INKASS", 102000.0}});
    fixture.addAct(idZ, {{"NAkt", "1"}, {"korrInkass", 2000.0}});
    DocumentContext context = fixture.context(shift, 1);
    const PreparedPage page = fixture.prepare(QStringLiteral("ko4"), context).pages.first();
    QCOMPARE(payment(page, encashment), printed(u"100 000.00"_s));
    QCOMPARE(payment(page, withdrawal), printed(u"300.00"_s));
    QCOMPARE(payment(page, dayTotal), printed(u"100 300.00"_s));
}

void TestCashBook::shiftSheetSumsTheRegisters()
{
    TwoRegisterShift shift;
    const PreparedReport report = shift.prepare(QStringLiteral("ko4-shift"));
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    // The registers' previous closing balances, not register 2's typed 9 999.
    QCOMPARE(receipt(page, opening), printed(u"3 500.00"_s));
    QCOMPARE(receipt(page, revenue), printed(u"18 170.00"_s));
    QCOMPARE(receipt(page, dayTotal), printed(u"18 970.00"_s));
    QCOMPARE(payment(page, encashment), printed(u"13 500.00"_s));
    QCOMPARE(payment(page, dayTotal), printed(u"13 900.00"_s));
    // Both closing balances were recomputed: 6 070 and 1 500 + 3 000 − 2 000.
    QCOMPARE(receipt(page, closing), printed(u"8 570.00"_s));
    QCOMPARE(amountOf(receipt(page, opening)) + amountOf(receipt(page, dayTotal))
                 - amountOf(payment(page, dayTotal)),
             amountOf(receipt(page, closing)));

    // Dated by the shift's earliest Z-report; no counts, no note, no register numbers.
    QVERIFY(findItem(page, u"КАССА ЗА 24.08.2015"_s));
    QVERIFY(findItem(page, u"П.Н. Григорьев"_s));
    QVERIFY(findItem(page, station));
    const QString texts = pageTexts(report);
    for (const QString &absent : {u"один"_s, u"Примечание"_s, u"KKM"_s, u"00112233"_s})
        QVERIFY2(!texts.contains(absent), qPrintable(absent));
}

void TestCashBook::blankPrintsOnlyRequisitesAndTheLastRegister()
{
    TwoRegisterShift shift;

    // Right after start no document has opened a Z-report: no register numbers.
    const PreparedReport fresh = shift.prepare(QStringLiteral("ko4-blank"));
    QCOMPARE(fresh.pages.size(), 1);
    const PreparedPage &page = fresh.pages.first();
    QVERIFY(findItem(page, u"КАССА ЗА "_s));
    QVERIFY(findItem(page, u"Т.И. Павлова"_s));
    QVERIFY(findItem(page, station));
    QVERIFY(findItem(page, u"KKM"_s));
    for (const QString &line : {opening, revenue, deposit, withdrawal, encashment, dayTotal, closing})
        QVERIFY2(receipt(page, line).isEmpty(), qPrintable(line));
    for (const QString &line : {revenue, deposit, withdrawal, encashment, dayTotal})
        QVERIFY2(payment(page, line).isEmpty(), qPrintable(line));
    for (const QString &line : {opening, closing, wages})
        QCOMPARE(payment(page, line), u"x"_s);
    const QString texts = pageTexts(fresh);
    for (const QString &absent : {u"П.Н. Григорьев"_s, u"один"_s, u"Примечание"_s, u"00112233"_s})
        QVERIFY2(!texts.contains(absent), qPrintable(absent));

    // After a document of register 2, that register's numbers.
    shift.prepare(QStringLiteral("ko4"), 2);
    const PreparedPage after = shift.prepare(QStringLiteral("ko4-blank")).pages.first();
    QVERIFY(findItem(after, u"00112245"_s));
    QVERIFY(findItem(after, u"1473921"_s));
}

void TestCashBook::titlePages()
{
    TwoRegisterShift shift;
    const PreparedReport first = shift.prepare(QStringLiteral("ko4-title1"));
    QCOMPARE(first.pages.size(), 1);
    QCOMPARE(first.page.orientation, QPageLayout::Landscape);
    const PreparedPage &cover = first.pages.first();
    for (const QString &text : {u"Унифицированная форма № КО-4"_s, u"России от 18.08.98 № 88"_s,
                                u"0310004"_s, u"41782315"_s, u"ООО \"Велморан-Нефтепродукт\""_s,
                                station, u"КАССОВАЯ КНИГА"_s})
        QVERIFY2(findItem(cover, text), qPrintable(text));
    QVERIFY(findItem(cover, u"КАССОВАЯ КНИГА"_s)->style.font.bold);

    const PreparedReport last = shift.prepare(QStringLiteral("ko4-title2"));
    QCOMPARE(last.page.orientation, QPageLayout::Landscape);
    const PreparedPage &back = last.pages.first();
    const PreparedItem *position = findItem(back, u"Директор филиала"_s);
    const PreparedItem *head = findItem(back, u"Лебедев А.В."_s);
    const PreparedItem *chief = findItem(back, u"Морозова Е.Н."_s);
    QVERIFY(position && head && chief);
    // The two names and their signatures stand one under the other.
    QCOMPARE(chief->rect.left(), head->rect.left());
    QVERIFY(chief->rect.top() > head->rect.bottom());
}

void TestCashBook::pagesMatchTheirReference_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("register") << u"ko4"_s;
    QTest::newRow("shift") << u"ko4-shift"_s;
    QTest::newRow("blank") << u"ko4-blank"_s;
    QTest::newRow("title page") << u"ko4-title1"_s;
    QTest::newRow("closing page") << u"ko4-title2"_s;
}

void TestCashBook::pagesMatchTheirReference()
{
    QFETCH(QString, name);
    TwoRegisterShift shift;
    shift.prepare(QStringLiteral("ko4"), 2); // the blank shows the register opened last
    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), name + u".txt"_s,
                                            dumpReport(shift.prepare(name)));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestCashBook)
#include "tst_cashbook.moc"
