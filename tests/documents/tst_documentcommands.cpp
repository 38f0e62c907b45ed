#include "documents/documentcommands.h"
#include "support/shiftfixture.h"

#include <QPushButton>
#include <QTest>

class TestDocumentCommands : public QObject
{
    Q_OBJECT

private slots:
    void namesAreUniqueAndFound();
    void senderDecidesPreviewOrPrint();
    void printAllOrder_data();
    void printAllOrder();
    void documentsInOneFileKeepTheirOwnRows();
};

void TestDocumentCommands::namesAreUniqueAndFound()
{
    const QStringList names = documentNames();
    QVERIFY(names.contains(QStringLiteral("procedure")));
    QVERIFY(names.contains(QStringLiteral("instruction")));
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    for (const QString &name : names) {
        const DocumentCommand *command = findDocument(name);
        QVERIFY(command && command->prepare && !command->caption.isEmpty());
        QCOMPARE(command->name, name);
    }
    QCOMPARE(findDocument(QStringLiteral("ПОРЯДОК ОТЧЕТА")), nullptr);
    QCOMPARE(findDocument(QString()), nullptr);
}

void TestDocumentCommands::senderDecidesPreviewOrPrint()
{
    QPushButton barButton;
    QPushButton panelButton;
    QCOMPARE(outputForSender(&barButton, &barButton), OutputMode::Preview);
    QCOMPARE(outputForSender(&panelButton, &barButton), OutputMode::Print);
}

void TestDocumentCommands::printAllOrder_data()
{
    QTest::addColumn<bool>("firstRegister");
    QTest::addColumn<bool>("shiftDone");
    QTest::addColumn<QStringList>("expected");
    const QStringList registerSet{"km6", "ko4", "ko1", "ko2"};
    QTest::newRow("first register, shift done")
        << true << true << QStringList{"km7", "ko4-shift"} + registerSet;
    QTest::newRow("first register, shift incomplete") << true << false << registerSet;
    QTest::newRow("second register, shift done") << false << true << registerSet;
}

void TestDocumentCommands::printAllOrder()
{
    QFETCH(bool, firstRegister);
    QFETCH(bool, shiftDone);
    QFETCH(QStringList, expected);
    QCOMPARE(printAllSequence(firstRegister, shiftDone), expected);
}

// Documents of several registers go into one file: each must print its own Z-report, although
// the next one reopens the datasets its fields read.
void TestDocumentCommands::documentsInOneFileKeepTheirOwnRows()
{
    ShiftFixture fixture;
    const qint32 shift = fixture.addShift(QDate(2016, 3, 5), QStringLiteral("7"));
    const QDateTime closed(QDate(2016, 3, 5), QTime(20, 0));
    fixture.addZReport(shift, 1, {{"NZ", 111}, {"ZDate", closed}, {"NalProd", 1000.0}});
    fixture.addZReport(shift, 2, {{"NZ", 222}, {"ZDate", closed}, {"NalProd", 2000.0}});
    DocumentContext first = fixture.context(shift, 1);
    QList<PreparedReport> reports = prepareDocuments({QStringLiteral("km6")}, first);
    DocumentContext second = fixture.context(shift, 2);
    reports += prepareDocuments({QStringLiteral("km6")}, second);
    QCOMPARE(reports.size(), 2);
    const QStringList numbers{QStringLiteral("111"), QStringLiteral("222")};
    for (int i = 0; i < 2; ++i) {
        const QString texts = pageTexts(reports.at(i));
        QVERIFY2(texts.split(u'\n').contains(numbers.at(i)), qPrintable(texts));
        QVERIFY(!texts.split(u'\n').contains(numbers.at(1 - i)));
        QVERIFY(texts.contains(i == 0 ? QStringLiteral("Одна тысяча") : QStringLiteral("Две тысячи")));
    }
}

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
