#include "documents/km4journal.h"
#include "support/golden.h"
#include "support/preparedpages.h"
#include "support/shiftfixture.h"

#include "platform/report/preparedreport.h"

#include <QLocale>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString dateHeading = u"Дата (смена)"_s;
const QString cashierHeading = u"Фамилия, имя, отчество кассира"_s;
const QString counterHeading = u"Порядковый номер контрольного счетчика (отчета фискальной памяти на "
                               u"конец рабочего дня (смены))"_s;
const QString journalTitle = u"ЖУРНАЛ КАССИРА-ОПЕРАЦИОНИСТА (Унифицированная форма № КМ-4)"_s;

QDateTime at(int year, int month, int day, int hour)
{
    return QDateTime(QDate(year, month, day), QTime(hour, 0));
}

// The journal's lines: the texts of each row of cells under the column headings, top down.
QList<QStringList> journalLines(const PreparedPage &page)
{
    const PreparedItem *dates = findItem(page, u"1"_s);
    if (!dates)
        return {};
    QList<QStringList> lines;
    qreal lineTop = -1;
    for (const PreparedItem &item : page.items) {
        if (item.rect.top() < dates->rect.bottom() - 0.01)
            continue;
        if (!qFuzzyCompare(item.rect.top(), lineTop)) {
            lines.append(QStringList());
            lineTop = item.rect.top();
        }
        lines.last().append(item.text);
    }
    return lines;
}

QString printed(QString amount)
{
    return amount.replace(u'.', QLocale::system().decimalPoint());
}

// Two shifts of register 1 with different cashiers, and one of register 2 in the second.
class TwoShifts
{
public:
    TwoShifts()
    {
        const qint32 first = fixture.addShift(QDate(2015, 8, 23), u"124"_s, 1, 0, true);
        fixture.addZReport(first, 1, {{"NZ", 124}, {"ZDate", at(2015, 8, 23, 22)},
                                      {"NalProd", 10000.0}, {"NalVozvrat", 150.0},
                                      {"KredProd", 2500.5}, {"KredStorno", 0.0},
                                      {"NarPROD", 500000.0}});
        shift = fixture.addShift(QDate(2015, 8, 24), u"125"_s, 2, 3);
        fixture.addZReport(shift, 1, {{"NZ", 125}, {"ZDate", at(2015, 8, 24, 22)},
                                      {"NalProd", 15234.5}, {"NalVozvrat", 234.5},
                                      {"KredProd", 5000.0}, {"KredStorno", 100.0},
                                      {"NarPROD", 520234.5}});
        fixture.addZReport(shift, 2, {{"NZ", 40}, {"ZDate", at(2015, 8, 24, 21)},
                                      {"NalProd", 700.0}, {"NarPROD", 9700.0}});
    }

    PreparedReport prepare(const QString &name, int kassa = 1)
    {
        DocumentContext context = fixture.context(shift, kassa);
        return fixture.prepare(name, context);
    }

    ShiftFixture fixture;
    qint32 shift = 0;
};

} // namespace

class TestKm4Journal : public QObject
{
    Q_OBJECT

private slots:
    void journalOfTwoZReports();
    void journalShowsTheLatestFive();
    void columnHeadingsRepeatOnEveryPage();
    void titlePageShowsTheRegisterOpenedLast();
    void pagesMatchTheirReference_data();
    void pagesMatchTheirReference();
};

void TestKm4Journal::journalOfTwoZReports()
{
    TwoShifts shifts;
    const PreparedReport report = shifts.prepare(u"km4"_s);
    QCOMPARE(report.pages.size(), 1);
    QCOMPARE(report.page.orientation, QPageLayout::Landscape);
    const PreparedPage &page = report.pages.first();
    QVERIFY(findItem(page, journalTitle));
    QVERIFY(findItem(page, u"Череповецкий филиал  филиал, АЗС № 17"_s));
    QVERIFY(findItem(page, u"KKM № 00112233, Рег. 1473920"_s));

    // Oldest first, each with its own shift's first operator; money with four trailing blanks.
    const QList<QStringList> lines = journalLines(page);
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], (QStringList{u"23.08.2015"_s, u"Белова С.А."_s, u"124"_s,
                                    printed(u"487 499.50    "_s), printed(u"500 000.00    "_s),
                                    printed(u"12 500.50    "_s), printed(u"10 000.00    "_s),
                                    printed(u"2 500.50    "_s), printed(u"150.00    "_s)}));
    QCOMPARE(lines[1], (QStringList{u"24.08.2015"_s, u"Григорьев П.Н."_s, u"125"_s,
                                    printed(u"500 000.00    "_s), printed(u"520 234.50    "_s),
                                    printed(u"20 234.50    "_s), printed(u"15 234.50    "_s),
                                    printed(u"5 000.00    "_s), printed(u"334.50    "_s)}));

    // Register 2's journal is its own.
    const QList<QStringList> second = journalLines(shifts.prepare(u"km4"_s, 2).pages.first());
    QCOMPARE(second.size(), 1);
    QCOMPARE(second[0].value(2), u"40"_s);
}

void TestKm4Journal::journalShowsTheLatestFive()
{
    ShiftFixture fixture;
    // The current shift's Z-report is dated before the five later ones of the register.
    const qint32 current = fixture.addShift(QDate(2015, 8, 1), u"100"_s);
    fixture.addZReport(current, 1, {{"NZ", 100}, {"ZDate", at(2015, 8, 1, 22)}});
    for (int day = 2; day <= 6; ++day) {
        const qint32 shift = fixture.addShift(QDate(2015, 8, day), QString::number(100 + day), 1,
                                              0, true);
        fixture.addZReport(shift, 1, {{"NZ", 100 + day}, {"ZDate", at(2015, 8, day, 22)}});
    }
    DocumentContext context = fixture.context(current, 1);
    const QList<QStringList> lines = journalLines(fixture.prepare(u"km4"_s, context).pages.first());
    QStringList numbers;
    for (const QStringList &line : lines)
        numbers << line.value(2);
    QCOMPARE(numbers, (QStringList{u"102"_s, u"103"_s, u"104"_s, u"105"_s, u"106"_s}));
}

// The journal prints at most five lines; a longer row source shows how it runs over pages.
void TestKm4Journal::columnHeadingsRepeatOnEveryPage()
{
    ReportLayout layout = qrKM4();
    auto rows = std::make_shared<MemoryRowSource>(QStringList{u"ZDay"_s, u"NZ"_s});
    for (int i = 1; i <= 40; ++i)
        rows->appendRow({u"24.08.2015"_s, i});
    layout.setSource(u"adoqZKM4"_s, rows);
    const PreparedReport report = prepareReport(layout);
    QCOMPARE(report.pages.size(), 2);
    int printed = 0;
    for (const PreparedPage &page : report.pages) {
        for (const QString &heading : {journalTitle, dateHeading, cashierHeading, counterHeading,
                                       u"Сдано"_s, u"10, 14"_s, u"15"_s})
            QVERIFY2(findItem(page, heading), qPrintable(heading));
        const QList<QStringList> lines = journalLines(page);
        QVERIFY(!lines.isEmpty());
        QCOMPARE(lines.first().value(2), QString::number(printed + 1));
        printed += lines.size();
        for (const PreparedItem &item : page.items)
            QVERIFY(item.rect.bottom() <= 200.01);
    }
    QCOMPARE(printed, 40);
}

void TestKm4Journal::titlePageShowsTheRegisterOpenedLast()
{
    TwoShifts shifts;
    const PreparedPage fresh = shifts.prepare(u"km4-title"_s).pages.first();
    for (const QString &text : {u"Унифицированная форма № КМ-4"_s, u"России от 25.12.98 № 132"_s,
                                u"0330104"_s, u"41782315"_s, u"3528047126"_s, u"5050000"_s,
                                u"Ж У Р Н А Л"_s, u"КАССИРА-ОПЕРАЦИОНИСТА"_s, u"оператор-кассир"_s,
                                u"162608, Вологодская обл., г. Череповец, Северное шоссе, д. 42, тел. "
                                u"(8202) 55-17-40, 55-17-41"_s,
                                u"Система автоматизации АЗС \"DAR-AR-I\" (LINUX)"_s})
        QVERIFY2(findItem(fresh, text), qPrintable(text));
    QVERIFY(!findItem(fresh, u"ШТРИХ-ФР-К"_s));

    shifts.prepare(u"km4"_s, 2); // a document of register 2
    const PreparedPage after = shifts.prepare(u"km4-title"_s).pages.first();
    for (const QString &text : {u"00112245"_s, u"1473921"_s, u"ШТРИХ-ФР-К"_s})
        QVERIFY2(findItem(after, text), qPrintable(text));
}

void TestKm4Journal::pagesMatchTheirReference_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("journal") << u"km4"_s;
    QTest::newRow("title page") << u"km4-title"_s;
}

void TestKm4Journal::pagesMatchTheirReference()
{
    QFETCH(QString, name);
    TwoShifts shifts;
    shifts.prepare(u"km4"_s); // the title page shows the register opened last
    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), name + u".txt"_s,
                                            dumpReport(shifts.prepare(name)));
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestKm4Journal)
#include "tst_km4journal.moc"
