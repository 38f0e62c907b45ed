#include "support/golden.h"
#include "support/preparedpages.h"
#include "support/shiftfixture.h"

#include <QLocale>
#include <QTest>

// Runs once under the C locale and once under ru_RU: amounts print with the system's decimal
// separator. The golden dumps are made under the C locale.

namespace {

const QDate shiftDay(2016, 3, 5);
const QString backNote = QStringLiteral("Печатать с оборотом. Подписи печатать на обороте.");
const QString firstLine = QStringLiteral(" 1. ШТРИХ-ФР-К");
const QString secondLine = QStringLiteral(" 2. ШТРИХ-ФР-К");

// An amount as the form's cells print it: "." stands for the system's decimal separator, and
// the pattern ends in three blanks.
QString cellAmount(QString amount)
{
    return amount.replace(u'.', QLocale::system().decimalPoint()) + QStringLiteral("   ");
}

// A shift of two registers whose Z-reports were entered register 2 first; register 2 may carry a
// correction act.
struct TwoRegisters
{
    explicit TwoRegisters(const ShiftFixture::Columns &act = {})
    {
        idDovra = fixture.addShift(shiftDay, QStringLiteral("117"));
        const qint32 second = fixture.addZReport(
            idDovra, 2,
            {{"NZ", 88}, {"ZDOC", "0412"}, {"ZDate", QDateTime(shiftDay, QTime(21, 10))},
             {"NalProd", 9800.0}, {"NalVozvrat", 0.0}, {"KredProd", 4200.0}, {"KredStorno", 0.0},
             {"NarPROD", 654321.0}});
        fixture.addZReport(idDovra, 1,
                           {{"NZ", 125}, {"ZDOC", "0415"}, {"ZDate", QDateTime(shiftDay, QTime(21, 5))},
                            {"NalProd", 15234.5}, {"NalVozvrat", 150.5}, {"KredProd", 8000.0},
                            {"KredStorno", 100.0}, {"NarPROD", 1234567.89}});
        if (!act.isEmpty())
            fixture.addAct(second, act);
    }

    PreparedReport prepare(const QString &name, int kassa = 1)
    {
        DocumentContext context = fixture.context(idDovra, kassa);
        return fixture.prepare(name, context);
    }

    ShiftFixture fixture;
    qint32 idDovra = 0;
};

// The cell under the heading numbered column on the line whose first cell prints lineStart.
const PreparedItem *cell(const PreparedPage &page, const QString &lineStart, int column)
{
    const PreparedItem *number = findItem(page, QString::number(column));
    const PreparedItem *line = findItem(page, lineStart);
    if (!number || !line)
        return nullptr;
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.left(), number->rect.left())
            && qFuzzyCompare(item.rect.top(), line->rect.top()))
            return &item;
    }
    return nullptr;
}

QString cellText(const PreparedPage &page, const QString &lineStart, int column)
{
    const PreparedItem *item = cell(page, lineStart, column);
    return item ? item->text : QStringLiteral("<no cell>");
}

bool underComma()
{
    return QLocale::system().decimalPoint() != u'.';
}

} // namespace

class TestKm7Form : public QObject
{
    Q_OBJECT

private slots:
    void revenueColumnsTakeTheActs_data();
    void revenueColumnsTakeTheActs();
    void refundsInWords_data();
    void refundsInWords();
    void headedByTheCurrentRegister();
    void shiftWithoutZReports();
    void blankForm();
    void goldenDumps_data();
    void goldenDumps();
};

void TestKm7Form::revenueColumnsTakeTheActs_data()
{
    QTest::addColumn<ShiftFixture::Columns>("act");
    QTest::addColumn<QString>("cash");       // column 9 of register 2
    QTest::addColumn<QString>("card");       // column 11 of register 2
    QTest::addColumn<QString>("totalCash");  // column 9 of "Итого"
    QTest::addColumn<QString>("totalCard");  // column 11 of "Итого"

    QTest::newRow("no act") << ShiftFixture::Columns{} << "9 800.00" << "4 200.00" << "24 884.00"
                            << "12 100.00";
    QTest::newRow("cash sold as card")
        << ShiftFixture::Columns{{"NAkt", "7"}, {"nalKakBnal", 100.0}} << "9 900.00" << "4 100.00"
        << "24 984.00" << "12 000.00";
    QTest::newRow("card sold as cash")
        << ShiftFixture::Columns{{"BnalKakNal", 100.0}} << "9 700.00" << "4 300.00" << "24 784.00"
        << "12 200.00";
    QTest::newRow("cash refunded as card")
        << ShiftFixture::Columns{{"vNalKakBnal", 10.0}} << "9 790.00" << "4 210.00" << "24 874.00"
        << "12 110.00";
    QTest::newRow("act without mix-ups")
        << ShiftFixture::Columns{{"korrInkass", 300.0}, {"nal", 50.0}} << "9 800.00" << "4 200.00"
        << "24 884.00" << "12 100.00";
}

void TestKm7Form::revenueColumnsTakeTheActs()
{
    QFETCH(ShiftFixture::Columns, act);
    QFETCH(QString, cash);
    QFETCH(QString, card);
    QFETCH(QString, totalCash);
    QFETCH(QString, totalCard);

    TwoRegisters shift(act);
    const PreparedReport report = shift.prepare(QStringLiteral("km7"));
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    // By register, whatever order the Z-reports were entered in.
    const PreparedItem *first = findItem(page, firstLine);
    const PreparedItem *second = findItem(page, secondLine);
    QVERIFY(first && second);
    QVERIFY(first->rect.bottom() <= second->rect.top() + 0.01);

    const QStringList firstCells{"00112233", "1473920", "125", "0415", cellAmount("1 211 333.39"),
                                 cellAmount("1 234 567.89"), cellAmount("23 234.50"),
                                 cellAmount("15 084.00"), {}, cellAmount("7 900.00"), {}, {}, {}};
    for (int column = 2; column <= 14; ++column)
        QCOMPARE(cellText(page, firstLine, column), firstCells.at(column - 2));

    // Column 8 is the Z-report's revenue; 9 and 11 move with the act.
    QCOMPARE(cellText(page, secondLine, 8), cellAmount("14 000.00"));
    QCOMPARE(cellText(page, secondLine, 9), cellAmount(cash));
    QCOMPARE(cellText(page, secondLine, 11), cellAmount(card));

    const QString total = QStringLiteral("Итого");
    QCOMPARE(cellText(page, total, 8), cellAmount("37 234.50"));
    QCOMPARE(cellText(page, total, 9), cellAmount(totalCash));
    QCOMPARE(cellText(page, total, 10), QStringLiteral("X"));
    QCOMPARE(cellText(page, total, 11), cellAmount(totalCard));
    QCOMPARE(cellText(page, total, 12), QStringLiteral("X"));
    QCOMPARE(cellText(page, total, 13), QString());
    QVERIFY(cell(page, total, 9)->style.alignment & Qt::AlignRight);
    QCOMPARE(cell(page, total, 9)->style.frame.sides, allSides);
}

void TestKm7Form::refundsInWords_data()
{
    QTest::addColumn<QList<double>>("refunds"); // cash refunds of registers 1, 2, ...
    QTest::addColumn<ShiftFixture::Columns>("act"); // of register 1
    QTest::addColumn<QString>("words");
    QTest::addColumn<QString>("kopecks");

    QTest::newRow("two registers") << QList<double>{150.5, 0} << ShiftFixture::Columns{}
                                   << "Сто пятьдесят рублей ---" << "50";
    QTest::newRow("refunds as stated, not as corrected")
        << QList<double>{150.5} << ShiftFixture::Columns{{"vNalKakBnal", 10.0}, {"vBnalKakNal", 3.0}}
        << "Сто пятьдесят рублей ---" << "50";
    QTest::newRow("thousands") << QList<double>{1000.0, 234.56} << ShiftFixture::Columns{}
                               << "Одна тысяча двести тридцать четыре рубля ---" << "56";
    QTest::newRow("no Z-reports") << QList<double>{} << ShiftFixture::Columns{} << "ноль рублей ---"
                                  << "00";
}

void TestKm7Form::refundsInWords()
{
    QFETCH(QList<double>, refunds);
    QFETCH(ShiftFixture::Columns, act);
    QFETCH(QString, words);
    QFETCH(QString, kopecks);

    ShiftFixture fixture;
    const qint32 idDovra = fixture.addShift(shiftDay, QStringLiteral("117"));
    for (int i = 0; i < refunds.size(); ++i) {
        const qint32 idZ = fixture.addZReport(idDovra, i + 1,
                                              {{"NZ", 10 + i}, {"NalProd", 2000.0},
                                               {"NalVozvrat", refunds.at(i)}});
        if (i == 0 && !act.isEmpty())
            fixture.addAct(idZ, act);
    }
    DocumentContext context = fixture.context(idDovra, 1);
    const PreparedPage page = fixture.prepare(QStringLiteral("km7"), context).pages.first();

    const PreparedItem *wordsItem = findItem(page, words);
    QVERIFY2(wordsItem, qPrintable(pageTexts({{}, {page}})));
    QCOMPARE(wordsItem->style.frame.sides, FrameSides(FrameSide::Bottom));
    // "руб.", the kopecks and "коп." follow on the words' line, "(прописью)" beneath the words.
    QStringList after;
    for (const PreparedItem &item : page.items) {
        if (qFuzzyCompare(item.rect.top(), wordsItem->rect.top())
            && item.rect.left() >= wordsItem->rect.right() - 0.01)
            after.append(item.text);
    }
    QCOMPARE(after, (QStringList{QStringLiteral("руб."), kopecks, QStringLiteral("коп.")}));
    const PreparedItem *hint = findItem(page, QStringLiteral("(прописью)"));
    QVERIFY(hint);
    QCOMPARE(hint->rect.top(), wordsItem->rect.bottom());
}

void TestKm7Form::headedByTheCurrentRegister()
{
    TwoRegisters shift;
    const PreparedPage page = shift.prepare(QStringLiteral("km7"), 2).pages.first();
    const QString texts = pageTexts({{}, {page}});
    // Register 2's Z-report dates the form.
    for (const char *text : {"05.03.2016", "21:10", "Унифицированная форма № КМ-7", "0330107",
                             "41782315", "3528047126", "5050000", "ООО \"Велморан-Нефтепродукт\"",
                             "Череповецкий филиал  филиал, АЗС № 17", "СВЕДЕНИЯ"})
        QVERIFY2(findItem(page, QString::fromUtf8(text)), text);
    QVERIFY(!texts.contains(QStringLiteral("21:05")));
    // The manager with initials first, the shift's first operator with the surname first.
    QVERIFY(findItem(page, QStringLiteral("О.С. Кузнецова")));
    QVERIFY(findItem(page, QStringLiteral("Белова С.А.")));
    QVERIFY(findItem(page, QStringLiteral("Управляющий АЗС")));
    const PreparedItem *note = findItem(page, backNote);
    QVERIFY(note);
    QCOMPARE(note->rect.bottom(), 200.0);
    QCOMPARE(note->style.font.pointSize, 8.0);
}

void TestKm7Form::shiftWithoutZReports()
{
    ShiftFixture fixture;
    const qint32 idDovra = fixture.addShift(shiftDay, QStringLiteral("118"));
    DocumentContext context = fixture.context(idDovra, 1);
    const PreparedReport report = fixture.prepare(QStringLiteral("km7"), context);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();
    for (int column = 1; column <= 14; ++column)
        QVERIFY(findItem(page, QString::number(column)));
    QVERIFY(!pageTexts(report).contains(QStringLiteral("ШТРИХ")));
    for (int column : {8, 9, 11})
        QCOMPARE(cellText(page, QStringLiteral("Итого"), column), QString());
    QCOMPARE(cellText(page, QStringLiteral("Итого"), 10), QStringLiteral("X"));
    QVERIFY(findItem(page, QStringLiteral("ноль рублей ---")));
}

void TestKm7Form::blankForm()
{
    TwoRegisters shift;
    // A document of register 2 was opened: the blank still leaves the Z-report's date empty.
    shift.prepare(QStringLiteral("km7"), 2);
    QCOMPARE(shift.fixture.lastZ.date, QStringLiteral("05.03.2016"));
    const PreparedReport report = shift.prepare(QStringLiteral("km7-blank"), 2);

    QCOMPARE(report.page.orientation, QPageLayout::Landscape);
    const QString texts = pageTexts(report);
    for (const char *absent : {"05.03.2016", "21:10", "ШТРИХ", "Белова", "рублей"})
        QVERIFY2(!texts.contains(QString::fromUtf8(absent)), absent);
    QVERIFY(texts.contains(QStringLiteral("Кузнецова О.С.")));
    QVERIFY(texts.contains(QStringLiteral("ООО \"Велморан-Нефтепродукт\"")));

    // One empty line per row of xx, the headings on every page, the note under everything.
    const int blankRows = shift.fixture.station.scalar(QStringLiteral("SELECT COUNT(*) FROM xx")).asInteger();
    QVERIFY(blankRows > 0);
    int lines = 0;
    for (const PreparedPage &page : report.pages) {
        const PreparedItem *numberOne = findItem(page, QStringLiteral("1"));
        const PreparedItem *note = findItem(page, backNote);
        QVERIFY(numberOne && note);
        for (const PreparedItem &item : page.items) {
            if (&item != note)
                QVERIFY2(item.rect.bottom() <= note->rect.top() + 0.01, qPrintable(item.text));
            if (item.text.isEmpty() && qFuzzyCompare(item.rect.left(), numberOne->rect.left())
                && qFuzzyCompare(item.rect.width(), numberOne->rect.width())
                && item.rect.top() > numberOne->rect.top())
                ++lines;
        }
    }
    QCOMPARE(lines, blankRows);
    QVERIFY(report.pages.size() > 1);
}

void TestKm7Form::goldenDumps_data()
{
    QTest::addColumn<QString>("document");
    QTest::addColumn<bool>("withZReports");
    QTest::addColumn<QString>("golden");
    QTest::newRow("two registers") << "km7" << true << "km7.txt";
    QTest::newRow("no Z-reports") << "km7" << false << "km7-empty.txt";
    QTest::newRow("blank") << "km7-blank" << true << "km7-blank.txt";
}

void TestKm7Form::goldenDumps()
{
    QFETCH(QString, document);
    QFETCH(bool, withZReports);
    QFETCH(QString, golden);
    if (underComma())
        QSKIP("the golden dumps are made under the C locale");

    TwoRegisters shift({{"NAkt", "7"}, {"nalKakBnal", 100.0}});
    ShiftFixture &fixture = shift.fixture;
    const qint32 idDovra = withZReports ? shift.idDovra
                                        : fixture.addShift(shiftDay, QStringLiteral("118"));
    DocumentContext context = fixture.context(idDovra, 1);
    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), golden,
                                            dumpReport(fixture.prepare(document, context)));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestKm7Form)
#include "tst_km7form.moc"
