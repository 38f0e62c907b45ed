#include "refunds/refunddesk.h"
#include "support/golden.h"
#include "support/preparedpages.h"
#include "zreport/loadedshift.h"

#include "documents/km3act.h"

#include <QTest>

namespace {

const QString cashKind = QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (НАЛ.РАСЧЕТ)");
const QString cardKind = QStringLiteral("ПО НЕИСПОЛЬЗОВАННЫМ КАССОВЫМ ЧЕКАМ (Б/НАЛ.РАСЧЕТ)");
const QString cashClosing = QStringLiteral("На указанную сумму следует уменьшить выручку кассы.");
const QString cardClosing
    = QStringLiteral("На указанную сумму следует уменьшить выручку по безналичным рассчетам.");
const QString permittedBy = QStringLiteral("Управляющий АЗС, О.С. Кузнецова");

// The desk of 15.03.2024 with cash refunds of 120.00 and 30.50 and one card refund of 70.00.
struct TwoKinds : RefundDesk
{
    TwoKinds(double cash = 150.5, double card = 70)
        : RefundDesk(cash, card)
    {
        addStored(idZ, true, QStringLiteral("1234"), 120);
        addStored(idZ, false, QStringLiteral("2001"), 70);
        addStored(idZ, true, QStringLiteral("1235"), 30.5);
    }
};

const PreparedItem &item(const PreparedPage &page, const QString &text)
{
    static const PreparedItem none;
    const PreparedItem *found = findItem(page, text);
    return found ? *found : none;
}

// The words cell: the number words, then nothing but dashes.
const PreparedItem *wordsItem(const PreparedPage &page, const QString &words)
{
    for (const PreparedItem &candidate : page.items) {
        if (candidate.text.startsWith(words + u'-')
            && candidate.text.mid(words.size()).count(u'-') == candidate.text.size() - words.size())
            return &candidate;
    }
    return nullptr;
}

} // namespace

class TestKM3Act : public QObject
{
    Q_OBJECT

private slots:
    void cashActListsTheReceipts();
    void actsApplyByTheirKindsTotal_data();
    void actsApplyByTheirKindsTotal();
    void actsForTheExportChangeNothing();
    void anActWithoutReceiptsTotalsZero();
    void blanksHaveANumberedEmptyLinePerRow_data();
    void blanksHaveANumberedEmptyLinePerRow();
    void cashActMatchesItsGoldenDump();
};

// 120.00 and 30.50: two lines, the total in column 5 and the words filled with dashes.
void TestKM3Act::cashActListsTheReceipts()
{
    TwoKinds desk;
    DocumentContext context = desk.context();
    const PreparedReport report = desk.fixture.prepare(QStringLiteral("km3-cash"), context);
    QCOMPARE(report.pages.size(), 1);
    const PreparedPage &page = report.pages.first();

    for (const QString &text : {QStringLiteral("Унифицированная форма № КМ-3"),
                                QStringLiteral("0330103"), QStringLiteral("41782315"),
                                QStringLiteral("3528047126"), QStringLiteral("00112233"),
                                QStringLiteral("1473920"), QStringLiteral("ШТРИХ-ФР-К"),
                                QStringLiteral("15.03.2024"), QStringLiteral("Управляющий АЗС"),
                                QStringLiteral("О.С. Кузнецова"), QStringLiteral("марта"),
                                QStringLiteral("2024"), QStringLiteral("АКТ"), cashKind, cashClosing,
                                QStringLiteral("Т.И. Павлова")})
        QVERIFY2(findItem(page, text), qPrintable(text));
    QCOMPARE(pageTexts(report).count(QStringLiteral("С.А. Белова")), 2); // cashier, commission
    QVERIFY(item(page, cashKind).style.font.bold);

    // The lines under the numbered heading, column by column.
    const PreparedItem &number = item(page, QStringLiteral("Номер чека"));
    const PreparedItem &sumHeading = item(page, QStringLiteral("Сумма чека руб.коп."));
    const PreparedItem &first = item(page, QStringLiteral("1234"));
    const PreparedItem &second = item(page, QStringLiteral("1235"));
    QCOMPARE(first.rect.left(), number.rect.left());
    QVERIFY(first.rect.top() > number.rect.bottom());
    QCOMPARE(second.rect.top(), first.rect.bottom());
    const PreparedItem &firstSum = item(page, amount("120.00   "));
    QCOMPARE(firstSum.rect.left(), sumHeading.rect.left());
    QCOMPARE(firstSum.rect.top(), first.rect.top());
    QVERIFY(firstSum.style.alignment & Qt::AlignRight);
    QVERIFY(findItem(page, amount("30.50   ")));
    QCOMPARE(pageTexts(report).count(permittedBy), 2);

    // "Итого" with the total under the sums, then the words and the kopecks.
    const PreparedItem &total = item(page, amount("      150.50   "));
    QCOMPARE(total.rect.left(), sumHeading.rect.left());
    QCOMPARE(total.rect.top(), second.rect.bottom());
    QCOMPARE(item(page, QStringLiteral("Итого")).rect.top(), total.rect.top());
    const PreparedItem *words = wordsItem(page, QStringLiteral("Сто пятьдесят "));
    QVERIFY(words);
    QVERIFY(words->rect.top() > total.rect.bottom());
    const PreparedItem &kopecks = item(page, QStringLiteral("50"));
    QVERIFY(kopecks.rect.top() > words->rect.bottom());
    QVERIFY(kopecks.rect.left() > item(page, QStringLiteral("руб.")).rect.left());
    QVERIFY(item(page, cashClosing).rect.top() > kopecks.rect.bottom());
    for (const PreparedItem &printed : page.items)
        QVERIFY2(printed.rect.right() <= 200.01 && printed.rect.bottom() <= 287, qPrintable(printed.text));
}

void TestKM3Act::actsApplyByTheirKindsTotal_data()
{
    QTest::addColumn<double>("cash");
    QTest::addColumn<double>("card");
    QTest::addColumn<QStringList>("kinds"); // of km3, km3-cash, km3-card where they apply
    QTest::newRow("both") << 150.5 << 70.0 << QStringList{cashKind, cashKind, cardKind};
    QTest::newRow("cash only") << 150.5 << 0.0 << QStringList{cashKind, cashKind};
    QTest::newRow("card only") << 0.0 << 70.0 << QStringList{cardKind, cardKind};
    QTest::newRow("none") << 0.0 << 0.0 << QStringList();
}

void TestKM3Act::actsApplyByTheirKindsTotal()
{
    QFETCH(double, cash);
    QFETCH(double, card);
    QFETCH(QStringList, kinds);
    TwoKinds desk(cash, card);
    DocumentContext context = desk.context();
    const QList<PreparedReport> acts = prepareDocuments({"km3", "km3-cash", "km3-card"}, context);
    QCOMPARE(acts.size(), kinds.size());
    for (int i = 0; i < acts.size(); ++i) {
        const QString texts = pageTexts(acts.at(i));
        QVERIFY2(texts.contains(kinds.at(i)), qPrintable(texts));
        QCOMPARE(texts.contains(QStringLiteral("2001")), kinds.at(i) == cardKind);
        QCOMPARE(texts.contains(cardClosing), kinds.at(i) == cardKind);
    }
}

// The export program reads the stored receipts: the scratch rows of the refund window and the
// receipts stay as they are.
void TestKM3Act::actsForTheExportChangeNothing()
{
    TwoKinds desk;
    desk.addScratch(QStringLiteral("typed"), 5);
    const QStringList scratch = desk.scratch();
    const QStringList stored = desk.allStored();
    DocumentContext context = desk.context();
    QCOMPARE(prepareDocuments({"km3-cash", "km3-card", "km3-cash-blank"}, context).size(), 3);
    QCOMPARE(desk.scratch(), scratch);
    QCOMPARE(desk.allStored(), stored);
}

void TestKM3Act::anActWithoutReceiptsTotalsZero()
{
    RefundDesk desk(21, 0);
    DocumentContext context = desk.context();
    const PreparedReport report = desk.fixture.prepare(QStringLiteral("km3-cash"), context);
    const PreparedPage &page = report.pages.first();
    QVERIFY(findItem(page, amount("        0.00   ")));
    QVERIFY(wordsItem(page, QStringLiteral("ноль ")));
    QVERIFY(findItem(page, QStringLiteral("00")));
    QVERIFY(!findItem(page, permittedBy));
}

void TestKM3Act::blanksHaveANumberedEmptyLinePerRow_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("closing");
    QTest::newRow("cash") << QStringLiteral("km3-cash-blank") << cashKind << cashClosing;
    QTest::newRow("card") << QStringLiteral("km3-card-blank") << cardKind << cardClosing;
}

void TestKM3Act::blanksHaveANumberedEmptyLinePerRow()
{
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, closing);
    TwoKinds desk;
    DocumentContext context = desk.context();
    openZActive(context); // a document of the register opened last: the blank still shows none of it
    const PreparedReport report = desk.fixture.prepare(name, context);
    const QString texts = pageTexts(report);
    QVERIFY(texts.contains(kind) && texts.contains(closing));
    QVERIFY(texts.contains(QStringLiteral("Павлова Т.И.")) && texts.contains(QStringLiteral("О.С. Кузнецова")));
    QVERIFY(texts.contains(QStringLiteral("41782315")));
    for (const QString &figure : {QStringLiteral("00112233"), QStringLiteral("ШТРИХ-ФР-К"),
                                  QStringLiteral("15.03.2024"), QStringLiteral("С.А. Белова"),
                                  QStringLiteral("1234"), permittedBy})
        QVERIFY2(!texts.contains(figure), qPrintable(figure));

    // Every line of xxx numbered in column 1, with "-" in columns 2 and 3.
    const int lines = desk.fixture.station.scalar(QStringLiteral("SELECT COUNT(*) FROM xxx")).asInteger();
    QVERIFY(lines > 0);
    int line = 0;
    for (const PreparedPage &page : report.pages) {
        const qreal headingBottom = item(page, QStringLiteral("1")).rect.bottom();
        for (const PreparedItem &printed : page.items) {
            if (printed.rect.left() == 10 && printed.rect.top() >= headingBottom - 0.01
                && printed.style.frame.sides == allSides && !printed.text.isEmpty()) {
                QCOMPARE(printed.text, QString::number(++line));
            }
        }
    }
    QCOMPARE(line, lines);
    // Columns 2 and 3 of every line, and the last member of the commission.
    QCOMPARE(texts.split(u'\n').count(QStringLiteral("-")), 2 * lines + 1);
}

void TestKM3Act::cashActMatchesItsGoldenDump()
{
    TwoKinds desk;
    DocumentContext context = desk.context();
    const QString dump = dumpReport(desk.fixture.prepare(QStringLiteral("km3-cash"), context));
    const QString mismatch = goldenMismatch(QStringLiteral(GOLDEN_DIR), QStringLiteral("km3-cash.txt"), dump);
    QVERIFY2(mismatch.isEmpty(), qPrintable(mismatch));
}

QTEST_MAIN(TestKM3Act)
#include "tst_km3act.moc"
