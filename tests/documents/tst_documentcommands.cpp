#include "documents/documentcommands.h"

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

QTEST_MAIN(TestDocumentCommands)
#include "tst_documentcommands.moc"
